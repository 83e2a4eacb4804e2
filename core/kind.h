// The kind descriptor: what one element kind is (its name and traits) and the hooks through
// which the core, the drawing, the dispatch, the item routing and the generator reach its own
// behaviour. Each kind fills its descriptor in its own file under elements/; a kind that leaves
// a hook empty gets the generic behaviour.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/element.h"
#include "core/root.h"
#include "core/types.h"

namespace tk {

class Toolkit;

namespace platform {
class Painter;
}

// Traits a kind declares once, tested instead of lists of kinds.
namespace Trait {
inline constexpr uint64_t Gadget = uint64_t{1}
                                   << 0;  // a PureBasic gadget: its events reach handlers
inline constexpr uint64_t Bar = uint64_t{1}
                                << 1;  // lives in a window's strip (menu, tool, status bar)
inline constexpr uint64_t PartItems = uint64_t{1}
                                      << 2;  // its items are built-in parts it lays out itself
inline constexpr uint64_t ResizesToItems = uint64_t{1}
                                           << 3;  // grows to hold its items (menus, tool bar)
inline constexpr uint64_t TracksItems = uint64_t{1}
                                        << 4;  // items follow the pointer whenever it is over them
inline constexpr uint64_t TakesText = uint64_t{1} << 5;  // the user types into its text
inline constexpr uint64_t SelectsItem = uint64_t{1}
                                        << 6;  // its state is the index of a chosen item
inline constexpr uint64_t ListRows = uint64_t{1}
                                     << 7;  // rows laid out from the inner corner, scrolled
inline constexpr uint64_t ModuleAttributes = uint64_t{1}
                                             << 8;  // its own module answers attributes first
inline constexpr uint64_t FixedItemWidth = uint64_t{1}
                                           << 20;  // clearing its items keeps its part width
inline constexpr uint64_t ChangeOnState = uint64_t{1} << 21;  // a new state posts a Change event
inline constexpr uint64_t ScrollsItemsX = uint64_t{1}
                                          << 22;  // its items scroll sideways under the pointer
inline constexpr uint64_t Pages = uint64_t{1}
                                  << 23;  // shows one page of its items: its current tab follows
                                          // them, and pass-through leaves its body painted
// Dispatch and routing.
inline constexpr uint64_t ItemsScrollSideways = uint64_t{1} << 24;  // items shift left by HScroll
inline constexpr uint64_t LeaveClearsHot = uint64_t{1}
                                           << 25;  // the pointer leaving clears the hot item
inline constexpr uint64_t PassesPointer = uint64_t{1}
                                          << 26;  // hands the pointer to what lies under it
inline constexpr uint64_t HollowWithParts = uint64_t{1}
                                            << 27;  // with an inner part set, never hit itself
inline constexpr uint64_t Tabs = uint64_t{1}
                                 << 16;  // children sit on its tabs; new ones on the open tab
inline constexpr uint64_t ClosedList = uint64_t{1}
                                       << 17;  // holds what it joins, never takes new elements
inline constexpr uint64_t Popup = uint64_t{1}
                                  << 18;  // lives on the desktop, shown for the element it serves
inline constexpr uint64_t FollowsAncestors = uint64_t{1}
                                             << 19;  // lays itself out again when they move
inline constexpr uint64_t GlyphRadius = uint64_t{1}
                                        << 28;  // its Radius rounds its glyph, not its back
inline constexpr uint64_t TitleOnBorder = uint64_t{1} << 29;  // its border runs through its title
// Bits 16-19: creation; 20-23: attributes and items; 24-27: dispatch and routing; 28-29:
// painting; 30-31: code generation.
inline constexpr uint64_t TextArgument = uint64_t{1} << 30;     // its creation line passes the text
inline constexpr uint64_t NoFlagsArgument = uint64_t{1} << 31;  // its creation line passes no flags
// Shared by the dispatch, the item routing and the drawing.
inline constexpr uint64_t ScrollsContent = uint64_t{1} << 32;  // its children scroll as content
inline constexpr uint64_t WheelBar = uint64_t{1} << 33;        // a bar the wheel turns
inline constexpr uint64_t CaretOnPress = uint64_t{1} << 34;    // a press places the text caret
}  // namespace Trait

// The roles a popup list plays for the element that drops it (kept in the popup's ModeField).
namespace PopupRole {
inline constexpr int ComboList = 8;  // a combo box's entries: no icon gutter, no submenus
}  // namespace PopupRole

// Z-order directions shared by the core's moves and the z-order module.
namespace ZOrder {
inline constexpr int First = 256;
inline constexpr int Before = 512;  // also "previous" / one step up
inline constexpr int After = 1024;  // also "next" / one step down
inline constexpr int Last = 2048;
}  // namespace ZOrder

struct KindDescriptor {
  // The vocabulary word (empty for a kind without one) and the trait bits.
  std::string_view Name;
  uint64_t Traits = 0;
  bool Has(uint64_t trait) const { return (Traits & trait) == trait; }

  // ---- creation (defaults and the created hook)
  // What creation sets on a new record of the kind; kIgnore keeps the record's own value.
  struct CreationDefaults {
    int BackgroundMode = Background::Plain;
    Color BackColor = StartColor::White;
    Color FrameColor = kIgnore;
    int FrameWidth = kIgnore;
    int CaptionHeight = kIgnore;
    int ListBox = kIgnore;
    int ButtonSize = kIgnore;
    int ArrowSize = kIgnore;
    int ItemWidth = kIgnore;
    Flags64 AddFlags = 0;   // added to the stored flags
    Flags64 DropFlags = 0;  // taken off the stored flags
    // Added to the flags handed to the flag setter (which derives borders and alignment).
    Flags64 RequestFlags = 0;
    bool StartsHidden = false;
    bool ImageNeedsText = false;  // an empty text leaves no image
    bool NoImage = false;
    bool NoText = false;
    bool RangeFromParams = false;  // param1..3 are Min, Max and PageLength; Vertical flag
    bool KeepsParam3 = false;
    int PartItems = 0;  // built-in parts added as items (buttons, edges)
  };
  CreationDefaults Defaults;
  // The list an element of the kind keeps for the elements made inside it (the record's
  // ListHolder once opened): none, a container's, a window's (its elements belong to it) or
  // the desktop's.
  static constexpr int8_t NoList = 0, ContainerList = 1, WindowList = -1, DesktopList = -5;
  int8_t ListHolder = NoList;
  // The Root fields that remember the newest element of the kind.
  int Root::*LastIds[2] = {&Root::LastGadget, &Root::LastElement};
  // The event record field that names an element of the kind.
  int EventRecord::*EventSlot = &EventRecord::EventGadget;
  // The window strip a bar of the kind fills with its height.
  int Element::*WindowStrip = nullptr;
  // The creation arguments a kind reads beyond the generic ones.
  struct CreationArgs {
    int param1 = -1, param2 = -1, param3 = 0;
    Flags64 flags = 0;  // as the caller asked for them
    std::string_view stepText;
  };
  // Creation work that is not plain data; runs after Defaults were applied and may change
  // `request`, the flags handed to the flag setter.
  void (*Created)(Toolkit&, Element&, const CreationArgs&, Flags64& request) = nullptr;
  // After the new element got its flags and rectangle, before its creation event.
  void (*Placed)(Toolkit&, Element&) = nullptr;
  // After a caller resized the element by its id (not after relayouts by its parent).
  void (*ResizedById)(Toolkit&, Element&) = nullptr;

  // ---- attributes, state and items
  // The state getter of a kind that keeps its state elsewhere than in its selected index.
  double (*GetState)(Toolkit&, const Element&, int depth) = nullptr;
  // Keeps a new state in the kind's own fields before the generic index; false refuses it.
  bool (*StoreState)(Toolkit&, Element&, double state) = nullptr;
  // The event a new state posts (0 for none); without it only ChangeOnState kinds post one.
  EventCode (*StateEvent)(const Element&, int value) = nullptr;
  // Text setter (returns the previous text) and getter of a kind that keeps its text apart.
  std::string (*SetText)(Toolkit&, Element&, const std::string& text) = nullptr;
  const std::string& (*GetText)(const Element&) = nullptr;
  // Image setter of a kind that shows its image on a part; returns the previous image.
  int (*SetImage)(Element&, int image) = nullptr;
  // Hiding or showing replaced by the kind's own (popups hide together); returns the result.
  int (*Hide)(Toolkit&, Element&, int state) = nullptr;
  // The creation values a copy of the element is made with.
  void (*CopyParams)(const Element&, int& p1, int& p2, int& p3) = nullptr;
  // The check state of one item; without it the kind's items have none.
  double (*ItemState)(Element&, int index) = nullptr;
  // Flags asked for: the kind's own part before the generic borders; false when the kind
  // takes no flags. FlagsApplied follows the generic part.
  bool (*ApplyFlags)(Toolkit&, Element&, Flags64& request) = nullptr;
  void (*FlagsApplied)(Element&) = nullptr;
  // After the items were cleared, for the element asked (not the one holding the items).
  void (*ItemsCleared)(Toolkit&, Element&) = nullptr;
  // Places a new item itself instead of the row, bar or part placement.
  void (*PlaceItem)(Toolkit&, Element& owner, Element& item) = nullptr;
  // Size of a bar entry that is not a separator; `advance` is its share of the bar.
  void (*SizeEntry)(const Element& owner, int advance, int& w, int& h) = nullptr;
  // Last touch on a new item once it is placed and coloured (its looks, a row's parts).
  void (*DressItem)(Element& owner, Element& item) = nullptr;

  // ---- dispatch and item routing
  // Places an element of a bar kind after the rectangle of `window` changed (the status bar
  // keeps to the strip below the inner area).
  void (*PlaceInWindow)(Toolkit&, Element& window) = nullptr;
  // The item under the element's pointer when the kind lays its items out itself (list rows
  // and columns); -1 when none. It may also note the hovered part (a header column). Without
  // it, the last item whose frame holds the pointer.
  int (*ItemAtPointer)(Element&) = nullptr;
  // The kind's own reaction to a left click on the enabled element (a check box toggles, an
  // option is chosen); true when the canvas must be repainted.
  bool (*Clicked)(Toolkit&, Element&) = nullptr;
  // The click reaches the handlers from the state setter once the element is chosen, not
  // from the dispatch.
  bool ClickFromState = false;
  // The pointer left the element (`item` is the item it was over, -1 none): the kind decides
  // what stays hot. Without it the hot item goes when the kind has Trait::LeaveClearsHot.
  void (*PointerLeft)(Toolkit&, Element&, int item) = nullptr;
  // A pressed item stays the pressed one: while the button is held only it lights up.
  bool HoldsPressedItem = false;
  // Items light with a frame (and a gradient with the owner's flag), and pressing one opens or
  // closes a drop-down (menu bar titles, the combo box button).
  bool MenuLikeItems = false;
  // A popup list: dropped down from an opener and closed with the chain it belongs to.
  bool DropsDown = false;
  // Opening and closing for an item code (menus, submenus, the combo box list, the position
  // picker's edges).
  void (*OpenItems)(Toolkit&, Element& owner, EventCode code, int id, int item) = nullptr;
  // What choosing an enabled item means for its owner (posting a menu event, selecting a row
  // or tab, pressing a caption button, a spin or bar part).
  void (*ChooseItem)(Toolkit&, Element& owner, EventCode code, int id, int item) = nullptr;

  // ---- painting and layout
  // Places the element's items (and whatever else its painting reads) before it is painted.
  void (*Layout)(Toolkit&, Element&, platform::Painter&) = nullptr;
  // Paints the kind's glyph on an element of the kind or on one of its items, after the frame
  // and before the text, and keeps the text clear of it (the pass is in render/paint.h).
  void (*PaintGlyph)(Toolkit&, platform::Painter&, struct GlyphPass&) = nullptr;
  // Its item painter draws the items' second images itself (caption buttons, popup icons).
  bool PaintsItemImage2 = false;
  // Its items make up a caption: they draw its title and icon and brighten under the pointer,
  // and a line under the caption and the strips closes them off.
  bool CaptionItems = false;
  // Shown elements of the kind cover everything else (popup menus), painted after the rest.
  bool PaintsOnTop = false;

  // ---- code generation
  // The values a creation line passes after the text, each one argument.
  enum class CodeArg : uint8_t {
    None,  // ends the list
    Min,
    Max,
    PageLength,  // also a scroll area's step
    SpinMin,     // the floating limits, as spin limits are written
    SpinMax,
    FirstPane,  // a splitter's panes, by the names their own lines give them
    SecondPane,
    ImageId,  // "ImageID(n)" of a loaded image, else 0
    FirstColumnWidth,
    BackColor,  // the 32-bit colour as a signed number
    DateValue,
    CallbackValue,
    ShortcutValue,
  };
  std::array<CodeArg, 3> CodeArgs{};
  // How the lines of what an element holds are placed around its own creation line.
  enum class CodeNesting : uint8_t {
    Plain,       // its line, then theirs
    GadgetList,  // its line, theirs, then CloseGadgetList()
    Tabs,        // as GadgetList, each tab's AddGadgetItem line before the tab's children
    PanesFirst,  // theirs before its line: PureBasic joins panes that already exist
  };
  CodeNesting Nesting = CodeNesting::Plain;
  // Opened as "Open<Name>(" and sized by its client area, its events bound in its procedure;
  // otherwise created by "<Name>Gadget(".
  bool CodeOpens = false;
  // The text its creation line passes, when that is not the element's own text.
  std::string_view (*CodeText)(const Element&) = nullptr;

  // ---- hooks shared by several of the above
  // After the element's rectangle changed; a splitter re-divides its area here.
  void (*Resized)(Toolkit&, Element&) = nullptr;
  // State setter of kinds with a module (scroll bar, track bar, spin, splitter, combo, panel).
  void (*SetState)(Toolkit&, Element&, double state) = nullptr;
  // First answer of the attribute getter; returns true when the kind answered.
  bool (*GetAttribute)(Toolkit&, Element&, int code, int64_t& value) = nullptr;
  // Attribute and colour changes passed on to the kind; returns true when handled.
  bool (*SetAttribute)(Toolkit&, Element&, int code, int64_t value) = nullptr;
  // The kind's item procedure used by AddElementItem.
  int (*AddItem)(Toolkit&, Element&, int position, const std::string& text, int image,
                 Flags64 flags) = nullptr;
  // Paints the items of an element of the kind.
  void (*PaintItems)(Toolkit&, Element&, platform::Painter&) = nullptr;
  // Pointer dragging owned by the kind (the splitter bar); returns true when it changed
  // something that must be repainted.
  bool (*Drag)(Toolkit&, Element&, EventCode code) = nullptr;
  // The kind's own reaction to a code routed to one of its items (spin buttons, track and
  // scroll bar parts, the edges of the position picker).
  void (*ItemEvent)(Toolkit&, Element& owner, EventCode code, int id, int item) = nullptr;
  // Shows a popup list (popup menu, combo box list) at canvas (x, y) for the owner element.
  void (*ShowPopup)(Toolkit&, Element& popup, int owner, int x, int y) = nullptr;
  // Hides one popup list; without it the list is simply marked hidden.
  void (*HidePopup)(Toolkit&, Element& popup) = nullptr;
};

}  // namespace tk
