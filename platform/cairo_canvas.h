// The cairo drawing layer shared by both backends: an opaque canvas image and the painter
// that draws on canvases and images with cairo and pango.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <glib-object.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/fonts.h"
#include "platform/images.h"
#include "platform/painter.h"

namespace tk::platform {

struct FontData;

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

  void DrawImage(int image, int x, int y, int w, int h, int opacity) override;

 private:
  void SetColor(PColor color);
  void FillShape(int x, int y, int w, int h);  // fills the current path by mode
  // Puts `text` in the current font into the layout; returns false when it cannot.
  void PrepareLayout(FontData& font, std::string_view text);
  int LineHeight(FontData& font);
  // A laid-out copy of `text` kept across frames, or nullptr when the cache is full.
  PangoLayout* DrawnLayout(FontData& font, std::string_view text);

  struct Unref {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
  };
  using LayoutPtr = std::unique_ptr<PangoLayout, Unref>;
  static constexpr size_t kMaxLayouts = 2048;

  FontStore& fonts_;
  ImageStore& images_;
  cairo_t* cr_ = nullptr;
  PangoContext* context_ = nullptr;
  PangoLayout* layout_ = nullptr;
  const FontData* layoutFont_ = nullptr;  // font last put into the layout
  // Shaping text is the dearest part of a repaint, so the layouts drawn in one frame are kept
  // for the next; Reset starts a new frame.
  std::unordered_map<std::string, LayoutPtr> layouts_, previousLayouts_;
  std::string layoutKey_;
  int width_ = 0, height_ = 0;
  int ox_ = 0, oy_ = 0;
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
  // corner; new area is filled with the window background grey.
  void Resize(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  cairo_surface_t* Surface() const { return surface_; }
  // Raw pixels: rows of 32-bit 0x00RRGGBB words, Stride() bytes apart.
  const uint8_t* Data() const;
  int Stride() const;
  // 0xRRGGBB, or 0 outside the canvas.
  uint32_t Pixel(int x, int y) const;

  CairoPainter& Painter() { return painter_; }
  CairoPainter& Measurer() { return measurer_; }

 private:
  cairo_surface_t* surface_ = nullptr;
  cairo_surface_t* measureSurface_ = nullptr;
  int width_ = 0, height_ = 0;
  CairoPainter painter_;
  CairoPainter measurer_;
};

}  // namespace tk::platform
