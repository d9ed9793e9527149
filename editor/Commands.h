// The editor's menu commands and function keys: each one's dialogs, the calls
// into the readers, writers and model in their order, its messages and the
// view state it changes. Runs synchronously on the window's thread; dialogs
// and message boxes block until answered.
#pragma once

#include "editor/Application.h"
#include "editor/CommandIds.h"
#include "editor/ShellView.h"
#include "fileio/Status.h"

/// The dialog settings of every file command.
namespace file_dialogs {
FileDialogRequest OpenMesh();
FileDialogRequest OpenBoneData();
FileDialogRequest OpenSkinnedMesh();
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

class Commands {
 public:
  Commands(Application& app, ShellView& shell) : app_(app), shell_(shell) {}

  /// Runs the menu command with this id; ids outside the menu do nothing.
  void handleCommand(int32_t id);
  void handleCommand(CommandId id) { handleCommand(static_cast<int32_t>(id)); }
  /// F1 .. F9.
  void handleKey(FunctionKey key);

  void newModel();
  void openMesh();
  void openSkinnedMesh();
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

 private:
  /// Shows a failed status as "Error" with its reason; does nothing on success.
  void report(const Status& status);
  /// Selects the root's tree entry (none when there are no bones).
  void selectRootItem();
  /// The .x export of the model with the current animation.
  void exportDirectX(const std::string& path);

  Application& app_;
  ShellView& shell_;
};
