// The icon archives: lookups over small archives written here, the limits that keep damaged
// archives cheap, the missing-archive message, and the archives the build makes.
#include "designer/icon_archives.h"

#include <archive.h>
#include <archive_entry.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/lookup.h"
#include "elements/list.h"
#include "elements/window.h"
#include "render/host.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

namespace fs = std::filesystem;
using designer::IconArchives;
using Bytes = std::vector<uint8_t>;

// An opaque grey PNG; the width tells the entries of one archive apart.
Bytes MakePng(int width, int height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  const Bytes pixels(static_cast<size_t>(width) * height * 4, 0x80);
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
  Bytes out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr))
    return {};
  out.resize(size);
  return out;
}

// A PNG whose header declares another size than its pixels have (the checksum made to fit).
Bytes DeclareSize(Bytes png, uint32_t width, uint32_t height) {
  auto put = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      png[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
  };
  put(16, width);
  put(20, height);
  put(29, static_cast<uint32_t>(crc32(0, png.data() + 12, 17)));
  return png;
}

struct ZipEntry {
  std::string name;
  Bytes bytes;
  bool folder = false;
};

bool WriteZip(const fs::path& path, const std::vector<ZipEntry>& entries) {
  fs::create_directories(path.parent_path());
  archive* a = archive_write_new();
  archive_write_set_format_zip(a);
  bool ok = archive_write_open_filename(a, path.c_str()) == ARCHIVE_OK;
  for (const ZipEntry& e : entries) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, e.name.c_str());
    archive_entry_set_filetype(entry, e.folder ? AE_IFDIR : AE_IFREG);
    archive_entry_set_perm(entry, e.folder ? 0755 : 0644);
    archive_entry_set_size(entry, static_cast<la_int64_t>(e.bytes.size()));
    ok = ok && archive_write_header(a, entry) == ARCHIVE_OK;
    if (ok && !e.bytes.empty())
      ok = archive_write_data(a, e.bytes.data(), e.bytes.size()) ==
           static_cast<la_ssize_t>(e.bytes.size());
    archive_entry_free(entry);
  }
  ok = archive_write_close(a) == ARCHIVE_OK && ok;
  archive_write_free(a);
  return ok;
}

class IconArchivesTest : public ToolkitTest {
 protected:
  IconArchivesTest()
      : dir(fs::temp_directory_path() /
            ("icon_archives_" + std::to_string(getpid()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name())) {}
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path ImagesZip() const { return dir / "images" / "images.zip"; }
  fs::path ThemeZip() const { return dir / "Themes" / "SilkTheme.zip"; }
  platform::ImageStore& Store() { return platform.Images(); }
  int Width(int image) { return image < 0 ? -1 : Store().Width(image); }
  // A list on a window, as the toolbox is.
  int ToolboxList() {
    PrepareToolkit(tk);
    EXPECT_EQ(tk::Window(tk, 1, 0, 0, 400, 300, "Main"), 1);
    return ListView(tk, 10, 0, 0, 200, 200, "", 0, 1);
  }
  std::vector<std::string> Texts(int list) {
    std::vector<std::string> out;
    for (const auto& item : FindElement(tk, list)->Items)
      out.push_back(item->Text);
    return out;
  }

  fs::path dir;
};

TEST_F(IconArchivesTest, ArchiveIconTakesTheFirstFileWhoseLowerCasedNameHoldsTheWord) {
  ASSERT_TRUE(WriteZip(ImagesZip(), {{"elements_folder/", {}, true},
                                     {"Elements_Add.png", MakePng(1, 1)},
                                     {"elements.png", MakePng(2, 2)},
                                     {"lightning.png", MakePng(3, 3)},
                                     {"page_white_code.png", Bytes{'n', 'o', 't'}}}));
  ASSERT_TRUE(WriteZip(ThemeZip(), {{"cut.png", MakePng(1, 1)}}));
  IconArchives archives(Store(), {dir});
  EXPECT_EQ(archives.MissingMessage(), "");
  EXPECT_EQ(Width(archives.ArchiveIcon("elements", "_")), 2);  // skips elements_add
  EXPECT_EQ(Width(archives.ArchiveIcon("elements")), 1);       // the first that holds it
  EXPECT_EQ(Width(archives.ArchiveIcon("lightning")), 3);
  EXPECT_EQ(archives.ArchiveIcon("png"), -1);  // ".png" is not part of the name
  // The first match decides even when it does not decode.
  EXPECT_EQ(archives.ArchiveIcon("code"), -1);
  EXPECT_EQ(archives.ArchiveIcon("nothing"), -1);

  // The entries were read once: with the file gone the same lookups give the same pictures,
  // each as a new image.
  const int first = archives.ArchiveIcon("elements", "_");
  fs::remove(ImagesZip());
  const int again = archives.ArchiveIcon("elements", "_");
  EXPECT_EQ(Width(again), 2);
  EXPECT_NE(again, first);
}

TEST_F(IconArchivesTest, ThemeIconWordsDropPagePrefixAndCarriedIconsNeedAFileEntry) {
  ASSERT_TRUE(WriteZip(ThemeZip(), {{"page_copy.png", MakePng(1, 1)},
                                    {"page_white_text.png", MakePng(2, 2)},
                                    {"page.png", MakePng(3, 3)},
                                    {"page_white_edit.png", MakePng(4, 4)},
                                    {"page_edit.png", MakePng(5, 5)},
                                    {"page_refresh_all.png", MakePng(6, 6)},
                                    {"page_refresh.png", MakePng(7, 7)},
                                    {"folder_page.png", MakePng(8, 8)}}));
  ASSERT_TRUE(WriteZip(ImagesZip(), {{"elements.png", MakePng(1, 1)}}));
  IconArchives archives(Store(), {dir});
  EXPECT_EQ(Width(archives.ThemeIcon(6)), 3);  // not page_copy, nor page_white_text
  EXPECT_EQ(Width(archives.ThemeIcon(1)), 1);
  EXPECT_EQ(Width(archives.ThemeIcon(10)), 5);  // white_edit holds a "_"
  EXPECT_EQ(Width(archives.ThemeIcon(13)), 7);
  EXPECT_EQ(Width(archives.ThemeIcon(7)), 8);
  EXPECT_EQ(archives.ThemeIcon(0), -1);  // no cut
  EXPECT_EQ(archives.ThemeIcon(15), -1);
  EXPECT_EQ(archives.ThemeIcon(-1), -1);
  // The red cross and the tray arrow come from the program.
  const int cross = archives.ThemeIcon(designer::kThemeRedCross);
  const int arrow = archives.ThemeIcon(designer::kThemeTrayArrow);
  EXPECT_EQ(Width(cross), 14);
  EXPECT_EQ(Width(arrow), 14);
  EXPECT_NE(Store().Pixel(cross, 7, 7), Store().Pixel(arrow, 7, 7));

  // A theme of folders only has no file entry, so not even the carried icons.
  ASSERT_TRUE(WriteZip(ThemeZip(), {{"icons/", {}, true}}));
  IconArchives folders(Store(), {dir});
  EXPECT_EQ(folders.ThemeIcon(designer::kThemeRedCross), -1);
  EXPECT_EQ(folders.ThemeIcon(designer::kThemeTrayArrow), -1);
}

TEST_F(IconArchivesTest, ToolboxListsThePointerFirstThenOneItemPerKindEntry) {
  ASSERT_TRUE(WriteZip(ImagesZip(), {{"elements.png", MakePng(1, 1)}}));
  ASSERT_TRUE(WriteZip(ThemeZip(), {{"cut.png", MakePng(1, 1)},
                                    {"vd_buttongadget.png", MakePng(2, 2)},
                                    {"application_form.png", MakePng(3, 3)},
                                    {"vd_listicongadget.png", MakePng(4, 4)},
                                    {"vd_brokengadget.png", Bytes{1, 2, 3}},
                                    {"vd_emptygadget.png", {}},
                                    {"vd_cursor.png", MakePng(5, 5)},
                                    {"page_white_edit.png", MakePng(6, 6)}}));
  IconArchives archives(Store(), {dir});
  const int list = ToolboxList();
  archives.FillToolbox(tk, list);
  EXPECT_EQ(Texts(list),
            (std::vector<std::string>{" Cursor", " Button", " Window", " Listicon", " Scintilla"}));
  std::vector<int> widths;
  for (const auto& item : FindElement(tk, list)->Items)
    widths.push_back(Width(item->Image));
  EXPECT_EQ(widths, (std::vector<int>{5, 2, 3, 4, 6}));
}

TEST_F(IconArchivesTest, ToolboxStaysEmptyWithoutKindEntries) {
  ASSERT_TRUE(WriteZip(ImagesZip(), {{"elements.png", MakePng(1, 1)}}));
  ASSERT_TRUE(WriteZip(ThemeZip(), {{"cut.png", MakePng(1, 1)}, {"cursor.png", MakePng(2, 2)}}));
  IconArchives archives(Store(), {dir});
  const int list = ToolboxList();
  archives.FillToolbox(tk, list);
  EXPECT_EQ(CountItems(tk, list), 0);
}

TEST_F(IconArchivesTest, MissingArchivesNameTheFirstOneAndLaterFoldersAreSearched) {
  const fs::path second = dir / "second";
  {
    IconArchives none(Store(), {dir});
    EXPECT_EQ(none.MissingMessage(),
              "images\\images.zip Not found in the current directory\r\n"
              "Or in PB_Compiler_Home\\themes directory\r\n\r\nExit now");
    EXPECT_EQ(none.ArchiveIcon("elements"), -1);
    EXPECT_EQ(none.ThemeIcon(designer::kThemeRedCross), -1);
  }
  // An empty file does not count; the next folder's archive does.
  fs::create_directories(ImagesZip().parent_path());
  std::ofstream(ImagesZip()).close();
  ASSERT_TRUE(WriteZip(second / "images" / "images.zip", {{"elements.png", MakePng(2, 2)}}));
  IconArchives images(Store(), {dir, second});
  EXPECT_EQ(images.ImagesPath(), second / "images" / "images.zip");
  EXPECT_EQ(images.MissingMessage(),
            "Themes\\SilkTheme.zip Not found in the current directory\r\n"
            "Or in PB_Compiler_Home\\themes directory\r\n\r\nExit now");
  EXPECT_EQ(Width(images.ArchiveIcon("elements")), 2);

  // A run searches the current directory, then the program's folder, then the data folder.
  const std::vector<fs::path> folders = IconArchives::DefaultFolders("ignored");
  ASSERT_EQ(folders.size(), 3u);
  EXPECT_EQ(folders[0], fs::current_path());
  EXPECT_EQ(folders[1], fs::read_symlink("/proc/self/exe").parent_path());
  EXPECT_EQ(folders[2].filename(), "pb-form-designer");
}

TEST_F(IconArchivesTest, DamagedArchivesAndEntriesGiveNoIcon) {
  const Bytes icon = MakePng(2, 2);
  ASSERT_TRUE(WriteZip(ThemeZip(), {{"cut.png", icon}}));

  // An entry over the size limit, counted as it is read: a valid PNG with trailing bytes. One
  // that just fits still decodes.
  Bytes big = icon, fits = icon;
  big.resize(designer::kMaxArchiveEntryBytes + 1);
  fits.resize(designer::kMaxArchiveEntryBytes);
  // A picture that packs into a few kilobytes but would unpack to megabytes of pixels, and a
  // header that claims more than the decoder takes.
  const Bytes bomb = MakePng(3000, 3000);
  ASSERT_FALSE(bomb.empty());
  ASSERT_LT(bomb.size(), 100u * 1024);
  const Bytes huge = DeclareSize(icon, 100000, 100000);
  ASSERT_TRUE(WriteZip(ImagesZip(), {{"big.png", big},
                                     {"fits.png", fits},
                                     {"bomb.png", bomb},
                                     {"huge.png", huge},
                                     {"../../escape.png", icon}}));
  {
    IconArchives archives(Store(), {dir});
    EXPECT_EQ(archives.ArchiveIcon("big"), -1);
    EXPECT_EQ(Width(archives.ArchiveIcon("fits")), 2);
    EXPECT_EQ(archives.ArchiveIcon("bomb"), -1);
    EXPECT_EQ(archives.ArchiveIcon("huge"), -1);
    // A name that climbs out of its folder is only a name.
    EXPECT_EQ(Width(archives.ArchiveIcon("escape")), 2);
    EXPECT_FALSE(fs::exists(dir / ".." / "escape.png"));
  }

  // More entries than the limit: the archive is refused whole.
  std::vector<ZipEntry> many;
  for (int i = 0; i < 5000; ++i)
    many.push_back({"icon" + std::to_string(i) + ".png", icon});
  ASSERT_TRUE(WriteZip(ImagesZip(), many));
  {
    IconArchives archives(Store(), {dir});
    EXPECT_EQ(archives.ArchiveIcon("icon0"), -1);
  }

  // Cut short: what lies beyond the cut is gone, nothing else breaks.
  std::vector<ZipEntry> cut;
  for (int i = 0; i < 20; ++i)
    cut.push_back({"icon" + std::to_string(i) + ".png", icon});
  ASSERT_TRUE(WriteZip(ImagesZip(), cut));
  fs::resize_file(ImagesZip(), fs::file_size(ImagesZip()) / 2);
  {
    IconArchives archives(Store(), {dir});
    EXPECT_EQ(Width(archives.ArchiveIcon("icon0")), 2);  // entries before the cut stay
    EXPECT_EQ(archives.ArchiveIcon("icon19"), -1);
    EXPECT_EQ(archives.ArchiveIcon("missing"), -1);
  }

  // Not a zip at all.
  std::ofstream(ImagesZip(), std::ios::binary | std::ios::trunc) << "PK\3\4 not really";
  {
    IconArchives archives(Store(), {dir});
    EXPECT_EQ(archives.MissingMessage(), "");
    EXPECT_EQ(archives.ArchiveIcon("icon"), -1);
  }
}

// Archives held in memory answer every lookup as the same archives read from files do, whole
// or cut short.
TEST_F(IconArchivesTest, ArchivesInMemoryAnswerAsTheirFilesDo) {
  auto bytes = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  std::vector<ZipEntry> images = {{"Elements_Add.png", MakePng(1, 1)},
                                  {"elements.png", MakePng(2, 2)}};
  for (int i = 0; i < 20; ++i)
    images.push_back({"icon" + std::to_string(i) + ".png", MakePng(3, 3)});
  ASSERT_TRUE(WriteZip(ImagesZip(), images));
  ASSERT_TRUE(WriteZip(ThemeZip(), {{"page_copy.png", MakePng(4, 4)},
                                    {"vd_buttongadget.png", MakePng(5, 5)},
                                    {"application_form.png", MakePng(6, 6)}}));
  for (const bool cut : {false, true}) {
    SCOPED_TRACE(cut ? "cut short" : "whole");
    if (cut) fs::resize_file(ImagesZip(), fs::file_size(ImagesZip()) / 2);
    IconArchives files(Store(), {dir});
    IconArchives memory(Store(), bytes(ImagesZip()), bytes(ThemeZip()));
    EXPECT_EQ(memory.MissingMessage(), "");
    for (const char* word : {"elements", "icon0", "icon19", "missing"})
      EXPECT_EQ(Width(memory.ArchiveIcon(word, "_")), Width(files.ArchiveIcon(word, "_"))) << word;
    EXPECT_EQ(Width(memory.ThemeIcon(1)), 4);  // copy
    EXPECT_GT(memory.ThemeIcon(designer::kThemeRedCross), 0);
    if (cut) continue;
    const int list = ToolboxList();
    memory.FillToolbox(tk, list);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{" Button", " Window"}));
  }
  EXPECT_EQ(Width(IconArchives(Store(), bytes(ImagesZip()), {}).ArchiveIcon("icon0")), 3);
  EXPECT_EQ(IconArchives(Store(), {}, {}).ArchiveIcon("icon0"), -1);
}

// The archives the build makes hold every icon the designer asks for.
TEST_F(IconArchivesTest, BuiltArchivesHoldEveryIconTheDesignerUses) {
  IconArchives archives(Store(), {fs::path(TK_BINARY_DIR)});
  ASSERT_EQ(archives.MissingMessage(), "");
  for (int index = 0; index <= 14; ++index)
    EXPECT_GE(archives.ThemeIcon(index), 0) << "theme icon " << index;
  EXPECT_GE(archives.ThemeIcon(designer::kThemeTrayArrow), 0);
  for (const char* word : {"elements", "page_white_code", "lightning", "add_form", "move_first",
                           "move_next", "move_prev", "move_last"})
    EXPECT_GE(archives.ArchiveIcon(word, word == std::string("elements") ? "_" : ""), 0) << word;

  const int list = ToolboxList();
  archives.FillToolbox(tk, list);
  const std::vector<std::string> texts = Texts(list);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0], " Cursor");
  EXPECT_EQ(KindFromText(texts[0]), 0);
  std::set<int> kinds;
  for (size_t i = 1; i < texts.size(); ++i)
    kinds.insert(KindFromText(texts[i]));
  std::set<int> expected{-1};
  for (int kind = 1; kind <= 33; ++kind)
    expected.insert(kind);
  EXPECT_EQ(kinds, expected);
  EXPECT_EQ(texts.size(), expected.size() + 1);
  for (const auto& item : FindElement(tk, list)->Items) {
    EXPECT_EQ(Store().Width(item->Image), 16) << item->Text;
    EXPECT_EQ(Store().Height(item->Image), 16) << item->Text;
  }
}

}  // namespace
}  // namespace tk::testing
