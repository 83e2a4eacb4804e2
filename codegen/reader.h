// The text side of reading PureBasic form source: bytes to UTF-8 lines, the lines that create
// a window or gadget, and the pieces of a call line. Nothing here touches elements.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// The source bytes as UTF-8: a leading UTF-8 byte-order mark is dropped, and every byte that
// is not part of a well-formed UTF-8 sequence is taken as a Latin-1 character.
std::string SourceText(std::string_view bytes);

// The lines of `text`, each without its end; a line ends in CR LF, LF or CR. A last line
// without an end counts; an empty text has no lines.
std::vector<std::string_view> SourceLines(std::string_view text);

// "Find >> " + line when the line holds one of the creation words immediately followed by
// "(" (words tried in their fixed order, case-sensitive), else "".
std::string MarkCreationLine(std::string_view line);
// Whether MarkCreationLine marks `line`, without building the mark.
bool IsCreationLine(std::string_view line);

// The value of a number written in source: leading spaces and tabs skipped, an optional sign,
// then decimal digits, or hexadecimal digits after "$", or binary digits after "%", up to the
// first other character. No digits give 0 ("#PB_Ignore" reads as 0); a value beyond the
// 64-bit range stops at its bound.
int64_t ReadSourceNumber(std::string_view text);

// One call line, "target = Function(arg, ...)" or "Function(arg, ...)". The arguments are
// split at the commas that lie outside double quotes and outside nested parentheses, each
// trimmed of spaces and tabs; they end at the parenthesis that closes the call (or at a
// comment, or the end of the line, when none does).
struct SourceCall {
  bool assigned = false;      // a "=" comes before the first "("
  std::string_view target;    // what stands before "=", trimmed
  std::string_view function;  // between "=" (or the start) and "(", trimmed
  std::vector<std::string_view> args;
};
// False when the line holds no "(".
bool ParseSourceCall(std::string_view line, SourceCall& call);

// A text argument as the element takes it: trimmed of spaces, then of double quotes.
std::string_view SourceTextArgument(std::string_view field);

// `text` without leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);

// ASCII case-insensitive equality (PureBasic names ignore case).
bool SameWord(std::string_view a, std::string_view b);

}  // namespace tk
