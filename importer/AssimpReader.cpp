#include "importer/AssimpReader.h"

#include <assimp/DefaultIOSystem.h>
#include <assimp/MemoryIOWrapper.h>
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cstdio>
#include <optional>
#include <utility>

#include "fileio/FileBytes.h"
#include "importer/GltfMend.h"
#include "importer/MeshFormats.h"
#include "xfile/XFileHeader.h"

namespace posewright {

namespace {
Status Refuse(const std::string& fileName, const std::string& reason) {
  return Status::Error(kXFileErrorMessage, fileName + ": " + reason);
}

void Configure(Assimp::Importer& importer) {
  // FBX pivots would come as extra nodes between the bones.
  importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, false);
  // A skin's joint that moves no vertex is still a bone (a rig's root often is).
  importer.SetPropertyBool(AI_CONFIG_IMPORT_REMOVE_EMPTY_BONES, false);
}

// Serves a mended copy of the file being read and the disk for everything else,
// so that a glTF's buffers and images are still found next to it.
class MendedFileSystem : public Assimp::DefaultIOSystem {
 public:
  MendedFileSystem(std::string path, std::string bytes) : path_(std::move(path)), bytes_(std::move(bytes)) {}
  bool Exists(const char* file) const override { return path_ == file || DefaultIOSystem::Exists(file); }
  Assimp::IOStream* Open(const char* file, const char* mode) override {
    if (path_ == file) {
      return new Assimp::MemoryIOStream(reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size());
    }
    return DefaultIOSystem::Open(file, mode);
  }

 private:
  std::string path_;
  std::string bytes_;
};

bool IsGltfExtension(const std::string& ext) {
  return ext == ".gltf" || ext == ".glb";
}

// Assimp picks its reader by the extension, and falls back to the content.
bool ReadsAsGltf(const std::string& ext, std::string_view bytes) {
  return IsGltfExtension(ext) || LooksLikeGltf(bytes);
}

// FBX states its unit as centimetres per file unit.
float UnitScaleOf(const aiScene& scene) {
  if (scene.mMetaData == nullptr) {
    return 1.0f;
  }
  double factor = 0.0;
  float single = 0.0f;
  if (scene.mMetaData->Get("UnitScaleFactor", factor) && factor > 0.0 && factor < 1e6) {
    return static_cast<float>(factor / 100.0);
  }
  if (scene.mMetaData->Get("UnitScaleFactor", single) && single > 0.0f && single < 1e6f) {
    return single / 100.0f;
  }
  return 1.0f;
}

Status Finish(const aiScene* scene, const Assimp::Importer& importer, const std::string& fileName,
              AssimpScene& out) {
  if (scene == nullptr) {
    const std::string why = importer.GetErrorString();
    return Refuse(fileName,
                  "the file cannot be read as a mesh (" + (why.empty() ? "unknown reason" : why) + ")");
  }
  if (scene->mNumMeshes == 0 || scene->mRootNode == nullptr) {
    return Refuse(fileName, "the file holds no mesh");
  }
  out.scene = scene;
  out.unitScale = UnitScaleOf(*scene);
  return Status::Ok();
}
}  // namespace

AssimpScene::AssimpScene() = default;
AssimpScene::~AssimpScene() = default;
AssimpScene::AssimpScene(AssimpScene&&) noexcept = default;
AssimpScene& AssimpScene::operator=(AssimpScene&&) noexcept = default;

unsigned AssimpImportFlags() {
  return aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_ConvertToLeftHanded |
         aiProcess_ValidateDataStructure;
}

Status ReadAssimpScene(const std::string& path, AssimpScene& out) {
  const std::string fileName = FileNameOf(path);
  if (!IsMeshFile(path) || IsDirectXFile(path)) {
    const std::string ext = LowerExtension(path);
    return Refuse(fileName, ext.empty() ? "the file name has no extension that names a mesh format"
                                        : "'" + ext + "' is not a mesh format Posewright opens");
  }
  out = AssimpScene{};
  out.importer = std::make_unique<Assimp::Importer>();
  Configure(*out.importer);
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fclose(f);
  } else {
    return Refuse(fileName, "the file cannot be opened");
  }
  if (IsGltfExtension(LowerExtension(path))) {  // the other formats are not read twice
    std::string why;
    const std::optional<std::string> bytes = ReadFileBytes(path, std::size_t{1} << 31, &why);
    if (!bytes) return Refuse(fileName, "the file cannot be read (" + why + ")");
    std::string mended;
    bool changed = false;
    if (Status s = MendGltfForAssimp(*bytes, fileName, mended, changed); !s) return s;
    if (changed) out.importer->SetIOHandler(new MendedFileSystem(path, std::move(mended)));
  }
  return Finish(out.importer->ReadFile(path, AssimpImportFlags()), *out.importer, fileName, out);
}

Status ReadAssimpSceneFromMemory(std::string_view bytes, const std::string& hint, const std::string& fileName,
                                 AssimpScene& out) {
  out = AssimpScene{};
  out.importer = std::make_unique<Assimp::Importer>();
  Configure(*out.importer);
  if (bytes.empty()) {
    return Refuse(fileName, "the file is empty");
  }
  std::string mended;
  bool changed = false;
  if (ReadsAsGltf("." + hint, bytes)) {
    if (Status s = MendGltfForAssimp(bytes, fileName, mended, changed); !s) return s;
    if (changed) bytes = mended;
  }
  return Finish(
      out.importer->ReadFileFromMemory(bytes.data(), bytes.size(), AssimpImportFlags(), hint.c_str()),
      *out.importer, fileName, out);
}
}  // namespace posewright
