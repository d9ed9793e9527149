// The content of a DirectX .x file as the reader understood it: frames, meshes
// with their normals, texture coordinates, materials and skin weights, and the
// animation sets. Everything is kept in the file's own numbering and order;
// XFileMeshBuilder turns the meshes into the editor's one merged mesh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math/Matrix.h"
#include "math/Vector3.h"
#include "mesh/Material.h"

namespace posewright {

/// The identity matrix, the transform of a frame or bone the file leaves unset.
inline D3DXMATRIX XIdentityMatrix() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

/// How the file was stored.
enum class XFileEncoding { Text, Binary, CompressedText, CompressedBinary };

/// A Frame object. Frames are listed parents first, in file order.
struct XFrame {
  std::string name;
  /// Index of the enclosing frame in XFileDocument::frames, −1 at the top level.
  int32_t parent = -1;
  /// The frame's FrameTransformMatrix (identity when it has none).
  D3DXMATRIX transform = XIdentityMatrix();
};

/// One SkinWeights object: the vertices (in the mesh's own numbering) that the
/// named frame moves, with their weights, and the bone's offset matrix.
struct XSkinWeights {
  std::string transformNodeName;
  std::vector<uint32_t> vertexIndices;
  /// Same length as vertexIndices.
  std::vector<float> weights;
  D3DXMATRIX matrixOffset = XIdentityMatrix();
};

/// The XSkinMeshHeader object of a mesh.
struct XSkinMeshHeader {
  uint32_t maxSkinWeightsPerVertex = 0;
  uint32_t maxSkinWeightsPerFace = 0;
  uint32_t bones = 0;
};

/// One Mesh object with the children the editor uses. Faces are polygons of
/// three or more corners; every index has been checked against its array.
struct XMesh {
  std::string name;
  /// Index of the enclosing frame, −1 for a mesh at the top level.
  int32_t frame = -1;

  std::vector<D3DXVECTOR3> positions;
  /// Face f has the corners faceCorners[faceStarts[f] .. faceStarts[f+1]−1];
  /// faceStarts has one entry more than there are faces.
  std::vector<uint32_t> faceStarts{0};
  std::vector<uint32_t> faceCorners;

  /// MeshNormals: the normals and, for every face corner, a normal index
  /// (same layout as faceCorners). Empty when the mesh has no normals.
  bool hasNormals = false;
  std::vector<D3DXVECTOR3> normals;
  std::vector<uint32_t> normalCorners;

  /// MeshTextureCoords: u, v per vertex (2 × positions.size()), or empty.
  std::vector<float> texCoords;

  /// MeshMaterialList: a material index per listed face (possibly fewer than
  /// the faces) and the materials in order. hasMaterialList is false without one.
  bool hasMaterialList = false;
  std::vector<uint32_t> faceMaterials;
  std::vector<D3DXMATERIAL> materials;

  bool hasSkinHeader = false;
  XSkinMeshHeader skinHeader;
  /// The SkinWeights objects in file order.
  std::vector<XSkinWeights> skinWeights;

  std::size_t faceCount() const { return faceStarts.size() - 1; }
};

/// One timed key of an AnimationKey: the time and its values (4 for a
/// rotation, 3 for scale or position, 16 for a matrix).
struct XTimedKey {
  uint32_t time = 0;
  std::vector<float> values;
};

/// An AnimationKey object: keyType 0 rotation, 1 scale, 2 position, 4 matrix.
struct XAnimationKey {
  uint32_t keyType = 0;
  std::vector<XTimedKey> keys;
};

/// An Animation object: the keys of one frame, named by a frame reference.
struct XAnimation {
  std::string name;
  /// The name inside the animation's {reference}; empty when it has none.
  std::string frameName;
  std::vector<XAnimationKey> keys;
};

struct XAnimationSet {
  std::string name;
  std::vector<XAnimation> animations;
};

struct XFileDocument {
  XFileEncoding encoding = XFileEncoding::Text;
  /// 32 or 64: the size of floats in binary data.
  int floatBits = 32;
  std::vector<XFrame> frames;
  std::vector<XMesh> meshes;
  std::vector<XAnimationSet> animationSets;
  /// AnimTicksPerSecond, 0 when the file does not say.
  uint32_t ticksPerSecond = 0;
};
}  // namespace posewright
