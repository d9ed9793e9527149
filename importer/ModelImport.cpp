#include "importer/ModelImport.h"

#include <algorithm>

#include "fileio/FileBytes.h"
#include "image/TextureLoader.h"
#include "importer/AssimpReader.h"
#include "importer/MeshFormats.h"
#include "importer/SceneMesh.h"
#include "importer/SceneRig.h"
#include "importer/XFileRig.h"
#include "model/MeshLoader.h"
#include "xfile/XFileParser.h"

namespace posewright {

namespace {
// The merged mesh of an Assimp scene made ready for the model; textures the
// file embeds replace whatever a file of their name would give, and a texture
// named by a path that does not exist here (made on another machine) is
// looked for by its file name beside the model.
void ArrangeSceneMesh(SceneMesh& built, const std::string& path, LoadedMesh& mesh) {
  std::vector<std::optional<TextureImage>> embedded = std::move(built.embeddedTextures);
  mesh = LoadedMesh{};
  ArrangeLoadedMesh(std::move(built.mesh), std::move(built.materials), FolderOf(path), mesh);
  for (std::size_t m = 0; m < embedded.size() && m < mesh.textures.size(); ++m) {
    if (embedded[m]) {
      mesh.textures[m] = std::make_shared<const TextureImage>(std::move(*embedded[m]));
    } else if (!mesh.textures[m] && !mesh.materialList[m].textureFilename.empty()) {
      mesh.textures[m] = LoadTextureImage(
          ResolveRelative(mesh.meshFolder, FileNameOf(mesh.materialList[m].textureFilename)));
    }
  }
}
}  // namespace

std::string ImportNotes::droppedFacesText() const {
  if (droppedFaces == 0) {
    return "";
  }
  return std::to_string(droppedFaces) + (droppedFaces == 1 ? " face" : " faces") +
         " with fewer than three distinct corners " + (droppedFaces == 1 ? "was" : "were") + " left out.";
}

std::vector<D3DXVECTOR3> PositionsOf(const SourceMesh& mesh) {
  std::vector<D3DXVECTOR3> positions(mesh.vertices.size());
  for (std::size_t v = 0; v < positions.size(); ++v) {
    positions[v] = mesh.vertices[v].position;
  }
  return positions;
}

Status ReadModelFile(const std::string& path, ModelFile& out) {
  out = ModelFile{};
  if (IsDirectXFile(path)) {
    XFileDocument doc;
    if (Status s = ReadXFile(path, doc); !s) {
      return s;
    }
    if (Status s = PrepareLoadedMesh(doc, path, out.mesh); !s) {
      return s;
    }
    out.rig = ExtractXFileRig(doc, out.mesh.origins);
    return Status::Ok();
  }
  AssimpScene scene;
  if (Status s = ReadAssimpScene(path, scene); !s) {
    return s;
  }
  SceneMesh built;
  if (Status s = BuildSceneMesh(*scene.scene, scene.unitScale, FileNameOf(path), built); !s) {
    return s;
  }
  out.rig = ExtractSceneRig(*scene.scene, built);
  out.notes.droppedFaces = built.droppedFaces;
  ArrangeSceneMesh(built, path, out.mesh);
  return Status::Ok();
}

Status ImportMesh(const std::string& path, LoadedMesh& mesh, ImportNotes* notes) {
  ModelFile file;
  if (Status s = ReadModelFile(path, file); !s) {
    return s;
  }
  mesh = std::move(file.mesh);
  if (notes != nullptr) {
    *notes = file.notes;
  }
  return Status::Ok();
}

Status LoadAnyMesh(SkinnedModel& model, const std::string& path, ImportNotes* notes) {
  LoadedMesh mesh;
  if (Status s = ImportMesh(path, mesh, notes); !s) {
    return s;
  }
  InstallLoadedMesh(model, std::move(mesh));
  return Status::Ok();
}

Status ImportRiggedModel(const std::string& path, RiggedImport& out, const AnchorFitOptions& options) {
  out = RiggedImport{};
  ModelFile file;
  if (Status s = ReadModelFile(path, file); !s) {
    return s;
  }
  out.mesh = std::move(file.mesh);
  out.notes = file.notes;
  const std::vector<D3DXVECTOR3> positions = PositionsOf(out.mesh.sourceMesh);
  if (Status s = BuildRigSkeleton(file.rig, positions, FileNameOf(path), out.rig); !s) {
    return s;
  }
  GenerateAnchors(out.rig.skeleton, positions, out.rig.influences, options);
  FitBlendingParameters(out.rig.skeleton, positions, out.rig.influences);
  return Status::Ok();
}

void InstallRiggedImport(SkinnedModel& model, RiggedImport&& import) {
  InstallLoadedMesh(model, std::move(import.mesh));
  BindMesh(model);
  const std::vector<VertexInfluences>& influences = import.rig.influences;
  for (std::size_t v = 0; v < influences.size() && v < model.skinnedMesh.vertices.size(); ++v) {
    StoreInfluences(influences[v], model.skinnedMesh.vertices[v]);
    StoreInfluences(influences[v], model.pointVertices[v]);
  }
  model.skeleton = std::move(import.rig.skeleton);
}

Status LoadRiggedModel(SkinnedModel& model, const std::string& path, ImportNotes* notes) {
  RiggedImport import;
  if (Status s = ImportRiggedModel(path, import); !s) {
    return s;
  }
  if (notes != nullptr) {
    *notes = import.notes;
  }
  InstallRiggedImport(model, std::move(import));
  return Status::Ok();
}

VertexInfluences InfluencesOf(const SkinVertex& vertex) {
  const float weights[4] = {vertex.blendWeights[0], vertex.blendWeights[1], vertex.blendWeights[2],
                            vertex.lastWeight()};
  std::vector<std::pair<uint32_t, float>> bones;
  for (int s = 0; s < 4; ++s) {
    const uint32_t bone = vertex.boneIndex(s);
    if (bone == 0 || !(weights[s] > 0.0f)) continue;
    auto same = std::find_if(bones.begin(), bones.end(), [&](const auto& b) { return b.first == bone; });
    if (same != bones.end()) {
      same->second += weights[s];
    } else {
      bones.emplace_back(bone, weights[s]);
    }
  }
  std::sort(bones.begin(), bones.end());
  return StrongestInfluences(bones);
}

Skeleton SkeletonForBoneData(const SkinnedModel& model) {
  Skeleton skeleton = model.skeleton;
  bool complete = skeleton.anchors.size() == skeleton.bones.size();
  for (std::size_t b = 1; complete && b < skeleton.anchors.size(); ++b) {
    complete = skeleton.anchors[b].faceCount() >= 4;
  }
  if (complete || model.skinnedMesh.vertices.empty()) {
    return skeleton;
  }
  std::vector<D3DXVECTOR3> positions;
  std::vector<VertexInfluences> influences;
  for (const SkinVertex& v : model.skinnedMesh.vertices) {
    positions.push_back(v.position);
    influences.push_back(InfluencesOf(v));
  }
  GenerateAnchors(skeleton, positions, influences);
  return skeleton;
}
}  // namespace posewright
