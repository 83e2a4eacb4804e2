// The Tree and explorer kinds: sample rows that show what the control will hold, the first
// row named by the element's text (an explorer's folder), clipped to the element.
#include "elements/tree_kinds.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/kind.h"
#include "elements/drawn_kinds.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {

using platform::DrawMode;
using platform::Painter;

namespace {

constexpr int kIndent = 16;       // one level deeper
constexpr int kExpanderSize = 9;  // the boxed plus or minus
constexpr int kRowPad = 3;        // a row is this much taller than its text
constexpr int kIconGap = 4;       // between an icon and its label
constexpr int kTextInset = 3;
constexpr int kDropButtonWidth = 16;
constexpr int kSizeColumnWidth = 60;  // the explorer list's second column, when it fits
constexpr std::string_view kRootFolder = "C:\\";

struct Row {
  int level;
  int expander;  // 1 expanded, -1 collapsed, 0 none
  std::string_view label;
  bool folder;
};

int RowHeight(Painter& p) {
  return p.TextHeight("Ag") + kRowPad;
}

void DrawExpander(Painter& p, int cx, int cy, bool expanded) {
  const int x = cx - kExpanderSize / 2, y = cy - kExpanderSize / 2;
  p.SetMode(DrawMode::Default);
  p.Box(x, y, kExpanderSize, kExpanderSize, looks::kTreeLine);
  p.Box(x + 1, y + 1, kExpanderSize - 2, kExpanderSize - 2, looks::kWhite);
  p.Line(x + 2, cy, kExpanderSize - 4, 1, looks::kBlack);
  if (!expanded) p.Line(cx, y + 2, 1, kExpanderSize - 4, looks::kBlack);
}

// Rows one below the other from the inner top: dotted lines join a child to its parent, an
// expander marks a row with children, an icon (explorer) precedes the label.
void PaintRows(Painter& p, const GlyphPass& g, const Row* rows, size_t count) {
  const Element& e = g.record;
  const PictureClip clip(p, e);
  const DrawArea a = InnerArea(e);
  const int rh = RowHeight(p);
  for (size_t i = 0; i < count && static_cast<int>(i) * rh < a.h; ++i) {
    const Row& r = rows[i];
    const int y = a.y + static_cast<int>(i) * rh, cy = y + rh / 2;
    const int cx = a.x + kIndent / 2 + r.level * kIndent;
    // The dotted line up to the parent row and across to this row.
    p.SetMode(DrawMode::Default);
    if (r.level > 0) {
      for (int dy = -rh / 2; dy <= 0; dy += 2)
        p.Plot(cx - kIndent, cy + dy, looks::kTreeLine);
      for (int dx = -kIndent; dx < -kIndent / 2; dx += 2)
        p.Plot(cx + dx + kIndent / 2 + 1, cy, looks::kTreeLine);
    }
    if (r.expander != 0) DrawExpander(p, cx, cy, r.expander > 0);
    int x = cx + kIndent / 2 + 2;
    if (r.folder) {
      DrawFolder(p, x, cy - 6);
      x += kIconWidth + kIconGap;
    }
    CentredLine(p, e, x, y, a.x + a.w - x, rh, r.label, g.front);
  }
}

std::string_view Named(const Element& e, std::string_view fallback) {
  return e.Text.empty() ? fallback : std::string_view(e.Text);
}

void PaintTree(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const Row rows[] = {{0, 1, Named(g.record, "Item"), false},
                      {1, -1, "Item 1", false},
                      {1, 0, "Item 2", false},
                      {1, 0, "Item 3", false},
                      {0, -1, "Item 4", false}};
  PaintRows(p, g, rows, std::size(rows));
  g.roomW = 0;
}

void PaintExplorerTree(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const Row rows[] = {{0, 1, Named(g.record, kRootFolder), true},
                      {1, -1, "Program Files", true},
                      {1, 1, "Users", true},
                      {2, -1, "Public", true},
                      {1, -1, "Windows", true}};
  PaintRows(p, g, rows, std::size(rows));
  g.roomW = 0;
}

// A header with Name and Size, then folders and files with their icons.
void PaintExplorerList(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const PictureClip clip(p, g.record);
  g.roomW = 0;
  const Element& e = g.record;
  const DrawArea a = InnerArea(e);
  if (a.w <= 0 || a.h <= 0) return;
  const int rh = RowHeight(p);
  const bool sizes = a.w >= 2 * kSizeColumnWidth;
  const int nameW = sizes ? a.w - kSizeColumnWidth : a.w;
  p.SetMode(DrawMode::Default);
  p.Box(a.x, a.y, a.w, rh, looks::kWhite);
  p.Line(a.x, a.y + rh - 1, a.w, 1, looks::kGridLine);
  CentredLine(p, e, a.x + kTextInset, a.y, nameW - kTextInset, rh, "Name", g.front);
  if (sizes) {
    p.SetMode(DrawMode::Default);
    p.Line(a.x + nameW - 1, a.y, 1, rh, looks::kGridLine);
    CentredLine(p, e, a.x + nameW + kTextInset, a.y, kSizeColumnWidth - kTextInset, rh, "Size",
                g.front);
  }
  struct Entry {
    std::string_view name, size;
    bool folder;
  };
  constexpr Entry entries[] = {{"Documents", "", true},
                               {"Music", "", true},
                               {"Pictures", "", true},
                               {"notes.txt", "2 KB", false},
                               {"readme.txt", "1 KB", false}};
  for (size_t i = 0; i < std::size(entries); ++i) {
    const int y = a.y + rh * static_cast<int>(i + 1);
    if (y >= a.y + a.h) break;
    const Entry& en = entries[i];
    const int cy = y + rh / 2;
    if (en.folder)
      DrawFolder(p, a.x + kTextInset, cy - 6);
    else
      DrawPage(p, a.x + kTextInset, cy - 7);
    const int x = a.x + kTextInset + kIconWidth + kIconGap;
    CentredLine(p, e, x, y, a.x + nameW - x, rh, en.name, g.front);
    if (sizes && !en.size.empty())
      CentredLine(p, e, a.x + nameW + kTextInset, y, kSizeColumnWidth - kTextInset, rh, en.size,
                  g.front);
  }
}

// A field with the folder's icon and name, and the drop arrow.
void PaintExplorerCombo(Toolkit&, Painter& p, GlyphPass& g) {
  if (g.isItem) return;
  const PictureClip clip(p, g.record);
  g.roomW = 0;
  const Element& e = g.record;
  const DrawArea a = InnerArea(e);
  if (a.w <= 0 || a.h <= 0) return;
  const bool disabled = e.Disabled != 0 || g.owner.Disabled != 0;
  const int button = std::min(kDropButtonWidth, a.w);
  PaintArrow(p, a.x + a.w - button / 2 - 1, a.y + a.h / 2, ArrowDirection::Down,
             disabled ? g.front : looks::kGlyphColor);
  ClipInside(p, e, a.x, a.y, a.w - button, a.h);
  DrawFolder(p, a.x + kTextInset, a.y + (a.h - 13) / 2);
  RestoreClip(p, e);
  const int x = a.x + kTextInset + kIconWidth + kIconGap;
  CentredLine(p, e, x, a.y, a.x + a.w - button - x, a.h, Named(e, kRootFolder), g.front);
}

}  // namespace

void RegisterTreeKinds(Toolkit& tk) {
  tk.Kind(ElementKind::Tree).PaintGlyph = &PaintTree;
  tk.Kind(ElementKind::ExplorerTree).PaintGlyph = &PaintExplorerTree;
  tk.Kind(ElementKind::ExplorerList).PaintGlyph = &PaintExplorerList;
  tk.Kind(ElementKind::ExplorerCombo).PaintGlyph = &PaintExplorerCombo;
}

}  // namespace tk
