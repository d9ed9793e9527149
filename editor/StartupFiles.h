// Files named on the command line, as a desktop passes them: which commands
// open them and the file dialogs' answers for each. The forms are
//   posewright MODEL.skm [PARAMS.prm] [ANIM.anm...]
//   posewright MESH.x [BONES.dat] [PARAMS.prm] [ANIM.anm...]
//   posewright RIGGED.glb [PARAMS.prm] [ANIM.anm...]
// in any order, where a mesh is a .x or any format Assimp reads. A rigged
// model's format (glTF, FBX, Collada) alone opens as File > Open Data >
// Rigged Model; any other mesh without bone data opens as File > Open Data >
// Mesh does, whose bone data dialog then asks for them.
#pragma once

#include <string>
#include <vector>

#include "editor/CommandIds.h"
#include "editor/ShellView.h"

namespace posewright {

struct StartupStep {
  CommandId command = CommandId::OpenMesh;
  /// The answers to the command's file dialogs, in order.
  std::vector<FileChoice> answers;
};

struct StartupPlan {
  /// The model first, then blending parameters, then animations in the
  /// order given.
  std::vector<StartupStep> steps;
  /// "name: reason" for every file that is not opened.
  std::vector<std::string> refused;
};

/// The message shown when files of the command line are not opened (the
/// refused list is its detail).
inline constexpr const char* kStartupFilesRefused = "Some files were not opened.";

/// True for the formats that usually carry a skeleton (glTF, FBX, Collada).
bool IsRiggedModelFile(const std::string& path);

StartupPlan PlanStartupFiles(const std::vector<std::string>& paths);
}  // namespace posewright
