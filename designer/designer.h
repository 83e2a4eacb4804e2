// The designer application: its state for the whole run and its start-up, which builds the
// designer window out of toolkit elements (menus, tool bar, the main panel with the form,
// code and canvas pages, the message editor, the side panel with the two property grids and
// the toolbox, the splitters, the status bar) and the first form window.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/toolkit.h"
#include "designer/image_editor.h"

namespace tk::designer {

class IconArchives;

// One copied element, every field kept as text (the element clipboard of Copy and Paste).
struct ClipboardRecord {
  std::string name, kind, window, parent, x, y, width, height, text, param1, param2, param3, flags;
  std::string clientWidth, clientHeight;  // a window's client area, which its code gives
  std::string flagList, eventList;        // what the generated code writes for the element
};

// The ids of the property grid's and the event grid's row editors.
struct PropertyRows {
  int enumeration = -1, elements = -1, id = -1, caption = -1, toolTip = -1, alignElement = -1,
      image = -1, bgImage = -1, x = -1, y = -1, width = -1, height = -1, data = -1, font = -1,
      fontColor = -1, backColor = -1, state = -1, sticky = -1, hide = -1, disable = -1, flag = -1;
  int bindEvent = -1, leftClick = -1, rightClick = -1, leftDown = -1, leftUp = -1;
};

// Everything the designer keeps between events. Every element id starts at -1 and is set
// while the designer window is built.
struct Designer {
  explicit Designer(IconArchives& archives) : archives(archives) {}

  IconArchives& archives;

  int window = -1;  // the designer window
  int menuBar = -1, toolBar = -1, statusBar = -1;
  int codePopup = -1;     // shown on a right click on the code element
  int elementPopup = -1;  // shown on a form; one for all form windows
  int mainPanel = -1;     // Form / Code / V_Code: the design surface
  int codeElement = -1;   // the Editor on the Code page
  int designCanvas = -1;  // the Canvas on the V_Code page
  int leftSplitter = -1;  // the main panel above the message editor
  int messageEditor = -1;
  int sidePanel = -1;  // Properties / Events / Elements
  int propertyGrid = -1;
  int eventGrid = -1;
  int toolboxList = -1;
  int propertyText = -1, eventButton = -1, toolboxText = -1;  // below each grid and the list
  int propertySplitter = -1, eventSplitter = -1, toolboxSplitter = -1;
  int mainSplitter = -1;  // the left splitter beside the side panel

  int gridStep = kGridStep;
  int gridImage = -1;  // the dotted background of the design canvas and of form windows
                       // (FormGridImage)
  PropertyRows rows;
  ElementKind toolKind = ElementKind::None;
  std::map<std::string, ClipboardRecord> clipboard;  // keyed by the decimal id copied
  ImageEditor imageEditor;                           // serves the Image and BgImage rows

  HandlerRef panelHandler, commandHandler, formHandler;

  // Commands (designer/commands.cpp). The parameter of the event being handled (a menu
  // event's item id); the clipboard's keys in copy order (parents before children); the code
  // the form had when it was last started, opened or saved; the handler bound for every
  // element (keyboard shortcuts, freed clipboard sources).
  int eventParam = -1;
  std::vector<std::string> clipboardSources;
  std::string savedCode;
  HandlerRef shortcutHandler;
  // Form editing: the rubber band being drawn (the window or container it is drawn in, its
  // snapped start inside that element's inner area, the overlay that shows it), the dash-dot
  // counter that carries on from one drawing of the band to the next, and the tool whose icon
  // the pointer shows (None while the default pointer shows).
  int bandOwner = -1;
  int bandStartX = 0, bandStartY = 0;
  int bandOverlay = 0;
  int bandDashCounter = 0;
  ElementKind pointerTool = ElementKind::None;
  // Files (designer/files.cpp): the file Save writes to (empty until the first save or open);
  // false while that file holds what the designer would not write back, so Save asks for
  // another path; the handler keeping the title's unsaved mark current; a fault hook that
  // makes a step of the save's write fail (SaveStep in designer/files.h).
  std::string currentFile;
  bool fileIsOwn = true;
  HandlerRef titleHandler;
  std::function<bool(int)> saveFault;
  // Code reader (designer/form_reader.cpp): the element the next element read is created in
  // (-1 until the first line of the run is read), and whether a read is under way (the form's
  // handler then leaves listing and filling the panels to the end of the read).
  int readParent = -1;
  bool reading = false;
  // A run without a user (the command line's generation): reading leaves out what only a
  // user sees, the Elements row and the panels.
  bool batch = false;
};

// Command ids of the menu bar, the tool bar and the two popups.
namespace Command {
inline constexpr int New = 1, Save = 2, Open = 3, Cut = 7, Copy = 8, Paste = 9, Delete = 10,
                     First = 11, Prev = 12, Next = 13, Last = 14, Preferences = 15, Quit = 16;
inline constexpr int CodeCut = 1001, CodeCopy = 1002, CodePaste = 1003, CodeDelete = 1004;
}  // namespace Command

// Client size of the designer window.
inline constexpr int kDesignerWidth = 900;
inline constexpr int kDesignerHeight = 600;
// Height of the message editor and of the strips below the grids and the toolbox; width of
// the side panel.
inline constexpr int kLowerStrip = 60;
inline constexpr int kSidePanelWidth = 300;
// Exit status of a start that could not find its icon archives.
inline constexpr int kMissingArchiveStatus = 1;

// A 32-bit image of (width - 1) x (height - 1), transparent, with an opaque black dot at
// every `step` pixels from (x, y). -1 when the image cannot be made.
int DotGridImage(Toolkit& tk, int step, int x, int y, int width, int height);
// The one dotted grid (800 x 600) behind the design canvas, every form window and every
// container placed: made on first use, shared, never freed with an element.
int FormGridImage(Toolkit& tk, Designer& designer);

// What start-up gives the program: the designer window, or 0 and the status to end with.
struct StartResult {
  int window = 0;
  int exitStatus = 0;
};

// Builds the designer on a prepared toolkit (the designer window opens the host). A missing
// icon archive is reported through the platform's start-up message before anything is
// built, and the program is to end with kMissingArchiveStatus. The window's client area is
// width x height (the designer's own size unless a caller asks for another).
StartResult StartDesigner(Toolkit& tk, Designer& designer, int width = kDesignerWidth,
                          int height = kDesignerHeight);

// Menus, tool bar and popups of the designer window (designer/menus.cpp).
void BuildMenuBar(Toolkit& tk, Designer& designer);
void BuildToolBar(Toolkit& tk, Designer& designer);
void BuildCodePopup(Toolkit& tk, Designer& designer);
void BuildElementPopup(Toolkit& tk, Designer& designer);

// Form elements as the user places them (designer/form_elements.cpp). Creates an element of
// `kind` in `parent` (on its tab `tab`) with the designer's creation bits, default size and
// name; a window gets the grid background, the designer's icon, the form-editing handler and
// a new element popup. A non-zero `flag` puts the toolbox back on the pointer afterwards.
// Returns the new id, -1 for kind 0 or when nothing could be made.
int CreateDesignElement(Toolkit& tk, Designer& designer, ElementKind kind, int parent, int tab,
                        int flag);
// Moves a new element, appended at the end of the element list, to the end of its parent's
// part of the list when a window lies between (the image editor, kept above the others).
void KeepWithParent(Toolkit& tk, int id);
// Opens `parent`'s child list (on its tab `tab`) for elements the designer places, with the
// parent's window as the current window: a gadget made inside a container belongs to the form
// window the container is on, so the form's handler hears it. Returns the window that was
// current; CloseDesignList closes the list and makes that window current again.
int OpenDesignList(Toolkit& tk, int parent, int tab);
void CloseDesignList(Toolkit& tk, int savedWindow);
// Selects the pointer tool again: toolbox item 0, its description, no tool kind, the
// default pointer shape.
void ResetTool(Toolkit& tk, Designer& designer);
// An element's name as a procedure name takes it: without the "#" of a constant at either end.
std::string WithoutHashes(std::string_view name);
// The short description of a toolbox entry shown below the toolbox.
std::string ToolDescription(const std::string& text);
// Resizes what the current page of `panel` shows (the page's item data) to the panel's size.
void FitPageContent(Toolkit& tk, int panel);

// The property and event panels tied to the form (designer/panels.cpp). Writes the selected
// form element's values into the grids for `event` (created, Focus, Move, Resize,
// LeftButtonDown); acts on the side panel's grids, toolbox and buttons for the designer
// window's events and ignores the rest.
void FillPanelsFromElement(Toolkit& tk, Designer& designer, int element, EventCode event);
int PropertyPanelHandler(Toolkit& tk, Designer& designer, EventCode event, int element);

// Commands and the main panel's pages (designer/commands.cpp).
int CommandHandler(Toolkit& tk, Designer& designer, EventCode event, int element);
int PageHandler(Toolkit& tk, Designer& designer, EventCode event, int element);
// Frees the selected elements (every design-selected one in multi-selection mode).
void DeleteSelection(Toolkit& tk, Designer& designer);
// Runs one command of the menus, the tool bar or the popups (a Command id).
void RunCommand(Toolkit& tk, Designer& designer, int command);
// Last step of start-up for the commands: remembers the first form's code as the unchanged
// state and binds the keyboard shortcuts for every element.
void StartCommands(Toolkit& tk, Designer& designer);
// True when the program may end: the form is unchanged since it was started, opened or saved,
// the user chose to drop the changes, or chose to save them and the save succeeded.
bool MayEnd(Toolkit& tk, Designer& designer);

// Editing on the form windows (designer/form_editing.cpp): bound to every form window. It
// hands the KeyDown and KeyUp events of a form's elements on to CommandHandler, which does
// the shortcuts (those of the form window itself reach it through the designer window).
int FormEditingHandler(Toolkit& tk, Designer& designer, EventCode event, int element);
// Adds the element to the Elements row of the property grid.
void ListElement(Toolkit& tk, Designer& designer, int element);

}  // namespace tk::designer
