#include "tools/gen/LineEnd.h"

namespace posewright {

std::string WithLineEnds(std::string text, LineEnd style) {
  if (style == LineEnd::CrLf) {
    return text;
  }
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      continue;
    }
    out += text[i];
  }
  return out;
}
}  // namespace posewright
