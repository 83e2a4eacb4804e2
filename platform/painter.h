// The narrow drawing interface every element draws through. Colours are 0xBBGGRR; an alpha
// byte above them (0xAABBGGRR) is honoured by strokes and fills in DrawMode::AlphaBlend.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tk::platform {

using PColor = int64_t;

enum class DrawMode {
  Default,      // opaque fills, text drawn on its back colour
  Transparent,  // text without background
  Outlined,     // boxes and circles as 1-pixel outlines
  Gradient,     // boxes filled with a vertical gradient from back to front colour
  AlphaBlend,   // colours with an alpha byte blend with what lies under them
};

// Length of the character starting at s[i]: a UTF-8 sequence, or a malformed byte alone, so
// every byte belongs to exactly one character.
size_t Utf8SequenceLength(std::string_view s, size_t i);

struct TextSize {
  int width = 0;
  int height = 0;
};

class Painter {
 public:
  virtual ~Painter() = default;

  virtual int OutputWidth() const = 0;
  virtual int OutputHeight() const = 0;

  virtual void SetMode(DrawMode mode) = 0;
  virtual DrawMode Mode() const = 0;
  // Colours used by the gradient mode (back at the top, front at the bottom).
  virtual void SetGradientColors(PColor back, PColor front) = 0;
  // Translates every later coordinate; (0, 0) is the output's top-left corner.
  virtual void SetOrigin(int x, int y) = 0;
  // Clip rectangles are given in output coordinates, not moved by the origin.
  virtual void Clip(int x, int y, int w, int h) = 0;
  virtual void Unclip() = 0;

  // Box, rounded box and circle fill or outline according to the mode.
  virtual void Box(int x, int y, int w, int h, PColor color) = 0;
  virtual void RoundBox(int x, int y, int w, int h, int rx, int ry, PColor color) = 0;
  virtual void Circle(int cx, int cy, int radius, PColor color) = 0;
  // A 1-pixel line from (x, y) covering w x h pixels (w or h of 1 makes it straight).
  virtual void Line(int x, int y, int w, int h, PColor color) = 0;
  virtual void Plot(int x, int y, PColor color) = 0;

  // Text in the current font with its top-left corner at (x, y). The back colour is painted
  // only in DrawMode::Default and only when it is not negative (-1 = unset). Returns the width
  // of the text.
  virtual void SetFont(int font) = 0;
  virtual int Font() const = 0;
  virtual int Text(int x, int y, std::string_view text, PColor front, PColor back) = 0;
  virtual TextSize MeasureText(std::string_view text) = 0;
  int TextWidth(std::string_view text) { return MeasureText(text).width; }
  // Caret stops of a one-line text in the current font: entry p is the x before character p
  // (a UTF-8 sequence, or a malformed byte on its own), the last entry the width of the whole
  // text. This fallback measures every prefix; a backend answers from one layout of the text.
  virtual void CaretStops(std::string_view text, std::vector<int>& stops);
  int TextHeight(std::string_view text) { return MeasureText(text).height; }

  // Draws a stored image at (x, y) scaled to w x h (0 keeps its size), with opacity 0..255.
  virtual void DrawImage(int image, int x, int y, int w, int h, int opacity) = 0;
};

}  // namespace tk::platform
