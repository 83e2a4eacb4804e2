// The designer window's menu bar, tool bar and the two popup menus, with the command ids the
// command handler acts on and the icons from the archives.
#include "core/lookup.h"
#include "designer/designer.h"
#include "designer/icon_archives.h"
#include "elements/menu.h"
#include "elements/toolbar.h"

namespace tk::designer {

namespace {

// Theme icons beside the menu entries and on the tool bar.
constexpr int kIconCut = 0, kIconCopy = 1, kIconPaste = 2, kIconDelete = 5, kIconNew = 6,
              kIconOpen = 7, kIconSave = 8;
// The tool bar's fall-back theme icons for buttons whose own image is missing.
constexpr int kIconTrayArrow = 65536;

}  // namespace

void BuildMenuBar(Toolkit& tk, Designer& d) {
  d.menuBar = CreateMenu(tk, -1, d.window);
  if (d.menuBar <= 0) return;
  IconArchives& icons = d.archives;
  MenuTitle(tk, "File");
  MenuItem(tk, Command::Open, "Open\t  Ctrl+O", icons.ThemeIcon(kIconOpen));
  MenuItem(tk, Command::Save, "Save\t  Ctrl+S", icons.ThemeIcon(kIconSave));
  MenuBar(tk);
  MenuItem(tk, Command::Quit, "Quit");
  MenuTitle(tk, "Edit");
  MenuTitle(tk, "Project");
  MenuTitle(tk, "Form");
  MenuItem(tk, Command::New, "New", icons.ThemeIcon(kIconNew));
}

void BuildToolBar(Toolkit& tk, Designer& d) {
  d.toolBar = CreateToolBar(tk, -1, d.window);
  if (d.toolBar < 0) return;
  IconArchives& icons = d.archives;
  // A button whose picture is missing shows its theme fall-back instead.
  auto button = [&](int id, int image, int fallBack, const char* text, const char* tip) {
    if (!tk.platform.Images().IsImage(image) && fallBack >= 0) image = icons.ThemeIcon(fallBack);
    ToolBarButton(tk, id, image, -1, text, tip);
  };
  button(Command::New, icons.ArchiveIcon("add_form"), kIconTrayArrow, "New", "Создать новую форму");
  button(Command::Delete, -1, kIconDelete, "Delete", "Удалить выбраную форму");
  ToolBarSeparator(tk);
  button(Command::First, icons.ArchiveIcon("move_first"), -1, "First",
         "Переместить на задний план");
  button(Command::Next, icons.ArchiveIcon("move_next"), -1, "Next", "Переместить на один вперед");
  button(Command::Prev, icons.ArchiveIcon("move_prev"), -1, "Prev", "Переместить на один назад");
  button(Command::Last, icons.ArchiveIcon("move_last"), -1, "Last", "Переместить на передний план");
  ToolBarSeparator(tk);
}

void BuildCodePopup(Toolkit& tk, Designer& d) {
  d.codePopup = CreatePopupMenu(tk, -1);
  if (d.codePopup <= 0) return;
  IconArchives& icons = d.archives;
  MenuItem(tk, Command::CodeCut, "Cut", icons.ThemeIcon(kIconCut));
  MenuItem(tk, Command::CodeCopy, "Copy", icons.ThemeIcon(kIconCopy));
  MenuItem(tk, Command::CodePaste, "Paste", icons.ThemeIcon(kIconPaste));
  MenuItem(tk, Command::CodeDelete, "Delete", icons.ThemeIcon(kIconDelete));
}

void BuildElementPopup(Toolkit& tk, Designer& d) {
  // Every form window shows the same popup: one made for each window would stay for good.
  if (const Element* old = FindElement(tk, d.elementPopup))
    if (old->Alive && old->Kind == ElementKind::PopupMenu) return;
  d.elementPopup = CreatePopupMenu(tk, -1);
  if (d.elementPopup <= 0) return;
  IconArchives& icons = d.archives;
  OpenSubMenu(tk, "Z-Order");
  MenuItem(tk, Command::First, "First");
  MenuItem(tk, Command::Prev, "Prev");
  MenuItem(tk, Command::Next, "Next");
  MenuItem(tk, Command::Last, "Last");
  CloseSubMenu(tk);
  MenuBar(tk);
  MenuItem(tk, Command::Cut, "Cut", icons.ThemeIcon(kIconCut));
  MenuItem(tk, Command::Copy, "Copy", icons.ThemeIcon(kIconCopy));
  MenuItem(tk, Command::Paste, "Paste", icons.ThemeIcon(kIconPaste));
  MenuItem(tk, Command::Delete, "Delete", icons.ThemeIcon(kIconDelete));
  MenuBar(tk);
  MenuItem(tk, Command::Preferences, "Preferences");
}

}  // namespace tk::designer
