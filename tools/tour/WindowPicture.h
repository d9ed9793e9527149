// A picture of the editor's windows as the screen shows them: the screen read
// back from the X server, cut to the visible top-level windows and pasted at
// their places on a plain background, cropped to the windows. Reading the
// screen (rather than asking each widget to render itself again) gives the
// viewport's picture exactly as its last frame left it.
#pragma once

#include <QImage>
#include <vector>

class QWidget;

namespace posewright {

/// The windows given (hidden ones skipped), with margin pixels of background
/// around their bounding box.
QImage PictureOfWindows(const std::vector<QWidget*>& windows, int margin = 8);

/// Every visible top-level window of the application: first the ones in
/// first (in their order), then the rest (dialogs, menus) ordered by their
/// place on the screen.
std::vector<QWidget*> VisibleWindows(const std::vector<QWidget*>& first);
}  // namespace posewright
