#include "export/SkinnedMeshXWriter.h"

#include "export/SkinnedMeshXContent.h"
#include "export/XAnimationKeys.h"
#include "export/XTemplates.h"
#include "export/XTextBuffer.h"
#include "fileio/FileBytes.h"

namespace posewright {

namespace {
// ",\n" after every item of a list but the last, last after the last.
void EndItem(XTextBuffer& out, bool isLast, std::string_view last) {
  out.text(isLast ? last : std::string_view(",\r\n"));
}

// The 16 elements in memory order, "," between them and ";;" after them.
void WriteMatrix(XTextBuffer& out, const D3DXMATRIX& m) {
  const float* e = &m._11;
  for (int i = 0; i < 16; ++i) {
    if (i > 0) out.text(",");
    out.fixed(e[i]);
  }
  out.text(";;");
}

const D3DXMATRIX& Identity() {
  static const D3DXMATRIX identity = [] {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
  }();
  return identity;
}

void WriteFaces(XTextBuffer& out, const std::vector<uint16_t>& indices, std::string_view indent) {
  const std::size_t faceCount = indices.size() / 3;
  for (std::size_t f = 0; f < faceCount; ++f) {
    out.text(indent);
    out.text("3;");
    out.unsignedNumber(indices[3 * f]);
    out.text(",");
    out.unsignedNumber(indices[3 * f + 1]);
    out.text(",");
    out.unsignedNumber(indices[3 * f + 2]);
    out.text(";");
    EndItem(out, f + 1 == faceCount, ";\r\n");
  }
}

// The vertex count, then one "x;y;z;" item per vertex of member, each line
// starting with indent.
void WriteVertexVectors(XTextBuffer& out, const SkinnedMesh& mesh, D3DXVECTOR3 SkinVertex::*member,
                        const char* indent) {
  const std::size_t vertexCount = mesh.vertices.size();
  out.unsignedNumber(static_cast<uint32_t>(vertexCount));
  out.text(";\r\n");
  for (std::size_t v = 0; v < vertexCount; ++v) {
    const D3DXVECTOR3& p = mesh.vertices[v].*member;
    out.text(indent);
    out.fixed(p.x);
    out.text(";");
    out.fixed(p.y);
    out.text(";");
    out.fixed(p.z);
    out.text(";");
    EndItem(out, v + 1 == vertexCount, ";\r\n");
  }
}

void WriteVerticesAndFaces(XTextBuffer& out, const SkinnedMesh& mesh) {
  out.text(" ");
  WriteVertexVectors(out, mesh, &SkinVertex::position, " ");
  out.endLine();
  out.text(" ");
  out.unsignedNumber(static_cast<uint32_t>(mesh.faceCount()));
  out.text(";\r\n");
  WriteFaces(out, mesh.indices, " ");
  out.endLine();
}

void WriteColour(XTextBuffer& out, const D3DCOLORVALUE& c, bool withAlpha) {
  out.text("   ");
  out.fixed(c.r);
  out.text(";");
  out.fixed(c.g);
  out.text(";");
  out.fixed(c.b);
  if (withAlpha) {
    out.text(";");
    out.fixed(c.a);
  }
  out.text(";;\r\n");
}

void WriteMaterialList(XTextBuffer& out, const SkinnedModel& model,
                       const std::vector<uint32_t>& faceMaterials) {
  const uint32_t materialCount = model.materialCount();
  out.text(" MeshMaterialList {\r\n  ");
  out.unsignedNumber(materialCount);
  out.text(";\r\n  ");
  out.unsignedNumber(static_cast<uint32_t>(faceMaterials.size()));
  out.text(";\r\n");
  for (std::size_t f = 0; f < faceMaterials.size(); ++f) {
    out.text("  ");
    out.unsignedNumber(faceMaterials[f]);
    EndItem(out, f + 1 == faceMaterials.size(), ";;\r\n");
  }
  for (uint32_t j = 0; j < materialCount; ++j) {
    // Colours come from the drawing copies (which differ from the loaded
    // material only in the ambient colour, not written here).
    const D3DMATERIAL8& m = j < model.materials.size() ? model.materials[j] : model.materialList[j].MatD3D;
    out.text("  Material {\r\n");
    WriteColour(out, m.Diffuse, true);
    out.text("   ");
    out.fixed(m.Power);
    out.text(";\r\n");
    WriteColour(out, m.Specular, false);
    WriteColour(out, m.Emissive, false);
    if (j < model.textures.size() && model.textures[j] != nullptr) {
      out.text("   TextureFileName {\r\n    \"");
      out.text(model.materialList[j].textureFilename);
      out.text("\";\r\n   }\r\n");
    }
    out.text("  }\r\n");
  }
  out.text(" }\r\n");
}

void WriteDuplicationIndices(XTextBuffer& out, const SkinnedMeshXContent& content) {
  out.text(" VertexDuplicationIndices {\r\n  ");
  out.unsignedNumber(static_cast<uint32_t>(content.pointReps.size()));
  out.text(";\r\n  ");
  out.unsignedNumber(content.pointCount);
  out.text(";\r\n");
  for (std::size_t v = 0; v < content.pointReps.size(); ++v) {
    out.text("  ");
    out.unsignedNumber(content.pointReps[v]);
    EndItem(out, v + 1 == content.pointReps.size(), ";\r\n");
  }
  out.text(" }\r\n");
}

void WriteNormalsAndTextureCoords(XTextBuffer& out, const SkinnedMesh& mesh) {
  const std::size_t vertexCount = mesh.vertices.size();
  out.text(" MeshNormals {\r\n ");
  WriteVertexVectors(out, mesh, &SkinVertex::normal, "  ");
  out.text("  ");
  out.unsignedNumber(static_cast<uint32_t>(mesh.faceCount()));
  out.text(";\r\n");
  WriteFaces(out, mesh.indices, "  ");
  out.text(" }\r\n");

  out.text(" MeshTextureCoords {\r\n  ");
  out.unsignedNumber(static_cast<uint32_t>(vertexCount));
  out.text(";\r\n");
  for (std::size_t v = 0; v < vertexCount; ++v) {
    out.text("  ");
    out.fixed(mesh.vertices[v].u);
    out.text(";");
    out.fixed(mesh.vertices[v].v);
    out.text(";");
    EndItem(out, v + 1 == vertexCount, ";\r\n");
  }
  out.text(" }\r\n");
}

void WriteSkin(XTextBuffer& out, const SkinnedMeshXContent& content) {
  out.text(" XSkinMeshHeader {\r\n  4;\r\n  12;\r\n  ");
  out.signedNumber(content.skinWeightsCount);
  out.text(";\r\n }\r\n");
  for (std::size_t b = 1; b < content.influences.size(); ++b) {
    const std::vector<XSkinInfluence>& list = content.influences[b];
    // Loaders refuse an empty SkinWeights; a bone that moves no vertex gets none.
    if (list.empty()) continue;
    out.text(" SkinWeights {\r\n  \"");
    out.text(content.frameNames[b]);
    out.text("\";\r\n  ");
    out.unsignedNumber(static_cast<uint32_t>(list.size()));
    out.text(";\r\n");
    for (std::size_t i = 0; i < list.size(); ++i) {
      out.text("  ");
      out.unsignedNumber(list[i].vertex);
      EndItem(out, i + 1 == list.size(), ";\r\n");
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
      out.text("  ");
      out.fixed(list[i].weight);
      EndItem(out, i + 1 == list.size(), ";\r\n");
    }
    out.text("  ");
    WriteMatrix(out, Identity());
    out.text("\r\n }\r\n");
  }
}

void WriteMesh(XTextBuffer& out, const SkinnedModel& model, const SkinnedMeshXContent& content) {
  out.text("Mesh thisMesh {\r\n");
  WriteVerticesAndFaces(out, model.skinnedMesh);
  WriteMaterialList(out, model, content.faceMaterials);
  WriteDuplicationIndices(out, content);
  WriteNormalsAndTextureCoords(out, model.skinnedMesh);
  WriteSkin(out, content);
  out.text("}\r\n");
}

// The mesh as a child of the root frame: the same lines, each one space further in.
void WriteMeshInRootFrame(XTextBuffer& out, const SkinnedModel& model, const SkinnedMeshXContent& content) {
  XTextBuffer mesh;
  WriteMesh(mesh, model, content);
  const std::string text = mesh.take();
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t lineEnd = text.find('\n', start);
    const std::size_t next = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
    out.text(" ");
    out.text(std::string_view(text).substr(start, next - start));
    start = next;
  }
}

void Indent(XTextBuffer& out, int32_t depth) {
  static constexpr std::string_view kSpaces =
      "                                                                ";
  for (int32_t left = depth; left > 0;) {
    const int32_t n = std::min<int32_t>(left, static_cast<int32_t>(kSpaces.size()));
    out.text(kSpaces.substr(0, static_cast<std::size_t>(n)));
    left -= n;
  }
}

void WriteFrames(XTextBuffer& out, const ExportOptions& options, const SkinnedModel& model,
                 const SkinnedMeshXContent& content) {
  for (const XFrameStep& step : content.frames) {
    Indent(out, step.depth);
    if (!step.open) {
      out.text("}\r\n");
      continue;
    }
    out.text("Frame ");
    out.text(content.frameNames[static_cast<std::size_t>(step.bone)]);
    out.text(" {\r\n");
    Indent(out, step.depth);
    out.text(" FrameTransformMatrix {\r\n");
    Indent(out, step.depth);
    out.text("  ");
    WriteMatrix(out, Identity());
    out.endLine();
    Indent(out, step.depth);
    out.text(" }\r\n");
    if (step.bone == 0) {
      if (options.meshInFrame) {
        WriteMeshInRootFrame(out, model, content);
      } else {
        out.text(" {thisMesh}\r\n");
      }
    }
  }
}

void WriteAnimationSet(XTextBuffer& out, const ExportOptions& options, const SkinnedModel& model,
                       const SkinnedMeshXContent& content, const Animation& animation) {
  const uint32_t keyCount = static_cast<uint32_t>(MatrixKeyCount(animation, options));
  out.text("AnimationSet {\r\n");
  const std::vector<Bone>& bones = model.skeleton.bones;
  for (std::size_t b = 0; b < bones.size(); ++b) {
    out.text(" Animation {\r\n  AnimationKey {\r\n   4;\r\n   ");
    out.unsignedNumber(keyCount);
    out.text(";\r\n");
    MatrixKeyCursor cursor(animation, options, static_cast<int32_t>(b), bones[b].begin);
    XMatrixKey key;
    for (uint32_t k = 0; k < keyCount && cursor.next(key); ++k) {
      out.text("   ");
      out.signedNumber(key.time);
      out.text(";16;");
      WriteMatrix(out, key.matrix);
      EndItem(out, k + 1 == keyCount, ";\r\n");
    }
    out.text("  }\r\n  {");
    out.text(content.frameNames[b]);
    out.text("}\r\n }\r\n");
  }
  out.text("}\r\n");
}

// Bytes the text will take, roughly, so the buffer grows at most once or twice.
std::size_t EstimateSize(const SkinnedModel& model, uint64_t keysPerBone) {
  const std::size_t vertices = model.skinnedMesh.vertices.size();
  const std::size_t faces = model.skinnedMesh.faceCount();
  return 8192 + vertices * 160 + faces * 48 + model.skeleton.bones.size() * (keysPerBone * 180 + 400);
}
}  // namespace

Status FormatSkinnedMeshX(const ExportOptions& options, const SkinnedModel& model, const Animation* animation,
                          std::string& text) {
  if (Status checked = CheckSkinnedMeshXExport(options, model, animation); !checked) {
    return checked;
  }
  const SkinnedMeshXContent content = BuildSkinnedMeshXContent(model);
  const bool withAnimation = animation != nullptr && !animation->keys().empty();
  XTextBuffer out;
  out.reserve(EstimateSize(model, withAnimation ? MatrixKeyCount(*animation, options) : 0));
  out.text(kXFileHeaderLine);
  out.text(XTemplateBlock());
  if (!options.meshInFrame) {
    WriteMesh(out, model, content);
  }
  WriteFrames(out, options, model, content);
  if (withAnimation) {
    WriteAnimationSet(out, options, model, content, *animation);
  }
  text = out.take();
  return Status::Ok();
}

Status WriteSkinnedMeshX(const std::string& fileName, const ExportOptions& options, const SkinnedModel& model,
                         const Animation* animation) {
  std::string text;
  if (Status formatted = FormatSkinnedMeshX(options, model, animation, text); !formatted) {
    formatted.detail = FileNameOf(fileName) + ": " + formatted.detail;
    return formatted;
  }
  return WriteFileAtomically(fileName, text);
}
}  // namespace posewright
