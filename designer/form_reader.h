#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "codegen/reader.h"
#include "core/toolkit.h"
#include "designer/designer.h"

namespace tk::designer {

// Rebuilds the windows and gadgets of PureBasic source text on the Form page, through the
// designer's creation path. Lines end in CR LF, LF or CR; a UTF-8 byte-order mark is skipped;
// bytes that are not UTF-8 are read as Latin-1. The windows the Form page held are freed
// first. With designer.batch set, the Elements row and the panels are left alone.
void ReadFormSource(Toolkit& tk, Designer& designer, std::string_view source);

// The part of reading that needs no toolkit: the source decoded, split into lines and each
// line's call parsed. A batch run does it while the font configuration loads. The lines
// point into the object's own text, so it is neither copied nor moved.
struct ParsedSource {
  explicit ParsedSource(std::string_view source);
  ParsedSource(const ParsedSource&) = delete;
  ParsedSource& operator=(const ParsedSource&) = delete;

  struct Line {
    std::string_view text;
    bool creates = false;  // holds a creation word followed by "("
    bool parsed = false;   // holds a "(" at all
    SourceCall call;
  };
  std::string text;
  std::vector<Line> lines;
};
void ReadFormSource(Toolkit& tk, Designer& designer, const ParsedSource& source);
// Reads the file at `path` and rebuilds it as ReadFormSource does; false when the file cannot
// be read (then the "Information" / "Couldn't open the file!" message has been shown).
bool ReadFormFile(Toolkit& tk, Designer& designer, const std::string& path);

}  // namespace tk::designer
