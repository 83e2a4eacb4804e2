// Element items: rows, tabs, menu entries, caption buttons, splitter halves, property rows.
#pragma once

#include <string>
#include <string_view>

#include "core/toolkit.h"

namespace tk {

// Adds an item to the owner element; position -1 (or past the end) appends. flags 0 means
// the default item flags. Returns the new item's index, or -1 when the owner is absent.
int AddItem(Toolkit& tk, int id, int position, const std::string& text, int image = -1,
            Flags64 flags = 0);

// The public entry: dispatches to the owner kind's item procedure. 0 for an absent owner.
int AddElementItem(Toolkit& tk, int id, int position, const std::string& text, int image = -1,
                   Flags64 flags = 0);

// Item indexes. An item is filed in its owner's ItemMap under its index (Element::Index).
// Indexes follow the order of Items but may leave gaps: an item added past the last index
// keeps the index it was given. An item whose ID is its index keeps the two equal when the
// indexes move.

// Makes a new, empty item record for `index` and returns its position in Items. -1 appends
// after the highest index. An index that some item has or lies below inserts the record
// before the first such item, and the indexes from there on move up by one (with the owner's
// selected, pressed and open item). A higher index appends under that index.
size_t InsertItemRecord(Toolkit& tk, Element& owner, int index);

// The fields every item record takes from its owner: kind, window, parent, font, a one-pixel
// frame, and its own text and flags.
void SetUpItemRecord(Element& item, const Element& owner, std::string text, Flags64 flags);

// Removes the item at a position of Items; the indexes above it move down by one.
void RemoveItemRecord(Toolkit& tk, Element& owner, size_t position);

// The position in Items of the item filed under `index`; -1 when there is none.
int ItemPosition(const Element& owner, int index);

// The height of a row holding `text` and `image` in the owner's font.
int ItemRowHeight(Toolkit& tk, const Element& owner, std::string_view text, int image);

// A bar's height (menu bar, tool bar, status bar) becomes its window's strip, so the window's
// inner rectangle shrinks by it. Kinds without a strip are left alone.
void UpdateWindowStrip(Toolkit& tk, const Element& bar);

}  // namespace tk
