// The matrix keys of the exported animation set: for every bone, one key per
// keyframe, or one interpolated key per editor frame.
#pragma once

#include <cstdint>

#include "anim/Animation.h"
#include "export/ExportOptions.h"
#include "math/Matrix.h"

namespace posewright {

/// One matrix key of a bone: its time in ticks and the bone's transform.
struct XMatrixKey {
  int32_t time = 0;
  D3DXMATRIX matrix;
};

/// The transform that turns by rotation about joint:
/// Translation(−joint) × RotationQuaternion(rotation) × Translation(joint).
D3DXMATRIX JointRotationMatrix(const D3DXVECTOR3& joint, const D3DXQUATERNION& rotation);

/// Keys per bone the animation gives: the keyframe count in keyframe mode; in
/// all-frames mode at 60 ticks per second or more the sum of the spans between
/// consecutive keyframes (the last keyframe's time minus the first's), below 60
/// the number of ticks in that time (see MatrixKeyCursor), and 1 for a single
/// keyframe or when no tick falls within it.
uint64_t MatrixKeyCount(const Animation& animation, const ExportOptions& options);

/// Produces one bone's keys in time order without storing them.
///
/// Keyframe mode: each keyframe's own time (unscaled) and its rotation of the
/// bone.
///
/// All-frames mode at 60 ticks per second or more: for consecutive keyframes A
/// and B with span s, the keys t = 0 … s−1 at time (A.time + t) ×
/// TicksPerEditorFrame, wrapping like 32-bit integers, with the rotation
/// Slerp(A's, B's, t / s); the last keyframe's own pose is not a key. A single
/// keyframe gives one key at its time × ticks.
///
/// All-frames mode below 60 ticks per second (fps), where a tick is longer
/// than an editor frame: one key per tick, at strictly increasing times. Tick n
/// is editor time e = n × 60 / fps; the keys are the ticks n with
/// first ≤ e < last (first and last the first and last keyframe's times), that
/// is ⌈first × fps / 60⌉ ≤ n < ⌈last × fps / 60⌉, each at time n with the
/// rotation Slerp(A's, B's, (e − A.time) / (B.time − A.time)) of the keyframes
/// A and B around e. When no tick falls there (a single keyframe, or keyframes
/// closer than one tick), one key at ⌊first × fps / 60⌋ with the first
/// keyframe's rotation.
///
/// A keyframe holding no rotation for the bone counts as the identity.
class MatrixKeyCursor {
 public:
  MatrixKeyCursor(const Animation& animation, const ExportOptions& options, int32_t bone,
                  const D3DXVECTOR3& joint);
  /// The next key; false after the last.
  bool next(XMatrixKey& key);

 private:
  D3DXQUATERNION rotationAt(std::size_t keyframe) const;
  bool nextTick(XMatrixKey& key);

  const std::vector<Keyframe>& keys_;
  ExportOptions options_;
  std::size_t bone_;
  D3DXVECTOR3 joint_;
  std::size_t keyframe_ = 0;
  int64_t step_ = 0;
  // Below 60 ticks per second in all-frames mode: the next tick and the end
  // of the ticks (exclusive); a lone fallback key when the range is empty.
  bool byTick_ = false;
  int64_t tick_ = 0;
  int64_t tickEnd_ = 0;
  bool loneKeyPending_ = false;
};
}  // namespace posewright
