// The Panel kind: a tabbed container whose children each belong to one tab.
#pragma once

#include <cstdint>
#include <string>

#include "core/toolkit.h"

namespace tk {

// Creates a panel; its children go onto its current tab. Without a parent the panel's list
// stays open for the caller's next elements.
int Panel(Toolkit& tk, int id, int x, int y, int width, int height, Flags64 flags = 0,
          int parentId = -1);

// Adds a tab (position -1 appends); returns its index, -1 when `panel` is not a panel.
int AddTab(Toolkit& tk, int panel, int position, const std::string& text, int image = -1,
           Flags64 flags = 0, int64_t data = 0);

// Shows the children of `tab` (except those their program hid) and hides every other tab's
// children. Returns the hidden state of the last parent examined; 0 when nothing was.
int ShowTab(Toolkit& tk, int panel, int tab);

// Installs the panel's hooks: state setter (tab selection), item adder and tab-strip painter.
void RegisterPanel(Toolkit& tk);

}  // namespace tk
