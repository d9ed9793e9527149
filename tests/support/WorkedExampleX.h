// The mesh and frame hierarchy of the export's worked example: one triangle
// weighted wholly to the bone "Arm" under "Root", as the export writes it
// (LF line ends; the export's own are CR LF). The animation set that follows
// it differs between the tests that use it.
#pragma once

namespace posewright {

inline constexpr char kWorkedExampleModel[] = R"(Mesh thisMesh {
 3;
 0.000000;0.000000;0.000000;,
 1.000000;0.000000;0.000000;,
 0.000000;1.000000;0.000000;;

 1;
 3;0,1,2;;

 MeshMaterialList {
  1;
  1;
  0;;
  Material {
   1.000000;1.000000;1.000000;1.000000;;
   0.000000;
   0.000000;0.000000;0.000000;;
   0.000000;0.000000;0.000000;;
  }
 }
 VertexDuplicationIndices {
  3;
  3;
  0,
  1,
  2;
 }
 MeshNormals {
 3;
  0.000000;0.000000;-1.000000;,
  0.000000;0.000000;-1.000000;,
  0.000000;0.000000;-1.000000;;
  1;
  3;0,1,2;;
 }
 MeshTextureCoords {
  3;
  0.000000;0.000000;,
  1.000000;0.000000;,
  0.000000;1.000000;;
 }
 XSkinMeshHeader {
  4;
  12;
  1;
 }
 SkinWeights {
  "Arm";
  3;
  0,
  1,
  2;
  1.000000,
  1.000000,
  1.000000;
  1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;
 }
}
Frame Root {
 FrameTransformMatrix {
  1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;
 }
 {thisMesh}
 Frame Arm {
  FrameTransformMatrix {
   1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;
  }
 }
}
)";
}  // namespace posewright
