// What the editor's commands need from the window system: file dialogs,
// message boxes, menu check marks, the panels and the bone tree. The Qt main
// window implements it; tests script it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editor/panels/BoneTree.h"

namespace posewright {

class ExportView;
class KeyframePanel;
class WeightToolDialogView;

/// One entry of a file dialog's type list: a description such as
/// "Direct3D(*.x)" and its pattern such as "*.x".
struct FileFilter {
  std::string description;
  std::string pattern;
  friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

/// The settings of one open or save dialog.
struct FileDialogRequest {
  enum class Kind { Open, Save };
  Kind kind = Kind::Open;
  std::vector<FileFilter> filters;
  /// 1-based number of the filter selected when the dialog opens.
  int preselectedFilter = 1;
  /// Appended (without dot) to a typed name that has no extension; "" for none.
  std::string defaultExtension;
  /// Open: only an existing file can be chosen.
  bool mustExist = false;
  /// Save: choosing an existing file asks before it is overwritten.
  bool askOverwrite = false;
  /// The dialog's title; empty for the platform's own.
  std::string title;
  friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

/// The user's choice in a file dialog.
struct FileChoice {
  /// The chosen file with its folder, so names read from the file resolve
  /// against that folder.
  std::string path;
  /// 1-based number of the filter selected when the dialog was accepted.
  int filter = 1;
};

/// The answers to "Save changes?".
enum class SaveChangesAnswer { Save, Discard, Cancel };

/// The panels the commands show or repaint.
enum class PanelId { Bone, Keyframe, WeightControl, BoneControl };

/// The menu items that carry a check mark (their command ids).
enum class CheckItem { GridXZ = 40038, GridYZ = 40039, GridXY = 40040, Point = 40043, WeightView = 40109 };

class ShellView {
 public:
  virtual ~ShellView() = default;

  /// Shows a modal open or save dialog owned by the main window; nothing when
  /// the user cancelled.
  virtual std::optional<FileChoice> chooseFile(const FileDialogRequest& request) = 0;
  /// A modal message box with an OK button; detail (may be empty) is shown as
  /// the reason below the text.
  virtual void showMessage(const std::string& text, const std::string& caption,
                           const std::string& detail) = 0;
  /// A modal question with OK and Cancel; true only for OK.
  virtual bool askOkCancel(const std::string& text, const std::string& caption) = 0;
  /// The modal question before modified data is dropped, with Save, Discard
  /// and Cancel; detail says what is modified. Escape and the close box
  /// answer Cancel.
  virtual SaveChangesAnswer askSaveChanges(const std::string& text, const std::string& detail) = 0;

  /// Sets or clears a menu item's check mark.
  virtual void setMenuCheck(CheckItem item, bool checked) = 0;
  /// Restores (shows) a panel and repaints it at once.
  virtual void showPanel(PanelId panel) = 0;
  /// Schedules a repaint of a panel.
  virtual void repaintPanel(PanelId panel) = 0;
  /// Tells the panels that the model changed under them (a new mesh or
  /// skeleton, new blending parameters, File > New), so they can refresh what
  /// they show of it.
  virtual void modelChanged() = 0;

  /// The vertex selection changed outside the panels (a rubber band, a
  /// command): the panels that show what it holds refresh.
  virtual void selectionChanged() = 0;

  /// The Bone panel's tree of bones.
  virtual BoneTree& boneTree() = 0;
  /// The tree's selected entry; 0 for none.
  virtual BoneTreeItem selectedBoneItem() = 0;
  /// Selects an entry (0 clears the selection).
  virtual void selectBoneItem(BoneTreeItem item) = 0;
  /// Expands an entry so that its children show.
  virtual void expandBoneItem(BoneTreeItem item) = 0;

  /// The behaviour of the Keyframe panel (title, time display, markers,
  /// messages of the animation commands).
  virtual KeyframePanel& keyframePanel() = 0;

  /// The Option dialog and messages of the .x export.
  virtual ExportView& exportView() = 0;
  /// The small dialog that asks a weight tool's settings.
  virtual WeightToolDialogView& weightToolDialog() = 0;
  /// Says in passing what a command did (the status bar), without asking anything.
  virtual void showStatus(const std::string& text) = 0;

  /// Shows only the clear colour in the viewport until the next drawn frame.
  virtual void clearViewport() = 0;
  /// Closes the main window, which ends the run.
  virtual void requestClose() = 0;
  /// Marks the start and end of a file operation that may take long: a busy
  /// indicator shows while it runs.
  virtual void setBusy(bool busy) = 0;
};

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
}  // namespace posewright
