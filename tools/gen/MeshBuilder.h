// Builds a GenMesh from closed parts (tubes and ellipsoids): vertices are
// quantized as they are added, polygons are turned to face away from a given
// interior point, and smooth normals are computed at the end.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "tools/gen/GenMesh.h"

namespace posewright {

/// One cross-section of a tube: an ellipse of semi-axes ru (along the tube's u
/// direction) and rv (along v) around centre.
struct TubeRing {
  D3DXVECTOR3 centre;
  float ru = 0.0f;
  float rv = 0.0f;
};

/// A closed tube: rings joined by quads, each end closed by a fan to a pole.
struct TubeSpec {
  std::vector<TubeRing> rings;
  D3DXVECTOR3 u;
  D3DXVECTOR3 v;
  int sides = 16;
  D3DXVECTOR3 poleBack;   ///< closes the first ring
  D3DXVECTOR3 poleFront;  ///< closes the last ring
};

/// Texture v coordinate of a vertex position.
using TexVFunction = std::function<float(const D3DXVECTOR3&)>;
/// Material index of a polygon from its centroid.
using MaterialFunction = std::function<uint32_t(const D3DXVECTOR3&)>;

class MeshBuilder {
 public:
  explicit MeshBuilder(GenMesh& mesh) : mesh_(mesh) {}

  uint32_t addVertex(const D3DXVECTOR3& position, float u, float v);

  /// Adds a polygon whose corners run clockwise seen from outside: the corner
  /// order is reversed when its normal points towards interior.
  void addPolygon(std::initializer_list<uint32_t> corners, const D3DXVECTOR3& interior,
                  const MaterialFunction& material);

  /// A tube; texture u runs once around (the seam vertices are doubled).
  void addTube(const TubeSpec& tube, const TexVFunction& texV, const MaterialFunction& material);

  /// An ellipsoid with the given radii along X, Y and Z: `stacks` bands from
  /// pole to pole (poles on the Y axis), `slices` around.
  void addEllipsoid(const D3DXVECTOR3& centre, const D3DXVECTOR3& radii, int slices, int stacks,
                    const TexVFunction& texV, const MaterialFunction& material);

  /// Appends a copy of every vertex from firstVertex on and every polygon from
  /// firstPolygon on, mirrored at the plane x = 0 (corner order reversed).
  void mirrorX(uint32_t firstVertex, std::size_t firstPolygon);

  /// Smooth normals: the area-weighted sum of the normals of the polygons at
  /// each vertex, summed again over vertices at the same position, normalised
  /// and quantized.
  void computeSmoothNormals();

  uint32_t vertexCount() const { return static_cast<uint32_t>(mesh_.vertices.size()); }
  std::size_t polygonCount() const { return mesh_.polygonSizes.size(); }

 private:
  GenMesh& mesh_;
};
}  // namespace posewright
