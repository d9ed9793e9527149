// Inflates the body of a compressed .x file ("tzip" or "bzip").
//
// After the 16-byte header the file holds a 32-bit total size (the size of the
// uncompressed file, header included) and then blocks, each
//   [uint16 uncompressed size <= 32768][uint16 compressed size, "CK" included]
//   ["CK"][raw deflate data].
// Every block is inflated on its own with the previous block's output as the
// preset dictionary.
#pragma once

#include <string>
#include <string_view>

#include "fileio/Status.h"

namespace posewright {

/// Largest uncompressed body accepted (a guard against decompression bombs).
inline constexpr std::size_t kMaxInflatedXFileSize = std::size_t{1} << 30;

/// Inflates file[16..] into body (the uncompressed file without its header).
/// Fails, naming fileName and the byte offset of the bad block, when a block
/// header is cut short or lacks "CK", a block does not inflate to its stated
/// size, or the total differs from the stated total size.
Status InflateXFileBody(std::string_view file, const std::string& fileName, std::string& body);
}  // namespace posewright
