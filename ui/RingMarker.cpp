#include "ui/RingMarker.h"

#include "resources/EmbeddedResources.h"
#include "skin/LoadedMesh.h"
#include "skin/XFileParser.h"

bool LoadRingMarker(RingGizmo& ring, std::string* why) {
  XFileDocument doc;
  LoadedMesh mesh;
  Status status = ParseXFile(FindResourceText("ring.x"), "ring.x", doc);
  if (status) {
    status = PrepareLoadedMesh(doc, "ring.x", mesh);
  }
  if (!status) {
    if (why != nullptr) {
      *why = status.describe();
    }
    return false;
  }
  ring = BuildRingGizmo(mesh.sourceMesh, mesh.materialList, mesh.attributeTable);
  return true;
}
