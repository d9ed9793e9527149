#include "skeleton/BoneDataReader.h"

#include <utility>

#include "fileio/FileBytes.h"
#include "fileio/KeyedLineReader.h"

namespace posewright {

namespace {
constexpr float kRootAxialReach = 1.0f;

class BoneDataParser {
 public:
  BoneDataParser(std::string_view text, std::string fileName)
      : reader_(text), fileName_(std::move(fileName)) {}

  BoneDataResult run() {
    BoneDataResult result;
    if (parse(result.skeleton)) {
      result.skeleton.bonesLoaded = true;
    } else {
      result.status = std::move(status_);
      result.skeleton = Skeleton{};
    }
    return result;
  }

 private:
  bool parse(Skeleton& skeleton) {
    if (!keyed("numBones:")) return false;
    const int32_t count = line_.intAt(1);
    if (count < 1 || count > kMaxBoneCount) {
      return fail("bone count " + std::to_string(count) + " is outside 1.." + std::to_string(kMaxBoneCount));
    }
    skeleton.bones.resize(static_cast<std::size_t>(count));
    skeleton.resizePerBoneArrays();

    Bone& root = skeleton.bones[0];
    root.name = "Root";
    if (!keyed("root_point:")) return false;
    root.begin = vectorAt(1);
    if (!keyed("end_point:")) return false;
    root.end = vectorAt(1);
    setRestRotation(root, D3DXQUATERNION());
    root.parentId = 0;
    root.symmetricId = 0;
    skeleton.blendParams[0] = BlendingParams{1.0f, kRootAxialReach};

    for (int32_t i = 1; i < count; ++i) {
      if (!parseBone(skeleton, i)) return false;
    }
    return true;
  }

  bool parseBone(Skeleton& skeleton, int32_t i) {
    const std::size_t k = static_cast<std::size_t>(i);
    Bone& bone = skeleton.bones[k];
    skeleton.blendParams[k] = BlendingParams{};

    if (!keyed("Name:")) return false;
    bone.name = std::string(line_.token(1));
    if (!keyed("ID:")) return false;
    if (!keyed("ParentID:")) return false;
    const int32_t parent = line_.intAt(1);
    if (parent < 0 || parent >= i) {
      return fail("parent index " + std::to_string(parent) + " is not a bone listed before bone " +
                  std::to_string(i));
    }
    if (!keyed("bone_begin:")) return false;
    bone.begin = vectorAt(1);
    if (!keyed("bone_end:")) return false;
    bone.end = vectorAt(1);
    if (!keyed("quaternion:")) return false;
    setRestRotation(bone,
                    D3DXQUATERNION(line_.floatAt(1), line_.floatAt(2), line_.floatAt(3), line_.floatAt(4)));
    bone.parentId = parent;
    bone.symmetricId = i;
    return parseAnchor(skeleton.anchors[k]);
  }

  bool parseAnchor(BoneAnchor& anchor) {
    if (!keyed("numVertices_anchor:")) return false;
    const int32_t vertexCount = line_.intAt(1);
    if (!countFits(vertexCount, 0, "anchor vertex")) return false;
    if (!keyed("numFaces_anchor:")) return false;
    const int32_t faceCount = line_.intAt(1);
    if (!countFits(faceCount, 4, "anchor face")) return false;

    if (!keyed("BorderBox:")) return false;
    anchor.boxMin = vectorAt(1);
    anchor.boxMax = vectorAt(4);

    if (!keyed("anchor_vertices:")) return false;
    anchor.vertices.resize(static_cast<std::size_t>(vertexCount));
    for (D3DXVECTOR3& v : anchor.vertices) {
      if (!nextLine("an anchor vertex")) return false;
      v = vectorAt(0);
    }

    if (!keyed("anchor_normals/faces:")) return false;
    anchor.faceNormals.resize(static_cast<std::size_t>(faceCount));
    anchor.faces.resize(static_cast<std::size_t>(faceCount));
    for (int32_t f = 0; f < faceCount; ++f) {
      if (!nextLine("an anchor face")) return false;
      const std::size_t k = static_cast<std::size_t>(f);
      anchor.faceNormals[k] = vectorAt(0);
      for (std::size_t c = 0; c < 3; ++c) {
        const int32_t index = line_.intAt(3 + c);
        if (index < 0 || index >= vertexCount) {
          return fail("face vertex index " + std::to_string(index) + " is outside 0.." +
                      std::to_string(vertexCount - 1));
        }
        anchor.faces[k][c] = index;
      }
    }
    return true;
  }

  // A count must be at least minimum, and every counted item needs a line of
  // its own, so a count above the characters left cannot be satisfied.
  bool countFits(int32_t count, int32_t minimum, const std::string& what) {
    if (count < minimum) {
      return fail(what + " count " + std::to_string(count) + " is below " + std::to_string(minimum));
    }
    if (static_cast<std::size_t>(count) > reader_.bytesLeft()) {
      return fail(what + " count " + std::to_string(count) + " is more than the rest of the file holds");
    }
    return true;
  }

  static void setRestRotation(Bone& bone, const D3DXQUATERNION& q) {
    bone.restRotation = q;
    bone.orientation = q;
    D3DXQuaternionInverse(&bone.restRotationInverse, &q);
    bone.poseRotation = D3DXQUATERNION();
  }

  D3DXVECTOR3 vectorAt(std::size_t first) const {
    return D3DXVECTOR3(line_.floatAt(first), line_.floatAt(first + 1), line_.floatAt(first + 2));
  }

  bool keyed(const char* key) {
    const std::string quoted = std::string("\"") + key + "\"";
    if (!nextLine(quoted)) return false;
    if (!line_.hasKey(key)) {
      return fail("expected " + quoted);
    }
    return true;
  }

  bool nextLine(const std::string& what) {
    if (!reader_.next(line_)) {
      lineNumber_ = reader_.lineNumber() + 1;
      return fail("the file ends where " + what + " was expected");
    }
    lineNumber_ = line_.number;
    if (line_.truncated) {
      return fail("the line is longer than " + std::to_string(kMaxKeyedLineLength) + " characters");
    }
    return true;
  }

  bool fail(const std::string& reason) {
    status_ = Status::Error(kBoneDataFormatError,
                            fileName_ + ", line " + std::to_string(lineNumber_) + ": " + reason);
    return false;
  }

  KeyedLineReader reader_;
  KeyedLine line_;
  std::string fileName_;
  int lineNumber_ = 0;
  Status status_;
};
}  // namespace

BoneDataResult ParseBoneData(std::string_view text, const std::string& fileName) {
  return BoneDataParser(text, fileName).run();
}

BoneDataResult ReadBoneData(const std::string& path) {
  std::string why;
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxBoneDataFileBytes, &why);
  if (!bytes) {
    BoneDataResult result;
    result.status = Status::Error(kBoneDataFormatError, path + ": the file cannot be read (" + why + ")");
    return result;
  }
  return ParseBoneData(*bytes, FileNameOf(path));
}
}  // namespace posewright
