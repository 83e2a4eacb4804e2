// Editing on a form window: the rubber band, selecting, creating with the chosen tool, the
// element popup, and keeping the Elements row current.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/items.h"
#include "core/kind.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "elements/combobox.h"
#include "elements/menu.h"
#include "platform/painter.h"
#include "render/host.h"
#include "render/interaction.h"
#include "render/paint.h"
#include "render/repaint.h"

namespace tk::designer {

namespace {

// The dash-dot band repeats every 19 outline pixels: 10 drawn, 4 left, 1 drawn, 4 left.
constexpr int kDashPeriod = 19;
constexpr int kDashLength = 10;
constexpr int kDotAt = 14;

bool HoldsChildren(Toolkit& tk, const Element& e) {
  return tk.Kind(e.Kind).ListHolder != KindDescriptor::NoList;
}

// The combo box's entries: its drop-down list, or the combo itself when it keeps none.
Element* OptionHolder(Toolkit& tk, int combo) {
  const int list = ComboList(tk, combo);
  return FindElement(tk, list >= 0 ? list : combo);
}

// The index of the option whose item data is `element`; -1 when none is.
int OptionOf(Toolkit& tk, int combo, int element) {
  const Element* holder = OptionHolder(tk, combo);
  if (holder == nullptr) return -1;
  for (const auto& item : holder->Items)
    if (item->Data == element) return item->Index;
  return -1;
}

// Takes one row out of a vertical list in place: the rows below it move up by its height
// and the list shrinks, as if the row had never been added. False for any other list.
bool RemoveListRow(Toolkit& tk, Element& list, size_t position) {
  if (list.ListBox != 1 || position >= list.Items.size()) return false;
  const int height = list.Items[position]->Frame.h0;
  const bool last = position + 1 == list.Items.size();
  RemoveItemRecord(tk, list, position);
  auto& rows = list.Items;
  for (size_t i = position; i < rows.size(); ++i)
    rows[i]->Frame.y0 -= height;
  // The run ends at the last row, where the next one is added.
  if (rows.empty()) {
    list.RunY = 0;
    list.ItemHeight = 0;
  } else if (last) {
    list.RunY = rows.back()->Frame.y0;
    list.ItemHeight = rows.back()->Frame.h0;
  } else {
    list.RunY -= height;
  }
  if (!rows.empty() && tk.Kind(list.Kind).Has(Trait::ResizesToItems))
    ResizeElement(tk, list, kIgnore, kIgnore, kIgnore,
                  list.RunY + list.ItemHeight + 2 * list.FrameWidth, CoordMode::Parent);
  return true;
}

// Takes the element's option off the Elements row; the selection stays on its option, or
// goes with the removed one.
void UnlistElement(Toolkit& tk, Designer& d, int element) {
  const int row = d.rows.elements;
  Element* holder = OptionHolder(tk, row);
  if (holder == nullptr) return;
  const int selected = static_cast<int>(GetElementState(tk, row));
  for (size_t i = 0; i < holder->Items.size(); ++i) {
    if (holder->Items[i]->Data != element) continue;
    const int removed = holder->Items[i]->Index;
    if (!RemoveListRow(tk, *holder, i)) return;
    SetElementState(tk, row,
                    selected == removed  ? -1
                    : selected > removed ? selected - 1
                                         : selected);
    return;
  }
}

// The tool's own toolbox icon becomes the pointer while it is over the form.
void ShowToolPointer(Toolkit& tk, Designer& d) {
  if (d.toolKind == ElementKind::None) return;
  if (d.pointerTool == d.toolKind && tk.root.PointerLock != 0) return;
  const Element* list = FindElement(tk, d.toolboxList);
  if (list == nullptr) return;
  // The chosen item names the tool; any item of the same kind serves when it is not chosen.
  int image = -1;
  const int chosen = static_cast<int>(GetElementState(tk, d.toolboxList));
  for (const auto& item : list->Items) {
    if (static_cast<ElementKind>(KindFromText(item->Text)) != d.toolKind) continue;
    if (image < 0 || item->Index == chosen) image = item->Image;
  }
  if (image < 0 || !tk.platform.SetCustomCursor(image, 0, 0)) return;
  tk.dispatch.PointerShape = platform::Cursor::Custom;
  tk.root.PointerLock = 1;  // the design hit areas keep their shapes off it
  d.pointerTool = d.toolKind;
}

// The band's outline on the canvas: plain with a tool, dash-dot without one. The dash-dot
// walk goes clockwise from the top-left corner and its counter carries on between drawings,
// so the pattern crawls along the outline while the band is dragged.
void PaintBand(Toolkit& tk, Designer& d, platform::Painter& painter) {
  const Element* w = FindElement(tk, d.bandOwner);
  const SelectionRectangle& band = tk.root.Selection;
  if (w == nullptr || band.Width <= 0 || band.Height <= 0) return;
  painter.Clip(w->Clip.x1, w->Clip.y1, w->Clip.w1, w->Clip.h1);
  const int x = w->Inner.x0 + band.X, y = w->Inner.y0 + band.Y;
  const int right = x + band.Width - 1, bottom = y + band.Height - 1;
  if (d.toolKind != ElementKind::None) {
    painter.SetMode(platform::DrawMode::Outlined);
    painter.Box(x, y, band.Width, band.Height, band.Colour);
    return;
  }
  auto plot = [&](int px, int py) {
    const int c = d.bandDashCounter % kDashPeriod;
    if (c < kDashLength || c == kDotAt) painter.Plot(px, py, band.Colour);
    d.bandDashCounter = (c + 1) % kDashPeriod;
  };
  for (int px = x; px <= right; ++px)
    plot(px, y);
  for (int py = y + 1; py <= bottom; ++py)
    plot(right, py);
  if (bottom > y)
    for (int px = right - 1; px >= x; --px)
      plot(px, bottom);
  if (right > x)
    for (int py = bottom - 1; py > y; --py)
      plot(x, py);
}

void EndBand(Toolkit& tk, Designer& d) {
  if (d.bandOverlay != 0) RemoveOverlay(tk, d.bandOverlay);
  d.bandOverlay = 0;
  d.bandOwner = -1;
  SelectionRectangle& band = tk.root.Selection;
  band.X = band.Y = band.Width = band.Height = 0;
}

// The pointer inside the element's inner area, snapped down to the grid and kept inside it.
std::pair<int, int> SnappedPointer(Toolkit& tk, const Designer& d, const Element& w) {
  const int step = std::max(1, d.gridStep);
  const int x = std::clamp(tk.root.MouseX - w.Inner.x0, 0, std::max(0, w.Inner.w0 - 1));
  const int y = std::clamp(tk.root.MouseY - w.Inner.y0, 0, std::max(0, w.Inner.h0 - 1));
  return {x / step * step, y / step * step};
}

void StartBand(Toolkit& tk, Designer& d, Element& w) {
  EndBand(tk, d);
  const Root& root = tk.root;
  const bool inside = w.Inner.x0 <= root.MouseX && root.MouseX < w.Inner.x0 + w.Inner.w0 &&
                      w.Inner.y0 <= root.MouseY && root.MouseY < w.Inner.y0 + w.Inner.h0;
  if (!inside) return;  // on a border or the caption: the toolkit resizes or moves it
  if (tk.dispatch.DragElement == w.ID) {
    // A tool draws where the new element goes instead of moving the container.
    if (d.toolKind == ElementKind::None) return;
    tk.dispatch.DragElement = -1;
  }
  d.bandOwner = w.ID;
  std::tie(d.bandStartX, d.bandStartY) = SnappedPointer(tk, d, w);
}

void DragBand(Toolkit& tk, Designer& d, Element& w) {
  const auto [cx, cy] = SnappedPointer(tk, d, w);
  SelectionRectangle& band = tk.root.Selection;
  band.X = std::min(d.bandStartX, cx);
  band.Y = std::min(d.bandStartY, cy);
  band.Width = std::abs(cx - d.bandStartX);
  band.Height = std::abs(cy - d.bandStartY);
  if (d.bandOverlay == 0)
    d.bandOverlay = AddOverlay(tk, [&tk, &d](platform::Painter& p) { PaintBand(tk, d, p); });
  Repaint(tk, w.ID, false);
}

// Without a tool the band selects the elements of W that it overlaps, and only those.
void SelectInBand(Toolkit& tk, const Element& w) {
  const SelectionRectangle band = tk.root.Selection;
  std::vector<int> picked;
  for (const auto& e : tk.root.Elements) {
    if (!e->Alive || e->Hidden || e->ParentID != w.ID || e->Named != 1) continue;
    const int px = e->Frame.x0 - w.Inner.x0, py = e->Frame.y0 - w.Inner.y0;
    const int B = e->FrameWidth, I = e->FrameWidthSet;
    const int x1 = px + B - I, x2 = px + e->Frame.w0 - 2 * I;
    const int y1 = py + B - I, y2 = py + e->Frame.h0 - 2 * I;
    if (x2 > band.X + 1 && y2 > band.Y + 1 && x1 < band.X + band.Width - 2 &&
        y1 < band.Y + band.Height - 2)
      picked.push_back(e->ID);
  }
  if (picked.empty()) return;  // a click on the bare form keeps the form selected
  SelectElement(tk, -1, true);
  for (const int id : picked)
    SelectElement(tk, id, false);
  tk.root.MultiSelect = true;
}

void FinishBand(Toolkit& tk, Designer& d, int element) {
  if (d.bandOwner != element) return;
  const Element* w = FindElement(tk, element);
  if (d.toolKind != ElementKind::None) {
    // Creation takes the band as position and size, then clears it.
    if (d.bandOverlay != 0) RemoveOverlay(tk, d.bandOverlay);
    d.bandOverlay = 0;
    d.bandOwner = -1;
    CreateDesignElement(tk, d, d.toolKind, element, 0, 1);
  } else if (w != nullptr) {
    SelectInBand(tk, *w);
  }
  EndBand(tk, d);
}

// A double click on a Button names its LeftClick procedure and shows the code.
void ShowButtonCode(Toolkit& tk, Designer& d, const Element& w) {
  if (w.Kind == ElementKind::Button) {
    const std::string procedure = WithoutHashes(w.Name) + "_LeftClick_Event";
    const int row = d.rows.leftClick;
    int index = -1;
    if (const Element* holder = OptionHolder(tk, row))
      for (const auto& item : holder->Items)
        if (item->Text == procedure) index = item->Index;
    if (index < 0) index = AddElementItem(tk, row, -1, procedure);
    if (index >= 0) SetElementState(tk, row, index);
    // The Code page shown next carries the procedure the row now names.
    AddElementEvent(tk, w.ID, "LeftClick");
  }
  SetElementState(tk, d.sidePanel, 1);
  SetElementState(tk, d.mainPanel, 1);
}

bool FillsPanels(EventCode event) {
  return event == ElementEvent::Created || event == ElementEvent::Focus ||
         event == ElementEvent::Move || event == ElementEvent::Resize ||
         event == ElementEvent::LeftButtonDown;
}

}  // namespace

int FormEditingHandler(Toolkit& tk, Designer& d, EventCode event, int element) {
  if (event == ElementEvent::Freed) {
    if (d.bandOwner == element) EndBand(tk, d);
    UnlistElement(tk, d, element);
    return 1;
  }
  // The shortcuts are the commands'. A form window lies in the designer window, so the
  // designer window's handlers hear the keys of the form window itself; those of the form's
  // elements they hear from here.
  if (event == ElementEvent::KeyDown || event == ElementEvent::KeyUp) {
    const Element* source = FindElement(tk, element);
    const bool heard = source != nullptr && source->WindowID == d.window;
    const int result = heard ? 1 : CommandHandler(tk, d, event, element);
    if (event == ElementEvent::KeyUp) ResetTool(tk, d);
    // The arrow keys may have walked the selection to another element: the grids follow at the
    // press already, as the release may reach another element (a grid row under the pointer
    // takes the keyboard once the selection's frame no longer covers it).
    const Element* designed = FindElement(tk, tk.root.DesignedElement);
    if (designed != nullptr && designed->Named == 1 && !d.reading)
      FillPanelsFromElement(tk, d, designed->ID, ElementEvent::Focus);
    return result;
  }
  Element* w = FindElement(tk, element);
  if (w == nullptr) return 1;
  if (event == ElementEvent::MouseEnter) ShowToolPointer(tk, d);
  // What else the form's window holds (a list's scroll bars, a combo's drop-down) is no
  // element of the form.
  if (w->Named != 1) return 1;

  if (event == ElementEvent::CloseButton) {
    // Handled once, here: the toolkit's own caption-button handler would free it again.
    WindowButtonHandler(tk, event, element);
    return 0;
  }
  if (event == ElementEvent::Created) {
    w->DesignSelectable = 1;
    // A read lists what it made in one go at its end.
    if (!d.reading) ListElement(tk, d, element);
  } else if (event == ElementEvent::RightButtonDown && w->DesignSelectable &&
             tk.root.DesignedElement != element) {
    // The popup acts on the selection: a right press selects what it is on, as a left one.
    tk.root.DesignedElement = element;
    tk.root.MultiSelect = false;
    SelectElement(tk, element, true);
    FillPanelsFromElement(tk, d, element, ElementEvent::Focus);
  } else if (event == ElementEvent::RightButtonUp) {
    DisplayPopupMenu(tk, d.elementPopup, element, kIgnore, kIgnore);
  }
  // The grids show the selection: a window getting the focus back, or an element moved along
  // with it, leaves them where they are.
  if (FillsPanels(event) && !d.reading &&
      (event == ElementEvent::Created || element == tk.root.DesignedElement))
    FillPanelsFromElement(tk, d, element, event);
  // Text typed into the selected element (a spin's field, say) is its caption: the Caption
  // row follows it.
  if (event == ElementEvent::Change && element == tk.root.DesignedElement && !d.reading)
    FillPanelsFromElement(tk, d, element, ElementEvent::Focus);

  if ((w = FindElement(tk, element)) == nullptr) return 1;
  if (HoldsChildren(tk, *w)) {
    if (event == ElementEvent::LeftButtonDown) {
      StartBand(tk, d, *w);
    } else if (event == ElementEvent::MouseMove &&
               tk.root.ButtonHeld == ElementEvent::LeftButtonDown && d.bandOwner == element) {
      DragBand(tk, d, *w);
    } else if (event == ElementEvent::LeftButtonUp) {
      FinishBand(tk, d, element);
    }
  }
  if (event == ElementEvent::LeftDoubleClick) {
    if ((w = FindElement(tk, element)) != nullptr) ShowButtonCode(tk, d, *w);
  }
  return 1;
}

void ListElement(Toolkit& tk, Designer& d, int element) {
  const Element* e = FindElement(tk, element);
  if (e == nullptr || OptionOf(tk, d.rows.elements, element) >= 0) return;
  const int index =
      AddElementItem(tk, d.rows.elements, -1, KindName(e->Kind) + " (" + e->Name + ")");
  if (index >= 0) SetItemData(tk, d.rows.elements, index, element);
}

}  // namespace tk::designer
