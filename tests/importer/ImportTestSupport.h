// Where the import tests find their models, and small helpers they share.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fileio/Base64.h"
#include "fileio/FileBytes.h"
#include "importer/ModelImport.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace posewright {

namespace import_test {
namespace fs = std::filesystem;

/// The rigged test models kept with the sources (posewright-samplegen rigs).
inline std::string KeptRig(const std::string& name) {
  return SharedTestDataDir() + "/rigs/" + name;
}

/// The folder of the public rigged models made in a 3D suite:
/// $POSEWRIGHT_PUBLIC_RIGS, else ../shared/testdata/rigs beside the sources.
inline std::string PublicRigFolder() {
  if (const char* env = std::getenv("POSEWRIGHT_PUBLIC_RIGS"); env != nullptr && fs::is_directory(env)) {
    return env;
  }
  return (fs::path(POSEWRIGHT_SOURCE_DIR) / ".." / "shared" / "testdata" / "rigs").string();
}

/// The public rigged models present (glb, fbx and dae of each).
inline std::vector<std::string> PublicRigs() {
  std::vector<std::string> files;
  for (const char* name : {"tube", "hand"}) {
    for (const char* ext : {".glb", ".fbx", ".dae"}) {
      const std::string path = PublicRigFolder() + "/" + name + ext;
      if (fs::exists(path)) files.push_back(path);
    }
  }
  return files;
}

inline float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d = a - b;
  return D3DXVec3Length(&d);
}
}  // namespace import_test
}  // namespace posewright
