#include "importer/MeshFormats.h"

#include <algorithm>
#include <assimp/Importer.hpp>

#include "fileio/FileBytes.h"

namespace posewright {

bool IsDirectXFile(const std::string& path) {
  return LowerExtension(path) == ".x";
}

bool IsMeshFile(const std::string& path) {
  const std::string ext = LowerExtension(path);
  const std::vector<std::string> known = MeshFileExtensions();
  return !ext.empty() && std::binary_search(known.begin(), known.end(), ext);
}

std::vector<std::string> MeshFileExtensions() {
  static const std::vector<std::string> extensions = [] {
    std::string list;
    Assimp::Importer().GetExtensionList(list);  // "*.3ds;*.obj;…"
    std::vector<std::string> out{".x"};
    std::size_t start = 0;
    while (start < list.size()) {
      const std::size_t end = std::min(list.find(';', start), list.size());
      std::string pattern = list.substr(start, end - start);
      if (pattern.rfind("*.", 0) == 0 && pattern.size() > 2) {
        out.push_back(LowerExtension(pattern));
      }
      start = end + 1;
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
  }();
  return extensions;
}

std::string MeshFilePatterns() {
  std::string patterns;
  for (const std::string& ext : MeshFileExtensions()) {
    patterns += (patterns.empty() ? "*" : " *") + ext;
  }
  return patterns;
}
}  // namespace posewright
