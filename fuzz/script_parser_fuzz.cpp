// libFuzzer target for the script driver's parser: any bytes are parsed as a whole script and
// line by line, and what comes out is checked against what the parser promises (commands only
// for lines that hold one, in line order, each within the limits its command allows; an error
// naming the script and the line that stopped it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "designer/script.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckCommand(const tk::designer::ScriptCommand& c) {
  using tk::designer::ScriptOp;
  switch (c.op) {
    case ScriptOp::Wheel:
      Check(c.wheel != 0);
      break;
    case ScriptOp::Key:
      Check(c.keyCode != 0);
      break;
    case ScriptOp::Type:
      Check(!c.text.empty());
      for (char32_t ch : c.text)
        Check(ch >= 0x20 && ch != 0x7F && ch <= 0x10FFFF && (ch < 0xD800 || ch > 0xDFFF));
      break;
    case ScriptOp::Screenshot:
    case ScriptOp::Dump:
      Check(!c.path.empty() && c.path.find('\0') == std::string::npos);
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<tk::designer::ScriptLine> lines;
  std::string error;
  const bool ok = tk::designer::ParseScript(text, "fuzz", lines, &error);
  if (!ok) {
    Check(error.rfind("fuzz:", 0) == 0);
  } else {
    Check(error.empty());
    int previous = 0;
    for (const tk::designer::ScriptLine& line : lines) {
      Check(line.number > previous);
      previous = line.number;
      CheckCommand(line.command);
    }
  }

  // The first line alone, as the runner feeds lines to a handler's own event loop.
  tk::designer::ScriptCommand command;
  bool isCommand = false;
  std::string lineError;
  const std::string_view first = text.substr(0, text.find('\n'));
  if (tk::designer::ParseScriptLine(first, command, &isCommand, &lineError)) {
    if (isCommand) CheckCommand(command);
  } else {
    Check(!lineError.empty() && !isCommand);
  }
  (void)tk::designer::KeyCodeFromName(first);

  // A dump field never holds the characters that separate fields and lines.
  const std::string escaped = tk::designer::EscapeDumpField(text);
  Check(escaped.find_first_of("\t\r\n") == std::string::npos);
  return 0;
}
