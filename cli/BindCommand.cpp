// posewright-cli bind: a mesh (any format) and a bone data file become a
// weighted SkinnedMesh file, with the blending parameters of a .prm file if
// given; with --rig a rigged model brings its own skeleton (RigBind.h).
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/RigBind.h"
#include "fileio/FileBytes.h"
#include "importer/ModelImport.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"
#include "skeleton/BlendingParametersFile.h"
#include "weights/BlendWeights.h"

namespace posewright {

namespace {
const cli::Syntax kSyntax{"bind",
                          {"MESH", "BONES.dat"},
                          {{"--prm", "FILE.prm", "blending parameters to apply before weighting"},
                           {"-o", "OUT.skm", "the SkinnedMesh file to write", true}},
                          "bind, weight and save a mesh"};

struct BindArguments {
  std::string mesh;
  std::string bones;
  std::string parameters;
  std::string output;
};

int Fail(const Status& status) {
  return cli::Failure("bind", status.describe());
}

int RunBind(const std::vector<std::string>& args) {
  if (IsRigBind(args)) return RunRigBind(args);
  const cli::ParseResult parsed = cli::Parse(kSyntax, args);
  if (!parsed.error.empty()) return cli::UsageError(kSyntax, parsed.error);
  const BindArguments a{parsed.arguments.operands[0], parsed.arguments.operands[1],
                        parsed.arguments.value("--prm").value_or(""), *parsed.arguments.value("-o")};
  SkinnedModel model;
  if (Status s = LoadAnyMesh(model, a.mesh); !s) return Fail(s);
  if (Status s = LoadBoneData(model, a.bones); !s) return Fail(s);
  if (!a.parameters.empty()) {
    // As File > Open Data > Blending Parameters: the lines before a bad one stay
    // applied and the bind goes on; only a file that cannot be read stops it.
    std::string why;
    const std::optional<std::string> text =
        ReadFileBytes(a.parameters, kMaxBlendingParametersFileBytes, &why);
    if (!text) {
      return Fail(
          Status::Error(kBlendingParametersError, a.parameters + ": the file cannot be read (" + why + ")"));
    }
    if (Status s = ApplyBlendingParameters(model.skeleton, *text, FileNameOf(a.parameters)); !s) {
      std::fprintf(stderr, "posewright-cli bind: warning: %s (the lines before it are applied)\n",
                   s.describe().c_str());
    }
  }
  const BlendWeightCounts counts = ComputeBlendWeights(model);
  if (Status s = WriteSkinnedMesh(model, a.output); !s) return Fail(s);
  std::printf("%s: %zu vertices, %zu faces, %d bones\n", a.output.c_str(), model.vertexCount(),
              model.skinnedMesh.faceCount(), model.skeleton.boneCount());
  std::printf("vertices in no anchor: %zu\n", counts.verticesInNoAnchor);
  std::printf("vertices in more than four anchors: %zu\n", counts.verticesInMoreThanFourAnchors);
  return cli::kExitOk;
}

const CommandRegistration kRegistration{CliCommand{"bind", {kSyntax, RigBindSyntax()}, RunBind}};
}  // namespace
}  // namespace posewright
