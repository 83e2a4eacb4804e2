// The designer's start-up: the dotted grid image and the designer window built element by
// element, in the order the later handlers rely on (row ids, page data, splitter panes).
#include "designer/designer.h"

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/icon_archives.h"
#include "elements/list.h"
#include "elements/panel.h"
#include "elements/properties.h"
#include "elements/simple.h"
#include "elements/splitter.h"
#include "elements/statusbar.h"
#include "elements/window.h"
#include "platform/painter.h"

namespace tk::designer {

namespace {

// Panels of the designer carry this high-word value; splitters stack their panes with
// kStacked and put them side by side with kSideBySide.
constexpr Flags64 kPanelFlags = MakeFlags(0, 16);
constexpr Flags64 kStacked = Flag::SplitterGrip;
constexpr Flags64 kSideBySide = Flag::SplitterGrip | Flag::Vertical;
constexpr int kNameColumn = 80;
constexpr int kFirstPaneMinimum = 200;
constexpr int kSecondPaneMinimum = 20;
constexpr int kAreaField = 190;
// The Flag row ticks its options in a check list; the event rows take typed procedure names.
constexpr int64_t kCheckListRow = kPropertyCheckList;
constexpr int64_t kEventRow = kPropertyEditable;

void AddPropertyRows(Toolkit& tk, Designer& d) {
  PropertyRows& r = d.rows;
  const int grid = d.propertyGrid;
  r.enumeration = AddProperty(tk, grid, -1, "ComboBox Enumeration True|False");
  r.elements = AddProperty(tk, grid, -1, "ComboBox Elements");
  r.id = AddProperty(tk, grid, -1, "String ID");
  DisableElement(tk, r.id, 1);  // names are made by the designer, never typed
  r.caption = AddProperty(tk, grid, -1, "String Caption");
  r.toolTip = AddProperty(tk, grid, -1, "String ToolTip");
  r.alignElement = AddProperty(tk, grid, -1, "ComboBox AlignElement ");
  r.image = AddProperty(tk, grid, -1, "Button Image Puch_to_image");
  r.bgImage = AddProperty(tk, grid, -1, "Button BgImage Puch_to_background_Image");
  d.imageEditor.imageRow = r.image;
  d.imageEditor.bgImageRow = r.bgImage;
  r.x = AddProperty(tk, grid, -1, "Spin X 0|100");
  r.y = AddProperty(tk, grid, -1, "Spin Y 0|200");
  r.width = AddProperty(tk, grid, -1, "Spin Width 0|100");
  r.height = AddProperty(tk, grid, -1, "Spin Height 0|200");
  r.data = AddProperty(tk, grid, -1, "String Data ");
  r.font = AddProperty(tk, grid, -1, "Button Font ");
  r.fontColor = AddProperty(tk, grid, -1, "Button FontColor ");
  r.backColor = AddProperty(tk, grid, -1, "Button BackColor ");
  r.state = AddProperty(tk, grid, -1, "ComboBox State Normal|Maximized|Minimized");
  r.sticky = AddProperty(tk, grid, -1, "ComboBox Sticky True|False");
  r.hide = AddProperty(tk, grid, -1, "ComboBox Hide True|False");
  r.disable = AddProperty(tk, grid, -1, "ComboBox Disable True|False");
  r.flag = AddProperty(tk, grid, -1, "ComboBox Flag", kCheckListRow);
}

void AddEventRows(Toolkit& tk, Designer& d) {
  PropertyRows& r = d.rows;
  const int grid = d.eventGrid;
  r.bindEvent = AddProperty(tk, grid, -1, "ComboBox BindEvent True|False");
  r.leftClick = AddProperty(tk, grid, -1, "ComboBox LeftClick", kEventRow);
  r.rightClick = AddProperty(tk, grid, -1, "ComboBox RightClick", kEventRow);
  r.leftDown = AddProperty(tk, grid, -1, "ComboBox LeftDown", kEventRow);
  r.leftUp = AddProperty(tk, grid, -1, "ComboBox LeftUp", kEventRow);
}

// The Form page (the form windows), the Code page with the generated source and the V_Code
// page with the design canvas on the grid.
void BuildMainPanel(Toolkit& tk, Designer& d) {
  d.mainPanel = Panel(tk, -1, 0, 0, 0, 0, kPanelFlags);
  AddTab(tk, d.mainPanel, -1, "Form", d.archives.ArchiveIcon("elements", "_"), 0, -1);
  const int code = AddTab(tk, d.mainPanel, -1, "Code", d.archives.ArchiveIcon("page_white_code"));
  OpenList(tk, d.mainPanel, code);
  d.codeElement = Editor(tk, -1, 0, 0, 0, 0, "Text");
  SetItemData(tk, d.mainPanel, code, d.codeElement);
  const int canvas = AddTab(tk, d.mainPanel, -1, "V_Code");
  OpenList(tk, d.mainPanel, canvas);
  d.designCanvas =
      CreateElement(tk, ElementKind::Canvas, -1, 0, 0, 0, 0, "Canvas", -1, -1, 0, Flag::BorderLess);
  SetElementBackImage(tk, d.designCanvas, d.gridImage);
  SetItemData(tk, d.mainPanel, canvas, d.designCanvas);
  CloseList(tk);
}

// One page of the side panel: `content` above a strip, held by a stacked splitter that
// becomes the page's content.
int SidePage(Toolkit& tk, Designer& d, int page, int content, int strip) {
  const int split = Splitter(tk, -1, 0, 0, 0, 0, content, strip, kStacked);
  SetItemData(tk, d.sidePanel, page, split);
  return split;
}

void BuildSidePanel(Toolkit& tk, Designer& d) {
  d.sidePanel = Panel(tk, -1, 0, 0, 0, 0, Flag::BorderLess | kPanelFlags);

  const int props = AddTab(tk, d.sidePanel, -1, "Properties", d.archives.ThemeIcon(14));
  OpenList(tk, d.sidePanel, props);
  d.propertyGrid = Properties(tk, -1, 0, 0, 0, 0, Flag::Double, -1, kNameColumn);
  AddPropertyRows(tk, d);
  d.propertyText = Text(tk, -1, 0, 0, 0, 0, "Text");
  d.propertySplitter = SidePage(tk, d, props, d.propertyGrid, d.propertyText);

  const int events = AddTab(tk, d.sidePanel, -1, "Events", d.archives.ArchiveIcon("lightning"));
  OpenList(tk, d.sidePanel, events);
  d.eventGrid = Properties(tk, -1, 0, 0, 0, 0, Flag::Double, -1, kNameColumn);
  AddEventRows(tk, d);
  d.eventButton = Button(tk, -1, 0, 0, 0, 0, "72ButtonElement");
  d.eventSplitter = SidePage(tk, d, events, d.eventGrid, d.eventButton);

  const int tools = AddTab(tk, d.sidePanel, -1, "Elements", d.archives.ArchiveIcon("elements"));
  OpenList(tk, d.sidePanel, tools);
  d.toolboxList = ListView(tk, -1, 0, 0, 0, 0, "");
  d.archives.FillToolbox(tk, d.toolboxList);
  SetElementState(tk, d.toolboxList, 0);
  d.toolboxText = Text(tk, -1, 0, 0, 0, 0, "Text", Flag::Flat);
  d.toolboxSplitter = SidePage(tk, d, tools, d.toolboxList, d.toolboxText);

  CloseList(tk);
}

// Sets a splitter's position so that its second pane is `size` pixels high (or wide, side by
// side): the position names the separator's middle, so the separator's own thickness is
// measured off the result and corrected once.
void SizeSecondPane(Toolkit& tk, int split, int size, bool sideBySide) {
  const Element* s = FindElement(tk, split);
  if (s == nullptr) return;
  auto extent = [&](int id) { return sideBySide ? ElementWidth(tk, id) : ElementHeight(tk, id); };
  const int whole = extent(split);
  SetElementState(tk, split, whole - size);
  const int second = FindElement(tk, split)->Gadget2;
  const int error = extent(second) - size;
  if (error != 0) SetElementState(tk, split, whole - size + error);
}

// Minimum pane sizes and the first positions: the lower strips and the message editor 60
// high, the side panel 300 wide. The main splitter fills the window's client area between
// the tool bar and the status bar.
void LayOut(Toolkit& tk, Designer& d) {
  for (const int split : {d.propertySplitter, d.eventSplitter, d.toolboxSplitter}) {
    SetElementColor(tk, split, SplitterAttribute::FirstMinimumSize, kFirstPaneMinimum);
    SetElementColor(tk, split, SplitterAttribute::SecondMinimumSize, kSecondPaneMinimum);
  }
  ResizeElementById(tk, d.mainSplitter, 0, 0, ElementWidth(tk, d.window, CoordMode::Inner),
                    ElementHeight(tk, d.window, CoordMode::Inner), CoordMode::Parent);
  SizeSecondPane(tk, d.mainSplitter, kSidePanelWidth, true);
  SizeSecondPane(tk, d.leftSplitter, kLowerStrip, false);
  // Each page's splitter fills the side panel before its own position is set; hidden
  // elements are not laid out, so each page is shown while it is done.
  int page = 0;
  for (const int split : {d.propertySplitter, d.eventSplitter, d.toolboxSplitter}) {
    SetElementState(tk, d.sidePanel, page++);
    FitPageContent(tk, d.sidePanel);
    SizeSecondPane(tk, split, kLowerStrip, false);
  }
  SetElementState(tk, d.sidePanel, 0);
  FitPageContent(tk, d.mainPanel);
}

void BuildStatusBar(Toolkit& tk, Designer& d) {
  d.statusBar = CreateStatusBar(tk, -1, d.window);
  if (d.statusBar < 0) return;
  AddStatusBarField(tk, kAreaField);
  AddStatusBarField(tk, kFillWidth);
  StatusBarText(tk, d.statusBar, 0, "Area normal");
  StatusBarText(tk, d.statusBar, 1, "StatusBar");
}

}  // namespace

void FitPageContent(Toolkit& tk, int panel) {
  const Element* p = FindElement(tk, panel);
  if (p == nullptr) return;
  const int content = static_cast<int>(GetItemData(tk, panel, p->StateIndex));
  if (content <= 0 || FindElement(tk, content) == nullptr) return;
  ResizeElementById(tk, content, kIgnore, kIgnore, ElementWidth(tk, panel),
                    ElementHeight(tk, panel), CoordMode::Parent);
}

int DotGridImage(Toolkit& tk, int step, int x, int y, int width, int height) {
  if (step <= 0 || width < 2 || height < 2) return -1;
  platform::ImageStore& images = tk.platform.Images();
  // A new 32-bit image starts fully transparent in all four channels.
  const int image = images.Create(platform::ImageStore::kAny, width - 1, height - 1, 32, -1);
  if (image < 0) return -1;
  platform::Painter* painter = tk.platform.BeginImageDrawing(image);
  if (painter == nullptr) return image;
  constexpr platform::PColor kOpaqueBlack = 0x000000;
  painter->SetMode(platform::DrawMode::Default);
  for (int i = x; i <= x + width - step + 1; i += step)
    for (int j = y; j <= y + height - step + 1; j += step)
      painter->Plot(i, j, kOpaqueBlack);
  tk.platform.EndImageDrawing();
  return image;
}

int FormGridImage(Toolkit& tk, Designer& d) {
  if (d.gridImage < 0 || !tk.platform.Images().IsImage(d.gridImage))
    d.gridImage = DotGridImage(tk, d.gridStep, 0, 0, 800, 600);
  return d.gridImage;
}

StartResult StartDesigner(Toolkit& tk, Designer& d, int width, int height) {
  const std::string missing = d.archives.MissingMessage();
  if (!missing.empty()) {
    tk.platform.ShowStartupMessage("Designer Error", missing);
    return {0, kMissingArchiveStatus};
  }
  tk.dispatch.GridStep = d.gridStep;
  FormGridImage(tk, d);

  d.window = Window(tk, -1, 30, 30, width, height, "Designer", Flag::ScreenCentered);
  if (d.window <= 0) return {0, 1};
  BuildMenuBar(tk, d);
  BuildToolBar(tk, d);
  BuildCodePopup(tk, d);

  BuildMainPanel(tk, d);
  d.messageEditor = Editor(tk, -1, 0, 0, 0, 0, "List_0");
  d.leftSplitter = Splitter(tk, -1, 0, 0, 0, 0, d.mainPanel, d.messageEditor, kStacked);
  BuildSidePanel(tk, d);
  d.mainSplitter = Splitter(tk, -1, 0, 0, width, height, d.leftSplitter, d.sidePanel, kSideBySide);
  BuildStatusBar(tk, d);
  LayOut(tk, d);

  CreateDesignElement(tk, d, ElementKind::Window, d.mainPanel, 0, 1);

  d.panelHandler = MakeHandler([&tk, &d](EventCode code, int) {
    return PropertyPanelHandler(tk, d, code, tk.root.Event.EventElement);
  });
  d.commandHandler = MakeHandler([&tk, &d](EventCode code, int value) {
    d.eventParam = value;
    PageHandler(tk, d, code, tk.root.Event.EventElement);
    return CommandHandler(tk, d, code, tk.root.Event.EventElement);
  });
  BindCallback(tk, d.panelHandler, d.window, -1, -1);
  BindCallback(tk, d.commandHandler, d.window, -1, -1);
  StartCommands(tk, d);
  return {d.window, 0};
}

}  // namespace tk::designer
