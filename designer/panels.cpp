// The side panel tied to the form: the property and event grids show the selected element,
// and editing a row changes it; the toolbox chooses the kind the next drag creates.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/generator.h"
#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "elements/combobox.h"
#include "elements/properties.h"
#include "render/interaction.h"
#include "requesters/requesters.h"

namespace tk::designer {

namespace {

// The font the Font row's requester starts at.
constexpr const char* kStartFont = "Arial";
constexpr int kStartFontSize = 8;

// True when `event` carries any of the bits of `mask` (-1 is no event).
bool Is(EventCode event, EventCode mask) {
  return event >= 0 && (event & mask) != 0;
}

std::string ColorText(Color colour) {
  // Appended rather than "$" + ...: GCC 12 at -O3 warns (-Wrestrict) on a literal joined
  // to a temporary string.
  std::string text = "$";
  text += FormatColorHex(colour);
  return text;
}

// The ID row: the name and the number.
std::string IdText(const std::string& name, int id) {
  std::string text = name;
  text += " (";
  text += std::to_string(id);
  text += ')';
  return text;
}

bool IsConstant(std::string_view name) {
  return !name.empty() && (name.front() == '#' || name.back() == '#');
}

// The element the grids edit: the design selection, as long as it is a form window or one
// of its elements (they all live on the main panel's Form page).
int Selected(Toolkit& tk, const Designer& d) {
  const int e = tk.root.DesignedElement;
  if (e <= 0 || e == d.mainPanel || FindElement(tk, e) == nullptr) return -1;
  return IsChildOf(tk, e, d.mainPanel) ? e : -1;
}

// The option list of a combo row (its entries), or nullptr.
Element* Options(Toolkit& tk, int combo) {
  return FindElement(tk, ComboList(tk, combo));
}

// Whole number written in a row's text; false for anything else (an empty field, a lone
// minus sign while it is being typed), so half-typed values move nothing.
bool ParseWhole(const std::string& text, int& value) {
  size_t b = text.find_first_not_of(' ');
  size_t e = text.find_last_not_of(' ');
  if (b == std::string::npos) return false;
  const char* first = text.data() + b;
  const char* last = text.data() + e + 1;
  double parsed = 0;
  const auto [end, error] = std::from_chars(first, last, parsed);
  if (error != std::errc() || end != last || !std::isfinite(parsed)) return false;
  // Beyond any screen a form is shown on, a place or size stops at the limit (a number past
  // the int range would wrap round into a negative size).
  constexpr double kLimit = 32767;
  value = static_cast<int>(std::lround(std::clamp(parsed, -kLimit, kLimit)));
  return true;
}

// Leaves an unchanged text alone, so pointing along the toolbox repaints only when the
// description changes. A multi-line Text keeps its text with a closing line feed.
void SetTextIfChanged(Toolkit& tk, int id, const std::string& text) {
  const Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  std::string_view shown = e->Text;
  if (HasAny(e->Flags, Flag::MultiLine) && !shown.empty() && shown.back() == '\n')
    shown.remove_suffix(1);
  if (shown != text) SetElementText(tk, id, text);
}

// Disabling walks the element list, so a row already as wanted is left alone.
void SetDisabled(Toolkit& tk, int row, bool disabled) {
  if ((IsDisabled(tk, row) != 0) != disabled) DisableElement(tk, row, disabled ? 1 : 0);
}

std::string ToolboxText(Toolkit& tk, const Designer& d, int index) {
  Element* list = FindElement(tk, d.toolboxList);
  if (list == nullptr) return {};
  const Element* item = FindItem(*list, index);
  return item != nullptr ? item->Text : std::string();
}

// The Elements row's option that names `element`; -1 when it is not listed.
int ListedPosition(Toolkit& tk, const Designer& d, int element) {
  const Element* options = Options(tk, d.rows.elements);
  if (options == nullptr) return -1;
  for (const auto& item : options->Items)
    if (item->Data == element) return item->Index;
  return -1;
}

// True when the combo row's options are the "|"-separated fields of `text`, in order.
bool Offers(Toolkit& tk, int combo, std::string_view text) {
  const Element* options = Options(tk, combo);
  if (options == nullptr) return false;
  std::string joined;
  for (const auto& item : options->Items) {
    if (!joined.empty()) joined += '|';
    joined += item->Text;
  }
  return joined == TrimBars(text);
}

// The Flag row offers the kind's flags, those of the element's flag list ticked; the field
// shows the list.
void FillFlagRow(Toolkit& tk, const Designer& d, ElementKind kind, const std::string& flagList) {
  const int row = d.rows.flag;
  const std::string offered = KindFlagList(static_cast<int>(kind));
  // Rebuilt only for another kind's list: every option added re-lays the list out.
  if (!Offers(tk, row, offered)) SetPropertyOptions(tk, row, offered);
  if (Element* options = Options(tk, row)) {
    for (const auto& item : options->Items) {
      item->Checked = 0;
      std::string_view rest = TrimBars(flagList);
      while (!rest.empty()) {
        const size_t bar = rest.find('|');
        const std::string_view word = rest.substr(0, bar);
        if (!word.empty() && word == item->Text) item->Checked = 1;
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
      }
    }
    options->Repaint = 1;
  }
  SetTextIfChanged(tk, row, std::string(TrimBars(flagList)));
}

// Every ticked flag of the row goes into the element's flag list and takes effect; the
// unticked ones are taken off.
void ApplyFlagRow(Toolkit& tk, const Designer& d, int element) {
  const Element* options = Options(tk, d.rows.flag);
  if (options == nullptr) return;
  struct Option {
    std::string text;
    bool ticked;
  };
  std::vector<Option> list;
  for (const auto& item : options->Items)
    list.push_back({item->Text, item->Checked != 0});
  AddElementFlag(tk, element, "");
  Flags64 ticked = 0;
  for (const Option& o : list) {
    RemoveElementFlags(tk, element, FlagValue(o.text));
    if (!o.ticked) continue;
    AddElementFlag(tk, element, o.text);
    ticked |= FlagValue(o.text);
  }
  SetElementFlags(tk, element, ticked);
  SetTextIfChanged(tk, d.rows.flag, GetElementFlagText(tk, element));
}

// The element becomes the one the grids edit, the form shows it selected and its window
// comes to the front.
void Choose(Toolkit& tk, Designer& d, int element) {
  if (FindElement(tk, element) == nullptr) return;
  tk.root.DesignedElement = element;
  SelectElement(tk, element, true);
  ActivateElement(tk, element);
  FocusWindow(tk, element);
  FillPanelsFromElement(tk, d, element, ElementEvent::Focus);
}

// The row values in the element's terms: the rows show the size read in the default mode
// (a window's client area), which may differ from the frame that resizing sets.
void ResizeFromRows(Toolkit& tk, const Designer& d, int element, int changedRow) {
  int value = 0;
  if (!ParseWhole(GetElementText(tk, changedRow), value)) return;
  const PropertyRows& r = d.rows;
  // A size of nothing would not read back from the generated code: the least is one pixel.
  if (changedRow == r.width || changedRow == r.height) value = std::max(value, 1);
  if (GetElementState(tk, changedRow) != value) SetElementState(tk, changedRow, value);
  const Element* e = FindElement(tk, element);
  if (e == nullptr) return;
  const int extraW = e->Frame.w0 - ElementWidth(tk, element);
  const int extraH = e->Frame.h0 - ElementHeight(tk, element);
  auto state = [&](int row) { return static_cast<int>(std::lround(GetElementState(tk, row))); };
  ResizeElementById(tk, element, state(r.x), state(r.y), state(r.width) + extraW,
                    state(r.height) + extraH, CoordMode::Parent);
}

// The procedure option of an event row, and the event in the element's event list.
void AddEventProcedure(Toolkit& tk, int row, int element, const char* event) {
  const std::string procedure = WithoutHashes(GetElementName(tk, element)) + "_" + event + "_Event";
  AddElementItem(tk, row, 0, procedure);
  SetElementState(tk, row, 0);
  AddElementEvent(tk, element, event);
}

void OnDoubleClick(Toolkit& tk, Designer& d, int element) {
  const PropertyRows& r = d.rows;
  if (element != r.leftClick && element != r.rightClick && element != r.leftDown &&
      element != r.leftUp)
    return;
  const int e = Selected(tk, d);
  if (e < 0) return;
  if (element == r.leftClick) AddEventProcedure(tk, element, e, "LeftClick");
  if (element == r.rightClick) AddEventProcedure(tk, element, e, "RightClick");
  SetElementState(tk, d.mainPanel, 1);  // the Code page, which regenerates the source
}

void ChooseTool(Toolkit& tk, Designer& d) {
  const int selected = static_cast<int>(GetElementState(tk, d.toolboxList));
  const auto kind = static_cast<ElementKind>(KindFromText(ToolboxText(tk, d, selected)));
  d.toolKind = kind;
  tk.root.ToolKind = kind;
  // The mark stands on the first entry of that kind.
  if (Element* list = FindElement(tk, d.toolboxList)) {
    int mark = -1;
    for (const auto& item : list->Items) {
      if (static_cast<ElementKind>(KindFromText(item->Text)) == kind) {
        mark = item->Index;
        break;
      }
    }
    if (mark >= 0 && mark != selected) SetElementState(tk, d.toolboxList, mark);
  }
  SetTextIfChanged(tk, d.toolboxText, ToolDescription(ToolboxText(tk, d, selected)));
}

void PickColour(Toolkit& tk, Designer& d, int row, int element, int attribute) {
  const int64_t current = GetElementAttribute(tk, element, attribute);
  const int64_t chosen = ColorRequester(tk, current < 0 ? 0 : current);
  // A cancelled requester (or an element gone meanwhile) changes nothing.
  if (chosen < 0 || FindElement(tk, element) == nullptr || Selected(tk, d) != element) return;
  SetElementColor(tk, element, attribute, chosen);
  SetElementText(tk, row, ColorText(chosen));
}

void PickFont(Toolkit& tk, Designer& d, int element) {
  if (!FontRequester(tk, kStartFont, kStartFontSize)) return;
  if (FindElement(tk, element) == nullptr || Selected(tk, d) != element) return;
  const std::string name = SelectedFontName(tk);
  const int size = SelectedFontSize(tk);
  const int font = tk.platform.Fonts().Load(name, size, SelectedFontStyle(tk));
  if (font <= 0) return;
  std::string shown = "(";
  shown += std::to_string(size);
  shown += ") ";
  shown += name;
  SetElementText(tk, d.rows.font, shown);
  SetElementFont(tk, element, font);
}

void OnLeftClick(Toolkit& tk, Designer& d, int element) {
  const PropertyRows& r = d.rows;
  if (element == d.toolboxList) {
    ChooseTool(tk, d);
    return;
  }
  if (element != r.image && element != r.bgImage && element != r.fontColor &&
      element != r.backColor && element != r.font)
    return;
  const int e = Selected(tk, d);
  if (e < 0) return;
  if (element == r.image || element == r.bgImage) {
    OpenImageEditor(tk, d.imageEditor, d.window, nullptr, Flag::WindowCentered);
  } else if (element == r.fontColor) {
    PickColour(tk, d, element, e, Attribute::FrontColor);
  } else if (element == r.backColor) {
    PickColour(tk, d, element, e, Attribute::BackColor);
  } else {
    PickFont(tk, d, e);
  }
}

// A row's text without double quotes, which a PureBasic string cannot hold (the generated
// code would not read back); the row shows what is kept.
std::string WithoutQuotes(Toolkit& tk, int row) {
  std::string text = GetElementText(tk, row);
  if (text.find('"') == std::string::npos) return text;
  text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
  SetElementText(tk, row, text);
  return text;
}

void OnRowChange(Toolkit& tk, Designer& d, int element) {
  const PropertyRows& r = d.rows;
  if (element == r.elements) {
    const int index = static_cast<int>(GetElementState(tk, r.elements));
    if (index >= 0) Choose(tk, d, static_cast<int>(GetItemData(tk, r.elements, index)));
    return;
  }
  const int e = Selected(tk, d);
  if (e < 0) return;
  const bool yes = GetElementState(tk, element) == 0;  // the True option
  if (element == r.flag) {
    ApplyFlagRow(tk, d, e);
    // A border flag moves a window's client area and changes its size.
    FillPanelsFromElement(tk, d, e, ElementEvent::Move);
    FillPanelsFromElement(tk, d, e, ElementEvent::Resize);
  } else if (element == r.enumeration) {
    const std::string bare = WithoutHashes(GetElementName(tk, e));
    SetElementName(tk, e, yes ? std::string("#").append(bare) : bare);
    SetTextIfChanged(tk, r.id, IdText(GetElementName(tk, e), e));
    ActivateElement(tk, e);
    FocusWindow(tk, e);
  } else if (element == r.hide) {
    HideElement(tk, e, yes ? 1 : 0);
  } else if (element == r.disable) {
    DisableElement(tk, e, yes ? 1 : 0);
  } else if (element == r.sticky) {
    if (IsWindow(tk, e)) StickyWindow(tk, e, yes ? 1 : 0);
  } else if (element == r.toolTip) {
    const std::string text = WithoutQuotes(tk, r.toolTip);
    if (Element* rec = FindElement(tk, e)) rec->ToolTip = text;
  } else if (element == r.caption) {
    SetElementText(tk, e, WithoutQuotes(tk, r.caption));
  } else if (element == r.x || element == r.y || element == r.width || element == r.height) {
    ResizeFromRows(tk, d, e, element);
  }
}

void DescribeTool(Toolkit& tk, Designer& d, EventCode event) {
  Element* list = FindElement(tk, d.toolboxList);
  if (list == nullptr) return;
  const int index = Is(event, ElementEvent::MouseMove)
                        ? ItemUnderMouse(tk, *list)
                        : static_cast<int>(GetElementState(tk, d.toolboxList));
  SetTextIfChanged(tk, d.toolboxText, ToolDescription(ToolboxText(tk, d, index)));
}

}  // namespace

void FillPanelsFromElement(Toolkit& tk, Designer& d, int element, EventCode event) {
  const Element* e = FindElement(tk, element);
  if (e == nullptr || element <= 0) return;
  const PropertyRows& r = d.rows;
  // Copied first: the setters below may run handlers.
  const std::string name = e->Name, toolTip = e->ToolTip, flagList = e->FlagList;
  const ElementKind kind = e->Kind;
  const bool window = IsWindow(tk, element);

  if (Is(event, ElementEvent::Created | ElementEvent::Focus | ElementEvent::LeftButtonDown)) {
    SetElementState(tk, r.enumeration, IsConstant(name) ? 0 : 1);
    SetTextIfChanged(tk, r.caption, GetElementText(tk, element));
    SetElementState(tk, r.elements, ListedPosition(tk, d, element));
    SetElementState(tk, r.disable, IsDisabled(tk, element) != 0 ? 0 : 1);
    SetTextIfChanged(tk, r.id, IdText(name, element));
    SetTextIfChanged(tk, r.fontColor,
                     ColorText(GetElementAttribute(tk, element, Attribute::FrontColor)));
    SetTextIfChanged(tk, r.backColor,
                     ColorText(GetElementAttribute(tk, element, Attribute::BackColor)));
    SetDisabled(tk, r.sticky, !window);
    SetDisabled(tk, r.toolTip, window);
    if (!window) SetTextIfChanged(tk, r.toolTip, toolTip);
    FillFlagRow(tk, d, kind, flagList);
  }
  if (Is(event, ElementEvent::Created | ElementEvent::Focus | ElementEvent::Move |
                    ElementEvent::LeftButtonDown)) {
    SetElementState(tk, r.x, ElementX(tk, element, CoordMode::Parent));
    SetElementState(tk, r.y, ElementY(tk, element, CoordMode::Parent));
  }
  if (Is(event, ElementEvent::Created | ElementEvent::Focus | ElementEvent::Resize |
                    ElementEvent::LeftButtonDown)) {
    SetElementState(tk, r.width, ElementWidth(tk, element));
    SetElementState(tk, r.height, ElementHeight(tk, element));
  }
}

int PropertyPanelHandler(Toolkit& tk, Designer& d, EventCode event, int element) {
  if (element == d.sidePanel) {
    if (Is(event, ElementEvent::Resize | ElementEvent::Change)) FitPageContent(tk, d.sidePanel);
    if (Is(event, ElementEvent::Change)) {
      const int page = static_cast<int>(GetElementState(tk, d.sidePanel));
      const int grids[] = {d.propertyGrid, d.eventGrid, d.toolboxList};
      if (page >= 0 && page < 3) ActivateElement(tk, grids[page]);
    }
    return 1;
  }
  if (Is(event, ElementEvent::LeftDoubleClick)) {
    OnDoubleClick(tk, d, element);
  } else if (Is(event, ElementEvent::LeftClick)) {
    OnLeftClick(tk, d, element);
  } else if (Is(event, ElementEvent::Change)) {
    OnRowChange(tk, d, element);
  } else if (element == d.toolboxList &&
             Is(event, ElementEvent::MouseMove | ElementEvent::MouseLeave)) {
    DescribeTool(tk, d, event);
  }
  return 1;
}

}  // namespace tk::designer
