// Scripted sessions: the line parser, the native events a script produces, the element-list
// dump, a whole session end to end, and the designer program run on a script.
#include "designer/script.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "designer/demo.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/host.h"
#include "requesters/modal.h"

namespace tk::designer {
namespace {

using platform::NativeEvent;
using platform::NativeEventType;
namespace fs = std::filesystem;

ScriptCommand ParseOk(std::string_view line) {
  ScriptCommand command;
  bool isCommand = false;
  std::string error;
  EXPECT_TRUE(ParseScriptLine(line, command, &isCommand, &error)) << line << ": " << error;
  EXPECT_TRUE(isCommand) << line;
  return command;
}

std::string ParseError(std::string_view line) {
  ScriptCommand command;
  bool isCommand = true;
  std::string error;
  EXPECT_FALSE(ParseScriptLine(line, command, &isCommand, &error)) << line;
  EXPECT_FALSE(isCommand) << line;
  return error;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh directory per test for the files scripts write.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() /
            ("tk_script_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  std::string Path() const { return path_.string(); }

 private:
  fs::path path_;
};

TEST(ScriptParse, EveryCommandWithItsArguments) {
  ScriptCommand c = ParseOk("move 10 -20");
  EXPECT_EQ(c.op, ScriptOp::Move);
  EXPECT_EQ(c.x, 10);
  EXPECT_EQ(c.y, -20);

  EXPECT_EQ(ParseOk("down").button, MouseButton::Left);
  c = ParseOk("  DOWN  Right ");
  EXPECT_EQ(c.op, ScriptOp::Down);
  EXPECT_EQ(c.button, MouseButton::Right);
  c = ParseOk("up middle");
  EXPECT_EQ(c.op, ScriptOp::Up);
  EXPECT_EQ(c.button, MouseButton::Middle);

  c = ParseOk("click 5 6");
  EXPECT_EQ(c.op, ScriptOp::Click);
  EXPECT_EQ(c.button, MouseButton::Left);
  c = ParseOk("click 5 6 right");
  EXPECT_EQ(c.button, MouseButton::Right);
  EXPECT_EQ(c.x, 5);
  EXPECT_EQ(c.y, 6);

  c = ParseOk("dclick 7 8");
  EXPECT_EQ(c.op, ScriptOp::DoubleClick);
  EXPECT_EQ(c.y, 8);

  c = ParseOk("drag 1 2 3 4\r");  // a script saved with CR LF line ends
  EXPECT_EQ(c.op, ScriptOp::Drag);
  EXPECT_EQ(c.x + c.y * 10 + c.x2 * 100 + c.y2 * 1000, 4321);

  c = ParseOk("wheel -3");
  EXPECT_EQ(c.op, ScriptOp::Wheel);
  EXPECT_EQ(c.wheel, -3);

  c = ParseOk("key Return shift ctrl alt");
  EXPECT_EQ(c.op, ScriptOp::Key);
  EXPECT_EQ(c.keyCode, 13);
  EXPECT_EQ(c.modifiers,
            platform::Modifier::Shift | platform::Modifier::Control | platform::Modifier::Alt);
  EXPECT_EQ(ParseOk("key v CTRL").modifiers, platform::Modifier::Control);

  // Everything after "type" and one blank is the text, blanks included.
  c = ParseOk("type Привет,  мир! ");
  EXPECT_EQ(c.op, ScriptOp::Type);
  EXPECT_EQ(c.text, U"Привет,  мир! ");
  EXPECT_EQ(ParseOk("type  x").text, U" x");
  EXPECT_EQ(ParseOk("type #1").text, U"#1");

  c = ParseOk("screenshot /tmp/a b.png ");
  EXPECT_EQ(c.op, ScriptOp::Screenshot);
  EXPECT_EQ(c.path, "/tmp/a b.png");
  c = ParseOk("dump out.tsv");
  EXPECT_EQ(c.op, ScriptOp::Dump);
  EXPECT_EQ(c.path, "out.tsv");
}

TEST(ScriptParse, KeyNamesGiveVirtualKeyCodes) {
  const std::pair<const char*, int> keys[] = {
      {"Left", 37},   {"RIGHT", 39},    {"up", 38},     {"Down", 40},  {"Home", 36},
      {"End", 35},    {"Backspace", 8}, {"Return", 13}, {"Enter", 13}, {"Escape", 27},
      {"Delete", 46}, {"Tab", 9},       {"a", 65},      {"Z", 90},     {"0", 48},
      {"9", 57},      {"F1", 112},      {"f12", 123},   {"Space", 32}, {"PageDown", 34}};
  for (const auto& [name, code] : keys)
    EXPECT_EQ(KeyCodeFromName(name), code) << name;
  for (const char* unknown : {"", "F0", "F13", "F01", "Lef", "#", "AB", "Ф"})
    EXPECT_EQ(KeyCodeFromName(unknown), 0) << unknown;
}

TEST(ScriptParse, BlankAndCommentLinesAreNoCommands) {
  for (const char* line : {"", "   ", "\t", "\r", "# a comment", "   # indented comment"}) {
    ScriptCommand command;
    bool isCommand = true;
    std::string error;
    EXPECT_TRUE(ParseScriptLine(line, command, &isCommand, &error)) << line;
    EXPECT_FALSE(isCommand) << '"' << line << '"';
  }
}

TEST(ScriptParse, BadLinesAreRefusedWithTheReason) {
  const std::pair<const char*, const char*> bad[] = {
      {"clik 1 2", "unknown command 'clik'"},
      {"Clik", "unknown command 'Clik'"},
      {"move 1", "wrong arguments for move: expected 'move X Y'"},
      {"move 1 2 3", "wrong arguments for move: expected 'move X Y'"},
      {"move 1 two", "move: 'two' is not a whole number"},
      {"move 1 99999999999", "move: '99999999999' is not a whole number"},
      {"move 1.5 2", "move: '1.5' is not a whole number"},
      {"down sideways", "down: unknown button 'sideways' (left, right or middle)"},
      {"up left right", "wrong arguments for up: expected 'up [left|right|middle]'"},
      {"click 1 2 middle", "click: unknown button 'middle' (left or right)"},
      {"dclick 1 2 right", "wrong arguments for dclick: expected 'dclick X Y'"},
      {"drag 1 2 3", "wrong arguments for drag: expected 'drag X1 Y1 X2 Y2'"},
      {"wheel", "wrong arguments for wheel: expected 'wheel N'"},
      {"wheel 0", "wheel: the number of notches must not be 0"},
      {"key", "wrong arguments for key: expected 'key NAME [shift] [ctrl] [alt]'"},
      {"key Foo", "key: unknown key 'Foo'"},
      {"key a meta", "key: unknown modifier 'meta' (shift, ctrl or alt)"},
      {"type", "type: nothing to type (expected 'type TEXT')"},
      {"type \xD0", "type: the text is not valid UTF-8"},
      {"type \xC0\xAF", "type: the text is not valid UTF-8"},      // overlong "/"
      {"type \xED\xA0\x80", "type: the text is not valid UTF-8"},  // a surrogate
      {"type a\tb", "type: control characters cannot be typed; use key Tab or key Return"},
      {"screenshot", "wrong arguments for screenshot: expected 'screenshot PATH'"},
      {"dump   ", "wrong arguments for dump: expected 'dump PATH'"},
  };
  for (const auto& [line, message] : bad)
    EXPECT_EQ(ParseError(line), message) << line;
}

TEST(ScriptParse, WholeScriptsKeepLineNumbers) {
  std::vector<ScriptLine> lines;
  std::string error;
  ASSERT_TRUE(
      ParseScript("\xEF\xBB\xBF# session\n\nmove 1 2\r\n  # note\nkey a", "s.txt", lines, &error))
      << error;
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].number, 3);
  EXPECT_EQ(lines[0].command.op, ScriptOp::Move);
  EXPECT_EQ(lines[1].number, 5);
  EXPECT_EQ(lines[1].command.keyCode, 65);

  EXPECT_FALSE(ParseScript("move 1 2\n\n# ok\n\nmove 3 4\nmove 5 6\nclik 7 8\nmove 9 9\n",
                           "script.txt", lines, &error));
  EXPECT_EQ(error, "script.txt:7: unknown command 'clik'");
}

TEST(ScriptDump, OneEscapedLinePerElementInListOrder) {
  EXPECT_EQ(EscapeDumpField("a\tb\nc\rd\\e"), "a\\tb\\nc\\rd\\\\e");
  EXPECT_EQ(EscapeDumpField("Привет"), "Привет");

  platform::HeadlessPlatform platform(320, 200);
  Toolkit tk(platform);
  PrepareToolkit(tk);
  ASSERT_EQ(Window(tk, 1, 0, 0, 320, 200, "Main"), 1);
  Button(tk, 5, 10, 20, 100, 30, "tab\there\nnext");
  DisableElement(tk, 5, 1);
  // A kind without a name shows its number.
  CreateElement(tk, ElementKind::MDI, 6, 10, 60, 50, 40, "", -1, -1, -1, 0, 1);
  HideElement(tk, 6, 1);
  FindElement(tk, 5)->Flags |= Flag::Selected;

  std::istringstream dump(DumpElements(tk));
  std::vector<std::string> lines;
  for (std::string line; std::getline(dump, line);)
    lines.push_back(line);
  ASSERT_EQ(lines.size(), tk.root.Elements.size());
  EXPECT_EQ(lines[0].substr(0, 10), "0\tDesktop\t");
  EXPECT_EQ(lines[1].substr(0, 9), "1\tWindow\t");
  const Element& b = *FindElement(tk, 5);
  EXPECT_EQ(lines[2], "5\tButton\tButton_0\t1\t1\t" + std::to_string(b.Frame.x0) + "\t" +
                          std::to_string(b.Frame.y0) + "\t100\t30\t0\t1\t1\ttab\\there\\nnext");
  EXPECT_EQ(lines[3].substr(0, 5), "6\t30\t");
  EXPECT_EQ(lines[3].substr(lines[3].size() - 7), "\t1\t0\t0\t");
}

// Records every native event the toolkit takes from the queue.
class RecordingPlatform : public platform::HeadlessPlatform {
 public:
  using HeadlessPlatform::HeadlessPlatform;
  bool PollEvent(NativeEvent& event) override {
    if (!HeadlessPlatform::PollEvent(event)) return false;
    log.push_back(event);
    return true;
  }
  std::vector<NativeEvent> log;
};

struct Seen {
  NativeEventType type;
  int x, y;
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
  return out << "{" << static_cast<int>(s.type) << " at " << s.x << "," << s.y << "}";
}

class ScriptEvents : public ::testing::Test {
 protected:
  ScriptEvents() : platform(400, 300), tk(platform), runner(tk, platform) {}
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(Window(tk, 1, 0, 0, 400, 300, "Main"), 1);
    ASSERT_TRUE(StartSession(tk, 1));
  }
  // The pointer events one line produced.
  std::vector<Seen> Play(std::string_view line) {
    platform.log.clear();
    std::string error;
    EXPECT_TRUE(runner.Run(ParseOk(line), &error)) << error;
    std::vector<Seen> seen;
    for (const NativeEvent& e : platform.log)
      seen.push_back({e.type, e.x, e.y});
    return seen;
  }

  RecordingPlatform platform;
  Toolkit tk;
  ScriptRunner runner;
};

using T = NativeEventType;

TEST_F(ScriptEvents, PointerLinesProduceWhatTheRealBackendReports) {
  EXPECT_EQ(Play("click 10 50"), (std::vector<Seen>{{T::MouseMove, 10, 50},
                                                    {T::LeftButtonDown, 10, 50},
                                                    {T::LeftButtonUp, 10, 50},
                                                    {T::LeftClick, 10, 50}}));
  EXPECT_EQ(Play("click 11 50 right"), (std::vector<Seen>{{T::MouseMove, 11, 50},
                                                          {T::RightButtonDown, 11, 50},
                                                          {T::RightButtonUp, 11, 50},
                                                          {T::RightClick, 11, 50}}));
  EXPECT_EQ(Play("dclick 12 50"), (std::vector<Seen>{{T::MouseMove, 12, 50},
                                                     {T::LeftButtonDown, 12, 50},
                                                     {T::LeftButtonUp, 12, 50},
                                                     {T::LeftClick, 12, 50},
                                                     {T::LeftButtonDown, 12, 50},
                                                     {T::LeftDoubleClick, 12, 50},
                                                     {T::LeftButtonUp, 12, 50},
                                                     {T::LeftClick, 12, 50}}));
  EXPECT_EQ(Play("drag 10 60 60 35"), (std::vector<Seen>{{T::MouseMove, 10, 60},
                                                         {T::LeftButtonDown, 10, 60},
                                                         {T::MouseMove, 20, 55},
                                                         {T::MouseMove, 30, 50},
                                                         {T::MouseMove, 40, 45},
                                                         {T::MouseMove, 50, 40},
                                                         {T::MouseMove, 60, 35},
                                                         {T::LeftButtonUp, 60, 35},
                                                         {T::LeftClick, 60, 35}}));
  // Steps that land on the same pixel are not reported twice.
  EXPECT_EQ(Play("drag 10 60 12 60"), (std::vector<Seen>{{T::MouseMove, 10, 60},
                                                         {T::LeftButtonDown, 10, 60},
                                                         {T::MouseMove, 11, 60},
                                                         {T::MouseMove, 12, 60},
                                                         {T::LeftButtonUp, 12, 60},
                                                         {T::LeftClick, 12, 60}}));
  // A drag released beyond the canvas (400 wide) reports no click.
  std::vector<Seen> outside = Play("drag 300 60 450 60");
  ASSERT_FALSE(outside.empty());
  EXPECT_EQ(outside.back(), (Seen{T::LeftButtonUp, 450, 60}));
}

TEST_F(ScriptEvents, ButtonLinesActWherethePointerIs) {
  Play("move 30 40");
  EXPECT_EQ(Play("down"), (std::vector<Seen>{{T::LeftButtonDown, 30, 40}}));
  EXPECT_EQ(Play("up"), (std::vector<Seen>{{T::LeftButtonUp, 30, 40}, {T::LeftClick, 30, 40}}));
  // A release without a press, or after leaving the canvas, is no click.
  EXPECT_EQ(Play("up"), (std::vector<Seen>{{T::LeftButtonUp, 30, 40}}));
  Play("down right");
  Play("move -5 40");
  EXPECT_EQ(Play("up right"), (std::vector<Seen>{{T::RightButtonUp, -5, 40}}));
  // The middle button has no click.
  Play("move 30 40");
  EXPECT_EQ(Play("down middle"), (std::vector<Seen>{{T::MiddleButtonDown, 30, 40}}));
  EXPECT_EQ(Play("up middle"), (std::vector<Seen>{{T::MiddleButtonUp, 30, 40}}));
  // Each button keeps its own press.
  Play("down left");
  Play("down right");
  EXPECT_EQ(Play("up right"),
            (std::vector<Seen>{{T::RightButtonUp, 30, 40}, {T::RightClick, 30, 40}}));
  EXPECT_EQ(Play("up left"),
            (std::vector<Seen>{{T::LeftButtonUp, 30, 40}, {T::LeftClick, 30, 40}}));
}

TEST_F(ScriptEvents, KeyboardLinesAndTheWheel) {
  platform.log.clear();
  std::string error;
  ASSERT_TRUE(runner.Run(ParseOk("key c shift ctrl"), &error));
  ASSERT_EQ(platform.log.size(), 2u);
  EXPECT_EQ(platform.log[0].type, T::KeyDown);
  EXPECT_EQ(platform.log[1].type, T::KeyUp);
  for (const NativeEvent& e : platform.log) {
    EXPECT_EQ(e.keyCode, 67);
    EXPECT_EQ(e.modifiers, platform::Modifier::Shift | platform::Modifier::Control);
  }
  EXPECT_EQ(tk.root.KeyCode, 67);

  platform.log.clear();
  ASSERT_TRUE(runner.Run(ParseOk("type aЖ€😀"), &error));
  ASSERT_EQ(platform.log.size(), 4u);
  EXPECT_EQ(platform.log[0].ch, U'a');
  EXPECT_EQ(platform.log[1].ch, U'Ж');
  EXPECT_EQ(platform.log[2].ch, U'€');
  EXPECT_EQ(platform.log[3].ch, U'😀');
  for (const NativeEvent& e : platform.log)
    EXPECT_EQ(e.type, T::Input);

  Play("move 33 44");
  platform.log.clear();
  ASSERT_TRUE(runner.Run(ParseOk("wheel -2"), &error));
  ASSERT_EQ(platform.log.size(), 1u);
  EXPECT_EQ(platform.log[0].type, T::Wheel);
  EXPECT_EQ(platform.log[0].wheel, -2);
  EXPECT_EQ(platform.log[0].x, 33);
  EXPECT_EQ(tk.root.WheelDelta, -2);
}

TEST_F(ScriptEvents, FailuresNameTheLineAndABadLineRunsNothing) {
  ScratchDir dir;
  std::string error;
  EXPECT_FALSE(runner.RunText("move 10 10\nmove 20 20\nclik 1 1\n", "bad.txt", &error));
  EXPECT_EQ(error, "bad.txt:3: unknown command 'clik'");
  EXPECT_TRUE(platform.QueueEmpty());
  EXPECT_NE(platform.PointerInClient().x, 10);  // nothing ran

  const std::string missing = (dir / "no-such-dir" / "x.tsv").string();
  EXPECT_FALSE(runner.RunText("move 10 10\n\ndump " + missing + "\nmove 20 20\n", "w.txt", &error));
  EXPECT_EQ(error, "w.txt:3: cannot write " + missing + ": No such file or directory");
  EXPECT_EQ(platform.PointerInClient().x, 10);  // the lines before it ran, the rest did not

  // A command built in code with a cut-short path is refused as well.
  ScriptCommand cut;
  cut.op = ScriptOp::Dump;
  cut.path = (dir / "cut").string() + std::string(1, '\0') + "tail";
  EXPECT_FALSE(runner.Run(cut, &error));
  EXPECT_FALSE(fs::exists(dir / "cut"));

  EXPECT_FALSE(runner.RunFile((dir / "absent.txt").string(), &error));
  EXPECT_NE(error.find("cannot read the script"), std::string::npos) << error;
}

// One session end to end: type into a String, drag and nudge a design-selectable Button, and
// read both back from the dump.
TEST(ScriptSession, TypingDraggingAndNudgingShowInTheDump) {
  platform::HeadlessPlatform platform(400, 300);
  Toolkit tk(platform);
  PrepareToolkit(tk);
  ASSERT_EQ(Window(tk, 1, 0, 0, 400, 300, "Main"), 1);
  ASSERT_EQ(String(tk, 2, 10, 10, 150, 24, ""), 2);
  // Placed the way the designer places form controls: snapped to (37, 97), 102 x 32.
  ASSERT_EQ(Button(tk, 3, 40, 100, 100, 30, "", Flag::DesignerPlaced), 3);
  FindElement(tk, 3)->DesignSelectable = 1;
  ASSERT_TRUE(StartSession(tk, 1));

  const Element& win = *FindElement(tk, 1);
  const Element& str = *FindElement(tk, 2);
  const Element& button = *FindElement(tk, 3);
  ASSERT_EQ(button.ParentOffsetX(), 37);
  ASSERT_EQ(button.ParentOffsetY(), 97);
  const int bx = button.Frame.x0 + 50, by = button.Frame.y0 + 16;

  ScratchDir dir;
  const std::string dump = (dir / "after.tsv").string();
  std::ostringstream script;
  script << "# type into the String\n"
         << "click " << str.Frame.x0 + 20 << " " << str.Frame.y0 + 12 << "\n"
         << "type Hello\n"
         << "key Backspace\n"
         << "key Home\n"
         << "type >\n"
         << "\n# move the button 23 pixels right, then 5 more\n"
         << "drag " << bx << " " << by << " " << bx + 23 << " " << by << "\n"
         << "key Right ctrl\n"
         << "dump " << dump << "\n";
  ScriptRunner runner(tk, platform);
  std::string error;
  ASSERT_TRUE(runner.RunText(script.str(), "session.txt", &error)) << error;
  EXPECT_FALSE(runner.Ended());

  std::map<int, std::string> lines;
  std::istringstream in(ReadFile(dump));
  for (std::string line; std::getline(in, line);)
    lines[std::stoi(line)] = line;
  ASSERT_EQ(lines.size(), 4u);
  auto at = [](int x, int y, int w, int h) {
    return std::to_string(x) + "\t" + std::to_string(y) + "\t" + std::to_string(w) + "\t" +
           std::to_string(h);
  };
  EXPECT_EQ(lines[2], "2\tString\tString_0\t1\t1\t" +
                          at(str.Frame.x0, str.Frame.y0, str.Frame.w0, str.Frame.h0) +
                          "\t0\t0\t0\t>Hell");
  // The drawn frame, 3 pixels inside the grab band that SizeGadget adds, lies on the grid:
  // at 40 before, 40 + 23 snaps to 60 (stored offset 57), and Ctrl+Right adds 5.
  EXPECT_EQ(lines[3], "3\tButton\tButton_0\t1\t1\t" +
                          at(win.Inner.x0 + 62, win.Inner.y0 + 97, 102, 32) +
                          "\t0\t0\t1\tButton_0");
  EXPECT_EQ(tk.root.DesignedElement, 3);
}

// A line whose click opens a modal loop from a handler: the lines after it are played into
// that loop until one answers it; the rest run as usual once the handler has returned.
TEST(ScriptSession, LinesAfterAModalLoopOpensAnswerIt) {
  platform::HeadlessPlatform platform(400, 300);
  Toolkit tk(platform);
  PrepareToolkit(tk);
  ASSERT_EQ(Window(tk, 1, 0, 0, 400, 300, "Main"), 1);
  ASSERT_EQ(Button(tk, 2, 10, 10, 100, 30, "Ask"), 2);
  ASSERT_EQ(Button(tk, 3, 10, 60, 100, 30, "OK"), 3);
  ASSERT_EQ(String(tk, 4, 10, 110, 150, 24, ""), 4);
  std::vector<std::string> order;
  std::string typedWhileOpen;
  BindElementEvent(tk, 2, MakeHandler([&](EventCode code, int) {
                     if (code != ElementEvent::LeftClick) return 1;
                     order.push_back("ask");
                     RunEventLoop(tk, 1);
                     order.push_back("answered");
                     typedWhileOpen = GetElementText(tk, 4);
                     return 1;
                   }),
                   -1);
  BindElementEvent(tk, 3, MakeHandler([&](EventCode code, int) {
                     if (code != ElementEvent::LeftClick) return 1;
                     order.push_back("ok");
                     QuitEventLoop(tk);
                     return 1;
                   }),
                   -1);
  ASSERT_TRUE(StartSession(tk, 1));
  const auto centre = [&](int id) {
    const Element& e = *FindElement(tk, id);
    return std::to_string(e.Frame.x0 + e.Frame.w0 / 2) + " " +
           std::to_string(e.Frame.y0 + e.Frame.h0 / 2);
  };

  ScratchDir dir;
  const std::string shot = (dir / "modal.png").string();
  ScriptRunner runner(tk, platform);
  std::string error;
  const std::string script = "click " + centre(2) + "\nclick " + centre(4) + "\ntype ab\n" +
                             "screenshot " + shot + "\nclick " + centre(3) + "\nclick " +
                             centre(4) + "\nkey End\ntype c\n";
  ASSERT_TRUE(runner.RunText(script, "modal.txt", &error)) << error;
  EXPECT_FALSE(runner.Ended());
  EXPECT_EQ(order, (std::vector<std::string>{"ask", "ok", "answered"}));
  EXPECT_EQ(typedWhileOpen, "ab");
  EXPECT_EQ(GetElementText(tk, 4), "abc");
  EXPECT_TRUE(fs::exists(shot));
  EXPECT_TRUE(platform.HostExists());
  EXPECT_EQ(tk.loop.Depth, 0);
}

// The demonstration's main window closes through its caption's close button; the lines after
// that feed nothing, while the dump still records the state the program ended in.
TEST(ScriptSession, ClosingTheMainWindowEndsTheSession) {
  platform::HeadlessPlatform platform(demo::kDefaultWidth, demo::kDefaultHeight);
  Toolkit tk(platform);
  PrepareToolkit(tk);
  const int main = demo::BuildDemo(tk);
  ASSERT_EQ(main, demo::kMainWindow);
  ASSERT_TRUE(StartSession(tk, main));
  const Element& win = *FindElement(tk, main);
  ASSERT_GE(win.Items.size(), 2u);
  const Element& close = *win.Items[1];
  const int x = win.Inner.x0 + close.Frame.x0 + close.Frame.w0 / 2;
  const int y = win.Frame.y0 + win.FrameWidth + close.Frame.y0 + close.Frame.h0 / 2;

  ScratchDir dir;
  const std::string dump = (dir / "end.tsv").string();
  ScriptRunner runner(tk, platform);
  std::string error;
  ASSERT_TRUE(runner.RunText("move 100 100\nclick " + std::to_string(x) + " " + std::to_string(y) +
                                 "\nmove 200 200\ndump " + dump + "\n",
                             "close.txt", &error))
      << error;
  EXPECT_TRUE(runner.Ended());
  EXPECT_EQ(runner.EndedAtLine(), 2);
  EXPECT_TRUE(tk.loop.CloseRequested);
  EXPECT_NE(platform.PointerInClient().x, 200);
  EXPECT_EQ(FindElement(tk, main), nullptr);
  EXPECT_EQ(ReadFile(dump).find("\nWindow\t"), std::string::npos);
  EXPECT_EQ(ReadFile(dump).substr(0, 2), "0\t");
}

// The demonstration's design surface and editable Strings, played through a script.
TEST(ScriptSession, DemoDesignSurfaceAndStrings) {
  platform::HeadlessPlatform platform(demo::kDefaultWidth, demo::kDefaultHeight);
  Toolkit tk(platform);
  PrepareToolkit(tk);
  ASSERT_EQ(demo::BuildDemo(tk), demo::kMainWindow);
  ASSERT_TRUE(StartSession(tk, demo::kMainWindow));
  auto frame = [&](int id) { return FindElement(tk, id)->Frame; };
  auto selected = [&](int id) { return HasAll(FindElement(tk, id)->Flags, Flag::Selected); };
  // Nothing is selected at the start.
  for (int id : {301, 302, 303, 304})
    EXPECT_FALSE(selected(id)) << id;
  EXPECT_EQ(tk.root.DesignedElement, -1);

  ScriptRunner runner(tk, platform);
  std::string error;
  const CoordBlock first = frame(demo::kDesignButton);
  ASSERT_TRUE(
      runner.RunText("click " + std::to_string(first.x0 + 40) + " " + std::to_string(first.y0 + 16),
                     "select.txt", &error))
      << error;
  EXPECT_TRUE(selected(demo::kDesignButton));
  EXPECT_EQ(tk.root.DesignedElement, demo::kDesignButton);

  // The right border band of the second button, dragged 30 pixels: 120 + 30 snaps to 150 from
  // the frame's left edge, and a Button takes one pixel more.
  const CoordBlock second = frame(302);
  const int ex = second.x0 + second.w0 - 2, ey = second.y0 + second.h0 / 2;
  ASSERT_TRUE(runner.RunText("drag " + std::to_string(ex) + " " + std::to_string(ey) + " " +
                                 std::to_string(ex + 30) + " " + std::to_string(ey),
                             "resize.txt", &error))
      << error;
  EXPECT_EQ(frame(302).w0, 151);
  EXPECT_EQ(frame(302).x0, second.x0);
  EXPECT_TRUE(selected(302));
  EXPECT_FALSE(selected(demo::kDesignButton));

  // Typing into a String drops the design selection, so its arrow keys edit the text.
  const CoordBlock edit = frame(demo::kEditableString);
  const std::string before = FindElement(tk, demo::kEditableString)->Text;
  ASSERT_TRUE(runner.RunText("click " + std::to_string(edit.x0 + 30) + " " +
                                 std::to_string(edit.y0 + 12) +
                                 "\nkey End\nkey Left\ntype !\nkey Right\ntype ?\n",
                             "type.txt", &error))
      << error;
  EXPECT_EQ(FindElement(tk, demo::kEditableString)->Text,
            before.substr(0, before.size() - 1) + "!" + before.back() + "?");
  EXPECT_EQ(tk.root.DesignedElement, -1);
  for (int id : {301, 302, 303, 304})
    EXPECT_FALSE(selected(id)) << id;
  EXPECT_EQ(frame(demo::kDesignButton).x0, first.x0);

  // The numeric String takes digits and the full stop only.
  const CoordBlock numeric = frame(demo::kNumericString);
  ASSERT_TRUE(runner.RunText("click " + std::to_string(numeric.x0 + 100) + " " +
                                 std::to_string(numeric.y0 + 12) + "\nkey End\ntype 1a.b5\n",
                             "numeric.txt", &error))
      << error;
  EXPECT_EQ(FindElement(tk, demo::kNumericString)->Text, "3.141.5");

  ASSERT_TRUE(runner.RunText("move 5 5\nkey Escape\nkey Return\n", "end.txt", &error)) << error;
  EXPECT_TRUE(runner.Ended());
  EXPECT_EQ(runner.EndedAtLine(), 2);
}

// The program itself: exit status 0 after a good script, and the line of a bad one.
TEST(DesignerProgram, RunsScriptsAndReportsBadLines) {
  ScratchDir dir;
  const std::string designer = std::string(TK_BINARY_DIR) + "/designer";
  ASSERT_TRUE(fs::exists(designer)) << designer;
  const std::string good = (dir / "good.txt").string();
  const std::string shot = (dir / "shot.png").string();
  const std::string dump = (dir / "dump.tsv").string();
  const std::string err = (dir / "stderr.txt").string();
  {
    std::ofstream out(good);
    out << "# a short session on the demonstration\n"
        << "move 100 100\nclick 130 395\nkey End\ntype 42\nkey Escape\n"
        << "screenshot " << shot << "\ndump " << dump << "\n";
  }
  int status = std::system(("'" + designer + "' --demo --headless --size 1000x500 --script '" +
                            good + "' 2>'" + err + "'")
                               .c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << ReadFile(err);
  EXPECT_EQ(ReadFile(shot).substr(1, 3), "PNG");
  EXPECT_NE(ReadFile(dump).find(std::to_string(demo::kEditableString) + "\tString\t"),
            std::string::npos);

  const std::string bad = (dir / "bad.txt").string();
  {
    std::ofstream out(bad);
    out << "move 1 1\n\n# comment\nclik 2 2\n";
  }
  status = std::system(
      ("'" + designer + "' --demo --headless --script '" + bad + "' 2>'" + err + "'").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(err), "designer: " + bad + ":4: unknown command 'clik'\n");

  // --script without --headless is refused before anything opens.
  status =
      std::system(("'" + designer + "' --demo --script '" + good + "' 2>'" + err + "'").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_NE(ReadFile(err).find("--script works with --headless only"), std::string::npos);
}

// A path the file system cannot take whole, and a folder given as the script, are failures
// with status 1 and the usual message, never a silent success.
TEST(DesignerProgram, RefusesPathsWithANulByteAndFolderScripts) {
  ScratchDir dir;
  const std::string designer = std::string(TK_BINARY_DIR) + "/designer";
  ASSERT_TRUE(fs::exists(designer)) << designer;
  const std::string err = (dir / "stderr.txt").string();
  const std::string script = (dir / "nul.txt").string();
  for (const char* command : {"dump", "screenshot"}) {
    const std::string cut = (dir / command).string();
    {
      std::ofstream out(script, std::ios::binary);
      out << "move 1 1\n" << command << ' ' << cut << std::string(1, '\0') << "tail\n";
    }
    const int status = std::system(
        ("'" + designer + "' --demo --headless --script '" + script + "' 2>'" + err + "'").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << command;
    EXPECT_EQ(ReadFile(err).rfind("designer: " + script + ":2: ", 0), 0u) << ReadFile(err);
    EXPECT_FALSE(fs::exists(cut)) << command;
  }

  const int status = std::system(
      ("'" + designer + "' --demo --headless --script '" + dir.Path() + "' 2>'" + err + "'")
          .c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(ReadFile(err).find("cannot read the script " + dir.Path()), std::string::npos)
      << ReadFile(err);
}

// A script opens the demonstration's file requester and chooses a file by typing its path,
// then again by double-clicking a folder's row and the file's row; each answer comes back to
// the program, which goes on.
TEST(ScriptSession, ChoosesAFileThroughTheOpenRequester) {
  platform::HeadlessPlatform platform(demo::kDefaultWidth, demo::kDefaultHeight);
  Toolkit tk(platform);
  PrepareToolkit(tk);
  ASSERT_EQ(demo::BuildDemo(tk), demo::kMainWindow);
  ASSERT_TRUE(StartSession(tk, demo::kMainWindow));
  ScratchDir dir;
  fs::create_directory(dir / "forms");
  std::ofstream(dir / "forms" / "main.pb") << "OpenWindow(0, 0, 0, 100, 100, \"\")\n";
  const std::string chosen = (dir / "forms" / "main.pb").string();
  auto answer = [&] {
    std::string text = GetElementText(tk, demo::kAnswerText);
    while (!text.empty() && text.back() == '\n')
      text.pop_back();
    return text;
  };
  auto centre = [&](int id) {
    const CoordBlock f = FindElement(tk, id)->Frame;
    return std::to_string(f.x0 + f.w0 / 2) + " " + std::to_string(f.y0 + f.h0 / 2);
  };

  tk.requesters.LastFolder = dir.Path();
  const std::string dump = (dir / "open.tsv").string();
  ScriptRunner runner(tk, platform);
  std::string error;
  ASSERT_TRUE(runner.RunText("click " + centre(demo::kOpenFileButton) + "\ndump " + dump +
                                 "\ntype forms/main.pb\nkey Return\n",
                             "typed.txt", &error))
      << error;
  EXPECT_EQ(answer(), "Open: " + chosen);

  // Where the listing lay: its first row, below the column header, is the only folder.
  int rowX = 0, rowY = 0;
  std::istringstream lines(ReadFile(dump));
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> f;
    std::istringstream fields(line);
    std::string field;
    while (std::getline(fields, field, '\t'))
      f.push_back(field);
    if (f.size() >= 9 && f[1] == "ListIcon" && std::stoll(f[0]) >= kRequesterIdBase) {
      rowX = std::stoi(f[5]) + 60;
      rowY = std::stoi(f[6]) + 30;
    }
  }
  ASSERT_GT(rowX, 0) << ReadFile(dump);
  tk.requesters.LastFolder = dir.Path();
  const std::string row = std::to_string(rowX) + " " + std::to_string(rowY);
  ASSERT_TRUE(runner.RunText(
      "click " + centre(demo::kOpenFileButton) + "\ndclick " + row + "\ndclick " + row + "\n",
      "double.txt", &error))
      << error;
  EXPECT_EQ(answer(), "Open: " + chosen);
  EXPECT_TRUE(tk.root.ModalWindows.empty());
  EXPECT_EQ(tk.loop.Depth, 0);
  EXPECT_TRUE(platform.HostExists());
}

}  // namespace
}  // namespace tk::designer
