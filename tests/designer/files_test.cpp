// Saving and opening the form's file, driven through native events on the headless platform:
// the first save asks for a path, a hand-written file is never written over, a failed save
// leaves the old file whole, and the title marks unsaved changes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "codegen/generator.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"
#include "designer/designer.h"
#include "designer/files.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"
#include "tests/support/file_tools.h"
#include "tests/support/step_queue.h"

namespace tk::designer {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::WriteAll;
namespace Key = platform::Key;
using platform::NativeEvent;
using platform::NativeEventType;

// The names in a folder, to see that no temporary file was left behind.
std::string Listing(const fs::path& folder) {
  std::set<std::string> sorted;
  for (const auto& entry : fs::directory_iterator(folder))
    sorted.insert(entry.path().filename().string());
  std::string names;
  for (const std::string& name : sorted)
    names += name + "\n";
  return names;
}

class DesignerFiles : public ::testing::Test {
 protected:
  DesignerFiles()
      : platform(1280, 1024),
        archives(platform.Images(), {fs::path(TK_BINARY_DIR)}),
        designer(archives),
        tk(platform) {
    PrepareToolkit(tk);
    dir = fs::temp_directory_path() /
          ("tk_files_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
           std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~DesignerFiles() override {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }

  void SetUp() override {
    ASSERT_GT(StartDesigner(tk, designer).window, 0);
    ASSERT_TRUE(StartSession(tk, designer.window));
    steps_.Attach(platform);
  }
  void TearDown() override { testing::StepQueue::Detach(platform); }

  void Then(std::function<void()> step) { steps_.Then(std::move(step)); }
  void DropSteps() { steps_.Clear(); }
  int Requester() const { return tk.root.ModalWindows.empty() ? 0 : tk.root.ModalWindows.back(); }
  std::string RequesterTitle() { return GetElementText(tk, Requester()); }
  // The requester's texts without blanks or line breaks: a message wraps where its width
  // (the length of the path it names) says.
  std::string RequesterText() {
    std::string all;
    for (const auto& e : tk.root.Elements)
      if (e->Alive && e->WindowID == Requester())
        for (const char c : e->Text)
          if (c != ' ' && c != '\n' && c != '\r') all += c;
    return all;
  }
  void InjectKey(int code, int modifiers = 0) {
    NativeEvent ev;
    ev.type = NativeEventType::KeyDown;
    ev.keyCode = code;
    ev.modifiers = modifiers;
    platform.Inject(ev);
    ev.type = NativeEventType::KeyUp;
    platform.Inject(ev);
  }
  void Press(int code, int modifiers = 0) {
    InjectKey(code, modifiers);
    PumpEvents(tk);
  }
  void PressControl(char letter) { Press(Key::A + (letter - 'A'), platform::Modifier::Control); }
  // Types a path into the file requester and confirms it.
  void Answer(const std::string& path) {
    Then([this, path] {
      for (const char c : path) {
        NativeEvent ev;
        ev.type = NativeEventType::Input;
        ev.ch = static_cast<unsigned char>(c);
        platform.Inject(ev);
      }
      InjectKey(Key::Return);
    });
  }
  // A click on the tool bar's New: a new form window, made as the user makes it.
  void NewWindow() {
    const Element* bar = FindElement(tk, designer.toolBar);
    ASSERT_NE(bar, nullptr);
    for (const auto& item : bar->Items) {
      if (item->ID != Command::New) continue;
      platform.InjectClick(bar->Frame.x0 + item->Frame.x0 + item->Frame.w0 / 2,
                           bar->Frame.y0 + item->Frame.y0 + item->Frame.h0 / 2);
      PumpEvents(tk);
      return;
    }
    FAIL() << "no New on the tool bar";
  }
  std::string Title() { return GetElementText(tk, designer.window); }
  std::string Code() { return FormCodeText(tk, designer.mainPanel); }

  platform::HeadlessPlatform platform;
  IconArchives archives;
  Designer designer;
  Toolkit tk;
  fs::path dir;

 private:
  testing::StepQueue steps_;
};

// Control+S on a new form asks for a path (".pb" added), writes exactly the Code page's text
// there and clears the title's mark; the next change marks it again and the next Control+S
// writes over the same file without asking. Quit's "Yes" saves and then ends.
TEST_F(DesignerFiles, ControlSSavesTheCodePageTextAndClearsTheMark) {
  EXPECT_EQ(Title(), "Untitled - Designer");
  NewWindow();
  EXPECT_EQ(Title(), "*Untitled - Designer");

  std::string asked;
  Then([&] { asked = RequesterTitle(); });
  Answer((dir / "form").string());
  PressControl('S');
  EXPECT_EQ(asked, "Please choose file to save");
  const fs::path file = dir / "form.pb";
  // The Code page shows what was written, byte for byte.
  SetElementState(tk, designer.mainPanel, 1);
  PostElementEvent(tk, ElementEvent::Change, designer.mainPanel, 0, 0);
  const std::string shown = GetElementText(tk, designer.codeElement);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(ReadAll(file), shown);
  EXPECT_EQ(Title(), "form.pb - Designer");
  EXPECT_EQ(designer.savedCode, shown);
  EXPECT_EQ(Listing(dir), "form.pb\n");
  SetElementState(tk, designer.mainPanel, 0);

  NewWindow();
  EXPECT_EQ(Title(), "*form.pb - Designer");
  asked.clear();
  Then([&] { asked = RequesterTitle(); });
  PressControl('S');
  EXPECT_EQ(asked, "");  // no requester: the step stayed queued
  DropSteps();
  EXPECT_EQ(ReadAll(file), Code());
  EXPECT_EQ(Title(), "form.pb - Designer");

  // Quit with unsaved changes: Yes saves over the file, then the program ends.
  NewWindow();
  const std::string changed = Code();
  Then([&] { InjectKey(Key::Return); });  // Yes
  RunCommand(tk, designer, Command::Quit);
  PumpEvents(tk);
  EXPECT_TRUE(tk.loop.CloseRequested);
  EXPECT_EQ(ReadAll(file), changed);
}

// A file holding more than the designer writes back is never saved over: Save asks for a new
// path (choosing the same one is refused) and the original stays byte for byte. A file the
// designer would write again unchanged is saved over without asking. Opening with unsaved
// changes asks first; Cancel keeps the form.
TEST_F(DesignerFiles, SaveNeverOverwritesAHandWrittenFile) {
  const fs::path hand = dir / "hand.pb";
  const std::string handBytes = "; my own program\r\nDebug \"kept\"\r\nEnd\r\n";
  WriteAll(hand, handBytes);

  NewWindow();
  std::string question;
  Then([&] {
    question = RequesterText();
    InjectKey(Key::Escape);  // Cancel
  });
  PressControl('O');
  EXPECT_NE(question.find("Savethechanges?"), std::string::npos) << question;
  EXPECT_EQ(Requester(), 0);

  Then([&] {
    // "No": the changes are dropped and the open requester follows.
    for (const auto& e : tk.root.Elements)
      if (e->Alive && e->WindowID == Requester() && e->Text == "No")
        platform.InjectClick(e->Frame.x0 + e->Frame.w0 / 2, e->Frame.y0 + e->Frame.h0 / 2);
  });
  Answer(hand.string());
  PressControl('O');
  EXPECT_EQ(Title(), "hand.pb - Designer");
  EXPECT_FALSE(designer.fileIsOwn);

  NewWindow();
  // The same path again is refused with a message; then a new path takes the form.
  std::string refused;
  Answer(hand.string());
  Then([&] { InjectKey(Key::Return); });  // the requester's "Replace it?": Yes
  Then([&] {
    refused = RequesterText();
    InjectKey(Key::Return);
  });
  PressControl('S');
  EXPECT_NE(refused.find("doesnotwriteback"), std::string::npos) << refused;
  EXPECT_EQ(ReadAll(hand), handBytes);
  Answer((dir / "copy.pb").string());
  PressControl('S');
  EXPECT_EQ(ReadAll(hand), handBytes);
  EXPECT_EQ(ReadAll(dir / "copy.pb"), Code());
  EXPECT_EQ(Title(), "copy.pb - Designer");

  // A file holding exactly what the designer writes for what it reads is its own and is saved
  // over directly: here the source of a form without windows.
  const fs::path empty = dir / "empty.pb";
  WriteAll(empty, "");
  ASSERT_TRUE(OpenForm(tk, designer, empty.string()));
  EXPECT_FALSE(designer.fileIsOwn);  // the designer writes more than nothing
  const fs::path own = dir / "own.pb";
  WriteAll(own, Code());
  ASSERT_TRUE(OpenForm(tk, designer, own.string()));
  EXPECT_TRUE(designer.fileIsOwn);
  EXPECT_EQ(Title(), "own.pb - Designer");
  NewWindow();
  EXPECT_EQ(Title(), "*own.pb - Designer");
  PressControl('S');
  EXPECT_EQ(Requester(), 0);
  EXPECT_EQ(ReadAll(own), Code());
  EXPECT_EQ(Title(), "own.pb - Designer");

  // A file that cannot be read says so and leaves the form as it was.
  const std::string before = Code();
  std::string message;
  Then([&] {
    message = RequesterTitle() + ": " + RequesterText();
    InjectKey(Key::Return);
  });
  EXPECT_FALSE(OpenForm(tk, designer, (dir / "missing.pb").string()));
  EXPECT_NE(message.find("Information:"), std::string::npos) << message;
  EXPECT_NE(message.find("Couldn'topenthefile!"), std::string::npos) << message;
  EXPECT_EQ(Code(), before);
  EXPECT_EQ(designer.currentFile, own.string());

  // Asked for a new path, the save requester starts in the opened file's folder, also when
  // the file was named relative to the current directory (as on the command line).
  const fs::path previous = fs::current_path();
  fs::current_path(dir);
  ASSERT_TRUE(OpenForm(tk, designer, "hand.pb"));
  std::string shown;
  Then([&] {
    shown = RequesterText();
    InjectKey(Key::Escape);
  });
  RunCommand(tk, designer, Command::Save);
  fs::current_path(previous);
  EXPECT_NE(shown.find(fs::absolute(dir).string()), std::string::npos) << shown;
}

// A save that fails at any step (the temporary file, half-way through the bytes, the sync,
// the rename; a target that is a folder) leaves the old file exactly as it was and no
// temporary file behind. In the designer the error is shown and the mark stays.
TEST_F(DesignerFiles, FailedSaveLeavesTheOldFileWhole) {
  const fs::path file = dir / "old.pb";
  const std::string oldBytes = "old contents\r\n";
  WriteAll(file, oldBytes);
  const std::string fresh(100000, 'x');
  for (const int step : {SaveStep::Create, SaveStep::Write, SaveStep::Sync, SaveStep::Rename}) {
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(file.string(), fresh, &error, [step](int at) {
      return at == step;
    })) << step;
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_EQ(ReadAll(file), oldBytes) << step;
    EXPECT_EQ(Listing(dir), "old.pb\n") << step;
  }
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file.string(), fresh, &error)) << error;
  EXPECT_EQ(ReadAll(file), fresh);
  EXPECT_EQ(Listing(dir), "old.pb\n");

  // A path that is a folder: the rename itself fails.
  const fs::path folder = dir / "folder.pb";
  fs::create_directories(folder / "inside");
  EXPECT_FALSE(WriteFileAtomically(folder.string(), fresh, &error));
  EXPECT_TRUE(fs::is_directory(folder / "inside"));
  EXPECT_EQ(Listing(dir), "folder.pb\nold.pb\n");
  EXPECT_FALSE(WriteFileAtomically((dir / "missing" / "x.pb").string(), fresh, &error));
  EXPECT_FALSE(WriteFileAtomically("", fresh, &error));

  // Through the designer: a rename that fails shows the reason and changes nothing.
  NewWindow();
  designer.saveFault = [](int at) { return at == SaveStep::Rename; };
  std::string told;
  Answer((dir / "new").string());
  Then([&] {
    told = RequesterText();
    InjectKey(Key::Return);
  });
  PressControl('S');
  EXPECT_NE(told.find("notsaved"), std::string::npos) << told;
  EXPECT_TRUE(designer.currentFile.empty());
  EXPECT_EQ(Title(), "*Untitled - Designer");
  EXPECT_EQ(Listing(dir), "folder.pb\nold.pb\n");

  // A write that stops half-way over the designer's own file keeps that file too.
  designer.saveFault = nullptr;
  Answer((dir / "new").string());
  PressControl('S');
  const std::string saved = ReadAll(dir / "new.pb");
  ASSERT_EQ(saved, Code());
  NewWindow();
  designer.saveFault = [](int at) { return at == SaveStep::Write; };
  Then([&] {
    told = RequesterText();
    InjectKey(Key::Return);
  });
  PressControl('S');
  EXPECT_NE(told.find("Nospaceleft"), std::string::npos) << told;
  EXPECT_EQ(ReadAll(dir / "new.pb"), saved);
  EXPECT_EQ(Title(), "*new.pb - Designer");
  EXPECT_EQ(Listing(dir), "folder.pb\nnew.pb\nold.pb\n");
}

// The main loop's start grows the designer's own window by its status bar, never the forms: a
// file opened at start and saved untouched keeps its bytes, and ending asks nothing.
TEST_F(DesignerFiles, StartingTheLoopLeavesTheFormsAsTheyWere) {
  const fs::path file = dir / "given.pb";
  NewWindow();
  Answer(file.string());
  PressControl('S');
  const std::string bytes = ReadAll(file);
  ASSERT_FALSE(bytes.empty());
  ASSERT_TRUE(OpenForm(tk, designer, file.string()));
  const int height = ElementHeight(tk, designer.window);

  GrowWindowsForStatusBars(tk);
  EXPECT_GT(ElementHeight(tk, designer.window), height);
  EXPECT_EQ(Code(), bytes);
  EXPECT_TRUE(MayEnd(tk, designer));  // no requester: nothing was changed
  PressControl('S');
  EXPECT_EQ(ReadAll(file), bytes);
}

}  // namespace
}  // namespace tk::designer
