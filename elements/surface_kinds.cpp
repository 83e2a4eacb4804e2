// The surface-like gadget kinds: each paints its picture inside the generic frame; the generic
// painter then draws the element's text and image where the picture leaves room for them.
#include "elements/surface_kinds.h"

#include <algorithm>
#include <string>

#include "core/attributes.h"
#include "core/kind.h"
#include "elements/drawn_kinds.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {

using platform::DrawMode;
using platform::Painter;

namespace {

constexpr int kEmptyFrameInset = 3;  // the empty picture frame inside an image button
constexpr int kMarginPad = 6;        // around the widest line number
constexpr int kMarginLines = 99;     // the margin is as wide as this number
constexpr int kBarPad = 3;           // around the web view's address field
constexpr int kChildInset = 6;       // the MDI child window from the workspace's corner
constexpr int kChildWidth = 110;
constexpr int kChildHeight = 70;
constexpr int kPictureSize = 32;  // the picture sign of an empty image

// A small picture sign: a frame holding a hill and a sun.
void DrawPictureSign(Painter& p, int x, int y, Color color) {
  const int s = kPictureSize;
  p.SetMode(DrawMode::Outlined);
  p.Box(x, y, s, s * 3 / 4, color);
  p.SetMode(DrawMode::Default);
  p.Line(x + 2, y + s * 3 / 4 - 3, s / 3, -(s / 3), color);
  p.Line(x + 2 + s / 3, y + s * 3 / 4 - 3 - s / 3, s / 2, s / 3, color);
  p.Circle(x + s * 3 / 4 - 2, y + s / 5, s / 10, color);
}

// Without an image: the empty frame with a picture sign in its middle; the text stays.
void PaintImage(Toolkit& tk, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  if (HoldsImage(tk.platform.Images(), g.record)) {
    g.roomW = 0;  // the picture alone
    return;
  }
  const Element& e = g.record;
  const PictureClip clip(p, e);
  const DrawArea a = InnerArea(e);
  DrawPictureSign(p, a.x + (a.w - kPictureSize) / 2, a.y + (a.h - kPictureSize * 3 / 4) / 2,
                  looks::kFrameShadow);
}

// A button face showing its image alone; without one, an empty sunken frame with the text
// inside it.
void PaintButtonImage(Toolkit& tk, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  if (HoldsImage(tk.platform.Images(), g.record)) {
    g.roomW = 0;
    return;
  }
  const Element& e = g.record;
  const PictureClip clip(p, e);
  const DrawArea a = InnerArea(e);
  const int x = a.x + kEmptyFrameInset, y = a.y + kEmptyFrameInset;
  const int w = a.w - 2 * kEmptyFrameInset, h = a.h - 2 * kEmptyFrameInset;
  if (w <= 2 || h <= 2) return;
  p.SetMode(DrawMode::Default);
  p.Line(x, y, w, 1, looks::kFrameShadow);
  p.Line(x, y, 1, h, looks::kFrameShadow);
  p.Line(x, y + h - 1, w, 1, looks::kWhite);
  p.Line(x + w - 1, y, 1, h, looks::kWhite);
  g.roomX = x + 1;
  g.roomW = w - 2;
  g.textBits = static_cast<uint32_t>(Flag::Center | Flag::VCenter);
}

// A plain white surface marked by a faint drawing in its middle.
void PaintCanvas(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const Element& e = g.record;
  const PictureClip clip(p, e);
  const DrawArea a = InnerArea(e);
  const int r = std::max(2, std::min(a.h / 3, 8));
  const int cx = a.x + a.w - 2 * r - 4, cy = a.y + a.h / 2;
  p.SetMode(DrawMode::Outlined);
  p.Circle(cx, cy, r, looks::kFrameShadow);
  p.Box(cx - 2 * r, cy - r / 2, r + 2, r + 2, looks::kFrameShadow);
  g.roomW = std::min(g.roomW, cx - 3 * r - g.roomX);
}

// The grey workspace with one child window in its corner.
void PaintMdi(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const Element& e = g.record;
  const PictureClip clip(p, e);
  const DrawArea a = InnerArea(e);
  p.SetMode(DrawMode::Default);
  p.Box(a.x, a.y, a.w, a.h, looks::kWorkspace);
  const int th = p.TextHeight("Ag");
  const int x = a.x + kChildInset, y = a.y + kChildInset;
  const int w = std::min(kChildWidth, a.w - 2 * kChildInset);
  const int h = std::min(kChildHeight, a.h - kChildInset);
  if (w <= 2 || h <= 2) return;
  p.Box(x, y, w, h, looks::kFrameDark);
  p.Box(x + 1, y + 1, w - 2, h - 2, looks::kWhite);
  const int caption = th + 4;
  p.Box(x + 1, y + 1, w - 2, std::min(caption, h - 2), StartColor::Window);
  p.Line(x + 1, y + 1 + caption, w - 2, 1, looks::kNormal.frame);
  // The child's close cross at the right of its caption.
  const int cx = x + w - 10, cy = y + 1 + caption / 2;
  p.Line(cx - 3, cy - 3, 7, 7, looks::kGlyphColor);
  p.Line(cx - 3, cy + 3, 7, -7, looks::kGlyphColor);
  const std::string title = e.Text.empty() ? std::string("Child") : e.Text;
  CentredLine(p, e, x + 4, y + 1, w - 20, caption, title, g.front);
  g.roomW = 0;
}

// An address bar with the page's address (the text; "about:blank" without one) over a white
// page of grey text lines.
void PaintWeb(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const Element& e = g.record;
  const PictureClip clip(p, e);
  const DrawArea a = InnerArea(e);
  const int th = p.TextHeight("Ag");
  const int bar = th + 2 * kBarPad + 2;
  p.SetMode(DrawMode::Default);
  p.Box(a.x, a.y, a.w, bar, StartColor::Face);
  p.Line(a.x, a.y + bar - 1, a.w, 1, looks::kNormal.frame);
  const int fx = a.x + kBarPad, fy = a.y + kBarPad;
  const int fw = a.w - 2 * kBarPad, fh = bar - 2 * kBarPad - 1;
  if (fw > 2 && fh > 2) {
    p.Box(fx, fy, fw, fh, looks::kNormal.frame);
    p.Box(fx + 1, fy + 1, fw - 2, fh - 2, looks::kWhite);
    CentredLine(p, e, fx + 4, fy, fw - 8, fh, e.Text.empty() ? "about:blank" : e.Text, g.front);
  }
  // The page: a heading, lines of text and a link.
  p.SetMode(DrawMode::Default);
  const int left = a.x + 8, width = a.w - 16;
  int y = a.y + bar + 8;
  if (width > 0) {
    p.Box(left, y, width / 2, 6, looks::kFrameShadow);
    y += 14;
    for (int i = 0; i < 4; ++i, y += 10)
      p.Box(left, y, i == 3 ? width * 2 / 3 : width, 4, looks::kPagePlaceholder);
    p.Box(left, y, width / 3, 4, looks::kLinkColor);
  }
  g.roomW = 0;
}

// The line-number margin beside the text, numbered from the first line of the element's font.
void PaintScintilla(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const Element& e = g.record;
  const PictureClip clip(p, e);
  const DrawArea a = InnerArea(e);
  const int margin = p.TextWidth(std::to_string(kMarginLines)) + 2 * kMarginPad;
  p.SetMode(DrawMode::Default);
  p.Box(a.x, a.y, std::min(margin, a.w), a.h, looks::kMarginBack);
  p.Line(a.x + margin, a.y, 1, a.h, looks::kGridLine);
  const int lh = p.TextHeight("Ag");
  if (lh > 0) {
    // The generic text starts FrameWidth below the frame's top; the numbers keep to its lines.
    const int top = g.y + e.FrameWidth;
    for (int line = 1; top + (line - 1) * lh < a.y + a.h; ++line) {
      const std::string number = std::to_string(line);
      const int nx = a.x + margin - kMarginPad - p.TextWidth(number);
      p.SetMode(DrawMode::Transparent);
      p.Text(nx, top + (line - 1) * lh, number, looks::kMutedText, kNoColor);
    }
  }
  g.roomX = a.x + margin + 1;
  g.roomW = a.x + a.w - g.roomX;
}

}  // namespace

void RegisterSurfaceKinds(Toolkit& tk) {
  tk.Kind(ElementKind::Image).PaintGlyph = &PaintImage;
  tk.Kind(ElementKind::ButtonImage).PaintGlyph = &PaintButtonImage;
  tk.Kind(ElementKind::Canvas).PaintGlyph = &PaintCanvas;
  tk.Kind(ElementKind::MDI).PaintGlyph = &PaintMdi;
  // The kind table names no kind 30, but its code is an MDIGadget line: a line without a
  // function name would neither compile nor read back, and the gadget would be lost.
  tk.Kind(ElementKind::MDI).Name = "MDI";
  tk.Kind(ElementKind::Web).PaintGlyph = &PaintWeb;
  tk.Kind(ElementKind::Scintilla).PaintGlyph = &PaintScintilla;
}

}  // namespace tk
