// The main window's menu bar as data: texts, command ids, separators and the
// items that carry a check mark, in menu order. The window builds its menus
// from it so texts and ids live in one place.
#pragma once

#include <string>
#include <vector>

#include "editor/CommandIds.h"

struct MenuEntry {
  enum class Kind { Command, Submenu, Separator };
  Kind kind = Kind::Command;
  std::string text;
  /// Command entries only.
  CommandId id = CommandId::New;
  /// Command entries that show a check mark (all start unchecked).
  bool checkable = false;
  /// Submenu entries only.
  std::vector<MenuEntry> children;
};

/// The top-level menus File, Edit and View with everything under them.
const std::vector<MenuEntry>& MainMenuLayout();
