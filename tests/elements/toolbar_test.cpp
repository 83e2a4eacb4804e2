// The ToolBar kind: attaching to a window, button and separator widths by style, a bar that
// grows for text under its icons, toggle states and tool tips, and a pressed button's event.
#include "elements/toolbar.h"

#include <vector>

#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/menu.h"
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

constexpr int kWindow = 1, kBar = 5;

class ToolBarTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 500, 300, "Main", Flag::SystemMenu), kWindow);
    ASSERT_EQ(Button(tk, 2, 10, 10, 100, 30, "Child"), 2);
    CloseList(tk);
  }
  Element& E(int id) { return *FindElement(tk, id); }
  Element& Item(int index) { return *E(kBar).Items[static_cast<size_t>(index)]; }
};

TEST_F(ToolBarTest, AttachingMovesTheChildrenDownAndRefusesASecondBar) {
  const int height = E(kWindow).Frame.h0;
  const int childY = E(2).Frame.y0;
  const int innerY = E(kWindow).Inner.y0;
  ASSERT_EQ(CreateToolBar(tk, kBar, kWindow), kBar);
  EXPECT_EQ(tk.root.LastToolBar, kBar);
  EXPECT_EQ(E(kBar).Frame.h0, 24);  // flags 0: small icons, text beside them
  EXPECT_NE(HighWord(E(kBar).Flags) & 0x80u, 0u);
  EXPECT_EQ(E(kWindow).Frame.h0, height + 24);
  EXPECT_EQ(E(kWindow).ToolStripHeight, 24);
  EXPECT_EQ(E(kWindow).Inner.y0, innerY + 24);
  EXPECT_EQ(E(2).Frame.y0, childY + 24);
  // The bar lies in its strip, above the client area.
  EXPECT_LE(E(kBar).Frame.y0 + E(kBar).Frame.h0, E(kWindow).Inner.y0);
  EXPECT_GE(E(kBar).Frame.y0, E(kWindow).Frame.y0 + E(kWindow).CaptionHeight - 1);

  EXPECT_EQ(CreateToolBar(tk, 6, kWindow), -1);
  EXPECT_EQ(FindElement(tk, 6), nullptr);
  EXPECT_EQ(tk.root.LastToolBar, -1);
  EXPECT_EQ(ToolBarButton(tk, 1, -1, -1, "x"), -1);  // no bar to add to
  EXPECT_EQ(CreateToolBar(tk, 7, 2), -1);            // not a window
}

// Below a menu bar: the tool bar takes the strip under it and the client area starts below
// both.
TEST_F(ToolBarTest, AToolBarSitsBelowTheMenuBar) {
  const int childY = E(2).Frame.y0;
  ASSERT_GT(CreateMenu(tk, 4, kWindow), 0);
  ASSERT_EQ(CreateToolBar(tk, kBar, kWindow), kBar);
  const Element& menu = E(4);
  const Element& bar = E(kBar);
  EXPECT_GE(bar.Frame.y0, menu.Frame.y0 + menu.Frame.h0 - 1);
  EXPECT_LE(bar.Frame.y0 + bar.Frame.h0, E(kWindow).Inner.y0);
  EXPECT_EQ(E(2).Frame.y0, childY + kMenuBarHeight + 24);
}

TEST_F(ToolBarTest, ButtonWidthsFollowTheStyle) {
  ASSERT_EQ(CreateToolBar(tk, kBar, kWindow, ToolBarStyle::SmallIcons), kBar);
  const int icon = tk.builtins.SmallIcon;
  ASSERT_GE(icon, 0);
  EXPECT_EQ(ToolBarButton(tk, 10, icon), 0);
  EXPECT_EQ(ToolBarSeparator(tk), 1);
  EXPECT_EQ(ToolBarButton(tk, 11, 9999), 2);  // no such image: the built-in icon
  EXPECT_EQ(Item(0).Frame.w0, 22);
  EXPECT_EQ(Item(1).Frame.w0, 3);
  EXPECT_EQ(Item(1).SeparatorCount, 1);
  EXPECT_EQ(E(kBar).SeparatorCount, 1);
  EXPECT_EQ(Item(2).Frame.x0, 25);
  EXPECT_EQ(Item(2).Image, icon);
  EXPECT_EQ(Item(1).ID, kToolBarAnyButton);
  // The bar ends at its last button.
  EXPECT_EQ(E(kBar).Inner.w0, 47);

  // Large icons: 30 wide, the bar 32 high.
  ASSERT_EQ(tk::Window(tk, 3, 0, 320, 300, 100, "Large", Flag::SystemMenu), 3);
  CloseList(tk);
  ASSERT_EQ(CreateToolBar(tk, 8, 3, ToolBarStyle::LargeIcons), 8);
  EXPECT_EQ(E(8).Frame.h0, 32);
  ToolBarButton(tk, 20, icon);
  EXPECT_EQ(E(8).Items[0]->Frame.w0, 30);
}

TEST_F(ToolBarTest, TextUnderIconsMakesTheBarTaller) {
  ASSERT_EQ(CreateToolBar(tk, kBar, kWindow, ToolBarStyle::SmallIcons), kBar);
  const int before = E(kBar).Frame.h0;
  const int windowHeight = E(kWindow).Frame.h0;
  ToolBarButton(tk, 10, tk.builtins.SmallIcon, -1, "Open");
  platform::Painter& m = platform.Measurer();
  m.SetFont(platform.Fonts().Default());
  const platform::TextSize size = m.MeasureText("Open");
  EXPECT_EQ(E(kBar).Frame.h0, 16 + size.height + 10);
  EXPECT_GT(E(kBar).Frame.h0, before);
  EXPECT_EQ(Item(0).Frame.w0, size.width + 14);
  EXPECT_EQ(Item(0).Frame.h0, E(kBar).Inner.h0);
  // The client area makes room for the taller strip.
  EXPECT_EQ(E(kWindow).ToolStripHeight, E(kBar).Frame.h0);
  EXPECT_EQ(E(kWindow).Frame.h0, windowHeight);

  // Beside the icon (inline), the width is text + 10 + icon + 6 and the bar keeps its height.
  ASSERT_EQ(tk::Window(tk, 3, 10, 120, 300, 100, "Inline", Flag::SystemMenu), 3);
  CloseList(tk);
  ASSERT_EQ(CreateToolBar(tk, 8, 3), 8);
  ToolBarButton(tk, 20, tk.builtins.SmallIcon, -1, "Open");
  EXPECT_EQ(E(8).Items[0]->Frame.w0, size.width + 10 + 16 + 6);
  EXPECT_EQ(E(8).Frame.h0, 24);
  // The icon comes first, the text after it, without overlapping.
  RecordingPainter painter;
  PaintAll(tk, painter);
  const Element& bar = E(8);
  auto inBar = [&](const PaintCall& c) {
    return c.y >= bar.Frame.y0 && c.y < bar.Frame.y0 + bar.Frame.h0;
  };
  int imageRight = -1, textX = -1;
  for (const auto& c : painter.Of(PaintOp::DrawImage))
    if (inBar(c)) imageRight = c.x + c.w;
  for (const auto& c : painter.Texts())
    if (inBar(c) && c.text == "Open") textX = c.x;
  ASSERT_GT(imageRight, 0);
  ASSERT_GT(textX, 0);
  EXPECT_LE(imageRight, textX);
}

// Text under the icons is drawn whole below its icon, which is centred over it; an icon-only
// button of the same bar lines its icon up with the others along the top.
TEST_F(ToolBarTest, TextUnderIconsIsDrawnWholeBelowACentredIcon) {
  ASSERT_EQ(CreateToolBar(tk, kBar, kWindow, ToolBarStyle::SmallIcons), kBar);
  ToolBarButton(tk, 10, tk.builtins.SmallIcon, -1, "New");
  ToolBarButton(tk, 11, tk.builtins.SmallIcon);
  ToolBarButton(tk, 12, tk.builtins.SmallIcon, -1, "Open the form");
  RecordingPainter painter;
  PaintAll(tk, painter);
  const Element& bar = E(kBar);
  auto inBar = [&](const PaintCall& c) {
    return c.y >= bar.Frame.y0 && c.y < bar.Frame.y0 + bar.Frame.h0;
  };
  std::vector<PaintCall> images, texts;
  for (const auto& c : painter.Of(PaintOp::DrawImage))
    if (inBar(c)) images.push_back(c);
  for (const auto& c : painter.Texts())
    if (inBar(c)) texts.push_back(c);
  ASSERT_EQ(images.size(), 3u);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "New");
  EXPECT_EQ(texts[1].text, "Open the form");
  const int widths[] = {3 * painter.CharWidth(), 13 * painter.CharWidth()};
  for (int i = 0; i < 2; ++i) {
    const PaintCall& icon = images[i == 0 ? 0 : 2];
    EXPECT_GE(texts[i].y, icon.y + 16) << texts[i].text;
    EXPECT_NEAR(icon.x + 8, texts[i].x + widths[i] / 2, 1) << texts[i].text;
  }
  EXPECT_EQ(images[1].y, images[0].y);
  EXPECT_EQ(images[2].y, images[0].y);
  Repaint(tk, kWindow, true);
  EXPECT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/toolbar_snapshot.png"));
}

TEST_F(ToolBarTest, StatesToolTipsAndAPressedButton) {
  ASSERT_EQ(CreateToolBar(tk, kBar, kWindow), kBar);
  ToolBarButton(tk, 10, tk.builtins.SmallIcon, 1, "", "Save the form");
  ToolBarButton(tk, 11, tk.builtins.SmallIcon);
  EXPECT_EQ(Item(0).Checked, 1);
  EXPECT_EQ(Item(0).ToolTip, "Save the form");
  EXPECT_EQ(SetToolBarButtonState(tk, kBar, 10, 0), 1);
  EXPECT_EQ(SetToolBarButtonState(tk, kBar, 10, 7), 0);  // only read
  EXPECT_EQ(Item(0).Checked, 0);
  EXPECT_EQ(SetToolBarButtonState(tk, 2, 10, 1), 0);  // not a tool bar
  ToolBarToolTip(tk, kBar, 11, "");
  EXPECT_EQ(Item(1).ToolTip, "");

  std::vector<int> chosen;
  BindCallback(tk, MakeHandler([&](EventCode code, int value) {
                 if (code == ElementEvent::MenuEvent) chosen.push_back(value);
                 return 1;
               }),
               -1, -1, -1);
  Repaint(tk, kWindow, true);
  const Element& bar = E(kBar);
  const int x = bar.Inner.x0 + Item(1).Frame.x0 + Item(1).Frame.w0 / 2;
  const int y = bar.Inner.y0 + bar.Inner.h0 / 2;
  platform.InjectMove(3, 3);
  platform.InjectMove(x, y);
  platform.InjectClick(x, y);
  PumpEvents(tk);
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], 11);
}

TEST_F(ToolBarTest, SharedIdsAndStyleFlagsWithoutASize) {
  // Text beside the icons but no size asked for: small icons, not a bar of no height.
  ASSERT_EQ(CreateToolBar(tk, kBar, kWindow, ToolBarStyle::InlineText), kBar);
  EXPECT_EQ(E(kBar).Frame.h0, 24);
  // A separator and a button added with id -1 share an id; state and tip go to the button.
  ToolBarSeparator(tk);
  const int index = ToolBarButton(tk, -1, tk.builtins.SmallIcon, 1, "A", "tip");
  EXPECT_EQ(Item(0).Checked, 0);
  EXPECT_EQ(Item(0).ToolTip, "");
  EXPECT_EQ(Item(index).Checked, 1);
  EXPECT_EQ(Item(index).ToolTip, "tip");
}

// A child window that grows for its bar makes its parent grow enough to hold it.
TEST_F(ToolBarTest, TheParentOfAGrowingChildWindowHoldsIt) {
  ASSERT_EQ(tk::Window(tk, 3, 10, 60, 200, 160, "Child", Flag::SystemMenu, kWindow), 3);
  CloseList(tk);
  ASSERT_EQ(CreateToolBar(tk, kBar, 3, ToolBarStyle::LargeIcons), kBar);
  const Element& child = E(3);
  const Element& parent = E(kWindow);
  EXPECT_GE(parent.Inner.y0 + parent.Inner.h0, child.Frame.y0 + child.Frame.h0);
}

}  // namespace
}  // namespace tk::testing
