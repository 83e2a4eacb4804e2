// A demonstration of the toolkit: windows of every caption style, one element of each kind
// built so far, editable Strings, a window whose elements can be selected, moved and resized
// as on a form, and a property grid beside buttons that open each requester. It stands in for the
// designer application until that exists.
#pragma once

#include "core/toolkit.h"

namespace tk::demo {

inline constexpr int kDefaultWidth = 1280;
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
// The property grid and the buttons that open each requester; the answer shows in a Text.
inline constexpr int kGridWindow = 50;
inline constexpr int kGrid = 500;
inline constexpr int kOpenFileButton = 540;
inline constexpr int kSaveFileButton = 541;
inline constexpr int kColorButton = 542;
inline constexpr int kFontButton = 543;
inline constexpr int kMessageButton = 544;
inline constexpr int kAnswerText = 545;

// Builds the scene on a prepared toolkit (the first window opens the host); returns the main
// window's id, 0 when the host could not be opened.
int BuildDemo(Toolkit& tk, int width = kDefaultWidth, int height = kDefaultHeight);

}  // namespace tk::demo
