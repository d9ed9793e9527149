#include "gltf/GltfAsset.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <type_traits>

#include "export/SkinnedMeshXContent.h"
#include "gltf/GltfAnimationSampling.h"
#include "gltf/GltfAxes.h"
#include "gltf/GltfDocument.h"
#include "gltf/GltfSkeleton.h"
#include "gltf/GltfSkinWeights.h"

namespace posewright {

namespace gltf {
namespace {

std::array<float, 3> AsFloats(const Point& p) {
  return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
}

// glTF normals must be unit vectors; a degenerate one points up.
std::array<float, 3> UnitNormal(const D3DXVECTOR3& normal) {
  const Point n = ToGltfPoint(normal);
  const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  if (!(length > 1e-12) || !std::isfinite(length)) return {0.0f, 1.0f, 0.0f};
  return AsFloats({n.x / length, n.y / length, n.z / length});
}

// The faces of every material id in use, in face order.
std::map<uint32_t, std::vector<uint32_t>> FacesByMaterial(const SkinnedModel& model) {
  std::map<uint32_t, std::vector<uint32_t>> faces;
  const std::vector<uint32_t> ids = FaceMaterialIds(model);
  for (uint32_t f = 0; f < ids.size(); ++f) faces[ids[f]].push_back(f);
  return faces;
}

// One primitive: its vertices (those its faces use, in the model's order)
// and its faces, written straight into the buffer.
nlohmann::json Primitive(Document& doc, const SkinnedModel& model, const std::vector<uint32_t>& faces,
                         std::vector<uint32_t>& remap, std::vector<uint32_t>& used) {
  const std::vector<uint16_t>& indices = model.skinnedMesh.indices;
  const std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  const int32_t boneCount = model.skeleton.boneCount();
  std::fill(remap.begin(), remap.end(), 0u);
  for (uint32_t f : faces) {
    for (std::size_t c = 0; c < 3; ++c) remap[indices[3 * std::size_t{f} + c]] = 1;
  }
  used.clear();
  for (uint32_t v = 0; v < remap.size(); ++v) {
    if (remap[v] != 0) {
      remap[v] = static_cast<uint32_t>(used.size());
      used.push_back(v);
    }
  }
  const std::size_t n = used.size();
  const std::size_t positionAt = doc.buffer.extend(12 * n);
  const std::size_t normalAt = doc.buffer.extend(12 * n);
  const std::size_t uvAt = doc.buffer.extend(8 * n);
  const std::size_t jointAt = doc.buffer.extend(4 * n);
  const std::size_t weightAt = doc.buffer.extend(16 * n);
  char* position = doc.buffer.at(positionAt);
  char* normal = doc.buffer.at(normalAt);
  char* uv = doc.buffer.at(uvAt);
  char* joint = doc.buffer.at(jointAt);
  char* weight = doc.buffer.at(weightAt);
  std::array<float, 3> low{}, high{};
  for (std::size_t k = 0; k < n; ++k) {
    const SkinVertex& v = vertices[used[k]];
    const std::array<float, 3> p = AsFloats(ToGltfPoint(v.position));
    for (std::size_t c = 0; c < 3; ++c) {
      low[c] = k == 0 ? p[c] : std::min(low[c], p[c]);
      high[c] = k == 0 ? p[c] : std::max(high[c], p[c]);
      position = StoreLittleEndian(position, p[c]);
    }
    for (float c : UnitNormal(v.normal)) normal = StoreLittleEndian(normal, c);
    uv = StoreLittleEndian(StoreLittleEndian(uv, v.u), v.v);
    const JointWeights jw = ToJointWeights(v, boneCount);
    for (std::size_t s = 0; s < 4; ++s) {
      joint = StoreLittleEndian(joint, jw.joints[s]);
      weight = StoreLittleEndian(weight, jw.weights[s]);
    }
  }
  AccessorLayout positionSpec = Spec("VEC3", ComponentType::Float, n, ViewTarget::Vertices);
  positionSpec.min = {low[0], low[1], low[2]};
  positionSpec.max = {high[0], high[1], high[2]};
  auto accessor = [&](std::size_t at, std::size_t bytes, const AccessorLayout& layout) {
    return doc.addAccessorOver(doc.addView(at, bytes, ViewTarget::Vertices), layout);
  };
  nlohmann::json attributes = {
      {"POSITION", accessor(positionAt, 12 * n, positionSpec)},
      {"NORMAL", accessor(normalAt, 12 * n, Spec("VEC3", ComponentType::Float, n, ViewTarget::Vertices))},
      {"TEXCOORD_0", accessor(uvAt, 8 * n, Spec("VEC2", ComponentType::Float, n, ViewTarget::Vertices))},
      {"JOINTS_0",
       accessor(jointAt, 4 * n, Spec("VEC4", ComponentType::UnsignedByte, n, ViewTarget::Vertices))},
      {"WEIGHTS_0", accessor(weightAt, 16 * n, Spec("VEC4", ComponentType::Float, n, ViewTarget::Vertices))}};
  // Corners reversed: the editor's clockwise front faces become glTF's
  // counter-clockwise ones. 16-bit indices whenever they fit (always, for
  // the editor's at most 65,535 vertices; 65,535 itself is reserved).
  const std::size_t cornerCount = 3 * faces.size();
  const bool narrow = n < 65535;
  const std::size_t indexBytes = cornerCount * (narrow ? 2 : 4);
  const std::size_t indexAt = doc.buffer.extend(indexBytes);
  char* out = doc.buffer.at(indexAt);
  for (uint32_t f : faces) {
    const std::size_t i = 3 * std::size_t{f};
    for (uint32_t corner : ToGltfWinding(indices[i], indices[i + 1], indices[i + 2])) {
      out = narrow ? StoreLittleEndian(out, static_cast<uint16_t>(remap[corner]))
                   : StoreLittleEndian(out, remap[corner]);
    }
  }
  const int indexAccessor =
      doc.addAccessorOver(doc.addView(indexAt, indexBytes, ViewTarget::Indices),
                          Spec("SCALAR", narrow ? ComponentType::UnsignedShort : ComponentType::UnsignedInt,
                               cornerCount, ViewTarget::Indices));
  return {{"attributes", std::move(attributes)}, {"indices", indexAccessor}, {"mode", 4}};
}

std::string UniqueName(std::set<std::string>& taken, const std::string& stem, const std::string& extension) {
  std::string name = stem + "." + extension;
  for (int k = 2; !taken.insert(name).second; ++k) name = stem + "_" + std::to_string(k) + "." + extension;
  return name;
}

// Materials, with their textures and images; returns nothing.
void AddMaterials(Document& doc, Asset& asset, const SkinnedModel& model, Container container,
                  const std::string& imagePrefix) {
  std::map<std::string, int> textureOfSource;
  std::set<std::string> fileNames;
  for (uint32_t m = 0; m < model.materialCount(); ++m) {
    std::optional<int> texture;
    if (std::optional<ImageFile> image = TextureImageFile(model, m)) {
      const auto known = textureOfSource.find(image->source);
      if (known != textureOfSource.end()) {
        texture = known->second;
      } else {
        nlohmann::json entry = {{"mimeType", image->mimeType}};
        if (container == Container::Binary) {
          const std::size_t offset = doc.buffer.appendBytes(image->bytes);
          entry["bufferView"] = doc.addView(offset, image->bytes.size());
        } else {
          const std::string file = UniqueName(fileNames, imagePrefix + "_" + image->stem, image->extension);
          entry = {{"uri", UriEncoded(file)}};
          asset.sideFiles.emplace_back(file, std::move(image->bytes));
        }
        const int imageIndex = doc.push("images", std::move(entry));
        texture = doc.push("textures", {{"source", imageIndex}});
        textureOfSource.emplace(image->source, *texture);
      }
    }
    doc.push("materials", MaterialJson(model.materialList[m].MatD3D, texture));
  }
}

void AddSkeleton(Document& doc, const Skeleton& skeleton) {
  const std::vector<BoneNode> nodes = BuildBoneNodes(skeleton);
  std::vector<float> matrices;
  matrices.reserve(16 * nodes.size());
  for (std::size_t b = 0; b < nodes.size(); ++b) {
    const BoneNode& node = nodes[b];
    nlohmann::json json = {{"name", skeleton.bones[b].name},
                           {"translation",
                            {static_cast<float>(node.translation.x), static_cast<float>(node.translation.y),
                             static_cast<float>(node.translation.z)}},
                           {"rotation",
                            {static_cast<float>(node.rotation.x), static_cast<float>(node.rotation.y),
                             static_cast<float>(node.rotation.z), static_cast<float>(node.rotation.w)}}};
    nlohmann::json children = nlohmann::json::array();
    for (std::size_t c = b + 1; c < nodes.size(); ++c) {
      if (static_cast<std::size_t>(skeleton.bones[c].parentId) == b) children.push_back(c);
    }
    if (!children.empty()) json["children"] = std::move(children);
    doc.push("nodes", std::move(json));
    for (double v : node.inverseBindMatrix) matrices.push_back(static_cast<float>(v));
  }
  nlohmann::json joints = nlohmann::json::array();
  for (std::size_t b = 0; b < nodes.size(); ++b) joints.push_back(b);
  const int ibm =
      doc.addAccessor<float>(matrices, Spec("MAT4", ComponentType::Float, nodes.size(), ViewTarget::None));
  doc.push("skins", {{"joints", std::move(joints)}, {"inverseBindMatrices", ibm}, {"skeleton", 0}});
}

void AddAnimation(Document& doc, const Skeleton& skeleton, const NamedAnimation& named,
                  const ExportOptions& options) {
  const int32_t bones = skeleton.boneCount();
  const std::vector<double> frames = SampleFrames(*named.animation, bones, options.sampleEveryFrame);
  if (frames.empty() || bones == 0) return;
  // Seconds; a sample whose float time would not follow its predecessor's
  // (only for times of millions of frames) is left out.
  std::vector<float> times;
  std::vector<double> kept;
  for (double frame : frames) {
    const auto t = static_cast<float>(frame / 60.0);
    if (times.empty() || t > times.back()) {
      times.push_back(t);
      kept.push_back(frame);
    }
  }
  const std::size_t count = times.size();
  AccessorLayout timeSpec = Spec("SCALAR", ComponentType::Float, count, ViewTarget::None);
  timeSpec.min = nlohmann::json::array({times.front()});
  timeSpec.max = nlohmann::json::array({times.back()});
  const int input = doc.addAccessor<float>(times, timeSpec);
  const std::vector<Rotation> rest = RestRotations(skeleton);
  nlohmann::json samplers = nlohmann::json::array();
  nlohmann::json channels = nlohmann::json::array();
  for (int32_t b = 0; b < bones; ++b) {
    const std::size_t at = doc.buffer.extend(16 * count);
    char* out = doc.buffer.at(at);
    Rotation previous;
    for (std::size_t k = 0; k < count; ++k) {
      Rotation q = NodeRotationForPose(skeleton, rest, b, SamplePose(*named.animation, b, kept[k]));
      // Neighbouring samples in the same hemisphere, for players that
      // interpolate without choosing the shorter arc themselves.
      if (k > 0 && q.x * previous.x + q.y * previous.y + q.z * previous.z + q.w * previous.w < 0.0) {
        q = {-q.x, -q.y, -q.z, -q.w};
      }
      previous = q;
      for (double c : {q.x, q.y, q.z, q.w}) out = StoreLittleEndian(out, static_cast<float>(c));
    }
    const int output = doc.addAccessorOver(doc.addView(at, 16 * count),
                                           Spec("VEC4", ComponentType::Float, count, ViewTarget::None));
    samplers.push_back({{"input", input}, {"output", output}, {"interpolation", "LINEAR"}});
    channels.push_back({{"sampler", b}, {"target", {{"node", b}, {"path", "rotation"}}}});
  }
  doc.push("animations",
           {{"name", named.name}, {"samplers", std::move(samplers)}, {"channels", std::move(channels)}});
}

}  // namespace

std::string UriEncoded(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : name) {
    if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      out += {'%', kHex[c >> 4], kHex[c & 15]};
    }
  }
  return out;
}

Asset BuildAsset(const SkinnedModel& model, std::span<const NamedAnimation> animations,
                 const ExportOptions& options, Container container, const std::string& imagePrefix) {
  Asset asset;
  // For a .glb, room in front of the buffer for the headers and the JSON
  // (a generous guess), so the file is made in place rather than copied.
  const std::size_t jsonGuess =
      4096 + 512 * model.materialCount() + 1024 * model.attributeTable.size() +
      256 * static_cast<std::size_t>(model.skeleton.boneCount()) * (2 + animations.size());
  Document doc(container == Container::Binary ? (jsonGuess + 3) & ~std::size_t{3} : 0);
  doc.json["asset"] = {{"version", "2.0"}, {"generator", "Posewright"}};
  // Room for everything but the images up front, so the buffer is not moved
  // while it grows.
  const auto bones = static_cast<std::size_t>(model.skeleton.boneCount());
  std::size_t samples = 0;
  for (const NamedAnimation& named : animations) {
    if (named.animation != nullptr)
      samples += BaseSampleCount(*named.animation, options.sampleEveryFrame) + 8;
  }
  doc.buffer.reserve(model.vertexCount() * 60 + model.skinnedMesh.indices.size() * 4 + 64 * bones +
                     samples * (4 + 16 * bones) * 11 / 10 + 1024);

  AddSkeleton(doc, model.skeleton);
  AddMaterials(doc, asset, model, container, imagePrefix);
  std::vector<uint32_t> remap(model.vertexCount()), used;
  used.reserve(model.vertexCount());
  nlohmann::json primitives = nlohmann::json::array();
  for (const auto& [material, faces] : FacesByMaterial(model)) {
    nlohmann::json primitive = Primitive(doc, model, faces, remap, used);
    if (material < model.materialCount()) primitive["material"] = material;
    primitives.push_back(std::move(primitive));
  }
  const int mesh = doc.push("meshes", {{"name", "SkinnedMesh"}, {"primitives", std::move(primitives)}});
  const int meshNode = doc.push("nodes", {{"name", "SkinnedMesh"}, {"mesh", mesh}, {"skin", 0}});
  doc.json["scene"] = 0;
  doc.json["scenes"] = nlohmann::json::array({nlohmann::json{{"nodes", {0, meshNode}}}});
  for (const NamedAnimation& named : animations) {
    if (named.animation != nullptr) AddAnimation(doc, model.skeleton, named, options);
  }
  doc.buffer.alignTo4();
  doc.json["buffers"] = nlohmann::json::array({nlohmann::json{{"byteLength", doc.buffer.size()}}});
  asset.json = std::move(doc.json);
  asset.binaryStart = doc.buffer.headroom();
  asset.binary = doc.buffer.take();
  return asset;
}

}  // namespace gltf
}  // namespace posewright
