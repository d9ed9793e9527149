// Parameters of a generated test model.
#pragma once

#include <cstdint>
#include <string>

#include "fileio/Status.h"
#include "tools/gen/LineEnd.h"

namespace posewright {

struct ModelOptions {
  /// Mesh vertices N, at most 65,535, including the variants' extra vertices.
  int vertices = 2000;
  /// Bones B besides the root (1 .. 255); the bone data holds B + 1 bones.
  int bones = 8;
  /// Faces of every anchor: even (a closed triangle volume has an even face
  /// count), 4 .. 1024. 4: a tetrahedron, 6/8/10: a bipyramid, 12 and more: a
  /// capsule (prism with pointed caps).
  int anchorFaces = 32;
  /// Keyframes K of the animation (0 .. 10,000), 10 frames apart from time 0.
  int keys = 4;
  /// Binary .x instead of text .x.
  bool binary = false;
  /// Line ends of every text file.
  LineEnd lineEnd = LineEnd::CrLf;
  /// Adds vertices exactly on anchor faces and edges, anchor vertices, and
  /// BorderBox corners outside it (all of bone 1).
  bool onFaces = false;
  /// Adds a few vertices that lie in no anchor.
  bool outside = false;
  /// Makes the last min(6, B) bones a fan from one hub point and adds
  /// vertices at the hub, inside all of their anchors (B >= 5).
  bool crowded = false;
  /// Base name of the files: NAME.x, NAME.dat, NAME.prm, NAME.anm.
  std::string name = "model";
  /// Seed of the animation's rotation axes.
  uint64_t seed = 1;
};

/// Ok, or "Invalid model options" with the reason as detail.
Status ValidateModelOptions(const ModelOptions& options);

/// Sets one variant by name ("plain", "on-faces", "outside", "crowded",
/// "crlf", "lf"); false for an unknown name.
bool ApplyModelVariant(ModelOptions& options, const std::string& variant);
}  // namespace posewright
