// Fuzz target for the animation keyframe reader: any bytes must read without
// crashing, and whatever was read must write and read back to the same text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "anim/AnimationFile.h"
#include "fileio/KeyedLineReader.h"

namespace posewright {

namespace {

bool AllFinite(const Animation& a) {
  for (const Keyframe& k : a.keys()) {
    for (const D3DXQUATERNION& q : k.rotations) {
      if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z) || !std::isfinite(q.w))
        return false;
    }
  }
  return true;
}

void ReadWithBoneCount(std::string_view text, int32_t boneCount) {
  Animation a;
  a.boneCount = boneCount;
  // Any input may be refused; the keyframes read before the stop are checked below.
  static_cast<void>(ReadAnimationText(a, text, "fuzz.anm"));
  if (!AllFinite(a)) {
    return;
  }
  const std::string written = FormatAnimationFile(a);
  Animation b;
  b.boneCount = boneCount;
  if (!ReadAnimationText(b, written, "again.anm") || FormatAnimationFile(b) != written) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ReadWithBoneCount(text, 2);
  // Also with the count the header states, so the blocks get explored.
  KeyedLineReader reader(text);
  KeyedLine header;
  if (reader.next(header)) {
    const int32_t stated = header.intAt(1);
    if (stated >= 0 && stated <= 64 && stated != 2) {
      ReadWithBoneCount(text, stated);
    }
  }
  return 0;
}
}  // namespace posewright
