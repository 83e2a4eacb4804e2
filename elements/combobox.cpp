// The ComboBox kind: creation with its list, entries added to the list, the selection shown
// as the combo's text, and the drop button's layout.
#include "elements/combobox.h"

#include <algorithm>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/list.h"
#include "elements/menu.h"
#include "elements/zorder.h"
#include "render/interaction.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {
namespace {

constexpr int kButtonWidth = 16;
// A list that serves a combo box carries this owner kind.
constexpr Flags64 kEntryFlags = Flag::Left | Flag::Center | Flag::VCenter;
// The check list: check boxes, made hidden.
constexpr Flags64 kCheckListFlags = Flag::CheckBoxes | Flag::Invisible;

bool IsCombo(const Element* e) {
  return e != nullptr && e->Alive != 0 && e->Kind == ElementKind::ComboBox;
}

Element* ListOf(Toolkit& tk, const Element& combo) {
  Element* list = FindElement(tk, combo.ChildHost);
  return list != nullptr && list != &combo ? list : nullptr;
}

// The combo shows the text of its selected entry.
void SyncText(Toolkit& tk, int comboId) {
  Element* combo = FindElement(tk, comboId);
  if (!IsCombo(combo)) return;
  Element* list = ListOf(tk, *combo);
  if (list == nullptr) return;
  // No selection shows no text.
  const Element* entry = FindItem(*list, list->StateIndex);
  const std::string text = entry != nullptr ? entry->Text : std::string();
  SetElementText(tk, comboId, text);
}

int AddEntry(Toolkit& tk, Element& combo, int position, const std::string& text, int image,
             Flags64 flags) {
  Element* list = ListOf(tk, combo);
  if (list == nullptr) return -1;
  if (list->Kind == ElementKind::ListIcon)
    return AddListItem(tk, list->ID, position, text, image, flags | kEntryFlags);
  return AddItem(tk, list->ID, position, text, image, (flags == 0 ? 0 : flags) | kEntryFlags);
}

void SelectEntry(Toolkit& tk, Element& combo, double state) {
  Element* list = ListOf(tk, combo);
  if (list == nullptr) return;
  const int index = static_cast<int>(state);
  if (index != -1 && list->ItemMap.count(index) == 0) return;
  list->StateIndex = index;
  list->PressedItem = index;
  combo.PressedItem = index;
  SyncText(tk, combo.ID);
}

// The drop button: beside the field for an editable combo (covering the frame while hot or
// pressed), over the whole element otherwise, so the whole combo reacts as one button.
void PlaceButton(Element& combo) {
  if (combo.Items.empty()) return;
  Element& b = *combo.Items.front();
  const int W = combo.Inner.w0, H = combo.Inner.h0;
  if (HasAny(combo.Flags, Flag::Editable)) {
    const bool lit = (b.RepaintFlags & (StateBit::Hot | StateBit::Pressed)) != 0;
    b.Frame.x0 = W - kButtonWidth;
    b.Frame.y0 = lit ? -1 : 0;
    b.Frame.w0 = kButtonWidth + (lit ? combo.FrameWidth : 0);
    b.Frame.h0 = lit ? combo.Frame.h0 + combo.FrameWidth : H;
  } else {
    b.Frame.x0 = -1;
    b.Frame.y0 = -1;
    b.Frame.w0 = combo.Frame.w0;
    b.Frame.h0 = combo.Frame.h0;
  }
}

void PaintButton(Toolkit& tk, Element& combo, platform::Painter& painter) {
  PlaceButton(combo);
  if (!combo.Items.empty())
    PaintElement(tk, painter, combo, *combo.Items.front(), combo.Inner.x0, combo.Inner.y0);
}

// Pressing the drop button drops the list down below the field, as wide as it, with the
// selected entry pressed; pressing again closes it.
void OpenList(Toolkit& tk, Element& combo, EventCode code, int, int) {
  Root& root = tk.root;
  if (code != ElementEvent::LeftButtonDown) return;
  Element* list = ListOf(tk, combo);
  if (list == nullptr) return;
  const int listId = list->ID;
  if (!root.DropDownOpen) {
    HidePopupList(tk, root.OpenDropDown);
    ClearDropDown(tk);
    return;
  }
  root.OpenDropDown = listId;
  ResizeElement(tk, *list, kIgnore, kIgnore, combo.Inner.w0 + 2, kIgnore);
  if (!combo.Alive) return;
  ShowPopupList(tk, listId, combo.ID, combo.Inner.x0 - 1, combo.Inner.y0 + combo.Inner.h0);
  list = FindElement(tk, listId);
  if (list != nullptr && list->PressedItem == -1 && !list->Items.empty())
    list->PressedItem = list->StateIndex >= 0 ? list->StateIndex : 0;
  // A check list made while its combo had no width yet has a text column of none; its
  // entries' texts span the list as it drops down.
  if (list != nullptr && !list->Columns.empty() && list->Columns.front()->Frame.w0 < list->Inner.w0)
    list->Columns.front()->Frame.w0 = list->Inner.w0;
  combo.HotItem = -1;
  combo.OpenTitle = -1;
}

constexpr int kDropDownArrowInset = 4;

// Placed from the combo's own frame, so the arrow stays put while its button grows when hot.
void ComboBoxGlyph(platform::Painter& p, const Element& combo) {
  const CoordBlock& f = combo.Frame;
  const int strip = f.x0 + f.w0 - combo.FrameWidth - combo.ItemWidth;  // the button's left edge
  const int cx = HasAny(combo.Flags, Flag::Editable)
                     ? strip + kDropDownArrowInset + looks::kArrowSize - 1
                     : strip + combo.ItemWidth / 2;
  p.SetMode(platform::DrawMode::Default);
  PaintArrow(p, cx, f.y0 + f.h0 / 2, ArrowDirection::Down, looks::kGlyphColor);
}

// An editable combo's drop button is painted over the field, so its arrow goes on the button;
// otherwise the button is see-through and the element carries the arrow.
void PaintComboGlyph(Toolkit&, platform::Painter& painter, GlyphPass& g) {
  if (g.owner.Kind == ElementKind::ComboBox && g.isItem == HasAny(g.owner.Flags, Flag::Editable))
    ComboBoxGlyph(painter, g.owner);
  if (!g.isItem) g.roomW -= g.record.ItemWidth;
}

}  // namespace

int ComboBox(Toolkit& tk, int id, int x, int y, int width, int height, Flags64 flags, int parentId,
             int64_t data) {
  BusyGuard busy(tk);
  const int made = CreateInParent(tk, parentId, [&] {
    return CreateElement(tk, ElementKind::ComboBox, id, x, y, width, height, "", -1, -1, 0, flags,
                         -1);
  });
  if (made == 0) return 0;
  if (data != 0) SetElementData(tk, made, data);
  AddItem(tk, made, -1, "", -1, 0);

  // The list lives on the desktop, hidden until it drops down; both makers put the caller's
  // list back.
  int list = -1;
  if (HasAny(flags, kComboCheckList)) {
    list = ListIcon(tk, -1, 0, 0, width, 120, "", width, kCheckListFlags, 0);
    if (Element* l = FindElement(tk, list)) {
      l->Hidden = 1;
      l->HiddenOwn = 1;
    }
  } else {
    const int savedMenu = tk.root.LastMenu;
    list = CreatePopupMenu(tk, -1);
    tk.root.LastMenu = savedMenu;
  }
  Element* combo = FindElement(tk, made);
  Element* l = FindElement(tk, list);
  if (combo == nullptr || l == nullptr) return made;
  l->SubLevel = made;
  l->ModeField = PopupRole::ComboList;
  // Its choices reach the handlers of the combo's window, and it goes when that window does.
  l->WindowID = combo->WindowID;
  combo->ChildHost = list;
  PlaceButton(*combo);
  return made;
}

int ComboList(Toolkit& tk, int combo) {
  const Element* e = FindElement(tk, combo);
  return IsCombo(e) && FindElement(tk, e->ChildHost) != nullptr ? e->ChildHost : -1;
}

namespace {

// A combo box's state is that of the list holding its entries.
double ComboState(Toolkit& tk, const Element& combo, int depth) {
  const Element* host = FindElement(tk, combo.ChildHost);
  if (host == nullptr || host == &combo || depth > 4) return -1.0;
  return GetStateOf(tk, *host, depth + 1);
}

// The entries are gone, and so is the selection of one.
void ComboCleared(Toolkit&, Element& combo) {
  combo.StateIndex = -1;
  combo.PressedItem = -1;
}

// The drop button looks like the box: white when it is editable, plain otherwise.
constexpr Color kEditableBack = 0xFFFFFF;

void DressComboPart(Element& combo, Element& item) {
  if (HasAny(combo.Flags, Flag::Editable)) {
    item.BackColor = kEditableBack;
    item.BackgroundMode = Background::Plain;
  } else {
    item.BackColor = kNoColor;
    item.BackgroundMode = Background::None;
  }
}

// An editable combo box looks like a field, the others like a button.
void ComboCreated(Toolkit&, Element& e, const KindDescriptor::CreationArgs&, Flags64&) {
  if (HasAny(e.Flags, Flag::Editable)) return;
  e.BackColor = kNoColor;
  e.BackgroundMode = Background::Gradient;
}

}  // namespace

void RegisterComboBox(Toolkit& tk) {
  // Creation: text centred beside the drop button.
  {
    constexpr int kDropButtonWidth = 16;
    KindDescriptor& d = tk.Kind(ElementKind::ComboBox);
    d.Defaults.ListBox = 1;
    d.Defaults.ItemWidth = kDropButtonWidth;
    d.Defaults.AddFlags = Flag::TextCentered | Flag::Left;
    d.Created = &ComboCreated;
  }
  KindDescriptor& h = tk.Kind(ElementKind::ComboBox);
  h.Traits |= Trait::PartItems | Trait::TracksItems | Trait::TakesText | Trait::CaretOnPress;
  h.AddItem = &AddEntry;
  h.SetState = &SelectEntry;
  h.PaintItems = &PaintButton;
  // State, clearing and the drop button.
  h.Traits |= Trait::FixedItemWidth;
  h.GetState = &ComboState;
  h.ItemsCleared = &ComboCleared;
  h.DressItem = &DressComboPart;
  h.MenuLikeItems = true;
  h.OpenItems = &OpenList;

  // ---- painting
  tk.Kind(ElementKind::ComboBox).PaintGlyph = &PaintComboGlyph;
}

}  // namespace tk
