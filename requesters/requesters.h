// The toolkit's own requesters: modal windows of toolkit elements that ask the user for a
// file, a colour, a font or an answer, and return it to the caller as PureBasic's requesters
// do. Each runs a nested event loop; without a canvas each answers as cancelled (a message
// then goes to the platform's own box and standard error).
#pragma once

#include <cstdint>
#include <string>

#include "core/toolkit.h"

namespace tk {

// MessageRequester flags (buttons plus one glyph) and answers, with PureBasic's values.
namespace MessageFlag {
inline constexpr int Ok = 0;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int Error = 0x10;
inline constexpr int Warning = 0x30;
inline constexpr int Info = 0x40;
}  // namespace MessageFlag
namespace MessageAnswer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace MessageAnswer

// Shows `text` (wrapped, the window growing to fit within the canvas) with the buttons and
// glyph `flags` names; returns the button pressed. Escape and the close box answer Cancel
// (No without a Cancel button, Ok with only Ok); Return answers the first button.
int MessageRequester(Toolkit& tk, const std::string& title, const std::string& text,
                     int flags = MessageFlag::Ok);

// `pattern` is "Label|*.a;*.b|Label|*.*"; `patternPosition` picks the pattern shown first.
// `defaultPath` names the folder shown first, or a file in it (whose name fills the path
// field). Returns the chosen path, "" when cancelled. Save asks before a file is overwritten.
std::string OpenFileRequester(Toolkit& tk, const std::string& title, const std::string& defaultPath,
                              const std::string& pattern, int patternPosition = 0);
std::string SaveFileRequester(Toolkit& tk, const std::string& title, const std::string& defaultPath,
                              const std::string& pattern, int patternPosition = 0);

// Colours are 0xBBGGRR; -1 when cancelled.
int64_t ColorRequester(Toolkit& tk, int64_t initial = 0);

// Starts at the given family, size and style (FontStyle bits); true when the user confirmed,
// and the choice is then readable through SelectedFontName/Size/Style.
bool FontRequester(Toolkit& tk, const std::string& name, int size, int style = 0);
std::string SelectedFontName(const Toolkit& tk);
int SelectedFontSize(const Toolkit& tk);
int SelectedFontStyle(const Toolkit& tk);

}  // namespace tk
