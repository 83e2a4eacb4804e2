// The images the toolkit carries inside the program as PNG data: scroll arrows, a small
// icon, the caption glyphs and a blank image.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/toolkit.h"

namespace tk {

// Decodes the built-in images into the platform's image store: each under a free number
// (kept in tk.builtins) and the grey and caption glyphs again under the fixed numbers 0 to 4.
// Returns false when one of them could not be decoded.
bool LoadBuiltinImages(Toolkit& tk);

// The bytes of one embedded image file.
struct BuiltinImageData {
  std::string_view name;  // file name without extension, e.g. "tray_arrow"
  const unsigned char* data;
  size_t size;
};

// The embedded file of that name, or nullptr.
const BuiltinImageData* FindBuiltinImageData(std::string_view name);

}  // namespace tk
