// The toolkit's looks: colours and the drawing measures shared by the generic painter and the
// kinds' own painters. Each value is defined here once.
#pragma once

#include "core/types.h"

namespace tk::looks {

// The frame and the two back colours (top of a gradient, and bottom or solid fill) of a record
// whose back colour is unset, by interaction state.
struct Look {
  Color frame, top, bottom;
};
inline constexpr Look kNormal{0xACACAC, 0xF0F0F0, 0xE5E5E5};
inline constexpr Look kHot{0xEAB47E, 0xFCF4EC, 0xFCECDC};
inline constexpr Look kPressed{0xE59D55, 0xFCECDA, 0xFCE0C4};
// A caption close button turns red under the pointer.
inline constexpr Look kCloseHot{0xEAB47E, 0xB4C2FF, 0x0533FF};
inline constexpr Look kClosePressed{0xEAB47E, 0xB4C2FF, 0x193EEC};
inline constexpr Look kDisabled{0xCACACA, 0xF1F1F1, 0xF0F0F0};

// Plain colours (0xBBGGRR).
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kFocusFrame = 0xDD8C26;    // RGB (38, 140, 221): focus and hot outlines
inline constexpr Color kDefaultFront = 0x222222;  // text of a record without a front colour
inline constexpr Color kGlyphColor = 0x555555;    // arrows of combo boxes, spins, bars and menus
inline constexpr Color kOverhangRed = 0x0000FF;   // where an element sticks out of its visible part
inline constexpr Color kItemDebugOutline = 0x0303D3;
inline constexpr Color kTitleBack = 0xF0F0F0;  // hides a Frame's border behind its title
inline constexpr Color kFrameShadow = 0x9E9E9E;
inline constexpr Color kFrameDark = 0x888888;
inline constexpr Color kFrameLight = 0xE1E1E1;
// The tooltip's fill: the classic pale yellow of tool tips.
inline constexpr Color kToolTipFill = 0xE1FFFF;

// The gadget kinds drawn as pictures of their controls (date and IP fields, calendar, progress
// bar, link, trees and explorer views, web view, editor margin, MDI workspace).
inline constexpr Color kLinkColor = 0xCC6600;  // RGB (0, 102, 204)
inline constexpr Color kProgressTrack = 0xE6E6E6;
inline constexpr Color kProgressFill = 0x25B006;     // RGB (6, 176, 37)
inline constexpr Color kGridLine = 0xE6E6E6;         // calendar cells, list header lines
inline constexpr Color kMutedText = 0x9A9A9A;        // other months' days, line numbers
inline constexpr Color kSelectedFill = 0xFCE0C4;     // today's day, a chosen row
inline constexpr Color kTreeLine = 0xA0A0A0;         // expander boxes and connecting lines
inline constexpr Color kFolderFill = 0x5CD3FF;       // RGB (255, 211, 92)
inline constexpr Color kFolderEdge = 0x2A9ED8;       // RGB (216, 158, 42)
inline constexpr Color kMarginBack = 0xEEEEEE;       // an editor's line-number margin
inline constexpr Color kWorkspace = 0xABABAB;        // the MDI area behind its child windows
inline constexpr Color kPagePlaceholder = 0xDDDDDD;  // the lines of text a web page stands for

// Image opacities.
inline constexpr int kOpacityFull = 255;
inline constexpr int kOpacityDisabled = 128;
inline constexpr int kOpacityCaptionNormal = 190;

// The tooltip: where it appears from the pointer, and its padding around the text.
inline constexpr int kToolTipOffsetX = 8;
inline constexpr int kToolTipOffsetY = 16;
inline constexpr int kToolTipPadWidth = 10;
inline constexpr int kToolTipPadHeight = 4;
inline constexpr int kToolTipTextX = 5;

// The thickness of the scroll bars a list or scroll area attaches to itself.
inline constexpr int kBarThickness = 17;

// Glyphs: check box, option and the small arrows (3 rows deep: 5, 3 and 1 pixels wide).
inline constexpr int kCheckBoxSize = 13;
inline constexpr int kCheckBoxInner = 11;
inline constexpr int kThirdStateSize = 7;
inline constexpr int kGlyphTextGap = 4;  // text of a check box or option starts this far past it
inline constexpr int kOptionRadius = 7;
inline constexpr int kOptionDotRadius = 4;
inline constexpr int kArrowSize = 3;

// Disabled text: halfway between the text colour and the background, channel by channel.
constexpr Color DisabledTextColor(Color front, Color back) {
  Color out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const Color a = (front >> shift) & 0xFF, b = (back >> shift) & 0xFF;
    out |= ((a + b) / 2) << shift;
  }
  return out;
}

}  // namespace tk::looks
