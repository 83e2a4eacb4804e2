// Installs every element kind's hooks into a toolkit, and prepares a complete toolkit.
#pragma once

#include "core/toolkit.h"

namespace tk {

void RegisterKinds(Toolkit& tk);

// Everything a program or a test needs before creating elements: the render layer's
// operations, every kind's hooks and the built-in images (an image that cannot be made
// stays -1 in tk.builtins; the toolkit still works without that glyph).
void PrepareToolkit(Toolkit& tk);

}  // namespace tk
