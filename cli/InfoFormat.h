// The file types `posewright-cli info` can describe. Each type lives in its
// own file and registers a describer for its extension; the info command picks
// one by the file's extension (letter case ignored).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace posewright {

struct InfoFormat {
  /// Lower-case extension with its dot, e.g. ".x".
  std::string extension;
  /// Prints the summary of the file at path (JSON when json is true) to stdout
  /// and returns the exit status; errors go to stderr with a non-zero status.
  std::function<int(const std::string& path, bool json)> describe;
};

/// All registered file types.
std::vector<InfoFormat>& InfoFormats();

struct InfoFormatRegistration {
  explicit InfoFormatRegistration(InfoFormat format) { InfoFormats().push_back(std::move(format)); }
};
}  // namespace posewright
