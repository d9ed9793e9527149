// Location of the shared test data (public .x files and others).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

/// The shared testdata folder: $POSEWRIGHT_TESTDATA when it exists, else the
/// "shared/testdata" folder beside the source tree or beside the folder that
/// holds it (a git worktree one level deeper).
inline std::string SharedTestDataDir() {
  namespace fs = std::filesystem;
  if (const char* env = std::getenv("POSEWRIGHT_TESTDATA"); env != nullptr && fs::is_directory(env)) {
    return env;
  }
  const fs::path source(POSEWRIGHT_SOURCE_DIR);
  for (const fs::path& candidate : {source.parent_path() / "shared" / "testdata",
                                    source.parent_path().parent_path() / "shared" / "testdata"}) {
    if (fs::is_directory(candidate)) {
      return candidate.string();
    }
  }
  return (source.parent_path() / "shared" / "testdata").string();
}
