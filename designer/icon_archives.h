// The designer's two icon archives: images.zip (form, page and tool bar icons) and
// SilkTheme.zip (menu icons and the toolbox entries named vd_<kind>gadget). Each archive's
// entries are read once, on the first lookup, into a table kept here; every lookup then searches
// that table in archive order, decoding the matching entry into a new image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/toolkit.h"
#include "platform/images.h"

namespace tk::designer {

// What a damaged or hostile archive may cost. An archive with more entries, or whose entries
// hold more bytes in all, is refused whole; an entry larger than its limit, or one that cannot
// be read, is kept by name and gives no icon. Icons larger than kMaxIconSide are refused before
// their pixels are decoded.
inline constexpr size_t kMaxArchiveEntries = 4096;
inline constexpr size_t kMaxArchiveEntryBytes = size_t{4} << 20;
inline constexpr size_t kMaxArchiveTotalBytes = size_t{64} << 20;
inline constexpr int kMaxIconSide = 1024;

// The theme indexes answered with an icon carried by the program instead of an archive entry.
inline constexpr int kThemeRedCross = 5;
inline constexpr int kThemeTrayArrow = 65536;

class IconArchives {
 public:
  // Looks for "images/images.zip" and "Themes/SilkTheme.zip" under each folder in turn (the
  // first file of size >= 1 wins). Nothing is read yet.
  IconArchives(platform::ImageStore& images, std::vector<std::filesystem::path> folders);
  // The same before the image store exists (a program that reads the archives while its
  // window system starts); lookups give -1 until UseImages names the store.
  explicit IconArchives(std::vector<std::filesystem::path> folders);
  // Archives already held in memory, read by the same code as the files (tests and fuzzing).
  IconArchives(platform::ImageStore& images, std::vector<uint8_t> imagesZip,
               std::vector<uint8_t> themeZip);
  void UseImages(platform::ImageStore& images) { store_ = &images; }
  // Reads both archives' tables now instead of at the first lookup. Touches nothing but this
  // object, so another thread may run it while no lookup does.
  void ReadAll();
  // The folders a program run searches: the current directory, the executable's folder
  // (from /proc/self/exe, else argv0), the installed data folder.
  static std::vector<std::filesystem::path> DefaultFolders(const char* argv0);
  // "" when both archives were found; else the text of the message to show for the first
  // missing one (title "Designer Error").
  std::string MissingMessage() const;
  // The first file entry of images.zip whose name (without ".png", lower-cased) contains
  // `word` and, when `excluded` is not empty, does not contain `excluded`. -1: none.
  int ArchiveIcon(const std::string& word, const std::string& excluded = "");
  // The menu icon numbered `index` from SilkTheme.zip, or one of the two carried icons. -1: none.
  int ThemeIcon(int index);
  // Adds one item per vd_ entry (the pointer tool first) to the list `list`.
  void FillToolbox(Toolkit& tk, int list);

  // The archive files found; empty when missing.
  const std::filesystem::path& ImagesPath() const { return images_.path; }
  const std::filesystem::path& ThemePath() const { return theme_.path; }

 private:
  struct Entry {
    std::string name;            // as stored in the archive: only ever compared, never opened
    bool file = false;           // a regular file (not a folder or link)
    bool readable = false;       // its bytes were read whole and within the limit
    std::vector<uint8_t> bytes;  // its contents when readable
  };
  struct Archive {
    std::filesystem::path path;
    bool inMemory = false;
    std::vector<uint8_t> memory;  // the archive's bytes when inMemory
    bool indexed = false;
    std::vector<Entry> entries;  // in archive order; empty when refused
  };

  const std::vector<Entry>& Entries(Archive& source);
  // The first file entry whose name, prepared as `prepare` does, passes `match`.
  template <typename Prepare, typename Match>
  const Entry* Find(Archive& source, Prepare prepare, Match match);
  int Decode(const Entry& entry);

  platform::ImageStore* store_ = nullptr;
  Archive images_, theme_;
};

}  // namespace tk::designer
