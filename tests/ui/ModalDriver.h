// Answers real modal dialogs from a timer: every action in the queue is run
// on the next modal widget that opens, one widget per action.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

namespace posewright {

class ModalDriver : public QObject {
 public:
  using Action = std::function<void(QWidget*)>;

  ModalDriver() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }

  void then(Action action) { actions_.push_back(std::move(action)); }
  bool done() const { return actions_.empty(); }
  /// Class names of the widgets the actions ran on, in order.
  QStringList seen;

  /// Types path into a file dialog's name field and accepts it.
  static Action ChooseFile(const QString& path) {
    return [path](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      ASSERT_NE(dialog, nullptr) << "expected a file dialog, got " << w->metaObject()->className();
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      ASSERT_NE(name, nullptr);
      name->setText(path);
      QMetaObject::invokeMethod(dialog, "accept");
    };
  }
  static Action Reject() {
    return [](QWidget* w) {
      auto* dialog = qobject_cast<QDialog*>(w);
      ASSERT_NE(dialog, nullptr);
      dialog->reject();
    };
  }

 protected:
  // A dialog that is shown again (a reused one) counts as a new one.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide && watched == last_) {
      last_ = nullptr;
    }
    return false;
  }

 private:
  void poll() {
    QWidget* w = QApplication::activeModalWidget();
    if (w == nullptr || w == last_ || !w->isVisible() || actions_.empty()) {
      if (w == nullptr) last_ = nullptr;
      return;
    }
    last_ = w;
    w->installEventFilter(this);
    Action action = std::move(actions_.front());
    actions_.pop_front();
    seen << w->metaObject()->className();
    action(w);
  }

  QTimer timer_;
  std::deque<Action> actions_;
  QPointer<QWidget> last_;
};
}  // namespace posewright
