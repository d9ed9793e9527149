// posewright-cli bind: a mesh (any format) and a bone data file become a
// weighted SkinnedMesh file, with the blending parameters of a .prm file if
// given; with --rig a rigged model brings its own skeleton (RigBind.h).
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "fileio/FileBytes.h"
#include "cli/RigBind.h"
#include "importer/ModelImport.h"
#include "weights/BlendWeights.h"
#include "skeleton/BlendingParametersFile.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace {
constexpr const char* kUsage =
    "bind MESH BONES.dat [--prm FILE.prm] -o OUT.skm   bind, weight and save a mesh\n"
    "  bind MODEL --rig [--auto-weights] [--prm FILE.prm] -o OUT.skm   the same with a rigged model's own bones";

struct BindArguments {
  std::string mesh;
  std::string bones;
  std::string parameters;
  std::string output;
};

bool ParseArguments(const std::vector<std::string>& args, BindArguments& out) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--prm" || args[i] == "-o") && i + 1 < args.size()) {
      (args[i] == "--prm" ? out.parameters : out.output) = args[i + 1];
      ++i;
    } else if (!args[i].empty() && args[i][0] == '-') {
      return false;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2 || out.output.empty()) {
    return false;
  }
  out.mesh = positional[0];
  out.bones = positional[1];
  return true;
}

int Fail(const Status& status) {
  std::fprintf(stderr, "posewright-cli bind: %s\n", status.describe().c_str());
  return 1;
}

int RunBind(const std::vector<std::string>& args) {
  if (IsRigBind(args)) return RunRigBind(args);
  BindArguments a;
  if (!ParseArguments(args, a)) {
    std::fprintf(stderr, "usage: posewright-cli %s\n", kUsage);
    return 2;
  }
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
  return 0;
}

const CommandRegistration kRegistration{CliCommand{"bind", kUsage, RunBind}};
}  // namespace
