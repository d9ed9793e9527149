// Comparing a drawn frame with a committed picture in tests/gl/reference/.
// With POSEWRIGHT_UPDATE_REFERENCE set, the frame is written there instead.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fileio/FileBytes.h"
#include "image/ImageDecoders.h"
#include "image/PngWriter.h"

namespace posewright {

/// Checks an RGBA frame against reference/<name>.png: at most one pixel in 500
/// may differ by more than 2 in a channel (edges may move by a pixel between
/// rasterizer versions; interiors must not). On failure the frame is written
/// to the temporary folder for a look.
inline void ExpectMatchesReference(const std::string& name, int width, int height,
                                   const std::vector<uint8_t>& pixels) {
  const std::string path = std::string(POSEWRIGHT_SOURCE_DIR) + "/tests/gl/reference/" + name + ".png";
  if (std::getenv("POSEWRIGHT_UPDATE_REFERENCE") != nullptr) {
    ASSERT_TRUE(WritePng(path, width, height, pixels));
    GTEST_SKIP() << "reference written to " << path;
  }
  const auto bytes = ReadFileBytes(path);
  ASSERT_TRUE(bytes.has_value()) << path;
  const auto reference = DecodePng(*bytes);
  ASSERT_TRUE(reference.has_value()) << path;
  ASSERT_EQ(reference->width, width);
  ASSERT_EQ(reference->height, height);
  int differing = 0;
  for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
    for (std::size_t c = 0; c < 3; ++c) {
      if (std::abs(int{pixels[i + c]} - int{reference->rgba[i + c]}) > 2) {
        ++differing;
        break;
      }
    }
  }
  const int allowed = width * height / 500;
  if (differing > allowed) {
    const std::string actual = (std::filesystem::temp_directory_path() / (name + "_actual.png")).string();
    // Only a help for looking at the failure: the test fails either way.
    static_cast<void>(WritePng(actual, width, height, pixels));
    FAIL() << differing << " pixels differ from " << path << " (at most " << allowed
           << " may); this frame is in " << actual;
  }
}
}  // namespace posewright
