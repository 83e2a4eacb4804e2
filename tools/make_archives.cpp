// Writes the designer's two icon archives from the Silk icons and the icons drawn by
// make_glyphs --archive-icons:
//   make_archives <silk folder> <drawn folder> <images.zip> <SilkTheme.zip>
// The entry order matters: lookups take the first entry whose name holds a word, so the menu
// icons come before the kind icons (vd_shortcutgadget holds "cut"). Every entry gets the same
// time, owner and mode, so the same pictures always give the same bytes.
#include <archive.h>
#include <archive_entry.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Source {
  const char* entry;  // the entry name without ".png"
  bool silk;          // from the Silk folder, else drawn
  const char* file;   // the file name without ".png" when it differs from the entry
};

const Source kImages[] = {
    {"elements", false, nullptr},       {"add_form", false, nullptr},
    {"move_first", false, nullptr},     {"move_next", false, nullptr},
    {"move_prev", false, nullptr},      {"move_last", false, nullptr},
    {"page_white_code", true, nullptr}, {"lightning", true, nullptr},
};

const Source kTheme[] = {
    // The menu and tool bar icons, looked up by word.
    {"cut", true, nullptr},
    {"page_copy", true, nullptr},
    {"page_paste", true, nullptr},
    {"arrow_undo", true, nullptr},
    {"arrow_redo", true, nullptr},
    {"page", true, nullptr},
    {"folder_page", true, nullptr},
    {"disk", true, nullptr},
    {"folder_explore", true, nullptr},
    {"page_edit", true, nullptr},
    {"help", true, nullptr},
    {"zoom", true, nullptr},
    {"page_refresh", true, nullptr},
    {"script", true, nullptr},
    // The toolbox: the pointer tool, the window (application_form), then the gadget kinds in
    // their numbering, Scintilla being page_white_edit.
    {"vd_cursor", true, "cursor"},
    {"application_form", true, nullptr},
    {"vd_buttongadget", false, nullptr},
    {"vd_stringgadget", false, nullptr},
    {"vd_textgadget", false, nullptr},
    {"vd_checkboxgadget", false, nullptr},
    {"vd_optiongadget", false, nullptr},
    {"vd_listviewgadget", false, nullptr},
    {"vd_framegadget", false, nullptr},
    {"vd_comboboxgadget", false, nullptr},
    {"vd_imagegadget", false, nullptr},
    {"vd_hyperlinkgadget", false, nullptr},
    {"vd_containergadget", false, nullptr},
    {"vd_listicongadget", false, nullptr},
    {"vd_ipaddressgadget", false, nullptr},
    {"vd_progressbargadget", false, nullptr},
    {"vd_scrollbargadget", false, nullptr},
    {"vd_scrollareagadget", false, nullptr},
    {"vd_trackbargadget", false, nullptr},
    {"vd_webgadget", false, nullptr},
    {"vd_buttonimagegadget", false, nullptr},
    {"vd_calendargadget", false, nullptr},
    {"vd_dategadget", false, nullptr},
    {"vd_editorgadget", false, nullptr},
    {"vd_explorerlistgadget", false, nullptr},
    {"vd_explorertreegadget", false, nullptr},
    {"vd_explorercombogadget", false, nullptr},
    {"vd_spingadget", false, nullptr},
    {"vd_treegadget", false, nullptr},
    {"vd_panelgadget", false, nullptr},
    {"vd_splittergadget", false, nullptr},
    {"vd_mdigadget", false, nullptr},
    {"page_white_edit", true, nullptr},
    {"vd_shortcutgadget", false, nullptr},
    {"vd_canvasgadget", false, nullptr},
};

// 2020-01-01 00:00:00 UTC; zip keeps local times, so the tool runs in UTC.
constexpr time_t kEntryTime = 1577836800;

bool ReadFile(const std::string& path, std::vector<char>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

template <size_t N>
bool WriteArchive(const std::string& path, const Source (&sources)[N], const std::string& silk,
                  const std::string& drawn) {
  archive* a = archive_write_new();
  archive_write_set_format_zip(a);
  archive_write_set_options(a, "zip:compression=deflate");
  // Written beside the target and renamed, so a failed run leaves no half archive.
  const std::string temporary = path + ".part";
  bool ok = archive_write_open_filename(a, temporary.c_str()) == ARCHIVE_OK;
  for (const Source& s : sources) {
    if (!ok) break;
    const std::string file = (s.silk ? silk : drawn) + "/" + (s.file ? s.file : s.entry) + ".png";
    std::vector<char> bytes;
    if (!ReadFile(file, bytes) || bytes.empty()) {
      std::fprintf(stderr, "make_archives: cannot read %s\n", file.c_str());
      ok = false;
      break;
    }
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, (std::string(s.entry) + ".png").c_str());
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_uid(entry, 0);
    archive_entry_set_gid(entry, 0);
    archive_entry_set_mtime(entry, kEntryTime, 0);
    archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
    ok = archive_write_header(a, entry) == ARCHIVE_OK &&
         archive_write_data(a, bytes.data(), bytes.size()) == static_cast<la_ssize_t>(bytes.size());
    archive_entry_free(entry);
  }
  if (archive_write_close(a) != ARCHIVE_OK) ok = false;
  if (!ok) std::fprintf(stderr, "make_archives: %s: %s\n", path.c_str(), archive_error_string(a));
  archive_write_free(a);
  if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temporary.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s <silk folder> <drawn folder> <images.zip> <SilkTheme.zip>\n",
                 argv[0]);
    return 2;
  }
  setenv("TZ", "UTC", 1);
  tzset();
  const bool ok = WriteArchive(argv[3], kImages, argv[1], argv[2]) &&
                  WriteArchive(argv[4], kTheme, argv[1], argv[2]);
  return ok ? 0 : 1;
}
