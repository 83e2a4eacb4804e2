// The designer's commands (menu bar, tool bar, popups, keyboard shortcuts), the element
// clipboard, ending the program, and the main panel's pages.
#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "codegen/generator.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/files.h"
#include "designer/icon_archives.h"
#include "elements/menu.h"
#include "elements/zorder.h"
#include "render/host.h"
#include "render/interaction.h"
#include "render/repaint.h"
#include "requesters/requesters.h"

namespace tk::designer {

namespace {

constexpr const char* kCodePage = "Code";
constexpr int kFormPage = 0;

// The form element the commands act on: the design selection while it is a live element the
// designer placed; -1 otherwise (nothing chosen yet, or the selection was freed).
int SelectedElement(Toolkit& tk) {
  const Element* e = FindElement(tk, tk.root.DesignedElement);
  return e != nullptr && e->Alive && e->Named == 1 ? e->ID : -1;
}

bool HoldsChildren(Toolkit& tk, const Element& e) {
  return tk.Kind(e.Kind).ListHolder != KindDescriptor::NoList;
}

// The nearest ancestor the designer placed (a scroll area's children hang on its inner
// container, which the designer did not place); -1 when there is none.
int DesignParent(Toolkit& tk, const Element& e) {
  for (const Element* p = FindElement(tk, e.ParentID); p != nullptr && p->ID != 0;
       p = FindElement(tk, p->ParentID)) {
    if (p->Named == 1) return p->ID;
    if (p->ParentID == p->ID) break;
  }
  return -1;
}

template <typename T>
T ParseNumber(const std::string& text, T fallback) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() ? value : fallback;
}

// ---- The element clipboard -----------------------------------------------------------------

ClipboardRecord RecordOf(Toolkit& tk, const Element& e) {
  ClipboardRecord r;
  r.name = e.Name;
  r.kind = std::to_string(static_cast<int>(e.Kind));
  r.window = std::to_string(e.WindowID);
  r.parent = std::to_string(DesignParent(tk, e));
  // The record's own frame, written back as it is read (the getters answer 0 for an element
  // on a hidden page and add the border to what they read).
  r.x = std::to_string(e.ParentOffsetX());
  r.y = std::to_string(e.ParentOffsetY());
  r.width = std::to_string(e.Frame.w0);
  r.height = std::to_string(e.Frame.h0);
  r.clientWidth = std::to_string(ElementWidth(tk, e.ID));
  r.clientHeight = std::to_string(ElementHeight(tk, e.ID));
  r.text = GetElementText(tk, e.ID);
  int p1 = -1, p2 = -1, p3 = 0;
  if (auto copy = tk.Kind(e.Kind).CopyParams) copy(e, p1, p2, p3);
  r.param1 = std::to_string(p1);
  r.param2 = std::to_string(p2);
  r.param3 = std::to_string(p3);
  r.flags = std::to_string(e.Flags);
  r.flagList = e.FlagList;
  r.eventList = e.EventList;
  return r;
}

// Copies the selection: the selected element with everything the designer placed inside it,
// or in multi-selection mode every selected element with its contents. Without a selection
// the clipboard keeps what it had.
void CopySelection(Toolkit& tk, Designer& d) {
  const Root& root = tk.root;
  std::vector<int> roots;
  if (root.MultiSelect) {
    for (const auto& e : root.Elements)
      if (e->Alive && e->Named == 1 && HasAll(e->Flags, Flag::Selected)) roots.push_back(e->ID);
  } else if (const int selected = SelectedElement(tk); selected >= 0) {
    roots.push_back(selected);
  }
  if (roots.empty()) return;
  d.clipboard.clear();
  d.clipboardSources.clear();
  // List order puts every parent before its children, which paste relies on.
  for (const auto& e : root.Elements) {
    if (!e->Alive || e->Named != 1) continue;
    bool inside = false;
    for (const int r : roots)
      if (IsInside(tk, *e, r)) inside = true;
    if (!inside) continue;
    const std::string key = std::to_string(e->ID);
    d.clipboard[key] = RecordOf(tk, *e);
    d.clipboardSources.push_back(key);
  }
}

// A copied element was freed: its key and every field naming it no longer name an element.
// The record stays pasteable (so Cut then Paste works) under a negative key, which no element
// can have; a parent field follows the key, a window field becomes -1.
void ForgetClipboardSource(Designer& d, int id) {
  if (d.clipboard.empty()) return;
  const std::string gone = std::to_string(id);
  std::string replacement = "-1";
  if (auto node = d.clipboard.extract(gone)) {
    int n = -2;
    while (d.clipboard.count(std::to_string(n)) != 0)
      --n;
    replacement = std::to_string(n);
    node.key() = replacement;
    d.clipboard.insert(std::move(node));
    for (std::string& key : d.clipboardSources)
      if (key == gone) key = replacement;
  }
  for (auto& [key, record] : d.clipboard) {
    if (record.parent == gone) record.parent = replacement;
    if (record.window == gone) record.window = "-1";
  }
}

// The designer's additions to an element it places: the grid behind what holds children, and
// for a form window its icon, the form-editing handler and a new element popup.
void FinishPlacedElement(Toolkit& tk, Designer& d, int id) {
  Element* e = FindElement(tk, id);
  if (e == nullptr) return;
  const bool window = e->Kind == ElementKind::Window;
  if (window || HoldsChildren(tk, *e)) SetElementBackImage(tk, id, FormGridImage(tk, d));
  if (!window) return;
  SetElementImage(tk, id, d.archives.ArchiveIcon("elements", "_"));
  if (!d.formHandler)
    d.formHandler = MakeHandler([&tk, &d](EventCode code, int) {
      return FormEditingHandler(tk, d, code, tk.root.Event.EventElement);
    });
  BindCallback(tk, d.formHandler, id, -1, -1);
  BuildElementPopup(tk, d);
}

// Creates one element from a record inside `parent` (on its tab `tab`); its id or -1.
int PasteRecord(Toolkit& tk, Designer& d, const ClipboardRecord& r, int parent, int tab) {
  const auto kind = static_cast<ElementKind>(ParseNumber(r.kind, 0));
  if (kind == ElementKind::None || FindElement(tk, parent) == nullptr) return -1;
  const int x = ParseNumber(r.x, 0), y = ParseNumber(r.y, 0);
  const int w = ParseNumber(r.width, 130), h = ParseNumber(r.height, 25);
  // Always placed as the designer places elements, so the copy gets a name of its own.
  const Flags64 flags = ParseNumber<Flags64>(r.flags, 0) | Flag::DesignerPlaced;
  const int savedWindow = OpenDesignList(tk, parent, tab);
  const int id = CreateElement(tk, kind, -1, x, y, w, h, r.text, ParseNumber(r.param1, -1),
                               ParseNumber(r.param2, -1), ParseNumber(r.param3, 0), flags);
  Element* e = FindElement(tk, id);
  if (id > 0 && e != nullptr && HoldsChildren(tk, *e)) CloseList(tk);
  CloseDesignList(tk, savedWindow);
  if (id <= 0 || e == nullptr) return -1;
  // Creation snaps to the grid; the copy takes the original's exact frame. A window's code
  // gives its client area, which the copy keeps within its own caption and borders, as a
  // read of the code would (the Flag row may have taken the original's caption away).
  const int clientW = ParseNumber(r.clientWidth, 0), clientH = ParseNumber(r.clientHeight, 0);
  if (kind == ElementKind::Window && clientW > 0 && clientH > 0) {
    const int extraW = e->Frame.w0 - ElementWidth(tk, id);
    const int extraH = e->Frame.h0 - ElementHeight(tk, id);
    ResizeElement(tk, *e, x, y, clientW + extraW, clientH + extraH, CoordMode::Parent);
  } else {
    ResizeElement(tk, *e, x, y, w, h, CoordMode::Parent);
  }
  SetElementText(tk, id, r.text);
  if ((e = FindElement(tk, id)) != nullptr) {
    e->FlagList = r.flagList;
    e->EventList = r.eventList;
  }
  FinishPlacedElement(tk, d, id);
  KeepWithParent(tk, id);
  return id;
}

// Pastes every record into the selected element (into its parent when it holds no children):
// a record whose parent was copied with it goes into that parent's copy, a form window onto
// the Form page. The pasted elements become the selection.
// A copy pasted where its original still lies would hide it exactly: the pasted elements
// move right and down by grid steps until none of them covers a sibling of the same frame.
void KeepPasteInSight(Toolkit& tk, const Designer& d, const std::vector<int>& pasted) {
  auto isPasted = [&](int id) {
    return std::find(pasted.begin(), pasted.end(), id) != pasted.end();
  };
  auto covers = [&](int offset) {
    for (const int id : pasted) {
      const Element* p = FindElement(tk, id);
      if (p == nullptr) continue;
      for (const auto& o : tk.root.Elements)
        if (o->Alive && o->Named == 1 && o->ParentID == p->ParentID && !isPasted(o->ID) &&
            o->Frame.x0 == p->Frame.x0 + offset && o->Frame.y0 == p->Frame.y0 + offset &&
            o->Frame.w0 == p->Frame.w0 && o->Frame.h0 == p->Frame.h0)
          return true;
    }
    return false;
  };
  const int step = std::max(1, d.gridStep);
  int offset = 0;
  while (offset < 100 * step && covers(offset))
    offset += step;
  if (offset == 0) return;
  for (const int id : pasted)
    if (Element* p = FindElement(tk, id))
      ResizeElement(tk, *p, p->ParentOffsetX() + offset, p->ParentOffsetY() + offset, kIgnore,
                    kIgnore, CoordMode::Parent);
}

void PasteClipboard(Toolkit& tk, Designer& d) {
  const Element* selected = FindElement(tk, SelectedElement(tk));
  if (selected == nullptr || d.clipboardSources.empty()) return;
  int target = selected->ID;
  if (!HoldsChildren(tk, *selected)) target = DesignParent(tk, *selected);
  const Element* t = FindElement(tk, target);
  if (t == nullptr) return;
  const int targetTab = tk.Kind(t->Kind).Has(Trait::Pages) ? t->StateIndex : 0;
  SelectElement(tk, target, true);

  std::map<std::string, int> made;
  std::vector<int> pasted;
  for (const std::string& key : d.clipboardSources) {
    auto found = d.clipboard.find(key);
    if (found == d.clipboard.end()) continue;
    const ClipboardRecord& r = found->second;
    const bool window = ParseNumber(r.kind, 0) == static_cast<int>(ElementKind::Window);
    auto inside = made.find(r.parent);
    int id;
    if (window) {
      id = PasteRecord(tk, d, r, d.mainPanel, kFormPage);
      if (id > 0) pasted.push_back(id);
    } else if (inside != made.end()) {
      id = PasteRecord(tk, d, r, inside->second, 0);
    } else {
      id = PasteRecord(tk, d, r, target, targetTab);
      if (id > 0) pasted.push_back(id);
    }
    if (id > 0) made[key] = id;
  }
  if (pasted.empty()) return;
  KeepPasteInSight(tk, d, pasted);
  Root& root = tk.root;
  SelectElement(tk, -1, true);
  for (const int id : pasted)
    SelectElement(tk, id, false);
  root.DesignedElement = pasted.front();
  root.MultiSelect = pasted.size() > 1;
  FillPanelsFromElement(tk, d, pasted.front(), ElementEvent::Focus);
}

// ---- Files and ending ----------------------------------------------------------------------

void EndProgram(Toolkit& tk) {
  EndEventLoop(tk);
}

// Typing goes into an editable text of the designer itself (a grid row, the code editor);
// the texts of elements on the form are edited through the Caption row instead.
bool TypingInto(Toolkit& tk, int element) {
  const Element* e = FindElement(tk, element);
  return e != nullptr && !e->Disabled && e->Named != 1 && HasAny(e->Flags, Flag::Editable);
}

int ShortcutCommand(int key, int modifiers) {
  namespace Key = platform::Key;
  if (key == Key::Delete && modifiers == 0) return Command::Delete;
  if (modifiers != platform::Modifier::Control) return 0;
  switch (key) {
    case Key::A + ('C' - 'A'):
      return Command::Copy;
    case Key::A + ('X' - 'A'):
      return Command::Cut;
    case Key::A + ('V' - 'A'):
      return Command::Paste;
    case Key::A + ('O' - 'A'):
      return Command::Open;
    case Key::A + ('S' - 'A'):
      return Command::Save;
    default:
      return 0;
  }
}

// Bound for every element: the keyboard shortcuts of the menus and the form, and the
// clipboard's bookkeeping when an element is freed.
int ShortcutHandler(Toolkit& tk, Designer& d, EventCode event, int element) {
  if (event == ElementEvent::Freed) {
    ForgetClipboardSource(d, element);
    return 1;
  }
  if (event != ElementEvent::KeyDown || !tk.root.ModalWindows.empty()) return 1;
  const int command = ShortcutCommand(tk.root.KeyCode, tk.root.Modifiers);
  if (command == 0) return 1;
  // Delete and the clipboard keys edit the text being typed into; Open and Save mean the
  // same wherever the keyboard is.
  const bool textKey = command != Command::Open && command != Command::Save;
  if (textKey && TypingInto(tk, element)) return 1;
  RunCommand(tk, d, command);
  return 1;
}

}  // namespace

bool MayEnd(Toolkit& tk, Designer& d) {
  if (FormCodeText(tk, d.mainPanel) == d.savedCode) return true;
  const int answer = MessageRequester(tk, "Designer", "The form has changed. Save the changes?",
                                      MessageFlag::YesNoCancel | MessageFlag::Warning);
  if (answer == MessageAnswer::No) return true;
  // Ends only once the changes are on disk.
  return answer == MessageAnswer::Yes && SaveForm(tk, d);
}

void StartCommands(Toolkit& tk, Designer& d) {
  d.savedCode = FormCodeText(tk, d.mainPanel);
  // The window manager's close asks about unsaved work as Quit does.
  tk.loop.MayClose = [&tk, &d] { return MayEnd(tk, d); };
  d.shortcutHandler = MakeHandler([&tk, &d](EventCode code, int) {
    return ShortcutHandler(tk, d, code, tk.root.Event.EventElement);
  });
  BindCallback(tk, d.shortcutHandler, -1, -1, ElementEvent::KeyDown | ElementEvent::Freed);
  StartFiles(tk, d);
}

void RunCommand(Toolkit& tk, Designer& d, int command) {
  platform::Platform& pf = tk.platform;
  switch (command) {
    case Command::CodeCut:
      if (!GetElementText(tk, d.codeElement).empty()) {
        pf.SetClipboardText(GetElementText(tk, d.codeElement));
        SetElementText(tk, d.codeElement, "");
      }
      break;
    case Command::CodeCopy:
      pf.SetClipboardText(GetElementText(tk, d.codeElement));
      break;
    case Command::CodePaste:
      SetElementText(tk, d.codeElement, pf.ClipboardText());
      break;
    case Command::CodeDelete:
      SetElementText(tk, d.codeElement, "");
      break;
    case Command::Open:
      OpenFormCommand(tk, d);
      break;
    case Command::Save:
      SaveForm(tk, d);
      break;
    case Command::New:
      CreateDesignElement(tk, d, ElementKind::Window, d.mainPanel, 0, 1);
      break;
    case Command::Delete:
      DeleteSelection(tk, d);
      break;
    case Command::First:
    case Command::Prev:
    case Command::Next:
    case Command::Last: {
      const int selected = SelectedElement(tk);
      if (selected < 0) break;
      constexpr int kDirection[] = {ZOrder::First, ZOrder::Before, ZOrder::After, ZOrder::Last};
      SetPosition(tk, selected, kDirection[command - Command::First]);
      break;
    }
    case Command::Copy:
      CopySelection(tk, d);
      break;
    case Command::Cut:
      if (SelectedElement(tk) < 0 && !tk.root.MultiSelect) break;
      CopySelection(tk, d);
      DeleteSelection(tk, d);
      break;
    case Command::Paste:
      PasteClipboard(tk, d);
      break;
    case Command::Quit:
      if (MayEnd(tk, d)) EndProgram(tk);
      break;
    default:  // Preferences has nothing to set yet
      return;
  }
  Repaint(tk, 0, false);
}

int CommandHandler(Toolkit& tk, Designer& d, EventCode event, int element) {
  // The designer window's own close box ends the program as Quit does; 0 keeps it open.
  if (event == ElementEvent::CloseButton && element == d.window) return MayEnd(tk, d) ? 1 : 0;
  if (event == ElementEvent::MenuEvent) RunCommand(tk, d, d.eventParam);
  return 1;
}

int PageHandler(Toolkit& tk, Designer& d, EventCode event, int element) {
  if ((event == ElementEvent::Resize || event == ElementEvent::Change) && element == d.mainPanel)
    FitPageContent(tk, d.mainPanel);
  if (event == ElementEvent::RightClick && element == d.codeElement)
    DisplayPopupMenu(tk, d.codePopup, d.codeElement, kIgnore, kIgnore);
  if (event == ElementEvent::Change && element == d.mainPanel) {
    Element* panel = FindElement(tk, d.mainPanel);
    if (panel == nullptr) return 1;
    const int page = panel->StateIndex;
    DisableElement(tk, d.toolBar, page == kFormPage ? 0 : 1);
    const Element* tab = FindItem(*panel, page);
    // Written afresh every time the page is shown: no form gives no code.
    if (tab != nullptr && tab->Text == kCodePage)
      SetElementText(tk, d.codeElement, FormCodeText(tk, d.mainPanel));
    // While the Form page is hidden its elements' places read as 0: the grids read them again
    // when it is shown.
    if (page == kFormPage && FindElement(tk, tk.root.DesignedElement) != nullptr)
      FillPanelsFromElement(tk, d, tk.root.DesignedElement, ElementEvent::Created);
  }
  return 1;
}

void DeleteSelection(Toolkit& tk, Designer& d) {
  Root& root = tk.root;
  if (root.MultiSelect) {
    std::vector<int> doomed;
    for (const auto& e : root.Elements)
      if (e->Alive && e->Named == 1 && HasAll(e->Flags, Flag::Selected)) doomed.push_back(e->ID);
    for (const int id : doomed)
      if (FindElement(tk, id) != nullptr) FreeElement(tk, id);
    root.MultiSelect = false;
    root.DesignedElement = -1;
    SelectElement(tk, -1, true);
    return;
  }
  const int selected = SelectedElement(tk);
  if (selected < 0) return;
  RemoveElement(tk, selected);
  // The neighbour that took over the design selection shows it, so the next Delete removes
  // what the user sees selected; when none did, nothing stays selected.
  if (SelectedElement(tk) >= 0 && root.DesignedElement != selected) {
    SelectElement(tk, root.DesignedElement, true);
    FillPanelsFromElement(tk, d, root.DesignedElement, ElementEvent::Focus);
  } else {
    root.DesignedElement = -1;
  }
}

}  // namespace tk::designer
