// Scripted sessions: a line-based language of pointer and keyboard actions that is fed into the
// headless backend's native event queue, plus screenshots and element-list dumps on the way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/toolkit.h"
#include "platform/headless/headless_platform.h"

namespace tk::designer {

enum class ScriptOp {
  Move,         // move X Y
  Down,         // down [button]
  Up,           // up [button]
  Click,        // click X Y [left|right]
  DoubleClick,  // dclick X Y
  Drag,         // drag X1 Y1 X2 Y2
  Wheel,        // wheel N
  Key,          // key NAME [shift] [ctrl] [alt]
  Type,         // type TEXT
  Screenshot,   // screenshot PATH
  Dump,         // dump PATH
};

enum class MouseButton { Left, Right, Middle };

struct ScriptCommand {
  ScriptOp op = ScriptOp::Move;
  int x = 0, y = 0, x2 = 0, y2 = 0;
  MouseButton button = MouseButton::Left;
  int wheel = 0;      // notches, positive away from the user
  int keyCode = 0;    // Windows virtual-key number
  int modifiers = 0;  // platform::Modifier bits
  std::u32string text;
  std::string path;
};

// One script line: a command, or nothing for a blank or comment line.
struct ScriptLine {
  int number = 0;  // 1-based line number in the script
  ScriptCommand command;
};

// Parses one line. Returns false with a message in *error when the line is not understood;
// true with *isCommand false for a blank or comment line.
bool ParseScriptLine(std::string_view line, ScriptCommand& out, bool* isCommand,
                     std::string* error);

// Parses a whole script. On the first bad line returns false with "NAME:LINE: message" in
// *error; `name` is how the script is called in messages (usually its path).
bool ParseScript(std::string_view text, std::string_view name, std::vector<ScriptLine>& out,
                 std::string* error);

// The virtual-key code of a key name (case-insensitive); 0 for an unknown name.
int KeyCodeFromName(std::string_view name);

// The element list in list order, one tab-separated line per element: id, kind name, name,
// parent id, window id, frame x, y, width, height, hidden, disabled, selected, text.
std::string DumpElements(const Toolkit& tk);

// Backslash, tab, line feed and carriage return written as \\, \t, \n and \r.
std::string EscapeDumpField(std::string_view text);

// Makes a prepared toolkit ready to be driven line by line the way the event loop would drive
// it (the caption-button handler bound, the main window recorded) and handles the queued
// start-up events, which paint the first frame. False when the program already ended.
bool StartSession(Toolkit& tk, int mainWindow);

// Runs script commands against a toolkit on a headless platform. After every command the
// queued native events are handled, so a screenshot or dump sees everything before it.
class ScriptRunner {
 public:
  ScriptRunner(Toolkit& tk, platform::HeadlessPlatform& platform);

  // Runs one command. False with a message when it fails (a file that cannot be written).
  bool Run(const ScriptCommand& command, std::string* error);
  // Parses and runs a whole script; messages carry "NAME:LINE: ". Nothing runs when a line
  // is not understood.
  bool RunText(std::string_view text, std::string_view name, std::string* error);
  bool RunFile(const std::string& path, std::string* error);
  // Queues the native events of one input command without handling them, for an event loop
  // that a handler runs (a driver's own feeder answers from here); the loop handles them.
  bool Feed(const ScriptCommand& command, std::string* error);

  // True once a close request ended the program; input lines after it are not fed (there is
  // no loop left to take them), screenshots and dumps still record the final state.
  bool Ended() const { return ended_; }
  // The script line during which the program ended; 0 when it has not ended (or ended
  // outside RunText).
  int EndedAtLine() const { return endedAtLine_; }

 private:
  void Inject(platform::NativeEventType type);
  void MoveTo(int x, int y);
  void Press(MouseButton button);
  void Release(MouseButton button);
  void Pump();
  // Runs the next script line for an event loop that a handler runs (a modal requester),
  // without handling its events: that loop does. False when no line is left or one failed.
  bool FeedLine();

  Toolkit& tk_;
  platform::HeadlessPlatform& platform_;
  platform::Point pointer_{0, 0};
  int pressed_ = 0;  // one bit per MouseButton held
  int line_ = 0;
  bool ended_ = false;
  int endedAtLine_ = 0;
  // The script being run by RunText, the next line to run, and how it is named in messages.
  const std::vector<ScriptLine>* lines_ = nullptr;
  size_t next_ = 0;
  std::string name_;
  bool feeding_ = false;
  std::string feedError_;  // a fed line that failed, reported when the handler returns
};

}  // namespace tk::designer
