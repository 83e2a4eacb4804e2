// The StatusBar kind: creation on a window, fields laid out from the left or anchored to the
// right edge, and the fields' texts and looks.
#include "elements/statusbar.h"

#include "core/coords.h"
#include "core/creation.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/window.h"
#include "render/paint.h"

namespace tk {
namespace {

constexpr int kBarHeight = 23;
// The window grows by the bar and a little more, so the bar does not sit on the border.
constexpr int kWindowGrowth = kBarHeight + 4;
constexpr int kAnchoredDefaultWidth = 17;
// A fill field leaves this much room before the anchored field.
constexpr int kFillMargin = 100;
// Docked to the bottom of the window (left, right and bottom edges).
constexpr Flags64 kBarFlags = MakeFlags(0, 0x0D000000);
// Field looks: a border, vertically centred text, left-aligned.
constexpr Flags64 kFieldBorder = Flag::Border;
constexpr Flags64 kFieldVCentre = Flag::VCenter;
constexpr Flags64 kFieldLeft = Flag::Left;
constexpr Flags64 kFieldRight = Flag::Right;
constexpr Flags64 kFieldFlatBit = 0x1;
constexpr int kFlatStyle = 16;

bool HasStatusBar(Toolkit& tk, int window) {
  for (const auto& r : tk.root.Elements)
    if (r->Kind == ElementKind::StatusBar && r->ParentID == window && r->Alive) return true;
  return false;
}

// The item of `bar` whose id is `field`.
Element* Field(Element& bar, int field) {
  auto found = bar.ItemMap.find(field);
  return found == bar.ItemMap.end() ? nullptr : found->second;
}

// Fields are drawn where their layout put them (the anchored one at the right edge), not
// run together like the entries of a menu bar.
void PaintFields(Toolkit& tk, Element& bar, platform::Painter& painter) {
  for (size_t i = 0; i < bar.Items.size(); ++i) {
    Element& field = *bar.Items[i];
    if (field.Frame.w0 <= 0) continue;
    PaintElement(tk, painter, bar, field, bar.Inner.x0, bar.Inner.y0);
  }
}

}  // namespace

void RegisterStatusBar(Toolkit& tk) {
  // Creation: the bar sits in its window's status strip.
  {
    KindDescriptor& d = tk.Kind(ElementKind::StatusBar);
    DeclareWindowBar(d, &Root::LastStatusBar, &EventRecord::EventStatusBar,
                     &Element::StatusStripHeight);
  }
  tk.Kind(ElementKind::StatusBar).PaintItems = &PaintFields;
  tk.Kind(ElementKind::StatusBar).PlaceInWindow = &PlaceStatusBar;
}

void PlaceStatusBar(Toolkit& tk, Element& window) {
  if (window.StatusStripHeight == 0) return;
  const int windowId = window.ID;
  int barId = -1;
  for (const auto& r : tk.root.Elements)
    if (r->Kind == ElementKind::StatusBar && r->ParentID == windowId && r->Alive) barId = r->ID;
  Element* bar = FindElement(tk, barId);
  if (bar == nullptr) return;
  // The strip below the inner area, as wide as it; the anchored field keeps to the right.
  const int width = window.Inner.w0;
  ResizeElementById(tk, barId, 0, window.Inner.h0, width, kIgnore);
  bar = FindElement(tk, barId);
  if (bar == nullptr) return;
  if (Element* anchored = Field(*bar, kAnchoredField))
    anchored->Frame.x0 = bar->Frame.w0 - anchored->Frame.w0;
}

int CreateStatusBar(Toolkit& tk, int id, int window) {
  Root& root = tk.root;
  Element* w = FindElement(tk, window);
  if (w == nullptr || w->Kind != ElementKind::Window) return -1;
  if (HasStatusBar(tk, window)) {
    root.LastStatusBar = -1;
    return -1;
  }
  BusyGuard busy(tk);
  const ListState saved = EnterParentList(tk, window);

  // The window grows; its children keep their places.
  ResizeElementById(tk, window, kIgnore, kIgnore, kIgnore, w->Frame.h0 + kWindowGrowth,
                    CoordMode::Absolute);
  w = FindElement(tk, window);
  if (w == nullptr) {
    LeaveParentList(tk, saved, -1);
    return -1;
  }
  if (Element* parent = FindElement(tk, w->ParentID); parent != nullptr && parent != w) {
    const int needed = w->Frame.y0 - parent->Inner.y0 + w->Frame.h0;
    if (parent->Inner.h0 < needed)
      ResizeElementById(tk, parent->ID, kIgnore, kIgnore, kIgnore,
                        parent->Frame.h0 + (needed - parent->Inner.h0), CoordMode::Absolute);
  }
  w = FindElement(tk, window);
  const int width = w != nullptr ? w->Inner.w0 : 0;

  const int bar = CreateElement(tk, ElementKind::StatusBar, id, 0, 0, width, kBarHeight, "", -1, -1,
                                0, kBarFlags, -1);
  LeaveParentList(tk, saved, bar);
  if (bar == 0) return -1;
  root.LastStatusBar = bar;
  AddStatusBarField(tk, kAnchoredDefaultWidth, kAnchoredField);
  if (Element* win = FindElement(tk, window)) PlaceStatusBar(tk, *win);
  return bar;
}

int AddStatusBarField(Toolkit& tk, int width, int field) {
  Element* bar = FindElement(tk, tk.root.LastStatusBar);
  if (bar == nullptr || bar->Kind != ElementKind::StatusBar) return -1;
  const int barId = bar->ID;
  // Numbers are counted per bar, so every bar's fields start at 0 as a program expects.
  if (field == -1) field = bar->NextFieldNumber++;
  if (Field(*bar, field) != nullptr) return -1;  // one field per number

  // Adding files the new item under its position, which may be another field's number.
  Element* displaced = Field(*bar, static_cast<int>(bar->Items.size()));
  const int index = AddItem(tk, barId, -1, "", -1, kFieldBorder | kFieldVCentre | kFieldLeft);
  bar = FindElement(tk, barId);
  if (bar == nullptr || index < 0) return -1;
  Element* item = bar->Items.empty() ? nullptr : bar->Items.back().get();
  if (item == nullptr) return -1;
  // The field is known by its own number, not by its position.
  bar->ItemMap.erase(index);
  if (displaced != nullptr) bar->ItemMap[displaced->ID] = displaced;
  item->ID = field;
  item->Index = field;
  bar->ItemMap[field] = item;

  // A field starts empty but is no separator.
  if (item->SeparatorCount != 0 && bar->SeparatorCount > 0) --bar->SeparatorCount;
  item->SeparatorCount = 0;
  item->Frame.y0 = 0;
  item->Frame.h0 = bar->Frame.h0;
  item->BackgroundMode = kFlatStyle;
  item->Flags |= kFieldFlatBit;
  item->BackColor = bar->BackColor;
  item->FrontColor = bar->FrontColor;
  item->FrameColor = bar->FrameColor;
  item->Hidden = 0;

  const int barWidth = bar->Frame.w0;
  if (field == kAnchoredField) {
    bar->AnchoredWidth = width;
    item->Frame.x0 = barWidth - width;
  } else {
    // Next to the last ordinary field (the layout cursor of the bar).
    int x = 0;
    for (const auto& other : bar->Items)
      if (other.get() != item && other->ID != kAnchoredField) x = other->Frame.x0 + other->Frame.w0;
    item->Frame.x0 = x;
    if (width == kFillWidth) width = barWidth - bar->AnchoredWidth - x - kFillMargin;
  }
  item->Frame.w0 = width;
  bar->Repaint = 1;
  return field;
}

bool StatusBarText(Toolkit& tk, int barId, int field, const std::string& text, int look) {
  Element* bar = FindElement(tk, barId);
  if (bar == nullptr || bar->Kind != ElementKind::StatusBar) return false;
  Element* item = Field(*bar, field);
  if (item == nullptr) return false;
  Flags64 flags = kFieldBorder | kFieldVCentre | kFieldLeft;
  if (look == FieldLook::Borderless) flags &= ~kFieldBorder;
  if (look == FieldLook::NotLeft) flags &= ~kFieldLeft;
  if (look == FieldLook::Right) flags = (flags & ~kFieldLeft) | kFieldRight;
  item->Text = text;
  item->Flags = flags;
  bar->Repaint = 1;
  return true;
}

}  // namespace tk
