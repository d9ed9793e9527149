#include "editor/UnsavedWork.h"

#include <filesystem>

#include "anim/AnimationFile.h"
#include "editor/Commands.h"
#include "editor/SkinnedMeshXExport.h"
#include "history/DataKeys.h"
#include "history/UnsavedData.h"
#include "model/SkinnedMeshFile.h"
#include "skeleton/BlendingParametersFile.h"

namespace posewright {

namespace {
const char kError[] = "Error";

// Shows a failed status; true on success.
bool Reported(ShellView& shell, const Status& status) {
  if (!status) {
    shell.showMessage(status.message, kError, status.detail);
  }
  return status.ok;
}

bool SaveModel(Application& app, ShellView& shell) {
  FileDialogRequest request = file_dialogs::SaveSkinnedMesh();
  request.preselectedFilter = kSkinnedMeshFilter;
  const std::optional<FileChoice> choice = shell.chooseFile(request);
  if (!choice) {
    return false;
  }
  if (choice->filter == kDirectXFilter) {
    return ExportSkinnedMeshX(shell.exportView(), app.rememberedFramesPerSecond, app.rememberedMeshInFrame,
                              choice->path, app.model, app.animation.animations.current());
  }
  if (choice->filter == kGlbFilter || choice->filter == kGltfFilter) {
    return Reported(shell,
                    WriteGltfOfModel(app, choice->path, choice->filter == kGlbFilter ? ".glb" : ".gltf"));
  }
  if (!Reported(shell, WriteSkinnedMesh(app.model, choice->path))) {
    return false;
  }
  app.modelPath = choice->path;
  app.modelFileType = kSkinnedMeshFilter;
  app.history.markSaved(kModelData);
  return true;
}

bool SaveBlendingParameters(Application& app, ShellView& shell) {
  const std::optional<FileChoice> choice = shell.chooseFile(file_dialogs::SaveBlendingParameters());
  if (!choice || !Reported(shell, WriteBlendingParameters(app.model.skeleton, choice->path))) {
    return false;
  }
  app.history.markSaved(kBlendingData);
  return true;
}

bool SaveAnimation(Application& app, ShellView& shell, const Animation& animation) {
  FileDialogRequest request = file_dialogs::SaveAnimation();
  request.title = "Save Animation " + animation.name;
  const std::optional<FileChoice> choice = shell.chooseFile(request);
  if (!choice || !Reported(shell, WriteAnimationFile(animation, choice->path))) {
    return false;
  }
  app.history.markSaved(AnimationData(animation));
  return true;
}

bool AnimationsCount(DroppedData dropped) {
  return dropped == DroppedData::Everything;
}
}  // namespace

bool HasUnsavedWork(const Application& app, DroppedData dropped) {
  return ModelModified(app.history) ||
         (AnimationsCount(dropped) && AnimationsModified(app.history, app.animation.animations));
}

bool SettleUnsavedWork(Application& app, ShellView& shell, DroppedData dropped) {
  const bool model = ModelModified(app.history);
  const bool animations =
      AnimationsCount(dropped) && AnimationsModified(app.history, app.animation.animations);
  if (!model && !animations) {
    return true;
  }
  std::string detail = model ? kModelUnsaved : "";
  if (animations) {
    detail += std::string(detail.empty() ? "" : "\n") + kAnimationsUnsaved;
  }
  switch (shell.askSaveChanges(kSaveChangesQuestion, detail)) {
    case SaveChangesAnswer::Cancel:
      return false;
    case SaveChangesAnswer::Discard:
      return true;
    case SaveChangesAnswer::Save:
      break;
  }
  if (app.history.isModified(kModelData) && !SaveModel(app, shell)) {
    return false;
  }
  if (app.history.isModified(kBlendingData) && !SaveBlendingParameters(app, shell)) {
    return false;
  }
  if (animations) {
    // Held while saving: a save dialog must not see the list change.
    const auto entries = app.animation.animations.entries();
    for (const auto& animation : entries) {
      if (app.history.isModified(AnimationData(*animation)) && !SaveAnimation(app, shell, *animation)) {
        return false;
      }
    }
  }
  return true;
}

std::string WindowTitle(const Application& app) {
  const bool modified =
      ModelModified(app.history) || AnimationsModified(app.history, app.animation.animations);
  const std::string name =
      app.modelPath.empty() ? std::string() : std::filesystem::path(app.modelPath).filename().string();
  return std::string(modified ? "*" : "") + (name.empty() ? "" : name + " \u2014 ") + "Posewright";
}
}  // namespace posewright
