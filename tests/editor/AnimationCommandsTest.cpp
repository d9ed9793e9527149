#include <gtest/gtest.h>

#include <filesystem>

#include "anim/AnimationFile.h"
#include "editor/AnimationCommands.h"
#include "fileio/FileBytes.h"
#include "support/AnimationTestSupport.h"
#include "support/ScriptedKeyframeView.h"
#include "support/TempDir.h"

namespace posewright {

namespace {
struct CommandFixture : ::testing::Test {
  AnimationState state;
  ScriptedKeyframeView view;
  KeyframePanel panel{state, view};
  Skeleton skeleton = MakeChain(2);
  TempDir folder{"anim_commands"};

  void SetUp() override { panel.initialize(); }
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = (folder.path() / name).string();
    EXPECT_TRUE(WriteFileAtomically(path, text));
    return path;
  }
};
}  // namespace

TEST_F(CommandFixture, AddNamesFromACounterThatIsNeverReused) {
  AddAnimationCommand(panel, skeleton);
  EXPECT_EQ(view.title, "Keyframe : Unnamed(1)");
  EXPECT_EQ(state.animations.current()->boneCount, 2);
  view.answers = {true};
  RemoveAnimationCommand(panel);
  EXPECT_EQ(view.title, "Keyframe : ");
  ClearAnimationsCommand(state);  // File > New keeps the counter
  Skeleton none;
  AddAnimationCommand(panel, none);
  EXPECT_EQ(view.title, "Keyframe : Unnamed(2)");
  EXPECT_EQ(state.animations.current()->boneCount, 0);
}

TEST_F(CommandFixture, RemoveAsksAndTheNeighbourBecomesCurrent) {
  RemoveAnimationCommand(panel);
  EXPECT_EQ(view.boxes, std::vector<std::string>{"error: Cannot Remove"});
  for (int i = 0; i < 3; ++i) AddAnimationCommand(panel, skeleton);
  view.answers = {false};
  RemoveAnimationCommand(panel);
  EXPECT_EQ(view.boxes.back(), "Attention? This Animation will be erased.proceed?");
  EXPECT_EQ(state.animations.size(), 3);
  view.answers = {true};
  RemoveAnimationCommand(panel);  // the last: its predecessor
  EXPECT_EQ(view.title, "Keyframe : Unnamed(2)");
}

TEST_F(CommandFixture, PreviousAndNextSayWhenThereIsNoneAndKeepTheTitle) {
  PreviousAnimationCommand(panel);
  NextAnimationCommand(panel);
  EXPECT_EQ(view.boxes,
            (std::vector<std::string>{"error: No animations Exist", "error: No animations Exist"}));
  AddAnimationCommand(panel, skeleton);
  AddAnimationCommand(panel, skeleton);
  NextAnimationCommand(panel);
  EXPECT_EQ(view.boxes.back(), "attention: No more next animation.");
  PreviousAnimationCommand(panel);
  EXPECT_EQ(view.title, "Keyframe : Unnamed(1)");
  view.title = "kept";
  PreviousAnimationCommand(panel);
  EXPECT_EQ(view.boxes.back(), "attention: No more previous animation.");
  EXPECT_EQ(view.title, "kept");
  NextAnimationCommand(panel);
  EXPECT_EQ(view.title, "Keyframe : Unnamed(2)");
}

TEST_F(CommandFixture, SwitchingAnimationsKeepsPoseTimeAndWindow) {
  AddAnimationCommand(panel, skeleton);
  AddAnimationCommand(panel, skeleton);
  SetBonePose(skeleton.bones[1], AxisAngle(0, 0, 1, 0.3f));
  state.currentTime = 12;
  state.timelineStart = 25;
  PreviousAnimationCommand(panel);
  view.answers = {true};
  RemoveAnimationCommand(panel);
  ExpectNear(skeleton.bones[1].poseRotation, AxisAngle(0, 0, 1, 0.3f));
  EXPECT_EQ(state.currentTime, 12);
  EXPECT_EQ(state.timelineStart, 25);
}

TEST_F(CommandFixture, OpenNamesAfterTheFileAndAppendsEvenWhenNothingWasRead) {
  const std::string good = Write("walk.anm",
                                 "NumBones: 2\nTime: 30\nQuaternions: \n0 0 0 1\n0 0 0 1\n"
                                 "Time: 0\nQuaternions: \n0 0 0 1\n0 0 0 1\n");
  EXPECT_TRUE(OpenAnimationCommand(panel, skeleton, good));
  EXPECT_EQ(view.title, "Keyframe : walk.anm");
  EXPECT_EQ(KeyTimes(*state.animations.current()), (std::vector<int>{0, 30}));
  EXPECT_EQ(state.animations.current()->currentKeyframe()->time, 30);

  Skeleton three = MakeChain(3);
  EXPECT_FALSE(OpenAnimationCommand(panel, three, good));  // wrong bone count
  EXPECT_EQ(state.animations.size(), 2);
  EXPECT_TRUE(state.animations.current()->keys().empty());
  EXPECT_EQ(state.animations.current()->name, "walk.anm");

  EXPECT_FALSE(OpenAnimationCommand(panel, skeleton, folder.path("missing.anm")));
  EXPECT_EQ(view.title, "Keyframe : missing.anm");
  EXPECT_EQ(state.animations.size(), 3);
}

TEST_F(CommandFixture, LongFileNamesAreCutTo255BytesOnACharacterBoundary) {
  EXPECT_EQ(FitAnimationName(std::string(300, 'a')), std::string(255, 'a'));
  const std::string accented = std::string(254, 'a') + "\xC3\xA9" + "b";  // é straddles byte 255
  EXPECT_EQ(FitAnimationName(accented), std::string(254, 'a'));
  EXPECT_EQ(FitAnimationName("walk.anm"), "walk.anm");
}

TEST_F(CommandFixture, SaveWritesTheCurrentAnimationAndNothingWithoutOne) {
  const std::string path = folder.path("out.anm");
  EXPECT_TRUE(SaveAnimationCommand(state, path));
  EXPECT_FALSE(std::filesystem::exists(path));
  AddAnimationCommand(panel, skeleton);
  panel.sliderMoved(7);
  panel.addPressed(skeleton);
  ASSERT_TRUE(SaveAnimationCommand(state, path));
  EXPECT_EQ(ReadFileBytes(path), FormatAnimationFile(*state.animations.current()));
  EXPECT_FALSE(SaveAnimationCommand(state, (folder.path() / "no-such-folder" / "x.anm").string()));
}

TEST_F(CommandFixture, ClearingTheListStopsPlayback) {
  AddAnimationCommand(panel, skeleton);
  panel.sliderMoved(0);
  panel.addPressed(skeleton);
  panel.sliderMoved(10);
  panel.addPressed(skeleton);
  panel.playPressed();
  ASSERT_TRUE(state.playing);
  ClearAnimationsCommand(state);
  EXPECT_FALSE(state.playing);
  EXPECT_EQ(state.unnamedCounter, 1);
}
}  // namespace posewright
