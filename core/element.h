// The Element record: one drawn widget, or one sub-part of a widget (an item).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/flags.h"
#include "core/types.h"

namespace tk {

// A bound event handler. Handlers are compared by identity (the shared pointer), so the
// caller keeps the pointer it bound to unbind it again.
using EventHandler = std::function<int(EventCode type, int value)>;
using HandlerRef = std::shared_ptr<const EventHandler>;
inline HandlerRef MakeHandler(EventHandler fn) {
  return std::make_shared<const EventHandler>(std::move(fn));
}

// One row of a multi-line text as its box wraps it: where it starts (byte and character),
// how many bytes it holds, and whether it is drawn (the part after the last line break is not).
struct TextRow {
  int start = 0, length = 0, firstChar = 0;
  bool drawn = true;
};

// Interaction state bits kept in RepaintFlags.
namespace StateBit {
inline constexpr int Normal = 1;
inline constexpr int Hot = 2;
inline constexpr int Pressed = 4;
inline constexpr int Focused = 8;
}  // namespace StateBit

// Background painting modes.
namespace Background {
inline constexpr int Plain = 0;
inline constexpr int Transparent = 1;
inline constexpr int None = 16;
inline constexpr int Gradient = 64;
}  // namespace Background

struct Element {
  // Coordinates: Clip pair 0 = visible frame, pair 1 = visible inner, pair 2 = docking area.
  CoordBlock Clip;
  std::string Name;
  std::string FlagList;   // "|"-separated PureBasic flag constants
  std::string EventList;  // "|"-separated event names
  std::string Text2;      // second text of an item (the label of a property row)
  int8_t Named = 0;

  // Edit positions kept by text input, in characters (code points); -1 = none. The caret and
  // the anchor are the two ends of the selection; EditStart..EditEnd is the same range in
  // order (its length is EditEnd - EditStart).
  int EditStart = -1, EditEnd = -1, EditCaret = -1, EditAnchor = -1;
  int OptionGroup = -1;
  int Radius = 0;
  int ParentID = -1;

  float SpinValue = 0, SpinMin = 0, SpinMax = 0, SpinStep = 0;
  int8_t SpinDecimals = 0;

  int LastFocus = 0;
  int64_t PendingEvents = 0;
  int ID = 0;
  int WindowID = -1;
  uint64_t Serial = 0;  // unique per record for the run; tells a freed id from a reused one
  ElementKind Kind = ElementKind::None;
  int MouseX = 0, MouseY = 0;
  int ChildCount = 0;
  std::string Text;

  int8_t Hidden = 0;
  int8_t Disabled = 0;
  int8_t Alive = 1;
  int8_t Docked = 0;
  int8_t Vertical = 0;
  int8_t ListHolder = 0;  // 0 ordinary, -5 desktop, -1 window, 1 container-like
  int64_t Data = 0;
  int ChildHost = -1;

  int SplitterPos = 0;
  int SplitterBar = 0;
  int8_t FirstFixed = 0, SecondFixed = 0;
  int Gadget1 = -1, Gadget2 = -1;
  int SplitterFirst = 0, SplitterSecond = 0;  // kept by the splitter module

  // Elements a kind creates for itself (scroll bars of a list ...); -1 = none.
  int Attached[3] = {-1, -1, -1};

  int Value = 0;
  int Min = 0, Max = 0;
  int PageLength = 0;
  int ScrollPos = 0, ScrollOffset = 0;
  int ButtonSize = 0;
  // Creation values of kinds the generated source passes through: a ListIcon's first
  // column width, a Date or Calendar value, a Scintilla callback and a Shortcut key.
  int FirstColumnWidth = 0;
  int DateValue = 0;
  int CallbackValue = 0;
  int ShortcutValue = 0;
  // Scroll bar geometry (pixels along the bar from its start) and the pointer's offset from
  // the thumb when a button went down on the bar; Grabbed while that press lasts.
  float ThumbPos = 0, ThumbLength = 0;
  int TrackLength = 0;
  int GrabX = 0, GrabY = 0;
  int8_t Grabbed = 0;
  int ArrowSize = 0;
  int Margin = 6;

  // Event binding.
  int64_t BoundEvents = 0;
  int BoundOwner = 0;
  int BoundWindow = 0;
  std::vector<HandlerRef> Callbacks;
  int64_t EventData = 0;

  std::string ToolTip;

  int FontID = 0;
  Color FrontColor = 0x222222;
  Color BackColor = kNoColor;
  int BackImage = 0;
  Color FrameColor = 0xACACAC;
  int8_t FrameWidth = 0;
  int8_t FrameWidthSet = 0;
  int CaptionHeight = 0;
  int MenuStripHeight = 0, ToolStripHeight = 0, StatusStripHeight = 0;

  CoordBlock Frame;
  CoordBlock Inner;
  CoordBlock InWindow;  // x0,y0 window-relative; w0,h0 parent-relative (ParentOffsetX/Y)
  CoordBlock ScrollBlock1, ScrollBlock2;

  int RepaintFlags = StateBit::Normal;

  // State bytes.
  int8_t Checked = 0;
  int8_t ThreeStateAllowed = 0;
  int8_t InBetween = 0;
  int8_t HiddenOwn = 0;
  int8_t DisabledOwn = 0;
  int8_t Maximized = 0;
  int8_t Minimized = 0;
  int8_t ColorSet = 0;  // bit 1 front colour, bit 2 back colour set by the caller

  int ListID = -1;
  int ListPrevious = -1;
  int Repaint = 1;
  Flags64 Flags = 0;
  int Image2 = 0;
  int Image = 0;
  int Param3 = -1;
  int BackgroundMode = Background::Plain;
  int RunX = 0, RunY = 0;
  int ItemWidth = 0, ItemHeight = 0;
  int ItemLayout = 0;
  int TabIndex = 0;
  int ItemIndex = -1;
  // An item's index: its key in the owner's ItemMap, which routing, the hot, pressed and
  // selected fields and the item procedures name. It follows the order of Items but may leave
  // gaps, and it may differ from the item's ID (a menu entry's ID is its command).
  int Index = -1;
  int CurrentTab = 0;
  int SubLevel = 0;
  int StateIndex = -1;
  int8_t SeparatorCount = 0;
  int8_t ListBox = 0;  // 1 vertical list, 0 horizontal bar, -1 free placement

  // Interaction state kept by the event dispatch.
  int HotId = -1;
  int PressedId = -1;
  int HotItem = -1;
  int HotColumn = -1;
  int PressedItem = -1;
  int OpenTitle = -1;
  int ModeField = 0;
  int ItemPadding1 = 0, ItemPadding2 = 0;
  int HScroll = 0;
  int8_t InnerPart1 = 0, InnerPart2 = 0;  // either set: hits pass over this container
  int8_t DesignSelectable = 0;
  int8_t CornerGrip = 0;  // design dragging only by a small square at the top-left corner
  int8_t Painted = 0;
  int8_t PopupMember = 0;
  // Menu building and popups: the 1-based index of the item the next menu item turns into a
  // submenu (0 none), the last submenu popup created from this menu, and the element a shown
  // popup belongs to (-1 none).
  int PendingSubMenu = 0;
  int LastSubMenu = -1;
  int PopupOwner = -1;
  int GroupDragX = 0, GroupDragY = 0;
  CoordBlock BeforeMaximize, BeforeMinimize;

  // Text layout written by the painter at every paint: where the text box starts on the
  // canvas and how wide its room is; TextScroll (kept by text input) is subtracted from
  // TextX for editable texts so the caret stays visible.
  int TextX = 0, TextY = 0, TextRoom = 0, TextScroll = 0;
  // Text input: the text as it was when the last Change was posted (taken over silently the
  // first time input sees the element, so a text given at creation posts no Change), and the
  // text of the selection.
  std::string PreviousText, SelectedText;
  int8_t PreviousTextSet = 0;
  // Widths of every prefix of the shown editable text, kept while text and font are the same.
  std::vector<int> CaretWidths;
  std::string CaretWidthsText;
  int CaretWidthsFont = -1;
  // The rows of a multi-line editable text, kept while text, font and width are the same, and
  // the caret the rows last scrolled into view (an Editor's VScroll counts rows).
  std::vector<TextRow> TextRows;
  std::string TextRowsText;
  int TextRowsFont = -1, TextRowsWidth = -1, TextRowsCaret = -1;
  // Vertical scroll offset and content height of list-like strips (HScroll is horizontal).
  int VScroll = 0, ScrollHeight = 0;
  // Lists: the widest item text so far and the width the items need (what the horizontal
  // bar scrolls over); an icon list's header height and pressed column; a row's indent.
  int WidestItem = 0, ContentWidth = 0;
  int HeaderHeight = 0, PressedColumn = -1;
  int Indent = 0;
  // The painter's copy of Text fitted into its room ("..." cut), reused while the text, the
  // font and the room are unchanged so an unchanged element costs no measuring per frame.
  std::string FitSource, FitText;
  int FitFont = -1, FitRoom = -1;
  int8_t FitCut = 0;  // 1 when FitText differs from the text (it was cut)

  // Status bar layout: the number the next automatic field gets, and the width of the field
  // anchored to the right edge.
  int NextFieldNumber = 0;
  int AnchoredWidth = 0;

  // Item state colours (hot back, and three further state colours).
  Color HotBackColor = 0xFCDFC3;
  Color StateColor1 = 0xFAD4AD;
  Color StateColor2 = 0x505050;
  Color StateColor3 = 0xFFFFFF;

  // Sub-elements. Items are owned here and are never entered in the Root's id table.
  std::vector<std::unique_ptr<Element>> Items;
  std::map<int, Element*> ItemMap;
  std::vector<std::unique_ptr<Element>> Columns;

  // Convenience accessors for the parent-relative pair kept inside InWindow.
  int ParentOffsetX() const { return InWindow.w0; }
  int ParentOffsetY() const { return InWindow.h0; }
};

}  // namespace tk
