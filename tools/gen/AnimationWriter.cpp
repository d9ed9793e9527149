#include "tools/gen/AnimationWriter.h"

#include "fileio/TextWriter.h"

std::string FormatAnimation(const GenAnimation& animation) {
  TextWriter w;
  w.line("NumBones: %d", animation.boneCount);
  for (const GenKeyframe& key : animation.keys) {
    w.line("Time: %d", key.time);
    w.line("Quaternions: ");
    for (const D3DXQUATERNION& q : key.rotations) {
      w.line("%.4f %.4f %.4f %.4f", static_cast<double>(q.x), static_cast<double>(q.y), static_cast<double>(q.z),
             static_cast<double>(q.w));
    }
  }
  return w.take();
}
