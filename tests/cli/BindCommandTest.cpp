#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fileio/FileBytes.h"
#include "model/SkinnedMeshFile.h"
#include "model/SkinnedModel.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
namespace fs = std::filesystem;

// A strip of quads along +X at y 0.9 .. 1.1, columns at x = 0, 0.5, 1, 1.5, 2
// and 3 (vertex 2k at y 0.9, 2k+1 at y 1.1):
//
//   Root(0)
//   └── Upper(1) (0,1,0) → (1,1,0), box x −0.1 .. 1.1
//       └── Fore(2) (1,1,0) → (2,1,0), box x 0.9 .. 2.1
//           └── F3 … F7, boxes x 1.9 .. 2.1
//
// The column x = 1 lies in two anchors, x = 2 in six, x = 3 in none.
std::string StripMesh() {
  const float xs[] = {0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 3.0f};
  std::string text = "xof 0303txt 0032\nMesh strip {\n12;\n";
  for (int k = 0; k < 6; ++k) {
    for (float y : {0.9f, 1.1f}) {
      char line[64];
      std::snprintf(line, sizeof line, "%.2f;%.2f;0.0;%s\n", static_cast<double>(xs[k]),
                    static_cast<double>(y), k == 5 && y > 1.0f ? ";" : ",");
      text += line;
    }
  }
  text += "10;\n";
  for (int k = 0; k < 5; ++k) {
    const int a = 2 * k;
    text += "3;" + std::to_string(a) + "," + std::to_string(a + 1) + "," + std::to_string(a + 3) + ";,\n";
    text += "3;" + std::to_string(a) + "," + std::to_string(a + 3) + "," + std::to_string(a + 2) + ";" +
            (k == 4 ? ";" : ",") + "\n";
  }
  return text + "}\n";
}

std::string V(float x, float y, float z) {
  return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z);
}

// A bone block whose anchor is the box lo .. hi: 8 corners (bit 0 x, bit 1 y,
// bit 2 z) and two triangles per side with outward normals.
std::string BoxBone(const std::string& name, int parent, const std::string& begin, const std::string& end,
                    std::array<float, 3> lo, std::array<float, 3> hi) {
  std::string text = "Name: " + name + "\nID: 0\nParentID: " + std::to_string(parent) +
                     "\nbone_begin: " + begin + "\nbone_end: " + end +
                     "\nquaternion: 0.0 0.7071 0.0 0.7071\n" +
                     "numVertices_anchor: 8\nnumFaces_anchor: 12\nBorderBox: " + V(lo[0], lo[1], lo[2]) +
                     " " + V(hi[0], hi[1], hi[2]) + "\nanchor_vertices:\n";
  for (int i = 0; i < 8; ++i) {
    text += V(i & 1 ? hi[0] : lo[0], i & 2 ? hi[1] : lo[1], i & 4 ? hi[2] : lo[2]) + "\n";
  }
  text +=
      "anchor_normals/faces:\n"
      "-1 0 0 0 4 6\n-1 0 0 0 6 2\n1 0 0 1 3 7\n1 0 0 1 7 5\n"
      "0 -1 0 0 1 5\n0 -1 0 0 5 4\n0 1 0 2 6 7\n0 1 0 2 7 3\n"
      "0 0 -1 0 2 3\n0 0 -1 0 3 1\n0 0 1 4 5 7\n0 0 1 4 7 6\n";
  return text;
}

std::string StripBones() {
  std::string text = "numBones: 8\nroot_point: 0 0 0\nend_point: 0 1 0\n";
  text += BoxBone("Upper", 0, "0 1 0", "1 1 0", {-0.1f, 0.5f, -0.5f}, {1.1f, 1.5f, 0.5f});
  text += BoxBone("Fore", 1, "1 1 0", "2 1 0", {0.9f, 0.5f, -0.5f}, {2.1f, 1.5f, 0.5f});
  for (int b = 3; b < 8; ++b) {
    text += BoxBone("F" + std::to_string(b), 2, "2 1 0", "2 1.2 0", {1.9f, 0.5f, -0.5f}, {2.1f, 1.5f, 0.5f});
  }
  return text;
}

struct BindCommandTest : ::testing::Test {
  TempDir folder{"bind_cli"};
  std::string out;

  void SetUp() override {
    ASSERT_TRUE(WriteFileAtomically(Path("strip.x"), StripMesh()));
    ASSERT_TRUE(WriteFileAtomically(Path("strip.dat"), StripBones()));
    ASSERT_TRUE(WriteFileAtomically(Path("strip.prm"), "1 2 1.5000 0.3500\r\n2 1 1.0000 0.3500\r\n"));
  }

  std::string Path(const std::string& name) const { return folder.path(name); }

  // Runs the command line with args; its standard output goes to out.
  int Run(const std::string& args) {
    const std::string command =
        std::string(POSEWRIGHT_CLI) + " " + args + " > " + Path("stdout.txt") + " 2> " + Path("stderr.txt");
    const int status = std::system(command.c_str());
    out = ReadFileBytes(Path("stdout.txt")).value_or("");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

TEST_F(BindCommandTest, BindsWeightsAndReportsAnchorCounts) {
  ASSERT_EQ(Run("bind " + Path("strip.x") + " " + Path("strip.dat") + " -o " + Path("strip.skm")), 0);
  EXPECT_NE(out.find("12 vertices, 10 faces, 8 bones"), std::string::npos) << out;
  EXPECT_NE(out.find("vertices in no anchor: 2\n"), std::string::npos) << out;
  EXPECT_NE(out.find("vertices in more than four anchors: 2\n"), std::string::npos) << out;

  SkinnedModel m;
  ASSERT_TRUE(ReadSkinnedMesh(m, Path("strip.skm")));
  ASSERT_EQ(m.vertexCount(), 12u);
  EXPECT_EQ(m.skeleton.bones[2].name, "Fore");
  EXPECT_EQ(m.skinnedMesh.vertices[0].boneIndices, 1u);       // x = 0: Upper only
  EXPECT_EQ(m.skinnedMesh.vertices[4].boneIndices, 0x0201u);  // x = 1: Upper and Fore
  EXPECT_NEAR(m.skinnedMesh.vertices[4].blendWeights[0], 0.5f, 1e-6f);
  EXPECT_EQ(m.skinnedMesh.vertices[10].boneIndices, 0u);  // x = 3: no anchor
  EXPECT_EQ(m.skinnedMesh.vertices[10].blendWeights[0], 0.0f);
}

TEST_F(BindCommandTest, BlendingParametersChangeWeightsAndPartners) {
  ASSERT_EQ(Run("bind " + Path("strip.x") + " " + Path("strip.dat") + " --prm " + Path("strip.prm") + " -o " +
                Path("strip.skm")),
            0);
  SkinnedModel m;
  ASSERT_TRUE(ReadSkinnedMesh(m, Path("strip.skm")));
  // Upper's R 1.5 at radial distance 0.1: (1.4/1.5)² against Fore's 0.81.
  const float upper = (1.4f / 1.5f) * (1.4f / 1.5f);
  EXPECT_NEAR(m.skinnedMesh.vertices[4].blendWeights[0], upper / (upper + 0.81f), 1e-5f);
  EXPECT_EQ(m.skeleton.bones[1].symmetricId, 2);
  EXPECT_EQ(m.skeleton.bones[2].symmetricId, 1);

  EXPECT_EQ(Run("info " + Path("strip.prm")), 0);
  EXPECT_NE(out.find("bone 1: partner 2, R 1.5000, H 0.3500"), std::string::npos) << out;
  EXPECT_EQ(Run("info " + Path("strip.skm")), 0);
  EXPECT_NE(out.find("vertices    12 (2 without bones)"), std::string::npos) << out;
  EXPECT_NE(out.find("      Fore (2), partner 1"), std::string::npos) << out;
  EXPECT_EQ(Run("info " + Path("strip.dat")), 0);
  EXPECT_NE(out.find("bone data, 8 bones"), std::string::npos) << out;
  EXPECT_NE(out.find("anchor 8 vertices 12 faces"), std::string::npos) << out;
  EXPECT_EQ(Run("info " + Path("strip.skm") + " --json"), 0);
  EXPECT_EQ(out.rfind("{\"file\":", 0), 0u) << out;
}

// As File > Open Data > Blending Parameters: the lines before a bad one are
// applied, the bad line is reported, and the bind goes on.
TEST_F(BindCommandTest, ABadBlendingParametersLineIsAWarningAndTheLinesBeforeItApply) {
  const std::string first = "1 2 1.5000 0.3500\r\n";
  const struct {
    std::string second;
    std::string reason;
  } rows[] = {
      {"0 1 1.0000 0.3500", "bone index 0 is outside 1..7"},
      {"9 1 1.0000 0.3500", "bone index 9 is outside 1..7"},
      {"2 1 0.0000 0.3500", "R and H must be above 0"},
      {"2 1 1.0000 -0.3500", "R and H must be above 0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.second);
    ASSERT_TRUE(WriteFileAtomically(Path("bad.prm"), first + row.second + "\r\n2 1 1.0000 0.3500\r\n"));
    fs::remove(Path("out.skm"));
    ASSERT_EQ(Run("bind " + Path("strip.x") + " " + Path("strip.dat") + " --prm " + Path("bad.prm") + " -o " +
                  Path("out.skm")),
              0);
    EXPECT_NE(ReadFileBytes(Path("stderr.txt"))
                  .value_or("")
                  .find("posewright-cli bind: warning: Blending Parameters Error: bad.prm, line 2: " +
                        row.reason + " (the lines before it are applied)\n"),
              std::string::npos)
        << ReadFileBytes(Path("stderr.txt")).value_or("");
    SkinnedModel m;
    ASSERT_TRUE(ReadSkinnedMesh(m, Path("out.skm")));
    EXPECT_EQ(m.skeleton.bones[1].symmetricId, 2) << "line 1 applied";
    EXPECT_EQ(m.skeleton.bones[2].symmetricId, 2) << "line 3 not applied";
    // Upper's R 1.5 from line 1 at radial distance 0.1, against Fore's 0.81.
    const float upper = (1.4f / 1.5f) * (1.4f / 1.5f);
    EXPECT_NEAR(m.skinnedMesh.vertices[4].blendWeights[0], upper / (upper + 0.81f), 1e-5f);
  }
}

TEST_F(BindCommandTest, FailuresWriteNothing) {
  EXPECT_EQ(Run("bind " + Path("strip.x") + " " + Path("strip.dat")), 2);  // no -o
  EXPECT_EQ(Run("bind " + Path("strip.x") + " " + Path("strip.dat") + " --prm " + Path("missing.prm") +
                " -o " + Path("out.skm")),
            1);
  EXPECT_EQ(Run("bind " + Path("strip.x") + " " + Path("strip.x") + " -o " + Path("out.skm")), 1);
  EXPECT_FALSE(fs::exists(Path("out.skm")));
  ASSERT_TRUE(WriteFileAtomically(Path("bad.skm"), "Vertices: 3\r\n"));
  EXPECT_EQ(Run("info " + Path("bad.skm")), 1);
  EXPECT_NE(ReadFileBytes(Path("stderr.txt")).value_or("").find("File Format Error"), std::string::npos);
}
}  // namespace
}  // namespace posewright
