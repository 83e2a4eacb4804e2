// The Splitter kind: creation, pane layout, attributes, separator dragging and drawing.
#include "elements/splitter.h"

#include <cmath>
#include <string>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "platform/painter.h"
#include "render/interaction.h"

namespace tk {
namespace {

using platform::Cursor;
using platform::DrawMode;
using platform::Painter;

constexpr platform::PColor kSplitterLineColor = 0x686868;  // RGB(104, 104, 104)
constexpr int kGripRadius = 2;
// The grip dots sit at 0, ±(2r + 2) and ±(2(2r + 2) + 2) from the splitter's middle.
constexpr int kGripInner = 2 * kGripRadius + 2;
constexpr int kGripOuter = 2 * kGripInner + 2;
// The pointer takes the separator one pixel beyond each side.
constexpr int kGrabSlack = 1;

bool IsVertical(const Element& e) {
  return HasAny(e.Flags, Flag::Vertical);
}

// Places one pane at (rx, ry) relative to the splitter's inner rectangle.
void PlacePane(Toolkit& tk, int splitterId, int paneId, int rx, int ry, int w, int h) {
  Element* splitter = FindElement(tk, splitterId);
  Element* pane = FindElement(tk, paneId);
  if (splitter == nullptr || pane == nullptr || pane == splitter) return;
  int baseX = splitter->Inner.x0, baseY = splitter->Inner.y0;
  ResizeElement(tk, *pane, baseX + rx, baseY + ry, w < 0 ? 0 : w, h < 0 ? 0 : h,
                CoordMode::Absolute);
}

// The position as a requested middle of the separator, so re-running the layout keeps it.
int CurrentRequest(const Element& e) {
  return e.SplitterPos + e.SplitterBar / 2;
}

void Redivide(Toolkit& tk, Element& e) {
  int request = CurrentRequest(e);
  // A fixed second pane keeps its size when the splitter changes size.
  if (e.SecondFixed != 0) {
    const Element* second = FindElement(tk, e.Gadget2);
    const int limit = IsVertical(e) ? e.Inner.w0 : e.Inner.h0;
    if (second != nullptr && second->ParentID == e.ID && limit > 0) {
      const int size = IsVertical(e) ? second->Frame.w0 : second->Frame.h0;
      if (size > 0) request = limit - size - e.SplitterBar + e.SplitterBar / 2;
    }
  }
  SplitterLayout(tk, e, request);
}

void SplitterResized(Toolkit& tk, Element& e) {
  Redivide(tk, e);
}

void SplitterSetState(Toolkit& tk, Element& e, double state) {
  SplitterLayout(tk, e, static_cast<int>(std::lround(state)));
}

bool SplitterGetAttribute(Toolkit&, Element& e, int code, int64_t& value) {
  switch (code) {
    case SplitterAttribute::FirstMinimumSize:
      value = e.SplitterFirst;
      return true;
    case SplitterAttribute::SecondMinimumSize:
      value = e.SplitterSecond;
      return true;
    case SplitterAttribute::FirstGadget:
      value = e.Gadget1;
      return true;
    case SplitterAttribute::SecondGadget:
      value = e.Gadget2;
      return true;
    default:
      return false;
  }
}

// Makes `paneId` one of the splitter's panes: the item standing for it names it and the
// element moves into the splitter.
void TakePane(Toolkit& tk, Element& e, int slot, int paneId) {
  (slot == 0 ? e.Gadget1 : e.Gadget2) = paneId;
  if (static_cast<size_t>(slot) < e.Items.size()) e.Items[slot]->Text = std::to_string(paneId);
  if (paneId != e.ID && FindElement(tk, paneId) != nullptr) SetElementParent(tk, paneId, e.ID);
}

bool SplitterSetAttribute(Toolkit& tk, Element& e, int code, int64_t value) {
  const int v = static_cast<int>(value);
  const int id = e.ID;
  BusyGuard busy(tk);
  switch (code) {
    case SplitterAttribute::FirstMinimumSize:
      e.SplitterFirst = v < 0 ? 0 : v;
      break;
    case SplitterAttribute::SecondMinimumSize:
      e.SplitterSecond = v < 0 ? 0 : v;
      break;
    case SplitterAttribute::FirstGadget:
      TakePane(tk, e, 0, v);
      break;
    case SplitterAttribute::SecondGadget:
      TakePane(tk, e, 1, v);
      break;
    default:
      return false;
  }
  // Re-parenting may run handlers; the splitter may be gone afterwards.
  Element* again = FindElement(tk, id);
  if (again != nullptr) {
    SplitterLayout(tk, *again, CurrentRequest(*again));
    again->Repaint = 1;
  }
  return true;
}

// Pointer dragging of the separator. True while a drag consumes the event.
bool SplitterDrag(Toolkit& tk, Element& e, EventCode code) {
  if (e.Hidden) return false;
  DispatchState& ds = tk.dispatch;
  const bool vertical = IsVertical(e);
  const int along = vertical ? tk.root.MouseX - e.Inner.x0 : tk.root.MouseY - e.Inner.y0;
  // The button counts as pressed from the press itself, before the first move reports it.
  const bool pressed = tk.root.ButtonHeld != 0 || tk.loop.PressedCode != 0;
  const bool onSeparator =
      e.SplitterPos - kGrabSlack <= along && along <= e.SplitterPos + e.SplitterBar + kGrabSlack;
  // Leaving the splitter with no button held is leaving the separator too.
  const bool leaving = code == ElementEvent::MouseLeave && !pressed;

  if (onSeparator && !leaving) {
    ds.SplitterDragging = pressed;
    // The pointer cache makes repeating the shape free, and it comes back after anything
    // else changed the pointer in between.
    SetPointer(tk, vertical ? Cursor::LeftRight : Cursor::UpDown);
    ds.SplitterPointerSet = true;
  } else if (!pressed) {
    ds.SplitterDragging = false;
    if (ds.SplitterPointerSet) {
      SetPointer(tk, Cursor::Default);
      ds.SplitterPointerSet = false;
    }
  }
  if (!ds.SplitterDragging || code == ElementEvent::MouseLeave) return false;
  SetElementState(tk, e.ID, along);
  return true;
}

void SplitterPaintItems(Toolkit&, Element& e, Painter& painter) {
  const int x = e.Frame.x0, y = e.Frame.y0, w = e.Frame.w0, h = e.Frame.h0;
  const int pos = e.SplitterPos + e.FrameWidth;
  const int s = e.SplitterBar - 1;
  const bool vertical = IsVertical(e);
  painter.SetMode(DrawMode::Outlined);

  // The list's current item is the one added last.
  if (!e.Items.empty() && HasAny(e.Items.back()->Flags, Flag::Border)) {
    if (vertical) {
      painter.Box(x, y, pos - 1, h, kSplitterLineColor);
      painter.Box(x + pos + s + 1, y, w - (pos + s) - 1, h, kSplitterLineColor);
    } else {
      painter.Box(x, y, w, pos - 1, kSplitterLineColor);
      painter.Box(x, y + pos + s + 1, w, h - (pos + s) - 1, kSplitterLineColor);
    }
  }

  const int centre = (vertical ? x : y) + pos + s / 2;
  if (HasAny(e.Flags, Flag::SplitterGrip)) {
    const double middle = vertical ? y + (h - 2) / 2.0 : x + (w - 2) / 2.0;
    for (int d : {-kGripOuter, -kGripInner, 0, kGripInner, kGripOuter}) {
      const int along = static_cast<int>(std::lround(middle + d));
      if (vertical)
        painter.Circle(centre, along, kGripRadius, kSplitterLineColor);
      else
        painter.Circle(along, centre, kGripRadius, kSplitterLineColor);
    }
  } else if (HasAny(e.Flags, Flag::Separator)) {
    if (vertical)
      painter.Line(centre, y, 1, h, kSplitterLineColor);
    else
      painter.Line(x, centre, w, 1, kSplitterLineColor);
  }
  painter.SetMode(DrawMode::Default);
}

// Shows each state of a pane with items once (each tab of a panel), then the one it had.
// A splitter pane is left alone: its items are its own panes, not pages, and its state reads
// back the separator's start while setting it takes the separator's middle, so a restore
// would move the separator by half its width.
void VisitPaneStates(Toolkit& tk, int paneId) {
  const Element* pane = FindElement(tk, paneId);
  if (pane == nullptr || pane->Kind == ElementKind::Splitter) return;
  const int count = CountItems(tk, paneId);
  if (count <= 0) return;
  const double kept = std::round(GetElementState(tk, paneId));
  for (int i = 0; i < count && FindElement(tk, paneId) != nullptr; ++i)
    SetElementState(tk, paneId, i);
  if (FindElement(tk, paneId) != nullptr) SetElementState(tk, paneId, kept);
}

}  // namespace

int SplitterLayout(Toolkit& tk, Element& splitter, int requested) {
  BusyGuard busy(tk);
  Element& e = splitter;
  const int previous = e.SplitterPos;
  const int bar = e.SplitterBar;
  const bool vertical = IsVertical(e);
  int p = requested - bar / 2;
  if (p < 0) p = 0;
  const int limit = vertical ? e.Inner.w0 : e.Inner.h0;
  if (limit != 0 && p > limit - bar) p = limit - bar;
  if (p <= e.SplitterFirst) return previous;

  const int end = p + bar;
  e.SplitterPos = p;
  e.Repaint = 1;
  if (limit == 0 || end - 1 >= limit - e.SplitterSecond) return previous;

  const int id = e.ID, first = e.Gadget1, second = e.Gadget2;
  const int innerW = e.Inner.w0, innerH = e.Inner.h0;
  if (vertical) {
    PlacePane(tk, id, first, 0, 0, p - 1, innerH);
    PlacePane(tk, id, second, end, 0, innerW - end, innerH);
  } else {
    PlacePane(tk, id, first, 0, 0, innerW, p - 1);
    PlacePane(tk, id, second, 0, end, innerW, innerH - end);
  }
  return previous;
}

int Splitter(Toolkit& tk, int id, int x, int y, int width, int height, int firstId, int secondId,
             Flags64 flags, int parentId) {
  const int result = CreateInParent(tk, parentId, [&] {
    return CreateElement(tk, ElementKind::Splitter, id, x, y, width, height, "", firstId, secondId,
                         0, flags | Flag::BorderLess, -1);
  });

  const Element* e = FindElement(tk, result);
  if (e == nullptr || e->Kind != ElementKind::Splitter) return result;
  const int first = e->Gadget1, second = e->Gadget2;
  VisitPaneStates(tk, first);
  if (second != first) VisitPaneStates(tk, second);
  return result;
}

int64_t SplitterFlagReport(Flags64 flags) {
  int64_t report = 0;
  if (HasAny(flags, Flag::Vertical)) report |= 1;
  if (HasAny(flags, Flag::Separator)) report |= 2;
  if (HasAny(flags, Flag::SplitterGrip)) report = 0x40000;
  if (HasAny(flags, Flag::FirstFixed))
    report |= 4;
  else if (HasAny(flags, Flag::SecondFixed))
    report |= 8;
  return report;
}

namespace {

double SplitterState(Toolkit&, const Element& e, int) {
  return e.SplitterPos;
}

// The separator's thickness follows its look: a grip, a line, or nothing.
constexpr int kGripBar = 6;
constexpr int kSeparatorBar = 4;

void SplitterFlagsApplied(Element& e) {
  e.SplitterBar = HasAny(e.Flags, Flag::SplitterGrip) ? kGripBar
                  : HasAny(e.Flags, Flag::Separator)  ? kSeparatorBar
                                                      : 0;
}

// An item naming one of the two joined elements takes it as that pane.
void PlaceSplitterItem(Toolkit& tk, Element& owner, Element& item) {
  if (item.Text == std::to_string(owner.Gadget1)) {
    item.Flags |= Flag::Border;
    SplitterSetAttribute(tk, owner, SplitterAttribute::FirstGadget, owner.Gadget1);
  }
  if (item.Text == std::to_string(owner.Gadget2)) {
    item.Flags |= Flag::Border;
    SplitterSetAttribute(tk, owner, SplitterAttribute::SecondGadget, owner.Gadget2);
  }
}

void SplitterCreated(Toolkit&, Element& e, const KindDescriptor::CreationArgs& args, Flags64&) {
  e.Gadget1 = args.param1;
  e.Gadget2 = args.param2;
  e.FirstFixed = HasAny(args.flags, Flag::FirstFixed) ? 1 : 0;
  e.SecondFixed = HasAny(args.flags, Flag::SecondFixed) ? 1 : 0;
}

// The two joined gadgets are kept as items named by their ids.
void SplitterPlaced(Toolkit& tk, Element& e) {
  const int id = e.ID;
  const std::string first = std::to_string(e.Gadget1), second = std::to_string(e.Gadget2);
  AddItem(tk, id, -1, first);
  AddItem(tk, id, -1, second);
}

}  // namespace

void RegisterSplitter(Toolkit& tk) {
  // Creation: the splitter joins two gadgets and never takes new elements.
  {
    KindDescriptor& d = tk.Kind(ElementKind::Splitter);
    d.Traits |= Trait::ClosedList | Trait::FollowsAncestors;
    d.Defaults.BackgroundMode = Background::None;
    d.Defaults.BackColor = kIgnore;
    d.ListHolder = KindDescriptor::ContainerList;
    d.Created = &SplitterCreated;
    d.Placed = &SplitterPlaced;
  }
  KindDescriptor& hooks = tk.Kind(ElementKind::Splitter);
  hooks.Traits |= Trait::ModuleAttributes;
  hooks.Resized = &SplitterResized;
  hooks.SetState = &SplitterSetState;
  hooks.GetAttribute = &SplitterGetAttribute;
  hooks.SetAttribute = &SplitterSetAttribute;
  hooks.PaintItems = &SplitterPaintItems;
  hooks.Drag = &SplitterDrag;

  // Source text: the splitter joins its two panes, so their lines come first.
  hooks.CodeArgs = {KindDescriptor::CodeArg::FirstPane, KindDescriptor::CodeArg::SecondPane};
  hooks.Nesting = KindDescriptor::CodeNesting::PanesFirst;
  // State, flags and items.
  hooks.Traits |= Trait::ChangeOnState;
  hooks.GetState = &SplitterState;
  hooks.FlagsApplied = &SplitterFlagsApplied;
  hooks.PlaceItem = &PlaceSplitterItem;
  // Created after its panes and lying over them, it owns only its separator.
  hooks.Traits |= Trait::PassesPointer;
}

}  // namespace tk
