#include "xfile/XFileMeshBuilder.h"

#include <cstring>

#include "xfile/XFileHeader.h"
#include "xfile/XFileParser.h"

namespace posewright {

namespace {
/// Normals are compared by value; bit-identical values (a NaN written twice)
/// count as equal too, so one normal index never makes two copies.
bool SameNormal(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return a == b || std::memcmp(&a, &b, sizeof a) == 0;
}

bool IsIdentity(const D3DXMATRIX& m) {
  return m == XIdentityMatrix();
}

/// The vertices and per-corner vertex numbers of one mesh after normal
/// splitting (copies appended after the mesh's own vertices).
struct SplitVertices {
  std::vector<uint32_t> copyOf;        // for each copy, the vertex it copies
  std::vector<D3DXVECTOR3> normals;    // per vertex (own, then copies)
  std::vector<uint32_t> cornerVertex;  // per face corner
};

SplitVertices SplitByNormal(const XMesh& m) {
  const std::size_t n = m.positions.size();
  SplitVertices s;
  s.normals.assign(n, D3DXVECTOR3());
  if (!m.hasNormals) {
    s.cornerVertex = m.faceCorners;
    return s;
  }
  std::vector<uint8_t> assigned(n, 0);
  std::vector<int32_t> firstCopy(n, -1);  // per own vertex: its first copy (index into copyOf)
  std::vector<int32_t> nextCopy;          // per copy: the next copy of the same vertex
  s.cornerVertex.resize(m.faceCorners.size());
  for (std::size_t k = 0; k < m.faceCorners.size(); ++k) {
    const uint32_t v = m.faceCorners[k];
    const D3DXVECTOR3& normal = m.normals[m.normalCorners[k]];
    if (assigned[v] == 0) {
      assigned[v] = 1;
      s.normals[v] = normal;
      s.cornerVertex[k] = v;
      continue;
    }
    if (SameNormal(s.normals[v], normal)) {
      s.cornerVertex[k] = v;
      continue;
    }
    // Walk v's copies; `last` is the copy whose link is followed (−1: firstCopy).
    int32_t last = -1;
    int32_t copy = firstCopy[v];
    while (copy >= 0 && !SameNormal(s.normals[n + static_cast<std::size_t>(copy)], normal)) {
      last = copy;
      copy = nextCopy[static_cast<std::size_t>(copy)];
    }
    if (copy < 0) {
      copy = static_cast<int32_t>(s.copyOf.size());
      (last < 0 ? firstCopy[v] : nextCopy[static_cast<std::size_t>(last)]) = copy;
      s.copyOf.push_back(v);
      nextCopy.push_back(-1);
      s.normals.push_back(normal);
    }
    s.cornerVertex[k] = static_cast<uint32_t>(n + static_cast<std::size_t>(copy));
  }
  return s;
}
}  // namespace

D3DXMATERIAL DefaultXMaterial() {
  D3DXMATERIAL m;
  m.MatD3D.Diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
  m.MatD3D.Ambient = {0.0f, 0.0f, 0.0f, 1.0f};
  m.MatD3D.Specular = {0.0f, 0.0f, 0.0f, 1.0f};
  m.MatD3D.Emissive = {0.0f, 0.0f, 0.0f, 1.0f};
  m.MatD3D.Power = 0.0f;
  return m;
}

std::vector<D3DXMATRIX> FrameWorldMatrices(const XFileDocument& doc) {
  std::vector<D3DXMATRIX> world(doc.frames.size());
  for (std::size_t i = 0; i < doc.frames.size(); ++i) {
    const XFrame& frame = doc.frames[i];
    if (frame.parent < 0) {
      world[i] = frame.transform;
    } else {
      D3DXMatrixMultiply(&world[i], &frame.transform, &world[static_cast<std::size_t>(frame.parent)]);
    }
  }
  return world;
}

Status BuildMeshFromXFile(const XFileDocument& doc, const std::string& fileName, XBuiltMesh& out) {
  auto fail = [&](const std::string& what) {
    return Status::Error(kXFileErrorMessage, fileName + ": " + what);
  };
  out = XBuiltMesh{};
  if (doc.meshes.empty()) {
    return fail("the file holds no Mesh object");
  }
  const std::vector<D3DXMATRIX> world = FrameWorldMatrices(doc);
  std::size_t vertexTotal = 0;
  std::size_t triangleTotal = 0;
  for (uint32_t mi = 0; mi < doc.meshes.size(); ++mi) {
    const XMesh& m = doc.meshes[mi];
    const SplitVertices split = SplitByNormal(m);
    const std::size_t own = m.positions.size();
    const std::size_t count = own + split.copyOf.size();
    std::size_t triangles = 0;
    for (std::size_t f = 0; f < m.faceCount(); ++f) {
      triangles += m.faceStarts[f + 1] - m.faceStarts[f] - 2;
    }
    if (vertexTotal + count > kMaxMeshElements) {
      return fail(
          "the meshes hold " + std::to_string(vertexTotal + count) +
          " vertices (after vertices with differing normals were split); at most 65,535 can be loaded");
    }
    if (triangleTotal + triangles > kMaxMeshElements) {
      return fail("the meshes hold " + std::to_string(triangleTotal + triangles) +
                  " triangles; at most 65,535 faces can be loaded");
    }

    const auto base = static_cast<uint32_t>(vertexTotal);
    const bool transformed = m.frame >= 0 && !IsIdentity(world[static_cast<std::size_t>(m.frame)]);
    const D3DXMATRIX* transform = transformed ? &world[static_cast<std::size_t>(m.frame)] : nullptr;
    out.mesh.vertices.resize(vertexTotal + count);
    out.origins.resize(vertexTotal + count);
    for (std::size_t v = 0; v < count; ++v) {
      const uint32_t source = v < own ? static_cast<uint32_t>(v) : split.copyOf[v - own];
      MeshVertex& mv = out.mesh.vertices[base + v];
      mv.position = m.positions[source];
      mv.normal = split.normals[v];
      if (!m.texCoords.empty()) {
        mv.u = m.texCoords[2 * std::size_t{source}];
        mv.v = m.texCoords[2 * std::size_t{source} + 1];
      }
      if (transform != nullptr) {
        D3DXVec3TransformCoord(&mv.position, &mv.position, transform);
        D3DXVec3TransformNormal(&mv.normal, &mv.normal, transform);
      }
      out.origins[base + v] = XVertexOrigin{mi, source};
    }

    const bool hasMaterials = m.hasMaterialList && !m.materials.empty();
    const auto materialBase = static_cast<uint32_t>(out.materials.size());
    if (hasMaterials) {
      out.materials.insert(out.materials.end(), m.materials.begin(), m.materials.end());
    } else {
      out.materials.push_back(DefaultXMaterial());
    }
    out.mesh.indices.reserve(3 * (triangleTotal + triangles));
    out.mesh.faceAttributes.reserve(triangleTotal + triangles);
    for (std::size_t f = 0; f < m.faceCount(); ++f) {
      uint32_t attribute = materialBase;
      if (hasMaterials && !m.faceMaterials.empty()) {
        attribute += f < m.faceMaterials.size() ? m.faceMaterials[f] : m.faceMaterials.back();
      }
      const uint32_t first = m.faceStarts[f];
      const uint32_t end = m.faceStarts[f + 1];
      for (uint32_t c = first + 1; c + 1 < end; ++c) {
        out.mesh.indices.push_back(static_cast<uint16_t>(base + split.cornerVertex[first]));
        out.mesh.indices.push_back(static_cast<uint16_t>(base + split.cornerVertex[c]));
        out.mesh.indices.push_back(static_cast<uint16_t>(base + split.cornerVertex[c + 1]));
        out.mesh.faceAttributes.push_back(attribute);
      }
    }
    vertexTotal += count;
    triangleTotal += triangles;
  }
  if (triangleTotal == 0) {
    return fail("the file's meshes have no faces");
  }
  return Status::Ok();
}
}  // namespace posewright
