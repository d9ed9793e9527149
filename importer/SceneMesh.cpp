#include "importer/SceneMesh.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <array>
#include <map>

#include "fileio/FileBytes.h"
#include "image/TextureLoader.h"
#include "mesh/MeshLimits.h"
#include "xfile/XFileHeader.h"
#include "xfile/XFileMeshBuilder.h"

namespace posewright {

namespace {
std::string Thousands(std::size_t n) {
  std::string digits = std::to_string(n);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) {
    digits.insert(static_cast<std::size_t>(i), ",");
  }
  return digits;
}

D3DCOLORVALUE Colour(const aiColor4D& c) {
  return D3DCOLORVALUE{c.r, c.g, c.b, c.a};
}

D3DXMATERIAL ConvertMaterial(const aiMaterial& in) {
  D3DXMATERIAL out = DefaultXMaterial();
  aiColor4D c;
  if (in.Get(AI_MATKEY_COLOR_DIFFUSE, c) == AI_SUCCESS || in.Get(AI_MATKEY_BASE_COLOR, c) == AI_SUCCESS) {
    out.MatD3D.Diffuse = Colour(c);
  }
  float opacity = 1.0f;
  if (in.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS && opacity >= 0.0f && opacity < out.MatD3D.Diffuse.a) {
    out.MatD3D.Diffuse.a = opacity;
  }
  if (in.Get(AI_MATKEY_COLOR_SPECULAR, c) == AI_SUCCESS) {
    out.MatD3D.Specular = Colour(c);
    out.MatD3D.Specular.a = 1.0f;
  }
  if (in.Get(AI_MATKEY_COLOR_EMISSIVE, c) == AI_SUCCESS) {
    out.MatD3D.Emissive = Colour(c);
    out.MatD3D.Emissive.a = 1.0f;
  }
  float power = 0.0f;
  if (in.Get(AI_MATKEY_SHININESS, power) == AI_SUCCESS && power >= 0.0f) {
    out.MatD3D.Power = power;
  }
  return out;
}

// The texture of an embedded image: compressed bytes through the editor's
// decoders, raw texels (B, G, R, A) copied.
std::optional<TextureImage> DecodeEmbedded(const aiTexture& t) {
  if (t.pcData == nullptr) {
    return std::nullopt;
  }
  if (t.mHeight == 0) {
    return DecodeTextureImage(std::string_view(reinterpret_cast<const char*>(t.pcData), t.mWidth));
  }
  const long long pixels = static_cast<long long>(t.mWidth) * t.mHeight;
  if (t.mWidth > 16384 || t.mHeight > 16384 || pixels > (1LL << 24)) {
    return std::nullopt;
  }
  TextureImage image;
  image.width = static_cast<int>(t.mWidth);
  image.height = static_cast<int>(t.mHeight);
  image.rgba.resize(static_cast<std::size_t>(pixels) * 4);
  for (long long i = 0; i < pixels; ++i) {
    const aiTexel& texel = t.pcData[i];
    uint8_t* out = &image.rgba[static_cast<std::size_t>(i) * 4];
    out[0] = texel.r;
    out[1] = texel.g;
    out[2] = texel.b;
    out[3] = texel.a;
  }
  return image;
}

// The material's texture name as the model keeps it, and its decoded image
// when the file embeds it.
void AttachTexture(const aiScene& scene, const aiMaterial& in, D3DXMATERIAL& out,
                   std::optional<TextureImage>& embedded) {
  aiString path;
  if (in.GetTexture(aiTextureType_DIFFUSE, 0, &path) != AI_SUCCESS &&
      in.GetTexture(aiTextureType_BASE_COLOR, 0, &path) != AI_SUCCESS) {
    return;
  }
  const std::string name = path.C_Str();
  if (name.empty()) {
    return;
  }
  out.textureFilename = name;
  if (const aiTexture* t = scene.GetEmbeddedTexture(path.C_Str())) {
    const std::string own = t->mFilename.C_Str();
    if (!own.empty() && own[0] != '*') {
      out.textureFilename = FileNameOf(own);
    }
    embedded = DecodeEmbedded(*t);
  }
}

struct Walk {
  const aiScene& scene;
  std::vector<SceneMeshInstance> instances;

  void visit(const aiNode& node, const D3DXMATRIX& parent) {
    D3DXMATRIX local = FromAssimpMatrix(&node.mTransformation.a1);
    D3DXMATRIX world;
    D3DXMatrixMultiply(&world, &local, &parent);
    for (unsigned k = 0; k < node.mNumMeshes; ++k) {
      if (node.mMeshes[k] < scene.mNumMeshes && scene.mMeshes[node.mMeshes[k]]->mNumVertices > 0) {
        instances.push_back(SceneMeshInstance{node.mMeshes[k], &node, world, 0});
      }
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) {
      visit(*node.mChildren[c], world);
    }
  }
};

// Normals for vertices first .. end−1: at each position, the sum of the
// (area-weighted, outward) normals of the faces around it, made unit length.
void SmoothNormals(SourceMesh& mesh, uint32_t first, uint32_t end) {
  auto key = [](const D3DXVECTOR3& p) { return std::array<float, 3>{p.x, p.y, p.z}; };
  std::map<std::array<float, 3>, D3DXVECTOR3> sums;
  for (std::size_t f = 0; f < mesh.faceCount(); ++f) {
    const uint16_t* corners = &mesh.indices[3 * f];
    if (corners[0] < first || corners[0] >= end) continue;
    const D3DXVECTOR3& a = mesh.vertices[corners[0]].position;
    const D3DXVECTOR3 ab = mesh.vertices[corners[1]].position - a;
    const D3DXVECTOR3 ac = mesh.vertices[corners[2]].position - a;
    D3DXVECTOR3 n;
    D3DXVec3Cross(&n, &ab, &ac);
    for (int k = 0; k < 3; ++k) sums[key(mesh.vertices[corners[k]].position)] += n;
  }
  for (uint32_t v = first; v < end; ++v) {
    MeshVertex& vertex = mesh.vertices[v];
    const auto sum = sums.find(key(vertex.position));
    if (sum != sums.end()) D3DXVec3Normalize(&vertex.normal, &sum->second);
  }
}

bool IsTriangle(const aiFace& face, const aiMesh& mesh) {
  if (face.mNumIndices != 3) {
    return false;
  }
  const aiVector3D& a = mesh.mVertices[face.mIndices[0]];
  const aiVector3D& b = mesh.mVertices[face.mIndices[1]];
  const aiVector3D& c = mesh.mVertices[face.mIndices[2]];
  return !(a == b || b == c || a == c);
}
}  // namespace

D3DXMATRIX FromAssimpMatrix(const float* m) {
  D3DXMATRIX out;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      out.m(r, c) = m[c * 4 + r];
    }
  }
  return out;
}

Status BuildSceneMesh(const aiScene& scene, float unitScale, const std::string& fileName, SceneMesh& out) {
  out = SceneMesh{};
  D3DXMATRIX scale;
  D3DXMatrixScaling(&scale, unitScale, unitScale, unitScale);
  Walk walk{scene, {}};
  if (scene.mRootNode != nullptr) {
    walk.visit(*scene.mRootNode, scale);
  }

  std::size_t vertexCount = 0;
  std::size_t faceCount = 0;
  for (SceneMeshInstance& instance : walk.instances) {
    const aiMesh& mesh = *scene.mMeshes[instance.mesh];
    instance.firstVertex = static_cast<uint32_t>(std::min<std::size_t>(vertexCount, UINT32_MAX));
    vertexCount += mesh.mNumVertices;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      if (IsTriangle(mesh.mFaces[f], mesh)) {
        ++faceCount;
      } else {
        ++out.droppedFaces;
      }
    }
  }
  if (faceCount == 0) {
    return Status::Error(kXFileErrorMessage, fileName + ": the file holds no mesh with a face");
  }
  if (vertexCount > kMaxMeshElements || faceCount > kMaxMeshElements) {
    return Status::Error(kXFileErrorMessage, fileName + ": the mesh has " + Thousands(vertexCount) +
                                                 " vertices and " + Thousands(faceCount) +
                                                 " faces; at most " + Thousands(kMaxMeshElements) +
                                                 " of each can be opened");
  }

  // Materials in scene order, only those a merged mesh uses.
  std::map<unsigned, uint32_t> materialOf;
  for (const SceneMeshInstance& instance : walk.instances) {
    materialOf.emplace(scene.mMeshes[instance.mesh]->mMaterialIndex, 0);
  }
  for (auto& [index, number] : materialOf) {
    number = static_cast<uint32_t>(out.materials.size());
    std::optional<TextureImage> embedded;
    if (index < scene.mNumMaterials && scene.mMaterials[index] != nullptr) {
      out.materials.push_back(ConvertMaterial(*scene.mMaterials[index]));
      AttachTexture(scene, *scene.mMaterials[index], out.materials.back(), embedded);
    } else {
      out.materials.push_back(DefaultXMaterial());
    }
    out.embeddedTextures.push_back(std::move(embedded));
  }

  SourceMesh& merged = out.mesh;
  merged.vertices.reserve(vertexCount);
  merged.indices.reserve(faceCount * 3);
  merged.faceAttributes.reserve(faceCount);
  for (const SceneMeshInstance& instance : walk.instances) {
    const aiMesh& mesh = *scene.mMeshes[instance.mesh];
    D3DXMATRIX inverse, normalMatrix;
    float determinant = 0.0f;
    D3DXMatrixInverse(&inverse, &determinant, &instance.world);
    D3DXMatrixTranspose(&normalMatrix, &inverse);
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
      MeshVertex out;
      const D3DXVECTOR3 p(mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z);
      D3DXVec3TransformCoord(&out.position, &p, &instance.world);
      if (mesh.mNormals != nullptr) {
        const D3DXVECTOR3 n(mesh.mNormals[v].x, mesh.mNormals[v].y, mesh.mNormals[v].z);
        D3DXVECTOR3 moved;
        D3DXVec3TransformNormal(&moved, &n, &normalMatrix);
        D3DXVec3Normalize(&out.normal, &moved);
      }
      if (mesh.mTextureCoords[0] != nullptr) {
        out.u = mesh.mTextureCoords[0][v].x;
        out.v = mesh.mTextureCoords[0][v].y;
      }
      merged.vertices.push_back(out);
    }
    // A mirroring transform turns the faces inside out unless their corners
    // are turned round too.
    const bool mirrored = determinant < 0.0f;
    const uint32_t material = materialOf[mesh.mMaterialIndex];
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (!IsTriangle(face, mesh)) {
        continue;
      }
      const unsigned corners[3] = {face.mIndices[0], face.mIndices[mirrored ? 2 : 1],
                                   face.mIndices[mirrored ? 1 : 2]};
      for (unsigned c : corners) {
        merged.indices.push_back(static_cast<uint16_t>(instance.firstVertex + c));
      }
      merged.faceAttributes.push_back(material);
    }
  }
  out.instances = std::move(walk.instances);
  for (const SceneMeshInstance& instance : out.instances) {
    if (scene.mMeshes[instance.mesh]->mNormals == nullptr) {
      SmoothNormals(merged, instance.firstVertex,
                    instance.firstVertex + scene.mMeshes[instance.mesh]->mNumVertices);
    }
  }
  return Status::Ok();
}
}  // namespace posewright
