// Reading the ring marker, a text .x mesh compiled into the program, with the
// editor's own .x reader.
#pragma once

#include <string_view>

#include "fileio/Status.h"
#include "render/RenderResources.h"

namespace posewright {

/// Builds the ring from the .x text (faces sorted by material, materials with
/// Ambient = Diffuse, texture names ignored). On failure out is unchanged.
Status LoadRingGizmo(std::string_view xText, RingGizmo& out);
}  // namespace posewright
