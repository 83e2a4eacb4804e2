// Element attributes: text, state, colours, data, font, image, disabled and hidden states,
// item attributes, flag application and removal.
#include "core/attributes.h"

#include <utility>

#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "platform/images.h"

namespace tk {

namespace {

// ColorSet bits: the caller chose the colour, so themes must not replace it.
constexpr int8_t kFrontColorSet = 1;
constexpr int8_t kBackColorSet = 2;

// The element whose items stand for this one (a combo box keeps them in its list).
Element& ItemHolder(Toolkit& tk, Element& e) {
  Element* host = FindElement(tk, e.ChildHost);
  return host != nullptr ? *host : e;
}

// True when the element sits on the tab its parent currently shows (always true off panels).
bool OnCurrentTab(Toolkit& tk, const Element& e) {
  const Element* parent = FindElement(tk, e.ParentID);
  return parent == nullptr || e.TabIndex == parent->CurrentTab;
}

// Walks from `e` up to (not including) `top`; true when any record on the way asks for the
// property on its own. Keeps nested own wishes when an outer container changes.
template <typename Pred>
bool ChainUpTo(Toolkit& tk, const Element& e, int top, Pred pred) {
  const Element* cur = &e;
  size_t steps = tk.root.Elements.size() + 1;
  while (cur != nullptr && cur->ID != top && steps-- > 0) {
    if (pred(*cur)) return true;
    cur = FindElement(tk, cur->ParentID);
  }
  return false;
}

// Re-places an element at its own frame so its inner rectangle and clips are recomputed.
// The record form is used: the id form would take the border surplus off the position.
void Replace(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  ResizeElement(tk, *e, e->Frame.x0, e->Frame.y0, e->Frame.w0, e->Frame.h0, CoordMode::Absolute);
}

}  // namespace

bool IsCaptionButton(const Element& item) {
  const int k = KindValue(item.Kind);
  return k == CaptionButton::Close || k == CaptionButton::Maximize || k == CaptionButton::Minimize;
}

bool HasCaptionItem(const Element& e) {
  return !e.Items.empty() && !IsCaptionButton(*e.Items.front());
}

// ---- Text -------------------------------------------------------------------------------

std::string StoreElementText(Element& e, std::string text) {
  std::string previous = std::exchange(e.Text, std::move(text));
  // The program's own text is no user edit: text input takes it as its new starting point,
  // so no Change follows it.
  e.PreviousText = e.Text;
  e.PreviousTextSet = 1;
  return previous;
}

std::string SetElementText(Toolkit& tk, int id, const std::string& text) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return {};
  auto hook = tk.Kind(e->Kind).SetText;
  std::string previous = hook != nullptr ? hook(tk, *e, text) : StoreElementText(*e, text);
  e->Repaint = 1;
  return previous;
}

std::string GetElementText(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return {};
  auto hook = tk.Kind(e->Kind).GetText;
  return hook != nullptr ? hook(*e) : e->Text;
}

// ---- State ------------------------------------------------------------------------------

void SetElementState(Toolkit& tk, int id, double state) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  BusyGuard busy(tk);
  const uint64_t serial = e->Serial;
  const int previousIndex = e->StateIndex;
  const int value = static_cast<int>(state);

  const KindDescriptor& kind = tk.Kind(e->Kind);
  if (kind.StoreState != nullptr && !kind.StoreState(tk, *e, state)) return;
  if (kind.SetState != nullptr) {
    kind.SetState(tk, *e, state);
    e = FindElement(tk, id);
    if (e == nullptr || e->Serial != serial) return;
  }
  const bool changed = value != previousIndex;
  if (value != e->StateIndex) e->StateIndex = value;
  e->Repaint = 1;

  EventCode event = 0;
  if (kind.StateEvent != nullptr) {
    event = kind.StateEvent(*e, value);
  } else if (kind.Has(Trait::ChangeOnState) && changed) {
    event = ElementEvent::Change;
  }
  if (event != 0) PostElementEvent(tk, event, id, value, 0);
}

double GetStateOf(Toolkit& tk, const Element& e, int depth) {
  const KindDescriptor& kind = tk.Kind(e.Kind);
  if (kind.GetState != nullptr) return kind.GetState(tk, e, depth);
  return kind.Has(Trait::SelectsItem) ? e.StateIndex : -1.0;
}

double GetElementState(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  if (e == nullptr) return -1.0;
  return GetStateOf(tk, *e, 0);
}

// ---- Attributes and colours -------------------------------------------------------------

int64_t GetElementAttribute(Toolkit& tk, int id, int code) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  auto hook = tk.Kind(e->Kind).GetAttribute;
  const bool moduleFirst = tk.Kind(e->Kind).Has(Trait::ModuleAttributes);
  int64_t answer = 0;
  if (moduleFirst && hook != nullptr && hook(tk, *e, code, answer)) {
    return answer;
  }
  switch (code) {
    case Attribute::FrameWidthSet:
      if (e->ListHolder != 0) return e->FrameWidthSet;
      break;
    case Attribute::TopStrips:
      return e->CaptionHeight + e->MenuStripHeight + e->ToolStripHeight;
    case Attribute::BackColor:
      return e->BackColor;
    case Attribute::FrameColor:
      return e->FrameColor;
    case Attribute::HotBackColor:
      return e->HotBackColor;
    case Attribute::StateColor1:
      return e->StateColor1;
    case Attribute::FrontColor:
      return e->FrontColor;
    case Attribute::ItemPadding1:
      return e->ItemPadding1;
    case Attribute::ItemPadding2:
      return e->ItemPadding2;
    case Attribute::ItemIndex:
      return e->ItemIndex;
    default:
      break;
  }
  if (!moduleFirst && hook != nullptr && hook(tk, *e, code, answer)) {
    return answer;
  }
  return 0;
}

int SetElementColor(Toolkit& tk, int id, int code, int64_t value) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  const bool moduleFirst = tk.Kind(e->Kind).Has(Trait::ModuleAttributes);
  if (auto hook = tk.Kind(e->Kind).SetAttribute; moduleFirst && hook != nullptr) {
    if (hook(tk, *e, code, value)) return 0;
  }
  if (code == Attribute::FrontColor) {
    e->FrontColor = value;
    e->ColorSet |= kFrontColorSet;
  } else if (code == Attribute::BackColor) {
    e->BackColor = value;
    e->BackgroundMode = value == kNoColor ? Background::None : Background::Plain;
    e->ColorSet |= kBackColorSet;
  }
  e->Repaint = 1;
  return 0;
}

int64_t SetElementData(Toolkit& tk, int id, int64_t value) {
  Element* e = FindElement(tk, id);
  return e != nullptr ? std::exchange(e->Data, value) : 0;
}

int64_t GetElementData(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e != nullptr ? e->Data : 0;
}

int SetElementFont(Toolkit& tk, int id, int font) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  e->Repaint = 1;
  return std::exchange(e->FontID, font);
}

int SetElementImage(Toolkit& tk, int id, int image) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  e->Repaint = 1;
  if (auto hook = tk.Kind(e->Kind).SetImage) return hook(*e, image);
  return std::exchange(e->Image, image);
}

int SetElementBackImage(Toolkit& tk, int id, int image) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  e->Repaint = 1;
  return std::exchange(e->BackImage, image);
}

int GetElementImage(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e != nullptr ? e->Image : -1;
}

int SetElementParam3(Toolkit& tk, int id, int value) {
  Element* e = FindElement(tk, id);
  return e != nullptr ? std::exchange(e->Param3, value) : -1;
}

// ---- Disabled and hidden states ---------------------------------------------------------

int DisableElement(Toolkit& tk, int id, int state) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  if (state == -1) return e->Disabled;
  const int8_t on = state != 0 ? 1 : 0;
  for (const auto& rec : tk.root.Elements) {
    if (rec.get() == e || !IsDescendant(tk, *rec, id)) continue;
    // Re-enabling gives each descendant back its own wish and that of containers between.
    rec->Disabled =
        on != 0 ? 1 : ChainUpTo(tk, *rec, id, [](const Element& r) { return r.DisabledOwn != 0; });
    rec->Repaint = 1;
  }
  e->Disabled = on;
  e->DisabledOwn = on;
  e->Repaint = 1;
  return -1;
}

int IsDisabled(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e != nullptr ? e->Disabled : 0;
}

int HideElement(Toolkit& tk, int id, int state) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  const int8_t on = state != 0 ? 1 : 0;
  e->HiddenOwn = on;
  if (auto hook = tk.Kind(e->Kind).Hide) return hook(tk, *e, state);
  const int previous = e->Hidden;
  if (on == e->Hidden) return previous;
  // Shown only where its parent is: under a hidden parent (a page not shown) it stays
  // hidden until the parent shows.
  const Element* parent = FindElement(tk, e->ParentID);
  const bool parentHidden = parent != nullptr && parent != e && parent->Hidden != 0;
  if (OnCurrentTab(tk, *e)) e->Hidden = on != 0 || parentHidden ? 1 : 0;
  e->Repaint = 1;

  bool hasChildren = false;
  for (const auto& rec : tk.root.Elements) {
    if (rec.get() == e || !IsDescendant(tk, *rec, id)) continue;
    hasChildren = true;
    // Showing restores what each descendant (and every container between) asked for and
    // keeps elements of tabs not shown hidden.
    rec->Hidden = e->Hidden != 0 ? 1 : ChainUpTo(tk, *rec, id, [&tk](const Element& r) {
      return r.HiddenOwn != 0 || !OnCurrentTab(tk, r);
    });
    rec->Repaint = 1;
  }
  // Without children, the elements attached to it (its scroll bars) go with it. Only those
  // that are attached to it: a bar's own link names its owner, which must stay as it is.
  if (!hasChildren) {
    for (int link : e->Attached) {
      Element* attached = FindElement(tk, link);
      if (attached != nullptr && attached != e && attached->Attached[0] == id)
        attached->Hidden = e->Hidden;
    }
  }
  return previous;
}

// ---- Items ------------------------------------------------------------------------------

int CountItems(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  return static_cast<int>(ItemHolder(tk, *e).Items.size());
}

void ClearItems(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  e->Text.clear();
  Element& holder = ItemHolder(tk, *e);
  if (&holder != e) holder.Hidden = 1;
  holder.Items.clear();
  holder.ItemMap.clear();
  // Layout starts again from the first position.
  holder.RunX = 0;
  holder.RunY = 0;
  holder.ItemHeight = 0;
  holder.SeparatorCount = 0;
  if (!tk.Kind(holder.Kind).Has(Trait::FixedItemWidth)) holder.ItemWidth = 0;
  holder.HotItem = -1;
  holder.PressedItem = -1;
  holder.OpenTitle = -1;
  // The selected item is gone, and so is a combo box's selection of it.
  if (tk.Kind(holder.Kind).Has(Trait::SelectsItem)) holder.StateIndex = -1;
  if (auto hook = tk.Kind(e->Kind).ItemsCleared) hook(tk, *e);
  e->Repaint = 1;
}

int64_t SetItemData(Toolkit& tk, int id, int index, int64_t value) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  Element* item = FindItem(ItemHolder(tk, *e), index);
  return item != nullptr ? std::exchange(item->Data, value) : 0;
}

int64_t GetItemData(Toolkit& tk, int id, int index) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  const Element* item = FindItem(ItemHolder(tk, *e), index);
  return item != nullptr ? item->Data : 0;
}

void DisableItem(Toolkit& tk, int id, int index, int state) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  if (Element* item = FindItem(ItemHolder(tk, *e), index)) {
    item->Disabled = state != 0 ? 1 : 0;
    e->Repaint = 1;
  }
}

double GetItemState(Toolkit& tk, int id, int index) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return -1.0;
  auto hook = tk.Kind(e->Kind).ItemState;
  return hook != nullptr ? hook(*e, index) : -1.0;
}

void CopyRangeParams(const Element& e, int& p1, int& p2, int& p3) {
  p1 = e.Min;
  p2 = e.Max;
  p3 = e.PageLength;
}

void CopyImageParams(const Element& e, int& p1, int& p2, int&) {
  p1 = e.Image;
  p2 = e.Image2;
}

int CopyElement(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return -1;
  int p1 = 0, p2 = 0, p3 = 0;
  if (auto hook = tk.Kind(e->Kind).CopyParams) hook(*e, p1, p2, p3);
  // The copy lands beside the original; the caller's open list stays as it was.
  Root& root = tk.root;
  const int savedOpen = root.OpenList;
  const int savedWindow = root.CurrentWindow;
  root.CurrentWindow = e->WindowID;
  const std::string text = GetElementText(tk, id);
  CreateElement(tk, e->Kind, -1, e->ParentOffsetX(), e->ParentOffsetY(), e->Frame.w0, e->Frame.h0,
                text, p1, p2, p3, e->Flags, e->ParentID);
  root.OpenList = savedOpen;
  root.CurrentWindow = savedWindow;
  return -1;
}

int ItemUnderMouse(Toolkit& tk, Element& e) {
  if (e.Hidden != 0 || e.Disabled != 0) return -1;
  const int pad = e.ItemPadding1 + e.ItemPadding2;
  const int shift = tk.Kind(e.Kind).Has(Trait::ScrollsItemsX) ? e.HScroll : 0;
  auto scan = [&](const std::vector<std::unique_ptr<Element>>& list) {
    int found = -1;  // the last match wins: later items lie on top
    for (size_t i = 0; i < list.size(); ++i) {
      const Element& it = *list[i];
      const int x = it.Frame.x0 - shift;
      if (it.Frame.y0 < e.MouseY && e.MouseY <= it.Frame.y0 + it.Frame.h0 && x - pad <= e.MouseX &&
          e.MouseX < x + it.Frame.w0 + pad) {
        // Items are known by their index; columns by their position.
        found = &list == &e.Items ? it.Index : static_cast<int>(i);
      }
    }
    return found;
  };
  e.HotItem = scan(e.Items);
  if (!e.Columns.empty()) e.HotColumn = scan(e.Columns);
  return e.HotItem;
}

bool HoldsImage(const platform::ImageStore& images, const Element& e) {
  return e.Image > 0 && images.IsImage(e.Image);
}

// ---- Flags ------------------------------------------------------------------------------

Flags64 SetElementFlags(Toolkit& tk, int id, Flags64 flags) {
  return SetElementFlags(tk, id, flags, true);
}

Flags64 SetElementFlags(Toolkit& tk, int id, Flags64 flags, bool place) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  const KindDescriptor& kind = tk.Kind(e->Kind);
  BusyGuard busy(tk);  // adding caption items and re-placing may run handlers
  const Flags64 previous = e->Flags;
  if (kind.ApplyFlags != nullptr) {
    if (!kind.ApplyFlags(tk, *e, flags)) return 1;
    e = FindElement(tk, id);
    if (e == nullptr) return previous;
  }

  e->Flags |= flags;
  if (HasAny(e->Flags, Flag::BorderLess)) {
    e->Flags &= ~Flag::Border;
    e->FrameWidth = e->FrameWidthSet = 0;
  } else {
    e->Flags &= ~Flag::BorderLess;
    e->Flags |= Flag::Border;
    e->FrameWidth = e->FrameWidthSet = HasAny(e->Flags, Flag::Double | Flag::Raised) ? 2 : 1;
  }
  if (HasAny(e->Flags, Flag::SizeGadget)) e->FrameWidth = 4;
  // A page's body is what its children sit on: pass-through (how the designer makes its
  // panels) leaves it painted.
  if (HasAny(e->Flags, Flag::PassThrough) && !kind.Has(Trait::Pages))
    e->BackgroundMode = Background::None;
  if (kind.FlagsApplied != nullptr) kind.FlagsApplied(*e);
  e->Repaint = 1;
  if (place) Replace(tk, id);
  return previous;
}

bool RemoveElementFlags(Toolkit& tk, int id, Flags64 flags) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return false;
  BusyGuard busy(tk);
  e->Flags &= ~flags;
  if (HasAny(LowWord(flags), LowWord(Flag::Double))) {
    e->Flags &= ~Flag::Border;
    e->Flags |= Flag::BorderLess;
    e->FrameWidthSet = 0;
  }
  bool itemsChanged = false;
  if (HasAny(flags, Flag::TitleBar)) {
    e->CaptionHeight = 0;
    e->Flags &= ~Flag::MoveArea;
    if (HasCaptionItem(*e)) {
      RemoveItemRecord(tk, *e, 0);
      itemsChanged = true;
    }
  }
  if (HasAll(flags, Flag::SystemMenu)) {
    for (size_t i = e->Items.size(); i-- > 0;) {
      if (!IsCaptionButton(*e->Items[i])) continue;
      RemoveItemRecord(tk, *e, i);
      itemsChanged = true;
    }
  }
  if (itemsChanged) {
    e->HotItem = -1;
    e->PressedItem = -1;
  }
  const bool result = (e->Flags & flags) == 0;
  e->Repaint = 1;
  Replace(tk, id);
  return result;
}

}  // namespace tk
