// The editor's menu commands and function keys: each one's dialogs, the calls
// into the readers, writers and model in their order, its messages and the
// view state it changes. Runs synchronously on the window's thread; dialogs
// and message boxes block until answered.
#pragma once

#include "editor/Application.h"
#include "editor/CommandIds.h"
#include "editor/ShellView.h"
#include "fileio/Status.h"
#include "importer/ModelImport.h"

namespace posewright {

/// The dialog settings of every file command.
namespace file_dialogs {
FileDialogRequest OpenMesh();
FileDialogRequest OpenBoneData();
FileDialogRequest OpenSkinnedMesh();
FileDialogRequest OpenRiggedModel();
FileDialogRequest OpenBlendingParameters();
FileDialogRequest OpenAnimation();
FileDialogRequest SaveSkinnedMesh();
FileDialogRequest SaveBlendingParameters();
FileDialogRequest SaveAnimation();
FileDialogRequest SaveBoneData();
}  // namespace file_dialogs

/// Filter numbers of the SkinnedMesh dialogs.
inline constexpr int kSkinnedMeshFilter = 1;
inline constexpr int kDirectXFilter = 2;
inline constexpr int kGlbFilter = 3;
inline constexpr int kGltfFilter = 4;

/// Writes the model with every animation of the list, named as listed, as
/// glTF; extension (".glb" or ".gltf") is added to a path without either.
Status WriteGltfOfModel(const Application& app, std::string path, const char* extension);

/// Application::modelFileType of a model opened with File > Open Data >
/// Rigged Model.
inline constexpr int kRiggedModelFileType = -1;

/// Filter number of the bone data type in the Save Bone Data dialog.
inline constexpr int kBoneDataFileFilter = 2;

class Commands {
 public:
  Commands(Application& app, ShellView& shell) : app_(app), shell_(shell) {}

  /// Whether the menu item of the command can be chosen now: Undo and Redo
  /// when there is a step, the weight tools when the model has a skeleton and
  /// vertices (the mirror also bones with partners); any other command always.
  bool isEnabled(CommandId id) const;

  /// Runs the menu command with this id; ids outside the menu do nothing.
  void handleCommand(int32_t id);
  void handleCommand(CommandId id) { handleCommand(static_cast<int32_t>(id)); }
  /// F1 .. F9.
  void handleKey(FunctionKey key);

  void newModel();
  void openMesh();
  void openSkinnedMesh();
  /// File > Open Data > Rigged Model: a model of any format with its own
  /// skeleton and weights, anchors generated (ImportCommands.cpp).
  void openRiggedModel();
  void openBlendingParameters();
  void openAnimation();
  void saveSkinnedMesh();
  void saveBlendingParameters();
  void saveAnimation();
  void saveBoneData();
  void toggleGrid(CheckItem grid);
  /// View > Rendering > Point: clears the selection and toggles vertex mode.
  void togglePointMode();
  /// F9: solid ↔ wireframe; any other mode stays.
  void toggleFillMode();
  /// F4: centres the camera on the selected vertices.
  void centreOnSelection();
  /// Edit > Undo / Redo: the newest done / oldest undone step, then the
  /// panels show the data as it now is.
  void undo();
  void redo();
  /// View > Rendering > Weights: the mesh coloured by the selected bone's
  /// weights, or lit again (WeightToolCommands.cpp).
  void toggleWeightView();
  /// Edit > Weights: runs the tool of id on the selected vertices (all when
  /// none is selected) as one undoable step and says what it did; asks its
  /// settings first (Smooth, Prune, Limit). Refuses, changing nothing, with a
  /// message saying why (WeightToolCommands.cpp).
  void runWeightTool(CommandId id);

 private:
  /// Shows a failed status as "Error" with its reason; does nothing on success.
  void report(const Status& status);
  /// Shows what an import changed (faces left out) as a notice.
  void reportImportNotes(const ImportNotes& notes);
  /// Save Bone Data as a bone data file, with anchors generated from the
  /// current weights for a skeleton that has none (ImportCommands.cpp).
  void saveBoneDataFile(const std::string& path);
  /// Selects the root's tree entry (none when there are no bones).
  void selectRootItem();
  /// Drops the skeleton, empties the bone tree and shows only the clear
  /// colour: without a skeleton nothing is drawn, and the last picture showed
  /// a model that is gone.
  void releaseSkeleton();
  /// Asks what happens to an unsaved model about to be replaced: true when it
  /// may go; false (the Bone panel repainted) when the user cancelled.
  bool settleUnsavedModel();
  /// The .x export of the model with the current animation.
  void exportDirectX(const std::string& path);
  /// The glTF export of the model with every animation of the list, named as
  /// listed; extension (".glb" or ".gltf") is added to a path without either.
  void exportGltf(const std::string& path, const char* extension);
  /// The model was replaced by one read from files: a new history in which
  /// the model counts as saved.
  void startNewHistory();
  void moveInHistory(bool (History::*move)());

  Application& app_;
  ShellView& shell_;
};
}  // namespace posewright
