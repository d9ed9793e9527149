// The exports every glTF interop test reads, made once per run through the
// command line: the sample character (with its texture, and with the texture
// missing) and generated models at the limits.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "tools/gen/ModelFiles.h"
#include "tools/gen/SampleAssets.h"

namespace posewright {

namespace gltfinterop {

struct ExportCase {
  std::string name;
  std::string skm;
  std::vector<std::string> animations;
  /// The same export as .glb and as .gltf.
  std::string glb;
  std::string gltf;
};

inline std::string Cli() {
  const char* cli = std::getenv("POSEWRIGHT_CLI");
  EXPECT_NE(cli, nullptr) << "POSEWRIGHT_CLI names the posewright-cli binary";
  return cli != nullptr ? cli : "posewright-cli";
}

inline bool Run(const std::string& command) {
  const bool ok = std::system((command + " > /dev/null").c_str()) == 0;
  EXPECT_TRUE(ok) << command;
  return ok;
}

inline std::string Samples(const char* name) {
  return (std::filesystem::path(POSEWRIGHT_SOURCE_DIR) / "samples" / name).string();
}

inline TempDir& Folder() {
  static TempDir folder("gltf_interop");
  return folder;
}

/// Binds, then exports the .skm with the animations to both containers.
inline ExportCase Export(const std::string& name, const std::string& x, const std::string& dat,
                         const std::string& prm, std::vector<std::string> animations, bool withTexture) {
  ExportCase c;
  c.name = name;
  const std::filesystem::path dir = Folder().path() / name;
  std::filesystem::create_directories(dir);
  if (withTexture) std::filesystem::copy_file(Samples("clothes.png"), dir / "clothes.png");
  c.skm = (dir / (name + ".skm")).string();
  c.glb = (dir / (name + ".glb")).string();
  c.gltf = (dir / (name + ".gltf")).string();
  c.animations = std::move(animations);
  Run(Cli() + " bind " + x + " " + dat + " --prm " + prm + " -o " + c.skm);
  std::string anims;
  for (const std::string& a : c.animations) anims += " --anim " + a;
  Run(Cli() + " export " + c.skm + anims + " -o " + c.glb);
  Run(Cli() + " export " + c.skm + anims + " -o " + c.gltf);
  return c;
}

inline ExportCase Generated(const std::string& name, int vertices, int bones, int keys, bool animated) {
  ModelOptions options;
  options.vertices = vertices;
  options.bones = bones;
  options.anchorFaces = 12;
  options.keys = keys;
  options.name = name;
  ModelFiles files;
  const std::string dir = (Folder().path() / (name + "_source")).string();
  EXPECT_TRUE(GenerateModelFiles(options, dir, nullptr, &files)) << name;
  return Export(name, files.x, files.boneData, files.blendingParameters,
                animated ? std::vector<std::string>{files.animation} : std::vector<std::string>{}, false);
}

/// Every case, made at the first call.
inline const std::vector<ExportCase>& Cases() {
  static const std::vector<ExportCase> cases = [] {
    const std::string x = Samples(kSampleMeshFile), dat = Samples(kSampleBoneDataFile),
                      prm = Samples(kSampleBlendingFile);
    return std::vector<ExportCase>{
        Export("character", x, dat, prm, {Samples(kSampleWalkFile), Samples(kSampleWaveFile)}, true),
        Export("textures_missing", x, dat, prm, {Samples(kSampleWaveFile)}, false),
        Generated("vertices_65535", 65535, 64, 4, true),
        Generated("bones_255", 3000, 255, 3, true),
        Generated("bone_one", 300, 1, 3, true),
        Generated("no_animation", 1000, 8, 0, false),
    };
  }();
  return cases;
}

}  // namespace gltfinterop
}  // namespace posewright
