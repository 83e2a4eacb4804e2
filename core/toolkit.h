// The toolkit context: one per run or per test. It holds the Root, the loop and dispatch
// state, the kind registry and the platform, so nothing survives from one toolkit to the next.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/builtin_images.h"
#include "core/element.h"
#include "core/root.h"
#include "platform/platform.h"

namespace tk {

class Toolkit;

// One descriptor per kind: the hooks through which the core, the drawing pipeline and the
// dispatch reach a kind's own behaviour. A null hook means the kind adds nothing there.
struct KindHooks {
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

// Main-loop state (the canvas event entry).
struct LoopState {
  EventCode CurrentCode = ElementEvent::None;
  int EnteredElement = -1;
  int PressedCode = 0;
  bool Started = false;
  bool CloseRequested = false;
  HandlerRef WindowButtons;  // the caption-button handler as bound by the loop
  // Event loops (and pumps) running now, one inside the other; the level a quit request
  // asked to end (0 for none).
  int Depth = 0;
  int QuitLevel = 0;
};

// Element-dispatch state.
struct DispatchState {
  int HoveredItem = -1;
  int DragElement = -1;
  int PressAnchor = 0;
  int GridStep = kGridStep;
  // The pointer shape last set through the design pointer cache, and whether it is one of
  // the resize shapes of a border area.
  platform::Cursor PointerShape = platform::Cursor::Default;
  bool ResizePointerShown = false;
  // Caret index of the last double click in a text (and the element it was in); -1 once a
  // press has used it.
  int LastDoubleClickCaret = -1;
  int LastDoubleClickElement = -1;
  // A menu bar's title was pressed and its menus follow the pointer along the bar.
  bool MenuOpen = false;
  // Splitter separator dragging (one drag at a time) and whether the splitter module set
  // the pointer shape that is showing.
  bool SplitterDragging = false;
  bool SplitterPointerSet = false;
};

// Operations of the upper layers that the core must call; installed by the render layer.
struct CoreHooks {
  void (*DispatchEvent)(Toolkit&, EventCode code, int id) = nullptr;
  // Z-order move (first 256, before 512, after 1024, last 2048).
  int (*SetPosition)(Toolkit&, int id, int direction, int relative) = nullptr;
};

class Toolkit {
 public:
  explicit Toolkit(platform::Platform& platform) : platform(platform) {}
  Toolkit(const Toolkit&) = delete;
  Toolkit& operator=(const Toolkit&) = delete;

  KindHooks& Hooks(ElementKind kind) { return kinds_[Slot(kind)]; }
  const KindHooks& Hooks(ElementKind kind) const { return kinds_[Slot(kind)]; }

  platform::Platform& platform;
  Root root;
  LoopState loop;
  DispatchState dispatch;
  CoreHooks hooks;
  BuiltinImages builtins;
  // Every painter outlines the visible rectangle of what it paints.
  bool debugOutlines = false;

 private:
  static constexpr int kKindMin = -6;
  static constexpr int kKindMax = 40;
  static size_t Slot(ElementKind kind) {
    int v = static_cast<int>(kind);
    if (v < kKindMin || v > kKindMax) v = 0;
    return static_cast<size_t>(v - kKindMin);
  }
  std::array<KindHooks, kKindMax - kKindMin + 1> kinds_{};
};

// Keeps records freed during a call alive until the outermost call returns.
class BusyGuard {
 public:
  explicit BusyGuard(Toolkit& tk) : tk_(tk) { ++tk_.root.BusyDepth; }
  ~BusyGuard() {
    if (--tk_.root.BusyDepth == 0) tk_.root.Graveyard.clear();
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  Toolkit& tk_;
};

}  // namespace tk
