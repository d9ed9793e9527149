#include "render/RenderResources.h"

#include "skeleton/BoneShape.h"

namespace posewright {

SkinVertex FigureVertex(const D3DXVECTOR3& position, const D3DXVECTOR3& normal) {
  SkinVertex v;
  v.position = position;
  v.blendWeights[0] = 1.0f;
  v.blendWeights[1] = 0.0f;
  v.blendWeights[2] = 0.0f;
  v.boneIndices = 0;
  v.normal = normal;
  v.pointSize = 0.0f;
  v.u = 0.0f;
  v.v = 0.0f;
  return v;
}

LineFigure BuildBoneShape() {
  LineFigure f;
  for (const D3DXVECTOR3& p : BoneShape::points) {
    f.vertices.push_back(FigureVertex(p));
  }
  f.indices.assign(BoneShape::indices.begin(), BoneShape::indices.end());
  return f;
}

LineFigure BuildGrid() {
  LineFigure f;
  for (int p = 0; p < 40; ++p) {
    if (p <= 20) {
      const float x = static_cast<float>(p - 10);
      f.vertices.push_back(FigureVertex({x, 0.0f, -10.0f}));
      f.vertices.push_back(FigureVertex({x, 0.0f, 10.0f}));
    } else {
      const float z = static_cast<float>(p - 30);
      f.vertices.push_back(FigureVertex({-10.0f, 0.0f, z}));
      f.vertices.push_back(FigureVertex({10.0f, 0.0f, z}));
    }
  }
  for (uint16_t i = 0; i < 80; ++i) {
    f.indices.push_back(i);
  }
  // Pairs 0..20 give the lines x = −10 … 10 and pairs 21..39 the lines
  // z = −9 … 9; the first and last vertices of pairs 0 and 20 close z = ±10.
  for (uint16_t i : {0, 40, 1, 41}) {
    f.indices.push_back(i);
  }
  return f;
}

LineFigure BuildAxes() {
  LineFigure f;
  f.vertices = {FigureVertex({0, 0, 0}), FigureVertex({10, 0, 0}), FigureVertex({0, 10, 0}),
                FigureVertex({0, 0, 10})};
  f.indices = {0, 1, 0, 2, 0, 3};
  return f;
}

RingGizmo BuildRingGizmo(const SourceMesh& mesh, const std::vector<D3DXMATERIAL>& materials,
                         const std::vector<D3DXATTRIBUTERANGE>& attributeTable) {
  RingGizmo ring;
  ring.vertices.reserve(mesh.vertices.size());
  for (const MeshVertex& v : mesh.vertices) {
    ring.vertices.push_back(FigureVertex(v.position, v.normal));
  }
  ring.indices = mesh.indices;
  for (const D3DXMATERIAL& m : materials) {
    D3DMATERIAL8 copy = m.MatD3D;
    copy.Ambient = copy.Diffuse;
    ring.materials.push_back(copy);
  }
  ring.attributeTable = attributeTable;
  return ring;
}

namespace {
template <typename Figure>
void UploadFigure(GraphicsDevice& device, Figure& f) {
  if (f.vertexBuffer == 0) {
    f.vertexBuffer = device.createVertexBuffer(f.vertices);
  }
  if (f.indexBuffer == 0) {
    f.indexBuffer = device.createIndexBuffer(f.indices);
  }
}

template <typename Figure>
void ReleaseFigure(GraphicsDevice& device, Figure& f) {
  device.releaseBuffer(f.vertexBuffer);
  device.releaseBuffer(f.indexBuffer);
  f.vertexBuffer = 0;
  f.indexBuffer = 0;
}
}  // namespace

void RenderResources::upload(GraphicsDevice& device) {
  UploadFigure(device, boneShape);
  UploadFigure(device, ring);
  UploadFigure(device, grid);
  UploadFigure(device, axes);
}

void RenderResources::release(GraphicsDevice& device) {
  ReleaseFigure(device, axes);
  ReleaseFigure(device, grid);
  ReleaseFigure(device, ring);
  ReleaseFigure(device, boneShape);
}
}  // namespace posewright
