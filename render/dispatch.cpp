// DispatchEvent: interaction state, item tracking, tooltips, design-mode handling, kind hooks
// and delivery to the application's handlers for one code and one element.
#include "render/dispatch.h"

#include <algorithm>
#include <string>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "platform/platform.h"
#include "render/interaction.h"
#include "render/looks.h"
#include "render/repaint.h"

namespace tk {

namespace {

// The wheel over a scroll area or anything inside one scrolls the area: its vertical bar when
// shown, else its horizontal one. nullptr when the element is not in a scroll area.
Element* EnclosingAreaBar(Toolkit& tk, const Element& e) {
  const Element* area = tk.Kind(e.Kind).Has(Trait::ScrollsContent)
                            ? &e
                            : EnclosingWithTrait(tk, e, Trait::ScrollsContent);
  if (area == nullptr) return nullptr;
  for (int slot : {1, 2}) {
    Element* bar = FindElement(tk, area->Attached[slot]);
    if (bar != nullptr && tk.Kind(bar->Kind).Has(Trait::WheelBar) && bar->Hidden == 0) return bar;
  }
  return nullptr;
}
constexpr int kWheelStep = 5;

bool IsAny(EventCode code, std::initializer_list<EventCode> codes) {
  for (EventCode c : codes)
    if (code == c) return true;
  return false;
}

bool IsButtonDown(EventCode code) {
  return IsAny(code, {ElementEvent::LeftButtonDown, ElementEvent::RightButtonDown,
                      ElementEvent::MiddleButtonDown});
}

bool IsClick(EventCode code) {
  return IsAny(code,
               {ElementEvent::LeftClick, ElementEvent::RightClick, ElementEvent::MiddleClick});
}

// The index of the last item whose rectangle holds the element's pointer position; -1 when
// none.
int ItemAt(Toolkit& tk, Element& e) {
  if (auto at = tk.Kind(e.Kind).ItemAtPointer) return at(e);
  const int pad = e.ItemPadding1 + e.ItemPadding2;
  const int shift = tk.Kind(e.Kind).Has(Trait::ItemsScrollSideways) ? e.HScroll : 0;
  int found = -1;
  for (const auto& item : e.Items) {
    const Element& it = *item;
    const int x = it.Frame.x0 - shift;
    if (it.Frame.y0 < e.MouseY && e.MouseY <= it.Frame.y0 + it.Frame.h0 && x - pad <= e.MouseX &&
        e.MouseX < x + it.Frame.w0 + pad)
      found = it.Index;
  }
  return found;
}

int FirstChild(Toolkit& tk, int id) {
  const auto& list = tk.root.Elements;
  const Element* parent = FindElement(tk, id);
  for (int i = IndexOf(tk.root, parent) + 1; i > 0 && i < static_cast<int>(list.size()); ++i) {
    if (list[i]->ParentID == id && !list[i]->Hidden) return list[i]->ID;
  }
  return -1;
}

// Whether the keyboard is on the design surface: on the design selection, on the window it
// is designed in, or on another element of that window (walking moves the selection, not
// the keyboard). An element that takes typing keeps its arrow keys.
bool KeyboardOnDesign(const Element& keyboard, const Element& designed) {
  // A designed window is its own design window.
  const int window = designed.Kind == ElementKind::Window ? designed.ID : designed.WindowID;
  if (keyboard.ID == designed.ID || keyboard.ID == window) return true;
  return keyboard.WindowID == window && !HasAny(keyboard.Flags, Flag::Editable);
}

// A size shrunk by the keys stops where a dragged border stops: one grid step, and an
// element already smaller than that does not grow.
// `size` less one step, but no less than a step (plus `frame`, what borders and strips take).
int Shrunk(int size, int step, int frame) {
  const int least = std::max(1, step) + std::max(0, frame);
  return std::max(size - step, std::min(size, least));
}

// Keyboard handling of the design selection: Shift resizes, Control moves, plain arrows walk.
void NudgeDesignSelection(Toolkit& tk, const Element& keyboard) {
  Root& root = tk.root;
  Element* d = FindElement(tk, root.DesignedElement);
  if (!d || !KeyboardOnDesign(keyboard, *d)) return;
  const int s = tk.dispatch.GridStep;
  const int key = root.KeyCode;
  const bool left = key == platform::Key::Left, right = key == platform::Key::Right;
  const bool up = key == platform::Key::Up, down = key == platform::Key::Down;
  if (!(left || right || up || down)) return;
  int x = d->ParentOffsetX(), y = d->ParentOffsetY();
  int w = d->Frame.w0, h = d->Frame.h0;
  if (root.Modifiers == platform::Modifier::Shift) {
    // The element keeps a step of its own size: for what holds children (a window, a
    // container, a scroll area) that is its inner size, for the rest the frame less the border
    // drawn beyond the one asked for.
    const bool holder = d->ListHolder != 0 || d->Kind == ElementKind::Window;
    const int surplus = 2 * (d->FrameWidth - d->FrameWidthSet);
    if (left) w = Shrunk(w, s, holder ? d->Frame.w0 - d->Inner.w0 : surplus);
    if (right) w += s;
    if (up) h = Shrunk(h, s, holder ? d->Frame.h0 - d->Inner.h0 : surplus);
    if (down) h += s;
    ResizeElement(tk, *d, kIgnore, kIgnore, w, h, CoordMode::Parent);
  } else if (root.Modifiers == platform::Modifier::Control) {
    if (left) x -= s;
    if (right) x += s;
    if (up) y -= s;
    if (down) y += s;
    ResizeElement(tk, *d, x, y, kIgnore, kIgnore, CoordMode::Parent);
  } else if ((root.Modifiers & (platform::Modifier::Shift | platform::Modifier::Control)) == 0) {
    const int id = d->ID;
    int picked;
    if (left || up) {
      picked = PreviousSibling(tk, id);
      if (picked < 0) picked = NextSibling(tk, d->ParentID);
      if (picked < 0) picked = d->ParentID;
    } else {
      picked = NextSibling(tk, id);
      if (picked < 0) picked = FirstChild(tk, id);
    }
    // The desktop is never a design selection.
    if (picked > 0 && FindElement(tk, picked)) {
      root.DesignedElement = picked;
      SelectElement(tk, picked, true);
    }
  }
}

// Item tracking: the item under the pointer becomes the hot one, and the items it leaves and
// enters hear so. Returns the item under the pointer (-1 none or not tracked).
int TrackItems(Toolkit& tk, Element& e, EventCode code, bool& repaint) {
  Root& root = tk.root;
  DispatchState& ds = tk.dispatch;
  const KindDescriptor& kind = tk.Kind(e.Kind);
  // Some kinds track their items whenever the pointer is over them; the others only while
  // they are the used element or the active bar.
  if (e.Items.empty() || root.ButtonHeld != 0 ||
      !(kind.Has(Trait::TracksItems) || e.ID == root.UsedElement || e.ID == root.ActiveBar))
    return -1;
  const int item = ItemAt(tk, e);
  e.HotItem = item;
  if (code == ElementEvent::LeftButtonDown && kind.HoldsPressedItem) e.PressedItem = item;
  if (item != ds.HoveredItem) {
    const int hovered = ds.HoveredItem;
    if (e.ItemMap.count(hovered)) RouteItemEvent(tk, e, ElementEvent::MouseLeave, e.ID, hovered);
    if (e.Alive && e.ItemMap.count(item))
      RouteItemEvent(tk, e, ElementEvent::MouseEnter, e.ID, item);
    if (kind.HoldsPressedItem && tk.loop.PressedCode != 0)
      e.HotItem = item == e.PressedItem ? item : -1;
    repaint = true;
    ds.HoveredItem = item;
  }
  return item;
}

// The bar the wheel turns for an element: the element itself when it is a bar, its own shown
// bar (a list names itself first, its vertical bar second), else the bar of the scroll area
// it lies in; a list whose rows all show passes the wheel on to that area. nullptr when
// nothing there scrolls.
Element* WheelBarOf(Toolkit& tk, Element& e) {
  auto turns = [&tk](const Element* b) {
    return b != nullptr && tk.Kind(b->Kind).Has(Trait::WheelBar);
  };
  if (turns(&e)) return &e;
  // An element that names itself first (a list, an editor) names its vertical bar second.
  const bool namesItself = tk.Kind(e.Kind).Has(Trait::ListRows) || e.Attached[0] == e.ID;
  Element* own = FindElement(tk, e.Attached[namesItself ? 1 : 0]);
  if (turns(own) && own->Hidden == 0) return own;
  return EnclosingAreaBar(tk, e);
}

// The wheel scrolls what the pointer is over; when nothing there scrolls, the element in use.
void TurnWheel(Toolkit& tk, Element& e) {
  Element* over = FindElement(tk, tk.root.PointerElement);
  Element* bar = over != nullptr && over->Alive ? WheelBarOf(tk, *over) : nullptr;
  if (bar == nullptr) bar = WheelBarOf(tk, e);
  if (bar == nullptr) return;
  bar->ScrollPos -= kWheelStep * tk.root.WheelDelta;
  const int barId = bar->ID;
  SetElementState(tk, barId, bar->ScrollPos + bar->ScrollOffset);
  // The position stays where the bar clamped it, so turning back moves at once.
  if (Element* b = FindElement(tk, barId)) b->ScrollPos = b->Value - b->ScrollOffset;
}

// Routing to the item router: presses and clicks to the item under the pointer (and the open
// drop-down's loss of focus), other codes to the hovered item.
void RouteToItems(Toolkit& tk, Element& e, EventCode code, int item) {
  Root& root = tk.root;
  const int id = e.ID;
  if (code == ElementEvent::MouseWheel) {
    TurnWheel(tk, e);
  } else if (IsButtonDown(code)) {
    if (root.DropDownOpen) RouteItemEvent(tk, e, ElementEvent::LostFocus, root.OpenDropDown, item);
    if (e.Alive && item >= 0) RouteItemEvent(tk, e, code, id, item);
  } else if (IsClick(code)) {
    if (item >= 0) RouteItemEvent(tk, e, code, id, item);
    if (e.Alive && root.DropDownOpen && FindElement(tk, root.PopupUnderPointer))
      RouteItemEvent(tk, e, ElementEvent::LostFocus, root.PopupUnderPointer, -1);
  } else if (tk.dispatch.HoveredItem >= 0) {
    RouteItemEvent(tk, e, code, id, tk.dispatch.HoveredItem);
  }
}

void PointerLeft(Toolkit& tk, Element& e, int item) {
  const KindDescriptor& kind = tk.Kind(e.Kind);
  if (kind.PointerLeft)
    kind.PointerLeft(tk, e, item);
  else if (kind.Has(Trait::LeaveClearsHot))
    e.HotItem = -1;
}

// The element's own hot, pressed and focused look; true when it must be repainted.
bool UpdateInteractionState(Toolkit& tk, Element& e, EventCode code) {
  Root& root = tk.root;
  if (CodeHas(code, ElementEvent::Focus)) e.RepaintFlags |= StateBit::Focused;
  if (CodeHas(code, ElementEvent::LostFocus)) e.RepaintFlags &= ~StateBit::Focused;
  if (CodeHas(code, ElementEvent::MouseEnter)) {
    e.HotId = e.ID;
    e.RepaintFlags = (e.RepaintFlags & ~StateBit::Normal) | StateBit::Hot;
  }
  if (CodeHas(code, ElementEvent::LeftButtonDown)) {
    root.GrabX = root.MouseX - e.ParentOffsetX();
    root.GrabY = root.MouseY - e.ParentOffsetY();
    e.PressedId = e.ID;
    e.RepaintFlags = (e.RepaintFlags & ~StateBit::Hot) | StateBit::Pressed;
  }
  if (CodeHas(code, ElementEvent::LeftButtonUp)) {
    e.PressedId = -1;
    e.RepaintFlags = (e.RepaintFlags & ~StateBit::Pressed) | StateBit::Hot;
  }
  if (CodeHas(code, ElementEvent::MouseLeave)) {
    e.HotId = -1;
    e.RepaintFlags = (e.RepaintFlags & ~(StateBit::Pressed | StateBit::Hot)) | StateBit::Normal;
  }
  return !CodeHas(code, ElementEvent::MouseMove);
}

// The tooltip: the element's own on entering, or the read-outs of design dragging.
void UpdateToolTip(Toolkit& tk, Element& e, EventCode code) {
  Root& root = tk.root;
  if (root.ButtonHeld != 0) {
    root.ToolTipX = root.MouseX + looks::kToolTipOffsetX;
    root.ToolTipY = root.MouseY + looks::kToolTipOffsetY;
    // The position as the getters and the generator report it, not the stored offset.
    if (CodeHas(code, ElementEvent::Move))
      root.ToolTipText = "x,y = (" + std::to_string(ElementX(tk, e.ID, CoordMode::Parent)) + ":" +
                         std::to_string(ElementY(tk, e.ID, CoordMode::Parent)) + ")";
    if (CodeHas(code, ElementEvent::Resize))
      root.ToolTipText =
          "W,H = (" + std::to_string(e.Frame.w0) + ":" + std::to_string(e.Frame.h0) + ")";
  } else {
    if (CodeHas(code, ElementEvent::MouseEnter) && e.Items.empty()) {
      root.ToolTipX = root.MouseX + looks::kToolTipOffsetX;
      root.ToolTipY = root.MouseY + looks::kToolTipOffsetY;
      root.ToolTipText = e.ToolTip;
    }
    if (CodeHas(code, ElementEvent::MouseLeave)) root.ToolTipText.clear();
  }
}

// A press on the design surface: takes the drag anchor and selects the element.
void PressDesign(Toolkit& tk, Element& e) {
  Root& root = tk.root;
  DispatchState& ds = tk.dispatch;
  const int id = e.ID;
  ds.PressAnchor = HitArea(tk, e);
  ds.DragElement = -1;
  if (ds.PressAnchor != HitAreaCode::None) {
    // A captioned window moves only by its caption, not by its client area.
    if (ds.PressAnchor == HitAreaCode::Move && e.Kind == ElementKind::Window &&
        e.CaptionHeight > 0) {
      if (ds.HoveredItem == 0) ds.DragElement = id;
    } else {
      ds.DragElement = id;
    }
  }
  // Pressing anywhere on a selectable element selects it, also where it cannot be dragged
  // (outside the grip of a corner-grip element).
  if (!e.DesignSelectable) return;
  bool selectThis = !root.MultiSelect;
  if (root.MultiSelect) {
    if (!HasAll(e.Flags, Flag::Selected)) {
      root.MultiSelect = false;
      selectThis = true;
    } else {
      for (const auto& other : root.Elements) {
        if (other->DesignSelectable && HasAll(other->Flags, Flag::Selected)) {
          other->GroupDragX = root.MouseX - other->ParentOffsetX();
          other->GroupDragY = root.MouseY - other->ParentOffsetY();
        }
      }
    }
  }
  if (selectThis) {
    root.DesignedElement = id;
    SelectElement(tk, id, true);
  }
}

// Design mode: pressing selects, moving drags or shows the area's pointer, keys nudge. True
// when the canvas must be repainted.
bool HandleDesign(Toolkit& tk, Element& e, EventCode code) {
  Root& root = tk.root;
  DispatchState& ds = tk.dispatch;
  if (code == ElementEvent::LeftButtonDown) {
    PressDesign(tk, e);
  } else if (code == ElementEvent::MouseMove) {
    if (root.ButtonHeld != 0 && FindElement(tk, ds.DragElement)) {
      SetPointer(tk, HitArea(tk, e));
      if (e.ID == root.MainWindow && tk.platform.HostExists() &&
          ds.PressAnchor == HitAreaCode::Move) {
        SetPointer(tk, HitAreaCode::Move);
        platform::Point screen = tk.platform.PointerOnScreen();
        tk.platform.MoveHost(screen.x - root.GrabX, screen.y - root.GrabY);
      } else if (DragDesign(tk, ds.PressAnchor, ds.DragElement)) {
        return true;
      }
    } else if (root.ButtonHeld == 0) {
      // Hovering: the area under the pointer shows its pointer shape.
      HitArea(tk, e);
    }
  } else if (code == ElementEvent::LeftButtonUp) {
    if (FindElement(tk, ds.DragElement) && HitArea(tk, e) == HitAreaCode::None)
      SetPointer(tk, HitAreaCode::None);
    ds.DragElement = -1;
  } else if (code == ElementEvent::MouseLeave) {
    SetPointer(tk, HitAreaCode::None);
  } else if (code == ElementEvent::KeyDown) {
    NudgeDesignSelection(tk, e);
  }
  return false;
}

// The phases of an enabled, shown element; true when the canvas must be repainted.
bool DispatchToShown(Toolkit& tk, Element& e, EventCode code) {
  bool repaint = false;
  const KindDescriptor& kind = tk.Kind(e.Kind);
  const int item = TrackItems(tk, e, code, repaint);
  if (e.Alive) RouteToItems(tk, e, code, item);
  if (e.Alive && code == ElementEvent::MouseLeave) PointerLeft(tk, e, item);
  if (e.Alive) {
    if (UpdateInteractionState(tk, e, code)) repaint = true;
    UpdateToolTip(tk, e, code);
  }
  if (e.Alive && HandleDesign(tk, e, code)) repaint = true;

  // Pointer dragging owned by the kind (the splitter bar).
  if (e.Alive && kind.Drag &&
      IsAny(code, {ElementEvent::LeftButtonDown, ElementEvent::LeftButtonUp,
                   ElementEvent::MouseMove, ElementEvent::MouseLeave}) &&
      kind.Drag(tk, e, code))
    repaint = true;

  // The application's handlers hear windows and gadgets; some kinds report their click from
  // the state setter instead, once the element is chosen.
  const bool delivers = kind.Has(Trait::Gadget) || e.Kind == ElementKind::Window;
  const bool clickFromState = kind.ClickFromState && code == ElementEvent::LeftClick;
  if (e.Alive && delivers && e.InnerPart1 == 0 && !clickFromState)
    PostElementEvent(tk, code, e.ID, e.HotItem, 0);
  return repaint;
}

}  // namespace

void DispatchEvent(Toolkit& tk, EventCode code, int id) {
  Element* e = FindElement(tk, id);
  if (!e) return;
  BusyGuard guard(tk);
  bool repaint = false;

  if (!e->Hidden && !e->Disabled && e->Alive) repaint = DispatchToShown(tk, *e, code);

  if (!e->Alive) {
    // The element went away inside a handler: the scene still changed.
    Repaint(tk, 0, false);
    return;
  }

  // A press anywhere brings the element's window to the front, hidden or not.
  if (IsButtonDown(code)) {
    FocusWindow(tk, id);
    repaint = true;
  }

  if (EditText(tk, code, id)) repaint = true;

  // A disabled element keeps its state.
  if (e->Alive && !e->Disabled && code == ElementEvent::LeftClick) {
    if (auto clicked = tk.Kind(e->Kind).Clicked; clicked && clicked(tk, *e)) repaint = true;
  }

  if (repaint) Repaint(tk, e->Alive ? id : 0, false);
}

}  // namespace tk
