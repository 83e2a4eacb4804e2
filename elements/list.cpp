// The ListView and ListIcon kinds: creation with their scroll bars, items, icon-list rows and
// header columns, the content size the bars scroll over, and the two item painters.
#include "elements/list.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/scrollbar.h"
#include "elements/zorder.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {
namespace {

using looks::kBarThickness;
using looks::kBlack;

using platform::DrawMode;
using platform::Painter;

constexpr int kLayoutPasses = 4;
constexpr int kSmallIcon = 16;
constexpr int kLargeIcon = 24;
constexpr int kIconPadding = 6;   // an item with an icon is the icon size + 6 high
constexpr int kContentStart = 2;  // content height before the first item's height is added
// List view items keep one pixel from the inner edges, which is what kContentStart leaves
// above the first and below the last item.
constexpr int kItemInset = 1;
constexpr int kTextAllowance = 4;  // the room PaintElement keeps around an item's text
constexpr int kRowImageGap = 3;    // an icon-list row with an image is followed by 3 pixels
constexpr int kRowRightGap = 2;
// The header band: one pixel above the columns, then the column text with this padding.
// A dropped-down list is at most this tall.
constexpr int kDropDownMaxHeight = 200;
// Icon-list rows with check boxes: the box lies between these offsets from the frame's left
// edge and the row's text.
constexpr int kCheckColumnLeft = 6;
constexpr int kCheckColumnGap = 3;
constexpr int kColumnY = 1;
constexpr int kColumnPadding = 4;

constexpr Color kHotFill = 0xFCDFC3;        // RGB (195, 223, 252)
constexpr Color kSelectOutline = 0xFFBAA0;  // RGB (160, 186, 255): selection and hot outline
constexpr Color kItemText = 0x505050;       // RGB (80, 80, 80)
constexpr Color kItemBack = 0xFFFFFF;
constexpr Color kHeaderTop = 0xF0F0F0;
constexpr Color kHeaderBottom = 0xE5E5E5;
constexpr int kBoxAlpha = 128;

// Check boxes of icon-list rows, relative to the origin and the row.
constexpr int kCheckX = 5;
constexpr int kCheckSize = 13;
constexpr int kInBetweenInset = 3;
constexpr int kInBetweenSize = 7;

// Texts of row cells and header columns read from the left, centred vertically; a row's
// image stands at the left of its first cell.
constexpr Flags64 kColumnFlags = Flag::Left | Flag::VCenter;
constexpr Flags64 kImageVCentre = 0x80000;
constexpr Flags64 kCellFlags = kColumnFlags | kImageVCentre;

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};

Rect Intersect(const Rect& a, const Rect& b) {
  const int x = std::max(a.x, b.x), y = std::max(a.y, b.y);
  const int r = std::min(a.x + a.w, b.x + b.w), d = std::min(a.y + a.h, b.y + b.h);
  return {x, y, std::max(0, r - x), std::max(0, d - y)};
}

bool Overlaps(const Rect& view, int x, int y, int w, int h) {
  return x < view.x + view.w && x + w > view.x && y < view.y + view.h && y + h > view.y;
}

bool IsListKind(ElementKind k) {
  return k == ElementKind::ListView || k == ElementKind::ListIcon;
}

Element* FindList(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  return e != nullptr && e->Alive != 0 && IsListKind(e->Kind) ? e : nullptr;
}

Element* Bar(Toolkit& tk, const Element& list, int slot) {
  Element* b = FindElement(tk, list.Attached[slot]);
  return b != nullptr && b->Kind == ElementKind::ScrollBar ? b : nullptr;
}

int ShownBarWidth(Toolkit& tk, const Element& list) {
  const Element* b = Bar(tk, list, 1);
  return b != nullptr && b->Hidden == 0 ? b->Frame.w0 : 0;
}

bool IsIconList(const Element& list) {
  return list.Kind == ElementKind::ListIcon;
}

int HeaderOf(const Element& list) {
  return IsIconList(list) && !list.Columns.empty() ? list.HeaderHeight : 0;
}

// The inner rectangle as far as it is visible, in canvas pixels.
Rect InnerView(const Element& list) {
  return Intersect({list.Inner.x0, list.Inner.y0, list.Inner.w0, list.Inner.h0},
                   {list.Clip.x0, list.Clip.y0, list.Clip.w0, list.Clip.h0});
}

platform::TextSize Measure(Toolkit& tk, const Element& list, std::string_view text) {
  Painter& painter = tk.platform.Measurer();
  const int previous = painter.Font();
  painter.SetFont(list.FontID != 0 ? list.FontID : tk.platform.Fonts().Default());
  platform::TextSize size = painter.MeasureText(text.empty() ? std::string_view("A") : text);
  if (text.empty()) size.width = 0;
  painter.SetFont(previous);
  return size;
}

// Positions and widths of items from `from` on: stacked from the top (or side by side in a
// one-row list); icon-list rows start below the header, right of the check-box column.
void PlaceItems(Toolkit& tk, Element& list, size_t from) {
  auto& items = list.Items;
  const bool icon = IsIconList(list);
  const int view = list.Inner.w0 - ShownBarWidth(tk, list);
  int columnsRight = 0;
  for (const auto& column : list.Columns)
    columnsRight = std::max(columnsRight, column->Frame.x0 + column->Frame.w0);
  for (size_t i = from; i < items.size(); ++i) {
    Element& item = *items[i];
    const Element* prev = i > 0 ? items[i - 1].get() : nullptr;
    if (list.ListBox != 1) {
      item.Frame.x0 = prev != nullptr ? prev->Frame.x0 + prev->Frame.w0 : 0;
      item.Frame.y0 = 0;
      item.Frame.h0 = list.Inner.h0;
      continue;
    }
    if (icon) {
      item.Frame.x0 = item.Indent + kListCheckColumn;
      item.Frame.y0 = prev != nullptr
                          ? prev->Frame.y0 + prev->Frame.h0 + (prev->Image > 0 ? kRowImageGap : 0)
                          : HeaderOf(list);
      // Rows reach at least to the last column, so a row scrolled sideways stays covered.
      item.Frame.w0 = std::max(view - item.Frame.x0 - kRowRightGap, columnsRight - item.Frame.x0);
    } else {
      item.Frame.x0 = kItemInset;
      item.Frame.y0 = prev != nullptr ? prev->Frame.y0 + prev->Frame.h0 : kItemInset;
      item.Frame.w0 = std::max(view, list.ContentWidth) - 2 * kItemInset;
    }
  }
}

// Header columns side by side from the left edge; a column of height 0 ends the header.
void PlaceColumns(Element& list) {
  int x = 0;
  for (auto& column : list.Columns) {
    if (column->Frame.h0 == 0) break;
    column->Frame.x0 = x;
    column->Frame.y0 = kColumnY;
    x += column->Frame.w0;
  }
}

// Gives the bars their ranges, then shows, places and sizes them along the list's inner
// edges; the list's scroll offsets follow the bars' positions.
void FitBars(Toolkit& tk, int listId) {
  Element* list = FindList(tk, listId);
  if (list == nullptr) return;
  Element* vbar = Bar(tk, *list, 1);
  Element* hbar = Bar(tk, *list, 2);
  // The header takes part of the page, so the vertical range covers it as well.
  const int height = list->ScrollHeight + HeaderOf(*list);
  const int vbarId = vbar != nullptr ? vbar->ID : -1;
  const int hbarId = hbar != nullptr ? hbar->ID : -1;
  // A maximum of 0 would make the bar take its track length instead.
  if (vbar != nullptr) SetElementColor(tk, vbarId, 2, std::max(1, height));
  if (hbar != nullptr) SetElementColor(tk, hbarId, 2, std::max(1, list->ContentWidth));

  list = FindList(tk, listId);
  if (list == nullptr) return;
  // Hiding a bar passes the hidden state on to the bar's attached elements, the list among
  // them; the list keeps its own.
  const int8_t hidden = list->Hidden;
  auto state = [&] {
    std::array<int, 6> out{};
    size_t i = 0;
    for (int barId : {vbarId, hbarId}) {
      const Element* b = FindElement(tk, barId);
      out[i++] = b != nullptr ? b->HiddenOwn : -1;
      out[i++] = b != nullptr ? b->Frame.w0 : 0;
      out[i++] = b != nullptr ? b->Frame.h0 : 0;
    }
    return out;
  };
  // Whether a bar fits is judged by its size before the layout, and one bar showing or going
  // changes the other's room, so the layout runs again until the bars stay as they are.
  for (int pass = 0; pass < kLayoutPasses; ++pass) {
    const std::array<int, 6> before = state();
    LayoutScrollBars(tk, *list);
    list = FindList(tk, listId);
    if (list == nullptr) return;
    list->Hidden = hidden;
    if (state() == before) break;
  }
  for (int barId : {vbarId, hbarId}) {
    Element* b = FindElement(tk, barId);
    if (b == nullptr || b->Kind != ElementKind::ScrollBar) continue;
    // Showing a bar must not show it where its list is hidden (on a tab not shown, say).
    b->Hidden = hidden != 0 || b->HiddenOwn != 0 ? 1 : 0;
    // A bar hidden because everything fits scrolls nothing.
    if (b->HiddenOwn != 0 && b->Value != 0) {
      b->Value = 0;
      RecomputeScrollBar(*b);
    }
    (b->Vertical != 0 ? list->VScroll : list->HScroll) = std::max(0, b->Value);
  }
  list->Repaint = 1;
}

// Creates the two bars inside the list and links them: the list names itself, its vertical
// and its horizontal bar; each bar names the list and itself.
void AttachBars(Toolkit& tk, int listId) {
  Element* list = FindList(tk, listId);
  if (list == nullptr) return;
  const int W = list->Inner.w0, H = list->Inner.h0;
  const int savedOpen = tk.root.OpenList;
  const int vbar = ScrollBar(tk, -1, W - kBarThickness, 0, kBarThickness, H - kBarThickness, 0, 0,
                             H, Flag::BorderLess | Flag::Vertical, listId);
  const int hbar = ScrollBar(tk, -1, 0, H - kBarThickness, W - kBarThickness, kBarThickness, 0, 0,
                             W, Flag::BorderLess, listId);
  // Creating inside the list left its list open; the caller's list is open again.
  tk.root.OpenList = savedOpen;
  list = FindList(tk, listId);
  if (list == nullptr) return;
  list->Attached[0] = listId;
  list->Attached[1] = FindElement(tk, vbar) != nullptr ? vbar : -1;
  list->Attached[2] = FindElement(tk, hbar) != nullptr ? hbar : -1;
  for (int slot : {1, 2}) {
    Element* b = FindElement(tk, list->Attached[slot]);
    if (b == nullptr) continue;
    b->Attached[0] = listId;
    b->Attached[slot] = b->ID;
    b->SubLevel = 1;
    // A list has no tabs of its own: its bars are on its only tab wherever the list sits, so
    // showing the list shows them again.
    b->TabIndex = 0;
  }
  FitBars(tk, listId);
}

// Calls `fn` with each line-feed separated part of a row's text (a carriage return before
// the line feed is dropped).
template <typename Fn>
void ForEachPart(std::string_view text, Fn fn) {
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    std::string_view part = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!part.empty() && part.back() == '\r') part.remove_suffix(1);
    fn(part);
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

// A row keeps one cell record per column text; they are rebuilt only when the row's text
// changed, so each cell keeps its fitted text between paints.
void SyncCells(Element& row) {
  size_t count = 0;
  bool same = true;
  ForEachPart(row.Text, [&](std::string_view part) {
    if (count >= row.Items.size() || row.Items[count]->Text != part) same = false;
    ++count;
  });
  if (same && count == row.Items.size()) return;
  row.Items.clear();
  ForEachPart(row.Text, [&](std::string_view part) {
    auto cell = std::make_unique<Element>();
    SetUpItemRecord(*cell, row, std::string(part), kCellFlags);
    cell->ID = static_cast<int>(row.Items.size());
    cell->ParentID = row.ParentID;  // cells belong to the list, not to their row
    cell->BackgroundMode = Background::None;
    cell->FrameColor = row.FrameColor;
    cell->BackColor = row.BackColor;
    cell->Image = -1;
    row.Items.push_back(std::move(cell));
  });
}

Color WithAlpha(Color color, int alpha) {
  return (static_cast<Color>(alpha) << 24) | (color & 0xFFFFFF);
}

void AlphaFill(Painter& p, int x, int y, int w, int h, Color color) {
  p.SetMode(DrawMode::AlphaBlend);
  p.Box(x, y, w, h, WithAlpha(color, kBoxAlpha));
}

// The painter's outlines ignore alpha, so a translucent outline is four blended lines.
void AlphaOutline(Painter& p, int x, int y, int w, int h, Color color) {
  if (w <= 0 || h <= 0) return;
  const Color c = WithAlpha(color, kBoxAlpha);
  p.SetMode(DrawMode::AlphaBlend);
  p.Line(x, y, w, 1, c);
  if (h > 1) p.Line(x, y + h - 1, w, 1, c);
  if (h > 2) {
    p.Line(x, y + 1, 1, h - 2, c);
    if (w > 1) p.Line(x + w - 1, y + 1, 1, h - 2, c);
  }
}

void ClipTo(Painter& p, const Rect& r) {
  p.Clip(r.x, r.y, r.w, r.h);
}

// The hot and the selected look of an item at (x, y, w, h): a translucent hot fill with its
// outline, and a translucent selection box, in the selection colour while the list is the
// element in use and in the list's frame colour otherwise.
void ItemBoxes(Toolkit& tk, Painter& p, const Element& list, const Element& item, int index, int x,
               int y, int w, int h) {
  if (item.Disabled == 0 && index == list.HotItem) {
    AlphaFill(p, x, y, w, h, item.HotBackColor);
    AlphaOutline(p, x, y, w, h, item.StateColor1);
  }
  if (index == list.StateIndex) {
    AlphaFill(p, x, y, w, h, tk.root.UsedElement == list.ID ? item.StateColor1 : list.FrameColor);
  }
}

void PaintListView(Toolkit& tk, Element& list, Painter& painter) {
  if ((list.ListBox == 1 ? list.Inner.h0 : list.Inner.w0) <= 0) return;
  PlaceItems(tk, list, 0);
  const Rect view = InnerView(list);
  if (view.w <= 0 || view.h <= 0) return;
  const int ox = list.Inner.x0 - list.HScroll;
  const int oy = list.Inner.y0 - list.CaptionHeight - list.VScroll;
  for (size_t i = 0; i < list.Items.size(); ++i) {
    Element& item = *list.Items[i];
    const int x = ox + item.Frame.x0, y = oy + item.Frame.y0;
    if (!Overlaps(view, x, y, item.Frame.w0, item.Frame.h0)) continue;
    ClipTo(painter, view);
    ItemBoxes(tk, painter, list, item, item.Index, x, y, item.Frame.w0, item.Frame.h0);
    PaintElement(tk, painter, list, item, ox, oy);
  }
  painter.SetMode(DrawMode::Default);
}

void PaintCheckBox(Painter& p, const Element& list, const Element& row, int x, int rowY) {
  const int cx = x + kCheckX;
  const int cy = rowY + (row.Frame.h0 - kCheckSize) / 2;
  p.SetMode(DrawMode::Outlined);
  const int radius = static_cast<int>(list.Data);
  if (radius != 0) {
    p.RoundBox(cx, cy, kCheckSize, kCheckSize, radius, radius, kBlack);
  } else {
    p.Box(cx, cy, kCheckSize, kCheckSize, kBlack);
  }
  p.SetMode(DrawMode::Default);
  if (row.Checked != 0) {
    p.Line(cx + 2, cy + 5, 4, 4, kBlack);
    p.Line(cx + 2, cy + 6, 3, 3, kBlack);
    p.Line(cx + 5, cy + 7, 6, -6, kBlack);
    p.Line(cx + 5, cy + 8, 6, -6, kBlack);
  } else if (row.InBetween != 0) {
    p.Box(cx + kInBetweenInset, cy + kInBetweenInset, kInBetweenSize, kInBetweenSize, kBlack);
  }
}

// Each column's text stands in that column, cut to its width; the first column's text starts
// after the row's check-box column and indent, and carries the row's image.
void PaintCells(Toolkit& tk, Painter& painter, Element& list, Element& row, int ox, int oy) {
  SyncCells(row);
  const size_t count = std::min(row.Items.size(), list.Columns.size());
  for (size_t j = 0; j < count; ++j) {
    const Element& column = *list.Columns[j];
    if (column.Frame.h0 == 0) break;
    Element& cell = *row.Items[j];
    const int left = j == 0 ? std::max(row.Frame.x0, column.Frame.x0) : column.Frame.x0;
    // The column's separator line stays clear.
    const int right = column.Frame.x0 + column.Frame.w0 - 1;
    if (right <= left) continue;
    cell.Frame.x0 = left;
    cell.Frame.y0 = row.Frame.y0;
    cell.Frame.w0 = right - left;
    cell.Frame.h0 = row.Frame.h0;
    cell.Disabled = row.Disabled;
    cell.FrontColor = row.FrontColor;
    cell.Image = j == 0 ? row.Image : -1;
    PaintElement(tk, painter, list, cell, ox, oy);
  }
}

void PaintHeader(Toolkit& tk, Painter& painter, Element& list, const Rect& view, int ox, int oy) {
  const int header = HeaderOf(list);
  if (header <= 0) return;
  PlaceColumns(list);
  // The band covers rows scrolled up under it.
  ClipTo(painter, view);
  painter.SetMode(DrawMode::Gradient);
  painter.SetGradientColors(kHeaderTop, kHeaderBottom);
  painter.Box(list.Inner.x0, oy, list.Inner.w0, header, kHeaderBottom);
  const bool active =
      tk.root.UsedElement == list.ID || GetKind(tk, tk.root.UsedElement) == ElementKind::Menu;
  for (size_t j = 0; j < list.Columns.size(); ++j) {
    Element& column = *list.Columns[j];
    if (column.Frame.h0 == 0) break;
    const int index = static_cast<int>(j);
    const int x = ox + column.Frame.x0, y = oy + column.Frame.y0;
    const int w = column.Frame.w0, h = column.Frame.h0;
    ClipTo(painter, view);
    if (column.Disabled == 0 && index == list.HotColumn) {
      AlphaFill(painter, x, y, w, h, column.HotBackColor);
      AlphaOutline(painter, x, y, w, h, column.StateColor1);
    }
    if (index == list.PressedColumn)
      AlphaFill(painter, x, y, w, h, active ? column.StateColor1 : list.FrameColor);
    PaintElement(tk, painter, list, column, ox, oy);
    ClipTo(painter, view);
    painter.SetMode(DrawMode::Default);
    painter.Line(x + w - 1, y, 1, h, kBlack);
  }
}

void PaintListIcon(Toolkit& tk, Element& list, Painter& painter) {
  if (list.Inner.h0 <= 0) return;
  PlaceColumns(list);
  PlaceItems(tk, list, 0);
  const Rect view = InnerView(list);
  if (view.w <= 0 || view.h <= 0) return;
  const int header = HeaderOf(list);
  const Rect rows = Intersect(
      view, {list.Inner.x0, list.Inner.y0 + header, list.Inner.w0, list.Inner.h0 - header});
  const int ox = list.Inner.x0 - list.HScroll;
  const int oy = list.Inner.y0 - list.CaptionHeight;
  const int rowsY = oy - list.VScroll;
  const bool checks = HasAny(list.Flags, Flag::CheckBoxes);
  if (rows.w > 0 && rows.h > 0) {
    for (size_t i = 0; i < list.Items.size(); ++i) {
      Element& row = *list.Items[i];
      const int x = ox + row.Frame.x0, y = rowsY + row.Frame.y0;
      if (!Overlaps(rows, ox, y, row.Frame.x0 + row.Frame.w0, row.Frame.h0)) continue;
      ClipTo(painter, rows);
      ItemBoxes(tk, painter, list, row, row.Index, x, y, row.Frame.w0, row.Frame.h0);
      if (checks) PaintCheckBox(painter, list, row, ox, y);
      PaintCells(tk, painter, list, row, ox, rowsY);
    }
  }
  PaintHeader(tk, painter, list, view, ox, oy);
  painter.SetMode(DrawMode::Default);
}

int AddItemHook(Toolkit& tk, Element& list, int position, const std::string& text, int image,
                Flags64 flags) {
  return AddListItem(tk, list.ID, position, text, image, flags);
}

// Nothing is left to scroll over: the bars give up their range (and go).
void ItemsClearedHook(Toolkit& tk, Element& list) {
  list.ScrollHeight = kContentStart;
  list.WidestItem = 0;
  if (!IsIconList(list)) list.ContentWidth = 0;
  FitBars(tk, list.ID);
}

void ResizedHook(Toolkit& tk, Element& list) {
  const int id = list.ID;
  FitBars(tk, id);
  if (Element* l = FindList(tk, id)) PlaceItems(tk, *l, 0);
}

// A press on a header column shows it pressed until the button goes up.
bool PressColumn(Toolkit&, Element& list, EventCode code) {
  int pressed = list.PressedColumn;
  if (code == ElementEvent::LeftButtonDown) {
    pressed = list.HotColumn;
  } else if (code == ElementEvent::LeftButtonUp || code == ElementEvent::MouseLeave) {
    pressed = -1;
  }
  if (pressed == list.PressedColumn) return false;
  list.PressedColumn = pressed;
  return true;
}

// An icon list dropped down for another element (a check-list combo box) shows like a popup:
// below its owner, on top of everything.
void ShowDropDown(Toolkit& tk, Element& list, int owner, int x, int y) {
  const int id = list.ID;
  // As tall as its rows (within limits); near the bottom of the desktop it opens above.
  const int rows = static_cast<int>(list.Items.size());
  const int height = std::clamp(list.HeaderHeight + rows * kListRowHeight + 2 * list.FrameWidth + 2,
                                kListRowHeight + 4, kDropDownMaxHeight);
  const Element* desktop = DesktopElement(tk);
  const Element* opener = FindElement(tk, owner);
  if (desktop != nullptr && opener != nullptr && y + height > desktop->Frame.h0)
    y = opener->Frame.y0 - height + 1;
  ResizeElementById(tk, id, x, y, kIgnore, height, CoordMode::Absolute);
  if (Element* l = FindElement(tk, id)) {
    l->Hidden = 0;
    l->HiddenOwn = 0;
    l->Repaint = 1;
  }
  // Its bars were kept hidden with it; now they show if its rows need them.
  FitBars(tk, id);
  // Above everything: after the last record, its own children (its scroll bars) with it.
  const int last = tk.root.Elements.back()->ID;
  if (!IsChildOf(tk, last, id)) SetPosition(tk, id, ZOrder::After, last);
  tk.root.DropDownOpen = true;
  tk.root.OpenDropDown = id;
}

void HideDropDown(Toolkit&, Element& list) {
  list.Hidden = 1;
  list.HiddenOwn = 1;
  list.Repaint = 1;
}

// The last row (its index) or, with rows false, header column (its position) of a list under
// the pointer; -1 when none. Lists lay their rows out from their inner corner and scroll them with
// their bars; an icon list's header stays above its rows, and its rows own the check-box column at
// their left.
int ListItemAt(const Element& e, bool rows) {
  const auto& items = rows ? e.Items : e.Columns;
  const bool icon = IsIconList(e);
  const int mx = e.MouseX - (e.Inner.x0 - e.Frame.x0) + e.HScroll;
  int my = e.MouseY - (e.Inner.y0 - e.Frame.y0);
  if (rows) {
    if (icon && !e.Columns.empty() && my <= e.HeaderHeight) return -1;
    my += e.VScroll;
  }
  int found = -1;
  for (size_t i = 0; i < items.size(); ++i) {
    const Element& it = *items[i];
    const int left = rows && icon ? 0 : it.Frame.x0;
    if (it.Frame.y0 < my && my <= it.Frame.y0 + it.Frame.h0 && left <= mx &&
        mx < it.Frame.x0 + it.Frame.w0)
      found = rows ? it.Index : static_cast<int>(i);
  }
  return found;
}

// A press on a list view's row selects it.
void ChooseRow(Toolkit& tk, Element& list, EventCode code, int, int index) {
  if (code == ElementEvent::LeftButtonDown && FindItem(list, index) != nullptr)
    SetElementState(tk, list.ID, index);
}

// An icon list press: the check-box column toggles the row's check; elsewhere the row becomes
// the selected one. An icon list serving as a combo box's list reports to the combo box.
void PressIconRow(Toolkit& tk, Element& list, EventCode code, int, int index) {
  Element* row = FindItem(list, index);
  if (code != ElementEvent::LeftButtonDown || row == nullptr) return;
  const Element* combo =
      list.ModeField == PopupRole::ComboList ? FindElement(tk, list.SubLevel) : nullptr;
  const int target = combo != nullptr ? combo->ID : list.ID;
  // The check column scrolls sideways with the rows.
  const int mx = tk.root.MouseX + list.HScroll;
  const bool checkColumn = HasAny(list.Flags, Flag::CheckBoxes) &&
                           mx >= list.Frame.x0 + kCheckColumnLeft &&
                           mx <= list.Frame.x0 + row->Frame.x0 - kCheckColumnGap;
  if (checkColumn) {
    row->Checked = row->Checked != 0 ? 0 : 1;
    row->InBetween = 0;
    list.StateIndex = index;
    list.Repaint = 1;
    PostElementEvent(tk, ElementEvent::Change, target, index, 0);
  } else if (list.StateIndex != index) {
    list.StateIndex = index;
    list.Repaint = 1;
    PostElementEvent(tk, ElementEvent::Change, target, index, 0);
  }
}

int RowAtPointer(Element& list) {
  return ListItemAt(list, true);
}

// An icon list also notes the header column under the pointer.
int IconRowAtPointer(Element& list) {
  list.HotColumn = ListItemAt(list, false);
  return ListItemAt(list, true);
}

// The creation pattern: inside the parent when one is named, then the kind's own parts,
// then the list that was open before is open again.
template <typename Finish>
int CreateList(Toolkit& tk, ElementKind kind, int id, int x, int y, int width, int height,
               const std::string& text, Flags64 flags, int parentId, Finish finish) {
  BusyGuard busy(tk);
  return CreateInParent(tk, parentId, [&] {
    const int made = CreateElement(tk, kind, id, x, y, width, height, text, -1, -1, 0, flags, -1);
    if (const Element* e = FindElement(tk, made); e != nullptr && e->Kind == kind) {
      finish(made);
      AttachBars(tk, made);
    }
    return made;
  });
}

}  // namespace

int ListView(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
             Flags64 flags, int parentId) {
  return CreateList(tk, ElementKind::ListView, id, x, y, width, height, "", flags, parentId,
                    [&](int made) {
                      if (!text.empty()) AddListItem(tk, made, 0, text);
                    });
}

int ListIcon(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& title,
             int titleWidth, Flags64 flags, int parentId) {
  return CreateList(
      tk, ElementKind::ListIcon, id, x, y, width, height, title, flags, parentId, [&](int made) {
        Element* list = FindList(tk, made);
        if (list == nullptr) return;
        list->FirstColumnWidth = titleWidth;
        list->HeaderHeight = kColumnY + Measure(tk, *list, title).height + kColumnPadding;
        AddListColumn(tk, made, -1, title, titleWidth);
      });
}

int AddListItem(Toolkit& tk, int listId, int position, const std::string& text, int imageOrSize,
                Flags64 flags) {
  Element* found = FindList(tk, listId);
  if (found == nullptr) return -1;
  BusyGuard busy(tk);
  Element& list = *found;
  if (flags == 0) flags = kListItemFlags;
  const bool icon = IsIconList(list);
  auto& items = list.Items;
  if (items.empty()) {
    // The first item starts the content afresh (also after the items were cleared).
    list.ScrollHeight = kContentStart;
    list.WidestItem = 0;
    if (!icon) list.ContentWidth = 0;
  }

  const size_t index = InsertItemRecord(tk, list, position);
  Element& item = *items[index];
  SetUpItemRecord(item, list, text, flags);
  item.Param3 = -1;
  item.BackgroundMode = Background::None;
  item.FrameColor = list.FrameColor;
  item.FrontColor = list.FrontColor;
  item.BackColor = list.BackColor;
  item.HotBackColor = kHotFill;
  item.StateColor1 = kSelectOutline;
  item.StateColor2 = kItemText;
  item.StateColor3 = kItemBack;
  item.Frame.h0 = list.Inner.h0;  // provisional

  platform::ImageStore& images = tk.platform.Images();
  // Image 0 counts as none, as it does for the painter.
  const bool hasImage = imageOrSize > 0 && images.IsImage(imageOrSize);
  const int iconSize = HasAny(list.Flags, Flag::Large) ? kLargeIcon : kSmallIcon;
  if (hasImage && iconSize == kLargeIcon &&
      (images.Width(imageOrSize) != kLargeIcon || images.Height(imageOrSize) != kLargeIcon))
    images.Resize(imageOrSize, kLargeIcon, kLargeIcon);
  item.Image = hasImage ? imageOrSize : -1;
  const bool vertical = list.ListBox == 1;

  int grow = 0;
  if (icon) {
    item.Frame.h0 = kListRowHeight;
    grow = kListRowHeight + (hasImage ? kRowImageGap : 0);
  } else if (!hasImage && imageOrSize >= 1) {
    (vertical ? item.Frame.h0 : item.Frame.w0) = imageOrSize;
  } else {
    const platform::TextSize size = Measure(tk, list, text);
    list.WidestItem = std::max(list.WidestItem, size.width);
    const int imageWidth = hasImage ? images.Width(imageOrSize) : 0;
    list.ContentWidth =
        std::max(list.ContentWidth, size.width + imageWidth + kTextAllowance + 2 * kItemInset);
    grow = hasImage ? iconSize + kIconPadding : size.height;
    if (vertical) {
      item.Frame.h0 = grow;
    } else {
      item.Frame.w0 = size.width;
    }
  }
  list.ScrollHeight += grow;
  const int result = item.Index;
  const int barBefore = ShownBarWidth(tk, list);

  FitBars(tk, listId);
  // Items placed beside a bar that came or went are widened or narrowed as well.
  if (Element* l = FindList(tk, listId))
    PlaceItems(tk, *l, ShownBarWidth(tk, *l) == barBefore ? index : 0);
  return result;
}

int AddListColumn(Toolkit& tk, int listId, int position, const std::string& title, int width) {
  Element* list = FindList(tk, listId);
  if (list == nullptr || !IsIconList(*list)) return -1;
  auto& columns = list->Columns;
  const bool inserted = position >= 0 && static_cast<size_t>(position) < columns.size();
  const size_t index = inserted ? static_cast<size_t>(position) : columns.size();
  columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(index), std::make_unique<Element>());
  for (size_t i = 0; i < columns.size(); ++i)
    columns[i]->ID = static_cast<int>(i);
  Element& column = *columns[index];
  SetUpItemRecord(column, *list, title, kColumnFlags);
  column.BackgroundMode = Background::None;
  column.FrontColor = list->FrontColor;
  column.FrameColor = list->FrameColor;
  column.BackColor = kNoColor;
  column.HotBackColor = kHotFill;
  column.StateColor1 = kSelectOutline;
  column.Frame.w0 = std::max(0, width);
  column.Frame.h0 = list->HeaderHeight - kColumnY;
  PlaceColumns(*list);
  int right = 0;
  for (const auto& c : columns)
    right = std::max(right, c->Frame.x0 + c->Frame.w0);
  list->ContentWidth = right;
  FitBars(tk, listId);
  if (Element* l = FindList(tk, listId)) PlaceItems(tk, *l, 0);
  return static_cast<int>(index);
}

int ListContentHeight(Toolkit& tk, int list) {
  const Element* e = FindList(tk, list);
  return e != nullptr ? e->ScrollHeight : 0;
}

int ListWidestItem(Toolkit& tk, int list) {
  const Element* e = FindList(tk, list);
  return e != nullptr ? e->WidestItem : 0;
}

namespace {

// A list icon's rows carry check boxes: the state of the row asked for, else of the current or
// the selected row.
double ListIconItemState(Element& list, int index) {
  const Element* item = FindItem(list, index);
  if (item == nullptr) item = FindItem(list, list.ItemIndex);
  if (item == nullptr) item = FindItem(list, list.StateIndex);
  if (item == nullptr) return -1.0;
  return item->InBetween != 0 ? -1.0 : item->Checked;
}

}  // namespace

void RegisterLists(Toolkit& tk) {
  // Creation: both kinds are vertical lists.
  for (ElementKind kind : {ElementKind::ListView, ElementKind::ListIcon})
    tk.Kind(kind).Defaults.ListBox = 1;
  for (ElementKind kind : {ElementKind::ListView, ElementKind::ListIcon}) {
    KindDescriptor& h = tk.Kind(kind);
    h.Traits |= Trait::TracksItems | Trait::SelectsItem | Trait::ListRows;
    h.AddItem = &AddItemHook;
    h.Resized = &ResizedHook;
    h.ItemsCleared = &ItemsClearedHook;
  }
  tk.Kind(ElementKind::ListView).PaintItems = &PaintListView;
  // Rows are found from the inner corner, scrolled; an icon list's rows also scroll sideways.
  tk.Kind(ElementKind::ListView).ItemAtPointer = &RowAtPointer;
  tk.Kind(ElementKind::ListIcon).ItemAtPointer = &IconRowAtPointer;
  tk.Kind(ElementKind::ListView).ChooseItem = &ChooseRow;
  tk.Kind(ElementKind::ListIcon).ChooseItem = &PressIconRow;
  tk.Kind(ElementKind::ListIcon).Traits |= Trait::ItemsScrollSideways;
  for (ElementKind kind : {ElementKind::ListView, ElementKind::ListIcon})
    tk.Kind(kind).Traits |= Trait::LeaveClearsHot;
  tk.Kind(ElementKind::ListIcon).PaintItems = &PaintListIcon;
  tk.Kind(ElementKind::ListIcon).Drag = &PressColumn;

  // Source text: the icon list's creation passes its title and first column width.
  KindDescriptor& icons = tk.Kind(ElementKind::ListIcon);
  icons.Traits |= Trait::TextArgument;
  icons.CodeArgs = {KindDescriptor::CodeArg::FirstColumnWidth};
  // Selection changes, sideways scrolling and row check states.
  tk.Kind(ElementKind::ListView).Traits |= Trait::ChangeOnState;
  tk.Kind(ElementKind::ListIcon).Traits |= Trait::ChangeOnState | Trait::ScrollsItemsX;
  tk.Kind(ElementKind::ListIcon).ItemState = &ListIconItemState;
  // An icon list also drops down for a check-list combo box.
  tk.Kind(ElementKind::ListIcon).ShowPopup = &ShowDropDown;
  tk.Kind(ElementKind::ListIcon).HidePopup = &HideDropDown;
}

}  // namespace tk
