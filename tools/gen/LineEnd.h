// Line-end style of the generated text files: CR LF as the editor writes, or
// bare LF as a file edited elsewhere may have.
#pragma once

#include <string>

namespace posewright {

enum class LineEnd { CrLf, Lf };

/// text (built with CR LF line ends) with every CR LF turned into LF when
/// style is Lf; unchanged otherwise.
std::string WithLineEnds(std::string text, LineEnd style);
}  // namespace posewright
