// Host window and canvas, the event loop, the canvas event entry and the caption-button
// handler.
#include "render/host.h"

#include <utility>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "render/dispatch.h"
#include "render/repaint.h"

namespace tk {

using platform::NativeEvent;
using platform::NativeEventType;

namespace {

constexpr Flags64 kDesktopFlags = MakeFlags(0x8000000, 0);
constexpr int kMinimizedWidth = 240;
constexpr int kMinimizedHeight = 28;

void PostCloseRequest(Toolkit& tk) {
  tk.loop.ClosingByProgram = true;
  NativeEvent ev;
  ev.type = NativeEventType::CloseRequest;
  tk.platform.PostEvent(ev);
}

// The rectangle an element occupies relative to its parent, as the resize procedures take it.
CoordBlock SaveGeometry(Toolkit& tk, int id) {
  CoordBlock b;
  b.x0 = ElementX(tk, id, CoordMode::Parent);
  b.y0 = ElementY(tk, id, CoordMode::Parent);
  b.w0 = ElementWidth(tk, id, CoordMode::Frame);
  b.h0 = ElementHeight(tk, id, CoordMode::Frame);
  return b;
}

void RestoreGeometry(Toolkit& tk, int id, const CoordBlock& b) {
  if (b.w0 <= 0 || b.h0 <= 0) return;  // never saved
  ResizeElementById(tk, id, b.x0, b.y0, b.w0, b.h0, CoordMode::Parent);
}

// Canvas events without an entry in the translation table leave the code alone.
bool TranslateEvent(Toolkit& tk, const NativeEvent& ev, bool moved) {
  LoopState& loop = tk.loop;
  Root& root = tk.root;
  switch (ev.type) {
    case NativeEventType::FocusGained:
      if (loop.CurrentCode == ElementEvent::None) {
        loop.CurrentCode = ElementEvent::Focus;
        return true;
      }
      return moved;
    case NativeEventType::Wheel:
      loop.CurrentCode = ElementEvent::MouseWheel;
      root.WheelDelta = ev.wheel;
      return true;
    case NativeEventType::LeftDoubleClick:
      loop.CurrentCode = ElementEvent::LeftDoubleClick;
      return true;
    case NativeEventType::LeftButtonDown:
      loop.CurrentCode = ElementEvent::LeftButtonDown;
      return true;
    case NativeEventType::LeftButtonUp:
      loop.CurrentCode = ElementEvent::LeftButtonUp;
      return true;
    case NativeEventType::LeftClick:
      loop.CurrentCode = ElementEvent::LeftClick;
      return true;
    case NativeEventType::RightDoubleClick:
      loop.CurrentCode = ElementEvent::RightDoubleClick;
      return true;
    case NativeEventType::RightButtonDown:
      loop.CurrentCode = ElementEvent::RightButtonDown;
      return true;
    case NativeEventType::RightButtonUp:
      loop.CurrentCode = ElementEvent::RightButtonUp;
      return true;
    case NativeEventType::RightClick:
      loop.CurrentCode = ElementEvent::RightClick;
      return true;
    case NativeEventType::MiddleButtonDown:
      loop.CurrentCode = ElementEvent::MiddleButtonDown;
      return true;
    case NativeEventType::MiddleButtonUp:
      loop.CurrentCode = ElementEvent::MiddleButtonUp;
      return true;
    case NativeEventType::KeyDown:
      loop.CurrentCode = ElementEvent::KeyDown;
      root.Modifiers = ev.modifiers;
      root.KeyCode = ev.keyCode;
      return true;
    case NativeEventType::KeyUp:
      loop.CurrentCode = ElementEvent::KeyUp;
      root.Modifiers = ev.modifiers;
      root.KeyCode = ev.keyCode;
      return true;
    case NativeEventType::Input:
      if (ev.ch < 32) return false;
      loop.CurrentCode = ElementEvent::Input;
      root.InputChar = ev.ch;
      return true;
    case NativeEventType::MouseMove:
      // A report whose position did not change dispatches nothing.
      return moved;
    default:
      // Canvas enter/leave, lost focus, later focus and resizes dispatch only the movement
      // they carry.
      return moved;
  }
}

bool InRect(int px, int py, int x, int y, int w, int h) {
  return x <= px && px < x + w && y <= py && py < y + h;
}

// Whether the pointer hits an element: the whole frame for a design-selected element, else
// its visible rectangle.
bool HitsElement(const Element& e, int mx, int my) {
  if (e.Hidden) return false;
  if (HasAll(e.Flags, Flag::Selected))
    return InRect(mx, my, e.Frame.x0, e.Frame.y0, e.Frame.w0, e.Frame.h0);
  return InRect(mx, my, e.Clip.x0, e.Clip.y0, e.Clip.w0, e.Clip.h0);
}

// Backward scan of the element list; later elements lie on top.
int HitTest(Toolkit& tk) {
  Root& root = tk.root;
  const int mx = root.MouseX, my = root.MouseY;
  auto& list = root.Elements;
  for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
    Element* e = list[i].get();
    if (e->Clip.w0 <= 0 && e->Clip.h0 <= 0) continue;
    if (!HitsElement(*e, mx, my)) continue;
    const KindDescriptor& kind = tk.Kind(e->Kind);
    if (kind.Has(Trait::HollowWithParts) && (e->InnerPart1 || e->InnerPart2)) continue;
    Element* hit = e;
    // Such an element hands the pointer to what lies under it inside its parent. A splitter
    // is created after its panes and lies over them: only its separator is its own.
    if (HasAll(e->Flags, Flag::PassThrough) || kind.Has(Trait::PassesPointer)) {
      for (int j = i - 1; j >= 0; --j) {
        Element* under = list[j].get();
        if (under->ID == e->ParentID) break;
        if (under->Clip.w0 <= 0 && under->Clip.h0 <= 0) continue;
        if (HitsElement(*under, mx, my)) {
          hit = under;
          break;
        }
      }
    }
    hit->MouseX = mx - hit->Frame.x0;
    hit->MouseY = my - hit->Frame.y0;
    root.PointerElement = hit->ID;
    return hit->ID;
  }
  return -1;
}

void Dispatch(Toolkit& tk, EventCode code, int id) {
  if (id >= 0) DispatchEvent(tk, code, id);
}

// The requester open now, or -1: while one is open, only it takes pointer and keys.
int OpenRequester(Toolkit& tk) {
  auto& stack = tk.root.ModalWindows;
  while (!stack.empty() && FindElement(tk, stack.back()) == nullptr)
    stack.pop_back();
  return stack.empty() ? -1 : stack.back();
}

// Whether an element belongs to the open requester (its own drop-down lists included).
bool InModal(Toolkit& tk, int modal, int id) {
  if (modal < 0) return true;
  Element* e = FindElement(tk, id);
  if (e == nullptr) return false;
  return e->ID == modal || e->WindowID == modal || IsInside(tk, *e, modal);
}

// Counts one running loop for as long as it runs, and tells whether a quit request is for it.
class LoopLevel {
 public:
  explicit LoopLevel(LoopState& loop) : loop_(loop), level_(++loop.Depth) {}
  ~LoopLevel() {
    --loop_.Depth;
    if (loop_.QuitLevel >= level_) loop_.QuitLevel = 0;
  }
  LoopLevel(const LoopLevel&) = delete;
  LoopLevel& operator=(const LoopLevel&) = delete;
  bool QuitAsked() const { return loop_.QuitLevel == level_; }

 private:
  LoopState& loop_;
  const int level_;
};

// Handles one native event; false when the loop must end.
bool HandleNative(Toolkit& tk, const NativeEvent& ev) {
  switch (ev.type) {
    case NativeEventType::CloseRequest: {
      // The program's own close (posted with the flag) ends the loop; the host's may be kept
      // back by the program.
      const bool byProgram = std::exchange(tk.loop.ClosingByProgram, false);
      if (!byProgram && tk.loop.Depth == 1 && tk.loop.MayClose && !tk.loop.MayClose()) return true;
      tk.loop.CloseRequested = true;
      return false;
    }
    case NativeEventType::Exhausted:
      return false;
    case NativeEventType::None:
      return true;
    default:
      OnCanvasEvent(tk, ev);
      return !tk.loop.CloseRequested;
  }
}

}  // namespace

void InstallRender(Toolkit& tk) {
  tk.hooks.DispatchEvent = &DispatchEvent;
  Toolkit* self = &tk;
  tk.loop.WindowButtons = MakeHandler([self](EventCode code, int) {
    return WindowButtonHandler(*self, code, self->root.Event.EventElement);
  });
}

int OpenHost(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& title,
             Flags64 flags) {
  platform::Platform& pf = tk.platform;
  if (!pf.OpenHost(x, y, width, height)) return 0;
  pf.FocusCanvas();

  Root& root = tk.root;
  root.HostFlags = flags;
  root.CanvasID = true;
  root.HostWindow = true;
  root.MenuHeight = kMenuHeightDefault;
  root.CaptionHeightDefault = kCaptionHeightDefault;
  root.OpenList = -1;
  root.CurrentWindow = -1;
  root.MainWindow = -1;
  root.UsedElement = -1;
  root.DesignedElement = -1;
  root.ActiveBar = -1;
  root.PopupUnderPointer = -1;
  root.LastElement = root.LastWindow = root.LastGadget = -1;
  root.LastMenu = root.LastToolBar = root.LastPopupMenu = root.LastStatusBar = -1;

  root.DesktopColor = pf.WindowBackgroundColor();
  if (root.DesktopColor == 0x000000 || root.DesktopColor == 0xFFFFFF)
    root.DesktopColor = pf.ButtonFaceColor();
  if (root.DesktopImage < 0 || !pf.Images().IsImage(root.DesktopImage))
    root.DesktopImage =
        pf.Images().Create(platform::ImageStore::kAny, width, height, 24, root.DesktopColor);

  int result = CreateElement(tk, ElementKind::Desktop, 0, 0, 0, width, height, "", -1, -1, 0,
                             kDesktopFlags, -1);
  if (!title.empty()) {
    // ScreenCentered stays in HostFlags: the first canvas focus centres the host instead.
    Flags64 wflags = (flags | Flag::SystemMenu) & ~Flag::ScreenCentered;
    int win =
        CreateElement(tk, ElementKind::Window, id, 0, 0, width, height, "", -1, -1, -1, wflags, -1);
    root.MainWindow = win;
    SetElementText(tk, win, title);
    result = win;
  }
  return result;
}

int WindowButtonHandler(Toolkit& tk, EventCode code, int id) {
  Root& root = tk.root;
  platform::Platform& pf = tk.platform;
  if (code == ElementEvent::MaximizeButton) {
    Element* w = FindElement(tk, id);
    if (id == 0) {
      if (w && w->Maximized)
        pf.MaximizeHost();
      else
        pf.RestoreHost();
    } else if (w) {
      if (w->Maximized) {
        w->BeforeMaximize = SaveGeometry(tk, id);
        if (id == root.MainWindow) {
          pf.MaximizeHost();
        } else {
          int parent = w->ParentID;
          ResizeElementById(tk, id, 0, 0, ElementWidth(tk, parent), ElementHeight(tk, parent),
                            CoordMode::Parent);
        }
      } else {
        if (id == root.MainWindow) pf.RestoreHost();
        RestoreGeometry(tk, id, w->BeforeMaximize);
      }
    }
  } else if (code == ElementEvent::MinimizeButton) {
    Element* w = FindElement(tk, id);
    if (w) {
      if (w->Minimized) {
        w->BeforeMinimize = SaveGeometry(tk, id);
        if (id == root.MainWindow) {
          pf.MinimizeHost();
        } else {
          int parentHeight = ElementHeight(tk, w->ParentID);
          ResizeElementById(tk, id, 0, parentHeight - kMinimizedHeight, kMinimizedWidth,
                            kMinimizedHeight, CoordMode::Parent);
        }
      } else if (id == root.MainWindow) {
        pf.RestoreHost();
      } else {
        RestoreGeometry(tk, id, w->BeforeMinimize);
      }
    }
  } else if (code == ElementEvent::CloseButton) {
    if (id == -1) {
      PostCloseRequest(tk);
    } else if (IsWindow(tk, id)) {
      FreeElement(tk, id);
    }
  } else if (code == ElementEvent::Freed) {
    bool windowsLeft = false;
    for (const auto& e : root.Elements) {
      if (e->Kind == ElementKind::Window && e->ParentID == 0 && e->ID != id) {
        windowsLeft = true;
        break;
      }
    }
    if ((id == root.MainWindow && root.MainWindow >= 0) || !windowsLeft) PostCloseRequest(tk);
  }
  return 1;
}

int OnCanvasEvent(Toolkit& tk, const NativeEvent& ev) {
  Root& root = tk.root;
  LoopState& loop = tk.loop;
  if (root.Elements.empty()) return 0;
  BusyGuard guard(tk);

  // Pointer position in client coordinates; 0 counts as not yet known.
  platform::Point p = tk.platform.PointerInClient();
  bool moved = false;
  if (root.MouseX == 0) root.MouseX = p.x;
  if (p.x != root.MouseX) {
    root.MouseX = p.x;
    loop.CurrentCode = ElementEvent::MouseMove;
    moved = true;
  }
  if (root.MouseY == 0) root.MouseY = p.y;
  if (p.y != root.MouseY) {
    root.MouseY = p.y;
    loop.CurrentCode = ElementEvent::MouseMove;
    moved = true;
  }

  bool dispatch = TranslateEvent(tk, ev, moved);
  const EventCode code = loop.CurrentCode;

  if (dispatch && code >= 0) {
    // While a button is held the receiver stays the element the press went to.
    int hit = root.PointerElement;
    const int modal = OpenRequester(tk);
    if (root.ButtonHeld == 0 && loop.PressedCode == 0) {
      hit = HitTest(tk);
      if (hit >= 0 && !InModal(tk, modal, hit)) {
        // Outside the requester the pointer reaches nothing; a press there brings the
        // requester to the front.
        if (code == ElementEvent::LeftButtonDown || code == ElementEvent::RightButtonDown ||
            code == ElementEvent::MiddleButtonDown) {
          FocusWindow(tk, modal);
          Repaint(tk, 0, false);
        }
        hit = -1;
        root.PointerElement = -1;
      }
      if (loop.EnteredElement != hit) {
        Dispatch(tk, ElementEvent::MouseLeave, loop.EnteredElement);
        Dispatch(tk, ElementEvent::MouseEnter, hit);
        loop.EnteredElement = hit;
      }
    }

    if (code == ElementEvent::Focus) {
      ActivateElement(tk, root.FocusedElement);
    } else if (code == ElementEvent::MouseMove) {
      root.ButtonHeld = loop.PressedCode;
      Dispatch(tk, code, root.ButtonHeld != 0 ? loop.EnteredElement : hit);
    } else if (code == ElementEvent::LeftClick || code == ElementEvent::RightClick ||
               code == ElementEvent::MiddleClick) {
      Dispatch(tk, code, hit);
    } else if (code == ElementEvent::LeftButtonUp || code == ElementEvent::RightButtonUp ||
               code == ElementEvent::MiddleButtonUp) {
      root.ButtonHeld = 0;
      loop.PressedCode = 0;
      Dispatch(tk, code, loop.EnteredElement);
    } else if (code == ElementEvent::LeftButtonDown || code == ElementEvent::RightButtonDown ||
               code == ElementEvent::MiddleButtonDown) {
      loop.PressedCode = static_cast<int>(code & 0xFFFFFFFF);
      ActivateElement(tk, hit);
      Dispatch(tk, code, hit);
    } else if (InModal(tk, modal, root.UsedElement)) {
      Dispatch(tk, code, root.UsedElement);
    } else {
      Dispatch(tk, code, modal);
    }
  }

  // Start-up at the first canvas focus: announce, paint everything, then show the host.
  if (ev.type == NativeEventType::FocusGained && !loop.Started) {
    loop.Started = true;
    if (root.CanvasID) {
      PostElementEvent(tk, ElementEvent::Started, 0, -1, 0);
      Repaint(tk, 0, true);
      if (HasAll(root.HostFlags, Flag::ScreenCentered))
        tk.platform.ShowHost(platform::ShowMode::ScreenCentered);
      else if (HasAll(root.HostFlags, Flag::WindowCentered))
        tk.platform.ShowHost(platform::ShowMode::OwnerCentered);
      else
        tk.platform.ShowHost(platform::ShowMode::InPlace);
    }
  }
  return 0;
}

bool PumpEvents(Toolkit& tk) {
  LoopLevel level(tk.loop);
  NativeEvent ev;
  while (tk.platform.PollEvent(ev)) {
    if (!HandleNative(tk, ev) || level.QuitAsked()) return false;
  }
  return true;
}

void QuitEventLoop(Toolkit& tk) {
  if (tk.loop.Depth > 0) tk.loop.QuitLevel = tk.loop.Depth;
}

void PrepareLoop(Toolkit& tk, int mainWindow) {
  if (IsWindow(tk, mainWindow)) tk.root.MainWindow = mainWindow;
  // Bound last and only once, for every element, so applications see events first.
  if (!tk.loop.WindowButtons) InstallRender(tk);
  UnbindCallback(tk, tk.loop.WindowButtons, -1, -1);
  BindCallback(tk, tk.loop.WindowButtons, -1, -1, -1);
  tk.loop.CloseRequested = false;
  tk.loop.ClosingByProgram = false;
}

void EndEventLoop(Toolkit& tk) {
  PostCloseRequest(tk);
}

void RunModalLoop(Toolkit& tk, int window) {
  LoopLevel level(tk.loop);
  const bool watched = IsWindow(tk, window);
  NativeEvent ev;
  while (!level.QuitAsked()) {
    if (watched && !IsWindow(tk, window)) break;
    if (!tk.platform.WaitEvent(ev, 100)) continue;
    if (!HandleNative(tk, ev)) break;
  }
}

void GrowWindowsForStatusBars(Toolkit& tk) {
  int carried = 0;
  for (size_t i = 0; i < tk.root.Elements.size(); ++i) {
    Element& e = *tk.root.Elements[i];
    if (e.ID == 0) continue;
    if (tk.Kind(e.Kind).DropsDown) break;
    if (e.StatusStripHeight != 0) carried = e.StatusStripHeight;
    // The height carries on to later windows; nested ones are the program's content.
    if (carried != 0 && e.Kind == ElementKind::Window && e.ParentID == 0) {
      int border = e.FrameWidth;
      int w = e.Frame.w0 + 2 * border;
      int h = carried + e.Frame.h0 + 2 * border;
      if (ElementWidth(tk, 0) < w) ResizeElementById(tk, e.ParentID, kIgnore, kIgnore, w, h);
      ResizeElement(tk, e, kIgnore, kIgnore, w, h);
    }
  }
}

int RunEventLoop(Toolkit& tk, int mainWindow) {
  Root& root = tk.root;
  platform::Platform& pf = tk.platform;
  NativeEvent ev;

  if (tk.loop.Depth > 0) {
    RunModalLoop(tk, mainWindow);
    return 0;
  }

  if (root.Elements.empty()) {
    // Nothing of the toolkit exists: only wait for the host to be closed.
    while (pf.HostExists()) {
      if (!pf.WaitEvent(ev, 100)) continue;
      if (ev.type == NativeEventType::CloseRequest) pf.CloseHost();
      if (ev.type == NativeEventType::Exhausted) break;
    }
    return 0;
  }

  PrepareLoop(tk, mainWindow);

  GrowWindowsForStatusBars(tk);

  {
    LoopLevel level(tk.loop);
    while (!level.QuitAsked()) {
      if (!pf.WaitEvent(ev, 100)) continue;
      if (!HandleNative(tk, ev)) break;
    }
  }

  // The run is over: close the host and start the Root afresh.
  pf.CloseHost();
  root = Root();
  return 0;
}

}  // namespace tk
