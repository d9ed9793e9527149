#include "fileio/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    return std::nullopt;
  }
  std::string bytes;
  // Reserve the size of a regular file up front, so a big file is not copied
  // while it grows (the loop below still decides how much is read).
  struct stat info {};
  if (fstat(fileno(f), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
      static_cast<unsigned long long>(info.st_size) <= maxBytes) {
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  }
  char buffer[1 << 16];
  std::size_t got = 0;
  bool failed = false;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    if (bytes.size() + got > maxBytes) {
      failed = true;
      break;
    }
    bytes.append(buffer, got);
  }
  if (std::ferror(f) != 0) {
    failed = true;
  }
  std::fclose(f);
  if (failed) {
    return std::nullopt;
  }
  return bytes;
}

Status WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp-" + std::to_string(static_cast<long>(getpid()));
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (f == nullptr) {
    return Status::Error("Cannot write the file", path + ": " + std::strerror(errno));
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int savedErrno = errno;
  const bool flushed = std::fflush(f) == 0 && fsync(fileno(f)) == 0;
  const bool closed = std::fclose(f) == 0;
  if (!written || !flushed || !closed) {
    std::remove(temporary.c_str());
    return Status::Error("Cannot write the file", path + ": " + std::strerror(savedErrno ? savedErrno : errno));
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameErrno = errno;
    std::remove(temporary.c_str());
    return Status::Error("Cannot write the file", path + ": " + std::strerror(renameErrno));
  }
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
