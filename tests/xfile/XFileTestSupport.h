// Helpers for the .x reader tests: the shared test data folder, scratch
// folders and small file writers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "fileio/Status.h"
#include "support/TestData.h"

/// The folder of the public .x test files.
inline std::string XTestDataDir() { return SharedTestDataDir() + "/x"; }

/// A fresh empty folder for one test, removed when the object goes away.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("posewright-xfile-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
             std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  /// Writes bytes to name inside the folder and returns the full path.
  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string p = (path_ / name).string();
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  std::string path(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

/// A text .x file: the header line followed by body.
inline std::string TextX(const std::string& body) { return "xof 0303txt 0032\n" + body; }

/// Expects a failure whose detail contains every given piece.
template <class... Pieces>
void ExpectRefused(const Status& s, const Pieces&... pieces) {
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(s.message, "File Format Error");
  for (const std::string& piece : {std::string(pieces)...}) {
    EXPECT_NE(s.detail.find(piece), std::string::npos) << "detail: " << s.detail << "\nmissing: " << piece;
  }
}
