#include "anim/PosedVertices.h"

#include "fileio/TextWriter.h"
#include "mesh/SkinPosition.h"

namespace posewright {

std::string FormatPosedVertices(SkinnedModel& model) {
  ComputePose(model.skeleton);
  TextWriter out;
  for (const SkinVertex& v : model.skinnedMesh.vertices) {
    const D3DXVECTOR3 p = SkinnedPosition(v, model.skeleton.skinMatrices);
    out.append("%.6f %.6f %.6f\n", static_cast<double>(p.x), static_cast<double>(p.y),
               static_cast<double>(p.z));
  }
  return out.take();
}
}  // namespace posewright
