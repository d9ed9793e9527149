#include "gltf/GltfAsset.h"

#include <algorithm>
#include <cctype>
#include <type_traits>
#include <array>
#include <cmath>
#include <map>
#include <set>

#include "export/SkinnedMeshXContent.h"
#include "gltf/GltfAnimationSampling.h"
#include "gltf/GltfAxes.h"
#include "gltf/GltfDocument.h"
#include "gltf/GltfSkeleton.h"
#include "gltf/GltfSkinWeights.h"

namespace gltf {
namespace {

// Every vertex in glTF's axes, once, before the primitives pick theirs.
struct VertexData {
  std::vector<std::array<float, 3>> positions;
  std::vector<std::array<float, 3>> normals;
  std::vector<JointWeights> joints;
};

std::array<float, 3> AsFloats(const Point& p) {
  return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)};
}

VertexData ConvertVertices(const SkinnedModel& model) {
  const std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  const int32_t bones = model.skeleton.boneCount();
  VertexData out;
  out.positions.reserve(vertices.size());
  out.normals.reserve(vertices.size());
  out.joints.reserve(vertices.size());
  for (const SkinVertex& v : vertices) {
    out.positions.push_back(AsFloats(ToGltfPoint(v.position)));
    Point n = ToGltfPoint(v.normal);
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    // glTF normals must be unit vectors; a degenerate one points up.
    n = length > 1e-12 && std::isfinite(length) ? Point{n.x / length, n.y / length, n.z / length} : Point{0, 1, 0};
    out.normals.push_back(AsFloats(n));
    out.joints.push_back(ToJointWeights(v, bones));
  }
  return out;
}

// The faces of every material id in use, in face order.
std::map<uint32_t, std::vector<uint32_t>> FacesByMaterial(const SkinnedModel& model) {
  std::map<uint32_t, std::vector<uint32_t>> faces;
  const std::vector<uint32_t> ids = FaceMaterialIds(model);
  for (uint32_t f = 0; f < ids.size(); ++f) faces[ids[f]].push_back(f);
  return faces;
}

nlohmann::json Primitive(Document& doc, const SkinnedModel& model, const VertexData& all,
                         const std::vector<uint32_t>& faces, std::vector<uint32_t>& remap) {
  const std::vector<uint16_t>& indices = model.skinnedMesh.indices;
  const std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  // The primitive's vertices: those its faces use, in the model's order.
  std::fill(remap.begin(), remap.end(), 0u);
  for (uint32_t f : faces) {
    for (std::size_t c = 0; c < 3; ++c) remap[indices[3 * std::size_t{f} + c]] = 1;
  }
  std::vector<uint32_t> used;
  for (uint32_t v = 0; v < remap.size(); ++v) {
    if (remap[v] != 0) {
      remap[v] = static_cast<uint32_t>(used.size());
      used.push_back(v);
    }
  }
  const std::size_t n = used.size();
  std::vector<float> positions(3 * n), normals(3 * n), uvs(2 * n), weights(4 * n);
  std::vector<uint8_t> joints(4 * n);
  for (std::size_t k = 0; k < n; ++k) {
    const uint32_t v = used[k];
    std::copy_n(all.positions[v].begin(), 3, positions.begin() + static_cast<std::ptrdiff_t>(3 * k));
    std::copy_n(all.normals[v].begin(), 3, normals.begin() + static_cast<std::ptrdiff_t>(3 * k));
    uvs[2 * k] = vertices[v].u;
    uvs[2 * k + 1] = vertices[v].v;
    std::copy_n(all.joints[v].joints.begin(), 4, joints.begin() + static_cast<std::ptrdiff_t>(4 * k));
    std::copy_n(all.joints[v].weights.begin(), 4, weights.begin() + static_cast<std::ptrdiff_t>(4 * k));
  }
  AccessorSpec position = Spec("VEC3", ComponentType::Float, n, ViewTarget::Vertices);
  ComponentBounds(positions, 3, position.min, position.max);
  nlohmann::json attributes = {
      {"POSITION", doc.addAccessor<float>(positions, position)},
      {"NORMAL", doc.addAccessor<float>(normals, Spec("VEC3", ComponentType::Float, n, ViewTarget::Vertices))},
      {"TEXCOORD_0", doc.addAccessor<float>(uvs, Spec("VEC2", ComponentType::Float, n, ViewTarget::Vertices))},
      {"JOINTS_0",
       doc.addAccessor<uint8_t>(joints, Spec("VEC4", ComponentType::UnsignedByte, n, ViewTarget::Vertices))},
      {"WEIGHTS_0",
       doc.addAccessor<float>(weights, Spec("VEC4", ComponentType::Float, n, ViewTarget::Vertices))}};
  // Corners reversed: the editor's clockwise front faces become glTF's
  // counter-clockwise ones. 16-bit indices whenever they fit (always, for
  // the editor's at most 65,535 vertices; 65,535 itself is reserved).
  const std::size_t cornerCount = 3 * faces.size();
  int indexAccessor = 0;
  auto fill = [&](auto& out) {
    out.reserve(cornerCount);
    for (uint32_t f : faces) {
      const std::size_t i = 3 * std::size_t{f};
      for (uint32_t corner : ToGltfWinding(indices[i], indices[i + 1], indices[i + 2])) {
        out.push_back(static_cast<typename std::decay_t<decltype(out)>::value_type>(remap[corner]));
      }
    }
  };
  if (n < 65535) {
    std::vector<uint16_t> out;
    fill(out);
    indexAccessor = doc.addAccessor<uint16_t>(
        out, Spec("SCALAR", ComponentType::UnsignedShort, cornerCount, ViewTarget::Indices));
  } else {
    std::vector<uint32_t> out;
    fill(out);
    indexAccessor =
        doc.addAccessor<uint32_t>(out, Spec("SCALAR", ComponentType::UnsignedInt, cornerCount, ViewTarget::Indices));
  }
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
                           {"translation", {static_cast<float>(node.translation.x), static_cast<float>(node.translation.y),
                                            static_cast<float>(node.translation.z)}},
                           {"rotation", {static_cast<float>(node.rotation.x), static_cast<float>(node.rotation.y),
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
  const int ibm = doc.addAccessor<float>(matrices, Spec("MAT4", ComponentType::Float, nodes.size(), ViewTarget::None));
  doc.push("skins", {{"joints", std::move(joints)}, {"inverseBindMatrices", ibm}, {"skeleton", 0}});
}

void AddAnimation(Document& doc, const Skeleton& skeleton, const NamedAnimation& named, const ExportOptions& options) {
  const int32_t bones = skeleton.boneCount();
  const SampledAnimation sampled = SampleAnimation(*named.animation, bones, options.sampleEveryFrame);
  if (sampled.frames.empty() || bones == 0) return;
  // Seconds; a sample whose float time would not follow its predecessor's
  // (only for times of millions of frames) is left out.
  std::vector<float> times;
  std::vector<std::size_t> kept;
  for (std::size_t s = 0; s < sampled.frames.size(); ++s) {
    const auto t = static_cast<float>(sampled.frames[s] / 60.0);
    if (times.empty() || t > times.back()) {
      times.push_back(t);
      kept.push_back(s);
    }
  }
  const std::size_t count = times.size();
  AccessorSpec timeSpec = Spec("SCALAR", ComponentType::Float, count, ViewTarget::None);
  timeSpec.min = nlohmann::json::array({times.front()});
  timeSpec.max = nlohmann::json::array({times.back()});
  const int input = doc.addAccessor<float>(times, timeSpec);
  const std::vector<Rotation> rest = RestRotations(skeleton);
  nlohmann::json samplers = nlohmann::json::array();
  nlohmann::json channels = nlohmann::json::array();
  std::vector<float> values(4 * count);
  const auto n = static_cast<std::size_t>(bones);
  for (int32_t b = 0; b < bones; ++b) {
    Rotation previous;
    for (std::size_t k = 0; k < count; ++k) {
      Rotation q = NodeRotationForPose(skeleton, rest, b, sampled.poses[kept[k] * n + static_cast<std::size_t>(b)]);
      // Neighbouring samples in the same hemisphere, for players that
      // interpolate without choosing the shorter arc themselves.
      if (k > 0 && q.x * previous.x + q.y * previous.y + q.z * previous.z + q.w * previous.w < 0.0) {
        q = {-q.x, -q.y, -q.z, -q.w};
      }
      previous = q;
      values[4 * k] = static_cast<float>(q.x);
      values[4 * k + 1] = static_cast<float>(q.y);
      values[4 * k + 2] = static_cast<float>(q.z);
      values[4 * k + 3] = static_cast<float>(q.w);
    }
    const int output = doc.addAccessor<float>(values, Spec("VEC4", ComponentType::Float, count, ViewTarget::None));
    samplers.push_back({{"input", input}, {"output", output}, {"interpolation", "LINEAR"}});
    channels.push_back({{"sampler", b}, {"target", {{"node", b}, {"path", "rotation"}}}});
  }
  doc.push("animations", {{"name", named.name}, {"samplers", std::move(samplers)}, {"channels", std::move(channels)}});
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

Asset BuildAsset(const SkinnedModel& model, std::span<const NamedAnimation> animations, const ExportOptions& options,
                 Container container, const std::string& imagePrefix) {
  Asset asset;
  Document doc;
  doc.json["asset"] = {{"version", "2.0"}, {"generator", "Posewright"}};
  doc.buffer.reserve(model.vertexCount() * 56 + model.skinnedMesh.indices.size() * 2);

  AddSkeleton(doc, model.skeleton);
  AddMaterials(doc, asset, model, container, imagePrefix);
  const VertexData vertices = ConvertVertices(model);
  std::vector<uint32_t> remap(model.vertexCount());
  nlohmann::json primitives = nlohmann::json::array();
  for (const auto& [material, faces] : FacesByMaterial(model)) {
    nlohmann::json primitive = Primitive(doc, model, vertices, faces, remap);
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
  asset.binary = doc.buffer.bytes();
  return asset;
}

}  // namespace gltf
