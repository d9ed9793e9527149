// The export's Option dialog: the frames-per-second edit with its hints, the
// check box for writing every interpolated frame, OK and ｷｬﾝｾﾙ.
#pragma once

#include <QDialog>

#include "editor/panels/ExportView.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class OptionDialog final : public QDialog, public OptionDialogView {
  Q_OBJECT

 public:
  explicit OptionDialog(QWidget* owner);

  void setFramesPerSecondText(const std::string& text) override;
  void setWriteAllFramesChecked(bool checked) override;
  /// exec(): true for OK; false for ｷｬﾝｾﾙ, Escape or the close box.
  bool runModal() override;
  std::string framesPerSecondText() const override;
  bool writeAllFramesChecked() const override;

  QLineEdit* framesPerSecondEdit() const { return framesPerSecond_; }
  QCheckBox* writeAllFramesBox() const { return writeAllFrames_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  QLineEdit* framesPerSecond_;
  QCheckBox* writeAllFrames_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
