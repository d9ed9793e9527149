// The message boxes the panels show: owned by the panel's owner (the main
// window), or by the panel itself when it has none, with the exact text and
// caption given.
#pragma once

#include <string_view>

class QWidget;

namespace posewright {

/// A modal message with an OK button.
void ShowPanelMessage(QWidget* panel, std::string_view text, std::string_view caption);

/// A modal question with OK and Cancel; true only when OK was pressed.
bool AskPanelOkCancel(QWidget* panel, std::string_view text, std::string_view caption);
}  // namespace posewright
