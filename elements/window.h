// The Window kind: the creation procedure and the caption painter.
#pragma once

#include <functional>
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

// Makes room for a bar `height` pixels high at the top of `window` (a menu bar or tool bar):
// the window grows by it (and its parent, when it no longer fits), `create` makes the bar
// and returns its id (0 when it could not), the bar's height becomes the window's strip and
// the children keep their place inside the client area, which moves down below the bar.
// Returns what `create` returned.
int AttachTopBar(Toolkit& tk, int window, int height, const std::function<int()>& create);

// What every bar living in one of a window's strips declares: the bar trait, no back colour
// or list of its own, the Root field and event slot naming the newest one, and its strip.
void DeclareWindowBar(KindDescriptor& d, int Root::*last, int EventRecord::*slot,
                      int Element::*strip);

// Fills the Window kind's descriptor.
void RegisterWindow(Toolkit& tk);

}  // namespace tk
