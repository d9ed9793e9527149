// A fresh folder under the system's temporary folder, made when the object is
// and removed with everything in it when the object goes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace posewright {

class TempDir {
 public:
  /// tag goes into the folder's name, to tell whose folder it is.
  explicit TempDir(const std::string& tag = "test") {
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("posewright_" + tag + "_XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot make a temporary folder from " + pattern);
    }
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  /// The path of name inside the folder; the file need not exist.
  std::string path(const std::string& name) const { return (path_ / name).string(); }
  /// Writes bytes to name inside the folder and returns its path.
  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string file = path(name);
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    if (!out.flush()) {
      throw std::runtime_error("cannot write " + file);
    }
    return file;
  }
  /// The bytes of name inside the folder; empty when it cannot be read.
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

 private:
  std::filesystem::path path_;
};
}  // namespace posewright
