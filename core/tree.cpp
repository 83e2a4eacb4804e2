// The element tree: kind predicates, tree queries, open lists, re-parenting, activation,
// focus and freeing.
#include "core/tree.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"

namespace tk {

namespace {

// Follows ParentID upward from `start`. The step limit keeps a damaged chain from looping.
bool ChainReaches(Toolkit& tk, int start, int ancestor) {
  size_t steps = tk.root.Elements.size() + 1;
  int cur = start;
  while (cur != -1 && steps-- > 0) {
    if (cur == ancestor) return true;
    const Element* rec = FindElement(tk, cur);
    if (rec == nullptr) return false;
    cur = rec->ParentID;
  }
  return false;
}

// Sets or clears the focus look of one element.
void SetFocusBit(Toolkit& tk, int id, bool on) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  if (on) {
    e->RepaintFlags |= StateBit::Focused;
  } else {
    e->RepaintFlags &= ~StateBit::Focused;
  }
}

// Tells the dispatch about a focus change. Id 0 (the desktop) is the "none yet" value of the
// active window and gadget, so it is never told.
void Announce(Toolkit& tk, EventCode code, int id) {
  if (id != 0 && tk.hooks.DispatchEvent != nullptr && FindElement(tk, id) != nullptr) {
    tk.hooks.DispatchEvent(tk, code, id);
  }
}

// A bar moved from one window to another takes its strip with it.
void MoveBarStrip(Toolkit& tk, const Element& bar, int oldWindow, int newWindow) {
  int Element::*strip = tk.Kind(bar.Kind).WindowStrip;
  if (strip == nullptr) return;
  if (Element* w = FindElement(tk, oldWindow); w != nullptr && IsWindowRecord(tk, *w)) {
    w->*strip = 0;
    SetElementY(tk, *w, w->Frame.y0);
  }
  if (Element* w = FindElement(tk, newWindow); w != nullptr && IsWindowRecord(tk, *w)) {
    w->*strip = bar.Frame.h0;
    SetElementY(tk, *w, w->Frame.y0);
  }
}

// Popup menus, and lists dropped down from a combo box (which carry that role).
bool IsDropDown(Toolkit& tk, const Element& e) {
  return tk.Kind(e.Kind).Has(Trait::Popup) || e.ModeField == PopupRole::ComboList;
}

// What an element owns outside its subtree: the popup menus and combo lists on the desktop
// made for a window (they name it as their window), for a menu or for a combo box (they
// name it as the menu or combo they open from).
bool OwnedByDoomed(Toolkit& tk, const Element& r,
                   const std::unordered_set<const Element*>& doomed) {
  if (r.ParentID != 0 || r.ID == 0 || !IsDropDown(tk, r)) return false;
  if (r.SubLevel != r.ID) {
    const Element* from = FindElement(tk, r.SubLevel);
    if (from != nullptr && doomed.count(from) != 0) return true;
  }
  const Element* window = FindElement(tk, r.WindowID);
  return window != nullptr && IsWindowRecord(tk, *window) && doomed.count(window) != 0;
}

// A freed drop-down, or the element one was shown for, leaves no drop-down state behind: the
// popups shown for it are hidden, and when the open chain is concerned it closes.
void ForgetDropDowns(Toolkit& tk, const Element& rec) {
  Root& root = tk.root;
  if (root.TopPopupMenu == rec.ID) root.TopPopupMenu = -1;
  bool close = root.OpenDropDown == rec.ID || root.PopupUnderPointer == rec.ID;
  for (const auto& r : root.Elements) {
    if (r.get() == &rec || r->PopupOwner != rec.ID) continue;
    r->PopupOwner = -1;
    if (r->ID == root.OpenDropDown) close = true;
  }
  if (!close) return;
  for (const auto& r : root.Elements) {
    if (r.get() == &rec || r->ParentID != 0 || !IsDropDown(tk, *r) || r->Hidden != 0) continue;
    r->Hidden = 1;
    r->HiddenOwn = 1;
    r->PopupOwner = -1;
    r->Repaint = 1;
  }
  root.DropDownOpen = false;
  root.OpenDropDown = -1;
  root.PopupUnderPointer = -1;
  tk.dispatch.MenuOpen = false;
}

// Removes one record: counters, the Freed event, the id tables and the element list.
void FreeOne(Toolkit& tk, Element* rec) {
  if (!rec->Alive) return;  // already being freed further up the stack
  rec->Alive = 0;
  AddChildCount(tk, rec->ParentID, -1);
  PostEventToRecord(tk, *rec, ElementEvent::Freed, -1, 0);

  Root& root = tk.root;
  ForgetDropDowns(tk, *rec);
  // An open list or current window that disappears falls back to where it came from.
  if (root.OpenList == rec->ID && FindElement(tk, rec->ID) == rec) root.OpenList = rec->ParentID;
  if (root.CurrentWindow == rec->ID && FindElement(tk, rec->ID) == rec) {
    root.CurrentWindow = rec->WindowID;
  }
  // A later element under the same id must still hear its Focus when activated.
  if (root.ActiveGadget == rec->ID && FindElement(tk, rec->ID) == rec) root.ActiveGadget = 0;
  root.AddressToID.erase(rec);
  if (root.IDToAddress.Find(rec->ID) == rec) root.IDToAddress.erase(rec->ID);
  int index = IndexOf(root, rec);
  if (index < 0) return;
  std::unique_ptr<Element> owned = std::move(root.Elements[static_cast<size_t>(index)]);
  root.Elements.erase(root.Elements.begin() + index);
  if (root.BusyDepth > 0) root.Graveyard.push_back(std::move(owned));
}

int SiblingWalk(Toolkit& tk, int id, int step) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return -1;
  const auto& list = tk.root.Elements;
  const int n = static_cast<int>(list.size());
  for (int i = IndexOf(tk.root, e) + step; i >= 0 && i < n; i += step) {
    const Element& rec = *list[static_cast<size_t>(i)];
    if (rec.ParentID == e->ParentID && rec.SubLevel == e->SubLevel && rec.Hidden == 0) {
      return rec.ID == e->ParentID ? -1 : rec.ID;
    }
  }
  return -1;
}

}  // namespace

// ---- Kind predicates --------------------------------------------------------------------

ElementKind GetKind(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e != nullptr ? e->Kind : ElementKind::None;
}

bool IsGadget(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e != nullptr && tk.Kind(e->Kind).Has(Trait::Gadget);
}
bool IsWindow(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e != nullptr && IsWindowRecord(tk, *e);
}
bool IsWindowRecord(Toolkit& tk, const Element& e) {
  return tk.Kind(e.Kind).ListHolder == KindDescriptor::WindowList;
}
bool IsMenu(Toolkit& tk, int id) {
  return GetKind(tk, id) == ElementKind::Menu;
}
bool IsToolBar(Toolkit& tk, int id) {
  return GetKind(tk, id) == ElementKind::ToolBar;
}
bool IsStatusBar(Toolkit& tk, int id) {
  return GetKind(tk, id) == ElementKind::StatusBar;
}
bool IsPopupMenu(Toolkit& tk, int id) {
  return GetKind(tk, id) == ElementKind::PopupMenu;
}

int IsListHolder(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e != nullptr ? e->ListHolder : 0;
}

// ---- Tree queries -----------------------------------------------------------------------

int GetParent(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  if (e == nullptr) return -1;
  return tk.Kind(e->Kind).Has(Trait::Popup) ? e->SubLevel : e->ParentID;
}

int GetWindow(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  return e != nullptr ? e->WindowID : -1;
}

bool IsChildOf(Toolkit& tk, int id, int ancestor) {
  if (FindElement(tk, id) == nullptr || FindElement(tk, ancestor) == nullptr) return false;
  return ChainReaches(tk, id, ancestor);
}

bool IsInside(Toolkit& tk, const Element& e, int ancestor) {
  if (e.ID == ancestor) return true;
  return IsDescendant(tk, e, ancestor);
}

bool IsDescendant(Toolkit& tk, const Element& e, int ancestor) {
  if (ancestor == -1 || FindElement(tk, ancestor) == nullptr) return false;
  return ChainReaches(tk, e.ParentID, ancestor);
}

Element* EnclosingWithTrait(Toolkit& tk, const Element& e, uint64_t trait) {
  int id = e.ParentID;
  // Bounded, so a broken parent chain cannot loop.
  for (size_t depth = 0; depth <= tk.root.Elements.size(); ++depth) {
    Element* p = FindElement(tk, id);
    if (p == nullptr || p == &e) return nullptr;
    if (tk.Kind(p->Kind).Has(trait)) return p;
    if (p->ParentID == p->ID) return nullptr;
    id = p->ParentID;
  }
  return nullptr;
}

int HasChildren(Toolkit& tk, int id, int tab) {
  const Element* e = FindElement(tk, id);
  if (e == nullptr) return 0;
  if (tab != -1) return e->ChildCount;
  for (const auto& rec : tk.root.Elements) {
    if (rec->ParentID == id && rec->TabIndex == -1) return 1;
  }
  return 0;
}

int CountSameKind(Toolkit& tk, ElementKind kind, int parentId) {
  Element* parent = FindElement(tk, parentId);
  if (parent == nullptr) return 0;
  const auto& list = tk.root.Elements;
  int count = 0;
  for (size_t i = static_cast<size_t>(IndexOf(tk.root, parent)) + 1; i < list.size(); ++i) {
    const Element& rec = *list[i];
    if (rec.Kind == kind && rec.ParentID == parentId && rec.TabIndex == parent->CurrentTab) {
      ++count;
    }
  }
  return count;
}

int PreviousSibling(Toolkit& tk, int id) {
  return SiblingWalk(tk, id, -1);
}
int NextSibling(Toolkit& tk, int id) {
  return SiblingWalk(tk, id, +1);
}

int MouseX(Toolkit& tk, int id) {
  if (id == 0) return tk.root.MouseX;
  const Element* e = FindElement(tk, id);
  return e != nullptr ? e->MouseX : -1;
}

int MouseY(Toolkit& tk, int id) {
  if (id == 0) return tk.root.MouseY;
  const Element* e = FindElement(tk, id);
  return e != nullptr ? e->MouseY : -1;
}

int AddChildCount(Toolkit& tk, int id, int delta) {
  if (Element* e = FindElement(tk, id)) e->ChildCount += delta;
  return 0;
}

// ---- Open lists -------------------------------------------------------------------------

int OpenList(Toolkit& tk, int id, int tab) {
  Root& root = tk.root;
  const int previous = root.OpenList;
  if (id == -1) return previous;
  if (id == root.OpenList) {
    // Re-opening the open panel still picks the tab, so new elements land where asked.
    Element* open = FindElement(tk, id);
    if (open != nullptr && tk.Kind(open->Kind).Has(Trait::Tabs) && open->ItemMap.count(tab) != 0)
      open->CurrentTab = tab;
    return previous;
  }
  Element* e = FindElement(tk, id);
  if (e == nullptr) return previous;
  if (Element* host = FindElement(tk, e->ChildHost)) e = host;

  const KindDescriptor& kind = tk.Kind(e->Kind);
  // A popup lives on the desktop whatever list was open.
  if (kind.Has(Trait::Popup)) e->ParentID = 0;
  if (kind.ListHolder != KindDescriptor::NoList) e->ListHolder = kind.ListHolder;
  if (kind.ListHolder == KindDescriptor::WindowList) root.CurrentWindow = e->ID;
  if (kind.Has(Trait::Tabs) && e->ItemMap.count(tab) != 0) e->CurrentTab = tab;
  if (kind.Has(Trait::ClosedList)) {
    // A splitter holds its two gadgets but never receives new elements: it is a holder
    // whose list is always closed.
    e->ListHolder = 1;
    e->ListPrevious = e->ID;
    return previous;
  }
  if (e->ListHolder != 0) {
    e->ListPrevious = root.OpenList;
    root.OpenList = e->ID;
    e->ListID = e->ID;
  }
  return previous;
}

ListState EnterParentList(Toolkit& tk, int parentId) {
  ListState saved;
  Element* parent = FindElement(tk, parentId);
  if (parent == nullptr) return saved;
  Root& root = tk.root;
  saved.entered = true;
  saved.openList = root.OpenList;
  saved.currentWindow = root.CurrentWindow;
  if (const Element* open = FindElement(tk, root.OpenList)) saved.openTab = open->CurrentTab;
  // OpenList opens the element that holds the parent's children.
  Element* holder = parent;
  if (Element* host = FindElement(tk, parent->ChildHost)) holder = host;
  saved.holder = holder->ID;
  saved.holderMark = holder->ListPrevious;
  saved.holderTab = holder->CurrentTab;
  OpenList(tk, parentId);
  // The parent holds the new element even when it keeps no list of its own (a list's bars).
  root.OpenList = saved.holder;
  // Inside a gadget of another window the new element belongs to that window; the desktop's
  // popups and lists stay with the window they are made for.
  holder = FindElement(tk, saved.holder);
  if (holder != nullptr && tk.Kind(holder->Kind).ListHolder >= KindDescriptor::NoList &&
      FindElement(tk, holder->WindowID) != nullptr)
    root.CurrentWindow = holder->WindowID;
  return saved;
}

void LeaveParentList(Toolkit& tk, const ListState& saved, int made) {
  if (!saved.entered) return;
  Root& root = tk.root;
  if (Element* e = FindElement(tk, made);
      e != nullptr && e->ID != saved.openList && e->ListHolder != 0 && e->ListPrevious != e->ID)
    e->ListPrevious = e->ID;  // the new element's own list is not the caller's
  if (Element* holder = FindElement(tk, saved.holder)) {
    holder->ListPrevious = saved.holderMark;
    holder->CurrentTab = saved.holderTab;
  }
  root.CurrentWindow = saved.currentWindow;
  // A list freed meanwhile leaves the fallback the freeing chose.
  Element* open = FindElement(tk, saved.openList);
  if (open == nullptr && saved.openList != -1) return;
  root.OpenList = saved.openList;
  if (open != nullptr) open->CurrentTab = saved.openTab;
}

namespace {

// Closes e's list: the list that held e becomes the open one again.
int CloseRecordList(Toolkit& tk, Element& e) {
  Root& root = tk.root;
  root.OpenList = e.ParentID;
  if (IsWindowRecord(tk, e)) root.CurrentWindow = e.WindowID;
  e.ListPrevious = e.ID;
  // The inner element of a scroll area closes the scroll area with it. That element is a
  // child of the area, so only the parent needs looking at.
  if (Element* rec = FindElement(tk, e.ParentID);
      rec != nullptr && rec != &e && rec->ChildHost == e.ID &&
      tk.Kind(rec->Kind).ListHolder == KindDescriptor::ContainerList) {
    rec->ListPrevious = rec->ID;
    root.OpenList = rec->ParentID;
  }
  return e.ID;
}

bool HasOpenList(const Element& e) {
  return e.ID != 0 && e.ListHolder != 0 && e.ListPrevious != e.ID;
}

}  // namespace

int CloseList(Toolkit& tk) {
  Root& root = tk.root;
  for (size_t i = root.Elements.size(); i-- > 0;) {
    Element& e = *root.Elements[i];
    if (HasOpenList(e)) return CloseRecordList(tk, e);
  }
  return -1;
}

int CloseListOf(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr || !HasOpenList(*e)) return CloseList(tk);
  return CloseRecordList(tk, *e);
}

int SetElementParent(Toolkit& tk, int id, int parentId, int tab) {
  Element* e = FindElement(tk, id);
  Element* parent = FindElement(tk, parentId);
  if (e == nullptr || parent == nullptr) return -1;
  const int oldParent = e->ParentID;
  if (oldParent == parentId) return -1;
  // A parent inside the element (or the element itself) would close a loop in the tree.
  if (ChainReaches(tk, parentId, id)) return -1;

  AddChildCount(tk, parentId, +1);
  AddChildCount(tk, oldParent, -1);
  const int oldWindow = e->WindowID;
  const int newWindow = IsWindowRecord(tk, *parent) ? parent->ID : parent->WindowID;
  e->WindowID = newWindow;
  e->ParentID = parentId;
  // Descendants that belonged to the old window through this element follow it.
  if (!IsWindowRecord(tk, *e)) {
    for (const auto& rec : tk.root.Elements) {
      if (rec.get() != e && rec->WindowID == oldWindow && IsDescendant(tk, *rec, id)) {
        rec->WindowID = newWindow;
      }
    }
  }
  // On a panel the element sits on the asked tab and shows only when that tab does; under
  // a hidden parent it is hidden; otherwise it shows as it asked for itself.
  e->TabIndex = parent->ItemMap.count(tab) != 0 ? tab : 0;
  const bool offTab = tk.Kind(parent->Kind).Has(Trait::Tabs) && e->TabIndex != parent->CurrentTab;
  e->Hidden = offTab || parent->Hidden != 0 || e->HiddenOwn != 0 ? 1 : 0;

  if (tk.hooks.SetPosition != nullptr) {
    BusyGuard busy(tk);
    tk.hooks.SetPosition(tk, parentId, ZOrder::Last, -1);
    // Keep the subtree contiguous: place the element after the end of its new parent's
    // subtree (its other descendants), then windows go to the front.
    int last = parentId;
    for (const auto& rec : tk.root.Elements) {
      if (IsDescendant(tk, *rec, parentId) && !IsInside(tk, *rec, id)) last = rec->ID;
    }
    if (FindElement(tk, id) != nullptr) tk.hooks.SetPosition(tk, id, ZOrder::After, last);
    if (IsWindow(tk, id)) tk.hooks.SetPosition(tk, id, ZOrder::Last, -1);
    e = FindElement(tk, id);
    if (e == nullptr) return oldParent;
  }

  if (e->Docked != 0) {
    DockElement(tk, id, e->Flags & Flag::DockMask);
  } else {
    // The getters add the border surplus and the resize takes it off again.
    const int surplus = e->FrameWidth - e->FrameWidthSet;
    const int x = e->ParentOffsetX() + surplus;
    const int y = e->ParentOffsetY() + surplus;
    ResizeElementById(tk, id, x, y, kIgnore, kIgnore, CoordMode::Parent);
    if (Element* moved = FindElement(tk, id)) {
      // Clip against the new parent even when the absolute position did not change.
      ResizeElement(tk, *moved, moved->Frame.x0, moved->Frame.y0, moved->Frame.w0, moved->Frame.h0,
                    CoordMode::Absolute);
    }
  }
  if (Element* moved = FindElement(tk, id);
      moved != nullptr && tk.Kind(moved->Kind).Has(Trait::Bar)) {
    MoveBarStrip(tk, *moved, oldWindow, newWindow);
  }
  return oldParent;
}

// ---- Activation and focus ---------------------------------------------------------------

int ActivateElement(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr || e->Alive == 0) return -1;
  BusyGuard busy(tk);
  Root& root = tk.root;
  root.UsedElement = id;

  const KindDescriptor& kind = tk.Kind(e->Kind);
  // Bars and popups are remembered but take neither focus nor activation.
  if (kind.Has(Trait::Bar) || kind.Has(Trait::Popup)) {
    root.ActiveBar = id;
    return -1;
  }
  switch (kind.ListHolder) {
    case KindDescriptor::WindowList: {
      const int previous = root.ActiveWindow;
      if (id != previous) {
        root.ActiveWindow = id;
        Announce(tk, ElementEvent::LostFocus, previous);
        Announce(tk, ElementEvent::Focus, id);
      }
      Element* window = FindElement(tk, id);
      if (window == nullptr) return previous;
      const int wanted = window->LastFocus;
      if (wanted != root.FocusedGadget) {
        SetFocusBit(tk, root.FocusedGadget, false);
        // LastFocus 0 means no gadget was activated in the window yet (id 0 is the desktop).
        if (wanted != 0) SetFocusBit(tk, wanted, true);
        root.FocusedGadget = wanted;
      }
      return previous;
    }
    default: {
      const int previous = root.ActiveGadget;
      SetFocusBit(tk, root.FocusedGadget, false);
      root.FocusedGadget = id;
      SetFocusBit(tk, id, true);
      root.ActiveWindow = e->WindowID;
      if (Element* window = FindElement(tk, e->WindowID)) window->LastFocus = id;
      if (id != previous) {
        root.ActiveGadget = id;
        Announce(tk, ElementEvent::LostFocus, previous);
        Announce(tk, ElementEvent::Focus, id);
      }
      return previous;
    }
  }
}

int FocusWindow(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return -1;
  if (e->Data == kIgnore) return kIgnore;
  Root& root = tk.root;
  const int previous = root.FocusedElement;
  const int window = IsWindowRecord(tk, *e) ? e->ID : e->WindowID;
  root.FocusedElement = window;
  // The designer's own tool windows keep their place in the z-order.
  const bool fixed = window == 35 || window == 37 || window == 39 || window == 41;
  if (!fixed && tk.hooks.SetPosition != nullptr && FindElement(tk, window) != nullptr) {
    BusyGuard busy(tk);
    tk.hooks.SetPosition(tk, window, ZOrder::Last, -1);
  }
  return previous;
}

int StickyWindow(Toolkit& tk, int id, int state) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return -1;
  Root& root = tk.root;
  const int previous = root.StickyWindow;
  if (!IsWindowRecord(tk, *e)) return previous;
  if (state != 0) {
    root.StickyWindow = id;
    if (previous != id && tk.hooks.SetPosition != nullptr) {
      BusyGuard busy(tk);
      tk.hooks.SetPosition(tk, id, ZOrder::Last, -1);
    }
  } else {
    root.StickyWindow = -1;
  }
  return previous;
}

// ---- Freeing ----------------------------------------------------------------------------

void FreeElement(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  BusyGuard busy(tk);
  // The element, its descendants, and what any of them owns on the desktop (with its own
  // descendants), until nothing more is found. Collected before anything is freed so the
  // parent chains are still intact; freed records stay readable in the graveyard.
  const auto& list = tk.root.Elements;
  std::unordered_set<const Element*> doomed{e};
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& rec : list) {
      if (doomed.count(rec.get()) != 0) continue;
      const Element* parent = FindElement(tk, rec->ParentID);
      const bool inside = parent != nullptr && parent != rec.get() && doomed.count(parent) != 0;
      if (inside || OwnedByDoomed(tk, *rec, doomed)) {
        doomed.insert(rec.get());
        grew = true;
      }
    }
  }
  // Later records first (children follow their parents), the element itself last.
  std::vector<Element*> order;
  for (size_t i = list.size(); i-- > 0;)
    if (list[i].get() != e && doomed.count(list[i].get()) != 0) order.push_back(list[i].get());
  for (Element* rec : order)
    FreeOne(tk, rec);
  FreeOne(tk, e);
}

void RemoveElement(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  BusyGuard busy(tk);
  int chosen = PreviousSibling(tk, id);
  if (chosen == -1) chosen = NextSibling(tk, id);
  if (chosen == -1) chosen = e->ParentID;
  ActivateElement(tk, chosen);
  FocusWindow(tk, chosen);
  FreeElement(tk, id);
  if (Element* next = FindElement(tk, chosen); next != nullptr && next->Named == 1) {
    tk.root.DesignedElement = chosen;
  }
}

}  // namespace tk
