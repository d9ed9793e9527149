#include "export/XAnimationKeys.h"

#include "math/Quaternion.h"

D3DXMATRIX JointRotationMatrix(const D3DXVECTOR3& joint, const D3DXQUATERNION& rotation) {
  D3DXMATRIX toJoint;
  D3DXMATRIX turn;
  D3DXMATRIX back;
  D3DXMatrixTranslation(&toJoint, -joint.x, -joint.y, -joint.z);
  D3DXMatrixRotationQuaternion(&turn, &rotation);
  D3DXMatrixTranslation(&back, joint.x, joint.y, joint.z);
  D3DXMATRIX result;
  D3DXMatrixMultiply(&result, &toJoint, &turn);
  D3DXMatrixMultiply(&result, &result, &back);
  return result;
}

uint64_t MatrixKeyCount(const Animation& animation, const ExportOptions& options) {
  const std::vector<Keyframe>& keys = animation.keys();
  if (!options.writeAllFrames || keys.size() < 2) {
    return keys.size();
  }
  uint64_t count = 0;
  for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
    const int64_t span = int64_t{keys[k + 1].time} - keys[k].time;
    if (span > 0) count += static_cast<uint64_t>(span);
  }
  return count;
}

MatrixKeyCursor::MatrixKeyCursor(const Animation& animation, const ExportOptions& options, int32_t bone,
                                 const D3DXVECTOR3& joint)
    : keys_(animation.keys()), options_(options), bone_(static_cast<std::size_t>(bone)), joint_(joint) {}

D3DXQUATERNION MatrixKeyCursor::rotationAt(std::size_t keyframe) const {
  const std::vector<D3DXQUATERNION>& rotations = keys_[keyframe].rotations;
  return bone_ < rotations.size() ? rotations[bone_] : D3DXQUATERNION();
}

bool MatrixKeyCursor::next(XMatrixKey& key) {
  if (!options_.writeAllFrames || keys_.size() < 2) {
    if (keyframe_ >= keys_.size()) {
      return false;
    }
    const Keyframe& frame = keys_[keyframe_];
    const uint32_t ticks = options_.writeAllFrames ? TicksPerEditorFrame(options_) : 1u;
    key.time = static_cast<int32_t>(static_cast<uint32_t>(frame.time) * ticks);
    key.matrix = JointRotationMatrix(joint_, rotationAt(keyframe_));
    ++keyframe_;
    return true;
  }
  // Find the pair holding the next step; spans that are not positive give no keys.
  while (keyframe_ + 1 < keys_.size() && step_ >= int64_t{keys_[keyframe_ + 1].time} - keys_[keyframe_].time) {
    ++keyframe_;
    step_ = 0;
  }
  if (keyframe_ + 1 >= keys_.size()) {
    return false;
  }
  const Keyframe& a = keys_[keyframe_];
  const int64_t span = int64_t{keys_[keyframe_ + 1].time} - a.time;
  const D3DXQUATERNION from = rotationAt(keyframe_);
  const D3DXQUATERNION to = rotationAt(keyframe_ + 1);
  D3DXQUATERNION rotation;
  D3DXQuaternionSlerp(&rotation, &from, &to, static_cast<float>(step_) / static_cast<float>(span));
  // Signed 32-bit time arithmetic that wraps instead of overflowing.
  const uint32_t frameTime = static_cast<uint32_t>(a.time) + static_cast<uint32_t>(step_);
  key.time = static_cast<int32_t>(frameTime * TicksPerEditorFrame(options_));
  key.matrix = JointRotationMatrix(joint_, rotation);
  ++step_;
  return true;
}
