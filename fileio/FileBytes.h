// Whole-file reading and crash-safe whole-file writing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "fileio/Status.h"

namespace posewright {

/// The whole content of a regular file, or nothing when it cannot be opened or
/// read. Anything else — a folder, a FIFO, a device such as /dev/zero — is
/// refused without being read (a FIFO without a writer does not block), and so
/// is a file above maxBytes, so that a wrong pick cannot hang the program or
/// exhaust memory. Each reader passes the bound its format needs. When why is
/// set it receives the reason for nothing: the system's message, "it is not a
/// regular file" or "it is larger than N bytes".
std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes = std::size_t{1} << 30,
                                         std::string* why = nullptr);

/// Saves bytes as path without ever leaving a half-written file there:
/// - a symbolic link at path (and any link it leads to) is followed, and the
///   file it names is replaced, so the link stays;
/// - a target that exists and is not a regular file (folder, FIFO, device) is
///   refused and left alone;
/// - the bytes go to a new temporary file in the target's folder, created
///   exclusively under an unpredictable name (see TemporaryFile), which is
///   flushed to disk and renamed over the target only when complete;
/// - a replaced file's permission bits stay; a new file gets 0666 less the umask.
/// Errors are "Cannot write the file" with path and the reason as detail; the
/// previous file is then untouched and no temporary file is left.
Status WriteFileAtomically(const std::string& path, const std::string& bytes);

/// The folder part of a path ("" when it has none), without a trailing slash.
std::string FolderOf(const std::string& path);

/// The last component of a path (after the last '/' or '\\').
std::string FileNameOf(const std::string& path);

/// The extension of path in lower case with its dot (".glb"); "" without one.
std::string LowerExtension(const std::string& path);

/// name resolved against folder: unchanged when name is absolute or folder is
/// empty. Backslashes in name are read as folder separators.
std::string ResolveRelative(const std::string& folder, const std::string& name);
}  // namespace posewright
