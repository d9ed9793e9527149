#include "editor/MenuLayout.h"

#include <utility>

namespace posewright {

namespace {
MenuEntry Item(std::string text, CommandId id, bool checkable = false) {
  MenuEntry e;
  e.kind = MenuEntry::Kind::Command;
  e.text = std::move(text);
  e.id = id;
  e.checkable = checkable;
  return e;
}

MenuEntry Item(std::string text, CommandId id, StandardKey key) {
  MenuEntry e = Item(std::move(text), id);
  e.key = key;
  return e;
}

MenuEntry Item(std::string text, CommandId id, bool checkable, std::string shortcut) {
  MenuEntry e = Item(std::move(text), id, checkable);
  e.shortcut = std::move(shortcut);
  return e;
}

MenuEntry Separator() {
  MenuEntry e;
  e.kind = MenuEntry::Kind::Separator;
  return e;
}

MenuEntry Submenu(std::string text, std::vector<MenuEntry> children) {
  MenuEntry e;
  e.kind = MenuEntry::Kind::Submenu;
  e.text = std::move(text);
  e.children = std::move(children);
  return e;
}

MenuEntry Placeholder(std::string text, MenuSlot slot) {
  MenuEntry e;
  e.kind = MenuEntry::Kind::Placeholder;
  e.text = std::move(text);
  e.slot = slot;
  return e;
}

std::vector<MenuEntry> BuildLayout() {
  using C = CommandId;
  return {
      Submenu("&File", {Item("New", C::New, StandardKey::New), Separator(),
                        Submenu("Open Data", {Item("Mesh", C::OpenMesh, StandardKey::Open),
                                              Item("Rigged Model", C::OpenRiggedModel),
                                              Item("SkinnedMesh", C::OpenSkinnedMesh),
                                              Item("Blending Parameters", C::OpenBlendingParameters),
                                              Item("Animation", C::OpenAnimation)}),
                        Submenu("Save Data",
                                {Item("SkinnedMesh", C::SaveSkinnedMesh, StandardKey::Save),
                                 Item("Blending Parameters", C::SaveBlendingParameters),
                                 Item("Animation", C::SaveAnimation), Item("Bone Data", C::SaveBoneData)}),
                        Placeholder("Recent Files", MenuSlot::RecentFiles), Separator(),
                        Item("Exit", C::Exit, StandardKey::Quit)}),
      Submenu("&Edit",
              {Item("Undo", C::Undo, StandardKey::Undo), Item("Redo", C::Redo, StandardKey::Redo),
               Separator(), Item("Weight", C::Weight),
               Submenu("Weights", {Item("Normalise", C::WeightsNormalise),
                                   Item("Mirror Left → Right", C::WeightsMirrorLeftToRight),
                                   Item("Mirror Right → Left", C::WeightsMirrorRightToLeft), Separator(),
                                   Item("Smooth…", C::WeightsSmooth), Item("Prune…", C::WeightsPrune),
                                   Item("Limit…", C::WeightsLimit)}),
               Item("Rotate", C::Rotate),
               Submenu("Animation",
                       {Item("Name", C::AnimationName), Separator(), Item("Previous", C::AnimationPrevious),
                        Item("Next", C::AnimationNext), Separator(), Item("Add", C::AnimationAdd),
                        Item("Remove", C::AnimationRemove)})}),
      Submenu("&View", {Submenu("Grid", {Item("XZ", C::GridXZ, true), Item("YZ", C::GridYZ, true),
                                         Item("XY", C::GridXY, true)}),
                        Submenu("Rendering", {Item("Wireframe", C::Wireframe), Item("Solid", C::Solid),
                                              Item("Point", C::Point, true),
                                              Item("Weights", C::WeightView, true, "Ctrl+Shift+W")}),
                        Placeholder("Panels", MenuSlot::Panels)}),
  };
}
}  // namespace

const std::vector<MenuEntry>& MainMenuLayout() {
  static const std::vector<MenuEntry> layout = BuildLayout();
  return layout;
}
}  // namespace posewright
