// Basic vocabulary of the element toolkit: kinds, event codes, colours, coordinate blocks.
#pragma once

#include <cstdint>

namespace tk {

// The value that means "keep the current coordinate, size or mode".
inline constexpr int kIgnore = -65535;

// Element kinds carry PureBasic's gadget numbering; negative values are the toolkit's own
// top-level kinds. 34, 35 and 38 have creation defaults but no vocabulary word.
enum class ElementKind : int {
  PopupMenu = -6,
  Desktop = -5,
  StatusBar = -4,
  Menu = -3,
  ToolBar = -2,
  Window = -1,
  None = 0,
  Button = 1,
  String = 2,
  Text = 3,
  CheckBox = 4,
  Option = 5,
  ListView = 6,
  Frame = 7,
  ComboBox = 8,
  Image = 9,
  HyperLink = 10,
  Container = 11,
  ListIcon = 12,
  IPAddress = 13,
  ProgressBar = 14,
  ScrollBar = 15,
  ScrollArea = 16,
  TrackBar = 17,
  Web = 18,
  ButtonImage = 19,
  Calendar = 20,
  Date = 21,
  Editor = 22,
  ExplorerList = 23,
  ExplorerTree = 24,
  ExplorerCombo = 25,
  Spin = 26,
  Tree = 27,
  Panel = 28,
  Splitter = 29,
  MDI = 30,
  Scintilla = 31,
  Shortcut = 32,
  Canvas = 33,
  ImageButton = 34,
  PropertyList = 35,
  PositionPicker = 38,
};

inline constexpr int KindValue(ElementKind k) {
  return static_cast<int>(k);
}

// A gadget is any element that is not one of the toolkit's top-level kinds.
inline constexpr bool IsGadgetKind(ElementKind k) {
  int v = KindValue(k);
  return v != 0 && (v < -6 || v > -1);
}

// Toolkit event codes: 64-bit values with exactly one bit set.
using EventCode = int64_t;
namespace ElementEvent {
inline constexpr EventCode None = -1;  // no event seen yet
inline constexpr EventCode Created = 0x1;
inline constexpr EventCode Resize = 0x2;
inline constexpr EventCode Move = 0x4;
inline constexpr EventCode Draw = 0x8;
inline constexpr EventCode MouseEnter = 0x10;
inline constexpr EventCode MouseMove = 0x20;
inline constexpr EventCode MouseWheel = 0x40;
inline constexpr EventCode MouseLeave = 0x80;
inline constexpr EventCode LeftDoubleClick = 0x100;
inline constexpr EventCode LeftButtonDown = 0x200;
inline constexpr EventCode LeftButtonUp = 0x400;
inline constexpr EventCode LeftClick = 0x800;
inline constexpr EventCode RightDoubleClick = 0x1000;
inline constexpr EventCode RightButtonDown = 0x2000;
inline constexpr EventCode RightButtonUp = 0x4000;
inline constexpr EventCode RightClick = 0x8000;
inline constexpr EventCode MiddleButtonDown = 0x20000;
inline constexpr EventCode MiddleButtonUp = 0x40000;
inline constexpr EventCode MiddleClick = 0x80000;
inline constexpr EventCode Focus = 0x100000;
inline constexpr EventCode LostFocus = 0x200000;
inline constexpr EventCode Change = 0x400000;
inline constexpr EventCode Freed = 0x1000000;
inline constexpr EventCode CloseButton = 0x2000000;
inline constexpr EventCode MaximizeButton = 0x4000000;
inline constexpr EventCode MinimizeButton = 0x8000000;
inline constexpr EventCode KeyDown = 0x20000000;
inline constexpr EventCode KeyUp = 0x40000000;
inline constexpr EventCode Input = 0x80000000LL;
inline constexpr EventCode StepUp = 0x200000000LL;
inline constexpr EventCode StepDown = 0x400000000LL;
inline constexpr EventCode MenuEvent = 0x1000000000LL;
inline constexpr EventCode Started = 0x100000000000LL;
}  // namespace ElementEvent

// True when the code is a real event (not "none yet") and carries every bit of `bits`.
inline constexpr bool CodeHas(EventCode code, EventCode bits) {
  return code >= 0 && (code & bits) == bits;
}

// Colours are 0xBBGGRR (red in the low byte); -1 means unset. An alpha byte above the
// colour is honoured only by alpha-blended strokes.
using Color = int64_t;
inline constexpr Color kNoColor = -1;

// The colours records of the kinds start with.
namespace StartColor {
inline constexpr Color White = 0xFFFFFF;
inline constexpr Color Face = 0xF0F0F0;
inline constexpr Color Track = 0xF2F2F2;
inline constexpr Color FieldFrame = 0x858585;
inline constexpr Color Window = 0xF2F2F2;
inline constexpr Color Desktop = 0xF9F9F9;
inline constexpr Color Popup = 0xF3F3F3;
}  // namespace StartColor

// Coordinate modes for the getters and for ResizeElementById.
namespace CoordMode {
inline constexpr int Default = 0;
inline constexpr int Clip = 1;
inline constexpr int Frame = 4;
inline constexpr int Inner = 8;
inline constexpr int Parent = 16;
inline constexpr int Desktop = 32;
inline constexpr int InWindow = 64;
inline constexpr int Absolute = kIgnore;
}  // namespace CoordMode

// Three positions then three sizes; pair 0 is the rectangle the block stands for.
struct CoordBlock {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int w0 = 0, h0 = 0, w1 = 0, h1 = 0, w2 = 0, h2 = 0;
};

// Design grid used for snapping and keyboard nudging.
inline constexpr int kGridStep = 5;
inline constexpr int kCaptionHeightDefault = 27;
inline constexpr int kMenuHeightDefault = 21;

}  // namespace tk
