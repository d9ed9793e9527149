// What the Weight Control panel's behaviour needs from its widgets: four slots,
// each a bone index box, a weight slider and a weight edit, plus message boxes
// and the panel's visibility. The Qt panel implements it; tests record it.
#pragma once

#include <string>
#include <string_view>

namespace posewright {

class WeightControlView {
 public:
  virtual ~WeightControlView() = default;

  /// Gives every slider of the panel its range and tick spacing.
  virtual void setSliderRange(int slot, int minimum, int maximum, int tickInterval) = 0;
  /// Replaces box slot's items by "0", "1", … up to itemCount − 1 and selects item 0.
  virtual void fillBoneIndexBox(int slot, int itemCount) = 0;
  /// The selected item number of box slot, or −1 when none is selected.
  virtual int boneIndexBoxSelection(int slot) const = 0;
  /// The current text of weight edit slot.
  virtual std::string weightText(int slot) const = 0;
  virtual void setWeightText(int slot, const std::string& text) = 0;
  /// The current position of weight slider slot.
  virtual int sliderPosition(int slot) const = 0;
  virtual void setSliderPosition(int slot, int position) = 0;
  /// The label under slot's edit that shows the selection's average weight of
  /// the slot's bone.
  virtual void setAverageText(int slot, const std::string& text) = 0;
  /// A modal message with an OK button, owned by the main window.
  virtual void showMessage(std::string_view text, std::string_view caption) = 0;
  virtual void showPanel() = 0;
  virtual void hidePanel() = 0;
};
}  // namespace posewright
