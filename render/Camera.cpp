#include "render/Camera.h"

#include <algorithm>

namespace posewright {

D3DXMATRIX Camera::IdentityMatrix() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

D3DXMATRIX Camera::StartProjection() {
  D3DXMATRIX m;
  D3DXMatrixOrthoLH(&m, 8.0f, 6.0f, 1.0f, 200.0f);
  return m;
}

void refreshCamera(Camera& camera, float dPitch, float dYaw, float dDistance) {
  camera.pitch += dPitch;
  camera.yaw += dYaw;
  camera.distance = std::max(camera.distance + dDistance, kMinCameraDistance);

  D3DXMATRIX rotationY, rotationX, r;
  D3DXMatrixRotationY(&rotationY, camera.yaw);
  D3DXMatrixRotationX(&rotationX, camera.pitch);
  D3DXMatrixMultiply(&r, &rotationY, &rotationX);
  D3DXMATRIX inverse = Camera::IdentityMatrix();
  D3DXMatrixInverse(&inverse, nullptr, &r);

  D3DXMATRIX toTarget, back;
  D3DXMatrixTranslation(&toTarget, -camera.target.x, -camera.target.y, -camera.target.z);
  D3DXMatrixTranslation(&back, 0.0f, 0.0f, camera.target.z + camera.distance);
  D3DXMatrixMultiply(&camera.view, &toTarget, &r);
  D3DXMatrixMultiply(&camera.view, &camera.view, &back);

  D3DXMatrixOrthoLH(&camera.projection, camera.distance, camera.distance * camera.aspect, 0.25f, 200.0f);

  const D3DXVECTOR3 forward(0.0f, 0.0f, 1.0f);
  D3DXVec3TransformCoord(&camera.eyeForward, &forward, &inverse);
  camera.light.direction = camera.eyeForward;
}

void setViewportSize(Camera& camera, int width, int height) {
  camera.aspect = static_cast<float>(std::max(height, 1)) / static_cast<float>(std::max(width, 1));
  refreshCamera(camera, 0.0f, 0.0f, 0.0f);
}

void ViewFromTop(Camera& camera) {
  camera.pitch = -1.5707964f;
  camera.yaw = 0.0f;
  refreshCamera(camera, 0.0f, 0.0f, 0.0f);
}

void ViewFromSide(Camera& camera) {
  camera.pitch = 0.0f;
  camera.yaw = -1.5707964f;
  refreshCamera(camera, 0.0f, 0.0f, 0.0f);
}

void ViewFromFront(Camera& camera) {
  camera.pitch = 0.0f;
  camera.yaw = 0.0f;
  refreshCamera(camera, 0.0f, 0.0f, 0.0f);
}

void CentreCameraOn(Camera& camera, const D3DXVECTOR3& centre) {
  camera.target = centre;
  refreshCamera(camera, 0.0f, 0.0f, 0.0f);
}
}  // namespace posewright
