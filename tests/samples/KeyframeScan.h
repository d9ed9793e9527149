// Reads keyframe text (the bone count header and Time/Quaternions blocks)
// with the project's keyed-line tokenizer, for tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/gen/GenAnimation.h"

/// Nothing, with the reason in *error, unless every block is complete.
std::optional<GenAnimation> ScanKeyframes(std::string_view text, std::string* error);
