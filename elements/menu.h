// The Menu bar and PopupMenu kinds: building menus title by title, lazily created drop-down
// and submenu popups, showing and hiding popups, their drawing, and changing an item's text.
#pragma once

#include <string>

#include "core/toolkit.h"

namespace tk {

// Item id given to separators and to entries added with id -1.
inline constexpr int kMenuNoCommand = 65535;
// Height of a window's menu bar strip.
inline constexpr int kMenuBarHeight = 22;
// Appended to the text of a popup entry that opens a submenu.
inline constexpr const char* kSubMenuSuffix = "    >>";

// Gives `window` a menu bar: the window grows by the bar's height and its children move down
// by as much, keeping their place in the client area. The bar becomes the current menu.
// Returns the bar's id; 0 when `window` is not a window or already has a bar (the current
// menu is then reset to none).
int CreateMenu(Toolkit& tk, int id, int window);

// Creates a hidden popup menu on the desktop and makes it the current menu; returns its id.
int CreatePopupMenu(Toolkit& tk, int id);

// Climbs one level from the current menu (a bar stays itself) and opens a submenu entry
// there: on a menu bar, a title. Returns the entry's index, -1 without a current menu.
int MenuTitle(Toolkit& tk, const std::string& text);

// Adds an entry to the current menu that the next MenuItem turns into a submenu. Returns the
// entry's index, -1 without a current menu.
int OpenSubMenu(Toolkit& tk, const std::string& text, int image = -1);

// Adds an entry with the given id (-1: kMenuNoCommand) to the current menu, first creating
// the popup of a pending submenu entry and descending into it. Returns the entry's index,
// -1 without a current menu.
int MenuItem(Toolkit& tk, int id, const std::string& text, int image = -1, Flags64 flags = 0);

// Adds a separator (id kMenuNoCommand, empty text) to the current menu; its index or -1.
int MenuBar(Toolkit& tk);

// Drops a pending submenu of the current menu and climbs one level; returns the menu that
// was current before (-1 when none was).
int CloseSubMenu(Toolkit& tk);

// Shows `popup` at canvas (x, y) for the element `owner` (-1: none); kIgnore for x or y
// takes the pointer position. A popup that would pass the desktop's bottom opens above the
// point instead. Returns 1 when shown, 0 when `popup` is not a popup menu.
int DisplayPopupMenu(Toolkit& tk, int popup, int owner, int x, int y);

// Replaces the text of the item with index `item` of a menu bar or popup, resizing the item,
// moving the items after it and resizing the menu. Returns 1 when done, else 0.
int SetMenuItemText(Toolkit& tk, int menu, int item, const std::string& text);

// The top of the menu chain `menu` belongs to (a menu bar, or a popup that is its own
// parent); 0 for an id that names no menu, popup or tool bar.
int MenuRoot(Toolkit& tk, int menu);

// Installs the popup painter and the show and hide hooks the item routing calls.
void RegisterMenus(Toolkit& tk);

}  // namespace tk
