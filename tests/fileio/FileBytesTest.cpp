#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "fileio/FileBytes.h"

namespace {
namespace fs = std::filesystem;

class FileBytesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("pw_filebytes_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(FileBytesTest, AtomicWriteReplacesAndLeavesNoTemporary) {
  const std::string path = (dir_ / "a.txt").string();
  ASSERT_TRUE(WriteFileAtomically(path, "first\r\n"));
  ASSERT_TRUE(WriteFileAtomically(path, "second"));
  EXPECT_EQ(*ReadFileBytes(path), "second");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(FileBytesTest, FailedWriteIsReportedAndKeepsTheOldFile) {
  const std::string path = (dir_ / "keep.txt").string();
  ASSERT_TRUE(WriteFileAtomically(path, "precious"));
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  const Status s = WriteFileAtomically(path, "lost");
  fs::permissions(dir_, fs::perms::owner_all);
  if (::geteuid() != 0) {  // root ignores folder permissions
    EXPECT_FALSE(s.ok);
    EXPECT_NE(s.detail.find("keep.txt"), std::string::npos);
    EXPECT_EQ(*ReadFileBytes(path), "precious");
  }
  const Status missing = WriteFileAtomically((dir_ / "no" / "such" / "x.txt").string(), "x");
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(ReadFileBytes((dir_ / "absent").string()).has_value());
}

TEST(FilePaths, FolderNameAndRelativeResolution) {
  EXPECT_EQ(FolderOf("/a/b/c.x"), "/a/b");
  EXPECT_EQ(FolderOf("c.x"), "");
  EXPECT_EQ(FolderOf("/c.x"), "/");
  EXPECT_EQ(FileNameOf("/a/b/c.anm"), "c.anm");
  EXPECT_EQ(FileNameOf("C:\\m\\walk.anm"), "walk.anm");
  EXPECT_EQ(ResolveRelative("/a/b", "tex\\skin.png"), "/a/b/tex/skin.png");
  EXPECT_EQ(ResolveRelative("/a/b", "/abs.png"), "/abs.png");
  EXPECT_EQ(ResolveRelative("", "x.png"), "x.png");
}
}  // namespace
