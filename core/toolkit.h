// The toolkit context: one per run or per test. It holds the Root, the loop and dispatch
// state, the kind registry and the platform, so nothing survives from one toolkit to the next.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/builtin_images.h"
#include "core/element.h"
#include "core/kind.h"
#include "core/root.h"
#include "platform/platform.h"

namespace tk {

class Toolkit;

// Main-loop state (the canvas event entry).
struct LoopState {
  EventCode CurrentCode = ElementEvent::None;
  int EnteredElement = -1;
  int PressedCode = 0;
  bool Started = false;
  bool CloseRequested = false;
  // Asked when the host wants to close (the window manager's close) while no inner loop
  // runs: false keeps the program running (it asked about unsaved work and was told to stay).
  // A close the program itself asked for (EndEventLoop, the main window freed) is not asked.
  std::function<bool()> MayClose;
  bool ClosingByProgram = false;
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

// Rows are appended to one property grid at a time; the count restarts when another grid
// gets a row.
struct PropertyGridState {
  int LastGrid = -1;
  int Rows = 0;
};

// What the requesters remember between calls: the font last chosen (read after a font
// requester) and the folder a file requester last showed.
struct RequesterState {
  std::string FontName;
  int FontSize = 0;
  int FontStyle = 0;
  std::string LastFolder;
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

  KindDescriptor& Kind(ElementKind kind) { return kinds_[Slot(kind)]; }
  const KindDescriptor& Kind(ElementKind kind) const { return kinds_[Slot(kind)]; }

  platform::Platform& platform;
  Root root;
  LoopState loop;
  DispatchState dispatch;
  CoreHooks hooks;
  BuiltinImages builtins;
  PropertyGridState propertyGrid;
  RequesterState requesters;
  // Every painter outlines the visible rectangle of what it paints.
  bool debugOutlines = false;

 private:
  static constexpr int kKindMin = -6;
  static constexpr int kKindMax = 40;
  // A number outside the kinds gets an empty descriptor of its own: no name, no traits, no
  // hooks (kind 0 has a vocabulary word).
  static constexpr size_t kUnknownSlot = kKindMax - kKindMin + 1;
  static size_t Slot(ElementKind kind) {
    const int v = static_cast<int>(kind);
    if (v < kKindMin || v > kKindMax) return kUnknownSlot;
    return static_cast<size_t>(v - kKindMin);
  }
  std::array<KindDescriptor, kUnknownSlot + 1> kinds_{};
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
