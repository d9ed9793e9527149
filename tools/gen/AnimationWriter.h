// Animation keyframes text (*.anm): the bone count, then per keyframe its time
// and one rotation line per bone.
#pragma once

#include <string>

#include "tools/gen/GenAnimation.h"

/// The file text ("%.4f" rotations), with CR LF line ends.
std::string FormatAnimation(const GenAnimation& animation);
