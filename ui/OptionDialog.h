// The export's Option dialog: the frames-per-second edit with its hints, the
// check box for writing every interpolated frame, the check box for the mesh
// inside the root frame, OK and ｷｬﾝｾﾙ.
#pragma once

#include <QDialog>

#include "editor/panels/ExportView.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace posewright {

class OptionDialog final : public QDialog, public OptionDialogView {
  Q_OBJECT

 public:
  explicit OptionDialog(QWidget* owner);

  void setFramesPerSecondText(const std::string& text) override;
  void setWriteAllFramesChecked(bool checked) override;
  void setMeshInFrameChecked(bool checked) override;
  /// exec(): true for OK; false for ｷｬﾝｾﾙ, Escape or the close box.
  bool runModal() override;
  std::string framesPerSecondText() const override;
  bool writeAllFramesChecked() const override;
  bool meshInFrameChecked() const override;

  QLineEdit* framesPerSecondEdit() const { return framesPerSecond_; }
  QCheckBox* writeAllFramesBox() const { return writeAllFrames_; }
  QCheckBox* meshInFrameBox() const { return meshInFrame_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  QLineEdit* framesPerSecond_;
  QCheckBox* writeAllFrames_;
  QCheckBox* meshInFrame_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
}  // namespace posewright
