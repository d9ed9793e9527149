#include "model/MeshLoader.h"

#include "model/LoadedMesh.h"
#include "xfile/XFileParser.h"

namespace posewright {

Status LoadMesh(SkinnedModel& model, const std::string& path) {
  XFileDocument doc;
  if (Status s = ReadXFile(path, doc); !s) {
    return s;
  }
  LoadedMesh mesh;
  if (Status s = PrepareLoadedMesh(doc, path, mesh); !s) {
    return s;
  }
  InstallLoadedMesh(model, std::move(mesh));
  return Status::Ok();
}

bool BindMesh(SkinnedModel& model) {
  if (!model.sourceMesh.vertices.empty()) {
    SkinnedMesh bound;
    bound.vertices.resize(model.sourceMesh.vertices.size());
    for (std::size_t v = 0; v < bound.vertices.size(); ++v) {
      const MeshVertex& in = model.sourceMesh.vertices[v];
      SkinVertex& out = bound.vertices[v];
      out.position = in.position;
      out.normal = in.normal;
      out.u = in.u;
      out.v = in.v;
    }
    bound.indices = std::move(model.sourceMesh.indices);
    bound.faceAttributes = std::move(model.sourceMesh.faceAttributes);
    model.skinnedMesh = std::move(bound);
    model.sourceMesh = SourceMesh{};
  } else if (model.skinnedMesh.vertices.empty()) {
    return false;
  }
  model.pointVertices = model.skinnedMesh.vertices;
  for (SkinVertex& v : model.pointVertices) {
    v.pointSize = 10.0f;
  }
  model.selection.reset(model.skinnedMesh.vertices.size());
  return true;
}
}  // namespace posewright
