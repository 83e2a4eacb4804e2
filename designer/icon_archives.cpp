// Reading the icon archives with libarchive and the three lookups over their entries.
#include "designer/icon_archives.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <system_error>
#include <utility>

#include "core/items.h"
#include "elements/builtin_images.h"
#include "platform/shared_library.h"

#ifndef TK_DATA_DIR
#define TK_DATA_DIR "/usr/local/share/pb-form-designer"
#endif

namespace tk::designer {

namespace {

namespace fs = std::filesystem;

constexpr const char* kImagesArchive = "images/images.zip";
constexpr const char* kThemeArchive = "Themes/SilkTheme.zip";

// The messages name the Windows locations the program was first written for; the texts stay.
constexpr const char* kImagesMissing =
    "images\\images.zip Not found in the current directory\r\n"
    "Or in PB_Compiler_Home\\themes directory\r\n\r\nExit now";
constexpr const char* kThemeMissing =
    "Themes\\SilkTheme.zip Not found in the current directory\r\n"
    "Or in PB_Compiler_Home\\themes directory\r\n\r\nExit now";

fs::path FindArchive(const std::vector<fs::path>& folders, const char* relative) {
  for (const fs::path& folder : folders) {
    std::error_code ec;
    const fs::path path = folder / relative;
    if (!fs::is_regular_file(path, ec)) continue;
    const auto size = fs::file_size(path, ec);
    if (!ec && size >= 1) return path;
  }
  return {};
}

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string RemoveAll(std::string text, const std::string& what) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
    text.erase(at, what.size());
  return text;
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
    text.replace(at, what.size(), with);
    at += with.size();
  }
  return text;
}

bool Contains(const std::string& text, const std::string& word) {
  return text.find(word) != std::string::npos;
}

// libarchive, opened when the archives are first read (on the program's reading thread)
// rather than when the program starts: it brings compression and XML libraries with it.
struct ArchiveLibrary {
  decltype(&archive_read_new) readNew = nullptr;
  decltype(&archive_read_support_format_zip) supportZip = nullptr;
  decltype(&archive_read_open_filename) openFilename = nullptr;
  decltype(&archive_read_open_memory) openMemory = nullptr;
  decltype(&archive_read_next_header) nextHeader = nullptr;
  decltype(&archive_read_data) readData = nullptr;
  decltype(&archive_read_free) readFree = nullptr;
  decltype(&archive_entry_pathname) pathname = nullptr;
  decltype(&archive_entry_pathname_utf8) pathnameUtf8 = nullptr;
  decltype(&archive_entry_filetype) filetype = nullptr;

  bool Load(std::string* error) {
    return library.Open("libarchive.so.13", error) &&
           library.Bind(readNew, "archive_read_new", error) &&
           library.Bind(supportZip, "archive_read_support_format_zip", error) &&
           library.Bind(openFilename, "archive_read_open_filename", error) &&
           library.Bind(openMemory, "archive_read_open_memory", error) &&
           library.Bind(nextHeader, "archive_read_next_header", error) &&
           library.Bind(readData, "archive_read_data", error) &&
           library.Bind(readFree, "archive_read_free", error) &&
           library.Bind(pathname, "archive_entry_pathname", error) &&
           library.Bind(pathnameUtf8, "archive_entry_pathname_utf8", error) &&
           library.Bind(filetype, "archive_entry_filetype", error);
  }

  platform::SharedLibrary library;
};

// Reads the current entry's data whole, counting while reading so that a size the header does
// not tell (or tells wrongly) cannot push it past the limit.
bool ReadEntryData(const ArchiveLibrary& lib, archive* a, std::vector<uint8_t>& out) {
  out.clear();
  uint8_t chunk[16384];
  for (;;) {
    const la_ssize_t n = lib.readData(a, chunk, sizeof chunk);
    if (n < 0) return false;
    if (n == 0) return true;
    if (out.size() + static_cast<size_t>(n) > kMaxArchiveEntryBytes) return false;
    out.insert(out.end(), chunk, chunk + n);
  }
}

// The width and height a PNG header declares; false when the bytes are no PNG.
bool PngSize(const std::vector<uint8_t>& bytes, uint32_t& width, uint32_t& height) {
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 24 || !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin()))
    return false;
  auto be32 = [&](size_t at) {
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
           (uint32_t{bytes[at + 2]} << 8) | uint32_t{bytes[at + 3]};
  };
  width = be32(16);
  height = be32(20);
  return true;
}

}  // namespace

IconArchives::IconArchives(platform::ImageStore& images, std::vector<fs::path> folders)
    : IconArchives(std::move(folders)) {
  store_ = &images;
}

IconArchives::IconArchives(std::vector<fs::path> folders) {
  images_.path = FindArchive(folders, kImagesArchive);
  theme_.path = FindArchive(folders, kThemeArchive);
}

IconArchives::IconArchives(platform::ImageStore& images, std::vector<uint8_t> imagesZip,
                           std::vector<uint8_t> themeZip)
    : store_(&images) {
  images_.inMemory = theme_.inMemory = true;
  images_.memory = std::move(imagesZip);
  theme_.memory = std::move(themeZip);
}

void IconArchives::ReadAll() {
  Entries(images_);
  Entries(theme_);
}

std::vector<fs::path> IconArchives::DefaultFolders(const char* argv0) {
  std::vector<fs::path> folders;
  std::error_code ec;
  fs::path current = fs::current_path(ec);
  if (!ec) folders.push_back(current);
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec && argv0 && *argv0) exe = fs::absolute(argv0, ec);
  if (!ec && !exe.empty() && exe.has_parent_path()) folders.push_back(exe.parent_path());
  folders.emplace_back(TK_DATA_DIR);
  return folders;
}

std::string IconArchives::MissingMessage() const {
  if (images_.path.empty() && !images_.inMemory) return kImagesMissing;
  if (theme_.path.empty() && !theme_.inMemory) return kThemeMissing;
  return "";
}

const std::vector<IconArchives::Entry>& IconArchives::Entries(Archive& source) {
  if (source.indexed) return source.entries;
  source.indexed = true;
  if (source.path.empty() && !source.inMemory) return source.entries;

  ArchiveLibrary lib;
  std::string error;
  if (!lib.Load(&error)) {
    std::fprintf(stderr, "designer: %s\n", error.c_str());
    return source.entries;
  }
  archive* a = lib.readNew();
  if (!a) return source.entries;
  lib.supportZip(a);
  std::vector<Entry> entries;
  size_t total = 0;
  bool refused = false;
  const int opened = source.inMemory ? lib.openMemory(a, source.memory.data(), source.memory.size())
                                     : lib.openFilename(a, source.path.c_str(), 65536);
  if (opened == ARCHIVE_OK) {
    archive_entry* header = nullptr;
    for (;;) {
      const int status = lib.nextHeader(a, &header);
      // Damage in the archive's structure ends it: the entries before it stay usable.
      if (status == ARCHIVE_EOF || status < ARCHIVE_WARN) break;
      if (entries.size() == kMaxArchiveEntries) {
        refused = true;
        break;
      }
      Entry entry;
      const char* name = lib.pathname(header);
      if (!name) name = lib.pathnameUtf8(header);
      entry.name = name ? name : "";
      entry.file = lib.filetype(header) == AE_IFREG;
      if (entry.file) {
        entry.readable = ReadEntryData(lib, a, entry.bytes);
        if (!entry.readable) entry.bytes = {};
        total += entry.bytes.size();
        if (total > kMaxArchiveTotalBytes) {
          refused = true;
          break;
        }
      }
      entries.push_back(std::move(entry));
    }
  }
  lib.readFree(a);
  if (!refused) source.entries = std::move(entries);
  return source.entries;
}

template <typename Prepare, typename Match>
const IconArchives::Entry* IconArchives::Find(Archive& source, Prepare prepare, Match match) {
  for (const Entry& entry : Entries(source))
    if (entry.file && match(prepare(entry.name))) return &entry;
  return nullptr;
}

int IconArchives::Decode(const Entry& entry) {
  if (!entry.readable) return -1;
  uint32_t width = 0, height = 0;
  if (!PngSize(entry.bytes, width, height)) return -1;
  if (width > static_cast<uint32_t>(kMaxIconSide) || height > static_cast<uint32_t>(kMaxIconSide))
    return -1;
  if (store_ == nullptr) return -1;
  return store_->DecodePng(platform::ImageStore::kAny, entry.bytes.data(), entry.bytes.size());
}

int IconArchives::ArchiveIcon(const std::string& word, const std::string& excluded) {
  const Entry* entry = Find(
      images_, [](const std::string& name) { return Lower(RemoveAll(name, ".png")); },
      [&](const std::string& name) {
        return Contains(name, word) && (excluded.empty() || !Contains(name, excluded));
      });
  return entry ? Decode(*entry) : -1;
}

int IconArchives::ThemeIcon(int index) {
  if (index == kThemeRedCross || index == kThemeTrayArrow) {
    const std::vector<Entry>& entries = Entries(theme_);
    const bool anyFile =
        std::any_of(entries.begin(), entries.end(), [](const Entry& e) { return e.file; });
    const BuiltinImageData* data =
        FindBuiltinImageData(index == kThemeRedCross ? "red_cross" : "tray_arrow");
    if (!anyFile || !data) return -1;
    return store_ == nullptr
               ? -1
               : store_->DecodePng(platform::ImageStore::kAny, data->data, data->size);
  }
  struct Word {
    const char* word;
    bool noUnderscore;
  };
  static constexpr Word kWords[] = {
      {"cut", false},        {"copy", false},           {"paste", false}, {"arrow_undo", false},
      {"arrow_redo", false}, {nullptr, false},          {"page", true},   {"folder_page", false},
      {"disk", false},       {"folder_explore", false}, {"edit", true},   {"help", false},
      {"zoom", false},       {"refresh", true},         {"script", false}};
  if (index < 0 || index >= static_cast<int>(std::size(kWords)) || !kWords[index].word) return -1;
  const Word& w = kWords[index];
  const Entry* entry = Find(
      theme_,
      [](const std::string& name) { return Lower(RemoveAll(RemoveAll(name, ".png"), "page_")); },
      [&](const std::string& name) {
        return Contains(name, w.word) && !(w.noUnderscore && Contains(name, "_"));
      });
  return entry ? Decode(*entry) : -1;
}

void IconArchives::FillToolbox(Toolkit& tk, int list) {
  for (const Entry& entry : Entries(theme_)) {
    if (!entry.file || entry.bytes.empty()) continue;
    std::string name = RemoveAll(entry.name, ".png");
    if (name == "application_form") name = "vd_windowgadget";
    name = ReplaceAll(name, "page_white_edit", "vd_scintillagadget");
    if (name.rfind("vd_", 0) != 0) continue;
    // Only the entries that become items are decoded, so no image is left unused.
    const int image = Decode(entry);
    if (image < 0) continue;
    std::string text = RemoveAll(ReplaceAll(name, "vd_", " "), "gadget");
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
    if (!text.empty())
      text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    text = " " + text;
    AddElementItem(tk, list, Contains(Lower(text), "cursor") ? 0 : -1, text, image);
  }
}

}  // namespace tk::designer
