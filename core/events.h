// Event binding and delivery to application handlers, with replay of pending events.
#pragma once

#include "core/toolkit.h"

namespace tk {

// Binds to a gadget, or to a window as a whole.
void BindElementEvent(Toolkit& tk, int id, const HandlerRef& handler, int64_t types);
// windowId -1 (or no such element) binds to the desktop; gadgetId kIgnore binds to the window.
void BindCallback(Toolkit& tk, const HandlerRef& handler, int windowId, int gadgetId,
                  int64_t types);
void UnbindCallback(Toolkit& tk, const HandlerRef& handler, int windowId, int gadgetId);

// Posts an event for an element to its handlers, then its window's and the desktop's.
// Returns the last handler result (1 when none ran).
int PostElementEvent(Toolkit& tk, EventCode types, int id, int param, int64_t data);
// The same for a record already in hand (used while freeing, when the id may be shadowed).
int PostEventToRecord(Toolkit& tk, Element& e, EventCode types, int param, int64_t data);

}  // namespace tk
