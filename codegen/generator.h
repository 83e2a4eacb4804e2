// The PureBasic code generator: source text that recreates the windows of a design surface,
// and the event-procedure and event-binding texts it is made of.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/toolkit.h"

namespace tk {

// The whole source text for the windows on the first page of the design surface: image
// loading, identifier declarations, event procedures, one Open_ procedure per window and the
// main-file event loop. Lines end with "\r\n". Empty when the surface does not exist or has
// no children. Reads the element tree only.
std::string FormCodeText(Toolkit& tk, int surfaceId);

// Puts FormCodeText into the code element through SetElementText. A surface without children
// produces nothing, so the code element keeps its previous text.
void GenerateFormCode(Toolkit& tk, int surfaceId, int codeElementId);

// BindEvent lines, each indented by `indent` spaces, for every object of the "|"-separated
// `objects` list and every event of `events` (PureBasic "#PB_Event_..." constants). An empty
// object binds the event for all windows ("@All..._Event()").
std::string BindEventLines(int indent, std::string_view events, std::string_view objects);

// One empty event procedure for every object of `objects` and every event of `events`, each
// line indented by `indent` spaces; the procedure is named from the object without "#", the
// event without "#PB_Event" and "_Event( )". The body entry at an event's position in
// `bodies` is written into that event's procedures when it is not empty.
std::string EventProcedures(int indent, std::string_view objects, std::string_view events,
                            std::string_view bodies);

// Value formatting of the generated text. Colours: the low 32 bits sign-extended to 64 bits,
// upper-case hexadecimal without leading zeros (-1 gives sixteen F digits).
std::string FormatColorHex(int64_t color);
// A spin limit: ten decimals, then trailing zeros and a trailing "." removed (2.5 -> "2.5").
std::string FormatSpinLimit(float value);

}  // namespace tk
