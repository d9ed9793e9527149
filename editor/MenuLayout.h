// The main window's menu bar as data: texts, command ids, separators and the
// items that carry a check mark, in menu order. The window builds its menus
// from it so texts and ids live in one place.
#pragma once

#include <string>
#include <vector>

#include "editor/CommandIds.h"

namespace posewright {

/// The desktop's standard shortcuts the menu uses (the window maps them to
/// the platform's keys).
enum class StandardKey { None, New, Open, Save, Quit, Undo, Redo };

/// The submenus the window fills at run time.
enum class MenuSlot {
  /// File > Recent Files: the model files opened or saved last.
  RecentFiles,
  /// View > Panels: a check item per tool panel, to show or close it.
  Panels,
};

struct MenuEntry {
  /// Placeholder: a submenu whose entries the window makes at run time
  /// (text is its title, slot says which).
  enum class Kind { Command, Submenu, Separator, Placeholder };
  Kind kind = Kind::Command;
  std::string text;
  /// Command entries only.
  CommandId id = CommandId::New;
  /// Command entries that show a check mark (all start unchecked).
  bool checkable = false;
  /// Command entries: the desktop's standard key of the command, if any.
  StandardKey key = StandardKey::None;
  /// Command entries: a fixed key of the command in portable text
  /// ("Ctrl+Shift+W"); empty for none.
  std::string shortcut;
  /// Submenu entries only.
  std::vector<MenuEntry> children;
  /// Placeholder entries only.
  MenuSlot slot = MenuSlot::RecentFiles;
};

/// The top-level menus File, Edit and View with everything under them; the
/// top-level texts carry their mnemonics ("&File": Alt+F).
const std::vector<MenuEntry>& MainMenuLayout();
}  // namespace posewright
