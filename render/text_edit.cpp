// Text editing of the one-line texts of String, Editor, Spin and ComboBox elements: caret,
// selection, typing, deleting, the clipboard, and painting the text with its selection and
// caret scrolled so the caret stays in view. Positions count characters (code points) of the
// UTF-8 text, so no edit ever splits a multi-byte character.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/events.h"
#include "core/lookup.h"
#include "platform/painter.h"
#include "render/interaction.h"
#include "render/looks.h"

namespace tk {

using platform::DrawMode;
using platform::Painter;

namespace {

// A multi-line text's caret that its rows must bring into view at the next layout.
constexpr int kCaretToShow = -2;
// While the caret is at 0 the text starts two pixels inside its box.
constexpr int kScrollHome = -2;
// The caret line stands one pixel right of the boundary before its character.
constexpr int kCaretOffset = 1;
// A password text shows this character for each of its own.
constexpr std::string_view kMaskCharacter = "\xE2\x97\x8F";  // U+25CF black circle
constexpr char32_t kReplacement = 0xFFFD;
using looks::kWhite;

// Command keys taken with Control.
constexpr int kKeySelectAll = platform::Key::A;
constexpr int kKeyCopy = platform::Key::A + ('C' - 'A');
constexpr int kKeyPaste = platform::Key::A + ('V' - 'A');
constexpr int kKeyCut = platform::Key::A + ('X' - 'A');

// The high-word bit 0x800 both masks a text and makes a double click take the whole text.
constexpr Flags64 kWholeTextFlag = Flag::Password;

// ---- UTF-8 ------------------------------------------------------------------------------

// A malformed byte is a character of its own, so every byte belongs to exactly one character.
using platform::Utf8SequenceLength;

// Eight ASCII bytes from s[i] on: eight characters at once. Texts of hundreds of kilobytes
// (generated sources) are walked on every edit, and they are mostly ASCII.
bool AsciiWord(std::string_view s, size_t i) {
  uint64_t word = 0;
  std::memcpy(&word, s.data() + i, sizeof word);
  return (word & 0x8080808080808080ull) == 0;
}

// Walks from byte `i` (a character start) over up to `count` characters; returns the byte
// offset reached and adds the characters passed to *passed.
size_t Advance(std::string_view s, size_t i, int64_t count, int64_t* passed) {
  int64_t p = 0;
  while (p < count && i < s.size()) {
    if (count - p >= 8 && i + 8 <= s.size() && AsciiWord(s, i)) {
      i += 8;
      p += 8;
    } else {
      i += Utf8SequenceLength(s, i);
      ++p;
    }
  }
  if (passed) *passed += p;
  return i;
}

int CharCount(std::string_view s) {
  int64_t n = 0;
  Advance(s, 0, INT64_MAX, &n);
  return static_cast<int>(n);
}

// Byte offset of character `index`, clamped to the text.
size_t ByteOffset(std::string_view s, int index) {
  return Advance(s, 0, index, nullptr);
}

// The code point of the character at s[i] (of length n); U+FFFD for a malformed one.
char32_t Decode(std::string_view s, size_t i, size_t n) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (n == 1) return b < 0x80 ? b : kReplacement;
  char32_t c = n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
  for (size_t k = 1; k < n; ++k)
    c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  const char32_t least = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
  const bool expected = (n == 2 && (b & 0xE0) == 0xC0) || (n == 3 && (b & 0xF0) == 0xE0) ||
                        (n == 4 && (b & 0xF8) == 0xF0);
  if (!expected || c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
  return c;
}

std::u32string DecodeAll(std::string_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const size_t n = Utf8SequenceLength(s, i);
    out.push_back(Decode(s, i, n));
    i += n;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool IsCodePoint(char32_t c) {
  return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

// ---- Case mapping -------------------------------------------------------------------------

// Simple one-to-one case pairs of the Latin, Greek, Cyrillic and Armenian scripts, so forced
// case works without touching the process locale.
enum class Pairing { Offset, EvenUpper, OddUpper };
struct CaseRange {
  char32_t first, last;  // the upper-case letters (Offset) or the whole paired run
  Pairing pairing;
  int delta;  // lower = upper + delta, for Offset ranges
};
constexpr CaseRange kCaseRanges[] = {
    {0x0041, 0x005A, Pairing::Offset, 0x20}, {0x00C0, 0x00D6, Pairing::Offset, 0x20},
    {0x00D8, 0x00DE, Pairing::Offset, 0x20}, {0x0100, 0x012F, Pairing::EvenUpper, 0},
    {0x0132, 0x0137, Pairing::EvenUpper, 0}, {0x0139, 0x0148, Pairing::OddUpper, 0},
    {0x014A, 0x0177, Pairing::EvenUpper, 0}, {0x0178, 0x0178, Pairing::Offset, -0x79},
    {0x0179, 0x017E, Pairing::OddUpper, 0},  {0x0386, 0x0386, Pairing::Offset, 0x26},
    {0x0388, 0x038A, Pairing::Offset, 0x25}, {0x038C, 0x038C, Pairing::Offset, 0x40},
    {0x038E, 0x038F, Pairing::Offset, 0x3F}, {0x0391, 0x03A1, Pairing::Offset, 0x20},
    {0x03A3, 0x03AB, Pairing::Offset, 0x20}, {0x0400, 0x040F, Pairing::Offset, 0x50},
    {0x0410, 0x042F, Pairing::Offset, 0x20}, {0x0460, 0x0481, Pairing::EvenUpper, 0},
    {0x048A, 0x04BF, Pairing::EvenUpper, 0}, {0x04C0, 0x04C0, Pairing::Offset, 0x0F},
    {0x04C1, 0x04CE, Pairing::OddUpper, 0},  {0x04D0, 0x052F, Pairing::EvenUpper, 0},
    {0x0531, 0x0556, Pairing::Offset, 0x30}, {0x1E00, 0x1E95, Pairing::EvenUpper, 0},
    {0x1EA0, 0x1EFF, Pairing::EvenUpper, 0}, {0xFF21, 0xFF3A, Pairing::Offset, 0x20},
};
constexpr char32_t kFinalSigma = 0x03C2, kCapitalSigma = 0x03A3;

char32_t ToLower(char32_t c) {
  for (const CaseRange& r : kCaseRanges) {
    if (c < r.first || c > r.last) continue;
    switch (r.pairing) {
      case Pairing::Offset:
        return static_cast<char32_t>(static_cast<int32_t>(c) + r.delta);
      case Pairing::EvenUpper:
        return (c % 2 == 0 && c + 1 <= r.last) ? c + 1 : c;
      case Pairing::OddUpper:
        return (c % 2 == 1 && c + 1 <= r.last) ? c + 1 : c;
    }
  }
  return c;
}

char32_t ToUpper(char32_t c) {
  if (c == kFinalSigma) return kCapitalSigma;
  for (const CaseRange& r : kCaseRanges) {
    if (r.pairing == Pairing::Offset) {
      const auto lowFirst = static_cast<char32_t>(static_cast<int32_t>(r.first) + r.delta);
      const auto lowLast = static_cast<char32_t>(static_cast<int32_t>(r.last) + r.delta);
      if (c >= lowFirst && c <= lowLast)
        return static_cast<char32_t>(static_cast<int32_t>(c) - r.delta);
    } else if (c > r.first && c <= r.last) {
      const bool lower = r.pairing == Pairing::EvenUpper ? c % 2 == 1 : c % 2 == 0;
      if (lower) return c - 1;
    }
  }
  return c;
}

// ---- Element helpers ----------------------------------------------------------------------

// Space, punctuation and the other ASCII symbols end a word.
bool IsSeparator(char32_t c) {
  return (c >= 0x20 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
         (c >= 0x7B && c <= 0x7E);
}

bool IsMasked(const Element& e) {
  return HasAny(e.Flags, Flag::Password);
}

bool IsReadOnly(const Element& e) {
  return HasAny(e.Flags, Flag::ReadOnly);
}

bool Accepts(const Element& e, char32_t c) {
  if (c < 0x20 || c == 0x7F || !IsCodePoint(c)) return false;
  if (HasAny(e.Flags, Flag::Numeric)) return c == '.' || (c >= '0' && c <= '9');
  return true;
}

// What the painter shows for a text: the text itself, or one mask character per character.
std::string DisplayText(const Element& e, std::string_view text) {
  if (!IsMasked(e)) return std::string(text);
  std::string out;
  const int n = CharCount(text);
  out.reserve(static_cast<size_t>(n) * kMaskCharacter.size());
  for (int i = 0; i < n; ++i)
    out.append(kMaskCharacter);
  return out;
}

// Texts of left-to-right scripts only (below the Hebrew block): their caret stops only grow
// from left to right, so a part of the line can be laid out apart and shifted into place.
bool LeftToRight(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0xD6) return false;
  return true;
}

// Caret stops of `now` from those of `before` (the same font), laying out only the words the
// edit touched: what precedes them keeps its stops, what follows is shifted by the change in
// width. A typed character or a paste costs its own words, not the whole line. False when
// the change cannot be done this way (the caller lays out the whole text).
bool UpdateStops(Painter& painter, std::string_view before, std::string_view now,
                 std::vector<int>& stops) {
  if (!LeftToRight(now) || !LeftToRight(before) ||
      stops.size() != static_cast<size_t>(CharCount(before)) + 1)
    return false;
  // The bytes both texts share at their start and at their end.
  size_t head = 0;
  const size_t shorter = std::min(before.size(), now.size());
  while (head < shorter && before[head] == now[head])
    ++head;
  size_t tail = 0;
  while (tail < shorter - head && before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
    ++tail;
  // Widen the changed part to whole words: glyphs inside a word shape together, while a space
  // separates them from their neighbours.
  size_t from = head;
  while (from > 0 && now[from - 1] != ' ')
    --from;
  size_t to = now.size() - tail;
  while (to < now.size() && now[to] != ' ')
    ++to;
  // Both cut points on character boundaries of both texts: ASCII spaces and the ends are.
  const size_t oldTo = before.size() - (now.size() - to);
  const int first = CharCount(now.substr(0, from));
  const int oldEnd = CharCount(before.substr(0, oldTo));
  std::vector<int> part;
  painter.CaretStops(now.substr(from, to - from), part);
  const int base = stops[static_cast<size_t>(first)];
  const int shift = base + part.back() - stops[static_cast<size_t>(oldEnd)];
  std::vector<int> out;
  out.reserve(static_cast<size_t>(first) + part.size() + stops.size() - oldEnd);
  out.assign(stops.begin(), stops.begin() + first);
  for (int x : part)
    out.push_back(base + x);
  for (size_t p = static_cast<size_t>(oldEnd) + 1; p < stops.size(); ++p)
    out.push_back(stops[p] + shift);
  stops.swap(out);
  return true;
}

// The caret x before every character from 0 to the character count, in the painter's font,
// from one layout of the text. Kept on the element while the shown text and the font stay the
// same, so an unchanged text costs no layout per frame or per pointer move.
const std::vector<int>& PrefixWidths(Painter& painter, Element& e, const std::string& shown) {
  const int font = painter.Font();
  if (e.CaretWidthsFont == font && e.CaretWidthsText == shown && !e.CaretWidths.empty())
    return e.CaretWidths;
  if (e.CaretWidthsFont != font || e.CaretWidths.empty() ||
      !UpdateStops(painter, e.CaretWidthsText, shown, e.CaretWidths))
    painter.CaretStops(shown, e.CaretWidths);
  e.CaretWidthsText = shown;
  e.CaretWidthsFont = font;
  return e.CaretWidths;
}

// One source line of a text with line breaks: its bytes and the index of its first character.
// Breaks count as the text box counts them (LF CR, CR LF and a lone CR are one break each).
struct SourceLine {
  std::string_view text;
  int firstChar = 0;
};

SourceLine LineAt(std::string_view text, int wanted) {
  int line = 0, chars = 0, lineStart = 0;
  size_t start = 0, i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\n' && c != '\r') {
      i += Utf8SequenceLength(text, i);
      ++chars;
      continue;
    }
    if (line == wanted) break;
    const bool pair =
        i + 1 < text.size() && (text[i + 1] == '\n' || text[i + 1] == '\r') && text[i + 1] != c;
    const size_t next = i + (pair ? 2 : 1);
    chars += static_cast<int>(next - i);
    i = start = next;
    lineStart = chars;
    ++line;
  }
  return {text.substr(start, i - start), lineStart};
}

// ---- Rows of several lines ------------------------------------------------------------------

std::string_view TrimSpaces(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

int WidthOf(Painter& painter, std::string_view text) {
  return text.empty() ? 0 : painter.TextWidth(text);
}

// The widest advance of the printable ASCII characters in the painter's font.
int WidestAscii(Painter& painter) {
  int widest = 0;
  char c[1];
  for (c[0] = 0x20; c[0] < 0x7F; ++c[0])
    widest = std::max(widest, painter.TextWidth(std::string_view(c, 1)));
  return widest;
}

// A width no layout of the line exceeds: the widest ASCII advance a character, twice that for
// any other character and eight times for a tab, and a little for kerning. Most lines of a
// source are far narrower than their box, and a long text has thousands of them.
int WidthBound(std::string_view line, int widestAscii) {
  constexpr int kKerningSlack = 2;
  constexpr int kOtherFactor = 2, kTabFactor = 8;
  int64_t bound = kKerningSlack;
  for (char ch : line) {
    const auto b = static_cast<unsigned char>(ch);
    if (b == '\t')
      bound += kTabFactor * widestAscii;
    else if (b < 0x80)
      bound += widestAscii;
    else if ((b & 0xC0) != 0x80)
      bound += kOtherFactor * widestAscii;
  }
  return static_cast<int>(std::min<int64_t>(bound, INT32_MAX));
}

// Wraps the source line text[start, start + length) as the text box does: greedily at single
// spaces, a word joining the row while the trimmed row stays narrower than the box; the space
// at a break belongs to neither row. A line that fits whole is measured once at most.
void WrapSourceLine(Painter& painter, std::string_view text, size_t start, size_t length,
                    int firstChar, int width, int widestAscii, bool drawn,
                    std::vector<TextRow>& rows) {
  const std::string_view line = text.substr(start, length);
  auto add = [&](size_t from, size_t to) {
    TextRow row;
    row.start = static_cast<int>(start + from);
    row.length = static_cast<int>(to - from);
    row.firstChar = firstChar + CharCount(line.substr(0, from));
    row.drawn = drawn;
    rows.push_back(row);
  };
  if (line.find(' ') == std::string_view::npos ||
      WidthBound(TrimSpaces(line), widestAscii) < width ||
      WidthOf(painter, TrimSpaces(line)) < width) {
    add(0, line.size());
    return;
  }
  size_t rowStart = 0, rowEnd = 0, word = 0;
  bool started = false;
  for (;;) {
    const size_t space = line.find(' ', word);
    const size_t wordEnd = space == std::string_view::npos ? line.size() : space;
    if (!started) {
      rowEnd = wordEnd;
      started = true;
    } else if (WidthOf(painter, TrimSpaces(line.substr(rowStart, wordEnd - rowStart))) < width) {
      rowEnd = wordEnd;
    } else {
      add(rowStart, rowEnd);
      rowStart = word;
      rowEnd = wordEnd;
    }
    if (space == std::string_view::npos) break;
    word = space + 1;
  }
  add(rowStart, rowEnd);
}

// Every source line wrapped into rows; breaks count as the text box counts them (LF CR, CR LF
// and a lone CR are one break each). The part after the last break is not drawn.
void BuildRows(Painter& painter, std::string_view text, int width, std::vector<TextRow>& rows) {
  rows.clear();
  const int widestAscii = WidestAscii(painter);
  size_t start = 0;
  int firstChar = 0;
  for (;;) {
    const size_t end = text.find_first_of("\r\n", start);
    const bool last = end == std::string_view::npos;
    const size_t stop = last ? text.size() : end;
    WrapSourceLine(painter, text, start, stop - start, firstChar, width, widestAscii, !last, rows);
    if (last) break;
    const bool pair = end + 1 < text.size() && (text[end + 1] == '\n' || text[end + 1] == '\r') &&
                      text[end + 1] != text[end];
    const size_t next = end + (pair ? 2 : 1);
    firstChar += CharCount(text.substr(start, stop - start)) + static_cast<int>(next - end);
    start = next;
  }
}

// Rows of `now` from those of `before` (the same font and width) when the edit between them
// stays inside one line and touches no line break: only that line is wrapped again, the rows
// after it move by the change. Typing into a long source costs one line. False when the change
// cannot be done this way (the caller wraps the whole text).
bool UpdateRows(Painter& painter, std::string_view before, std::string_view now, int width,
                std::vector<TextRow>& rows) {
  if (rows.empty()) return false;
  const size_t shorter = std::min(before.size(), now.size());
  size_t head = static_cast<size_t>(
      std::mismatch(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(shorter),
                    now.begin())
          .first -
      before.begin());
  size_t tail = 0;
  while (tail < shorter - head && before[before.size() - 1 - tail] == now[now.size() - 1 - tail])
    ++tail;
  // Both cuts on character boundaries.
  const auto continuation = [](std::string_view s, size_t i) {
    return i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80;
  };
  while (head > 0 && (continuation(before, head) || continuation(now, head)))
    --head;
  while (tail > 0 && continuation(before, before.size() - tail))
    --tail;
  const std::string_view gone = before.substr(head, before.size() - tail - head);
  const std::string_view came = now.substr(head, now.size() - tail - head);
  if (gone.find_first_of("\r\n") != std::string_view::npos ||
      came.find_first_of("\r\n") != std::string_view::npos)
    return false;

  // The rows of the line that holds the change.
  const auto startsLine = [&](const TextRow& r) {
    return r.start == 0 || before[static_cast<size_t>(r.start) - 1] == '\n' ||
           before[static_cast<size_t>(r.start) - 1] == '\r';
  };
  size_t first = static_cast<size_t>(std::upper_bound(rows.begin(), rows.end(), head,
                                                      [](size_t at, const TextRow& r) {
                                                        return at < static_cast<size_t>(r.start);
                                                      }) -
                                     rows.begin());
  first = first > 0 ? first - 1 : 0;
  while (first > 0 && !startsLine(rows[first]))
    --first;
  size_t end = first + 1;
  while (end < rows.size() && !startsLine(rows[end]))
    ++end;

  const TextRow lineHead = rows[first];
  const size_t lineStart = static_cast<size_t>(lineHead.start);
  size_t lineEnd = now.find_first_of("\r\n", lineStart);
  if (lineEnd == std::string_view::npos) lineEnd = now.size();
  std::vector<TextRow> line;
  WrapSourceLine(painter, now, lineStart, lineEnd - lineStart, lineHead.firstChar, width,
                 WidestAscii(painter), lineHead.drawn, line);
  const int byteShift = static_cast<int>(now.size()) - static_cast<int>(before.size());
  const int charShift = CharCount(came) - CharCount(gone);
  for (size_t i = end; i < rows.size(); ++i) {
    rows[i].start += byteShift;
    rows[i].firstChar += charShift;
  }
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(first),
             rows.begin() + static_cast<std::ptrdiff_t>(end));
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(first), line.begin(), line.end());
  return true;
}

// Where a row of a box `width` wide starts across, by the alignment bits as the text box
// aligns its lines.
int RowIndent(Painter& painter, std::string_view row, Flags64 bits, int width) {
  // Right wins over centre, as the painter's alignment bits have it.
  const bool right = HasAny(bits, Flag::Right);
  const bool centre = HasAny(bits, Flag::Center) && !right;
  if (!centre && !right) return 0;
  const int w = WidthOf(painter, row);
  return centre ? (width - w) / 2 : width - w;
}

// Measures in the element's font with the platform's measuring painter, whose font is given
// back afterwards.
class Measure {
 public:
  Measure(Toolkit& tk, const Element& e)
      : painter_(tk.platform.Measurer()), saved_(painter_.Font()) {
    painter_.SetFont(e.FontID != 0 ? e.FontID : tk.platform.Fonts().Default());
  }
  ~Measure() { painter_.SetFont(saved_); }
  Measure(const Measure&) = delete;
  Measure& operator=(const Measure&) = delete;
  Painter& painter() { return painter_; }
  int Width(std::string_view text) { return text.empty() ? 0 : painter_.TextWidth(text); }

 private:
  Painter& painter_;
  int saved_;
};

// Recomputes the ordered selection and its text from caret and anchor.
void Normalise(Element& e) {
  if (e.EditCaret < 0) {
    e.EditAnchor = e.EditStart = e.EditEnd = -1;
    e.SelectedText.clear();
    return;
  }
  if (e.EditAnchor < 0) e.EditAnchor = e.EditCaret;
  e.EditStart = std::min(e.EditCaret, e.EditAnchor);
  e.EditEnd = std::max(e.EditCaret, e.EditAnchor);
  if (e.EditEnd == e.EditStart) {
    e.SelectedText.clear();
    return;
  }
  const size_t from = ByteOffset(e.Text, e.EditStart);
  const size_t to = Advance(e.Text, from, e.EditEnd - e.EditStart, nullptr);
  e.SelectedText = e.Text.substr(from, to - from);
}

bool HasSelection(const Element& e) {
  return e.EditStart >= 0 && e.EditEnd > e.EditStart;
}

// Keeps caret and anchor inside a text that the program may have changed meanwhile.
void ClampPositions(Element& e) {
  const int n = CharCount(e.Text);
  if (e.EditCaret > n) e.EditCaret = n;
  if (e.EditAnchor > n) e.EditAnchor = n;
  if (e.EditCaret < -1) e.EditCaret = -1;
  if (e.EditAnchor < -1) e.EditAnchor = -1;
  Normalise(e);
}

// Editing keys reaching an element without a caret type at the end of its text.
void EnsureCaret(Element& e) {
  if (e.EditCaret >= 0) return;
  e.EditCaret = e.EditAnchor = CharCount(e.Text);
  Normalise(e);
}

// Removes the selected characters and puts the caret where they were; returns them.
std::string RemoveSelection(Element& e) {
  if (!HasSelection(e)) return {};
  const size_t from = ByteOffset(e.Text, e.EditStart);
  const size_t to = Advance(e.Text, from, e.EditEnd - e.EditStart, nullptr);
  std::string removed = e.Text.substr(from, to - from);
  e.Text.erase(from, to - from);
  e.EditCaret = e.EditAnchor = e.EditEnd = e.EditStart;
  e.SelectedText.clear();
  return removed;
}

void InsertAtCaret(Element& e, std::string_view text) {
  e.Text.insert(ByteOffset(e.Text, e.EditCaret), text);
  e.EditCaret += CharCount(text);
  e.EditAnchor = e.EditCaret;
}

// The text shrank: scroll back by the width of what went, never before the home position.
void ShrinkScroll(Toolkit& tk, Element& e, std::string_view removed) {
  if (removed.empty()) return;
  Measure m(tk, e);
  e.TextScroll = std::max(kScrollHome, e.TextScroll - m.Width(DisplayText(e, removed)));
}

void ApplyForcedCase(Element& e) {
  const bool lower = HasAny(e.Flags, Flag::LowerCase);
  if (!lower && !HasAny(e.Flags, Flag::UpperCase)) return;
  std::string out;
  out.reserve(e.Text.size());
  for (size_t i = 0; i < e.Text.size();) {
    const size_t n = Utf8SequenceLength(e.Text, i);
    const char32_t c = Decode(e.Text, i, n);
    // Malformed bytes are kept as they are; only letters change.
    if (c == kReplacement)
      out.append(e.Text, i, n);
    else
      AppendUtf8(out, lower ? ToLower(c) : ToUpper(c));
    i += n;
  }
  e.Text = std::move(out);
}

// Clipboard text as a one-line element takes it: up to the first line break, valid UTF-8,
// without control characters, and for a numeric element only the characters it accepts.
std::string PastableText(const Element& e, std::string_view clip) {
  if (!HasAny(e.Flags, Flag::MultiLine)) clip = clip.substr(0, clip.find_first_of("\r\n"));
  std::string out;
  for (size_t i = 0; i < clip.size();) {
    const size_t n = Utf8SequenceLength(clip, i);
    const char32_t c = Decode(clip, i, n);
    i += n;
    if (c == '\t' && !HasAny(e.Flags, Flag::Numeric))
      out.push_back(' ');
    else if (Accepts(e, c))
      AppendUtf8(out, c);
  }
  return out;
}

// Over a combo box's drop button a press opens the list instead.
bool PressPlacesCaret(Toolkit& tk, const Element& e) {
  const KindDescriptor& kind = tk.Kind(e.Kind);
  return kind.Has(Trait::CaretOnPress) && (!kind.Has(Trait::PartItems) || e.HotItem < 0);
}

bool Type(Element& e, char32_t c) {
  if (IsReadOnly(e) || !Accepts(e, c)) return false;
  EnsureCaret(e);
  RemoveSelection(e);
  std::string bytes;
  AppendUtf8(bytes, c);
  InsertAtCaret(e, bytes);
  ApplyForcedCase(e);
  return true;
}

bool Backspace(Toolkit& tk, Element& e, bool forward) {
  if (IsReadOnly(e)) return false;
  EnsureCaret(e);
  std::string removed = RemoveSelection(e);
  const int n = CharCount(e.Text);
  if (removed.empty()) {
    const int at = forward ? e.EditCaret : e.EditCaret - 1;
    if (at < 0 || at >= n) return false;
    const size_t from = ByteOffset(e.Text, at);
    const size_t to = ByteOffset(e.Text, at + 1);
    removed = e.Text.substr(from, to - from);
    e.Text.erase(from, to - from);
    e.EditCaret = at;
  }
  e.EditAnchor = e.EditCaret;
  ShrinkScroll(tk, e, removed);
  return true;
}

bool Paste(Toolkit& tk, Element& e) {
  if (IsReadOnly(e)) return false;
  const std::string text = PastableText(e, tk.platform.ClipboardText());
  EnsureCaret(e);
  const std::string removed = RemoveSelection(e);
  if (text.empty() && removed.empty()) return false;
  InsertAtCaret(e, text);
  ApplyForcedCase(e);
  ShrinkScroll(tk, e, removed);
  return true;
}

// A masked text never leaves the element through the clipboard.
bool Copy(Toolkit& tk, const Element& e) {
  if (!HasSelection(e) || IsMasked(e)) return false;
  tk.platform.SetClipboardText(e.SelectedText);
  return true;
}

bool ApplyKey(Toolkit& tk, Element& e) {
  const Root& root = tk.root;
  const int key = root.KeyCode;
  const bool shift = (root.Modifiers & platform::Modifier::Shift) != 0;
  // Control with Alt is AltGr on many layouts: a typed character, not a command.
  const bool command = (root.Modifiers & platform::Modifier::Control) != 0 &&
                       (root.Modifiers & platform::Modifier::Alt) == 0;
  const int n = CharCount(e.Text);
  if (command) {
    switch (key) {
      case kKeySelectAll:
        e.EditAnchor = 0;
        e.EditCaret = n;
        return true;
      case kKeyCopy:
        Copy(tk, e);
        return false;
      case kKeyCut:
        if (IsReadOnly(e) || !Copy(tk, e)) return false;
        return Backspace(tk, e, false);
      case kKeyPaste:
        return Paste(tk, e);
      default:
        break;
    }
  }
  // Moving the caret: with Shift the anchor stays and the selection grows or shrinks; without
  // it the selection collapses onto the caret.
  auto moveTo = [&](int caret) {
    EnsureCaret(e);
    e.EditCaret = std::clamp(caret, 0, n);
    if (!shift) e.EditAnchor = e.EditCaret;
    return true;
  };
  switch (key) {
    case platform::Key::Home:
      return moveTo(0);
    case platform::Key::End:
      return moveTo(n);
    case platform::Key::Left:
      return moveTo(e.EditCaret < 0 ? n : e.EditCaret - 1);
    case platform::Key::Right:
      return moveTo(e.EditCaret < 0 ? n : e.EditCaret + 1);
    case platform::Key::Backspace:
      return Backspace(tk, e, false);
    case platform::Key::Delete:
      return Backspace(tk, e, true);
    default:
      return false;
  }
}

void SelectWordAt(Element& e, int caret) {
  const std::u32string chars = DecodeAll(e.Text);
  const int n = static_cast<int>(chars.size());
  if (caret < n && IsSeparator(chars[caret])) {
    e.EditAnchor = caret;
    e.EditCaret = caret + 1;
    return;
  }
  int start = caret;
  while (start > 0 && !IsSeparator(chars[start - 1]))
    --start;
  int end = std::min(caret + 1, n);
  while (end < n && !IsSeparator(chars[end]))
    ++end;
  e.EditAnchor = start;
  e.EditCaret = end;
}

// Applies one code to a text element; true when caret, selection or text changed.
bool ApplyCode(Toolkit& tk, Element& e, EventCode code) {
  Root& root = tk.root;
  DispatchState& ds = tk.dispatch;
  const int n = CharCount(e.Text);
  const bool buttonHeld = root.ButtonHeld != 0 || tk.loop.PressedCode != 0;
  if (code == ElementEvent::LostFocus) {
    e.EditCaret = -1;
    return true;
  }
  if (code == ElementEvent::Focus) {
    if (buttonHeld) return false;
    e.EditCaret = 0;
    e.EditAnchor = n;
    return true;
  }
  if (code == ElementEvent::Input) return Type(e, root.InputChar);
  if (code == ElementEvent::KeyDown) return ApplyKey(tk, e);
  if (code == ElementEvent::LeftButtonDown) {
    if (!PressPlacesCaret(tk, e)) return false;
    e.EditCaret = CaretFromPointer(tk, e);
    if (e.EditCaret == ds.LastDoubleClickCaret && e.ID == ds.LastDoubleClickElement) {
      // The press after a double click on the same spot takes the whole text.
      e.EditAnchor = 0;
      e.EditCaret = n;
    } else {
      e.EditAnchor = e.EditCaret;
    }
    ds.LastDoubleClickCaret = -1;
    return true;
  }
  if (code == ElementEvent::LeftDoubleClick) {
    const int caret = CaretFromPointer(tk, e);
    ds.LastDoubleClickCaret = caret;
    ds.LastDoubleClickElement = e.ID;
    if (HasAny(e.Flags, kWholeTextFlag)) {
      e.EditAnchor = 0;
      e.EditCaret = n;
    } else {
      SelectWordAt(e, caret);
    }
    return true;
  }
  if (code == ElementEvent::MouseMove && root.ButtonHeld == ElementEvent::LeftButtonDown &&
      PressPlacesCaret(tk, e) && e.EditCaret >= 0) {
    const int caret = CaretFromPointer(tk, e);
    if (caret == e.EditCaret) return false;
    e.EditCaret = caret;
    return true;
  }
  return false;
}

// ---- Painting -----------------------------------------------------------------------------

// Keeps the caret inside the room: at home while it is at 0, scrolled just far enough when it
// would leave the room, and never scrolled past the end of the text.
void KeepCaretVisible(Element& r, const std::vector<int>& widths, int caret, int room) {
  const int farthest = std::max(kScrollHome, widths.back() + kCaretOffset + 1 - room);
  int scroll = std::clamp(r.TextScroll, kScrollHome, farthest);
  if (caret <= 0) {
    scroll = kScrollHome;
  } else {
    const int x = widths[static_cast<size_t>(caret)] - scroll + kCaretOffset;
    if (x > room - 1)
      scroll = widths[static_cast<size_t>(caret)] + kCaretOffset + 1 - room;
    else if (x < 0)
      scroll = widths[static_cast<size_t>(caret)];
  }
  r.TextScroll = std::max(scroll, kScrollHome);
}

struct Box {
  int x = 0, y = 0, w = 0, h = 0;
};

// The part of a text line drawn at `left` that can reach into `clip`, with the x to draw it
// at: a line much longer than its room is neither laid out nor drawn whole every frame. A few
// characters beyond each edge stay in, for glyphs that overhang their advance.
struct Slice {
  int x;
  std::string_view text;
};
Slice VisibleSlice(std::string_view shown, const std::vector<int>& stops, int left,
                   const Box& clip) {
  constexpr int kMargin = 2;
  const int n = static_cast<int>(stops.size()) - 1;
  if (n <= 0 || (left >= clip.x && left + stops.back() <= clip.x + clip.w) ||
      !std::is_sorted(stops.begin(), stops.end()))
    return {left, shown};
  const auto at = [&](int x) {
    return static_cast<int>(std::upper_bound(stops.begin(), stops.end(), x - left) -
                            stops.begin()) -
           1;
  };
  const int first = std::max(at(clip.x) - kMargin, 0);
  const int last = std::min(at(clip.x + clip.w) + 1 + kMargin, n);
  if (last <= first) return {left, {}};
  const size_t from = ByteOffset(shown, first);
  const size_t to = ByteOffset(shown, last);
  return {left + stops[static_cast<size_t>(first)], shown.substr(from, to - from)};
}

Box Intersect(const Box& a, const Box& b) {
  const int x = std::max(a.x, b.x), y = std::max(a.y, b.y);
  const int r = std::min(a.x + a.w, b.x + b.w), bottom = std::min(a.y + a.h, b.y + b.h);
  return {x, y, std::max(r - x, 0), std::max(bottom - y, 0)};
}

void ClipTo(Painter& p, const Box& b) {
  p.Clip(b.x, b.y, std::max(b.w, 0), std::max(b.h, 0));
}

}  // namespace

// ---- Public entries -------------------------------------------------------------------------

int CaretFromPointer(Toolkit& tk, Element& e) {
  Measure m(tk, e);
  const std::string shown = DisplayText(e, e.Text);
  // Of several lines only the pointer's row is measured, so a long text costs no more than
  // that row.
  int64_t left = static_cast<int64_t>(e.TextX) - e.TextScroll;
  int first = 0;
  std::vector<int> lineStops;
  const std::vector<int>* stops = &lineStops;
  if (shown.find_first_of("\r\n") != std::string::npos) {
    // Rows are counted from the first one shown.
    const int lineHeight = std::max(m.painter().TextHeight("A"), 1);
    const int64_t dy = static_cast<int64_t>(tk.root.MouseY) - e.TextY;
    const int64_t row = std::max<int64_t>(dy < 0 ? -1 : dy / lineHeight, -1) + e.VScroll;
    left = e.TextX;
    if (e.TextRowsText == shown && !e.TextRows.empty()) {
      // As last painted: the wrapped row, placed by its alignment.
      const TextRow& at = e.TextRows[static_cast<size_t>(
          std::clamp<int64_t>(row, 0, static_cast<int64_t>(e.TextRows.size()) - 1))];
      const std::string_view text = std::string_view(shown).substr(static_cast<size_t>(at.start),
                                                                   static_cast<size_t>(at.length));
      m.painter().CaretStops(text, lineStops);
      first = at.firstChar;
      left += RowIndent(m.painter(), text, e.Flags, e.TextRowsWidth);
    } else {
      const SourceLine line =
          LineAt(shown, static_cast<int>(std::clamp<int64_t>(row, 0, INT32_MAX)));
      m.painter().CaretStops(line.text, lineStops);
      first = line.firstChar;
    }
  } else {
    stops = &PrefixWidths(m.painter(), e, shown);
  }
  const std::vector<int>& widths = *stops;
  const int64_t mouse = tk.root.MouseX;
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (size_t p = 0; p < widths.size(); ++p) {
    const int64_t x = left + widths[p] + kCaretOffset;
    const int64_t d = (x - mouse) * (x - mouse);
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(p);
    }
  }
  return first + best;
}

bool EditText(Toolkit& tk, EventCode code, int id) {
  Element* found = FindElement(tk, id);
  if (found == nullptr || !found->Alive || found->Disabled || !HasAny(found->Flags, Flag::Editable))
    return false;
  BusyGuard busy(tk);
  Element& e = *found;
  // The text an element starts with is no change.
  if (!e.PreviousTextSet) {
    e.PreviousText = e.Text;
    e.PreviousTextSet = 1;
  }

  bool changed = false;
  if (tk.Kind(e.Kind).Has(Trait::TakesText)) {
    ClampPositions(e);
    changed = ApplyCode(tk, e, code);
    if (changed) {
      Normalise(e);
      // Whatever the user did to caret or text, the caret's row is scrolled into view.
      e.TextRowsCaret = kCaretToShow;
    }
  }

  if (e.Text != e.PreviousText) {
    e.PreviousText = e.Text;
    // The handlers may free the element; nothing of it is read afterwards.
    PostElementEvent(tk, ElementEvent::Change, id, -1, 0);
  }
  return changed;
}

const std::vector<TextRow>& TextRowsOf(Painter& painter, Element& e, int width) {
  const int font = painter.Font();
  const std::string masked = IsMasked(e) ? DisplayText(e, e.Text) : std::string();
  const std::string& shown = IsMasked(e) ? masked : e.Text;
  const bool same = e.TextRowsFont == font && e.TextRowsWidth == width;
  if (same && e.TextRowsText == shown && !e.TextRows.empty()) return e.TextRows;
  if (!same || !UpdateRows(painter, e.TextRowsText, shown, width, e.TextRows))
    BuildRows(painter, shown, width, e.TextRows);
  e.TextRowsText = shown;
  e.TextRowsFont = font;
  e.TextRowsWidth = width;
  return e.TextRows;
}

int RowOfCaret(const std::vector<TextRow>& rows, int caret) {
  const auto after = std::upper_bound(rows.begin(), rows.end(), caret,
                                      [](int c, const TextRow& r) { return c < r.firstChar; });
  return std::max(static_cast<int>(after - rows.begin()) - 1, 0);
}

int ShownOwnBarWidth(const Toolkit& tk, const Element& e) {
  if (e.Attached[0] != e.ID) return 0;
  const Element* bar = FindElement(tk, e.Attached[1]);
  return bar != nullptr && bar->Alive && bar->Hidden == 0 && bar->Vertical != 0 ? bar->Frame.w0 : 0;
}

void PaintTextLines(Toolkit& tk, Painter& painter, Element& owner, Element& r, Color front,
                    Flags64 textBits, int height) {
  const int room = std::max(r.TextRoom - ShownOwnBarWidth(tk, r), 0);
  const std::vector<TextRow>& rows = TextRowsOf(painter, r, room);
  const std::string_view shown = r.TextRowsText;
  const int lineHeight = std::max(painter.TextHeight("A"), 1);
  const int count = static_cast<int>(rows.size());
  int drawnRows = count;
  while (drawnRows > 0 && !rows[static_cast<size_t>(drawnRows) - 1].drawn)
    --drawnRows;
  r.VScroll = std::clamp(r.VScroll, 0, std::max(count - 1, 0));

  // Lines that fit keep the box's vertical alignment; more run from the first row shown.
  const Box box{r.TextX, r.TextY, room, height};
  if (r.VScroll == 0 && drawnRows * lineHeight <= height) {
    const bool bottom = HasAny(textBits, Flag::Bottom);
    const bool vcentre =
        HasAny(textBits, Flag::VCenter) && !(HasAny(textBits, Flag::AlignBit200) && bottom);
    const int free = height - drawnRows * lineHeight;
    r.TextY += vcentre ? free / 2 : bottom ? free : 0;
  }
  auto rowText = [&](int i) {
    const TextRow& row = rows[static_cast<size_t>(i)];
    return shown.substr(static_cast<size_t>(row.start), static_cast<size_t>(row.length));
  };
  auto rowY = [&](int i) { return r.TextY + (i - r.VScroll) * lineHeight; };

  const Box visible{r.Clip.x0, r.Clip.y0, r.Clip.w0, r.Clip.h0};
  const Box textClip = Intersect(box, visible);
  ClipTo(painter, textClip);
  painter.SetMode(DrawMode::Transparent);
  for (int i = r.VScroll; i < drawnRows && rowY(i) < box.y + box.h; ++i) {
    const std::string_view text = rowText(i);
    if (!text.empty())
      painter.Text(r.TextX + RowIndent(painter, text, textBits, room), rowY(i), text, front,
                   kNoColor);
  }

  // The caret of the element that has the keyboard, on its row when that row is shown.
  const bool live = !r.Disabled && !owner.Disabled;
  if (live && r.EditCaret >= 0 && count > 0 && tk.root.UsedElement == owner.ID) {
    const int row = RowOfCaret(rows, r.EditCaret);
    if (row >= r.VScroll && rowY(row) < box.y + box.h) {
      const std::string_view text = rowText(row);
      std::vector<int> stops;
      painter.CaretStops(text, stops);
      if (stops.empty()) stops.push_back(0);
      const int k = std::clamp(r.EditCaret - rows[static_cast<size_t>(row)].firstChar, 0,
                               static_cast<int>(stops.size()) - 1);
      const int x = r.TextX + RowIndent(painter, text, textBits, room) +
                    stops[static_cast<size_t>(k)] + kCaretOffset;
      const Color under = r.BackColor >= 0 ? r.BackColor : kWhite;
      painter.SetMode(DrawMode::Default);
      painter.Line(x, rowY(row), 1, lineHeight, (under & 0xFFFFFF) ^ kWhite);
    }
  }

  painter.SetMode(DrawMode::Default);
  ClipTo(painter, visible);
}

void PaintTextEditing(Toolkit& tk, Painter& painter, Element& owner, Element& r, Color front,
                      Flags64 textBits, int height) {
  const std::string shown = DisplayText(r, r.Text);
  const std::vector<int>& widths = PrefixWidths(painter, r, shown);
  const int n = static_cast<int>(widths.size()) - 1;
  const int room = r.TextRoom;
  const Box box{r.TextX, r.TextY, room, height};

  // A text that fits keeps its alignment; a longer one runs from the left and scrolls.
  const int slack = room - widths.back() - 2 * (kCaretOffset + 1);
  if (slack > 0) {
    if (HasAny(textBits, Flag::Right))
      r.TextX += slack;
    else if (HasAny(textBits, Flag::Center))
      r.TextX += slack / 2;
  }
  const int caret = std::min(r.EditCaret, n);
  KeepCaretVisible(r, widths, caret, room);
  const int left = r.TextX - r.TextScroll;

  // One line placed vertically as the text box places it.
  const int lineHeight = painter.TextHeight("A");
  const bool bottom = HasAny(textBits, Flag::Bottom);
  const bool vcentre =
      HasAny(textBits, Flag::VCenter) && !(HasAny(textBits, Flag::AlignBit200) && bottom);
  const int lineY = r.TextY + (vcentre  ? (height - lineHeight) / 2
                               : bottom ? height - lineHeight
                                        : 0);

  const Box visible{r.Clip.x0, r.Clip.y0, r.Clip.w0, r.Clip.h0};
  const Box textClip = Intersect(box, visible);
  ClipTo(painter, textClip);

  const bool live = !r.Disabled && !owner.Disabled;
  const bool selected = live && HasSelection(r) && r.EditEnd <= n;
  Box selection;
  if (selected) {
    selection = {left + widths[static_cast<size_t>(r.EditStart)], lineY,
                 widths[static_cast<size_t>(r.EditEnd)] - widths[static_cast<size_t>(r.EditStart)],
                 lineHeight};
    painter.SetMode(DrawMode::Default);
    painter.Box(selection.x, selection.y, selection.w, selection.h, tk.platform.HighlightColor());
  }
  if (!shown.empty()) {
    const auto [sliceX, slice] = VisibleSlice(shown, widths, left, textClip);
    painter.SetMode(DrawMode::Transparent);
    painter.Text(sliceX, lineY, slice, front, kNoColor);
    if (selected) {
      // The selected characters again, in the highlight's text colour, inside the highlight.
      ClipTo(painter, Intersect(selection, textClip));
      painter.Text(sliceX, lineY, slice, tk.platform.HighlightTextColor(), kNoColor);
      ClipTo(painter, textClip);
    }
  }

  // The caret of the element that has the keyboard, inverting what lies under it.
  if (live && caret >= 0 && tk.root.UsedElement == owner.ID) {
    const int x = left + widths[static_cast<size_t>(caret)] + kCaretOffset;
    const bool onSelection = selected && x >= selection.x && x < selection.x + selection.w;
    const Color under = onSelection        ? tk.platform.HighlightColor()
                        : r.BackColor >= 0 ? r.BackColor
                                           : kWhite;
    painter.SetMode(DrawMode::Default);
    painter.Line(x, lineY, 1, lineHeight, (under & 0xFFFFFF) ^ kWhite);
  }

  painter.SetMode(DrawMode::Default);
  ClipTo(painter, visible);
}

}  // namespace tk
