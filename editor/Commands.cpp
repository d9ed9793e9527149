#include "editor/Commands.h"

#include <cmath>

#include "editor/AnimationCommands.h"
#include "editor/SkinnedMeshXExport.h"
#include "weights/BlendWeights.h"
#include "skeleton/BlendingParametersFile.h"
#include "skeleton/BoneInformationFile.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "model/SkinMeshImport.h"
#include "model/SkinnedMeshFile.h"
#include "image/TextureLoader.h"

namespace {
const char kError[] = "Error";
const char kMeshSaveError[] = "Mesh Save Error";
const char kEraseQuestion[] = "All Data will be erased.Proceed?";
const char kAttention[] = "Attention";
const char kNoAnimation[] = "No animations Exist";
const char kNoAnimationCaption[] = "error";

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

// Shows the busy indicator for as long as it lives.
class BusyScope {
 public:
  explicit BusyScope(ShellView& shell) : shell_(shell) { shell_.setBusy(true); }
  ~BusyScope() { shell_.setBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  ShellView& shell_;
};
}  // namespace

namespace file_dialogs {
FileDialogRequest OpenMesh() {
  return Open({kDirectX}, "x");
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
  return Save({kSkinnedMesh, {"Direct3D SkinnedMesh(*.x)", "*.x"}}, "skm", kDirectXFilter);
}
FileDialogRequest SaveBlendingParameters() {
  return Save({kBoneParameters});
}
FileDialogRequest SaveAnimation() {
  return Save({kAnimationKeyframes}, "anm");
}
FileDialogRequest SaveBoneData() {
  return Save({{"Bone Infomation(*.bnf)", "*.bnf"}}, "bnf");
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
    case CommandId::AnimationAdd:
      AddAnimationCommand(shell_.keyframePanel(), app_.model.skeleton);
      break;
    case CommandId::AnimationRemove:
      RemoveAnimationCommand(shell_.keyframePanel());
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
    default:
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
  if (!shell_.askOkCancel(kEraseQuestion, kAttention)) {
    return;
  }
  if (!app_.boneItems.empty()) {
    shell_.boneTree().clear();
  }
  app_.model = SkinnedModel{};
  app_.boneItems.clear();
  ClearAnimationsCommand(app_.animation);
  shell_.modelChanged();
  shell_.clearViewport();
}

void Commands::openMesh() {
  if (const std::optional<FileChoice> mesh = shell_.chooseFile(file_dialogs::OpenMesh())) {
    Status loaded;
    {
      BusyScope busy(shell_);
      loaded = LoadMesh(app_.model, mesh->path);
    }
    report(loaded);
    if (loaded) {
      shell_.modelChanged();
    }
  }
  // The bone data dialog follows even when the mesh dialog was cancelled.
  if (const std::optional<FileChoice> bones = shell_.chooseFile(file_dialogs::OpenBoneData())) {
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
  if (choice->filter == kDirectXFilter) {
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
    // entries must then leave the tree too.
    if (!app_.model.bonesLoaded()) {
      shell_.boneTree().clear();
      app_.boneItems.clear();
    }
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
  shell_.modelChanged();
}

void Commands::saveSkinnedMesh() {
  const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::SaveSkinnedMesh());
  if (!choice) {
    shell_.showMessage(kMeshSaveError, kError, {});
    return;
  }
  if (choice->filter == kDirectXFilter) {
    exportDirectX(choice->path);
    return;
  }
  Status status;
  {
    BusyScope busy(shell_);
    status = WriteSkinnedMesh(app_.model, choice->path);
  }
  report(status);
}

void Commands::exportDirectX(const std::string& path) {
  // Without a current animation the file holds the mesh and the skeleton
  // without an animation set.
  ExportSkinnedMeshX(shell_.exportView(), app_.rememberedFramesPerSecond, path, app_.model,
                     app_.animation.animations.current());
}

void Commands::openBlendingParameters() {
  if (!app_.model.bonesLoaded()) {
    shell_.showMessage(kBoneDataNotLoaded, kError, {});
    return;
  }
  if (const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::OpenBlendingParameters())) {
    report(ReadBlendingParameters(app_.model.skeleton, choice->path));
    shell_.modelChanged();
  }
}

void Commands::saveBlendingParameters() {
  if (const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::SaveBlendingParameters())) {
    report(WriteBlendingParameters(app_.model.skeleton, choice->path));
  }
}

void Commands::saveBoneData() {
  if (const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::SaveBoneData())) {
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
    report(SaveAnimationCommand(app_.animation, choice->path));
  }
}

void Commands::openAnimation() {
  if (const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::OpenAnimation())) {
    report(OpenAnimationCommand(shell_.keyframePanel(), app_.model.skeleton, choice->path));
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

void Commands::centreOnSelection() {
  if (app_.canDraw()) {
    CentreCameraOn(app_.camera, selectionCentre(app_.model));
  }
}
