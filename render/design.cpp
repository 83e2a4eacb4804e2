// Design mode: the hit areas under the pointer and the pointer shapes they show, the selection
// flag, moving and resizing by the area taken at the press (one element or a whole
// multi-selection), and the selection frame, alignment guides and resize handles.
//
// Positions here are the ones the user sees and the generator writes: the parent-relative
// offset plus the border surplus d (FrameWidth - FrameWidthSet, non-zero when SizeGadget
// widened the border into an invisible grab band). The grid therefore lines up the drawn
// frames, as creation does when it places a designer element.
#include <algorithm>
#include <vector>

#include "core/coords.h"
#include "core/lookup.h"
#include "render/interaction.h"
#include "render/looks.h"

namespace tk {
namespace {

using platform::Cursor;
using platform::DrawMode;
using platform::PColor;

constexpr int kHandleSize = 6;
constexpr int kGripBoxSize = 12;
using looks::kBlack;
using looks::kWhite;
constexpr PColor kSideGuide = 0x0000FF;   // RGB (255, 0, 0): shared left or right edges
constexpr PColor kLevelGuide = 0xFF0000;  // RGB (0, 0, 255): shared top or bottom edges

// Integer division truncates toward zero, so -3 snaps to 0, not to -5.
int Snap(int value, int step) {
  return step > 0 ? value / step * step : value;
}

int Surplus(const Element& e) {
  return e.FrameWidth - e.FrameWidthSet;
}

bool IsSelected(const Element& e) {
  return HasAll(e.Flags, Flag::Selected);
}

bool IsResizeArea(int area) {
  return area >= HitAreaCode::Left && area <= HitAreaCode::BottomLeft;
}

// The new rectangle of one dragged element, as ResizeElement takes it in parent-relative mode;
// kIgnore keeps a value.
struct Placement {
  int x = kIgnore, y = kIgnore, width = kIgnore, height = kIgnore;
};

// Where the element goes for the area taken at the press. (sx, sy) is the snapped position
// the pointer asks for, in the seen (surplus-including) space; `group` is the multi-selection
// variant, whose right edge keeps its distance to the pointer instead of re-measuring.
Placement Plan(const Toolkit& tk, const Element& e, int area, int sx, int sy, bool group) {
  const Root& root = tk.root;
  const int s = tk.dispatch.GridStep;
  const int d = Surplus(e);
  const int px = e.ParentOffsetX() + d, py = e.ParentOffsetY() + d;
  // Moving the left (top) edge keeps the right (bottom) edge where it was.
  const int keptW = e.Frame.w0 + (px - sx);
  const int keptH = e.Frame.h0 + (py - sy);
  // The right (bottom) edge is measured from the frame. A window's frame sits outside the
  // size it is given, other elements' inside.
  const bool window = e.Kind == ElementKind::Window;
  const int rw = Snap(root.MouseX - e.Frame.x0, s);
  const int rh = Snap(root.MouseY - e.Frame.y0, s);
  const int rightW = window ? rw - 2 : rw + 1;
  const int bottomH = window ? rh : rh + 1;

  Placement p;
  switch (area) {
    case HitAreaCode::Left:
      p.x = sx, p.width = keptW;
      break;
    case HitAreaCode::Top:
      p.y = sy, p.height = keptH;
      break;
    case HitAreaCode::Right:
      p.width = group ? sx - px + e.Frame.w0 : rightW;
      break;
    case HitAreaCode::Bottom:
      p.height = bottomH;
      break;
    case HitAreaCode::TopLeft:
      p.x = sx, p.y = sy, p.width = keptW, p.height = keptH;
      break;
    case HitAreaCode::TopRight:
      p.y = sy, p.width = rightW, p.height = keptH;
      break;
    case HitAreaCode::BottomRight:
      p.width = rightW, p.height = bottomH;
      break;
    case HitAreaCode::BottomLeft:
      p.x = sx, p.width = keptW, p.height = bottomH;
      break;
    case HitAreaCode::Move:
      p.x = sx, p.y = sy;
      break;
    default:
      return p;
  }

  // An edge dragged past the opposite one stops one grid step short of it, so the element
  // never turns inside out or vanishes under the pointer.
  // The size here is the frame's: a window's borders, caption and bars, and an element's
  // surplus border, come on top of the step its own size keeps.
  const int least = std::max(1, s);
  const int leastW = least + (window ? std::max(0, e.Frame.w0 - e.Inner.w0) : 2 * d);
  const int leastH = least + (window ? std::max(0, e.Frame.h0 - e.Inner.h0) : 2 * d);
  if (p.width != kIgnore && p.width < leastW) {
    if (p.x != kIgnore) p.x -= leastW - p.width;
    p.width = leastW;
  }
  if (p.height != kIgnore && p.height < leastH) {
    if (p.y != kIgnore) p.y -= leastH - p.height;
    p.height = leastH;
  }
  // Back from the seen position to the offset ResizeElement stores.
  if (p.x != kIgnore) p.x -= d;
  if (p.y != kIgnore) p.y -= d;
  return p;
}

void Apply(Toolkit& tk, Element& e, const Placement& p) {
  if (p.x == kIgnore && p.y == kIgnore && p.width == kIgnore && p.height == kIgnore) return;
  ResizeElement(tk, e, p.x, p.y, p.width, p.height, CoordMode::Parent);
}

// The pointer asks for this seen position: the position at the press plus the pointer's way
// since then. The grab offsets were taken against the stored offset, hence + d.
int Asked(int mouse, int grab, int d, int step) {
  return Snap(mouse - grab + d, step);
}

bool DragOne(Toolkit& tk, int area, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return false;
  const Root& root = tk.root;
  const int s = tk.dispatch.GridStep;
  const int d = Surplus(*e);
  Placement p = Plan(tk, *e, area, Asked(root.MouseX, root.GrabX, d, s),
                     Asked(root.MouseY, root.GrabY, d, s), false);
  if (area == HitAreaCode::Move) {
    SetPointer(tk, Cursor::Move);
    // Inside a container the seen position is one pixel further in than inside a window,
    // as creation places it.
    if (e->Kind != ElementKind::Window && e->ParentID != e->WindowID) {
      p.x -= 1;
      p.y -= 1;
    }
  }
  Apply(tk, *e, p);
  // The resize itself dispatches Move and Resize, which repaint.
  return false;
}

bool DragGroup(Toolkit& tk, int area) {
  // Ids first: resizing runs handlers, which may change the list under a running walk.
  std::vector<int> ids;
  for (const auto& r : tk.root.Elements)
    if (r->Alive && r->DesignSelectable && IsSelected(*r)) ids.push_back(r->ID);
  BusyGuard busy(tk);
  const Root& root = tk.root;
  const int s = tk.dispatch.GridStep;
  for (int id : ids) {
    Element* e = FindElement(tk, id);
    if (e == nullptr || !e->DesignSelectable || !IsSelected(*e)) continue;
    const int d = Surplus(*e);
    const Placement p = Plan(tk, *e, area, Asked(root.MouseX, e->GroupDragX, d, s),
                             Asked(root.MouseY, e->GroupDragY, d, s), true);
    Apply(tk, *e, p);
  }
  return true;
}

// Where the drawn frame line of an element lies: inside the grab band of the surplus.
struct Drawn {
  int x, y, x2, y2;  // x2, y2 one past the last pixel
};
Drawn DrawnFrame(const Element& e) {
  const int d = Surplus(e);
  const int x = e.Frame.x0 + d, y = e.Frame.y0 + d;
  return {x, y, x + e.Frame.w0 - 2 * d, y + e.Frame.h0 - 2 * d};
}

// One alignment guide: the span it covers along its edge, grown by every aligned element.
struct Guide {
  int from, to;
  bool found = false;
  void Cover(int a, int b) {
    from = std::min(from, a);
    to = std::max(to, b);
    found = true;
  }
};

}  // namespace

Cursor PointerForArea(int area) {
  switch (area) {
    case HitAreaCode::Left:
    case HitAreaCode::Right:
      return Cursor::LeftRight;
    case HitAreaCode::Top:
    case HitAreaCode::Bottom:
      return Cursor::UpDown;
    case HitAreaCode::TopLeft:
    case HitAreaCode::BottomRight:
      return Cursor::DiagonalNWSE;
    case HitAreaCode::TopRight:
    case HitAreaCode::BottomLeft:
      return Cursor::DiagonalNESW;
    case HitAreaCode::Move:
      return Cursor::Move;
    default:
      return Cursor::Default;
  }
}

Cursor SetPointer(Toolkit& tk, Cursor shape) {
  DispatchState& ds = tk.dispatch;
  if (tk.root.PointerLock == 0 && shape != ds.PointerShape) {
    tk.platform.SetCursor(shape);
    ds.PointerShape = shape;
  }
  return ds.PointerShape;
}

Cursor SetPointer(Toolkit& tk, int area) {
  return SetPointer(tk, PointerForArea(area));
}

int HitArea(Toolkit& tk, Element& e) {
  Root& root = tk.root;
  DispatchState& ds = tk.dispatch;
  if (root.ButtonHeld != 0) return root.CurrentHitArea;

  const CoordBlock& b = e.Frame;
  const CoordBlock& c = e.Inner;
  const int mx = root.MouseX, my = root.MouseY;
  const bool left = b.x0 <= mx && mx <= c.x0;
  const bool right = c.x0 + c.w0 <= mx && mx <= b.x0 + b.w0;
  const bool top =
      b.y0 <= my && my <= c.y0 - e.CaptionHeight - e.MenuStripHeight - e.ToolStripHeight;
  const bool bottom = c.y0 + c.h0 <= my && my <= b.y0 + b.h0;

  int code = HitAreaCode::None;
  if (HasAll(e.Flags, Flag::SizeGadget)) {
    if (left)
      code = HitAreaCode::Left;
    else if (right)
      code = HitAreaCode::Right;
    if (top)
      code = left ? HitAreaCode::TopLeft : right ? HitAreaCode::TopRight : HitAreaCode::Top;
    else if (bottom)
      code = left    ? HitAreaCode::BottomLeft
             : right ? HitAreaCode::BottomRight
                     : HitAreaCode::Bottom;
  }

  bool onGrip = false, plainBody = false;
  if (HasAll(e.Flags, Flag::MoveArea)) {
    const int fw = e.FrameWidth;
    const bool inside =
        b.x0 + fw < mx && mx < b.x0 + b.w0 - fw && b.y0 + fw < my && my < b.y0 + b.h0 - fw;
    // A selectable element with a corner grip moves by the grip only.
    if (inside && (!e.CornerGrip || !e.DesignSelectable)) code = HitAreaCode::Move;
    if (e.CornerGrip) {
      const int g = 2 * ds.GridStep;
      if (b.x0 <= mx && mx <= b.x0 + g && b.y0 <= my && my <= b.y0 + g) {
        code = HitAreaCode::Move;
        onGrip = true;
      }
    }
    plainBody = code == HitAreaCode::None;
  }

  // Pointer: every border area shows its arrows (the cache makes repeating them free, and
  // sliding along an edge into a corner turns them); the grip shows the four-way arrows; a
  // plain spot of a movable element, or leaving a border area, brings the default back.
  if (IsResizeArea(code))
    SetPointer(tk, code);
  else if (onGrip)
    SetPointer(tk, Cursor::Move);
  else if (plainBody || ds.ResizePointerShown)
    SetPointer(tk, Cursor::Default);
  ds.ResizePointerShown = IsResizeArea(code);

  root.CurrentHitArea = code;
  return code;
}

void SelectElement(Toolkit& tk, int id, bool exclusive) {
  if (exclusive)
    for (const auto& r : tk.root.Elements)
      r->Flags &= ~Flag::Selected;
  if (Element* e = FindElement(tk, id)) e->Flags |= Flag::Selected;
}

bool DragDesign(Toolkit& tk, int area, int id) {
  if (area == HitAreaCode::None) return false;
  // The group moves when one of its members is dragged; anything else dragged while a group
  // is selected (a window by its caption) moves alone.
  const Element* e = FindElement(tk, id);
  if (tk.root.MultiSelect && e != nullptr && e->DesignSelectable && IsSelected(*e))
    return DragGroup(tk, area);
  return DragOne(tk, area, id);
}

void PaintSelectionFrame(Toolkit&, platform::Painter& painter, Element& e) {
  if (e.Hidden || !IsSelected(e)) return;
  const Drawn f = DrawnFrame(e);
  painter.SetMode(DrawMode::Outlined);
  painter.Box(f.x, f.y, f.x2 - f.x, f.y2 - f.y, kBlack);
}

void PaintGuides(Toolkit& tk, platform::Painter& painter, Element& e) {
  if (e.Hidden || !e.DesignSelectable || e.ID == 0) return;
  const Drawn me = DrawnFrame(e);
  Guide left{me.y, me.y2}, right{me.y, me.y2}, top{me.x, me.x2}, bottom{me.x, me.x2};
  for (const auto& r : tk.root.Elements) {
    const Element& other = *r;
    if (&other == &e || !other.DesignSelectable || other.Hidden || !other.Alive) continue;
    if (other.WindowID != e.WindowID || other.ParentID != e.ParentID) continue;
    const Drawn o = DrawnFrame(other);
    if (o.x == me.x) left.Cover(o.y, o.y2);
    if (o.x2 == me.x2) right.Cover(o.y, o.y2);
    if (o.y == me.y) top.Cover(o.x, o.x2);
    if (o.y2 == me.y2) bottom.Cover(o.x, o.x2);
  }
  // Each guide is drawn once over its whole span, on the frame lines it joins.
  painter.SetMode(DrawMode::Default);
  if (left.found) painter.Line(me.x, left.from, 1, left.to - left.from, kSideGuide);
  if (right.found) painter.Line(me.x2 - 1, right.from, 1, right.to - right.from, kSideGuide);
  if (top.found) painter.Line(top.from, me.y, top.to - top.from, 1, kLevelGuide);
  if (bottom.found) painter.Line(bottom.from, me.y2 - 1, bottom.to - bottom.from, 1, kLevelGuide);
}

void PaintHandles(Toolkit&, platform::Painter& painter, Element& e) {
  if (e.Hidden || !IsSelected(e)) return;
  const int h = kHandleSize;
  const int x = e.Frame.x0, y = e.Frame.y0, w = e.Frame.w0, ht = e.Frame.h0;
  auto handle = [&](int hx, int hy) {
    painter.SetMode(DrawMode::Default);
    painter.Box(hx, hy, h, h, kWhite);
    painter.SetMode(DrawMode::Outlined);
    painter.Box(hx, hy, h, h, kBlack);
  };
  if (e.CornerGrip) {
    painter.SetMode(DrawMode::Outlined);
    painter.Box(x, y, kGripBoxSize, kGripBoxSize, kBlack);
  } else {
    handle(x, y);
  }
  handle(x, y + (ht - h) / 2);
  handle(x, y + ht - h);
  handle(x + w - h, y);
  handle(x + w - h, y + (ht - h) / 2);
  handle(x + w - h, y + ht - h);
  handle(x + (w - h) / 2, y);
  handle(x + (w - h) / 2, y + ht - h);
}

}  // namespace tk
