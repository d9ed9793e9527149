#include "render/RectangleSelection.h"

#include <algorithm>
#include <vector>

#include "render/VertexProcessor.h"

namespace posewright {

void selectInRect(SkinnedModel& model, const RegisterFile& registers, int width, int height, ClientPoint a,
                  ClientPoint b, bool subtract, bool add) {
  const float xmin = std::min(a.x, b.x);
  const float xmax = std::max(a.x, b.x);
  const float ymin = std::min(a.y, b.y);
  const float ymax = std::max(a.y, b.y);

  const std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  const std::size_t n = vertices.size();
  VertexSelection& selection = model.selection;
  if (selection.selected.size() != n) {
    selection.reset(n);
  }
  std::vector<ScreenPosition> screen(n);
  ProcessVertexPositions(vertices, registers, width, height, screen);

  const bool keepOutside = add || subtract;
  for (std::size_t i = 0; i < n; ++i) {
    const ScreenPosition& s = screen[i];
    const bool inside = xmin < s.x && s.x < xmax && ymin < s.y && s.y < ymax;
    if (inside) {
      selection.selected[i] = subtract ? 0 : 1;
    } else if (!keepOutside) {
      selection.selected[i] = 0;
    }
  }
  RebuildPointList(selection);
}

D3DXVECTOR3 selectionCentre(const SkinnedModel& model) {
  const std::vector<SkinVertex>& vertices = model.skinnedMesh.vertices;
  const std::vector<uint8_t>& flags = model.selection.selected;
  const std::size_t n = std::min(vertices.size(), flags.size());
  bool any = false;
  D3DXVECTOR3 lo;
  D3DXVECTOR3 hi;
  for (std::size_t i = 0; i < n; ++i) {
    if (flags[i] == 0) {
      continue;
    }
    const D3DXVECTOR3& p = vertices[i].position;
    if (!any) {
      lo = hi = p;
      any = true;
      continue;
    }
    lo = D3DXVECTOR3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
    hi = D3DXVECTOR3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
  }
  if (!any) {
    return D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  }
  return D3DXVECTOR3(0.5f * lo.x + 0.5f * hi.x, 0.5f * lo.y + 0.5f * hi.y, 0.5f * lo.z + 0.5f * hi.z);
}
}  // namespace posewright
