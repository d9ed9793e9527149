#include "editor/Commands.h"

#include <cmath>

#include "editor/AnimationCommands.h"
#include "editor/SkinnedMeshXExport.h"
#include "editor/UnsavedWork.h"
#include "gltf/GltfExport.h"
#include "history/AnimationChange.h"
#include "history/DataKeys.h"
#include "history/ModelChange.h"
#include "image/TextureLoader.h"
#include "importer/MeshFormats.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "model/SkinMeshImport.h"
#include "model/SkinnedMeshFile.h"
#include "skeleton/BlendingParametersFile.h"
#include "skeleton/BoneInformationFile.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {
const char kError[] = "Error";
const char kMeshSaveError[] = "Mesh Save Error";
const char kEraseQuestion[] = "All Data will be erased.Proceed?";
const char kAttention[] = "Attention";
const char kNoAnimation[] = "No animations Exist";
const char kNoAnimationCaption[] = "error";
const char kBoneDataNeededToSave[] =
    "the mesh has no skeleton to save with it: load its bone data first (File > Open Data > Mesh, "
    "cancel the mesh dialog, then choose the .dat file)";
const char kGltfCaption[] = "Save glTF";

FileDialogRequest Dialog(FileDialogRequest::Kind kind, std::vector<FileFilter> filters, int preselected,
                         std::string extension) {
  FileDialogRequest r;
  r.kind = kind;
  r.filters = std::move(filters);
  r.preselectedFilter = preselected;
  r.defaultExtension = std::move(extension);
  r.mustExist = kind == FileDialogRequest::Kind::Open;
  r.askOverwrite = kind == FileDialogRequest::Kind::Save;
  return r;
}

FileDialogRequest Open(std::vector<FileFilter> filters, std::string extension = {}) {
  return Dialog(FileDialogRequest::Kind::Open, std::move(filters), 1, std::move(extension));
}

FileDialogRequest Save(std::vector<FileFilter> filters, std::string extension = {}, int preselected = 1) {
  return Dialog(FileDialogRequest::Kind::Save, std::move(filters), preselected, std::move(extension));
}

const FileFilter kDirectX{"Direct3D(*.x)", "*.x"};
const FileFilter kSkinnedMesh{"SkinnedMesh(*.skm)", "*.skm"};
const FileFilter kBoneParameters{"Bone Parameters(*.prm)", "*.prm"};
const FileFilter kAnimationKeyframes{"Animation Keyframes(*.anm)", "*.anm"};

}  // namespace

namespace file_dialogs {
FileDialogRequest OpenMesh() {
  return Open({kDirectX, {"All meshes", MeshFilePatterns()}}, "x");
}
FileDialogRequest OpenBoneData() {
  FileDialogRequest r = Open({{"BoneData(*.dat)", "*.dat"}});
  r.mustExist = false;
  return r;
}
FileDialogRequest OpenSkinnedMesh() {
  return Open({kSkinnedMesh, kDirectX}, "skm");
}
FileDialogRequest OpenBlendingParameters() {
  return Open({kBoneParameters});
}
FileDialogRequest OpenAnimation() {
  return Open({kAnimationKeyframes});
}
FileDialogRequest SaveSkinnedMesh() {
  return Save({kSkinnedMesh,
               {"Direct3D SkinnedMesh(*.x)", "*.x"},
               {"glTF 2.0 binary (*.glb)", "*.glb"},
               {"glTF 2.0 (*.gltf)", "*.gltf"}},
              "skm", kDirectXFilter);
}
FileDialogRequest SaveBlendingParameters() {
  return Save({kBoneParameters});
}
FileDialogRequest SaveAnimation() {
  return Save({kAnimationKeyframes}, "anm");
}
FileDialogRequest SaveBoneData() {
  return Save({{"Bone Infomation(*.bnf)", "*.bnf"}, {"BoneData(*.dat)", "*.dat"}}, "bnf");
}
}  // namespace file_dialogs

void Commands::report(const Status& status) {
  if (!status) {
    shell_.showMessage(status.message, kError, status.detail);
  }
}

void Commands::selectRootItem() {
  const BoneItemMap& items = app_.boneItems;
  shell_.selectBoneItem(items.empty() ? 0 : items.front());
}

void Commands::handleCommand(int32_t id) {
  switch (static_cast<CommandId>(id)) {
    case CommandId::New:
      newModel();
      break;
    case CommandId::OpenMesh:
      openMesh();
      break;
    case CommandId::OpenSkinnedMesh:
      openSkinnedMesh();
      break;
    case CommandId::OpenRiggedModel:
      openRiggedModel();
      break;
    case CommandId::OpenBlendingParameters:
      openBlendingParameters();
      break;
    case CommandId::OpenAnimation:
      openAnimation();
      break;
    case CommandId::SaveSkinnedMesh:
      saveSkinnedMesh();
      break;
    case CommandId::SaveBlendingParameters:
      saveBlendingParameters();
      break;
    case CommandId::SaveAnimation:
      saveAnimation();
      break;
    case CommandId::SaveBoneData:
      saveBoneData();
      break;
    case CommandId::Exit:
      shell_.requestClose();
      break;
    case CommandId::Weight:
      shell_.showPanel(PanelId::WeightControl);
      break;
    case CommandId::Rotate:
      shell_.showPanel(PanelId::BoneControl);
      break;
    case CommandId::AnimationName:
      break;
    case CommandId::AnimationPrevious:
      PreviousAnimationCommand(shell_.keyframePanel());
      break;
    case CommandId::AnimationNext:
      NextAnimationCommand(shell_.keyframePanel());
      break;
    case CommandId::AnimationAdd: {
      AnimationListEdit edit(app_.history, app_.animation.animations, "Add Animation");
      AddAnimationCommand(shell_.keyframePanel(), app_.model.skeleton);
      edit.commit();
      break;
    }
    case CommandId::AnimationRemove: {
      AnimationListEdit edit(app_.history, app_.animation.animations, "Remove Animation");
      RemoveAnimationCommand(shell_.keyframePanel());
      edit.commit();
      break;
    }
    case CommandId::Undo:
      undo();
      break;
    case CommandId::Redo:
      redo();
      break;
    case CommandId::GridXZ:
      toggleGrid(CheckItem::GridXZ);
      break;
    case CommandId::GridYZ:
      toggleGrid(CheckItem::GridYZ);
      break;
    case CommandId::GridXY:
      toggleGrid(CheckItem::GridXY);
      break;
    case CommandId::Wireframe:
      app_.fillMode = FillMode::Wireframe;
      break;
    case CommandId::Solid:
      app_.fillMode = FillMode::Solid;
      break;
    case CommandId::Point:
      togglePointMode();
      break;
    case CommandId::WeightView:
      toggleWeightView();
      break;
    default:
      if (IsWeightTool(static_cast<CommandId>(id))) {
        runWeightTool(static_cast<CommandId>(id));
      }
      break;
  }
}

void Commands::handleKey(FunctionKey key) {
  switch (key) {
    case FunctionKey::F1:
      ViewFromTop(app_.camera);
      break;
    case FunctionKey::F2:
      ViewFromSide(app_.camera);
      break;
    case FunctionKey::F3:
      ViewFromFront(app_.camera);
      break;
    case FunctionKey::F4:
      centreOnSelection();
      break;
    case FunctionKey::F5:
      toggleGrid(CheckItem::GridXZ);
      break;
    case FunctionKey::F6:
      toggleGrid(CheckItem::GridYZ);
      break;
    case FunctionKey::F7:
      toggleGrid(CheckItem::GridXY);
      break;
    case FunctionKey::F8:
      togglePointMode();
      break;
    case FunctionKey::F9:
      toggleFillMode();
      break;
  }
}

void Commands::newModel() {
  if (!SettleUnsavedWork(app_, shell_, DroppedData::Everything) ||
      !shell_.askOkCancel(kEraseQuestion, kAttention)) {
    return;
  }
  if (!app_.boneItems.empty()) {
    shell_.boneTree().clear();
  }
  app_.model = SkinnedModel{};
  app_.boneItems.clear();
  ClearAnimationsCommand(app_.animation);
  app_.modelPath.clear();
  app_.history.reset();
  shell_.modelChanged();
  shell_.clearViewport();
}

bool Commands::settleUnsavedModel() {
  if (SettleUnsavedWork(app_, shell_, DroppedData::Model)) {
    return true;
  }
  shell_.repaintPanel(PanelId::Bone);
  return false;
}

void Commands::releaseSkeleton() {
  app_.model.skeleton.clear();
  shell_.boneTree().clear();
  app_.boneItems.clear();
  shell_.selectBoneItem(0);
  shell_.clearViewport();
}

void Commands::openMesh() {
  if (const std::optional<FileChoice> mesh = shell_.chooseFile(file_dialogs::OpenMesh())) {
    if (!settleUnsavedModel()) {
      return;
    }
    Status loaded;
    ImportNotes notes;
    {
      BusyScope busy(shell_);
      loaded = LoadAnyMesh(app_.model, mesh->path, &notes);
    }
    report(loaded);
    if (loaded) {
      // The skeleton was bound to the mesh just replaced; the new mesh waits
      // for its own bone data, even if the next dialog is cancelled or its
      // file refused.
      if (app_.model.bonesLoaded()) {
        releaseSkeleton();
      }
      app_.modelPath = mesh->path;
      app_.modelFileType = 0;
      startNewHistory();
      reportImportNotes(notes);
      shell_.modelChanged();
    }
  }
  // The bone data dialog follows even when the mesh dialog was cancelled.
  if (const std::optional<FileChoice> bones = shell_.chooseFile(file_dialogs::OpenBoneData())) {
    if (!settleUnsavedModel()) {
      return;
    }
    Status status;
    {
      BusyScope busy(shell_);
      status = LoadBoneData(app_.model, bones->path);
      if (status) {
        FillBoneTree(app_.model.skeleton, shell_.boneTree(), app_.boneItems);
        ComputeBlendWeights(app_.model);
      }
    }
    if (status) {
      refreshCamera(app_.camera, 0.0f, 0.0f, 0.0f);
      selectRootItem();
      startNewHistory();
      shell_.modelChanged();
    } else {
      report(status);
    }
  }
  shell_.repaintPanel(PanelId::Bone);
}

void Commands::openSkinnedMesh() {
  const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::OpenSkinnedMesh());
  if (!choice) {
    shell_.repaintPanel(PanelId::Bone);
    return;
  }
  if (!settleUnsavedModel()) {
    return;
  }
  if (choice->filter == kDirectXFilter) {
    const bool hadSkeleton = app_.model.bonesLoaded();
    Status status;
    {
      BusyScope busy(shell_);
      status = LoadMeshFromXof(app_.model, choice->path);
    }
    if (!status) {
      report(status);
      return;
    }
    // The import drops a skeleton whose bones the file does not name; its
    // entries must then leave the tree too, and its last picture the viewport.
    if (!app_.model.bonesLoaded()) {
      if (hadSkeleton) {
        releaseSkeleton();
      } else {
        shell_.boneTree().clear();
        app_.boneItems.clear();
      }
    }
    app_.modelPath = choice->path;
    app_.modelFileType = kDirectXFilter;
    startNewHistory();
    shell_.modelChanged();
    return;
  }
  Status status;
  {
    BusyScope busy(shell_);
    status = ReadSkinnedMesh(app_.model, choice->path, LoadTextureImage);
    if (status) {
      FillBoneTree(app_.model.skeleton, shell_.boneTree(), app_.boneItems, RootLabel::Named);
    }
  }
  if (!status) {
    report(status);
    return;
  }
  refreshCamera(app_.camera, 0.0f, 0.0f, 0.0f);
  selectRootItem();
  for (BoneTreeItem item : app_.boneItems) {
    shell_.expandBoneItem(item);
  }
  app_.modelPath = choice->path;
  app_.modelFileType = kSkinnedMeshFilter;
  startNewHistory();
  shell_.modelChanged();
}

void Commands::saveSkinnedMesh() {
  const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::SaveSkinnedMesh());
  if (!choice) {
    shell_.showMessage(kMeshSaveError, kError, {});
    return;
  }
  // A mesh waiting for its bone data cannot be saved in either format: say
  // what is missing rather than that there is nothing to save.
  if (app_.model.meshLoaded && !app_.model.bonesLoaded()) {
    shell_.showMessage(kBoneDataNotLoaded, kError, kBoneDataNeededToSave);
    return;
  }
  if (choice->filter == kDirectXFilter) {
    exportDirectX(choice->path);
    return;
  }
  if (choice->filter == kGlbFilter || choice->filter == kGltfFilter) {
    exportGltf(choice->path, choice->filter == kGlbFilter ? ".glb" : ".gltf");
    return;
  }
  Status status;
  {
    BusyScope busy(shell_);
    status = WriteSkinnedMesh(app_.model, choice->path);
  }
  report(status);
  if (status) {
    app_.modelPath = choice->path;
    app_.modelFileType = kSkinnedMeshFilter;
    app_.history.markSaved(kModelData);
  }
}

void Commands::exportDirectX(const std::string& path) {
  // Without a current animation the file holds the mesh and the skeleton
  // without an animation set.
  ExportSkinnedMeshX(shell_.exportView(), app_.rememberedFramesPerSecond, app_.rememberedMeshInFrame, path,
                     app_.model, app_.animation.animations.current());
}

Status WriteGltfOfModel(const Application& app, std::string path, const char* extension) {
  // A name without the type's extension gets it, so the file is what the
  // chosen type says.
  if (!gltf::ContainerOfPath(path)) {
    path += extension;
  }
  const AnimationList& list = app.animation.animations;
  std::vector<gltf::NamedAnimation> animations;
  for (int32_t i = 0; i < list.size(); ++i) {
    animations.push_back({list.at(i).name, &list.at(i)});
  }
  return gltf::WriteExport(path, app.model, animations, {});
}

void Commands::exportGltf(const std::string& path, const char* extension) {
  Status status;
  {
    BusyScope busy(shell_);
    status = WriteGltfOfModel(app_, path, extension);
  }
  if (!status) {
    shell_.showMessage(status.message, kGltfCaption, status.detail);
  }
}

void Commands::openBlendingParameters() {
  if (!app_.model.bonesLoaded()) {
    shell_.showMessage(kBoneDataNotLoaded, kError, {});
    return;
  }
  if (const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::OpenBlendingParameters())) {
    ModelEdit edit(app_.history, app_.model, "Open Blending Parameters", kBoneParametersAspect);
    const Status status = ReadBlendingParameters(app_.model.skeleton, choice->path);
    edit.commit();
    if (status) {
      app_.history.markSaved(kBlendingData);
    }
    report(status);
    shell_.modelChanged();
  }
}

void Commands::saveBlendingParameters() {
  if (const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::SaveBlendingParameters())) {
    const Status status = WriteBlendingParameters(app_.model.skeleton, choice->path);
    report(status);
    if (status) {
      app_.history.markSaved(kBlendingData);
    }
  }
}

void Commands::saveBoneData() {
  if (const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::SaveBoneData())) {
    if (choice->filter == kBoneDataFileFilter) {
      saveBoneDataFile(choice->path);
      return;
    }
    report(WriteBoneInformation(app_.model.skeleton, choice->path));
  }
}

void Commands::saveAnimation() {
  // Without an animation there is nothing to write: say so instead of
  // leaving the user with a save that produced no file.
  if (app_.animation.animations.current() == nullptr) {
    shell_.showMessage(kNoAnimation, kNoAnimationCaption, {});
    return;
  }
  if (const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::SaveAnimation())) {
    const Status status = SaveAnimationCommand(app_.animation, choice->path);
    report(status);
    if (status) {
      app_.history.markSaved(AnimationData(*app_.animation.animations.current()));
    }
  }
}

void Commands::openAnimation() {
  if (const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::OpenAnimation())) {
    AnimationListEdit edit(app_.history, app_.animation.animations, "Open Animation");
    const Status status = OpenAnimationCommand(shell_.keyframePanel(), app_.model.skeleton, choice->path);
    edit.commit();
    // An animation read whole is as its file has it.
    for (const Animation* opened : edit.added()) {
      if (status) {
        app_.history.markSaved(AnimationData(*opened));
      }
    }
    report(status);
  }
}

void Commands::toggleGrid(CheckItem grid) {
  bool* flag = grid == CheckItem::GridXZ   ? &app_.gridXZ
               : grid == CheckItem::GridYZ ? &app_.gridYZ
                                           : &app_.gridXY;
  *flag = !*flag;
  shell_.setMenuCheck(grid, *flag);
}

void Commands::togglePointMode() {
  if (app_.model.meshLoaded) {
    app_.model.selection.reset(app_.model.vertexCount());
  }
  app_.vertexMode = !app_.vertexMode;
  shell_.setMenuCheck(CheckItem::Point, app_.vertexMode);
}

void Commands::toggleFillMode() {
  if (app_.fillMode == FillMode::Solid) {
    app_.fillMode = FillMode::Wireframe;
  } else if (app_.fillMode == FillMode::Wireframe) {
    app_.fillMode = FillMode::Solid;
  }
}

void Commands::startNewHistory() {
  app_.history.clear();
  app_.history.markSaved(kModelData);
  app_.history.markSaved(kBlendingData);
}

void Commands::undo() {
  moveInHistory(&History::undo);
}

void Commands::redo() {
  moveInHistory(&History::redo);
}

void Commands::moveInHistory(bool (History::*move)()) {
  const AnimationList& list = app_.animation.animations;
  const Animation* current = list.current();
  const int32_t count = list.size();
  if (!(app_.history.*move)()) {
    return;
  }
  shell_.modelChanged();
  // The Keyframe panel's title names the current animation.
  if (list.current() != current || list.size() != count) {
    shell_.keyframePanel().updateTitle();
  }
}

void Commands::centreOnSelection() {
  if (app_.canDraw()) {
    CentreCameraOn(app_.camera, selectionCentre(app_.model));
  }
}
}  // namespace posewright
