// A demonstration of the toolkit: windows of every caption style, one element of each kind
// built so far, editable Strings and a window whose elements can be selected, moved and
// resized as on a form. It stands in for the designer application until that exists.
#pragma once

#include "core/toolkit.h"

namespace tk::demo {

inline constexpr int kDefaultWidth = 1000;
inline constexpr int kDefaultHeight = 800;

// Ids of the elements that scripts and tests act on.
inline constexpr int kMainWindow = 1;
inline constexpr int kKindsWindow = 10;
inline constexpr int kEditableString = 115;
inline constexpr int kNumericString = 116;
inline constexpr int kDesignWindow = 30;
inline constexpr int kDesignButton = 301;  // the first design-selectable element
inline constexpr int kLayoutWindow = 40;
inline constexpr int kLayoutSplitter = 420;
inline constexpr int kLayoutScrollArea = 430;

// Builds the scene on a prepared toolkit (the first window opens the host); returns the main
// window's id, 0 when the host could not be opened.
int BuildDemo(Toolkit& tk, int width = kDefaultWidth, int height = kDefaultHeight);

}  // namespace tk::demo
