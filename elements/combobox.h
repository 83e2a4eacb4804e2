// The ComboBox kind: a field with a drop button whose entries live in a drop-down list (a
// popup menu, or an icon list with check boxes for a multiple-choice combo box).
#pragma once

#include <cstdint>

#include "core/toolkit.h"

namespace tk {

// Creation flag: the list is a check list in which several entries can be ticked.
inline constexpr Flags64 kComboCheckList = 0x1;

// Creates a combo box with its drop button and its hidden list. Returns the id.
int ComboBox(Toolkit& tk, int id, int x, int y, int width, int height, Flags64 flags = 0,
             int parentId = -1, int64_t data = 0);

// The drop-down list of a combo box, -1 when `combo` is not one.
int ComboList(Toolkit& tk, int combo);

// Installs the ComboBox hooks (entries, selection, drop button).
void RegisterComboBox(Toolkit& tk);

}  // namespace tk
