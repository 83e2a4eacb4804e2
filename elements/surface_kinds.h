// The surface-like gadget kinds drawn as their controls: Image and ButtonImage (their image or
// an empty frame), Canvas, MDI (a workspace with a child window), Web (an address bar over a
// page) and Scintilla (an editor with a line-number margin).
#pragma once

#include "core/toolkit.h"

namespace tk {

void RegisterSurfaceKinds(Toolkit& tk);

}  // namespace tk
