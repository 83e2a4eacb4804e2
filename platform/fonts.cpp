// Font store: pango font descriptions behind small integer handles.
#include "platform/fonts.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
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

void StartLoadingFonts() {
  pango_cairo_font_map_get_default();
}

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

namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

bool SameNoCase(const std::string& a, const std::string& b) {
  return !LessNoCase(a, b) && !LessNoCase(b, a);
}

}  // namespace

std::vector<std::string> FontStore::Families() const {
  std::vector<std::string> names;
  PangoFontFamily** families = nullptr;
  int count = 0;
  pango_font_map_list_families(pango_cairo_font_map_get_default(), &families, &count);
  names.reserve(static_cast<size_t>(std::max(0, count)));
  for (int i = 0; i < count; ++i) {
    const char* name = pango_font_family_get_name(families[i]);
    if (name != nullptr && *name != '\0') names.emplace_back(name);
  }
  g_free(families);
  // Exact order first so that names differing only in case keep a stable order.
  std::sort(names.begin(), names.end());
  std::stable_sort(names.begin(), names.end(), LessNoCase);
  names.erase(std::unique(names.begin(), names.end(), SameNoCase), names.end());
  return names;
}

std::string FontStore::Substitute(const std::string& family) const {
  if (family.empty()) return {};
  PangoFontMap* map = pango_cairo_font_map_get_default();
  PangoContext* context = pango_font_map_create_context(map);
  PangoFontDescription* wanted = pango_font_description_new();
  pango_font_description_set_family(wanted, family.c_str());
  pango_font_description_set_size(wanted, 10 * PANGO_SCALE);
  std::string found;
  if (PangoFont* font = pango_font_map_load_font(map, context, wanted)) {
    PangoFontDescription* got = pango_font_describe(font);
    const char* name = got != nullptr ? pango_font_description_get_family(got) : nullptr;
    if (name != nullptr) found = name;
    if (got != nullptr) pango_font_description_free(got);
    g_object_unref(font);
  }
  pango_font_description_free(wanted);
  g_object_unref(context);
  return found;
}

FontData& FontStore::Data(int font) const {
  auto found = fonts_.find(font);
  if (found == fonts_.end()) found = fonts_.find(kDefaultFont);
  return *found->second;
}

}  // namespace tk::platform
