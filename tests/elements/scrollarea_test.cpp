// The ScrollArea kind: its content and bars at creation, clamped scrolling that moves the
// content, showing and hiding the bars as the content size changes, and the step.
#include "elements/scrollarea.h"

#include <string>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/list.h"
#include "elements/registry.h"
#include "elements/scrollbar.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/paint.h"
#include "render/repaint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

constexpr int kWindow = 1, kArea = 10;

class ScrollAreaTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 800, 600, "Main", Flag::SystemMenu), kWindow);
    ASSERT_EQ(ScrollArea(tk, kArea, 10, 10, 200, 150, 400, 600, 10, 0, kWindow), kArea);
    Button(tk, 50, 5, 5, 80, 25, "In content");
    CloseList(tk);
  }
  Element& Area() { return *FindElement(tk, kArea); }
  Element& Content() { return *FindElement(tk, Area().Attached[0]); }
  Element& VBar() { return *FindElement(tk, Area().Attached[1]); }
  Element& HBar() { return *FindElement(tk, Area().Attached[2]); }
  int ContentY() { return Content().Frame.y0 - Area().Inner.y0; }
  int ContentX() { return Content().Frame.x0 - Area().Inner.x0; }
};

TEST_F(ScrollAreaTest, CreationBuildsContentAndBarsAndChildrenLandInTheContent) {
  ASSERT_NE(FindElement(tk, Area().Attached[0]), nullptr);
  EXPECT_EQ(VBar().Kind, ElementKind::ScrollBar);
  EXPECT_EQ(HBar().Kind, ElementKind::ScrollBar);
  EXPECT_NE(VBar().Vertical, 0);
  EXPECT_EQ(VBar().Attached[0], kArea);
  EXPECT_EQ(GetParent(tk, 50), Content().ID);
  EXPECT_NE(tk.root.OpenList, Content().ID);  // CloseList closed the content and the area
  EXPECT_NE(tk.root.OpenList, kArea);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 1), 400);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 2), 600);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 5), 10);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 9), 0);
  // Both dimensions overflow: both bars show.
  EXPECT_EQ(VBar().Hidden, 0);
  EXPECT_EQ(HBar().Hidden, 0);
  EXPECT_EQ(Content().Frame.h0, 600);
  EXPECT_EQ(Content().Frame.w0, 400);  // setting the height kept the width
}

TEST_F(ScrollAreaTest, ScrollingIsClampedByTheBarAndMovesTheContent) {
  SetElementColor(tk, kArea, 4, 100000);
  const int clamped = VBar().Max - VBar().PageLength;
  ASSERT_GT(clamped, 0);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 4), clamped);
  EXPECT_EQ(VBar().Value, clamped);
  EXPECT_EQ(ContentY(), -clamped);

  SetElementColor(tk, kArea, 3, 30);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 3), 30);
  EXPECT_EQ(ContentX(), -30);

  // The same value again moves nothing.
  const int x = Content().Frame.x0, y = Content().Frame.y0;
  SetElementColor(tk, kArea, 4, clamped);
  SetElementColor(tk, kArea, 3, 30);
  EXPECT_EQ(Content().Frame.x0, x);
  EXPECT_EQ(Content().Frame.y0, y);

  // Moving the bar scrolls the area with it.
  SetElementState(tk, VBar().ID, 12);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 4), 12);
  EXPECT_EQ(ContentY(), -12);
}

TEST_F(ScrollAreaTest, ShortContentHidesItsBarAndStepReachesBothBars) {
  SetElementColor(tk, kArea, 1, 100);
  EXPECT_NE(HBar().Hidden, 0);
  SetElementColor(tk, kArea, 2, 50);
  EXPECT_NE(VBar().Hidden, 0);
  EXPECT_EQ(Area().Hidden, 0);  // hiding its bar leaves the area itself alone
  EXPECT_EQ(Content().Hidden, 0);
  EXPECT_EQ(Content().Frame.w0, Area().Inner.w0);  // the full visible width
  EXPECT_EQ(Content().Frame.h0, 50);
  EXPECT_EQ(HBar().Frame.w0, Area().Inner.w0);
  SetElementColor(tk, kArea, 2, 900);
  EXPECT_EQ(VBar().Hidden, 0);
  EXPECT_EQ(Content().Frame.w0, Area().Inner.w0 - VBar().Frame.w0);
  EXPECT_EQ(Content().Frame.h0, 900);

  SetElementColor(tk, kArea, 5, 7);
  EXPECT_EQ(VBar().ArrowSize, 7);
  EXPECT_EQ(HBar().ArrowSize, 7);
  // An id that names nothing is ignored.
  EXPECT_EQ(SetElementColor(tk, 999, 4, 5), 0);
}

TEST_F(ScrollAreaTest, ElementsAddedLaterStayBesideTheShownBars) {
  // Created after the bars, reaching under the vertical one.
  OpenList(tk, kArea);
  Button(tk, 60, 150, 40, 100, 25, "Late");
  CloseList(tk);
  ASSERT_EQ(GetParent(tk, 60), Content().ID);
  auto late = [&]() -> Element& { return *FindElement(tk, 60); };
  ASSERT_GT(late().Frame.x0 + late().Frame.w0, VBar().Frame.x0);
  EXPECT_EQ(late().Clip.x0 + late().Clip.w0, VBar().Frame.x0);

  // The pointer over the bar finds the bar, beside it the button.
  const int y = late().Frame.y0 + 10;
  Repaint(tk, kWindow, true);
  platform.InjectMove(3, 3);  // the first report only makes the position known
  PumpEvents(tk);
  platform.InjectMove(VBar().Frame.x0 + 5, y);
  PumpEvents(tk);
  EXPECT_EQ(tk.root.PointerElement, VBar().ID);
  platform.InjectMove(VBar().Frame.x0 - 5, y);
  PumpEvents(tk);
  EXPECT_EQ(tk.root.PointerElement, 60);

  // With the bar hidden the button shows up to the area's edge.
  SetElementColor(tk, kArea, 2, 50);
  ASSERT_NE(VBar().Hidden, 0);
  EXPECT_EQ(late().Clip.x0 + late().Clip.w0, Area().Inner.x0 + Area().Inner.w0);
}

TEST_F(ScrollAreaTest, TheWheelAfterAPressInsideTheContentScrollsTheArea) {
  Repaint(tk, kWindow, true);
  const Element& button = *FindElement(tk, 50);
  const int x = button.Frame.x0 + 5, y = button.Frame.y0 + 5;
  platform.InjectMove(3, 3);
  platform.InjectMove(x, y);
  platform.InjectClick(x, y);
  PumpEvents(tk);
  ASSERT_EQ(tk.root.UsedElement, 50);
  const int before = ContentY();

  platform::NativeEvent wheel;
  wheel.type = platform::NativeEventType::Wheel;
  wheel.x = x;
  wheel.y = y;
  wheel.wheel = -3;  // towards the user: further down the content
  platform.Inject(wheel);
  PumpEvents(tk);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 4), 15);
  EXPECT_EQ(ContentY(), before - 15);
  wheel.wheel = 5;  // back up past the start: clamped at 0
  platform.Inject(wheel);
  PumpEvents(tk);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 4), 0);
  EXPECT_EQ(ContentY(), before);
  // Past the start the wheel keeps no debt: one notch down moves at once.
  wheel.wheel = -1;
  platform.Inject(wheel);
  PumpEvents(tk);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 4), 5);
}

// The wheel scrolls the area it is turned over, also while something else is in use (here
// its window) and over the bare content, and turns the element in use only when nothing under
// the pointer scrolls.
TEST_F(ScrollAreaTest, TheWheelOverTheContentScrollsTheAreaWithoutAPress) {
  ListView(tk, 70, 300, 10, 150, 60, "", 0, kWindow);
  for (int i = 0; i < 20; ++i)
    AddListItem(tk, 70, i, "Row " + std::to_string(i));
  Repaint(tk, kWindow, true);
  platform.InjectMove(3, 3);
  PumpEvents(tk);
  auto wheelAt = [&](int x, int y, int notches) {
    platform.InjectMove(x, y);
    platform::NativeEvent wheel;
    wheel.type = platform::NativeEventType::Wheel;
    wheel.x = x;
    wheel.y = y;
    wheel.wheel = notches;
    platform.Inject(wheel);
    PumpEvents(tk);
  };
  ASSERT_EQ(tk.root.UsedElement, kWindow);
  const Element& button = *FindElement(tk, 50);
  wheelAt(button.Frame.x0 + 5, button.Frame.y0 + 12, -1);  // over the button
  EXPECT_EQ(GetElementAttribute(tk, kArea, 4), 5);
  wheelAt(button.Frame.x0 + 5, button.Frame.y0 + 60, -3);  // below it, over the content
  EXPECT_EQ(GetElementAttribute(tk, kArea, 4), 20);
  EXPECT_EQ(ContentY(), -20);

  // With the list in use, the wheel over the area still scrolls the area...
  const Element& list = *FindElement(tk, 70);
  platform.InjectMove(list.Frame.x0 + 20, list.Frame.y0 + 20);
  platform.InjectClick(list.Frame.x0 + 20, list.Frame.y0 + 20);
  PumpEvents(tk);
  ASSERT_EQ(tk.root.UsedElement, 70);
  wheelAt(button.Frame.x0 + 5, button.Frame.y0 + 60, -1);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 4), 25);
  EXPECT_EQ(list.VScroll, 0);
  // ... and over nothing that scrolls it turns the list.
  wheelAt(500, 300, -1);
  EXPECT_EQ(GetElementAttribute(tk, kArea, 4), 25);
  EXPECT_GT(list.VScroll, 0);
}

// Scrolled content reaches beyond its view by design and gets no red overhang marks; a child
// sticking out of an ordinary window still does.
TEST_F(ScrollAreaTest, ScrolledContentIsNotMarkedAsStickingOut) {
  auto redLines = [&] {
    testing::RecordingPainter painter;
    PaintAll(tk, painter);
    int n = 0;
    for (const auto& c : painter.Of(testing::PaintOp::Line))
      if (c.color == 0x0000FF) ++n;
    return n;
  };
  Button(tk, 51, 700, 10, 200, 25, "Sticks out", 0, kWindow);
  const int withOverhang = redLines();
  EXPECT_GT(withOverhang, 0);
  FreeElement(tk, 51);
  EXPECT_EQ(redLines(), 0);  // the content and its button (5, 5 in 400 x 600) stick out
}

// A bar shows only when its axis does not fit the room the other bar leaves, and scrolling
// ends where the content's end meets the view's end. Read from the canvas.
TEST_F(ScrollAreaTest, BarsShowOnlyWhenNeededAndScrollingStopsAtTheContentsEnd) {
  constexpr int kSmall = 11, kTall = 12, kMark = 70;
  ASSERT_EQ(ScrollArea(tk, kSmall, 250, 10, 302, 202, 100, 100, 10, 0, kWindow), kSmall);
  CloseList(tk);
  ASSERT_EQ(ScrollArea(tk, kTall, 250, 250, 302, 133, 100, 600, 10, 0, kWindow), kTall);
  Text(tk, kMark, 0, 580, 100, 20, "");  // the last 20 rows of the content
  CloseList(tk);
  FindElement(tk, kMark)->BackColor = 0x0000FF;
  FindElement(tk, kMark)->BackgroundMode = Background::Plain;
  const Element& small = *FindElement(tk, kSmall);
  const Element& tall = *FindElement(tk, kTall);
  ASSERT_EQ(tall.Inner.h0, 131);
  SetElementColor(tk, kTall, 4, 100000);
  Repaint(tk, kWindow, true);
  ASSERT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/scrollarea_snapshot.png"));

  // 100 x 100 in 300 x 200: no bar, the strip along the bottom edge is the area's face.
  const uint32_t face = platform.CanvasPixel(small.Inner.x0 + 200, small.Inner.y0 + 150);
  int notFace = 0;
  for (int y = small.Inner.y0 + small.Inner.h0 - 17; y < small.Inner.y0 + small.Inner.h0; ++y)
    for (int x = small.Inner.x0; x < small.Inner.x0 + small.Inner.w0; ++x)
      notFace += platform.CanvasPixel(x, y) != face ? 1 : 0;
  EXPECT_EQ(notFace, 0);
  EXPECT_NE(FindElement(tk, small.Attached[2])->Hidden, 0);
  EXPECT_NE(FindElement(tk, small.Attached[1])->Hidden, 0);

  // 600 high in 131: the end is 469 down, and there the mark fills the view's last row.
  EXPECT_EQ(GetElementAttribute(tk, kTall, 4), 600 - 131);
  EXPECT_NE(FindElement(tk, tall.Attached[2])->Hidden, 0);
  const Element& content = *FindElement(tk, tall.Attached[0]);
  const Element& mark = *FindElement(tk, kMark);
  EXPECT_EQ(content.Frame.y0 + content.Frame.h0, tall.Inner.y0 + tall.Inner.h0);
  const int lastRow = tall.Inner.y0 + tall.Inner.h0 - 1;
  EXPECT_EQ(platform.CanvasPixel(tall.Inner.x0 + 50, lastRow), 0xFF0000u);
  EXPECT_EQ(platform.CanvasPixel(tall.Inner.x0 + 50, mark.Frame.y0), 0xFF0000u);
  EXPECT_NE(platform.CanvasPixel(tall.Inner.x0 + 50, mark.Frame.y0 - 1), 0xFF0000u);

  // Shrunk to an 80 x 80 view, both bars are needed, each beside the other.
  ResizeElementById(tk, kSmall, kIgnore, kIgnore, 82, 82);
  EXPECT_EQ(FindElement(tk, small.Attached[1])->Hidden, 0);
  EXPECT_EQ(FindElement(tk, small.Attached[2])->Hidden, 0);
  SetElementColor(tk, kSmall, 4, 1000);
  EXPECT_EQ(GetElementAttribute(tk, kSmall, 4), 100 - (80 - 17));
}

}  // namespace
}  // namespace tk::testing
