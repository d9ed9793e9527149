// Broken files are refused with the file, the line or byte, and what was
// expected there.
#include <gtest/gtest.h>

#include "model/MeshLoader.h"
#include "xfile/XBinaryBuilder.h"
#include "xfile/XFileParser.h"
#include "xfile/XFileTestSupport.h"

namespace posewright {

namespace {
const char* kTriangle = "3; 0;0;0;, 1;0;0;, 0;1;0;;\n1; 3;0,1,2;;\n";

Status ParseText(const std::string& body) {
  XFileDocument doc;
  return ParseXFile(TextX(body), "bad.x", doc);
}

TEST(Malformed, HeaderFieldsAreCheckedByOffset) {
  XFileDocument doc;
  ExpectRefused(ParseXFile("xof 0303txt", "bad.x", doc), "bad.x, byte 0:", "xof");
  ExpectRefused(ParseXFile("XOF 0303txt 0032", "bad.x", doc), "byte 0");
  ExpectRefused(ParseXFile("xof 03a3txt 0032", "bad.x", doc), "byte 4:", "version");
  ExpectRefused(ParseXFile("xof 0303zip 0032", "bad.x", doc), "byte 8:", "\"txt \"");
  ExpectRefused(ParseXFile("xof 0303txt 0016", "bad.x", doc), "byte 12:", "\"0032\" or \"0064\"");
}

TEST(Malformed, TextErrorsNameTheLineAndWhatWasExpected) {
  const struct {
    std::string body;
    std::vector<std::string> pieces;
  } cases[] = {
      {"Mesh {\n3;\n0;0;0;,\n1;abc;0;,\n0;1;0;;\n}",
       {"line 5:", "expected a vertex coordinate, found 'abc'"}},
      {"Mesh {\n3;\n0;0;0;,\n1;1.#QNAN0;0;,", {"line 5:", "found '1.#QNAN0'"}},
      {"Mesh {\n3; 0;0;0;, 1;0;0;, 0;1;1e39;;", {"line 3:", "beyond the float range"}},
      {"Mesh {\n1000;\n0;0;0;;\n1;\n}", {"line 3:", "vertex count 1000 does not fit the data left"}},
      {"Mesh {\n65536;\n}", {"line 3:", "65536 vertices; at most 65,535"}},
      {"Mesh {\n3; 0;0;0;, 1;0;0;, 0;1;0;;\n65536;\n}", {"line 4:", "65536 faces; at most 65,535"}},
      {"Mesh {\n3; 0;0;0;, 1;0;0;, 0;1;0;;\n1;\n3;0,1,3;;\n}", {"line 5:", "vertex index 3 is out of range"}},
      {"Mesh {\n3; 0;0;0;, 1;0;0;, 0;1;0;;\n1;\n2;0,1;;\n}", {"line 5:", "face 0 has 2 corners"}},
      {"Mesh {\n4294967296;\n}",
       {"line 3:", "expected the mesh's vertex count, found a number beyond the 32-bit range"}},
      {"Mesh {\n3; 0;0;0;, 1;0;0;, 0;1;0;;\n1;\n3;0,1,2;;\n7;\n}", {"line 6:", "found an extra value"}},
      {std::string("Mesh {\n") + kTriangle + "MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;; }\n}",
       {"line 5:", "MeshNormals has 2 faces, but the mesh has 1"}},
      {std::string("Mesh {\n") + kTriangle + "MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; }\n}",
       {"line 5:", "face 0 of MeshNormals has 4 corners"}},
      {std::string("Mesh {\n") + kTriangle + "MeshNormals { 1; 0;0;1;; 1;\n3;0,1,0;; }\n}",
       {"line 6:", "normal index 1 is out of range"}},
      {std::string("Mesh {\n") + kTriangle + "MeshTextureCoords { 2; 0;0;, 1;1;; }\n}",
       {"line 5:", "2 coordinates for 3 vertices"}},
      {std::string("Mesh {\n") + kTriangle + "MeshMaterialList { 1; 1;\n2;; }\n}",
       {"line 6:", "material index 2 is out of range"}},
      {std::string("Mesh {\n") + kTriangle + "MeshMaterialList {\n2; 1; 0;;\n{ Missing } }\n}",
       {"line 7:", "{Missing} names no earlier Material"}},
      {std::string("Mesh {\n") + kTriangle +
           "MeshMaterialList {\n2; 1; 0;;\nMaterial { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }\n}\n}",
       {"line 8:", "starting at line 5", "declares 2 materials but holds 1"}},
      {std::string("Mesh {\n") + kTriangle +
           "MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;;\nTextureFilename { \"x.png; "
           "} } }\n}",
       {"line 6:", "string is never closed"}},
      {std::string("Mesh {\n") + kTriangle +
           "SkinWeights {\n\"Bone\"; 1; 3; 1.0; 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n}",
       {"line 6:", "skin vertex index 3 is out of range"}},
      {std::string("Mesh {\n") + kTriangle + "SkinWeights { Bone; 1; 0; 1.0; }\n}",
       {"line 5:", "expected the transform node name, found 'Bone'"}},
      {std::string("Mesh {\n") + kTriangle, {"expected '}' closing the object, found the end of the file"}},
      {"Frame {\nUnknown {\n{ { }\n}", {"line 3:", "never closed by '}'"}},
      {"Frame A\nMesh {", {"line 3:", "expected '{' to open the Frame object"}},
      {"Mesh <1234 {", {"line 2:", "GUID starting with '<' is never closed"}},
      {"7;", {"line 2:", "expected a template or a data object"}},
      {"template {", {"line 2:", "expected the template's name"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    const Status s = ParseText(c.body);
    ExpectRefused(s, "bad.x, ");
    for (const std::string& piece : c.pieces) {
      EXPECT_NE(s.detail.find(piece), std::string::npos) << s.detail << "\nmissing: " << piece;
    }
  }
}

TEST(Malformed, DeepFramesAreRefusedNotRecursedWithoutBound) {
  std::string body;
  for (int i = 0; i < 300; ++i) body += "Frame {\n";
  ExpectRefused(ParseText(body), "line 258:", "nested more than 256 deep");
}

TEST(Malformed, FilesWithoutFacesAreRefusedByTheLoader) {
  TempDir dir;
  SkinnedModel model;
  ExpectRefused(LoadMesh(model, dir.write("none.x", TextX("Frame { }"))), "none.x:", "holds no Mesh object");
  ExpectRefused(LoadMesh(model, dir.write("empty.x", TextX("Mesh { 0; 0; }"))), "empty.x:", "no faces");
  ExpectRefused(LoadMesh(model, dir.path("missing.x")), "missing.x:", "cannot be opened");
  EXPECT_FALSE(model.meshLoaded);
}

TEST(Malformed, BinaryErrorsNameTheByteOffset) {
  XFileDocument doc;
  {
    XBinaryBuilder b;
    b.object("Unknown");
    const std::size_t at = b.size();
    b.token(kXTokenFloatList).u32(1000);  // a float list longer than the file, in an object that is skipped
    ExpectRefused(ParseXFile(b.bytes(), "bad.x", doc), "byte " + std::to_string(at) + ":",
                  "list of 1000 values does not fit");
  }
  {
    XBinaryBuilder b;
    b.object("Mesh");
    const std::size_t at = b.size();
    b.floats({3.0});
    ExpectRefused(ParseXFile(b.bytes(), "bad.x", doc), "byte " + std::to_string(at) + ":",
                  "expected the mesh's vertex count, found a float list");
  }
  {
    XBinaryBuilder b;
    b.object("Mesh");
    const std::size_t at = b.size();
    b.token(99);
    ExpectRefused(ParseXFile(b.bytes(), "bad.x", doc), "byte " + std::to_string(at) + ":",
                  "unknown token code 99");
  }
  {
    XBinaryBuilder b;
    b.object("Mesh").ints({3}).floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
    const std::size_t at = b.size();
    b.ints({1, 3, 0, 1, 5}).close();
    ExpectRefused(ParseXFile(b.bytes(), "bad.x", doc), "byte " + std::to_string(at + 6 + 16) + ":",
                  "vertex index 5 is out of range");
  }
  {
    XBinaryBuilder b;
    b.object("Mesh").ints({1}).floats({0, 0, 0}).ints({0, 7}).close();
    ExpectRefused(ParseXFile(b.bytes(), "bad.x", doc), "found an extra value");
  }
  {
    XBinaryBuilder b;
    b.name("Frame").token(kXTokenName).u32(50).raw("short");
    ExpectRefused(ParseXFile(b.bytes(), "bad.x", doc), "byte 27:", "name or string of 50 bytes");
  }
}

TEST(Malformed, CompressedErrorsNameTheBlock) {
  XBinaryBuilder b;
  b.object("Mesh").ints({3}).floats({0, 0, 0, 1, 0, 0, 0, 1, 0}).ints({1, 3, 0, 1, 2}).close();
  const std::string good = CompressX(b.bytes(), 30);
  XFileDocument doc;
  ASSERT_TRUE(ParseXFile(good, "c.x", doc).ok);

  std::string noSignature = good;
  noSignature[24] = 'X';
  ExpectRefused(ParseXFile(noSignature, "c.x", doc), "c.x, byte 24:", "\"CK\"");

  std::string corrupt = good;
  corrupt[27] = static_cast<char>(corrupt[27] ^ 0x5A);
  ExpectRefused(ParseXFile(corrupt, "c.x", doc), "c.x, byte 26:", "does not inflate");

  ExpectRefused(ParseXFile(good.substr(0, good.size() - 3), "c.x", doc), "c.x, byte");

  std::string wrongTotal = good;
  wrongTotal[16] = static_cast<char>(wrongTotal[16] + 1);
  ExpectRefused(ParseXFile(wrongTotal, "c.x", doc), "stated total size");

  std::string bigBlock = good;
  bigBlock[20] = 0;
  bigBlock[21] = static_cast<char>(0x81);  // 33024 bytes
  ExpectRefused(ParseXFile(bigBlock, "c.x", doc), "c.x, byte 20:", "1 to 32768");

  // Positions inside the inflated data are reported as such.
  XBinaryBuilder bad;
  bad.object("Mesh").floats({1});
  ExpectRefused(ParseXFile(CompressX(bad.bytes()), "c.x", doc),
                "byte 28 of the inflated data: expected the mesh's vertex count");
}
}  // namespace
}  // namespace posewright
