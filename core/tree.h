// The element tree: kind predicates, tree queries, open lists, re-parenting, activation,
// focus and freeing.
#pragma once

#include "core/toolkit.h"

namespace tk {

// Kind predicates (false / 0 for an absent id).
ElementKind GetKind(Toolkit& tk, int id);
bool IsGadget(Toolkit& tk, int id);
bool IsWindow(Toolkit& tk, int id);
// A window keeps the list its elements belong to.
bool IsWindowRecord(Toolkit& tk, const Element& e);
bool IsMenu(Toolkit& tk, int id);
bool IsToolBar(Toolkit& tk, int id);
bool IsStatusBar(Toolkit& tk, int id);
bool IsPopupMenu(Toolkit& tk, int id);
int IsListHolder(Toolkit& tk, int id);

// Tree queries.
int GetParent(Toolkit& tk, int id);  // -1 when absent; a PopupMenu answers its SubLevel
int GetWindow(Toolkit& tk, int id);  // -1 when absent
bool IsChildOf(Toolkit& tk, int id, int ancestor);  // an element is its own descendant
// The same test for a record in hand; IsInside counts the record itself, IsDescendant not.
bool IsInside(Toolkit& tk, const Element& e, int ancestor);
bool IsDescendant(Toolkit& tk, const Element& e, int ancestor);
int HasChildren(Toolkit& tk, int id, int tab);
// The nearest ancestor whose kind has the trait (the record itself not counted); nullptr when
// none.
Element* EnclosingWithTrait(Toolkit& tk, const Element& e, uint64_t trait);
int CountSameKind(Toolkit& tk, ElementKind kind, int parentId);
int PreviousSibling(Toolkit& tk, int id);
int NextSibling(Toolkit& tk, int id);
int MouseX(Toolkit& tk, int id);  // id 0: the Root's pointer position; -1 when absent
int MouseY(Toolkit& tk, int id);
int AddChildCount(Toolkit& tk, int id, int delta);

// Open lists: new elements go into the open list.
int OpenList(Toolkit& tk, int id, int tab = 0);
int CloseList(Toolkit& tk);  // returns the id of the list closed, -1 when none was open
// Closes the list of `id` when it is open, as CloseList does when that list is the last one
// open, without searching the element list; otherwise the same as CloseList.
int CloseListOf(Toolkit& tk, int id);

// The open list as a kind creator found it: the list, its panel tab, the current window, and
// the open mark and tab of the parent whose list the creator opens.
struct ListState {
  bool entered = false;  // a parent was named and its list opened
  int openList = -1;
  int openTab = 0;
  int currentWindow = -1;
  int holder = -1;
  int holderMark = -1;
  int holderTab = 0;
};
// Opens the list of `parentId` when it names an element, so new elements become its children
// (and belong to its window) even when it keeps no list of its own; keeps what
// LeaveParentList needs to put things back.
ListState EnterParentList(Toolkit& tk, int parentId);
// Puts back the list, tab and window the caller had, when a parent's list was opened; the
// element `made` there, when it opened a list of its own, is left closed.
void LeaveParentList(Toolkit& tk, const ListState& saved, int made);
// The one creation routine of the kinds: `make` runs inside the parent's list (when parentId
// names an element) and returns the new element's id; afterwards the caller finds the list it
// had open before. Without a parent nothing is restored, so a container made stays open.
template <typename Make>
int CreateInParent(Toolkit& tk, int parentId, Make make) {
  const ListState saved = EnterParentList(tk, parentId);
  const int made = make();
  LeaveParentList(tk, saved, made);
  return made;
}
// Moves an element under a new parent; refuses a parent inside the element. Returns the
// previous parent id, or -1 when nothing changed.
int SetElementParent(Toolkit& tk, int id, int parentId, int tab = 0);

// Activation and focus.
int ActivateElement(Toolkit& tk, int id);
int FocusWindow(Toolkit& tk, int id);
int StickyWindow(Toolkit& tk, int id, int state);

// Freeing. Handlers see the Freed event before the record disappears.
void FreeElement(Toolkit& tk, int id);
void RemoveElement(Toolkit& tk, int id);

}  // namespace tk
