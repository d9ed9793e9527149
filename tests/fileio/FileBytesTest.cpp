#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "fileio/FileBytes.h"
#include "fileio/TemporaryFile.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
namespace fs = std::filesystem;

class FileBytesTest : public ::testing::Test {
 protected:
  TempDir dir_{"filebytes"};
};

TEST_F(FileBytesTest, AtomicWriteReplacesAndLeavesNoTemporary) {
  const std::string path = dir_.path("a.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "first\r\n"));
  ASSERT_TRUE(WriteFileAtomically(path, "second"));
  EXPECT_EQ(*ReadFileBytes(path), "second");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);
}

TEST_F(FileBytesTest, FailedWriteIsReportedAndKeepsTheOldFile) {
  const std::string path = dir_.path("keep.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "precious"));
  fs::permissions(dir_.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const Status s = WriteFileAtomically(path, "lost");
  fs::permissions(dir_.path(), fs::perms::owner_all);
  if (::geteuid() != 0) {  // root ignores folder permissions
    EXPECT_FALSE(s.ok);
    EXPECT_NE(s.detail.find("keep.txt"), std::string::npos);
    EXPECT_EQ(*ReadFileBytes(path), "precious");
  }
  const Status missing = WriteFileAtomically((dir_.path() / "no" / "such" / "x.txt").string(), "x");
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(ReadFileBytes(dir_.path("absent")).has_value());
}

// Names in the folder other than the ones a case made itself: temporary files
// left behind show up here.
std::vector<std::string> Leftovers(const fs::path& dir, const std::vector<std::string>& expected) {
  std::vector<std::string> extra;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (std::find(expected.begin(), expected.end(), name) == expected.end()) extra.push_back(name);
  }
  return extra;
}

unsigned PermissionBits(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST_F(FileBytesTest, SavesFollowLinksKeepPermissionsAndRefuseWhatIsNoRegularFile) {
  struct Case {
    const char* what;
    std::function<std::string(const fs::path&)> make;  // builds the target, returns the path to save to
    bool saved;
    const char* fileHoldingTheBytes;  // when saved
  };
  const std::vector<Case> cases = {
      {"a file with mode 0604",
       [](const fs::path& d) {
         const std::string p = (d / "out").string();
         EXPECT_TRUE(WriteFileAtomically(p, "old"));
         fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
         return p;
       },
       true, "out"},
      {"a link to a file",
       [](const fs::path& d) {
         EXPECT_TRUE(WriteFileAtomically((d / "real").string(), "old"));
         fs::create_symlink("real", d / "out");
         return (d / "out").string();
       },
       true, "real"},
      {"a link to a link to a file in another folder",
       [](const fs::path& d) {
         fs::create_directory(d / "sub");
         EXPECT_TRUE(WriteFileAtomically((d / "sub" / "real").string(), "old"));
         fs::create_symlink("sub/real", d / "hop");
         fs::create_symlink(d / "hop", d / "out");
         return (d / "out").string();
       },
       true, "sub/real"},
      {"a link to a file not made yet",
       [](const fs::path& d) {
         fs::create_symlink("later", d / "out");
         return (d / "out").string();
       },
       true, "later"},
      {"a FIFO",
       [](const fs::path& d) {
         EXPECT_EQ(::mkfifo((d / "out").c_str(), 0600), 0);
         return (d / "out").string();
       },
       false, ""},
      {"a link to a FIFO",
       [](const fs::path& d) {
         EXPECT_EQ(::mkfifo((d / "fifo").c_str(), 0600), 0);
         fs::create_symlink("fifo", d / "out");
         return (d / "out").string();
       },
       false, ""},
      {"a folder",
       [](const fs::path& d) {
         fs::create_directory(d / "out");
         return (d / "out").string();
       },
       false, ""},
      {"a device", [](const fs::path&) { return std::string("/dev/null"); }, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path d = dir_.path() / "case";
    fs::remove_all(d);
    fs::create_directories(d);
    const std::string target = c.make(d);
    const fs::file_type typeBefore = fs::symlink_status(target).type();
    std::vector<std::string> made;
    for (const auto& entry : fs::directory_iterator(d)) made.push_back(entry.path().filename().string());
    const unsigned modeBefore = PermissionBits((d / "out").string());

    const Status s = WriteFileAtomically(target, "new");
    EXPECT_EQ(s.ok, c.saved) << s.describe();
    EXPECT_EQ(fs::symlink_status(target).type(),
              typeBefore == fs::file_type::not_found ? fs::file_type::regular : typeBefore);
    if (c.saved) {
      EXPECT_EQ(ReadFileBytes((d / c.fileHoldingTheBytes).string()), "new");
      if (typeBefore == fs::file_type::regular) {
        EXPECT_EQ(PermissionBits(target), modeBefore);
      }
      made.push_back(c.fileHoldingTheBytes);
    } else {
      EXPECT_NE(s.detail.find("not a regular file"), std::string::npos) << s.detail;
    }
    EXPECT_EQ(Leftovers(d, made), std::vector<std::string>{});
  }
}

TEST_F(FileBytesTest, ALinkPlantedAtTheOldTemporaryNameIsNeverFollowed) {
  const std::string path = dir_.path("out.skm");
  const std::string victim = dir_.path("victim");
  ASSERT_TRUE(WriteFileAtomically(victim, "untouched"));
  fs::create_symlink(victim, path + ".tmp-" + std::to_string(::getpid()));
  ASSERT_TRUE(WriteFileAtomically(path, "saved"));
  EXPECT_EQ(ReadFileBytes(victim), "untouched");
  EXPECT_EQ(ReadFileBytes(path), "saved");
  EXPECT_EQ(fs::symlink_status(path).type(), fs::file_type::regular);
}

TEST_F(FileBytesTest, AnInterruptedSaveLeavesNoTemporaryFile) {
  for (const int signal : {SIGINT, SIGTERM}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      InstallTemporaryFileCleanup();
      TemporaryFile pending;
      std::string why;
      if (!pending.create(dir_.path("out.x"), why)) ::_exit(3);
      ::raise(signal);  // as Ctrl-C or kill would, with the file half written
      ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), signal);
    EXPECT_EQ(Leftovers(dir_.path(), {}), std::vector<std::string>{});
  }
}

TEST_F(FileBytesTest, ReadsTakeOnlyRegularFilesWithinTheirBound) {
  const std::string fifo = dir_.path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_TRUE(WriteFileAtomically(dir_.path("ten"), "0123456789"));
  // A reader stuck opening the FIFO is set free after a second, so a fault
  // shows as a failed expectation instead of a hung test.
  std::atomic<bool> done{false};
  std::thread rescue([&] {
    for (int waited = 0; !done && waited < 5000; waited += 10) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (waited >= 1000) {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
      }
    }
  });
  std::string why;
  const std::optional<std::string> fromFifo = ReadFileBytes(fifo, 1 << 20, &why);
  done = true;
  rescue.join();
  EXPECT_FALSE(fromFifo.has_value());
  EXPECT_EQ(why, "it is not a regular file");

  struct Case {
    std::string path;
    std::size_t bound;
    std::optional<std::string> bytes;
    std::string why;
  };
  for (const Case& c : std::vector<Case>{
           {dir_.path("ten"), 10, "0123456789", ""},
           {dir_.path("ten"), 9, std::nullopt, "it is larger than 9 bytes"},
           {"/dev/zero", 1 << 20, std::nullopt, "it is not a regular file"},
           {dir_.path().string(), 1 << 20, std::nullopt, "it is not a regular file"},
           {dir_.path("absent"), 1 << 20, std::nullopt, "No such file or directory"},
       }) {
    why.clear();
    EXPECT_EQ(ReadFileBytes(c.path, c.bound, &why), c.bytes) << c.path;
    EXPECT_EQ(why, c.why) << c.path;
  }
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
}  // namespace posewright
