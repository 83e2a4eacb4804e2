// The kind descriptor: what one element kind is (its name and traits) and the hooks through
// which the core, the drawing, the dispatch, the item routing and the generator reach its own
// behaviour. Each kind fills its descriptor in its own file under elements/; a kind that leaves
// a hook empty gets the generic behaviour.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/element.h"
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
// Dispatch and routing.
inline constexpr uint32_t ItemsScrollSideways = 1u << 24;  // items shift left by HScroll
inline constexpr uint32_t LeaveClearsHot = 1u << 25;   // the pointer leaving clears the hot item
inline constexpr uint32_t PassesPointer = 1u << 26;    // hands the pointer to what lies under it
inline constexpr uint32_t HollowWithParts = 1u << 27;  // with an inner part set, never hit itself
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

  // ---- attributes, state and items

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
