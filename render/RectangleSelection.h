// Selecting mesh vertices with the rubber-band rectangle, and the centre of
// the selection that the camera can be moved to.
#pragma once

#include "math/Vector3.h"
#include "model/SkinnedModel.h"
#include "render/ClientPoint.h"
#include "render/RegisterFile.h"

namespace posewright {

/// A rectangle selection waiting for the next drawn frame, which has the
/// posed palette and camera registers the vertices must be projected with.
struct RectSelectionRequest {
  bool pending = false;
  ClientPoint corner1;
  ClientPoint corner2;
  /// Control alone: remove the rectangle's vertices from the selection.
  bool subtract = false;
  /// Shift alone: add them to the selection.
  bool add = false;
};

/// Projects every mesh vertex with the registers of the current frame onto a
/// width × height back buffer and sets its flag when it lies strictly inside
/// the rectangle spanned by a and b (a vertex on an edge is outside): inside
/// vertices are selected (deselected with subtract); outside vertices are
/// deselected unless add or subtract is set. Then rebuilds the point list.
void selectInRect(SkinnedModel& model, const RegisterFile& registers, int width, int height, ClientPoint a,
                  ClientPoint b, bool subtract, bool add);

/// Midpoint of the bounding box of the selected vertices' stored (unposed)
/// positions; (0, 0, 0) when none is selected.
D3DXVECTOR3 selectionCentre(const SkinnedModel& model);
}  // namespace posewright
