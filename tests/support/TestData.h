// Location of the test data kept with the sources: public .x files written by
// other exporters (tests/data/x, with their origin and licence notes).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace posewright {

/// The test data folder: $POSEWRIGHT_TESTDATA when it names a folder, else
/// tests/data in the source tree.
inline std::string SharedTestDataDir() {
  namespace fs = std::filesystem;
  if (const char* env = std::getenv("POSEWRIGHT_TESTDATA"); env != nullptr && fs::is_directory(env)) {
    return env;
  }
  return (fs::path(POSEWRIGHT_SOURCE_DIR) / "tests" / "data").string();
}
}  // namespace posewright
