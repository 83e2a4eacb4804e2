#pragma once

#include <string>
#include <string_view>

#include "core/toolkit.h"
#include "designer/designer.h"

namespace tk::designer {

// Rebuilds the windows and gadgets of PureBasic source text on the Form page, through the
// designer's creation path. Lines end in CR LF, LF or CR; a UTF-8 byte-order mark is skipped;
// bytes that are not UTF-8 are read as Latin-1. The windows the Form page held are freed
// first. With designer.batch set, the Elements row and the panels are left alone.
void ReadFormSource(Toolkit& tk, Designer& designer, std::string_view source);
// Reads the file at `path` and rebuilds it as ReadFormSource does; false when the file cannot
// be read (then the "Information" / "Couldn't open the file!" message has been shown).
bool ReadFormFile(Toolkit& tk, Designer& designer, const std::string& path);

}  // namespace tk::designer
