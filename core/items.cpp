// Element items: placing, measuring and laying out rows, tabs, menu entries, caption buttons,
// splitter halves and property rows; and the public per-kind entry AddElementItem.
#include "core/items.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "core/coords.h"
#include "core/lookup.h"

namespace tk {
namespace {

// Item sizes around the measured text and image; the drawing pipeline uses the same margins.
constexpr int kRowPadding = 4;       // vertical rows: max(text height, image height) + 4
constexpr int kBarTextPadding = 12;  // horizontal entries: text width + 12
constexpr int kImageGap = 4;         // an image adds its width + 4
constexpr int kSeparatorThickness = 3;
constexpr int kFreeSeparatorSize = 20;
constexpr Color kHotBackColor = 0xFCDFC3;
constexpr Color kStateColor1 = 0xFAD4AD;
constexpr Color kStateColor2 = 0x505050;
constexpr Color kStateColor3 = 0xFFFFFF;

struct Measure {
  int textW = 0, textH = 0, imageW = 0, imageH = 0;
  bool image = false;
};

// Text in the owner's font (the height of "A" for an empty text) and the image's size.
Measure MeasureItem(Toolkit& tk, const Element& owner, std::string_view text, int image) {
  Measure m;
  platform::Painter& painter = tk.platform.Measurer();
  const int previousFont = painter.Font();
  painter.SetFont(owner.FontID != 0 ? owner.FontID : tk.platform.Fonts().Default());
  if (text.empty()) {
    m.textH = painter.TextHeight("A");
  } else {
    const platform::TextSize size = painter.MeasureText(text);
    m.textW = size.width;
    m.textH = size.height;
  }
  painter.SetFont(previousFont);
  const platform::ImageStore& images = tk.platform.Images();
  if (image != -1 && images.IsImage(image)) {
    m.image = true;
    m.imageW = images.Width(image);
    m.imageH = images.Height(image);
  }
  return m;
}

int RowHeight(const Measure& m) {
  return std::max(m.textH, m.image ? m.imageH : 0) + kRowPadding;
}
int EntryWidth(const Measure& m) {
  return m.textW + kBarTextPadding + (m.image ? m.imageW + kImageGap : 0);
}

// Rows of vertical lists, entries of horizontal bars, and freely placed items.
void PlaceListItem(Toolkit& tk, Element& owner, Element& item, size_t index, bool inserted,
                   int image) {
  item.Frame.x0 = 0;
  item.Frame.y0 = 0;
  item.BackgroundMode = Background::None;
  item.BackColor = owner.BackColor;
  item.FrontColor = owner.FrontColor;
  item.FrameColor = owner.FrameColor;

  const Measure m = MeasureItem(tk, owner, item.Text, image);
  const KindDescriptor& kind = tk.Kind(owner.Kind);
  // An editor's empty line keeps its height instead of turning into a separator.
  const bool separator = m.textW == 0 && !m.image && !kind.Has(Trait::TakesText);
  if (separator) {
    ++owner.SeparatorCount;
    item.SeparatorCount = 1;
  }

  // Appending advances the run past the previous item; inserting takes the place of the
  // item now after the new one and pushes the rest along.
  if (!inserted) {
    owner.RunX += owner.ItemWidth;
    owner.RunY += owner.ItemHeight;
  }
  Element* next = inserted ? owner.Items[index + 1].get() : nullptr;
  auto& items = owner.Items;
  const int fw = owner.FrameWidth;

  if (owner.ListBox == 1) {
    const int w = separator ? owner.Frame.w0 : owner.Inner.w0;
    const int h = separator ? kSeparatorThickness : RowHeight(m);
    item.Frame.y0 = inserted ? next->Frame.y0 : owner.RunY;
    item.Frame.w0 = w;
    item.Frame.h0 = h;
    if (inserted) {
      for (size_t i = index + 1; i < items.size(); ++i)
        items[i]->Frame.y0 += h;
      owner.RunY += h;
    } else {
      owner.ItemWidth = w;
      owner.ItemHeight = h;
    }
    if (kind.Has(Trait::ResizesToItems)) {
      // Rows of a list that grows to hold them are menu rows: they leave room for the icon
      // gutter.
      const int wanted = EntryWidth(m) + tk.root.MenuHeight;
      const int width = std::max(owner.Frame.w0, separator ? 0 : wanted + 2 * fw);
      const int height = owner.RunY + owner.ItemHeight + 2 * fw;
      const int oldFrameW = owner.Frame.w0, oldInnerW = owner.Inner.w0;
      ResizeElement(tk, owner, kIgnore, kIgnore, width, height, CoordMode::Parent);
      if (!owner.Alive) return;
      // The other rows already have the list's width unless it changed: a long list grows
      // by one row without a walk over all of them.
      auto fit = [&](Element& row) {
        row.Frame.w0 = row.SeparatorCount ? owner.Frame.w0 : owner.Inner.w0;
      };
      if (owner.Frame.w0 != oldFrameW || owner.Inner.w0 != oldInnerW) {
        for (auto& row : items)
          fit(*row);
      } else {
        fit(item);
      }
      if (!inserted) owner.ItemWidth = item.Frame.w0;
    }
  } else if (owner.ListBox == 0) {
    const int advance = separator ? kSeparatorThickness : EntryWidth(m);
    int w = advance, h;
    if (separator) {
      h = owner.Frame.h0;
    } else {
      h = owner.Inner.h0 > 0 ? owner.Inner.h0 : RowHeight(m);
      if (kind.SizeEntry != nullptr) kind.SizeEntry(owner, advance, w, h);
    }
    item.Frame.x0 = inserted ? next->Frame.x0 : owner.RunX;
    item.Frame.w0 = w;
    item.Frame.h0 = h;
    if (inserted) {
      for (size_t i = index + 1; i < items.size(); ++i)
        items[i]->Frame.x0 += advance;
      owner.RunX += advance;
    } else {
      owner.ItemWidth = advance;
      owner.ItemHeight = h;
    }
    if (kind.Has(Trait::ResizesToItems)) {
      const int width = owner.RunX + owner.ItemWidth + 2 * fw;
      const int height = separator ? owner.Frame.h0 : h + 2 * fw;
      ResizeElement(tk, owner, kIgnore, kIgnore, width, height, CoordMode::Parent);
      if (!owner.Alive) return;
      for (auto& entry : items) {
        entry->Frame.h0 = entry->SeparatorCount ? owner.Frame.h0 : owner.Inner.h0;
      }
    }
  } else {
    item.Frame.w0 = separator ? kFreeSeparatorSize : EntryWidth(m);
    item.Frame.h0 = separator ? kFreeSeparatorSize : RowHeight(m);
    if (!inserted) {
      owner.ItemWidth = item.Frame.w0;
      owner.ItemHeight = item.Frame.h0;
    }
  }
}

void RebuildItemMap(Element& owner) {
  owner.ItemMap.clear();
  for (auto& item : owner.Items)
    owner.ItemMap[item->Index] = item.get();
}

}  // namespace

namespace {

// Indexes at or above `from` move by `delta`, and so do the owner's fields that name them.
void ShiftIndexes(const KindDescriptor& kind, Element& owner, int from, int delta) {
  for (auto& item : owner.Items) {
    if (item->Index < from) continue;
    if (item->ID == item->Index) item->ID += delta;
    item->Index += delta;
  }
  auto follow = [&](int& field) {
    if (field >= from) field += delta;
  };
  if (kind.Has(Trait::SelectsItem)) follow(owner.StateIndex);
  follow(owner.PressedItem);
  follow(owner.OpenTitle);
  if (kind.Has(Trait::Pages)) follow(owner.CurrentTab);
  RebuildItemMap(owner);
}

}  // namespace

size_t InsertItemRecord(Toolkit& tk, Element& owner, int index) {
  auto& items = owner.Items;
  size_t position = items.size();
  // Indexes follow the order of Items, so the last item has the highest: appending (the
  // common case, thousands of rows in a row) needs no walk over the others.
  if (index < 0) {
    index = items.empty() ? 0 : std::max(0, items.back()->Index + 1);
  } else if (!items.empty() && items.back()->Index >= index) {
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i]->Index >= index) {
        position = i;
        break;
      }
    }
    if (position < items.size()) ShiftIndexes(tk.Kind(owner.Kind), owner, index, +1);
  }
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(position), std::make_unique<Element>());
  Element& item = *items[position];
  item.Index = index;
  item.ID = index;
  owner.ItemMap[index] = &item;
  return position;
}

void SetUpItemRecord(Element& item, const Element& owner, std::string text, Flags64 flags) {
  item.Kind = owner.Kind;
  item.Text = std::move(text);
  item.Flags = flags;
  item.WindowID = owner.WindowID;
  item.ParentID = owner.ID;
  item.FrameWidth = 1;
  item.FontID = owner.FontID;
}

void RemoveItemRecord(Toolkit& tk, Element& owner, size_t position) {
  auto& items = owner.Items;
  if (position >= items.size()) return;
  const int index = items[position]->Index;
  items.erase(items.begin() + static_cast<std::ptrdiff_t>(position));
  // A field that named the removed item names nothing now.
  for (int* field : {&owner.PressedItem, &owner.OpenTitle, &owner.HotItem})
    if (*field == index) *field = -1;
  const KindDescriptor& kind = tk.Kind(owner.Kind);
  if (kind.Has(Trait::SelectsItem) && owner.StateIndex == index) owner.StateIndex = -1;
  ShiftIndexes(kind, owner, index + 1, -1);
}

int ItemPosition(const Element& owner, int index) {
  for (size_t i = 0; i < owner.Items.size(); ++i)
    if (owner.Items[i]->Index == index) return static_cast<int>(i);
  return -1;
}

void UpdateWindowStrip(Toolkit& tk, const Element& bar) {
  Element* window = FindElement(tk, bar.WindowID);
  if (window == nullptr || window->Kind != ElementKind::Window) return;
  int Element::*strip = tk.Kind(bar.Kind).WindowStrip;
  if (strip == nullptr) return;
  window->*strip = bar.Frame.h0;
  SetElementY(tk, *window, window->Frame.y0);
}

int AddItem(Toolkit& tk, int id, int position, const std::string& text, int image, Flags64 flags) {
  if (flags == 0) flags = Flag::DefaultItemFlags;
  Element* found = FindElement(tk, id);
  if (found == nullptr) return -1;
  // Resizing the owner may run handlers; keep every record readable until we return.
  BusyGuard busy(tk);
  Element& owner = *found;

  auto& items = owner.Items;
  const size_t index = InsertItemRecord(tk, owner, position);
  // Placed before other items (not at the end): layout pushes those along.
  const bool inserted = index + 1 < items.size();
  Element& item = *items[index];
  const int number = item.Index;

  SetUpItemRecord(item, owner, text, flags);
  item.Param3 = -1;
  item.Hidden = 1;
  item.BackColor = kNoColor;
  item.HotItem = -1;
  item.PressedItem = -1;
  item.Frame.x0 = 0;
  item.Frame.y0 = owner.Inner.y0;
  item.Frame.w0 = owner.Inner.w0;

  const KindDescriptor& kind = tk.Kind(owner.Kind);
  if (kind.PlaceItem != nullptr) {
    kind.PlaceItem(tk, owner, item);
  } else if (kind.Has(Trait::PartItems)) {
    item.Frame.h0 = 0;  // parts are sized by their kind
  } else {
    PlaceListItem(tk, owner, item, index, inserted, image);
    // A handler run by the owner's resize may have cleared the items. Mostly the item is
    // still where it was put, which spares a walk over every item.
    const bool kept =
        (index < items.size() && items[index].get() == &item) ||
        std::any_of(items.begin(), items.end(),
                    [&](const std::unique_ptr<Element>& r) { return r.get() == &item; });
    if (!kept) return number;
  }

  item.HotBackColor = kHotBackColor;
  item.StateColor1 = kStateColor1;
  item.StateColor2 = kStateColor2;
  item.StateColor3 = kStateColor3;
  item.Image = image;
  if (kind.DressItem != nullptr) kind.DressItem(owner, item);

  if (owner.Alive) UpdateWindowStrip(tk, owner);
  return number;
}

int AddElementItem(Toolkit& tk, int id, int position, const std::string& text, int image,
                   Flags64 flags) {
  Element* owner = FindElement(tk, id);
  if (owner == nullptr) return 0;
  auto adder = tk.Kind(owner->Kind).AddItem;
  return adder != nullptr ? adder(tk, *owner, position, text, image, flags) : 0;
}

int ItemRowHeight(Toolkit& tk, const Element& owner, std::string_view text, int image) {
  return RowHeight(MeasureItem(tk, owner, text, image));
}

}  // namespace tk
