#include "xfile/XFileParser.h"

#include <unordered_map>
#include <utility>

#include "fileio/FileBytes.h"
#include "xfile/XFileBinaryReader.h"
#include "xfile/XFileDecompressor.h"
#include "xfile/XFileHeader.h"
#include "xfile/XFileTextReader.h"

namespace posewright {

namespace {
/// Deepest nesting of frames accepted (keeps the recursion bounded).
constexpr int kMaxFrameDepth = 256;

/// The object-level grammar, shared by the text and binary encodings. Reader
/// is XFileTextReader or XFileBinaryReader; every read reports its own error.
template <class Reader>
class XParser {
 public:
  XParser(Reader& reader, XFileDocument& doc) : r_(reader), doc_(doc) {}

  bool parseDocument() {
    for (;;) {
      const XToken t = r_.next();
      switch (t.kind) {
        case XTokenKind::End:
          return true;
        case XTokenKind::Error:
          return false;
        case XTokenKind::Template:
          if (!skipTemplate()) return false;
          break;
        case XTokenKind::Name:
          if (!topLevelObject(t.text)) return false;
          break;
        case XTokenKind::OpenBrace: {
          std::string ignored;
          if (!readReference(ignored)) return false;
          break;
        }
        default:
          return fail("expected a template or a data object");
      }
    }
  }

 private:
  bool fail(const std::string& what) { return r_.fail(what); }
  bool u(uint32_t& v, const char* what) { return r_.readUInt(v, what); }
  bool f(float& v, const char* what) { return r_.readFloat(v, what); }

  bool fits(uint64_t values, const char* what, uint64_t count) {
    if (r_.canHold(values)) {
      return true;
    }
    return fail(std::string("the ") + what + " " + std::to_string(count) +
                " does not fit the data left in the file");
  }

  bool skipTemplate() {
    if (r_.next().kind != XTokenKind::Name) {
      return fail("expected the template's name");
    }
    const XTokenKind k = r_.next().kind;
    if (k != XTokenKind::OpenBrace) {
      return k == XTokenKind::Error ? false : fail("expected '{' after the template's name");
    }
    return r_.skipBody();
  }

  /// After an object's type name: the optional object name, the optional GUID
  /// and the opening brace.
  bool openObject(std::string_view type, std::string& name) {
    XTokenKind k = r_.peek();
    if (k == XTokenKind::Name) {
      name.assign(r_.next().text);
      k = r_.peek();
    } else if (k == XTokenKind::Number) {
      const XToken t = r_.next();  // a text name may start with a digit
      if (t.text.empty()) {
        return fail("expected '{' to open the " + std::string(type) + " object, found a value");
      }
      name.assign(t.text);
      k = r_.peek();
    }
    if (k == XTokenKind::Guid) {
      r_.next();
      k = r_.peek();
    }
    if (k == XTokenKind::Error) {
      return false;
    }
    r_.next();
    if (k != XTokenKind::OpenBrace) {
      return fail("expected '{' to open the " + std::string(type) + " object");
    }
    return true;
  }

  /// After a reference's '{': a name and/or a GUID, then '}'.
  bool readReference(std::string& name) {
    XToken t = r_.next();
    if (t.kind == XTokenKind::Name || (t.kind == XTokenKind::Number && !t.text.empty())) {
      name.assign(t.text);  // a text name may start with a digit
      t = r_.next();
    }
    if (t.kind == XTokenKind::Guid) {
      t = r_.next();
    }
    if (t.kind == XTokenKind::Error) {
      return false;
    }
    if (t.kind != XTokenKind::CloseBrace) {
      return fail("expected '}' closing the reference");
    }
    return true;
  }

  /// Reads the children of an object up to and including its closing brace.
  /// onObject(type, name) must consume the child's body; onReference(name)
  /// sees every {reference}.
  template <class OnObject, class OnReference>
  bool readChildren(OnObject&& onObject, OnReference&& onReference) {
    for (;;) {
      const XToken t = r_.next();
      switch (t.kind) {
        case XTokenKind::CloseBrace:
          return true;
        case XTokenKind::Name: {
          std::string name;
          if (!openObject(t.text, name) || !onObject(t.text, name)) return false;
          break;
        }
        case XTokenKind::OpenBrace: {
          std::string name;
          if (!readReference(name) || !onReference(name)) return false;
          break;
        }
        case XTokenKind::Error:
          return false;
        case XTokenKind::End:
          return fail("expected '}' closing the object, found the end of the file");
        case XTokenKind::Number:
          return fail("expected '}' or a child object, found an extra value");
        default:
          return fail("expected '}' or a child object");
      }
    }
  }

  /// Reads the remaining children of an object whose children are not used.
  bool skipChildren() {
    return readChildren([this](std::string_view, const std::string&) { return r_.skipBody(); },
                        [](const std::string&) { return true; });
  }

  bool topLevelObject(std::string_view type) {
    std::string name;
    if (!openObject(type, name)) {
      return false;
    }
    if (EqualsNoCase(type, "Frame")) {
      return frame(std::move(name), -1, 1);
    }
    if (EqualsNoCase(type, "Mesh")) {
      return mesh(std::move(name), -1);
    }
    if (EqualsNoCase(type, "Material")) {
      D3DXMATERIAL m;
      return material(m, name);
    }
    if (EqualsNoCase(type, "AnimationSet")) {
      return animationSet(std::move(name));
    }
    if (EqualsNoCase(type, "AnimTicksPerSecond")) {
      return u(doc_.ticksPerSecond, "the ticks per second") && skipChildren();
    }
    return r_.skipBody();
  }

  bool frame(std::string name, int32_t parent, int depth) {
    if (depth > kMaxFrameDepth) {
      return fail("frames are nested more than " + std::to_string(kMaxFrameDepth) + " deep");
    }
    const auto index = static_cast<int32_t>(doc_.frames.size());
    doc_.frames.push_back(XFrame{std::move(name), parent, XIdentityMatrix()});
    return readChildren(
        [&](std::string_view type, std::string& childName) {
          if (EqualsNoCase(type, "FrameTransformMatrix")) {
            D3DXMATRIX m;
            if (!matrix(m, "a frame transform element")) return false;
            doc_.frames[static_cast<std::size_t>(index)].transform = m;
            return skipChildren();
          }
          if (EqualsNoCase(type, "Frame")) {
            return frame(std::move(childName), index, depth + 1);
          }
          if (EqualsNoCase(type, "Mesh")) {
            return mesh(std::move(childName), index);
          }
          if (EqualsNoCase(type, "Material")) {
            D3DXMATERIAL m;
            return material(m, childName);
          }
          return r_.skipBody();
        },
        [](const std::string&) { return true; });
  }

  bool matrix(D3DXMATRIX& m, const char* what) {
    for (int i = 0; i < 16; ++i) {
      if (!f((&m._11)[i], what)) return false;
    }
    return true;
  }

  bool mesh(std::string name, int32_t frameIndex) {
    XMesh m;
    m.name = std::move(name);
    m.frame = frameIndex;
    uint32_t vertexCount = 0;
    if (!u(vertexCount, "the mesh's vertex count")) return false;
    if (vertexCount > kMaxMeshElements) {
      return fail("the mesh has " + std::to_string(vertexCount) +
                  " vertices; at most 65,535 can be loaded (16-bit vertex indices)");
    }
    if (!fits(uint64_t{vertexCount} * 3, "vertex count", vertexCount)) return false;
    m.positions.resize(vertexCount);
    for (D3DXVECTOR3& p : m.positions) {
      if (!f(p.x, "a vertex coordinate") || !f(p.y, "a vertex coordinate") ||
          !f(p.z, "a vertex coordinate")) {
        return false;
      }
    }
    uint32_t faceCount = 0;
    if (!u(faceCount, "the mesh's face count")) return false;
    if (faceCount > kMaxMeshElements) {
      return fail("the mesh has " + std::to_string(faceCount) + " faces; at most 65,535 can be loaded");
    }
    if (!fits(uint64_t{faceCount} * 4, "face count", faceCount)) return false;
    m.faceStarts.reserve(std::size_t{faceCount} + 1);
    m.faceCorners.reserve(std::size_t{faceCount} * 3);
    uint64_t triangles = 0;
    for (uint32_t face = 0; face < faceCount; ++face) {
      uint32_t corners = 0;
      if (!u(corners, "the corner count of a face")) return false;
      if (corners < 3) {
        return fail("face " + std::to_string(face) + " has " + std::to_string(corners) +
                    " corners; a face needs at least 3");
      }
      if (!fits(corners, "corner count", corners)) return false;
      triangles += corners - 2;
      if (triangles > kMaxMeshElements) {
        return fail("the mesh's faces make more than 65,535 triangles");
      }
      for (uint32_t c = 0; c < corners; ++c) {
        uint32_t v = 0;
        if (!u(v, "a vertex index")) return false;
        if (v >= vertexCount) {
          return fail("vertex index " + std::to_string(v) + " is out of range; the mesh has " +
                      std::to_string(vertexCount) + " vertices");
        }
        m.faceCorners.push_back(v);
      }
      m.faceStarts.push_back(static_cast<uint32_t>(m.faceCorners.size()));
    }
    const bool ok = readChildren(
        [&](std::string_view type, const std::string&) {
          if (EqualsNoCase(type, "MeshNormals") && !m.hasNormals) return normals(m);
          if (EqualsNoCase(type, "MeshTextureCoords") && m.texCoords.empty()) return texCoords(m);
          if (EqualsNoCase(type, "MeshMaterialList") && !m.hasMaterialList) return materialList(m);
          if (EqualsNoCase(type, "XSkinMeshHeader") && !m.hasSkinHeader) return skinHeader(m);
          if (EqualsNoCase(type, "SkinWeights")) return skinWeights(m);
          return r_.skipBody();
        },
        [](const std::string&) { return true; });
    if (ok) {
      doc_.meshes.push_back(std::move(m));
    }
    return ok;
  }

  bool normals(XMesh& m) {
    uint32_t count = 0;
    if (!u(count, "the normal count")) return false;
    if (!fits(uint64_t{count} * 3, "normal count", count)) return false;
    m.normals.resize(count);
    for (D3DXVECTOR3& n : m.normals) {
      if (!f(n.x, "a normal coordinate") || !f(n.y, "a normal coordinate") ||
          !f(n.z, "a normal coordinate")) {
        return false;
      }
    }
    uint32_t faceCount = 0;
    if (!u(faceCount, "the face count of MeshNormals")) return false;
    if (faceCount != m.faceCount()) {
      return fail("MeshNormals has " + std::to_string(faceCount) + " faces, but the mesh has " +
                  std::to_string(m.faceCount()));
    }
    m.normalCorners.resize(m.faceCorners.size());
    for (std::size_t face = 0; face < m.faceCount(); ++face) {
      const uint32_t expected = m.faceStarts[face + 1] - m.faceStarts[face];
      uint32_t corners = 0;
      if (!u(corners, "the corner count of a normal face")) return false;
      if (corners != expected) {
        return fail("face " + std::to_string(face) + " of MeshNormals has " + std::to_string(corners) +
                    " corners, but the mesh's face has " + std::to_string(expected));
      }
      for (uint32_t c = 0; c < corners; ++c) {
        uint32_t n = 0;
        if (!u(n, "a normal index")) return false;
        if (n >= count) {
          return fail("normal index " + std::to_string(n) + " is out of range; MeshNormals has " +
                      std::to_string(count) + " normals");
        }
        m.normalCorners[m.faceStarts[face] + c] = n;
      }
    }
    m.hasNormals = true;
    return skipChildren();
  }

  bool texCoords(XMesh& m) {
    uint32_t count = 0;
    if (!u(count, "the texture coordinate count")) return false;
    if (count < m.positions.size()) {
      return fail("MeshTextureCoords has " + std::to_string(count) + " coordinates for " +
                  std::to_string(m.positions.size()) + " vertices");
    }
    if (!fits(uint64_t{count} * 2, "texture coordinate count", count)) return false;
    std::vector<float> uv(std::size_t{count} * 2);
    for (float& value : uv) {
      if (!f(value, "a texture coordinate")) return false;
    }
    uv.resize(m.positions.size() * 2);  // extra coordinates are not used
    m.texCoords = std::move(uv);
    return skipChildren();
  }

  bool materialList(XMesh& m) {
    const std::size_t start = r_.mark();
    uint32_t materialCount = 0;
    uint32_t indexCount = 0;
    if (!u(materialCount, "the material count") || !u(indexCount, "the face index count")) return false;
    if (!fits(indexCount, "face index count", indexCount)) return false;
    m.faceMaterials.reserve(std::min<std::size_t>(indexCount, m.faceCount()));
    for (uint32_t i = 0; i < indexCount; ++i) {
      uint32_t index = 0;
      if (!u(index, "a face's material index")) return false;
      if (index >= materialCount) {
        return fail("material index " + std::to_string(index) + " is out of range; the list has " +
                    std::to_string(materialCount) + " materials");
      }
      if (i < m.faceCount()) {
        m.faceMaterials.push_back(index);  // indices beyond the face count are not used
      }
    }
    const bool ok = readChildren(
        [&](std::string_view type, const std::string& name) {
          if (!EqualsNoCase(type, "Material")) return r_.skipBody();
          D3DXMATERIAL mat;
          if (!material(mat, name)) return false;
          m.materials.push_back(std::move(mat));
          return true;
        },
        [&](const std::string& name) {
          const auto found = namedMaterials_.find(name);
          if (found == namedMaterials_.end()) {
            return fail("the reference {" + name + "} names no earlier Material");
          }
          m.materials.push_back(found->second);
          return true;
        });
    if (!ok) {
      return false;
    }
    if (m.materials.size() != materialCount) {
      return r_.fail("the MeshMaterialList starting at " + r_.locationAt(start) + " declares " +
                     std::to_string(materialCount) + " materials but holds " +
                     std::to_string(m.materials.size()));
    }
    m.hasMaterialList = true;
    return true;
  }

  /// A Material: face colour (RGBA), power, specular and emissive colours
  /// (RGB), and an optional TextureFilename child. A named material is kept for
  /// later references.
  bool material(D3DXMATERIAL& out, const std::string& name) {
    D3DMATERIAL8& m = out.MatD3D;
    const char* colour = "a material colour component";
    if (!f(m.Diffuse.r, colour) || !f(m.Diffuse.g, colour) || !f(m.Diffuse.b, colour) ||
        !f(m.Diffuse.a, colour) || !f(m.Power, "the material's power") || !f(m.Specular.r, colour) ||
        !f(m.Specular.g, colour) || !f(m.Specular.b, colour) || !f(m.Emissive.r, colour) ||
        !f(m.Emissive.g, colour) || !f(m.Emissive.b, colour)) {
      return false;
    }
    m.Ambient = {0.0f, 0.0f, 0.0f, 1.0f};
    m.Specular.a = 1.0f;
    m.Emissive.a = 1.0f;
    bool haveTexture = false;
    const bool ok = readChildren(
        [&](std::string_view type, const std::string&) {
          if (!EqualsNoCase(type, "TextureFilename") || haveTexture) return r_.skipBody();
          haveTexture = true;
          return r_.readString(out.textureFilename, "the texture file name") && skipChildren();
        },
        [](const std::string&) { return true; });
    if (ok && !name.empty()) {
      namedMaterials_[name] = out;
    }
    return ok;
  }

  bool skinHeader(XMesh& m) {
    if (!u(m.skinHeader.maxSkinWeightsPerVertex, "nMaxSkinWeightsPerVertex") ||
        !u(m.skinHeader.maxSkinWeightsPerFace, "nMaxSkinWeightsPerFace") ||
        !u(m.skinHeader.bones, "nBones")) {
      return false;
    }
    m.hasSkinHeader = true;
    return skipChildren();
  }

  bool skinWeights(XMesh& m) {
    XSkinWeights w;
    uint32_t count = 0;
    if (!r_.readString(w.transformNodeName, "the transform node name") || !u(count, "the weight count")) {
      return false;
    }
    if (!fits(uint64_t{count} * 2 + 16, "weight count", count)) return false;
    w.vertexIndices.resize(count);
    for (uint32_t& v : w.vertexIndices) {
      if (!u(v, "a skin vertex index")) return false;
      if (v >= m.positions.size()) {
        return fail("skin vertex index " + std::to_string(v) + " is out of range; the mesh has " +
                    std::to_string(m.positions.size()) + " vertices");
      }
    }
    w.weights.resize(count);
    for (float& weight : w.weights) {
      if (!f(weight, "a skin weight")) return false;
    }
    if (!matrix(w.matrixOffset, "an offset matrix element")) return false;
    m.skinWeights.push_back(std::move(w));
    return skipChildren();
  }

  bool animationSet(std::string name) {
    XAnimationSet set;
    set.name = std::move(name);
    const bool ok = readChildren(
        [&](std::string_view type, std::string& childName) {
          if (!EqualsNoCase(type, "Animation")) return r_.skipBody();
          XAnimation a;
          a.name = std::move(childName);
          if (!animation(a)) return false;
          set.animations.push_back(std::move(a));
          return true;
        },
        [](const std::string&) { return true; });
    if (ok) {
      doc_.animationSets.push_back(std::move(set));
    }
    return ok;
  }

  bool animation(XAnimation& a) {
    bool named = false;
    return readChildren(
        [&](std::string_view type, const std::string&) {
          if (!EqualsNoCase(type, "AnimationKey")) return r_.skipBody();
          XAnimationKey key;
          if (!animationKey(key)) return false;
          a.keys.push_back(std::move(key));
          return true;
        },
        [&](const std::string& name) {
          if (!named) {
            a.frameName = name;
            named = true;
          }
          return true;
        });
  }

  bool animationKey(XAnimationKey& key) {
    uint32_t count = 0;
    if (!u(key.keyType, "the key type") || !u(count, "the key count")) return false;
    if (!fits(uint64_t{count} * 2, "key count", count)) return false;
    key.keys.resize(count);
    for (XTimedKey& k : key.keys) {
      uint32_t values = 0;
      if (!u(k.time, "a key time") || !u(values, "a key's value count")) return false;
      if (!fits(values, "value count", values)) return false;
      k.values.resize(values);
      for (float& v : k.values) {
        if (!f(v, "a key value")) return false;
      }
    }
    return skipChildren();
  }

  Reader& r_;
  XFileDocument& doc_;
  std::unordered_map<std::string, D3DXMATERIAL> namedMaterials_;
};

template <class Reader>
Status Parse(Reader& reader, XFileDocument& doc, const std::string& fileName) {
  XParser<Reader> parser(reader, doc);
  if (!parser.parseDocument()) {
    return Status::Error(kXFileErrorMessage, fileName + ", " + reader.error());
  }
  return Status::Ok();
}
}  // namespace

Status ParseXFile(std::string_view bytes, const std::string& fileName, XFileDocument& doc) {
  doc = XFileDocument{};
  XFileHeader header;
  if (Status s = ParseXFileHeader(bytes, fileName, header); !s) {
    return s;
  }
  doc.encoding = header.encoding;
  doc.floatBits = header.floatBits;
  std::string inflated;
  std::string_view body = bytes.substr(kXFileHeaderSize);
  const bool compressed =
      header.encoding == XFileEncoding::CompressedText || header.encoding == XFileEncoding::CompressedBinary;
  if (compressed) {
    if (Status s = InflateXFileBody(bytes, fileName, inflated); !s) {
      return s;
    }
    body = inflated;
  }
  if (header.encoding == XFileEncoding::Text || header.encoding == XFileEncoding::CompressedText) {
    // The header shares the first line with whatever follows it.
    XFileTextReader reader(body, 1);
    return Parse(reader, doc, fileName);
  }
  XFileBinaryReader reader(body, header.floatBits, kXFileHeaderSize, compressed);
  return Parse(reader, doc, fileName);
}

Status ReadXFile(const std::string& path, XFileDocument& doc) {
  std::string why;
  const std::optional<std::string> bytes = ReadFileBytes(path, kMaxXFileBytes, &why);
  if (!bytes) {
    return Status::Error(kXFileErrorMessage,
                         FileNameOf(path) + ": the file cannot be opened or read (" + why + ")");
  }
  return ParseXFile(*bytes, FileNameOf(path), doc);
}
}  // namespace posewright
