// The table of kind names, from PopupMenu (-6) to ImageButton (34).
#include "core/kind_names.h"

#include <array>

namespace tk {

namespace {

constexpr int kFirstNamedKind = -6;
constexpr std::array<std::string_view, 41> kNames = {"PopupMenu",
                                                     "Desktop",
                                                     "StatusBar",
                                                     "Menu",
                                                     "Toolbar",
                                                     "Window",
                                                     "Create",
                                                     "Button",
                                                     "String",
                                                     "Text",
                                                     "CheckBox",
                                                     "Option",
                                                     "ListView",
                                                     "Frame",
                                                     "ComboBox",
                                                     "Image",
                                                     "HyperLink",
                                                     "Container",
                                                     "ListIcon",
                                                     "IPAddress",
                                                     "ProgressBar",
                                                     "ScrollBar",
                                                     "ScrollArea",
                                                     "TrackBar",
                                                     "Web",
                                                     "ButtonImage",
                                                     "Calendar",
                                                     "Date",
                                                     "Editor",
                                                     "ExplorerList",
                                                     "ExplorerTree",
                                                     "ExplorerCombo",
                                                     "Spin",
                                                     "Tree",
                                                     "Panel",
                                                     "Splitter",
                                                     "",
                                                     "Scintilla",
                                                     "Shortcut",
                                                     "Canvas",
                                                     "ImageButton"};

}  // namespace

std::string_view KindNameOf(int kind) {
  if (kind < kFirstNamedKind || kind >= kFirstNamedKind + static_cast<int>(kNames.size()))
    return {};
  return kNames[static_cast<size_t>(kind - kFirstNamedKind)];
}

}  // namespace tk
