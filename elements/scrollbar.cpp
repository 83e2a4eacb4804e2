// The scroll bar kind: value model, thumb geometry, arrows and thumb dragging, drawing, and
// the layout of the two bars of a scrollable element.
#include "elements/scrollbar.h"

#include <cmath>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/scrollarea.h"
#include "render/interaction.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {
namespace {

constexpr Flags64 kPartItemFlags = Flag::Border | 0xC0000;  // 0xC0000: glyph centred both ways
constexpr int kDefaultPage = 25;
constexpr int kGripSquare = 11;

int Nearest(double v) {
  return static_cast<int>(std::lround(v));
}

int BarLength(const Element& bar) {
  return bar.Vertical != 0 ? bar.Inner.h0 : bar.Inner.w0;
}

bool IsBar(const Element* e) {
  return e != nullptr && e->Alive != 0 && e->Kind == ElementKind::ScrollBar;
}

// Item rectangles relative to the bar's drawing origin; kept up to date with the geometry so
// that hit testing works before the first paint.
void PlaceItems(Element& bar) {
  if (bar.Items.size() < 3) return;
  const int bs = bar.ButtonSize;
  for (size_t i = 0; i < 3; ++i) {
    Element& it = *bar.Items[i];
    if (bar.Vertical != 0) {
      it.Frame.x0 = 1;
      it.Frame.w0 = bar.Inner.w0 - 2;
      it.Frame.h0 = bs - 1;
      if (i == kScrollBackItem) {
        it.Frame.y0 = 1;
      } else if (i == kScrollForwardItem) {
        it.Frame.y0 = bar.Inner.h0 - it.Frame.h0 - 1;
      } else {
        it.Frame.y0 = Nearest(bar.ThumbPos);
        it.Frame.h0 = Nearest(bar.ThumbLength);
      }
    } else {
      it.Frame.y0 = 1;
      it.Frame.h0 = bar.Inner.h0 - 2;
      it.Frame.w0 = bs - 1;
      if (i == kScrollBackItem) {
        it.Frame.x0 = 1;
      } else if (i == kScrollForwardItem) {
        it.Frame.x0 = bar.Inner.w0 - it.Frame.w0 - 1;
      } else {
        it.Frame.x0 = Nearest(bar.ThumbPos);
        it.Frame.w0 = Nearest(bar.ThumbLength);
      }
    }
  }
}

bool SetBarAttribute(Toolkit&, Element& bar, int code, int64_t value) {
  const int v = static_cast<int>(value);
  bool changed = false;
  switch (code) {
    case 1:
      if (v != bar.Min) {
        bar.Min = v;
        changed = true;
      }
      break;
    case 2:
      if (v != bar.Max) {
        bar.Max = v < bar.Min ? bar.Min + 1 : v;
        changed = true;
      }
      break;
    case 3:
      if (v != bar.PageLength) {
        bar.PageLength = bar.Max - bar.Min < v ? bar.Max - bar.Min : v;
        bar.Value = std::abs(bar.Value);
        changed = true;
      }
      break;
    default:
      return false;
  }
  if (changed) {
    RecomputeScrollBar(bar);
    bar.Repaint = 1;
  }
  return true;
}

bool GetBarAttribute(Toolkit&, Element& bar, int code, int64_t& value) {
  switch (code) {
    case 1:
      value = bar.Min;
      break;
    case 2:
      value = bar.Max;
      break;
    case 3:
      value = bar.PageLength;
      break;
    default:
      value = 0;
      break;
  }
  return true;
}

void SetStateHook(Toolkit& tk, Element& bar, double state) {
  SetScrollBarValue(tk, bar.ID, state);
}

void ResizedHook(Toolkit&, Element& bar) {
  RecomputeScrollBar(bar);
}

// Presses and releases on the arrows step; either records where the thumb was grabbed.
void ItemEventHook(Toolkit& tk, Element& bar, EventCode code, int, int item) {
  if (code != ElementEvent::LeftButtonDown && code != ElementEvent::LeftButtonUp) return;
  const Root& root = tk.root;
  bar.GrabX = Nearest(root.MouseX - bar.ThumbPos);
  bar.GrabY = Nearest(root.MouseY - bar.ThumbPos);
  bar.Grabbed = code == ElementEvent::LeftButtonDown ? 1 : 0;
  const int id = bar.ID;
  if (item == kScrollBackItem) {
    SetScrollBarValue(tk, id, bar.Value - bar.ArrowSize);
  } else if (item == kScrollForwardItem) {
    SetScrollBarValue(tk, id, bar.Value + bar.ArrowSize);
  }
}

// Thumb dragging: pointer moves reach the bar whichever item they are over, so the drag
// follows the pointer along the whole bar; only a press that went down on the bar drags.
bool DragHook(Toolkit& tk, Element& bar, EventCode code) {
  if (code == ElementEvent::LeftButtonUp) {
    bar.Grabbed = 0;
    return false;
  }
  if (code != ElementEvent::MouseMove || tk.root.ButtonHeld == 0 || bar.Grabbed == 0) return false;
  const double p = bar.Vertical != 0 ? tk.root.MouseY - bar.GrabY : tk.root.MouseX - bar.GrabX;
  int value = ScrollPixelToPosition(bar, p);
  if (bar.ArrowSize != 0) value = bar.ArrowSize * (value / bar.ArrowSize);
  const int before = bar.Value;
  const int after = SetScrollBarValue(tk, bar.ID, value);
  return after != before;
}

void PaintBarItems(Toolkit& tk, Element& bar, platform::Painter& painter) {
  if (bar.Items.size() < 3) return;
  PlaceItems(bar);
  const int ox = bar.Inner.x0;
  const int oy = bar.Frame.y0 + bar.FrameWidth;
  for (size_t i = 0; i < bar.Items.size() && i < 3; ++i) {
    Element& item = *bar.Items[i];
    PaintElement(tk, painter, bar, item, ox, oy);
    if (i != kScrollThumbItem) continue;
    const int tx = ox + item.Frame.x0, ty = oy + item.Frame.y0;
    painter.SetMode(platform::DrawMode::Default);
    if (bar.Vertical != 0) {
      const int x = tx + (item.Frame.w0 - kGripSquare) / 2;
      const int y = ty + (item.Frame.h0 - kGripSquare) / 2;
      for (int off : {2, 5, 8})
        painter.Line(x, y + off, kGripSquare, 1, bar.FrameColor);
    } else {
      const int x = tx + (item.Frame.w0 - kGripSquare) / 2;
      const int y = ty + (item.Frame.h0 - kGripSquare) / 2;
      for (int off : {2, 5, 8})
        painter.Line(x + off, y, 1, kGripSquare, bar.FrameColor);
    }
  }
}

void ShowBar(Toolkit& tk, Element& bar, bool show) {
  // The bar of a hidden owner (a closed drop-down list, a page not shown) only notes that it
  // is wanted and shows with its owner; shown meanwhile, every layout of a list nobody sees
  // would repaint the scene.
  const Element* owner = FindElement(tk, bar.ParentID);
  if (show && owner != nullptr && owner != &bar && owner->Hidden != 0) {
    bar.HiddenOwn = 0;
    bar.Hidden = 1;
    return;
  }
  HideElement(tk, bar.ID, show ? 0 : 1);
}

// Scroll bar parts: a white line inside the leading edge, and arrows on the two buttons.
void ScrollBarGlyph(platform::Painter& p, const Element& r, int x, int y, int w, int h) {
  p.SetMode(platform::DrawMode::Default);
  if (r.Vertical)
    p.Line(x + 1, y + 1, w - 2, 1, looks::kWhite);
  else
    p.Line(x + 1, y + 1, 1, h - 2, looks::kWhite);
  if (r.ID == 0 || r.ID == 1) {
    const bool back = r.ID == 0;
    const ArrowDirection dir = r.Vertical ? (back ? ArrowDirection::Up : ArrowDirection::Down)
                                          : (back ? ArrowDirection::Left : ArrowDirection::Right);
    PaintArrow(p, x + w / 2, y + h / 2, dir, looks::kGlyphColor);
  }
}

void PaintPartGlyph(Toolkit&, platform::Painter& painter, GlyphPass& g) {
  if (g.isItem) ScrollBarGlyph(painter, g.record, g.x, g.y, g.w, g.h);
}

}  // namespace

int ScrollPositionToPixel(Element& bar, double track) {
  const int range = bar.Max - bar.Min;
  double result;
  if (bar.Value <= 0) {
    bar.Value = 0;
    result = bar.ButtonSize;
  } else {
    const int last = range - bar.PageLength;
    if (bar.Value > last) bar.Value = last;
    result = range != 0 ? bar.ButtonSize + Nearest(bar.Value * track / range) : bar.ButtonSize;
  }
  const double limit = BarLength(bar) - bar.ButtonSize;
  if (result + bar.ThumbLength > limit) result = limit - bar.ThumbLength;
  return Nearest(result);
}

int ScrollPixelToPosition(const Element& bar, double pixel) {
  const int range = bar.Max - bar.Min;
  if (range == 0 || bar.TrackLength <= 0) return 0;
  const double perValue = static_cast<double>(bar.TrackLength) / range;
  int result = Nearest((pixel - bar.ButtonSize - bar.FrameWidth) / perValue);
  if (bar.Kind == ElementKind::TrackBar && bar.Vertical != 0) result = range - result;
  return result;
}

void RecomputeScrollBar(Element& bar) {
  double track = BarLength(bar) - 2 * bar.ButtonSize;
  if (bar.Max == 0) bar.Max = static_cast<int>(track);
  if (bar.PageLength == 0) bar.PageLength = kDefaultPage;
  const double range = bar.Max - bar.Min;
  const double page = bar.PageLength;
  double thumb = range <= page ? track : Nearest(track - track / range * (range - page));
  const double bs = bar.ButtonSize;
  if (bs < track && thumb < bs) {
    track = Nearest(track - (bs - thumb));
    thumb = bs;
  } else if (bs >= track) {
    thumb = track;
  }
  bar.ThumbLength = static_cast<float>(thumb);
  bar.TrackLength = static_cast<int>(track);
  if (track > 0) bar.ThumbPos = static_cast<float>(ScrollPositionToPixel(bar, track));
  PlaceItems(bar);
}

int SetScrollBarState(Element& bar, double value) {
  if (bar.Kind == ElementKind::TrackBar && bar.Vertical != 0) value = bar.Min + bar.Max - value;
  int v = static_cast<int>(value);
  if (v < bar.Min) v = bar.Min;
  if (v == bar.Value) return 0;
  const int next = std::min(v, bar.Max - bar.PageLength);
  if (next == bar.Value) return 0;
  const int direction = v < bar.Value ? 1 : -1;
  bar.Value = next;
  // A track bar lays its thumb out by its own rules; its setter recomputes it.
  if (bar.Kind == ElementKind::ScrollBar) RecomputeScrollBar(bar);
  bar.Repaint = 1;
  return direction;
}

int SetScrollBarValue(Toolkit& tk, int id, double value) {
  BusyGuard busy(tk);
  Element* bar = FindElement(tk, id);
  if (!IsBar(bar)) return 0;
  const int direction = SetScrollBarState(*bar, value);
  const int position = bar->Value;
  const bool vertical = bar->Vertical != 0;
  const int item = bar->HotItem;
  const int ownerId = bar->Attached[0];
  Element* owner = FindElement(tk, ownerId);
  if (owner != nullptr && owner->ListHolder == 0) {
    (vertical ? owner->VScroll : owner->HScroll) = position;
    owner->Repaint = 1;
  }
  if (direction == 0) return position;
  if (Element* window = FindElement(tk, bar->WindowID)) window->Repaint = 1;
  // A scroll area follows its bars: its content moves with the thumb.
  if (owner != nullptr && owner->Kind == ElementKind::ScrollArea)
    SetElementColor(tk, ownerId, vertical ? kScrollAreaScrollY : kScrollAreaScrollX, position);
  PostElementEvent(tk, direction > 0 ? ElementEvent::StepUp : ElementEvent::StepDown, id, item, 0);
  return position;
}

int ScrollBar(Toolkit& tk, int id, int x, int y, int width, int height, int minimum, int maximum,
              int pageLength, Flags64 flags, int parentId, int64_t data) {
  BusyGuard busy(tk);
  const int made = CreateInParent(tk, parentId, [&] {
    return CreateElement(tk, ElementKind::ScrollBar, id, x, y, width, height, "", minimum, maximum,
                         pageLength, flags, -1);
  });
  if (made == 0) return 0;
  if (id == -1) id = made;
  // Creation stored the values raw; the setters below apply their rules to them.
  if (Element* bar = FindElement(tk, id); IsBar(bar)) bar->Min = bar->Max = bar->PageLength = 0;
  SetElementColor(tk, id, 1, minimum);
  SetElementColor(tk, id, 2, maximum);
  SetElementColor(tk, id, 3, pageLength);
  if (data != 0) SetElementData(tk, id, data);
  for (int i = 0; i < 3; ++i)
    AddItem(tk, id, -1, "", -1, kPartItemFlags);
  if (Element* bar = FindElement(tk, id); IsBar(bar)) RecomputeScrollBar(*bar);
  return made;
}

void LayoutScrollBars(Toolkit& tk, Element& owner) {
  if (tk.root.OpenList == owner.ID) return;
  BusyGuard busy(tk);
  const int ownerId = owner.ID;
  const int W = owner.Inner.w0, H = owner.Inner.h0;
  Element* vbar = FindElement(tk, owner.Attached[1]);
  Element* hbar = FindElement(tk, owner.Attached[2]);
  if (!IsBar(vbar)) vbar = nullptr;
  if (!IsBar(hbar)) hbar = nullptr;
  int hb = 0, vb = 0;
  if (hbar != nullptr) {
    const bool fits = hbar->Frame.w0 >= hbar->Max;
    ShowBar(tk, *hbar, !fits);
    if (!fits) hb = hbar->Frame.h0;
  }
  if (vbar != nullptr) {
    const bool fits = vbar->Frame.h0 >= vbar->Max;
    ShowBar(tk, *vbar, !fits);
    if (!fits) vb = vbar->Frame.w0;
  }
  // Bars are the owner's children: their coordinates are relative to its inner rectangle.
  if (hbar != nullptr) {
    const int hid = hbar->ID;
    ResizeElementById(tk, hid, 0, H - hbar->Frame.h0, W - vb, kIgnore);
    if (Element* b = FindElement(tk, hid); IsBar(b)) {
      b->PageLength = b->Frame.w0;
      RecomputeScrollBar(*b);
    }
  }
  if (Element* o = FindElement(tk, ownerId); o != nullptr && vbar != nullptr) {
    if (Element* b = FindElement(tk, o->Attached[1]); IsBar(b)) {
      const int vid = b->ID;
      ResizeElementById(tk, vid, W - b->Frame.w0, 0, kIgnore, H - hb);
      if (Element* again = FindElement(tk, vid); IsBar(again)) {
        again->PageLength = again->Frame.h0;
        RecomputeScrollBar(*again);
      }
    }
  }
}

namespace {

double BarState(Toolkit&, const Element& bar, int) {
  return bar.Value;
}

// A scroll bar owned by another element shows exactly its own length as a page.
void OwnedBarResized(Toolkit&, Element& bar) {
  if (bar.SubLevel != 0) bar.PageLength = bar.Vertical ? bar.Frame.h0 : bar.Frame.w0;
}

}  // namespace

void DressBarPart(Element& owner, Element& item) {
  item.BackColor = kNoColor;
  item.Vertical = HasAny(owner.Flags, Flag::Vertical) ? 1 : 0;
  item.BackgroundMode = Background::Gradient;
}

void RegisterScrollBar(Toolkit& tk) {
  tk.Kind(ElementKind::ScrollBar).ResizedById = &OwnedBarResized;
  // Creation: param1..3 are the range; a bar shows no text or image.
  {
    constexpr int kButtonSize = 17;
    constexpr int kArrowSize = 3;
    auto& d = tk.Kind(ElementKind::ScrollBar).Defaults;
    d.ButtonSize = kButtonSize;
    d.ArrowSize = kArrowSize;
    d.NoImage = true;
    d.NoText = true;
    d.RangeFromParams = true;
    d.BackColor = StartColor::Track;
    d.FrameColor = StartColor::FieldFrame;
  }
  KindDescriptor& h = tk.Kind(ElementKind::ScrollBar);
  h.Traits |= Trait::PartItems | Trait::TracksItems | Trait::ModuleAttributes | Trait::WheelBar;
  h.SetAttribute = &SetBarAttribute;
  h.GetAttribute = &GetBarAttribute;
  h.SetState = &SetStateHook;
  h.Resized = &ResizedHook;
  h.ItemEvent = &ItemEventHook;
  // Its parts act when chosen.
  h.ChooseItem = &PassToItemEvent;
  h.Drag = &DragHook;
  h.PaintItems = &PaintBarItems;

  // Source text: the range and the page length.
  h.CodeArgs = {KindDescriptor::CodeArg::Min, KindDescriptor::CodeArg::Max,
                KindDescriptor::CodeArg::PageLength};
  // State, copying and parts.
  h.GetState = &BarState;
  h.CopyParams = &CopyRangeParams;
  h.DressItem = &DressBarPart;
  // ---- painting
  tk.Kind(ElementKind::ScrollBar).PaintGlyph = &PaintPartGlyph;
}

}  // namespace tk
