// The Menu bar and PopupMenu kinds: menu building, lazily created popups, showing and hiding
// popups, the popup painter and item text changes.
#include "elements/menu.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/window.h"
#include "elements/zorder.h"
#include "render/interaction.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {
namespace {

using looks::kFocusFrame;
using looks::kGlyphColor;
using looks::kOpacityDisabled;
using looks::kOpacityFull;
using looks::kWhite;

using platform::DrawMode;
using platform::Painter;

// Creation and item flags: bar titles carry the centring bits for both axes together with the
// right-alignment bit; popup entries are left-aligned and vertically centred.
// 0xC4000: the image centring bits and 0x4000, which have no names.
constexpr Flags64 kBarItemFlags = Flag::TextCentered | Flag::Right | 0xC4000;
constexpr Flags64 kBarFlags = Flag::BorderLess | kBarItemFlags;
constexpr Flags64 kPopupFlags = 0x1;
constexpr Flags64 kPopupItemFlags = Flag::Left | Flag::VCenter;
constexpr Flags64 kTitleCentre = Flag::Center;
constexpr Flags64 kTitleRight = Flag::Right;

// A popup that serves as a combo box's list carries this mode and has no icon gutter.

// Item sizes, as the item layout measures them.
constexpr int kEntryPadding = 12;
constexpr int kImageGap = 4;

constexpr Color kGutterColor = 0xECECEC;  // RGB (236, 236, 236)
constexpr Color kHalfAlpha = Color{128} << 24;

// The submenu arrow: a right-pointing triangle this many pixels deep, this far from the
// entry's right edge.
constexpr int kArrowDepth = 4;
constexpr int kArrowInset = 9;
// A submenu opens over its parent's border and with its first entry level with the entry it
// opens from (its frame and the first entry's offset lie above that entry).
constexpr int kSubMenuOverlap = 1;
constexpr int kSubMenuRaise = 3;

bool IsMenuKind(ElementKind k) {
  return k == ElementKind::Menu || k == ElementKind::PopupMenu;
}

bool IsChainKind(ElementKind k) {
  return IsMenuKind(k) || k == ElementKind::ToolBar;
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

Element* CurrentMenu(Toolkit& tk) {
  Element* m = FindElement(tk, tk.root.LastMenu);
  return m != nullptr && IsMenuKind(m->Kind) ? m : nullptr;
}

// The menu one level up: a popup's parent menu, or the menu itself at the top of a chain.
int ParentMenuId(Toolkit& tk, const Element& menu) {
  const Element* up = FindElement(tk, menu.SubLevel);
  return up != nullptr && IsMenuKind(up->Kind) ? up->ID : menu.ID;
}

// Whether `popup`'s chain of parent menus passes through `ancestor`.
bool OpensFrom(Toolkit& tk, const Element& popup, int ancestor) {
  const Element* cur = &popup;
  for (size_t steps = tk.root.Elements.size(); steps > 0; --steps) {
    const Element* up = FindElement(tk, cur->SubLevel);
    if (up == nullptr || up == cur || up->Kind != ElementKind::PopupMenu) return false;
    if (up->ID == ancestor) return true;
    cur = up;
  }
  return false;
}

// Adds an entry with the item flags of the menu's kind and gives it its command id.
int AddEntry(Toolkit& tk, int menuId, const std::string& text, int image, Flags64 flags,
             int itemId) {
  const Element* m = FindElement(tk, menuId);
  if (m == nullptr) return -1;
  const Flags64 kindFlags = m->Kind == ElementKind::Menu ? kBarItemFlags : kPopupItemFlags;
  const int index = AddItem(tk, menuId, -1, text, image, kindFlags | flags);
  Element* again = FindElement(tk, menuId);
  if (index < 0 || again == nullptr) return -1;
  if (Element* item = FindItem(*again, index)) item->ID = itemId;
  return index;
}

// Entries one below the other from y 1; returns the popup height they need.
int LayOutEntries(Element& popup) {
  int run = 1;
  for (auto& item : popup.Items) {
    item->Frame.x0 = 1;
    item->Frame.y0 = run;
    item->Frame.w0 = popup.Inner.w0 - 2 * item->Frame.x0;
    run += item->Frame.h0;
  }
  return run + 3;
}

void HideOne(Element& popup) {
  popup.Hidden = 1;
  popup.HiddenOwn = 1;
  popup.PopupOwner = -1;
  // A combo box list keeps its highlighted row for the next opening; a menu starts afresh.
  if (popup.ModeField != PopupRole::ComboList) popup.HotItem = -1;
  popup.Repaint = 1;
}

// The popup and the submenus open from it close together.
void HidePopupHook(Toolkit& tk, Element& popup) {
  const int id = popup.ID;
  for (const auto& rec : tk.root.Elements) {
    Element& e = *rec;
    if (e.Kind != ElementKind::PopupMenu || e.Hidden != 0) continue;
    if (&e == &popup || OpensFrom(tk, e, id)) HideOne(e);
  }
}

// The item routing shows a submenu at its parent's right edge, level with the entry's top.
void ShowPopupHook(Toolkit& tk, Element& popup, int owner, int x, int y) {
  const Element* from = FindElement(tk, owner);
  if (from != nullptr && from->Kind == ElementKind::PopupMenu && from != &popup) {
    x -= kSubMenuOverlap;
    y -= kSubMenuRaise;
  }
  DisplayPopupMenu(tk, popup.ID, owner, x, y);
}

void AlphaOutline(Painter& painter, int x, int y, int w, int h, Color color) {
  if (w <= 0 || h <= 0) return;
  painter.Line(x, y, w, 1, color);
  if (h > 1) painter.Line(x, y + h - 1, w, 1, color);
  if (h > 2) {
    painter.Line(x, y + 1, 1, h - 2, color);
    if (w > 1) painter.Line(x + w - 1, y + 1, 1, h - 2, color);
  }
}

// A small right-pointing triangle, drawn as shrinking vertical lines.
void SubMenuArrow(Painter& painter, int x, int y, int h, Color color) {
  const int cy = y + h / 2;
  painter.SetMode(DrawMode::Default);
  for (int i = 0; i < kArrowDepth; ++i) {
    const int half = kArrowDepth - 1 - i;
    painter.Line(x + i, cy - half, 1, 2 * half + 1, color);
  }
}

// Paints an entry through the generic painter. A submenu entry shows an arrow at its right
// edge instead of the text marker it carries.
void PaintEntry(Toolkit& tk, Painter& painter, Element& popup, Element& item, int x, int y) {
  const bool submenu =
      popup.ModeField != PopupRole::ComboList && EndsWith(item.Text, kSubMenuSuffix);
  if (!submenu) {
    PaintElement(tk, painter, popup, item, x, y);
    return;
  }
  std::string full = std::move(item.Text);
  item.Text = full.substr(0, full.size() - std::string_view(kSubMenuSuffix).size());
  PaintElement(tk, painter, popup, item, x, y);
  item.Text = std::move(full);
  const Color color = item.Disabled != 0 || popup.Disabled != 0 ? popup.FrameColor : kGlyphColor;
  SubMenuArrow(painter, x + item.Frame.x0 + item.Frame.w0 - kArrowInset, y + item.Frame.y0,
               item.Frame.h0, color);
  painter.SetMode(DrawMode::Default);
}

// The popup painter: the icon gutter, then per entry its separator line or hot box, its icon
// in the gutter and the entry itself.
void PaintPopup(Toolkit& tk, Element& popup, Painter& painter) {
  const int x = popup.Inner.x0;
  const int y = popup.Inner.y0 - popup.CaptionHeight;
  const int g = tk.root.MenuHeight;
  const int W = popup.Inner.w0, H = popup.Inner.h0;
  if (popup.ModeField != PopupRole::ComboList && H > 2) {
    painter.SetMode(DrawMode::Default);
    painter.Box(x + 1, y + 1, g, H - 2, kGutterColor);
    painter.Line(x + g, y + 1, 1, H - 2, popup.FrameColor);
    painter.Line(x + g + 1, y + 1, 1, H - 2, kWhite);
  }
  const platform::ImageStore& images = tk.platform.Images();
  // Indexed walk: the painter never adds or removes entries, but the list is re-read anyway.
  for (size_t i = 0; i < popup.Items.size(); ++i) {
    Element& item = *popup.Items[i];
    item.Frame.w0 = W - 2 * item.Frame.x0;
    const int ix = x + item.Frame.x0, iy = y + item.Frame.y0;
    const int iw = item.Frame.w0, ih = item.Frame.h0;
    if (item.SeparatorCount != 0) {
      if (iw - g - 1 > 0) {
        painter.SetMode(DrawMode::Default);
        painter.Line(ix + g + 1, iy + ih / 2, iw - g - 1, 1, item.FrameColor);
      }
    } else if (item.Index == popup.HotItem && item.Disabled == 0) {
      painter.SetMode(DrawMode::AlphaBlend);
      painter.Box(ix + 1, iy + 1, iw - 2, ih - 2, (item.HotBackColor & 0xFFFFFF) | kHalfAlpha);
      AlphaOutline(painter, ix, iy, iw, ih, kFocusFrame | kHalfAlpha);
    }
    if (item.Image2 >= 0 && images.IsImage(item.Image2)) {
      const int imw = images.Width(item.Image2), imh = images.Height(item.Image2);
      painter.SetMode(DrawMode::AlphaBlend);
      painter.DrawImage(item.Image2, x + (g - imw) / 2 + 1, iy + (ih - imh) / 2 + 1, 0, 0,
                        item.Disabled != 0 ? kOpacityDisabled : kOpacityFull);
    }
    painter.SetMode(DrawMode::Default);
    PaintEntry(tk, painter, popup, item, x, y);
  }
}

struct TextExtent {
  int width = 0, height = 0;
};

// A text in the menu's font; an empty text has no width and the height of one line.
TextExtent MeasureInMenu(Toolkit& tk, const Element& menu, const std::string& text) {
  Painter& painter = tk.platform.Measurer();
  const int previous = painter.Font();
  painter.SetFont(menu.FontID != 0 ? menu.FontID : tk.platform.Fonts().Default());
  TextExtent extent;
  if (text.empty()) {
    extent.height = painter.TextHeight("A");
  } else {
    const platform::TextSize size = painter.MeasureText(text);
    extent = {size.width, size.height};
  }
  painter.SetFont(previous);
  return extent;
}

// Titles carry the centring bit together with the right-alignment bit, which the generic
// painter resolves to the right edge, leaving a title's text against the edge of its
// highlight. They are drawn centred; their flags stay as they are.
void PaintMenuBar(Toolkit& tk, Element& bar, Painter& painter) {
  std::vector<Flags64> kept;
  kept.reserve(bar.Items.size());
  for (auto& title : bar.Items) {
    kept.push_back(title->Flags);
    if (HasAll(title->Flags, kTitleCentre)) title->Flags &= ~kTitleRight;
  }
  StripStyle style;
  style.openAlwaysActive = true;  // the menu bar lights its open title even while unused
  PaintStripItems(tk, painter, bar, style);
  for (size_t i = 0; i < kept.size() && i < bar.Items.size(); ++i)
    bar.Items[i]->Flags = kept[i];
}

// Popup rows keep an icon gutter as wide as the menu height on their left.
void PaintRowGlyph(Toolkit& tk, Painter&, GlyphPass& g) {
  if (g.owner.ModeField == PopupRole::ComboList) return;
  g.roomX += tk.root.MenuHeight + 1;
  g.roomW -= tk.root.MenuHeight + 1;
}

}  // namespace

int CreateMenu(Toolkit& tk, int id, int window) {
  Root& root = tk.root;
  Element* w = FindElement(tk, window);
  if (w == nullptr || w->Kind != ElementKind::Window) return 0;
  for (const auto& rec : root.Elements) {
    if (rec->Alive && rec->Kind == ElementKind::Menu && rec->ParentID == window) {
      root.LastMenu = -1;
      return 0;
    }
  }
  BusyGuard busy(tk);
  const ListState saved = EnterParentList(tk, window);
  const int menuId = AttachTopBar(tk, window, kMenuBarHeight, [&] {
    return CreateElement(tk, ElementKind::Menu, id, 0, -1, kMenuBarHeight, kMenuBarHeight, "", -1,
                         -1, 0, kBarFlags, -1);
  });
  Element* bar = FindElement(tk, menuId);
  if (bar != nullptr && bar->Kind == ElementKind::Menu) {
    bar->SubLevel = menuId;
    root.LastMenu = menuId;
  }
  LeaveParentList(tk, saved, menuId);
  return bar != nullptr ? menuId : 0;
}

int CreatePopupMenu(Toolkit& tk, int id) {
  Root& root = tk.root;
  // Popups live on the desktop; without one there is nowhere to put them.
  if (DesktopElement(tk) == nullptr) return 0;
  BusyGuard busy(tk);
  const ListState saved = EnterParentList(tk, 0);
  const int popupId =
      CreateElement(tk, ElementKind::PopupMenu, id, 0, 0, 0, 0, "", -1, -1, 0, kPopupFlags, -1);
  Element* popup = FindElement(tk, popupId);
  if (popup != nullptr && popup->Kind == ElementKind::PopupMenu) {
    popup->SubLevel = popupId;
    for (const auto& rec : root.Elements) {
      if (IsInside(tk, *rec, popupId)) rec->PopupMember = 1;
    }
    if (FindElement(tk, root.TopPopupMenu) == nullptr) root.TopPopupMenu = popupId;
  }
  LeaveParentList(tk, saved, popupId);
  return popup != nullptr ? popupId : 0;
}

int OpenSubMenu(Toolkit& tk, const std::string& text, int image) {
  Element* m = CurrentMenu(tk);
  if (m == nullptr) return -1;
  const int menuId = m->ID;
  const bool inPopup = m->Kind == ElementKind::PopupMenu;
  const int index =
      AddEntry(tk, menuId, inPopup ? text + kSubMenuSuffix : text, image, 0, kMenuNoCommand);
  Element* again = FindElement(tk, menuId);
  if (index < 0 || again == nullptr) return -1;
  again->PendingSubMenu = index + 1;
  return index;
}

int MenuTitle(Toolkit& tk, const std::string& text) {
  Element* m = CurrentMenu(tk);
  if (m == nullptr) return -1;
  m->PendingSubMenu = 0;
  tk.root.LastMenu = ParentMenuId(tk, *m);
  return OpenSubMenu(tk, text, -1);
}

int MenuItem(Toolkit& tk, int id, const std::string& text, int image, Flags64 flags) {
  Root& root = tk.root;
  Element* m = CurrentMenu(tk);
  if (m == nullptr) return -1;
  BusyGuard busy(tk);
  const int menuId = m->ID;
  const int pending = m->PendingSubMenu;
  m->PendingSubMenu = 0;
  int target = menuId;

  if (pending >= 1) {
    const int lastPopup = root.LastPopupMenu;
    const int popupId = CreatePopupMenu(tk, -1);
    root.LastPopupMenu = lastPopup;
    m = FindElement(tk, menuId);
    Element* popup = FindElement(tk, popupId);
    if (m == nullptr || popup == nullptr) return -1;
    if (Element* entry = FindItem(*m, pending - 1)) entry->Attached[0] = popupId;
    popup->ModeField = KindValue(m->Kind);
    popup->SubLevel = menuId;
    // Choices in the popup reach the handlers of the window the menu belongs to.
    popup->WindowID = m->WindowID;
    m->LastSubMenu = popupId;
    if (m->Kind == ElementKind::Menu && !m->Items.empty()) m->Items.back()->Attached[0] = popupId;
    root.LastMenu = popupId;
    target = popupId;
  }

  const Element* owner = FindElement(tk, target);
  if (owner == nullptr) return -1;
  if (id == -1 && owner->ModeField != PopupRole::ComboList) id = kMenuNoCommand;
  return AddEntry(tk, target, text, image, flags, id);
}

int MenuBar(Toolkit& tk) {
  Element* m = CurrentMenu(tk);
  if (m == nullptr) return -1;
  const int menuId = m->ID;
  const int index = AddEntry(tk, menuId, "", -1, 0, kMenuNoCommand);
  Element* again = FindElement(tk, menuId);
  if (index < 0 || again == nullptr) return -1;
  // A separator is never chosen: pointing at it or clicking it leaves the menu as it is.
  if (Element* item = FindItem(*again, index)) item->Disabled = 1;
  return index;
}

int CloseSubMenu(Toolkit& tk) {
  Root& root = tk.root;
  const int previous = root.LastMenu;
  Element* m = CurrentMenu(tk);
  if (m == nullptr) return previous;
  // An opened submenu that got no entries stays an ordinary entry.
  m->PendingSubMenu = 0;
  root.LastMenu = ParentMenuId(tk, *m);
  return previous;
}

int DisplayPopupMenu(Toolkit& tk, int popupId, int owner, int x, int y) {
  Element* popup = FindElement(tk, popupId);
  if (popup == nullptr || popup->Kind != ElementKind::PopupMenu) return 0;
  BusyGuard busy(tk);
  Root& root = tk.root;
  const uint64_t serial = popup->Serial;
  auto refind = [&]() -> Element* {
    Element* p = FindElement(tk, popupId);
    return p != nullptr && p->Serial == serial ? p : nullptr;
  };

  const Element* from = FindElement(tk, owner);
  const bool submenu = from != nullptr && from->Kind == ElementKind::PopupMenu && from != popup;
  popup->PopupOwner = from != nullptr ? owner : -1;
  root.DropDownOpen = true;
  // A submenu joins the chain that is open: the chain's head stays the open drop-down, so
  // whatever closes the chain closes the submenu with it.
  if (!submenu || FindElement(tk, root.OpenDropDown) == nullptr) root.OpenDropDown = popupId;

  if (x == kIgnore) x = root.MouseX;
  if (y == kIgnore) y = root.MouseY;
  int height = popup->Frame.h0;
  if (popup->Hidden != 0) height = LayOutEntries(*popup);

  ActivateElement(tk, popupId);
  PostElementEvent(tk, ElementEvent::Focus, popupId, -1, 0);
  popup = refind();
  if (popup == nullptr) return 0;

  const Element* desktop = DesktopElement(tk);
  const int desktopW = desktop != nullptr ? desktop->Frame.w0 : 0;
  const int desktopH = desktop != nullptr ? desktop->Frame.h0 : 0;
  from = FindElement(tk, owner);
  const int ownerHeight = from != nullptr ? from->Frame.h0 : 0;
  int top = y + 1;
  if (desktopH < y + height) {
    // A submenu slides up to end at the desktop's bottom; anything else opens above the point
    // (and above its owner).
    top = submenu ? desktopH - height : y - height - ownerHeight + 1;
  }
  const int width = popup->Frame.w0;
  if (desktopW > 0 && x + width > desktopW) {
    // Too far right: a submenu opens on the other side of its parent, anything else moves in.
    x = submenu && from != nullptr ? from->Frame.x0 - width + kSubMenuOverlap : desktopW - width;
  }
  ResizeElement(tk, *popup, std::max(x, 0), std::max(top, 0), kIgnore, height, CoordMode::Absolute);
  popup = refind();
  if (popup == nullptr) return 0;

  if (Element* o = FindElement(tk, owner); o != nullptr && o != popup) {
    ActivateElement(tk, owner);
    if (Element* again = FindElement(tk, owner)) again->Repaint = 1;
  } else {
    SetPosition(tk, popupId, ZOrder::Last, -1);
  }
  popup = refind();
  if (popup == nullptr) return 0;
  popup->Hidden = 0;
  popup->HiddenOwn = 0;
  popup->Repaint = 1;
  return 1;
}

int SetMenuItemText(Toolkit& tk, int menuId, int index, const std::string& text) {
  Element* menu = FindElement(tk, menuId);
  if (menu == nullptr || !IsMenuKind(menu->Kind)) return 0;
  Element* item = FindItem(*menu, index);
  if (item == nullptr) return 0;
  BusyGuard busy(tk);

  // A submenu entry keeps its marker.
  std::string shown = text;
  if (EndsWith(item->Text, kSubMenuSuffix) && !EndsWith(shown, kSubMenuSuffix))
    shown += kSubMenuSuffix;
  const TextExtent before = MeasureInMenu(tk, *menu, item->Text);
  const TextExtent after = MeasureInMenu(tk, *menu, shown);
  const int dw = after.width - before.width;
  const int dh = after.height - before.height;
  const int oldRight = item->Frame.x0 + item->Frame.w0;
  const int oldBottom = item->Frame.y0 + item->Frame.h0;
  item->Text = shown;
  item->Frame.w0 += dw;
  item->Frame.h0 += dh;
  for (auto& other : menu->Items) {
    if (other.get() == item) continue;
    if (other->Frame.x0 >= oldRight) other->Frame.x0 += dw;
    if (other->Frame.y0 >= oldBottom) other->Frame.y0 += dh;
  }

  // Items added later continue after the last one where it now ends.
  const bool last = !menu->Items.empty() && menu->Items.back().get() == item;
  const bool row = menu->ListBox == 0;
  if (row) {
    (last ? menu->ItemWidth : menu->RunX) += dw;
  } else {
    (last ? menu->ItemHeight : menu->RunY) += dh;
  }

  int width = menu->Frame.w0 + dw;
  int height = menu->Frame.h0;
  if (!row) {
    // A popup is as wide as its widest entry needs, as when its entries were added.
    const platform::ImageStore& images = tk.platform.Images();
    int image = 0;
    if (item->Image2 >= 0 && images.IsImage(item->Image2))
      image = images.Width(item->Image2) + kImageGap;
    const int needed =
        after.width + kEntryPadding + image + tk.root.MenuHeight + 2 * menu->FrameWidth;
    width = std::max(menu->Frame.w0, needed);
    height += dh;
  }
  ResizeElement(tk, *menu, kIgnore, kIgnore, width, height);
  return 1;
}

int MenuRoot(Toolkit& tk, int menu) {
  Element* cur = FindElement(tk, menu);
  if (cur == nullptr || !IsChainKind(cur->Kind)) return 0;
  for (size_t steps = tk.root.Elements.size(); steps > 0; --steps) {
    Element* up = FindElement(tk, cur->SubLevel);
    if (up == nullptr || up == cur || !IsChainKind(up->Kind)) break;
    cur = up;
  }
  return cur->ID;
}

namespace {

// Hiding one popup menu hides them all: a submenu never outlives the menu it came from.
int HideAllPopups(Toolkit& tk, Element&, int) {
  for (const auto& rec : tk.root.Elements) {
    if (rec->Kind == ElementKind::PopupMenu) rec->Hidden = 1;
  }
  return 1;
}

int AddPopupItem(Toolkit& tk, Element& popup, int position, const std::string& text, int image,
                 Flags64 flags) {
  return AddItem(tk, popup.ID, position, text, image, flags);
}

// A popup row shows its image in the icon gutter (the second image), not beside its text.
void DressPopupItem(Element&, Element& item) {
  item.Image2 = item.Image;
  item.Image = -1;
}

bool IsClick(EventCode code) {
  return code == ElementEvent::LeftClick || code == ElementEvent::RightClick ||
         code == ElementEvent::MiddleClick;
}

// The popup menu that an item opens, or nullptr.
Element* PopupOf(Toolkit& tk, const Element& item) {
  if (item.Attached[0] <= 0) return nullptr;
  Element* popup = FindElement(tk, item.Attached[0]);
  return popup != nullptr && popup->Kind == ElementKind::PopupMenu ? popup : nullptr;
}

// Pressing a title opens its popup below it, pressing again closes it; while one is open,
// moving to the next title switches menus without a click.
void OpenFromBar(Toolkit& tk, Element& bar, EventCode code, int, int index) {
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
      HidePopupList(tk, root.OpenDropDown);
      HidePopupsAfter(tk, root.OpenDropDown);
      ClearDropDown(tk);
    } else {
      root.OpenDropDown = popupId;
      ShowPopupList(tk, popupId, bar.ID, x, y);
    }
  } else if (code == ElementEvent::MouseEnter && tk.dispatch.MenuOpen) {
    HidePopupsAfter(tk, bar.ID);
    if (popupId < 0 || !bar.Alive) return;
    root.OpenDropDown = popupId;
    ShowPopupList(tk, popupId, bar.ID, x, y);
  }
}

void ShowSubmenu(Toolkit& tk, Element& popup, const Element& item, int submenuId) {
  ShowPopupList(tk, submenuId, popup.ID, popup.Frame.x0 + popup.Frame.w0,
                popup.Inner.y0 + item.Frame.y0);
}

// An entry with a submenu opens it under the pointer or on a click; a click on a leaf entry
// takes the choice (a combo box's list hands it to the combo) and closes the whole chain.
void OpenFromPopup(Toolkit& tk, Element& popup, EventCode code, int, int index) {
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
  if (popup.ModeField == PopupRole::ComboList) {
    popup.OpenTitle = index;
    popup.StateIndex = index;  // the combo's state is its list's selection
    if (Element* combo = FindElement(tk, popup.SubLevel); combo != nullptr && combo != &popup) {
      combo->PressedItem = index;
      SetElementText(tk, combo->ID, entry->Text);
    }
  }
  CloseDropDownChain(tk, popup);
}

// A clicked leaf entry posts its menu event; a combo box's list reports a change to the combo.
void ChooseEntry(Toolkit& tk, Element& owner, EventCode code, int, int index) {
  Element* item = FindItem(owner, index);
  if (item == nullptr || !IsClick(code)) return;
  if (owner.Kind == ElementKind::PopupMenu && owner.ModeField == PopupRole::ComboList) {
    if (Element* combo = FindElement(tk, owner.SubLevel); combo != nullptr && combo != &owner)
      PostElementEvent(tk, ElementEvent::Change, combo->ID, index, 0);
  } else if (PopupOf(tk, *item) == nullptr) {
    PostElementEvent(tk, ElementEvent::MenuEvent, owner.ID, item->ID, 0);
  }
}

// An open title keeps the bar lit after the pointer leaves it.
void MenuBarLeft(Toolkit&, Element& bar, int) {
  if (bar.OpenTitle == -1) bar.HotItem = -1;
}

// A combo box's list keeps its entry lit for the combo's text.
void PopupLeft(Toolkit&, Element& popup, int item) {
  if (item < 0 && popup.ModeField != PopupRole::ComboList) popup.HotItem = -1;
}

}  // namespace

void RegisterMenus(Toolkit& tk) {
  // Creation: the bar sits in its window's menu strip; a popup waits hidden on the desktop.
  {
    KindDescriptor& bar = tk.Kind(ElementKind::Menu);
    DeclareWindowBar(bar, &Root::LastMenu, &EventRecord::EventMenu, &Element::MenuStripHeight);
    bar.Defaults.DropFlags = Flag::Border;
    KindDescriptor& popup = tk.Kind(ElementKind::PopupMenu);
    popup.Traits |= Trait::Popup;
    popup.Defaults.FrameWidth = 1;
    popup.Defaults.StartsHidden = true;
    popup.Defaults.BackColor = StartColor::Popup;
    popup.Defaults.ListBox = 1;
    popup.LastIds[0] = &Root::LastMenu;
    popup.LastIds[1] = &Root::LastPopupMenu;
    popup.EventSlot = &EventRecord::EventPopupMenu;
  }
  KindDescriptor& bar = tk.Kind(ElementKind::Menu);
  bar.Traits |= Trait::ResizesToItems | Trait::TracksItems | Trait::SelectsItem;
  bar.PaintItems = &PaintMenuBar;
  bar.PointerLeft = &MenuBarLeft;
  bar.MenuLikeItems = true;
  bar.OpenItems = &OpenFromBar;
  bar.ChooseItem = &ChooseEntry;
  KindDescriptor& popup = tk.Kind(ElementKind::PopupMenu);
  popup.Traits |= Trait::ResizesToItems | Trait::TracksItems | Trait::SelectsItem;
  popup.PaintItems = &PaintPopup;
  popup.ShowPopup = &ShowPopupHook;
  popup.HidePopup = &HidePopupHook;
  // Items and hiding of the popups.
  popup.Hide = &HideAllPopups;
  popup.AddItem = &AddPopupItem;
  popup.DressItem = &DressPopupItem;
  popup.PointerLeft = &PopupLeft;
  popup.DropsDown = true;
  popup.OpenItems = &OpenFromPopup;
  popup.ChooseItem = &ChooseEntry;

  // ---- painting
  tk.Kind(ElementKind::PopupMenu).PaintGlyph = &PaintRowGlyph;
  tk.Kind(ElementKind::PopupMenu).PaintsItemImage2 = true;
  tk.Kind(ElementKind::PopupMenu).PaintsOnTop = true;
}

}  // namespace tk
