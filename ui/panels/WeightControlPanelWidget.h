// The Weight Control panel: four slots of bone index box, vertical weight
// slider and weight edit, with Select, Choose, Apply and Hide. A thin widget
// over WeightControlPanel (the behaviour); it ignores input until an
// Application is attached.
#pragma once

#include <QDialog>
#include <array>

#include "editor/panels/WeightControlPanel.h"
#include "editor/panels/WeightControlView.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace posewright {

struct Application;

class WeightControlPanelWidget : public QDialog, private WeightControlView {
  Q_OBJECT

 public:
  /// A modeless tool window owned by owner, titled "Weight Control".
  explicit WeightControlPanelWidget(QWidget* owner);
  ~WeightControlPanelWidget() override;

  /// Connects the panel to app (null detaches it; a detached panel ignores input).
  void attach(Application* app);

  /// A skeleton was loaded: the first time, the boxes get the bone numbers and
  /// the panel is shown; later, the boxes are refilled only when the bone
  /// count changed. Sets the Application's weightPanelReady.
  void onSkeletonLoaded();
  /// The selection or the weights changed: the averages under the slots follow.
  void refreshAverages();

  QComboBox* boneIndexBox(int slot) const { return boxes_[static_cast<std::size_t>(slot)]; }
  QSlider* weightSlider(int slot) const { return sliders_[static_cast<std::size_t>(slot)]; }
  QLineEdit* weightEdit(int slot) const { return edits_[static_cast<std::size_t>(slot)]; }
  QLabel* averageLabel(int slot) const { return averages_[static_cast<std::size_t>(slot)]; }

 signals:
  /// The panel acted on the model or its selection (the viewport draws again).
  void edited();

 protected:
  /// Escape and the close box act as "Hide".
  void reject() override;

 private:
  void setSliderRange(int slot, int minimum, int maximum, int tickInterval) override;
  void fillBoneIndexBox(int slot, int itemCount) override;
  int boneIndexBoxSelection(int slot) const override;
  std::string weightText(int slot) const override;
  void setWeightText(int slot, const std::string& text) override;
  int sliderPosition(int slot) const override;
  void setSliderPosition(int slot, int position) override;
  void setAverageText(int slot, const std::string& text) override;
  void showMessage(std::string_view text, std::string_view caption) override;
  void showPanel() override;
  void hidePanel() override;

  // Runs action on the behaviour when an Application is attached, then
  // records whether the boxes have been filled.
  template <typename Action>
  void handle(Action action);

  Application* app_ = nullptr;
  WeightControlPanel behaviour_;
  std::array<QComboBox*, kWeightSlots> boxes_{};
  std::array<QSlider*, kWeightSlots> sliders_{};
  std::array<QLineEdit*, kWeightSlots> edits_{};
  std::array<QLabel*, kWeightSlots> averages_{};
};
}  // namespace posewright
