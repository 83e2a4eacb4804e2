// Appending forms of the event-procedure and event-binding writers, so the generator can
// build its whole text in one string.
#pragma once

#include <string>
#include <string_view>

namespace tk {

void AppendEventProcedures(std::string& out, int indent, std::string_view objects,
                           std::string_view events, std::string_view bodies);
void AppendBindEventLines(std::string& out, int indent, std::string_view events,
                          std::string_view objects);

// `text` without every leading and trailing `c`.
std::string_view TrimChar(std::string_view text, char c);

// Appends `text` with every "#PB_Event" removed (one pass, left to right).
void AppendWithoutEventPrefix(std::string& out, std::string_view text);

}  // namespace tk
