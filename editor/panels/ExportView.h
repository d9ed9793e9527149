// What the .x export command needs from the user interface: the modal Option
// dialog and message boxes. The Qt side implements these; tests script them.
#pragma once

#include <string>

namespace posewright {

/// The Option dialog's widgets: the frames-per-second edit, the "write all
/// interpolated frames" check box and the "mesh inside the root frame" check box.
class OptionDialogView {
 public:
  virtual ~OptionDialogView() = default;
  virtual void setFramesPerSecondText(const std::string& text) = 0;
  virtual void setWriteAllFramesChecked(bool checked) = 0;
  virtual void setMeshInFrameChecked(bool checked) = 0;
  /// Shows the dialog modally, owned by the main window, until the user closes
  /// it: true for OK; false for Cancel, the Escape key or the close box.
  virtual bool runModal() = 0;
  /// The edit's text and the check box as the user left them.
  virtual std::string framesPerSecondText() const = 0;
  virtual bool writeAllFramesChecked() const = 0;
  virtual bool meshInFrameChecked() const = 0;
};

class ExportView {
 public:
  virtual ~ExportView() = default;
  virtual OptionDialogView& optionDialog() = 0;
  /// A modal message box with an OK button, owned by the main window; detail
  /// (may be empty) is the box's detail text.
  virtual void showMessage(const std::string& text, const std::string& caption,
                           const std::string& detail) = 0;
};
}  // namespace posewright
