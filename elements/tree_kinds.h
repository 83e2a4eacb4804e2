// The Tree kind and the three explorer kinds drawn as their controls: indented rows with
// expanders, and the explorer's list, tree and combo box with folder icons.
#pragma once

#include "core/toolkit.h"

namespace tk {

void RegisterTreeKinds(Toolkit& tk);

}  // namespace tk
