// The Window kind: the creation procedure and the caption painter.
#pragma once

#include <string>

#include "core/toolkit.h"
#include "platform/painter.h"

namespace tk {

// Creates a window with a client area of innerWidth x innerHeight; the first window opens
// the host. Returns the window's id (what generic creation reports).
int Window(Toolkit& tk, int id, int x, int y, int innerWidth, int innerHeight,
           const std::string& title, Flags64 flags = 0, int parentId = -1);

// Lays out the caption item and caption buttons and paints them (the Window kind's items).
void PaintWindowItems(Toolkit& tk, Element& window, platform::Painter& painter);

}  // namespace tk
