// The orthographic orbit camera of the viewport and its light.
#pragma once

#include "math/Matrix.h"
#include "math/Vector3.h"
#include "render/Light.h"

namespace posewright {

/// Smallest camera distance (and visible width): zooming further in stops
/// here, since a distance at or below zero would give a degenerate or
/// mirrored projection.
inline constexpr float kMinCameraDistance = 0.01f;

struct Camera {
  /// World to view; identity until the first refreshCamera.
  D3DXMATRIX view = IdentityMatrix();
  /// OrthoLH(8, 6, 1, 200) until the first refreshCamera.
  D3DXMATRIX projection = StartProjection();
  /// Viewing direction in world space.
  D3DXVECTOR3 eyeForward{0.0f, 0.0f, 1.0f};
  DirectionalLight light;
  /// Distance from the target, and the width of the visible area in world units.
  float distance = 8.0f;
  /// Turn about the X axis, radians.
  float pitch = 0.0f;
  /// Turn about the world Y axis, radians.
  float yaw = 0.0f;
  /// The point the camera orbits and looks at.
  D3DXVECTOR3 target{0.0f, 0.0f, 0.0f};
  /// Height over width of the visible area: 3 / 4, or the viewport's own
  /// when it tells its size (setViewportSize), so the picture is never stretched.
  float aspect = 0.75f;

  static D3DXMATRIX IdentityMatrix();
  static D3DXMATRIX StartProjection();
};

/// Adds the three deltas (distance kept at or above kMinCameraDistance) and
/// recomputes view, projection, eyeForward and the light direction:
/// R = RotationY(yaw) × RotationX(pitch); view = Translation(−target) × R ×
/// Translation(0, 0, target.z + distance); projection = OrthoLH(distance,
/// distance × aspect, 0.25, 200); eyeForward = (0, 0, 1) × R⁻¹.
void refreshCamera(Camera& camera, float dPitch, float dYaw, float dDistance);

/// The picture is width × height pixels: aspect = height / width (sizes
/// below 1 count as 1), then refreshes.
void setViewportSize(Camera& camera, int width, int height);

/// F1: looks down the −Y axis from above (pitch −π/2, yaw 0), then refreshes.
void ViewFromTop(Camera& camera);
/// F2: looks along +X (pitch 0, yaw −π/2), then refreshes.
void ViewFromSide(Camera& camera);
/// F3: looks along +Z (pitch 0, yaw 0), then refreshes.
void ViewFromFront(Camera& camera);
/// F4: target = centre, then refreshes.
void CentreCameraOn(Camera& camera, const D3DXVECTOR3& centre);
}  // namespace posewright
