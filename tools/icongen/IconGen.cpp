// Writes the application icon: a bent chain of two bones on a rounded square,
// orange joints at their ends and a rotation ring around the middle joint. The
// same figure is written as SVG (for scalable icon themes) and drawn with
// QPainter into PNGs of the usual icon sizes (for themes without SVG support
// and for the window icon, which Qt cannot read from SVG without its SVG module).
//
// Usage: posewright-icongen OUTPUT_FOLDER
// Writes posewright.svg and posewright-N.png for every N in kPngSizes.
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "fileio/FileBytes.h"

namespace posewright {

namespace {

constexpr double kCanvas = 256.0;
constexpr std::array<int, 6> kPngSizes = {16, 32, 48, 64, 128, 256};

// The figure, in a 256 × 256 canvas.
constexpr double kTileInset = 12.0;
constexpr double kTileRadius = 44.0;
const char* const kTileTop = "#2E5A84";
const char* const kTileBottom = "#1E3C5A";
const char* const kOutline = "#0F2236";
constexpr double kOutlineWidth = 4.0;
const char* const kBoneFill = "#F2EBDA";
const char* const kJointFill = "#F5A623";
const char* const kRingColour = "#6FD0F5";
constexpr double kRingRadius = 42.0;
constexpr double kRingWidth = 6.0;

struct Joint {
  QPointF centre;
  double radius;
};
const std::array<Joint, 3> kJoints = {{{{68, 194}, 19}, {{118, 116}, 17}, {{198, 78}, 15}}};
// Half the widest cross-section of each bone, and where along it the widest part lies.
const std::array<double, 2> kBoneHalfWidths = {21, 18};
constexpr double kWidestAt = 0.22;

// The four corners of the bone from joint a to joint b: a diamond, widest
// near its base, like the bone figure in the viewport.
std::array<QPointF, 4> BoneCorners(QPointF a, QPointF b, double halfWidth) {
  const QPointF d = b - a;
  const double length = std::hypot(d.x(), d.y());
  const QPointF normal(-d.y() / length * halfWidth, d.x() / length * halfWidth);
  const QPointF widest = a + d * kWidestAt;
  return {a, widest + normal, b, widest - normal};
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

std::string Svg() {
  std::string s;
  const std::string size = Number(kCanvas - 2 * kTileInset);
  s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
  s += "  <defs>\n    <linearGradient id=\"tile\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n";
  s += std::string("      <stop offset=\"0\" stop-color=\"") + kTileTop + "\"/>\n";
  s += std::string("      <stop offset=\"1\" stop-color=\"") + kTileBottom + "\"/>\n";
  s += "    </linearGradient>\n  </defs>\n";
  s += "  <rect x=\"" + Number(kTileInset) + "\" y=\"" + Number(kTileInset) + "\" width=\"" + size +
       "\" height=\"" + size + "\" rx=\"" + Number(kTileRadius) + "\" fill=\"url(#tile)\"/>\n";
  s += "  <circle cx=\"" + Number(kJoints[1].centre.x()) + "\" cy=\"" + Number(kJoints[1].centre.y()) +
       "\" r=\"" + Number(kRingRadius) + "\" fill=\"none\" stroke=\"" + kRingColour + "\" stroke-width=\"" +
       Number(kRingWidth) + "\"/>\n";
  for (std::size_t i = 0; i < kBoneHalfWidths.size(); ++i) {
    const auto c = BoneCorners(kJoints[i].centre, kJoints[i + 1].centre, kBoneHalfWidths[i]);
    s += "  <path d=\"M";
    for (std::size_t k = 0; k < c.size(); ++k) {
      s += (k == 0 ? "" : " L") + Number(c[k].x()) + " " + Number(c[k].y());
    }
    s += std::string(" Z\" fill=\"") + kBoneFill + "\" stroke=\"" + kOutline + "\" stroke-width=\"" +
         Number(kOutlineWidth) + "\" stroke-linejoin=\"round\"/>\n";
  }
  for (const Joint& j : kJoints) {
    s += "  <circle cx=\"" + Number(j.centre.x()) + "\" cy=\"" + Number(j.centre.y()) + "\" r=\"" +
         Number(j.radius) + "\" fill=\"" + kJointFill + "\" stroke=\"" + kOutline + "\" stroke-width=\"" +
         Number(kOutlineWidth) + "\"/>\n";
  }
  s += "</svg>\n";
  return s;
}

QImage Png(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kCanvas, size / kCanvas);

  QLinearGradient tile(0, kTileInset, 0, kCanvas - kTileInset);
  tile.setColorAt(0, QColor(kTileTop));
  tile.setColorAt(1, QColor(kTileBottom));
  p.setPen(Qt::NoPen);
  p.setBrush(tile);
  const double side = kCanvas - 2 * kTileInset;
  p.drawRoundedRect(QRectF(kTileInset, kTileInset, side, side), kTileRadius, kTileRadius);

  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(kRingColour), kRingWidth));
  p.drawEllipse(kJoints[1].centre, kRingRadius, kRingRadius);

  QPen outline(QColor(kOutline), kOutlineWidth);
  outline.setJoinStyle(Qt::RoundJoin);
  p.setPen(outline);
  p.setBrush(QColor(kBoneFill));
  for (std::size_t i = 0; i < kBoneHalfWidths.size(); ++i) {
    const auto c = BoneCorners(kJoints[i].centre, kJoints[i + 1].centre, kBoneHalfWidths[i]);
    p.drawPolygon(c.data(), static_cast<int>(c.size()));
  }
  p.setBrush(QColor(kJointFill));
  for (const Joint& j : kJoints) {
    p.drawEllipse(j.centre, j.radius, j.radius);
  }
  return image;
}

}  // namespace

}  // namespace posewright

int main(int argc, char** argv) {
  using namespace posewright;
  if (argc != 2) {
    std::fprintf(stderr, "usage: posewright-icongen OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const Status svg = WriteFileAtomically(folder + "/posewright.svg", Svg());
  if (!svg.ok) {
    std::fprintf(stderr, "posewright-icongen: %s %s\n", svg.message.c_str(), svg.detail.c_str());
    return 1;
  }
  for (int size : kPngSizes) {
    const QString path = QString::fromStdString(folder + "/posewright-" + std::to_string(size) + ".png");
    if (!Png(size).save(path, "PNG")) {
      std::fprintf(stderr, "posewright-icongen: cannot write %s\n", path.toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
