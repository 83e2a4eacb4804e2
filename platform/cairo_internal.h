// Backend records behind the image and font handles: cairo surfaces and pango descriptions.
// Only platform/ includes this file, so the rest of the toolkit never sees cairo or pango.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/images.h"
#include "platform/painter.h"

namespace tk::platform {

struct ImageData {
  ImageData() = default;
  ImageData(const ImageData&) = delete;
  ImageData& operator=(const ImageData&) = delete;
  ~ImageData() {
    if (surface) cairo_surface_destroy(surface);
  }

  cairo_surface_t* surface = nullptr;  // CAIRO_FORMAT_ARGB32, premultiplied
  int width = 0;
  int height = 0;
  int depth = 32;
  ImageFormat format = ImageFormat::Raw;
  std::string path;
};

// Lets string-keyed maps be searched with a string_view without building a string.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};
template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

struct FontData {
  FontData() = default;
  FontData(const FontData&) = delete;
  FontData& operator=(const FontData&) = delete;
  ~FontData() {
    if (description) pango_font_description_free(description);
  }

  PangoFontDescription* description = nullptr;
  std::string family;
  double size = 0;
  int style = 0;

  // Text sizes measured in this font. A full repaint measures the same labels over and over,
  // so the answer is kept. Past kMaxCachedSizes the answers become the older generation and a
  // new one starts; what is asked again moves back, so texts in use are never all measured
  // again at once. Longer texts are not kept: each would hold its whole text as the key.
  static constexpr size_t kMaxCachedSizes = 4096;
  static constexpr size_t kMaxCachedTextBytes = 4096;
  TextMap<TextSize> sizes, olderSizes;
  int lineHeight = -1;  // height of one line, measured once
};

// Colour helpers: the toolkit's colours keep red in the low byte.
inline double ColorRed(PColor c) {
  return static_cast<double>(c & 0xFF) / 255.0;
}
inline double ColorGreen(PColor c) {
  return static_cast<double>((c >> 8) & 0xFF) / 255.0;
}
inline double ColorBlue(PColor c) {
  return static_cast<double>((c >> 16) & 0xFF) / 255.0;
}
inline double ColorAlpha(PColor c) {
  return static_cast<double>((c >> 24) & 0xFF) / 255.0;
}

}  // namespace tk::platform
