// Reading a mesh file with Assimp into the editor's conventions: triangles,
// identical vertices joined, and the left-handed space of the editor (z mirrored, winding and texture v
// turned round), so a model keeps its left and right sides.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "fileio/Status.h"

struct aiScene;
namespace Assimp {
class Importer;
}

namespace posewright {

/// A scene read by Assimp, alive as long as this object.
struct AssimpScene {
  AssimpScene();
  ~AssimpScene();
  AssimpScene(AssimpScene&&) noexcept;
  AssimpScene& operator=(AssimpScene&&) noexcept;

  std::unique_ptr<Assimp::Importer> importer;
  const aiScene* scene = nullptr;
  /// Scale to metres when the file states its unit (FBX files in centimetres
  /// give 0.01); 1 otherwise.
  float unitScale = 1.0f;
};

/// The Assimp post-processing steps every import reads with.
unsigned AssimpImportFlags();

/// Reads the file at path. Refused ("File Format Error", detail naming the
/// file) when its extension names no format Assimp reads, when Assimp cannot
/// read it (with Assimp's reason), and when it holds no mesh.
Status ReadAssimpScene(const std::string& path, AssimpScene& out);

/// The same for bytes in memory; hint is the format's extension without the
/// dot ("obj", "gltf"), fileName labels the messages. Files the bytes refer to
/// (textures, glTF buffers) are not found.
Status ReadAssimpSceneFromMemory(std::string_view bytes, const std::string& hint, const std::string& fileName,
                                 AssimpScene& out);
}  // namespace posewright
