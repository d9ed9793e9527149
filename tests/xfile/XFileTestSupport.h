// Helpers for the .x reader tests: the shared test data folder, temporary
// folders and small file writers.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fileio/Status.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace posewright {

/// The folder of the public .x test files.
inline std::string XTestDataDir() {
  return SharedTestDataDir() + "/x";
}

/// A text .x file: the header line followed by body.
inline std::string TextX(const std::string& body) {
  return "xof 0303txt 0032\n" + body;
}

/// Expects a failure whose detail contains every given piece.
template <class... Pieces>
void ExpectRefused(const Status& s, const Pieces&... pieces) {
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.message, "File Format Error");
  for (const std::string& piece : {std::string(pieces)...}) {
    EXPECT_NE(s.detail.find(piece), std::string::npos) << "detail: " << s.detail << "\nmissing: " << piece;
  }
}
}  // namespace posewright
