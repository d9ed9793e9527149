#include "importer/SceneRig.h"

#include <assimp/scene.h>

#include <map>
#include <set>

namespace posewright {

namespace {
D3DXMATRIX Inverse(const D3DXMATRIX& m) {
  D3DXMATRIX out;
  D3DXMatrixInverse(&out, nullptr, &m);
  return out;
}

D3DXMATRIX Product(const D3DXMATRIX& a, const D3DXMATRIX& b) {
  D3DXMATRIX out;
  D3DXMatrixMultiply(&out, &a, &b);
  return out;
}

struct NodeWorlds {
  std::map<const aiNode*, D3DXMATRIX> world;

  void visit(const aiNode& node, const D3DXMATRIX& parent) {
    const D3DXMATRIX w = Product(FromAssimpMatrix(&node.mTransformation.a1), parent);
    world[&node] = w;
    for (unsigned c = 0; c < node.mNumChildren; ++c) {
      visit(*node.mChildren[c], w);
    }
  }
};
}  // namespace

ImportedRig ExtractSceneRig(const aiScene& scene, const SceneMesh& mesh) {
  ImportedRig rig;
  // The bones' nodes and their bind frames, from the first mesh naming each.
  std::map<const aiNode*, D3DXMATRIX> boneBind;
  for (const SceneMeshInstance& instance : mesh.instances) {
    const aiMesh& m = *scene.mMeshes[instance.mesh];
    for (unsigned b = 0; b < m.mNumBones; ++b) {
      const aiNode* node = scene.mRootNode->FindNode(m.mBones[b]->mName);
      if (node != nullptr && boneBind.count(node) == 0) {
        const D3DXMATRIX offset = FromAssimpMatrix(&m.mBones[b]->mOffsetMatrix.a1);
        boneBind[node] = Product(Inverse(offset), instance.world);
      }
    }
  }
  if (boneBind.empty()) {
    return rig;
  }

  // A node is a joint when it names a bone, or when a bone lies above it and
  // another below it.
  std::set<const aiNode*> joints;
  for (const auto& [node, bind] : boneBind) {
    joints.insert(node);
    std::vector<const aiNode*> between;
    for (const aiNode* up = node->mParent; up != nullptr; up = up->mParent) {
      if (boneBind.count(up) != 0) {
        joints.insert(between.begin(), between.end());
        break;
      }
      between.push_back(up);
    }
  }

  NodeWorlds worlds;
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  worlds.visit(*scene.mRootNode, identity);

  // Joints in depth-first order, parents first.
  std::map<const aiNode*, int32_t> indexOf;
  std::vector<const aiNode*> stack{scene.mRootNode};
  while (!stack.empty()) {
    const aiNode* node = stack.back();
    stack.pop_back();
    if (joints.count(node) != 0) {
      RigJoint joint;
      joint.name = node->mName.C_Str();
      const aiNode* above = node->mParent;
      while (above != nullptr && joints.count(above) == 0) {
        above = above->mParent;
      }
      joint.parent = above != nullptr ? indexOf.at(above) : -1;
      const auto bind = boneBind.find(node);
      if (bind != boneBind.end()) {
        joint.bindWorld = bind->second;
      } else {
        // Between bones: the bone above's bind frame, moved as the node
        // transforms move this node relative to it.
        const aiNode* bone = node->mParent;
        while (boneBind.count(bone) == 0) {
          bone = bone->mParent;
        }
        const D3DXMATRIX relative = Product(worlds.world.at(node), Inverse(worlds.world.at(bone)));
        joint.bindWorld = Product(relative, rig.joints[static_cast<std::size_t>(indexOf.at(bone))].bindWorld);
      }
      indexOf[node] = static_cast<int32_t>(rig.joints.size());
      rig.joints.push_back(std::move(joint));
    }
    for (unsigned c = node->mNumChildren; c-- > 0;) {
      stack.push_back(node->mChildren[c]);
    }
  }

  for (const SceneMeshInstance& instance : mesh.instances) {
    const aiMesh& m = *scene.mMeshes[instance.mesh];
    if (m.mNumBones == 0) {
      const aiNode* holder = instance.node;
      while (holder != nullptr && joints.count(holder) == 0) {
        holder = holder->mParent;
      }
      if (holder != nullptr) {
        const uint32_t joint = static_cast<uint32_t>(indexOf.at(holder));
        for (unsigned v = 0; v < m.mNumVertices; ++v) {
          rig.weights.push_back(RigWeight{instance.firstVertex + v, joint, 1.0f});
        }
      }
      continue;
    }
    for (unsigned b = 0; b < m.mNumBones; ++b) {
      const aiBone& bone = *m.mBones[b];
      const aiNode* node = scene.mRootNode->FindNode(bone.mName);
      if (node == nullptr) {
        continue;
      }
      const uint32_t joint = static_cast<uint32_t>(indexOf.at(node));
      for (unsigned w = 0; w < bone.mNumWeights; ++w) {
        if (bone.mWeights[w].mVertexId < m.mNumVertices) {
          rig.weights.push_back(
              RigWeight{instance.firstVertex + bone.mWeights[w].mVertexId, joint, bone.mWeights[w].mWeight});
        }
      }
    }
  }
  return rig;
}
}  // namespace posewright
