// The editor's main window "Posewright": fixed 800 × 600 outer size at the
// top right of the screen, the menu, the function keys F1 to F9, the viewport
// as client area, and the four tool panels it owns.
#pragma once

#include <QMainWindow>
#include <map>
#include <memory>

#include "editor/CommandIds.h"
#include "editor/MenuLayout.h"

struct Application;
class Commands;
class DialogService;
class PanelSet;
class QtShellView;
class Viewport;

/// Outer size of the main window, frame included.
inline constexpr int kMainWindowWidth = 800;
inline constexpr int kMainWindowHeight = 600;

class MainWindow final : public QMainWindow {
  Q_OBJECT

 public:
  /// Builds the window, its menu, viewport and panels (hidden). dialogs
  /// answers the modal dialogs; null uses the Qt ones.
  explicit MainWindow(Application& app, DialogService* dialogs = nullptr);
  ~MainWindow() override;

  /// Start-up: places and shows the window, places and shows the panels (Bone
  /// Control stays hidden), then hands the Application to the viewport and the
  /// panels.
  void start();

  /// The menu item of a command.
  QAction* action(CommandId id) const;
  Viewport& viewport() { return *viewport_; }
  PanelSet& panels() { return *panels_; }
  Commands& commands() { return *commands_; }
  QtShellView& shell() { return *shell_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void addEntries(QMenu* menu, const std::vector<MenuEntry>& entries);
  void placeWindow();
  void placePanels();
  void deviceFailed(const QString& reason);

  Application& app_;
  Viewport* viewport_;
  std::unique_ptr<DialogService> ownDialogs_;
  std::unique_ptr<PanelSet> panels_;
  std::unique_ptr<QtShellView> shell_;
  std::unique_ptr<Commands> commands_;
  std::map<CommandId, QAction*> actions_;
  bool boneWidened_ = false;
};
