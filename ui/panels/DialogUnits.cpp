#include "ui/panels/DialogUnits.h"

#include <QFontMetrics>
#include <QLabel>
#include <QString>
#include <algorithm>

namespace posewright {

namespace {
// units × base / divisor, rounded half away from zero.
int Scale(int units, int base, int divisor) {
  const long long product = static_cast<long long>(units) * base;
  const long long half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}
}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int letters =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  baseWidth_ = std::max(1, (letters / 26 + 1) / 2);
  baseHeight_ = std::max(1, metrics.height());
}

DialogUnits::DialogUnits(int baseWidth, int baseHeight)
    : baseWidth_(std::max(1, baseWidth)), baseHeight_(std::max(1, baseHeight)) {}

int DialogUnits::x(int units) const {
  return Scale(units, baseWidth_, 4);
}
int DialogUnits::y(int units) const {
  return Scale(units, baseHeight_, 8);
}
QPoint DialogUnits::point(int x, int y) const {
  return {this->x(x), this->y(y)};
}
QSize DialogUnits::size(int width, int height) const {
  return {x(width), y(height)};
}
QRect DialogUnits::rect(int x, int y, int width, int height) const {
  return {this->x(x), this->y(y), this->x(width), this->y(height)};
}

void PlaceInDialogUnits(QWidget* widget, const DialogUnits& units, int x, int y, int width, int height) {
  widget->setGeometry(units.rect(x, y, width, height));
}

QLabel* AddDialogLabel(QWidget* parent, const DialogUnits& units, const char* text, int x, int y,
                       const QWidget* next) {
  // Room kept between the label and the control it names, in pixels.
  constexpr int kGap = 2;
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  const QSize size = label->sizeHint();
  QPoint at = units.point(x, y);
  if (next != nullptr && at.x() + size.width() + kGap > next->x()) {
    at.setX(std::max(0, next->x() - kGap - size.width()));
  }
  label->setGeometry(QRect(at, size));
  return label;
}
}  // namespace posewright
