#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "ImportTestSupport.h"
#include "export/SkinnedMeshXWriter.h"
#include "importer/BoneDataWriter.h"
#include "importer/WeightAgreement.h"
#include "skeleton/BoneDataReader.h"
#include "tools/gen/RigExport.h"

namespace posewright {

namespace {
using namespace import_test;

struct Imported {
  RiggedImport import;
  SkinnedModel model;
  std::vector<VertexInfluences> fileInfluences;
};

// Reads a rigged model and installs it in a model of its own.
std::unique_ptr<Imported> ImportRig(const std::string& path) {
  auto out = std::make_unique<Imported>();
  const Status s = ImportRiggedModel(path, out->import);
  EXPECT_TRUE(s) << s.message << ": " << s.detail;
  if (!s) return nullptr;
  out->fileInfluences = out->import.rig.influences;
  RiggedImport copy = out->import;
  InstallRiggedImport(out->model, std::move(copy));
  return out;
}

const Bone* BoneNamed(const Skeleton& skeleton, const std::string& name) {
  for (const Bone& b : skeleton.bones) {
    if (b.name == name) return &b;
  }
  return nullptr;
}

// The joints that weigh most on the model vertex at position p (more than
// one when they tie); empty when no vertex lies there.
std::vector<uint32_t> HeaviestJointsAt(const RigModel& model, const D3DXVECTOR3& p) {
  for (std::size_t v = 0; v < model.vertices.size(); ++v) {
    if (Distance(model.vertices[v].position, p) < 1e-4f) {
      float most = 0.0f;
      for (const auto& [joint, weight] : model.weights[v]) most = std::max(most, weight);
      std::vector<uint32_t> joints;
      for (const auto& [joint, weight] : model.weights[v]) {
        if (weight >= most - 1e-4f) joints.push_back(joint);
      }
      return joints;
    }
  }
  return {};
}

void ExpectSameSkeleton(const Skeleton& a, const Skeleton& b) {
  ASSERT_EQ(a.boneCount(), b.boneCount());
  for (std::size_t i = 0; i < a.bones.size(); ++i) {
    SCOPED_TRACE("bone " + std::to_string(i));
    EXPECT_EQ(a.bones[i].name, b.bones[i].name);
    EXPECT_EQ(a.bones[i].parentId, b.bones[i].parentId);
    EXPECT_EQ(a.bones[i].begin, b.bones[i].begin);
    EXPECT_EQ(a.bones[i].end, b.bones[i].end);
    EXPECT_EQ(a.bones[i].restRotation, b.bones[i].restRotation);
    EXPECT_EQ(a.bones[i].restRotationInverse, b.bones[i].restRotationInverse);
    const BoneAnchor& x = a.anchors[i];
    const BoneAnchor& y = b.anchors[i];
    EXPECT_EQ(x.vertices, y.vertices);
    EXPECT_EQ(x.faceNormals, y.faceNormals);
    EXPECT_EQ(x.faces, y.faces);
    if (i > 0) {
      EXPECT_EQ(x.boxMin, y.boxMin);
      EXPECT_EQ(x.boxMax, y.boxMax);
    }
  }
}

// What every rigged import must give, whatever the model and format: the
// file's joints as bones at their points with their parents, rest rotations
// along the bones, the file's heaviest joint kept on every vertex, every
// vertex in one to four anchors, automatic weights from the anchors that
// agree with the file's on at least nine vertices in ten, and bone data that
// reads back exactly.
void CheckRiggedImport(const RigModel& rig, const std::string& path) {
  const std::unique_ptr<Imported> imported = ImportRig(path);
  ASSERT_NE(imported, nullptr);
  const Skeleton& skeleton = imported->model.skeleton;
  ASSERT_TRUE(skeleton.bonesLoaded);
  EXPECT_EQ(skeleton.boneCount(),
            static_cast<int32_t>(rig.joints.size()) + (imported->import.rig.rootAdded ? 1 : 0));
  for (const RigModelJoint& joint : rig.joints) {
    const Bone* bone = BoneNamed(skeleton, joint.name);
    if (bone == nullptr) {
      // The joint became the root, which is named Root.
      EXPECT_FALSE(imported->import.rig.rootAdded) << joint.name;
      bone = &skeleton.bones[0];
    }
    EXPECT_LT(Distance(bone->begin, joint.head), 1e-4f) << joint.name;
    const std::string parent =
        joint.parent >= 0 ? rig.joints[static_cast<std::size_t>(joint.parent)].name : "Root";
    if (bone != &skeleton.bones[0]) {
      const Bone& up = skeleton.bones[static_cast<std::size_t>(bone->parentId)];
      EXPECT_TRUE(up.name == parent || (bone->parentId == 0 && !imported->import.rig.rootAdded))
          << joint.name;
    }
  }
  for (std::size_t b = 1; b < skeleton.bones.size(); ++b) {
    const Bone& bone = skeleton.bones[b];
    D3DXVECTOR3 along;
    const D3DXVECTOR3 axis = bone.end - bone.begin;
    D3DXVec3Normalize(&along, &axis);
    EXPECT_LT(Distance(RotateVectorByQuaternion(D3DXVECTOR3(0, 0, 1), bone.restRotation), along), 1e-4f)
        << bone.name;
  }

  const std::vector<SkinVertex>& vertices = imported->model.skinnedMesh.vertices;
  std::size_t matched = 0;
  for (const SkinVertex& v : vertices) {
    const std::vector<uint32_t> joints = HeaviestJointsAt(rig, v.position);
    if (joints.empty()) continue;
    ++matched;
    const std::string& name = skeleton.bones[static_cast<std::size_t>(DominantSlotBone(v))].name;
    EXPECT_TRUE(std::any_of(joints.begin(), joints.end(), [&](uint32_t j) {
      return rig.joints[j].name == name;
    })) << name;
  }
  EXPECT_EQ(matched, vertices.size());

  const WeightAgreement agreement = MeasureWeightAgreement(imported->model, imported->fileInfluences);
  EXPECT_GE(agreement.coverage.fewest, 1);
  EXPECT_LE(agreement.coverage.most, 4);
  EXPECT_GE(agreement.share(), 0.9);
  std::printf("%s: %zu vertices, %d bones, anchors per vertex %d..%d, same heaviest bone %.1f %%\n",
              FileNameOf(path).c_str(), vertices.size(), skeleton.boneCount(), agreement.coverage.fewest,
              agreement.coverage.most, 100.0 * agreement.share());

  const BoneDataResult back = ParseBoneData(FormatBoneData(skeleton), "back.dat");
  ASSERT_TRUE(back.status) << back.status.detail;
  ExpectSameSkeleton(skeleton, back.skeleton);
}

TEST(RigImport, EveryTestRigInEveryFormat) {
  TempDir folder("rigformats");
  const struct {
    const char* format;
    const char* extension;
  } formats[] = {{"glb2", ".glb"}, {"gltf2", ".gltf"}, {"collada", ".dae"}, {"fbxa", ".fbx"}};
  for (const RigModel& rig : AllTestRigs()) {
    if (rig.joints.empty()) continue;
    for (const auto& f : formats) {
      SCOPED_TRACE(rig.name + f.extension);
      const std::string path = folder.path(rig.name + f.extension);
      ASSERT_TRUE(ExportRigModel(rig, f.format, path));
      CheckRiggedImport(rig, path);
    }
  }
}

TEST(RigImport, KeptRigs) {
  const struct {
    RigModel rig;
    const char* file;
  } kept[] = {{BentTubeRig(), "bent_tube.glb"},
              {TwoRootRig(), "two_roots.dae"},
              {LeafHeavyHandRig(), "hand.fbx"},
              {ManyInfluencesRig(), "many_influences.dae"},
              {NoNormalsRig(), "no_normals.glb"}};
  for (const auto& k : kept) {
    SCOPED_TRACE(k.file);
    CheckRiggedImport(k.rig, KeptRig(k.file));
  }
}

// Models made in a 3D suite: every format of a model gives the same bones.
TEST(RigImport, PublicRigsLoadAndAgreeAcrossFormats) {
  const std::vector<std::string> files = PublicRigs();
  if (files.empty()) GTEST_SKIP() << "no public rigs in " << PublicRigFolder();
  std::map<std::string, std::map<std::string, D3DXVECTOR3>> bonesOfModel;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    const std::unique_ptr<Imported> imported = ImportRig(path);
    ASSERT_NE(imported, nullptr);
    const WeightAgreement agreement = MeasureWeightAgreement(imported->model, imported->fileInfluences);
    EXPECT_GE(agreement.coverage.fewest, 1);
    EXPECT_LE(agreement.coverage.most, 4);
    EXPECT_GE(agreement.share(), 0.9);
    std::printf("%s: %zu vertices, %d bones, anchors per vertex %d..%d, same heaviest bone %.1f %%\n",
                FileNameOf(path).c_str(), imported->model.vertexCount(), imported->model.skeleton.boneCount(),
                agreement.coverage.fewest, agreement.coverage.most, 100.0 * agreement.share());
    const std::string model = FileNameOf(path).substr(0, FileNameOf(path).find('.'));
    std::map<std::string, D3DXVECTOR3> bones;
    for (const Bone& b : imported->model.skeleton.bones) {
      // Collada names the bones after their armature.
      const std::string name = b.name.rfind("Armature_", 0) == 0 ? b.name.substr(9) : b.name;
      bones[name] = b.begin;
    }
    auto& first = bonesOfModel[model];
    if (first.empty()) {
      first = bones;
      continue;
    }
    ASSERT_EQ(bones.size(), first.size());
    for (const auto& [name, begin] : bones) {
      ASSERT_EQ(first.count(name), 1u) << name;
      EXPECT_LT(Distance(first[name], begin), 1e-3f) << name;
    }
  }
}

TEST(RigImport, TwoRootsGetAnAddedRootAndMirrorPartners) {
  const std::unique_ptr<Imported> imported = ImportRig(KeptRig("two_roots.dae"));
  ASSERT_NE(imported, nullptr);
  const Skeleton& s = imported->model.skeleton;
  EXPECT_TRUE(imported->import.rig.rootAdded);
  EXPECT_EQ(s.bones[0].begin, D3DXVECTOR3(0, 0, 0));
  auto index = [&](const std::string& name) {
    return static_cast<int32_t>(BoneNamed(s, name) - s.bones.data());
  };
  for (const auto& [left, right] :
       {std::pair{"LeftThigh", "RightThigh"}, std::pair{"LeftShin", "RightShin"}}) {
    EXPECT_EQ(s.bones[static_cast<std::size_t>(index(left))].symmetricId, index(right));
    EXPECT_EQ(s.bones[static_cast<std::size_t>(index(right))].symmetricId, index(left));
    EXPECT_GT(BoneNamed(s, left)->begin.x, 0.0f);  // the model's left side stays at +X
  }
}

TEST(RigImport, BoneEndsFollowChildrenAndLeavesFollowTheirParents) {
  const std::unique_ptr<Imported> tube = ImportRig(KeptRig("bent_tube.glb"));
  ASSERT_NE(tube, nullptr);
  const Skeleton& s = tube->model.skeleton;
  const Bone& lower = *BoneNamed(s, "Lower");
  const Bone& middle = *BoneNamed(s, "Middle");
  const Bone& upper = *BoneNamed(s, "Upper");
  EXPECT_EQ(lower.end, middle.begin);
  EXPECT_EQ(middle.end, upper.begin);
  EXPECT_LT(Distance(upper.end - upper.begin, middle.end - middle.begin), 1e-5f);
  // The palm's five fingers carry equally many joints: it ends between them.
  const std::unique_ptr<Imported> hand = ImportRig(KeptRig("hand.fbx"));
  ASSERT_NE(hand, nullptr);
  D3DXVECTOR3 sum(0, 0, 0);
  for (const char* finger : {"Thumb1", "Index1", "Middle1", "Ring1", "Pinky1"}) {
    sum += BoneNamed(hand->model.skeleton, finger)->begin;
  }
  EXPECT_LT(Distance(BoneNamed(hand->model.skeleton, "Palm")->end, sum * 0.2f), 1e-5f);
}

// Six bones weigh on every vertex: the four heaviest are kept, renormalised;
// the hub at the origin moves nothing and becomes the root.
TEST(RigImport, MoreThanFourInfluencesKeepTheFourStrongest) {
  const RigModel rig = ManyInfluencesRig();
  const std::unique_ptr<Imported> imported = ImportRig(KeptRig("many_influences.dae"));
  ASSERT_NE(imported, nullptr);
  const RigSkeleton& result = imported->import.rig;
  EXPECT_FALSE(result.rootAdded);
  EXPECT_EQ(imported->model.skeleton.boneCount(), 7);
  EXPECT_EQ(result.verticesOverFourBones, result.influences.size());
  for (std::size_t v = 0; v < result.influences.size(); ++v) {
    const VertexInfluences& in = result.influences[v];
    ASSERT_EQ(in.count, 4);
    const D3DXVECTOR3& p = imported->model.skinnedMesh.vertices[v].position;
    std::size_t source = 0;
    while (source < rig.vertices.size() && Distance(rig.vertices[source].position, p) > 1e-4f) ++source;
    ASSERT_LT(source, rig.vertices.size());
    std::vector<std::pair<uint32_t, float>> file = rig.weights[source];
    std::stable_sort(file.begin(), file.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    const float kept = file[0].second + file[1].second + file[2].second + file[3].second;
    for (int k = 0; k < 4; ++k) {
      const Bone& bone = imported->model.skeleton.bones[in.bones[k]];
      EXPECT_EQ(bone.name, rig.joints[file[static_cast<std::size_t>(k)].first].name);
      EXPECT_NEAR(in.weights[k], file[static_cast<std::size_t>(k)].second / kept, 1e-5f);
    }
  }
}

// Skinned .x files open as rigged models through the editor's own .x reader:
// the editor's export of an imported model (its frames carry no joint
// points, so only the bones and weights come back) and a file from another
// program.
TEST(RigImport, SkinnedXFilesOpenAsRigs) {
  const std::unique_ptr<Imported> tube = ImportRig(KeptRig("bent_tube.glb"));
  ASSERT_NE(tube, nullptr);
  TempDir folder("xrig");
  ASSERT_TRUE(WriteSkinnedMeshX(folder.path("tube.x"), ExportOptions{}, tube->model, nullptr));
  const std::unique_ptr<Imported> back = ImportRig(folder.path("tube.x"));
  ASSERT_NE(back, nullptr);
  const Skeleton& a = tube->model.skeleton;
  const Skeleton& b = back->model.skeleton;
  ASSERT_EQ(b.boneCount(), a.boneCount());
  for (std::size_t i = 1; i < a.bones.size(); ++i) {
    EXPECT_EQ(b.bones[i].name, a.bones[i].name);
    EXPECT_EQ(b.bones[i].parentId, a.bones[i].parentId);
  }
  ASSERT_EQ(back->model.vertexCount(), tube->model.vertexCount());
  for (std::size_t v = 0; v < tube->model.vertexCount(); ++v) {
    // The file carries weights with six decimals: the smallest come back as 0.
    const VertexInfluences& x = tube->fileInfluences[v];
    const VertexInfluences& y = back->fileInfluences[v];
    for (int k = 0; k < x.count; ++k) {
      if (x.weights[k] < 1e-5f) continue;
      EXPECT_EQ(y.bones[k], x.bones[k]);
      EXPECT_NEAR(y.weights[k], x.weights[k], 1e-5f);
    }
  }
  const std::unique_ptr<Imported> cube = ImportRig(SharedTestDataDir() + "/x/test_cube_text.x");
  ASSERT_NE(cube, nullptr);
  ASSERT_EQ(cube->model.skeleton.boneCount(), 2);
  EXPECT_EQ(cube->model.skeleton.bones[1].name, "Cube");
  for (const SkinVertex& v : cube->model.skinnedMesh.vertices) EXPECT_EQ(DominantSlotBone(v), 1);
}

TEST(RigImport, ArmaturesThatCannotBeUsedAreRefusedAndTheModelStaysAsItWas) {
  ImportedRig noWeights;
  noWeights.joints.push_back(RigJoint{"A", -1, {}});
  noWeights.weights.push_back(RigWeight{0, 0, 0.0f});
  ImportedRig tooMany;
  for (int j = 0; j < 256; ++j) {
    RigJoint joint{"J" + std::to_string(j), j - 1, {}};
    D3DXMatrixTranslation(&joint.bindWorld, 0, static_cast<float>(j + 1), 0);
    tooMany.joints.push_back(joint);
    tooMany.weights.push_back(RigWeight{0, static_cast<uint32_t>(j), 1.0f});
  }
  const struct {
    ImportedRig rig;
    std::string detail;
  } cases[] = {
      {ImportedRig{}, "m.glb: the file has no armature that deforms its mesh (no mesh is bound to bones)"},
      {noWeights, "m.glb: the armature does not deform the mesh: no vertex has a bone weight above 0"},
      {tooMany, "m.glb: the armature needs 257 bones with the root; at most 256 can be used"},
  };
  for (const auto& c : cases) {
    RigSkeleton out;
    const Status s = BuildRigSkeleton(c.rig, {D3DXVECTOR3(0, 1, 0)}, "m.glb", out);
    EXPECT_FALSE(s);
    EXPECT_EQ(s.detail, c.detail);
  }

  SkinnedModel model;
  ASSERT_TRUE(LoadRiggedModel(model, KeptRig("bent_tube.glb")));
  const std::vector<SkinVertex> vertices = model.skinnedMesh.vertices;
  for (const std::string& bad : {KeptRig("quads.obj"), KeptRig("missing.glb")}) {
    const Status s = LoadRiggedModel(model, bad);
    EXPECT_FALSE(s);
    EXPECT_EQ(s.detail.rfind(FileNameOf(bad) + ": ", 0), 0u) << s.detail;
    EXPECT_EQ(model.skeleton.boneCount(), 4);
    EXPECT_EQ(model.skinnedMesh.vertices.size(), vertices.size());
  }
}

TEST(RigImport, BoneNamesBecomeSingleWords) {
  EXPECT_EQ(BoneNameFor("Upper Arm\t.L", 3), "Upper_Arm_.L");
  EXPECT_EQ(BoneNameFor("", 7), "Bone7");
  EXPECT_EQ(BoneNameFor(std::string(100, 'a'), 1).size(), kMaxImportedNameLength);
}
}  // namespace
}  // namespace posewright
