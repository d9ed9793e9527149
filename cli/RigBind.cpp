#include "cli/RigBind.h"

#include <algorithm>
#include <cstdio>

#include "cli/RigReport.h"
#include "weights/BlendWeights.h"
#include "skeleton/BlendingParametersFile.h"
#include "model/SkinnedMeshFile.h"

namespace {
constexpr const char* kRigUsage = "bind MODEL --rig [--auto-weights] [--prm FILE.prm] -o OUT.skm";

int Fail(const Status& status) {
  std::fprintf(stderr, "posewright-cli bind: %s\n", status.describe().c_str());
  return 1;
}
}  // namespace

bool IsRigBind(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--rig") != args.end();
}

int RunRigBind(const std::vector<std::string>& args) {
  std::string model, output, parameters;
  bool autoWeights = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "-o" || args[i] == "--prm") && i + 1 < args.size()) {
      (args[i] == "-o" ? output : parameters) = args[i + 1];
      ++i;
    } else if (args[i] == "--rig" || args[i] == "--auto-weights") {
      autoWeights = autoWeights || args[i] == "--auto-weights";
    } else if (args[i].empty() || args[i][0] == '-' || !model.empty()) {
      std::fprintf(stderr, "usage: posewright-cli %s\n", kRigUsage);
      return 2;
    } else {
      model = args[i];
    }
  }
  if (model.empty() || output.empty()) {
    std::fprintf(stderr, "usage: posewright-cli %s\n", kRigUsage);
    return 2;
  }
  RiggedImport import;
  if (Status s = ImportRiggedModel(model, import); !s) return Fail(s);
  PrintImportWarnings("bind", import);
  SkinnedModel installed;
  InstallRiggedImport(installed, std::move(import));
  if (!parameters.empty()) {
    if (Status s = ReadBlendingParameters(installed.skeleton, parameters); !s) return Fail(s);
  }
  BlendWeightCounts counts;
  if (autoWeights) counts = ComputeBlendWeights(installed);
  if (Status s = WriteSkinnedMesh(installed, output); !s) return Fail(s);
  std::printf("%s: %zu vertices, %zu faces, %d bones\n", output.c_str(), installed.vertexCount(),
              installed.skinnedMesh.faceCount(), installed.skeleton.boneCount());
  if (autoWeights) {
    std::printf("weights: recomputed from the generated anchors\n");
    std::printf("vertices in no anchor: %zu\n", counts.verticesInNoAnchor);
    std::printf("vertices in more than four anchors: %zu\n", counts.verticesInMoreThanFourAnchors);
  } else {
    std::printf("weights: the file's own\n");
  }
  return 0;
}
