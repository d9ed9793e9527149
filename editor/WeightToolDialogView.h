// What the weight tools of Edit > Weights ask the user: a small modal dialog
// of number fields (Smooth: iterations and strength; Prune: the threshold;
// Limit: the number of influences). The Qt dialog implements it; tests script it.
#pragma once

#include <string>
#include <vector>

namespace posewright {

struct WeightToolField {
  /// The field's label, e.g. "Iterations".
  std::string label;
  /// Shown when the dialog opens; the user's entry once it is accepted.
  double value = 0.0;
  double minimum = 0.0;
  double maximum = 1.0;
  /// Digits after the decimal point; 0 for a whole number.
  int decimals = 0;
};

class WeightToolDialogView {
 public:
  virtual ~WeightToolDialogView() = default;
  /// Shows the dialog titled title with the fields, modally, owned by the main
  /// window: true for OK, with every field's value as the user left it
  /// (within its range); false for Cancel, Escape or the close box.
  virtual bool ask(const std::string& title, std::vector<WeightToolField>& fields) = 0;
};
}  // namespace posewright
