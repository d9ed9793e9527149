#include "history/UnsavedData.h"

#include "history/DataKeys.h"

namespace posewright {

bool ModelModified(const History& history) {
  return history.isModified(kModelData) || history.isModified(kBlendingData);
}

bool AnimationsModified(const History& history, const AnimationList& animations) {
  for (const auto& animation : animations.entries()) {
    if (history.isModified(AnimationData(*animation))) {
      return true;
    }
  }
  return false;
}
}  // namespace posewright
