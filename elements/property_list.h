// The property grid's list: rows of a name and a value, with spin and button rows carrying
// their editor parts at the right end.
#pragma once

#include "core/toolkit.h"

namespace tk {

// Fills the property list's descriptor.
void RegisterPropertyList(Toolkit& tk);

}  // namespace tk
