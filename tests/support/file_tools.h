// Whole files read and written by the tests that check what the designer saves.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tk::testing {

// The file's bytes ("" when it cannot be read).
inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace tk::testing
