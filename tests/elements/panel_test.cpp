// The Panel kind: tab placement, which children show on tab switches, the shifted tab strip,
// and tab presses arriving as native pointer events.
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/attributes.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/panel.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/paint.h"
#include "render/repaint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

constexpr int kWindow = 1, kPanel = 10;

class PanelTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 800, 600, "Main", Flag::SystemMenu), kWindow);
  }

  // A panel with three tabs; each tab gets one button, tab 1 also a container with a child.
  void BuildPanel(int width) {
    ASSERT_EQ(Panel(tk, kPanel, 20, 20, width, 200, 0, kWindow), kPanel);
    for (const char* t : {"One", "Two", "Three"})
      AddTab(tk, kPanel, -1, t);
    OpenList(tk, kPanel, 0);
    Button(tk, 100, 10, 10, 80, 25, "A");
    CloseList(tk);  // re-opening an open list keeps its tab
    OpenList(tk, kPanel, 1);
    Button(tk, 101, 10, 10, 80, 25, "B");
    Button(tk, 102, 10, 40, 80, 25, "B2");
    tk::Container(tk, 103, 10, 70, 100, 60);
    Button(tk, 104, 5, 5, 50, 20, "Inner");
    CloseList(tk);
    CloseList(tk);
    OpenList(tk, kPanel, 2);
    Button(tk, 105, 10, 10, 80, 25, "C");
    CloseList(tk);
  }

  bool Hidden(int id) { return FindElement(tk, id)->Hidden != 0; }
  Element& PanelRecord() { return *FindElement(tk, kPanel); }
  // Canvas point in the middle of a tab as it is drawn, strip offset included.
  std::pair<int, int> TabCenter(int index) {
    Element& p = PanelRecord();
    const Element& tab = *p.Items[static_cast<size_t>(index)];
    return {p.Inner.x0 + 1 - p.HScroll + tab.Frame.x0 + tab.Frame.w0 / 2,
            p.Inner.y0 - p.CaptionHeight + 1 + tab.Frame.h0 / 2};
  }
  // Text x of each tab label as drawn now.
  std::map<std::string, int> LabelXs() {
    RecordingPainter painter;
    PaintItems(tk, painter, PanelRecord());
    std::map<std::string, int> xs;
    for (const auto& call : painter.Texts())
      xs[call.text] = call.x;
    return xs;
  }
};

TEST_F(PanelTest, TabsArePlacedSideBySideAndInsertedTabsPushTheRest) {
  ASSERT_EQ(Panel(tk, kPanel, 20, 20, 300, 200, 0, kWindow), kPanel);
  EXPECT_EQ(PanelRecord().CaptionHeight, 25);
  EXPECT_EQ(AddTab(tk, kPanel, -1, "First", -1, 0, 77), 0);
  EXPECT_EQ(GetElementState(tk, kPanel), 0.0);  // the first tab is selected
  EXPECT_EQ(AddElementItem(tk, kPanel, -1, "Second"), 1);
  Element& p = PanelRecord();
  ASSERT_EQ(p.Items.size(), 2u);
  const int firstW = p.Items[0]->Frame.w0;
  const int secondX = p.Items[1]->Frame.x0;
  EXPECT_GT(firstW, 0);
  EXPECT_GE(secondX, firstW);  // side by side, no overlap
  EXPECT_EQ(p.Items[0]->Frame.h0, p.CaptionHeight - 3);
  EXPECT_EQ(GetItemData(tk, kPanel, 0), 77);

  // Inserting before the second tab takes its place and pushes it along.
  EXPECT_EQ(AddTab(tk, kPanel, 1, "Middle"), 1);
  ASSERT_EQ(p.Items.size(), 3u);
  EXPECT_EQ(p.Items[1]->Text, "Middle");
  EXPECT_EQ(p.Items[1]->Frame.x0, secondX);
  EXPECT_GT(p.Items[2]->Frame.x0, secondX);
  EXPECT_EQ(p.Items[2]->Text, "Second");

  // Not a panel, or no element: neutral answers.
  const int button = Button(tk, 50, 0, 0, 10, 10, "x", 0, kWindow);
  EXPECT_EQ(AddTab(tk, button, -1, "Tab"), -1);
  EXPECT_EQ(AddTab(tk, 999, -1, "Tab"), -1);
  EXPECT_EQ(ShowTab(tk, 999, 0), 0);
  EXPECT_EQ(ShowTab(tk, button, 0), 0);
}

// Read from the canvas: a panel made with high word 0x10, with or without a border, paints
// its white body like any other panel.
TEST_F(PanelTest, PanelsMadeWithHighWord0x10PaintTheirBody) {
  ASSERT_EQ(Panel(tk, kPanel, 20, 20, 300, 200, MakeFlags(0, 0x10), kWindow), kPanel);
  ASSERT_EQ(Panel(tk, 11, 340, 20, 300, 200, MakeFlags(Flag::BorderLess, 0x10), kWindow), 11);
  ASSERT_EQ(Panel(tk, 12, 20, 260, 300, 200, 0, kWindow), 12);
  for (int id : {kPanel, 11, 12})
    AddTab(tk, id, -1, "Page");
  Repaint(tk, kWindow, true);
  for (int id : {kPanel, 11, 12}) {
    const Element& p = *FindElement(tk, id);
    EXPECT_EQ(platform.CanvasPixel(p.Inner.x0 + p.Inner.w0 / 2, p.Inner.y0 + p.Inner.h0 / 2),
              0xFFFFFFu)
        << id;
  }
}

// A tab's icon leads its text.
TEST_F(PanelTest, ATabsIconStandsLeftOfItsText) {
  ASSERT_EQ(Panel(tk, kPanel, 20, 20, 300, 200, 0, kWindow), kPanel);
  const int icon = tk.builtins.SmallIcon;
  AddTab(tk, kPanel, -1, "Form", icon);
  AddTab(tk, kPanel, -1, "Code", icon);
  RecordingPainter painter;
  PaintItems(tk, painter, PanelRecord());
  std::vector<PaintCall> images;
  for (const auto& c : painter.Of(PaintOp::DrawImage))
    if (c.image == icon) images.push_back(c);
  const auto texts = painter.Texts();
  ASSERT_EQ(images.size(), 2u);
  ASSERT_EQ(texts.size(), 2u);
  // Each tab draws its text, then its icon.
  for (size_t i = 0; i < 2; ++i) {
    const Element& tab = *PanelRecord().Items[texts[i].text == "Form" ? 0 : 1];
    const int tabX = PanelRecord().Inner.x0 + 1 - PanelRecord().HScroll + tab.Frame.x0;
    EXPECT_LE(images[i].x + tk.platform.Images().Width(icon), texts[i].x) << tab.Text;
    EXPECT_GE(images[i].x, tabX) << tab.Text;
  }
  Repaint(tk, kWindow, true);
  EXPECT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/panel_tabs_snapshot.png"));
}

TEST_F(PanelTest, SwitchingTabsShowsOnlyThatTabsChildrenAndKeepsProgramHiddenOnes) {
  BuildPanel(300);
  EXPECT_FALSE(Hidden(100));
  for (int id : {101, 102, 103, 104, 105})
    EXPECT_TRUE(Hidden(id)) << id;

  HideElement(tk, 102, 1);  // the program hides a child of a tab not shown yet
  SetElementState(tk, kPanel, 1);
  EXPECT_EQ(GetElementState(tk, kPanel), 1.0);
  EXPECT_TRUE(Hidden(100));
  EXPECT_FALSE(Hidden(101));
  EXPECT_TRUE(Hidden(102));  // stays hidden by its program
  EXPECT_FALSE(Hidden(103));
  EXPECT_FALSE(Hidden(104));  // inside a container on the shown tab
  EXPECT_TRUE(Hidden(105));

  SetElementState(tk, kPanel, 2);
  for (int id : {100, 101, 102, 103, 104})
    EXPECT_TRUE(Hidden(id)) << id;
  EXPECT_FALSE(Hidden(105));

  // A tab that does not exist is refused: nothing changes and no Change is announced.
  int changes = 0;
  BindCallback(tk, MakeHandler([&](EventCode code, int) {
                 if (code == ElementEvent::Change && tk.root.Event.EventElement == kPanel)
                   ++changes;
                 return 1;
               }),
               -1, -1, -1);
  changes = 0;  // binding replays the Change of the last switch
  SetElementState(tk, kPanel, 7);
  SetElementState(tk, kPanel, -1);
  EXPECT_FALSE(Hidden(105));
  EXPECT_EQ(PanelRecord().CurrentTab, 2);
  EXPECT_EQ(GetElementState(tk, kPanel), 2.0);
  EXPECT_EQ(changes, 0);

  SetElementState(tk, kPanel, 0);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(Hidden(100));
  EXPECT_TRUE(Hidden(101));
  EXPECT_TRUE(Hidden(104));
}

TEST_F(PanelTest, ReopeningTheOpenPanelPicksTheRequestedTab) {
  // Without a parent the panel's list stays open after creation.
  CloseList(tk);
  ASSERT_EQ(Panel(tk, kPanel, 20, 20, 300, 200), kPanel);
  ASSERT_EQ(tk.root.OpenList, kPanel);
  AddTab(tk, kPanel, -1, "One");
  AddTab(tk, kPanel, -1, "Two");
  Button(tk, 100, 10, 10, 80, 25, "On one");
  OpenList(tk, kPanel, 1);  // already the open list: only the tab changes
  Button(tk, 101, 10, 10, 80, 25, "On two");
  OpenList(tk, kPanel, 5);  // no such tab: stays on the second
  Button(tk, 102, 10, 40, 80, 25, "Also on two");
  EXPECT_EQ(FindElement(tk, 100)->TabIndex, 0);
  EXPECT_EQ(FindElement(tk, 101)->TabIndex, 1);
  EXPECT_EQ(FindElement(tk, 102)->TabIndex, 1);
  EXPECT_EQ(FindElement(tk, 101)->ParentID, kPanel);

  // An element made into another parent meanwhile leaves the panel's list on its tab.
  ASSERT_EQ(tk::Container(tk, 103, 10, 80, 100, 50), 103);  // on the second tab, list open
  CloseList(tk);
  ASSERT_EQ(Button(tk, 104, 5, 5, 50, 20, "Inside", 0, 103), 104);
  ASSERT_EQ(Button(tk, 105, 10, 140, 80, 25, "Still on two"), 105);
  EXPECT_EQ(FindElement(tk, 104)->ParentID, 103);
  EXPECT_EQ(FindElement(tk, 105)->ParentID, kPanel);
  EXPECT_EQ(FindElement(tk, 105)->TabIndex, 1);
}

TEST_F(PanelTest, PressingATabThroughNativeEventsSwitchesAndPostsChange) {
  BuildPanel(160);
  AddTab(tk, kPanel, -1, "A long fourth tab title");
  std::vector<std::pair<EventCode, int>> posted;
  BindCallback(tk, MakeHandler([&](EventCode code, int value) {
                 if (code == ElementEvent::Change && tk.root.Event.EventElement == kPanel)
                   posted.emplace_back(code, value);
                 return 1;
               }),
               -1, -1, -1);
  PumpEvents(tk);  // start-up paint lays the strip out
  platform.InjectMove(3, 3);
  PumpEvents(tk);

  auto press = [&](int index) {
    const auto [x, y] = TabCenter(index);
    platform.InjectMove(x, y);
    PumpEvents(tk);
    platform.InjectClick(x, y);
    PumpEvents(tk);
  };
  press(1);
  EXPECT_EQ(GetElementState(tk, kPanel), 1.0);
  EXPECT_FALSE(Hidden(101));
  EXPECT_TRUE(Hidden(100));
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].second, 1);

  press(1);  // the same tab again: no Change
  EXPECT_EQ(posted.size(), 1u);
}

// A tab put in front moves the others up by one index; their elements go with them, and
// pressing a tab shows that tab's elements.
TEST_F(PanelTest, ATabInsertedInFrontKeepsTheOtherTabsWithTheirElements) {
  BuildPanel(400);
  EXPECT_EQ(AddTab(tk, kPanel, 0, "New"), 0);
  EXPECT_EQ(GetElementState(tk, kPanel), 1.0) << "the selected tab stays selected";
  EXPECT_EQ(FindElement(tk, 101)->TabIndex, 2);
  EXPECT_EQ(FindElement(tk, 105)->TabIndex, 3);
  PumpEvents(tk);
  platform.InjectMove(3, 3);
  PumpEvents(tk);
  const auto [x, y] = TabCenter(2);  // "Two"
  platform.InjectMove(x, y);
  PumpEvents(tk);
  platform.InjectClick(x, y);
  PumpEvents(tk);
  EXPECT_EQ(GetElementState(tk, kPanel), 2.0);
  EXPECT_FALSE(Hidden(101));
  EXPECT_TRUE(Hidden(100));
  EXPECT_TRUE(Hidden(105));
}

TEST_F(PanelTest, AWideCurrentTabShiftsTheWholeStripAndShiftedTabsStayPressable) {
  BuildPanel(220);
  AddTab(tk, kPanel, -1, "A long fourth tab title");
  Repaint(tk, kWindow, true);
  EXPECT_EQ(PanelRecord().HScroll, 0);  // the first tab fits: no shift
  const auto before = LabelXs();
  ASSERT_EQ(before.size(), 4u);

  SetElementState(tk, kPanel, 3);
  Repaint(tk, kWindow, true);
  Element& p = PanelRecord();
  const Element& wide = *p.Items[3];
  ASSERT_GT(wide.Frame.x0 + wide.Frame.w0, p.Inner.w0);
  const int shift = p.HScroll;
  // The wide tab's right edge ends two pixels inside the panel's inner width.
  EXPECT_EQ(wide.Frame.x0 + wide.Frame.w0 - shift, p.Inner.w0 - 2);
  const auto after = LabelXs();
  // Every tab moves with the strip; those pushed out of the panel are not drawn at all.
  ASSERT_GE(after.size(), 2u);
  for (const auto& [text, x] : after)
    EXPECT_EQ(x, before.at(text) - shift) << text;

  // A tab pressed where it is drawn now (shifted) is the one selected.
  platform.InjectMove(3, 3);
  PumpEvents(tk);
  const auto [x, y] = TabCenter(2);
  ASSERT_GT(x, p.Inner.x0);                        // visible inside the panel
  ASSERT_GT(p.HScroll, p.Items[2]->Frame.w0 / 2);  // unshifted, that point is another tab
  platform.InjectMove(x, y);
  PumpEvents(tk);
  platform.InjectClick(x, y);
  PumpEvents(tk);
  EXPECT_EQ(GetElementState(tk, kPanel), 2.0);
  EXPECT_FALSE(Hidden(105));
  EXPECT_EQ(PanelRecord().HScroll, 0);  // the third tab fits again

  // A panel without tabs draws no strip.
  const int bare = Panel(tk, 20, 400, 20, 200, 100, 0, kWindow);
  RecordingPainter painter;
  PaintItems(tk, painter, *FindElement(tk, bare));
  EXPECT_TRUE(painter.Texts().empty());
}

}  // namespace
}  // namespace tk::testing
