// Z-order: an element's neighbours among its siblings, and moving an element with everything
// it contains to another place in the element list (which is the drawing order).
#pragma once

#include "core/toolkit.h"

namespace tk {

// Direction codes (ZOrder::First, Before, After, Last) are the core's.

// The last element of `id`'s subtree in list order (`id` itself without descendants); -1
// when `id` names nothing.
int LastInside(Toolkit& tk, int id);

// The first, previous, next or last visible sibling (same parent, same SubLevel); -1 when
// there is none.
int Sibling(Toolkit& tk, int id, int direction);

// Moves `id` with its subtree before or after `relative`, or (relative -1) to the front,
// one up, one down or to the back of its siblings. After a sibling move the sticky window
// and then the top popup menu with its members go back to the end of the list. Returns 0
// when id == relative, else -1.
int SetPosition(Toolkit& tk, int id, int direction, int relative = -1);

// Installs SetPosition as the core's z-order hook.
void RegisterZOrder(Toolkit& tk);

}  // namespace tk
