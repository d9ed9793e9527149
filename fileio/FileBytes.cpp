#include "fileio/FileBytes.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "fileio/TemporaryFile.h"

namespace posewright {

namespace {
constexpr int kMaxLinkHops = 40;

std::string LinkFolder(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a save of path replaces: path itself, or where its chain of symbolic
// links ends (a file that may not exist yet). False with the reason in why.
bool ResolveSaveTarget(const std::string& path, std::string& target, std::string& why) {
  target = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat info {};
    if (lstat(target.c_str(), &info) != 0) {
      if (errno == ENOENT) return true;
      why = std::strerror(errno);
      return false;
    }
    if (!S_ISLNK(info.st_mode)) return true;
    std::string link(PATH_MAX, '\0');
    const ssize_t n = readlink(target.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<std::size_t>(n) >= link.size()) {
      why = n < 0 ? std::strerror(errno) : "a symbolic link is too long";
      return false;
    }
    link.resize(static_cast<std::size_t>(n));
    target = !link.empty() && link[0] == '/' ? link : LinkFolder(target) + link;
  }
  why = std::strerror(ELOOP);
  return false;
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Makes a completed rename durable; a folder that cannot be synced is no error.
void SyncFolderOf(const std::string& target) {
  const std::string folder = LinkFolder(target);
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

void SetWhy(std::string* why, std::string text) {
  if (why != nullptr) *why = std::move(text);
}
}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes, std::string* why) {
  // Non-blocking, so that opening a FIFO with no writer returns at once.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    SetWhy(why, std::strerror(errno));
    return std::nullopt;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    SetWhy(why, "it is not a regular file");
    close(fd);
    return std::nullopt;
  }
  const std::string tooLarge = "it is larger than " + std::to_string(maxBytes) + " bytes";
  if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > maxBytes) {
    SetWhy(why, tooLarge);
    close(fd);
    return std::nullopt;
  }
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  // The loop, not the size seen above, decides how much is read: the file may
  // change while it is read.
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      SetWhy(why, std::strerror(errno));
      close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    if (bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
      SetWhy(why, tooLarge);
      close(fd);
      return std::nullopt;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  return bytes;
}

Status WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const auto failed = [&path](const std::string& why) {
    return Status::Error("Cannot write the file", path + ": " + why);
  };
  std::string target;
  std::string why;
  if (!ResolveSaveTarget(path, target, why)) return failed(why);
  struct stat existing {};
  const bool replacing = stat(target.c_str(), &existing) == 0;
  if (replacing && !S_ISREG(existing.st_mode)) {
    return failed("it is not a regular file (a folder, device or FIFO is never replaced)");
  }
  TemporaryFile temporary;
  if (!temporary.create(target, why)) return failed(why);
  if (!WriteAll(temporary.descriptor(), bytes) ||
      (replacing && fchmod(temporary.descriptor(), existing.st_mode & 07777) != 0)) {
    return failed(std::strerror(errno));
  }
  if (!temporary.commit(target, why)) return failed(why);
  SyncFolderOf(target);
  return Status::Ok();
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) {
    return {};
  }
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ResolveRelative(const std::string& folder, const std::string& name) {
  std::string n = name;
  for (char& c : n) {
    if (c == '\\') c = '/';
  }
  if (folder.empty() || (!n.empty() && n[0] == '/')) {
    return n;
  }
  return folder == "/" ? "/" + n : folder + "/" + n;
}

std::string LowerExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return "";
  }
  std::string ext = path.substr(dot);
  for (char& c : ext) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return ext;
}
}  // namespace posewright
