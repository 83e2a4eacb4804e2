// The position picker: a centre, four edge bars, four corners, a size marker and a middle
// square, the parts a designer presses to dock or align an element.
#pragma once

#include "core/toolkit.h"

namespace tk {

// Fills the position picker's descriptor.
void RegisterPositionPicker(Toolkit& tk);

}  // namespace tk
