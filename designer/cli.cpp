// Command-line options of the designer program.
#include "designer/cli.h"

#include <charconv>

namespace tk::designer {

namespace {

constexpr int kMaxSide = 16384;

bool ParseSize(const std::string& text, int& w, int& h) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  const char* begin = text.data();
  const char* end = begin + text.size();
  auto [p1, e1] = std::from_chars(begin, begin + x, w);
  auto [p2, e2] = std::from_chars(begin + x + 1, end, h);
  if (e1 != std::errc() || e2 != std::errc() || p1 != begin + x || p2 != end) return false;
  return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide;
}

}  // namespace

const char* UsageText() {
  return "usage: designer [--demo] [--headless [--script FILE] [--screenshot FILE.png]]\n"
         "                [--size WxH] [FILE.pb]\n"
         "       designer --generate IN.pb [-o OUT.pb]\n"
         "       designer --help | --version\n"
         "  FILE.pb             open this form file at start\n"
         "  --generate IN.pb    read the form in IN.pb and write the source the designer\n"
         "                      generates for it to standard output, without a window\n"
         "  -o OUT.pb           with --generate: write the source to OUT.pb instead\n"
         "  --demo              show the toolkit demonstration instead of the designer\n"
         "  --headless          draw into an off-screen canvas instead of a window\n"
         "  --script FILE       play the pointer and keyboard actions of FILE, then exit\n"
         "                      (needs --headless; the language is described in README.md)\n"
         "  --screenshot FILE   write the frame as PNG to FILE and exit (needs --headless;\n"
         "                      with --script the frame after the last line)\n"
         "  --size WxH          size of the canvas in pixels\n"
         "  --help, --version   show this text or the program's version and exit\n";
}

bool ParseOptions(const std::vector<std::string>& args, Options& out, std::string* error) {
  auto fail = [error](std::string message) {
    if (error) *error = std::move(message);
    return false;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--headless") {
      out.headless = true;
    } else if (a == "--demo") {
      out.demo = true;
    } else if (a == "--screenshot") {
      if (!hasValue) return fail("--screenshot needs a file name");
      out.screenshot = args[++i];
    } else if (a == "--script") {
      if (!hasValue) return fail("--script needs a file name");
      out.script = args[++i];
    } else if (a == "--size") {
      if (!hasValue) return fail("--size needs WxH, for example 1024x700");
      if (!ParseSize(args[++i], out.width, out.height))
        return fail("--size needs WxH with positive numbers, for example 1024x700, not '" +
                    args[i] + "'");
    } else if (a == "--generate") {
      if (!hasValue) return fail("--generate needs a file name");
      out.generate = args[++i];
    } else if (a == "-o" || a == "--output") {
      if (!hasValue) return fail(a + " needs a file name");
      out.output = args[++i];
    } else if (a == "--help" || a == "-h") {
      out.help = true;
    } else if (a == "--version") {
      out.version = true;
    } else if (a.empty() || a[0] == '-') {
      return fail("unknown argument '" + a + "'");
    } else if (!out.file.empty()) {
      return fail("one form file at a time, not also '" + a + "'");
    } else {
      out.file = a;
    }
  }
  if (!out.output.empty() && out.generate.empty()) return fail("-o works with --generate only");
  if (!out.generate.empty() && (out.demo || out.headless || !out.file.empty() || out.width > 0 ||
                                !out.script.empty() || !out.screenshot.empty()))
    return fail("--generate takes an input file and -o only");
  if (!out.file.empty() && out.demo) return fail("--demo opens no form file");
  if (!out.screenshot.empty() && !out.headless)
    return fail("--screenshot works with --headless only");
  if (!out.script.empty() && !out.headless) return fail("--script works with --headless only");
  return true;
}

}  // namespace tk::designer
