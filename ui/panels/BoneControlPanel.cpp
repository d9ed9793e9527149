#include "ui/panels/BoneControlPanel.h"

#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "editor/Application.h"
#include "history/ModelChange.h"
#include "ui/panels/DialogUnits.h"

namespace posewright {

namespace {
// The slider rows: y and height in dialog units; only X shows ticks.
struct SliderRow {
  int y;
  int height;
  const char* label;
  int labelY;
};
constexpr SliderRow kRows[3] = {{12, 27, "X :", 21}, {40, 15, "Y :", 44}, {63, 15, "Z :", 68}};
constexpr int kTickInterval = 90;
}  // namespace

BoneControlPanel::BoneControlPanel(QWidget* owner) : QDialog(owner, Qt::Tool) {
  setWindowTitle(QStringLiteral("Bone Control"));
  const DialogUnits units(font());
  setFixedSize(units.size(279, 85));

  for (int k = 0; k < 3; ++k) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QStringLiteral("slider%1").arg(QChar(u"XYZ"[k])));
    slider->setRange(kBoneSliderMinimum, kBoneSliderMaximum);
    slider->setValue(kBoneSliderCentre);
    slider->setTickInterval(kTickInterval);
    slider->setTickPosition(k == 0 ? QSlider::TicksBothSides : QSlider::NoTicks);
    PlaceInDialogUnits(slider, units, 16, kRows[k].y, 202, kRows[k].height);
    AddDialogLabel(this, units, kRows[k].label, 6, kRows[k].labelY, slider);
    connect(slider, &QSlider::valueChanged, this, [this, k](int value) { sliderMoved(k, value); });
    sliders_[static_cast<std::size_t>(k)] = slider;
  }
  AddDialogLabel(this, units, "-180", 16, 2);
  AddDialogLabel(this, units, "0", 116, 1);
  AddDialogLabel(this, units, "180", 205, 1);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  PlaceInDialogUnits(ok, units, 223, 7, 50, 14);
  connect(ok, &QPushButton::clicked, this, &BoneControlPanel::okPressed);

  auto* hideButton = new QPushButton(QStringLiteral("HIDE"), this);
  hideButton->setObjectName(QStringLiteral("hideButton"));
  PlaceInDialogUnits(hideButton, units, 223, 24, 50, 14);
  connect(hideButton, &QPushButton::clicked, this, &BoneControlPanel::hidePressed);

  auto* reset = new QPushButton(QStringLiteral("Reset"), this);
  reset->setObjectName(QStringLiteral("resetButton"));
  PlaceInDialogUnits(reset, units, 222, 45, 50, 14);
  connect(reset, &QPushButton::clicked, this, &BoneControlPanel::resetPressed);
}

BoneControlPanel::~BoneControlPanel() = default;

void BoneControlPanel::attach(Application* app) {
  app_ = app;
  behaviour_ = app != nullptr
                   ? std::make_unique<BoneControl>(app->sliderAngles, static_cast<BoneControlView&>(*this))
                   : nullptr;
}

void BoneControlPanel::recentre() {
  if (app_ != nullptr) {
    app_->history.endChain();
  }
  if (behaviour_) {
    behaviour_->selectionChanged();
    return;
  }
  for (int k = 0; k < 3; ++k) {
    setSliderPosition(k, kBoneSliderCentre);
  }
}

void BoneControlPanel::reject() {
  hidePressed();
}

void BoneControlPanel::setSliderPosition(int axis, int32_t position) {
  QSlider* s = slider(axis);
  const QSignalBlocker quiet(s);
  s->setValue(position);
}

void BoneControlPanel::hidePanel() {
  hide();
}

void BoneControlPanel::showAngles() {
  if (app_ != nullptr) {
    for (int k = 0; k < 3; ++k) {
      setSliderPosition(k, kBoneSliderCentre + app_->sliderAngles[static_cast<std::size_t>(k)]);
    }
  }
}

void BoneControlPanel::sliderMoved(int axis, int position) {
  if (behaviour_) {
    // Every move until OK, Reset or another bone is one step.
    ModelEdit edit(app_->history, app_->model, "Rotate Bone", kPoseAspect, &app_->sliderAngles);
    behaviour_->sliderMoved(app_->model.skeleton, app_->boneItems, app_->selectedBoneItem, axis, position);
    edit.commit(/*chain=*/true);
    emit edited();
  }
}

void BoneControlPanel::okPressed() {
  if (behaviour_) {
    app_->history.endChain();
    behaviour_->okPressed(app_->model.skeleton);
  }
}

void BoneControlPanel::hidePressed() {
  // Hiding edits nothing, so it needs neither a skeleton nor an Application:
  // the window can always be put away.
  if (behaviour_) {
    behaviour_->hidePressed();
  } else {
    hidePanel();
  }
}

void BoneControlPanel::resetPressed() {
  if (behaviour_) {
    ModelEdit edit(app_->history, app_->model, "Reset Bone", kPoseAspect, &app_->sliderAngles);
    behaviour_->resetPressed(app_->model.skeleton, app_->boneItems, app_->selectedBoneItem);
    edit.commit();
    emit edited();
  }
}
}  // namespace posewright
