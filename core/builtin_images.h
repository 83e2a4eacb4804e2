// Fixed numbers of the built-in glyphs, shared by the core (caption buttons) and the painter.
#pragma once

namespace tk {

namespace BuiltinImage {
inline constexpr int GreyGlyph = 0;
inline constexpr int MinimizeGlyph = 1;
inline constexpr int MaximizeGlyph = 2;
inline constexpr int RestoreGlyph = 3;
inline constexpr int CloseGlyph = 4;
}  // namespace BuiltinImage

// The numbers of the built-in images made at start-up (-1 until made).
struct BuiltinImages {
  int ScrollUp = -1;
  int ScrollDown = -1;
  int SmallIcon = -1;
  int GreyGlyph = -1;
  int MinimizeGlyph = -1;
  int MaximizeGlyph = -1;
  int RestoreGlyph = -1;
  int CloseGlyph = -1;
  int Blank = -1;
  // Fall-back theme icons: a blue arrow into a tray and a red cross, both 14 x 14.
  int TrayArrow = -1;
  int RedCross = -1;
};

}  // namespace tk
