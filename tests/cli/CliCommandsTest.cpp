// posewright-cli across its commands, run as a user runs it: exit codes, the
// warnings it owes when it goes on with less than it was given, and the files
// it refuses to read or replace.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "image/PngWriter.h"
#include "model/SkinnedMeshFile.h"
#include "support/CliRun.h"
#include "support/ModelFixtures.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
namespace fs = std::filesystem;

// Four quads, one per material, on a two-bone chain:
//
//   Root(0) (0,0,0) → (0,0,1)
//   └── Bone1(1) (0,0,1) → (0,0,2)
SkinnedModel FourQuads() {
  SkinnedModel model;
  for (uint32_t m = 0; m < 4; ++m) {
    const float x = static_cast<float>(m);
    fixtures::AddQuad(model, {x, 1, 0}, {x + 1, 1, 0}, {x + 1, 0, 0}, {x, 0, 0}, 1, m);
  }
  const D3DXMATERIAL grey = fixtures::Material(0.5f, 0.5f, 0.5f);
  fixtures::Finish(model, {grey, grey, grey, grey}, fixtures::ChainSkeleton(2));
  model.adjacency.assign(model.skinnedMesh.faceCount() * 3, 0xFFFFFFFFu);
  return model;
}

class CliCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteSkinnedMesh(FourQuads(), file("model.skm")));
    Animation wave;
    wave.boneCount = 2;
    const D3DXQUATERNION rest[2] = {{0, 0, 0, 1}, {0, 0, 0, 1}};
    const D3DXQUATERNION bent[2] = {{0, 0, 0, 1}, {0, 0.6f, 0, 0.8f}};
    wave.InsertKey(rest, 0);
    wave.InsertKey(rest, 10);
    wave.InsertKey(bent, 20);
    ASSERT_TRUE(WriteAnimationFile(wave, file("wave.anm")));
  }

  std::string file(const std::string& name) const { return folder_.path(name); }
  cli::CliResult run(const std::string& args) const { return cli::RunCli(args, folder_.path().string()); }

  TempDir folder_{"cli_commands"};
};

// 0 done, 1 a file refused or a failed command, 2 a usage error.
TEST_F(CliCommands, ExitCodesSayDoneRefusedOrMisused) {
  ASSERT_TRUE(WriteFileAtomically(file("notes.md"), "# notes\n"));
  ASSERT_EQ(::mkfifo(file("pipe.x").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(file("pipe.skm").c_str(), 0600), 0);
  fs::create_directory(file("folder.skm"));
  fs::create_symlink("/dev/zero", file("zero.x"));
  const std::string skm = file("model.skm");
  const struct {
    std::string args;
    int status;
    std::string said;  // part of stderr
  } rows[] = {
      {"", 2, "usage"},
      {"frobnicate", 2, "unknown command"},
      {"--help", 0, ""},
      {"info --help", 0, ""},
      {"info", 2, "usage"},
      {"info " + skm + " " + skm, 2, "only one FILE"},
      {"info " + skm + " --bogus", 2, "unknown option"},
      {"info " + file("notes.md"), 1, "unsupported file type '.md'"},
      {"info " + file("missing.skm"), 1, "Cannot read the file"},
      {"info " + file("pipe.x"), 1, "not a regular file"},
      {"info " + file("folder.skm"), 1, "not a regular file"},
      {"info " + file("zero.x"), 1, "not a regular file"},
      {"bind " + file("a.x"), 2, "usage"},
      {"pose " + skm + " --anim " + file("wave.anm") + " --time x -o " + file("o.txt"), 2, "--time"},
      {"export", 2, "usage"},
      {"export " + skm, 2, "-o OUT.x"},
      {"export " + skm + " --fps 0 -o " + file("o.x"), 2, "--fps"},
      {"export " + skm + " --bogus -o " + file("o.x"), 2, "unknown option"},
      {"export " + file("missing.skm") + " -o " + file("o.x"), 1, "Cannot read the file"},
      {"export " + file("pipe.skm") + " -o " + file("o.x"), 1, "not a regular file"},
      {"export " + skm + " -o " + file("folder.skm"), 1, "not a regular file"},
      {"export " + skm + " -o /dev/null", 1, "not a regular file"},
      {"render", 2, "usage"},
  };
  for (const auto& row : rows) {
    const cli::CliResult r = run(row.args);
    EXPECT_EQ(r.status, row.status) << "posewright-cli " << row.args << "\n" << r.err;
    EXPECT_NE(r.err.find(row.said), std::string::npos) << "posewright-cli " << row.args << "\n" << r.err;
  }
  EXPECT_EQ(fs::status(file("pipe.skm")).type(), fs::file_type::fifo);
  EXPECT_FALSE(fs::exists(file("o.x")));
}

// A texture that does not load is left out of the export, and the command
// says which file it looked for and why it has no image.
TEST_F(CliCommands, ExportWarnsAboutEveryTextureItLeavesOut) {
  ASSERT_TRUE(WritePng(file("skin.png"), 1, 1, {200, 100, 50, 255}));
  ASSERT_EQ(::mkfifo(file("pipe.png").c_str(), 0600), 0);
  // A bitmap header declaring 9000 x 9000 pixels, with no pixels after it.
  std::string huge = "BM";
  const auto put32 = [&huge](uint32_t v) {
    for (int i = 0; i < 4; ++i) huge += static_cast<char>(v >> (8 * i));
  };
  put32(54), put32(0), put32(54), put32(40), put32(9000), put32(9000);
  huge += std::string("\x01\x00\x18\x00", 4);
  for (int i = 0; i < 6; ++i) put32(0);
  ASSERT_TRUE(WriteFileAtomically(file("huge.bmp"), huge));
  SkinnedModel model = FourQuads();
  const char* names[] = {"skin.png", "cloth.png", "pipe.png", "huge.bmp"};
  for (std::size_t m = 0; m < 4; ++m) model.materialList[m].textureFilename = names[m];
  ASSERT_TRUE(WriteSkinnedMesh(model, file("textured.skm")));

  const cli::CliResult r = run("export " + file("textured.skm") + " -o " + file("out.x"));
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string prefix = "posewright-cli export: warning: texture ";
  const std::string beside = " not found or not loaded beside " + file("textured.skm") + " (looked for ";
  for (const auto& [name, why] : std::vector<std::pair<std::string, std::string>>{
           {"cloth.png", "No such file or directory"},
           {"pipe.png", "it is not a regular file"},
           {"huge.bmp", "the image is 9000 x 9000 pixels, more than the 8192 x 8192 a texture may have"}}) {
    EXPECT_NE(r.err.find(prefix + name + beside + file(name) + ": " + why + "); exported without it\n"),
              std::string::npos)
        << r.err;
  }
  EXPECT_EQ(r.err.find("skin.png"), std::string::npos) << "the loaded texture is no warning";
  const std::string x = ReadFileBytes(file("out.x")).value_or("");
  EXPECT_NE(x.find("TextureFileName {\r\n    \"skin.png\";"), std::string::npos);
  EXPECT_EQ(x.find("cloth.png"), std::string::npos);
}

// A file cut short anywhere: pose and export go on with the keyframes that
// were read and always say so, or fail when there is none. (Pose needs two.)
TEST_F(CliCommands, PoseAndExportWarnWhenAnAnimationFileEndsEarly) {
  const std::string whole = ReadFileBytes(file("wave.anm")).value_or("");
  const std::string lastLine = "0.0000 0.6000 0.0000 0.8000\r\n";
  ASSERT_TRUE(whole.ends_with(lastLine));
  const struct {
    const char* where;
    std::size_t keep;  // bytes kept
    bool keyframes;    // whether any keyframe is left
    const char* said;
  } cuts[] = {
      {"inside the last number", whole.size() - 5, true, "does not end with a line break"},
      {"between CR and LF", whole.size() - 1, true, "does not end with a line break"},
      {"after the first rotation of the last keyframe", whole.size() - lastLine.size(), true,
       "ends after 1 of 2 rotations"},
      {"after the last Time line", whole.find("Time: 20\r\n") + 10, true, "ends before \"Quaternions:\""},
      {"inside the header", 5, false, "expected \"NumBones:\""},
  };
  for (const auto& cut : cuts) {
    SCOPED_TRACE(cut.where);
    ASSERT_TRUE(WriteFileAtomically(file("cut.anm"), whole.substr(0, cut.keep)));
    const std::string anim = " --anim " + file("cut.anm");
    for (const std::string& command :
         {"pose " + file("model.skm") + anim + " --time 0 -o " + file("posed.txt"),
          "export " + file("model.skm") + anim + " --fps 4800 --all-frames -o " + file("out.x")}) {
      const cli::CliResult r = run(command);
      EXPECT_EQ(r.status, cut.keyframes ? 0 : 1) << command << "\n" << r.err;
      EXPECT_NE(r.err.find(cut.keyframes ? ": warning: " : ": File Format Error: "), std::string::npos)
          << r.err;
      EXPECT_NE(r.err.find(cut.said), std::string::npos) << r.err;
    }
  }
  EXPECT_EQ(
      run("pose " + file("model.skm") + " --anim " + file("wave.anm") + " --time 5 -o " + file("posed.txt"))
          .err,
      "")
      << "a whole file is no warning";
}

TEST_F(CliCommands, JsonOutputIsValidUtf8ForNamesInLegacyEncodings) {
  SkinnedModel model = FourQuads();
  model.skeleton.bones[1].name = "\x83\x41\x81\x5B\x83\x80";  // "アーム" in Shift JIS
  model.materialList[0].textureFilename = "caf\xE9.png";      // Latin-1
  ASSERT_TRUE(WriteSkinnedMesh(model, file("legacy.skm")));
  const cli::CliResult r = run("info " + file("legacy.skm") + " --json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"name\":\"\\ufffdA\\ufffd[\\ufffd\\ufffd\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"texture\":\"caf\\ufffd.png\""), std::string::npos) << r.out;
  for (const char c : r.out) {
    ASSERT_LT(static_cast<unsigned char>(c), 0x80u) << "every byte of these names was replaced";
  }
}

TEST_F(CliCommands, ExportWritesTheMeshInsideTheRootFrameWhenAsked) {
  ASSERT_EQ(run("export " + file("model.skm") + " -o " + file("plain.x")).status, 0);
  ASSERT_EQ(run("export " + file("model.skm") + " --mesh-in-frame -o " + file("framed.x")).status, 0);
  const std::string plain = ReadFileBytes(file("plain.x")).value_or("");
  const std::string framed = ReadFileBytes(file("framed.x")).value_or("");
  EXPECT_NE(plain.find("\r\n {thisMesh}\r\n"), std::string::npos);
  EXPECT_EQ(framed.find("{thisMesh}"), std::string::npos);
  EXPECT_NE(framed.find("\r\n }\r\n Mesh thisMesh {\r\n"), std::string::npos);
  EXPECT_NE(run("export --help").out.find("[--mesh-in-frame]"), std::string::npos);
}

// Every form of a command and every option of it shows in its --help.
TEST_F(CliCommands, HelpShowsEveryFormAndOption) {
  const struct {
    const char* command;
    std::vector<std::string> said;
  } rows[] = {
      {"export",
       {"-o OUT.x", "-o OUT.glb|OUT.gltf", "[--anim FILE.anm]...", "--fps N", "--mesh-in-frame",
        "--all-frames"}},
      {"bind", {"bind MESH BONES.dat", "bind MODEL --rig", "--auto-weights", "--prm FILE.prm"}},
      {"render", {"--view front|top|side", "--points", "--time T"}},
  };
  for (const auto& row : rows) {
    const cli::CliResult r = run(std::string(row.command) + " --help");
    EXPECT_EQ(r.status, 0);
    for (const std::string& part : row.said)
      EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
  }
}
}  // namespace
}  // namespace posewright
