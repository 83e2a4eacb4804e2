// The message requester and what every requester shares: modality, the nested loop's
// answer, and the ways to cancel.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/attributes.h"
#include "core/events.h"
#include "elements/simple.h"
#include "requesters/requesters.h"
#include "tests/requesters/requester_fixture.h"

namespace tk::testing {
namespace {

namespace Key = platform::Key;

class MessageRequesterTest : public RequesterTest {};

TEST_F(MessageRequesterTest, ButtonsAnswerAndEveryWayOutCancels) {
  // The button clicked is the answer.
  Then([&] { Click(Part(4)); });  // "No"
  EXPECT_EQ(MessageRequester(tk, "Q", "Save changes?", MessageFlag::YesNo), MessageAnswer::No);
  EXPECT_EQ(Requester(), 0);
  EXPECT_EQ(FindElement(tk, kRequesterIdBase), nullptr);

  // Return answers the first button, Escape and the close box the cancelling one.
  Then([&] { Press(Key::Return); });
  EXPECT_EQ(MessageRequester(tk, "Q", "x", MessageFlag::YesNoCancel), MessageAnswer::Yes);
  Then([&] { Press(Key::Escape); });
  EXPECT_EQ(MessageRequester(tk, "Q", "x", MessageFlag::YesNoCancel), MessageAnswer::Cancel);
  Then([&] { Press(Key::Escape); });
  EXPECT_EQ(MessageRequester(tk, "Q", "x", MessageFlag::YesNo), MessageAnswer::No);
  Then([&] {
    const Element* w = FindElement(tk, Requester());
    // The close box sits at the right end of the caption.
    platform.InjectClick(w->Frame.x0 + w->Frame.w0 - 12, w->Frame.y0 + 10);
  });
  EXPECT_EQ(MessageRequester(tk, "Q", "x", MessageFlag::YesNoCancel), MessageAnswer::Cancel);
  // Nothing more comes (the input ran out): answered as cancelled, never hanging.
  EXPECT_EQ(MessageRequester(tk, "Q", "x", MessageFlag::Ok | MessageFlag::Info), MessageAnswer::Ok);
  // The main window is still there and the loop still runs.
  EXPECT_NE(FindElement(tk, kMain), nullptr);
  EXPECT_FALSE(tk.loop.CloseRequested);
}

TEST_F(MessageRequesterTest, InputOutsideTheRequesterReachesNothing) {
  const int button = Button(tk, 50, 20, 20, 100, 30, "Behind", 0, kMain);
  const int field = String(tk, 51, 20, 60, 200, 24, "", 0, kMain);
  int clicks = 0;
  auto counter = MakeHandler([&](EventCode, int) {
    ++clicks;
    return 1;
  });
  BindElementEvent(tk, button, counter, ElementEvent::LeftClick);
  ActivateElement(tk, field);

  Then([&] {
    platform.InjectClick(CentreX(button), CentreY(button));
    Type(U"xy");  // the field had the focus before the requester opened
  });
  Then([&] {
    // Still open, still on top, and nothing behind it heard anything.
    EXPECT_NE(Requester(), 0);
    EXPECT_EQ(tk.root.Elements.back()->WindowID, Requester());
    Click(Part(3));  // OK
  });
  EXPECT_EQ(MessageRequester(tk, "Note",
                             "A long text that has to wrap over several lines "
                             "because it is far wider than the requester may grow.",
                             MessageFlag::Warning),
            MessageAnswer::Ok);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(GetElementText(tk, field), "");
  // The focus went back to the field.
  EXPECT_EQ(tk.root.FocusedGadget, field);
}

TEST_F(MessageRequesterTest, TextWrapsAndTheWindowFitsTheCanvas) {
  std::string longText;
  for (int i = 0; i < 200; ++i)
    longText += "word" + std::to_string(i) + " ";
  Then([&] {
    const Element& w = *FindElement(tk, Requester());
    EXPECT_LE(w.Frame.x0 + w.Frame.w0, 800);
    EXPECT_LE(w.Frame.y0 + w.Frame.h0, 600);
    EXPECT_GE(w.Frame.x0, 0);
    const std::string shown = GetElementText(tk, Part(1));
    EXPECT_NE(shown.find('\n'), std::string::npos);
    Press(Key::Return);
  });
  EXPECT_EQ(MessageRequester(tk, "Long", longText, MessageFlag::Error), MessageAnswer::Ok);
}

// A program whose only window is the requester: closing the requester is not the last
// window of the program going away.
TEST(MessageRequesterAlone, ClosingItLeavesTheProgramRunning) {
  platform::HeadlessPlatform platform(640, 480);
  Toolkit tk(platform);
  PrepareToolkit(tk);
  ASSERT_EQ(OpenHost(tk, 0, 0, 0, 640, 480, "", 0), 0);
  PrepareLoop(tk, -1);
  PumpEvents(tk);
  platform::NativeEvent ret;
  ret.type = platform::NativeEventType::KeyDown;
  ret.keyCode = Key::Return;
  platform.Inject(ret);
  EXPECT_EQ(MessageRequester(tk, "Q", "x", MessageFlag::YesNo), MessageAnswer::Yes);
  EXPECT_TRUE(PumpEvents(tk));
  EXPECT_FALSE(tk.loop.CloseRequested);
  EXPECT_TRUE(platform.HostExists());
}

// Every line of the text is drawn whole: a line as wide as the text element is not wrapped
// into a second line the element has no room for, and the last of several lines shows.
TEST_F(MessageRequesterTest, EveryLineOfTheTextIsDrawnWhole) {
  const std::string line = "\"alpha.pb\" already exists. Replace it?";
  // The columns and rows of the text element that have ink.
  auto inked = [&](int* right, int* bottom) {
    const Element& text = *FindElement(tk, Part(1));
    *right = *bottom = -1;
    for (int y = text.Frame.y0; y < text.Frame.y0 + text.Frame.h0; ++y) {
      for (int x = text.Frame.x0; x < text.Frame.x0 + text.Frame.w0; ++x) {
        if ((platform.CanvasPixel(x, y) & 0xFF) < 0x60) {
          *right = std::max(*right, x - text.Frame.x0);
          *bottom = std::max(*bottom, y - text.Frame.y0);
        }
      }
    }
  };
  platform::Painter& measure = platform.Measurer();
  measure.SetFont(platform.Fonts().Default());
  const int lineW = measure.MeasureText(line).width;
  const int lineH = measure.MeasureText("Ag").height;
  Then([&] {
    int right = 0, bottom = 0;
    inked(&right, &bottom);
    EXPECT_GE(right, lineW - 6) << "the end of the line is drawn";
    Press(Key::Return);
  });
  MessageRequester(tk, "Save", line, MessageFlag::YesNo | MessageFlag::Warning);
  Then([&] {
    int right = 0, bottom = 0;
    inked(&right, &bottom);
    EXPECT_GT(bottom, lineH + 2) << "the second line is drawn";
    Press(Key::Return);
  });
  MessageRequester(tk, "Save", "First line\nSecond line",
                   MessageFlag::YesNo | MessageFlag::Warning);
}

}  // namespace
}  // namespace tk::testing
