// Dialog units: the panels' layouts are given in units of the dialog font, a
// quarter of its average character width across and an eighth of its height
// down, so the panels keep their proportions at any font size.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QLabel;
class QWidget;

namespace posewright {

class DialogUnits {
 public:
  /// Units of font: the base width is the average advance of the 52 Latin
  /// letters (rounded), the base height the font's line height.
  explicit DialogUnits(const QFont& font);
  /// Units of a font whose base width and height (pixels) are known.
  DialogUnits(int baseWidth, int baseHeight);

  /// Pixels for a horizontal / vertical distance in dialog units (rounded).
  int x(int units) const;
  int y(int units) const;
  QPoint point(int x, int y) const;
  QSize size(int width, int height) const;
  QRect rect(int x, int y, int width, int height) const;

  int baseWidth() const { return baseWidth_; }
  int baseHeight() const { return baseHeight_; }

 private:
  int baseWidth_ = 1;
  int baseHeight_ = 1;
};

/// Places widget at the rectangle given in dialog units of its parent's layout.
void PlaceInDialogUnits(QWidget* widget, const DialogUnits& units, int x, int y, int width, int height);

/// A static label child of parent with its top-left corner at (x, y) in dialog
/// units, sized to its text. When the text is too wide for the room before
/// next (the control the label names), the label moves left so that it ends
/// just before next, but not past the parent's left edge.
QLabel* AddDialogLabel(QWidget* parent, const DialogUnits& units, const char* text, int x, int y,
                       const QWidget* next = nullptr);
}  // namespace posewright
