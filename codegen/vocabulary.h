// The words that tie element kinds and flag bits to PureBasic source text, and the per-element
// name, flag-list and event-list texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/toolkit.h"

namespace tk {

// The kind's name ("Button", "Window", "Toolbar" ...); empty for MDI (30) and unknown kinds.
std::string KindName(int kind);
std::string KindName(ElementKind kind);

// The kind of the first recognition word found in `text` (case-insensitive substring search,
// longer words tried before the shorter words they contain); 0 when none occurs.
int KindFromText(std::string_view text);

// The PureBasic flag constants offered for a kind, joined by "|"; empty for a kind without any.
std::string KindFlagList(int kind);

// The toolkit value of the first flag word found in `text`. Only one word counts: a text that
// holds several constants gives the value of the word tried first, not their union.
uint64_t FlagValue(std::string_view text);

// The PureBasic constants of the flag bits of `flags` that the kind knows, joined by "|".
std::string FlagNames(uint64_t flags, int kind);

// Per-element texts. Setters do nothing and getters return "" when `id` is not a live element.
void SetElementName(Toolkit& tk, int id, std::string_view name);
std::string GetElementName(Toolkit& tk, int id);

// Appends "|" + text to the flag list unless the text already occurs in it (case-insensitive
// substring); an empty text clears the list.
void AddElementFlag(Toolkit& tk, int id, std::string_view text);
// The flag list with its leading and trailing "|" removed.
std::string GetElementFlagText(Toolkit& tk, int id);

// The same two operations on the event list.
void AddElementEvent(Toolkit& tk, int id, std::string_view text);
std::string GetElementEventText(Toolkit& tk, int id);

// Case-insensitive (ASCII letters only) substring test; bytes of UTF-8 sequences compare as is.
bool ContainsNoCase(std::string_view text, std::string_view word);

// `text` without its leading and trailing "|" characters.
std::string_view TrimBars(std::string_view text);

}  // namespace tk
