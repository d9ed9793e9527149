// A picture of the editor's windows as the user sees them on the screen: every
// visible top-level window drawn at its place, later ones on top, on a plain
// background, cropped to the windows. Built from each window's own rendering
// rather than read back from the X server, so the picture does not depend on
// the server's root window or on a window manager.
#pragma once

#include <QImage>
#include <QRect>
#include <vector>

class QWidget;

/// The windows in the order given (bottom first); hidden ones are skipped.
/// Margin pixels of background surround the windows' bounding box.
QImage PictureOfWindows(const std::vector<QWidget*>& windows, int margin = 8);

/// Every visible top-level window of the application: first the ones in
/// first (in their order), then the rest (dialogs, menus) ordered by their
/// place on the screen.
std::vector<QWidget*> VisibleWindows(const std::vector<QWidget*>& first);
