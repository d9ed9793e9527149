// The temporary file a save writes before it replaces its target: created
// exclusively under an unpredictable name in the target's folder, and removed
// again when the save fails, is abandoned, or the program is interrupted.
#pragma once

#include <string>

namespace posewright {

class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  /// Closes and removes the file unless it was committed.
  ~TemporaryFile();

  /// Creates a new file beside target (same folder, hidden name with 12
  /// random letters or digits) with O_CREAT | O_EXCL, so an existing file or a
  /// planted link at that name is never opened; permission bits 0666 less the
  /// umask. While it exists it is the file the interrupt handler removes (see
  /// InstallTemporaryFileCleanup). False with the system's reason in why.
  bool create(const std::string& target, std::string& why);

  /// The open descriptor for writing (-1 before create).
  int descriptor() const { return fd_; }
  const std::string& path() const { return path_; }

  /// Flushes the file to disk, closes it and renames it over target; after
  /// success there is nothing left to remove. False with the reason in why
  /// (the file is then removed).
  bool commit(const std::string& target, std::string& why);

 private:
  void discard();

  int fd_ = -1;
  std::string path_;
};

/// Makes SIGINT, SIGTERM and SIGHUP remove the temporary file of a save in
/// progress before the process ends with that signal (signals set to be
/// ignored stay ignored). For programs without an event loop of their own,
/// such as the command line; the handler only unlinks a path and re-raises.
void InstallTemporaryFileCleanup();
}  // namespace posewright
