// The cairo drawing layer shared by both backends: an opaque canvas image and the painter
// that draws on canvases and images with cairo and pango.
#pragma once

#include <cairo.h>
#include <pango/pango.h>
#include <pixman.h>

#include <glib-object.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/cairo_internal.h"
#include "platform/fonts.h"
#include "platform/images.h"
#include "platform/painter.h"

namespace tk::platform {

// Geometry shared with code that draws the same pictures with cairo directly: negative sizes
// extend left or up from the given corner; a rounded rectangle path with radii rx, ry.
void Normalize(int& x, int& y, int& w, int& h);
void RoundedPath(cairo_t* cr, double x, double y, double w, double h, double rx, double ry);

// Painter over one cairo surface. The origin is applied by the painter itself, so the cairo
// transform stays the identity and text lands on whole pixels.
class CairoPainter : public Painter {
 public:
  CairoPainter(FontStore& fonts, ImageStore& images);
  ~CairoPainter() override;
  CairoPainter(const CairoPainter&) = delete;
  CairoPainter& operator=(const CairoPainter&) = delete;

  // Draws on `surface` from now on; nullptr detaches (drawing calls then do nothing).
  void Attach(cairo_surface_t* surface);
  // Back to a fresh state: origin (0, 0), no clip, default mode and font.
  void Reset();

  int OutputWidth() const override { return width_; }
  int OutputHeight() const override { return height_; }

  void SetMode(DrawMode mode) override { mode_ = mode; }
  DrawMode Mode() const override { return mode_; }
  void SetGradientColors(PColor back, PColor front) override;
  void SetOrigin(int x, int y) override;
  void Clip(int x, int y, int w, int h) override;
  void Unclip() override;

  void Box(int x, int y, int w, int h, PColor color) override;
  void RoundBox(int x, int y, int w, int h, int rx, int ry, PColor color) override;
  void Circle(int cx, int cy, int radius, PColor color) override;
  void Line(int x, int y, int w, int h, PColor color) override;
  void Plot(int x, int y, PColor color) override;

  void SetFont(int font) override { font_ = font; }
  int Font() const override { return font_; }
  int Text(int x, int y, std::string_view text, PColor front, PColor back) override;
  TextSize MeasureText(std::string_view text) override;
  void CaretStops(std::string_view text, std::vector<int>& stops) override;

  void DrawImage(int image, int x, int y, int w, int h, int opacity) override;

  // Texts and rounded or gradient shapes that come back frame after frame are kept as small
  // pre-rendered images and blitted, and pixel-aligned fills and blits skip cairo's per-call
  // set-up; the picture is the same with and without. Off draws everything through cairo,
  // uncached (the reference picture), and empties the caches.
  void SetCaching(bool on);
  bool Caching() const { return caching_; }
  struct CacheUsage {
    size_t texts = 0;   // laid-out or pre-rendered texts
    size_t sizes = 0;   // measured text sizes
    size_t shapes = 0;  // pre-rendered shapes
    size_t bytes = 0;   // pixels held by the pictures of texts and shapes
  };
  CacheUsage Usage() const;

  // Bounds of the caches. Entries are kept for the frame that drew them and the next one
  // (Reset starts a frame); past a bound, drawing goes on uncached.
  static constexpr size_t kMaxTexts = 8192;  // texts, and measured sizes, per frame
  static constexpr size_t kMaxShapes = 4096;
  static constexpr size_t kMaxCacheBytes = size_t{48} << 20;
  // Larger shapes are mostly solid spans that cairo fills faster than a blit would copy.
  static constexpr int kMaxShapePixels = 32768;
  // A longer text stays laid out: its picture would cost more memory than it saves time.
  static constexpr int64_t kMaxTextPixels = 262144;

 private:
  void SetColor(cairo_t* cr, PColor color) const;
  // Fills the current path of `cr` by mode; y and h give the gradient's extent.
  void FillShape(cairo_t* cr, int y, int h) const;
  // Puts `text` in `font` into the measuring layout.
  void PrepareLayout(FontData& font, std::string_view text);
  void SetLayoutText(PangoLayout* layout, std::string_view text) const;
  PangoLayout* NewLayout(const FontData& font, std::string_view text) const;
  int LineHeight(FontData& font);
  // The size of a laid-out text; one line keeps the font's line height.
  static TextSize LayoutSize(PangoLayout* layout, int lineHeight, std::string_view text);

  // An image whose top-left corner lies at (dx, dy) from the point it is drawn for.
  struct Picture {
    Picture() = default;
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture();
    cairo_surface_t* surface = nullptr;
    cairo_pattern_t* pattern = nullptr;
    pixman_image_t* image = nullptr;  // the surface's pixels, for blits past cairo
    // A text in one opaque colour keeps only its glyph coverage (an A8 surface) and is drawn
    // as that colour through it.
    pixman_image_t* fill = nullptr;
    PColor color = 0;
    int dx = 0, dy = 0, width = 0, height = 0;
    size_t Bytes() const;
  };
  void Blit(const Picture& picture, int x, int y);
  static void Finish(Picture& picture);  // makes its pattern and pixman image

  // cr_ with the current clip applied, for drawing through cairo.
  cairo_t* Cairo();
  // Cuts a rectangle to the output and the clip; false when nothing is left.
  bool Cut(int& x, int& y, int& w, int& h) const;
  // True when pixel-aligned opaque fills may go to pixman (not in alpha blending).
  bool FillsDirect() const { return target_ && caching_ && mode_ != DrawMode::AlphaBlend; }
  void FillDirect(int x, int y, int w, int h, PColor color);

  struct Unref {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
  };
  using LayoutPtr = std::unique_ptr<PangoLayout, Unref>;
  struct CachedText {
    LayoutPtr layout;  // kept until the text is pre-rendered
    Picture picture;
    TextSize size;
  };
  // The cached text for `text` in the current font and colour; nullptr when it is not kept.
  CachedText* FindText(FontData& font, PColor color, std::string_view text);
  Picture RenderText(PangoLayout* layout, PColor color) const;
  // Replaces a text picture by its coverage when that is all it holds.
  static void KeepCoverageOnly(Picture& picture, PColor color);

  enum class Shape : int { Box, RoundBox, Circle };
  struct ShapeKey {
    Shape shape;
    int mode, w, h, rx, ry;
    PColor color, back, front;
    bool operator==(const ShapeKey&) const = default;
  };
  struct ShapeHash {
    size_t operator()(const ShapeKey& key) const;
  };
  // Draws a shape at (x, y) on `cr` in the current mode; both the direct and the cached
  // drawing go through here so they make the same pixels.
  void DrawShape(cairo_t* cr, const ShapeKey& key, int x, int y) const;
  // Blits the shape pre-rendered; false when it is not kept (the caller draws it directly).
  bool BlitShape(const ShapeKey& key, int x, int y);
  ShapeKey MakeKey(Shape shape, int w, int h, int rx, int ry, PColor color) const;
  void DropCaches();

  FontStore& fonts_;
  ImageStore& images_;
  cairo_t* cr_ = nullptr;
  // The attached surface's pixels for pixman, when it is a 32-bit image.
  cairo_surface_t* targetSurface_ = nullptr;
  pixman_image_t* target_ = nullptr;
  uint32_t* targetBits_ = nullptr;
  int targetStride_ = 0;  // in 32-bit words
  void EnsureText() const;
  mutable PangoContext* context_ = nullptr;  // made by EnsureText
  mutable PangoLayout* layout_ = nullptr;
  const FontData* layoutFont_ = nullptr;  // font last put into the layout
  // Shaping and drawing glyphs are the dearest parts of a repaint, so what one frame draws is
  // kept for the next: texts by font, colour and text (laid out when first drawn, pre-rendered
  // when drawn again), shapes by their key. Reset moves the current frame's entries to
  // previous*, dropping what the last frame did not use.
  TextMap<CachedText> texts_, previousTexts_;
  std::unordered_map<ShapeKey, Picture, ShapeHash> shapes_, previousShapes_;
  TextMap<TextSize> sizes_, previousSizes_;  // measured sizes by font and text
  std::string textKey_, sizeKey_;
  size_t cacheBytes_ = 0;
  bool caching_ = true;
  int width_ = 0, height_ = 0;
  int ox_ = 0, oy_ = 0;
  bool clipped_ = false;         // the clip rectangle below is in force
  bool cairoClipStale_ = false;  // cairo's clip lags behind it
  int clip_[4] = {0, 0, 0, 0};
  int font_ = 0;
  DrawMode mode_ = DrawMode::Default;
  PColor gradientBack_ = 0xFFFFFF, gradientFront_ = 0;
};

// An opaque RGB image the size of the host's client area, with its painter and a separate
// painter for measuring text while no drawing is in progress.
class CairoCanvas {
 public:
  CairoCanvas(int width, int height, FontStore& fonts, ImageStore& images);
  ~CairoCanvas();
  CairoCanvas(const CairoCanvas&) = delete;
  CairoCanvas& operator=(const CairoCanvas&) = delete;

  // Sizes are kept between 1 and kMaxImageSide. The old picture is kept in the top-left
  // corner; new area is filled with the window background grey. The pixels follow at their
  // next use, so a window that grows several times while it is built is allocated once.
  void Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  cairo_surface_t* Surface() const {
    Realize();
    return surface_;
  }
  // Raw pixels: rows of 32-bit 0x00RRGGBB words, Stride() bytes apart.
  const uint8_t* Data() const;
  int Stride() const;
  // 0xRRGGBB, or 0 outside the canvas.
  uint32_t Pixel(int x, int y) const;

  CairoPainter& Painter() {
    Realize();
    return painter_;
  }
  CairoPainter& Measurer() { return measurer_; }

 private:
  // Gives the surface the size last asked for.
  void Realize() const;

  mutable cairo_surface_t* surface_ = nullptr;
  cairo_surface_t* measureSurface_ = nullptr;
  int width_ = 0, height_ = 0;
  mutable CairoPainter painter_;
  CairoPainter measurer_;
};

}  // namespace tk::platform
