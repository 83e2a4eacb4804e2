// What the file requesters show: PureBasic pattern strings, name matching, and one read of a
// folder into a sorted listing that the requester filters without reading it again.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tk::files {

// One entry of a pattern string: the label the combo box shows and its globs.
struct Pattern {
  std::string label;
  std::vector<std::string> globs;
};

// "Label|*.a;*.b|Label|*.*" → its patterns. A text without '|' is its own label and glob; a
// label without globs takes "*"; an empty text gives one pattern for every file.
std::vector<Pattern> ParsePatterns(std::string_view text);

// Whether `name` matches `glob` (* any run, ? one character), ASCII letters compared without
// case. "*.*" matches every name, also one without a dot.
bool MatchGlob(std::string_view glob, std::string_view name);
bool Matches(const Pattern& pattern, std::string_view name);
// Whether the pattern names dot files itself (a glob starting with '.'), which are otherwise
// left out.
bool ShowsHidden(const Pattern& pattern);

struct Entry {
  std::string name;  // as the file system has it (not necessarily UTF-8)
  bool folder = false;
  // A file's size costs a look at the file of its own, so it is taken only when the file's
  // row is shown (MeasureEntry).
  bool sized = false;
  uintmax_t size = 0;
};

struct Listing {
  std::vector<Entry> entries;  // folders first, then files, each by name without case
  std::string error;           // why the folder could not be read; empty when it could
};

// Reads the folder once: names and kinds, without sizes. Never throws; a folder that cannot
// be read (or stops being readable part way) gives what was read and the reason.
Listing ReadFolder(const std::filesystem::path& folder);
// Takes the size of a file of `folder` (0 when it cannot be had).
void MeasureEntry(const std::filesystem::path& folder, Entry& entry);

// The name as it can be drawn: bytes that are not UTF-8 and control characters become U+FFFD.
std::string DisplayName(std::string_view name);

// "512 bytes", "1.5 KB", "12 MB", ...
std::string SizeText(uintmax_t bytes);

}  // namespace tk::files
