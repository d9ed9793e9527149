#include "tools/gen/XBinaryWriter.h"

#include <cstring>
#include <vector>

#include "xfile/XBinaryToken.h"

namespace posewright {

namespace {
class TokenStream {
 public:
  void word(uint16_t v) {
    bytes_ += static_cast<char>(v & 0xFF);
    bytes_ += static_cast<char>(v >> 8);
  }
  void dword(uint32_t v) {
    for (int k = 0; k < 4; ++k) {
      bytes_ += static_cast<char>((v >> (8 * k)) & 0xFF);
    }
  }
  void name(const std::string& s) {
    word(kXTokenName);
    dword(static_cast<uint32_t>(s.size()));
    bytes_ += s;
  }
  // A string token carries its terminating separator as a 16-bit code.
  void string(const std::string& s) {
    word(kXTokenString);
    dword(static_cast<uint32_t>(s.size()));
    bytes_ += s;
    word(kXTokenSemicolon);
  }
  void open() { word(kXTokenOpenBrace); }
  void close() { word(kXTokenCloseBrace); }
  void integers(const std::vector<uint32_t>& list) {
    word(kXTokenIntegerList);
    dword(static_cast<uint32_t>(list.size()));
    for (uint32_t v : list) {
      dword(v);
    }
  }
  void floats(const std::vector<float>& list) {
    word(kXTokenFloatList);
    dword(static_cast<uint32_t>(list.size()));
    for (float v : list) {
      uint32_t bits;
      std::memcpy(&bits, &v, sizeof bits);
      dword(bits);
    }
  }
  std::string take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

std::vector<uint32_t> FaceList(const GenMesh& mesh) {
  std::vector<uint32_t> list;
  list.reserve(1 + mesh.polygonCount() + mesh.polygonIndices.size());
  list.push_back(static_cast<uint32_t>(mesh.polygonCount()));
  std::size_t at = 0;
  for (uint32_t size : mesh.polygonSizes) {
    list.push_back(size);
    list.insert(list.end(), mesh.polygonIndices.begin() + static_cast<std::ptrdiff_t>(at),
                mesh.polygonIndices.begin() + static_cast<std::ptrdiff_t>(at + size));
    at += size;
  }
  return list;
}

void WriteVectors(TokenStream& t, const GenMesh& mesh, bool normals) {
  std::vector<float> list;
  list.reserve(mesh.vertices.size() * 3);
  for (const MeshVertex& v : mesh.vertices) {
    const D3DXVECTOR3& p = normals ? v.normal : v.position;
    list.insert(list.end(), {p.x, p.y, p.z});
  }
  t.integers({static_cast<uint32_t>(mesh.vertices.size())});
  t.floats(list);
}
}  // namespace

std::string FormatMeshXBinary(const GenMesh& mesh) {
  TokenStream t;
  const std::vector<uint32_t> faces = FaceList(mesh);
  t.name("Frame");
  t.name(mesh.frameName);
  t.open();
  t.name("FrameTransformMatrix");
  t.open();
  t.floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
  t.close();
  t.name("Mesh");
  t.name(mesh.meshName);
  t.open();
  WriteVectors(t, mesh, false);
  t.integers(faces);
  t.name("MeshNormals");
  t.open();
  WriteVectors(t, mesh, true);
  t.integers(faces);
  t.close();
  t.name("MeshTextureCoords");
  t.open();
  std::vector<float> uv;
  uv.reserve(mesh.vertices.size() * 2);
  for (const MeshVertex& v : mesh.vertices) {
    uv.insert(uv.end(), {v.u, v.v});
  }
  t.integers({static_cast<uint32_t>(mesh.vertices.size())});
  t.floats(uv);
  t.close();
  t.name("MeshMaterialList");
  t.open();
  std::vector<uint32_t> materialList{static_cast<uint32_t>(mesh.materials.size()),
                                     static_cast<uint32_t>(mesh.polygonCount())};
  materialList.insert(materialList.end(), mesh.polygonMaterials.begin(), mesh.polygonMaterials.end());
  t.integers(materialList);
  for (const NamedMaterial& m : mesh.materials) {
    const D3DMATERIAL8& d = m.material.MatD3D;
    t.name("Material");
    t.name(m.name);
    t.open();
    t.floats({d.Diffuse.r, d.Diffuse.g, d.Diffuse.b, d.Diffuse.a, d.Power, d.Specular.r, d.Specular.g,
              d.Specular.b, d.Emissive.r, d.Emissive.g, d.Emissive.b});
    if (!m.material.textureFilename.empty()) {
      t.name("TextureFilename");
      t.open();
      t.string(m.material.textureFilename);
      t.close();
    }
    t.close();
  }
  t.close();
  t.close();
  t.close();
  return std::string("xof 0303bin 0032") + t.take();
}
}  // namespace posewright
