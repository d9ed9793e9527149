#include "importer/XFileRig.h"

#include <map>
#include <set>
#include <utility>

namespace posewright {

ImportedRig ExtractXFileRig(const XFileDocument& doc, const std::vector<XVertexOrigin>& origins) {
  ImportedRig rig;
  const std::vector<D3DXMATRIX> world = FrameWorldMatrices(doc);
  std::map<std::string, int32_t> frameOf;
  for (std::size_t f = doc.frames.size(); f-- > 0;) {
    frameOf[doc.frames[f].name] = static_cast<int32_t>(f);  // the first frame of a name wins
  }
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);

  std::map<int32_t, D3DXMATRIX> boneBind;
  for (const XMesh& mesh : doc.meshes) {
    const D3DXMATRIX& meshWorld = mesh.frame >= 0 ? world[static_cast<std::size_t>(mesh.frame)] : identity;
    for (const XSkinWeights& w : mesh.skinWeights) {
      const auto frame = frameOf.find(w.transformNodeName);
      if (frame == frameOf.end() || boneBind.count(frame->second) != 0) {
        continue;
      }
      D3DXMATRIX inverse, bind;
      D3DXMatrixInverse(&inverse, nullptr, &w.matrixOffset);
      D3DXMatrixMultiply(&bind, &inverse, &meshWorld);
      boneBind[frame->second] = bind;
    }
  }
  if (boneBind.empty()) {
    return rig;
  }

  std::set<int32_t> joints;
  for (const auto& [frame, bind] : boneBind) {
    joints.insert(frame);
    std::vector<int32_t> between;
    for (int32_t up = doc.frames[static_cast<std::size_t>(frame)].parent; up >= 0;
         up = doc.frames[static_cast<std::size_t>(up)].parent) {
      if (boneBind.count(up) != 0) {
        joints.insert(between.begin(), between.end());
        break;
      }
      between.push_back(up);
    }
  }

  // Frames are listed parents first, so joints in frame order are too.
  std::map<int32_t, int32_t> indexOf;
  for (int32_t frame : joints) {
    RigJoint joint;
    const XFrame& f = doc.frames[static_cast<std::size_t>(frame)];
    joint.name = f.name;
    int32_t above = f.parent;
    while (above >= 0 && joints.count(above) == 0) {
      above = doc.frames[static_cast<std::size_t>(above)].parent;
    }
    joint.parent = above >= 0 ? indexOf.at(above) : -1;
    const auto bind = boneBind.find(frame);
    if (bind != boneBind.end()) {
      joint.bindWorld = bind->second;
    } else {
      int32_t bone = f.parent;
      while (boneBind.count(bone) == 0) {
        bone = doc.frames[static_cast<std::size_t>(bone)].parent;
      }
      D3DXMATRIX boneInverse, relative;
      D3DXMatrixInverse(&boneInverse, nullptr, &world[static_cast<std::size_t>(bone)]);
      D3DXMatrixMultiply(&relative, &world[static_cast<std::size_t>(frame)], &boneInverse);
      D3DXMatrixMultiply(&joint.bindWorld, &relative,
                         &rig.joints[static_cast<std::size_t>(indexOf.at(bone))].bindWorld);
    }
    indexOf[frame] = static_cast<int32_t>(rig.joints.size());
    rig.joints.push_back(std::move(joint));
  }

  // Every built copy of a file vertex carries its weights.
  std::map<std::pair<uint32_t, uint32_t>, std::vector<uint32_t>> copies;
  for (std::size_t v = 0; v < origins.size(); ++v) {
    copies[{origins[v].mesh, origins[v].vertex}].push_back(static_cast<uint32_t>(v));
  }
  for (uint32_t m = 0; m < doc.meshes.size(); ++m) {
    const XMesh& mesh = doc.meshes[m];
    if (mesh.skinWeights.empty()) {
      int32_t holder = mesh.frame;
      while (holder >= 0 && joints.count(holder) == 0) {
        holder = doc.frames[static_cast<std::size_t>(holder)].parent;
      }
      if (holder >= 0) {
        for (const auto& [origin, built] : copies) {
          if (origin.first != m) continue;
          for (uint32_t v : built) {
            rig.weights.push_back(RigWeight{v, static_cast<uint32_t>(indexOf.at(holder)), 1.0f});
          }
        }
      }
      continue;
    }
    for (const XSkinWeights& w : mesh.skinWeights) {
      const auto frame = frameOf.find(w.transformNodeName);
      if (frame == frameOf.end() || joints.count(frame->second) == 0) {
        continue;
      }
      const uint32_t joint = static_cast<uint32_t>(indexOf.at(frame->second));
      for (std::size_t i = 0; i < w.vertexIndices.size(); ++i) {
        const auto built = copies.find({m, w.vertexIndices[i]});
        if (built == copies.end()) continue;
        for (uint32_t v : built->second) {
          rig.weights.push_back(RigWeight{v, joint, w.weights[i]});
        }
      }
    }
  }
  return rig;
}
}  // namespace posewright
