// Command-line options of the designer program.
#pragma once

#include <string>
#include <vector>

namespace tk::designer {

struct Options {
  bool headless = false;
  bool demo = false;          // the toolkit demonstration instead of the designer
  std::string screenshot;     // write the frame here and exit (after the script, if any)
  std::string script;         // feed this script's actions, then exit
  int width = 0, height = 0;  // 0: the program's own choice
  bool help = false;
  bool version = false;
  std::string file;      // a form file to open at start
  std::string generate;  // --generate: read this form file and write its source, no window
  std::string output;    // -o with --generate: write there instead of standard output
};

// Parses the arguments after the program name. Returns false with a message in *error for
// anything it does not understand.
bool ParseOptions(const std::vector<std::string>& args, Options& out, std::string* error);

// The usage text shown by --help and after a bad argument.
const char* UsageText();

}  // namespace tk::designer
