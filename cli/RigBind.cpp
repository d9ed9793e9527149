#include "cli/RigBind.h"

#include <algorithm>
#include <cstdio>

#include "cli/RigReport.h"
#include "model/SkinnedMeshFile.h"
#include "skeleton/BlendingParametersFile.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {
int Fail(const Status& status) {
  return cli::Failure("bind", status.describe());
}
}  // namespace

const cli::Syntax& RigBindSyntax() {
  static const cli::Syntax syntax{
      "bind",
      {"MODEL"},
      {{"--rig", "", "bind a rigged model (any format) with its own bones", true},
       {"--auto-weights", "", "weights from the generated anchors instead of the file's own"},
       {"--prm", "FILE.prm", "blending parameters to apply before weighting"},
       {"-o", "OUT.skm", "the SkinnedMesh file to write", true}},
      "the same with a rigged model's own bones"};
  return syntax;
}

bool IsRigBind(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--rig") != args.end();
}

int RunRigBind(const std::vector<std::string>& args) {
  const cli::ParseResult parsed = cli::Parse(RigBindSyntax(), args);
  if (!parsed.error.empty()) return cli::UsageError(RigBindSyntax(), parsed.error);
  const std::string& model = parsed.arguments.operands[0];
  const std::string output = *parsed.arguments.value("-o");
  const std::string parameters = parsed.arguments.value("--prm").value_or("");
  const bool autoWeights = parsed.arguments.has("--auto-weights");
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
  return cli::kExitOk;
}
}  // namespace posewright
