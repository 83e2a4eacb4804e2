// The scroll area kind: a content element larger than the visible area, moved by two bars.
#include "elements/scrollarea.h"

#include <algorithm>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/scrollbar.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {
namespace {

using looks::kBarThickness;

// The content size lives in Min (width) and Max (height) and the step in PageLength, where
// copying an element finds a scroll area's creation values; the offsets are HScroll/VScroll.
Element* Bar(Toolkit& tk, const Element& area, int slot) {
  Element* b = FindElement(tk, area.Attached[slot]);
  return b != nullptr && b->Kind == ElementKind::ScrollBar ? b : nullptr;
}

bool GetAreaAttribute(Toolkit&, Element& area, int code, int64_t& value) {
  switch (code) {
    case kScrollAreaInnerWidth:
      value = area.Min;
      break;
    case kScrollAreaInnerHeight:
      value = area.Max;
      break;
    case kScrollAreaScrollX:
      value = area.HScroll;
      break;
    case kScrollAreaScrollY:
      value = area.VScroll;
      break;
    case kScrollAreaStep:
      value = area.PageLength;
      break;
    default:
      value = 0;
      break;
  }
  return true;
}

// Moves the area's offset on one axis through its bar, which clamps it; returns the offset.
int ScrollAxis(Toolkit& tk, int areaId, bool vertical, int v) {
  Element* area = FindElement(tk, areaId);
  if (area == nullptr) return v;
  (vertical ? area->VScroll : area->HScroll) = v;
  Element* bar = Bar(tk, *area, vertical ? 1 : 2);
  if (bar == nullptr) return v;
  const int barId = bar->ID;
  SetScrollBarValue(tk, barId, v);
  bar = FindElement(tk, barId);
  area = FindElement(tk, areaId);
  if (bar == nullptr || area == nullptr) return v;
  v = bar->Value;
  (vertical ? area->VScroll : area->HScroll) = v;
  return v;
}

// Shows the bars the content needs and fits each bar to the view it scrolls. An axis needs
// its bar when the content is longer than the room along it; a shown bar takes its thickness
// off the room across it, which may make the other axis need its bar too. Each bar pages by
// its view and ends where the content's end meets the view's end. Returns the view size; the
// area's offsets follow the bars when the new range clamps them.
void FitBars(Toolkit& tk, int areaId, int& viewW, int& viewH) {
  Element* area = FindElement(tk, areaId);
  if (area == nullptr) return;
  const int W = area->Inner.w0, H = area->Inner.h0;
  const int contentW = area->Min, contentH = area->Max;
  Element* vbar = Bar(tk, *area, 1);
  Element* hbar = Bar(tk, *area, 2);
  const int vbarId = vbar != nullptr ? vbar->ID : -1, hbarId = hbar != nullptr ? hbar->ID : -1;
  const int across = vbar != nullptr ? vbar->Frame.w0 : 0;
  const int along = hbar != nullptr ? hbar->Frame.h0 : 0;
  bool needH = hbar != nullptr && contentW > W;
  bool needV = vbar != nullptr && contentH > H;
  if (needH && !needV) needV = vbar != nullptr && contentH > H - along;
  if (needV && !needH) needH = hbar != nullptr && contentW > W - across;
  viewW = W - (needV ? across : 0);
  viewH = H - (needH ? along : 0);

  auto fit = [&](int barId, bool needed, int content, int view, bool vertical) {
    HideElement(tk, barId, needed ? 0 : 1);
    if (vertical)
      ResizeElementById(tk, barId, W - across, 0, kIgnore, viewH);
    else
      ResizeElementById(tk, barId, 0, H - along, viewW, kIgnore);
    Element* bar = FindElement(tk, barId);
    if (bar == nullptr || bar->Kind != ElementKind::ScrollBar) return;
    bar->Max = std::max(content, bar->Min + 1);
    bar->PageLength = std::clamp(view, 1, bar->Max - bar->Min);
    if (!needed) bar->Value = bar->Min;
    RecomputeScrollBar(*bar);  // also pulls the value back into the new range
    const int value = bar->Value;
    if (Element* a = FindElement(tk, areaId)) (vertical ? a->VScroll : a->HScroll) = value;
  };
  if (hbarId >= 0) fit(hbarId, needH, contentW, viewW, false);
  if (vbarId >= 0) fit(vbarId, needV, contentH, viewH, true);
}

// Sets the content size on one axis and re-fits both bars. The content keeps its own size
// across the axis and only grows to fill the room beside a bar, so setting one dimension
// never cuts off the other.
void SizeAxis(Toolkit& tk, Element& area, bool vertical, int v, int& newW, int& newH) {
  (vertical ? area.Max : area.Min) = v;
  (vertical ? newH : newW) = v;
  const int areaId = area.ID;
  int viewW = area.Inner.w0, viewH = area.Inner.h0;
  FitBars(tk, areaId, viewW, viewH);
  const Element* a = FindElement(tk, areaId);
  if (a == nullptr) return;
  if (vertical)
    newW = std::max(a->Min, viewW);
  else
    newH = std::max(a->Max, viewH);
}

// Offsets the bars changed while fitting move the content with them.
void FollowBars(const Element& area, const Element& content, int& newX, int& newY) {
  if (content.Frame.x0 - area.Inner.x0 != -area.HScroll) newX = -area.HScroll;
  if (content.Frame.y0 - area.Inner.y0 != -area.VScroll) newY = -area.VScroll;
}

bool SetAreaAttribute(Toolkit& tk, Element& area, int code, int64_t value) {
  if (code < kScrollAreaInnerWidth || code > kScrollAreaStep) return false;
  BusyGuard busy(tk);
  const int areaId = area.ID;
  int v = static_cast<int>(value);
  int newX = kIgnore, newY = kIgnore, newW = kIgnore, newH = kIgnore;
  int64_t current = 0;
  GetAreaAttribute(tk, area, code, current);
  if (current == v) return true;
  switch (code) {
    case kScrollAreaScrollX:
      newX = -ScrollAxis(tk, areaId, false, v);
      break;
    case kScrollAreaScrollY:
      newY = -ScrollAxis(tk, areaId, true, v);
      break;
    case kScrollAreaInnerWidth:
    case kScrollAreaInnerHeight: {
      SizeAxis(tk, area, code == kScrollAreaInnerHeight, v, newW, newH);
      const Element* a = FindElement(tk, areaId);
      const Element* content = a != nullptr ? FindElement(tk, a->Attached[0]) : nullptr;
      if (content != nullptr) FollowBars(*a, *content, newX, newY);
      break;
    }
    case kScrollAreaStep:
      area.PageLength = v;
      for (int slot : {1, 2})
        if (Element* b = Bar(tk, area, slot)) b->ArrowSize = v;
      break;
  }
  Element* a = FindElement(tk, areaId);
  if (a == nullptr) return true;
  a->Repaint = 1;
  if (newX != kIgnore || newY != kIgnore || newW != kIgnore || newH != kIgnore)
    ResizeElementById(tk, a->Attached[0], newX, newY, newW, newH);
  return true;
}

// A resized area re-fits its bars to the new view; the content keeps its size and follows
// offsets that the new range clamped.
void ResizedHook(Toolkit& tk, Element& area) {
  BusyGuard busy(tk);
  const int areaId = area.ID;
  int viewW = 0, viewH = 0;
  FitBars(tk, areaId, viewW, viewH);
  const Element* a = FindElement(tk, areaId);
  const Element* content = a != nullptr ? FindElement(tk, a->Attached[0]) : nullptr;
  if (content == nullptr) return;
  int newX = kIgnore, newY = kIgnore;
  FollowBars(*a, *content, newX, newY);
  if (newX != kIgnore || newY != kIgnore)
    ResizeElementById(tk, content->ID, newX, newY, kIgnore, kIgnore);
}

// The area's own bar items, laid out like a bar's parts along its right or bottom edge.
void PaintAreaItems(Toolkit& tk, Element& area, platform::Painter& painter) {
  const int ox = area.Inner.x0;
  const int oy = area.Frame.y0 + area.FrameWidth;
  const int bs = area.ButtonSize;
  for (size_t i = 0; i < area.Items.size() && i < 3; ++i) {
    Element& it = *area.Items[i];
    if (area.Vertical != 0) {
      it.Frame.x0 = area.Inner.w0 - bs;
      it.Frame.w0 = bs;
      it.Frame.h0 = bs;
      if (i == 0) {
        it.Frame.y0 = 0;
      } else if (i == 1) {
        it.Frame.y0 = area.Inner.h0 - it.Frame.h0;
      } else {
        it.Frame.y0 = static_cast<int>(area.ThumbPos + 0.5f);
        it.Frame.h0 = static_cast<int>(area.ThumbLength + 0.5f);
      }
    } else {
      it.Frame.y0 = 1;
      it.Frame.h0 = area.Inner.h0 - 2;
      it.Frame.w0 = bs;
      if (i == 0) {
        it.Frame.x0 = 0;
      } else if (i == 1) {
        it.Frame.x0 = area.Inner.w0 - it.Frame.w0;
      } else {
        it.Frame.x0 = static_cast<int>(area.ThumbPos + 0.5f);
        it.Frame.w0 = static_cast<int>(area.ThumbLength + 0.5f);
      }
    }
    PaintElement(tk, painter, area, it, ox, oy);
  }
}

}  // namespace

int ScrollArea(Toolkit& tk, int id, int x, int y, int width, int height, int innerWidth,
               int innerHeight, int step, Flags64 flags, int parentId) {
  BusyGuard busy(tk);
  const int areaId = CreateElement(tk, ElementKind::ScrollArea, id, x, y, width, height, "",
                                   innerWidth, innerHeight, step, flags, parentId);
  if (areaId == 0) return 0;
  Element* area = FindElement(tk, areaId);
  if (area == nullptr) return 0;
  // Creation stored the values raw; the attribute setters below apply them with their effects.
  area->Min = area->Max = area->PageLength = 0;
  const int W = area->Inner.w0, H = area->Inner.h0;

  // The content comes first in the list so the bars are painted over it.
  const int content =
      CreateElement(tk, ElementKind::Container, -1, 0, 0, W, H, "", -1, -1, 0, 0, areaId);
  CloseList(tk);
  const int vbar =
      ScrollBar(tk, -1, W - kBarThickness, 0, kBarThickness, H, 0, 0, 0, Flag::Vertical, areaId);
  const int hbar = ScrollBar(tk, -1, 0, H - kBarThickness, W, kBarThickness, 0, 0, 0, 0, areaId);
  for (int barId : {vbar, hbar}) {
    if (Element* b = FindElement(tk, barId)) {
      b->Attached[0] = areaId;
      b->SubLevel = 1;
    }
  }
  area = FindElement(tk, areaId);
  if (area == nullptr) return 0;
  area->Attached[0] = content != 0 ? content : -1;
  area->Attached[1] = vbar != 0 ? vbar : -1;
  area->Attached[2] = hbar != 0 ? hbar : -1;
  if (content != 0) {
    OpenList(tk, content);
    if (Element* a = FindElement(tk, areaId)) a->ChildHost = content;
  }
  SetElementColor(tk, areaId, kScrollAreaInnerWidth, innerWidth);
  SetElementColor(tk, areaId, kScrollAreaInnerHeight, innerHeight);
  SetElementColor(tk, areaId, kScrollAreaStep, step);
  return areaId;
}

void RegisterScrollArea(Toolkit& tk) {
  // Creation: param1..3 are the content's range.
  {
    KindDescriptor& d = tk.Kind(ElementKind::ScrollArea);
    d.Defaults.ButtonSize = kBarThickness;
    d.Defaults.BackColor = StartColor::Face;
    d.Defaults.RangeFromParams = true;
    d.ListHolder = KindDescriptor::ContainerList;
  }
  KindDescriptor& h = tk.Kind(ElementKind::ScrollArea);
  h.Traits |= Trait::PartItems | Trait::ModuleAttributes;
  h.GetAttribute = &GetAreaAttribute;
  h.SetAttribute = &SetAreaAttribute;
  h.PaintItems = &PaintAreaItems;
  h.Resized = &ResizedHook;

  // Source text: the inner width, inner height and step (kept in the range fields), then the
  // gadget list its creation opens.
  h.CodeArgs = {KindDescriptor::CodeArg::Min, KindDescriptor::CodeArg::Max,
                KindDescriptor::CodeArg::PageLength};
  h.Nesting = KindDescriptor::CodeNesting::GadgetList;
  // Copying and parts.
  h.CopyParams = &CopyRangeParams;
  h.DressItem = &DressBarPart;
  // ---- painting
  tk.Kind(ElementKind::ScrollArea).Traits |= Trait::ScrollsContent;
}

}  // namespace tk
