#include "ui/PanelDock.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace posewright {

namespace {
// The panels' edits keep their own undo of typed text, but Ctrl+Z and the
// redo keys belong to the editor's history: a weight typed and applied with
// Enter is undone with Ctrl+Z while the edit still has the focus.
class HistoryKeysToWindow final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
          key->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z) ||
          key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
        key->ignore();  // not the edit's: the window's shortcut takes it
        return true;
      }
    }
    return false;
  }
};
}  // namespace

PanelDock::PanelDock(const QString& objectName, QWidget* panel, bool widens, QWidget* owner)
    : QDockWidget(panel->windowTitle(), owner), panel_(panel) {
  setObjectName(objectName);
  auto* holder = new QWidget(this);
  auto* layout = new QVBoxLayout(holder);
  layout->setContentsMargins(0, 0, 0, 0);
  const QSize size = panel->size();
  panel->setParent(holder);  // a child now, no window of its own
  if (widens) {
    panel->setMinimumWidth(size.width());
    layout->addWidget(panel, 0, Qt::AlignTop);
  } else {
    layout->addWidget(panel, 0, Qt::AlignLeft | Qt::AlignTop);
  }
  layout->addStretch(1);
  setWidget(holder);
  connect(panel, &QWidget::windowTitleChanged, this, &QDockWidget::setWindowTitle);
  auto* keys = new HistoryKeysToWindow(this);
  for (QLineEdit* edit : panel->findChildren<QLineEdit*>()) {
    edit->installEventFilter(keys);
  }
  panel->installEventFilter(this);
  follow(panel, false);
  follow(this, false);
}

void PanelDock::follow(QWidget* other, bool visible) {
  following_ = true;
  other->setVisible(visible);
  following_ = false;
}

bool PanelDock::event(QEvent* event) {
  // The dock was closed (its close box, View > Panels) or opened.
  if (!following_ && (event->type() == QEvent::HideToParent || event->type() == QEvent::ShowToParent)) {
    follow(panel_, event->type() == QEvent::ShowToParent);
  }
  return QDockWidget::event(event);
}

bool PanelDock::eventFilter(QObject* watched, QEvent* event) {
  // The panel showed or hid itself.
  if (watched == panel_ && !following_ &&
      (event->type() == QEvent::HideToParent || event->type() == QEvent::ShowToParent)) {
    follow(this, event->type() == QEvent::ShowToParent);
  }
  return QDockWidget::eventFilter(watched, event);
}
}  // namespace posewright
