// Writer of the SkinnedMesh file.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "fileio/FileBytes.h"
#include "fileio/KeyedLineReader.h"
#include "fileio/TextWriter.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace posewright {

namespace {
constexpr const char* kNoTexture = "(NULL)";

double D(float f) {
  return static_cast<double>(f);
}

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The first whitespace-separated word of a name (empty when it has none).
std::string FirstWord(const std::string& name) {
  std::size_t start = 0;
  while (start < name.size() && IsWhiteSpace(name[start])) ++start;
  std::size_t end = start;
  while (end < name.size() && !IsWhiteSpace(name[end])) ++end;
  return name.substr(start, end - start);
}

void WriteColour(TextWriter& out, const D3DCOLORVALUE& c) {
  out.line("%.6f\t%.6f\t%.6f\t%.6f", D(c.r), D(c.g), D(c.b), D(c.a));
}

void WriteVertices(TextWriter& out, const std::vector<SkinVertex>& vertices) {
  out.line("Vertices: %d", static_cast<int>(vertices.size()));
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const SkinVertex& v = vertices[i];
    out.append("%d\t%.6f\t%.6f\t%.6f\t", static_cast<int>(i), D(v.position.x), D(v.position.y),
               D(v.position.z));
    out.append("%.6f\t%.6f\t%.6f\t%u\t", D(v.blendWeights[0]), D(v.blendWeights[1]), D(v.blendWeights[2]),
               static_cast<unsigned>(v.boneIndices));
    out.append("%.6f\t%.6f\t%.6f\t", D(v.normal.x), D(v.normal.y), D(v.normal.z));
    out.line("%.6f\t%.6f", D(v.u), D(v.v));
  }
}

void WriteFaces(TextWriter& out, const SkinnedModel& model) {
  const std::vector<uint16_t>& indices = model.skinnedMesh.indices;
  const std::size_t m = model.skinnedMesh.faceCount();
  out.line("Indices: %d", static_cast<int>(3 * m));
  for (std::size_t f = 0; f < m; ++f) {
    out.line("%u\t%u\t%u", static_cast<unsigned>(indices[3 * f]), static_cast<unsigned>(indices[3 * f + 1]),
             static_cast<unsigned>(indices[3 * f + 2]));
  }
  out.line("Adjacency: %d", static_cast<int>(m));
  const std::vector<uint32_t>& adjacency = model.adjacency;
  for (std::size_t f = 0; f < m; ++f) {
    // A model without adjacency writes "no neighbour" on every edge.
    auto at = [&](std::size_t k) { return k < adjacency.size() ? adjacency[k] : 0xFFFFFFFFu; };
    out.line("%u\t%u\t%u", static_cast<unsigned>(at(3 * f)), static_cast<unsigned>(at(3 * f + 1)),
             static_cast<unsigned>(at(3 * f + 2)));
  }
}

void WriteMaterials(TextWriter& out, const std::vector<D3DXMATERIAL>& materials) {
  out.line("Materials: %d", static_cast<int>(materials.size()));
  for (std::size_t j = 0; j < materials.size(); ++j) {
    const D3DMATERIAL8& m = materials[j].MatD3D;
    out.line("%d", static_cast<int>(j));
    WriteColour(out, m.Diffuse);
    WriteColour(out, m.Ambient);
    WriteColour(out, m.Specular);
    WriteColour(out, m.Emissive);
    out.line("%.6f", D(m.Power));
    const std::string& name = materials[j].textureFilename;
    out.raw(name.empty() ? std::string(kNoTexture) : name);
    out.raw("\r\n");
  }
}

void WriteAttributes(TextWriter& out, const std::vector<D3DXATTRIBUTERANGE>& table) {
  out.line("Attributes: %d", static_cast<int>(table.size()));
  for (const D3DXATTRIBUTERANGE& a : table) {
    out.append("%u\t", static_cast<unsigned>(a.AttribId));
    out.line("%d\t%d\t%d\t%d", static_cast<int>(a.FaceStart), static_cast<int>(a.FaceCount),
             static_cast<int>(a.VertexStart), static_cast<int>(a.VertexCount));
  }
}

void WriteBones(TextWriter& out, const std::vector<Bone>& bones) {
  out.line("Bone: %d", static_cast<int>(bones.size()));
  for (std::size_t b = 0; b < bones.size(); ++b) {
    const Bone& bone = bones[b];
    out.raw(FirstWord(bone.name));
    out.raw("\r\n");
    out.line("%d\t%d\t%d", static_cast<int>(b), static_cast<int>(bone.parentId),
             static_cast<int>(bone.symmetricId));
    out.append("%.6f\t%.6f\t%.6f\t", D(bone.begin.x), D(bone.begin.y), D(bone.begin.z));
    out.line("%.6f\t%.6f\t%.6f", D(bone.end.x), D(bone.end.y), D(bone.end.z));
    const D3DXQUATERNION& q = bone.restRotation;
    out.line("%.6f\t%.6f\t%.6f\t%.6f", D(q.x), D(q.y), D(q.z), D(q.w));
  }
}

bool Finite(std::initializer_list<float> values) {
  return std::all_of(values.begin(), values.end(), [](float f) { return std::isfinite(f); });
}

bool Finite(const D3DCOLORVALUE& c) {
  return Finite({c.r, c.g, c.b, c.a});
}

// False when a number to be written is infinite or NaN: "%.6f" would give
// "inf" or "nan", which a reader takes for 0.
bool AllNumbersFinite(const SkinnedModel& model) {
  for (const SkinVertex& v : model.skinnedMesh.vertices) {
    if (!Finite({v.position.x, v.position.y, v.position.z, v.blendWeights[0], v.blendWeights[1],
                 v.blendWeights[2], v.normal.x, v.normal.y, v.normal.z, v.u, v.v})) {
      return false;
    }
  }
  for (const D3DXMATERIAL& x : model.materialList) {
    const D3DMATERIAL8& m = x.MatD3D;
    if (!Finite(m.Diffuse) || !Finite(m.Ambient) || !Finite(m.Specular) || !Finite(m.Emissive) ||
        !Finite({m.Power})) {
      return false;
    }
  }
  for (const Bone& b : model.skeleton.bones) {
    const D3DXQUATERNION& q = b.restRotation;
    if (!Finite({b.begin.x, b.begin.y, b.begin.z, b.end.x, b.end.y, b.end.z, q.x, q.y, q.z, q.w})) {
      return false;
    }
  }
  return true;
}

// The 1-based number of the first line longer than the reader accepts, or 0.
int FirstOverlongLine(const std::string& text) {
  int number = 1;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (end - start > kMaxKeyedLineLength) {
      return number;
    }
    start = end + 2;
    ++number;
  }
  return 0;
}
}  // namespace

Status FormatSkinnedMesh(const SkinnedModel& model, std::string& text) {
  const SkinnedMesh& mesh = model.skinnedMesh;
  if (!model.meshLoaded || mesh.vertices.empty() || mesh.faceCount() == 0 || !model.bonesLoaded() ||
      model.skeleton.bones.empty()) {
    return Status::Error("Mesh Save Error", "there is no bound mesh with a skeleton to save");
  }
  if (mesh.vertices.size() > kMaxMeshElements || mesh.faceCount() > kMaxMeshElements) {
    return Status::Error("Mesh Save Error", "the mesh has more than 65535 vertices or faces");
  }
  for (const D3DXMATERIAL& m : model.materialList) {
    if (m.textureFilename.find_first_of("\r\n") != std::string::npos) {
      return Status::Error("Mesh Save Error", "a texture file name contains a line break");
    }
  }
  if (!AllNumbersFinite(model)) {
    return Status::Error("Mesh Save Error", "the model holds a number that is infinite or not a number");
  }
  TextWriter out;
  WriteVertices(out, mesh.vertices);
  WriteFaces(out, model);
  WriteMaterials(out, model.materialList);
  WriteAttributes(out, model.attributeTable);
  WriteBones(out, model.skeleton.bones);
  if (const int line = FirstOverlongLine(out.text())) {
    return Status::Error("Mesh Save Error", "line " + std::to_string(line) +
                                                " would be longer than 255 characters (a long texture "
                                                "name or a very large number)");
  }
  text = out.take();
  return Status::Ok();
}

Status WriteSkinnedMesh(const SkinnedModel& model, const std::string& path) {
  std::string text;
  if (Status formatted = FormatSkinnedMesh(model, text); !formatted) {
    formatted.detail = FileNameOf(path) + ": " + formatted.detail;
    return formatted;
  }
  return WriteFileAtomically(path, text);
}
}  // namespace posewright
