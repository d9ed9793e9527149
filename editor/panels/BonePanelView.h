// What the Bone panel's behaviour needs from its widgets: the H, R and
// Symmetric Bone ID edits, and a way to have the Bone Control sliders
// re-centred. The widget side implements it and forwards the tree's
// selection changes and the two "Apply" buttons to BonePanel.
#pragma once

#include <string>

namespace posewright {

class BonePanelView {
 public:
  virtual ~BonePanelView() = default;
  /// The edits' current texts.
  virtual std::string hText() const = 0;
  virtual std::string rText() const = 0;
  virtual std::string symmetricText() const = 0;
  /// Replaces the edits' texts.
  virtual void setHText(const std::string& text) = 0;
  virtual void setRText(const std::string& text) = 0;
  virtual void setSymmetricText(const std::string& text) = 0;
  /// A newly selected bone starts from centred Bone Control sliders.
  virtual void recentreBoneControl() = 0;
};
}  // namespace posewright
