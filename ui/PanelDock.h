// A tool panel docked around the viewport: the dock holds the panel at its
// own size (top left, or across the dock's width for a panel that widens),
// shows the panel's title, and the two are shown and hidden together — the
// panel's own show() and hide() (Weight Control's Hide, Bone Control's HIDE,
// Edit > Weight and Rotate) open and close the dock, and closing or floating
// the dock keeps the panel's state.
#pragma once

#include <QDockWidget>

namespace posewright {

class PanelDock final : public QDockWidget {
  Q_OBJECT

 public:
  /// Takes panel (a panel widget, no longer a window of its own) into a new
  /// dock owned by owner; hidden until the panel is shown.
  PanelDock(const QString& objectName, QWidget* panel, bool widens, QWidget* owner);

  QWidget* panel() const { return panel_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows or hides the other one of the pair without hearing back from it.
  void follow(QWidget* other, bool visible);

  QWidget* panel_;
  bool following_ = false;
};
}  // namespace posewright
