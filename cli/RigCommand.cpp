// posewright-cli rig: the bone data (and blending parameters) of a rigged
// model: its skeleton with anchors generated from its skin weights.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/RigReport.h"
#include "importer/BoneDataWriter.h"
#include "skeleton/BlendingParametersFile.h"

namespace {
constexpr const char* kUsage = "rig MODEL -o OUT.dat [--prm OUT.prm]   bone data of a rigged model (any format)";

int RunRig(const std::vector<std::string>& args) {
  std::string model, output, parameters;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "-o" || args[i] == "--prm") && i + 1 < args.size()) {
      (args[i] == "-o" ? output : parameters) = args[i + 1];
      ++i;
    } else if (args[i].empty() || args[i][0] == '-' || !model.empty()) {
      std::fprintf(stderr, "usage: posewright-cli %s\n", kUsage);
      return 2;
    } else {
      model = args[i];
    }
  }
  if (model.empty() || output.empty()) {
    std::fprintf(stderr, "usage: posewright-cli %s\n", kUsage);
    return 2;
  }
  RiggedImport import;
  Status s = ImportRiggedModel(model, import);
  if (s) s = WriteBoneData(import.rig.skeleton, output);
  if (s && !parameters.empty()) s = WriteBlendingParameters(import.rig.skeleton, parameters);
  if (!s) {
    std::fprintf(stderr, "posewright-cli rig: %s\n", s.describe().c_str());
    return 1;
  }
  PrintImportWarnings("rig", import);
  const std::vector<VertexInfluences> fileInfluences = import.rig.influences;
  const bool rootAdded = import.rig.rootAdded;
  SkinnedModel installed;
  InstallRiggedImport(installed, std::move(import));
  std::printf("%s: %d bones%s, anchors for %zu vertices\n", output.c_str(), installed.skeleton.boneCount(),
              rootAdded ? " (a root bone added)" : "", installed.vertexCount());
  PrintAnchorReport(installed, fileInfluences);
  return 0;
}

const CommandRegistration kRegistration{CliCommand{"rig", kUsage, RunRig}};
}  // namespace
