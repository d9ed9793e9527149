// posewright-cli bind: a .x mesh and a bone data file become a weighted
// SkinnedMesh file, with the blending parameters of a .prm file if given.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "weights/BlendWeights.h"
#include "skeleton/BlendingParametersFile.h"
#include "model/LoadBoneData.h"
#include "model/MeshLoader.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"

namespace {
constexpr const char* kUsage = "bind MESH.x BONES.dat [--prm FILE.prm] -o OUT.skm   bind, weight and save a mesh";

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
  BindArguments a;
  if (!ParseArguments(args, a)) {
    std::fprintf(stderr, "usage: posewright-cli %s\n", kUsage);
    return 2;
  }
  SkinnedModel model;
  if (Status s = LoadMesh(model, a.mesh); !s) return Fail(s);
  if (Status s = LoadBoneData(model, a.bones); !s) return Fail(s);
  if (!a.parameters.empty()) {
    if (Status s = ReadBlendingParameters(model.skeleton, a.parameters); !s) return Fail(s);
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
