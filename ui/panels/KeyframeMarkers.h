// The two keyframe marker bitmaps, drawn from code: an 11 × 21 pixel raised
// tab with a light edge on the top and left, a black edge on the right and
// bottom, and a coloured face. Blue with a grey edge marks every keyframe, red
// with a light grey edge the current one.
#pragma once

#include <QImage>

namespace posewright {

/// Width and height of a marker in pixels.
inline constexpr int kKeyframeMarkerWidth = 11;
inline constexpr int kKeyframeMarkerHeight = 21;

/// The marker of the current keyframe: edge (192, 192, 192), face (255, 0, 0).
const QImage& CurrentKeyframeMarkerImage();
/// The marker of every keyframe: edge (128, 128, 128), face (0, 0, 255).
const QImage& KeyframeMarkerImage();
}  // namespace posewright
