// Creating the output folder of a generator.
#pragma once

#include <string>

#include "fileio/Status.h"

namespace posewright {

/// Creates folder and its parents when missing; an error names the folder.
Status MakeFolder(const std::string& folder);
}  // namespace posewright
