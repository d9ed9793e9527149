// Filling the bone list from a skeleton: labels, nesting and the bone-item map.
#include <gtest/gtest.h>

#include "editor/panels/BoneTree.h"
#include "skeleton/BoneDataReader.h"
#include "support/BoneDataText.h"
#include "support/RecordingBoneTree.h"

namespace posewright {

namespace {
TEST(FillBoneTree, EntriesAreNestedByParentAndMappedToTheirBones) {
  // Root
  // ├─ B1 ( 1 )
  // │  ├─ B2 ( 2 )
  // │  └─ Arm ( 3 )
  // └─ B4 ( 4 )
  std::string text = BoneDataWithParents({0, 1, 1, 0});
  text.replace(text.find("Name: B3"), 8, "Name: Arm");
  const BoneDataResult r = ParseBoneData(text, "tree.dat");
  ASSERT_TRUE(r.status.ok) << r.status.describe();
  const Skeleton& s = r.skeleton;
  RecordingBoneTree tree;
  tree.append(0, "left over");
  BoneItemMap items = {7};
  FillBoneTree(s, tree, items);
  ASSERT_EQ(tree.entries().size(), 5u);
  EXPECT_EQ(tree.clearCount(), 1);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(tree.entry(items[0]).label, "Root");
  EXPECT_EQ(tree.entry(items[0]).parent, 0u);
  EXPECT_EQ(tree.entry(items[3]).label, "Arm ( 3 ) ");
  EXPECT_EQ(tree.entry(items[3]).parent, items[1]);
  EXPECT_EQ(tree.entry(items[2]).parent, items[1]);
  EXPECT_EQ(tree.entry(items[1]).parent, items[0]);
  EXPECT_EQ(tree.entry(items[4]).label, "B4 ( 4 ) ");
  EXPECT_EQ(tree.entry(items[4]).parent, items[0]);
  EXPECT_EQ(BoneIndexOfItem(s, items, items[3]), 3);

  // A SkinnedMesh file's skeleton labels its root like every other bone.
  FillBoneTree(s, tree, items, RootLabel::Named);
  EXPECT_EQ(tree.clearCount(), 2);
  ASSERT_EQ(tree.entries().size(), 5u);
  EXPECT_EQ(tree.entry(items[0]).label, "Root ( 0 ) ");
  EXPECT_EQ(tree.entry(items[3]).label, "Arm ( 3 ) ");
  EXPECT_EQ(tree.entry(items[3]).parent, items[1]);
}

// A parent that does not come before its bone stops FillBoneTree where asserts
// are on (debug and sanitizer builds).
TEST(FillBoneTreeDeathTest, ParentAfterOrAtTheBoneStops) {
#ifdef NDEBUG
  GTEST_SKIP() << "asserts are off in this build";
#else
  for (const int32_t parent : {-1, 1, 2}) {
    Skeleton skeleton;
    skeleton.bones.resize(3);
    skeleton.bones[1].parentId = parent;
    RecordingBoneTree tree;
    BoneItemMap items;
    EXPECT_DEATH(FillBoneTree(skeleton, tree, items), "parents come first") << "parent " << parent;
  }
#endif
}
}  // namespace
}  // namespace posewright
