// The ListView and ListIcon kinds: creation with their two scroll bars, items, icon-list rows
// and header columns, the content size the bars scroll over, and the two item painters.
#pragma once

#include <string>

#include "core/toolkit.h"

namespace tk {

// Every row of an icon list is this high; its check-box column is this wide.
inline constexpr int kListRowHeight = 19;
inline constexpr int kListCheckColumn = 22;
// Item flags an item gets when the caller gives none.
inline constexpr Flags64 kListItemFlags = 0xC7100;

// Creates a list view with its vertical and horizontal scroll bars; a non-empty text becomes
// item 0. Returns the list's id (0 when no record could be made).
int ListView(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
             Flags64 flags = 0, int parentId = -1);

// Creates an icon list whose header starts with one column (title, titleWidth), with its two
// scroll bars. Returns the list's id (0 when no record could be made).
int ListIcon(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& title,
             int titleWidth, Flags64 flags = 0, int parentId = -1);

// Adds an item to a list view, or a row to an icon list (its column texts separated by line
// feeds). Position -1 or past the end appends, otherwise the item goes before the one at
// `position`. imageOrSize is an image, or (when it names none and is at least 1) the item's
// fixed height. Returns the item's id: `position`, or for -1 the item count after adding;
// -1 when `list` names no list.
int AddListItem(Toolkit& tk, int list, int position, const std::string& text, int imageOrSize = -1,
                Flags64 flags = 0);

// Adds a header column to an icon list at `position` (-1 or past the end appends). Returns the
// column's index, -1 when `list` names no icon list.
int AddListColumn(Toolkit& tk, int list, int position, const std::string& title, int width);

// The height of everything the vertical bar scrolls over, and the widest item text so far;
// 0 for an id that names no list.
int ListContentHeight(Toolkit& tk, int list);
int ListWidestItem(Toolkit& tk, int list);

void RegisterLists(Toolkit& tk);

}  // namespace tk
