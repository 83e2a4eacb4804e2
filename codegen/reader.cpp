// Reading PureBasic form source as text: decoding, lines, creation lines and call pieces.
#include "codegen/reader.h"

#include <array>
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
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string MarkCreationLine(std::string_view line) {
  for (std::string_view word : kCreationWords) {
    for (size_t at = line.find(word); at != std::string_view::npos; at = line.find(word, at + 1)) {
      if (at + word.size() < line.size() && line[at + word.size()] == '(')
        return "Find >> " + std::string(line);
    }
  }
  return {};
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

bool ParseSourceCall(std::string_view line, SourceCall& call) {
  call = SourceCall();
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
  int depth = 1;
  bool quoted = false;
  size_t start = open + 1;
  size_t i = start;
  for (; i < line.size(); ++i) {
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
