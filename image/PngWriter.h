// PNG encoding of 8-bit pictures, for pictures the program writes (rendered
// views, thumbnails).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fileio/Status.h"

/// The PNG file bytes of a width × height RGBA picture (top row first), stored
/// as RGB (alpha dropped) or RGBA. Empty when the size does not match the pixels.
std::string EncodePng(int width, int height, const std::vector<uint8_t>& rgba, bool keepAlpha = false);

/// EncodePng written to path atomically.
Status WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba,
                bool keepAlpha = false);
