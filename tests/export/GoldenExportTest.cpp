// The worked example of the export, byte for byte, and the template block.
#include <gtest/gtest.h>

#include <string>

#include "export/SkinnedMeshXWriter.h"
#include "export/XTemplates.h"
#include "support/ExportTestModels.h"
#include "support/WorkedExampleX.h"

namespace posewright {

using namespace exporttest;

namespace {
const char* const kTemplates = R"(template XSkinMeshHeader {
	<3cf169ce-ff7c-44ab-93c0-f78f62d172e2>
	WORD nMaxSkinWeightsPerVertex;
	WORD nMaxSkinWeightsPerFace;
	WORD nBones;
}
template VertexDuplicationIndices {
	<B8D65549-D7C9-4995-89CF-53A9A8B031E3>
	DWORD nIndices;
	DWORD nOriginalVertices;
	array DWORD indices[nIndices];
}
template Matrix4x4 {
	<F6F23F45-7686-11cf-8F52-0040333594A3>
	array FLOAT matrix[16];
}
template SkinWeights {
	<6f0d123b-bad2-4167-a0d0-80224f25fabb>
	STRING transformNodeName;
	DWORD nWeights;
	array DWORD vertexIndices[nWeights];
	array FLOAT weights[nWeights];
	Matrix4x4 matrixOffset;
}
template Vector {
	<3D82AB5E-62DA-11cf-AB39-0020AF71E433>
	FLOAT x;
	FLOAT y;
	FLOAT z;
}
template Coords2d {
	<F6F23F44-7686-11cf-8F52-0040333594A3>
	FLOAT u;
	FLOAT v;
}
template MeshTextureCoords {
	<F6F23F40-7686-11cf-8F52-0040333594A3>
	DWORD nTextureCoords;
	array Coords2d textureCoords[nTextureCoords];
}
template MeshFaces {
	<3D82AB5F-62DA-11cf-AB39-0020AF71E433>
	DWORD nFaceVertexIndices;
	array DWORD faceVertexIndices[nFaceVertexIndices];
}
template MeshNormals {
	<F6F23F43-7686-11cf-8F52-0040333594A3>
	DWORD nNormals;
	array Vector normals[nNormals];
	DWORD nFaceNormals;
	array MeshFaces faceNormals[nFaceNormals];
}
template Mesh {
	<3D82AB44-62DA-11cf-AB39-0020AF71E433>
	DWORD nVertices;
	array Vector vertices[nVertices];
	DWORD nFaces;
	array MeshFace faces[nFaces];
	[...]
}
template ColorRGBA {
	<35FF44E0-6C7C-11cf-8F52-0040333594A3>
	FLOAT red;
	FLOAT green;
	FLOAT blue;
	FLOAT alpha;
}
template ColorRGB {
	<D3E16E81-7835-11cf-8F52-0040333594A3>
	FLOAT red;
	FLOAT green;
	FLOAT blue;
}
template Material {
	<3D82AB4D-62DA-11cf-AB39-0020AF71E433>
	ColorRGBA faceColor;
	FLOAT power;
	ColorRGB specularColor;
	ColorRGB emissiveColor;
	[...]
}
template TextureFilename {
	<A42790E1-7810-11cf-8F52-0040333594A3>
	STRING filename;
}
template MeshMaterialList {
	<F6F23F42-7686-11cf-8F52-0040333594A3>
	DWORD nMaterials;
	DWORD nFaceIndexes;
	array DWORD faceIndexes[nFaceIndexes];
	[Material]
}
template FrameTransformMatrix {
	<F6F23F41-7686-11cf-8F52-0040333594A3>
	Matrix4x4 frameMatrix;
}
template Frame {
	<3D82AB46-62DA-11cf-AB39-0020AF71E433>
	[...]
}
template FloatKeys {
	<10DD46A9-775B-11cf-8F52-0040333594A3>
	DWORD nValues;
	array FLOAT values[nValues];
}
template TimedFloatKeys {
	<F406B180-7B3B-11cf-8F52-0040333594A3>
	DWORD time;
	FloatKeys tfKeys;
}
template AnimationKey {
	<10DD46A8-775B-11cf-8F52-0040333594A3>
	DWORD keyType;
	DWORD nKeys;
	array TimedFloatKeys keys[nKeys];
}
template AnimationOptions {
	<E2BF56C0-840F-11cf-8F52-0040333594A3>
	DWORD openclosed;
	DWORD positionquality;
}
template Animation {
	<3D82AB4F-62DA-11cf-AB39-0020AF71E433>
	[...]
}
template AnimationSet {
	<3D82AB50-62DA-11cf-AB39-0020AF71E433>
	[...]
}

)";

const std::string kWorkedExample = std::string(kWorkedExampleModel) + R"(AnimationSet {
 Animation {
  AnimationKey {
   4;
   2;
   0;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;,
   30;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;;
  }
  {Root}
 }
 Animation {
  AnimationKey {
   4;
   2;
   0;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;,
   30;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;;
  }
  {Arm}
 }
}
)";
}  // namespace

TEST(GoldenExport, TemplateBlockListsTheTwentyThreeTemplatesThenAnEmptyLine) {
  EXPECT_EQ(std::string(XTemplateBlock()), Crlf(kTemplates));
}

TEST(GoldenExport, WorkedExampleIsWrittenByteForByte) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {0, 30});
  std::string text;
  ASSERT_TRUE(FormatSkinnedMeshX(ExportOptions{60, false}, model, &animation, text));
  EXPECT_EQ(text, "xof 0303txt 0032\r\n" + Crlf(kTemplates) + Crlf(kWorkedExample));
}

TEST(GoldenExport, WorkedExampleInAllFramesModeAt4800GivesThirtyKeysEightyTicksApart) {
  const SkinnedModel model = OneTriangle();
  const Animation animation = StillAnimation(2, {0, 30});
  std::string text;
  ASSERT_TRUE(FormatSkinnedMeshX(ExportOptions{4800, true}, model, &animation, text));
  const std::string identity =
      ";16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1."
      "000000,"
      "0.000000,0.000000,0.000000,0.000000,1.000000;;";
  std::string keys = "   4;\r\n   30;\r\n";
  for (int k = 0; k < 30; ++k) {
    keys += "   " + std::to_string(80 * k) + identity + (k < 29 ? ",\r\n" : ";\r\n");
  }
  const std::string expected = "AnimationSet {\r\n Animation {\r\n  AnimationKey {\r\n" + keys +
                               "  }\r\n  {Root}\r\n }\r\n Animation {\r\n  AnimationKey {\r\n" + keys +
                               "  }\r\n  {Arm}\r\n }\r\n}\r\n";
  const std::size_t at = text.find("AnimationSet {\r\n Animation");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(text.substr(at), expected);
}
}  // namespace posewright
