#include "tools/gen/MakeFolder.h"

#include <filesystem>
#include <system_error>

namespace posewright {

Status MakeFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    return Status::Error("Cannot create the folder", folder + ": " + error.message());
  }
  return Status::Ok();
}
}  // namespace posewright
