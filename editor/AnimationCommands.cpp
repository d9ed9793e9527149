#include "editor/AnimationCommands.h"

#include <cstdio>

#include "anim/AnimationFile.h"
#include "fileio/FileBytes.h"
#include "skeleton/Bone.h"

namespace posewright {

namespace {
const char kNoAnimations[] = "No animations Exist";
const char kError[] = "error";
const char kAttention[] = "attention";
}  // namespace

std::string FitAnimationName(const std::string& name) {
  if (name.size() <= kMaxNameLength) {
    return name;
  }
  std::size_t cut = kMaxNameLength;
  // Step back over continuation bytes so a multi-byte character is dropped whole.
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut);
}

void AddAnimationCommand(KeyframePanel& panel, const Skeleton& skeleton) {
  AnimationState& state = panel.state();
  Animation animation;
  animation.boneCount = skeleton.boneCount();
  ++state.unnamedCounter;
  char name[32];
  std::snprintf(name, sizeof name, "Unnamed(%d)", state.unnamedCounter);
  animation.name = name;
  state.animations.AppendAnimation(animation);
  panel.updateTitle();
}

void RemoveAnimationCommand(KeyframePanel& panel) {
  AnimationState& state = panel.state();
  if (state.animations.empty()) {
    panel.view().showMessage("Cannot Remove", kError);
    return;
  }
  if (!panel.view().askOkCancel("This Animation will be erased.proceed?", "Attention")) {
    return;
  }
  state.animations.RemoveAnimation();
  panel.updateTitle();
}

void PreviousAnimationCommand(KeyframePanel& panel) {
  AnimationState& state = panel.state();
  if (state.animations.empty()) {
    panel.view().showMessage(kNoAnimations, kError);
    return;
  }
  if (!state.animations.PreviousAnimation()) {
    panel.view().showMessage("No more previous animation.", kAttention);
    return;
  }
  panel.updateTitle();
}

void NextAnimationCommand(KeyframePanel& panel) {
  AnimationState& state = panel.state();
  if (state.animations.empty()) {
    panel.view().showMessage(kNoAnimations, kError);
    return;
  }
  if (!state.animations.NextAnimation()) {
    panel.view().showMessage("No more next animation.", kAttention);
    return;
  }
  panel.updateTitle();
}

Status OpenAnimationCommand(KeyframePanel& panel, const Skeleton& skeleton, const std::string& path) {
  Animation animation;
  animation.boneCount = skeleton.boneCount();
  Status status = ReadAnimationFile(animation, path);
  animation.name = FitAnimationName(FileNameOf(path));
  panel.state().animations.AppendAnimation(animation);
  panel.updateTitle();
  return status;
}

Status SaveAnimationCommand(const AnimationState& state, const std::string& path) {
  const Animation* animation = state.animations.current();
  if (animation == nullptr) {
    return Status::Ok();
  }
  return WriteAnimationFile(*animation, path);
}

void ClearAnimationsCommand(AnimationState& state) {
  state.animations.ClearAnimations();
  state.playing = false;
}
}  // namespace posewright
