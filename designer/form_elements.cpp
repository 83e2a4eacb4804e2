// Elements placed on a form the way the user places them (the New command, a drag with a
// tool, the code reader), and putting the toolbox back on the pointer.
#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/icon_archives.h"
#include "elements/zorder.h"
#include "render/interaction.h"

namespace tk::designer {

namespace {

constexpr Color kSelectionColour = 0xE23A2B;
// A rubber band this small or smaller is a click, not a rectangle.
constexpr int kSmallestBand = 5;

bool HoldsChildren(Toolkit& tk, const Element& e) {
  return tk.Kind(e.Kind).ListHolder != KindDescriptor::NoList;
}

struct Size {
  int width, height;
};

Size DefaultSize(ElementKind kind) {
  switch (kind) {
    case ElementKind::Container:
    case ElementKind::ScrollArea:
    case ElementKind::Panel:
    case ElementKind::Splitter:
    case ElementKind::ListView:
    case ElementKind::ListIcon:
    case ElementKind::Image:
      return {220, 140};
    case ElementKind::Window:
      return {350, 250};
    default:
      return {130, 25};
  }
}

}  // namespace

// A new record is appended to the element list. When a window kept above the others (the
// image editor) lies after the parent's part of the list, the element would be drawn over
// that window and split its form's part: it goes to the end of its parent's part instead.
void KeepWithParent(Toolkit& tk, int id) {
  auto& list = tk.root.Elements;
  const Element* e = FindElement(tk, id);
  if (e == nullptr || list.size() < 2 || list.back().get() != e || IsWindowRecord(tk, *e)) return;
  const Element& before = *list[list.size() - 2];
  const int parent = e->ParentID;
  if (FindElement(tk, parent) == nullptr || IsInside(tk, before, parent)) return;
  int anchor = parent;
  for (size_t i = static_cast<size_t>(IndexOf(tk.root, FindElement(tk, parent))) + 1;
       i < list.size() && IsInside(tk, *list[i], parent) && list[i].get() != e; ++i)
    anchor = list[i]->ID;
  SetPosition(tk, id, ZOrder::After, anchor);
}

int CreateDesignElement(Toolkit& tk, Designer& d, ElementKind kind, int parent, int tab, int flag) {
  if (kind == ElementKind::None) return -1;
  Root& root = tk.root;
  int x = kIgnore, y = kIgnore;
  const Element* under = FindElement(tk, root.PointerElement);
  if (under != nullptr && under->ID == parent && parent != 0) {
    if (!HoldsChildren(tk, *under)) parent = under->ParentID;
    // Positions inside a parent count from its inner rectangle, not from its frame as the
    // element's own pointer position does (a window's caption would push the element down).
    if (const Element* p = FindElement(tk, parent)) {
      x = root.MouseX - p->Inner.x0;
      y = root.MouseY - p->Inner.y0;
    }
  }

  // A window is no gadget: its tool used inside a form window makes another form window on
  // the Form page, at the same place on the canvas.
  if (kind == ElementKind::Window && parent != d.mainPanel && parent > 0 &&
      IsChildOf(tk, parent, d.mainPanel)) {
    const Element* from = FindElement(tk, parent);
    const Element* page = FindElement(tk, d.mainPanel);
    const int dx = from->Inner.x0 - page->Inner.x0, dy = from->Inner.y0 - page->Inner.y0;
    if (x != kIgnore) x += dx;
    if (y != kIgnore) y += dy;
    root.Selection.X += dx;
    root.Selection.Y += dy;
    parent = d.mainPanel;
    tab = 0;
  }

  // A read deselects once for all it creates: doing it per element costs a walk of the list.
  if (!d.reading) SelectElement(tk, -1, true);
  const bool inParent = FindElement(tk, parent) != nullptr;
  const int savedWindow = inParent ? OpenDesignList(tk, parent, tab) : tk.root.CurrentWindow;
  // The list that holds the new element (a scroll area's content for the area): closed by id
  // at the end, which spares a search through the element list for every element made.
  const int opened = inParent ? tk.root.OpenList : -1;

  Size size = DefaultSize(kind);
  SelectionRectangle& band = root.Selection;
  band.Colour = kSelectionColour;
  if (band.Width > kSmallestBand && band.Height > kSmallestBand) {
    x = band.X;
    y = band.Y;
    size = {band.Width + d.gridStep, band.Height + d.gridStep};
  }
  band.X = band.Y = band.Width = band.Height = 0;

  const int id = CreateElement(tk, kind, -1, x, y, size.width, size.height, "", -1, -1, 0,
                               Flag::DesignerPlaced);
  Element* e = FindElement(tk, id);
  if (id <= 0 || e == nullptr) {
    if (inParent) CloseDesignList(tk, savedWindow);
    return -1;
  }
  // A window drawn as a small band still keeps a grid step of client area below its caption
  // and inside its borders (a negative client size would be written into the code).
  if (kind == ElementKind::Window && (e->Inner.w0 < d.gridStep || e->Inner.h0 < d.gridStep)) {
    const int w = e->Frame.w0 + std::max(0, d.gridStep - e->Inner.w0);
    const int h = e->Frame.h0 + std::max(0, d.gridStep - e->Inner.h0);
    ResizeElement(tk, *e, kIgnore, kIgnore, w, h, CoordMode::Parent);
    if ((e = FindElement(tk, id)) == nullptr) return -1;
  }
  const bool holder = HoldsChildren(tk, *e);
  // The dotted grid is only ever seen: a batch run leaves it out.
  if ((holder || kind == ElementKind::Window) && !d.batch) {
    SetElementBackImage(tk, id, FormGridImage(tk, d));
  }
  if (kind == ElementKind::Window) {
    SetElementImage(tk, id, d.archives.ArchiveIcon("elements", "_"));
    // A batch run edits nothing: its forms hear no events.
    if (!d.formHandler && !d.batch)
      d.formHandler = MakeHandler([&tk, &d](EventCode code, int) {
        return FormEditingHandler(tk, d, code, tk.root.Event.EventElement);
      });
    if (d.formHandler) BindCallback(tk, d.formHandler, id, -1, -1);
  }
  if ((e = FindElement(tk, id)) != nullptr) e->FlagList.clear();
  if (holder) CloseListOf(tk, tk.root.OpenList);  // its own list, or its content's
  if (inParent) {
    CloseListOf(tk, opened);
    tk.root.CurrentWindow = savedWindow;
  }
  // A batch run shows no menus.
  if (kind == ElementKind::Window && !d.batch) BuildElementPopup(tk, d);
  KeepWithParent(tk, id);
  if (flag != 0) ResetTool(tk, d);
  return id;
}

int OpenDesignList(Toolkit& tk, int parent, int tab) {
  const int saved = tk.root.CurrentWindow;
  OpenList(tk, parent, tab);
  const Element* p = FindElement(tk, parent);
  // Said outright for a window too: a form window whose list was left open is not opened
  // again, and the current window would stay whatever it was (the designer's own).
  if (p != nullptr && p->Kind == ElementKind::Window)
    tk.root.CurrentWindow = p->ID;
  else if (p != nullptr && FindElement(tk, p->WindowID) != nullptr)
    tk.root.CurrentWindow = p->WindowID;
  return saved;
}

void CloseDesignList(Toolkit& tk, int savedWindow) {
  CloseList(tk);
  tk.root.CurrentWindow = savedWindow;
}

void ResetTool(Toolkit& tk, Designer& d) {
  SetElementState(tk, d.toolboxList, 0);
  const int selected = static_cast<int>(GetElementState(tk, d.toolboxList));
  std::string text;
  if (Element* list = FindElement(tk, d.toolboxList))
    if (const Element* item = FindItem(*list, selected)) text = item->Text;
  SetElementText(tk, d.toolboxText, ToolDescription(text));
  d.toolKind = ElementKind::None;
  tk.root.ToolKind = ElementKind::None;
  // The tool's own pointer held the shape; the default one comes back.
  tk.root.PointerLock = 0;
  d.pointerTool = ElementKind::None;
  SetPointer(tk, platform::Cursor::Default);
}

std::string WithoutHashes(std::string_view name) {
  while (!name.empty() && name.front() == '#')
    name.remove_prefix(1);
  while (!name.empty() && name.back() == '#')
    name.remove_suffix(1);
  return std::string(name);
}

std::string ToolDescription(const std::string& text) {
  switch (static_cast<ElementKind>(KindFromText(text))) {
    case ElementKind::None:
      return "Элемент не выбран";
    case ElementKind::Date:
      return "Первая строка\r\nВторая строка";
    case ElementKind::Window:
      return "Это окно (Window)";
    case ElementKind::Button:
      return "Это кнопка (Button)";
    case ElementKind::ButtonImage:
      return "Это кнопка картинка (ButtonImage)";
    case ElementKind::CheckBox:
      return "Это переключатель (CheckBox)";
    case ElementKind::Container:
      return "Это контейнер для других элементов (Container)";
    case ElementKind::ComboBox:
      return "Это выподающий список (ComboBox)";
    case ElementKind::Editor: {
      std::string lines;
      for (int i = 1; i <= 21; ++i) {
        if (i > 1) lines += ' ';
        lines += std::to_string(i);
        lines += "строка";
      }
      return lines;
    }
    default:
      return "Еще не реализованно еееееееееееееееееееееееееееееее";
  }
}

}  // namespace tk::designer
