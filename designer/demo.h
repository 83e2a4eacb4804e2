// A demonstration of the toolkit: windows of every caption style and one element of each
// kind built so far. It stands in for the designer application until that exists.
#pragma once

#include "core/toolkit.h"

namespace tk::demo {

inline constexpr int kDefaultWidth = 1000;
inline constexpr int kDefaultHeight = 500;

// Builds the scene on a prepared toolkit (the first window opens the host); returns the main
// window's id, 0 when the host could not be opened.
int BuildDemo(Toolkit& tk, int width = kDefaultWidth, int height = kDefaultHeight);

}  // namespace tk::demo
