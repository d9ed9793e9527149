// The commands that bring a user's own model in or its bone data out: File >
// Open Data > Rigged Model and Save Data > Bone Data as a bone data file.
#include "editor/Commands.h"
#include "editor/UnsavedWork.h"
#include "importer/BoneDataWriter.h"
#include "importer/MeshFormats.h"

namespace posewright {

namespace {
const char kNotice[] = "Attention";
}  // namespace

namespace file_dialogs {
FileDialogRequest OpenRiggedModel() {
  FileDialogRequest r;
  r.kind = FileDialogRequest::Kind::Open;
  r.filters = {{"Rigged models", "*.glb *.gltf *.fbx *.dae *.x"}, {"All meshes", MeshFilePatterns()}};
  r.mustExist = true;
  return r;
}
}  // namespace file_dialogs

void Commands::reportImportNotes(const ImportNotes& notes) {
  if (const std::string text = notes.droppedFacesText(); !text.empty()) {
    shell_.showMessage(text, kNotice, {});
  }
}

void Commands::openRiggedModel() {
  const std::optional<FileChoice> choice = shell_.chooseFile(file_dialogs::OpenRiggedModel());
  if (!choice) {
    shell_.repaintPanel(PanelId::Bone);
    return;
  }
  if (!settleUnsavedModel()) {
    return;
  }
  ImportNotes notes;
  Status status;
  {
    BusyScope busy(shell_);
    status = LoadRiggedModel(app_.model, choice->path, &notes);
    if (status) {
      FillBoneTree(app_.model.skeleton, shell_.boneTree(), app_.boneItems);
    }
  }
  if (!status) {
    report(status);
    return;
  }
  app_.modelPath = choice->path;
  app_.modelFileType = kRiggedModelFileType;
  startNewHistory();
  reportImportNotes(notes);
  refreshCamera(app_.camera, 0.0f, 0.0f, 0.0f);
  selectRootItem();
  for (BoneTreeItem item : app_.boneItems) {
    shell_.expandBoneItem(item);
  }
  shell_.modelChanged();
  shell_.repaintPanel(PanelId::Bone);
}

void Commands::saveBoneDataFile(const std::string& path) {
  Status status;
  {
    BusyScope busy(shell_);
    status = WriteBoneData(SkeletonForBoneData(app_.model), path);
  }
  report(status);
}
}  // namespace posewright
