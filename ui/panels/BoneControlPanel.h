// The Bone Control panel: three sliders that turn the selected bone about its
// own X, Y and Z axes, OK to re-centre them keeping the pose, HIDE, and Reset
// to return the bone to its rest pose. A thin widget over BoneControl; it acts
// on the Application's selected bone and slider angles and ignores input
// until an Application is attached (HIDE, Escape and the close box always
// hide it).
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "editor/panels/BoneControl.h"
#include "editor/panels/BoneControlView.h"

class QPushButton;
class QSlider;

namespace posewright {

struct Application;

class BoneControlPanel : public QDialog, private BoneControlView {
  Q_OBJECT

 public:
  /// A modeless tool window owned by owner, titled "Bone Control", hidden.
  explicit BoneControlPanel(QWidget* owner);
  ~BoneControlPanel() override;

  /// Connects the panel to app (null detaches it; a detached panel ignores input).
  void attach(Application* app);

  /// All three sliders back to the centre and the remembered slider angles to
  /// 0, so a newly selected bone starts from centred sliders.
  void recentre();
  /// The sliders show the remembered angles again (after an undo restored them).
  void showAngles();

  /// The slider for axis 0 (X), 1 (Y) or 2 (Z).
  QSlider* slider(int axis) const { return sliders_[static_cast<std::size_t>(axis)]; }

 signals:
  /// The panel turned a bone (the viewport draws again).
  void edited();

 protected:
  /// Escape and the close box act as HIDE.
  void reject() override;

 private:
  void setSliderPosition(int axis, int32_t position) override;
  void hidePanel() override;
  void sliderMoved(int axis, int position);
  void okPressed();
  void hidePressed();
  void resetPressed();

  Application* app_ = nullptr;
  std::unique_ptr<BoneControl> behaviour_;
  std::array<QSlider*, 3> sliders_{};
};
}  // namespace posewright
