// The Keyframe panel: the Time field, Prev / Next / Play / Inverse / Add /
// Remove, the time slider with its 60-frame window, "-5" / "+5" and the three
// window labels, and the keyframe markers over the slider. A thin widget over
// KeyframePanel (the behaviour, in anim/); it ignores input until an
// Application is attached.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "editor/panels/KeyframePanel.h"
#include "editor/panels/KeyframePanelView.h"

class QLineEdit;
class QPushButton;

namespace posewright {

struct Application;
class KeyframeTimeSlider;

class KeyframePanelWidget : public QDialog, private KeyframePanelView {
  Q_OBJECT

 public:
  /// A modeless tool window owned by owner, titled "Keyframe", with the window
  /// 0 to 60 on its slider. Its height is fixed; its width may be set (the
  /// editor makes it as wide as the main window).
  explicit KeyframePanelWidget(QWidget* owner);
  ~KeyframePanelWidget() override;

  /// Connects the panel to app's animation state (null detaches it; a
  /// detached panel ignores input). Shows the state's window on the slider,
  /// moves the slider to the window's start and draws the markers.
  void attach(Application* app);

  /// The behaviour the animation commands work through (AddAnimationCommand
  /// and the others take it); null while detached.
  KeyframePanel* behaviour() { return behaviour_.get(); }

  /// Sets the panel's title ("Keyframe : " + the current animation's name).
  void setTitle(const std::string& title) override;
  /// Shows time in the Time field and moves the slider to it (kept inside the
  /// slider's window), as a playback frame does.
  void showTime(int32_t time);
  /// Redraws the markers from the current animation (none without one), after
  /// the animation list changed outside the panel.
  void refresh();

  KeyframeTimeSlider* timeSlider() const { return slider_; }

 signals:
  /// The panel acted: keyframes, playback, the pose or the time changed (the
  /// viewport draws again).
  void edited();

 protected:
  /// The panel has no Cancel: Escape does nothing.
  void reject() override {}
  void showEvent(QShowEvent* event) override;

 private:
  void setTimeText(const std::string& text) override;
  void setSliderRange(int32_t minimum, int32_t maximum) override;
  void setSliderPosition(int32_t position) override;
  void setWindowLabels(const std::string& start, const std::string& middle, const std::string& end) override;
  void showMarkers(const std::vector<KeyframeMarker>& markers) override;
  SliderChannel sliderChannel() const override;
  void showMessage(const std::string& text, const std::string& caption) override;
  bool askOkCancel(const std::string& text, const std::string& caption) override;

  // Runs action with the behaviour and the skeleton when attached.
  template <typename Action>
  void handle(Action action);
  // Runs action as one undoable change of the current animation's keyframes.
  template <typename Action>
  void recordKeys(const char* name, Action action);

  Application* app_ = nullptr;
  std::unique_ptr<KeyframePanel> behaviour_;
  QLineEdit* timeEdit_ = nullptr;
  KeyframeTimeSlider* slider_ = nullptr;
  QLineEdit* startLabel_ = nullptr;
  QLineEdit* middleLabel_ = nullptr;
  QLineEdit* endLabel_ = nullptr;
};
}  // namespace posewright
