// Element items: placing, measuring and laying out rows, tabs, menu entries, caption buttons,
// splitter halves and property rows; and the public per-kind entry AddElementItem.
#include "core/items.h"

#include <algorithm>
#include <string_view>
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
constexpr int kCanvasItemWidth = 21;
constexpr int kCanvasItemHeight = 24;
constexpr int kPanelTabInset = 3;      // a tab is CaptionHeight - 3 high
constexpr int kEditorMaxHeight = 225;  // lines added to an editor at once
// Editor lines: the default item flags with the text on the left instead of centred.
constexpr Flags64 kEditorLineFlags = (Flag::DefaultItemFlags & ~Flag::Center) | Flag::Left;

// Splitter attribute codes for the two joined elements.
constexpr int kSplitterFirstAttribute = 3;
constexpr int kSplitterSecondAttribute = 4;

// Flags a properties list takes when it gets rows: centred, left-aligned, with row states.
constexpr Flags64 kPropertyListFlags = 0x3000 | Flag::Left | 0xC0000 | 0x4000;

constexpr Color kHotBackColor = 0xFCDFC3;
constexpr Color kStateColor1 = 0xFAD4AD;
constexpr Color kStateColor2 = 0x505050;
constexpr Color kStateColor3 = 0xFFFFFF;
constexpr Color kWhite = 0xFFFFFF;

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

// Owners whose items are built-in parts (caption buttons, spin and drop buttons, scroll
// parts): the kind lays them out itself, so they take no row or bar placement.
bool HasPartItems(ElementKind k) {
  switch (k) {
    case ElementKind::Window:
    case ElementKind::Spin:
    case ElementKind::TrackBar:
    case ElementKind::ScrollBar:
    case ElementKind::ScrollArea:
    case ElementKind::ComboBox:
    case ElementKind::PositionPicker:
      return true;
    default:
      return false;
  }
}

bool ResizesToItems(ElementKind k) {
  return k == ElementKind::Menu || k == ElementKind::PopupMenu || k == ElementKind::ToolBar;
}

void PlaceSplitterItem(Toolkit& tk, Element& owner, Element& item) {
  auto record = [&](int code, int gadget, int& field) {
    item.Flags |= Flag::Border;
    auto setter = tk.Kind(ElementKind::Splitter).SetAttribute;
    if (setter == nullptr || !setter(tk, owner, code, gadget)) field = gadget;
  };
  if (item.Text == std::to_string(owner.Gadget1)) {
    record(kSplitterFirstAttribute, owner.Gadget1, owner.SplitterFirst);
  }
  if (item.Text == std::to_string(owner.Gadget2)) {
    record(kSplitterSecondAttribute, owner.Gadget2, owner.SplitterSecond);
  }
}

void PlaceCanvasItem(Toolkit& tk, Element& owner, Element& item) {
  item.BackgroundMode = Background::Gradient;
  item.Flags |= Flag::Border;
  owner.CurrentTab = 0;
  owner.StateIndex = 0;
  // The Root keeps the last pointer position seen on the canvas.
  item.Frame.x0 = tk.root.MouseX - owner.Frame.x0;
  item.Frame.y0 = tk.root.MouseY - owner.Frame.y0;
  item.Frame.w0 = kCanvasItemWidth;
  item.Frame.h0 = kCanvasItemHeight;
}

void PlacePartItem(Element& owner, Element& item) {
  // Window caption items live in the caption strip; other parts are sized by their kind.
  item.Frame.h0 = owner.Kind == ElementKind::Window ? owner.CaptionHeight : 0;
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
  // An editor's empty line keeps its height instead of turning into a separator.
  const bool separator = m.textW == 0 && !m.image && owner.Kind != ElementKind::Editor;
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
    if (ResizesToItems(owner.Kind)) {
      int wanted = EntryWidth(m);
      // Popup rows leave room for the icon gutter.
      if (owner.Kind == ElementKind::PopupMenu) wanted += tk.root.MenuHeight;
      const int width = std::max(owner.Frame.w0, separator ? 0 : wanted + 2 * fw);
      const int height = owner.RunY + owner.ItemHeight + 2 * fw;
      ResizeElement(tk, owner, kIgnore, kIgnore, width, height, CoordMode::Parent);
      if (!owner.Alive) return;
      for (auto& row : items) {
        row->Frame.w0 = row->SeparatorCount ? owner.Frame.w0 : owner.Inner.w0;
      }
      if (!inserted) owner.ItemWidth = item.Frame.w0;
    }
  } else if (owner.ListBox == 0) {
    const bool tab = owner.Kind == ElementKind::Panel;
    const int advance = separator ? kSeparatorThickness : EntryWidth(m);
    int w = advance, h;
    if (separator) {
      h = owner.Frame.h0;
    } else if (tab) {
      w = advance - 1;
      h = owner.CaptionHeight - kPanelTabInset;
    } else {
      h = owner.Inner.h0 > 0 ? owner.Inner.h0 : RowHeight(m);
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
    if (ResizesToItems(owner.Kind)) {
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

// A properties row: "<editor kind> <label>:<value>".
void ApplyPropertyRow(Element& owner, Element& item) {
  owner.BackColor = kNoColor;
  owner.Flags |= kPropertyListFlags;
  const std::string row = item.Text;
  const size_t space = row.find(' ');
  const std::string word = row.substr(0, space);
  const std::string rest = space == std::string::npos ? std::string() : row.substr(space + 1);
  const size_t colon = rest.find(':');
  item.Text2 = colon == std::string::npos ? rest : rest.substr(0, colon + 1);
  item.Text = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
  if (item.Text.empty()) item.Text.assign(1, ' ');

  ElementKind editor = ElementKind::None;
  if (word == "Button") editor = ElementKind::Button;
  if (word == "Spin") editor = ElementKind::Spin;
  if (word == "ComboBox") editor = ElementKind::ComboBox;
  if (editor != ElementKind::None) {
    item.Kind = editor;
    item.BackgroundMode = Background::Gradient;
    item.Flags |= Flag::Border;
  } else {
    item.BackgroundMode = Background::None;
  }
}

void ApplyOwnerAppearance(const Element& owner, Element& item) {
  switch (owner.Kind) {
    case ElementKind::ComboBox:
      if (HasAny(owner.Flags, Flag::Editable)) {
        item.BackColor = kWhite;
        item.BackgroundMode = Background::Plain;
      } else {
        item.BackColor = kNoColor;
        item.BackgroundMode = Background::None;
      }
      break;
    case ElementKind::Spin:
      item.BackColor = kNoColor;
      item.Radius = owner.Radius;
      item.BackgroundMode = Background::Gradient;
      break;
    case ElementKind::TrackBar:
    case ElementKind::ScrollBar:
    case ElementKind::ScrollArea:
      item.BackColor = kNoColor;
      item.Vertical = HasAny(owner.Flags, Flag::Vertical) ? 1 : 0;
      item.BackgroundMode = Background::Gradient;
      break;
    case ElementKind::Window:
      item.BackColor = kNoColor;
      item.BackgroundMode = Background::Gradient;
      break;
    default:
      break;
  }
}

// An editor's text goes in line by line, up to a block height; alignment bits of the editor
// move the first line down by the free space when the editor had no lines yet.
int AddEditorLines(Toolkit& tk, Element& owner, const std::string& text, int image, Flags64 flags) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == text.size()) break;
    start = end + 1;
    if (start == text.size()) break;  // a final line feed ends the last line, no empty one
  }

  std::vector<int> heights;
  int total = 0;
  for (const std::string& line : lines) {
    const int h = RowHeight(MeasureItem(tk, owner, line, image));
    if (total + h > kEditorMaxHeight) break;
    total += h;
    heights.push_back(h);
  }

  if (owner.Items.empty()) {
    const int free = std::max(0, owner.Inner.h0 - total);
    if (HasAny(owner.Flags, Flag::VCenter)) {
      owner.RunY += free / 2;
    } else if (HasAny(owner.Flags, Flag::Bottom)) {
      owner.RunY += free;
    }
  }

  // Lines of text read from the left unless the caller asks otherwise.
  if (flags == 0) flags = kEditorLineFlags;
  const int id = owner.ID;
  int last = 0;
  for (size_t i = 0; i < heights.size(); ++i) {
    const int index = AddItem(tk, id, -1, lines[i], image, flags);
    if (index < 0) break;
    last = index;
  }
  return last;
}

void RebuildItemMap(Element& owner) {
  owner.ItemMap.clear();
  for (auto& item : owner.Items)
    owner.ItemMap[item->Index] = item.get();
}

}  // namespace

bool SelectsItems(ElementKind k) {
  switch (k) {
    case ElementKind::ListView:
    case ElementKind::ListIcon:
    case ElementKind::Panel:
    case ElementKind::PopupMenu:
    case ElementKind::Menu:
    case ElementKind::PropertyList:
      return true;
    default:
      return false;
  }
}

namespace {

// Indexes at or above `from` move by `delta`, and so do the owner's fields that name them.
void ShiftIndexes(Element& owner, int from, int delta) {
  for (auto& item : owner.Items) {
    if (item->Index < from) continue;
    if (item->ID == item->Index) item->ID += delta;
    item->Index += delta;
  }
  auto follow = [&](int& field) {
    if (field >= from) field += delta;
  };
  if (SelectsItems(owner.Kind)) follow(owner.StateIndex);
  follow(owner.PressedItem);
  follow(owner.OpenTitle);
  if (owner.Kind == ElementKind::Panel) follow(owner.CurrentTab);
  RebuildItemMap(owner);
}

}  // namespace

size_t InsertItemRecord(Element& owner, int index) {
  auto& items = owner.Items;
  size_t position = items.size();
  if (index < 0) {
    index = 0;
    for (const auto& item : items)
      index = std::max(index, item->Index + 1);
  } else {
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i]->Index >= index) {
        position = i;
        break;
      }
    }
    if (position < items.size()) ShiftIndexes(owner, index, +1);
  }
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(position), std::make_unique<Element>());
  Element& item = *items[position];
  item.Index = index;
  item.ID = index;
  owner.ItemMap[index] = &item;
  return position;
}

void RemoveItemRecord(Element& owner, size_t position) {
  auto& items = owner.Items;
  if (position >= items.size()) return;
  const int index = items[position]->Index;
  items.erase(items.begin() + static_cast<std::ptrdiff_t>(position));
  // A field that named the removed item names nothing now.
  for (int* field : {&owner.PressedItem, &owner.OpenTitle, &owner.HotItem})
    if (*field == index) *field = -1;
  if (SelectsItems(owner.Kind) && owner.StateIndex == index) owner.StateIndex = -1;
  ShiftIndexes(owner, index + 1, -1);
}

int ItemPosition(const Element& owner, int index) {
  for (size_t i = 0; i < owner.Items.size(); ++i)
    if (owner.Items[i]->Index == index) return static_cast<int>(i);
  return -1;
}

void UpdateWindowStrip(Toolkit& tk, const Element& bar) {
  Element* window = FindElement(tk, bar.WindowID);
  if (window == nullptr || window->Kind != ElementKind::Window) return;
  switch (bar.Kind) {
    case ElementKind::Menu:
      window->MenuStripHeight = bar.Frame.h0;
      break;
    case ElementKind::ToolBar:
      window->ToolStripHeight = bar.Frame.h0;
      break;
    case ElementKind::StatusBar:
      window->StatusStripHeight = bar.Frame.h0;
      break;
    default:
      return;
  }
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
  const size_t index = InsertItemRecord(owner, position);
  // Placed before other items (not at the end): layout pushes those along.
  const bool inserted = index + 1 < items.size();
  Element& item = *items[index];
  const int number = item.Index;

  item.RepaintFlags = StateBit::Normal;
  item.Flags = flags;
  item.WindowID = owner.WindowID;
  item.ParentID = owner.ID;
  item.Param3 = -1;
  item.FrameWidth = 1;
  item.Hidden = 1;
  item.BackColor = kNoColor;
  item.HotItem = -1;
  item.PressedItem = -1;
  item.Frame.x0 = 0;
  item.Frame.y0 = owner.Inner.y0;
  item.Frame.w0 = owner.Inner.w0;
  item.Kind = owner.Kind;
  item.FontID = owner.FontID;
  item.Text = text;

  if (owner.Kind == ElementKind::Splitter) {
    PlaceSplitterItem(tk, owner, item);
  } else if (owner.Kind == ElementKind::Canvas) {
    PlaceCanvasItem(tk, owner, item);
  } else if (HasPartItems(owner.Kind)) {
    PlacePartItem(owner, item);
  } else {
    PlaceListItem(tk, owner, item, index, inserted, image);
    // A handler run by the owner's resize may have cleared the items.
    const bool kept =
        std::any_of(items.begin(), items.end(),
                    [&](const std::unique_ptr<Element>& r) { return r.get() == &item; });
    if (!kept) return number;
  }

  if (owner.Kind == ElementKind::PropertyList) ApplyPropertyRow(owner, item);
  ApplyOwnerAppearance(owner, item);

  item.HotBackColor = kHotBackColor;
  item.StateColor1 = kStateColor1;
  item.StateColor2 = kStateColor2;
  item.StateColor3 = kStateColor3;
  if (owner.Kind == ElementKind::PopupMenu) {
    item.Image = -1;
    item.Image2 = image;
  } else {
    item.Image = image;
  }

  if (owner.Alive) UpdateWindowStrip(tk, owner);
  return number;
}

int AddElementItem(Toolkit& tk, int id, int position, const std::string& text, int image,
                   Flags64 flags) {
  Element* owner = FindElement(tk, id);
  if (owner == nullptr) return 0;
  switch (owner->Kind) {
    case ElementKind::PopupMenu:
    case ElementKind::PropertyList:
      return AddItem(tk, id, position, text, image, flags);
    case ElementKind::Panel:
    case ElementKind::ListView:
    case ElementKind::ListIcon:
    case ElementKind::ComboBox: {
      auto adder = tk.Kind(owner->Kind).AddItem;
      return adder != nullptr ? adder(tk, *owner, position, text, image, flags) : 0;
    }
    case ElementKind::Editor: {
      BusyGuard busy(tk);
      return AddEditorLines(tk, *owner, text, image, flags);
    }
    default:
      return 0;
  }
}

}  // namespace tk
