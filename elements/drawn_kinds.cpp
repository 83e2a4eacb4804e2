#include "elements/drawn_kinds.h"

#include <algorithm>
#include <vector>

#include "render/looks.h"

namespace tk {

using platform::DrawMode;
using platform::Painter;

DrawArea InnerArea(const Element& e) {
  return {e.Inner.x0, e.Inner.y0, e.Inner.w0, e.Inner.h0};
}

void ClipInside(Painter& p, const Element& e, int x, int y, int w, int h) {
  const CoordBlock& v = e.Clip;
  const CoordBlock& in = e.Inner;
  const int left = std::max({x, v.x0, in.x0}), top = std::max({y, v.y0, in.y0});
  const int right = std::min({x + w, v.x0 + v.w0, in.x0 + in.w0});
  const int bottom = std::min({y + h, v.y0 + v.h0, in.y0 + in.h0});
  p.Clip(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

void RestoreClip(Painter& p, const Element& e) {
  ClipInside(p, e, e.Inner.x0, e.Inner.y0, e.Inner.w0, e.Inner.h0);
}

PictureClip::PictureClip(Painter& p, const Element& e) : p_(p), e_(e) {
  RestoreClip(p, e);
}

PictureClip::~PictureClip() {
  p_.Clip(e_.Clip.x0, e_.Clip.y0, std::max(e_.Clip.w0, 0), std::max(e_.Clip.h0, 0));
}

std::string FitToRoom(Painter& p, std::string_view text, int room) {
  if (p.TextWidth(text) <= room) return std::string(text);
  constexpr std::string_view kEllipsis = "...";
  if (p.TextWidth(kEllipsis) > room) return {};
  // Cut on character boundaries, from the longest prefix down.
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); i += platform::Utf8SequenceLength(text, i))
    starts.push_back(i);
  for (size_t n = starts.size(); n-- > 0;) {
    std::string candidate(text.substr(0, starts[n]));
    candidate += kEllipsis;
    if (p.TextWidth(candidate) <= room) return candidate;
  }
  return std::string(kEllipsis);
}

int CentredLine(Painter& p, const Element& e, int x, int y, int w, int h, std::string_view text,
                Color color) {
  if (w <= 0 || h <= 0 || text.empty()) return x;
  const std::string shown = FitToRoom(p, text, w);
  if (shown.empty()) return x;
  const platform::TextSize size = p.MeasureText(shown);
  ClipInside(p, e, x, y, w, h);
  p.SetMode(DrawMode::Transparent);
  p.Text(x, y + (h - size.height) / 2, shown, color, kNoColor);
  RestoreClip(p, e);
  return x + size.width;
}

void DrawFolder(Painter& p, int x, int y) {
  p.SetMode(DrawMode::Default);
  p.Box(x + 1, y + 1, 6, 3, looks::kFolderEdge);  // the tab
  p.Box(x, y + 3, kIconWidth, 10, looks::kFolderEdge);
  p.Box(x + 1, y + 4, kIconWidth - 2, 8, looks::kFolderFill);
  p.Line(x + 1, y + 5, kIconWidth - 2, 1, looks::kWhite);
}

void DrawPage(Painter& p, int x, int y) {
  p.SetMode(DrawMode::Default);
  p.Box(x + 2, y, 12, 14, looks::kFrameDark);
  p.Box(x + 3, y + 1, 10, 12, looks::kWhite);
  for (int row = 4; row <= 10; row += 3)
    p.Line(x + 5, y + row, 6, 1, looks::kFrameShadow);
}

}  // namespace tk
