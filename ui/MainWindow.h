// The editor's main window "Posewright": the menu with the desktop's
// standard shortcuts and the function keys F1 to F9, the viewport filling the
// middle, and the four tool panels docked around it (Bone and Weight Control
// on the left, Keyframe below the viewport, Bone Control below Keyframe).
// Resizable and maximisable; with settings it remembers its size, its dock
// layout and the recent files.
#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <vector>

#include "editor/CommandIds.h"
#include "editor/MenuLayout.h"
#include "editor/ShellView.h"

class QSettings;

namespace posewright {

struct Application;
class Commands;
class DialogService;
class PanelDock;
class PanelSet;
class QtShellView;
class Viewport;

class MainWindow final : public QMainWindow {
  Q_OBJECT

 public:
  /// Builds the window, its menu, viewport and docked panels (hidden).
  /// dialogs answers the modal dialogs (null: the Qt ones); settings (null:
  /// nothing is remembered) holds the window's layout and the recent files.
  explicit MainWindow(Application& app, DialogService* dialogs = nullptr, QSettings* settings = nullptr);
  ~MainWindow() override;

  /// Start-up: shows the window with the Bone, Weight Control and Keyframe
  /// panels (Bone Control stays closed), or as the settings remember it, then
  /// hands the Application to the viewport and the panels.
  void start();
  /// Opens the files of the command line (see StartupFiles.h); files that do
  /// not open are named in one message.
  void openFiles(const std::vector<std::string>& paths);

  /// The menu item of a command.
  QAction* action(CommandId id) const;
  /// The dock that holds a panel.
  PanelDock* dock(PanelId panel) const;
  /// A submenu the window fills at run time.
  QMenu* menu(MenuSlot slot) const;
  Viewport& viewport() { return *viewport_; }
  PanelSet& panels() { return *panels_; }
  Commands& commands() { return *commands_; }
  QtShellView& shell() { return *shell_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void addEntries(QMenu* menu, const std::vector<MenuEntry>& entries);
  void dockPanels();
  // Enables the command items of menu that can act now, greys out the others.
  void updateEnabled(QMenu* menu);
  void deviceFailed(const QString& reason);
  // The undo history or a saved state changed: the Edit menu names the
  // steps, the title shows the model and its state, the model file goes to
  // the recent files.
  void historyChanged();
  void fillRecentFiles();
  // Runs a command with its file dialogs answered by files, in order.
  void runWithFiles(CommandId id, const std::vector<FileChoice>& files);

  Application& app_;
  QSettings* settings_;
  Viewport* viewport_;
  std::unique_ptr<DialogService> ownDialogs_;
  std::unique_ptr<PanelSet> panels_;
  std::unique_ptr<QtShellView> shell_;
  std::unique_ptr<Commands> commands_;
  std::map<CommandId, QAction*> actions_;
  std::map<MenuSlot, QMenu*> slots_;
  std::map<PanelId, PanelDock*> docks_;
  std::string rememberedModel_;
};
}  // namespace posewright
