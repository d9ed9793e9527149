// The motion is the same: skinning the exported file's own data (node rest
// transforms, inverse bind matrices, weights, animation samples) at a time
// puts every vertex where posewright-cli pose puts it at that frame, with Z
// negated, within 1e-4.
//
// That holds for keyframes of unit rotations. An .anm file stores four
// decimals, so its rotations are unit only to about 1e-4, and the editor's
// skin matrix of a rotation q with |q|² = 1 + δ is (1 + δ)R − δI, no longer
// rigid: glTF can only carry the unit rotation. For such files the exact
// comparison is with the editor's own playback of the same keyframes
// normalised (the functions the pose command runs), and the distance to the
// command's output is bounded by that deviation.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <sstream>

#include "ExportCases.h"
#include "GltfFileReader.h"
#include "anim/AnimationFile.h"
#include "anim/PlayToTime.h"
#include "anim/PosedVertices.h"
#include "export/SkinnedMeshXContent.h"
#include "fileio/FileBytes.h"
#include "model/SkinnedMeshFile.h"
#include "support/GltfReference.h"

namespace posewright {

namespace {
using namespace gltfref;

// Every skinned position of every primitive, by glTF vertex, at time seconds.
std::vector<std::vector<Vec3>> SkinFile(const gltfread::File& f, int animation, double seconds) {
  const nlohmann::json& nodes = f.json["nodes"];
  std::vector<Vec3> translations(nodes.size(), Vec3{0, 0, 0});
  std::vector<Quat> rotations(nodes.size(), Quat{0, 0, 0, 1});
  std::vector<int> parents(nodes.size(), -1);
  for (std::size_t n = 0; n < nodes.size(); ++n) {
    if (nodes[n].contains("translation")) translations[n] = nodes[n]["translation"].get<Vec3>();
    if (nodes[n].contains("rotation")) rotations[n] = nodes[n]["rotation"].get<Quat>();
    for (int child : nodes[n].value("children", std::vector<int>{}))
      parents[static_cast<std::size_t>(child)] = static_cast<int>(n);
  }
  if (animation >= 0) {
    const nlohmann::json& a = f.json["animations"][static_cast<std::size_t>(animation)];
    for (const nlohmann::json& channel : a["channels"]) {
      const nlohmann::json& sampler = a["samplers"][channel["sampler"].get<std::size_t>()];
      EXPECT_EQ(sampler["interpolation"], "LINEAR");
      EXPECT_EQ(channel["target"]["path"], "rotation");
      const std::vector<double> input = f.numbers(sampler["input"]);
      const std::vector<double> output = f.numbers(sampler["output"]);
      const std::vector<float> times(input.begin(), input.end());
      std::vector<Quat> values;
      for (std::size_t k = 0; k + 3 < output.size(); k += 4)
        values.push_back({output[k], output[k + 1], output[k + 2], output[k + 3]});
      rotations[channel["target"]["node"].get<std::size_t>()] = SampleRotation(times, values, seconds);
    }
  }
  // Parents come before children in our files, but follow the links anyway.
  std::vector<Mat4> world(nodes.size());
  std::vector<bool> done(nodes.size(), false);
  std::function<const Mat4&(std::size_t)> worldOf = [&](std::size_t n) -> const Mat4& {
    if (!done[n]) {
      const Mat4 own = NodeMatrix(translations[n], rotations[n]);
      world[n] = parents[n] < 0 ? own : Multiply(worldOf(static_cast<std::size_t>(parents[n])), own);
      done[n] = true;
    }
    return world[n];
  };
  const nlohmann::json& skin = f.json["skins"][0];
  const std::vector<double> ibm = f.numbers(skin["inverseBindMatrices"]);
  std::vector<Mat4> joints;
  for (std::size_t j = 0; j < skin["joints"].size(); ++j) {
    Mat4 inverse;
    std::copy_n(ibm.begin() + static_cast<std::ptrdiff_t>(16 * j), 16, inverse.begin());
    joints.push_back(Multiply(worldOf(skin["joints"][j].get<std::size_t>()), inverse));
  }
  std::vector<std::vector<Vec3>> out;
  for (const nlohmann::json& p : f.json["meshes"][0]["primitives"]) {
    const std::vector<double> positions = f.numbers(p["attributes"]["POSITION"]);
    const std::vector<double> jointIndices = f.numbers(p["attributes"]["JOINTS_0"]);
    const std::vector<double> weights = f.numbers(p["attributes"]["WEIGHTS_0"]);
    std::vector<Vec3>& skinned = out.emplace_back();
    for (std::size_t v = 0; 3 * v + 2 < positions.size(); ++v) {
      std::array<int, 4> j;
      std::array<double, 4> w;
      for (std::size_t k = 0; k < 4; ++k) {
        j[k] = static_cast<int>(jointIndices[4 * v + k]);
        w[k] = weights[4 * v + k];
      }
      skinned.push_back(Skin(joints, j, w, {positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]}));
    }
  }
  return out;
}

std::vector<Vec3> Points(const std::string& text) {
  std::istringstream lines(text);
  std::vector<Vec3> points;
  for (Vec3 p; lines >> p[0] >> p[1] >> p[2];) points.push_back(p);
  return points;
}

std::vector<Vec3> PoseCommand(const gltfinterop::ExportCase& c, const std::string& animation, int frame) {
  const std::string out = c.skm + ".pose.txt";
  gltfinterop::Run(gltfinterop::Cli() + " pose " + c.skm + " --anim " + animation + " --time " +
                   std::to_string(frame) + " -o " + out);
  return Points(ReadFileBytes(out).value_or(""));
}

// What the pose command computes, with every keyframe rotation normalised.
std::vector<Vec3> UnitKeyPose(const gltfinterop::ExportCase& c, const std::string& anm, int frame) {
  SkinnedModel model;
  EXPECT_TRUE(ReadSkinnedMesh(model, c.skm));
  Animation read, unit;
  read.boneCount = unit.boneCount = model.skeleton.boneCount();
  EXPECT_TRUE(ReadAnimationFile(read, anm));
  for (const Keyframe& key : read.keys()) {
    std::vector<D3DXQUATERNION> rotations = key.rotations;
    for (D3DXQUATERNION& q : rotations) D3DXQuaternionNormalize(&q, &q);
    unit.InsertKey(rotations, key.time);
  }
  EXPECT_TRUE(PoseAtPlaybackTime(model.skeleton, unit, frame));
  return Points(FormatPosedVertices(model));
}

enum class Reference { PoseCommand, UnitKeys };

// Every corner of every glTF triangle against the editor's vertex at the
// matching corner of the matching face: the k-th triangle of a primitive is
// the k-th face of its material, corners a, b, c written as a, c, b.
// Returns the largest difference.
double ExpectSamePose(const gltfinterop::ExportCase& c, const std::string& file, int animation,
                      const std::string& anm, int frame, Reference reference, double tolerance = 1e-4) {
  SCOPED_TRACE(file + ", animation " + std::to_string(animation) + ", frame " + std::to_string(frame));
  SkinnedModel model;
  EXPECT_TRUE(ReadSkinnedMesh(model, c.skm));
  const std::vector<Vec3> editor =
      reference == Reference::PoseCommand ? PoseCommand(c, anm, frame) : UnitKeyPose(c, anm, frame);
  EXPECT_EQ(editor.size(), model.vertexCount());
  if (editor.size() != model.vertexCount()) return 1e9;
  const gltfread::File f = gltfread::Read(file);
  const std::vector<std::vector<Vec3>> skinned = SkinFile(f, animation, frame / 60.0);
  const std::vector<uint32_t> materials = FaceMaterialIds(model);
  std::map<uint32_t, std::vector<std::size_t>> facesOf;
  for (std::size_t face = 0; face < materials.size(); ++face) facesOf[materials[face]].push_back(face);
  const nlohmann::json& primitives = f.json["meshes"][0]["primitives"];
  EXPECT_EQ(primitives.size(), facesOf.size());
  if (primitives.size() != facesOf.size()) return 1e9;
  double worst = 0;
  std::size_t p = 0;
  for (const auto& [material, faces] : facesOf) {
    const std::vector<double> indices = f.numbers(primitives[p]["indices"]);
    EXPECT_EQ(indices.size(), 3 * faces.size());
    if (indices.size() != 3 * faces.size()) return 1e9;
    for (std::size_t k = 0; k < faces.size(); ++k) {
      const std::size_t corners[3] = {0, 2, 1};
      for (std::size_t i = 0; i < 3; ++i) {
        const Vec3& ours = editor[model.skinnedMesh.indices[3 * faces[k] + corners[i]]];
        const Vec3& theirs = skinned[p][static_cast<std::size_t>(indices[3 * k + i])];
        for (int axis = 0; axis < 3; ++axis) {
          const double expected = axis == 2 ? -ours[2] : ours[static_cast<std::size_t>(axis)];
          worst = std::max(worst, std::fabs(theirs[static_cast<std::size_t>(axis)] - expected));
        }
      }
    }
    ++p;
  }
  EXPECT_LE(worst, tolerance);
  return worst;
}

TEST(GltfPoseRoundTrip, TheSampleAnimationsMoveEveryVertexAsTheEditorDoes) {
  const gltfinterop::ExportCase& c = gltfinterop::Cases()[0];
  double commandDistance = 0;
  for (int a = 0; a < 2; ++a) {
    const std::string& anm = c.animations[static_cast<std::size_t>(a)];
    Animation animation;
    animation.boneCount = 13;
    ASSERT_TRUE(ReadAnimationFile(animation, anm));
    const int last = animation.keys().back().time;
    for (int frame : {0, 1, last / 3, last / 2 + 1, last - 1}) {
      ExpectSamePose(c, c.glb, a, anm, frame, Reference::UnitKeys);
      commandDistance =
          std::max(commandDistance, ExpectSamePose(c, c.glb, a, anm, frame, Reference::PoseCommand, 1e-3));
    }
    ExpectSamePose(c, c.gltf, a, anm, last / 2, Reference::UnitKeys);
  }
  std::printf("largest distance to posewright-cli pose on the sample animations: %.3g\n", commandDistance);
}

// An animation that starts late (playback extrapolates back to frame 0) and
// turns bones almost half round between keyframes: the file needs its extra
// samples to follow. Its rotations are unit in four decimals, so the
// comparison is with the pose command itself.
TEST(GltfPoseRoundTrip, ALateStartAndWideTurnsMoveAsTheEditorMovesThem) {
  const gltfinterop::ExportCase& sample = gltfinterop::Cases()[0];
  gltfinterop::ExportCase c = sample;
  c.name = "late";
  c.glb = sample.skm + ".late.glb";
  Animation animation;
  animation.boneCount = 13;
  std::vector<D3DXQUATERNION> first(13), second(13);
  // Turns of 174° whose four decimals are exactly unit (0.9984² + 0.024² +
  // 0.0512² = 1), so the editor's matrices stay rigid.
  first[0] = {0.0f, 0.9984f, 0.0240f, 0.0512f};
  second[5] = {0.9984f, 0.0240f, 0.0f, 0.0512f};
  second[6] = {0.0f, 0.0240f, 0.9984f, 0.0512f};
  second[9] = {0.6f, 0.0f, 0.0f, 0.8f};
  animation.InsertKey(first, 24);
  animation.InsertKey(second, 40);
  const std::string anm = sample.skm + ".late.anm";
  ASSERT_TRUE(WriteAnimationFile(animation, anm));
  gltfinterop::Run(gltfinterop::Cli() + " export " + c.skm + " --anim " + anm + " -o " + c.glb);
  for (int frame : {0, 5, 12, 23, 24, 31, 39})
    ExpectSamePose(c, c.glb, 0, anm, frame, Reference::PoseCommand);
}

TEST(GltfPoseRoundTrip, GeneratedModelsMoveAsTheEditorMovesThem) {
  for (const gltfinterop::ExportCase& c : gltfinterop::Cases()) {
    if (c.name != "bones_255" && c.name != "bone_one" && c.name != "vertices_65535") continue;
    for (int frame : {3, 17}) ExpectSamePose(c, c.glb, 0, c.animations[0], frame, Reference::UnitKeys);
  }
}

}  // namespace
}  // namespace posewright
