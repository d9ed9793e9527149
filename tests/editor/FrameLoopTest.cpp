#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "ScriptedShell.h"
#include "editor/FrameLoop.h"
#include "editor/MouseInput.h"
#include "render/RecordingDevice.h"
#include "render/SceneColors.h"
#include "support/ModelFixtures.h"

namespace posewright {

namespace {
// A model of two quads on a chain of two bones, facing the front camera.
void LoadQuads(Application& app) {
  fixtures::AddQuad(app.model, {-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, 0, 0);
  fixtures::AddQuad(app.model, {2, -1, 0}, {2, 1, 0}, {3, 1, 0}, {3, -1, 0}, 1, 0);
  fixtures::Finish(app.model, {fixtures::Material(1, 0, 0)}, fixtures::ChainSkeleton(2));
  app.boneItems = fixtures::ChainItems(2);
  refreshCamera(app.camera, 0, 0, 0);
}

struct FrameLoopTest : ::testing::Test {
  Application app;
  ScriptedShell shell{app};
  RecordingDevice device;
  RenderResources resources;
  FrameLoop loop{app, shell, device, resources};

  int Clears() const { return static_cast<int>(device.logLines("clear").size()); }
};

TEST(FramePacer, KeepsSixteenMillisecondsBetweenFrameStartsAcrossClockWrap) {
  FramePacer pacer;
  EXPECT_TRUE(pacer.due(12345));
  pacer.frameBegan(0xFFFFFFF8u);
  EXPECT_FALSE(pacer.due(0xFFFFFFFFu));
  EXPECT_EQ(pacer.msUntilDue(0xFFFFFFFFu), 9u);
  EXPECT_FALSE(pacer.due(7));
  EXPECT_TRUE(pacer.due(8));
  EXPECT_EQ(pacer.msUntilDue(8), 0u);
}

TEST_F(FrameLoopTest, DrawsNothingUntilMeshAndSkeletonAreLoaded) {
  EXPECT_FALSE(loop.wantsFrame(0));
  EXPECT_FALSE(loop.frame(0));
  EXPECT_EQ(Clears(), 0);
  fixtures::AddQuad(app.model, {-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}, 0, 0);
  fixtures::Finish(app.model, {fixtures::Material(1, 0, 0)}, Skeleton{});
  EXPECT_FALSE(loop.frame(100));  // a mesh without a skeleton
  EXPECT_EQ(Clears(), 0);
}

TEST_F(FrameLoopTest, DrawsAtMostOneFramePerSixteenMilliseconds) {
  LoadQuads(app);
  shell.selected = 101;
  EXPECT_TRUE(loop.frame(1000));
  EXPECT_EQ(app.selectedBoneItem, 101u);
  EXPECT_EQ(device.logLines("clear"), std::vector<std::string>{"clear ff1e3c5a 1 0"});
  EXPECT_FALSE(loop.wantsFrame(1015));
  EXPECT_FALSE(loop.frame(1015));
  EXPECT_EQ(loop.msUntilNextFrame(1015), 1u);
  EXPECT_TRUE(loop.frame(1016));
  EXPECT_EQ(Clears(), 2);
}

TEST_F(FrameLoopTest, UnknownTreeItemPutsTheRingOnTheLastBone) {
  LoadQuads(app);
  shell.selected = 12345;
  ASSERT_TRUE(loop.frame(1000));
  std::vector<RecordedDraw> outlines;
  for (const RecordedDraw& d : device.draws) {
    if (d.stream == resources.boneShape.vertexBuffer) outlines.push_back(d);
  }
  ASSERT_EQ(outlines.size(), 2u);
  EXPECT_EQ(outlines[0].diffuse(), kBoneColor);
  EXPECT_EQ(outlines[1].diffuse(), kSelectedBoneColor);
}

TEST_F(FrameLoopTest, PlaybackShowsTheFrameTimeBeforeTheIncrement) {
  LoadQuads(app);
  Animation walk;
  walk.boneCount = 2;
  const std::vector<D3DXQUATERNION> rest(2);
  walk.InsertKey(rest, 0);
  walk.InsertKey(rest, 30);
  app.animation.animations.AppendAnimation(walk);
  app.animation.playing = true;
  ASSERT_TRUE(loop.frame(0));
  EXPECT_EQ(shell.keyframeView.timeText, "0");
  EXPECT_EQ(shell.keyframeView.position, 0);
  EXPECT_EQ(app.animation.currentTime, 1);
  ASSERT_TRUE(loop.frame(16));
  EXPECT_EQ(shell.keyframeView.timeText, "1");
  EXPECT_EQ(shell.keyframeView.position, 1);
  EXPECT_EQ(app.animation.currentTime, 2);
  // A frame that comes too early does not advance playback.
  EXPECT_FALSE(loop.frame(20));
  EXPECT_EQ(app.animation.currentTime, 2);
}

TEST_F(FrameLoopTest, ClearShowsOnlyTheClearColourEvenWithoutAModel) {
  loop.requestClear();
  EXPECT_TRUE(loop.wantsFrame(0));
  EXPECT_TRUE(loop.frame(0));
  EXPECT_EQ(device.logLines("clear"), std::vector<std::string>{"clear ff1e3c5a 1 0"});
  EXPECT_TRUE(device.draws.empty());
  EXPECT_FALSE(loop.frame(100));
}

TEST_F(FrameLoopTest, RubberBandSelectionIsCarriedOutByTheNextDrawnFrame) {
  app.vertexMode = true;
  ApplyMouseButton(app, MouseButton::Left, true);
  ApplyMouseMove(app, {250, 150}, kKeyLeftButton);
  ApplyMouseMove(app, {550, 300}, kKeyLeftButton);
  EXPECT_TRUE(app.mouse.dragRectVisible);
  ApplyMouseButton(app, MouseButton::Left, false);
  EXPECT_FALSE(app.selectionRequest.pending);  // the release alone selects nothing
  ApplyMouseMove(app, {551, 301}, 0);
  ASSERT_TRUE(app.selectionRequest.pending);
  EXPECT_FALSE(app.mouse.dragRectVisible);
  // Nothing drawn yet: the request waits.
  EXPECT_FALSE(loop.frame(0));
  EXPECT_TRUE(app.selectionRequest.pending);

  LoadQuads(app);
  ASSERT_TRUE(loop.frame(0));
  EXPECT_FALSE(app.selectionRequest.pending);
  // Front view at distance 8 on 800 × 581 pixels: x = −1 → 300, x = 1 → 500,
  // y = 1 → 193.7, y = −1 → 387.3; the drag 250..550 × 150..300 holds the
  // two top corners of the left quad.
  EXPECT_EQ(app.model.selection.selected, (std::vector<uint8_t>{0, 1, 1, 0, 0, 0, 0, 0}));
}

TEST(MouseInput, RightDragOrbitsAndBothButtonsZoom) {
  Application app;
  ApplyMouseButton(app, MouseButton::Right, true);
  ApplyMouseMove(app, {100, 100}, kKeyRightButton);  // first move only records the spot
  ApplyMouseMove(app, {110, 90}, kKeyRightButton);
  EXPECT_NEAR(app.camera.yaw, -10 * 3.14159265f / 360, 1e-6f);
  EXPECT_NEAR(app.camera.pitch, 10 * 3.14159265f / 360, 1e-6f);
  ApplyMouseButton(app, MouseButton::Left, true);
  ApplyMouseMove(app, {110, 90}, kKeyRightButton | kKeyLeftButton);
  ApplyMouseMove(app, {110, 110}, kKeyRightButton | kKeyLeftButton);
  EXPECT_NEAR(app.camera.distance, 9.0f, 1e-5f);
  EXPECT_NEAR(app.camera.projection._11, 2.0f / 9.0f, 1e-6f);
}

}  // namespace

namespace {
// A looping animation on the two-quad model whose loop ends at lastKey.
void AddLoop(Application& app, int32_t lastKey) {
  LoadQuads(app);
  Animation loop;
  loop.boneCount = 2;
  std::vector<D3DXQUATERNION> pose(2);
  loop.InsertKey(pose, 0);
  pose[1] = D3DXQUATERNION(0, 0, 0.6f, 0.8f);
  loop.InsertKey(pose, lastKey / 3);
  loop.InsertKey(std::vector<D3DXQUATERNION>(2), lastKey);
  app.animation.animations.AppendAnimation(loop);
  app.animation.playing = true;
}

// Playback follows the clock: drawing at 60 frames per second shows every
// animation frame once; drawing at 30 shows about every other one, and a loop
// of 60 frames takes one second either way.
TEST_F(FrameLoopTest, PlaybackFollowsTheClockAtAnyDrawingRate) {
  struct Case {
    uint32_t intervalMs;
    std::set<int> steps;  // frames the time moves on per drawn frame
  };
  for (const Case& c : {Case{16, {1}}, Case{33, {1, 2}}}) {
    SCOPED_TRACE(c.intervalMs);
    Application app;
    ScriptedShell shell{app};
    RecordingDevice device;
    RenderResources resources;
    FrameLoop loop{app, shell, device, resources};
    loop.setFrameInterval(c.intervalMs);
    AddLoop(app, 61);  // 0 … 60, then the loop 1 … 60: 60 frames
    uint32_t now = 5000;
    std::vector<int> shown;
    std::vector<uint32_t> wraps;
    while (now < 8000 && wraps.size() < 2) {
      ASSERT_TRUE(loop.frame(now));
      shown.push_back(std::stoi(shell.keyframeView.timeText));
      if (shown.size() > 1 && shown.back() < shown[shown.size() - 2]) {
        wraps.push_back(now);
      } else if (shown.size() > 1) {
        EXPECT_EQ(c.steps.count(shown.back() - shown[shown.size() - 2]), 1u) << "frame " << shown.size();
      }
      now += loop.msUntilNextFrame(now);
    }
    ASSERT_EQ(wraps.size(), 2u);
    EXPECT_NEAR(static_cast<double>(wraps[1] - wraps[0]), 1000.0, 35.0);
    EXPECT_NEAR(static_cast<double>(wraps[0] - 5000), 1017.0, 35.0);
  }
}

// Frames skipped by a slow frame land where drawing every frame would have
// led, across the loop's end too; fixed steps ignore the clock.
TEST_F(FrameLoopTest, SkippedFramesLandWhereEveryFrameWouldHaveLed) {
  AddLoop(app, 25);
  Application each;
  ScriptedShell eachShell{each};
  RecordingDevice eachDevice;
  RenderResources eachResources;
  FrameLoop everyFrame{each, eachShell, eachDevice, eachResources};
  AddLoop(each, 25);
  uint32_t now = 100;
  ASSERT_TRUE(loop.frame(now));
  ASSERT_TRUE(everyFrame.frame(now));
  for (uint32_t skip : {0u, 3u, 1u, 20u, 7u, 41u}) {
    for (uint32_t k = 0; k <= skip; ++k) {
      now += 17;
      ASSERT_TRUE(everyFrame.frame(now));
    }
    ASSERT_TRUE(loop.frame(now));
    EXPECT_EQ(shell.keyframeView.timeText, eachShell.keyframeView.timeText) << "skip " << skip;
    EXPECT_EQ(std::memcmp(&app.model.skeleton.bones[1].poseRotation,
                          &each.model.skeleton.bones[1].poseRotation, sizeof(D3DXQUATERNION)),
              0);
  }
  // A repaint before the clock moved on shows the same time again.
  const std::string time = shell.keyframeView.timeText;
  ASSERT_TRUE(loop.frame(now + 2, /*anyTime=*/true));
  EXPECT_EQ(shell.keyframeView.timeText, time);

  loop.setFixedSteps(true);
  ASSERT_TRUE(loop.frame(now + 1000));
  EXPECT_EQ(std::stoi(shell.keyframeView.timeText), std::stoi(time) + 1);
}
}  // namespace
}  // namespace posewright
