#include <gtest/gtest.h>

#include "editor/MouseStateMachine.h"

namespace posewright {

namespace {
constexpr ButtonPair kNone{0, 0};
constexpr ButtonPair kLeft{1, 0};
constexpr ButtonPair kRight{0, 1};
constexpr ButtonPair kBoth{1, 1};
constexpr float kHalfDegree = 3.14159265f / 360.0f;

MouseState With(ButtonPair now, ButtonPair last) {
  MouseState s;
  s.current = now;
  s.last = last;
  s.dragStart = {5, 6};
  s.dragEnd = {7, 8};
  s.lastMouse = {100, 100};
  s.dragRectVisible = true;
  return s;
}

// Drives the machine through events; records the selection requests.
struct Mouse {
  MouseState state;
  bool vertexMode = true;
  std::vector<RectSelectionRequest> requests;
  int cameraMoves = 0;

  void press(MouseButton b) { state = OnMouseButton(state, b, true); }
  void release(MouseButton b) { state = OnMouseButton(state, b, false); }
  void move(int16_t x, int16_t y, uint32_t keys = 0) {
    const MouseMoveResult r = OnMouseMove(state, {x, y}, keys, vertexMode);
    state = r.state;
    cameraMoves += r.moveCamera ? 1 : 0;
    if (r.selection) requests.push_back(*r.selection);
  }
};

TEST(MouseStateMachine, LeftDragRows) {
  // last = none: start the band.
  MouseMoveResult r = OnMouseMove(With(kLeft, kNone), {20, 30}, 0, false);
  EXPECT_TRUE(r.state.dragRectVisible);
  EXPECT_EQ(r.state.dragStart, (ClientPoint{20, 30}));
  EXPECT_EQ(r.state.dragEnd, (ClientPoint{20, 30}));
  EXPECT_EQ(r.state.last, kLeft);
  // last = now: stretch it.
  r = OnMouseMove(With(kLeft, kLeft), {40, 50}, 0, false);
  EXPECT_EQ(r.state.dragStart, (ClientPoint{5, 6}));
  EXPECT_EQ(r.state.dragEnd, (ClientPoint{40, 50}));
  // otherwise (after a right drag): nothing at all.
  const MouseState before = With(kLeft, kRight);
  r = OnMouseMove(before, {40, 50}, 0, false);
  EXPECT_EQ(r.state.last, kRight);
  EXPECT_EQ(r.state.dragEnd, before.dragEnd);
  EXPECT_FALSE(r.moveCamera);
}

TEST(MouseStateMachine, RightDragRowsOrbit) {
  MouseMoveResult r = OnMouseMove(With(kRight, kLeft), {130, 90}, 0, false);
  EXPECT_FALSE(r.moveCamera);
  EXPECT_EQ(r.state.last, kLeft);
  EXPECT_EQ(r.state.lastMouse, (ClientPoint{100, 100}));

  r = OnMouseMove(With(kRight, kRight), {130, 90}, 0, false);
  ASSERT_TRUE(r.moveCamera);
  EXPECT_FLOAT_EQ(r.dYaw, -30 * kHalfDegree);   // right: yaw decreases
  EXPECT_FLOAT_EQ(r.dPitch, 10 * kHalfDegree);  // up: pitch increases
  EXPECT_EQ(r.dDistance, 0.0f);
  EXPECT_EQ(r.state.lastMouse, (ClientPoint{130, 90}));

  for (ButtonPair last : {kNone, kBoth}) {
    r = OnMouseMove(With(kRight, last), {130, 90}, 0, false);
    EXPECT_FALSE(r.moveCamera);
    EXPECT_EQ(r.state.lastMouse, (ClientPoint{130, 90}));
    EXPECT_FALSE(r.state.dragRectVisible);
    EXPECT_EQ(r.state.last, kRight);
  }
}

TEST(MouseStateMachine, BothButtonsZoom) {
  MouseMoveResult r = OnMouseMove(With(kBoth, kBoth), {100, 112}, 0, false);
  ASSERT_TRUE(r.moveCamera);
  EXPECT_FLOAT_EQ(r.dDistance, 12 * 0.05f);
  EXPECT_EQ(r.dPitch, 0.0f);
  EXPECT_EQ(r.dYaw, 0.0f);
  r = OnMouseMove(With(kBoth, kLeft), {100, 112}, 0, false);
  EXPECT_FALSE(r.moveCamera);
  EXPECT_EQ(r.state.last, kLeft);
  r = OnMouseMove(With(kBoth, kRight), {1, 2}, 0, false);
  EXPECT_FALSE(r.moveCamera);
  EXPECT_EQ(r.state.lastMouse, (ClientPoint{1, 2}));
  EXPECT_EQ(r.state.last, kBoth);
  EXPECT_FALSE(r.state.dragRectVisible);
}

TEST(MouseStateMachine, NoButtonsRequestSelectionOnlyAfterLeftDragInVertexMode) {
  MouseMoveResult r = OnMouseMove(With(kNone, kLeft), {0, 0}, 0, true);
  ASSERT_TRUE(r.selection.has_value());
  EXPECT_TRUE(r.selection->pending);
  EXPECT_EQ(r.selection->corner1, (ClientPoint{5, 6}));
  EXPECT_EQ(r.selection->corner2, (ClientPoint{7, 8}));
  EXPECT_FALSE(r.selection->add);
  EXPECT_FALSE(r.selection->subtract);
  EXPECT_FALSE(r.state.dragRectVisible);
  EXPECT_EQ(r.state.last, kNone);

  EXPECT_TRUE(OnMouseMove(With(kNone, kLeft), {0, 0}, kKeyControl, true).selection->subtract);
  EXPECT_TRUE(OnMouseMove(With(kNone, kLeft), {0, 0}, kKeyShift, true).selection->add);
  const auto both = OnMouseMove(With(kNone, kLeft), {0, 0}, kKeyShift | kKeyControl, true).selection;
  EXPECT_FALSE(both->add || both->subtract) << "both keys replace";
  const auto middle = OnMouseMove(With(kNone, kLeft), {0, 0}, kKeyShift | kKeyMiddleButton, true).selection;
  EXPECT_FALSE(middle->add) << "only the exact flag counts";

  r = OnMouseMove(With(kNone, kLeft), {0, 0}, 0, false);
  EXPECT_FALSE(r.selection.has_value()) << "outside vertex mode the band just disappears";
  EXPECT_FALSE(r.state.dragRectVisible);
  for (ButtonPair last : {kNone, kRight, kBoth}) {
    EXPECT_FALSE(OnMouseMove(With(kNone, last), {0, 0}, 0, true).selection.has_value());
  }
}

TEST(MouseStateMachine, PressWithoutMoveRequestsNothing) {
  Mouse m;
  m.press(MouseButton::Left);
  m.release(MouseButton::Left);
  m.move(10, 10);
  EXPECT_TRUE(m.requests.empty());
}

TEST(MouseStateMachine, SingleMoveGivesZeroWidthRectangle) {
  Mouse m;
  m.press(MouseButton::Left);
  m.move(10, 10);
  m.release(MouseButton::Left);
  m.move(50, 60);
  ASSERT_EQ(m.requests.size(), 1u);
  EXPECT_EQ(m.requests[0].corner1, m.requests[0].corner2);
}

TEST(MouseStateMachine, RightPressDuringLeftDragNeitherRotatesNorZooms) {
  Mouse m;
  m.press(MouseButton::Left);
  m.move(10, 10);
  m.move(20, 20);
  m.press(MouseButton::Right);
  m.move(30, 40);
  m.release(MouseButton::Left);
  m.move(35, 45);  // right alone, last still left: nothing
  m.release(MouseButton::Right);
  EXPECT_EQ(m.cameraMoves, 0);
  m.move(36, 46);
  ASSERT_EQ(m.requests.size(), 1u);
  EXPECT_EQ(m.requests[0].corner1, (ClientPoint{10, 10}));
  EXPECT_EQ(m.requests[0].corner2, (ClientPoint{20, 20}));
}

TEST(MouseStateMachine, RightDragAfterLeftDragWaitsForAllButtonsUp) {
  Mouse m;
  m.vertexMode = false;
  m.press(MouseButton::Left);
  m.move(10, 10);
  m.press(MouseButton::Right);
  m.release(MouseButton::Left);
  m.move(20, 20);
  m.move(30, 30);
  EXPECT_EQ(m.cameraMoves, 0);
  m.release(MouseButton::Right);
  m.move(30, 30);
  m.press(MouseButton::Right);
  m.move(40, 40);  // records the start
  m.move(50, 40);
  EXPECT_EQ(m.cameraMoves, 1);
}

TEST(MouseStateMachine, PackedPointsAreSignedHalves) {
  const ClientPoint p{-3, 400};
  EXPECT_EQ(PackClientPoint(p), 0x0190FFFDu);
  EXPECT_EQ(UnpackClientPoint(0x0190FFFDu), p);
  EXPECT_EQ(UnpackClientPoint(0x8000FFFFu), (ClientPoint{-1, -32768}));
}
}  // namespace
}  // namespace posewright
