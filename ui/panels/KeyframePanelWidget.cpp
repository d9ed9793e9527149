#include "ui/panels/KeyframePanelWidget.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "editor/Application.h"
#include "history/AnimationChange.h"
#include "history/ModelChange.h"
#include "ui/panels/DialogUnits.h"
#include "ui/panels/KeyframeTimeSlider.h"
#include "ui/panels/PanelMessageBox.h"

namespace posewright {

namespace {
constexpr int kTickInterval = 5;

QLineEdit* AddField(QWidget* parent, const DialogUnits& units, const char* name, int x, int y, int width) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  PlaceInDialogUnits(field, units, x, y, width, 14);
  return field;
}

QPushButton* AddButton(QWidget* parent, const DialogUnits& units, const char* text, const char* name, int x,
                       int y, int width) {
  auto* button = new QPushButton(QString::fromLatin1(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  PlaceInDialogUnits(button, units, x, y, width, 14);
  return button;
}

void SetText(QLineEdit* field, const std::string& text) {
  field->setText(QString::fromStdString(text));
}
}  // namespace

KeyframePanelWidget::KeyframePanelWidget(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(QStringLiteral("Keyframe"));
  const DialogUnits units(font());
  // Fixed height; the editor may widen or narrow the panel to its main window's width.
  const QSize size = units.size(470, 75);
  setFixedHeight(size.height());
  resize(size);

  timeEdit_ = AddField(this, units, "timeEdit", 25, 7, 40);
  AddDialogLabel(this, units, "Time :", 5, 9, timeEdit_);
  auto* prev = AddButton(this, units, "Prev", "prevButton", 69, 7, 30);
  auto* next = AddButton(this, units, "Next", "nextButton", 103, 7, 33);
  auto* play = AddButton(this, units, "Play", "playButton", 203, 7, 50);
  auto* inverse = AddButton(this, units, "Inverse", "inverseButton", 265, 7, 50);
  auto* add = AddButton(this, units, "Add", "addButton", 372, 7, 36);
  auto* remove = AddButton(this, units, "Remove", "removeButton", 414, 7, 38);

  slider_ = new KeyframeTimeSlider(this);
  slider_->setObjectName(QStringLiteral("timeSlider"));
  slider_->setTickPosition(QSlider::TicksBelow);
  slider_->setTickInterval(kTickInterval);
  slider_->setRange(0, kTimelineWindow);
  PlaceInDialogUnits(slider_, units, 4, 31, 450, 22);

  startLabel_ = AddField(this, units, "windowStartField", 11, 57, 15);
  auto* back = AddButton(this, units, "-5", "windowBackButton", 29, 57, 14);
  middleLabel_ = AddField(this, units, "windowMiddleField", 222, 57, 15);
  auto* forward = AddButton(this, units, "+5", "windowForwardButton", 416, 57, 14);
  endLabel_ = AddField(this, units, "windowEndField", 433, 57, 15);
  setWindowLabels("0", std::to_string(kTimelineWindow / 2), std::to_string(kTimelineWindow));

  connect(slider_, &QSlider::valueChanged, this, [this](int value) {
    handle([value](KeyframePanel& panel, Skeleton&) { panel.sliderMoved(value); });
  });
  connect(prev, &QPushButton::clicked, this, [this] {
    handle([](KeyframePanel& panel, Skeleton& skeleton) { panel.previousPressed(skeleton); });
  });
  connect(next, &QPushButton::clicked, this,
          [this] { handle([](KeyframePanel& panel, Skeleton& skeleton) { panel.nextPressed(skeleton); }); });
  connect(play, &QPushButton::clicked, this,
          [this] { handle([](KeyframePanel& panel, Skeleton&) { panel.playPressed(); }); });
  connect(inverse, &QPushButton::clicked, this, [this] {
    handle([this](KeyframePanel& panel, Skeleton& skeleton) {
      ModelEdit edit(app_->history, app_->model, "Inverse", kPoseAspect);
      panel.inversePressed(skeleton);
      edit.commit();
    });
  });
  connect(add, &QPushButton::clicked, this, [this] {
    handle([this](KeyframePanel& panel, Skeleton& skeleton) {
      recordKeys("Add Keyframe", [&] { panel.addPressed(skeleton); });
    });
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    handle([this](KeyframePanel& panel, Skeleton& skeleton) {
      recordKeys("Remove Keyframe", [&] { panel.removePressed(skeleton); });
    });
  });
  connect(back, &QPushButton::clicked, this,
          [this] { handle([](KeyframePanel& panel, Skeleton&) { panel.windowBackPressed(); }); });
  connect(forward, &QPushButton::clicked, this,
          [this] { handle([](KeyframePanel& panel, Skeleton&) { panel.windowForwardPressed(); }); });
}

KeyframePanelWidget::~KeyframePanelWidget() = default;

void KeyframePanelWidget::attach(Application* app) {
  app_ = app;
  behaviour_.reset();
  if (app_ == nullptr) {
    return;
  }
  behaviour_ = std::make_unique<KeyframePanel>(app_->animation, static_cast<KeyframePanelView&>(*this));
  behaviour_->initialize();
  app_->keyframePanelReady = true;
}

template <typename Action>
void KeyframePanelWidget::handle(Action action) {
  if (behaviour_) {
    action(*behaviour_, app_->model.skeleton);
    emit edited();
  }
}

template <typename Action>
void KeyframePanelWidget::recordKeys(const char* name, Action action) {
  Animation* animation = app_->animation.animations.current();
  if (animation == nullptr) {
    action();
    return;
  }
  AnimationKeysEdit edit(app_->history, *animation, name);
  action();
  edit.commit();
}

void KeyframePanelWidget::setTitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
  update();
}

void KeyframePanelWidget::showTime(int32_t time) {
  setTimeText(std::to_string(time));
  if (behaviour_) {
    behaviour_->sliderMoved(time);
    setSliderPosition(behaviour_->sliderPosition());
  } else {
    setSliderPosition(time);
  }
}

void KeyframePanelWidget::refresh() {
  if (behaviour_) {
    behaviour_->refreshMarkers();
  }
}

void KeyframePanelWidget::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  refresh();
}

void KeyframePanelWidget::setTimeText(const std::string& text) {
  SetText(timeEdit_, text);
}

void KeyframePanelWidget::setSliderRange(int32_t minimum, int32_t maximum) {
  const QSignalBlocker quiet(slider_);
  slider_->setRange(minimum, maximum);
}

void KeyframePanelWidget::setSliderPosition(int32_t position) {
  const QSignalBlocker quiet(slider_);
  slider_->setValue(position);
}

void KeyframePanelWidget::setWindowLabels(const std::string& start, const std::string& middle,
                                          const std::string& end) {
  SetText(startLabel_, start);
  SetText(middleLabel_, middle);
  SetText(endLabel_, end);
}

void KeyframePanelWidget::showMarkers(const std::vector<KeyframeMarker>& markers) {
  slider_->setMarkers(markers);
}

SliderChannel KeyframePanelWidget::sliderChannel() const {
  return slider_->channel();
}

void KeyframePanelWidget::showMessage(const std::string& text, const std::string& caption) {
  ShowPanelMessage(this, text, caption);
}

bool KeyframePanelWidget::askOkCancel(const std::string& text, const std::string& caption) {
  return AskPanelOkCancel(this, text, caption);
}
}  // namespace posewright
