// Vertical scrolling of an Editor's lines, driven through the headless backend's native
// events: the wheel, the bar that shows only while the lines do not fit, caret keys that keep
// the caret's row in view, and new texts that keep or clamp the position.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/attributes.h"
#include "core/lookup.h"
#include "elements/simple.h"
#include "render/host.h"
#include "render/paint.h"
#include "render/repaint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

namespace Key = platform::Key;
namespace Modifier = platform::Modifier;
using platform::NativeEvent;
using platform::NativeEventType;

constexpr int kEditor = 10;

// "Line 0" to "Line <count - 1>", each ending with a line break.
std::string Lines(int count, const std::string& word = "Line") {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += word + " " + std::to_string(i) + "\r\n";
  return text;
}

class EditorScrollTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(OpenHost(tk, 1, 0, 0, 800, 600, "Main", Flag::SystemMenu), 1);
  }

  void Make(const std::string& text) {
    ASSERT_EQ(Editor(tk, kEditor, 20, 20, 300, 150, text, 0), kEditor);
    Paint();
    Inject(NativeEventType::MouseMove, 700, 580);
    PumpEvents(tk);
  }
  void Paint() {
    PumpEvents(tk);
    Repaint(tk, 1, true);
  }

  Element& Ed() { return *FindElement(tk, kEditor); }
  Element* Bar() {
    Element* bar = FindElement(tk, Ed().Attached[1]);
    return bar != nullptr && bar->Kind == ElementKind::ScrollBar ? bar : nullptr;
  }
  bool BarShows() { return Bar() != nullptr && Bar()->Hidden == 0; }

  // Whole rows the text box shows, in the editor's font.
  int Page() {
    platform::Painter& m = tk.platform.Measurer();
    m.SetFont(Ed().FontID != 0 ? Ed().FontID : tk.platform.Fonts().Default());
    return ElementTextBox(tk, Ed()).h / m.TextHeight("A");
  }

  void Inject(NativeEventType type, int x = 0, int y = 0) {
    NativeEvent ev;
    ev.type = type;
    ev.x = x;
    ev.y = y;
    platform.Inject(ev);
  }
  void Click(int x, int y) {
    Inject(NativeEventType::MouseMove, x, y);
    Inject(NativeEventType::LeftButtonDown, x, y);
    Inject(NativeEventType::LeftButtonUp, x, y);
    Inject(NativeEventType::LeftClick, x, y);
    PumpEvents(tk);
    Repaint(tk, 1, false);
  }
  void Wheel(int notches) {
    const int x = Ed().Frame.x0 + 40, y = Ed().Frame.y0 + 40;
    Inject(NativeEventType::MouseMove, x, y);
    NativeEvent ev;
    ev.type = NativeEventType::Wheel;
    ev.x = x;
    ev.y = y;
    ev.wheel = notches;
    platform.Inject(ev);
    PumpEvents(tk);
    Repaint(tk, 1, false);
  }
  void Stroke(int code, int modifiers = 0) {
    NativeEvent ev;
    ev.type = NativeEventType::KeyDown;
    ev.keyCode = code;
    ev.modifiers = modifiers;
    platform.Inject(ev);
    ev.type = NativeEventType::KeyUp;
    platform.Inject(ev);
    PumpEvents(tk);
    Repaint(tk, 1, false);
  }
  void Type(char32_t c) {
    NativeEvent ev;
    ev.type = NativeEventType::Input;
    ev.ch = c;
    platform.Inject(ev);
    PumpEvents(tk);
    Repaint(tk, 1, false);
  }
  // The row of the caret lies wholly in the box.
  void ExpectCaretRowShown(int row) {
    EXPECT_LE(Ed().VScroll, row);
    EXPECT_LT(row, Ed().VScroll + Page());
  }
};

// A text longer than its box shows the bar at the editor's right edge; the wheel moves a few
// rows a notch, the text is drawn from the first row shown and clicks land on the rows shown;
// the bar's arrow and thumb scroll too; both ends hold.
TEST_F(EditorScrollTest, ALongTextScrollsWithTheWheelAndItsBarBetweenBothEnds) {
  Make(Lines(60));
  ASSERT_TRUE(BarShows());
  const Element& bar = *Bar();
  EXPECT_NE(bar.Vertical, 0);
  EXPECT_EQ(bar.Frame.x0 + bar.Frame.w0, Ed().Inner.x0 + Ed().Inner.w0);
  EXPECT_EQ(bar.Frame.h0, Ed().Inner.h0);
  EXPECT_EQ(Ed().VScroll, 0);
  // 60 lines and the empty row after the last break.
  const int last = 61 - Page();
  ASSERT_GT(last, 10);

  Wheel(-1);
  const int step = Ed().VScroll;
  EXPECT_GT(step, 0);
  EXPECT_LT(step, Page());
  EXPECT_EQ(bar.Value, step);

  // Drawn from that row down, inside the box beside the bar.
  RecordingPainter rec;
  PaintAll(tk, rec);
  std::vector<PaintCall> drawn;
  for (const PaintCall& c : rec.Texts())
    if (c.text.rfind("Line ", 0) == 0) drawn.push_back(c);
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.front().text, "Line " + std::to_string(Ed().VScroll));
  EXPECT_EQ(drawn.front().y, Ed().TextY);
  EXPECT_LT(drawn.back().y, Ed().Frame.y0 + Ed().Frame.h0);
  Repaint(tk, 1, false);

  // A click at the start of the first row shown puts the caret before that row's text.
  const std::string text = Ed().Text;
  Click(Ed().TextX + 1, Ed().TextY + 3);
  EXPECT_EQ(Ed().EditCaret,
            static_cast<int>(text.find("Line " + std::to_string(Ed().VScroll) + "\r")));

  Wheel(-100);
  EXPECT_EQ(Ed().VScroll, last);
  EXPECT_EQ(bar.Value, last);
  Wheel(100);
  EXPECT_EQ(Ed().VScroll, 0);
  // No debt past the start: one notch down moves at once.
  Wheel(-1);
  EXPECT_EQ(Ed().VScroll, step);

  // The forward arrow steps down, the back arrow up.
  const int barX = bar.Frame.x0 + bar.Frame.w0 / 2;
  Click(barX, bar.Frame.y0 + bar.Frame.h0 - 4);
  const int forward = Ed().VScroll;
  EXPECT_GT(forward, step);
  EXPECT_EQ(bar.Value, forward);
  Click(barX, bar.Frame.y0 + 4);
  EXPECT_LT(Ed().VScroll, forward);

  // Dragging the thumb to the bottom shows the end, and back to the top the start.
  const auto dragThumb = [&](int toY) {
    const int y = static_cast<int>(bar.Frame.y0 + bar.FrameWidth + bar.ThumbPos + 8);
    Inject(NativeEventType::MouseMove, barX, y);
    Inject(NativeEventType::LeftButtonDown, barX, y);
    Inject(NativeEventType::MouseMove, barX, (y + toY) / 2);
    Inject(NativeEventType::MouseMove, barX, toY);
    Inject(NativeEventType::LeftButtonUp, barX, toY);
    PumpEvents(tk);
    Repaint(tk, 1, false);
  };
  dragThumb(bar.Frame.y0 + bar.Frame.h0 + 40);
  EXPECT_EQ(Ed().VScroll, last);
  dragThumb(bar.Frame.y0 - 40);
  EXPECT_EQ(Ed().VScroll, 0);
}

// Caret keys and typing keep the caret's row in view, also after the wheel took it away.
TEST_F(EditorScrollTest, CaretKeysAndTypingKeepTheCaretsRowInView) {
  Make(Lines(60));
  Click(Ed().TextX + 30, Ed().TextY + 3);
  ASSERT_EQ(tk.root.UsedElement, kEditor);
  Stroke(Key::End, Modifier::Control);
  const int lastRow = static_cast<int>(Ed().TextRows.size()) - 1;
  EXPECT_EQ(Ed().VScroll, lastRow + 1 - Page());
  ExpectCaretRowShown(lastRow);

  Wheel(100);
  ASSERT_EQ(Ed().VScroll, 0);
  Type(U'x');
  EXPECT_EQ(Ed().Text.back(), 'x');
  ExpectCaretRowShown(lastRow);

  Stroke(Key::Home, Modifier::Control);
  EXPECT_EQ(Ed().VScroll, 0);
  // A wheel turn leaves the caret where it is and the view where the wheel put it.
  Wheel(-2);
  EXPECT_GT(Ed().VScroll, 0);
  EXPECT_EQ(Ed().EditCaret, 0);
}

// Edits inside a line wrap only that line again; the rows are those a fresh wrap gives.
TEST_F(EditorScrollTest, EditsKeepTheRowsAFreshWrapGives) {
  std::string text;
  for (int i = 0; i < 40; ++i)
    text += "word " + std::to_string(i) + " и ещё несколько слов в этой длинной строке текста\r\n";
  Make(text);
  ASSERT_TRUE(BarShows());
  const auto rows = [&] {
    std::vector<std::tuple<int, int, int, bool>> out;
    for (const TextRow& r : Ed().TextRows)
      out.emplace_back(r.start, r.length, r.firstChar, r.drawn);
    return out;
  };
  // The rows kept across the edits equal those of a wrap from scratch.
  const auto expectFresh = [&] {
    const auto kept = rows();
    Ed().TextRowsWidth = -1;
    Repaint(tk, 1, false);
    EXPECT_EQ(kept, rows());
  };
  ASSERT_GT(Ed().TextRows.size(), 41u) << "the lines wrap";
  Click(Ed().TextX + 40, Ed().TextY + 3);
  const int caret = Ed().EditCaret;
  ASSERT_GT(caret, 0);
  ASSERT_LT(caret, 40);
  for (char32_t c : std::u32string_view(U"typed words ё"))
    Type(c);
  EXPECT_EQ(Ed().EditCaret, caret + 13);
  expectFresh();
  Stroke(Key::Backspace);
  Stroke(Key::Delete);
  expectFresh();
  platform.SetClipboardText("pasted with spaces");
  Stroke(Key::A + ('V' - 'A'), Modifier::Control);
  expectFresh();
}

// A text that fits shows no bar and the wheel moves nothing; a new text keeps the position
// while it still reaches that far, is clamped to a shorter one's end, and a short one goes
// back to the top without a bar.
TEST_F(EditorScrollTest, AShortTextHasNoBarAndNewTextsKeepOrClampThePosition) {
  Make(Lines(3));
  EXPECT_FALSE(BarShows());
  Wheel(-3);
  EXPECT_EQ(Ed().VScroll, 0);

  SetElementText(tk, kEditor, Lines(60));
  Paint();
  EXPECT_TRUE(BarShows());
  Wheel(-3);
  const int kept = Ed().VScroll;
  ASSERT_GT(kept, 0);

  SetElementText(tk, kEditor, Lines(60, "Row"));
  Paint();
  EXPECT_EQ(Ed().VScroll, kept);
  EXPECT_EQ(Bar()->Value, kept);

  const int shorter = Page() + 3;
  SetElementText(tk, kEditor, Lines(shorter));
  Paint();
  EXPECT_EQ(Ed().VScroll, shorter + 1 - Page());
  EXPECT_EQ(Bar()->Value, Ed().VScroll);

  SetElementText(tk, kEditor, Lines(2));
  Paint();
  EXPECT_FALSE(BarShows());
  EXPECT_EQ(Ed().VScroll, 0);
}

}  // namespace
}  // namespace tk::testing
