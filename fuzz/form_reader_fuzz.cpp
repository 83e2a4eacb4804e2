// libFuzzer target for the text side of the code reader: any bytes go through decoding, line
// splitting, creation-line marking, call splitting and number reading, and what comes out is
// checked against what those steps promise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codegen/reader.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// True when `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t n = c < 0x80                 ? 1
               : c >= 0xC2 && c <= 0xDF ? 2
               : c >= 0xE0 && c <= 0xEF ? 3
               : c >= 0xF0 && c <= 0xF4 ? 4
                                        : 0;
    if (n == 0 || i + n > text.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

bool Inside(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = tk::SourceText(bytes);
  Check(IsUtf8(text));
  for (std::string_view line : tk::SourceLines(text)) {
    Check(line.find_first_of("\r\n") == std::string_view::npos);
    const std::string marked = tk::MarkCreationLine(line);
    Check(marked.empty() || marked == "Find >> " + std::string(line));
    tk::SourceCall call;
    if (!tk::ParseSourceCall(line, call)) {
      Check(line.find('(') == std::string_view::npos);
      continue;
    }
    Check(Inside(call.target, line) && Inside(call.function, line));
    for (std::string_view arg : call.args) {
      Check(Inside(arg, line));
      (void)tk::ReadSourceNumber(arg);
      Check(Inside(tk::SourceTextArgument(arg), line));
    }
  }
  return 0;
}
