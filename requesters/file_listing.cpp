#include "requesters/file_listing.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "platform/painter.h"

namespace tk::files {

namespace {

namespace fs = std::filesystem;

char Fold(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

std::vector<std::string> SplitGlobs(std::string_view text) {
  std::vector<std::string> globs;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view glob = Trim(text.substr(start, end - start));
    if (!glob.empty()) globs.emplace_back(glob);
    start = end + 1;
  }
  if (globs.empty()) globs.emplace_back("*");
  return globs;
}

// Names compare without case, and names equal that way keep a fixed order by their bytes.
bool NameBefore(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char x = Fold(a[i]), y = Fold(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// The length of the valid UTF-8 sequence at s[i], 0 when the bytes there are not one.
size_t ValidSequence(std::string_view s, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  size_t len = 0;
  uint32_t cp = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and code points past Unicode are not text.
  if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return len;
}

}  // namespace

std::vector<Pattern> ParsePatterns(std::string_view text) {
  std::vector<Pattern> patterns;
  if (Trim(text).empty()) return {{"All files (*.*)", {"*"}}};
  if (text.find('|') == std::string_view::npos)
    return {{std::string(Trim(text)), SplitGlobs(text)}};
  size_t start = 0;
  while (start < text.size()) {
    size_t bar = text.find('|', start);
    const std::string_view label =
        text.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    std::string_view globs;
    if (bar == std::string_view::npos) {
      start = text.size();
    } else {
      size_t end = text.find('|', bar + 1);
      if (end == std::string_view::npos) end = text.size();
      globs = text.substr(bar + 1, end - bar - 1);
      start = end + 1;
    }
    if (Trim(label).empty() && Trim(globs).empty()) continue;
    Pattern p;
    p.globs = SplitGlobs(globs);
    p.label = Trim(label).empty() ? std::string(Trim(globs)) : std::string(Trim(label));
    patterns.push_back(std::move(p));
  }
  if (patterns.empty()) patterns.push_back({"All files (*.*)", {"*"}});
  return patterns;
}

bool MatchGlob(std::string_view glob, std::string_view name) {
  if (glob == "*.*" || glob == "*") return true;
  // Iterative matching: on a mismatch the last '*' takes one more character.
  size_t g = 0, n = 0;
  size_t starG = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (g < glob.size() && glob[g] == '*') {
      starG = g++;
      starN = n;
    } else if (g < glob.size() && glob[g] == '?') {
      ++g;
      n += platform::Utf8SequenceLength(name, n);
    } else if (g < glob.size() && Fold(glob[g]) == Fold(name[n])) {
      ++g;
      ++n;
    } else if (starG != std::string_view::npos) {
      g = starG + 1;
      starN += platform::Utf8SequenceLength(name, starN);
      n = starN;
    } else {
      return false;
    }
  }
  while (g < glob.size() && glob[g] == '*')
    ++g;
  return g == glob.size();
}

bool Matches(const Pattern& pattern, std::string_view name) {
  return std::any_of(pattern.globs.begin(), pattern.globs.end(),
                     [&](const std::string& glob) { return MatchGlob(glob, name); });
}

bool ShowsHidden(const Pattern& pattern) {
  return std::any_of(pattern.globs.begin(), pattern.globs.end(),
                     [](const std::string& glob) { return !glob.empty() && glob[0] == '.'; });
}

Listing ReadFolder(const fs::path& folder) {
  Listing out;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) out.error = ec.message();
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    Entry e;
    e.name = entry.path().filename().string();
    std::error_code kindError;
    // A link is shown as what it leads to; a broken one as a file.
    e.folder = entry.is_directory(kindError);
    e.sized = e.folder;
    out.entries.push_back(std::move(e));
  }
  if (ec && out.error.empty()) out.error = ec.message();
  std::sort(out.entries.begin(), out.entries.end(), [](const Entry& a, const Entry& b) {
    if (a.folder != b.folder) return a.folder;
    return NameBefore(a.name, b.name);
  });
  return out;
}

void MeasureEntry(const fs::path& folder, Entry& entry) {
  if (entry.sized) return;
  entry.sized = true;
  std::error_code ec;
  const uintmax_t size = fs::file_size(folder / entry.name, ec);
  entry.size = ec ? 0 : size;
}

std::string DisplayName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const size_t len = ValidSequence(name, i);
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (len == 0 || c < 0x20 || c == 0x7F) {
      out += "\xEF\xBF\xBD";
      i += len == 0 ? 1 : len;
    } else {
      out.append(name.substr(i, len));
      i += len;
    }
  }
  return out;
}

std::string SizeText(uintmax_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024.0;
  size_t unit = 0;
  while (value >= 1024.0 && unit + 1 < std::size(kUnits)) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, value < 10.0 ? "%.1f %s" : "%.0f %s", value, kUnits[unit]);
  return text;
}

}  // namespace tk::files
