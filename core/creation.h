// Generic element creation: every element of every kind is made here.
#pragma once

#include <string>
#include <string_view>

#include "core/toolkit.h"

namespace tk {

// Creates an element and returns its id (0 when no record could be made). x and y are
// relative to the parent's inner rectangle; kIgnore cascades 30 pixels from the active
// window. id -1 lets the toolkit choose a distinct, even, large id. For a Spin, stepText is
// the text of its step (for example "0.25"); param3 is unused then. Image kinds take their
// image from param1, so its default -1 means "no image" (0 is a valid image number).
int CreateElement(Toolkit& tk, ElementKind kind, int id, int x, int y, int width, int height,
                  std::string_view text, int param1 = -1, int param2 = -1, int param3 = 0,
                  Flags64 flags = 0, int parentId = -1, std::string_view stepText = {});

// A number with a fixed count of decimals, as a Spin shows its value ("0" when it cannot be
// written).
std::string FormatFixed(double value, int decimals);

}  // namespace tk
