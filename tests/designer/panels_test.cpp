// The side panel tied to the form: the grids filled from the selected element, row edits
// changing it, event rows, the toolbox's tool choice and description, and the colour and font
// requesters; driven through native events on the headless canvas.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "codegen/generator.h"
#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/combobox.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"

namespace tk::designer {
namespace {

namespace fs = std::filesystem;

class PanelsTest : public ::testing::Test {
 protected:
  PanelsTest()
      : platform(1280, 1024),
        archives(platform.Images(), {fs::path(TK_BINARY_DIR)}),
        d(archives),
        tk(platform),
        script(tk, platform) {
    PrepareToolkit(tk);
  }

  void SetUp() override {
    ASSERT_TRUE(fs::exists(fs::path(TK_BINARY_DIR) / "Themes/SilkTheme.zip"));
    // Tall enough for every row of the property grid to show.
    ASSERT_GT(StartDesigner(tk, d, 1200, 960).window, 0);
    ASSERT_TRUE(StartSession(tk, d.window));
    form = tk.root.DesignedElement;
    ASSERT_TRUE(IsWindow(tk, form));
  }

  // Runs script lines; a requester opened by one line takes the lines after it.
  void Run(const std::string& lines) {
    std::string error;
    ASSERT_TRUE(script.RunText(lines, "panels", &error)) << error;
  }
  std::string At(int id) {
    const Element* e = FindElement(tk, id);
    if (e == nullptr) return "0 0";
    return std::to_string(e->Frame.x0 + e->Frame.w0 / 2) + " " +
           std::to_string(e->Frame.y0 + e->Frame.h0 / 2);
  }
  void Click(int id) { Run("click " + At(id)); }
  void ShowPage(int page) {
    SetElementState(tk, d.sidePanel, page);
    Run("move 1 1");
  }
  // Opens a combo row's list and clicks the entry `index`.
  void Choose(int combo, int index) {
    Click(combo);
    Element* list = FindElement(tk, ComboList(tk, combo));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Hidden, 0);
    const Element* item = FindItem(*list, index);
    ASSERT_NE(item, nullptr);
    Run("click " + std::to_string(list->Inner.x0 + item->Frame.x0 + item->Frame.w0 / 2) + " " +
        std::to_string(list->Inner.y0 + item->Frame.y0 + item->Frame.h0 / 2));
  }
  // A button on the form, selected, its values in the grids.
  int SelectedButton() {
    const int button = CreateDesignElement(tk, d, ElementKind::Button, form, 0, 1);
    EXPECT_EQ(tk.root.DesignedElement, button);
    FillPanelsFromElement(tk, d, button, ElementEvent::Created);
    return button;
  }
  int State(int row) { return static_cast<int>(GetElementState(tk, row)); }
  // The text below the toolbox, without the line feed a multi-line Text closes with.
  std::string Description() {
    std::string text = GetElementText(tk, d.toolboxText);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

  platform::HeadlessPlatform platform;
  IconArchives archives;
  Designer d;
  Toolkit tk;
  ScriptRunner script;
  int form = -1;
};

// Selecting fills every row from the element; Move and Resize update only their rows; a
// window offers Sticky and no tool tip.
TEST_F(PanelsTest, SelectingFillsTheGridsFromTheElement) {
  const PropertyRows& r = d.rows;
  const int button = CreateDesignElement(tk, d, ElementKind::Button, form, 0, 1);
  ASSERT_GT(button, 0);
  ResizeElementById(tk, button, 40, 60, 140, 35);
  SetElementText(tk, button, "OK");
  FindElement(tk, button)->ToolTip = "Press it";
  AddElementFlag(tk, button, "#PB_Button_Toggle");
  AddElementFlag(tk, button, "#PB_Button_Right");
  FillPanelsFromElement(tk, d, button, ElementEvent::LeftButtonDown);

  // Positions in the parent, sizes as the default getters read them.
  EXPECT_EQ(State(r.x), 40);
  EXPECT_EQ(State(r.y), 60);
  EXPECT_EQ(State(r.width), ElementWidth(tk, button));
  EXPECT_EQ(State(r.height), ElementHeight(tk, button));
  const int width = State(r.width);
  EXPECT_EQ(GetElementText(tk, r.caption), "OK");
  EXPECT_EQ(GetElementText(tk, r.id), "Window_0_Button_0 (" + std::to_string(button) + ")");
  EXPECT_EQ(State(r.enumeration), 1);
  EXPECT_EQ(State(r.disable), 1);
  EXPECT_EQ(GetElementText(tk, r.fontColor),
            "$" + FormatColorHex(GetElementAttribute(tk, button, Attribute::FrontColor)));
  EXPECT_EQ(IsDisabled(tk, r.sticky), 1);
  EXPECT_EQ(IsDisabled(tk, r.toolTip), 0);
  EXPECT_EQ(GetElementText(tk, r.toolTip), "Press it");
  // The Flag row offers the Button flags, the element's two ticked.
  Element* flags = FindElement(tk, ComboList(tk, r.flag));
  ASSERT_NE(flags, nullptr);
  EXPECT_EQ(flags->Items.size(), 5u);
  std::string ticked;
  for (const auto& item : flags->Items)
    if (item->Checked != 0) ticked += item->Text + ";";
  EXPECT_EQ(ticked, "#PB_Button_Toggle;#PB_Button_Right;");

  // A move refreshes X and Y, a resize Width and Height (the form's handler fills the rows
  // from the element's own Move and Resize events).
  ResizeElementById(tk, button, 50, 70, kIgnore, kIgnore);
  FillPanelsFromElement(tk, d, button, ElementEvent::Move);
  EXPECT_EQ(State(r.x), 50);
  EXPECT_EQ(State(r.y), 70);
  EXPECT_EQ(State(r.width), width);
  ResizeElementById(tk, button, kIgnore, kIgnore, 150, 45);
  FillPanelsFromElement(tk, d, button, ElementEvent::Resize);
  EXPECT_EQ(State(r.x), 50);
  EXPECT_EQ(State(r.width), width + 10);
  EXPECT_EQ(State(r.height), ElementHeight(tk, button));

  // Filling paints nothing by itself (the event that selected repaints once), also when the
  // closed Flag row's list gets another kind's options.
  const int frames = platform.PresentCount();
  FillPanelsFromElement(tk, d, form, ElementEvent::Focus);
  EXPECT_EQ(platform.PresentCount(), frames);
  EXPECT_EQ(IsDisabled(tk, r.sticky), 0);
  EXPECT_EQ(IsDisabled(tk, r.toolTip), 1);
  EXPECT_EQ(GetElementText(tk, r.caption), GetElementText(tk, form));
  EXPECT_EQ(State(r.width), ElementWidth(tk, form));
  // Nothing to show: nothing changes, nothing breaks.
  FillPanelsFromElement(tk, d, 123456, ElementEvent::Focus);
  EXPECT_EQ(State(r.width), ElementWidth(tk, form));
}

// Typing into the rows changes the selected element; a window keeps its size when only its
// position is typed; without a selection the same edits change nothing.
TEST_F(PanelsTest, EditingRowsChangesTheSelectedElementOnly) {
  const PropertyRows& r = d.rows;
  const int button = SelectedButton();
  const int width = ElementWidth(tk, button);
  Click(r.x);
  Run("key A ctrl\ntype 75");
  EXPECT_EQ(ElementX(tk, button, CoordMode::Parent), 75);
  EXPECT_EQ(ElementWidth(tk, button), width);
  Click(r.caption);
  Run("key A ctrl\ntype Send");
  EXPECT_EQ(GetElementText(tk, button), "Send");
  // A size beyond what a form can hold, or below nothing, stops at the limit; the row shows
  // the size the element took.
  Click(r.height);
  Run("key A ctrl\ntype 99999999999999999999");
  EXPECT_GT(ElementHeight(tk, button), 0);
  EXPECT_EQ(State(r.height), ElementHeight(tk, button));
  Click(r.width);
  Run("key A ctrl\ntype -50");
  EXPECT_GE(ElementWidth(tk, button), 0);
  EXPECT_EQ(State(r.width), ElementWidth(tk, button));
  // A width of nothing would not read back: the least is one pixel.
  Run("key A ctrl\ntype 0");
  EXPECT_EQ(ElementWidth(tk, button), 1);
  EXPECT_EQ(State(r.width), 1);
  Run("key A ctrl\ntype " + std::to_string(width));
  Click(r.height);
  Run("key A ctrl\ntype 25");
  Click(r.caption);
  // A PureBasic string cannot hold a double quote: the row leaves it out, so the generated
  // code stays readable.
  Run("type  \"now\"");
  EXPECT_EQ(GetElementText(tk, button), "Send now");
  EXPECT_EQ(GetElementText(tk, r.caption), "Send now");
  Run("key A ctrl\ntype Send");
  Choose(r.disable, 0);
  EXPECT_EQ(IsDisabled(tk, button), 1);

  // The Elements row shows where the element is listed; choosing another makes it the one
  // the grids edit.
  SetItemData(tk, r.elements, AddElementItem(tk, r.elements, -1, "Window_0"), form);
  SetItemData(tk, r.elements, AddElementItem(tk, r.elements, -1, "Window_0_Button_0"), button);
  FillPanelsFromElement(tk, d, button, ElementEvent::Focus);
  EXPECT_EQ(State(r.elements), 1);
  Choose(r.elements, 0);
  EXPECT_EQ(tk.root.DesignedElement, form);
  EXPECT_EQ(IsDisabled(tk, r.sticky), 0);

  // The form window: its client size stays while X changes.
  const int formWidth = ElementWidth(tk, form), formHeight = ElementHeight(tk, form);
  Click(r.x);
  Run("key A ctrl\ntype 20");
  EXPECT_EQ(ElementX(tk, form, CoordMode::Parent), 20);
  EXPECT_EQ(ElementWidth(tk, form), formWidth);
  EXPECT_EQ(ElementHeight(tk, form), formHeight);

  tk.root.DesignedElement = -1;
  Click(r.caption);
  Run("key A ctrl\ntype Nothing");
  EXPECT_EQ(GetElementText(tk, button), "Send");
  Click(r.x);
  Run("key A ctrl\ntype 300");
  EXPECT_EQ(ElementX(tk, button, CoordMode::Parent), 75);
  Click(r.fontColor);
  EXPECT_TRUE(tk.root.ModalWindows.empty());
  EXPECT_EQ(FindElement(tk, button)->ColorSet, 0);
}

// #Button_0 shows Enumeration True; False renames it Button_0, which the next generation
// declares Global, and True makes it a constant again.
TEST_F(PanelsTest, EnumerationRowRenamesAndTheGeneratorFollows) {
  const PropertyRows& r = d.rows;
  const int button = SelectedButton();
  SetElementName(tk, button, "#Button_0");
  FillPanelsFromElement(tk, d, button, ElementEvent::Focus);
  EXPECT_EQ(State(r.enumeration), 0);
  EXPECT_EQ(GetElementText(tk, r.enumeration), "True");

  Choose(r.enumeration, 1);
  EXPECT_EQ(GetElementName(tk, button), "Button_0");
  std::string code = FormCodeText(tk, d.mainPanel);
  EXPECT_NE(code.find("Global Button_0=-1\r\n"), std::string::npos) << code;
  EXPECT_EQ(code.find("#Button_0"), std::string::npos) << code;

  Choose(r.enumeration, 0);
  EXPECT_EQ(GetElementName(tk, button), "#Button_0");
  code = FormCodeText(tk, d.mainPanel);
  EXPECT_NE(code.find("Enumeration FormGadget\r\n  #Button_0\r\n"), std::string::npos) << code;
  EXPECT_EQ(code.find("Global Button_0"), std::string::npos) << code;
}

// Ticking SizeGadget and SystemMenu on a window: both words in the flag list and both flags
// in effect, the place and size rows follow the border; unticking takes one off again.
TEST_F(PanelsTest, EveryTickedFlagTakesEffect) {
  const PropertyRows& r = d.rows;
  FillPanelsFromElement(tk, d, form, ElementEvent::Focus);
  Element* list = FindElement(tk, ComboList(tk, r.flag));
  ASSERT_NE(list, nullptr);
  auto index = [&](const std::string& word) {
    for (const auto& item : list->Items)
      if (item->Text == word) return item->Index;
    return -1;
  };
  auto tick = [&](const std::string& word) {
    if (list->Hidden != 0) Click(r.flag);
    ASSERT_EQ(list->Hidden, 0);
    const Element* item = FindItem(*list, index(word));
    ASSERT_NE(item, nullptr) << word;
    Run("click " + std::to_string(list->Frame.x0 + 10) + " " +
        std::to_string(list->Inner.y0 + item->Frame.y0 - list->VScroll + item->Frame.h0 / 2));
  };
  RemoveElementFlags(tk, form, Flag::SystemMenu | Flag::SizeGadget);
  ASSERT_FALSE(HasAny(FindElement(tk, form)->Flags, Flag::SizeGadget));
  tick("#PB_Window_SizeGadget");
  // Fifteen options scroll in the dropped list.
  const Element* bar = FindElement(tk, list->Attached[1]);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Hidden, 0);
  // The options' texts span the list (the row had no width when the grid was built).
  ASSERT_FALSE(list->Columns.empty());
  EXPECT_GE(list->Columns.front()->Frame.w0, list->Inner.w0);
  tick("#PB_Window_SystemMenu");
  const Element* w = FindElement(tk, form);
  EXPECT_EQ(GetElementFlagText(tk, form), "#PB_Window_SystemMenu|#PB_Window_SizeGadget");
  EXPECT_TRUE(HasAll(w->Flags, Flag::SystemMenu));
  EXPECT_TRUE(HasAny(w->Flags, Flag::SizeGadget));
  EXPECT_EQ(w->FrameWidth, 4);

  tick("#PB_Window_SizeGadget");
  EXPECT_EQ(GetElementFlagText(tk, form), "#PB_Window_SystemMenu");
  EXPECT_FALSE(HasAny(FindElement(tk, form)->Flags, Flag::SizeGadget));
  EXPECT_TRUE(HasAll(FindElement(tk, form)->Flags, Flag::SystemMenu));
  // The narrower border moves the window's client area: the place and size rows follow it.
  EXPECT_EQ(State(r.x), ElementX(tk, form, CoordMode::Parent));
  EXPECT_EQ(State(r.y), ElementY(tk, form, CoordMode::Parent));
  EXPECT_EQ(State(r.width), ElementWidth(tk, form));
  EXPECT_EQ(State(r.height), ElementHeight(tk, form));
}

// A double click on the LeftClick row adds its procedure option and the event, once in the
// event list however often; the main panel shows the code.
TEST_F(PanelsTest, EventRowAddsTheEventOnce) {
  const PropertyRows& r = d.rows;
  const int button = SelectedButton();
  ShowPage(1);
  Run("dclick " + At(r.leftClick));
  EXPECT_EQ(State(d.mainPanel), 1);
  SetElementState(tk, d.mainPanel, 0);
  ShowPage(1);
  Run("dclick " + At(r.leftClick));
  EXPECT_EQ(State(d.mainPanel), 1);
  EXPECT_EQ(GetElementEventText(tk, button), "LeftClick");
  EXPECT_EQ(CountItems(tk, r.leftClick), 2);
  EXPECT_EQ(GetElementText(tk, r.leftClick), "Window_0_Button_0_LeftClick_Event");
  // The left-down row records nothing, but still shows the code.
  SetElementState(tk, d.mainPanel, 0);
  ShowPage(1);
  Run("dclick " + At(r.leftDown));
  EXPECT_EQ(State(d.mainPanel), 1);
  EXPECT_EQ(GetElementEventText(tk, button), "LeftClick");
}

// Pointing at toolbox entries describes them; leaving describes the chosen one; a click
// chooses the tool kind for the designer and the root state.
TEST_F(PanelsTest, ToolboxDescribesAndChoosesTools) {
  ShowPage(2);
  EXPECT_EQ(tk.root.UsedElement, d.toolboxList);
  Element* list = FindElement(tk, d.toolboxList);
  ASSERT_NE(list, nullptr);
  int buttonItem = -1;
  for (const auto& item : list->Items)
    if (item->Text == " Button") buttonItem = item->Index;
  ASSERT_GT(buttonItem, 0);
  auto itemAt = [&](int index) {
    const Element* item = FindItem(*list, index);
    return std::to_string(list->Inner.x0 + 30) + " " +
           std::to_string(list->Inner.y0 + item->Frame.y0 - list->VScroll + item->Frame.h0 / 2);
  };
  Run("move " + itemAt(buttonItem));
  EXPECT_EQ(Description(), "Это кнопка (Button)");
  Run("move " + itemAt(0));  // the pointer tool names no kind
  EXPECT_EQ(Description(), "Элемент не выбран");

  Run("click " + itemAt(buttonItem));
  EXPECT_EQ(d.toolKind, ElementKind::Button);
  EXPECT_EQ(tk.root.ToolKind, ElementKind::Button);
  EXPECT_EQ(State(d.toolboxList), buttonItem);
  Run("move " + itemAt(0) + "\nmove " + At(d.toolboxText));
  EXPECT_EQ(Description(), "Это кнопка (Button)");
  Run("click " + itemAt(0));
  EXPECT_EQ(d.toolKind, ElementKind::None);
  EXPECT_EQ(tk.root.ToolKind, ElementKind::None);
}

// A cancelled colour or font requester leaves the element and the row as they were; a
// confirmed one sets the colour, marks it as set and shows it on the row.
TEST_F(PanelsTest, CancelledRequestersChangeNothing) {
  const PropertyRows& r = d.rows;
  const int button = SelectedButton();
  const Element* b = FindElement(tk, button);
  const Color front = b->FrontColor, back = b->BackColor;
  const std::string frontRow = GetElementText(tk, r.fontColor);
  const std::string backRow = GetElementText(tk, r.backColor);
  const int font = b->FontID;

  Run("click " + At(r.fontColor) + "\nkey Escape");
  Run("click " + At(r.backColor) + "\nkey Escape");
  Run("click " + At(r.font) + "\nkey Escape");
  EXPECT_TRUE(tk.root.ModalWindows.empty());
  b = FindElement(tk, button);
  EXPECT_EQ(b->FrontColor, front);
  EXPECT_EQ(b->BackColor, back);
  EXPECT_EQ(b->ColorSet, 0);
  EXPECT_EQ(b->FontID, font);
  EXPECT_EQ(GetElementText(tk, r.fontColor), frontRow);
  EXPECT_EQ(GetElementText(tk, r.backColor), backRow);

  // Confirming the requester as it opened keeps the colour but marks it as chosen.
  Run("click " + At(r.fontColor) + "\nkey Return");
  b = FindElement(tk, button);
  EXPECT_EQ(b->FrontColor, front);
  EXPECT_EQ(b->ColorSet & 1, 1);
  EXPECT_EQ(GetElementText(tk, r.fontColor), "$" + FormatColorHex(front));
  // The Image row opens the image editor for the selection.
  Click(r.image);
  EXPECT_GT(d.imageEditor.window, 0);
  EXPECT_EQ(d.imageEditor.openedFrom, r.image);
  // It lives on the desktop, never among the form windows on the Form page.
  EXPECT_EQ(GetParent(tk, d.imageEditor.window), 0);
  CloseImageEditor(tk, d.imageEditor);
  Run("click " + At(r.font) + "\nkey Return");
  EXPECT_NE(FindElement(tk, button)->FontID, font);
  EXPECT_EQ(GetElementText(tk, r.font).rfind("(8) ", 0), 0u) << GetElementText(tk, r.font);
}

}  // namespace
}  // namespace tk::designer
