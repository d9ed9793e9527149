// Unsaved work: what the window title shows of it, and the question a
// command asks before it drops modified data (Exit, the close box, File > New,
// and every Open that replaces the model).
#pragma once

#include <string>

#include "editor/Application.h"
#include "editor/ShellView.h"

namespace posewright {

inline constexpr const char* kSaveChangesQuestion = "Save changes?";
inline constexpr const char* kModelUnsaved = "The model has unsaved changes.";
inline constexpr const char* kAnimationsUnsaved = "Animations have unsaved changes.";

/// The data a command is about to drop.
enum class DroppedData {
  /// The model with its blending parameters (an Open replaces them; the
  /// animations stay).
  Model,
  /// The model and every animation (Exit, File > New).
  Everything,
};

/// True when data of that kind is modified.
bool HasUnsavedWork(const Application& app, DroppedData dropped);

/// Asks "Save changes?" (Save, Discard, Cancel) when data of that kind is
/// modified. Save writes each modified piece through its save dialog: the
/// model as a .skm (or a .x export when that type is chosen), the blending
/// parameters as a .prm, every modified animation as a .anm. Returns true
/// when the caller may go on: nothing was modified, Discard, or every save
/// succeeded; false for Cancel, a cancelled save dialog or a failed save
/// (which is reported).
bool SettleUnsavedWork(Application& app, ShellView& shell, DroppedData dropped);

/// The main window's title: "character.skm — Posewright" after the file the
/// model came from or was saved to, "Posewright" without one; a leading "*"
/// while the model or an animation is modified.
std::string WindowTitle(const Application& app);
}  // namespace posewright
