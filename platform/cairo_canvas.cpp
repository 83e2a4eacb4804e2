// Cairo and pango implementation of the painter and the canvas image.
#include "platform/cairo_canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/cairo_internal.h"

namespace tk::platform {

namespace {

// Text is laid out at a fixed 96 dpi with fixed font options, so both backends and every
// machine measure the same widths.
constexpr double kTextDpi = 96.0;
constexpr PColor kCanvasFill = 0xF0F0F0;

// Negative sizes extend left or up from the given corner.
void Normalize(int& x, int& y, int& w, int& h) {
  if (w < 0) {
    x += w;
    w = -w;
  }
  if (h < 0) {
    y += h;
    h = -h;
  }
}

void RoundedPath(cairo_t* cr, double x, double y, double w, double h, double rx, double ry) {
  rx = std::min(std::max(rx, 0.0), w / 2);
  ry = std::min(std::max(ry, 0.0), h / 2);
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr, x, y, w, h);
    return;
  }
  auto corner = [&](double cx, double cy, double a0, double a1) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, a0, a1);
    cairo_restore(cr);
  };
  cairo_new_sub_path(cr);
  corner(x + w - rx, y + ry, -M_PI / 2, 0);
  corner(x + w - rx, y + h - ry, 0, M_PI / 2);
  corner(x + rx, y + h - ry, M_PI / 2, M_PI);
  corner(x + rx, y + ry, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

}  // namespace

CairoPainter::CairoPainter(FontStore& fonts, ImageStore& images) : fonts_(fonts), images_(images) {
  context_ = pango_font_map_create_context(pango_cairo_font_map_get_default());
  pango_cairo_context_set_resolution(context_, kTextDpi);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  layout_ = pango_layout_new(context_);
  pango_layout_set_single_paragraph_mode(layout_, FALSE);
}

CairoPainter::~CairoPainter() {
  Attach(nullptr);
  g_object_unref(layout_);
  g_object_unref(context_);
}

void CairoPainter::Attach(cairo_surface_t* surface) {
  if (cr_) cairo_destroy(cr_);
  cr_ = nullptr;
  width_ = height_ = 0;
  if (surface) {
    cr_ = cairo_create(surface);
    width_ = cairo_image_surface_get_width(surface);
    height_ = cairo_image_surface_get_height(surface);
  }
  Reset();
}

void CairoPainter::Reset() {
  // Layouts drawn in the last frame stay ready for this one; older ones are dropped.
  previousLayouts_ = std::move(layouts_);
  layouts_.clear();
  ox_ = oy_ = 0;
  mode_ = DrawMode::Default;
  font_ = FontStore::kDefaultFont;
  gradientBack_ = 0xFFFFFF;
  gradientFront_ = 0;
  if (cr_) {
    cairo_reset_clip(cr_);
    cairo_new_path(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
  }
}

void CairoPainter::SetGradientColors(PColor back, PColor front) {
  gradientBack_ = back;
  gradientFront_ = front;
}

void CairoPainter::SetOrigin(int x, int y) {
  ox_ = x;
  oy_ = y;
}

void CairoPainter::Clip(int x, int y, int w, int h) {
  if (!cr_) return;
  cairo_reset_clip(cr_);
  Normalize(x, y, w, h);
  cairo_new_path(cr_);
  cairo_rectangle(cr_, x, y, w, h);
  cairo_clip(cr_);
}

void CairoPainter::Unclip() {
  if (cr_) cairo_reset_clip(cr_);
}

void CairoPainter::SetColor(PColor color) {
  if (mode_ == DrawMode::AlphaBlend)
    cairo_set_source_rgba(cr_, ColorRed(color), ColorGreen(color), ColorBlue(color),
                          ColorAlpha(color));
  else
    cairo_set_source_rgb(cr_, ColorRed(color), ColorGreen(color), ColorBlue(color));
}

void CairoPainter::FillShape(int /*x*/, int y, int /*w*/, int h) {
  if (mode_ == DrawMode::Gradient) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(gradient, 0, ColorRed(gradientBack_),
                                     ColorGreen(gradientBack_), ColorBlue(gradientBack_));
    cairo_pattern_add_color_stop_rgb(gradient, 1, ColorRed(gradientFront_),
                                     ColorGreen(gradientFront_), ColorBlue(gradientFront_));
    cairo_set_source(cr_, gradient);
    cairo_fill(cr_);
    cairo_pattern_destroy(gradient);
  } else {
    cairo_fill(cr_);
  }
}

void CairoPainter::Box(int x, int y, int w, int h, PColor color) {
  if (!cr_ || w == 0 || h == 0) return;
  x += ox_;
  y += oy_;
  Normalize(x, y, w, h);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_new_path(cr_);
  SetColor(color);
  if (mode_ == DrawMode::Outlined) {
    // Four edge strips keep the outline exactly on the box's outer pixels.
    cairo_rectangle(cr_, x, y, w, 1);
    if (h > 1) cairo_rectangle(cr_, x, y + h - 1, w, 1);
    if (h > 2) {
      cairo_rectangle(cr_, x, y + 1, 1, h - 2);
      if (w > 1) cairo_rectangle(cr_, x + w - 1, y + 1, 1, h - 2);
    }
    cairo_fill(cr_);
  } else {
    cairo_rectangle(cr_, x, y, w, h);
    FillShape(x, y, w, h);
  }
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
}

void CairoPainter::RoundBox(int x, int y, int w, int h, int rx, int ry, PColor color) {
  if (!cr_ || w == 0 || h == 0) return;
  x += ox_;
  y += oy_;
  Normalize(x, y, w, h);
  cairo_new_path(cr_);
  SetColor(color);
  if (mode_ == DrawMode::Outlined) {
    RoundedPath(cr_, x + 0.5, y + 0.5, w - 1, h - 1, rx, ry);
    cairo_set_line_width(cr_, 1.0);
    cairo_stroke(cr_);
  } else {
    RoundedPath(cr_, x, y, w, h, rx, ry);
    FillShape(x, y, w, h);
  }
}

void CairoPainter::Circle(int cx, int cy, int radius, PColor color) {
  if (!cr_ || radius < 0) return;
  cx += ox_;
  cy += oy_;
  cairo_new_path(cr_);
  SetColor(color);
  if (mode_ == DrawMode::Outlined) {
    cairo_arc(cr_, cx + 0.5, cy + 0.5, radius, 0, 2 * M_PI);
    cairo_set_line_width(cr_, 1.0);
    cairo_stroke(cr_);
  } else {
    cairo_arc(cr_, cx + 0.5, cy + 0.5, radius + 0.5, 0, 2 * M_PI);
    FillShape(cx - radius, cy - radius, 2 * radius + 1, 2 * radius + 1);
  }
}

void CairoPainter::Line(int x, int y, int w, int h, PColor color) {
  if (!cr_ || (w == 0 && h == 0)) return;
  x += ox_;
  y += oy_;
  // The line covers |w| x |h| pixels, so its far end is one pixel short of x + w.
  int x2 = x + (w > 0 ? w - 1 : w < 0 ? w + 1 : 0);
  int y2 = y + (h > 0 ? h - 1 : h < 0 ? h + 1 : 0);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_new_path(cr_);
  SetColor(color);
  if (x == x2 || y == y2) {
    cairo_rectangle(cr_, std::min(x, x2), std::min(y, y2), std::abs(x2 - x) + 1,
                    std::abs(y2 - y) + 1);
  } else {
    // Bresenham, so diagonal lines are as crisp as straight ones.
    int dx = std::abs(x2 - x), sx = x < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y), sy = y < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      cairo_rectangle(cr_, x, y, 1, 1);
      if (x == x2 && y == y2) break;
      int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y += sy;
      }
    }
  }
  cairo_fill(cr_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
}

void CairoPainter::Plot(int x, int y, PColor color) {
  if (!cr_) return;
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_new_path(cr_);
  SetColor(color);
  cairo_rectangle(cr_, x + ox_, y + oy_, 1, 1);
  cairo_fill(cr_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
}

void CairoPainter::PrepareLayout(FontData& font, std::string_view text) {
  if (layoutFont_ != &font) {
    pango_layout_set_font_description(layout_, font.description);
    PangoAttrList* attrs = nullptr;
    if (font.style & (FontStyle::Underline | FontStyle::StrikeOut)) {
      attrs = pango_attr_list_new();
      if (font.style & FontStyle::Underline)
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
      if (font.style & FontStyle::StrikeOut)
        pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    }
    pango_layout_set_attributes(layout_, attrs);
    if (attrs) pango_attr_list_unref(attrs);
    layoutFont_ = &font;
  }
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
    pango_layout_set_text(layout_, text.data(), static_cast<int>(text.size()));
  } else {
    // Broken UTF-8 is shown with replacement characters instead of being refused.
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout_, valid, -1);
    g_free(valid);
  }
}

int CairoPainter::LineHeight(FontData& font) {
  if (font.lineHeight < 0) {
    PrepareLayout(font, "");
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout_, &w, &h);
    font.lineHeight = h;
  }
  return font.lineHeight;
}

TextSize CairoPainter::MeasureText(std::string_view text) {
  FontData& font = fonts_.Data(font_);
  auto found = font.sizes.find(text);
  if (found != font.sizes.end()) return found->second;
  int height = LineHeight(font);
  PrepareLayout(font, text);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout_, &w, &h);
  // One line keeps the font's line height whatever its letters, as text boxes expect.
  TextSize size{w, text.find('\n') == std::string_view::npos ? height : h};
  if (font.sizes.size() >= FontData::kMaxCachedSizes) font.sizes.clear();
  font.sizes.emplace(std::string(text), size);
  return size;
}

PangoLayout* CairoPainter::DrawnLayout(FontData& font, std::string_view text) {
  // The key is the font record's address followed by the text.
  std::string& key = layoutKey_;
  const FontData* address = &font;
  key.assign(reinterpret_cast<const char*>(&address), sizeof address);
  key.append(text);
  auto found = layouts_.find(key);
  if (found != layouts_.end()) return found->second.get();
  auto old = previousLayouts_.find(key);
  if (old != previousLayouts_.end()) {
    auto node = previousLayouts_.extract(old);
    return layouts_.insert(std::move(node)).position->second.get();
  }
  if (layouts_.size() >= kMaxLayouts) return nullptr;
  PrepareLayout(font, text);
  LayoutPtr copy(pango_layout_copy(layout_));
  return layouts_.emplace(key, std::move(copy)).first->second.get();
}

int CairoPainter::Text(int x, int y, std::string_view text, PColor front, PColor back) {
  if (!cr_ || text.empty()) return 0;
  TextSize size = MeasureText(text);
  FontData& font = fonts_.Data(font_);
  PangoLayout* layout = DrawnLayout(font, text);
  if (!layout) {
    PrepareLayout(font, text);
    layout = layout_;
  }
  x += ox_;
  y += oy_;
  cairo_new_path(cr_);
  if (mode_ == DrawMode::Default && back >= 0) {
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    SetColor(back);
    cairo_rectangle(cr_, x, y, size.width, size.height);
    cairo_fill(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_DEFAULT);
  }
  SetColor(front);
  cairo_move_to(cr_, x, y);
  pango_cairo_show_layout(cr_, layout);
  cairo_new_path(cr_);
  return size.width;
}

void CairoPainter::DrawImage(int image, int x, int y, int w, int h, int opacity) {
  ImageData* data = images_.Data(image);
  if (!cr_ || !data || !data->surface || opacity <= 0) return;
  x += ox_;
  y += oy_;
  int dw = w > 0 ? w : data->width;
  int dh = h > 0 ? h : data->height;
  bool scaled = dw != data->width || dh != data->height;
  cairo_save(cr_);
  cairo_new_path(cr_);
  cairo_rectangle(cr_, x, y, dw, dh);
  cairo_clip(cr_);
  cairo_translate(cr_, x, y);
  if (scaled)
    cairo_scale(cr_, static_cast<double>(dw) / data->width, static_cast<double>(dh) / data->height);
  cairo_set_source_surface(cr_, data->surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr_),
                           scaled ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
  if (opacity >= 255)
    cairo_paint(cr_);
  else
    cairo_paint_with_alpha(cr_, opacity / 255.0);
  cairo_restore(cr_);
}

CairoCanvas::CairoCanvas(int width, int height, FontStore& fonts, ImageStore& images)
    : painter_(fonts, images), measurer_(fonts, images) {
  measureSurface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
  measurer_.Attach(measureSurface_);
  Resize(width, height);
}

CairoCanvas::~CairoCanvas() {
  painter_.Attach(nullptr);
  measurer_.Attach(nullptr);
  if (surface_) cairo_surface_destroy(surface_);
  cairo_surface_destroy(measureSurface_);
}

void CairoCanvas::Resize(int width, int height) {
  width = std::clamp(width, 1, kMaxImageSide);
  height = std::clamp(height, 1, kMaxImageSide);
  if (surface_ && width == width_ && height == height_) return;
  cairo_surface_t* next = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(next);
  cairo_set_source_rgb(cr, ColorRed(kCanvasFill), ColorGreen(kCanvasFill), ColorBlue(kCanvasFill));
  cairo_paint(cr);
  if (surface_) {
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_paint(cr);
  }
  cairo_destroy(cr);
  painter_.Attach(next);
  if (surface_) cairo_surface_destroy(surface_);
  surface_ = next;
  width_ = width;
  height_ = height;
}

const uint8_t* CairoCanvas::Data() const {
  cairo_surface_flush(surface_);
  return cairo_image_surface_get_data(surface_);
}

int CairoCanvas::Stride() const {
  return cairo_image_surface_get_stride(surface_);
}

uint32_t CairoCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const uint8_t* row = Data() + static_cast<size_t>(y) * Stride();
  return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

}  // namespace tk::platform
