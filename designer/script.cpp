// Scripted sessions: parsing of script lines, the element-list dump, and the runner that turns
// commands into the native events the real backend would produce for the same actions.
#include "designer/script.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "codegen/reader.h"
#include "codegen/vocabulary.h"
#include "core/events.h"
#include "core/tree.h"
#include "render/host.h"

namespace tk::designer {

using platform::NativeEvent;
using platform::NativeEventType;

namespace {

// A drag is reported as this many pointer moves between the press and the release.
constexpr int kDragSteps = 5;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i]))
      ++i;
    size_t start = i;
    while (i < text.size() && !IsBlank(text[i]))
      ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool DecodeUtf8(std::string_view text, std::u32string& out) {
  out.clear();
  size_t i = 0;
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0, min = 0;
    if (b0 < 0x80) {
      cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
      extra = 1, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (text.size() - i <= static_cast<size_t>(extra)) return false;  // cut short
    for (int k = 1; k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    out.push_back(cp);
    i += 1 + extra;
  }
  return true;
}

bool ParseInt(std::string_view word, int& value) {
  const char* end = word.data() + word.size();
  auto [p, ec] = std::from_chars(word.data(), end, value);
  return ec == std::errc() && p == end;
}

struct ButtonName {
  const char* name;
  MouseButton button;
};
constexpr ButtonName kButtons[] = {
    {"left", MouseButton::Left}, {"right", MouseButton::Right}, {"middle", MouseButton::Middle}};

struct KeyName {
  const char* name;
  int code;
};
constexpr KeyName kKeys[] = {
    {"backspace", platform::Key::Backspace},
    {"tab", platform::Key::Tab},
    {"return", platform::Key::Return},
    {"enter", platform::Key::Return},
    {"shift", platform::Key::Shift},
    {"ctrl", platform::Key::Control},
    {"control", platform::Key::Control},
    {"alt", platform::Key::Alt},
    {"escape", platform::Key::Escape},
    {"esc", platform::Key::Escape},
    {"space", platform::Key::Space},
    {"pageup", platform::Key::PageUp},
    {"pagedown", platform::Key::PageDown},
    {"end", platform::Key::End},
    {"home", platform::Key::Home},
    {"left", platform::Key::Left},
    {"up", platform::Key::Up},
    {"right", platform::Key::Right},
    {"down", platform::Key::Down},
    {"insert", platform::Key::Insert},
    {"delete", platform::Key::Delete},
};

struct ModifierName {
  const char* name;
  int bit;
};
constexpr ModifierName kModifiers[] = {{"shift", platform::Modifier::Shift},
                                       {"ctrl", platform::Modifier::Control},
                                       {"control", platform::Modifier::Control},
                                       {"alt", platform::Modifier::Alt}};

int ButtonBit(MouseButton button) {
  return 1 << static_cast<int>(button);
}

// Commands built in code skip the parser, so the runner refuses a cut-short path itself.
bool WritablePath(const std::string& path, std::string* error) {
  if (path.find('\0') == std::string::npos) return true;
  if (error)
    *error = "cannot write " + path.substr(0, path.find('\0')) + ": the path contains a NUL byte";
  return false;
}

}  // namespace

int KeyCodeFromName(std::string_view name) {
  const std::string key = Lower(name);
  if (key.size() == 1) {
    const char c = key[0];
    if (c >= 'a' && c <= 'z') return platform::Key::A + (c - 'a');
    if (c >= '0' && c <= '9') return platform::Key::Digit0 + (c - '0');
    return 0;
  }
  for (const KeyName& k : kKeys)
    if (key == k.name) return k.code;
  int n = 0;
  if (key.size() >= 2 && key[0] == 'f' && ParseInt(std::string_view(key).substr(1), n) &&
      key[1] != '0' && n >= 1 && n <= 12)
    return platform::Key::F1 + n - 1;
  return 0;
}

bool ParseScriptLine(std::string_view line, ScriptCommand& out, bool* isCommand,
                     std::string* error) {
  if (isCommand) *isCommand = false;
  auto fail = [error](std::string message) {
    if (error) *error = std::move(message);
    return false;
  };
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
    line.remove_suffix(1);
  std::string_view body = line;
  while (!body.empty() && IsBlank(body.front()))
    body.remove_prefix(1);
  if (TrimBlanks(body).empty() || body.front() == '#') return true;

  size_t wordEnd = 0;
  while (wordEnd < body.size() && !IsBlank(body[wordEnd]))
    ++wordEnd;
  const std::string word = Lower(body.substr(0, wordEnd));
  // What follows the command word and the one blank after it, kept as written.
  const std::string_view rest = wordEnd < body.size() ? body.substr(wordEnd + 1) : "";
  const std::vector<std::string_view> args = SplitWords(rest);

  ScriptCommand cmd;
  auto usage = [&](const char* form) {
    return fail("wrong arguments for " + word + ": expected '" + form + "'");
  };
  // Reads args[from...] as whole numbers into the given fields.
  auto numbers = [&](std::initializer_list<int*> fields, size_t from = 0) {
    size_t i = from;
    for (int* field : fields) {
      if (!ParseInt(args[i], *field))
        return fail(word + ": '" + std::string(args[i]) + "' is not a whole number");
      ++i;
    }
    return true;
  };
  auto button = [&](std::string_view name, bool middleAllowed) {
    const std::string b = Lower(name);
    for (const ButtonName& known : kButtons) {
      if (b != known.name) continue;
      if (known.button == MouseButton::Middle && !middleAllowed) break;
      cmd.button = known.button;
      return true;
    }
    return fail(word + ": unknown button '" + std::string(name) + "' (" +
                (middleAllowed ? "left, right or middle" : "left or right") + ")");
  };

  if (word == "move") {
    cmd.op = ScriptOp::Move;
    if (args.size() != 2) return usage("move X Y");
    if (!numbers({&cmd.x, &cmd.y})) return false;
  } else if (word == "down" || word == "up") {
    cmd.op = word == "down" ? ScriptOp::Down : ScriptOp::Up;
    if (args.size() > 1)
      return usage(word == "down" ? "down [left|right|middle]" : "up [left|right|middle]");
    if (args.size() == 1 && !button(args[0], true)) return false;
  } else if (word == "click") {
    cmd.op = ScriptOp::Click;
    if (args.size() != 2 && args.size() != 3) return usage("click X Y [left|right]");
    if (!numbers({&cmd.x, &cmd.y})) return false;
    if (args.size() == 3 && !button(args[2], false)) return false;
  } else if (word == "dclick") {
    cmd.op = ScriptOp::DoubleClick;
    if (args.size() != 2) return usage("dclick X Y");
    if (!numbers({&cmd.x, &cmd.y})) return false;
  } else if (word == "drag") {
    cmd.op = ScriptOp::Drag;
    if (args.size() != 4) return usage("drag X1 Y1 X2 Y2");
    if (!numbers({&cmd.x, &cmd.y, &cmd.x2, &cmd.y2})) return false;
  } else if (word == "wheel") {
    cmd.op = ScriptOp::Wheel;
    if (args.size() != 1) return usage("wheel N");
    if (!numbers({&cmd.wheel})) return false;
    if (cmd.wheel == 0) return fail("wheel: the number of notches must not be 0");
  } else if (word == "key") {
    cmd.op = ScriptOp::Key;
    if (args.empty()) return usage("key NAME [shift] [ctrl] [alt]");
    cmd.keyCode = KeyCodeFromName(args[0]);
    if (cmd.keyCode == 0) return fail("key: unknown key '" + std::string(args[0]) + "'");
    for (size_t i = 1; i < args.size(); ++i) {
      const std::string m = Lower(args[i]);
      int bit = 0;
      for (const ModifierName& known : kModifiers)
        if (m == known.name) bit = known.bit;
      if (bit == 0)
        return fail("key: unknown modifier '" + std::string(args[i]) + "' (shift, ctrl or alt)");
      cmd.modifiers |= bit;
    }
  } else if (word == "type") {
    cmd.op = ScriptOp::Type;
    if (rest.empty()) return fail("type: nothing to type (expected 'type TEXT')");
    if (!DecodeUtf8(rest, cmd.text)) return fail("type: the text is not valid UTF-8");
    for (char32_t c : cmd.text)
      if (c < 0x20 || c == 0x7F)
        return fail("type: control characters cannot be typed; use key Tab or key Return");
  } else if (word == "screenshot" || word == "dump") {
    cmd.op = word == "dump" ? ScriptOp::Dump : ScriptOp::Screenshot;
    cmd.path = std::string(TrimBlanks(rest));
    if (cmd.path.empty()) return usage(word == "dump" ? "dump PATH" : "screenshot PATH");
    // The file system would take only the part before it, writing somewhere else.
    if (cmd.path.find('\0') != std::string::npos)
      return fail(word + ": the path contains a NUL byte");
  } else {
    return fail("unknown command '" + std::string(body.substr(0, wordEnd)) + "'");
  }
  out = std::move(cmd);
  if (isCommand) *isCommand = true;
  return true;
}

bool ParseScript(std::string_view text, std::string_view name, std::vector<ScriptLine>& out,
                 std::string* error) {
  out.clear();
  // A byte-order mark some editors write is not part of the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    ScriptLine parsed;
    parsed.number = number;
    bool isCommand = false;
    std::string message;
    if (!ParseScriptLine(line, parsed.command, &isCommand, &message)) {
      if (error) *error = std::string(name) + ":" + std::to_string(number) + ": " + message;
      return false;
    }
    if (isCommand) out.push_back(std::move(parsed));
  }
  return true;
}

std::string EscapeDumpField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string DumpElements(const Toolkit& tk) {
  std::ostringstream out;
  for (const auto& record : tk.root.Elements) {
    const Element& e = *record;
    std::string kind = KindName(e.Kind);
    if (kind.empty()) kind = std::to_string(KindValue(e.Kind));
    out << e.ID << '\t' << kind << '\t' << EscapeDumpField(e.Name) << '\t' << e.ParentID << '\t'
        << e.WindowID << '\t' << e.Frame.x0 << '\t' << e.Frame.y0 << '\t' << e.Frame.w0 << '\t'
        << e.Frame.h0 << '\t' << (e.Hidden ? 1 : 0) << '\t' << (e.Disabled ? 1 : 0) << '\t'
        << (HasAll(e.Flags, Flag::Selected) ? 1 : 0) << '\t' << EscapeDumpField(e.Text) << '\n';
  }
  return out.str();
}

bool StartSession(Toolkit& tk, int mainWindow) {
  PrepareLoop(tk, mainWindow);
  return PumpEvents(tk);
}

ScriptRunner::ScriptRunner(Toolkit& tk, platform::HeadlessPlatform& platform)
    : tk_(tk), platform_(platform), pointer_(platform.PointerInClient()) {}

void ScriptRunner::Inject(NativeEventType type) {
  NativeEvent event;
  event.type = type;
  event.x = pointer_.x;
  event.y = pointer_.y;
  platform_.Inject(event);
}

void ScriptRunner::MoveTo(int x, int y) {
  pointer_ = {x, y};
  Inject(NativeEventType::MouseMove);
}

void ScriptRunner::Press(MouseButton button) {
  pressed_ |= ButtonBit(button);
  switch (button) {
    case MouseButton::Left:
      Inject(NativeEventType::LeftButtonDown);
      break;
    case MouseButton::Right:
      Inject(NativeEventType::RightButtonDown);
      break;
    case MouseButton::Middle:
      Inject(NativeEventType::MiddleButtonDown);
      break;
  }
}

void ScriptRunner::Release(MouseButton button) {
  const bool pressedHere = (pressed_ & ButtonBit(button)) != 0;
  pressed_ &= ~ButtonBit(button);
  const bool inside = pointer_.x >= 0 && pointer_.y >= 0 && pointer_.x < platform_.CanvasWidth() &&
                      pointer_.y < platform_.CanvasHeight();
  // As on the real backend: a click is a press and a release both on the canvas, and the
  // middle button has no click.
  switch (button) {
    case MouseButton::Left:
      Inject(NativeEventType::LeftButtonUp);
      if (pressedHere && inside) Inject(NativeEventType::LeftClick);
      break;
    case MouseButton::Right:
      Inject(NativeEventType::RightButtonUp);
      if (pressedHere && inside) Inject(NativeEventType::RightClick);
      break;
    case MouseButton::Middle:
      Inject(NativeEventType::MiddleButtonUp);
      break;
  }
}

void ScriptRunner::Pump() {
  if (!PumpEvents(tk_)) {
    ended_ = true;
    endedAtLine_ = line_;
  }
}

bool ScriptRunner::Run(const ScriptCommand& command, std::string* error) {
  const bool input = command.op != ScriptOp::Screenshot && command.op != ScriptOp::Dump;
  if (input && ended_) return true;
  pointer_ = platform_.PointerInClient();
  switch (command.op) {
    case ScriptOp::Move:
      MoveTo(command.x, command.y);
      break;
    case ScriptOp::Down:
      Press(command.button);
      break;
    case ScriptOp::Up:
      Release(command.button);
      break;
    case ScriptOp::Click:
      MoveTo(command.x, command.y);
      Press(command.button);
      Release(command.button);
      break;
    case ScriptOp::DoubleClick:
      // The second press of a double click is reported as a press followed by the double
      // click; each release adds its click.
      MoveTo(command.x, command.y);
      Press(MouseButton::Left);
      Release(MouseButton::Left);
      Press(MouseButton::Left);
      Inject(NativeEventType::LeftDoubleClick);
      Release(MouseButton::Left);
      break;
    case ScriptOp::Drag: {
      MoveTo(command.x, command.y);
      Press(MouseButton::Left);
      const long long dx = static_cast<long long>(command.x2) - command.x;
      const long long dy = static_cast<long long>(command.y2) - command.y;
      for (int i = 1; i <= kDragSteps; ++i) {
        const int x = static_cast<int>(command.x + dx * i / kDragSteps);
        const int y = static_cast<int>(command.y + dy * i / kDragSteps);
        if (x != pointer_.x || y != pointer_.y) MoveTo(x, y);
      }
      Release(MouseButton::Left);
      break;
    }
    case ScriptOp::Wheel: {
      NativeEvent event;
      event.type = NativeEventType::Wheel;
      event.x = pointer_.x;
      event.y = pointer_.y;
      event.wheel = command.wheel;
      platform_.Inject(event);
      break;
    }
    case ScriptOp::Key: {
      NativeEvent event;
      event.keyCode = command.keyCode;
      event.modifiers = command.modifiers;
      event.type = NativeEventType::KeyDown;
      platform_.Inject(event);
      event.type = NativeEventType::KeyUp;
      platform_.Inject(event);
      break;
    }
    case ScriptOp::Type:
      for (char32_t c : command.text) {
        NativeEvent event;
        event.type = NativeEventType::Input;
        event.ch = c;
        platform_.Inject(event);
      }
      break;
    case ScriptOp::Screenshot: {
      if (!WritablePath(command.path, error)) return false;
      std::string message;
      if (!platform_.SavePng(command.path, &message)) {
        if (error) *error = message;
        return false;
      }
      return true;
    }
    case ScriptOp::Dump: {
      if (!WritablePath(command.path, error)) return false;
      const std::string text = DumpElements(tk_);
      std::FILE* file = std::fopen(command.path.c_str(), "wb");
      bool ok = file != nullptr;
      const int openError = errno;
      if (ok) ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
      if (file && std::fclose(file) != 0) ok = false;
      if (!ok) {
        if (error)
          *error = "cannot write " + command.path + ": " + std::strerror(file ? errno : openError);
        return false;
      }
      return true;
    }
  }
  if (!feeding_) Pump();
  return true;
}

bool ScriptRunner::Feed(const ScriptCommand& command, std::string* error) {
  feeding_ = true;
  const bool ok = Run(command, error);
  feeding_ = false;
  return ok;
}

bool ScriptRunner::FeedLine() {
  if (lines_ == nullptr || next_ >= lines_->size() || !feedError_.empty()) return false;
  const ScriptLine& line = (*lines_)[next_++];
  line_ = line.number;
  std::string message;
  feeding_ = true;
  const bool ok = Run(line.command, &message);
  feeding_ = false;
  if (!ok) feedError_ = name_ + ":" + std::to_string(line.number) + ": " + message;
  return ok;
}

bool ScriptRunner::RunText(std::string_view text, std::string_view name, std::string* error) {
  std::vector<ScriptLine> lines;
  if (!ParseScript(text, name, lines, error)) return false;
  // A handler may run an event loop of its own (a modal requester); while it waits, the
  // headless backend asks for the next lines from here.
  lines_ = &lines;
  next_ = 0;
  name_ = std::string(name);
  feedError_.clear();
  platform_.SetFeeder([this] { return FeedLine(); });
  bool ok = true;
  while (ok && next_ < lines.size()) {
    const ScriptLine& line = lines[next_++];
    line_ = line.number;
    std::string message;
    if (!Run(line.command, &message)) {
      if (error) *error = name_ + ":" + std::to_string(line.number) + ": " + message;
      ok = false;
    } else if (!feedError_.empty()) {
      if (error) *error = feedError_;
      ok = false;
    }
  }
  platform_.SetFeeder(nullptr);
  lines_ = nullptr;
  line_ = 0;
  return ok;
}

bool ScriptRunner::RunFile(const std::string& path, std::string* error) {
  auto fail = [&](int code) {
    if (error) *error = "cannot read the script " + path + ": " + std::strerror(code);
    return false;
  };
  // Read errors count as well as a failed open: a folder opens but cannot be read.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return fail(errno);
  std::string text;
  char buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    text.append(buffer, got);
  const int readError = std::ferror(file) ? (errno != 0 ? errno : EIO) : 0;
  std::fclose(file);
  if (readError != 0) return fail(readError);
  return RunText(text, path, error);
}

}  // namespace tk::designer
