// The ScrollBar kind: thumb geometry, attribute rules, the state setter and its events,
// arrow presses and thumb dragging arriving as native pointer events.
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"
#include "elements/registry.h"
#include "elements/scrollbar.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/host.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

constexpr int kWindow = 1, kBar = 10;

class ScrollBarTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 800, 600, "Main", Flag::SystemMenu), kWindow);
  }

  Element& Bar() { return *FindElement(tk, kBar); }

  // Resizes the horizontal bar so that `track` pixels lie between its arrows.
  void FitTrack(int track) {
    const int surplus = Bar().Frame.w0 - Bar().Inner.w0;
    ResizeElementById(tk, kBar, kIgnore, kIgnore, track + 2 * Bar().ButtonSize + surplus, kIgnore);
    ASSERT_EQ(Bar().Inner.w0 - 2 * Bar().ButtonSize, track);
  }

  // Collects the StepUp/StepDown events of the bar with the position at that moment.
  std::vector<std::pair<EventCode, int>> steps;
  void Record() {
    BindCallback(tk, MakeHandler([this](EventCode code, int) {
                   if ((code == ElementEvent::StepUp || code == ElementEvent::StepDown) &&
                       tk.root.Event.EventElement == kBar)
                     steps.emplace_back(code, Bar().Value);
                   return 1;
                 }),
                 -1, -1, -1);
  }
};

TEST_F(ScrollBarTest, ThumbLengthFollowsPageAndNeverDropsBelowAnArrow) {
  ASSERT_EQ(ScrollBar(tk, kBar, 10, 10, 300, 17, 0, 100, 50, 0, kWindow), kBar);
  EXPECT_EQ(Bar().ButtonSize, 17);
  EXPECT_EQ(Bar().ArrowSize, 3);
  ASSERT_EQ(Bar().Items.size(), 3u);
  FitTrack(200);
  EXPECT_FLOAT_EQ(Bar().ThumbLength, 100.0f);
  EXPECT_EQ(Bar().TrackLength, 200);
  EXPECT_FLOAT_EQ(Bar().ThumbPos, 17.0f);

  // A thumb of 10 pixels is drawn 17 long and the usable track shrinks by the shortfall.
  SetElementColor(tk, kBar, 3, 10);
  FitTrack(100);
  EXPECT_FLOAT_EQ(Bar().ThumbLength, 17.0f);
  EXPECT_EQ(Bar().TrackLength, 93);
  // The last position still brings the thumb against the far arrow.
  SetElementState(tk, kBar, 90);
  EXPECT_EQ(Bar().Value, 90);
  EXPECT_EQ(Bar().ThumbPos + Bar().ThumbLength, Bar().Inner.w0 - 17);
  EXPECT_EQ(Bar().Items[2]->Frame.x0, static_cast<int>(Bar().ThumbPos));
  EXPECT_EQ(Bar().Items[1]->Frame.x0, Bar().Inner.w0 - 16 - 1);

  // Pixel and position convert into each other on the shrunk track.
  EXPECT_EQ(ScrollPixelToPosition(Bar(), 17 + Bar().FrameWidth), 0);
  EXPECT_EQ(ScrollPixelToPosition(Bar(), 17 + Bar().FrameWidth + 93 / 2.0), 50);
}

TEST_F(ScrollBarTest, AttributesCutThePageAndFillDefaults) {
  ASSERT_EQ(ScrollBar(tk, kBar, 10, 10, 300, 17, 0, 100, 300, 0, kWindow), kBar);
  EXPECT_EQ(GetElementAttribute(tk, kBar, 3), 100);  // cut to the range
  EXPECT_EQ(Bar().ThumbLength, Bar().TrackLength);
  EXPECT_EQ(GetElementAttribute(tk, kBar, 1), 0);
  EXPECT_EQ(GetElementAttribute(tk, kBar, 2), 100);
  EXPECT_EQ(GetElementAttribute(tk, kBar, 4), 0);
  SetElementColor(tk, kBar, 2, -5);  // below the minimum
  EXPECT_EQ(GetElementAttribute(tk, kBar, 2), 1);
  SetElementColor(tk, kBar, 1, 20);
  EXPECT_EQ(GetElementAttribute(tk, kBar, 1), 20);
  // Colours still reach the element core.
  SetElementColor(tk, kBar, Attribute::BackColor, 0x123456);
  EXPECT_EQ(Bar().BackColor, 0x123456);

  // Maximum 0 takes the track, page 0 takes 25.
  ASSERT_EQ(ScrollBar(tk, 11, 10, 40, 300, 17, 0, 0, 0, 0, kWindow), 11);
  const Element& b = *FindElement(tk, 11);
  EXPECT_EQ(b.Max, b.Inner.w0 - 34);
  EXPECT_EQ(b.PageLength, 25);
  // An unknown id is answered neutrally.
  EXPECT_EQ(GetElementAttribute(tk, 999, 1), 0);
  EXPECT_EQ(SetScrollBarValue(tk, 999, 5), 0);
}

TEST_F(ScrollBarTest, StateSetterClampsReportsDirectionAndPostsSteps) {
  ASSERT_EQ(ScrollBar(tk, kBar, 10, 10, 17, 300, 0, 100, 10, Flag::Vertical, kWindow), kBar);
  ASSERT_EQ(tk::Button(tk, 20, 100, 10, 80, 25, "Owner", 0, kWindow), 20);
  Bar().Attached[0] = 20;
  Record();

  EXPECT_EQ(SetScrollBarState(Bar(), 200), -1);
  EXPECT_EQ(Bar().Value, 90);
  EXPECT_EQ(SetScrollBarState(Bar(), 90), 0);
  EXPECT_EQ(SetScrollBarState(Bar(), -4), 1);
  EXPECT_EQ(Bar().Value, 0);

  SetElementState(tk, kBar, 0);  // equal: nothing posted
  PumpEvents(tk);
  EXPECT_TRUE(steps.empty());

  SetElementState(tk, kBar, 40);
  EXPECT_EQ(GetElementState(tk, kBar), 40.0);
  EXPECT_EQ(FindElement(tk, 20)->VScroll, 40);  // the owner's offset follows
  SetElementState(tk, kBar, 25);
  PumpEvents(tk);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].first, ElementEvent::StepDown);
  EXPECT_EQ(steps[1].first, ElementEvent::StepUp);
}

TEST_F(ScrollBarTest, NativePointerEventsStepAndDragInMultiplesOfTheStep) {
  ASSERT_EQ(ScrollBar(tk, kBar, 20, 20, 300, 17, 0, 300, 30, 0, kWindow), kBar);
  Record();
  PumpEvents(tk);
  const int y = Bar().Inner.y0 + 8;
  const int fwdX = Bar().Inner.x0 + Bar().Inner.w0 - 8;

  // Press and release on the forward arrow each step once.
  platform.InjectMove(fwdX, y);
  PumpEvents(tk);
  platform.InjectClick(fwdX, y);
  PumpEvents(tk);
  EXPECT_EQ(Bar().Value, 6);

  // Drag the thumb to the right in small, uneven moves.
  const int startX = Bar().Inner.x0 + static_cast<int>(Bar().ThumbPos + Bar().ThumbLength / 2);
  platform.InjectMove(startX, y);
  PumpEvents(tk);
  platform.Inject({platform::NativeEventType::LeftButtonDown, startX, y});
  PumpEvents(tk);
  steps.clear();
  for (int dx = 1; dx <= 120; dx += 7) {
    platform.Inject({platform::NativeEventType::MouseMove, startX + dx, y});
    PumpEvents(tk);
  }
  platform.Inject({platform::NativeEventType::LeftButtonUp, startX + 120, y});
  PumpEvents(tk);
  ASSERT_FALSE(steps.empty());
  for (const auto& [code, value] : steps)
    EXPECT_EQ(value % 3, 0) << value;
  EXPECT_GT(Bar().Value, 6);
  EXPECT_EQ(Bar().Value % 3, 0);

  // Moves after the release no longer drag.
  const int after = Bar().Value;
  platform.Inject({platform::NativeEventType::MouseMove, startX + 10, y});
  PumpEvents(tk);
  EXPECT_EQ(Bar().Value, after);
}

}  // namespace
}  // namespace tk::testing
