// Font store: pango font descriptions behind small integer handles.
#include "platform/fonts.h"

#include <cmath>

#include "platform/cairo_internal.h"

namespace tk::platform {

namespace {

constexpr const char* kDefaultFamily = "DejaVu Sans";  // has Cyrillic glyphs
constexpr double kDefaultSize = 9.0;

std::unique_ptr<FontData> MakeFont(const std::string& family, double sizePt, int style) {
  auto data = std::make_unique<FontData>();
  data->family = family;
  data->size = sizePt;
  data->style = style;
  data->description = pango_font_description_new();
  pango_font_description_set_family(data->description, family.c_str());
  pango_font_description_set_size(data->description,
                                  static_cast<gint>(std::lround(sizePt * PANGO_SCALE)));
  pango_font_description_set_weight(
      data->description, (style & FontStyle::Bold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(
      data->description, (style & FontStyle::Italic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return data;
}

}  // namespace

FontStore::FontStore() {
  fonts_[kDefaultFont] = MakeFont(kDefaultFamily, kDefaultSize, 0);
}

FontStore::~FontStore() = default;

int FontStore::Load(const std::string& family, double sizePt, int style) {
  std::string name = family.empty() ? std::string(kDefaultFamily) : family;
  // Sizes outside what a GUI uses fall back to the default rather than failing.
  if (!(sizePt > 0) || sizePt > 1000) sizePt = kDefaultSize;
  style &= FontStyle::Bold | FontStyle::Italic | FontStyle::Underline | FontStyle::StrikeOut;
  for (const auto& [handle, data] : fonts_)
    if (data->family == name && data->size == sizePt && data->style == style) return handle;
  int handle = next_++;
  fonts_[handle] = MakeFont(name, sizePt, style);
  return handle;
}

bool FontStore::IsFont(int font) const {
  return fonts_.count(font) > 0;
}

std::string FontStore::Family(int font) const {
  return Data(font).family;
}

double FontStore::Size(int font) const {
  return Data(font).size;
}

int FontStore::Style(int font) const {
  return Data(font).style;
}

FontData& FontStore::Data(int font) const {
  auto found = fonts_.find(font);
  if (found == fonts_.end()) found = fonts_.find(kDefaultFont);
  return *found->second;
}

}  // namespace tk::platform
