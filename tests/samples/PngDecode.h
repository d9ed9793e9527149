// Decodes PNG bytes to RGBA through libpng's simplified reader, for tests.
#pragma once

#include <optional>
#include <string>

#include "image/TextureImage.h"

std::optional<TextureImage> DecodePng(const std::string& bytes);
