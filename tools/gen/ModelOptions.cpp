#include "tools/gen/ModelOptions.h"

#include "tools/gen/ParamModel.h"

namespace posewright {

namespace {
Status Invalid(const std::string& why) {
  return Status::Error("Invalid model options", why);
}
}  // namespace

Status ValidateModelOptions(const ModelOptions& o) {
  if (o.bones < 1 || o.bones > 255) {
    return Invalid("bones must be 1 .. 255 (besides the root)");
  }
  if (o.anchorFaces < 4 || o.anchorFaces > 1024 || o.anchorFaces % 2 != 0) {
    return Invalid(
        "anchor faces must be even and 4 .. 1024 (a closed triangle volume has an even face count)");
  }
  if (o.keys < 0 || o.keys > 10000) {
    return Invalid("keys must be 0 .. 10000");
  }
  if (o.vertices < 1 || o.vertices > 65535) {
    return Invalid("vertices must be 1 .. 65535");
  }
  if (o.crowded && o.bones < (o.onFaces ? 6 : 5)) {
    return Invalid("the crowded variant needs at least 5 bones (6 together with on-faces)");
  }
  const int needed = MinimumModelVertices(o);
  if (o.vertices < needed) {
    return Invalid("these options need at least " + std::to_string(needed) + " vertices");
  }
  if (o.name.empty() || o.name.find_first_of("/\\") != std::string::npos) {
    return Invalid("the name must be a plain file name");
  }
  return Status::Ok();
}

bool ApplyModelVariant(ModelOptions& options, const std::string& variant) {
  if (variant == "plain") {
    options.onFaces = options.outside = options.crowded = false;
  } else if (variant == "on-faces") {
    options.onFaces = true;
  } else if (variant == "outside") {
    options.outside = true;
  } else if (variant == "crowded") {
    options.crowded = true;
  } else if (variant == "crlf") {
    options.lineEnd = LineEnd::CrLf;
  } else if (variant == "lf") {
    options.lineEnd = LineEnd::Lf;
  } else {
    return false;
  }
  return true;
}
}  // namespace posewright
