// The 64-bit element flag bits. The PureBasic words that map onto them live in codegen/.
#pragma once

#include <cstdint>

namespace tk {

using Flags64 = uint64_t;

inline constexpr Flags64 MakeFlags(uint32_t low, uint32_t high) {
  return (static_cast<Flags64>(high) << 32) | low;
}
inline constexpr uint32_t LowWord(Flags64 f) {
  return static_cast<uint32_t>(f);
}
inline constexpr uint32_t HighWord(Flags64 f) {
  return static_cast<uint32_t>(f >> 32);
}
inline constexpr bool HasAll(Flags64 f, Flags64 bits) {
  return (f & bits) == bits;
}
inline constexpr bool HasAny(Flags64 f, Flags64 bits) {
  return (f & bits) != 0;
}

namespace Flag {
// Window
inline constexpr Flags64 SystemMenu = 0x0001400000000020ULL;
inline constexpr Flags64 SystemMenuBit = 0x20ULL;  // the close-button bit alone
inline constexpr Flags64 MaximizeGadget = 0x80ULL;
inline constexpr Flags64 MinimizeGadget = 0x40ULL;
inline constexpr Flags64 SizeGadget = 0x0000800000000000ULL;
inline constexpr Flags64 ScreenCentered = 0x0040000000000000ULL;
inline constexpr Flags64 WindowCentered = 0x0080000000000000ULL;
inline constexpr Flags64 Invisible = 0x0002000000000000ULL;
inline constexpr Flags64 TitleBar = 0x0000400000000000ULL;
inline constexpr Flags64 Tool = 0x0010000000000000ULL;
inline constexpr Flags64 NoActivate = 0x0008000000000000ULL;
inline constexpr Flags64 NoGadgets = 0x0004000000000000ULL;
inline constexpr Flags64 HelpGadget = 0x0020000000000000ULL;
// Borders
inline constexpr Flags64 BorderLess = 0x08000000ULL;
inline constexpr Flags64 Border = 0x04000000ULL;
inline constexpr Flags64 TextBorder = 0x80000000ULL;  // "#PB_Text_Border"
inline constexpr Flags64 Flat = 0x10000000ULL;
inline constexpr Flags64 Raised = 0x20000000ULL;
inline constexpr Flags64 Single = 0x40000000ULL;
inline constexpr Flags64 Double = 0x80000000ULL;
// Text and editing
inline constexpr Flags64 MultiLine = 0x0000020000000000ULL;
inline constexpr Flags64 Numeric = 0x0000040000000000ULL;
inline constexpr Flags64 Password = 0x0000080000000000ULL;
inline constexpr Flags64 LowerCase = 0x0000100000000000ULL;
inline constexpr Flags64 UpperCase = 0x0000200000000000ULL;
inline constexpr Flags64 Editable = 0x0000010000000000ULL;
inline constexpr Flags64 ReadOnly = 0x0000004000000000ULL;
inline constexpr Flags64 InlineText = 0x0000008000000000ULL;
inline constexpr Flags64 Small = 0x0000000100000000ULL;
inline constexpr Flags64 Large = 0x0000000200000000ULL;
// Alignment (low word)
inline constexpr Flags64 Left = 0x100ULL;
inline constexpr Flags64 AlignBit200 = 0x200ULL;
inline constexpr Flags64 Right = 0x400ULL;
inline constexpr Flags64 Bottom = 0x800ULL;
inline constexpr Flags64 Center = 0x1000ULL;
inline constexpr Flags64 VCenter = 0x2000ULL;
inline constexpr Flags64 TextCentered = 0x3000ULL;
inline constexpr Flags64 AlignBit4000 = 0x4000ULL;
inline constexpr Flags64 ImageRight = 0x10000ULL;
inline constexpr Flags64 ImageBottom = 0x20000ULL;
inline constexpr Flags64 ImageCenter = 0x40000ULL;
inline constexpr Flags64 ImageVCenter = 0x80000ULL;
// Lists and splitters
inline constexpr Flags64 CheckBoxes = 0x1ULL;
inline constexpr Flags64 ThreeState = 0x40ULL;
inline constexpr Flags64 Vertical = 0x1ULL;
inline constexpr Flags64 Separator = 0x2ULL;
inline constexpr Flags64 FirstFixed = 0x4ULL;
inline constexpr Flags64 SecondFixed = 0x8ULL;
inline constexpr Flags64 SplitterGrip = 0x10ULL;
// Bits without a vocabulary word
inline constexpr Flags64 DefaultItemFlags = 0xD3100ULL;
// High 0x10: the element paints no background and passes hits to what lies under it.
inline constexpr Flags64 PassThrough = 0x0000001000000000ULL;
inline constexpr Flags64 MoveArea = 0x0001000000000000ULL;        // high 0x10000: caption drags
inline constexpr Flags64 DesignerPlaced = 0x8001800000000000ULL;  // high 0x80018000
inline constexpr Flags64 Selected = 0x8000000000000000ULL;        // bit 63
inline constexpr Flags64 DockMask = 0x7F00000000000000ULL;        // top byte bits 0x01..0x40
}  // namespace Flag

// Bits creation sets without a vocabulary word.
namespace Flag {
inline constexpr Flags64 PartItem = 0x40C0000ULL;  // the built-in parts of spins and pickers
inline constexpr Flags64 DesignerMark = Selected;  // bit 63: the designer placed the element
}  // namespace Flag

}  // namespace tk
