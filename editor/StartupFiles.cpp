#include "editor/StartupFiles.h"

#include "editor/Commands.h"
#include "importer/MeshFormats.h"

namespace posewright {

bool IsRiggedModelFile(const std::string& path) {
  const std::string e = LowerExtension(path);
  return e == ".glb" || e == ".gltf" || e == ".fbx" || e == ".dae";
}

StartupPlan PlanStartupFiles(const std::vector<std::string>& paths) {
  StartupPlan plan;
  std::string model;
  std::string mesh;
  std::string bones;
  std::string params;
  std::vector<std::string> animations;
  auto take = [&](std::string& slot, const std::string& path, const char* kind) {
    if (slot.empty()) {
      slot = path;
    } else {
      plan.refused.push_back(path + ": only one " + kind + " opens at a time");
    }
  };
  for (const std::string& path : paths) {
    const std::string extension = LowerExtension(path);
    if (extension == ".skm") {
      take(mesh.empty() ? model : mesh, path, "model");
    } else if (extension == ".x" || IsMeshFile(path)) {
      take(model.empty() ? mesh : model, path, "model");
    } else if (extension == ".dat") {
      take(bones, path, "bone data file");
    } else if (extension == ".prm") {
      take(params, path, "blending parameters file");
    } else if (extension == ".anm") {
      animations.push_back(path);
    } else {
      plan.refused.push_back(path + ": not a file type the editor opens");
    }
  }
  if (!model.empty()) {
    plan.steps.push_back({CommandId::OpenSkinnedMesh, {FileChoice{model, kSkinnedMeshFilter}}});
    if (!bones.empty()) plan.refused.push_back(bones + ": a SkinnedMesh file holds its bones");
  } else if (!mesh.empty() && bones.empty() && IsRiggedModelFile(mesh)) {
    plan.steps.push_back({CommandId::OpenRiggedModel, {FileChoice{mesh, 1}}});
  } else if (!mesh.empty()) {
    StartupStep open{CommandId::OpenMesh, {FileChoice{mesh, 1}}};
    if (!bones.empty()) open.answers.push_back(FileChoice{bones, 1});
    plan.steps.push_back(open);
  } else if (!bones.empty()) {
    plan.refused.push_back(bones + ": bone data needs its mesh (MESH.x BONES.dat)");
  }
  const bool hasModel = !plan.steps.empty();
  if (!params.empty()) {
    if (hasModel) {
      plan.steps.push_back({CommandId::OpenBlendingParameters, {FileChoice{params, 1}}});
    } else {
      plan.refused.push_back(params + ": blending parameters need a model");
    }
  }
  for (const std::string& animation : animations) {
    plan.steps.push_back({CommandId::OpenAnimation, {FileChoice{animation, 1}}});
  }
  return plan;
}
}  // namespace posewright
