// The Spin and TrackBar kinds: the spin's buttons and value rules, the track bar's geometry,
// mirrored vertical values, stepping on the groove and dragging through native events.
#include <cmath>
#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/spin.h"
#include "elements/trackbar.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/paint.h"
#include "render/repaint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

constexpr int kWindow = 1;

class SpinTrackTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 600, 400, "Main", Flag::SystemMenu), kWindow);
    BindCallback(tk, MakeHandler([this](EventCode code, int value) {
                   events.push_back({code, tk.root.Event.EventElement, value});
                   return 1;
                 }),
                 -1, -1, -1);
  }
  Element& E(int id) { return *FindElement(tk, id); }

  struct Posted {
    EventCode code;
    int element;
    int value;
  };
  std::vector<Posted> events;
  int Count(EventCode code, int element) {
    int n = 0;
    for (const auto& p : events)
      if (p.code == code && p.element == element) ++n;
    return n;
  }

  // Canvas point in the middle of item `index` of an element with items drawn at its inner
  // origin.
  std::pair<int, int> ItemCenter(int id, int index) {
    const Element& e = E(id);
    const Element& it = *e.Items[static_cast<size_t>(index)];
    return {e.Inner.x0 + it.Frame.x0 + it.Frame.w0 / 2, e.Inner.y0 + it.Frame.y0 + it.Frame.h0 / 2};
  }
  void ClickAt(std::pair<int, int> p) {
    platform.InjectMove(p.first, p.second);
    platform.InjectClick(p.first, p.second);
    PumpEvents(tk);
  }
  void Start() {
    Repaint(tk, kWindow, true);
    platform.InjectMove(3, 3);  // the first report only makes the position known
    PumpEvents(tk);
  }
};

TEST_F(SpinTrackTest, SpinButtonsStepWithinTheLimits) {
  ASSERT_EQ(Spin(tk, 10, 10, 10, 100, 24, 0, 1, Flag::Numeric, kWindow, "0.25"), 10);
  EXPECT_EQ(E(10).SpinDecimals, 2);
  EXPECT_EQ(GetElementText(tk, 10), "0.00");
  // Buttons: 13 wide at the right edge, one above the other.
  const Element& up = *E(10).Items[kSpinUpItem];
  const Element& down = *E(10).Items[kSpinDownItem];
  const int H = E(10).Inner.h0;
  EXPECT_EQ(up.Frame.w0, 13);
  EXPECT_EQ(up.Frame.x0, E(10).Inner.w0 - 14);
  EXPECT_EQ(up.Frame.y0, 1);
  EXPECT_EQ(up.Frame.h0, H / 2 - 1);
  EXPECT_EQ(down.Frame.y0, H % 2 != 0 ? H / 2 + 1 : H / 2);

  Start();
  const auto upAt = ItemCenter(10, kSpinUpItem);
  const auto downAt = ItemCenter(10, kSpinDownItem);
  ClickAt(upAt);
  EXPECT_EQ(GetElementText(tk, 10), "0.25");
  EXPECT_FLOAT_EQ(static_cast<float>(GetElementState(tk, 10)), 0.25f);
  EXPECT_EQ(Count(ElementEvent::StepUp, 10), 1);
  EXPECT_EQ(Count(ElementEvent::Change, 10), 1);
  for (int i = 0; i < 3; ++i)
    ClickAt(upAt);
  EXPECT_EQ(GetElementText(tk, 10), "1.00");
  // At the maximum the up button does nothing and posts no StepUp.
  const int stepsUp = Count(ElementEvent::StepUp, 10);
  ClickAt(upAt);
  EXPECT_EQ(GetElementText(tk, 10), "1.00");
  EXPECT_EQ(Count(ElementEvent::StepUp, 10), stepsUp);
  ClickAt(downAt);
  EXPECT_EQ(GetElementText(tk, 10), "0.75");
  EXPECT_EQ(Count(ElementEvent::StepDown, 10), 1);

  // A value set beyond the limits stays as shown: a step from it is not taken.
  SetElementState(tk, 10, 7);
  ClickAt(downAt);
  EXPECT_EQ(GetElementText(tk, 10), "7.00");
  EXPECT_FLOAT_EQ(static_cast<float>(GetElementState(tk, 10)), 7.0f);
  // Nor is a number typed beyond them: the value stays the one the program set.
  E(10).Text = "250";
  ClickAt(downAt);
  ClickAt(upAt);
  EXPECT_EQ(GetElementText(tk, 10), "250");
  EXPECT_FLOAT_EQ(static_cast<float>(GetElementState(tk, 10)), 7.0f);

  // The state setter shows the value with the spin's decimals.
  SetElementState(tk, 10, 0.5);
  EXPECT_EQ(GetElementText(tk, 10), "0.50");
  EXPECT_FLOAT_EQ(static_cast<float>(GetElementState(tk, 10)), 0.5f);
  // A whole-number spin rounds its limits.
  ASSERT_EQ(Spin(tk, 11, 10, 50, 100, 24, -2.6, 9.4, Flag::Numeric, kWindow, "1"), 11);
  EXPECT_EQ(E(11).SpinMin, -3.0f);
  EXPECT_EQ(E(11).SpinMax, 9.0f);
}

TEST_F(SpinTrackTest, TrackBarGeometryAndValues) {
  ASSERT_EQ(TrackBar(tk, 20, 10, 10, 210, 30, 0, 100, 0, kWindow), 20);
  Element& bar = E(20);
  EXPECT_EQ(bar.ButtonSize, 5);
  EXPECT_EQ(bar.TrackLength, bar.Inner.w0 - 10);
  // With no page the thumb would vanish: it is kept 8 pixels long.
  EXPECT_EQ(bar.ThumbLength, 8.0f);
  EXPECT_EQ(bar.Items[kTrackThumbItem]->Frame.w0, 8);
  EXPECT_EQ(bar.Items[kTrackGrooveItem]->Frame.w0, bar.Inner.w0 - 10);
  EXPECT_EQ(bar.Items[kTrackGrooveItem]->Frame.h0, 4);

  SetElementState(tk, 20, 50);
  EXPECT_EQ(GetElementState(tk, 20), 50.0);
  EXPECT_EQ(bar.ThumbPos, 5.0f + std::lround(50.0 * bar.TrackLength / 100));
  EXPECT_EQ(Count(ElementEvent::StepDown, 20), 1);  // the value went up
  SetElementState(tk, 20, -40);
  EXPECT_EQ(GetElementState(tk, 20), 0.0);
  SetElementState(tk, 20, 500);
  EXPECT_EQ(GetElementState(tk, 20), 100.0);
  // A maximum below the minimum becomes minimum + 1.
  SetElementColor(tk, 20, 1, 10);
  SetElementColor(tk, 20, 2, 5);
  EXPECT_EQ(GetElementAttribute(tk, 20, 2), 11);

  // Vertical: the top of the track reports maximum - minimum.
  ASSERT_EQ(TrackBar(tk, 21, 300, 10, 30, 200, 0, 60, Flag::Vertical, kWindow), 21);
  EXPECT_EQ(GetElementState(tk, 21), 0.0);  // starts at the bottom
  SetElementState(tk, 21, 60);
  EXPECT_EQ(GetElementState(tk, 21), 60.0);
  EXPECT_EQ(E(21).ThumbPos, 5.0f);
  EXPECT_EQ(E(21).Items[kTrackThumbItem]->Frame.y0, 5);
}

// Across a tall field the spin's value and the track bar's groove and thumb keep to the
// middle: the text from the recorded calls, the groove and thumb from the canvas.
TEST_F(SpinTrackTest, SpinTextAndTrackBarGrooveSitInTheMiddle) {
  ASSERT_EQ(Spin(tk, 10, 10, 10, 100, 40, 0, 10, Flag::Numeric, kWindow, "1"), 10);
  ASSERT_EQ(TrackBar(tk, 20, 10, 80, 210, 40, 0, 100, 0, kWindow), 20);
  ASSERT_EQ(TrackBar(tk, 21, 300, 10, 40, 200, 0, 100, Flag::Vertical, kWindow), 21);
  RecordingPainter painter;
  PaintAll(tk, painter);
  const Element& spin = E(10);
  int valueY = -1;
  for (const PaintCall& c : painter.Texts())
    if (c.text == "0" && c.y >= spin.Frame.y0 && c.y < spin.Frame.y0 + spin.Frame.h0) valueY = c.y;
  ASSERT_GE(valueY, 0);
  EXPECT_NEAR(valueY + painter.LineHeight() / 2.0, spin.Inner.y0 + spin.Inner.h0 / 2.0, 1.0);

  Repaint(tk, kWindow, true);
  ASSERT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/trackbar_snapshot.png"));
  // The middle of what differs from the bar's face, across the bar at `along`.
  auto middleAcross = [&](const Element& bar, int along, int& first, int& last) {
    const bool vertical = bar.Vertical != 0;
    const int across = vertical ? bar.Inner.w0 : bar.Inner.h0;
    auto at = [&](int i) {
      return vertical ? platform.CanvasPixel(bar.Inner.x0 + i, bar.Inner.y0 + along)
                      : platform.CanvasPixel(bar.Inner.x0 + along, bar.Inner.y0 + i);
    };
    const uint32_t face = at(0);
    first = -1;
    for (int i = 0; i < across; ++i) {
      if (at(i) == face) continue;
      if (first < 0) first = i;
      last = i;
    }
  };
  for (int id : {20, 21}) {
    const Element& bar = E(id);
    const Element& thumb = *bar.Items[kTrackThumbItem];
    const bool vertical = bar.Vertical != 0;
    const int across = vertical ? bar.Inner.w0 : bar.Inner.h0;
    const int length = vertical ? bar.Inner.h0 : bar.Inner.w0;
    const int thumbAt = vertical ? thumb.Frame.y0 : thumb.Frame.x0;
    const int thumbLength = vertical ? thumb.Frame.h0 : thumb.Frame.w0;
    // On the groove away from the thumb, and through the thumb.
    const int grooveAlong = thumbAt > length / 2 ? length / 4 : 3 * length / 4;
    int first = -1, last = -1;
    middleAcross(bar, grooveAlong, first, last);
    ASSERT_GE(first, 0) << id;
    EXPECT_EQ(last - first + 1, 4) << id;
    EXPECT_NEAR((first + last) / 2.0, (across - 1) / 2.0, 1.0) << id;
    middleAcross(bar, thumbAt + thumbLength / 2, first, last);
    ASSERT_GE(first, 0) << id;
    EXPECT_NEAR((first + last) / 2.0, (across - 1) / 2.0, 1.0) << id;
  }
}

TEST_F(SpinTrackTest, GrooveClicksStepTowardsThePointerAndTheThumbDrags) {
  ASSERT_EQ(TrackBar(tk, 20, 10, 10, 210, 30, 0, 100, 0, kWindow), 20);
  SetElementState(tk, 20, 50);
  Start();
  // Without a step a click on the groove changes nothing.
  const Element& bar = E(20);
  const int y = ItemCenter(20, kTrackGrooveItem).second;  // across the groove's middle
  ClickAt({bar.Inner.x0 + 190, y});
  EXPECT_EQ(GetElementState(tk, 20), 50.0);
  // With a step it moves one step towards the pointer, on either side.
  E(20).ArrowSize = 10;
  ClickAt({bar.Inner.x0 + 190, y});
  EXPECT_EQ(GetElementState(tk, 20), 70.0);  // press and release both step
  ClickAt({bar.Inner.x0 + 12, y});
  EXPECT_EQ(GetElementState(tk, 20), 50.0);

  // Dragging the thumb follows the pointer, snapped down to the step.
  E(20).ArrowSize = 0;
  const auto thumb = ItemCenter(20, kTrackThumbItem);
  platform.InjectMove(thumb.first, thumb.second);
  PumpEvents(tk);
  platform::NativeEvent down;
  down.type = platform::NativeEventType::LeftButtonDown;
  down.x = thumb.first;
  down.y = thumb.second;
  platform.Inject(down);
  PumpEvents(tk);
  const double perValue = static_cast<double>(bar.TrackLength) / 100;
  platform.InjectMove(thumb.first + static_cast<int>(std::lround(20 * perValue)), thumb.second);
  PumpEvents(tk);
  EXPECT_NEAR(GetElementState(tk, 20), 70.0, 1.0);
  E(20).ArrowSize = 7;
  platform.InjectMove(thumb.first + static_cast<int>(std::lround(31 * perValue)), thumb.second);
  PumpEvents(tk);
  const int snapped = static_cast<int>(GetElementState(tk, 20));
  EXPECT_EQ(snapped % 7, 0) << snapped;
  EXPECT_NEAR(snapped, 77, 7);
  platform::NativeEvent up = down;
  up.type = platform::NativeEventType::LeftButtonUp;
  platform.Inject(up);
  PumpEvents(tk);
  // Released: moving no longer drags.
  platform.InjectMove(thumb.first - 60, thumb.second);
  PumpEvents(tk);
  EXPECT_EQ(static_cast<int>(GetElementState(tk, 20)), snapped);
}

TEST_F(SpinTrackTest, LimitsHoldForStepsThatDoNotDivideTheRangeAndNonZeroMinimums) {
  // A step that does not divide the range stops at the limit.
  ASSERT_EQ(Spin(tk, 10, 10, 10, 100, 24, 0, 1, Flag::Numeric, kWindow, "0.3"), 10);
  Start();
  const auto up = ItemCenter(10, kSpinUpItem);
  for (int i = 0; i < 4; ++i)
    ClickAt(up);
  EXPECT_EQ(GetElementText(tk, 10), "1.0");
  EXPECT_FLOAT_EQ(static_cast<float>(GetElementState(tk, 10)), 1.0f);

  // Track bars whose range does not start at 0, both ways round.
  ASSERT_EQ(TrackBar(tk, 20, 10, 60, 210, 30, 10, 20, 0, kWindow), 20);
  EXPECT_EQ(GetElementState(tk, 20), 10.0);
  SetElementState(tk, 20, 20);
  EXPECT_EQ(GetElementState(tk, 20), 20.0);
  SetElementState(tk, 20, 15);
  EXPECT_EQ(GetElementState(tk, 20), 15.0);
  EXPECT_EQ(E(20).ThumbPos, 5.0f + std::lround(5.0 * E(20).TrackLength / 10));
  ASSERT_EQ(TrackBar(tk, 21, 300, 10, 30, 200, 10, 20, Flag::Vertical, kWindow), 21);
  EXPECT_EQ(GetElementState(tk, 21), 10.0);
  SetElementState(tk, 21, 12);
  EXPECT_EQ(GetElementState(tk, 21), 12.0);
  SetElementState(tk, 21, 20);
  EXPECT_EQ(E(21).ThumbPos, 5.0f);  // the maximum at the top
}

}  // namespace
}  // namespace tk::testing
