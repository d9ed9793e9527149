// The ring marker drawn at the selected bone, read from the mesh compiled
// into the program.
#pragma once

#include <string>

#include "render/RenderResources.h"

/// Reads the embedded ring mesh into ring; false, with the reason in why,
/// when it cannot be read (a broken build).
bool LoadRingMarker(RingGizmo& ring, std::string* why);
