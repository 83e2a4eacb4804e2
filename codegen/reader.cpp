// Reading PureBasic form source as text: decoding, lines, creation lines and call pieces.
#include "codegen/reader.h"

#include <array>
#include <cstring>
#include <limits>

namespace tk {
namespace {

// The functions whose lines create a window or a gadget, in the order lines are tested.
constexpr std::array<std::string_view, 34> kCreationWords = {
    "OpenWindow",         "ButtonGadget",        "StringGadget",      "TextGadget",
    "CheckBoxGadget",     "OptionGadget",        "ListViewGadget",    "FrameGadget",
    "ComboBoxGadget",     "ImageGadget",         "HyperLinkGadget",   "ContainerGadget",
    "ListIconGadget",     "IPAddressGadget",     "ProgressBarGadget", "ScrollBarGadget",
    "ScrollAreaGadget",   "TrackBarGadget",      "WebGadget",         "ButtonImageGadget",
    "CalendarGadget",     "DateGadget",          "EditorGadget",      "ExplorerListGadget",
    "ExplorerTreeGadget", "ExplorerComboGadget", "SpinGadget",        "TreeGadget",
    "PanelGadget",        "SplitterGadget",      "MDIGadget",         "ScintillaGadget",
    "ShortcutGadget",     "CanvasGadget"};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none.
size_t Utf8Length(std::string_view s, size_t at) {
  const auto b = [&](size_t i) { return static_cast<unsigned char>(s[at + i]); };
  const unsigned char c = b(0);
  if (c < 0x80) return 1;
  size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + n > s.size()) return 0;
  if (b(1) < low || b(1) > high) return 0;
  for (size_t i = 2; i < n; ++i)
    if (!IsContinuation(b(i))) return 0;
  return n;
}

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string SourceText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  std::string out;
  out.reserve(bytes.size());
  size_t at = 0;
  while (at < bytes.size()) {
    // Plain ASCII runs are copied as they are.
    size_t run = at;
    for (uint64_t word; run + 8 <= bytes.size(); run += 8) {
      std::memcpy(&word, bytes.data() + run, 8);
      if ((word & 0x8080808080808080ull) != 0) break;
    }
    while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80)
      ++run;
    out.append(bytes.data() + at, run - at);
    at = run;
    if (at >= bytes.size()) break;
    if (const size_t n = Utf8Length(bytes, at); n > 0) {
      out.append(bytes.data() + at, n);
      at += n;
      continue;
    }
    const auto c = static_cast<unsigned char>(bytes[at++]);
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::vector<std::string_view> SourceLines(std::string_view text) {
  std::vector<std::string_view> lines;
  const char* const begin = text.data();
  const size_t size = text.size();
  size_t start = 0;
  // The next LF is found once and kept until passed, so a file of CR endings alone is not
  // searched to its end for every line.
  size_t lf = 0;
  bool lfKnown = false;
  while (start < size) {
    if (!lfKnown || lf < start) {
      lfKnown = true;
      const void* found = std::memchr(begin + start, '\n', size - start);
      lf = found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - begin) : size;
    }
    const void* cr = std::memchr(begin + start, '\r', lf - start);
    const size_t end =
        cr != nullptr ? static_cast<size_t>(static_cast<const char*>(cr) - begin) : lf;
    lines.push_back(text.substr(start, end - start));
    if (end == size) break;
    start = end + 1;
    if (begin[end] == '\r' && start < size && begin[start] == '\n') ++start;
  }
  return lines;
}

bool IsCreationLine(std::string_view line) {
  // Every "(" is looked at once, against the words that could end just before it; a line
  // has few of them, where searching the line for each of the words scans it many times.
  for (size_t open = line.find('('); open != std::string_view::npos;
       open = line.find('(', open + 1)) {
    const std::string_view before = line.substr(0, open);
    for (std::string_view word : kCreationWords)
      if (before.ends_with(word)) return true;
  }
  return false;
}

std::string MarkCreationLine(std::string_view line) {
  if (!IsCreationLine(line)) return {};
  std::string marked = "Find >> ";
  marked.append(line);
  return marked;
}

int64_t ReadSourceNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    base = 2;
    ++i;
  }
  // Accumulated as a negative number so the most negative value fits.
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  int64_t value = 0;
  bool saturated = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0 || digit >= base) break;
    if (saturated) continue;
    if (value < (kMin + digit) / base) {
      saturated = true;
      value = kMin;
      continue;
    }
    value = value * base - digit;
  }
  if (negative) return value;
  return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

namespace {

// The characters that end a run of plain argument text.
constexpr std::array<bool, 256> kCallMarks = [] {
  std::array<bool, 256> marks{};
  for (const unsigned char c : {'"', ';', '(', ')', ','})
    marks[c] = true;
  return marks;
}();

}  // namespace

bool ParseSourceCall(std::string_view line, SourceCall& call) {
  // The argument list keeps its storage: one call is parsed per line of a long file.
  call.assigned = false;
  call.target = call.function = {};
  call.args.clear();
  const size_t open = line.find('(');
  if (open == std::string_view::npos) return false;
  const std::string_view head = line.substr(0, open);
  const size_t equals = head.find('=');
  if (equals != std::string_view::npos) {
    call.assigned = true;
    call.target = TrimBlanks(head.substr(0, equals));
    call.function = TrimBlanks(head.substr(equals + 1));
  } else {
    call.function = TrimBlanks(head);
  }
  if (call.args.capacity() == 0) call.args.reserve(8);  // most calls have fewer arguments
  int depth = 1;
  bool quoted = false;
  size_t start = open + 1;
  size_t i = start;
  const size_t size = line.size();
  for (; i < size; ++i) {
    if (!quoted) {
      while (i < size && !kCallMarks[static_cast<unsigned char>(line[i])])
        ++i;
      if (i == size) break;
    }
    const char c = line[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (c == ';') {
      break;  // a comment
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth == 0) break;
    } else if (c == ',' && depth == 1) {
      call.args.push_back(TrimBlanks(line.substr(start, i - start)));
      start = i + 1;
    }
  }
  const std::string_view last = TrimBlanks(line.substr(start, i - start));
  if (!last.empty() || !call.args.empty()) call.args.push_back(last);
  return true;
}

std::string_view SourceTextArgument(std::string_view field) {
  field = TrimBlanks(field);
  while (!field.empty() && field.front() == '"')
    field.remove_prefix(1);
  while (!field.empty() && field.back() == '"')
    field.remove_suffix(1);
  return field;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

}  // namespace tk
