// Text editing driven through the headless backend's native events: typing, filtering and
// forced case, caret keys, pointer selection, deleting, the clipboard, Unicode characters,
// caret visibility scrolling, and the painted selection and caret.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/attributes.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "platform/cairo_internal.h"
#include "render/host.h"
#include "render/interaction.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

namespace Key = platform::Key;
namespace Modifier = platform::Modifier;
using platform::NativeEvent;
using platform::NativeEventType;

// Every byte belongs to a well-formed UTF-8 sequence.
bool ValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
    if (b >= 0x80 && (b & 0xC0) == 0x80) return false;
    if (i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

class TextEditTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(OpenHost(tk, 1, 0, 0, 800, 600, "Main", Flag::SystemMenu), 1);
  }

  // A String in the main window whose Change events are counted.
  int MakeString(int id, const std::string& text, Flags64 flags = 0, int width = 240) {
    const int made = String(tk, id, 20, 20 + 40 * (id % 10), width, 24, text, flags);
    EXPECT_EQ(made, id);
    BindElementEvent(tk, id, MakeHandler([this, id](EventCode code, int) {
                       if (code == ElementEvent::Change) ++changes[id];
                       return 1;
                     }),
                     ElementEvent::Change);
    return made;
  }

  // The first focus paints the scene (text positions are known from then on); the first
  // pointer report only makes the position known.
  void Start() {
    PumpEvents(tk);
    Inject(NativeEventType::MouseMove, 700, 580);
    PumpEvents(tk);
  }

  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr);
    return *e;
  }

  void Inject(NativeEventType type, int x = 0, int y = 0) {
    NativeEvent ev;
    ev.type = type;
    ev.x = x;
    ev.y = y;
    platform.Inject(ev);
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
  }

  void Type(std::u32string_view text) {
    for (char32_t c : text) {
      NativeEvent ev;
      ev.type = NativeEventType::Input;
      ev.ch = c;
      platform.Inject(ev);
    }
    PumpEvents(tk);
  }

  // Canvas x of the caret before character `index`, from the last paint's layout.
  int CaretX(int id, int index) {
    Element& e = E(id);
    platform::Painter& m = tk.platform.Measurer();
    m.SetFont(e.FontID);
    size_t bytes = 0;
    for (int p = 0; p < index && bytes < e.Text.size(); ++p) {
      ++bytes;
      while (bytes < e.Text.size() && (static_cast<unsigned char>(e.Text[bytes]) & 0xC0) == 0x80)
        ++bytes;
    }
    return e.TextX - e.TextScroll + m.TextWidth(std::string_view(e.Text).substr(0, bytes)) + 1;
  }
  int MiddleY(int id) { return E(id).Frame.y0 + E(id).Frame.h0 / 2; }

  // A person's click on the caret position before character `index`.
  void ClickAt(int id, int index) {
    const int x = CaretX(id, index), y = MiddleY(id);
    Inject(NativeEventType::MouseMove, x, y);
    Inject(NativeEventType::LeftButtonDown, x, y);
    Inject(NativeEventType::LeftButtonUp, x, y);
    Inject(NativeEventType::LeftClick, x, y);
    PumpEvents(tk);
  }

  // Two clicks in a row as the real backend reports them: the second press brings the
  // double click right after it.
  void DoubleClickAt(int id, int index) {
    const int x = CaretX(id, index), y = MiddleY(id);
    Inject(NativeEventType::MouseMove, x, y);
    for (int i = 0; i < 2; ++i) {
      Inject(NativeEventType::LeftButtonDown, x, y);
      if (i == 1) Inject(NativeEventType::LeftDoubleClick, x, y);
      Inject(NativeEventType::LeftButtonUp, x, y);
      Inject(NativeEventType::LeftClick, x, y);
    }
    PumpEvents(tk);
  }

  std::map<int, int> changes;
};

TEST_F(TextEditTest, TypingIntoAnEmptyStringPostsOneChangePerEdit) {
  const int s = MakeString(10, "");
  const int given = MakeString(11, "given at creation");
  Start();
  ClickAt(given, 3);  // hovering and pressing a String with a text is no change
  ClickAt(s, 0);
  EXPECT_EQ(tk.root.UsedElement, s);
  EXPECT_EQ(changes[given], 0);
  EXPECT_EQ(changes[s], 0);

  Type(U"a");
  EXPECT_EQ(E(s).Text, "a");
  EXPECT_EQ(E(s).EditCaret, 1);
  EXPECT_EQ(E(s).EditAnchor, 1);
  EXPECT_EQ(changes[s], 1);

  Type(U"bc");
  EXPECT_EQ(E(s).Text, "abc");
  EXPECT_EQ(changes[s], 3);
  // Caret moves and pointer moves leave the text alone and post nothing.
  Stroke(Key::Left);
  Stroke(Key::Home);
  Inject(NativeEventType::MouseMove, 300, 500);
  PumpEvents(tk);
  EXPECT_EQ(changes[s], 3);
  // The other String never had the keyboard.
  EXPECT_EQ(E(given).Text, "given at creation");
  EXPECT_EQ(changes[given], 0);
}

TEST_F(TextEditTest, NumericStringsTakeOnlyDigitsAndTheFullStop) {
  const int s = MakeString(10, "", Flag::Numeric);
  Start();
  ClickAt(s, 0);
  Type(U"1a.5-x 9Ж");
  EXPECT_EQ(E(s).Text, "1.59");
  EXPECT_EQ(E(s).EditCaret, 4);
  EXPECT_EQ(changes[s], 4);  // a refused character is no change

  // A refused character keeps a selection; pasted text is filtered the same way.
  Stroke(Key::Home, Modifier::Shift);
  EXPECT_EQ(E(s).SelectedText, "1.59");
  Type(U"q");
  EXPECT_EQ(E(s).SelectedText, "1.59");
  platform.SetClipboardText("2,5 kg 7");
  Stroke(Key::A + ('V' - 'A'), Modifier::Control);
  EXPECT_EQ(E(s).Text, "257");
}

TEST_F(TextEditTest, DoubleClickSelectsAWordOrOneSeparator) {
  const int s = MakeString(10, "hello world");
  const int secret = MakeString(11, "my secret", Flag::Password);
  Start();

  DoubleClickAt(s, 6);  // just before the first letter of the second word
  EXPECT_EQ(E(s).SelectedText, "world");
  EXPECT_EQ(E(s).EditStart, 6);
  EXPECT_EQ(E(s).EditEnd, 11);
  EXPECT_EQ(tk.dispatch.LastDoubleClickCaret, 6);

  DoubleClickAt(s, 5);  // just before the space
  EXPECT_EQ(E(s).SelectedText, " ");
  EXPECT_EQ(E(s).EditStart, 5);
  EXPECT_EQ(E(s).EditEnd, 6);

  DoubleClickAt(s, 2);  // inside the first word
  EXPECT_EQ(E(s).SelectedText, "hello");

  // A press on the spot of the last double click takes the whole text; the next one does not.
  ClickAt(s, 2);
  EXPECT_EQ(E(s).SelectedText, "hello world");
  EXPECT_EQ(tk.dispatch.LastDoubleClickCaret, -1);
  ClickAt(s, 2);
  EXPECT_EQ(E(s).SelectedText, "");
  EXPECT_EQ(E(s).EditCaret, 2);

  // A masked text is selected whole.
  DoubleClickAt(secret, 4);
  EXPECT_EQ(E(secret).SelectedText, "my secret");
}

TEST_F(TextEditTest, BackspaceAndDeleteRemoveOneCharacterOrTheSelection) {
  const int s = MakeString(10, "abcdef");
  Start();
  ClickAt(s, 0);
  Stroke(Key::Backspace);
  EXPECT_EQ(E(s).Text, "abcdef");
  EXPECT_EQ(E(s).EditCaret, 0);
  EXPECT_EQ(changes[s], 0);

  Stroke(Key::End);
  Stroke(Key::Backspace);
  EXPECT_EQ(E(s).Text, "abcde");
  EXPECT_EQ(E(s).EditCaret, 5);
  EXPECT_EQ(changes[s], 1);

  Stroke(Key::Home);
  Stroke(Key::Delete);
  EXPECT_EQ(E(s).Text, "bcde");
  EXPECT_EQ(E(s).EditCaret, 0);
  Stroke(Key::End);
  Stroke(Key::Delete);  // nothing after the caret
  EXPECT_EQ(E(s).Text, "bcde");
  EXPECT_EQ(changes[s], 2);

  Stroke(Key::Left, Modifier::Shift);
  Stroke(Key::Left, Modifier::Shift);
  EXPECT_EQ(E(s).SelectedText, "de");
  Stroke(Key::Backspace);
  EXPECT_EQ(E(s).Text, "bc");
  EXPECT_EQ(E(s).EditCaret, 2);
  EXPECT_EQ(E(s).EditAnchor, 2);
  EXPECT_EQ(E(s).SelectedText, "");
  EXPECT_EQ(changes[s], 3);
}

TEST_F(TextEditTest, CopyAndPasteGoThroughThePlatformClipboard) {
  const int s = MakeString(10, "hello world");
  const int other = MakeString(11, "");
  const int secret = MakeString(12, "hunter2", Flag::Password);
  Start();
  const int kC = Key::A + ('C' - 'A'), kV = Key::A + ('V' - 'A'), kX = Key::A + ('X' - 'A');

  DoubleClickAt(s, 7);
  Stroke(kC, Modifier::Control);
  EXPECT_EQ(platform.ClipboardText(), "world");
  EXPECT_EQ(E(s).Text, "hello world");  // copying changes nothing

  ClickAt(other, 0);
  Stroke(kV, Modifier::Control);
  EXPECT_EQ(E(other).Text, "world");
  EXPECT_EQ(E(other).EditCaret, 5);
  EXPECT_EQ(E(other).EditAnchor, 5);
  EXPECT_EQ(changes[other], 1);

  // Pasting replaces the selection; a one-line text takes the clipboard up to its line break.
  platform.SetClipboardText("earth\nand more");
  DoubleClickAt(s, 8);
  Stroke(kV, Modifier::Control);
  EXPECT_EQ(E(s).Text, "hello earth");
  EXPECT_EQ(E(s).EditCaret, 11);

  // Cutting copies and removes.
  Stroke(Key::Home, Modifier::Shift);
  Stroke(kX, Modifier::Control);
  EXPECT_EQ(platform.ClipboardText(), "hello earth");
  EXPECT_EQ(E(s).Text, "");

  // A masked text never reaches the clipboard; without a selection copy keeps the clipboard.
  DoubleClickAt(secret, 2);
  EXPECT_EQ(E(secret).SelectedText, "hunter2");
  Stroke(kC, Modifier::Control);
  Stroke(kX, Modifier::Control);
  EXPECT_EQ(platform.ClipboardText(), "hello earth");
  EXPECT_EQ(E(secret).Text, "hunter2");
  // The double click's spot counts only in its own element.
  ClickAt(other, 2);
  EXPECT_EQ(E(other).SelectedText, "");
  Stroke(kC, Modifier::Control);
  EXPECT_EQ(platform.ClipboardText(), "hello earth");
}

TEST_F(TextEditTest, CaretKeysMoveAndShiftExtendsTheSelection) {
  const int s = MakeString(10, "abcdef");
  Start();
  ClickAt(s, 3);
  EXPECT_EQ(E(s).EditCaret, 3);

  Stroke(Key::Right);
  EXPECT_EQ(E(s).EditCaret, 4);
  EXPECT_EQ(E(s).SelectedText, "");
  Stroke(Key::Left);
  Stroke(Key::Left);
  EXPECT_EQ(E(s).EditCaret, 2);
  EXPECT_EQ(E(s).EditAnchor, 2);

  Stroke(Key::Right, Modifier::Shift);
  Stroke(Key::Right, Modifier::Shift);
  EXPECT_EQ(E(s).SelectedText, "cd");
  EXPECT_EQ(E(s).EditStart, 2);
  EXPECT_EQ(E(s).EditEnd, 4);
  Stroke(Key::Home, Modifier::Shift);  // the anchor stays: the selection flips to the left
  EXPECT_EQ(E(s).SelectedText, "ab");
  EXPECT_EQ(E(s).EditCaret, 0);
  Stroke(Key::End, Modifier::Shift);
  EXPECT_EQ(E(s).SelectedText, "cdef");

  // Without Shift the selection collapses onto the caret.
  Stroke(Key::Left);
  EXPECT_EQ(E(s).EditCaret, 5);
  EXPECT_EQ(E(s).SelectedText, "");
  EXPECT_EQ(E(s).EditStart, E(s).EditEnd);
  Stroke(Key::Home);
  EXPECT_EQ(E(s).EditCaret, 0);
  Stroke(Key::Left);  // stays at the start
  EXPECT_EQ(E(s).EditCaret, 0);
  Stroke(Key::End);
  Stroke(Key::Right);  // stays at the end
  EXPECT_EQ(E(s).EditCaret, 6);
  EXPECT_EQ(E(s).SelectedText, "");

  // Control+A takes everything; the text never changed.
  Stroke(Key::A, Modifier::Control);
  EXPECT_EQ(E(s).SelectedText, "abcdef");
  EXPECT_EQ(changes[s], 0);
}

TEST_F(TextEditTest, DraggingSelectsAndTypingReplacesTheSelection) {
  const int s = MakeString(10, "abcdef");
  Start();
  const int y = MiddleY(s);
  Inject(NativeEventType::MouseMove, CaretX(s, 1), y);
  Inject(NativeEventType::LeftButtonDown, CaretX(s, 1), y);
  Inject(NativeEventType::MouseMove, CaretX(s, 3), y);
  Inject(NativeEventType::MouseMove, CaretX(s, 4), y);
  PumpEvents(tk);
  EXPECT_EQ(E(s).SelectedText, "bcd");
  // Dragging back past the anchor selects to its left; leaving the element keeps the drag.
  Inject(NativeEventType::MouseMove, 5, y + 100);
  Inject(NativeEventType::LeftButtonUp, 5, y + 100);
  PumpEvents(tk);
  EXPECT_EQ(E(s).SelectedText, "a");
  EXPECT_EQ(E(s).EditCaret, 0);
  EXPECT_EQ(E(s).EditAnchor, 1);

  Type(U"XY");
  EXPECT_EQ(E(s).Text, "XYbcdef");
  EXPECT_EQ(E(s).EditCaret, 2);
  EXPECT_EQ(changes[s], 2);

  // Focus given by the keyboard (not by a press) selects the whole text, caret at the start;
  // typing then replaces all of it.
  const int t = MakeString(11, "old");
  ActivateElement(tk, t);
  EXPECT_EQ(E(t).EditCaret, 0);
  EXPECT_EQ(E(t).EditAnchor, 3);
  EXPECT_EQ(E(t).SelectedText, "old");
  // The String that lost the focus has no caret any more.
  EXPECT_EQ(E(s).EditCaret, -1);
  EXPECT_EQ(E(s).SelectedText, "");
  Type(U"n");
  EXPECT_EQ(E(t).Text, "n");
  EXPECT_EQ(changes[t], 1);
}

TEST_F(TextEditTest, CyrillicEditsCharacterByCharacter) {
  const int s = MakeString(10, "Привет");
  Start();
  ClickAt(s, 6);
  EXPECT_EQ(E(s).EditCaret, 6);  // characters, not bytes
  Stroke(Key::Backspace);
  EXPECT_EQ(E(s).Text, "Приве");
  EXPECT_EQ(E(s).EditCaret, 5);

  Stroke(Key::Left);
  Stroke(Key::Left);
  Type(U"ж");
  EXPECT_EQ(E(s).Text, "Прижве");
  EXPECT_EQ(E(s).EditCaret, 4);
  Stroke(Key::Left, Modifier::Shift);
  EXPECT_EQ(E(s).SelectedText, "ж");
  Stroke(Key::End);
  Type(U" мир!");
  EXPECT_EQ(E(s).Text, "Прижве мир!");

  // A click between any two letters lands on a character boundary, and every edit keeps the
  // text well-formed.
  const int length = 11;
  for (int i = 0; i <= length; ++i) {
    ClickAt(s, i);
    EXPECT_EQ(E(s).EditCaret, i);
  }
  ClickAt(s, 3);
  for (int i = 0; i < 4; ++i) {
    Stroke(Key::Right, Modifier::Shift);
    EXPECT_TRUE(ValidUtf8(E(s).SelectedText));
  }
  EXPECT_EQ(E(s).SelectedText, "жве ");
  Stroke(Key::Backspace);
  EXPECT_EQ(E(s).Text, "Примир!");
  EXPECT_TRUE(ValidUtf8(E(s).Text));

  DoubleClickAt(s, 1);
  EXPECT_EQ(E(s).SelectedText, "Примир");
}

TEST_F(TextEditTest, ForcedCaseCoversLatinAndCyrillic) {
  const int lower = MakeString(10, "", Flag::LowerCase);
  const int upper = MakeString(11, "", Flag::UpperCase);
  Start();
  ClickAt(lower, 0);
  Type(U"AbÉЖЁi");
  EXPECT_EQ(E(lower).Text, "abéжёi");
  ClickAt(upper, 0);
  Type(U"aBéжёs");
  EXPECT_EQ(E(upper).Text, "ABÉЖЁS");
  EXPECT_EQ(E(upper).EditCaret, 6);
  // Pasted text is forced too.
  platform.SetClipboardText("Straße и Дом");
  Stroke(Key::A + ('V' - 'A'), Modifier::Control);
  EXPECT_EQ(E(upper).Text, "ABÉЖЁSSTRAßE И ДОМ");
}

TEST_F(TextEditTest, TheCaretStaysInsideANarrowString) {
  const int s = MakeString(10, "", 0, 80);
  Start();
  ClickAt(s, 0);
  EXPECT_EQ(E(s).TextScroll, -2);
  const Element& e = E(s);
  const int left = e.TextX, right = e.TextX + e.TextRoom;
  int scrolled = 0;
  for (char32_t c : std::u32string_view(U"a long line that cannot fit")) {
    Type(std::u32string(1, c));
    const int x = CaretX(s, e.EditCaret);
    EXPECT_GE(x, left) << "after " << e.Text;
    EXPECT_LT(x, right) << "after " << e.Text;
    scrolled = std::max(scrolled, e.TextScroll);
  }
  EXPECT_GT(scrolled, 0);
  const int atEnd = e.TextScroll;

  // Home brings the start back into view, End the end again.
  Stroke(Key::Home);
  EXPECT_EQ(e.TextScroll, -2);
  EXPECT_EQ(CaretX(s, 0), left + 3);
  Stroke(Key::End);
  EXPECT_EQ(e.TextScroll, atEnd);
  // Moving left past the visible start scrolls just far enough.
  for (int i = 0; i < 20; ++i)
    Stroke(Key::Left);
  EXPECT_GE(CaretX(s, e.EditCaret), left);
  EXPECT_LT(e.TextScroll, atEnd);
  // Deleting at the end pulls the text back instead of leaving room after it.
  Stroke(Key::End);
  for (int i = 0; i < 12; ++i)
    Stroke(Key::Backspace);
  EXPECT_LT(e.TextScroll, atEnd);
  EXPECT_LT(CaretX(s, e.EditCaret), right);
  EXPECT_GE(CaretX(s, e.EditCaret), right - 4);
}

TEST_F(TextEditTest, SelectionAndCaretArePainted) {
  const int s = MakeString(10, "MMMM MMMM");
  const int other = MakeString(11, "");
  Start();
  DoubleClickAt(s, 0);
  const Element& e = E(s);
  ASSERT_EQ(e.SelectedText, "MMMM");
  // The highlight (0x0078D7 on the canvas) covers the first word, with white letters on it,
  // and nothing of the second word.
  const int y0 = e.Frame.y0, y1 = e.Frame.y0 + e.Frame.h0;
  const int split = CaretX(s, 4), end = CaretX(s, 9);
  int highlight = 0, whiteOnIt = 0, highlightAfter = 0;
  for (int y = y0; y < y1; ++y) {
    int rowHighlight = 0, rowWhite = 0;
    for (int x = CaretX(s, 0); x < split - 1; ++x) {
      const uint32_t p = platform.CanvasPixel(x, y);
      rowHighlight += p == 0x0078D7;
      rowWhite += (p & 0xC0C0C0) == 0xC0C0C0;  // white letters, smoothed at their edges
    }
    // Light pixels count only on rows the highlight covers: there the field's white is hidden.
    highlight += rowHighlight;
    if (rowHighlight > 0) whiteOnIt += rowWhite;
    for (int x = split + 2; x < end; ++x)
      highlightAfter += platform.CanvasPixel(x, y) == 0x0078D7;
  }
  EXPECT_GT(highlight, 50);
  EXPECT_GT(whiteOnIt, 10);
  EXPECT_EQ(highlightAfter, 0);

  // The caret: a dark line on the white field at the end of the text.
  Stroke(Key::End);
  const int cx = CaretX(s, 9);
  int dark = 0;
  for (int y = y0; y < y1; ++y)
    dark += platform.CanvasPixel(cx, y) == 0x000000;
  EXPECT_GE(dark, 8);
  // It goes away with the keyboard.
  ActivateElement(tk, other);
  EXPECT_EQ(e.EditCaret, -1);
  dark = 0;
  for (int y = y0; y < y1; ++y)
    dark += platform.CanvasPixel(cx, y) == 0x000000;
  EXPECT_EQ(dark, 0);
}

TEST_F(TextEditTest, ElementsThatCannotEditIgnoreInput) {
  const int button = Button(tk, 10, 20, 20, 120, 28, "Button");
  const int off = MakeString(11, "disabled");
  const int fixed = MakeString(12, "read only", Flag::ReadOnly);
  DisableElement(tk, off, 1);
  Start();

  // A Button takes the keyboard but not the text.
  Inject(NativeEventType::MouseMove, 60, E(button).Frame.y0 + 10);
  platform.InjectClick(60, E(button).Frame.y0 + 10);
  PumpEvents(tk);
  ASSERT_EQ(tk.root.UsedElement, button);
  Type(U"xyz");
  Stroke(Key::Backspace);
  EXPECT_EQ(E(button).Text, "Button");
  EXPECT_EQ(E(button).EditCaret, -1);

  // A disabled String neither edits nor changes its caret.
  EXPECT_FALSE(EditText(tk, ElementEvent::Focus, off));
  tk.root.InputChar = U'q';
  EXPECT_FALSE(EditText(tk, ElementEvent::Input, off));
  EXPECT_EQ(E(off).Text, "disabled");
  EXPECT_EQ(E(off).EditCaret, -1);

  // A read-only String selects and copies, but keeps its text.
  DoubleClickAt(fixed, 1);
  EXPECT_EQ(E(fixed).SelectedText, "read");
  Type(U"x");
  Stroke(Key::Backspace);
  Stroke(Key::A + ('V' - 'A'), Modifier::Control);
  Stroke(Key::A + ('C' - 'A'), Modifier::Control);
  EXPECT_EQ(E(fixed).Text, "read only");
  EXPECT_EQ(platform.ClipboardText(), "read");
  EXPECT_EQ(changes[fixed], 0);

  // Ids that name nothing get neutral answers.
  EXPECT_FALSE(EditText(tk, ElementEvent::Input, 4242));
  EXPECT_FALSE(EditText(tk, ElementEvent::KeyDown, -1));
}

TEST_F(TextEditTest, TextChangedByTheProgramKeepsCaretsInRangeAndPostsNoChange) {
  const int s = MakeString(10, "a long text");
  const int untouched = MakeString(11, "");
  Start();
  ClickAt(s, 11);
  Stroke(Key::Home, Modifier::Shift);
  ASSERT_EQ(E(s).SelectedText, "a long text");
  SetElementText(tk, s, "ab");
  Stroke(Key::Right, Modifier::Shift);  // the stale anchor is clamped to the new text
  EXPECT_EQ(E(s).EditCaret, 1);
  EXPECT_EQ(E(s).EditAnchor, 2);
  EXPECT_EQ(E(s).SelectedText, "b");
  // A text set by the program is not the user typing: no Change, not even on the next event.
  EXPECT_EQ(changes[s], 0);
  Type(U"Z");
  EXPECT_EQ(E(s).Text, "aZ");
  EXPECT_EQ(changes[s], 1);

  // Malformed bytes count as characters of their own and are never split or rewritten.
  SetElementText(tk, s, std::string("x\xC3y\x80", 4));
  Stroke(Key::End);
  EXPECT_EQ(E(s).EditCaret, 4);
  Stroke(Key::Backspace);
  Stroke(Key::Left);
  Stroke(Key::Backspace);
  EXPECT_EQ(E(s).Text, std::string("xy", 2));

  // Nor for a text set before the user ever touched the element.
  SetElementText(tk, untouched, "set");
  ClickAt(untouched, 1);
  EXPECT_EQ(changes[untouched], 0);
  Type(U"!");
  EXPECT_EQ(E(untouched).Text, "s!et");
  EXPECT_EQ(changes[untouched], 1);
}

// A long line is laid out once per change, and only where it changed: a keystroke measures no
// prefixes of the text, and the caret stops kept after edits in the middle are those of a
// fresh layout of the whole line.
TEST_F(TextEditTest, EditsInALongLineKeepExactCaretStopsWithoutMeasuringPrefixes) {
  std::string text;
  for (int i = 0; text.size() < 400; ++i)
    text += (i % 3 ? "word " : "слово ");
  const int s = MakeString(10, text);
  Start();
  ClickAt(s, 5);
  Type(U"Typed in the middle, и ещё");
  Stroke(Key::Backspace);
  Stroke(Key::Left, Modifier::Shift);
  Stroke(Key::Left, Modifier::Shift);
  Type(U"X");
  platform.SetClipboardText("pasted words");
  Stroke(Key::A + ('V' - 'A'), Modifier::Control);
  Stroke(Key::Home);

  // The measured sizes the font keeps: a handful of labels and shown parts of the line, not
  // one per prefix.
  const Element& e = E(s);
  const int font = e.FontID != 0 ? e.FontID : tk.platform.Fonts().Default();
  const platform::FontData& kept = tk.platform.Fonts().Data(font);
  EXPECT_LT(kept.sizes.size() + kept.olderSizes.size(), 100u);

  platform::Painter& m = tk.platform.Measurer();
  m.SetFont(font);
  std::vector<int> fresh;
  m.CaretStops(e.Text, fresh);
  EXPECT_EQ(e.CaretWidths, fresh);
  EXPECT_EQ(fresh.back(), m.TextWidth(e.Text));
}

// In a text of several lines a press places the caret on the line under the pointer.
TEST_F(TextEditTest, APressInSeveralLinesPlacesTheCaretOnThatLine) {
  const int ed = Editor(tk, 10, 20, 20, 300, 120, "first line\r\nsecond line\r\nthird", 0);
  ASSERT_EQ(ed, 10);
  Start();
  const Element& e = E(ed);
  platform::Painter& m = tk.platform.Measurer();
  m.SetFont(e.FontID != 0 ? e.FontID : tk.platform.Fonts().Default());
  const int lineHeight = m.TextHeight("A");
  // Just right of "sec" on the second line and of "thi" on the third; a press below the last
  // line takes the last line.
  const int second = 10 + 2, third = second + 11 + 2;
  for (const auto& [row, chars, expected] :
       {std::tuple{1, std::string("sec"), second + 3}, std::tuple{2, std::string("thi"), third + 3},
        std::tuple{6, std::string("th"), third + 2}}) {
    const int x = e.TextX + m.TextWidth(chars) + 1;
    const int y = e.TextY + row * lineHeight + lineHeight / 2;
    Inject(NativeEventType::MouseMove, x, y);
    Inject(NativeEventType::LeftButtonDown, x, y);
    Inject(NativeEventType::LeftButtonUp, x, y);
    PumpEvents(tk);
    EXPECT_EQ(e.EditCaret, expected) << "row " << row;
  }
}

}  // namespace
}  // namespace tk::testing
