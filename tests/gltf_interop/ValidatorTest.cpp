// The Khronos glTF validator finds no error and no warning in any export.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "ExportCases.h"

namespace posewright {

namespace {

// The validator's report line ("errors N warnings M" and the issues) and
// whether it exited 0.
std::pair<std::string, bool> Validate(const std::string& file) {
  const char* script = std::getenv("POSEWRIGHT_GLTF_VALIDATOR");
  EXPECT_NE(script, nullptr) << "POSEWRIGHT_GLTF_VALIDATOR names tools/gltf-validator/validate.js";
  const std::string command =
      "node " + std::string(script != nullptr ? script : "validate.js") + " " + file + " 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {"cannot run " + command, false};
  std::string output;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  const int status = pclose(pipe);
  return {output, status == 0};
}

TEST(GltfValidator, EveryExportIsFreeOfErrorsAndWarnings) {
  for (const gltfinterop::ExportCase& c : gltfinterop::Cases()) {
    for (const std::string& file : {c.glb, c.gltf}) {
      const auto [report, clean] = Validate(file);
      EXPECT_TRUE(clean) << file << "\n" << report << "(run bash tools/setup.sh if the validator is missing)";
      EXPECT_EQ(report.rfind("errors 0 warnings 0\n", 0), 0u) << file << "\n" << report;
    }
  }
}

}  // namespace
}  // namespace posewright
