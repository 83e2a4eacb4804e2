// The open and save file requesters, driven by native events over a folder made for each test.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/attributes.h"
#include "core/events.h"
#include "elements/combobox.h"
#include "requesters/file_listing.h"
#include "requesters/requesters.h"
#include "tests/requesters/requester_fixture.h"

namespace tk::testing {
namespace {

namespace fs = std::filesystem;
namespace Key = platform::Key;

// Element numbers of the requester's parts.
constexpr int kPathField = 1, kFolderText = 3, kUpButton = 4, kList = 5, kTypeCombo = 8,
              kStatus = 9, kOkButton = 10, kCancelButton = 11;

constexpr const char* kPatterns = "PureBasic (*.pb)|*.pb;*.pbi;*.pbf|All files (*.*)|*.*";

class FileRequesterTest : public RequesterTest {
 protected:
  void SetUp() override {
    RequesterTest::SetUp();
    std::string templ = (fs::temp_directory_path() / "filereq-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir = templ;
    for (const char* name : {"alpha.pb", "Beta.PBI", "notes.txt", "readme", ".hidden.pb"})
      Touch(dir / name);
    fs::create_directory(dir / "sub");
    fs::create_directory(dir / "Zed");
    Touch(dir / "sub" / "inner.pb");
  }
  void TearDown() override {
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(dir, ec))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(dir / "locked", fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
    RequesterTest::TearDown();
  }
  static void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

  Element& ListOf() { return *FindElement(tk, Part(kList)); }
  // The names the listing shows, in order.
  std::vector<std::string> Rows() {
    std::vector<std::string> names;
    for (const auto& row : ListOf().Items)
      names.push_back(row->Text.substr(0, row->Text.find('\n')));
    return names;
  }
  int RowOf(const std::string& name) {
    const auto names = Rows();
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return static_cast<int>(i);
    return -1;
  }
  // The middle of a row on the canvas (the list scrolled as it is).
  std::pair<int, int> RowPoint(const std::string& name) {
    const Element& list = ListOf();
    const int i = RowOf(name);
    EXPECT_GE(i, 0) << name << " is not listed";
    if (i < 0) return {-1, -1};
    const Element& row = *list.Items[static_cast<size_t>(i)];
    return {list.Inner.x0 + row.Frame.x0 + 30,
            list.Inner.y0 + row.Frame.y0 - list.VScroll + row.Frame.h0 / 2};
  }
  void ClickRow(const std::string& name) {
    const auto [x, y] = RowPoint(name);
    platform.InjectMove(x, y);
    platform.InjectClick(x, y);
  }
  void DoubleClickRow(const std::string& name) {
    const auto [x, y] = RowPoint(name);
    DoubleClickAt(x, y);
  }
  void DoubleClickAt(int x, int y) {
    platform.InjectMove(x, y);
    platform.InjectClick(x, y);
    for (auto type :
         {platform::NativeEventType::LeftButtonDown, platform::NativeEventType::LeftDoubleClick,
          platform::NativeEventType::LeftButtonUp, platform::NativeEventType::LeftClick}) {
      platform::NativeEvent ev;
      ev.type = type;
      ev.x = x;
      ev.y = y;
      platform.Inject(ev);
    }
  }
  // A text element may keep a final line feed after its text.
  std::string TextOf(int n) {
    std::string text = GetElementText(tk, Part(n));
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }
  std::string Shown() { return TextOf(kFolderText); }
  std::string Status() { return TextOf(kStatus); }
  void CloseBox() {
    const Element* w = FindElement(tk, Requester());
    platform.InjectClick(w->Frame.x0 + w->Frame.w0 - 12, w->Frame.y0 + 10);
  }

  fs::path dir;
  // Set by a test's last step: a requester that ended early leaves later steps unplayed.
  bool reached = false;
};

TEST_F(FileRequesterTest, ListsFoldersFirstAndChoosesAFile) {
  // Click a row, then OK.
  Then([&] {
    EXPECT_EQ(Shown(), dir.string());
    // Folders first, each group by name without case; only the pattern's files, no dot files.
    EXPECT_EQ(Rows(), (std::vector<std::string>{"sub", "Zed", "alpha.pb", "Beta.PBI"}));
    ClickRow("Beta.PBI");
  });
  Then([&] {
    EXPECT_EQ(GetElementText(tk, Part(kPathField)), "Beta.PBI");
    Click(Part(kOkButton));
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns), (dir / "Beta.PBI").string());
  EXPECT_EQ(Requester(), 0);

  // A double click chooses at once; the folder shown last is where the next one starts.
  Then([&] {
    EXPECT_EQ(Shown(), dir.string());
    DoubleClickRow("alpha.pb");
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", "", kPatterns), (dir / "alpha.pb").string());

  // A typed relative name is taken in the folder shown; a file that is not there is refused
  // with the reason, and the requester stays.
  Then([&] { Type(U"missing.pb"); });
  Then([&] { Press(Key::Return); });
  Then([&] {
    EXPECT_NE(Requester(), 0);
    EXPECT_NE(Status().find("missing.pb"), std::string::npos) << Status();
    SetElementText(tk, Part(kPathField), "");
    Type(U"readme");
    Press(Key::Return);
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns, 1), (dir / "readme").string());

  // A default path naming a file shows its folder with the name in the field.
  Then([&] {
    EXPECT_EQ(Shown(), (dir / "sub").string());
    Press(Key::Return);
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", (dir / "sub" / "inner.pb").string(), kPatterns),
            (dir / "sub" / "inner.pb").string());
}

TEST_F(FileRequesterTest, EntersAndLeavesFolders) {
  Then([&] { DoubleClickRow("sub"); });
  Then([&] {
    EXPECT_EQ(Shown(), (dir / "sub").string());
    EXPECT_EQ(Rows(), std::vector<std::string>{"inner.pb"});
    Click(Part(kUpButton));
  });
  Then([&] {
    EXPECT_EQ(Shown(), dir.string());
    // A typed folder and Return enter it; the field is cleared for a name.
    Click(Part(kPathField));
    Type(U"sub");
    Press(Key::Return);
  });
  Then([&] {
    EXPECT_NE(Requester(), 0);
    EXPECT_EQ(Shown(), (dir / "sub").string());
    EXPECT_EQ(GetElementText(tk, Part(kPathField)), "");
    Type(U"../Zed");
    Press(Key::Return);
  });
  Then([&] {
    EXPECT_EQ(Shown(), (dir / "Zed").string());
    EXPECT_TRUE(Rows().empty());
    // A folder picked in the list and OK enter it as well.
    Click(Part(kUpButton));
  });
  Then([&] { ClickRow("sub"); });
  Then([&] { Click(Part(kOkButton)); });
  Then([&] {
    EXPECT_EQ(Shown(), (dir / "sub").string());
    // A double click below the rows opens nothing, not even the selected row.
    ClickRow("inner.pb");
    const Element& list = ListOf();
    DoubleClickAt(list.Inner.x0 + 60, list.Inner.y0 + list.Inner.h0 - 30);
  });
  Then([&] {
    EXPECT_NE(Requester(), 0);
    Click(Part(kPathField));
    SetElementText(tk, Part(kPathField), "");
    Type(U"../alpha.pb");
    Press(Key::Return);
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns), (dir / "alpha.pb").string());
}

TEST_F(FileRequesterTest, ThePatternComboFiltersTheListing) {
  Then([&] {
    EXPECT_EQ(Rows(), (std::vector<std::string>{"sub", "Zed", "alpha.pb", "Beta.PBI"}));
    const int combo = Part(kTypeCombo);
    const Element& c = *FindElement(tk, combo);
    platform.InjectClick(c.Frame.x0 + 30, c.Frame.y0 + c.Frame.h0 / 2);
  });
  Then([&] {
    const Element& list = *FindElement(tk, ComboList(tk, Part(kTypeCombo)));
    ASSERT_EQ(list.Hidden, 0);
    const Element& entry = *list.Items[1];
    platform.InjectClick(list.Inner.x0 + entry.Frame.x0 + entry.Frame.w0 / 2,
                         list.Inner.y0 + entry.Frame.y0 + entry.Frame.h0 / 2);
  });
  Then([&] {
    // "*.*" takes every file, also one without a dot; dot files stay out.
    EXPECT_EQ(Rows(), (std::vector<std::string>{"sub", "Zed", "alpha.pb", "Beta.PBI", "notes.txt",
                                                "readme"}));
    reached = true;
    Press(Key::Escape);
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns), "");
  EXPECT_TRUE(reached) << "the requester ended before its last step";
}

TEST_F(FileRequesterTest, EscapeTheCloseBoxAndCancelGiveNothing) {
  Then([&] {
    ClickRow("alpha.pb");
    Press(Key::Escape);
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns), "");
  Then([&] { ClickRow("alpha.pb"); });
  Then([&] { CloseBox(); });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns), "");
  Then([&] { ClickRow("alpha.pb"); });
  Then([&] { Click(Part(kCancelButton)); });
  EXPECT_EQ(SaveFileRequester(tk, "Save", dir.string(), kPatterns), "");
  EXPECT_EQ(Requester(), 0);
}

TEST_F(FileRequesterTest, SaveAsksBeforeReplacingAFile) {
  const int level = kRequesterIdBlock;
  // No: the question closes and the file requester stays; Yes: the path is the answer.
  Then([&] { ClickRow("alpha.pb"); });
  Then([&] { Press(Key::Return); });
  Then([&] {
    ASSERT_EQ(Requester(), kRequesterIdBase + level) << "the overwrite question is open";
    Click(Part(4));  // No
  });
  Then([&] {
    EXPECT_EQ(Requester(), kRequesterIdBase);
    Click(Part(kOkButton));
  });
  Then([&] { Click(Part(3)); });  // Yes
  EXPECT_EQ(SaveFileRequester(tk, "Save", dir.string(), kPatterns), (dir / "alpha.pb").string());

  // A new name is taken without a question.
  Then([&] {
    Type(U"new.pb");
    Press(Key::Return);
  });
  EXPECT_EQ(SaveFileRequester(tk, "Save", dir.string(), kPatterns), (dir / "new.pb").string());
}

TEST_F(FileRequesterTest, AFolderThatCannotBeReadShowsWhyAndTheRequesterStaysUsable) {
  // A folder gone since the listing was read.
  Then([&] {
    fs::remove(dir / "Zed");
    DoubleClickRow("Zed");
  });
  Then([&] {
    EXPECT_EQ(Shown(), (dir / "Zed").string());
    EXPECT_TRUE(Rows().empty());
    EXPECT_NE(Status().find("No such file"), std::string::npos) << Status();
    Click(Part(kUpButton));
  });
  Then([&] {
    EXPECT_EQ(Status(), "");
    DoubleClickRow("alpha.pb");
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns), (dir / "alpha.pb").string());

  // A folder without read permission (root reads every folder).
  if (geteuid() == 0) GTEST_SKIP() << "running as root: every folder is readable";
  fs::create_directory(dir / "locked");
  fs::permissions(dir / "locked", fs::perms::none);
  Then([&] { DoubleClickRow("locked"); });
  Then([&] {
    EXPECT_EQ(Shown(), (dir / "locked").string());
    EXPECT_TRUE(Rows().empty());
    EXPECT_NE(Status().find("ermission"), std::string::npos) << Status();
    Click(Part(kUpButton));
  });
  Then([&] { DoubleClickRow("alpha.pb"); });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns), (dir / "alpha.pb").string());
}

// The listing is read when a folder is shown; scrolling and switching patterns work on what
// was read (a file made meanwhile shows once the folder is shown again).
TEST_F(FileRequesterTest, ALongListingScrollsAndIsReadOncePerFolderShown) {
  for (int i = 0; i < 100; ++i)
    Touch(dir / ("file" + std::to_string(100 + i) + ".pb"));
  auto wheel = [&](int notches) {
    const Element& list = ListOf();
    platform::NativeEvent ev;
    ev.type = platform::NativeEventType::Wheel;
    ev.wheel = notches;
    ev.x = CentreX(list.ID);
    ev.y = CentreY(list.ID);
    platform.Inject(ev);
  };
  int x = 0, y = 0;
  Then([&] {
    EXPECT_EQ(Rows().size(), 104u);
    std::tie(x, y) = RowPoint("alpha.pb");
    ClickRow("alpha.pb");  // the wheel turns the list in use
    wheel(-100);
    Touch(dir / "made-later.pb");
  });
  Then([&] {
    EXPECT_GT(ListOf().VScroll, 0);
    // The same spot now shows a later row, and a click there chooses that row's file.
    platform.InjectClick(x, y);
  });
  Then([&] {
    const std::string picked = GetElementText(tk, Part(kPathField));
    ASSERT_GT(RowOf(picked), RowOf("alpha.pb")) << picked;
    // Rows scrolled into view show their sizes.
    EXPECT_EQ(ListOf().Items[static_cast<size_t>(RowOf(picked))]->Text, picked + "\n1 byte");
    wheel(5);
    EXPECT_EQ(RowOf("made-later.pb"), -1);
    SetElementText(tk, Part(kPathField), "sub");
    Press(Key::Return);
  });
  Then([&] { Click(Part(kUpButton)); });
  Then([&] {
    EXPECT_GE(RowOf("made-later.pb"), 0);
    EXPECT_EQ(ListOf().VScroll, 0) << "a folder shown again starts at its top";
    reached = true;
    Press(Key::Escape);
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns), "");
  EXPECT_TRUE(reached) << "the requester ended before its last step";
}

// A name that is not UTF-8 is drawn with a replacement mark, and choosing its row gives the
// file's own name.
TEST_F(FileRequesterTest, NamesThatAreNotTextAreShownAndChosen) {
  const std::string raw = "bad\xff\x01name.pb";
  Touch(dir / raw);
  const std::string shown = "bad\xEF\xBF\xBD\xEF\xBF\xBDname.pb";
  Then([&] {
    ASSERT_GE(RowOf(shown), 0);
    ClickRow(shown);
  });
  Then([&] {
    EXPECT_EQ(GetElementText(tk, Part(kPathField)), shown);
    Click(Part(kOkButton));
  });
  EXPECT_EQ(OpenFileRequester(tk, "Open", dir.string(), kPatterns), (dir / raw).string());
  // Save: a double click on the row asks before that file is replaced.
  Then([&] { DoubleClickRow(shown); });
  Then([&] {
    ASSERT_EQ(Requester(), kRequesterIdBase + kRequesterIdBlock);
    Click(Part(3));  // Yes
  });
  EXPECT_EQ(SaveFileRequester(tk, "Save", dir.string(), kPatterns), (dir / raw).string());
}

TEST(FileListingTest, PatternsAndNames) {
  const auto patterns = files::ParsePatterns(kPatterns);
  ASSERT_EQ(patterns.size(), 2u);
  EXPECT_EQ(patterns[0].label, "PureBasic (*.pb)");
  EXPECT_EQ(patterns[0].globs, (std::vector<std::string>{"*.pb", "*.pbi", "*.pbf"}));
  EXPECT_TRUE(files::Matches(patterns[0], "X.PBF"));
  EXPECT_FALSE(files::Matches(patterns[0], "x.pbx"));
  EXPECT_TRUE(files::Matches(patterns[1], "Makefile"));
  EXPECT_TRUE(files::MatchGlob("a?c*.t?t", "abcdef.txt"));
  EXPECT_TRUE(files::MatchGlob("?.pb", "ж.pb"));
  EXPECT_FALSE(files::MatchGlob("a*b", "acbd"));
  EXPECT_EQ(files::ParsePatterns("").size(), 1u);
  EXPECT_EQ(files::ParsePatterns("*.txt")[0].globs, std::vector<std::string>{"*.txt"});
  // Names that are not UTF-8, and control characters, are shown with a replacement mark.
  EXPECT_EQ(files::DisplayName("a\xff\n.pb"), "a\xEF\xBF\xBD\xEF\xBF\xBD.pb");
  EXPECT_EQ(files::DisplayName("ok.pb"), "ok.pb");
  EXPECT_EQ(files::ReadFolder("/no/such/folder").entries.size(), 0u);
  EXPECT_FALSE(files::ReadFolder("/no/such/folder").error.empty());
}

}  // namespace
}  // namespace tk::testing
