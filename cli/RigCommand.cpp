// posewright-cli rig: the bone data (and blending parameters) of a rigged
// model: its skeleton with anchors generated from its skin weights.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/RigReport.h"
#include "importer/BoneDataWriter.h"
#include "skeleton/BlendingParametersFile.h"

namespace posewright {

namespace {
const cli::Syntax kSyntax{"rig",
                          {"MODEL"},
                          {{"-o", "OUT.dat", "the bone data file to write", true},
                           {"--prm", "OUT.prm", "also write the blending parameters"}},
                          "bone data of a rigged model (any format)"};

int RunRig(const std::vector<std::string>& args) {
  const cli::ParseResult parsed = cli::Parse(kSyntax, args);
  if (!parsed.error.empty()) return cli::UsageError(kSyntax, parsed.error);
  const std::string& model = parsed.arguments.operands[0];
  const std::string output = *parsed.arguments.value("-o");
  const std::string parameters = parsed.arguments.value("--prm").value_or("");
  RiggedImport import;
  Status s = ImportRiggedModel(model, import);
  if (s) s = WriteBoneData(import.rig.skeleton, output);
  if (s && !parameters.empty()) s = WriteBlendingParameters(import.rig.skeleton, parameters);
  if (!s) return cli::Failure("rig", s.describe());
  PrintImportWarnings("rig", import);
  const std::vector<VertexInfluences> fileInfluences = import.rig.influences;
  const bool rootAdded = import.rig.rootAdded;
  SkinnedModel installed;
  InstallRiggedImport(installed, std::move(import));
  std::printf("%s: %d bones%s, anchors for %zu vertices\n", output.c_str(), installed.skeleton.boneCount(),
              rootAdded ? " (a root bone added)" : "", installed.vertexCount());
  PrintAnchorReport(installed, fileInfluences);
  return cli::kExitOk;
}

const CommandRegistration kRegistration{CliCommand{"rig", {kSyntax}, RunRig}};
}  // namespace
}  // namespace posewright
