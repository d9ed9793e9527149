// Result of a reader or writer: success, or a message for the user plus a
// detail (file, line, what was expected) for the message box's detail text.
#pragma once

#include <string>
#include <utility>

namespace posewright {

struct [[nodiscard]] Status {
  bool ok = true;
  /// The text shown to the user, e.g. "File Format Error".
  std::string message;
  /// Where and why, e.g. "arm.dat, line 7: expected \"ParentID:\"".
  std::string detail;

  static Status Ok() { return {}; }
  static Status Error(std::string message, std::string detail = {}) {
    return Status{false, std::move(message), std::move(detail)};
  }
  explicit operator bool() const { return ok; }
  /// "message: detail", or just the message when there is no detail.
  std::string describe() const { return detail.empty() ? message : message + ": " + detail; }
};
}  // namespace posewright
