// The Splitter kind: pane layout for a position, minimum sizes, pane attributes, re-division
// on resize, drawing, the flag report, and separator dragging with its pointer.
#include "elements/splitter.h"

#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/script.h"
#include "elements/panel.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/paint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

using platform::Cursor;
using platform::NativeEvent;
using platform::NativeEventType;
using testing::PaintCall;
using testing::PaintOp;
using testing::RecordingPainter;

constexpr int kWindow = 1;
constexpr int kFirst = 2;
constexpr int kSecond = 3;
constexpr int kSplit = 10;
constexpr platform::PColor kLineColor = 0x686868;

class SplitterTest : public testing::ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(Window(tk, kWindow, 0, 0, 600, 400, "Main"), kWindow);
  }

  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }

  // Two containers joined by a 300 x 200 splitter at (10, 20) in the window.
  void Build(Flags64 flags) {
    ASSERT_EQ(Container(tk, kFirst, 0, 0, 50, 50, 0, kWindow), kFirst);
    ASSERT_EQ(Container(tk, kSecond, 0, 0, 50, 50, 0, kWindow), kSecond);
    ASSERT_EQ(Splitter(tk, kSplit, 10, 20, 300, 200, kFirst, kSecond, flags, kWindow), kSplit);
  }

  // Pane rectangle relative to the splitter's inner origin: x, y, width, height.
  std::vector<int> Pane(int id) {
    const Element& s = E(kSplit);
    const Element& p = E(id);
    return {p.Frame.x0 - s.Inner.x0, p.Frame.y0 - s.Inner.y0, p.Frame.w0, p.Frame.h0};
  }

  void Native(NativeEventType type, int x, int y) {
    NativeEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    platform.Inject(event);
    PumpEvents(tk);
  }
};

TEST_F(SplitterTest, PositionLaysThePanesOutWithinTheMinimumSizes) {
  Build(Flag::Vertical | Flag::Separator);
  Element& s = E(kSplit);
  EXPECT_EQ(s.SplitterBar, 4);
  EXPECT_EQ(E(kFirst).ParentID, kSplit);
  EXPECT_EQ(E(kSecond).ParentID, kSplit);

  // The requested position names the separator's middle.
  SetElementState(tk, kSplit, 100);
  EXPECT_EQ(GetElementState(tk, kSplit), 98.0);
  EXPECT_EQ(Pane(kFirst), (std::vector<int>{0, 0, 97, 200}));
  EXPECT_EQ(Pane(kSecond), (std::vector<int>{102, 0, 198, 200}));

  // Inside the first minimum nothing changes, neither the position nor the panes.
  SetElementColor(tk, kSplit, SplitterAttribute::FirstMinimumSize, 120);
  EXPECT_EQ(GetElementAttribute(tk, kSplit, SplitterAttribute::FirstMinimumSize), 120);
  SetElementState(tk, kSplit, 110);
  EXPECT_EQ(GetElementState(tk, kSplit), 98.0);
  EXPECT_EQ(Pane(kFirst)[2], 97);

  // Leaving the second pane below its minimum stores the position only.
  SetElementColor(tk, kSplit, SplitterAttribute::FirstMinimumSize, 0);
  SetElementColor(tk, kSplit, SplitterAttribute::SecondMinimumSize, 100);
  EXPECT_EQ(GetElementAttribute(tk, kSplit, SplitterAttribute::SecondMinimumSize), 100);
  SetElementState(tk, kSplit, 250);
  EXPECT_EQ(GetElementState(tk, kSplit), 248.0);
  EXPECT_EQ(Pane(kFirst), (std::vector<int>{0, 0, 97, 200}));
  EXPECT_EQ(Pane(kSecond), (std::vector<int>{102, 0, 198, 200}));

  // A position far past the end is held to the end less the separator.
  SetElementColor(tk, kSplit, SplitterAttribute::SecondMinimumSize, 0);
  SetElementState(tk, kSplit, 1000);
  EXPECT_EQ(GetElementState(tk, kSplit), 296.0);
  SetElementState(tk, kSplit, 150);
  EXPECT_EQ(Pane(kFirst), (std::vector<int>{0, 0, 147, 200}));
  EXPECT_EQ(Pane(kSecond), (std::vector<int>{152, 0, 148, 200}));
}

TEST_F(SplitterTest, HorizontalSplitterWithGripStacksThePanes) {
  Build(Flag::SplitterGrip);
  EXPECT_EQ(E(kSplit).SplitterBar, 6);
  SetElementState(tk, kSplit, 80);
  EXPECT_EQ(GetElementState(tk, kSplit), 77.0);
  EXPECT_EQ(Pane(kFirst), (std::vector<int>{0, 0, 300, 76}));
  EXPECT_EQ(Pane(kSecond), (std::vector<int>{0, 83, 300, 117}));
}

TEST_F(SplitterTest, PaneAttributesReparentAndResizingRedivides) {
  Build(Flag::Vertical | Flag::Separator);
  EXPECT_EQ(GetElementAttribute(tk, kSplit, SplitterAttribute::FirstGadget), kFirst);
  EXPECT_EQ(GetElementAttribute(tk, kSplit, SplitterAttribute::SecondGadget), kSecond);
  EXPECT_EQ(GetElementAttribute(tk, kSplit, 99), 0);
  SetElementState(tk, kSplit, 100);

  // A new first pane moves into the splitter and is laid out at once.
  ASSERT_EQ(Container(tk, 4, 400, 300, 20, 20, 0, kWindow), 4);
  SetElementColor(tk, kSplit, SplitterAttribute::FirstGadget, 4);
  EXPECT_EQ(E(4).ParentID, kSplit);
  EXPECT_EQ(GetElementAttribute(tk, kSplit, SplitterAttribute::FirstGadget), 4);
  EXPECT_EQ(E(kSplit).Items[0]->Text, "4");
  EXPECT_EQ(Pane(4), (std::vector<int>{0, 0, 97, 200}));

  // Wider: the second pane takes the extra room; moved as well: the panes stay inside.
  ResizeElementById(tk, kSplit, 40, 50, 400, 250);
  EXPECT_EQ(Pane(4), (std::vector<int>{0, 0, 97, 250}));
  EXPECT_EQ(Pane(kSecond), (std::vector<int>{102, 0, 298, 250}));
  EXPECT_EQ(E(kSecond).Frame.x0, E(kWindow).Inner.x0 + 40 + 102);

  // Moving the window moves the splitter, and the panes follow exactly once.
  ResizeElementById(tk, kWindow, 30, 30, kIgnore, kIgnore);
  EXPECT_EQ(Pane(4), (std::vector<int>{0, 0, 97, 250}));
  EXPECT_EQ(Pane(kSecond), (std::vector<int>{102, 0, 298, 250}));

  // Colours still reach the core; an absent splitter answers neutrally.
  SetElementColor(tk, kSplit, Attribute::FrontColor, 0x123456);
  EXPECT_EQ(E(kSplit).FrontColor, 0x123456);
  EXPECT_EQ(GetElementAttribute(tk, 999, SplitterAttribute::FirstGadget), 0);
}

TEST_F(SplitterTest, SecondFixedKeepsTheSecondPaneOnResize) {
  Build(Flag::Vertical | Flag::Separator | Flag::SecondFixed);
  SetElementState(tk, kSplit, 100);
  ResizeElementById(tk, kSplit, kIgnore, kIgnore, 400, kIgnore);
  EXPECT_EQ(Pane(kSecond), (std::vector<int>{202, 0, 198, 200}));
  EXPECT_EQ(Pane(kFirst)[2], 197);
}

TEST_F(SplitterTest, DrawsOutlinesGripsAndTheSeparatorLine) {
  Build(Flag::Vertical | Flag::Separator);
  SetElementState(tk, kSplit, 100);
  Element& s = E(kSplit);
  const int x = s.Frame.x0, y = s.Frame.y0;
  RecordingPainter painter;
  PaintItems(tk, painter, s);
  std::vector<PaintCall> boxes = painter.Of(PaintOp::Box);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(std::vector<int>({boxes[0].x, boxes[0].y, boxes[0].w, boxes[0].h}),
            std::vector<int>({x, y, 97, 200}));
  EXPECT_EQ(std::vector<int>({boxes[1].x, boxes[1].y, boxes[1].w, boxes[1].h}),
            std::vector<int>({x + 102, y, 198, 200}));
  EXPECT_EQ(boxes[0].mode, platform::DrawMode::Outlined);
  EXPECT_EQ(boxes[0].color, kLineColor);
  std::vector<PaintCall> lines = painter.Of(PaintOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(std::vector<int>({lines[0].x, lines[0].y, lines[0].w, lines[0].h}),
            std::vector<int>({x + 99, y, 1, 200}));
  EXPECT_EQ(painter.Count(PaintOp::Circle), 0);

  // Grip dots replace the line; a horizontal splitter lines them up across its width.
  SetElementFlags(tk, kSplit, Flag::SplitterGrip);
  s.Flags &= ~Flag::Vertical;
  EXPECT_EQ(s.SplitterBar, 6);
  SetElementState(tk, kSplit, 80);
  painter.Clear();
  PaintItems(tk, painter, s);
  EXPECT_EQ(painter.Count(PaintOp::Line), 0);
  std::vector<PaintCall> dots = painter.Of(PaintOp::Circle);
  ASSERT_EQ(dots.size(), 5u);
  const int expectedX[] = {135, 143, 149, 155, 163};
  for (size_t i = 0; i < dots.size(); ++i) {
    EXPECT_EQ(dots[i].x, x + expectedX[i]) << i;
    EXPECT_EQ(dots[i].y, y + 77 + 2) << i;
    EXPECT_EQ(dots[i].w, 2) << i;
  }

  // Without a separator flag only the outlines remain.
  s.Flags &= ~(Flag::SplitterGrip | Flag::Separator);
  painter.Clear();
  PaintItems(tk, painter, s);
  EXPECT_EQ(painter.Count(PaintOp::Box), 2);
  EXPECT_EQ(painter.Count(PaintOp::Line) + painter.Count(PaintOp::Circle), 0);
}

TEST(SplitterFlags, ReportForTheCodeGenerator) {
  EXPECT_EQ(SplitterFlagReport(Flag::Vertical | Flag::Separator), 3);
  EXPECT_EQ(
      SplitterFlagReport(Flag::Vertical | Flag::Separator | Flag::SplitterGrip | Flag::FirstFixed),
      0x40004);
  EXPECT_EQ(SplitterFlagReport(Flag::SecondFixed | Flag::Vertical), 9);
  EXPECT_EQ(SplitterFlagReport(Flag::FirstFixed | Flag::SecondFixed), 4);
  EXPECT_EQ(SplitterFlagReport(Flag::BorderLess), 0);
}

TEST_F(SplitterTest, PanelPaneShowsEachTabOnceAndKeepsItsCurrentTab) {
  ASSERT_EQ(Panel(tk, kFirst, 0, 0, 50, 50, 0, kWindow), kFirst);
  for (const char* title : {"A", "B", "C"})
    AddTab(tk, kFirst, -1, title);
  SetElementState(tk, kFirst, 1);
  ASSERT_EQ(Container(tk, kSecond, 0, 0, 50, 50, 0, kWindow), kSecond);
  std::vector<int> shown;
  BindCallback(tk, MakeHandler([&](EventCode code, int value) {
                 if (code == ElementEvent::Change && tk.root.Event.EventElement == kFirst)
                   shown.push_back(value);
                 return 1;
               }),
               -1, -1, -1);
  ASSERT_EQ(Splitter(tk, kSplit, 0, 0, 300, 200, kFirst, kSecond, Flag::Vertical, kWindow), kSplit);
  ASSERT_GE(shown.size(), 4u);
  EXPECT_EQ(std::vector<int>(shown.end() - 4, shown.end()), (std::vector<int>{0, 1, 2, 1}));
  EXPECT_EQ(GetElementState(tk, kFirst), 1.0);
}

// An inner splitter made a pane of an outer one keeps its separator where it was, and draws
// its grip there.
TEST_F(SplitterTest, AnInnerSplitterKeepsItsSeparatorWhenAnOuterOneIsMade) {
  Build(Flag::Vertical | Flag::SplitterGrip);
  ASSERT_EQ(E(kSplit).SplitterBar, 6);
  SetElementState(tk, kSplit, 150);
  ASSERT_EQ(E(kSplit).SplitterPos, 147);
  const std::vector<int> first = Pane(kFirst), second = Pane(kSecond);
  ASSERT_EQ(Container(tk, 4, 0, 0, 50, 50, 0, kWindow), 4);
  ASSERT_EQ(Splitter(tk, 11, 0, 0, 300, 500, kSplit, 4, 0, kWindow), 11);
  ASSERT_EQ(E(kSplit).Inner.w0, 300);  // the same width as before: nothing to re-divide
  EXPECT_EQ(E(kSplit).SplitterPos, 147);
  EXPECT_EQ(Pane(kFirst), first);
  EXPECT_EQ(Pane(kSecond)[0], second[0]);
  RecordingPainter painter;
  PaintItems(tk, painter, E(kSplit));
  const std::vector<PaintCall> dots = painter.Of(PaintOp::Circle);
  ASSERT_EQ(dots.size(), 5u);
  EXPECT_EQ(dots[2].x, E(kSplit).Frame.x0 + 147 + (6 - 1) / 2);
}

// Pointer shape and dragging through the headless backend's native events.
TEST_F(SplitterTest, PointerOverTheSeparatorAndANativeDrag) {
  Build(Flag::Vertical | Flag::Separator);
  SetElementState(tk, kSplit, 100);
  ASSERT_TRUE(designer::StartSession(tk, kWindow));
  const int sx = E(kSplit).Inner.x0, sy = E(kSplit).Inner.y0 + 100;

  Native(NativeEventType::MouseMove, sx + 40, sy);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
  Native(NativeEventType::MouseMove, sx + 99, sy);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::LeftRight);
  Native(NativeEventType::MouseMove, sx + 200, sy);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
  EXPECT_EQ(GetElementState(tk, kSplit), 98.0);

  Native(NativeEventType::MouseMove, sx + 100, sy);
  Native(NativeEventType::LeftButtonDown, sx + 100, sy);
  for (int x = 110; x <= 150; x += 10)
    Native(NativeEventType::MouseMove, sx + x, sy);
  Native(NativeEventType::LeftButtonUp, sx + 150, sy);
  EXPECT_EQ(GetElementState(tk, kSplit), 148.0);
  EXPECT_EQ(Pane(kFirst)[2], 147);
  EXPECT_EQ(Pane(kSecond), (std::vector<int>{152, 0, 148, 200}));

  // Released, then over the pane: the pointer comes back and moving no longer drags.
  Native(NativeEventType::MouseMove, sx + 60, sy);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
  EXPECT_EQ(GetElementState(tk, kSplit), 148.0);
  EXPECT_FALSE(tk.dispatch.SplitterDragging);
}

// The splitter is created after its panes and lies over them in the list; presses inside a
// pane still reach the pane and what it holds.
TEST_F(SplitterTest, PanesTakeThePointerAndTheSeparatorStaysTheSplitters) {
  ASSERT_EQ(Panel(tk, kFirst, 0, 0, 50, 50, 0, kWindow), kFirst);
  for (const char* title : {"One", "Two"})
    AddTab(tk, kFirst, -1, title);
  ASSERT_EQ(Container(tk, kSecond, 0, 0, 50, 50, 0, kWindow), kSecond);
  OpenList(tk, kSecond);
  ASSERT_EQ(Button(tk, 20, 10, 10, 80, 25, "In pane"), 20);
  CloseList(tk);
  ASSERT_EQ(Splitter(tk, kSplit, 10, 20, 300, 200, kFirst, kSecond,
                     Flag::Vertical | Flag::Separator, kWindow),
            kSplit);
  SetElementState(tk, kSplit, 150);
  ASSERT_TRUE(designer::StartSession(tk, kWindow));
  int clicks = 0;
  BindCallback(tk, MakeHandler([&](EventCode code, int) {
                 if (code == ElementEvent::LeftClick && tk.root.Event.EventElement == 20) ++clicks;
                 return 1;
               }),
               -1, -1, -1);

  const Element& panel = E(kFirst);
  const Element& second = *panel.Items[1];
  const int tx = panel.Inner.x0 + 1 + second.Frame.x0 + second.Frame.w0 / 2;
  const int ty = panel.Inner.y0 - panel.CaptionHeight + 1 + second.Frame.h0 / 2;
  Native(NativeEventType::MouseMove, 3, 3);  // makes the pointer position known
  Native(NativeEventType::MouseMove, tx, ty);
  EXPECT_EQ(tk.root.PointerElement, kFirst);
  Native(NativeEventType::LeftButtonDown, tx, ty);
  Native(NativeEventType::LeftButtonUp, tx, ty);
  EXPECT_EQ(GetElementState(tk, kFirst), 1.0);

  const Element& button = E(20);
  const int bx = button.Frame.x0 + 5, by = button.Frame.y0 + 5;
  Native(NativeEventType::MouseMove, bx, by);
  EXPECT_EQ(tk.root.PointerElement, 20);
  platform.InjectClick(bx, by);
  PumpEvents(tk);
  EXPECT_EQ(clicks, 1);

  // In the gap between the panes the splitter itself is under the pointer.
  Native(NativeEventType::MouseMove, E(kSplit).Inner.x0 + 150, ty + 50);
  EXPECT_EQ(tk.root.PointerElement, kSplit);
}

TEST_F(SplitterTest, ScriptedDragMovesAHorizontalSeparator) {
  Build(Flag::Separator);
  SetElementState(tk, kSplit, 100);
  ASSERT_TRUE(designer::StartSession(tk, kWindow));
  const int sx = E(kSplit).Inner.x0 + 150, sy = E(kSplit).Inner.y0;
  designer::ScriptRunner runner(tk, platform);
  std::string error;
  const std::string script = "move " + std::to_string(sx) + " " + std::to_string(sy + 99) +
                             "\ndrag " + std::to_string(sx) + " " + std::to_string(sy + 99) + " " +
                             std::to_string(sx) + " " + std::to_string(sy + 60) + "\n";
  ASSERT_TRUE(runner.RunText(script, "split.txt", &error)) << error;
  EXPECT_EQ(GetElementState(tk, kSplit), 58.0);
  EXPECT_EQ(Pane(kFirst), (std::vector<int>{0, 0, 300, 57}));
  EXPECT_EQ(Pane(kSecond), (std::vector<int>{0, 62, 300, 138}));
  // Dragging a pane's body does nothing to the separator.
  ASSERT_TRUE(runner.RunText("drag " + std::to_string(sx) + " " + std::to_string(sy + 150) + " " +
                                 std::to_string(sx) + " " + std::to_string(sy + 170),
                             "body.txt", &error))
      << error;
  EXPECT_EQ(GetElementState(tk, kSplit), 58.0);
}

}  // namespace
}  // namespace tk
