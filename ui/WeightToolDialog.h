// The settings dialog of Edit > Weights > Smooth…, Prune… and Limit…: one
// spin box per field with its label, OK and Cancel.
#pragma once

#include <QDialog>
#include <vector>

#include "editor/WeightToolDialogView.h"

class QAbstractSpinBox;
class QFormLayout;
class QPushButton;

namespace posewright {

class WeightToolDialog final : public QDialog, public WeightToolDialogView {
  Q_OBJECT

 public:
  explicit WeightToolDialog(QWidget* owner);

  /// Rebuilds the fields, then exec(): true for OK; false for Cancel, Escape
  /// or the close box.
  bool ask(const std::string& title, std::vector<WeightToolField>& fields) override;

  /// The spin boxes of the fields last asked (QSpinBox or QDoubleSpinBox).
  const std::vector<QAbstractSpinBox*>& fieldBoxes() const { return boxes_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  QFormLayout* form_;
  std::vector<QAbstractSpinBox*> boxes_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
}  // namespace posewright
