// Text boxes: alignment, conflict rules, line-break normalisation, greedy wrapping, clipping at
// the bottom of the box, and one pixel check with the real painter.
#include "core/textbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "tests/support/recording_painter.h"

namespace tk {
namespace {

using testing::PaintCall;
using testing::RecordingPainter;

constexpr int kH = 13;  // line height of the recording painter
constexpr int kW = 7;   // width of one character

struct Drawn {
  std::string text;
  int x, y;
};

std::vector<Drawn> Lines(const RecordingPainter& p) {
  std::vector<Drawn> out;
  for (const PaintCall& c : p.Texts())
    out.push_back({c.text, c.x, c.y});
  return out;
}

std::vector<std::string> Words(const RecordingPainter& p) {
  std::vector<std::string> out;
  for (const PaintCall& c : p.Texts())
    out.push_back(c.text);
  return out;
}

TEST(TextBox, SingleLineIsAlignedOnceAndNeverWrapped) {
  RecordingPainter p;
  // 5 characters = 35 px in a 100 x 20 box: centred at (100-35)/2, (20-13)/2.
  EXPECT_EQ(
      DrawTextBox(p, 10, 5, "Hello", 0x112233, 0x445566, Flag::Center | Flag::VCenter, 100, 20), 0);
  ASSERT_EQ(p.Count(testing::PaintOp::Text), 1);
  const PaintCall c = p.Texts()[0];
  EXPECT_EQ(c.text, "Hello");
  EXPECT_EQ(c.x, 10 + 32);
  EXPECT_EQ(c.y, 5 + 3);
  EXPECT_EQ(c.color, 0x112233);
  EXPECT_EQ(c.back, 0x445566);

  // Wider than the box (15 characters = 105 px): still one call, offset truncated toward zero.
  p.Clear();
  DrawTextBox(p, 10, 5, "Extraordinarily", 0, -1, Flag::Center | Flag::VCenter, 100, 20);
  ASSERT_EQ(p.Count(testing::PaintOp::Text), 1);
  EXPECT_EQ(p.Texts()[0].x, 10 - 2);
  EXPECT_EQ(p.Texts()[0].y, 5 + 3);

  // Spaces do not make a single line wrap.
  p.Clear();
  DrawTextBox(p, 0, 0, "one two three four five", 0, -1, 0, 20, 100);
  EXPECT_EQ(Words(p), std::vector<std::string>{"one two three four five"});
  EXPECT_EQ(p.Texts()[0].x, 0);
  EXPECT_EQ(p.Texts()[0].y, 0);
}

TEST(TextBox, WrapsGreedilyWhileStrictlyNarrower) {
  RecordingPainter p;
  // "a b" is 21 px: not narrower than 20 or 21, so each word goes on its own line.
  EXPECT_EQ(DrawTextBox(p, 4, 6, "a b c\n", 0, -1, 0, 20, 100), 1);
  auto lines = Lines(p);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "a");
  EXPECT_EQ(lines[1].text, "b");
  EXPECT_EQ(lines[2].text, "c");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[i].x, 4);
    EXPECT_EQ(lines[i].y, 6 + i * kH);
  }
  p.Clear();
  DrawTextBox(p, 0, 0, "a b c\n", 0, -1, 0, 21, 100);
  EXPECT_EQ(Words(p), (std::vector<std::string>{"a", "b", "c"}));
  p.Clear();
  DrawTextBox(p, 0, 0, "a b c\n", 0, -1, 0, 22, 100);
  EXPECT_EQ(Words(p), (std::vector<std::string>{"a b", "c"}));

  // A word wider than the box stays whole on its own line.
  p.Clear();
  DrawTextBox(p, 0, 0, "to extraordinary lengths\n", 0, -1, 0, 30, 100);
  EXPECT_EQ(Words(p), (std::vector<std::string>{"to", "extraordinary", "lengths"}));

  // Each source line wraps on its own; an empty source line is an empty drawn line.
  p.Clear();
  EXPECT_EQ(DrawTextBox(p, 0, 0, "aa bb cc\n\ndd\n", 0, -1, 0, 40, 100), 3);
  EXPECT_EQ(Words(p), (std::vector<std::string>{"aa bb", "cc", "", "dd"}));
  auto y = Lines(p);
  EXPECT_EQ(y[3].y, 3 * kH);
}

TEST(TextBox, ResultCountsLineFeedsNotWrappedLines) {
  RecordingPainter p;
  EXPECT_EQ(DrawTextBox(p, 0, 0, "one two three\nfour\n", 0, -1, 0, 10, 200), 2);
  EXPECT_EQ(Words(p), (std::vector<std::string>{"one", "two", "three", "four"}));
  p.Clear();
  EXPECT_EQ(DrawTextBox(p, 0, 0, "one two three\nfour\n", 0, -1, 0, 500, 200), 2);
  EXPECT_EQ(Words(p), (std::vector<std::string>{"one two three", "four"}));

  // Text after the last line feed is not a line of its own.
  p.Clear();
  EXPECT_EQ(DrawTextBox(p, 0, 0, "first\nlast", 0, -1, 0, 500, 200), 1);
  EXPECT_EQ(Words(p), std::vector<std::string>{"first"});

  p.Clear();
  EXPECT_EQ(DrawTextBox(p, 0, 0, "", 0, -1, Flag::Center, 100, 20), 0);
  EXPECT_EQ(p.Count(testing::PaintOp::Text), 1);
}

TEST(TextBox, LineBreakConventionsEachCountOnce) {
  RecordingPainter p;
  const std::vector<std::string> ab{"a", "b"};
  EXPECT_EQ(DrawTextBox(p, 0, 0, "a\r\nb\r\n", 0, -1, 0, 100, 100), 2);
  EXPECT_EQ(Words(p), ab);
  p.Clear();
  EXPECT_EQ(DrawTextBox(p, 0, 0, "a\n\rb\n\r", 0, -1, 0, 100, 100), 2);
  EXPECT_EQ(Words(p), ab);
  p.Clear();
  EXPECT_EQ(DrawTextBox(p, 0, 0, "a\rb\r", 0, -1, 0, 100, 100), 2);
  EXPECT_EQ(Words(p), ab);
  // LF CR is folded before CR LF: "\r\n\r" is CR + (LF CR), i.e. one break, not two.
  p.Clear();
  EXPECT_EQ(DrawTextBox(p, 0, 0, "a\r\n\rb\n", 0, -1, 0, 100, 100), 2);
  EXPECT_EQ(Words(p), ab);
  // A lone carriage return is a break too: the text after it is not a line of its own.
  p.Clear();
  EXPECT_EQ(DrawTextBox(p, 0, 0, "a\rb", 0, -1, 0, 100, 100), 1);
  EXPECT_EQ(Words(p), std::vector<std::string>{"a"});
}

TEST(TextBox, RightBottomAndCentreAlignment) {
  RecordingPainter p;
  DrawTextBox(p, 5, 7, "abc", 0, -1, Flag::Right | Flag::Bottom, 100, 40);
  ASSERT_EQ(p.Texts().size(), 1u);
  EXPECT_EQ(p.Texts()[0].x, 5 + 100 - 3 * kW);
  EXPECT_EQ(p.Texts()[0].y, 7 + 40 - kH);

  // Two wrapped lines ("ab" and "cde"), bottom-aligned as a block, each right-aligned.
  p.Clear();
  DrawTextBox(p, 0, 0, "ab cde\n", 0, -1, Flag::Right | Flag::Bottom, 30, 40);
  auto lines = Lines(p);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].x, 30 - 2 * kW);
  EXPECT_EQ(lines[0].y, 40 - 2 * kH);
  EXPECT_EQ(lines[1].x, 30 - 3 * kW);
  EXPECT_EQ(lines[1].y, 40 - kH);

  // Vertical centre of the block, horizontal centre of each line.
  p.Clear();
  DrawTextBox(p, 0, 0, "ab cde\n", 0, -1, Flag::Center | Flag::VCenter, 30, 41);
  lines = Lines(p);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].y, (41 - 2 * kH) / 2);
  EXPECT_EQ(lines[0].x, (30 - 2 * kW) / 2);
  EXPECT_EQ(lines[1].x, (30 - 3 * kW) / 2);

  // Centre wins over right and vertical centre over bottom when no conflict bit is set.
  p.Clear();
  DrawTextBox(p, 0, 0, "abc", 0, -1, Flag::Right | Flag::Center | Flag::Bottom | Flag::VCenter, 100,
              40);
  EXPECT_EQ(p.Texts()[0].x, (100 - 3 * kW) / 2);
  EXPECT_EQ(p.Texts()[0].y, (40 - kH) / 2);
}

TEST(TextBox, ConflictBitsDropCentring) {
  RecordingPainter p;
  // 0x200 with bottom drops the vertical centre.
  DrawTextBox(p, 0, 0, "abc", 0, -1, Flag::AlignBit200 | Flag::Bottom | Flag::VCenter, 100, 40);
  EXPECT_EQ(p.Texts()[0].y, 40 - kH);
  // 0x200 without bottom leaves it alone.
  p.Clear();
  DrawTextBox(p, 0, 0, "abc", 0, -1, Flag::AlignBit200 | Flag::VCenter, 100, 40);
  EXPECT_EQ(p.Texts()[0].y, (40 - kH) / 2);
  // Left with right drops the horizontal centre.
  p.Clear();
  DrawTextBox(p, 0, 0, "abc", 0, -1, Flag::Left | Flag::Right | Flag::Center, 100, 40);
  EXPECT_EQ(p.Texts()[0].x, 100 - 3 * kW);
  // Left alone with centre keeps centring.
  p.Clear();
  DrawTextBox(p, 0, 0, "abc", 0, -1, Flag::Left | Flag::Center, 100, 40);
  EXPECT_EQ(p.Texts()[0].x, (100 - 3 * kW) / 2);
  // Other flag bits are ignored.
  p.Clear();
  DrawTextBox(p, 0, 0, "abc", 0, -1, Flag::MultiLine | Flag::Border | Flag::Selected, 100, 40);
  EXPECT_EQ(p.Texts()[0].x, 0);
  EXPECT_EQ(p.Texts()[0].y, 0);
}

TEST(TextBox, ZeroSizeUsesTheOutputAndLinesBelowTheBoxAreDropped) {
  RecordingPainter p(30, 50);
  // Width 0 is the output's 30 px: "a b" (21) fits, "a b c" (35) does not.
  DrawTextBox(p, 0, 0, "a b c d\n", 0, -1, 0, 0, 100);
  EXPECT_EQ(Words(p), (std::vector<std::string>{"a b", "c d"}));
  p.Clear();
  DrawTextBox(p, 0, 0, "abcd", 0, -1, Flag::Center | Flag::VCenter);
  EXPECT_EQ(p.Texts()[0].x, (30 - 4 * kW) / 2);
  EXPECT_EQ(p.Texts()[0].y, (50 - kH) / 2);

  // Five one-word lines in a 30 px high box: after two lines yoff = 26 exceeds 30 - 13.
  p.Clear();
  EXPECT_EQ(DrawTextBox(p, 0, 0, "a b c d e\n", 0, -1, 0, 10, 30), 1);
  EXPECT_EQ(Words(p), (std::vector<std::string>{"a", "b"}));
  // Exactly three lines fit in 39 px.
  p.Clear();
  DrawTextBox(p, 0, 0, "a b c d e\n", 0, -1, 0, 10, 39);
  EXPECT_EQ(Words(p), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(TextBox, Utf8TextIsMeasuredAndKeptWhole) {
  RecordingPainter p;
  // "Привет" is 6 characters (12 bytes), "мир" 3; together 70 px do not fit in 60.
  EXPECT_EQ(DrawTextBox(p, 0, 0, "Привет мир\n", 0, -1, Flag::Center, 60, 100), 1);
  auto lines = Lines(p);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, "Привет");
  EXPECT_EQ(lines[1].text, "мир");
  EXPECT_EQ(lines[0].x, (60 - 6 * kW) / 2);
  EXPECT_EQ(lines[1].x, (60 - 3 * kW) / 2);

  p.Clear();
  DrawTextBox(p, 0, 0, "Привет мир", 0, -1, Flag::Right, 100, 20);
  EXPECT_EQ(p.Texts()[0].text, "Привет мир");
  EXPECT_EQ(p.Texts()[0].x, 100 - 10 * kW);
}

TEST(TextBox, DrawsInThePaintersCurrentMode) {
  RecordingPainter p;
  p.SetMode(platform::DrawMode::Transparent);
  DrawTextBox(p, 0, 0, "x y\n", 0x0000FF, 0xFFFFFF, 0, 5, 100);
  ASSERT_EQ(p.Texts().size(), 2u);
  for (const PaintCall& c : p.Texts()) {
    EXPECT_EQ(c.mode, platform::DrawMode::Transparent);
    EXPECT_EQ(c.color, 0x0000FF);
    EXPECT_EQ(c.back, 0xFFFFFF);
  }
  EXPECT_EQ(p.Count(testing::PaintOp::SetMode), 1);  // the text box leaves the mode alone
}

TEST(TextBoxPixels, CentredTextLandsCentred) {
  platform::HeadlessPlatform platform(200, 60);
  platform::Painter* p = platform.BeginDrawing();
  ASSERT_NE(p, nullptr);
  p->Box(0, 0, 200, 60, 0xFFFFFF);
  p->SetMode(platform::DrawMode::Transparent);
  const int boxX = 20, boxY = 10, boxW = 160, boxH = 40;
  DrawTextBox(*p, boxX, boxY, "HHHH", 0x000000, -1, Flag::Center | Flag::VCenter, boxW, boxH);
  platform.EndDrawing();

  int minX = INT_MAX, maxX = -1, minY = INT_MAX, maxY = -1;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x)
      if ((platform.CanvasPixel(x, y) & 0xFF) < 128) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
  ASSERT_GE(maxX, 0) << "no text was drawn";
  // The ink sits in the middle of the box: symmetric side margins, and vertically inside the
  // box around its centre (the line box includes descent space, so allow a few pixels).
  EXPECT_LE(std::abs((minX - boxX) - (boxX + boxW - 1 - maxX)), 3);
  EXPECT_GT(minX, boxX + 20);
  EXPECT_GT(minY, boxY);
  EXPECT_LT(maxY, boxY + boxH - 1);
  EXPECT_LE(std::abs((minY + maxY) / 2 - (boxY + boxH / 2)), 5);
}

}  // namespace
}  // namespace tk
