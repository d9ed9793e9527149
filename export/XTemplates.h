// The template declarations at the head of every exported .x file: the 23
// templates a skinned mesh with frames and matrix animation keys uses.
#pragma once

#include <string_view>

namespace posewright {

/// The first line of an exported file: text format 3.3, 32-bit floats, with CR LF.
inline constexpr std::string_view kXFileHeaderLine = "xof 0303txt 0032\r\n";

/// The template block: each template as "template NAME {", a tab and its
/// GUID, a tab and each member, "}" (lines ending in CR LF, no blank lines in
/// between), followed by one empty line.
std::string_view XTemplateBlock();
}  // namespace posewright
