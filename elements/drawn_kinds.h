// Drawing helpers shared by the gadget kinds that are drawn as a picture of their control
// (date, calendar, progress bar, trees, explorer views, web view, editor, MDI area): where the
// picture goes, text cut to its room, and the folder and page icons of the explorer kinds.
#pragma once

#include <string>
#include <string_view>

#include "core/element.h"
#include "platform/painter.h"

namespace tk {

struct DrawArea {
  int x = 0, y = 0, w = 0, h = 0;
};

// The element's inner rectangle in canvas pixels.
DrawArea InnerArea(const Element& e);

// Clips the output to (x, y, w, h) inside the visible part of the element's inner rectangle,
// so a picture never runs over the frame; RestoreClip goes back to that whole part.
void ClipInside(platform::Painter& p, const Element& e, int x, int y, int w, int h);
void RestoreClip(platform::Painter& p, const Element& e);

// Holds the picture's clip while a kind paints, and gives the element its own clip back at the
// end, for the generic text and image painted after it.
class PictureClip {
 public:
  PictureClip(platform::Painter& p, const Element& e);
  ~PictureClip();
  PictureClip(const PictureClip&) = delete;
  PictureClip& operator=(const PictureClip&) = delete;

 private:
  platform::Painter& p_;
  const Element& e_;
};

// The text as it fits into `room` pixels: whole, or cut with "..." appended, or empty.
std::string FitToRoom(platform::Painter& p, std::string_view text, int room);

// One line of text, vertically centred in (x, y, w, h) and cut to fit its width. Returns the
// x just past the text drawn.
int CentredLine(platform::Painter& p, const Element& e, int x, int y, int w, int h,
                std::string_view text, Color color);

// 16 x 13 folder and 12 x 14 page icons with their top-left corner at (x, y).
inline constexpr int kIconWidth = 16;
void DrawFolder(platform::Painter& p, int x, int y);
void DrawPage(platform::Painter& p, int x, int y);

}  // namespace tk
