// The property list: rows of a label and a value, each row edited by a button, a spin or a
// combo box.
#pragma once

#include "core/toolkit.h"

namespace tk {

void RegisterPropertyList(Toolkit& tk);

}  // namespace tk
