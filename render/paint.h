// The drawing pipeline: the whole scene in list order, one element, one item, clipping.
#pragma once

#include <functional>
#include <string_view>

#include "core/toolkit.h"
#include "platform/painter.h"
#include "render/looks.h"

namespace tk {

// Paints the complete scene into the current drawing output (called by Repaint).
void PaintAll(Toolkit& tk, platform::Painter& painter);

// Paints one record with frame, background, glyph, text and image. `owner` is the element
// being painted; `record` is the owner itself or one of its items. dx, dy, dw, dh are added
// to the record's frame rectangle (0 for elements; kind painters pass item origins).
void PaintElement(Toolkit& tk, platform::Painter& painter, Element& owner, Element& record,
                  int dx = 0, int dy = 0, int dw = 0, int dh = 0);

// Computes the child's visible rectangle from the wanted rectangle and the parent's visible
// rectangle, stores it in the child's Clip pair 0 and clips the output to it.
void ClipToParent(Toolkit& tk, platform::Painter& painter, const Element& parent, Element& child,
                  int x, int y, int w, int h);

// Adds a painter that every repaint calls last, over the finished frame and the tooltip (a
// rubber band a handler keeps showing while the scene is repainted under it). Returns its
// handle (> 0), or 0 for an empty painter.
int AddOverlay(Toolkit& tk, std::function<void(platform::Painter&)> paint);
// Takes an overlay away; the next repaint no longer shows it. False for an unknown handle.
bool RemoveOverlay(Toolkit& tk, int handle);

// Fits the record's single-line text into `room` pixels: unchanged when it fits, else cut at
// the end with "..." appended, or empty when not even "..." fits, so it never runs into the
// image beside it. The answer is kept on the record while text, font and room stay the same.
std::string_view FitText(platform::Painter& painter, Element& r, int room);

// The box an element's own text is drawn in, in canvas pixels, for a kind without a glyph
// beside its text (as the painter lays it out at the element's current frame).
struct TextBox {
  int x = 0, y = 0, w = 0, h = 0;
};
TextBox ElementTextBox(const Toolkit& tk, const Element& e);

// What a kind's glyph painter is given: the record being painted (the owner or one of its
// items), its rectangle and look, and the text room and alignment bits, which it may narrow.
struct GlyphPass {
  Element& owner;
  Element& record;
  bool isItem;
  int x, y, w, h;
  looks::Look look;
  Color front;
  int roomX, roomW;
  uint32_t textBits;
};

enum class ArrowDirection { Up, Down, Left, Right };

// A small filled arrow, looks::kArrowSize rows deep, centred on (cx, cy).
void PaintArrow(platform::Painter& p, int cx, int cy, ArrowDirection dir, Color color);

// Paints the items of an element through its kind's painter.
void PaintItems(Toolkit& tk, platform::Painter& painter, Element& e);

// How a kind's strip of items differs from the plain one.
struct StripStyle {
  bool clipToSelf = true;         // the strip clips its items to the element's own rectangle
  bool columnScrolls = true;      // a column strip scrolls and reports its content height
  bool litWhileChecked = false;   // a checked item keeps its hot look (toggled tool buttons)
  bool openAlwaysActive = false;  // an open title is lit even while the bar is not in use
};

// The generic strip painter: places and paints the items of a menu bar, tool bar, editor or
// list-like element side by side in a row or stacked in a column.
void PaintStripItems(Toolkit& tk, platform::Painter& painter, Element& e,
                     const StripStyle& style = {});

}  // namespace tk
