#include "render/RingMarker.h"

#include "model/LoadedMesh.h"
#include "xfile/XFileParser.h"

namespace posewright {

Status LoadRingGizmo(std::string_view xText, RingGizmo& out) {
  const std::string name = "ring.x";
  XFileDocument doc;
  if (Status parsed = ParseXFile(xText, name, doc); !parsed) {
    return parsed;
  }
  LoadedMesh mesh;
  if (Status prepared = PrepareLoadedMesh(doc, name, mesh, TextureLoading::Skip); !prepared) {
    return prepared;
  }
  out = BuildRingGizmo(mesh.sourceMesh, mesh.materialList, mesh.attributeTable);
  return Status::Ok();
}
}  // namespace posewright
