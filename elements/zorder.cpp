// Z-order: sibling neighbours and moving an element with its subtree in the element list.
#include "elements/zorder.h"

#include <algorithm>
#include <vector>

#include "core/lookup.h"
#include "core/tree.h"

namespace tk {
namespace {

bool IsSiblingOf(const Element& candidate, const Element& e) {
  return candidate.ParentID == e.ParentID && candidate.SubLevel == e.SubLevel &&
         candidate.Hidden == 0;
}

using Records = std::vector<std::unique_ptr<Element>>;

// Takes the records for which `take` holds out of the list, in their order.
template <typename Pred>
Records Extract(Records& list, Pred take) {
  Records taken, kept;
  kept.reserve(list.size());
  for (auto& r : list)
    (take(*r) ? taken : kept).push_back(std::move(r));
  list = std::move(kept);
  return taken;
}

// Puts `block` back into the list before position `at` (clamped to the end).
void Insert(Records& list, Records& block, size_t at) {
  at = std::min(at, list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at),
              std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
}

// Moves `a` and its subtree, in their order, directly before (or after) the record `r`.
void MoveSubtree(Toolkit& tk, Element& a, Element& r, bool after) {
  Records& list = tk.root.Elements;
  const int aId = a.ID;
  // A record inside the moved subtree cannot serve as the anchor.
  if (IsInside(tk, r, aId)) return;
  Records block = Extract(list, [&](const Element& e) { return IsInside(tk, e, aId); });
  const int at = IndexOf(tk.root, &r);
  Insert(list, block, static_cast<size_t>(at) + (after ? 1 : 0));
}

// Moves the records for which `take` holds to the end of the list, keeping their order, with
// `head` (when given) first among them.
template <typename Pred>
void MoveToEnd(Records& list, const Element* head, Pred take) {
  Records block = Extract(list, [&](const Element& e) { return &e == head || take(e); });
  std::stable_partition(block.begin(), block.end(),
                        [&](const std::unique_ptr<Element>& e) { return e.get() == head; });
  Insert(list, block, list.size());
}

// The sticky window, then the top popup menu with its members, go back on top.
void RestoreTopmost(Toolkit& tk) {
  Root& root = tk.root;
  if (const Element* sticky = FindElement(tk, root.StickyWindow)) {
    const int id = sticky->ID;
    MoveToEnd(root.Elements, sticky, [&](const Element& e) { return IsInside(tk, e, id); });
  }
  if (const Element* popup = FindElement(tk, root.TopPopupMenu)) {
    MoveToEnd(root.Elements, popup, [](const Element& e) { return e.PopupMember != 0; });
  }
}

}  // namespace

int LastInside(Toolkit& tk, int id) {
  const Element* e = FindElement(tk, id);
  if (e == nullptr) return -1;
  int last = id;
  for (const auto& r : tk.root.Elements)
    if (r.get() != e && IsInside(tk, *r, id)) last = r->ID;
  return last;
}

int Sibling(Toolkit& tk, int id, int direction) {
  const Element* e = FindElement(tk, id);
  if (e == nullptr) return -1;
  const Records& list = tk.root.Elements;
  switch (direction) {
    case ZOrder::First: {
      const Element* parent = FindElement(tk, e->ParentID);
      const int from = parent != nullptr && parent != e ? IndexOf(tk.root, parent) + 1 : 0;
      for (size_t i = static_cast<size_t>(from); i < list.size(); ++i)
        if (list[i].get() != parent && IsSiblingOf(*list[i], *e)) return list[i]->ID;
      return -1;
    }
    case ZOrder::Before:
      return PreviousSibling(tk, id);
    case ZOrder::After:
      return NextSibling(tk, id);
    case ZOrder::Last: {
      // Forward over the siblings' subtrees to the first record outside the parent, keeping
      // the last visible sibling met on the way.
      const int parentId = e->ParentID;
      const bool hasParent = FindElement(tk, parentId) != nullptr && parentId != id;
      int last = e->Hidden == 0 ? id : -1;
      for (size_t i = static_cast<size_t>(IndexOf(tk.root, e)) + 1; i < list.size(); ++i) {
        const Element& r = *list[i];
        if (hasParent && !IsInside(tk, r, parentId) && r.Hidden == 0) break;
        if (IsSiblingOf(r, *e)) last = r.ID;
      }
      return last;
    }
    default:
      return -1;
  }
}

int SetPosition(Toolkit& tk, int id, int direction, int relative) {
  if (id == relative) return 0;
  Element* a = FindElement(tk, id);
  if (a == nullptr) return -1;

  if (relative != -1) {
    // A relative element that does not exist moves nothing.
    Element* r = FindElement(tk, relative);
    if (r == nullptr) return -1;
    if (direction == ZOrder::Before)
      MoveSubtree(tk, *a, *r, false);
    else if (direction == ZOrder::After)
      MoveSubtree(tk, *a, *r, true);
    return -1;
  }

  // Sibling moves. Moving after a sibling goes past its whole subtree, so every subtree stays
  // together behind its root.
  switch (direction) {
    case ZOrder::First: {
      const int first = Sibling(tk, id, ZOrder::First);
      if (first >= 0 && first != id) SetPosition(tk, id, ZOrder::Before, first);
      break;
    }
    case ZOrder::Before: {
      const int previous = Sibling(tk, id, ZOrder::Before);
      if (previous >= 0) SetPosition(tk, id, ZOrder::Before, previous);
      break;
    }
    case ZOrder::After: {
      const int next = Sibling(tk, id, ZOrder::After);
      if (next >= 0) SetPosition(tk, id, ZOrder::After, LastInside(tk, next));
      break;
    }
    case ZOrder::Last: {
      const int last = Sibling(tk, id, ZOrder::Last);
      if (last >= 0 && last != id) SetPosition(tk, id, ZOrder::After, LastInside(tk, last));
      break;
    }
    default:
      break;
  }
  if (relative == -1) RestoreTopmost(tk);
  return -1;
}

void RegisterZOrder(Toolkit& tk) {
  tk.hooks.SetPosition = &SetPosition;
}

}  // namespace tk
