#include "export/XTemplates.h"

#include <initializer_list>
#include <string>

namespace posewright {

namespace {
struct XTemplate {
  std::string_view name;
  std::string_view guid;
  std::initializer_list<std::string_view> members;
};

// Names, GUIDs and member lines as the SkinnedMesh loaders expect them, letter
// case included. "MeshFaces" carries the GUID of the standard MeshFace
// template, and Mesh refers to it as "MeshFace".
const XTemplate kTemplates[] = {
    {"XSkinMeshHeader",
     "<3cf169ce-ff7c-44ab-93c0-f78f62d172e2>",
     {"WORD nMaxSkinWeightsPerVertex;", "WORD nMaxSkinWeightsPerFace;", "WORD nBones;"}},
    {"VertexDuplicationIndices",
     "<B8D65549-D7C9-4995-89CF-53A9A8B031E3>",
     {"DWORD nIndices;", "DWORD nOriginalVertices;", "array DWORD indices[nIndices];"}},
    {"Matrix4x4", "<F6F23F45-7686-11cf-8F52-0040333594A3>", {"array FLOAT matrix[16];"}},
    {"SkinWeights",
     "<6f0d123b-bad2-4167-a0d0-80224f25fabb>",
     {"STRING transformNodeName;", "DWORD nWeights;", "array DWORD vertexIndices[nWeights];",
      "array FLOAT weights[nWeights];", "Matrix4x4 matrixOffset;"}},
    {"Vector", "<3D82AB5E-62DA-11cf-AB39-0020AF71E433>", {"FLOAT x;", "FLOAT y;", "FLOAT z;"}},
    {"Coords2d", "<F6F23F44-7686-11cf-8F52-0040333594A3>", {"FLOAT u;", "FLOAT v;"}},
    {"MeshTextureCoords",
     "<F6F23F40-7686-11cf-8F52-0040333594A3>",
     {"DWORD nTextureCoords;", "array Coords2d textureCoords[nTextureCoords];"}},
    {"MeshFaces",
     "<3D82AB5F-62DA-11cf-AB39-0020AF71E433>",
     {"DWORD nFaceVertexIndices;", "array DWORD faceVertexIndices[nFaceVertexIndices];"}},
    {"MeshNormals",
     "<F6F23F43-7686-11cf-8F52-0040333594A3>",
     {"DWORD nNormals;", "array Vector normals[nNormals];", "DWORD nFaceNormals;",
      "array MeshFaces faceNormals[nFaceNormals];"}},
    {"Mesh",
     "<3D82AB44-62DA-11cf-AB39-0020AF71E433>",
     {"DWORD nVertices;", "array Vector vertices[nVertices];", "DWORD nFaces;",
      "array MeshFace faces[nFaces];", "[...]"}},
    {"ColorRGBA",
     "<35FF44E0-6C7C-11cf-8F52-0040333594A3>",
     {"FLOAT red;", "FLOAT green;", "FLOAT blue;", "FLOAT alpha;"}},
    {"ColorRGB", "<D3E16E81-7835-11cf-8F52-0040333594A3>", {"FLOAT red;", "FLOAT green;", "FLOAT blue;"}},
    {"Material",
     "<3D82AB4D-62DA-11cf-AB39-0020AF71E433>",
     {"ColorRGBA faceColor;", "FLOAT power;", "ColorRGB specularColor;", "ColorRGB emissiveColor;", "[...]"}},
    {"TextureFilename", "<A42790E1-7810-11cf-8F52-0040333594A3>", {"STRING filename;"}},
    {"MeshMaterialList",
     "<F6F23F42-7686-11cf-8F52-0040333594A3>",
     {"DWORD nMaterials;", "DWORD nFaceIndexes;", "array DWORD faceIndexes[nFaceIndexes];", "[Material]"}},
    {"FrameTransformMatrix", "<F6F23F41-7686-11cf-8F52-0040333594A3>", {"Matrix4x4 frameMatrix;"}},
    {"Frame", "<3D82AB46-62DA-11cf-AB39-0020AF71E433>", {"[...]"}},
    {"FloatKeys",
     "<10DD46A9-775B-11cf-8F52-0040333594A3>",
     {"DWORD nValues;", "array FLOAT values[nValues];"}},
    {"TimedFloatKeys", "<F406B180-7B3B-11cf-8F52-0040333594A3>", {"DWORD time;", "FloatKeys tfKeys;"}},
    {"AnimationKey",
     "<10DD46A8-775B-11cf-8F52-0040333594A3>",
     {"DWORD keyType;", "DWORD nKeys;", "array TimedFloatKeys keys[nKeys];"}},
    {"AnimationOptions",
     "<E2BF56C0-840F-11cf-8F52-0040333594A3>",
     {"DWORD openclosed;", "DWORD positionquality;"}},
    {"Animation", "<3D82AB4F-62DA-11cf-AB39-0020AF71E433>", {"[...]"}},
    {"AnimationSet", "<3D82AB50-62DA-11cf-AB39-0020AF71E433>", {"[...]"}},
};

std::string BuildTemplateBlock() {
  std::string block;
  for (const XTemplate& t : kTemplates) {
    block.append("template ").append(t.name).append(" {\r\n");
    block.append("\t").append(t.guid).append("\r\n");
    for (std::string_view member : t.members) {
      block.append("\t").append(member).append("\r\n");
    }
    block.append("}\r\n");
  }
  block.append("\r\n");
  return block;
}
}  // namespace

std::string_view XTemplateBlock() {
  static const std::string block = BuildTemplateBlock();
  return block;
}
}  // namespace posewright
