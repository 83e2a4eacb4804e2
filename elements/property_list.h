// The property grid's list: rows of a name and a value, each edited by a button, a spin or a
// combo box; spin and button rows carry their editor parts at the right end.
#pragma once

#include "core/toolkit.h"

namespace tk {

// Fills the property list's descriptor.
void RegisterPropertyList(Toolkit& tk);

}  // namespace tk
