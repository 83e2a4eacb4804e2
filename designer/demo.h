// A small demonstration of the toolkit: a host window holding a desktop, a main window and a
// few elements that light up under the pointer. It stands in for the designer application.
#pragma once

#include "core/toolkit.h"

namespace tk::demo {

// Builds the demonstration scene on an open toolkit; returns the main window id, 0 on failure.
int BuildDemo(Toolkit& tk);

// Draws the scene with plain boxes and captions. The full drawing pipeline replaces it.
void DrawDemo(Toolkit& tk);

}  // namespace tk::demo
