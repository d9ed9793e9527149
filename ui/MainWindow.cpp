#include "ui/MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QShortcut>

#include "editor/Application.h"
#include "editor/Commands.h"
#include "editor/StartupFiles.h"
#include "editor/UnsavedWork.h"
#include "ui/PanelDock.h"
#include "ui/PanelSet.h"
#include "ui/QtDialogs.h"
#include "ui/QtShellView.h"
#include "ui/RecentFiles.h"
#include "ui/Viewport.h"

namespace posewright {

namespace {
const char kDeviceFailure[] = "Direct3D の初期化に失敗しました。";
const char kGeometryKey[] = "window/geometry";
const char kDocksKey[] = "window/docks";
// Changes when the docks change, so an older layout is not restored.
constexpr int kDockLayoutVersion = 1;

// The platform's keys of a standard shortcut; Redo answers to both of the
// desktops' habits.
QList<QKeySequence> KeysOf(StandardKey key) {
  switch (key) {
    case StandardKey::None:
      return {};
    case StandardKey::New:
      return QKeySequence::keyBindings(QKeySequence::New);
    case StandardKey::Open:
      return QKeySequence::keyBindings(QKeySequence::Open);
    case StandardKey::Save:
      return QKeySequence::keyBindings(QKeySequence::Save);
    case StandardKey::Quit:
      return QKeySequence::keyBindings(QKeySequence::Quit);
    case StandardKey::Undo:
      return QKeySequence::keyBindings(QKeySequence::Undo);
    case StandardKey::Redo: {
      QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Redo);
      for (const QKeySequence& extra :
           {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        if (!keys.contains(extra)) keys.append(extra);
      }
      return keys;
    }
  }
  return {};
}
}  // namespace

MainWindow::MainWindow(Application& app, DialogService* dialogs, QSettings* settings)
    : QMainWindow(nullptr), app_(app), settings_(settings) {
  menuBar()->setNativeMenuBar(false);
  for (const MenuEntry& top : MainMenuLayout()) {
    addEntries(menuBar()->addMenu(QString::fromStdString(top.text)), top.children);
  }

  viewport_ = new Viewport(app_, this);
  setCentralWidget(viewport_);
  connect(viewport_, &Viewport::deviceFailed, this, &MainWindow::deviceFailed, Qt::QueuedConnection);

  if (dialogs == nullptr) {
    ownDialogs_ = std::make_unique<QtDialogs>(this);
    dialogs = ownDialogs_.get();
  }
  panels_ = CreatePanels(this);
  dockPanels();
  shell_ = std::make_unique<QtShellView>(*this, *panels_, *viewport_, *dialogs);
  commands_ = std::make_unique<Commands>(app_, *shell_);

  app_.history.onChange = [this] { historyChanged(); };
  panels_->setEditedHandler([this] { viewport_->requestFrame(); });
  historyChanged();
  fillRecentFiles();

  const int keys[] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5,
                      Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9};
  for (int i = 0; i < 9; ++i) {
    auto* shortcut = new QShortcut(QKeySequence(keys[i]), this);
    shortcut->setContext(Qt::WindowShortcut);
    const auto key = static_cast<FunctionKey>(i + 1);
    connect(shortcut, &QShortcut::activated, this, [this, key] {
      commands_->handleKey(key);
      shell_->selectionChanged();
      viewport_->requestFrame();
    });
  }
}

MainWindow::~MainWindow() {
  app_.history.onChange = nullptr;
  viewport_->attach(nullptr);
  if (panels_) {
    panels_->attach(nullptr);
  }
}

void MainWindow::addEntries(QMenu* menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& e : entries) {
    switch (e.kind) {
      case MenuEntry::Kind::Separator:
        menu->addSeparator();
        break;
      case MenuEntry::Kind::Submenu: {
        QMenu* submenu = menu->addMenu(QString::fromStdString(e.text));
        addEntries(submenu, e.children);
        // Items that cannot act on the model as it is now are greyed out.
        connect(submenu, &QMenu::aboutToShow, this, [this, submenu] { updateEnabled(submenu); });
        break;
      }
      case MenuEntry::Kind::Placeholder:
        slots_[e.slot] = menu->addMenu(QString::fromStdString(e.text));
        break;
      case MenuEntry::Kind::Command: {
        QAction* action = menu->addAction(QString::fromStdString(e.text));
        action->setCheckable(e.checkable);
        action->setShortcuts(KeysOf(e.key));
        if (!e.shortcut.empty()) {
          action->setShortcut(QKeySequence(QString::fromStdString(e.shortcut), QKeySequence::PortableText));
        }
        const CommandId id = e.id;
        connect(action, &QAction::triggered, this, [this, id] {
          commands_->handleCommand(id);
          shell_->selectionChanged();
          viewport_->requestFrame();
        });
        actions_[id] = action;
        break;
      }
    }
  }
}

void MainWindow::updateEnabled(QMenu* menu) {
  for (const auto& [id, action] : actions_) {
    if (menu->actions().contains(action)) {
      action->setEnabled(commands_->isEnabled(id));
    }
  }
}

void MainWindow::dockPanels() {
  struct Place {
    PanelId panel;
    const char* name;
    Qt::DockWidgetArea area;
    bool widens;
  };
  const Place places[] = {{PanelId::Bone, "boneDock", Qt::LeftDockWidgetArea, false},
                          {PanelId::WeightControl, "weightControlDock", Qt::LeftDockWidgetArea, false},
                          {PanelId::Keyframe, "keyframeDock", Qt::BottomDockWidgetArea, true},
                          {PanelId::BoneControl, "boneControlDock", Qt::BottomDockWidgetArea, false}};
  // The left column runs the window's full height; Keyframe and Bone Control
  // stay under the viewport.
  setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
  QMenu* panelsMenu = menu(MenuSlot::Panels);
  for (const Place& p : places) {
    auto* dock = new PanelDock(QString::fromLatin1(p.name), panels_->window(p.panel), p.widens, this);
    addDockWidget(p.area, dock, Qt::Vertical);
    docks_[p.panel] = dock;
    if (panelsMenu != nullptr) {
      panelsMenu->addAction(dock->toggleViewAction());
    }
  }
}

PanelDock* MainWindow::dock(PanelId panel) const {
  const auto it = docks_.find(panel);
  return it != docks_.end() ? it->second : nullptr;
}

QMenu* MainWindow::menu(MenuSlot slot) const {
  const auto it = slots_.find(slot);
  return it != slots_.end() ? it->second : nullptr;
}

QAction* MainWindow::action(CommandId id) const {
  const auto it = actions_.find(id);
  return it != actions_.end() ? it->second : nullptr;
}

void MainWindow::historyChanged() {
  const History& history = app_.history;
  if (QAction* undo = action(CommandId::Undo)) {
    undo->setText(history.canUndo()
                      ? QStringLiteral("Undo %1").arg(QString::fromStdString(history.undoName()))
                      : QStringLiteral("Undo"));
    undo->setEnabled(history.canUndo());
  }
  if (QAction* redo = action(CommandId::Redo)) {
    redo->setText(history.canRedo()
                      ? QStringLiteral("Redo %1").arg(QString::fromStdString(history.redoName()))
                      : QStringLiteral("Redo"));
    redo->setEnabled(history.canRedo());
  }
  setWindowTitle(QString::fromStdString(WindowTitle(app_)));
  const std::string model = std::to_string(app_.modelFileType) + app_.modelPath;
  if (settings_ != nullptr && !app_.modelPath.empty() && model != rememberedModel_) {
    rememberedModel_ = model;
    RememberRecentFile(*settings_, {QFileInfo(QString::fromStdString(app_.modelPath)).absoluteFilePath(),
                                    app_.modelFileType});
    fillRecentFiles();
  }
  viewport_->requestFrame();
}

void MainWindow::fillRecentFiles() {
  QMenu* recent = menu(MenuSlot::RecentFiles);
  if (recent == nullptr) {
    return;
  }
  recent->clear();
  const QList<RecentFile> files = settings_ != nullptr ? ReadRecentFiles(*settings_) : QList<RecentFile>();
  for (int i = 0; i < files.size(); ++i) {
    const RecentFile file = files[i];
    QAction* entry =
        recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(file.path).fileName()));
    entry->setToolTip(file.path);
    entry->setStatusTip(file.path);
    connect(entry, &QAction::triggered, this, [this, file] {
      if (file.type == 0) {
        runWithFiles(CommandId::OpenMesh, {FileChoice{file.path.toStdString(), 1}});
      } else if (file.type == kRiggedModelFileType) {
        runWithFiles(CommandId::OpenRiggedModel, {FileChoice{file.path.toStdString(), 1}});
      } else {
        runWithFiles(CommandId::OpenSkinnedMesh, {FileChoice{file.path.toStdString(), file.type}});
      }
    });
  }
  recent->setEnabled(!files.isEmpty());
}

void MainWindow::runWithFiles(CommandId id, const std::vector<FileChoice>& files) {
  shell_->answerFileDialogs(files);
  commands_->handleCommand(id);
  shell_->answerFileDialogs({});
  viewport_->requestFrame();
}

void MainWindow::openFiles(const std::vector<std::string>& paths) {
  const StartupPlan plan = PlanStartupFiles(paths);
  for (const StartupStep& step : plan.steps) {
    runWithFiles(step.command, step.answers);
  }
  if (!plan.refused.empty()) {
    std::string detail;
    for (const std::string& r : plan.refused) detail += (detail.empty() ? "" : "\n") + r;
    shell_->showMessage(kStartupFilesRefused, "Posewright", detail);
  }
}

void MainWindow::start() {
  // A first start: the viewport at its classic size beside the panels, with
  // room kept for Bone Control under Keyframe, on the screen.
  for (PanelId id : {PanelId::Bone, PanelId::Keyframe, PanelId::WeightControl}) {
    panels_->window(id)->show();
  }
  panels_->window(PanelId::BoneControl)->hide();
  const QRect available = screen()->availableGeometry();
  // (The closed dock tells no size: its panel and a title line.)
  const int boneControl = panels_->window(PanelId::BoneControl)->height() + 2 * fontMetrics().height();
  const QSize size = sizeHint() + QSize(0, boneControl);
  resize(size.boundedTo(available.size()));
  bool restored = false;
  if (settings_ != nullptr) {
    restored = restoreGeometry(settings_->value(kGeometryKey).toByteArray());
    restoreState(settings_->value(kDocksKey).toByteArray(), kDockLayoutVersion);
  }
  if (!restored) {
    move(available.topLeft());
  }
  show();
  viewport_->attach(shell_.get());
  panels_->attach(&app_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!SettleUnsavedWork(app_, *shell_, DroppedData::Everything)) {
    event->ignore();
    return;
  }
  if (settings_ != nullptr) {
    settings_->setValue(kGeometryKey, saveGeometry());
    settings_->setValue(kDocksKey, saveState(kDockLayoutVersion));
  }
  app_.running = false;
  viewport_->attach(nullptr);
  panels_->attach(nullptr);
  event->accept();
}

void MainWindow::deviceFailed(const QString& reason) {
  shell_->showMessage(kDeviceFailure, "Posewright", reason.toStdString());
  close();
  QCoreApplication::exit(1);
}
}  // namespace posewright
