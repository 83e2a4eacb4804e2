// A painter that records every call instead of drawing, with a fixed text metric, so tests
// can check what was drawn where without comparing pixels.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/painter.h"
#include "platform/platform.h"

namespace tk::testing {

enum class PaintOp {
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
  DrawImage,
};

inline const char* PaintOpName(PaintOp op) {
  switch (op) {
    case PaintOp::SetMode:
      return "SetMode";
    case PaintOp::SetGradientColors:
      return "SetGradientColors";
    case PaintOp::SetOrigin:
      return "SetOrigin";
    case PaintOp::Clip:
      return "Clip";
    case PaintOp::Unclip:
      return "Unclip";
    case PaintOp::Box:
      return "Box";
    case PaintOp::RoundBox:
      return "RoundBox";
    case PaintOp::Circle:
      return "Circle";
    case PaintOp::Line:
      return "Line";
    case PaintOp::Plot:
      return "Plot";
    case PaintOp::SetFont:
      return "SetFont";
    case PaintOp::Text:
      return "Text";
    case PaintOp::DrawImage:
      return "DrawImage";
  }
  return "?";
}

// One recorded call. Fields a call does not use keep their defaults:
//   SetMode: newMode; SetGradientColors: color (front), back; SetOrigin: x, y;
//   Clip: x, y, w, h; Box: x, y, w, h, color; RoundBox: x, y, w, h, rx, ry, color;
//   Circle: x, y (centre), w (radius), color; Line: x, y, w, h, color; Plot: x, y, color;
//   SetFont: font; Text: x, y, text, color (front), back;
//   DrawImage: image, x, y, w, h, opacity.
// `mode`, `font` and the origin are the painter's state when the call was made.
struct PaintCall {
  PaintOp op = PaintOp::Box;
  int x = 0, y = 0, w = 0, h = 0;
  int rx = 0, ry = 0;
  platform::PColor color = 0;
  platform::PColor back = -1;
  std::string text;
  int image = -1;
  int opacity = 255;
  int font = 0;
  platform::DrawMode newMode = platform::DrawMode::Default;
  platform::DrawMode mode = platform::DrawMode::Default;
  int originX = 0, originY = 0;
};

inline std::ostream& operator<<(std::ostream& os, const PaintCall& c) {
  os << PaintOpName(c.op) << "(" << c.x << "," << c.y << "," << c.w << "," << c.h;
  if (c.op == PaintOp::Text) os << ",\"" << c.text << "\"";
  if (c.op == PaintOp::DrawImage) os << ",image " << c.image << ",opacity " << c.opacity;
  os << ",color 0x" << std::hex << c.color << ",back " << std::dec << c.back << ",mode "
     << static_cast<int>(c.mode) << ")";
  return os;
}

class RecordingPainter : public platform::Painter {
 public:
  explicit RecordingPainter(int outputWidth = 800, int outputHeight = 600, int charWidth = 7,
                            int lineHeight = 13)
      : outputWidth_(outputWidth),
        outputHeight_(outputHeight),
        charWidth_(charWidth),
        lineHeight_(lineHeight) {}

  // Every call in order.
  std::vector<PaintCall> calls;

  void Clear() { calls.clear(); }
  // The recorded calls of one kind, in order.
  std::vector<PaintCall> Of(PaintOp op) const {
    std::vector<PaintCall> out;
    for (const PaintCall& c : calls)
      if (c.op == op) out.push_back(c);
    return out;
  }
  std::vector<PaintCall> Texts() const { return Of(PaintOp::Text); }
  int Count(PaintOp op) const {
    int n = 0;
    for (const PaintCall& c : calls)
      if (c.op == op) ++n;
    return n;
  }

  // Text metric: charWidth per code point (UTF-8 continuation bytes do not count).
  static int CodePoints(std::string_view text) {
    int n = 0;
    for (unsigned char c : text)
      if ((c & 0xC0) != 0x80) ++n;
    return n;
  }
  int CharWidth() const { return charWidth_; }
  int LineHeight() const { return lineHeight_; }
  void SetOutputSize(int width, int height) {
    outputWidth_ = width;
    outputHeight_ = height;
  }
  int OriginX() const { return originX_; }
  int OriginY() const { return originY_; }
  bool Clipped() const { return clipped_; }
  platform::Rect ClipRect() const { return clip_; }

  int OutputWidth() const override { return outputWidth_; }
  int OutputHeight() const override { return outputHeight_; }

  void SetMode(platform::DrawMode mode) override {
    PaintCall c = Make(PaintOp::SetMode);
    c.newMode = mode;
    calls.push_back(c);
    mode_ = mode;
  }
  platform::DrawMode Mode() const override { return mode_; }
  void SetGradientColors(platform::PColor back, platform::PColor front) override {
    PaintCall c = Make(PaintOp::SetGradientColors);
    c.color = front;
    c.back = back;
    calls.push_back(c);
  }
  void SetOrigin(int x, int y) override {
    PaintCall c = Make(PaintOp::SetOrigin);
    c.x = x;
    c.y = y;
    calls.push_back(c);
    originX_ = x;
    originY_ = y;
  }
  void Clip(int x, int y, int w, int h) override {
    calls.push_back(Shape(PaintOp::Clip, x, y, w, h, 0));
    clipped_ = true;
    clip_ = {x, y, w, h};
  }
  void Unclip() override {
    calls.push_back(Make(PaintOp::Unclip));
    clipped_ = false;
  }

  void Box(int x, int y, int w, int h, platform::PColor color) override {
    calls.push_back(Shape(PaintOp::Box, x, y, w, h, color));
  }
  void RoundBox(int x, int y, int w, int h, int rx, int ry, platform::PColor color) override {
    PaintCall c = Shape(PaintOp::RoundBox, x, y, w, h, color);
    c.rx = rx;
    c.ry = ry;
    calls.push_back(c);
  }
  void Circle(int cx, int cy, int radius, platform::PColor color) override {
    calls.push_back(Shape(PaintOp::Circle, cx, cy, radius, 0, color));
  }
  void Line(int x, int y, int w, int h, platform::PColor color) override {
    calls.push_back(Shape(PaintOp::Line, x, y, w, h, color));
  }
  void Plot(int x, int y, platform::PColor color) override {
    calls.push_back(Shape(PaintOp::Plot, x, y, 0, 0, color));
  }

  void SetFont(int font) override {
    font_ = font;
    calls.push_back(Make(PaintOp::SetFont));
  }
  int Font() const override { return font_; }
  int Text(int x, int y, std::string_view text, platform::PColor front,
           platform::PColor back) override {
    PaintCall c = Shape(PaintOp::Text, x, y, 0, 0, front);
    c.text = std::string(text);
    c.back = back;
    calls.push_back(c);
    return CodePoints(text) * charWidth_;
  }
  platform::TextSize MeasureText(std::string_view text) override {
    return {CodePoints(text) * charWidth_, lineHeight_};
  }

  void DrawImage(int image, int x, int y, int w, int h, int opacity) override {
    PaintCall c = Shape(PaintOp::DrawImage, x, y, w, h, 0);
    c.image = image;
    c.opacity = opacity;
    calls.push_back(c);
  }

 private:
  PaintCall Make(PaintOp op) const {
    PaintCall c;
    c.op = op;
    c.mode = mode_;
    c.font = font_;
    c.originX = originX_;
    c.originY = originY_;
    return c;
  }
  PaintCall Shape(PaintOp op, int x, int y, int w, int h, platform::PColor color) const {
    PaintCall c = Make(op);
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    c.color = color;
    return c;
  }

  int outputWidth_, outputHeight_, charWidth_, lineHeight_;
  platform::DrawMode mode_ = platform::DrawMode::Default;
  int font_ = 0;
  int originX_ = 0, originY_ = 0;
  bool clipped_ = false;
  platform::Rect clip_{};
};

}  // namespace tk::testing
