#include "importer/Quantize.h"

#include "fileio/CNumbers.h"

namespace posewright {

namespace {
float RoundTrip(const char* format, float v) {
  char text[64];
  // The "C" form, as the bone data writer prints it, whatever the locale.
  FormatC(text, sizeof text, format, static_cast<double>(v));
  const auto r = static_cast<float>(ParseCDouble(text));
  return r == 0.0f ? 0.0f : r;
}
}  // namespace

float Quantize6(float v) {
  return RoundTrip("%.6f", v);
}

float Quantize4(float v) {
  return RoundTrip("%.4f", v);
}

D3DXVECTOR3 Quantize6(const D3DXVECTOR3& v) {
  return {Quantize6(v.x), Quantize6(v.y), Quantize6(v.z)};
}

D3DXQUATERNION Quantize4(const D3DXQUATERNION& q) {
  return {Quantize4(q.x), Quantize4(q.y), Quantize4(q.z), Quantize4(q.w)};
}

D3DXQUATERNION Quantize6(const D3DXQUATERNION& q) {
  return {Quantize6(q.x), Quantize6(q.y), Quantize6(q.z), Quantize6(q.w)};
}
}  // namespace posewright
