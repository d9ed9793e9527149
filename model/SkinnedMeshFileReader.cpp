// Reader of the SkinnedMesh file. The whole file is parsed into a fresh model
// and checked before anything of the current model changes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "fileio/FileBytes.h"
#include "fileio/KeyedLineReader.h"
#include "image/TextureCache.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"
#include "skeleton/BoneDataReader.h"

namespace posewright {

namespace {
constexpr std::string_view kNoTexture = "(NULL)";
constexpr uint32_t kNoNeighbour = 0xFFFFFFFFu;

// Hands out the file's lines one by one and words the reasons for refusing it.
class SkmLines {
 public:
  SkmLines(std::string_view text, std::string fileName) : reader_(text), fileName_(std::move(fileName)) {
    total_ = static_cast<int64_t>(std::count(text.begin(), text.end(), '\n'));
    if (!text.empty() && text.back() != '\n') ++total_;
  }

  // The next line, or false with status set when the file ends or the line is too long.
  bool next(const char* expected) {
    if (!reader_.next(line_)) {
      fail(reader_.lineNumber() + 1, std::string("the file ends where ") + expected + " was expected");
      return false;
    }
    if (line_.truncated) {
      fail(line_.number, "the line is longer than 255 characters");
      return false;
    }
    return true;
  }

  // The next line, which must start with key; its count (second token) into count.
  bool header(const char* key, int64_t& count) {
    if (!next(key)) return false;
    if (!line_.hasKey(key)) {
      fail(line_.number, std::string("expected \"") + key + "\"");
      return false;
    }
    count = line_.intAt(1);
    if (count < 0) {
      fail(line_.number, "the count is negative");
      return false;
    }
    return true;
  }

  // True when at least `lines` lines follow; otherwise refuses the count on the current line.
  bool ensureLines(int64_t lines, const char* what) {
    if (lines > total_ - reader_.lineNumber()) {
      fail(line_.number, std::string("the file is too short for ") + what);
      return false;
    }
    return true;
  }

  // Refuses the current line when one of its reals at first .. first+count−1
  // does not fit a 32-bit float (such a value could not be written back).
  bool finite(std::size_t first, std::size_t count) {
    for (std::size_t k = first; k < first + count; ++k) {
      if (!std::isfinite(line_.floatAt(k))) {
        return failHere("number " + std::string(line_.token(k)) + " is out of range");
      }
    }
    return true;
  }

  bool fail(int number, const std::string& reason) {
    status = Status::Error(std::string(kSkinnedMeshFormatError),
                           fileName_ + ", line " + std::to_string(number) + ": " + reason);
    return false;
  }
  bool failHere(const std::string& reason) { return fail(line_.number, reason); }

  const KeyedLine& line() const { return line_; }
  Status status;

 private:
  KeyedLineReader reader_;
  KeyedLine line_;
  std::string fileName_;
  int64_t total_ = 0;
};

D3DXVECTOR3 Vec3At(const KeyedLine& l, std::size_t k) {
  return D3DXVECTOR3(l.floatAt(k), l.floatAt(k + 1), l.floatAt(k + 2));
}

bool ReadVertices(SkmLines& in, SkinnedMesh& mesh) {
  int64_t n = 0;
  if (!in.header("Vertices:", n)) return false;
  if (n < 1 || n > static_cast<int64_t>(kMaxMeshElements)) {
    return in.failHere("the vertex count must be 1 to 65535");
  }
  if (!in.ensureLines(n, "its vertices")) return false;
  mesh.vertices.resize(static_cast<std::size_t>(n));
  for (SkinVertex& v : mesh.vertices) {
    if (!in.next("a vertex") || !in.finite(1, 6) || !in.finite(8, 5)) return false;
    const KeyedLine& l = in.line();
    v.position = Vec3At(l, 1);
    v.blendWeights[0] = l.floatAt(4);
    v.blendWeights[1] = l.floatAt(5);
    v.blendWeights[2] = l.floatAt(6);
    v.boneIndices = l.uint32At(7);
    v.normal = Vec3At(l, 8);
    v.u = l.floatAt(11);
    v.v = l.floatAt(12);
    v.pointSize = 10.0f;
  }
  return true;
}

bool ReadFaces(SkmLines& in, SkinnedMesh& mesh, std::vector<uint32_t>& adjacency) {
  int64_t indexCount = 0;
  if (!in.header("Indices:", indexCount)) return false;
  const int64_t m = indexCount / 3;
  if (m < 1 || m > static_cast<int64_t>(kMaxMeshElements)) {
    return in.failHere("the face count must be 1 to 65535");
  }
  // Faces and adjacency rows, plus the adjacency header between them.
  if (!in.ensureLines(2 * m + 1, "its faces and adjacency")) return false;
  const int64_t n = static_cast<int64_t>(mesh.vertices.size());
  mesh.indices.resize(static_cast<std::size_t>(3 * m));
  for (int64_t f = 0; f < m; ++f) {
    if (!in.next("a face")) return false;
    for (int k = 0; k < 3; ++k) {
      const int32_t corner = in.line().intAt(static_cast<std::size_t>(k));
      if (corner < 0 || corner >= n) {
        return in.failHere("vertex " + std::to_string(corner) + " does not exist");
      }
      mesh.indices[static_cast<std::size_t>(3 * f + k)] = static_cast<uint16_t>(corner);
    }
  }
  int64_t unused = 0;  // the adjacency count repeats the face count; the faces decide
  if (!in.header("Adjacency:", unused)) return false;
  adjacency.resize(static_cast<std::size_t>(3 * m));
  for (int64_t f = 0; f < m; ++f) {
    if (!in.next("an adjacency row")) return false;
    for (int k = 0; k < 3; ++k) {
      const uint32_t neighbour = in.line().uint32At(static_cast<std::size_t>(k));
      if (neighbour != kNoNeighbour && neighbour >= static_cast<uint64_t>(m)) {
        return in.failHere("neighbour face " + std::to_string(neighbour) + " does not exist");
      }
      adjacency[static_cast<std::size_t>(3 * f + k)] = neighbour;
    }
  }
  return true;
}

bool ReadColour(SkmLines& in, D3DCOLORVALUE& c, const char* what) {
  if (!in.next(what) || !in.finite(0, 4)) return false;
  const KeyedLine& l = in.line();
  c = D3DCOLORVALUE{l.floatAt(0), l.floatAt(1), l.floatAt(2), l.floatAt(3)};
  return true;
}

bool ReadMaterials(SkmLines& in, const std::string& folder, const TextureLoader& loadTexture,
                   SkinnedModel& out) {
  int64_t k = 0;
  if (!in.header("Materials:", k)) return false;
  if (!in.ensureLines(7 * k, "its materials")) return false;
  const std::size_t count = static_cast<std::size_t>(k);
  out.materialList.resize(count);
  out.materials.resize(count);
  out.textures.resize(count);
  out.textureNames.resize(count);
  TextureCache cache(loadTexture);
  for (std::size_t j = 0; j < count; ++j) {
    D3DMATERIAL8 m;
    if (!in.next("a material number") || !ReadColour(in, m.Diffuse, "a diffuse colour") ||
        !ReadColour(in, m.Ambient, "an ambient colour") || !ReadColour(in, m.Specular, "a specular colour") ||
        !ReadColour(in, m.Emissive, "an emissive colour") || !in.next("a power") || !in.finite(0, 1)) {
      return false;
    }
    m.Power = in.line().floatAt(0);
    m.Ambient.r = m.Ambient.g = m.Ambient.b = 0.5f;
    out.materials[j] = m;
    out.materialList[j].MatD3D = m;
    if (!in.next("a texture file name")) return false;
    const std::string_view name = in.line().text;
    if (name != kNoTexture && !name.empty()) {
      out.materialList[j].textureFilename = std::string(name);
      out.textureNames[j] = std::string(name);
      out.textures[j] = cache.get(ResolveRelative(folder, std::string(name)));
    }
  }
  return true;
}

bool ReadAttributes(SkmLines& in, SkinnedModel& out) {
  int64_t c = 0;
  if (!in.header("Attributes:", c)) return false;
  if (!in.ensureLines(c, "its attribute ranges")) return false;
  const int64_t faces = static_cast<int64_t>(out.skinnedMesh.faceCount());
  const int64_t vertices = static_cast<int64_t>(out.skinnedMesh.vertices.size());
  const int64_t materials = static_cast<int64_t>(out.materialList.size());
  out.attributeTable.resize(static_cast<std::size_t>(c));
  out.skinnedMesh.faceAttributes.assign(static_cast<std::size_t>(faces), 0);
  for (D3DXATTRIBUTERANGE& a : out.attributeTable) {
    if (!in.next("an attribute range")) return false;
    const KeyedLine& l = in.line();
    const int64_t id = l.intAt(0);
    const int64_t faceStart = l.intAt(1);
    const int64_t faceCount = l.intAt(2);
    const int64_t vertexStart = l.intAt(3);
    const int64_t vertexCount = l.intAt(4);
    if (id < 0 || id >= materials) return in.failHere("material " + std::to_string(id) + " does not exist");
    if (faceStart < 0 || faceCount < 0 || faceStart + faceCount > faces) {
      return in.failHere("the face range lies outside the " + std::to_string(faces) + " faces");
    }
    if (vertexStart < 0 || vertexCount < 0 || vertexStart + vertexCount > vertices) {
      return in.failHere("the vertex range lies outside the " + std::to_string(vertices) + " vertices");
    }
    a = D3DXATTRIBUTERANGE{static_cast<uint32_t>(id), static_cast<uint32_t>(faceStart),
                           static_cast<uint32_t>(faceCount), static_cast<uint32_t>(vertexStart),
                           static_cast<uint32_t>(vertexCount)};
    std::fill_n(out.skinnedMesh.faceAttributes.begin() + faceStart, faceCount, static_cast<uint32_t>(id));
  }
  return true;
}

bool ReadBones(SkmLines& in, Skeleton& skeleton) {
  int64_t count = 0;
  if (!in.header("Bone:", count)) return false;
  if (count < 1 || count > kMaxBoneCount) return in.failHere("the bone count must be 1 to 256");
  if (!in.ensureLines(4 * count, "its bones")) return false;
  skeleton.bones.resize(static_cast<std::size_t>(count));
  for (int64_t i = 0; i < count; ++i) {
    Bone& bone = skeleton.bones[static_cast<std::size_t>(i)];
    if (!in.next("a bone name")) return false;
    bone.name = std::string(in.line().token(0));
    if (!in.next("a bone's parent and partner")) return false;
    const int32_t parent = in.line().intAt(1);
    if (i == 0 ? parent != 0 : (parent < 0 || parent >= i)) {
      return in.failHere(i == 0 ? std::string("the root's parent must be 0")
                                : "parent " + std::to_string(parent) + " is not an earlier bone");
    }
    bone.parentId = parent;
    bone.symmetricId = in.line().intAt(2);
    if (!in.next("a bone's joint and tip") || !in.finite(0, 6)) return false;
    bone.begin = Vec3At(in.line(), 0);
    bone.end = Vec3At(in.line(), 3);
    if (!in.next("a bone's rest rotation") || !in.finite(0, 4)) return false;
    const KeyedLine& l = in.line();
    const D3DXQUATERNION q(l.floatAt(0), l.floatAt(1), l.floatAt(2), l.floatAt(3));
    bone.restRotation = q;
    bone.orientation = q;
    D3DXQuaternionInverse(&bone.restRotationInverse, &q);
  }
  skeleton.resizePerBoneArrays();
  for (BlendingParams& p : skeleton.blendParams) p = BlendingParams{1.0f, 0.35f};
  skeleton.bonesLoaded = true;
  return true;
}
}  // namespace

Status ParseSkinnedMesh(std::string_view text, const std::string& fileName, const std::string& folder,
                        const TextureLoader& loadTexture, SkinnedModel& out) {
  SkmLines in(text, fileName);
  if (!ReadVertices(in, out.skinnedMesh) || !ReadFaces(in, out.skinnedMesh, out.adjacency) ||
      !ReadMaterials(in, folder, loadTexture, out) || !ReadAttributes(in, out) ||
      !ReadBones(in, out.skeleton)) {
    return in.status;
  }
  out.pointVertices = out.skinnedMesh.vertices;
  out.selection.reset(out.skinnedMesh.vertices.size());
  out.meshFolder = folder;
  out.meshLoaded = true;
  return Status::Ok();
}

Status ReadSkinnedMesh(SkinnedModel& model, const std::string& path, const TextureLoader& loadTexture) {
  std::string why;
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxSkinnedMeshFileBytes, &why);
  if (!bytes) {
    return Status::Error("Cannot read the file", path + " (" + why + ")");
  }
  SkinnedModel fresh;
  if (Status parsed = ParseSkinnedMesh(*bytes, FileNameOf(path), FolderOf(path), loadTexture, fresh);
      !parsed) {
    return parsed;
  }
  model = std::move(fresh);
  return Status::Ok();
}
}  // namespace posewright
