// Font store: fonts loaded by family, size and style, referred to by small integer handles.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tk::platform {

namespace FontStyle {
inline constexpr int Bold = 1;
inline constexpr int Italic = 2;
inline constexpr int Underline = 4;
inline constexpr int StrikeOut = 8;
}  // namespace FontStyle

struct FontData;  // backend font description

// Starts loading the machine's font configuration on the text library's own thread, so that
// work done meanwhile overlaps it; the first text measured waits for it to finish.
void StartLoadingFonts();

class FontStore {
 public:
  FontStore();
  ~FontStore();
  FontStore(const FontStore&) = delete;
  FontStore& operator=(const FontStore&) = delete;

  // The default GUI font: a sans serif with Cyrillic glyphs at about 9 pt.
  int Default() const { return kDefaultFont; }
  // Returns a handle (> 0); the same request twice gives the same handle.
  int Load(const std::string& family, double sizePt, int style);
  bool IsFont(int font) const;
  std::string Family(int font) const;
  double Size(int font) const;
  int Style(int font) const;

  // The families the machine's font configuration offers, sorted without regard to case,
  // each once.
  std::vector<std::string> Families() const;
  // The installed family text asked for in `family` is drawn with: the family itself when
  // installed, else the one the font configuration substitutes ("" when there is none).
  std::string Substitute(const std::string& family) const;

  // Handle 0 or an unknown handle resolve to the default font.
  FontData& Data(int font) const;

  static constexpr int kDefaultFont = 1;

 private:
  std::map<int, std::unique_ptr<FontData>> fonts_;
  int next_ = kDefaultFont + 1;
};

}  // namespace tk::platform
