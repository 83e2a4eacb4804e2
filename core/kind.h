// The kind descriptor: what one element kind is (its name and traits) and the hooks through
// which the core, the drawing, the dispatch, the item routing and the generator reach its own
// behaviour. Each kind fills its descriptor in its own file under elements/; a kind that leaves
// a hook empty gets the generic behaviour.
#pragma once

#include <cstdint>
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
inline constexpr uint32_t Gadget = 1u << 0;  // a PureBasic gadget: its events reach handlers
inline constexpr uint32_t Bar = 1u << 1;     // lives in a window's strip (menu, tool, status bar)
inline constexpr uint32_t PartItems = 1u << 2;  // its items are built-in parts it lays out itself
inline constexpr uint32_t ResizesToItems = 1u << 3;  // grows to hold its items (menus, tool bar)
inline constexpr uint32_t TracksItems = 1u
                                        << 4;   // items follow the pointer whenever it is over them
inline constexpr uint32_t TakesText = 1u << 5;  // the user types into its text
inline constexpr uint32_t SelectsItem = 1u << 6;  // its state is the index of a chosen item
inline constexpr uint32_t ListRows = 1u << 7;     // rows laid out from the inner corner, scrolled
inline constexpr uint32_t ModuleAttributes = 1u << 8;  // its own module answers attributes first
inline constexpr uint32_t Tabs = 1u << 16;  // children sit on its tabs; new ones on the open tab
inline constexpr uint32_t ClosedList = 1u << 17;  // holds what it joins, never takes new elements
inline constexpr uint32_t Popup = 1u
                                  << 18;  // lives on the desktop, shown for the element it serves
inline constexpr uint32_t FollowsAncestors = 1u << 19;  // lays itself out again when they move
// Bits 16-19: creation; 20-23: attributes and items; 24-27: dispatch and routing; 28-29:
// painting; 30-31: code generation.
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
  uint32_t Traits = 0;
  bool Has(uint32_t trait) const { return (Traits & trait) == trait; }

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
  // The window strip a bar of the kind takes.
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

  // ---- dispatch and item routing

  // ---- painting and layout

  // ---- code generation

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
