// Item event routing: the items' own interaction state and tooltips, the opening and closing
// of menus, submenus and combo box lists, and the codes posted when an item is chosen.
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"
#include "platform/platform.h"
#include "render/interaction.h"
#include "render/looks.h"

namespace tk {
namespace {

// Menus and combo boxes with this bit paint their hot items with a gradient.
constexpr Flags64 kHotGradient = MakeFlags(0, 0x100);
// The frame drawn around the hot entry of a menu bar or combo box.
constexpr Flags64 kItemFrame = Flag::Border;
constexpr Color kItemBackColor = 0xFFFFFF;

bool IsMenuLike(Toolkit& tk, const Element& e) {
  return tk.Kind(e.Kind).MenuLikeItems;
}

// A list (popup menu or icon list) that serves a combo box carries this role; its SubLevel
// names the combo box, whose ChildHost names the list.
bool IsComboList(const Element& e) {
  return e.ModeField == PopupRole::ComboList;
}

void SetBits(Element& r, int clear, int set) {
  r.RepaintFlags = (r.RepaintFlags & ~clear) | set;
}

// The element a drop-down belongs to: up the parent links of popups and combo lists to the
// menu bar or combo box that opened the chain.
Element* ChainOwner(Toolkit& tk, Element& dropDown) {
  Element* cur = &dropDown;
  for (size_t steps = tk.root.Elements.size(); steps > 0; --steps) {
    if (!tk.Kind(cur->Kind).DropsDown && !IsComboList(*cur)) break;
    Element* up = FindElement(tk, cur->SubLevel);
    if (up == nullptr || up == cur) break;
    cur = up;
  }
  return cur;
}

}  // namespace

void ShowPopupList(Toolkit& tk, int listId, int ownerId, int x, int y) {
  Element* list = FindElement(tk, listId);
  if (list == nullptr) return;
  if (auto show = tk.Kind(list->Kind).ShowPopup) show(tk, *list, ownerId, x, y);
}

void HidePopupList(Toolkit& tk, int listId) {
  Element* list = FindElement(tk, listId);
  if (list == nullptr) return;
  if (auto hide = tk.Kind(list->Kind).HidePopup) {
    hide(tk, *list);
  } else if (list->Hidden == 0) {
    // Not HideElement: for a popup menu that hides every popup, not just this one.
    list->Hidden = 1;
    list->HiddenOwn = 1;
    list->Repaint = 1;
  }
}

void HidePopupsAfter(Toolkit& tk, int afterId) {
  const auto& list = tk.root.Elements;
  const int start = IndexOf(tk.root, FindElement(tk, afterId));
  std::vector<int> shown;
  for (size_t i = static_cast<size_t>(start + 1); i < list.size(); ++i) {
    if (tk.Kind(list[i]->Kind).DropsDown && list[i]->Hidden == 0) shown.push_back(list[i]->ID);
  }
  // Hiding may run the kind's code; the ids are collected first so the walk cannot break.
  for (int id : shown)
    HidePopupList(tk, id);
}

void ClearDropDown(Toolkit& tk) {
  tk.root.PopupUnderPointer = -1;
  tk.root.OpenDropDown = -1;
  tk.root.DropDownOpen = false;
  tk.dispatch.MenuOpen = false;
}

namespace {

// Every item of the owner back to the normal look: nothing hot, pressed or open.
void ResetItems(Toolkit& tk, Element& owner) {
  owner.HotItem = -1;
  owner.OpenTitle = -1;
  const bool menuLike = IsMenuLike(tk, owner);
  const bool gradient = menuLike && HasAll(owner.Flags, kHotGradient);
  for (auto& item : owner.Items) {
    item->HotId = -1;
    item->PressedId = -1;
    SetBits(*item, StateBit::Hot | StateBit::Pressed | StateBit::Focused, StateBit::Normal);
    if (gradient) {
      item->BackColor = kItemBackColor;
      item->BackgroundMode = Background::Plain;
    }
    if (menuLike) item->Flags &= ~kItemFrame;
  }
  owner.Repaint = 1;
}

// Canvas position of the origin that the owner's item coordinates are relative to.
void ItemOrigin(Toolkit& tk, const Element& owner, int& x, int& y) {
  // Rows that scroll sideways move their origin with them.
  const KindDescriptor& kind = tk.Kind(owner.Kind);
  const bool sideways = kind.Has(Trait::ListRows) && kind.Has(Trait::ItemsScrollSideways);
  x = owner.Inner.x0 - (sideways ? owner.HScroll : 0);
  // A window's caption items lie above its inner rectangle, in the caption strip.
  y = owner.Kind == ElementKind::Window ? owner.Frame.y0 + owner.FrameWidth
                                        : owner.Inner.y0 - owner.VScroll;
}

int TextWidth(Toolkit& tk, const Element& owner, const Element& item) {
  platform::Painter& painter = tk.platform.Measurer();
  const int previous = painter.Font();
  const int font = item.FontID != 0 ? item.FontID : owner.FontID;
  painter.SetFont(font != 0 ? font : tk.platform.Fonts().Default());
  const int width = painter.TextWidth(item.Text);
  painter.SetFont(previous);
  return width;
}

// An item whose text does not fit shows its whole text in a tooltip laid over it; otherwise
// its own tooltip text follows the pointer.
void ItemToolTip(Toolkit& tk, const Element& owner, const Element& item, EventCode code) {
  Root& root = tk.root;
  if (CodeHas(code, ElementEvent::MouseEnter)) {
    // Less the owner's shown vertical scroll bar, whichever link holds it (a list names
    // itself first).
    int room = owner.Inner.w0;
    for (int link : owner.Attached) {
      const Element* bar = FindElement(tk, link);
      if (bar != nullptr && bar != &owner && tk.Kind(bar->Kind).Has(Trait::WheelBar) &&
          bar->Vertical != 0 && bar->Hidden == 0) {
        room -= bar->Frame.w0;
        break;
      }
    }
    if (!item.Text.empty() && TextWidth(tk, owner, item) > room) {
      int ox = 0, oy = 0;
      ItemOrigin(tk, owner, ox, oy);
      root.ToolTipX = ox + item.Frame.x0;
      root.ToolTipY = oy + item.Frame.y0;
      root.ToolTipMinWidth = item.Frame.w0;
      root.ToolTipMinHeight = item.Frame.h0;
      root.ToolTipText = item.Text;
    }
    if (root.ToolTipText.empty()) {
      root.ToolTipX = root.MouseX + looks::kToolTipOffsetX;
      root.ToolTipY = root.MouseY + looks::kToolTipOffsetY;
      root.ToolTipMinWidth = 0;
      root.ToolTipMinHeight = 0;
      root.ToolTipText = item.ToolTip;
    }
  }
  if (CodeHas(code, ElementEvent::MouseLeave)) {
    root.ToolTipText.clear();
    root.ToolTipMinWidth = 0;
    root.ToolTipMinHeight = 0;
  }
}

// The hot, pressed and open look of an enabled item, and the drop-down flag of menu bars and
// combo boxes.
void UpdateItemState(Toolkit& tk, Element& owner, Element& item, EventCode code, int index) {
  Root& root = tk.root;
  const bool menuLike = IsMenuLike(tk, owner);
  const bool gradient = menuLike && HasAll(owner.Flags, kHotGradient);

  if (CodeHas(code, ElementEvent::LeftButtonDown)) {
    root.LastPressedItem = index;
    item.PressedId = index;
    SetBits(item, StateBit::Hot, StateBit::Pressed);
    if (menuLike) {
      root.DropDownOpen = !root.DropDownOpen;
      owner.OpenTitle = index;
      if (root.DropDownOpen) item.RepaintFlags |= StateBit::Focused;
    }
  }

  if (!root.DropDownOpen) {
    if (CodeHas(code, ElementEvent::MouseEnter)) {
      item.HotId = index;
      SetBits(item, StateBit::Normal, StateBit::Hot);
      if (gradient) {
        item.BackColor = kNoColor;
        item.BackgroundMode = Background::Gradient;
      }
      if (menuLike) item.Flags |= kItemFrame;
    }
    if (CodeHas(code, ElementEvent::LeftButtonUp)) {
      item.PressedId = -1;
      SetBits(item, StateBit::Pressed, StateBit::Hot);
      if (menuLike) {
        item.RepaintFlags &= ~StateBit::Focused;
        owner.OpenTitle = -1;
      }
    }
    if (CodeHas(code, ElementEvent::MouseLeave)) {
      item.HotId = -1;
      SetBits(item, StateBit::Pressed | StateBit::Hot, StateBit::Normal);
      if (menuLike) {
        item.RepaintFlags &= ~StateBit::Focused;
        if (gradient) {
          item.BackColor = kItemBackColor;
          item.BackgroundMode = Background::Plain;
        }
        item.Flags &= ~kItemFrame;
      }
    }
  } else if (menuLike && tk.Kind(owner.Kind).Has(Trait::Bar)) {
    // Moving along an open menu bar: the title under the pointer is the open one.
    if (CodeHas(code, ElementEvent::MouseEnter)) {
      root.LastPressedItem = index;
      owner.OpenTitle = index;
      item.PressedId = index;
      SetBits(item, StateBit::Hot, StateBit::Pressed | StateBit::Focused);
      item.Flags |= kItemFrame;
    }
    if (CodeHas(code, ElementEvent::MouseLeave)) {
      item.PressedId = -1;
      SetBits(item, StateBit::Pressed | StateBit::Focused, StateBit::Hot);
      item.Flags &= ~kItemFrame;
    }
  }
  owner.Repaint = 1;
}

// A press went to `receiver` while the drop-down `dropDownId` was open. Presses inside the
// open chain (its popups, the list itself, the menu bar or combo box that opened it) leave it
// open: the chain's own routing closes it when an entry is chosen or the opener is pressed
// again.
void LoseDropDown(Toolkit& tk, Element& receiver, int dropDownId) {
  Root& root = tk.root;
  if (!root.DropDownOpen) return;
  Element* dropDown = FindElement(tk, dropDownId);
  Element* owner = dropDown != nullptr ? ChainOwner(tk, *dropDown) : nullptr;
  if (tk.Kind(receiver.Kind).DropsDown || &receiver == dropDown || &receiver == owner) return;
  if (owner != nullptr && owner != dropDown) ResetItems(tk, *owner);
  const int open = root.OpenDropDown;
  HidePopupList(tk, open);
  HidePopupsAfter(tk, open);
  ClearDropDown(tk);
}

}  // namespace

void CloseDropDownChain(Toolkit& tk, Element& dropDown) {
  if (Element* owner = ChainOwner(tk, dropDown); owner != &dropDown) ResetItems(tk, *owner);
  HidePopupsAfter(tk, -1);
  ClearDropDown(tk);
}

void PassToItemEvent(Toolkit& tk, Element& owner, EventCode code, int id, int item) {
  if (auto handler = tk.Kind(owner.Kind).ItemEvent) handler(tk, owner, code, id, item);
}

void RouteItemEvent(Toolkit& tk, Element& owner, EventCode code, int id, int item) {
  if (owner.Alive == 0) return;
  BusyGuard busy(tk);

  // Sent for an open drop-down when a button goes down or after a click; the click path names
  // no item, so this part does not depend on one.
  if (code == ElementEvent::LostFocus) {
    LoseDropDown(tk, owner, id);
    return;
  }

  Element* record = FindItem(owner, item);
  if (record == nullptr) return;
  ItemToolTip(tk, owner, *record, code);
  // Item texts are not edited here: text editing addresses elements by id, and running it for
  // the owner would edit the owner's text a second time after the dispatch did.
  // A disabled item keeps its look, opens nothing and is never chosen.
  if (record->Disabled != 0) return;
  UpdateItemState(tk, owner, *record, code, item);
  if (auto open = tk.Kind(owner.Kind).OpenItems) open(tk, owner, code, id, item);
  if (owner.Alive == 0) return;
  record = FindItem(owner, item);
  if (record == nullptr || record->Disabled != 0) return;
  if (auto choose = tk.Kind(owner.Kind).ChooseItem) choose(tk, owner, code, id, item);
}

}  // namespace tk
