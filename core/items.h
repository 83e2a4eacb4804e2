// Element items: rows, tabs, menu entries, caption buttons, splitter halves, property rows.
#pragma once

#include <string>

#include "core/toolkit.h"

namespace tk {

// Adds an item to the owner element; position -1 (or past the end) appends. flags 0 means
// the default item flags. Returns the new item's index, or -1 when the owner is absent.
int AddItem(Toolkit& tk, int id, int position, const std::string& text, int image = -1,
            Flags64 flags = 0);

// The public entry: dispatches to the owner kind's item procedure. 0 for an absent owner.
int AddElementItem(Toolkit& tk, int id, int position, const std::string& text, int image = -1,
                   Flags64 flags = 0);

// A bar's height (menu bar, tool bar, status bar) becomes its window's strip, so the window's
// inner rectangle shrinks by it. Other kinds are left alone.
void UpdateWindowStrip(Toolkit& tk, const Element& bar);

}  // namespace tk
