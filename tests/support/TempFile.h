// A file in the temporary folder that is removed when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TempFile {
 public:
  explicit TempFile(const std::string& name, const std::string& text = {})
      : path_((std::filesystem::temp_directory_path() / ("posewright_" + name)).string()) {
    if (!text.empty()) std::ofstream(path_, std::ios::binary) << text;
  }
  ~TempFile() { std::filesystem::remove(path_); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }
  std::string read() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

 private:
  std::string path_;
};
