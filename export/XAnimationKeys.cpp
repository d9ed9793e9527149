#include "export/XAnimationKeys.h"

#include <tuple>
#include <utility>

#include "math/Quaternion.h"

namespace posewright {

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

namespace {
// a / b rounded down and up, for b > 0.
int64_t FloorDiv(int64_t a, int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}
int64_t CeilDiv(int64_t a, int64_t b) {
  return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Below 60 ticks per second a tick spans more than one editor frame.
bool KeysByTick(const std::vector<Keyframe>& keys, const ExportOptions& options) {
  return options.writeAllFrames && !keys.empty() && TicksPerEditorFrame(options) == 0;
}

// The ticks n with first ≤ n × 60 / fps < last: [begin, end).
std::pair<int64_t, int64_t> TickRange(const std::vector<Keyframe>& keys, const ExportOptions& options) {
  const int64_t fps = options.framesPerSecond;
  return {CeilDiv(int64_t{keys.front().time} * fps, kEditorFramesPerSecond),
          CeilDiv(int64_t{keys.back().time} * fps, kEditorFramesPerSecond)};
}
}  // namespace

uint64_t MatrixKeyCount(const Animation& animation, const ExportOptions& options) {
  const std::vector<Keyframe>& keys = animation.keys();
  if (!options.writeAllFrames || keys.size() < 2) {
    return keys.size();
  }
  if (KeysByTick(keys, options)) {
    const auto [begin, end] = TickRange(keys, options);
    return end > begin ? static_cast<uint64_t>(end - begin) : 1;
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
    : keys_(animation.keys()), options_(options), bone_(static_cast<std::size_t>(bone)), joint_(joint) {
  if (KeysByTick(keys_, options_)) {
    byTick_ = true;
    std::tie(tick_, tickEnd_) = TickRange(keys_, options_);
    if (tickEnd_ <= tick_) {
      loneKeyPending_ = true;
      tick_ = FloorDiv(int64_t{keys_.front().time} * options_.framesPerSecond, kEditorFramesPerSecond);
      tickEnd_ = tick_;
    }
  }
}

bool MatrixKeyCursor::nextTick(XMatrixKey& key) {
  if (loneKeyPending_) {
    loneKeyPending_ = false;
    key.time = static_cast<int32_t>(tick_);
    key.matrix = JointRotationMatrix(joint_, rotationAt(0));
    return true;
  }
  if (tick_ >= tickEnd_) {
    return false;
  }
  // Editor time e = tick × 60 / fps, kept exact as e × fps = tick × 60.
  const int64_t fps = options_.framesPerSecond;
  const int64_t scaled = tick_ * kEditorFramesPerSecond;
  while (keyframe_ + 2 < keys_.size() && int64_t{keys_[keyframe_ + 1].time} * fps <= scaled) {
    ++keyframe_;
  }
  const int64_t from = int64_t{keys_[keyframe_].time} * fps;
  const int64_t span = (int64_t{keys_[keyframe_ + 1].time} - keys_[keyframe_].time) * fps;
  const D3DXQUATERNION a = rotationAt(keyframe_);
  const D3DXQUATERNION b = rotationAt(keyframe_ + 1);
  D3DXQUATERNION rotation;
  D3DXQuaternionSlerp(&rotation, &a, &b,
                      static_cast<float>(static_cast<double>(scaled - from) / static_cast<double>(span)));
  key.time = static_cast<int32_t>(tick_);
  key.matrix = JointRotationMatrix(joint_, rotation);
  ++tick_;
  return true;
}

D3DXQUATERNION MatrixKeyCursor::rotationAt(std::size_t keyframe) const {
  const std::vector<D3DXQUATERNION>& rotations = keys_[keyframe].rotations;
  return bone_ < rotations.size() ? rotations[bone_] : D3DXQUATERNION();
}

bool MatrixKeyCursor::next(XMatrixKey& key) {
  if (byTick_) {
    return nextTick(key);
  }
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
  while (keyframe_ + 1 < keys_.size() &&
         step_ >= int64_t{keys_[keyframe_ + 1].time} - keys_[keyframe_].time) {
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
}  // namespace posewright
