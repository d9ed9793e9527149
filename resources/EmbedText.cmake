# Writes OUTPUT, a C++ source defining FindResourceText() over the text files
# named in INPUTS (a comma-separated list of paths), each as a raw string literal.
set(body "")
string(REPLACE "," ";" inputs "${INPUTS}")
foreach(path IN LISTS inputs)
  get_filename_component(name "${path}" NAME)
  file(READ "${path}" text)
  string(FIND "${text}" ")pwtext\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${path} contains the raw-string delimiter")
  endif()
  string(APPEND body "    {\"${name}\", R\"pwtext(${text})pwtext\"},\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/ by EmbedText.cmake; do not edit.
#include \"resources/EmbeddedResources.h\"

#include <array>
#include <utility>

namespace posewright {

std::string_view FindResourceText(std::string_view name) {
  static const std::pair<std::string_view, std::string_view> kTexts[] = {
${body}  };
  for (const auto& [key, text] : kTexts) {
    if (key == name) {
      return text;
    }
  }
  return {};
}
}  // namespace posewright
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
