// Coordinates: the getters by mode, resizing, and the recomputation of dependent blocks.
#pragma once

#include "core/toolkit.h"

namespace tk {

// Getters by coordinate mode (CoordMode). Absent or hidden elements give 0.
int ElementX(Toolkit& tk, int id, int mode = CoordMode::Default);
int ElementY(Toolkit& tk, int id, int mode = CoordMode::Default);
int ElementWidth(Toolkit& tk, int id, int mode = CoordMode::Default);
int ElementHeight(Toolkit& tk, int id, int mode = CoordMode::Default);

// Resizes the element named by id; any value may be kIgnore. Moves and resizes the host
// too when id is the main window. Returns 1 when something changed, else 0.
int ResizeElementById(Toolkit& tk, int id, int x, int y, int width, int height,
                      int mode = CoordMode::Parent);
// The same work on a record; used by creation with mode 16.
int ResizeElement(Toolkit& tk, Element& e, int x, int y, int width, int height,
                  int mode = CoordMode::Parent);

// Recompute the x- (y-) dependent blocks from Frame; x (y) is the new absolute position, or
// kIgnore when only the size changed.
// A scroll area's content is visible only beside the area's shown bars, so whatever is added
// to it later is neither drawn over the bars nor hit in their place. Cuts e's visible blocks
// when e is such a content; anything else is left alone.
void KeepBesideScrollBars(Toolkit& tk, Element& e);
void SetElementX(Toolkit& tk, Element& e, int x);
void SetElementY(Toolkit& tk, Element& e, int y);

// Docks an element into its parent when flags carry dock bits (top byte 0x01..0x40).
void DockElement(Toolkit& tk, int id, Flags64 flags);

}  // namespace tk
