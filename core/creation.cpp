// Generic element creation: allocation, id and name, defaults per kind, linking into the tree,
// flags, geometry and the creation event.
#include "core/creation.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/items.h"
#include "core/kind_names.h"
#include "core/lookup.h"
#include "core/tree.h"

namespace tk {
namespace {

// A window created without a position is cascaded this far from the active window.
constexpr int kCascadeStep = 30;

// Automatically chosen ids: even values in [kAutoIdFirst, kAutoIdLast].
constexpr int kAutoIdFirst = 0x40000000;
constexpr int kAutoIdLast = INT_MAX - 1;

// Picks the next free automatic id: even, large, and not yet in the id table.
int ChooseAutoId(Root& root) {
  int id = root.NextAutoId;
  if (id < kAutoIdFirst || id > kAutoIdLast || (id & 1) != 0) id = kAutoIdFirst;
  while (root.IDToAddress.count(id) != 0) {
    id = id >= kAutoIdLast - 1 ? kAutoIdFirst : id + 2;
  }
  root.NextAutoId = id >= kAutoIdLast - 1 ? kAutoIdFirst : id + 2;
  return id;
}

// The tab of the nearest panel above `startId`: elements created on a later tab start hidden.
int PanelTabAbove(Toolkit& tk, int startId) {
  Element* p = FindElement(tk, startId);
  const Element* below = nullptr;  // the element of the chain that lies on p
  // The chain is bounded by the number of records, so a corrupt cycle cannot hang us.
  size_t steps = tk.root.Elements.size() + 1;
  while (p != nullptr && steps-- > 0) {
    // Deeper down, the tab is the one the containing element lies on, not the one shown now.
    if (tk.Kind(p->Kind).Has(Trait::Tabs)) return below ? below->TabIndex : p->CurrentTab;
    below = p;
    p = FindElement(tk, p->ParentID);
  }
  return 0;
}

// The number a name of the kind ends with ("Button_3", "Window_0_Button_3", "#Button_3#");
// -1 for a name of another form.
int NameOrdinal(std::string_view name, std::string_view kindName) {
  while (!name.empty() && name.back() == '#')
    name.remove_suffix(1);
  size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
    --digits;
  const std::string_view head = name.substr(0, digits);
  if (digits == name.size() || head.size() <= kindName.size() || head.back() != '_' ||
      head.substr(head.size() - 1 - kindName.size(), kindName.size()) != kindName)
    return -1;
  int value = -1;
  const auto [end, error] = std::from_chars(name.data() + digits, name.data() + name.size(), value);
  return error == std::errc() ? value : -1;
}

// Ordinal for the name: earlier elements of the same kind in the open list on the same tab,
// or the next number above that no such element's name uses (one may have been freed).
int SameKindOrdinal(Toolkit& tk, ElementKind kind, int tab) {
  const Element* list = FindElement(tk, tk.root.OpenList);
  if (list == nullptr) return 0;
  int start = IndexOf(tk.root, list);
  if (start < 0) return 0;
  int count = 0;
  std::vector<int> used;
  const std::string_view kindName = tk.Kind(kind).Name;
  const auto& all = tk.root.Elements;
  for (size_t i = static_cast<size_t>(start) + 1; i < all.size(); ++i) {
    const Element& r = *all[i];
    if (r.Alive && r.Kind == kind && r.ParentID == tk.root.OpenList && r.TabIndex == tab) {
      ++count;
      used.push_back(NameOrdinal(r.Name, kindName));
    }
  }
  std::sort(used.begin(), used.end());
  for (int n : used)
    if (n == count) ++count;
  return count;
}

int Snap(int value, int grid) {
  return grid == 0 ? value : grid * (value / grid);
}

template <typename T, typename V>
void SetUnlessIgnored(T& field, V value) {
  if (value != kIgnore) field = static_cast<T>(value);
}

// The kind's creation defaults, then its Created hook, then its built-in parts.
void ApplyKindDefaults(Toolkit& tk, Element& e, const KindDescriptor::CreationArgs& args,
                       Flags64& request) {
  const KindDescriptor& kind = tk.Kind(e.Kind);
  const KindDescriptor::CreationDefaults& d = kind.Defaults;
  e.Flags = (e.Flags & ~d.DropFlags) | d.AddFlags;
  e.BackgroundMode = d.BackgroundMode;
  SetUnlessIgnored(e.BackColor, d.BackColor);
  SetUnlessIgnored(e.FrameColor, d.FrameColor);
  SetUnlessIgnored(e.FrameWidth, d.FrameWidth);
  SetUnlessIgnored(e.CaptionHeight, d.CaptionHeight);
  SetUnlessIgnored(e.ListBox, d.ListBox);
  SetUnlessIgnored(e.ButtonSize, d.ButtonSize);
  SetUnlessIgnored(e.ArrowSize, d.ArrowSize);
  SetUnlessIgnored(e.ItemWidth, d.ItemWidth);
  if (d.StartsHidden) e.Hidden = 1;
  if (d.NoImage || (d.ImageNeedsText && e.Text.empty())) e.Image = -1;
  // A kind that shows no pictures, or takes a range in its parameters, has no second image
  // either: its second parameter (a maximum, say 1000) may well name a stored image.
  if (d.NoImage || d.RangeFromParams) e.Image2 = -1;
  if (d.NoText) e.Text.clear();
  if (d.RangeFromParams) {
    e.Min = args.param1;
    e.Max = args.param2;
    e.PageLength = args.param3;
    e.Vertical = HasAny(args.flags, Flag::Vertical) ? 1 : 0;
  }
  if (d.KeepsParam3) e.Param3 = args.param3;
  request |= d.RequestFlags;
  if (kind.Created != nullptr) {
    kind.Created(tk, e, args, request);
    if (!e.Alive) return;
  }
  for (int i = 0; i < d.PartItems; ++i)
    AddItem(tk, e.ID, -1, "", -1, Flag::PartItem);
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
  char buf[320];
  auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return "0";
  return std::string(buf, result.ptr);
}

namespace {

// Makes the record and puts it in the element list: before the record at position `id` when
// such a position exists, otherwise at the end. nullptr when no record could be made.
Element* AllocateRecord(Root& root, int id) {
  std::unique_ptr<Element> record;
  try {
    record = std::make_unique<Element>();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  Element* e = record.get();
  const int count = static_cast<int>(root.Elements.size());
  if (id >= 0 && id <= count - 1) {
    root.Elements.insert(root.Elements.begin() + id, std::move(record));
  } else {
    root.Elements.push_back(std::move(record));
  }
  return e;
}

// Gives the record its id and enters it in the id tables; a parent that exists becomes the
// open list. Returns the id.
int EnterRecord(Toolkit& tk, Element& e, int id, int parentId, bool hadRecords) {
  Root& root = tk.root;
  if (id == -1) id = ChooseAutoId(root);
  e.ID = id;
  e.Serial = root.NextSerial++;
  if (hadRecords && FindElement(tk, parentId) != nullptr) root.OpenList = parentId;
  // A duplicate id is not refused: the table then names the newest record.
  root.AddressToID[&e] = id;
  root.IDToAddress[id] = &e;
  return id;
}

struct Placement {
  int x, y, width, height;
};

// An element the designer places is named after its list, shows its name, becomes the
// designed element and snaps to the design grid.
void PlaceForDesigner(Toolkit& tk, Element& e, bool isWindow, Placement& at, std::string& caption) {
  Root& root = tk.root;
  caption = e.Name;
  e.Named = 1;
  const Element* list = FindElement(tk, root.OpenList);
  if (list != nullptr && list->Named == 1 && !list->Name.empty()) {
    e.Name = list->Name + "_" + e.Name;
  }
  root.DesignedElement = e.ID;
  const int grid = tk.dispatch.GridStep;
  // Windows (the one top-level kind the designer places) and their contents sit one pixel
  // closer to the grid than what lies inside a container.
  const bool inWindow =
      list != nullptr && tk.Kind(list->Kind).ListHolder == KindDescriptor::WindowList;
  const int inset = inWindow ? 3 : 4;
  at.x = Snap(at.x, grid) - inset;
  at.y = Snap(at.y, grid) - inset;
  if (isWindow) {
    at.height = Snap(at.height, grid) - 1;
    at.width = Snap(at.width, grid);
  } else {
    at.height = Snap(at.height, grid) + 2;
    at.width = Snap(at.width, grid) + 2;
  }
}

// The record's generic defaults and its place in the tree: parent, window and panel tab.
void LinkRecord(Toolkit& tk, Element& e, ElementKind kind, int param1, int param2, Flags64 flags,
                int tab) {
  Root& root = tk.root;
  e.Kind = kind;
  e.FontID = tk.platform.Fonts().Default();
  e.Image = param1;
  e.Image2 = param2;
  e.Param3 = -1;
  e.Flags |= flags;
  e.Alive = 1;
  e.Repaint = 1;
  e.TabIndex = 0;

  AddChildCount(tk, root.OpenList, 1);
  if (tab != 0) {
    e.Hidden = 1;
    e.TabIndex = tab;
  }
  e.WindowID = root.CurrentWindow;
  e.ParentID = root.OpenList;
  if (HasAny(flags, Flag::Invisible)) {
    e.HiddenOwn = 1;
    e.Hidden = 1;
  }
}

}  // namespace

int CreateElement(Toolkit& tk, ElementKind kind, int id, int x, int y, int width, int height,
                  std::string_view text, int param1, int param2, int param3, Flags64 flags,
                  int parentId, std::string_view stepText) {
  // Handlers run inside (flags, activation, the creation event); records they free stay
  // readable until we return.
  BusyGuard busy(tk);
  Root& root = tk.root;
  const KindDescriptor& descriptor = tk.Kind(kind);

  const bool hadRecords = !root.Elements.empty();
  Element* record = AllocateRecord(root, id);
  if (record == nullptr) return 0;
  Element& e = *record;
  id = EnterRecord(tk, e, id, parentId, hadRecords);

  // The tab the element lands on; also what its name is counted against, so that elements
  // inside a container on a later panel tab are numbered among themselves.
  const int tab = PanelTabAbove(tk, root.OpenList);
  e.Name = std::string(tk.Kind(kind).Name) + "_" +
           std::to_string(root.NamesGiven ? 0 : SameKindOrdinal(tk, kind, tab));

  Placement at{x, y, width, height};
  if (at.x == kIgnore) at.x = ElementX(tk, root.ActiveWindow, CoordMode::Parent) + kCascadeStep;
  if (at.y == kIgnore) at.y = ElementY(tk, root.ActiveWindow, CoordMode::Parent) + kCascadeStep;
  std::string caption(text);
  if (HasAll(flags, Flag::DesignerPlaced)) {
    PlaceForDesigner(tk, e, descriptor.ListHolder == KindDescriptor::WindowList, at, caption);
  }

  for (int Root::*last : descriptor.LastIds)
    if (last != nullptr) root.*last = id;

  LinkRecord(tk, e, kind, param1, param2, flags, tab);
  OpenList(tk, id, tab);
  e.Text = std::move(caption);

  Flags64 request = flags;
  ApplyKindDefaults(tk, e, {param1, param2, param3, flags, stepText}, request);
  if (!e.Alive) return id;

  if (id != 0) {
    // Placed just below, once, rather than also at its empty frame.
    SetElementFlags(tk, id, request, false);
    if (!e.Alive) return id;
  }

  // Bring the blocks in line with the border chosen by the flags before placing, so a
  // position equal to the zero-filled frame still gets its inner rectangle.
  SetElementX(tk, e, e.Frame.x0);
  SetElementY(tk, e, e.Frame.y0);
  ResizeElement(tk, e, at.x, at.y, at.width, at.height, CoordMode::Parent);
  if (!e.Alive) return id;

  if (descriptor.Placed != nullptr) descriptor.Placed(tk, e);

  PostElementEvent(tk, ElementEvent::Created, id, -1, 0);
  return id;
}

}  // namespace tk
