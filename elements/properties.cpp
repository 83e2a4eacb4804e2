// The property grid: a scroll area whose content holds a splitter between the name list and
// the editor container; one name item and one editor per row, kept level with each other.
#include "elements/properties.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/combobox.h"
#include "elements/list.h"
#include "elements/scrollarea.h"
#include "elements/simple.h"
#include "elements/spin.h"
#include "elements/splitter.h"

namespace tk {
namespace {

constexpr int kRowPitch = kPropertyRowHeight + kPropertyRowGap;
// Names end next to their editors.
constexpr Flags64 kNameItemFlags = 0x400;
constexpr Flags64 kPaneFlags = Flag::BorderLess | (Flags64{0x10} << 32);
constexpr Flags64 kGridSplitterFlags = 7;
constexpr Flags64 kRowSplitterFlags = Flag::BorderLess | 0x1;

std::string Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(" \t");
  return std::string(s.substr(b, e - b + 1));
}

// The parts a grid's host leads to; any may be missing when the caller freed them.
struct GridParts {
  int content = -1;
  int bar = -1;
  int splitter = -1;
  int names = -1;
  int editors = -1;
};

GridParts FindParts(Toolkit& tk, int hostId) {
  GridParts parts;
  const Element* host = FindElement(tk, hostId);
  if (host == nullptr || host->Kind != ElementKind::ScrollArea) return parts;
  parts.content = host->Attached[0];
  parts.bar = host->Attached[1];
  for (const auto& e : tk.root.Elements) {
    if (e->Alive && e->ParentID == parts.content && e->Kind == ElementKind::Splitter) {
      parts.splitter = e->ID;
      break;
    }
  }
  if (parts.splitter < 0) return parts;
  parts.names =
      static_cast<int>(GetElementAttribute(tk, parts.splitter, SplitterAttribute::FirstGadget));
  parts.editors =
      static_cast<int>(GetElementAttribute(tk, parts.splitter, SplitterAttribute::SecondGadget));
  return parts;
}

// The splitter spans the rows and the host's width, less the bar when the bar shows and
// less one pixel otherwise.
// While rows are being appended (`growing`) the splitter grows by at least its own height
// at a time, so that a long grid re-lays its parts a few times instead of once per row; the
// rows below the last one lie outside the content and are never seen.
void LayoutGrid(Toolkit& tk, int hostId, bool growing = false) {
  const GridParts parts = FindParts(tk, hostId);
  const Element* host = FindElement(tk, hostId);
  const Element* splitter = FindElement(tk, parts.splitter);
  if (host == nullptr || splitter == nullptr) return;
  const Element* bar = FindElement(tk, parts.bar);
  // What the area wants for its bar, also while a hidden panel tab hides everything on it.
  const bool shown = bar != nullptr && bar->HiddenOwn == 0;
  const int width = host->Inner.w0 - (shown ? bar->Frame.w0 : 1);
  int rows = static_cast<int>(GetElementAttribute(tk, hostId, kScrollAreaInnerHeight));
  if (growing) {
    const int current = splitter->Frame.h0;
    if (splitter->Frame.w0 == std::max(width, 0) && current >= rows) return;
    if (rows > current) rows = std::max(rows, 2 * current);
  }
  // The content is exactly as wide as the room beside the bar, so it never needs the
  // horizontal bar.
  SetElementColor(tk, hostId, kScrollAreaInnerWidth, std::max(width, 0));
  const Element* editors = FindElement(tk, parts.editors);
  const int before = editors != nullptr ? editors->Inner.w0 : 0;
  ResizeElementById(tk, parts.splitter, 0, 0, std::max(width, 0), rows);
  editors = FindElement(tk, parts.editors);
  if (editors == nullptr || editors->Inner.w0 == before) return;
  // Editors span the container: widen them with it, and keep the small buttons at the right
  // edge where they were.
  const int delta = editors->Inner.w0 - before;
  const int left = editors->Inner.x0;
  std::vector<int> ids;
  for (const auto& e : tk.root.Elements)
    if (e->Alive && e->ParentID == parts.editors) ids.push_back(e->ID);
  for (int id : ids) {
    const Element* e = FindElement(tk, id);
    if (e == nullptr) continue;
    if (e->Frame.x0 > left)
      ResizeElementById(tk, id, e->Frame.x0 - left + delta, kIgnore, kIgnore, kIgnore);
    else
      ResizeElementById(tk, id, kIgnore, kIgnore, std::max(e->Frame.w0 + delta, 0), kIgnore);
  }
}

// A spin row counts in whole steps between these limits.
constexpr int kSpinRowMin = -1000;
constexpr int kSpinRowMax = 1000;

// The value a spin row starts at: the number its option text begins with ("0|100" gives 0),
// rounded to a whole step and kept within the row's limits; 0 when there is no number.
double SpinRowValue(const std::string& options) {
  double value = 0;
  const char* end = options.data() + options.size();
  const auto [next, error] = std::from_chars(options.data(), end, value);
  if (error != std::errc() || next == options.data() || !std::isfinite(value)) return 0;
  // Adding 0 turns a rounded -0 into 0, which is how it is shown.
  return std::clamp(std::round(value), double{kSpinRowMin}, double{kSpinRowMax}) + 0.0;
}

void MakeActive(Toolkit& tk, int editor) {
  if (editor >= 0 && tk.root.UsedElement != editor && FindElement(tk, editor) != nullptr)
    ActivateElement(tk, editor);
}

void AddOptions(Toolkit& tk, int combo, const std::string& optionText, std::string* last) {
  size_t start = 0;
  int index = 0;
  for (;;) {
    const size_t bar = optionText.find('|', start);
    const std::string field =
        Trim(std::string_view(optionText)
                 .substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (!field.empty()) AddElementItem(tk, combo, index, field);
    if (last != nullptr) *last = field;
    if (bar == std::string::npos) break;
    start = bar + 1;
    ++index;
  }
}

}  // namespace

Flags64 PropertyBorderFlags(Flags64 flags) {
  const uint32_t low = static_cast<uint32_t>(flags);
  if (low == 8 && (flags >> 32) == 0) return Flag::BorderLess;
  if ((flags & 0x2) != 0) return (flags & ~Flags64{0x2}) | Flag::Flat;
  if ((flags & 0x10) != 0) return (flags & ~Flags64{0x10}) | Flag::Single;
  if ((flags & 0x4) != 0) return (flags & ~Flags64{0x4}) | Flag::Raised;
  return flags;
}

int Properties(Toolkit& tk, int id, int x, int y, int width, int height, Flags64 flags,
               int parentId, int nameWidth) {
  BusyGuard busy(tk);
  const ListState saved = EnterParentList(tk, parentId);
  const int host = ScrollArea(tk, id, x, y, width, height, std::max(width - kPropertyBarWidth, 0),
                              0, kRowPitch, PropertyBorderFlags(flags), -1);
  if (host == 0) {
    LeaveParentList(tk, saved, 0);
    return 0;
  }
  // The area's content list is open: the parts land in it.
  const int names = ListView(tk, -1, 0, 0, 100, 100, "", kPaneFlags);
  const int editors = Container(tk, -1, 0, 0, 0, 0, kPaneFlags);
  CloseList(tk);
  const int splitter = Splitter(tk, -1, 0, 0, std::max(width - kPropertyBarWidth, 0), 0, names,
                                editors, kGridSplitterFlags);
  CloseList(tk);  // the content and the area
  LeaveParentList(tk, saved, host);

  // A handler answering 0 ends the delivery; the grid's handlers always answer 1, so the
  // application's handlers on the same parts hear every event too.
  const HandlerRef layout = MakeHandler([&tk, host](EventCode code, int) {
    if (code != ElementEvent::Resize) return 1;
    LayoutGrid(tk, host);
    return 1;
  });
  BindElementEvent(tk, host, layout, ElementEvent::Resize);
  const HandlerRef hover = MakeHandler([&tk, names](EventCode code, int) {
    if (code != ElementEvent::MouseMove) return 1;
    Element* list = FindElement(tk, names);
    if (list == nullptr) return 1;
    const int index = ItemUnderMouse(tk, *list);
    if (index < 0) return 1;
    MakeActive(tk, static_cast<int>(GetItemData(tk, names, index)));
    return 1;
  });
  BindElementEvent(tk, names, hover, ElementEvent::MouseMove);
  // The area moves its content with the bar; the grid's owner hears that it scrolled.
  const HandlerRef scrolled = MakeHandler([&tk, host](EventCode code, int) {
    if (code != ElementEvent::StepUp && code != ElementEvent::StepDown) return 1;
    if (host != 0) PostElementEvent(tk, ElementEvent::Change, host, -1, 0);
    return 1;
  });
  if (const Element* area = FindElement(tk, host))
    BindElementEvent(tk, area->Attached[1], scrolled,
                     ElementEvent::StepUp | ElementEvent::StepDown);

  SetElementState(tk, splitter, nameWidth);
  LayoutGrid(tk, host);
  return host;
}

int AddProperty(Toolkit& tk, int grid, int editorId, const std::string& description,
                int64_t rowFlags) {
  const GridParts parts = FindParts(tk, grid);
  if (parts.names < 0 || parts.editors < 0) return -1;
  BusyGuard busy(tk);
  PropertyGridState& state = tk.propertyGrid;
  if (state.LastGrid != grid) {
    state.LastGrid = grid;
    state.Rows = 0;
  }
  const int row = state.Rows;

  // "<kind> <name> <options>": the options may hold spaces of their own.
  std::string kind, name, options;
  {
    const size_t a = description.find(' ');
    kind = Trim(description.substr(0, a));
    if (a != std::string::npos) {
      const size_t b = description.find(' ', a + 1);
      name = Trim(description.substr(a + 1, b == std::string::npos ? b : b - a - 1));
      if (b != std::string::npos) options = Trim(description.substr(b + 1));
    }
  }
  if (!name.empty()) name += ':';

  const int y = row * kRowPitch + 1;
  // The name item takes the whole pitch so that names stack level with the editors.
  AddListItem(tk, parts.names, row, name, kRowPitch, kNameItemFlags);

  const int w = ElementWidth(tk, parts.editors);
  const int h = kPropertyRowHeight;
  const int in = parts.editors;
  int editor = editorId;
  if (kind == "Splitter") {
    const int first = ComboBox(tk, -1, 0, 0, 0, 0, 0, in);
    const int second = ComboBox(tk, -1, 0, 0, 0, 0, 0, in);
    SetElementData(tk, first, row);
    SetElementData(tk, second, row);
    editor = Splitter(tk, editorId, 0, y, w, h, first, second, kRowSplitterFlags, in);
  } else if (kind == "StringButton") {
    const int field = String(tk, -1, 0, y, w, h, options, 0, in);
    editor = Button(tk, editorId, w - kPropertyBarWidth, y + 1, kPropertyBarWidth,
                    kPropertyBarWidth, "...", 0, in);
    SetElementData(tk, field, editor);
  } else if (kind == "Button") {
    editor = Button(tk, editorId, 0, y, w, h, options, Flag::Left, in);
  } else if (kind == "String") {
    editor = String(tk, editorId, 0, y, w, h, options, 0, in);
  } else if (kind == "Spin") {
    editor = Spin(tk, editorId, 0, y, w, h, kSpinRowMin, kSpinRowMax, Flag::Numeric, in, "1");
    if (!options.empty()) SetElementState(tk, editor, SpinRowValue(options));
  } else if (kind == "ComboBox") {
    const int64_t low = rowFlags & 0xFFFFFFFF;
    Flags64 comboFlags = 0;
    if ((low & kPropertyCheckList) == kPropertyCheckList)
      comboFlags = kComboCheckList;
    else if ((low & kPropertyEditable) == kPropertyEditable)
      comboFlags = Flag::Editable;
    editor = ComboBox(tk, editorId, 0, y, w, h, comboFlags, in);
    std::string last;
    AddOptions(tk, editor, options, &last);
    SetElementState(tk, editor, last == "False" ? 1 : 0);
  }

  SetItemData(tk, parts.names, row, editor);
  if (editor != editorId || FindElement(tk, editor) != nullptr) {
    SetElementData(tk, editor, row);
    const int names = parts.names;
    const HandlerRef focus = MakeHandler([&tk, editor, names](EventCode code, int) {
      if (code == ElementEvent::MouseEnter) {
        MakeActive(tk, editor);
        return 1;
      }
      if (code == ElementEvent::LeftClick) {
        SetElementState(tk, names, static_cast<double>(GetElementData(tk, editor)));
        return 1;
      }
      return 1;
    });
    BindElementEvent(tk, editor, focus, ElementEvent::MouseEnter | ElementEvent::LeftClick);
  }
  state.Rows = row + 1;

  SetElementColor(tk, grid, kScrollAreaInnerHeight, y + kPropertyRowHeight + kPropertyRowGap);
  LayoutGrid(tk, grid, true);
  return editor;
}

void SetPropertyOptions(Toolkit& tk, int combo, const std::string& optionText) {
  if (FindElement(tk, combo) == nullptr) return;
  ClearItems(tk, combo);
  AddOptions(tk, combo, optionText, nullptr);
}

}  // namespace tk
