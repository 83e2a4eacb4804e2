// Recording of painter calls, their replay, and the baseline that draws the recorded picture
// with cairo and pango directly.
#include "bench/raw_replay.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/cairo_canvas.h"
#include "platform/fonts.h"
#include "platform/images.h"

namespace bench {

namespace {

using tk::platform::Normalize;
using tk::platform::RoundedPath;

double Red(PColor c) {
  return static_cast<double>(c & 0xFF) / 255.0;
}
double Green(PColor c) {
  return static_cast<double>((c >> 8) & 0xFF) / 255.0;
}
double Blue(PColor c) {
  return static_cast<double>((c >> 16) & 0xFF) / 255.0;
}
double Alpha(PColor c) {
  return static_cast<double>((c >> 24) & 0xFF) / 255.0;
}

void Fill(cairo_t* cr, DrawMode mode, PColor back, PColor front, int y, int h) {
  if (mode == DrawMode::Gradient) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(gradient, 0, Red(back), Green(back), Blue(back));
    cairo_pattern_add_color_stop_rgb(gradient, 1, Red(front), Green(front), Blue(front));
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
  } else {
    cairo_fill(cr);
  }
}

void SetSource(cairo_t* cr, DrawMode mode, PColor color) {
  if (mode == DrawMode::AlphaBlend)
    cairo_set_source_rgba(cr, Red(color), Green(color), Blue(color), Alpha(color));
  else
    cairo_set_source_rgb(cr, Red(color), Green(color), Blue(color));
}

// The pixels a straight or diagonal 1-pixel line covers.
std::vector<cairo_rectangle_t> LineRects(int x, int y, int w, int h) {
  std::vector<cairo_rectangle_t> rects;
  int x2 = x + (w > 0 ? w - 1 : w < 0 ? w + 1 : 0);
  int y2 = y + (h > 0 ? h - 1 : h < 0 ? h + 1 : 0);
  if (x == x2 || y == y2) {
    rects.push_back({static_cast<double>(std::min(x, x2)), static_cast<double>(std::min(y, y2)),
                     static_cast<double>(std::abs(x2 - x) + 1),
                     static_cast<double>(std::abs(y2 - y) + 1)});
    return rects;
  }
  int dx = std::abs(x2 - x), sx = x < x2 ? 1 : -1;
  int dy = -std::abs(y2 - y), sy = y < y2 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    rects.push_back({static_cast<double>(x), static_cast<double>(y), 1, 1});
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
  return rects;
}

}  // namespace

// ---- Recording ------------------------------------------------------------------------------

void RecordingPainter::SetMode(DrawMode mode) {
  mode_ = mode;
  calls.push_back(PaintCall(PaintCall::SetMode, static_cast<int>(mode)));
}

void RecordingPainter::SetGradientColors(PColor back, PColor front) {
  PaintCall call(PaintCall::SetGradientColors);
  call.color = back;
  call.color2 = front;
  calls.push_back(call);
}

void RecordingPainter::SetOrigin(int x, int y) {
  calls.push_back(PaintCall(PaintCall::SetOrigin, x, y));
}

void RecordingPainter::Clip(int x, int y, int w, int h) {
  calls.push_back(PaintCall(PaintCall::Clip, x, y, w, h));
}

void RecordingPainter::Unclip() {
  calls.push_back(PaintCall(PaintCall::Unclip));
}

void RecordingPainter::Box(int x, int y, int w, int h, PColor color) {
  PaintCall call(PaintCall::Box, x, y, w, h);
  call.color = color;
  calls.push_back(call);
}

void RecordingPainter::RoundBox(int x, int y, int w, int h, int rx, int ry, PColor color) {
  PaintCall call(PaintCall::RoundBox, x, y, w, h, rx, ry);
  call.color = color;
  calls.push_back(call);
}

void RecordingPainter::Circle(int cx, int cy, int radius, PColor color) {
  PaintCall call(PaintCall::Circle, cx, cy, radius);
  call.color = color;
  calls.push_back(call);
}

void RecordingPainter::Line(int x, int y, int w, int h, PColor color) {
  PaintCall call(PaintCall::Line, x, y, w, h);
  call.color = color;
  calls.push_back(call);
}

void RecordingPainter::Plot(int x, int y, PColor color) {
  PaintCall call(PaintCall::Plot, x, y);
  call.color = color;
  calls.push_back(call);
}

void RecordingPainter::SetFont(int font) {
  font_ = font;
  calls.push_back(PaintCall(PaintCall::SetFont, font));
}

int RecordingPainter::Text(int x, int y, std::string_view text, PColor front, PColor back) {
  PaintCall call(PaintCall::Text, x, y);
  call.color = front;
  call.color2 = back;
  call.text = std::string(text);
  calls.push_back(call);
  return MeasureText(text).width;
}

tk::platform::TextSize RecordingPainter::MeasureText(std::string_view text) {
  measurer_.SetFont(font_);
  return measurer_.MeasureText(text);
}

void RecordingPainter::DrawImage(int image, int x, int y, int w, int h, int opacity) {
  calls.push_back(PaintCall(PaintCall::DrawImage, image, x, y, w, h, opacity));
}

void ReplayCalls(const std::vector<PaintCall>& calls, tk::platform::Painter& p) {
  for (const PaintCall& c : calls) {
    switch (c.kind) {
      case PaintCall::SetMode:
        p.SetMode(static_cast<DrawMode>(c.a));
        break;
      case PaintCall::SetGradientColors:
        p.SetGradientColors(c.color, c.color2);
        break;
      case PaintCall::SetOrigin:
        p.SetOrigin(c.a, c.b);
        break;
      case PaintCall::Clip:
        p.Clip(c.a, c.b, c.c, c.d);
        break;
      case PaintCall::Unclip:
        p.Unclip();
        break;
      case PaintCall::Box:
        p.Box(c.a, c.b, c.c, c.d, c.color);
        break;
      case PaintCall::RoundBox:
        p.RoundBox(c.a, c.b, c.c, c.d, c.e, c.f, c.color);
        break;
      case PaintCall::Circle:
        p.Circle(c.a, c.b, c.c, c.color);
        break;
      case PaintCall::Line:
        p.Line(c.a, c.b, c.c, c.d, c.color);
        break;
      case PaintCall::Plot:
        p.Plot(c.a, c.b, c.color);
        break;
      case PaintCall::SetFont:
        p.SetFont(c.a);
        break;
      case PaintCall::Text:
        p.Text(c.a, c.b, c.text, c.color, c.color2);
        break;
      case PaintCall::DrawImage:
        p.DrawImage(c.a, c.b, c.c, c.d, c.e, c.f);
        break;
    }
  }
}

// ---- Direct drawing -------------------------------------------------------------------------

RawPicture::RawPicture(tk::platform::Platform& platform, const std::vector<PaintCall>& calls,
                       int width, int height, bool textPictures)
    : platform_(platform), textPictures_(textPictures) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cr_ = cairo_create(surface_);
  // The toolkit's text settings: 96 dpi, greyscale antialiasing, slight hinting, hinted metrics.
  context_ = pango_font_map_create_context(pango_cairo_font_map_get_default());
  pango_cairo_context_set_resolution(context_, 96.0);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context_, options);
  cairo_font_options_destroy(options);
  Build(calls);
}

RawPicture::~RawPicture() {
  for (cairo_surface_t* s : pictures_)
    cairo_surface_destroy(s);
  for (cairo_surface_t* s : images_)
    cairo_surface_destroy(s);
  for (PangoLayout* l : layouts_)
    g_object_unref(l);
  g_object_unref(context_);
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

int RawPicture::PictureFor(const PaintCall& call, DrawMode mode, PColor back, PColor front, int& dx,
                           int& dy) {
  // x and y of the call are already normalised; the picture is drawn at its own origin.
  const bool circle = call.kind == PaintCall::Circle;
  const int radius = call.c;
  const int w = circle ? 2 * radius + 1 : call.c, h = circle ? 2 * radius + 1 : call.d;
  dx = dy = circle ? -radius : 0;
  std::string key = std::to_string(call.kind) + "/" + std::to_string(static_cast<int>(mode)) + "/" +
                    std::to_string(w) + "x" + std::to_string(h) + "/" + std::to_string(call.e) +
                    "," + std::to_string(call.f) + "/" + std::to_string(call.color) + "/" +
                    std::to_string(back) + "/" + std::to_string(front);
  auto found = pictureIndex_.find(key);
  if (found != pictureIndex_.end()) return found->second;

  const bool opaque = call.kind == PaintCall::Box && mode == DrawMode::Gradient;
  cairo_surface_t* s =
      cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  SetSource(cr, mode, call.color);
  const bool outlined = mode == DrawMode::Outlined;
  if (circle) {
    const double c = radius + 0.5;
    if (outlined) {
      cairo_arc(cr, c, c, radius + 0.5, 0, 2 * M_PI);
      cairo_new_sub_path(cr);
      cairo_arc(cr, c, c, radius - 0.5, 0, 2 * M_PI);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      cairo_fill(cr);
    } else {
      cairo_arc(cr, c, c, radius + 0.5, 0, 2 * M_PI);
      Fill(cr, mode, back, front, 0, h);
    }
  } else if (call.kind == PaintCall::Box) {
    cairo_rectangle(cr, 0, 0, w, h);
    Fill(cr, mode, back, front, 0, h);
  } else if (outlined) {
    const bool square = call.e == 0 || call.f == 0;
    RoundedPath(cr, 0, 0, w, h, square ? 0 : call.e + 0.5, square ? 0 : call.f + 0.5);
    if (w > 2 && h > 2)
      RoundedPath(cr, 1, 1, w - 2, h - 2, square ? 0 : call.e - 0.5, square ? 0 : call.f - 0.5);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
  } else {
    RoundedPath(cr, 0, 0, w, h, call.e, call.f);
    Fill(cr, mode, back, front, 0, h);
  }
  cairo_destroy(cr);
  cairo_surface_flush(s);
  pictures_.push_back(s);
  pictureIndex_.emplace(key, static_cast<int>(pictures_.size()) - 1);
  return static_cast<int>(pictures_.size()) - 1;
}

int RawPicture::LayoutFor(int font, const std::string& text) {
  std::string key = std::to_string(font) + "/" + text;
  auto found = layoutIndex_.find(key);
  if (found != layoutIndex_.end()) return found->second;
  tk::platform::FontStore& fonts = platform_.Fonts();
  const int style = fonts.Style(font);
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, fonts.Family(font).c_str());
  pango_font_description_set_size(description,
                                  static_cast<gint>(std::lround(fonts.Size(font) * PANGO_SCALE)));
  pango_font_description_set_weight(description, (style & tk::platform::FontStyle::Bold)
                                                     ? PANGO_WEIGHT_BOLD
                                                     : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description, (style & tk::platform::FontStyle::Italic)
                                                    ? PANGO_STYLE_ITALIC
                                                    : PANGO_STYLE_NORMAL);
  PangoLayout* layout = pango_layout_new(context_);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  if (style & (tk::platform::FontStyle::Underline | tk::platform::FontStyle::StrikeOut)) {
    PangoAttrList* attrs = pango_attr_list_new();
    if (style & tk::platform::FontStyle::Underline)
      pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (style & tk::platform::FontStyle::StrikeOut)
      pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
  }
  pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);  // lays it out now, not in the first frame
  layouts_.push_back(layout);
  layoutIndex_.emplace(key, static_cast<int>(layouts_.size()) - 1);
  return static_cast<int>(layouts_.size()) - 1;
}

int RawPicture::ImageFor(int image) {
  auto found = imageIndex_.find(image);
  if (found != imageIndex_.end()) return found->second;
  tk::platform::ImageStore& store = platform_.Images();
  const int w = store.Width(image), h = store.Height(image);
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  uint8_t* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride)[x] =
          store.Pixel(image, x, y);
  cairo_surface_mark_dirty(s);
  images_.push_back(s);
  imageIndex_.emplace(image, static_cast<int>(images_.size()) - 1);
  return static_cast<int>(images_.size()) - 1;
}

int RawPicture::TextPictureFor(int layout, const Op& op, int& dx, int& dy) {
  PangoRectangle ink;
  pango_layout_get_pixel_extents(layouts_[layout], &ink, nullptr);
  dx = ink.x - 2;
  dy = ink.y - 2;
  std::string key = "text/" + std::to_string(layout) + "/" + std::to_string(op.r) + "," +
                    std::to_string(op.g) + "," + std::to_string(op.b) + "," +
                    std::to_string(op.alpha ? op.a : 1.0);
  auto found = pictureIndex_.find(key);
  if (found != pictureIndex_.end()) return found->second;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(ink.width + 4, 1),
                                                  std::max(ink.height + 4, 1));
  cairo_t* cr = cairo_create(s);
  if (op.alpha)
    cairo_set_source_rgba(cr, op.r, op.g, op.b, op.a);
  else
    cairo_set_source_rgb(cr, op.r, op.g, op.b);
  cairo_move_to(cr, -dx, -dy);
  pango_cairo_show_layout(cr, layouts_[layout]);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  pictures_.push_back(s);
  pictureIndex_.emplace(key, static_cast<int>(pictures_.size()) - 1);
  return static_cast<int>(pictures_.size()) - 1;
}

void RawPicture::SetColor(Op& op, PColor color) {
  op.r = Red(color);
  op.g = Green(color);
  op.b = Blue(color);
  op.a = Alpha(color);
}

void RawPicture::Build(const std::vector<PaintCall>& calls) {
  DrawMode mode = DrawMode::Default;
  PColor back = 0xFFFFFF, front = 0;
  int ox = 0, oy = 0, font = tk::platform::FontStore::kDefaultFont;
  tk::platform::Painter& measurer = platform_.Measurer();
  auto fill = [&](int x, int y, int w, int h, PColor color) {
    Op op(OpKind::Fill, x, y, w, h);
    SetColor(op, color);
    op.alpha = mode == DrawMode::AlphaBlend;
    ops_.push_back(op);
  };
  auto rects = [&](std::vector<cairo_rectangle_t> list, PColor color) {
    Op op(OpKind::Rects);
    SetColor(op, color);
    op.alpha = mode == DrawMode::AlphaBlend;
    rects_.push_back(std::move(list));
    op.resource = static_cast<int>(rects_.size()) - 1;
    ops_.push_back(op);
  };
  auto picture = [&](PaintCall call) {
    int dx = 0, dy = 0;
    Op op(OpKind::Picture);
    op.resource = PictureFor(call, mode, back & 0xFFFFFF, front & 0xFFFFFF, dx, dy);
    op.x = call.a + dx;
    op.y = call.b + dy;
    op.w = cairo_image_surface_get_width(pictures_[op.resource]);
    op.h = cairo_image_surface_get_height(pictures_[op.resource]);
    ops_.push_back(op);
  };

  for (PaintCall c : calls) {
    switch (c.kind) {
      case PaintCall::SetMode:
        mode = static_cast<DrawMode>(c.a);
        break;
      case PaintCall::SetGradientColors:
        back = c.color;
        front = c.color2;
        break;
      case PaintCall::SetOrigin:
        ox = c.a;
        oy = c.b;
        break;
      case PaintCall::SetFont:
        font = c.a;
        break;
      case PaintCall::Clip:
        Normalize(c.a, c.b, c.c, c.d);
        ops_.push_back(Op(OpKind::Clip, c.a, c.b, c.c, c.d));
        break;
      case PaintCall::Unclip:
        ops_.push_back(Op(OpKind::Unclip));
        break;
      case PaintCall::Box:
        if (c.c == 0 || c.d == 0) break;
        c.a += ox;
        c.b += oy;
        Normalize(c.a, c.b, c.c, c.d);
        if (mode == DrawMode::Outlined) {
          std::vector<cairo_rectangle_t> edges;
          const double x = c.a, y = c.b, w = c.c, h = c.d;
          edges.push_back({x, y, w, 1});
          if (h > 1) edges.push_back({x, y + h - 1, w, 1});
          if (h > 2) {
            edges.push_back({x, y + 1, 1, h - 2});
            if (w > 1) edges.push_back({x + w - 1, y + 1, 1, h - 2});
          }
          rects(std::move(edges), c.color);
        } else if (mode == DrawMode::Gradient) {
          c.color = 0;
          picture(c);
        } else {
          fill(c.a, c.b, c.c, c.d, c.color);
        }
        break;
      case PaintCall::RoundBox:
        if (c.c == 0 || c.d == 0) break;
        c.a += ox;
        c.b += oy;
        Normalize(c.a, c.b, c.c, c.d);
        c.e = std::clamp(c.e, 0, c.c);
        c.f = std::clamp(c.f, 0, c.d);
        if (mode != DrawMode::Gradient && mode != DrawMode::Outlined && (c.e == 0 || c.f == 0)) {
          fill(c.a, c.b, c.c, c.d, c.color);
        } else {
          if (mode == DrawMode::Gradient) c.color = 0;
          picture(c);
        }
        break;
      case PaintCall::Circle:
        if (c.c < 0 || (c.c == 0 && mode == DrawMode::Outlined)) break;
        c.a += ox;
        c.b += oy;
        if (mode == DrawMode::Gradient) c.color = 0;
        picture(c);
        break;
      case PaintCall::Line:
        if (c.c == 0 && c.d == 0) break;
        rects(LineRects(c.a + ox, c.b + oy, c.c, c.d), c.color);
        break;
      case PaintCall::Plot:
        fill(c.a + ox, c.b + oy, 1, 1, c.color);
        break;
      case PaintCall::Text: {
        if (c.text.empty()) break;
        measurer.SetFont(font);
        const tk::platform::TextSize size = measurer.MeasureText(c.text);
        if (mode == DrawMode::Default && c.color2 >= 0)
          fill(c.a + ox, c.b + oy, size.width, size.height, c.color2);
        Op op(OpKind::Text, c.a + ox, c.b + oy);
        SetColor(op, c.color);
        op.alpha = mode == DrawMode::AlphaBlend;
        op.resource = LayoutFor(font, c.text);
        if (textPictures_) {
          int dx = 0, dy = 0;
          const int picture = TextPictureFor(op.resource, op, dx, dy);
          op = Op(OpKind::Picture, op.x + dx, op.y + dy,
                  cairo_image_surface_get_width(pictures_[picture]),
                  cairo_image_surface_get_height(pictures_[picture]));
          op.resource = picture;
        }
        ops_.push_back(op);
        break;
      }
      case PaintCall::DrawImage: {
        if (!platform_.Images().IsImage(c.a) || c.f <= 0) break;
        Op op(OpKind::Image, c.b + ox, c.c + oy, c.d, c.e);
        op.resource = ImageFor(c.a);
        if (op.w <= 0) op.w = platform_.Images().Width(c.a);
        if (op.h <= 0) op.h = platform_.Images().Height(c.a);
        op.opacity = c.f;
        ops_.push_back(op);
        break;
      }
    }
  }
}

void RawPicture::Draw() {
  cairo_t* cr = cr_;
  cairo_reset_clip(cr);
  for (const Op& op : ops_) {
    switch (op.kind) {
      case OpKind::Fill:
        if (op.alpha)
          cairo_set_source_rgba(cr, op.r, op.g, op.b, op.a);
        else
          cairo_set_source_rgb(cr, op.r, op.g, op.b);
        cairo_rectangle(cr, op.x, op.y, op.w, op.h);
        cairo_fill(cr);
        break;
      case OpKind::Rects:
        if (op.alpha)
          cairo_set_source_rgba(cr, op.r, op.g, op.b, op.a);
        else
          cairo_set_source_rgb(cr, op.r, op.g, op.b);
        for (const cairo_rectangle_t& r : rects_[op.resource])
          cairo_rectangle(cr, r.x, r.y, r.width, r.height);
        cairo_fill(cr);
        break;
      case OpKind::Picture:
        cairo_set_source_surface(cr, pictures_[op.resource], op.x, op.y);
        cairo_rectangle(cr, op.x, op.y, op.w, op.h);
        cairo_fill(cr);
        break;
      case OpKind::Text:
        if (op.alpha)
          cairo_set_source_rgba(cr, op.r, op.g, op.b, op.a);
        else
          cairo_set_source_rgb(cr, op.r, op.g, op.b);
        cairo_move_to(cr, op.x, op.y);
        pango_cairo_show_layout(cr, layouts_[op.resource]);
        cairo_new_path(cr);
        break;
      case OpKind::Image: {
        cairo_surface_t* image = images_[op.resource];
        const int iw = cairo_image_surface_get_width(image);
        const int ih = cairo_image_surface_get_height(image);
        if (op.opacity >= 255 && op.w == iw && op.h == ih) {
          cairo_set_source_surface(cr, image, op.x, op.y);
          cairo_rectangle(cr, op.x, op.y, op.w, op.h);
          cairo_fill(cr);
          break;
        }
        cairo_save(cr);
        cairo_rectangle(cr, op.x, op.y, op.w, op.h);
        cairo_clip(cr);
        cairo_translate(cr, op.x, op.y);
        cairo_scale(cr, static_cast<double>(op.w) / iw, static_cast<double>(op.h) / ih);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_paint_with_alpha(cr, op.opacity / 255.0);
        cairo_restore(cr);
        break;
      }
      case OpKind::Clip:
        cairo_reset_clip(cr);
        cairo_rectangle(cr, op.x, op.y, op.w, op.h);
        cairo_clip(cr);
        break;
      case OpKind::Unclip:
        cairo_reset_clip(cr);
        break;
    }
  }
  cairo_surface_flush(surface_);
}

}  // namespace bench
