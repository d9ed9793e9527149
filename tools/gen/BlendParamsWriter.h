// Blending parameters text (*.prm): one line per bone after the root with the
// bone's index, its symmetric partner, R and H.
#pragma once

#include <string>

#include "skeleton/Skeleton.h"

/// The file text ("%d %d %.4f %.4f" lines), with CR LF line ends.
std::string FormatBlendingParameters(const Skeleton& skeleton);
