// Cairo and pango implementation of the painter and the canvas image.
#include "platform/cairo_canvas.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/cairo_internal.h"

namespace tk::platform {

namespace {

// Text is laid out at a fixed 96 dpi with fixed font options, so both backends and every
// machine measure the same widths.
constexpr double kTextDpi = 96.0;
constexpr PColor kCanvasFill = 0xF0F0F0;

}  // namespace

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

CairoPainter::Picture::Picture(Picture&& other) noexcept {
  *this = std::move(other);
}

CairoPainter::Picture& CairoPainter::Picture::operator=(Picture&& other) noexcept {
  std::swap(surface, other.surface);
  std::swap(pattern, other.pattern);
  std::swap(image, other.image);
  std::swap(fill, other.fill);
  color = other.color;
  dx = other.dx;
  dy = other.dy;
  width = other.width;
  height = other.height;
  return *this;
}

CairoPainter::Picture::~Picture() {
  if (fill) pixman_image_unref(fill);
  if (image) pixman_image_unref(image);
  if (pattern) cairo_pattern_destroy(pattern);
  if (surface) cairo_surface_destroy(surface);
}

size_t CairoPainter::Picture::Bytes() const {
  return surface ? static_cast<size_t>(cairo_image_surface_get_stride(surface)) * height : 0;
}

size_t CairoPainter::ShapeHash::operator()(const ShapeKey& key) const {
  size_t h = static_cast<size_t>(key.shape);
  for (int64_t v : {int64_t{key.mode}, int64_t{key.w}, int64_t{key.h}, int64_t{key.rx},
                    int64_t{key.ry}, key.color, key.back, key.front})
    h = h * 0x9E3779B97F4A7C15ull + static_cast<size_t>(v) + (h >> 29);
  return h;
}

CairoPainter::CairoPainter(FontStore& fonts, ImageStore& images) : fonts_(fonts), images_(images) {}

// The text context is made at the first text measured or drawn: making it loads the font
// configuration, which a run that never shows text (a batch generation) need not wait for.
void CairoPainter::EnsureText() const {
  if (context_ != nullptr) return;
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
  Attach(nullptr);  // also drops the pixman view of the target
  DropCaches();
  if (layout_ != nullptr) g_object_unref(layout_);
  if (context_ != nullptr) g_object_unref(context_);
}

void CairoPainter::Attach(cairo_surface_t* surface) {
  if (cr_) cairo_destroy(cr_);
  if (target_) pixman_image_unref(target_);
  cr_ = nullptr;
  target_ = nullptr;
  targetSurface_ = nullptr;
  targetBits_ = nullptr;
  width_ = height_ = 0;
  if (surface) {
    cr_ = cairo_create(surface);
    width_ = cairo_image_surface_get_width(surface);
    height_ = cairo_image_surface_get_height(surface);
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    if ((format == CAIRO_FORMAT_RGB24 || format == CAIRO_FORMAT_ARGB32) &&
        cairo_image_surface_get_data(surface) != nullptr) {
      targetSurface_ = surface;
      targetBits_ = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
      targetStride_ = cairo_image_surface_get_stride(surface) / 4;
      target_ = pixman_image_create_bits(
          format == CAIRO_FORMAT_RGB24 ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8, width_, height_,
          targetBits_, cairo_image_surface_get_stride(surface));
    }
  }
  Reset();
}

void CairoPainter::Reset() {
  // What the last frame drew stays ready for this one; what it did not draw is dropped.
  for (auto& [key, text] : previousTexts_)
    cacheBytes_ -= text.picture.Bytes();
  for (auto& [key, picture] : previousShapes_)
    cacheBytes_ -= picture.Bytes();
  previousTexts_ = std::move(texts_);
  previousShapes_ = std::move(shapes_);
  previousSizes_ = std::move(sizes_);
  texts_.clear();
  shapes_.clear();
  sizes_.clear();
  ox_ = oy_ = 0;
  mode_ = DrawMode::Default;
  font_ = FontStore::kDefaultFont;
  gradientBack_ = 0xFFFFFF;
  gradientFront_ = 0;
  clipped_ = false;
  cairoClipStale_ = false;
  if (cr_) {
    cairo_reset_clip(cr_);
    cairo_new_path(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
  }
  // Pixels are written past cairo from now on. The image backend draws at once, so one flush
  // and one dirty mark per frame keep cairo's view right: the mark clears its "surface is
  // blank" shortcut, which nothing this painter draws can set again.
  if (targetSurface_) {
    cairo_surface_flush(targetSurface_);
    cairo_surface_mark_dirty(targetSurface_);
  }
}

void CairoPainter::SetCaching(bool on) {
  caching_ = on;
  if (!on) DropCaches();
}

void CairoPainter::DropCaches() {
  texts_.clear();
  previousTexts_.clear();
  shapes_.clear();
  previousShapes_.clear();
  sizes_.clear();
  previousSizes_.clear();
  cacheBytes_ = 0;
}

CairoPainter::CacheUsage CairoPainter::Usage() const {
  return {texts_.size() + previousTexts_.size(), sizes_.size() + previousSizes_.size(),
          shapes_.size() + previousShapes_.size(), cacheBytes_};
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
  Normalize(x, y, w, h);
  if (clipped_ && x == clip_[0] && y == clip_[1] && w == clip_[2] && h == clip_[3]) return;
  clipped_ = true;
  clip_[0] = x;
  clip_[1] = y;
  clip_[2] = w;
  clip_[3] = h;
  cairoClipStale_ = true;
}

void CairoPainter::Unclip() {
  if (!cr_ || !clipped_) return;
  clipped_ = false;
  cairoClipStale_ = true;
}

cairo_t* CairoPainter::Cairo() {
  // Most pieces are blitted or filled past cairo with the clip applied by Cut, so cairo's own
  // clip (rebuilt on every change) is brought up to date only when cairo draws.
  if (cairoClipStale_) {
    cairo_reset_clip(cr_);
    if (clipped_) {
      cairo_new_path(cr_);
      cairo_rectangle(cr_, clip_[0], clip_[1], clip_[2], clip_[3]);
      cairo_clip(cr_);
    }
    cairoClipStale_ = false;
  }
  return cr_;
}

void CairoPainter::SetColor(cairo_t* cr, PColor color) const {
  if (mode_ == DrawMode::AlphaBlend)
    cairo_set_source_rgba(cr, ColorRed(color), ColorGreen(color), ColorBlue(color),
                          ColorAlpha(color));
  else
    cairo_set_source_rgb(cr, ColorRed(color), ColorGreen(color), ColorBlue(color));
}

void CairoPainter::FillShape(cairo_t* cr, int y, int h) const {
  if (mode_ == DrawMode::Gradient) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(gradient, 0, ColorRed(gradientBack_),
                                     ColorGreen(gradientBack_), ColorBlue(gradientBack_));
    cairo_pattern_add_color_stop_rgb(gradient, 1, ColorRed(gradientFront_),
                                     ColorGreen(gradientFront_), ColorBlue(gradientFront_));
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
  } else {
    cairo_fill(cr);
  }
}

CairoPainter::ShapeKey CairoPainter::MakeKey(Shape shape, int w, int h, int rx, int ry,
                                             PColor color) const {
  // The key holds exactly what DrawShape reads, so equal keys make equal pixels.
  ShapeKey key{shape, static_cast<int>(mode_), w, h, rx, ry, 0, 0, 0};
  if (mode_ == DrawMode::Transparent) key.mode = static_cast<int>(DrawMode::Default);
  if (mode_ == DrawMode::Gradient) {
    key.back = gradientBack_ & 0xFFFFFF;
    key.front = gradientFront_ & 0xFFFFFF;
  } else {
    key.color = color & (mode_ == DrawMode::AlphaBlend ? 0xFFFFFFFF : 0xFFFFFF);
  }
  return key;
}

void CairoPainter::DrawShape(cairo_t* cr, const ShapeKey& key, int x, int y) const {
  const bool outlined = key.mode == static_cast<int>(DrawMode::Outlined);
  const int w = key.w, h = key.h;
  cairo_new_path(cr);
  SetColor(cr, key.color);
  switch (key.shape) {
    case Shape::Box:
      cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
      if (outlined) {
        // Four edge strips keep the outline exactly on the box's outer pixels.
        cairo_rectangle(cr, x, y, w, 1);
        if (h > 1) cairo_rectangle(cr, x, y + h - 1, w, 1);
        if (h > 2) {
          cairo_rectangle(cr, x, y + 1, 1, h - 2);
          if (w > 1) cairo_rectangle(cr, x + w - 1, y + 1, 1, h - 2);
        }
        cairo_fill(cr);
      } else {
        cairo_rectangle(cr, x, y, w, h);
        FillShape(cr, y, h);
      }
      cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
      break;
    case Shape::RoundBox:
      if (outlined) {
        // The 1-pixel outline is filled as the ring between the box and the box one pixel
        // in, the shape a centred 1-pixel stroke covers. Cairo blends strokes with a
        // precision no pre-rendered picture reproduces, while fills blend like a blit.
        bool square = key.rx == 0 || key.ry == 0;
        RoundedPath(cr, x, y, w, h, square ? 0 : key.rx + 0.5, square ? 0 : key.ry + 0.5);
        if (w > 2 && h > 2)
          RoundedPath(cr, x + 1, y + 1, w - 2, h - 2, square ? 0 : key.rx - 0.5,
                      square ? 0 : key.ry - 0.5);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
      } else {
        RoundedPath(cr, x, y, w, h, key.rx, key.ry);
        FillShape(cr, y, h);
      }
      break;
    case Shape::Circle: {
      const int radius = w;
      if (outlined) {
        // A ring, as for the rounded box; radius 0 has no outline.
        if (radius == 0) break;
        cairo_arc(cr, x + 0.5, y + 0.5, radius + 0.5, 0, 2 * M_PI);
        cairo_new_sub_path(cr);
        cairo_arc(cr, x + 0.5, y + 0.5, radius - 0.5, 0, 2 * M_PI);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
      } else {
        cairo_arc(cr, x + 0.5, y + 0.5, radius + 0.5, 0, 2 * M_PI);
        FillShape(cr, y - radius, 2 * radius + 1);
      }
      break;
    }
  }
}

bool CairoPainter::Cut(int& x, int& y, int& w, int& h) const {
  int64_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  int64_t x1 = std::min<int64_t>(int64_t{x} + w, width_);
  int64_t y1 = std::min<int64_t>(int64_t{y} + h, height_);
  if (clipped_) {
    x0 = std::max(x0, int64_t{clip_[0]});
    y0 = std::max(y0, int64_t{clip_[1]});
    x1 = std::min(x1, int64_t{clip_[0]} + clip_[2]);
    y1 = std::min(y1, int64_t{clip_[1]} + clip_[3]);
  }
  if (x1 <= x0 || y1 <= y0) return false;
  x = static_cast<int>(x0);
  y = static_cast<int>(y0);
  w = static_cast<int>(x1 - x0);
  h = static_cast<int>(y1 - y0);
  return true;
}

void CairoPainter::FillDirect(int x, int y, int w, int h, PColor color) {
  if (!Cut(x, y, w, h)) return;
  // The pixel cairo makes of an opaque colour: x8r8g8b8 with the unused byte set.
  const uint32_t pixel = 0xFF000000u | static_cast<uint32_t>((color & 0xFF) << 16) |
                         static_cast<uint32_t>(color & 0xFF00) |
                         static_cast<uint32_t>((color >> 16) & 0xFF);
  // One pixel (a plotted point) costs less written than passed through pixman's fill.
  if (w == 1 && h == 1)
    targetBits_[static_cast<size_t>(y) * static_cast<size_t>(targetStride_) + x] = pixel;
  else
    pixman_fill(targetBits_, targetStride_, 32, x, y, w, h, pixel);
}

void CairoPainter::Finish(Picture& picture) {
  cairo_surface_flush(picture.surface);
  picture.pattern = cairo_pattern_create_for_surface(picture.surface);
  cairo_pattern_set_filter(picture.pattern, CAIRO_FILTER_NEAREST);
  if (cairo_surface_status(picture.surface) != CAIRO_STATUS_SUCCESS) return;
  const cairo_format_t format = cairo_image_surface_get_format(picture.surface);
  picture.image = pixman_image_create_bits(
      format == CAIRO_FORMAT_RGB24 ? PIXMAN_x8r8g8b8
      : format == CAIRO_FORMAT_A8  ? PIXMAN_a8
                                   : PIXMAN_a8r8g8b8,
      picture.width, picture.height,
      reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(picture.surface)),
      cairo_image_surface_get_stride(picture.surface));
  if (format == CAIRO_FORMAT_A8) {
    const auto channel = [](PColor c, int shift) {
      return static_cast<uint16_t>(((c >> shift) & 0xFF) * 0x101);
    };
    const pixman_color_t solid{channel(picture.color, 0), channel(picture.color, 8),
                               channel(picture.color, 16), 0xFFFF};
    picture.fill = pixman_image_create_solid_fill(&solid);
  }
}

void CairoPainter::Blit(const Picture& picture, int x, int y) {
  x += picture.dx;
  y += picture.dy;
  if (target_ && caching_ && picture.image) {
    // The same compositing cairo ends in, without its clip and pattern set-up per call.
    int cx = x, cy = y, cw = picture.width, ch = picture.height;
    if (!Cut(cx, cy, cw, ch)) return;
    if (picture.fill)
      pixman_image_composite32(PIXMAN_OP_OVER, picture.fill, picture.image, target_, 0, 0, cx - x,
                               cy - y, cx, cy, cw, ch);
    else
      pixman_image_composite32(PIXMAN_OP_OVER, picture.image, nullptr, target_, cx - x, cy - y, 0,
                               0, cx, cy, cw, ch);
    return;
  }
  cairo_t* cr = Cairo();
  if (picture.fill) {
    cairo_set_source_rgb(cr, ColorRed(picture.color), ColorGreen(picture.color),
                         ColorBlue(picture.color));
    cairo_mask_surface(cr, picture.surface, x, y);
    return;
  }
  cairo_matrix_t matrix;
  cairo_matrix_init_translate(&matrix, -x, -y);
  cairo_pattern_set_matrix(picture.pattern, &matrix);
  cairo_set_source(cr, picture.pattern);
  cairo_new_path(cr);
  cairo_rectangle(cr, x, y, picture.width, picture.height);
  cairo_fill(cr);
}

bool CairoPainter::BlitShape(const ShapeKey& key, int x, int y) {
  if (!caching_) return false;
  // A circle's picture spans the radius on both sides of the centre.
  const bool circle = key.shape == Shape::Circle;
  const int64_t w = circle ? 2 * int64_t{key.w} + 1 : key.w;
  const int64_t h = circle ? 2 * int64_t{key.w} + 1 : key.h;
  if (w * h > kMaxShapePixels) return false;
  auto found = shapes_.find(key);
  if (found == shapes_.end()) {
    auto old = previousShapes_.find(key);
    if (old != previousShapes_.end()) {
      found = shapes_.insert(previousShapes_.extract(old)).position;
    } else {
      if (shapes_.size() >= kMaxShapes) return false;
      // A gradient box is opaque, and an opaque picture is copied instead of blended.
      const bool opaque =
          key.shape == Shape::Box && key.mode == static_cast<int>(DrawMode::Gradient);
      const cairo_format_t format = opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
      const size_t bytes =
          static_cast<size_t>(cairo_format_stride_for_width(format, static_cast<int>(w))) * h;
      if (cacheBytes_ + bytes > kMaxCacheBytes) return false;
      Picture picture;
      picture.width = static_cast<int>(w);
      picture.height = static_cast<int>(h);
      picture.dx = picture.dy = circle ? -key.w : 0;
      picture.surface = cairo_image_surface_create(format, picture.width, picture.height);
      cairo_t* cr = cairo_create(picture.surface);
      DrawShape(cr, key, -picture.dx, -picture.dy);
      cairo_destroy(cr);
      Finish(picture);
      cacheBytes_ += picture.Bytes();
      found = shapes_.emplace(key, std::move(picture)).first;
    }
  }
  Blit(found->second, x, y);
  return true;
}

void CairoPainter::Box(int x, int y, int w, int h, PColor color) {
  if (!cr_ || w == 0 || h == 0) return;
  x += ox_;
  y += oy_;
  Normalize(x, y, w, h);
  // Plain and outlined boxes are solid pixel-aligned rectangles: cheaper drawn than blitted.
  if (FillsDirect() && mode_ != DrawMode::Gradient) {
    if (mode_ != DrawMode::Outlined) {
      FillDirect(x, y, w, h, color);
      return;
    }
    // The same four edge strips as the cairo outline.
    FillDirect(x, y, w, 1, color);
    if (h > 1) FillDirect(x, y + h - 1, w, 1, color);
    if (h > 2) {
      FillDirect(x, y + 1, 1, h - 2, color);
      if (w > 1) FillDirect(x + w - 1, y + 1, 1, h - 2, color);
    }
    return;
  }
  ShapeKey key = MakeKey(Shape::Box, w, h, 0, 0, color);
  if (mode_ == DrawMode::Gradient && BlitShape(key, x, y)) return;
  DrawShape(Cairo(), key, x, y);
}

void CairoPainter::RoundBox(int x, int y, int w, int h, int rx, int ry, PColor color) {
  if (!cr_ || w == 0 || h == 0) return;
  x += ox_;
  y += oy_;
  Normalize(x, y, w, h);
  // Radii past the box's size draw the same as the largest that fits.
  rx = std::clamp(rx, 0, w);
  ry = std::clamp(ry, 0, h);
  ShapeKey key = MakeKey(Shape::RoundBox, w, h, rx, ry, color);
  // A filled box with square corners is a plain rectangle, cheap to draw directly.
  bool square = rx == 0 || ry == 0;
  bool plain = mode_ != DrawMode::Gradient && mode_ != DrawMode::Outlined;
  if (square && plain && FillsDirect()) {
    FillDirect(x, y, w, h, color);
    return;
  }
  if (!(square && plain) && BlitShape(key, x, y)) return;
  DrawShape(Cairo(), key, x, y);
}

void CairoPainter::Circle(int cx, int cy, int radius, PColor color) {
  if (!cr_ || radius < 0) return;
  cx += ox_;
  cy += oy_;
  ShapeKey key = MakeKey(Shape::Circle, radius, radius, 0, 0, color);
  if (BlitShape(key, cx, cy)) return;
  DrawShape(Cairo(), key, cx, cy);
}

void CairoPainter::Line(int x, int y, int w, int h, PColor color) {
  if (!cr_ || (w == 0 && h == 0)) return;
  x += ox_;
  y += oy_;
  // The line covers |w| x |h| pixels, so its far end is one pixel short of x + w.
  int x2 = x + (w > 0 ? w - 1 : w < 0 ? w + 1 : 0);
  int y2 = y + (h > 0 ? h - 1 : h < 0 ? h + 1 : 0);
  if (FillsDirect() && (x == x2 || y == y2)) {
    FillDirect(std::min(x, x2), std::min(y, y2), std::abs(x2 - x) + 1, std::abs(y2 - y) + 1, color);
    return;
  }
  cairo_t* cr = Cairo();
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_new_path(cr);
  SetColor(cr, color);
  if (x == x2 || y == y2) {
    cairo_rectangle(cr, std::min(x, x2), std::min(y, y2), std::abs(x2 - x) + 1,
                    std::abs(y2 - y) + 1);
  } else {
    // Bresenham, so diagonal lines are as crisp as straight ones.
    int dx = std::abs(x2 - x), sx = x < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y), sy = y < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
      cairo_rectangle(cr, x, y, 1, 1);
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
  cairo_fill(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
}

void CairoPainter::Plot(int x, int y, PColor color) {
  if (!cr_) return;
  if (FillsDirect()) {
    FillDirect(x + ox_, y + oy_, 1, 1, color);
    return;
  }
  cairo_t* cr = Cairo();
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_new_path(cr);
  SetColor(cr, color);
  cairo_rectangle(cr, x + ox_, y + oy_, 1, 1);
  cairo_fill(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
}

namespace {

void ApplyFont(PangoLayout* layout, const FontData& font) {
  pango_layout_set_font_description(layout, font.description);
  PangoAttrList* attrs = nullptr;
  if (font.style & (FontStyle::Underline | FontStyle::StrikeOut)) {
    attrs = pango_attr_list_new();
    if (font.style & FontStyle::Underline)
      pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.style & FontStyle::StrikeOut)
      pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  }
  pango_layout_set_attributes(layout, attrs);
  if (attrs) pango_attr_list_unref(attrs);
}

}  // namespace

void CairoPainter::SetLayoutText(PangoLayout* layout, std::string_view text) const {
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
  } else {
    // Broken UTF-8 is shown with replacement characters instead of being refused.
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout, valid, -1);
    g_free(valid);
  }
}

void CairoPainter::PrepareLayout(FontData& font, std::string_view text) {
  EnsureText();
  if (layoutFont_ != &font) {
    ApplyFont(layout_, font);
    layoutFont_ = &font;
  }
  SetLayoutText(layout_, text);
}

PangoLayout* CairoPainter::NewLayout(const FontData& font, std::string_view text) const {
  EnsureText();
  PangoLayout* layout = pango_layout_new(context_);
  pango_layout_set_single_paragraph_mode(layout, FALSE);
  ApplyFont(layout, font);
  SetLayoutText(layout, text);
  return layout;
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

TextSize CairoPainter::LayoutSize(PangoLayout* layout, int lineHeight, std::string_view text) {
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  // One line keeps the font's line height whatever its letters, as text boxes expect.
  return {w, text.find('\n') == std::string_view::npos ? lineHeight : h};
}

TextSize CairoPainter::MeasureText(std::string_view text) {
  FontData& font = fonts_.Data(font_);
  auto found = font.sizes.find(text);
  if (found != font.sizes.end()) return found->second;
  auto older = font.olderSizes.find(text);
  if (older != font.olderSizes.end()) {
    const TextSize size = older->second;
    if (font.sizes.size() < FontData::kMaxCachedSizes)
      font.sizes.insert(font.olderSizes.extract(older));
    return size;
  }
  // The font's shared answers are dropped whole when they grow too many; a frame measuring
  // more texts than that would lay all of them out again every frame. This painter's own
  // answers last as long as its cached texts: from one frame to the next.
  const FontData* address = &font;
  std::string& key = sizeKey_;
  key.assign(reinterpret_cast<const char*>(&address), sizeof address);
  key.append(text);
  if (caching_) {
    auto kept = sizes_.find(key);
    if (kept != sizes_.end()) return kept->second;
    auto old = previousSizes_.find(key);
    if (old != previousSizes_.end())
      return sizes_.insert(previousSizes_.extract(old)).position->second;
  }
  const int height = LineHeight(font);
  PrepareLayout(font, text);
  const TextSize size = LayoutSize(layout_, height, text);
  if (text.size() <= FontData::kMaxCachedTextBytes) {
    if (font.sizes.size() >= FontData::kMaxCachedSizes) {
      font.olderSizes = std::move(font.sizes);
      font.sizes.clear();
    }
    font.sizes.emplace(std::string(text), size);
  }
  if (caching_ && sizes_.size() < kMaxTexts) sizes_.emplace(key, size);
  return size;
}

void CairoPainter::CaretStops(std::string_view text, std::vector<int>& stops) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); i += Utf8SequenceLength(text, i))
    starts.push_back(i);
  const size_t n = starts.size();
  // Pango reads broken UTF-8 as other bytes, so its positions would not match the characters.
  if (n == 0 || !g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
    Painter::CaretStops(text, stops);
    return;
  }
  FontData& font = fonts_.Data(font_);
  PrepareLayout(font, text);
  // The runs of the first line in visual order; each character's logical width, shared evenly
  // inside a cluster, puts its leading edge after the characters before it in its run.
  constexpr int kNone = INT32_MIN;
  std::vector<int> units(n, kNone);
  std::vector<int> widths;
  const char* base = pango_layout_get_text(layout_);
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout_, 0);
  int x = 0;
  for (GSList* l = line ? line->runs : nullptr; l != nullptr; l = l->next) {
    auto* run = static_cast<PangoGlyphItem*>(l->data);
    const PangoItem* item = run->item;
    widths.assign(static_cast<size_t>(std::max(item->num_chars, 0)), 0);
    if (!widths.empty()) pango_glyph_item_get_logical_widths(run, base, widths.data());
    int runWidth = 0;
    for (int w : widths)
      runWidth += w;
    const bool rtl = (item->analysis.level & 1) != 0;
    const size_t first = static_cast<size_t>(
        std::lower_bound(starts.begin(), starts.end(), static_cast<size_t>(item->offset)) -
        starts.begin());
    int before = 0;
    for (size_t j = 0; j < widths.size() && first + j < n; ++j) {
      units[first + j] = rtl ? x + runWidth - before : x + before;
      before += widths[j];
    }
    x += runWidth;
  }
  stops.assign(n + 1, 0);
  int last = 0;
  for (size_t p = 0; p < n; ++p) {
    if (units[p] != kNone) last = PANGO_PIXELS(units[p]);
    stops[p] = last;
  }
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout_, &w, &h);
  stops[n] = w;
}

CairoPainter::Picture CairoPainter::RenderText(PangoLayout* layout, PColor color) const {
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  Picture picture;
  if (ink.width <= 0 || ink.height <= 0) return picture;  // nothing visible
  // The ink box with a margin: glyph edges shaded by antialiasing stay inside the picture.
  constexpr int kMargin = 2;
  picture.dx = ink.x - kMargin;
  picture.dy = ink.y - kMargin;
  picture.width = ink.width + 2 * kMargin;
  picture.height = ink.height + 2 * kMargin;
  picture.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height);
  cairo_t* cr = cairo_create(picture.surface);
  SetColor(cr, color);
  cairo_move_to(cr, -picture.dx, -picture.dy);
  pango_cairo_show_layout(cr, layout);
  cairo_destroy(cr);
  if (mode_ != DrawMode::AlphaBlend || ((color >> 24) & 0xFF) == 0xFF)
    KeepCoverageOnly(picture, color);
  Finish(picture);
  return picture;
}

void CairoPainter::KeepCoverageOnly(Picture& picture, PColor color) {
  // Glyphs in a solid opaque colour c over nothing leave c x coverage in each channel and the
  // coverage in alpha, so the alpha channel is the whole picture, a quarter of its memory.
  // Colour glyphs (or anything else) fail the check and stay as they are.
  cairo_surface_t* argb = picture.surface;
  if (cairo_surface_status(argb) != CAIRO_STATUS_SUCCESS) return;
  cairo_surface_flush(argb);
  cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, picture.width, picture.height);
  if (cairo_surface_status(a8) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(a8);
    return;
  }
  const auto times = [](uint32_t value, uint32_t alpha) {  // pixman's rounded 8-bit product
    const uint32_t t = value * alpha + 128;
    return (t + (t >> 8)) >> 8;
  };
  const uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  const uint8_t* from = cairo_image_surface_get_data(argb);
  uint8_t* to = cairo_image_surface_get_data(a8);
  const int fromStride = cairo_image_surface_get_stride(argb);
  const int toStride = cairo_image_surface_get_stride(a8);
  for (int y = 0; y < picture.height; ++y) {
    const uint32_t* row =
        reinterpret_cast<const uint32_t*>(from + static_cast<size_t>(y) * fromStride);
    uint8_t* out = to + static_cast<size_t>(y) * toStride;
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t p = row[x], a = p >> 24;
      if (((p >> 16) & 0xFF) != times(r, a) || ((p >> 8) & 0xFF) != times(g, a) ||
          (p & 0xFF) != times(b, a)) {
        cairo_surface_destroy(a8);
        return;
      }
      out[x] = static_cast<uint8_t>(a);
    }
  }
  cairo_surface_mark_dirty(a8);
  cairo_surface_destroy(argb);
  picture.surface = a8;
  picture.color = color;
}

CairoPainter::CachedText* CairoPainter::FindText(FontData& font, PColor color,
                                                 std::string_view text) {
  // The key is the font record's address and the colour as drawn, followed by the text.
  const FontData* address = &font;
  PColor drawn = mode_ == DrawMode::AlphaBlend ? color & 0xFFFFFFFF : color & 0xFFFFFF;
  textKey_.assign(reinterpret_cast<const char*>(&address), sizeof address);
  textKey_.append(reinterpret_cast<const char*>(&drawn), sizeof drawn);
  textKey_.append(text);
  auto found = texts_.find(textKey_);
  if (found == texts_.end()) {
    auto old = previousTexts_.find(textKey_);
    if (old == previousTexts_.end()) {
      // First sight: lay the text out and keep the layout; it is drawn from it.
      if (texts_.size() >= kMaxTexts) return nullptr;
      CachedText fresh;
      fresh.size = MeasureText(text);
      fresh.layout.reset(NewLayout(font, text));
      return &texts_.emplace(textKey_, std::move(fresh)).first->second;
    }
    found = texts_.insert(previousTexts_.extract(old)).position;
  }
  // Drawn again: from now on it is blitted. Underlines and strike-outs are drawn over the
  // glyphs, which a pre-rendered picture would blend differently, so those stay laid out.
  CachedText& entry = found->second;
  if (entry.layout && !(font.style & (FontStyle::Underline | FontStyle::StrikeOut))) {
    PangoRectangle ink;
    pango_layout_get_pixel_extents(entry.layout.get(), &ink, nullptr);
    const int64_t pixels = int64_t{std::max(ink.width, 0) + 4} * (std::max(ink.height, 0) + 4);
    if (pixels <= kMaxTextPixels &&
        cacheBytes_ + 4 * static_cast<size_t>(pixels) <= kMaxCacheBytes) {
      Picture picture = RenderText(entry.layout.get(), color);
      if (!picture.surface || cairo_surface_status(picture.surface) == CAIRO_STATUS_SUCCESS) {
        entry.picture = std::move(picture);
        cacheBytes_ += entry.picture.Bytes();
        entry.layout.reset();
      }
    }
  }
  return &entry;
}

int CairoPainter::Text(int x, int y, std::string_view text, PColor front, PColor back) {
  if (!cr_ || text.empty()) return 0;
  FontData& font = fonts_.Data(font_);
  CachedText* cached = caching_ ? FindText(font, front, text) : nullptr;
  TextSize size = cached ? cached->size : MeasureText(text);
  x += ox_;
  y += oy_;
  if (mode_ == DrawMode::Default && back >= 0 && FillsDirect()) {
    FillDirect(x, y, size.width, size.height, back);
  } else if (mode_ == DrawMode::Default && back >= 0) {
    cairo_t* cr = Cairo();
    cairo_new_path(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    SetColor(cr, back);
    cairo_rectangle(cr, x, y, size.width, size.height);
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  }
  if (cached && !cached->layout) {
    if (cached->picture.surface) Blit(cached->picture, x, y);
    return size.width;
  }
  PangoLayout* layout = cached ? cached->layout.get() : nullptr;
  if (!layout) {
    PrepareLayout(font, text);
    layout = layout_;
  }
  cairo_t* cr = Cairo();
  cairo_new_path(cr);
  SetColor(cr, front);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  cairo_new_path(cr);
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
  if (!scaled && target_ && caching_ &&
      cairo_image_surface_get_format(data->surface) == CAIRO_FORMAT_ARGB32) {
    int cx = x, cy = y, cw = dw, ch = dh;
    if (!Cut(cx, cy, cw, ch)) return;
    cairo_surface_flush(data->surface);
    pixman_image_t* source = pixman_image_create_bits(
        PIXMAN_a8r8g8b8, data->width, data->height,
        reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(data->surface)),
        cairo_image_surface_get_stride(data->surface));
    // Partial opacity is a solid alpha mask, as cairo's paint_with_alpha makes it.
    pixman_image_t* mask = nullptr;
    if (opacity < 255) {
      const uint16_t alpha = static_cast<uint16_t>(opacity * 0x101);
      const pixman_color_t color{0, 0, 0, alpha};
      mask = pixman_image_create_solid_fill(&color);
    }
    pixman_image_composite32(PIXMAN_OP_OVER, source, mask, target_, cx - x, cy - y, 0, 0, cx, cy,
                             cw, ch);
    if (mask) pixman_image_unref(mask);
    pixman_image_unref(source);
    return;
  }
  cairo_t* cr = Cairo();
  cairo_new_path(cr);
  if (!scaled && opacity >= 255) {
    // The common case needs no saved state: a rectangle filled from the image.
    cairo_set_source_surface(cr, data->surface, x, y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, x, y, dw, dh);
    cairo_fill(cr);
    return;
  }
  cairo_save(cr);
  cairo_rectangle(cr, x, y, dw, dh);
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  if (scaled)
    cairo_scale(cr, static_cast<double>(dw) / data->width, static_cast<double>(dh) / data->height);
  cairo_set_source_surface(cr, data->surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), scaled ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
  if (opacity >= 255)
    cairo_paint(cr);
  else
    cairo_paint_with_alpha(cr, opacity / 255.0);
  cairo_restore(cr);
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
  width_ = std::clamp(width, 1, kMaxImageSide);
  height_ = std::clamp(height, 1, kMaxImageSide);
}

void CairoCanvas::Realize() const {
  const int width = width_, height = height_;
  if (surface_ && cairo_image_surface_get_width(surface_) == width &&
      cairo_image_surface_get_height(surface_) == height)
    return;
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
}

const uint8_t* CairoCanvas::Data() const {
  Realize();
  cairo_surface_flush(surface_);
  return cairo_image_surface_get_data(surface_);
}

int CairoCanvas::Stride() const {
  Realize();
  return cairo_image_surface_get_stride(surface_);
}

uint32_t CairoCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const uint8_t* row = Data() + static_cast<size_t>(y) * Stride();
  return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

}  // namespace tk::platform
