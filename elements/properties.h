// The property grid: a scrolling two-column table of property names beside one live editor
// per row, built from a scroll area, a splitter, a name list and an editor container.
#pragma once

#include <cstdint>
#include <string>

#include "core/toolkit.h"

namespace tk {

// Every row is this high, with this gap below it; the scroll bar is this wide.
inline constexpr int kPropertyRowHeight = 19;
inline constexpr int kPropertyRowGap = 1;
inline constexpr int kPropertyBarWidth = 17;

// Row flag: a ComboBox row gets a check list.
inline constexpr int64_t kPropertyCheckList = 0x1;
// Row flags: a ComboBox row gets an editable field.
inline constexpr int64_t kPropertyEditable = 0x42;

// The border-style codes a grid takes: exactly 8 is BorderLess; otherwise bit 1 becomes
// Flat, else bit 4 Single, else bit 2 Raised. Other bits pass unchanged.
Flags64 PropertyBorderFlags(Flags64 flags);

// Creates a grid (its host is a scroll area with the grid's id) whose name column is
// `nameWidth` pixels wide. Returns the host's id, 0 when no record could be made.
int Properties(Toolkit& tk, int id, int x, int y, int width, int height, Flags64 flags,
               int parentId, int nameWidth);

// Appends a row described by "<kind> <name> <options>" (kind String, StringButton, Button,
// Spin, ComboBox or Splitter). Returns the id of the row's editor; `editorId` when the kind
// is unknown; -1 when `grid` names no grid. The options are the editor's first text, the
// items of a ComboBox, and for a Spin its value (the number they begin with).
int AddProperty(Toolkit& tk, int grid, int editorId, const std::string& description,
                int64_t rowFlags = 0);

// Replaces a combo box's options with the "|"-separated fields of `optionText`; field i goes
// to index i, and an empty field leaves its index unused.
void SetPropertyOptions(Toolkit& tk, int combo, const std::string& optionText);

}  // namespace tk
