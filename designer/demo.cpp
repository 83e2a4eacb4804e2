// The toolkit demonstration scene: windows of every caption style, one element of each kind
// built so far with a menu bar over them, editable Strings, a design surface with selectable
// elements, and the layout kinds (a splitter between a tabbed panel and a note, a scroll area
// larger than its view).
#include "designer/demo.h"

#include "core/attributes.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/combobox.h"
#include "elements/menu.h"
#include "elements/panel.h"
#include "elements/properties.h"
#include "elements/scrollarea.h"
#include "elements/scrollbar.h"
#include "elements/simple.h"
#include "elements/spin.h"
#include "elements/splitter.h"
#include "elements/statusbar.h"
#include "elements/toolbar.h"
#include "elements/trackbar.h"
#include "elements/window.h"
#include "platform/platform.h"
#include "render/host.h"
#include "render/interaction.h"
#include "requesters/requesters.h"

namespace tk::demo {

namespace {

// The kinds window's menu bar and the command ids of its entries.
constexpr int kKindsMenu = 118;
constexpr int kCommandNew = 1;
constexpr int kCommandOpen = 2;
constexpr int kCommandQuit = 3;
constexpr int kCommandUndo = 4;
constexpr int kCommandCut = 5;
constexpr int kCommandCopy = 6;
constexpr int kCommandPaste = 7;
constexpr int kCommandAbout = 8;
constexpr int kCommandRecentFirst = 20;

// Escape ends the program; the caption buttons act through the windows' own item routing.
// A press on anything that is not design-selectable drops the design selection, so the arrow
// keys typed into a String afterwards edit the text instead of walking the selection.
int OnDemoEvent(Toolkit& tk, EventCode code) {
  Root& root = tk.root;
  if (code == ElementEvent::KeyDown && root.KeyCode == platform::Key::Escape)
    WindowButtonHandler(tk, ElementEvent::CloseButton, -1);
  if (code == ElementEvent::LeftButtonDown && root.DesignedElement >= 0) {
    const Element* pressed = FindElement(tk, root.Event.EventElement);
    if (pressed != nullptr && !pressed->DesignSelectable) {
      SelectElement(tk, -1, true);
      root.DesignedElement = -1;
    }
  }
  return 1;
}

// The kinds window's menu bar: titles with drop-down menus, a separator, a submenu and
// entries with icons in the gutter.
void BuildKindsMenu(Toolkit& tk, int window) {
  if (CreateMenu(tk, kKindsMenu, window) == 0) return;
  MenuTitle(tk, "File");
  MenuItem(tk, kCommandNew, "New");
  MenuItem(tk, kCommandOpen, "Open...", tk.builtins.SmallIcon);
  MenuBar(tk);
  OpenSubMenu(tk, "Recent");
  MenuItem(tk, kCommandRecentFirst, "form.pbf");
  MenuItem(tk, kCommandRecentFirst + 1, "Окно_настроек.pbf");
  CloseSubMenu(tk);
  MenuItem(tk, kCommandQuit, "Quit", tk.builtins.RedCross);
  MenuTitle(tk, "Edit");
  MenuItem(tk, kCommandUndo, "Undo");
  MenuBar(tk);
  MenuItem(tk, kCommandCut, "Cut");
  MenuItem(tk, kCommandCopy, "Copy");
  MenuItem(tk, kCommandPaste, "Paste", tk.builtins.TrayArrow);
  MenuTitle(tk, "Help");
  MenuItem(tk, kCommandAbout, "About");
}

void BuildKindsWindow(Toolkit& tk) {
  const int w = Window(tk, kKindsWindow, 20, 40, 470, 368, "Simple kinds",
                       Flag::SystemMenu | Flag::MaximizeGadget | Flag::MinimizeGadget);
  BuildKindsMenu(tk, w);
  Text(tk, 100, 10, 10, 210, 64,
       "A Text element wraps its words onto several lines when they do not fit on one.");
  String(tk, 101, 10, 80, 210, 24, "String: Привет, мир");
  Editor(tk, 102, 10, 112, 210, 70, "");
  AddElementItem(tk, 102, -1, "Editor: one item per line\nsecond line\nтретья строка");
  Button(tk, 103, 240, 10, 100, 28, "Button");
  const int off = Button(tk, 104, 350, 10, 100, 28, "Disabled");
  DisableElement(tk, off, 1);
  Button(tk, 105, 240, 48, 100, 28, "A caption far too long for its button");
  const int icon = Button(tk, 106, 350, 48, 100, 28, "Icon");
  SetElementImage(tk, icon, tk.builtins.SmallIcon);
  CheckBox(tk, 107, 240, 86, 200, 22, "CheckBox");
  SetElementState(tk, 107, 1);
  Option(tk, 108, 240, 110, 200, 22, "Option one");
  Option(tk, 109, 240, 134, 200, 22, "Option two");
  SetElementState(tk, 108, 1);
  Frame(tk, 110, 10, 190, 210, 116, "Frame with a title");
  CheckBox(tk, 111, 22, 212, 180, 22, "Inside the frame");
  Text(tk, 112, 22, 240, 180, 40, "Кириллица и Latin\nна двух строках");
  Container(tk, 113, 240, 190, 210, 116, Flag::Border);
  Text(tk, 114, 10, 10, 180, 40, "A Container with a border holds this Text.");
  CloseList(tk);
  String(tk, kEditableString, 10, 316, 210, 24, "Edit me, then Ctrl+C / Ctrl+V");
  String(tk, kNumericString, 240, 316, 210, 24, "3.14", Flag::Numeric);
  Text(tk, 117, 10, 344, 440, 22, "Both Strings take typing; the right one only digits and \".\".");
  SetElementText(tk, w, "Simple kinds");
}

void BuildCaptionStyles(Toolkit& tk) {
  Window(tk, 20, 510, 40, 220, 50, "Close button only", Flag::SystemMenu);
  Text(tk, 200, 10, 5, 200, 40, "#PB_Window_SystemMenu");
  Window(tk, 21, 510, 135, 220, 50, "Title bar only", Flag::TitleBar);
  Text(tk, 201, 10, 5, 200, 40, "#PB_Window_TitleBar");
  Window(tk, 22, 760, 40, 220, 50, "Sizeable",
         Flag::SystemMenu | Flag::SizeGadget | Flag::MaximizeGadget);
  Text(tk, 202, 10, 5, 200, 40, "#PB_Window_SizeGadget: a 4-pixel frame");
  Window(tk, 23, 760, 135, 220, 50, "Borderless", Flag::BorderLess);
  Text(tk, 203, 10, 5, 200, 40, "#PB_Window_BorderLess: no caption");
  CloseList(tk);
}

// Elements placed the way the designer places form controls: with its creation bits (resize
// areas, move area, selected), snapped to the grid, named from their kind, and marked
// design-selectable; then given a caption of their own.
int PlaceDesignElement(Toolkit& tk, int id, ElementKind kind, int x, int y, int w, int h,
                       const std::string& caption) {
  int made = 0;
  switch (kind) {
    case ElementKind::Button:
      made = Button(tk, id, x, y, w, h, "", Flag::DesignerPlaced);
      break;
    case ElementKind::Text:
      made = Text(tk, id, x, y, w, h, "", Flag::DesignerPlaced | Flag::Border);
      break;
    case ElementKind::CheckBox:
      made = CheckBox(tk, id, x, y, w, h, "", Flag::DesignerPlaced);
      break;
    default:
      return 0;
  }
  if (Element* e = FindElement(tk, made)) {
    e->DesignSelectable = 1;
    SetElementText(tk, made, caption);
  }
  return made;
}

void BuildDesignSurface(Toolkit& tk) {
  Window(tk, kDesignWindow, 510, 230, 470, 200, "Design surface", Flag::SystemMenu | Flag::Raised);
  Text(tk, 300, 10, 5, 450, 50,
       "Press an element to select it, drag its body to move it, drag its border to resize "
       "it. Ctrl+arrows move it, Shift+arrows resize it, arrows walk to its neighbours.");
  PlaceDesignElement(tk, kDesignButton, ElementKind::Button, 20, 70, 120, 30, "Drag me");
  PlaceDesignElement(tk, 302, ElementKind::Button, 170, 70, 120, 30, "Resize me");
  PlaceDesignElement(tk, 303, ElementKind::Text, 20, 120, 120, 50,
                     "A Text with the same left edge");
  PlaceDesignElement(tk, 304, ElementKind::CheckBox, 170, 120, 140, 25, "A CheckBox");
  // A tool bar: icon buttons with tool tips, a separator and a text button.
  CreateToolBar(tk, 305, kDesignWindow);
  ToolBarButton(tk, 1, tk.builtins.SmallIcon, -1, "", "A window icon");
  ToolBarButton(tk, 2, tk.builtins.TrayArrow, -1, "", "Into the tray");
  ToolBarSeparator(tk);
  ToolBarButton(tk, 3, tk.builtins.RedCross, 1, "Delete", "A toggled button with text");
  CloseList(tk);
  // Nothing is selected until the user presses an element.
  SelectElement(tk, -1, true);
  tk.root.DesignedElement = -1;
}

// A splitter shares its rectangle between a three-tab panel and a note; beside it a scroll
// area shows a corner of content larger than itself, and a lone scroll bar runs below.
void BuildLayoutKinds(Toolkit& tk) {
  Window(tk, kLayoutWindow, 20, 468, 960, 265, "Layout kinds", Flag::SystemMenu);

  const int panel = Panel(tk, 400, 0, 0, 300, 190, 0, kLayoutWindow);
  AddTab(tk, panel, -1, "General");
  AddTab(tk, panel, -1, "Options");
  AddTab(tk, panel, -1, "Заметки");
  OpenList(tk, panel, 0);
  Text(tk, 401, 10, 10, 120, 22, "Name:");
  String(tk, 402, 10, 36, 200, 24, "Window_0");
  Button(tk, 403, 10, 72, 100, 28, "Apply");
  OpenList(tk, panel, 1);
  CheckBox(tk, 404, 10, 10, 200, 22, "Snap to the grid");
  CheckBox(tk, 405, 10, 36, 200, 22, "Show guide lines");
  SetElementState(tk, 405, 1);
  Option(tk, 406, 10, 66, 200, 22, "Small grid");
  Option(tk, 407, 10, 90, 200, 22, "Large grid");
  SetElementState(tk, 407, 1);
  OpenList(tk, panel, 2);
  Editor(tk, 408, 10, 10, 260, 110, "");
  AddElementItem(tk, 408, -1,
                 "Каждая вкладка держит\nсвои элементы.\nOnly this tab's children show.");
  CloseList(tk);

  const int note = Container(tk, 409, 0, 0, 200, 190, Flag::Border, kLayoutWindow);
  OpenList(tk, note);
  Text(tk, 410, 8, 8, 180, 90,
       "Drag the separator between the panel and this note; each side keeps its minimum.");
  CloseList(tk);

  const int split = Splitter(tk, kLayoutSplitter, 10, 10, 560, 190, panel, note,
                             Flag::Vertical | Flag::SplitterGrip, kLayoutWindow);
  SetElementColor(tk, split, SplitterAttribute::FirstMinimumSize, 150);
  SetElementColor(tk, split, SplitterAttribute::SecondMinimumSize, 100);
  SetElementState(tk, split, 330);

  // A row of value kinds: a lone scroll bar, a spin and a track bar; below them two combo
  // boxes, one with a check list.
  ScrollBar(tk, 411, 10, 208, 250, 17, 0, 100, 20, 0, kLayoutWindow);
  SetElementState(tk, 411, 35);
  Spin(tk, 440, 270, 204, 90, 24, 0, 10, Flag::Numeric, kLayoutWindow, "0.5");
  SetElementState(tk, 440, 2.5);
  TrackBar(tk, 441, 370, 200, 200, 28, 0, 20, 0, kLayoutWindow);
  SetElementState(tk, 441, 8);
  ComboBox(tk, 442, 10, 232, 170, 24, 0, kLayoutWindow);
  for (const char* colour : {"Red", "Green", "Blue", "Жёлтый"})
    AddElementItem(tk, 442, -1, colour);
  SetElementState(tk, 442, 1);
  ComboBox(tk, 443, 190, 232, 170, 24, kComboCheckList, kLayoutWindow);
  for (const char* style : {"Bold", "Italic", "Underline"})
    AddElementItem(tk, 443, -1, style);
  SetElementText(tk, 443, "Styles");
  Text(tk, 412, 370, 236, 200, 20, "Spin, track bar, combo boxes");

  ScrollArea(tk, kLayoutScrollArea, 585, 10, 360, 215, 700, 480, 10, Flag::Border, kLayoutWindow);
  Text(tk, 413, 10, 10, 320, 40, "The content is 700 by 480 pixels; the bars scroll it.");
  Button(tk, 414, 10, 60, 120, 28, "Top left");
  Button(tk, 415, 560, 60, 120, 28, "Far right");
  Button(tk, 416, 10, 430, 120, 28, "Bottom");
  Button(tk, 417, 560, 430, 120, 28, "Far corner");
  Frame(tk, 418, 200, 150, 300, 200, "Inside the content");
  CheckBox(tk, 419, 220, 180, 200, 22, "Scrolled with the rest");
  CloseList(tk);
  CloseList(tk);

  CreateStatusBar(tk, 444, kLayoutWindow);
  AddStatusBarField(tk, 160);
  AddStatusBarField(tk, 200);
  AddStatusBarField(tk, kFillWidth);
  StatusBarText(tk, 444, 0, "Ready");
  StatusBarText(tk, 444, 1, "Готово к работе", FieldLook::Right);
  StatusBarText(tk, 444, 2, "A status bar with three fields and the anchored one");
}

// "$RRGGBB" for a 0xBBGGRR colour, as PureBasic source writes colours.
std::string HexColor(int64_t bgr) {
  static const char* const kDigits = "0123456789ABCDEF";
  const int64_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
  std::string text = "$";
  for (int shift = 20; shift >= 0; shift -= 4)
    text += kDigits[(rgb >> shift) & 0xF];
  return text;
}

void ShowAnswer(Toolkit& tk, const std::string& text) {
  SetElementText(tk, kAnswerText, text);
}

// The requester buttons below the grid, and the grid's own "..." and colour and font rows,
// ask the user and show what came back.
int OnGridWindowEvent(Toolkit& tk, EventCode code, int fileRow, int fileButton, int colorRow,
                      int fontRow) {
  if (code != ElementEvent::LeftClick) return 1;
  const int id = tk.root.Event.EventElement;
  const std::string pattern = "PureBasic (*.pb)|*.pb;*.pbi;*.pbf|All files (*.*)|*.*";
  if (id == kOpenFileButton || id == fileButton) {
    const std::string path = OpenFileRequester(tk, "Please choose file to load", "", pattern, 0);
    ShowAnswer(tk, path.empty() ? "Open: cancelled" : "Open: " + path);
    if (id == fileButton && !path.empty()) SetElementText(tk, fileRow, path);
  } else if (id == kSaveFileButton) {
    const std::string path = SaveFileRequester(tk, "Save the form as", "", pattern, 0);
    ShowAnswer(tk, path.empty() ? "Save: cancelled" : "Save: " + path);
  } else if (id == kColorButton || id == colorRow) {
    const int64_t color = ColorRequester(tk, 0x2B3AE2);
    ShowAnswer(tk, color < 0 ? "Colour: cancelled" : "Colour: " + HexColor(color));
    if (id == colorRow && color >= 0) SetElementText(tk, colorRow, HexColor(color));
  } else if (id == kFontButton || id == fontRow) {
    if (FontRequester(tk, "DejaVu Sans", 9)) {
      std::string font = "(";
      font += std::to_string(SelectedFontSize(tk));
      font += ") ";
      font += SelectedFontName(tk);
      ShowAnswer(tk, "Font: " + font);
      if (id == fontRow) SetElementText(tk, fontRow, font);
    } else {
      ShowAnswer(tk, "Font: cancelled");
    }
  } else if (id == kMessageButton) {
    const int answer = MessageRequester(tk, "Question",
                                        "Save the changes to the form before closing it?\n"
                                        "Сохранить изменения формы перед закрытием?",
                                        MessageFlag::YesNoCancel | MessageFlag::Info);
    ShowAnswer(tk, answer == MessageAnswer::Yes  ? "Message: Yes"
                   : answer == MessageAnswer::No ? "Message: No"
                                                 : "Message: Cancel");
  }
  return 1;
}

// A property grid with a row of every kind, more rows than fit, so it scrolls; below it one
// button per requester and the Text that shows the last answer.
void BuildGridWindow(Toolkit& tk) {
  Window(tk, kGridWindow, 1000, 40, 260, 690, "Properties and requesters", Flag::SystemMenu);
  Properties(tk, kGrid, 5, 5, 250, 420, PropertyBorderFlags(Flag::Single), kGridWindow, 90);
  int fileRow = 0, fileButton = 0, colorRow = 0, fontRow = 0;
  for (const char* row : {"ComboBox Enumeration True|False",
                          "ComboBox Elements Window_0|Button_0|Text_0",
                          "String ID #Window_0",
                          "String Caption Properties",
                          "String ToolTip",
                          "ComboBox AlignElement Left||Right",
                          "Button Image Puch_to_image",
                          "Button BgImage Puch_to_background_Image",
                          "Spin X 0|100",
                          "Spin Y 0|200",
                          "Spin Width 0|100",
                          "Spin Height 0|200",
                          "String Data",
                          "Button Font (9) DejaVu Sans",
                          "Button FontColor $E23A2B",
                          "Button BackColor",
                          "ComboBox State Normal|Maximized|Minimized",
                          "ComboBox Sticky True|False",
                          "ComboBox Hide True|False",
                          "ComboBox Disable True|False",
                          "StringButton File form.pb",
                          "Splitter Panes",
                          "ComboBox BindEvent True|False"}) {
    const int editor = AddProperty(tk, kGrid, -1, row);
    const std::string text = row;
    if (text.rfind("StringButton File", 0) == 0) {
      fileButton = editor;
      for (const auto& e : tk.root.Elements)
        if (e->Kind == ElementKind::String && GetElementData(tk, e->ID) == editor) fileRow = e->ID;
    } else if (text.rfind("Button FontColor", 0) == 0) {
      colorRow = editor;
    } else if (text.rfind("Button Font ", 0) == 0) {
      fontRow = editor;
    }
  }
  const int flagRow = AddProperty(tk, kGrid, -1, "ComboBox Flag", kPropertyCheckList);
  SetPropertyOptions(tk, flagRow, "SystemMenu|MaximizeGadget|MinimizeGadget|SizeGadget");
  SetElementText(tk, flagRow, "Flags");
  AddProperty(tk, kGrid, -1, "ComboBox LeftClick Button_0_LeftClick", kPropertyEditable);
  AddProperty(tk, kGrid, -1, "ComboBox RightClick", kPropertyEditable);

  Button(tk, kOpenFileButton, 5, 435, 122, 26, "Open file...", 0, kGridWindow);
  Button(tk, kSaveFileButton, 133, 435, 122, 26, "Save file...", 0, kGridWindow);
  Button(tk, kColorButton, 5, 467, 122, 26, "Colour...", 0, kGridWindow);
  Button(tk, kFontButton, 133, 467, 122, 26, "Font...", 0, kGridWindow);
  Button(tk, kMessageButton, 5, 499, 250, 26, "Message...", 0, kGridWindow);
  Text(tk, kAnswerText, 5, 533, 250, 150,
       "Each button opens a requester drawn by the toolkit; its answer shows here.", 0,
       kGridWindow);
  BindCallback(tk, MakeHandler([&tk, fileRow, fileButton, colorRow, fontRow](EventCode code, int) {
                 return OnGridWindowEvent(tk, code, fileRow, fileButton, colorRow, fontRow);
               }),
               kGridWindow, -1, ElementEvent::LeftClick);
  CloseList(tk);
}

}  // namespace

int BuildDemo(Toolkit& tk, int width, int height) {
  const int main = Window(tk, kMainWindow, 0, 0, width, height, "Toolkit demonstration",
                          Flag::SystemMenu | Flag::ScreenCentered);
  if (main <= 0) return 0;
  BuildCaptionStyles(tk);
  BuildDesignSurface(tk);
  BuildLayoutKinds(tk);
  BuildGridWindow(tk);
  BuildKindsWindow(tk);
  ActivateElement(tk, kKindsWindow);
  FocusWindow(tk, kKindsWindow);
  BindCallback(tk, MakeHandler([&tk](EventCode code, int) { return OnDemoEvent(tk, code); }), -1,
               -1, -1);
  return main;
}

}  // namespace tk::demo
