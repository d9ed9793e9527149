// Where the CPU twin of the skinning program puts every vertex for the
// editor's current camera and pose, on a back buffer of the given size.
#pragma once

#include <QSize>
#include <vector>

#include "editor/Application.h"
#include "render/RegisterFile.h"
#include "render/ShaderConstants.h"
#include "render/VertexProcessor.h"

namespace posewright {

inline std::vector<ScreenPosition> PredictedPixels(Application& app, QSize backBuffer) {
  Skeleton& skeleton = app.model.skeleton;
  ComputePose(skeleton);
  RegisterFile registers;
  registers[kRegConstants] = kShaderConstants;
  D3DXMATRIX viewProjection;
  D3DXMatrixMultiply(&viewProjection, &app.camera.view, &app.camera.projection);
  registers.setMatrix(kRegViewProjection, viewProjection);
  for (std::size_t b = 0; b < skeleton.skinMatrices.size(); ++b) {
    registers.setMatrix(PaletteRegister(static_cast<uint32_t>(b)), skeleton.skinMatrices[b]);
  }
  std::vector<ScreenPosition> out(app.model.vertexCount());
  ProcessVertexPositions(app.model.skinnedMesh.vertices, registers, backBuffer.width(), backBuffer.height(),
                         out);
  return out;
}
}  // namespace posewright
