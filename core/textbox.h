// Text drawn into a box: aligned, and word-wrapped when it has several lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/flags.h"
#include "core/types.h"
#include "platform/painter.h"

namespace tk {

// Draws text in the painter's current font and mode; width or height 0 means the output's.
// Only the alignment bits of flags are read. Returns the number of line feeds in the text
// after line-break normalisation.
int DrawTextBox(platform::Painter& painter, int x, int y, std::string_view text, Color frontColor,
                Color backColor, Flags64 flags, int width = 0, int height = 0);

// The lines a text box `width` pixels wide shows for `text`, wrapped as DrawTextBox wraps
// them: line breaks normalised, each line broken greedily at single spaces.
std::vector<std::string> WrapTextLines(platform::Painter& painter, std::string_view text,
                                       int width);

}  // namespace tk
