// Item event routing: the items' own interaction state and tooltips, the opening and closing
// of menus, submenus and combo box lists, and the codes posted when an item is chosen.
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"
#include "platform/platform.h"
#include "render/interaction.h"

namespace tk {
namespace {

// A list (popup menu or icon list) that serves a combo box carries this mode; its SubLevel
// names the combo box, whose ChildHost names the list.
// Menus and combo boxes with this bit paint their hot items with a gradient.
constexpr Flags64 kHotGradient = MakeFlags(0, 0x100);
// The frame drawn around the hot entry of a menu bar or combo box.
constexpr Flags64 kItemFrame = Flag::Border;
constexpr Color kItemBackColor = 0xFFFFFF;

constexpr int kToolTipOffsetX = 8;
constexpr int kToolTipOffsetY = 16;

// Window items: the caption comes first; caption buttons carry their flag bit as kind.
constexpr int kCaptionItem = 0;
constexpr int kMaximizeItem = 2;
constexpr int kMaximizeButton = 0x80;

// Items of the position picker that stand for edges, corners and the centre.
constexpr int kPickerFirstItem = 1;
constexpr int kPickerLastItem = 10;

// ListIcon rows with check boxes: the box lies between these offsets from the frame's left
// edge and the row's text.
constexpr int kCheckColumnLeft = 6;
constexpr int kCheckColumnGap = 3;

bool IsClick(EventCode code) {
  return code == ElementEvent::LeftClick || code == ElementEvent::RightClick ||
         code == ElementEvent::MiddleClick;
}

bool IsMenuOrCombo(const Element& e) {
  return e.Kind == ElementKind::Menu || e.Kind == ElementKind::ComboBox;
}

bool IsComboList(const Element& e) {
  return e.ModeField == PopupRole::ComboList;
}

void SetBits(Element& r, int clear, int set) {
  r.RepaintFlags = (r.RepaintFlags & ~clear) | set;
}

// The popup menu that an item opens, or nullptr.
Element* PopupOf(Toolkit& tk, const Element& item) {
  if (item.Attached[0] <= 0) return nullptr;
  Element* popup = FindElement(tk, item.Attached[0]);
  return popup != nullptr && popup->Kind == ElementKind::PopupMenu ? popup : nullptr;
}

// The element a drop-down belongs to: up the parent links of popups and combo lists to the
// menu bar or combo box that opened the chain.
Element* ChainOwner(Toolkit& tk, Element& dropDown) {
  Element* cur = &dropDown;
  for (size_t steps = tk.root.Elements.size(); steps > 0; --steps) {
    if (cur->Kind != ElementKind::PopupMenu && !IsComboList(*cur)) break;
    Element* up = FindElement(tk, cur->SubLevel);
    if (up == nullptr || up == cur) break;
    cur = up;
  }
  return cur;
}

void ShowList(Toolkit& tk, int listId, int ownerId, int x, int y) {
  Element* list = FindElement(tk, listId);
  if (list == nullptr) return;
  if (auto show = tk.Kind(list->Kind).ShowPopup) show(tk, *list, ownerId, x, y);
}

void HideList(Toolkit& tk, int listId) {
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

// Hides the shown popup menus that come after `afterId` in the element list (all of them for
// an id that names nothing): submenus always come after the menu they open from.
void HidePopupsAfter(Toolkit& tk, int afterId) {
  const auto& list = tk.root.Elements;
  const int start = IndexOf(tk.root, FindElement(tk, afterId));
  std::vector<int> shown;
  for (size_t i = static_cast<size_t>(start + 1); i < list.size(); ++i) {
    if (list[i]->Kind == ElementKind::PopupMenu && list[i]->Hidden == 0)
      shown.push_back(list[i]->ID);
  }
  // Hiding may run the kind's code; the ids are collected first so the walk cannot break.
  for (int id : shown)
    HideList(tk, id);
}

void ClearDropDown(Toolkit& tk) {
  tk.root.PopupUnderPointer = -1;
  tk.root.OpenDropDown = -1;
  tk.root.DropDownOpen = false;
  tk.dispatch.MenuOpen = false;
}

// Every item of the owner back to the normal look: nothing hot, pressed or open.
void ResetItems(Element& owner) {
  owner.HotItem = -1;
  owner.OpenTitle = -1;
  const bool menuLike = IsMenuOrCombo(owner);
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
void ItemOrigin(const Element& owner, int& x, int& y) {
  x = owner.Inner.x0 - (owner.Kind == ElementKind::ListIcon ? owner.HScroll : 0);
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
      if (bar != nullptr && bar != &owner && bar->Kind == ElementKind::ScrollBar &&
          bar->Vertical != 0 && bar->Hidden == 0) {
        room -= bar->Frame.w0;
        break;
      }
    }
    if (!item.Text.empty() && TextWidth(tk, owner, item) > room) {
      int ox = 0, oy = 0;
      ItemOrigin(owner, ox, oy);
      root.ToolTipX = ox + item.Frame.x0;
      root.ToolTipY = oy + item.Frame.y0;
      root.ToolTipMinWidth = item.Frame.w0;
      root.ToolTipMinHeight = item.Frame.h0;
      root.ToolTipText = item.Text;
    }
    if (root.ToolTipText.empty()) {
      root.ToolTipX = root.MouseX + kToolTipOffsetX;
      root.ToolTipY = root.MouseY + kToolTipOffsetY;
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
  const bool menuLike = IsMenuOrCombo(owner);
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
  } else if (owner.Kind == ElementKind::Menu) {
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

void ShowSubmenu(Toolkit& tk, Element& popup, const Element& item, int submenuId) {
  ShowList(tk, submenuId, popup.ID, popup.Frame.x0 + popup.Frame.w0,
           popup.Inner.y0 + item.Frame.y0);
}

void RouteComboBox(Toolkit& tk, Element& combo, EventCode code) {
  Root& root = tk.root;
  if (code != ElementEvent::LeftButtonDown) return;
  Element* list = FindElement(tk, combo.ChildHost);
  if (list == nullptr || list == &combo) return;
  const int listId = list->ID;
  if (!root.DropDownOpen) {
    HideList(tk, root.OpenDropDown);
    ClearDropDown(tk);
    return;
  }
  root.OpenDropDown = listId;
  ResizeElement(tk, *list, kIgnore, kIgnore, combo.Inner.w0 + 2, kIgnore);
  if (!combo.Alive) return;
  ShowList(tk, listId, combo.ID, combo.Inner.x0 - 1, combo.Inner.y0 + combo.Inner.h0);
  list = FindElement(tk, listId);
  if (list != nullptr && list->PressedItem == -1 && !list->Items.empty())
    list->PressedItem = list->StateIndex >= 0 ? list->StateIndex : 0;
  combo.HotItem = -1;
  combo.OpenTitle = -1;
}

void RouteMenuBar(Toolkit& tk, Element& bar, EventCode code, int index) {
  Root& root = tk.root;
  const Element* title = FindItem(bar, index);
  if (title == nullptr) return;
  Element* popup = PopupOf(tk, *title);
  const int popupId = popup != nullptr ? popup->ID : -1;
  const int x = bar.Frame.x0 + title->Frame.x0;
  const int y = bar.Frame.y0 + bar.Frame.h0;

  if (code == ElementEvent::LeftButtonDown) {
    tk.dispatch.MenuOpen = !tk.dispatch.MenuOpen;
    if (popupId < 0) return;
    if (!tk.dispatch.MenuOpen) {
      HideList(tk, root.OpenDropDown);
      HidePopupsAfter(tk, root.OpenDropDown);
      ClearDropDown(tk);
    } else {
      root.OpenDropDown = popupId;
      ShowList(tk, popupId, bar.ID, x, y);
    }
  } else if (code == ElementEvent::MouseEnter && tk.dispatch.MenuOpen) {
    // Moving to the next title while a menu is open switches menus without a click.
    HidePopupsAfter(tk, bar.ID);
    if (popupId < 0 || !bar.Alive) return;
    root.OpenDropDown = popupId;
    ShowList(tk, popupId, bar.ID, x, y);
  }
}

void RoutePopupMenu(Toolkit& tk, Element& popup, EventCode code, int index) {
  Root& root = tk.root;
  const Element* entry = FindItem(popup, index);
  if (entry == nullptr) return;
  const Element* submenu = PopupOf(tk, *entry);
  const int submenuId = submenu != nullptr ? submenu->ID : -1;

  if (code == ElementEvent::MouseEnter) {
    root.PopupUnderPointer = popup.ID;
    if (submenuId >= 0) {
      ShowSubmenu(tk, popup, *entry, submenuId);
    } else {
      HidePopupsAfter(tk, popup.ID);  // the submenu a sibling entry had open
    }
    return;
  }
  if (!IsClick(code)) return;
  if (submenuId >= 0) {
    ShowSubmenu(tk, popup, *entry, submenuId);
    return;
  }
  // A leaf entry: take the choice and close the whole chain.
  if (IsComboList(popup)) {
    popup.OpenTitle = index;
    popup.StateIndex = index;  // the combo's state is its list's selection
    if (Element* combo = FindElement(tk, popup.SubLevel); combo != nullptr && combo != &popup) {
      combo->PressedItem = index;
      SetElementText(tk, combo->ID, entry->Text);
    }
  }
  if (Element* owner = ChainOwner(tk, popup); owner != &popup) ResetItems(*owner);
  HidePopupsAfter(tk, -1);
  ClearDropDown(tk);
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
  if (receiver.Kind == ElementKind::PopupMenu || &receiver == dropDown || &receiver == owner)
    return;
  if (owner != nullptr && owner != dropDown) ResetItems(*owner);
  const int open = root.OpenDropDown;
  HideList(tk, open);
  HidePopupsAfter(tk, open);
  ClearDropDown(tk);
}

// Opening and closing by owner kind.
void OpenAndClose(Toolkit& tk, Element& owner, EventCode code, int id, int index) {
  switch (owner.Kind) {
    case ElementKind::PositionPicker:
      if (code == ElementEvent::LeftButtonDown && index >= kPickerFirstItem &&
          index <= kPickerLastItem) {
        if (auto handler = tk.Kind(owner.Kind).ItemEvent) handler(tk, owner, code, id, index);
      }
      break;
    case ElementKind::ComboBox:
      RouteComboBox(tk, owner, code);
      break;
    case ElementKind::Menu:
      RouteMenuBar(tk, owner, code, index);
      break;
    case ElementKind::PopupMenu:
      RoutePopupMenu(tk, owner, code, index);
      break;
    default:
      break;
  }
}

// A ListIcon press: the check-box column toggles the row's check; elsewhere the row becomes
// the selected one. A ListIcon serving as a combo box list reports to the combo box.
void PressListIconRow(Toolkit& tk, Element& list, Element& row, int index) {
  const Element* combo = IsComboList(list) ? FindElement(tk, list.SubLevel) : nullptr;
  const int target = combo != nullptr ? combo->ID : list.ID;
  // The check column scrolls sideways with the rows.
  const int mx = tk.root.MouseX + list.HScroll;
  const bool checkColumn = HasAny(list.Flags, Flag::CheckBoxes) &&
                           mx >= list.Frame.x0 + kCheckColumnLeft &&
                           mx <= list.Frame.x0 + row.Frame.x0 - kCheckColumnGap;
  if (checkColumn) {
    row.Checked = row.Checked != 0 ? 0 : 1;
    row.InBetween = 0;
    list.StateIndex = index;
    list.Repaint = 1;
    PostElementEvent(tk, ElementEvent::Change, target, index, 0);
  } else if (list.StateIndex != index) {
    list.StateIndex = index;
    list.Repaint = 1;
    PostElementEvent(tk, ElementEvent::Change, target, index, 0);
  }
}

// What choosing an enabled item means for its owner.
void ChooseItem(Toolkit& tk, Element& owner, EventCode code, int id, int index) {
  Element* item = FindItem(owner, index);
  if (item == nullptr) return;
  switch (owner.Kind) {
    case ElementKind::Menu:
    case ElementKind::PopupMenu:
      if (!IsClick(code)) break;
      if (owner.Kind == ElementKind::PopupMenu && IsComboList(owner)) {
        if (Element* combo = FindElement(tk, owner.SubLevel); combo != nullptr && combo != &owner)
          PostElementEvent(tk, ElementEvent::Change, combo->ID, index, 0);
      } else if (PopupOf(tk, *item) == nullptr) {
        PostElementEvent(tk, ElementEvent::MenuEvent, owner.ID, item->ID, 0);
      }
      break;
    case ElementKind::Spin:
    case ElementKind::TrackBar:
    case ElementKind::ScrollBar:
      if (auto handler = tk.Kind(owner.Kind).ItemEvent) handler(tk, owner, code, id, index);
      break;
    case ElementKind::ToolBar:
      if (code == ElementEvent::LeftClick && index == owner.PressedItem)
        PostElementEvent(tk, ElementEvent::MenuEvent, owner.ID, item->ID, 0);
      break;
    case ElementKind::ListIcon:
      if (code == ElementEvent::LeftButtonDown) PressListIconRow(tk, owner, *item, index);
      break;
    case ElementKind::ListView:
    case ElementKind::Panel:
      if (code == ElementEvent::LeftButtonDown) SetElementState(tk, owner.ID, index);
      break;
    case ElementKind::Window:
      // Caption buttons carry their button value as kind, which is what the window's state
      // setter acts on; the caption item's kind (the window kind) asks for nothing.
      if (code == ElementEvent::LeftClick) {
        SetElementState(tk, owner.ID, KindValue(item->Kind));
      } else if (code == ElementEvent::LeftDoubleClick && index == kCaptionItem) {
        const Element* button = FindItem(owner, kMaximizeItem);
        if (button != nullptr && KindValue(button->Kind) == kMaximizeButton &&
            button->Disabled == 0)
          SetElementState(tk, owner.ID, kMaximizeButton);
      }
      break;
    default:
      break;
  }
}

}  // namespace

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
  OpenAndClose(tk, owner, code, id, item);
  if (owner.Alive == 0) return;
  record = FindItem(owner, item);
  if (record == nullptr || record->Disabled != 0) return;
  ChooseItem(tk, owner, code, id, item);
}

}  // namespace tk
