// The full-canvas repaint entry.
#pragma once

#include "core/toolkit.h"

namespace tk {

// Repaints the whole canvas; firstPaint allows painting for the first time.
int Repaint(Toolkit& tk, int id, bool firstPaint);

}  // namespace tk
