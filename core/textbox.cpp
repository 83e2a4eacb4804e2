// Text box drawing: line-break normalisation, alignment and greedy word wrapping.
#include "core/textbox.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tk {

namespace {

// Folds LF CR, then CR LF, then lone CR into single line feeds, in that order, so that every
// line-end convention (and a mix of them) counts one line feed per break. In one pass: a CR
// goes when a LF stands before it (the first fold) or after it (the second); any other CR
// becomes a LF. The text between CRs is copied whole.
std::string NormaliseLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (size_t i = text.find('\r'); i != std::string_view::npos; i = text.find('\r', i + 1)) {
    out.append(text.substr(start, i - start));
    const bool folded =
        (i > 0 && text[i - 1] == '\n') || (i + 1 < text.size() && text[i + 1] == '\n');
    if (!folded) out.push_back('\n');
    start = i + 1;
  }
  out.append(text.substr(start));
  return out;
}

std::string_view TrimSpaces(std::string_view s) {
  size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  size_t last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

// Wraps one source line greedily at single spaces: a word joins the current line while the
// trimmed result stays narrower than the box. A word wider than the box keeps a line alone.
// Stops once `out` holds `limit` lines.
void WrapLine(platform::Painter& painter, std::string_view line, int width, size_t limit,
              std::vector<std::string>& out) {
  std::string current;
  std::string candidate;
  bool started = false;
  size_t start = 0;
  while (true) {
    size_t space = line.find(' ', start);
    std::string_view word = line.substr(
        start, space == std::string_view::npos ? std::string_view::npos : space - start);
    if (!started) {
      current.assign(word);
      started = true;
    } else {
      candidate = current;
      candidate.push_back(' ');
      candidate.append(word);
      if (painter.TextWidth(TrimSpaces(candidate)) < width) {
        current.swap(candidate);
      } else {
        out.push_back(std::move(current));
        if (out.size() >= limit) return;
        current.assign(word);
      }
    }
    if (space == std::string_view::npos) break;
    start = space + 1;
  }
  out.push_back(std::move(current));
}

}  // namespace

std::vector<std::string> WrapTextLines(platform::Painter& painter, std::string_view text,
                                       int width) {
  const std::string normal = NormaliseLineBreaks(text);
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t feed = normal.find('\n', start);
    WrapLine(painter, std::string_view(normal).substr(start, feed - start), width, SIZE_MAX, lines);
    if (feed == std::string::npos) break;
    start = feed + 1;
  }
  return lines;
}

int DrawTextBox(platform::Painter& painter, int x, int y, std::string_view text, Color frontColor,
                Color backColor, Flags64 flags, int width, int height) {
  if (width == 0) width = painter.OutputWidth();
  if (height == 0) height = painter.OutputHeight();
  const int h = painter.TextHeight("A");

  const std::string normal = NormaliseLineBreaks(text);
  int n = 0;
  for (size_t feed = normal.find('\n'); feed != std::string::npos;
       feed = normal.find('\n', feed + 1))
    ++n;

  const bool right = HasAny(flags, Flag::Right);
  const bool bottom = HasAny(flags, Flag::Bottom);
  bool centre = HasAny(flags, Flag::Center);
  bool vcentre = HasAny(flags, Flag::VCenter);
  if (HasAny(flags, Flag::AlignBit200) && bottom) vcentre = false;
  if (HasAny(flags, Flag::Left) && right) centre = false;

  auto xOffset = [&](std::string_view line) {
    if (!centre && !right) return 0;
    int w = painter.TextWidth(line);
    return centre ? (width - w) / 2 : width - w;
  };

  if (n == 0) {
    int yoff = vcentre ? (height - h) / 2 : bottom ? height - h : 0;
    painter.Text(x + xOffset(normal), y + yoff, normal, frontColor, backColor);
    return 0;
  }

  // Only the parts before each line feed are lines; anything after the last one is not drawn.
  // Text placed from the top shows no more lines than fit (and always the first), so a long
  // text is wrapped only as far as it is seen; centred or bottom text needs the whole count.
  size_t limit = SIZE_MAX;
  if (!vcentre && !bottom && h > 0) limit = height < h ? 1 : static_cast<size_t>(height / h);
  std::vector<std::string> lines;
  size_t start = 0;
  for (int i = 0; i < n && lines.size() < limit; ++i) {
    size_t feed = normal.find('\n', start);
    WrapLine(painter, std::string_view(normal).substr(start, feed - start), width, limit, lines);
    start = feed + 1;
  }

  const int m = static_cast<int>(lines.size());
  int yoff = vcentre ? (height - h * m) / 2 : bottom ? height - h * m : 0;
  for (const std::string& line : lines) {
    painter.Text(x + xOffset(line), y + yoff, line, frontColor, backColor);
    yoff += h;
    if (yoff > height - h) break;
  }
  return n;
}

}  // namespace tk
