// posewright-samplegen: writes the sample assets or a parameterised test model.
//
//   posewright-samplegen samples OUTDIR
//   posewright-samplegen rigs OUTDIR
//   posewright-samplegen model [--vertices N] [--bones B] [--anchor-faces F]
//       [--keys K] [--binary] [--crlf | --lf] [--variant V[,V...]]
//       [--name NAME] [--seed S] OUTDIR
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/gen/ModelFiles.h"
#include "tools/gen/RigExport.h"
#include "tools/gen/SampleAssets.h"

namespace posewright {

namespace {
const char* kUsage =
    "usage: posewright-samplegen samples OUTDIR\n"
    "       posewright-samplegen rigs OUTDIR\n"
    "       posewright-samplegen model [--vertices N] [--bones B] [--anchor-faces F] [--keys K]\n"
    "                                  [--binary] [--crlf | --lf] [--variant V[,V...]]\n"
    "                                  [--name NAME] [--seed S] OUTDIR\n"
    "variants: plain, on-faces, outside, crowded, crlf, lf\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "posewright-samplegen: %s\n%s", message.c_str(), kUsage);
  return 2;
}

bool ParseInt(const std::string& text, int& out) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < -1000000000L || v > 1000000000L) {
    return false;
  }
  out = static_cast<int>(v);
  return true;
}

int RunModel(const std::vector<std::string>& args) {
  ModelOptions options;
  std::string folder;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    int* number = a == "--vertices"       ? &options.vertices
                  : a == "--bones"        ? &options.bones
                  : a == "--anchor-faces" ? &options.anchorFaces
                  : a == "--keys"         ? &options.keys
                                          : nullptr;
    if (number != nullptr) {
      if (!hasValue || !ParseInt(args[++i], *number)) {
        return Fail(a + " needs an integer");
      }
    } else if (a == "--binary") {
      options.binary = true;
    } else if (a == "--crlf" || a == "--lf") {
      ApplyModelVariant(options, a.substr(2));
    } else if (a == "--variant") {
      if (!hasValue) {
        return Fail("--variant needs a name");
      }
      std::string list = args[++i];
      for (std::size_t start = 0; start <= list.size();) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        if (!ApplyModelVariant(options, name)) {
          return Fail("unknown variant \"" + name + "\"");
        }
        start = comma + 1;
      }
    } else if (a == "--name") {
      if (!hasValue) {
        return Fail("--name needs a value");
      }
      options.name = args[++i];
    } else if (a == "--seed") {
      int seed = 0;
      if (!hasValue || !ParseInt(args[++i], seed) || seed < 0) {
        return Fail("--seed needs a non-negative integer");
      }
      options.seed = static_cast<uint64_t>(seed);
    } else if (!a.empty() && a[0] == '-') {
      return Fail("unknown option " + a);
    } else if (folder.empty()) {
      folder = a;
    } else {
      return Fail("more than one output folder");
    }
  }
  if (folder.empty()) {
    return Fail("no output folder");
  }
  GeneratedModel model;
  ModelFiles files;
  if (Status s = GenerateModelFiles(options, folder, &model, &files); !s) {
    std::fprintf(stderr, "posewright-samplegen: %s\n", s.describe().c_str());
    return 1;
  }
  std::printf("%s: %zu vertices, %zu triangles, %d bones, %d anchor faces, %zu keyframes\n", files.x.c_str(),
              model.mesh.vertices.size(), model.mesh.triangleCount(), model.skeleton.boneCount(),
              options.anchorFaces, model.animation.keys().size());
  return 0;
}
}  // namespace

}  // namespace posewright

int main(int argc, char** argv) {
  using namespace posewright;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    return Fail("no command");
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "samples") {
    if (args.size() != 1) {
      return Fail("samples needs exactly one output folder");
    }
    if (Status s = WriteSampleAssets(args[0]); !s) {
      std::fprintf(stderr, "posewright-samplegen: %s\n", s.describe().c_str());
      return 1;
    }
    return 0;
  }
  if (command == "rigs") {
    if (args.size() != 1) {
      return Fail("rigs needs exactly one output folder");
    }
    if (Status s = WriteTestRigFiles(args[0]); !s) {
      std::fprintf(stderr, "posewright-samplegen: %s\n", s.describe().c_str());
      return 1;
    }
    return 0;
  }
  if (command == "model") {
    return RunModel(args);
  }
  return Fail("unknown command " + command);
}
