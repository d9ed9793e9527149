#include "tools/gen/XTextWriter.h"

#include "fileio/TextWriter.h"

namespace posewright {

namespace {
double D(float v) {
  return static_cast<double>(v);
}

// One face list: "F;" then "n;i0,i1,...;," lines, the last ending ";;".
void WriteFaces(TextWriter& w, const GenMesh& mesh, const char* indent) {
  const std::size_t count = mesh.polygonCount();
  w.line("%s%zu;", indent, count);
  std::size_t at = 0;
  for (std::size_t f = 0; f < count; ++f) {
    const uint32_t size = mesh.polygonSizes[f];
    w.append("%s%u;", indent, size);
    for (uint32_t k = 0; k < size; ++k) {
      w.append(k + 1 < size ? "%u," : "%u", mesh.polygonIndices[at + k]);
    }
    at += size;
    w.line(f + 1 < count ? ";," : ";;");
  }
}

void WriteMaterial(TextWriter& w, const NamedMaterial& m) {
  const D3DMATERIAL8& d = m.material.MatD3D;
  w.line("  Material %s {", m.name.c_str());
  w.line("   %.6f;%.6f;%.6f;%.6f;;", D(d.Diffuse.r), D(d.Diffuse.g), D(d.Diffuse.b), D(d.Diffuse.a));
  w.line("   %.6f;", D(d.Power));
  w.line("   %.6f;%.6f;%.6f;;", D(d.Specular.r), D(d.Specular.g), D(d.Specular.b));
  w.line("   %.6f;%.6f;%.6f;;", D(d.Emissive.r), D(d.Emissive.g), D(d.Emissive.b));
  if (!m.material.textureFilename.empty()) {
    w.line("   TextureFilename {");
    w.line("    \"%s\";", m.material.textureFilename.c_str());
    w.line("   }");
  }
  w.line("  }");
}
}  // namespace

std::string FormatMeshXText(const GenMesh& mesh) {
  TextWriter w;
  w.line("xof 0303txt 0032");
  w.line("Frame %s {", mesh.frameName.c_str());
  w.line(" FrameTransformMatrix {");
  w.line(
      "  1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,"
      "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;");
  w.line(" }");
  w.line(" Mesh %s {", mesh.meshName.c_str());
  const std::size_t n = mesh.vertices.size();
  w.line(" %zu;", n);
  for (std::size_t i = 0; i < n; ++i) {
    const D3DXVECTOR3& p = mesh.vertices[i].position;
    w.line(" %.6f;%.6f;%.6f;%s", D(p.x), D(p.y), D(p.z), i + 1 < n ? "," : ";");
  }
  WriteFaces(w, mesh, " ");
  w.line(" MeshNormals {");
  w.line("  %zu;", n);
  for (std::size_t i = 0; i < n; ++i) {
    const D3DXVECTOR3& q = mesh.vertices[i].normal;
    w.line("  %.6f;%.6f;%.6f;%s", D(q.x), D(q.y), D(q.z), i + 1 < n ? "," : ";");
  }
  WriteFaces(w, mesh, "  ");
  w.line(" }");
  w.line(" MeshTextureCoords {");
  w.line("  %zu;", n);
  for (std::size_t i = 0; i < n; ++i) {
    w.line("  %.6f;%.6f;%s", D(mesh.vertices[i].u), D(mesh.vertices[i].v), i + 1 < n ? "," : ";");
  }
  w.line(" }");
  w.line(" MeshMaterialList {");
  w.line("  %zu;", mesh.materials.size());
  const std::size_t faces = mesh.polygonCount();
  w.line("  %zu;", faces);
  for (std::size_t f = 0; f < faces; ++f) {
    w.line("  %u%s", mesh.polygonMaterials[f], f + 1 < faces ? "," : ";");
  }
  for (const NamedMaterial& m : mesh.materials) {
    WriteMaterial(w, m);
  }
  w.line(" }");
  w.line(" }");
  w.line("}");
  return w.take();
}
}  // namespace posewright
