// The TrackBar kind: geometry, the state setter, clicks on the groove stepping the thumb
// towards the pointer, thumb dragging, and the groove and thumb drawing.
#include "elements/trackbar.h"

#include <algorithm>
#include <cmath>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/scrollbar.h"
#include "render/interaction.h"
#include "render/paint.h"

namespace tk {
namespace {

constexpr int kMinThumb = 8;
constexpr Flags64 kPartItemFlags = Flag::Border | 0xC0000;  // 0xC0000: glyph centred both ways
constexpr int kGrooveThickness = 4;
constexpr int kGrooveEnd = 5;   // the groove stops this far from the bar's ends
constexpr int kThumbInset = 5;  // the thumb is this much thinner than the bar
// Where the press that started a drag went down (Grabbed; 0 when no button is held).
constexpr int kGrabbedElsewhere = 1;
constexpr int kGrabbedThumb = 2;

int Nearest(double v) {
  return static_cast<int>(std::lround(v));
}

int Length(const Element& bar) {
  return bar.Vertical != 0 ? bar.Inner.h0 : bar.Inner.w0;
}

// Across the bar the groove and the thumb are both centred, so the thumb rides the groove's
// middle whatever the bar's thickness.
void PlaceItems(Element& bar) {
  if (bar.Items.size() < 2) return;
  Element& groove = *bar.Items[kTrackGrooveItem];
  Element& thumb = *bar.Items[kTrackThumbItem];
  const int W = bar.Inner.w0, H = bar.Inner.h0;
  const int across = bar.Vertical != 0 ? W : H;
  const int grooveAt = (across - kGrooveThickness) / 2;
  const int thumbAcross = across - kThumbInset;
  const int thumbAt = (across - thumbAcross) / 2;
  if (bar.Vertical != 0) {
    groove.Frame.x0 = grooveAt;
    groove.Frame.y0 = kGrooveEnd;
    groove.Frame.w0 = kGrooveThickness;
    groove.Frame.h0 = H - 2 * kGrooveEnd;
    thumb.Frame.x0 = thumbAt;
    thumb.Frame.w0 = thumbAcross;
    thumb.Frame.y0 = Nearest(bar.ThumbPos);
    thumb.Frame.h0 = Nearest(bar.ThumbLength);
  } else {
    groove.Frame.x0 = kGrooveEnd;
    groove.Frame.y0 = grooveAt;
    groove.Frame.w0 = W - 2 * kGrooveEnd;
    groove.Frame.h0 = kGrooveThickness;
    thumb.Frame.y0 = thumbAt;
    thumb.Frame.h0 = thumbAcross;
    thumb.Frame.x0 = Nearest(bar.ThumbPos);
    thumb.Frame.w0 = Nearest(bar.ThumbLength);
  }
}

// The public setter: the scroll bar's value rules, then the track bar's own geometry; posts
// StepUp or StepDown on a change. Returns the direction (0 when nothing changed).
int SetTrackValue(Toolkit& tk, Element& bar, double value) {
  const int direction = SetScrollBarState(bar, value);
  if (direction == 0) return 0;
  RecomputeTrackBar(bar);
  bar.Repaint = 1;
  PostElementEvent(tk, direction > 0 ? ElementEvent::StepUp : ElementEvent::StepDown, bar.ID,
                   bar.HotItem, 0);
  return direction;
}

void SetStateHook(Toolkit& tk, Element& bar, double state) {
  SetTrackValue(tk, bar, state);
}

bool SetAttributeHook(Toolkit&, Element& bar, int code, int64_t value) {
  const int v = static_cast<int>(value);
  if (code == 1) {
    bar.Min = v;
  } else if (code == 2) {
    bar.Max = v < bar.Min ? bar.Min + 1 : v;
  } else {
    return false;
  }
  RecomputeTrackBar(bar);
  bar.Repaint = 1;
  return true;
}

bool GetAttributeHook(Toolkit&, Element& bar, int code, int64_t& value) {
  if (code == 1) {
    value = bar.Min;
  } else if (code == 2) {
    value = bar.Max;
  } else {
    return false;
  }
  return true;
}

void ResizedHook(Toolkit&, Element& bar) {
  RecomputeTrackBar(bar);
}

// The pointer along the bar, relative to it.
int PointerAlong(const Toolkit& tk, const Element& bar) {
  return bar.Vertical != 0 ? tk.root.MouseY - bar.Inner.y0 : tk.root.MouseX - bar.Inner.x0;
}

// A press or release records where the thumb was grabbed; on the groove, with a step, the
// thumb moves one step towards the pointer. A thumb dragged along the groove's middle line
// is often let go beside it, over the groove: that release ends the drag without a step.
void ItemEventHook(Toolkit& tk, Element& bar, EventCode code, int, int item) {
  if (code != ElementEvent::LeftButtonDown && code != ElementEvent::LeftButtonUp) return;
  const int along = PointerAlong(tk, bar);
  const bool endsThumbDrag = code == ElementEvent::LeftButtonUp && bar.Grabbed == kGrabbedThumb;
  bar.GrabX = Nearest(tk.root.MouseX - bar.Inner.x0 - bar.ThumbPos);
  bar.GrabY = Nearest(tk.root.MouseY - bar.Inner.y0 - bar.ThumbPos);
  if (code == ElementEvent::LeftButtonDown)
    bar.Grabbed = item == kTrackThumbItem ? kGrabbedThumb : kGrabbedElsewhere;
  else
    bar.Grabbed = 0;
  if (item != kTrackGrooveItem || bar.ArrowSize == 0 || endsThumbDrag) return;
  // Stored positions grow along the bar; a vertical bar reports them mirrored.
  const bool forward = bar.ThumbPos <= along;
  const int stored = bar.Value + (forward ? bar.ArrowSize : -bar.ArrowSize);
  SetTrackValue(tk, bar, bar.Vertical != 0 ? bar.Min + bar.Max - stored : stored);
}

bool DragHook(Toolkit& tk, Element& bar, EventCode code) {
  if (code == ElementEvent::LeftButtonUp) {
    bar.Grabbed = 0;
    return false;
  }
  if (code != ElementEvent::MouseMove || tk.root.ButtonHeld == 0 || bar.Grabbed == 0) return false;
  const int grab = bar.Vertical != 0 ? bar.GrabY : bar.GrabX;
  // The conversion counts the button size and border from the bar's own start.
  const double pixel = PointerAlong(tk, bar) - grab + bar.FrameWidth;
  // Counted from the minimum; snapped down to the step.
  int value = ScrollPixelToPosition(bar, pixel);
  if (bar.ArrowSize != 0) value = bar.ArrowSize * (value / bar.ArrowSize);
  value += bar.Min;
  return SetTrackValue(tk, bar, value) != 0;
}

void PaintTrackItems(Toolkit& tk, Element& bar, platform::Painter& painter) {
  PlaceItems(bar);
  for (size_t i = 0; i < bar.Items.size() && i < 2; ++i)
    PaintElement(tk, painter, bar, *bar.Items[i], bar.Inner.x0, bar.Inner.y0);
}

}  // namespace

void RecomputeTrackBar(Element& bar) {
  const double track = Length(bar) - 2 * bar.ButtonSize;
  const double range = bar.Max - bar.Min;
  double thumb = range > 0 ? Nearest(track * bar.PageLength / range) : track;
  if (thumb < kMinThumb) thumb = kMinThumb;
  bar.ThumbLength = static_cast<float>(thumb);
  bar.TrackLength = static_cast<int>(std::max(0.0, track));
  // The thumb's place along the track, counted from the minimum and kept on the bar.
  double pos = bar.ButtonSize + (range > 0 ? Nearest((bar.Value - bar.Min) * track / range) : 0);
  const double limit = Length(bar) - bar.ButtonSize;
  if (pos + thumb > limit) pos = limit - thumb;
  bar.ThumbPos = static_cast<float>(std::max<double>(pos, bar.ButtonSize));
  PlaceItems(bar);
}

int TrackBar(Toolkit& tk, int id, int x, int y, int width, int height, int minimum, int maximum,
             Flags64 flags, int parentId) {
  BusyGuard busy(tk);
  const int made = CreateInParent(tk, parentId, [&] {
    return CreateElement(tk, ElementKind::TrackBar, id, x, y, width, height, "", minimum, maximum,
                         0, flags, -1);
  });
  if (made == 0) return 0;
  for (int i = 0; i < 2; ++i)
    AddItem(tk, made, -1, "", -1, kPartItemFlags);
  Element* bar = FindElement(tk, made);
  if (bar == nullptr) return made;
  if (bar->Max < bar->Min) bar->Max = bar->Min + 1;
  // The bar starts at its minimum, which a vertical bar shows at the bottom.
  bar->Value = bar->Vertical != 0 ? bar->Max : bar->Min;
  RecomputeTrackBar(*bar);
  return made;
}

namespace {

// A vertical track bar reads from the bottom up.
double TrackState(Toolkit&, const Element& bar, int) {
  return bar.Vertical != 0 ? bar.Min + bar.Max - bar.Value : bar.Value;
}

}  // namespace

void RegisterTrackBar(Toolkit& tk) {
  // Creation: param1..3 are the range; a track bar shows no text or image.
  {
    constexpr int kButtonSize = 5;
    auto& d = tk.Kind(ElementKind::TrackBar).Defaults;
    d.ButtonSize = kButtonSize;
    d.NoImage = true;
    d.NoText = true;
    d.RangeFromParams = true;
    d.BackColor = StartColor::Track;
    d.FrameColor = StartColor::FieldFrame;
  }
  KindDescriptor& h = tk.Kind(ElementKind::TrackBar);
  h.Traits |= Trait::PartItems | Trait::ModuleAttributes;
  h.SetAttribute = &SetAttributeHook;
  h.GetAttribute = &GetAttributeHook;
  h.SetState = &SetStateHook;
  h.Resized = &ResizedHook;
  h.ItemEvent = &ItemEventHook;
  // Its parts act when chosen.
  h.ChooseItem = &PassToItemEvent;
  h.Drag = &DragHook;
  h.PaintItems = &PaintTrackItems;

  // Source text: the range.
  h.CodeArgs = {KindDescriptor::CodeArg::Min, KindDescriptor::CodeArg::Max};
  // State, copying and parts.
  h.GetState = &TrackState;
  h.CopyParams = &CopyRangeParams;
  h.DressItem = &DressBarPart;
}

}  // namespace tk
