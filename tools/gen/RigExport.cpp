#include "tools/gen/RigExport.h"

#include <assimp/material.h>
#include <assimp/scene.h>

#include <assimp/Exporter.hpp>
#include <cstdio>
#include <map>
#include <memory>

#include "fileio/FileBytes.h"
#include "fileio/TextWriter.h"
#include "image/PngWriter.h"
#include "tools/gen/MakeFolder.h"

namespace posewright {

namespace {
// The editor's left-handed space to Assimp's right-handed one: z negated.
aiVector3D RightHanded(const D3DXVECTOR3& v) {
  return aiVector3D(v.x, v.y, -v.z);
}

// FBX files count in centimetres (their unit scale says so, and readers go by
// it); the models are made in metres.
float UnitsPerMetre(const std::string& format) {
  return format.rfind("fbx", 0) == 0 ? 100.0f : 1.0f;
}

aiMatrix4x4 Translation(const aiVector3D& t) {
  aiMatrix4x4 m;
  aiMatrix4x4::Translation(t, m);
  return m;
}

template <typename T>
T** NewArray(std::size_t n) {
  T** out = new T*[n];
  for (std::size_t i = 0; i < n; ++i) out[i] = nullptr;
  return out;
}

void AddChildren(aiNode* parent, const std::vector<aiNode*>& children) {
  parent->mNumChildren = static_cast<unsigned>(children.size());
  parent->mChildren = NewArray<aiNode>(children.size());
  for (std::size_t i = 0; i < children.size(); ++i) {
    parent->mChildren[i] = children[i];
    children[i]->mParent = parent;
  }
}

aiMaterial* MakeMaterial(const RigModel& model) {
  auto* material = new aiMaterial();
  const aiString name(model.name + "_material");
  material->AddProperty(&name, AI_MATKEY_NAME);
  const aiColor4D diffuse(0.8f, 0.7f, 0.6f, 1.0f);
  material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
  if (!model.texture.empty()) {
    const aiString texture(model.texture);
    material->AddProperty(&texture, AI_MATKEY_TEXTURE_DIFFUSE(0));
  }
  return material;
}

aiMesh* MakeMesh(const RigModel& model, float scale) {
  auto* mesh = new aiMesh();
  mesh->mName = aiString("Body");
  mesh->mMaterialIndex = 0;
  const std::size_t n = model.vertices.size();
  mesh->mNumVertices = static_cast<unsigned>(n);
  mesh->mVertices = new aiVector3D[n];
  if (model.hasNormals) mesh->mNormals = new aiVector3D[n];
  mesh->mTextureCoords[0] = new aiVector3D[n];
  mesh->mNumUVComponents[0] = 2;
  for (std::size_t v = 0; v < n; ++v) {
    const MeshVertex& in = model.vertices[v];
    mesh->mVertices[v] = RightHanded(in.position * scale);
    if (model.hasNormals) mesh->mNormals[v] = RightHanded(in.normal);
    mesh->mTextureCoords[0][v] = aiVector3D(in.u, 1.0f - in.v, 0.0f);
  }
  mesh->mNumFaces = static_cast<unsigned>(model.faces.size());
  mesh->mFaces = new aiFace[model.faces.size()];
  for (std::size_t f = 0; f < model.faces.size(); ++f) {
    const std::vector<uint32_t>& corners = model.faces[f];
    aiFace& face = mesh->mFaces[f];
    face.mNumIndices = static_cast<unsigned>(corners.size());
    face.mIndices = new unsigned[corners.size()];
    // Mirroring z turns (V1 − V0) × (V2 − V0) inwards; reversing the corners
    // turns it out again, as the right-handed convention has it.
    for (std::size_t k = 0; k < corners.size(); ++k) {
      face.mIndices[k] = corners[k == 0 ? 0 : corners.size() - k];
    }
    mesh->mPrimitiveTypes |= corners.size() == 3 ? aiPrimitiveType_TRIANGLE : aiPrimitiveType_POLYGON;
  }

  // One bone per joint, also for those that move no vertex.
  std::map<uint32_t, std::vector<aiVertexWeight>> weights;
  for (uint32_t j = 0; j < model.joints.size(); ++j) weights[j];
  for (std::size_t v = 0; v < model.weights.size(); ++v) {
    for (const auto& [joint, weight] : model.weights[v]) {
      if (weight > 0.0f) weights[joint].push_back(aiVertexWeight(static_cast<unsigned>(v), weight));
    }
  }
  if (!weights.empty()) {
    mesh->mNumBones = static_cast<unsigned>(weights.size());
    mesh->mBones = NewArray<aiBone>(weights.size());
    std::size_t b = 0;
    for (const auto& [joint, list] : weights) {
      auto* bone = new aiBone();
      bone->mName = aiString(model.joints[joint].name);
      bone->mOffsetMatrix = Translation(-RightHanded(model.joints[joint].head * scale));
      bone->mNumWeights = static_cast<unsigned>(list.size());
      bone->mWeights = new aiVertexWeight[list.size()];
      std::copy(list.begin(), list.end(), bone->mWeights);
      mesh->mBones[b++] = bone;
    }
  }
  return mesh;
}

std::unique_ptr<aiScene> MakeScene(const RigModel& model, float scale) {
  auto scene = std::make_unique<aiScene>();
  scene->mNumMaterials = 1;
  scene->mMaterials = NewArray<aiMaterial>(1);
  scene->mMaterials[0] = MakeMaterial(model);
  scene->mNumMeshes = 1;
  scene->mMeshes = NewArray<aiMesh>(1);
  scene->mMeshes[0] = MakeMesh(model, scale);

  scene->mRootNode = new aiNode("Scene");
  auto* body = new aiNode("Body");
  body->mNumMeshes = 1;
  body->mMeshes = new unsigned[1]{0};
  std::vector<aiNode*> top{body};
  if (!model.joints.empty()) {
    auto* armature = new aiNode("Armature");
    std::vector<aiNode*> nodes;
    std::vector<std::vector<aiNode*>> children(model.joints.size());
    std::vector<aiNode*> roots;
    for (std::size_t j = 0; j < model.joints.size(); ++j) {
      const RigModelJoint& joint = model.joints[j];
      auto* node = new aiNode(joint.name);
      const D3DXVECTOR3 parentHead =
          joint.parent >= 0 ? model.joints[static_cast<std::size_t>(joint.parent)].head : D3DXVECTOR3();
      node->mTransformation = Translation(RightHanded((joint.head - parentHead) * scale));
      nodes.push_back(node);
      (joint.parent >= 0 ? children[static_cast<std::size_t>(joint.parent)] : roots).push_back(node);
    }
    for (std::size_t j = 0; j < nodes.size(); ++j) {
      if (!children[j].empty()) AddChildren(nodes[j], children[j]);
    }
    AddChildren(armature, roots);
    top.push_back(armature);
  }
  AddChildren(scene->mRootNode, top);
  return scene;
}

Status WriteTexture(const RigModel& model, const std::string& folder) {
  if (model.texture.empty()) {
    return Status::Ok();
  }
  // A 16 × 16 checker, red and cream, so a picture shows which way it lies.
  TextureImage image;
  image.width = image.height = 16;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool dark = ((x / 4) + (y / 4)) % 2 == 0;
      const uint8_t top = y < 2 ? 40 : 0;  // a dark band along the top row
      image.rgba.insert(image.rgba.end(), {static_cast<uint8_t>(dark ? 180 - top : 240 - top),
                                           static_cast<uint8_t>(dark ? 40 : 230 - top),
                                           static_cast<uint8_t>(dark ? 40 : 200 - top), 255});
    }
  }
  const std::string png = EncodePng(image.width, image.height, image.rgba, PngChannels::Rgba);
  if (png.empty()) return Status::Error("Cannot write the texture", model.texture);
  return WriteFileAtomically(folder + "/" + model.texture, png);
}
}  // namespace

Status ExportRigModel(const RigModel& model, const std::string& format, const std::string& path) {
  const std::unique_ptr<aiScene> scene = MakeScene(model, UnitsPerMetre(format));
  Assimp::Exporter exporter;
  if (exporter.Export(scene.get(), format, path) != aiReturn_SUCCESS) {
    return Status::Error("Assimp cannot export " + path, exporter.GetErrorString());
  }
  return WriteTexture(model, FolderOf(path).empty() ? "." : FolderOf(path));
}

Status WriteObjModel(const RigModel& model, const std::string& folder) {
  TextWriter obj;
  obj.line("mtllib %s.mtl", model.name.c_str());
  obj.line("o %s", model.name.c_str());
  for (const MeshVertex& v : model.vertices) {
    obj.line("v %.6f %.6f %.6f", static_cast<double>(v.position.x), static_cast<double>(v.position.y),
             static_cast<double>(-v.position.z));
  }
  for (const MeshVertex& v : model.vertices) {
    obj.line("vt %.6f %.6f", static_cast<double>(v.u), static_cast<double>(1.0f - v.v));
  }
  for (const MeshVertex& v : model.vertices) {
    obj.line("vn %.6f %.6f %.6f", static_cast<double>(v.normal.x), static_cast<double>(v.normal.y),
             static_cast<double>(-v.normal.z));
  }
  obj.line("usemtl %s_material", model.name.c_str());
  for (const std::vector<uint32_t>& corners : model.faces) {
    obj.append("f");
    for (std::size_t k = 0; k < corners.size(); ++k) {
      const uint32_t i = corners[k == 0 ? 0 : corners.size() - k] + 1;
      obj.append(" %u/%u/%u", i, i, i);
    }
    obj.line("%s", "");
  }
  TextWriter mtl;
  mtl.line("newmtl %s_material", model.name.c_str());
  mtl.line("Kd 0.800000 0.700000 0.600000");
  mtl.line("Ks 0.200000 0.200000 0.200000");
  mtl.line("Ns 12.000000");
  if (!model.texture.empty()) mtl.line("map_Kd %s", model.texture.c_str());
  if (Status s = WriteFileAtomically(folder + "/" + model.name + ".obj", obj.take()); !s) return s;
  if (Status s = WriteFileAtomically(folder + "/" + model.name + ".mtl", mtl.take()); !s) return s;
  return WriteTexture(model, folder);
}

Status WriteTestRigFiles(const std::string& folder) {
  if (Status s = MakeFolder(folder); !s) return s;
  const struct {
    RigModel model;
    const char* format;
    const char* extension;
  } files[] = {{BentTubeRig(), "glb2", ".glb"},
               {TwoRootRig(), "collada", ".dae"},
               {LeafHeavyHandRig(), "fbxa", ".fbx"},
               {ManyInfluencesRig(), "collada", ".dae"},
               {NoNormalsRig(), "glb2", ".glb"}};
  for (const auto& f : files) {
    if (Status s = ExportRigModel(f.model, f.format, folder + "/" + f.model.name + f.extension); !s) return s;
  }
  return WriteObjModel(TexturedQuadBox(), folder);
}
}  // namespace posewright
