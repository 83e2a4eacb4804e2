// The scroll area kind: a content element larger than the visible area, moved by two bars.
#pragma once

#include <cstdint>

#include "core/toolkit.h"

namespace tk {

// Attribute codes of a scroll area (SetElementColor / GetElementAttribute).
inline constexpr int kScrollAreaInnerWidth = 1;
inline constexpr int kScrollAreaInnerHeight = 2;
inline constexpr int kScrollAreaScrollX = 3;
inline constexpr int kScrollAreaScrollY = 4;
inline constexpr int kScrollAreaStep = 5;

// Creates a scroll area with a content container (Attached[0]), a vertical bar (Attached[1])
// and a horizontal bar (Attached[2]), then sets the content size and the step. The content's
// list is left open, so the elements created next land in the content; CloseList closes the
// content and the area together. Returns the area's id, 0 when no record could be made.
int ScrollArea(Toolkit& tk, int id, int x, int y, int width, int height, int innerWidth,
               int innerHeight, int step = 10, Flags64 flags = 0, int parentId = -1);

void RegisterScrollArea(Toolkit& tk);

}  // namespace tk
