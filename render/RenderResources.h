// The static figures the viewport draws besides the model: the bone outline,
// the ring marker at the selected bone, the reference grid and the axes. Every
// vertex is weighted fully to palette entry 0 (weights (1, 0, 0), indices 0),
// so the scene places a figure by writing its world matrix into that entry.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/Material.h"
#include "mesh/SourceMesh.h"
#include "render/GraphicsDevice.h"

namespace posewright {

/// A figure drawn as a line list.
struct LineFigure {
  std::vector<SkinVertex> vertices;
  std::vector<uint16_t> indices;
  BufferId vertexBuffer = 0;
  BufferId indexBuffer = 0;
};

/// The ring marker: three coloured bands drawn as triangle lists, one
/// attribute range per material that owns faces.
struct RingGizmo {
  std::vector<SkinVertex> vertices;
  std::vector<uint16_t> indices;
  /// One per material of the ring file, Ambient equal to Diffuse.
  std::vector<D3DMATERIAL8> materials;
  /// Ranges of faces by material, in table order.
  std::vector<D3DXATTRIBUTERANGE> attributeTable;
  BufferId vertexBuffer = 0;
  BufferId indexBuffer = 0;
};

/// A vertex at position, fully weighted to palette entry 0, every other field zero.
SkinVertex FigureVertex(const D3DXVECTOR3& position, const D3DXVECTOR3& normal = {});

/// 11 points and 18 segments of the bone outline (unit length along +Z).
LineFigure BuildBoneShape();
/// 80 vertices, 84 indices: 21 lines parallel to Z at x = −10 … 10 and 21
/// parallel to X at z = −10 … 10, in the XZ plane.
LineFigure BuildGrid();
/// 4 vertices, 6 indices: lines of length 10 along +X, +Y and +Z.
LineFigure BuildAxes();
/// The ring from a loaded mesh whose faces are sorted by material: positions
/// and normals kept, every other vertex field as FigureVertex; materials with
/// Ambient set to Diffuse (texture names ignored).
RingGizmo BuildRingGizmo(const SourceMesh& mesh, const std::vector<D3DXMATERIAL>& materials,
                         const std::vector<D3DXATTRIBUTERANGE>& attributeTable);

struct RenderResources {
  LineFigure boneShape = BuildBoneShape();
  LineFigure grid = BuildGrid();
  LineFigure axes = BuildAxes();
  RingGizmo ring;

  /// Creates the device buffers of all four figures (once, with the whole contents).
  void upload(GraphicsDevice& device);
  /// Frees the device buffers: every figure its vertex buffer, then its index buffer.
  void release(GraphicsDevice& device);
};
}  // namespace posewright
