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
inline constexpr uint32_t GlyphRadius = 1u << 28;      // its Radius rounds its glyph, not its back
inline constexpr uint32_t TitleOnBorder = 1u << 29;    // its border runs through its title
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
  // Its children are scrolled content, meant to reach beyond its view (no overhang marks).
  bool ScrollsChildren = false;

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
