// Text resources compiled into the program: the GLSL programs
// ("skinning.vert", "skinning.frag", "pretransformed.vert", "color.frag") and
// the ring marker mesh ("ring.x").
#pragma once

#include <string_view>

namespace posewright {

/// The text of the named resource; empty when there is none by that name.
std::string_view FindResourceText(std::string_view name);
}  // namespace posewright
