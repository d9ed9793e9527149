// Whole-file reading and crash-safe whole-file writing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "fileio/Status.h"

/// The whole content of a file, or nothing when it cannot be opened or read.
/// Files above maxBytes are refused (nothing) so that a wrong pick of a huge
/// file cannot exhaust memory.
std::optional<std::string> ReadFileBytes(const std::string& path, std::size_t maxBytes = std::size_t{1} << 30);

/// Writes bytes to a temporary file beside path and renames it over path only
/// when everything was written and flushed, so a failed save never destroys the
/// previous file. Returns an error naming the file and the system's reason.
Status WriteFileAtomically(const std::string& path, const std::string& bytes);

/// The folder part of a path ("" when it has none), without a trailing slash.
std::string FolderOf(const std::string& path);

/// The last component of a path (after the last '/' or '\\').
std::string FileNameOf(const std::string& path);

/// name resolved against folder: unchanged when name is absolute or folder is
/// empty. Backslashes in name are read as folder separators.
std::string ResolveRelative(const std::string& folder, const std::string& name);
