#include "ui/MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "editor/Application.h"
#include "editor/Commands.h"
#include "ui/PanelSet.h"
#include "ui/QtDialogs.h"
#include "ui/QtShellView.h"
#include "ui/Viewport.h"

namespace {
const char kDeviceFailure[] = "Direct3D の初期化に失敗しました。";

// Width and height the window manager's frame adds around a top-level widget.
QSize FrameExtra(const QWidget* w) {
  return w->frameGeometry().size() - w->geometry().size();
}
}  // namespace

MainWindow::MainWindow(Application& app, DialogService* dialogs) : QMainWindow(nullptr), app_(app) {
  setWindowTitle("Posewright");
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
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
  shell_ = std::make_unique<QtShellView>(*this, *panels_, *viewport_, *dialogs);
  commands_ = std::make_unique<Commands>(app_, *shell_);

  const int keys[] = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5,
                      Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9};
  for (int i = 0; i < 9; ++i) {
    auto* shortcut = new QShortcut(QKeySequence(keys[i]), this);
    shortcut->setContext(Qt::WindowShortcut);
    const auto key = static_cast<FunctionKey>(i + 1);
    connect(shortcut, &QShortcut::activated, this, [this, key] { commands_->handleKey(key); });
  }
}

MainWindow::~MainWindow() {
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
      case MenuEntry::Kind::Submenu:
        addEntries(menu->addMenu(QString::fromStdString(e.text)), e.children);
        break;
      case MenuEntry::Kind::Command: {
        QAction* action = menu->addAction(QString::fromStdString(e.text));
        action->setCheckable(e.checkable);
        const CommandId id = e.id;
        connect(action, &QAction::triggered, this, [this, id] { commands_->handleCommand(id); });
        actions_[id] = action;
        break;
      }
    }
  }
}

QAction* MainWindow::action(CommandId id) const {
  const auto it = actions_.find(id);
  return it != actions_.end() ? it->second : nullptr;
}

void MainWindow::start() {
  placeWindow();
  show();
  placePanels();
  for (PanelId id : {PanelId::Bone, PanelId::Keyframe, PanelId::WeightControl}) {
    panels_->window(id)->show();
  }
  panels_->window(PanelId::BoneControl)->hide();
  // The window manager may add its frame only once the window is shown; keep
  // the outer size and the places then.
  QTimer::singleShot(0, this, [this] {
    placeWindow();
    placePanels();
  });
  viewport_->attach(shell_.get());
  panels_->attach(&app_);
}

void MainWindow::placeWindow() {
  const QSize extra = FrameExtra(this);
  setFixedSize(kMainWindowWidth - extra.width(), kMainWindowHeight - extra.height());
  const QRect screen = this->screen()->geometry();
  move(screen.x() + screen.width() - kMainWindowWidth, screen.y());
}

void MainWindow::placePanels() {
  const QRect screen = this->screen()->geometry();
  const QRect m = frameGeometry();
  QWidget* bone = panels_->window(PanelId::Bone);
  QWidget* keyframe = panels_->window(PanelId::Keyframe);
  QWidget* weight = panels_->window(PanelId::WeightControl);
  for (QWidget* w : {bone, keyframe, weight}) {
    if (!w->testAttribute(Qt::WA_Resized)) {
      w->adjustSize();
    }
  }
  // The Bone panel at the screen's top left, widened by the dialog frame.
  const QRect b = bone->frameGeometry();
  const int dialogFrame = bone->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, bone);
  if (!boneWidened_) {
    bone->resize(bone->width() + dialogFrame, bone->height());
    boneWidened_ = true;
  }
  bone->move(screen.topLeft());
  // The Keyframe panel right under the main window, as wide as it.
  keyframe->move(m.left(), m.top() + m.height());
  keyframe->resize(m.width() - FrameExtra(keyframe).width(), keyframe->height());
  // The Weight Control panel under the Bone panel at the left screen edge.
  weight->move(screen.x(), screen.y() + b.height());
  // Bone Control, hidden until Edit > Rotate, right under the Keyframe panel
  // at the main window's left edge: it covers neither the viewport it poses
  // nor the other panels. On a short screen it moves up to stay whole.
  QWidget* boneControl = panels_->window(PanelId::BoneControl);
  const QRect available = this->screen()->availableGeometry();
  const QRect k = keyframe->frameGeometry();
  const int lowest = available.y() + available.height() - boneControl->frameGeometry().height();
  boneControl->move(m.left(), std::max(available.y(), std::min(k.top() + k.height(), lowest)));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  app_.running = false;
  viewport_->attach(nullptr);
  panels_->attach(nullptr);
  for (PanelId id : {PanelId::Bone, PanelId::Keyframe, PanelId::WeightControl, PanelId::BoneControl}) {
    panels_->window(id)->hide();
  }
  event->accept();
}

void MainWindow::deviceFailed(const QString& reason) {
  shell_->showMessage(kDeviceFailure, "Posewright", reason.toStdString());
  close();
  QCoreApplication::exit(1);
}
