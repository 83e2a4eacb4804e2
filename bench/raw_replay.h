// The benchmarks' baseline: the painter calls of one toolkit frame are recorded, and the same
// picture is then drawn straight with cairo and pango, everything reusable prepared once.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/painter.h"
#include "platform/platform.h"

namespace bench {

using tk::platform::DrawMode;
using tk::platform::PColor;

// One painter call with its arguments.
struct PaintCall {
  enum Kind {
    SetMode,
    SetGradientColors,
    SetOrigin,
    Clip,
    Unclip,
    Box,
    RoundBox,
    Circle,
    Line,
    Plot,
    SetFont,
    Text,
    DrawImage
  };
  explicit PaintCall(Kind kind, int a = 0, int b = 0, int c = 0, int d = 0, int e = 0, int f = 0)
      : kind(kind), a(a), b(b), c(c), d(d), e(e), f(f) {}
  Kind kind;
  int a, b, c, d, e, f;
  PColor color = 0, color2 = 0;
  std::string text;
};

// Records every drawing call; text is measured by the platform's measurer, so the recorded
// layout is the one the real painter produces.
class RecordingPainter : public tk::platform::Painter {
 public:
  RecordingPainter(tk::platform::Platform& platform, int width, int height)
      : measurer_(platform.Measurer()), width_(width), height_(height) {}

  std::vector<PaintCall> calls;

  int OutputWidth() const override { return width_; }
  int OutputHeight() const override { return height_; }
  void SetMode(DrawMode mode) override;
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
  void SetFont(int font) override;
  int Font() const override { return font_; }
  int Text(int x, int y, std::string_view text, PColor front, PColor back) override;
  tk::platform::TextSize MeasureText(std::string_view text) override;
  void DrawImage(int image, int x, int y, int w, int h, int opacity) override;

 private:
  tk::platform::Painter& measurer_;
  int width_, height_;
  DrawMode mode_ = DrawMode::Default;
  int font_ = 0;
};

// Replays recorded calls on any painter (the toolkit's own, to time it without the pipeline).
void ReplayCalls(const std::vector<PaintCall>& calls, tk::platform::Painter& painter);

// The recorded picture as direct cairo and pango drawing: layouts are built once per font and
// text, rounded, gradient and round shapes pre-rendered once and blitted, plain rectangles
// and lines filled directly, on an RGB24 surface of the canvas size.
class RawPicture {
 public:
  // With textPictures, texts too are pre-rendered (in their colour) and blitted.
  RawPicture(tk::platform::Platform& platform, const std::vector<PaintCall>& calls, int width,
             int height, bool textPictures = false);
  ~RawPicture();
  RawPicture(const RawPicture&) = delete;
  RawPicture& operator=(const RawPicture&) = delete;

  void Draw();  // one frame
  cairo_surface_t* Surface() const { return surface_; }
  size_t OpCount() const { return ops_.size(); }

 private:
  enum class OpKind { Fill, Rects, Picture, Text, Image, Clip, Unclip };
  struct Op {
    explicit Op(OpKind kind, int x = 0, int y = 0, int w = 0, int h = 0)
        : kind(kind), x(x), y(y), w(w), h(h) {}
    OpKind kind;
    int x, y, w, h;
    double r = 0, g = 0, b = 0, a = 1;
    bool alpha = false;
    int resource = -1;  // picture, layout, image or rectangle list
    int opacity = 255;
  };
  static void SetColor(Op& op, PColor color);
  int PictureFor(const PaintCall& call, DrawMode mode, PColor back, PColor front, int& dx, int& dy);
  int LayoutFor(int font, const std::string& text);
  int TextPictureFor(int layout, const Op& op, int& dx, int& dy);
  int ImageFor(int image);
  void Build(const std::vector<PaintCall>& calls);

  tk::platform::Platform& platform_;
  bool textPictures_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  PangoContext* context_ = nullptr;
  std::vector<Op> ops_;
  std::vector<cairo_surface_t*> pictures_;
  std::unordered_map<std::string, int> pictureIndex_;
  std::vector<PangoLayout*> layouts_;
  std::unordered_map<std::string, int> layoutIndex_;
  std::vector<cairo_surface_t*> images_;
  std::unordered_map<int, int> imageIndex_;
  std::vector<std::vector<cairo_rectangle_t>> rects_;
};

}  // namespace bench
