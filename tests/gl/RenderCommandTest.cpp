// posewright-cli render, run as a user runs it: a model file (and an
// animation) in, a PNG of the editor's picture out.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "gl/OffscreenHost.h"
#include "model/SkinnedMeshFile.h"
#include "support/MathMatchers.h"
#include "support/ModelFixtures.h"
#include "support/TempDir.h"

#ifdef POSEWRIGHT_CLI

namespace posewright {
namespace {
namespace fs = std::filesystem;

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    std::unique_ptr<OffscreenHost> host;
    if (Status created = OffscreenHost::Create(4, 4, host); !created) {
      GTEST_SKIP() << created.describe();
    }
    SkinnedModel model;
    fixtures::AddQuad(model, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, {-1, -1, 0}, 1, 0);
    fixtures::Finish(model, {fixtures::Material(0.2f, 0.4f, 0.8f)}, fixtures::ChainSkeleton(2));
    model.adjacency.assign(model.skinnedMesh.faceCount() * 3, 0xFFFFFFFFu);
    ASSERT_TRUE(WriteSkinnedMesh(model, path("model.skm")));
    Animation wave;
    wave.boneCount = 2;
    const D3DXQUATERNION rest[2] = {{0, 0, 0, 1}, {0, 0, 0, 1}};
    const D3DXQUATERNION bent[2] = {{0, 0, 0, 1}, AxisAngle(0, 0, 1, 1.0f)};
    wave.InsertKey(rest, 0);
    wave.InsertKey(bent, 10);
    ASSERT_TRUE(WriteAnimationFile(wave, path("wave.anm")));
  }

  std::string path(const std::string& name) const { return dir_.path(name); }

  int run(const std::string& args) {
    const std::string command = std::string(POSEWRIGHT_CLI) + " render " + args + " 2>" + path("stderr.txt");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string errors() const { return ReadFileBytes(path("stderr.txt")).value_or(""); }

  // Width and height from a PNG file's header; (0, 0) when it is not one.
  std::pair<uint32_t, uint32_t> pngSize(const std::string& file) const {
    const std::string bytes = ReadFileBytes(file).value_or("");
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0) {
      return {0, 0};
    }
    auto word = [&](std::size_t at) {
      uint32_t v = 0;
      for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
      return v;
    };
    return {word(16), word(20)};
  }

  TempDir dir_{"render"};
};

TEST_F(RenderCommand, WritesTheEditorsPictureAsPng) {
  EXPECT_EQ(run(path("model.skm") + " -o " + path("front.png")), 0) << errors();
  EXPECT_EQ(pngSize(path("front.png")), (std::pair<uint32_t, uint32_t>{800, 581}));
  EXPECT_EQ(run(path("model.skm") + " --anim " + path("wave.anm") + " --time 5 --view top --points -o " +
                path("posed.png")),
            0)
      << errors();
  EXPECT_EQ(pngSize(path("posed.png")), (std::pair<uint32_t, uint32_t>{800, 581}));
  EXPECT_NE(ReadFileBytes(path("posed.png")), ReadFileBytes(path("front.png")));
}

TEST_F(RenderCommand, DrawsTheWeightViewOfABoneGivenByIndexOrName) {
  SkinnedModel model;
  ASSERT_TRUE(ReadSkinnedMesh(model, path("model.skm")));
  const std::string name = model.skeleton.bones[1].name;
  EXPECT_EQ(run(path("model.skm") + " --weights 1 -o " + path("by-index.png")), 0) << errors();
  EXPECT_EQ(run(path("model.skm") + " --weights " + name + " -o " + path("by-name.png")), 0) << errors();
  EXPECT_EQ(ReadFileBytes(path("by-index.png")), ReadFileBytes(path("by-name.png")));
  EXPECT_EQ(run(path("model.skm") + " -o " + path("lit.png")), 0);
  EXPECT_NE(ReadFileBytes(path("by-index.png")), ReadFileBytes(path("lit.png")));
  for (const char* bad : {"2", "-1", "Nobody", "1x"}) {
    EXPECT_EQ(run(path("model.skm") + " --weights " + bad + " -o " + path("bad.png")), 2) << bad;
    EXPECT_NE(errors().find("usage:"), std::string::npos) << bad;
  }
  EXPECT_FALSE(fs::exists(path("bad.png")));
}

TEST_F(RenderCommand, NamesATextureItCouldNotFindBesideTheModel) {
  EXPECT_EQ(run(path("model.skm") + " -o " + path("plain.png")), 0);
  EXPECT_EQ(errors(), "") << "the model names no texture";

  SkinnedModel model;
  ASSERT_TRUE(ReadSkinnedMesh(model, path("model.skm")));
  model.materialList[0].textureFilename = "cloth.png";
  ASSERT_TRUE(WriteSkinnedMesh(model, path("textured.skm")));
  EXPECT_EQ(run(path("textured.skm") + " -o " + path("textured.png")), 0) << "drawn without the texture";
  EXPECT_NE(errors().find("warning: texture cloth.png not found"), std::string::npos) << errors();
  EXPECT_EQ(pngSize(path("textured.png")), (std::pair<uint32_t, uint32_t>{800, 581}));
}

TEST_F(RenderCommand, RefusesBadArgumentsAndFiles) {
  EXPECT_EQ(run(path("model.skm")), 2) << "no output";
  EXPECT_NE(errors().find("-o OUT.png"), std::string::npos);
  EXPECT_EQ(run(path("model.skm") + " --view back -o " + path("x.png")), 2);
  EXPECT_EQ(run(path("model.skm") + " --time 3 -o " + path("x.png")), 2) << "--time needs --anim";
  EXPECT_EQ(run(path("missing.skm") + " -o " + path("x.png")), 1);
  EXPECT_EQ(run(path("model.skm") + " --anim " + path("wave.anm") + " --time 50 -o " + path("x.png")), 1)
      << "playback never shows frame 50";
  EXPECT_FALSE(fs::exists(path("x.png")));
}
}  // namespace
#endif
}  // namespace posewright
