// The StatusBar kind: one bar per window, the window growing for it, fields laid out from the
// left with the anchored field at the right edge, and the fields' texts and looks.
#include "elements/statusbar.h"

#include <cstdlib>
#include <string>

#include "core/coords.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/paint.h"
#include "render/repaint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

constexpr int kWindow = 1, kBar = 5;

class StatusBarTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 20, 20, 500, 300, "Main", Flag::SystemMenu), kWindow);
    ASSERT_EQ(Button(tk, 2, 10, 10, 100, 30, "Stays"), 2);
    CloseList(tk);
  }
  Element& E(int id) { return *FindElement(tk, id); }
  Element& FieldOf(int field) { return *E(kBar).ItemMap.at(field); }
};

TEST_F(StatusBarTest, TheWindowGrowsAndHoldsOneBarAtItsBottom) {
  const int height = E(kWindow).Frame.h0;
  const int buttonY = E(2).Frame.y0;
  ASSERT_EQ(CreateStatusBar(tk, kBar, kWindow), kBar);
  EXPECT_EQ(tk.root.LastStatusBar, kBar);
  EXPECT_EQ(E(kWindow).Frame.h0, height + 27);
  EXPECT_EQ(E(2).Frame.y0, buttonY);  // the children do not move
  EXPECT_EQ(E(kWindow).StatusStripHeight, 23);
  // The bar lies along the bottom of the window, below its inner area.
  const Element& w = E(kWindow);
  const Element& bar = E(kBar);
  EXPECT_EQ(bar.Frame.h0, 23);
  EXPECT_EQ(bar.Frame.w0, w.Inner.w0);
  EXPECT_EQ(bar.Frame.y0, w.Inner.y0 + w.Inner.h0);
  EXPECT_LE(bar.Frame.y0 + bar.Frame.h0, w.Frame.y0 + w.Frame.h0);
  // It already holds the 17-pixel anchored field at the right edge.
  ASSERT_EQ(bar.Items.size(), 1u);
  EXPECT_EQ(FieldOf(kAnchoredField).Frame.w0, 17);
  EXPECT_EQ(FieldOf(kAnchoredField).Frame.x0, bar.Frame.w0 - 17);

  // A second bar is refused and resets the Root's last status bar.
  EXPECT_EQ(CreateStatusBar(tk, 6, kWindow), -1);
  EXPECT_EQ(FindElement(tk, 6), nullptr);
  EXPECT_EQ(tk.root.LastStatusBar, -1);
  EXPECT_EQ(AddStatusBarField(tk, 50), -1);  // nowhere to add
  // Not a window: nothing.
  EXPECT_EQ(CreateStatusBar(tk, 7, 2), -1);
  EXPECT_EQ(CreateStatusBar(tk, 7, 999), -1);
}

TEST_F(StatusBarTest, FieldsLieSideBySideAndAFillFieldTakesTheRest) {
  ASSERT_EQ(CreateStatusBar(tk, kBar, kWindow), kBar);
  EXPECT_EQ(AddStatusBarField(tk, 100), 0);
  EXPECT_EQ(AddStatusBarField(tk, 150), 1);
  EXPECT_EQ(AddStatusBarField(tk, kFillWidth), 2);
  EXPECT_EQ(FieldOf(0).Frame.x0, 0);
  EXPECT_EQ(FieldOf(0).Frame.w0, 100);
  EXPECT_EQ(FieldOf(1).Frame.x0, 100);
  EXPECT_EQ(FieldOf(1).Frame.w0, 150);
  EXPECT_EQ(FieldOf(2).Frame.x0, 250);
  EXPECT_EQ(FieldOf(2).Frame.w0, E(kBar).Frame.w0 - 17 - 250 - 100);
  EXPECT_EQ(FieldOf(2).Frame.h0, 23);
  // A number already taken is refused; an explicit one is kept.
  EXPECT_EQ(AddStatusBarField(tk, 30, 1), -1);
  EXPECT_EQ(AddStatusBarField(tk, 30, 9), 9);
  EXPECT_EQ(FieldOf(9).Frame.x0, 250 + FieldOf(2).Frame.w0);

  // Every bar numbers its own fields from 0.
  ASSERT_EQ(tk::Window(tk, 3, 20, 400, 300, 100, "Other", Flag::SystemMenu), 3);
  CloseList(tk);
  ASSERT_EQ(CreateStatusBar(tk, 8, 3), 8);
  EXPECT_EQ(AddStatusBarField(tk, 60), 0);
}

TEST_F(StatusBarTest, TextAndLookOfAField) {
  ASSERT_EQ(CreateStatusBar(tk, kBar, kWindow), kBar);
  AddStatusBarField(tk, 120);
  AddStatusBarField(tk, 120);
  ASSERT_TRUE(StatusBarText(tk, kBar, 0, "Ready"));
  ASSERT_TRUE(StatusBarText(tk, kBar, 1, "Готово", FieldLook::Right));
  EXPECT_EQ(FieldOf(0).Text, "Ready");
  EXPECT_EQ(FieldOf(0).Flags, 0x4002100u);
  EXPECT_EQ(FieldOf(1).Flags, 0x4002400u);
  StatusBarText(tk, kBar, 0, "Plain", FieldLook::Borderless);
  EXPECT_EQ(FieldOf(0).Flags, 0x2100u);
  StatusBarText(tk, kBar, 0, "Not left", FieldLook::NotLeft);
  EXPECT_EQ(FieldOf(0).Flags, 0x4002000u);
  EXPECT_FALSE(StatusBarText(tk, kBar, 5, "no field"));
  EXPECT_FALSE(StatusBarText(tk, 2, 0, "not a bar"));

  // Both texts are drawn inside the bar: the right-aligned one ends near its field's right.
  RecordingPainter painter;
  PaintAll(tk, painter);
  int readyX = -1, rightEnd = -1;
  for (const auto& t : painter.Texts()) {
    if (t.text == "Not left") readyX = t.x;
    if (t.text == "Готово") rightEnd = t.x + RecordingPainter::CodePoints(t.text) * 7;
  }
  const Element& bar = E(kBar);
  ASSERT_GE(readyX, bar.Frame.x0);
  ASSERT_GT(rightEnd, 0);
  const int field1Right = bar.Frame.x0 + FieldOf(1).Frame.x0 + FieldOf(1).Frame.w0;
  EXPECT_LE(rightEnd, field1Right);
  EXPECT_GT(rightEnd, field1Right - 12);

  if (const char* dir = std::getenv("TK_SCREENSHOTS")) {
    Repaint(tk, kWindow, true);
    platform.SavePng(std::string(dir) + "/statusbar.png");
  }
}

TEST_F(StatusBarTest, ExplicitAndAutomaticNumbersDoNotLoseFields) {
  ASSERT_EQ(CreateStatusBar(tk, kBar, kWindow), kBar);
  EXPECT_EQ(AddStatusBarField(tk, 50, 2), 2);
  EXPECT_EQ(AddStatusBarField(tk, 50), 0);
  EXPECT_EQ(AddStatusBarField(tk, 50), 1);
  for (int field : {0, 1, 2, kAnchoredField})
    EXPECT_TRUE(StatusBarText(tk, kBar, field, "x")) << field;
  EXPECT_EQ(FieldOf(2).Frame.x0, 0);
  EXPECT_EQ(FieldOf(1).Frame.x0, 100);
}

}  // namespace
}  // namespace tk::testing
