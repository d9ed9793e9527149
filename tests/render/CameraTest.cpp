#include <gtest/gtest.h>

#include "render/Camera.h"
#include "support/MathMatchers.h"

namespace posewright {

namespace {
D3DXVECTOR3 ToView(const Camera& c, const D3DXVECTOR3& p) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &p, &c.view);
  return out;
}

TEST(Camera, StartValuesAndFirstRefresh) {
  Camera c;
  EXPECT_EQ(c.distance, 8.0f);
  D3DXMATRIX start;
  D3DXMatrixOrthoLH(&start, 8, 6, 1, 200);
  EXPECT_EQ(c.projection, start);
  refreshCamera(c, 0, 0, 0);
  D3DXMATRIX expectedView;
  D3DXMatrixTranslation(&expectedView, 0, 0, 8);
  ExpectNear(c.view, expectedView);
  D3DXMATRIX expectedProjection;
  D3DXMatrixOrthoLH(&expectedProjection, 8, 6, 0.25f, 200);
  EXPECT_EQ(c.projection, expectedProjection);
  ExpectNear(c.eyeForward, D3DXVECTOR3(0, 0, 1));
  EXPECT_EQ(c.light.direction, c.eyeForward);
}

TEST(Camera, ViewMatrixFollowsTheStatedProduct) {
  Camera c;
  c.target = D3DXVECTOR3(1, 2, 3);
  refreshCamera(c, 0.4f, -0.3f, 2.0f);
  EXPECT_FLOAT_EQ(c.pitch, 0.4f);
  EXPECT_FLOAT_EQ(c.yaw, -0.3f);
  EXPECT_FLOAT_EQ(c.distance, 10.0f);
  D3DXMATRIX t1, ry, rx, t2, expected;
  D3DXMatrixTranslation(&t1, -1, -2, -3);
  D3DXMatrixRotationY(&ry, -0.3f);
  D3DXMatrixRotationX(&rx, 0.4f);
  D3DXMatrixTranslation(&t2, 0, 0, 3 + 10);
  D3DXMatrixMultiply(&expected, &t1, &ry);
  D3DXMatrixMultiply(&expected, &expected, &rx);
  D3DXMatrixMultiply(&expected, &expected, &t2);
  ExpectNear(c.view, expected);
  EXPECT_FLOAT_EQ(c.projection._11, 2.0f / 10.0f);
  EXPECT_FLOAT_EQ(c.projection._22, 2.0f / 7.5f);
  // The viewing direction maps to +Z in view space.
  D3DXVECTOR3 direction;
  D3DXVec3TransformNormal(&direction, &c.eyeForward, &c.view);
  ExpectNear(direction, D3DXVECTOR3(0, 0, 1));
}

TEST(Camera, PresetsLookDownYAlongXAndAlongZ) {
  Camera c;
  refreshCamera(c, 1.0f, 2.0f, 0);
  ViewFromTop(c);
  ExpectNear(c.eyeForward, D3DXVECTOR3(0, -1, 0));
  EXPECT_LT(ToView(c, {0, 1, 0}).z, ToView(c, {0, 0, 0}).z) << "a point above is nearer";
  ViewFromSide(c);
  ExpectNear(c.eyeForward, D3DXVECTOR3(1, 0, 0));
  ViewFromFront(c);
  ExpectNear(c.eyeForward, D3DXVECTOR3(0, 0, 1));
  EXPECT_EQ(c.pitch, 0.0f);
  EXPECT_EQ(c.yaw, 0.0f);
  EXPECT_EQ(c.light.direction, c.eyeForward);
}

TEST(Camera, ZoomStopsAtSmallPositiveDistance) {
  Camera c;
  refreshCamera(c, 0, 0, -20.0f);
  EXPECT_EQ(c.distance, kMinCameraDistance);
  EXPECT_GT(c.projection._11, 0.0f);
  refreshCamera(c, 0, 0, 1.0f);
  EXPECT_FLOAT_EQ(c.distance, kMinCameraDistance + 1.0f);
}

TEST(Camera, CentreMovesTargetToTheMiddleOfTheView) {
  Camera c;
  CentreCameraOn(c, D3DXVECTOR3(2, 3, 0));
  const D3DXVECTOR3 v = ToView(c, {2, 3, 0});
  EXPECT_NEAR(v.x, 0, 1e-6);
  EXPECT_NEAR(v.y, 0, 1e-6);
}
}  // namespace

namespace {
// The visible height follows the viewport's shape at every zoom: a world unit
// spans as many pixels across as down.
TEST(Camera, ProjectionFollowsTheViewportsShape) {
  for (const auto& [width, height] : {std::pair{800, 581}, std::pair{1600, 600}, std::pair{300, 900}}) {
    Camera c;
    setViewportSize(c, width, height);
    refreshCamera(c, 0, 0, -3.0f);
    const float pixelsAcross = c.projection._11 / 2 * static_cast<float>(width);
    const float pixelsDown = c.projection._22 / 2 * static_cast<float>(height);
    EXPECT_NEAR(pixelsAcross, pixelsDown, 1e-3f) << width << " x " << height;
    EXPECT_FLOAT_EQ(c.projection._11, 2.0f / 5.0f);
  }
}
}  // namespace
}  // namespace posewright
