// Coordinates: getters by mode, resizing with descendants following, the recomputation of the
// dependent blocks, and docking.
#include "core/coords.h"

#include <algorithm>
#include <vector>

#include "core/lookup.h"
#include "core/tree.h"

namespace tk {
namespace {

// Dock bits sit in the top byte of the flags. Each of the low four marks an edge of the
// parent's free area that the element sticks to; a side dock sticks to three edges:
//   left 0x0B (left+top+bottom), top 0x07 (left+top+right), right 0x0E, bottom 0x0D,
//   fill 0x0F. Bits 0x10, 0x20 and 0x40 are kept in Flags but do not affect the layout.
constexpr int kDockShift = 56;
constexpr unsigned kEdgeLeft = 0x01, kEdgeTop = 0x02, kEdgeRight = 0x04, kEdgeBottom = 0x08;
constexpr unsigned kTakesLeft = 0x0B, kTakesRight = 0x0E, kTakesTop = 0x07, kTakesBottom = 0x0D;

unsigned DockBits(const Element& e) {
  return static_cast<unsigned>((e.Flags & Flag::DockMask) >> kDockShift);
}
bool HasBits(unsigned bits, unsigned mask) {
  return (bits & mask) == mask;
}

int Surplus(const Element& e) {
  return e.FrameWidth - e.FrameWidthSet;
}
int TopStrips(const Element& e) {
  return e.CaptionHeight + e.MenuStripHeight + e.ToolStripHeight;
}

// The parent record, never the element itself.
Element* ParentOf(Toolkit& tk, Element& e) {
  Element* p = FindElement(tk, e.ParentID);
  return p == &e ? nullptr : p;
}

// One axis of the blocks, so the x and y recomputations share one body.
struct Axis {
  int CoordBlock::*pos0;
  int CoordBlock::*pos1;
  int CoordBlock::*size0;
  int CoordBlock::*size1;
  int CoordBlock::*parentOffset;  // inside InWindow
  bool vertical;
};
constexpr Axis kAxisX{&CoordBlock::x0, &CoordBlock::x1, &CoordBlock::w0,
                      &CoordBlock::w1, &CoordBlock::w0, false};
constexpr Axis kAxisY{&CoordBlock::y0, &CoordBlock::y1, &CoordBlock::h0,
                      &CoordBlock::h1, &CoordBlock::h0, true};

// Insets of the inner rectangle at the start and the end of the axis. A bar (menu, tool bar,
// status bar) lives in its window's strips, so for it the strips do not count.
int LeadInset(const Element& e, const Axis& a, bool forBar) {
  return e.FrameWidth + (a.vertical && !forBar ? TopStrips(e) : 0);
}
int TrailInset(const Element& e, const Axis& a, bool forBar) {
  return e.FrameWidth + (a.vertical && !forBar ? e.StatusStripHeight : 0);
}

// The visible part of a parent that a child (a bar or not) is clipped to along one axis: its
// inner area, except that a border already cut away by the grandparent is not taken off
// twice; and the part a child's inner rectangle is clipped to.
struct VisiblePart {
  int areaPos, areaSize, innerAreaPos, innerAreaSize;
  bool operator==(const VisiblePart&) const = default;
};
VisiblePart VisiblePartOf(const Element& parent, const Axis& a, bool bar) {
  const CoordBlock& pf = parent.Frame;
  const CoordBlock& pc = parent.Clip;
  const int lead = LeadInset(parent, a, bar);
  const int trail = TrailInset(parent, a, bar);
  const int l = pc.*a.pos0 > pf.*a.pos0 ? -lead : 0;
  const int r = pc.*a.pos0 + pc.*a.size0 < pf.*a.pos0 + pf.*a.size0 ? -trail : 0;
  VisiblePart part;
  part.areaPos = pc.*a.pos0 + lead + l;
  part.areaSize = pc.*a.size0 - lead - trail - (l + r);
  part.innerAreaPos = bar ? part.areaPos : pc.*a.pos1;
  part.innerAreaSize = bar ? part.areaSize : pc.*a.size1;
  return part;
}

// Everything of an element that its children's blocks are computed from: while it stays the
// same, a change of the element's frame leaves every descendant as it is (docked children
// aside, which take their share of the inner size). The inner size counts only for an element
// that hosts a scrolled content, which keeps beside its bars.
struct SeenByChildren {
  VisiblePart parts[2][2];  // axis, bar
  int innerX, innerY, hostW, hostH;
  bool operator==(const SeenByChildren&) const = default;
};
SeenByChildren SeenByChildrenOf(const Element& e);

void RecomputeAxis(Toolkit& tk, Element& e, int pos, const Axis& a) {
  CoordBlock& frame = e.Frame;
  CoordBlock& inner = e.Inner;
  CoordBlock& clip = e.Clip;
  const bool given = pos != kIgnore;

  if (given) {
    inner.*a.pos0 = frame.*a.pos0 + LeadInset(e, a, false);
    clip.*a.pos0 = frame.*a.pos0;
    clip.*a.pos1 = inner.*a.pos0;
    const Element* window = FindElement(tk, e.WindowID);
    if (window != nullptr && window != &e) e.InWindow.*a.pos0 = pos - window->Inner.*a.pos0;
  }
  inner.*a.size0 = frame.*a.size0 - LeadInset(e, a, false) - TrailInset(e, a, false);
  clip.*a.size0 = frame.*a.size0;
  clip.*a.size1 = inner.*a.size0;

  int areaPos, areaSize, innerAreaPos, innerAreaSize;
  const Element* parent = ParentOf(tk, e);
  const bool bar = tk.Kind(e.Kind).Has(Trait::Bar);
  if (parent != nullptr) {
    const VisiblePart part = VisiblePartOf(*parent, a, bar);
    areaPos = part.areaPos;
    areaSize = part.areaSize;
    innerAreaPos = part.innerAreaPos;
    innerAreaSize = part.innerAreaSize;
    if (given) e.InWindow.*a.parentOffset = pos - parent->Inner.*a.pos0;
  } else {
    areaPos = clip.*a.pos0;
    areaSize = clip.*a.size0;
    innerAreaPos = clip.*a.pos1;
    innerAreaSize = clip.*a.size1;
    if (given) e.InWindow.*a.parentOffset = pos;
  }

  if (clip.*a.pos0 < areaPos) clip.*a.pos0 = areaPos;
  clip.*a.size0 = frame.*a.size0 - (clip.*a.pos0 - frame.*a.pos0);
  if (clip.*a.pos0 + clip.*a.size0 > areaPos + areaSize) {
    clip.*a.size0 = areaSize - (clip.*a.pos0 - areaPos);
  }

  if (clip.*a.pos1 < innerAreaPos) clip.*a.pos1 = innerAreaPos;
  clip.*a.size1 = inner.*a.size0 - (clip.*a.pos1 - inner.*a.pos0);
  if (clip.*a.pos1 + clip.*a.size1 > innerAreaPos + innerAreaSize) {
    clip.*a.size1 = innerAreaSize - (clip.*a.pos1 - innerAreaPos);
  }

  KeepBesideScrollBars(tk, e);
}

// Places the docked children of `parent` one after another in its inner area. The parent's
// Clip pair 2 ends up holding what they took: x2 at the left, y2 at the top, w2 at the
// right, h2 at the bottom; each child's pair 2 holds the same sums after its own share.
void LayoutDocked(Toolkit& tk, Element& parent) {
  BusyGuard busy(tk);
  const int parentId = parent.ID;
  std::vector<int> docked;
  for (const auto& r : tk.root.Elements) {
    if (r->Alive && r->Docked && r->ParentID == parentId && r.get() != &parent) {
      docked.push_back(r->ID);
    }
  }
  int left = 0, top = 0, right = 0, bottom = 0;
  for (int childId : docked) {
    Element* c = FindElement(tk, childId);
    if (c == nullptr || !parent.Alive) break;
    const unsigned bits = DockBits(*c);
    const int ix = parent.Inner.x0, iy = parent.Inner.y0;
    const int iw = parent.Inner.w0, ih = parent.Inner.h0;
    const int freeW = std::max(0, iw - left - right);
    const int freeH = std::max(0, ih - top - bottom);
    int x = ix + left, y = iy + top, w = c->Frame.w0, h = c->Frame.h0;
    if (HasBits(bits, kEdgeLeft | kEdgeRight)) {
      w = freeW;
    } else if (bits & kEdgeRight) {
      x = ix + iw - right - w;
    }
    if (HasBits(bits, kEdgeTop | kEdgeBottom)) {
      h = freeH;
    } else if (bits & kEdgeBottom) {
      y = iy + ih - bottom - h;
    }
    ResizeElement(tk, *c, x, y, w, h, CoordMode::Absolute);
    if (!c->Alive) continue;
    if (HasBits(bits, kTakesLeft)) left += c->Frame.w0;
    if (HasBits(bits, kTakesRight)) right += c->Frame.w0;
    if (HasBits(bits, kTakesTop)) top += c->Frame.h0;
    if (HasBits(bits, kTakesBottom)) bottom += c->Frame.h0;
    c->Clip.x2 = left;
    c->Clip.y2 = top;
    c->Clip.w2 = right;
    c->Clip.h2 = bottom;
  }
  if (parent.Alive) {
    parent.Clip.x2 = left;
    parent.Clip.y2 = top;
    parent.Clip.w2 = right;
    parent.Clip.h2 = bottom;
  }
}

// After `e` changed: every descendant follows its inner rectangle by (dx, dy) and is clipped
// anew; docked children are laid out again when the size changed; descendants that lay
// themselves out (splitters) do so last.
void FollowDescendants(Toolkit& tk, Element& e, int dx, int dy, bool sizeChanged) {
  const int start = IndexOf(tk.root, &e);
  if (start < 0) return;
  const int selfId = e.ID;
  std::vector<int> followers;
  bool hasDocked = false;
  auto& all = tk.root.Elements;
  for (size_t i = static_cast<size_t>(start) + 1; i < all.size(); ++i) {
    Element& d = *all[i];
    if (!d.Alive || d.ID == selfId || !IsChildOf(tk, d.ID, selfId)) continue;
    d.Frame.x0 += dx;
    d.Frame.y0 += dy;
    SetElementX(tk, d, d.Frame.x0);
    SetElementY(tk, d, d.Frame.y0);
    if (d.Docked && d.ParentID == selfId) hasDocked = true;
    if (tk.Kind(d.Kind).Has(Trait::FollowsAncestors)) followers.push_back(d.ID);
  }
  if (sizeChanged && hasDocked && e.Alive) LayoutDocked(tk, e);
  for (int id : followers) {
    Element* f = FindElement(tk, id);
    if (f == nullptr) continue;
    if (auto relayout = tk.Kind(f->Kind).Resized) relayout(tk, *f);
  }
}

}  // namespace

namespace {

// The one body of the four getters: a position reads pair 0 of the mode's block plus the
// border surplus, a size the same pair less the surplus on both sides (the inner size as is).
int ReadCoordinate(Toolkit& tk, int id, int mode, const Axis& a, bool size) {
  const Element* e = FindElement(tk, id);
  if (e == nullptr || e->Hidden) return 0;
  if (mode == CoordMode::Default) mode = e->ListHolder != 0 ? CoordMode::Inner : CoordMode::Frame;
  const int s = Surplus(*e);
  if (size) {
    switch (mode) {
      case CoordMode::Clip:
        return e->Clip.*a.size0 - 2 * s;
      case CoordMode::Frame:
        return e->Frame.*a.size0 - 2 * s;
      case CoordMode::Inner:
        return e->Inner.*a.size0;
      default:
        return 0;
    }
  }
  switch (mode) {
    case CoordMode::Clip:
      return e->Clip.*a.pos0 + s;
    case CoordMode::Frame:
    case CoordMode::Desktop:
      return e->Frame.*a.pos0 + s;
    case CoordMode::Inner:
      return e->Inner.*a.pos0 + s;
    case CoordMode::Parent:
      return e->InWindow.*a.parentOffset + s;
    case CoordMode::InWindow:
      return e->InWindow.*a.pos0 + s;
    default:
      return 0;
  }
}

}  // namespace

int ElementX(Toolkit& tk, int id, int mode) {
  return ReadCoordinate(tk, id, mode, kAxisX, false);
}
int ElementY(Toolkit& tk, int id, int mode) {
  return ReadCoordinate(tk, id, mode, kAxisY, false);
}
int ElementWidth(Toolkit& tk, int id, int mode) {
  return ReadCoordinate(tk, id, mode, kAxisX, true);
}
int ElementHeight(Toolkit& tk, int id, int mode) {
  return ReadCoordinate(tk, id, mode, kAxisY, true);
}

void KeepBesideScrollBars(Toolkit& tk, Element& e) {
  const Element* area = ParentOf(tk, e);
  // Only the content a parent scrolls: its child host, attached first beside the two bars.
  if (area == nullptr || area->ChildHost != e.ID || area->Attached[0] != e.ID) return;
  for (const Axis& a : {kAxisX, kAxisY}) {
    // The bar that lies across this axis: the vertical bar eats width, the horizontal height.
    const Element* bar = FindElement(tk, area->Attached[a.vertical ? 2 : 1]);
    if (bar == nullptr || bar->Hidden != 0) continue;
    const int thickness = a.vertical ? bar->Frame.h0 : bar->Frame.w0;
    const int limit = area->Inner.*a.pos0 + area->Inner.*a.size0 - thickness;
    CoordBlock& clip = e.Clip;
    clip.*a.size0 = std::max(0, std::min(clip.*a.size0, limit - clip.*a.pos0));
    clip.*a.size1 = std::max(0, std::min(clip.*a.size1, limit - clip.*a.pos1));
  }
}

void SetElementX(Toolkit& tk, Element& e, int x) {
  RecomputeAxis(tk, e, x, kAxisX);
}
void SetElementY(Toolkit& tk, Element& e, int y) {
  RecomputeAxis(tk, e, y, kAxisY);
}

namespace {

SeenByChildren SeenByChildrenOf(const Element& e) {
  SeenByChildren seen;
  for (int bar : {0, 1}) {
    seen.parts[0][bar] = VisiblePartOf(e, kAxisX, bar != 0);
    seen.parts[1][bar] = VisiblePartOf(e, kAxisY, bar != 0);
  }
  seen.innerX = e.Inner.x0;
  seen.innerY = e.Inner.y0;
  const bool host = e.ChildHost >= 0;
  seen.hostW = host ? e.Inner.w0 : 0;
  seen.hostH = host ? e.Inner.h0 : 0;
  return seen;
}

bool HasDockedChild(const Toolkit& tk, const Element& parent) {
  for (const auto& r : tk.root.Elements)
    if (r->Alive && r->Docked && r->ParentID == parent.ID && r.get() != &parent) return true;
  return false;
}

}  // namespace

int ResizeElement(Toolkit& tk, Element& e, int x, int y, int width, int height, int mode) {
  // The kind hook, the splitters and the dispatch may run handlers.
  BusyGuard busy(tk);
  const bool absolute = mode == CoordMode::Absolute;

  if (!absolute) {
    const Element* ref = ParentOf(tk, e);
    if (ref != nullptr) {
      if (mode & CoordMode::InWindow) ref = FindElement(tk, e.WindowID);
      if (mode & CoordMode::Desktop) ref = DesktopElement(tk);
    }
    if (ref != nullptr) {
      if (x != kIgnore) x += ref->Inner.x0;
      if (y != kIgnore) y += ref->Inner.y0;
    }
  }

  const CoordBlock oldFrame = e.Frame;
  const int oldInnerX = e.Inner.x0, oldInnerY = e.Inner.y0;
  const int oldInnerW = e.Inner.w0, oldInnerH = e.Inner.h0;
  // Only what children see needs comparing, so a childless element skips it.
  const bool hasChildren = e.ChildCount != 0;
  const SeenByChildren seenBefore = hasChildren ? SeenByChildrenOf(e) : SeenByChildren{};

  const bool newX = x != kIgnore && (x != e.Frame.x0 || absolute);
  const bool newY = y != kIgnore && (y != e.Frame.y0 || absolute);
  const bool newW = width != kIgnore && (width != e.Frame.w0 || absolute);
  const bool newH = height != kIgnore && (height != e.Frame.h0 || absolute);
  const bool changed = newX || newY || newW || newH;
  if (newX) e.Frame.x0 = x;
  if (newY) e.Frame.y0 = y;
  if (newW) e.Frame.w0 = width;
  if (newH) e.Frame.h0 = height;
  // One pass per axis: placing the position recomputes the size along it as well.
  if (newX || newW) SetElementX(tk, e, newX ? x : kIgnore);
  if (newY || newH) SetElementY(tk, e, newY ? y : kIgnore);

  // Descendants sit relative to the inner rectangle, so they follow its movement (which
  // also covers a border or strip that changed since the last placement).
  const int dx = e.Inner.x0 - oldInnerX;
  const int dy = e.Inner.y0 - oldInnerY;
  const bool moved = e.Frame.x0 != oldFrame.x0 || e.Frame.y0 != oldFrame.y0;
  const bool resized = e.Frame.w0 != oldFrame.w0 || e.Frame.h0 != oldFrame.h0;

  // Descendants first, so a kind that lays its children out itself (a splitter placing its
  // panes) has the last word.
  // Content that grows beyond its view (rows added to a long list) is the common case where
  // nothing its descendants see changes, and walking them all would be wasted.
  if (changed && hasChildren) {
    if (!(SeenByChildrenOf(e) == seenBefore))
      FollowDescendants(tk, e, dx, dy, resized);
    else if ((e.Inner.w0 != oldInnerW || e.Inner.h0 != oldInnerH) && HasDockedChild(tk, e))
      LayoutDocked(tk, e);
  }
  if (auto hook = tk.Kind(e.Kind).Resized) hook(tk, e);
  if (!e.Alive) return changed ? 1 : 0;

  // Only records entered in the id table are announced; items are not.
  const int id = e.ID;
  const bool registered = FindElement(tk, id) == &e;
  if (registered && tk.hooks.DispatchEvent != nullptr) {
    if (moved) tk.hooks.DispatchEvent(tk, ElementEvent::Move, id);
    if (resized && FindElement(tk, id) == &e) {
      tk.hooks.DispatchEvent(tk, ElementEvent::Resize, id);
    }
  }
  return changed ? 1 : 0;
}

int ResizeElementById(Toolkit& tk, int id, int x, int y, int width, int height, int mode) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  BusyGuard busy(tk);

  if (id == tk.root.MainWindow && tk.platform.HostExists()) {
    const platform::Rect host = tk.platform.HostRect();
    const int hx = x == kIgnore ? host.x : x;
    const int hy = y == kIgnore ? host.y : y;
    const int hw = width == kIgnore ? host.w : width;
    const int hh = height == kIgnore ? host.h : height;
    tk.platform.ResizeHost(hx, hy, hw, hh);
    tk.platform.ResizeCanvas(hw, hh);
  }

  // A value read with a getter (which adds the border surplus) can be written back.
  const int s = Surplus(*e);
  if (x != kIgnore) x -= s;
  if (y != kIgnore) y -= s;
  const int result = ResizeElement(tk, *e, x, y, width, height, mode);

  if (e->Alive) {
    if (auto hook = tk.Kind(e->Kind).ResizedById) hook(tk, *e);
  }
  return result;
}

void DockElement(Toolkit& tk, int id, Flags64 flags) {
  const Flags64 dock = flags & Flag::DockMask;
  if (dock == 0) return;
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  e->Flags |= dock;
  e->Docked = 1;
  Element* parent = ParentOf(tk, *e);
  if (parent != nullptr) LayoutDocked(tk, *parent);
}

}  // namespace tk
