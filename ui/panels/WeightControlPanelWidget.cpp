#include "ui/panels/WeightControlPanelWidget.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "editor/Application.h"
#include "history/ModelChange.h"
#include "ui/panels/DialogUnits.h"
#include "ui/panels/PanelMessageBox.h"

namespace posewright {

namespace {
// Layout in dialog units: slot k's column starts at kColumnX + k × kColumnStep.
constexpr int kColumnX = 26;
constexpr int kColumnStep = 38;
constexpr int kColumnWidth = 34;

QPushButton* AddButton(QWidget* parent, const DialogUnits& units, const char* text, const char* name,
                       int column) {
  auto* button = new QPushButton(QString::fromLatin1(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  PlaceInDialogUnits(button, units, kColumnX + column * kColumnStep, 136, kColumnWidth, 14);
  return button;
}
}  // namespace

WeightControlPanelWidget::WeightControlPanelWidget(QWidget* owner)
    : QDialog(owner, Qt::Tool), behaviour_(*this) {
  setWindowTitle(QStringLiteral("Weight Control"));
  const DialogUnits units(font());
  setFixedSize(units.size(180, 158));

  for (int k = 0; k < kWeightSlots; ++k) {
    const auto slot = static_cast<std::size_t>(k);
    const int x = kColumnX + k * kColumnStep;
    auto* box = new QComboBox(this);
    box->setObjectName(QStringLiteral("boneIndexBox%1").arg(k));
    PlaceInDialogUnits(box, units, x, 7, kColumnWidth, 13);
    boxes_[slot] = box;

    // Weight 0.0 at the top, 1.0 at the bottom; Up moves the thumb up.
    auto* slider = new QSlider(Qt::Vertical, this);
    slider->setObjectName(QStringLiteral("weightSlider%1").arg(k));
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setTickPosition(QSlider::TicksRight);
    PlaceInDialogUnits(slider, units, x + 8, 24, 18, 88);
    connect(slider, &QSlider::valueChanged, this,
            [this, k] { handle([this, k](SkinnedModel& model) { behaviour_.onSliderMoved(model, k); }); });
    sliders_[slot] = slider;

    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("weightEdit%1").arg(k));
    PlaceInDialogUnits(edit, units, x, 116, kColumnWidth, 12);
    edits_[slot] = edit;

    // The selection's average weight of the box's bone, between the edit and the buttons.
    auto* average = new QLabel(this);
    average->setObjectName(QStringLiteral("averageLabel%1").arg(k));
    average->setAlignment(Qt::AlignCenter);
    PlaceInDialogUnits(average, units, x, 128, kColumnWidth, 8);
    averages_[slot] = average;
    connect(box, &QComboBox::currentIndexChanged, this, &WeightControlPanelWidget::refreshAverages);
  }
  AddDialogLabel(this, units, "0.0", 8, 26, sliders_[0]);
  AddDialogLabel(this, units, "1.0", 8, 104, sliders_[0]);

  auto* select = AddButton(this, units, "Select", "selectButton", 0);
  auto* choose = AddButton(this, units, "Choose", "chooseButton", 1);
  auto* apply = AddButton(this, units, "Apply", "applyButton", 2);
  auto* hideButton = AddButton(this, units, "Hide", "hideButton", 3);
  apply->setDefault(true);
  connect(select, &QPushButton::clicked, this,
          [this] { handle([this](SkinnedModel& model) { behaviour_.onSelect(model); }); });
  connect(choose, &QPushButton::clicked, this,
          [this] { handle([this](SkinnedModel& model) { behaviour_.onChoose(model); }); });
  connect(apply, &QPushButton::clicked, this, [this] {
    handle([this](SkinnedModel& model) {
      ModelEdit edit(app_->history, model, "Apply Weights", kWeightsAspect);
      behaviour_.onApply(model);
      edit.commit();
    });
  });
  connect(hideButton, &QPushButton::clicked, this, &WeightControlPanelWidget::reject);

  behaviour_.onCreated();
}

WeightControlPanelWidget::~WeightControlPanelWidget() = default;

void WeightControlPanelWidget::attach(Application* app) {
  app_ = app;
}

void WeightControlPanelWidget::onSkeletonLoaded() {
  handle([this](SkinnedModel& model) { behaviour_.prepare(model); });
}

void WeightControlPanelWidget::refreshAverages() {
  if (app_ != nullptr) {
    behaviour_.showAverages(app_->model);
  }
}

void WeightControlPanelWidget::reject() {
  if (app_ != nullptr) {
    behaviour_.onHide();
  }
}

template <typename Action>
void WeightControlPanelWidget::handle(Action action) {
  if (app_ == nullptr) {
    return;
  }
  action(app_->model);
  app_->weightPanelReady = behaviour_.ready();
  behaviour_.showAverages(app_->model);
  emit edited();
}

void WeightControlPanelWidget::setSliderRange(int slot, int minimum, int maximum, int tickInterval) {
  QSlider* slider = weightSlider(slot);
  const QSignalBlocker quiet(slider);
  slider->setRange(minimum, maximum);
  slider->setTickInterval(tickInterval);
}

void WeightControlPanelWidget::fillBoneIndexBox(int slot, int itemCount) {
  QComboBox* box = boneIndexBox(slot);
  QStringList items;
  items.reserve(itemCount);
  for (int i = 0; i < itemCount; ++i) {
    items.append(QString::number(i));
  }
  box->clear();
  box->addItems(items);
  box->setCurrentIndex(itemCount > 0 ? 0 : -1);
}

int WeightControlPanelWidget::boneIndexBoxSelection(int slot) const {
  return boneIndexBox(slot)->currentIndex();
}

std::string WeightControlPanelWidget::weightText(int slot) const {
  return weightEdit(slot)->text().toStdString();
}

void WeightControlPanelWidget::setWeightText(int slot, const std::string& text) {
  weightEdit(slot)->setText(QString::fromStdString(text));
}

int WeightControlPanelWidget::sliderPosition(int slot) const {
  return weightSlider(slot)->value();
}

void WeightControlPanelWidget::setSliderPosition(int slot, int position) {
  QSlider* slider = weightSlider(slot);
  const QSignalBlocker quiet(slider);
  slider->setValue(position);
}

void WeightControlPanelWidget::setAverageText(int slot, const std::string& text) {
  averageLabel(slot)->setText(QString::fromStdString(text));
}

void WeightControlPanelWidget::showMessage(std::string_view text, std::string_view caption) {
  ShowPanelMessage(this, text, caption);
}

void WeightControlPanelWidget::showPanel() {
  show();
}
void WeightControlPanelWidget::hidePanel() {
  hide();
}
}  // namespace posewright
