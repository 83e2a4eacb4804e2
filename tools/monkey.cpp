// designer_monkey: plays seeded random pointer and keyboard actions into the headless designer
// and checks the designer's invariants after every action. A failure is replayed from a fresh
// designer to find the shortest failing prefix, which is printed as a script the designer's
// --script option plays back.
//
//   designer_monkey [--seed S] [--events N] [--episode E] [--readback K] [--quiet] [--verbose]
//
// The run is cut into episodes of E actions (1000 by default), each on a fresh designer with
// its own random stream derived from the seed, so a failure replays in at most E actions.
// Every action is followed by the structural checks and the form checks (property grid,
// Elements row, a count of the generated creation lines); every K actions (50 by default) the
// generated code is also read back into a second designer and must generate the same text.
// The run takes place in a temporary folder, so whatever the save requester writes stays
// there; every episode and every replay starts with it empty (a printed prefix then fails the
// same way on its own), and it is removed at the end.
#include <sanitizer/common_interface_defs.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "codegen/generator.h"
#include "codegen/reader.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/form_reader.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"

namespace {

namespace fs = std::filesystem;
using namespace tk;
using namespace tk::designer;

// The designer window's size: no canvas to paint around it.
constexpr int kCanvasW = kDesignerWidth, kCanvasH = kDesignerHeight + 73;

// One fresh designer on its own headless platform.
struct Session {
  explicit Session(const fs::path& dataDir)
      : platform(kCanvasW, kCanvasH),
        archives(platform.Images(), {dataDir}),
        designer(archives),
        tk(platform) {
    PrepareToolkit(tk);
  }
  bool Start() {
    if (StartDesigner(tk, designer).window <= 0) return false;
    return StartSession(tk, designer.window);
  }
  platform::HeadlessPlatform platform;
  IconArchives archives;
  Designer designer;
  Toolkit tk;
};

// ---------------------------------------------------------------------------------------------
// Invariants

// The Window records that are form windows (on the Form page).
bool IsFormWindow(Toolkit& tk, const Designer& d, const Element& e) {
  return e.ParentID == d.mainPanel && IsWindowRecord(tk, e);
}

// The form window an element lies on, or nullptr when it is not a form element.
const Element* FormWindowOf(Toolkit& tk, const Designer& d, const Element& e) {
  const Element* at = &e;
  for (int guard = 0; at != nullptr && guard < 1000; ++guard) {
    if (IsFormWindow(tk, d, *at)) return at;
    at = FindElement(tk, at->ParentID);
  }
  return nullptr;
}

// The elements the user placed: the form windows and the gadgets on them, without the parts a
// kind makes for itself (a list's scroll bars).
std::vector<int> FormElements(Toolkit& tk, const Designer& d) {
  std::set<int> attached;
  for (const auto& record : tk.root.Elements)
    for (int a : record->Attached)
      if (a >= 0) attached.insert(a);
  std::vector<int> out;
  for (const auto& record : tk.root.Elements) {
    if (attached.count(record->ID)) continue;
    if (FormWindowOf(tk, d, *record) != nullptr) out.push_back(record->ID);
  }
  return out;
}

// Drop-down lists and popup menus float above everything: they hang from the desktop but lie
// where their owner made them, so they are left out of the contiguity check.
bool Floats(Toolkit& tk, const Element& e) {
  return e.ParentID == 0 && !IsWindowRecord(tk, e);
}

std::string Describe(const Element& e) {
  return std::to_string(e.ID) + " (" + e.Name + ")";
}

std::string CheckStructure(Toolkit& tk) {
  const auto& list = tk.root.Elements;
  std::unordered_map<int, size_t> index;
  for (size_t i = 0; i < list.size(); ++i) {
    const Element& e = *list[i];
    if (!e.Alive) return "dead record " + Describe(e) + " in the element list";
    if (!index.emplace(e.ID, i).second) return "id " + std::to_string(e.ID) + " listed twice";
    if (FindElement(tk, e.ID) != &e) return "id table does not name " + Describe(e);
  }
  // Every parent exists and comes before its child; every window id names a live window.
  for (size_t i = 0; i < list.size(); ++i) {
    const Element& e = *list[i];
    if (e.ParentID != -1) {
      auto p = index.find(e.ParentID);
      if (p == index.end())
        return "parent " + std::to_string(e.ParentID) + " of " + Describe(e) + " is missing";
      if (p->second >= i) return "parent of " + Describe(e) + " comes after it";
    }
    if (e.WindowID != -1) {
      const Element* w = FindElement(tk, e.WindowID);
      if (w == nullptr || !IsWindowRecord(tk, *w))
        return "window " + std::to_string(e.WindowID) + " of " + Describe(e) + " is not a window";
    }
  }
  // Subtrees are contiguous: walking the list with the chain of open subtrees, a child's
  // parent must still be open when the child comes. The parts a kind makes for itself (a
  // scroll area's bars) lie where their owner put them, after the owner's inner container.
  std::set<int> floating, attached;
  for (const auto& record : list)
    for (int a : record->Attached)
      if (a >= 0) attached.insert(a);
  std::vector<int> open;
  for (const auto& record : list) {
    const Element& e = *record;
    if (Floats(tk, e) || attached.count(e.ID) || floating.count(e.ParentID)) {
      floating.insert(e.ID);
      continue;
    }
    if (IsWindowRecord(tk, e)) {
      // Windows are stacked among windows (a form window hangs from the Form page but lies
      // above the designer window): each starts a block of its own.
      open.assign(1, e.ID);
      continue;
    }
    if (e.ParentID != -1) {
      while (!open.empty() && open.back() != e.ParentID)
        open.pop_back();
      if (open.empty())
        return "subtree of " + std::to_string(e.ParentID) + " is split: " + Describe(e) +
               " lies apart from it";
    }
    open.push_back(e.ID);
  }
  return "";
}

int CreationLineCount(std::string_view code) {
  int count = 0;
  for (std::string_view line : SourceLines(code))
    if (!MarkCreationLine(line).empty()) ++count;
  return count;
}

std::string CheckForm(Toolkit& tk, Designer& d) {
  // Windows are not gadgets: every window on the Form page hangs from the page itself.
  for (const auto& record : tk.root.Elements) {
    const Element& e = *record;
    if (IsWindowRecord(tk, e) && e.ParentID != d.mainPanel && IsChildOf(tk, e.ID, d.mainPanel))
      return "window " + Describe(e) + " lies inside " + std::to_string(e.ParentID);
  }
  const std::vector<int> form = FormElements(tk, d);
  const std::set<int> formSet(form.begin(), form.end());
  // Every form element has a name of its own (the generated code declares one variable each)
  // and a size of at least one pixel (the reader takes a size of nothing for no size; a hidden
  // element's size reads as nothing).
  std::set<std::string> names;
  for (int id : form) {
    const Element& e = *FindElement(tk, id);
    if (!names.insert(e.Name).second) return "two form elements are named " + e.Name;
    if (!e.Hidden && (ElementWidth(tk, id) < 1 || ElementHeight(tk, id) < 1))
      return Describe(e) + " is " + std::to_string(ElementWidth(tk, id)) + " x " +
             std::to_string(ElementHeight(tk, id));
  }
  // The Elements row lists exactly the live form elements.
  std::set<int> listed;
  const int rows = CountItems(tk, d.rows.elements);
  for (int i = 0; i < rows; ++i) {
    const int id = static_cast<int>(GetItemData(tk, d.rows.elements, i));
    if (!listed.insert(id).second) return "the Elements row lists " + std::to_string(id) + " twice";
  }
  if (listed != formSet) {
    for (int id : listed)
      if (!formSet.count(id))
        return "the Elements row lists " + std::to_string(id) + ", which is no form element";
    for (int id : formSet)
      if (!listed.count(id)) return "the Elements row leaves out " + Describe(*FindElement(tk, id));
  }
  // The property grid shows the selected element's values.
  // (Coordinates read as 0 while the Form page is not shown: the grid keeps the last ones.)
  const int selected = tk.root.DesignedElement;
  if (formSet.count(selected) && !FindElement(tk, selected)->Hidden) {
    struct Row {
      const char* name;
      int row;
      int value;
    };
    const Row numbers[] = {
        {"X", d.rows.x, ElementX(tk, selected, CoordMode::Parent)},
        {"Y", d.rows.y, ElementY(tk, selected, CoordMode::Parent)},
        {"Width", d.rows.width, ElementWidth(tk, selected)},
        {"Height", d.rows.height, ElementHeight(tk, selected)},
    };
    for (const Row& r : numbers) {
      const double shown = GetElementState(tk, r.row);
      if (shown != r.value)
        return std::string("the ") + r.name + " row shows " + std::to_string(shown) + ", " +
               Describe(*FindElement(tk, selected)) + " has " + std::to_string(r.value);
    }
    const std::string caption = GetElementText(tk, d.rows.caption);
    const std::string text = GetElementText(tk, selected);
    if (caption != text)
      return "the Caption row shows \"" + caption + "\", " + Describe(*FindElement(tk, selected)) +
             " has \"" + text + "\"";
  }
  // The generated code creates as many windows and gadgets as the form holds.
  const std::string code = FormCodeText(tk, d.mainPanel);
  const int created = CreationLineCount(code);
  if (created != static_cast<int>(form.size()))
    return "the generated code creates " + std::to_string(created) + " elements, the form has " +
           std::to_string(form.size());
  return "";
}

// The creation lines of generated code (the windows and gadgets with their arguments).
std::vector<std::string_view> CreationLines(std::string_view code) {
  std::vector<std::string_view> out;
  for (std::string_view line : SourceLines(code))
    if (!MarkCreationLine(line).empty()) out.push_back(line);
  return out;
}

// The generated code read back into another designer generates the same windows and gadgets,
// line for line. (A gadget's event list is not read back: the code writes its procedure but
// binds nothing to it.)
std::string CheckReadBack(Toolkit& tk, Designer& d, Session& other) {
  const std::string code = FormCodeText(tk, d.mainPanel);
  // The reader makes nothing of a constant-style line ("ButtonGadget(#Button_0, ...)"): a
  // form with a constant name does not read back whole, by design.
  for (std::string_view line : CreationLines(code)) {
    SourceCall call;
    if (ParseSourceCall(TrimBlanks(line), call) && !call.assigned) return "";
  }
  ReadFormSource(other.tk, other.designer, code);
  const std::string again = FormCodeText(other.tk, other.designer.mainPanel);
  const std::vector<std::string_view> a = CreationLines(code), b = CreationLines(again);
  if (a == b) return "";
  size_t line = 0;
  while (line < a.size() && line < b.size() && a[line] == b[line])
    ++line;
  auto at = [](const std::vector<std::string_view>& lines, size_t i) {
    return i < lines.size() ? std::string(lines[i]) : std::string("(end)");
  };
  return "the code read back differs at creation line " + std::to_string(line + 1) + ": \"" +
         at(a, line) + "\" became \"" + at(b, line) + "\"";
}

// ---------------------------------------------------------------------------------------------
// Actions

struct Rect {
  int x, y, w, h;
};

enum class Aim { Form, FormBackground, Toolbox, Grid, Tab, Menu, ToolBar, Modal, Any };

struct Target {
  Rect rect;
  Aim aim;
  int owner;         // the element, or the owner of the item
  std::string text;  // the element's or item's text
  ElementKind kind;  // the element's kind (the owner's for an item)
};

bool Intersect(Rect& r, const CoordBlock& clip) {
  const int x0 = std::max(r.x, clip.x0), y0 = std::max(r.y, clip.y0);
  const int x1 = std::min(r.x + r.w, clip.x0 + clip.w0),
            y1 = std::min(r.y + r.h, clip.y0 + clip.h0);
  r = {x0, y0, x1 - x0, y1 - y0};
  return r.w > 0 && r.h > 0;
}

bool IsUnder(Toolkit& tk, const Element& e, int ancestor) {
  return ancestor >= 0 && IsChildOf(tk, e.ID, ancestor);
}

// How many native events the script runner queues for a command (the drag's moves, the
// clicks its releases add); the figure the monkey reports beside its actions.
long long NativeEventCount(const ScriptCommand& c) {
  switch (c.op) {
    case ScriptOp::Click:
      return 4;  // move, down, up, click
    case ScriptOp::DoubleClick:
      return 8;
    case ScriptOp::Drag: {
      // Move, down, the moves along the line that change the point, up, and the click when
      // the line ends on the canvas.
      long long n = 3;
      int px = c.x, py = c.y;
      for (int i = 1; i <= 5; ++i) {
        const int x = static_cast<int>(c.x + (static_cast<long long>(c.x2) - c.x) * i / 5);
        const int y = static_cast<int>(c.y + (static_cast<long long>(c.y2) - c.y) * i / 5);
        if (x != px || y != py) ++n;
        px = x;
        py = y;
      }
      if (c.x2 >= 0 && c.y2 >= 0 && c.x2 < kCanvasW && c.y2 < kCanvasH) ++n;
      return n;
    }
    case ScriptOp::Key:
      return 2;
    case ScriptOp::Type:
      return static_cast<long long>(c.text.size());
    default:
      return 1;
  }
}

class Monkey {
 public:
  Monkey(const fs::path& dataDir, bool verbose) : dataDir_(dataDir), verbose_(verbose) {}

  // Plays one episode: generated actions (recording them) up to `limit`, or the recorded
  // `script` up to `limit` when replaying. Returns the failure ("" when none) and the number
  // of actions played before it was seen.
  std::string Play(uint64_t streamSeed, std::vector<std::string>& script, size_t limit, bool replay,
                   int readBackEvery, size_t* played);

  long long NativeEvents() const { return nativeEvents_; }
  const std::vector<std::string>* Current() const { return script_; }
  size_t Position() const { return position_; }

 private:
  bool Next(std::string& line);
  std::string Generate();
  std::vector<Target> Targets();
  std::string Point(const Rect& r, bool edge = false);
  bool Run(const std::string& line, bool nested);

  fs::path dataDir_;
  bool verbose_;
  long long nativeEvents_ = 0;
  std::unique_ptr<Session> session_;
  std::unique_ptr<ScriptRunner> runner_;
  std::mt19937_64 rng_;
  std::vector<std::string>* script_ = nullptr;
  size_t limit_ = 0, position_ = 0;
  bool replay_ = false;
  std::string failure_;
  size_t failedAt_ = 0;
  std::string pendingTyping_;  // a row was clicked: the next action likely types into it

  int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint64_t>(n)); }
  bool Chance(int percent) { return Pick(100) < percent; }
};

bool Monkey::Run(const std::string& line, bool nested) {
  ScriptCommand command;
  bool isCommand = false;
  std::string error;
  if (!ParseScriptLine(line, command, &isCommand, &error) || !isCommand) {
    failure_ = "the monkey wrote a line the script parser refuses: " + line + " (" + error + ")";
    return false;
  }
  if (verbose_)
    std::printf("%zu%s %s\n", position_, nested ? " (in a requester)" : "", line.c_str());
  nativeEvents_ += NativeEventCount(command);
  const bool ok = nested ? runner_->Feed(command, &error) : runner_->Run(command, &error);
  if (!ok) failure_ = "action failed: " + error;
  return ok;
}

bool Monkey::Next(std::string& line) {
  if (position_ >= limit_) return false;
  if (replay_) {
    if (position_ >= script_->size()) return false;
    line = (*script_)[position_];
  } else {
    line = Generate();
    script_->push_back(line);
  }
  ++position_;
  return true;
}

std::string Monkey::Play(uint64_t streamSeed, std::vector<std::string>& script, size_t limit,
                         bool replay, int readBackEvery, size_t* played) {
  rng_.seed(streamSeed);
  script_ = &script;
  limit_ = limit;
  position_ = 0;
  replay_ = replay;
  failure_.clear();
  failedAt_ = 0;
  pendingTyping_.clear();
  // Files saved by an earlier episode would change what the file requesters offer.
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(fs::current_path(), ec))
    fs::remove_all(entry.path(), ec);
  session_ = std::make_unique<Session>(dataDir_);
  if (!session_->Start()) return "the designer did not start";
  runner_ = std::make_unique<ScriptRunner>(session_->tk, session_->platform);
  std::unique_ptr<Session> other;
  Toolkit& tk = session_->tk;
  Designer& d = session_->designer;

  auto fail = [&](std::string what) {
    if (failure_.empty()) {
      failure_ = std::move(what);
      failedAt_ = position_;
    }
  };
  // A requester's own event loop asks for the next action when it has handled the last one.
  session_->platform.SetFeeder([&] {
    if (!failure_.empty()) return false;
    if (std::string s = CheckStructure(tk); !s.empty()) {
      fail(s);
      return false;
    }
    std::string line;
    if (!Next(line)) return false;
    if (!Run(line, true)) {
      failedAt_ = position_;
      return false;
    }
    return true;
  });
  if (std::string s = CheckStructure(tk) + CheckForm(tk, d); !s.empty()) fail("at start: " + s);
  std::string line;
  while (failure_.empty() && Next(line)) {
    if (!Run(line, false)) {
      failedAt_ = position_;
      break;
    }
    if (!failure_.empty()) break;
    if (runner_->Ended()) break;  // the user ended the program: the episode is over
    if (std::string s = CheckStructure(tk); !s.empty()) {
      fail(s);
      break;
    }
    if (verbose_)
      std::printf("  designed %d, keyboard %d\n", tk.root.DesignedElement, tk.root.UsedElement);
    if (!tk.root.ModalWindows.empty()) continue;
    if (std::string s = CheckForm(tk, d); !s.empty()) {
      fail(s);
      break;
    }
    if (readBackEvery > 0 && position_ % static_cast<size_t>(readBackEvery) == 0) {
      if (!other) {
        other = std::make_unique<Session>(dataDir_);
        if (!other->Start()) {
          fail("the read-back designer did not start");
          break;
        }
      }
      if (std::string s = CheckReadBack(tk, d, *other); !s.empty()) {
        if (verbose_)
          std::printf("the code:\n%s\nread back:\n%s\n", FormCodeText(tk, d.mainPanel).c_str(),
                      FormCodeText(other->tk, other->designer.mainPanel).c_str());
        fail(s);
        break;
      }
    }
  }
  session_->platform.SetFeeder(nullptr);
  *played = failure_.empty() ? position_ : failedAt_;
  runner_.reset();
  session_.reset();
  return failure_;
}

std::string Monkey::Point(const Rect& r, bool edge) {
  int x = r.x + Pick(std::max(1, r.w)), y = r.y + Pick(std::max(1, r.h));
  if (edge) {
    // On or just inside a side or corner, where the resize handles are.
    if (Chance(50)) x = Chance(50) ? r.x + Pick(3) : r.x + r.w - 1 - Pick(3);
    if (Chance(50)) y = Chance(50) ? r.y + Pick(3) : r.y + r.h - 1 - Pick(3);
  }
  return std::to_string(x) + " " + std::to_string(y);
}

std::vector<Target> Monkey::Targets() {
  Toolkit& tk = session_->tk;
  Designer& d = session_->designer;
  const int modal = tk.root.ModalWindows.empty() ? -1 : tk.root.ModalWindows.back();
  std::vector<Target> out;
  for (const auto& record : tk.root.Elements) {
    const Element& e = *record;
    if (e.Hidden || e.Clip.w0 <= 0 || e.Clip.h0 <= 0) continue;
    Aim aim = Aim::Any;
    if (modal >= 0) {
      if (e.ID != modal && e.WindowID != modal) continue;
      // Only the requesters' buttons and text fields: their lists and folder buttons would
      // lead the save requester out of the temporary folder.
      if (e.Kind != ElementKind::Button && e.Kind != ElementKind::String) continue;
      if (e.Text == "Up") continue;
      aim = Aim::Modal;
    } else if (e.ID == d.window || e.ID == 0) {
      continue;  // the designer's caption (its close box ends the program) and the desktop
    } else if (const Element* w = FormWindowOf(tk, d, e)) {
      aim = w == &e ? Aim::FormBackground : Aim::Form;
    } else if (e.ID == d.toolboxList) {
      aim = Aim::Toolbox;
    } else if (IsUnder(tk, e, d.propertyGrid) || IsUnder(tk, e, d.eventGrid)) {
      aim = Aim::Grid;
    } else if (e.ID == d.menuBar || IsPopupMenu(tk, e.ID)) {
      aim = Aim::Menu;
    } else if (e.ID == d.toolBar) {
      aim = Aim::ToolBar;
    } else if (e.Kind == ElementKind::Panel) {
      aim = Aim::Tab;
    }
    Rect whole{e.Clip.x0, e.Clip.y0, e.Clip.w0, e.Clip.h0};
    out.push_back({whole, aim, e.ID, e.Text, e.Kind});
    // Items (rows, tabs, menu entries, tool bar buttons) are aimed at one by one.
    if (aim == Aim::Form || aim == Aim::FormBackground || aim == Aim::Modal) continue;
    for (const auto& item : e.Items) {
      if (item->Hidden || item->Frame.w0 <= 0 || item->Frame.h0 <= 0) continue;
      // An item's frame is kept from its owner's inner corner, less what the owner scrolls.
      Rect r{e.Inner.x0 + item->Frame.x0 - e.HScroll, e.Inner.y0 + item->Frame.y0 - e.VScroll,
             item->Frame.w0, item->Frame.h0};
      if (!Intersect(r, e.Clip)) continue;
      // Quit would end the program.
      if (aim == Aim::Menu && item->ID == Command::Quit) continue;
      out.push_back({r, aim, e.ID, item->Text, e.Kind});
    }
  }
  return out;
}

// Texts typed into rows and fields: good values and bad ones.
const char* const kTexts[] = {
    "10",         "0",         "250",     "-5",    "-100000", "99999999999999999999",
    "2147483648", "abc",       "1e9",     " 12 ",  "#PB_Any", "x",
    "Button_1",   "#Window_0", "Ünïcødé", "漢字",  "\"q\"",   "a|b",
    "12abc",      "$FF",       "%101",    "  ",    "0x10",    "-0",
    "3.5",        "Window_0",  "#",       "a b c",
};
// Plain file names for the requesters (the current folder is a fresh temporary one).
const char* const kFileNames[] = {"a.pb", "b.pb", "form.pb", "x", "a.pb", "missing.pb"};

std::string Monkey::Generate() {
  const std::vector<Target> targets = Targets();
  const bool modal = !session_->tk.root.ModalWindows.empty();
  auto pickAim = [&](Aim aim) -> const Target* {
    std::vector<const Target*> found;
    for (const Target& t : targets)
      if (t.aim == aim) found.push_back(&t);
    if (found.empty()) return nullptr;
    return found[Pick(static_cast<int>(found.size()))];
  };
  auto anyTarget = [&]() -> const Target* {
    return targets.empty() ? nullptr : &targets[Pick(static_cast<int>(targets.size()))];
  };

  if (modal) {
    const int r = Pick(100);
    if (r < 15) return "key Escape";
    if (r < 25) return "key Return";
    if (r < 30) return "key Tab";
    const Target* t = anyTarget();
    if (t == nullptr) return "key Escape";
    if (t->kind == ElementKind::String && r < 70)
      return "type " + std::string(kFileNames[Pick(std::size(kFileNames))]);
    return "click " + Point(t->rect);
  }

  if (!pendingTyping_.empty() && Chance(70)) {
    pendingTyping_.clear();
    const int r = Pick(10);
    if (r < 6) return "type " + std::string(kTexts[Pick(std::size(kTexts))]);
    if (r < 8) return "key Backspace";
    return Chance(50) ? "key Return" : "key Tab";
  }
  pendingTyping_.clear();

  const int r = Pick(100);
  const Target* t = nullptr;
  if (r < 12) {
    if ((t = pickAim(Aim::Toolbox))) return (Chance(85) ? "click " : "dclick ") + Point(t->rect);
    t = pickAim(Aim::Tab);  // the toolbox is on a page not shown
  } else if (r < 36) {
    if ((t = pickAim(Aim::Form))) {
      const int how = Pick(10);
      if (how < 4) return "click " + Point(t->rect);
      if (how < 5) return "click " + Point(t->rect) + " right";
      if (how < 6) return "dclick " + Point(t->rect);
      return "drag " + Point(t->rect, true) + " " +
             std::to_string(t->rect.x + Pick(t->rect.w + 120) - 60) + " " +
             std::to_string(t->rect.y + Pick(t->rect.h + 120) - 60);
    }
  } else if (r < 46) {
    if ((t = pickAim(Aim::FormBackground))) {
      // The rubber band, or a click that places the chosen tool, or the window moved.
      const int how = Pick(10);
      if (how < 3) return "click " + Point(t->rect);
      if (how < 4) return "click " + Point(t->rect) + " right";
      return "drag " + Point(t->rect, how == 9) + " " +
             Point({t->rect.x - 20, t->rect.y - 20, t->rect.w + 40, t->rect.h + 40});
    }
  } else if (r < 58) {
    if ((t = pickAim(Aim::Grid))) {
      if (t->kind == ElementKind::String || t->kind == ElementKind::Spin ||
          t->kind == ElementKind::ComboBox)
        pendingTyping_ = "row";
      return (Chance(90) ? "click " : "dclick ") + Point(t->rect);
    }
  } else if (r < 64) {
    return "type " + std::string(kTexts[Pick(std::size(kTexts))]);
  } else if (r < 80) {
    static const char* const kKeys[] = {
        "key Delete", "key C ctrl",    "key X ctrl",    "key V ctrl",     "key V ctrl",
        "key S ctrl", "key O ctrl",    "key Left",      "key Right ctrl", "key Up shift",
        "key Down",   "key Return",    "key Escape",    "key Tab",        "key Backspace",
        "key Home",   "key End shift", "key A",         "key Z ctrl",     "key PageDown",
        "key Delete", "key N ctrl",    "key Left ctrl", "key Down shift", "wheel 2",
        "wheel -3",
    };
    return kKeys[Pick(std::size(kKeys))];
  } else if (r < 86) {
    t = pickAim(Aim::Tab);
  } else if (r < 93) {
    t = pickAim(Aim::Menu);
  } else if (r < 98) {
    t = pickAim(Aim::ToolBar);
  }
  if (t == nullptr) t = anyTarget();
  if (t == nullptr) return "key Escape";
  if (Chance(8)) return "drag " + Point(t->rect) + " " + Point({0, 0, kCanvasW, kCanvasH});
  return "click " + Point(t->rect);
}

// ---------------------------------------------------------------------------------------------

// Where a crash (an error the sanitizers found) happened, printed by their death callback.
struct CrashReport {
  uint64_t seed = 0;
  long episode = 0;
  const Monkey* monkey = nullptr;
};
CrashReport* g_crash = nullptr;

void OnSanitizerDeath() {
  if (g_crash == nullptr || g_crash->monkey == nullptr) return;
  const Monkey& m = *g_crash->monkey;
  std::fprintf(stderr, "designer_monkey: died at seed %llu episode %ld action %zu\n",
               static_cast<unsigned long long>(g_crash->seed), g_crash->episode, m.Position());
  if (const auto* script = m.Current()) {
    std::fprintf(stderr, "the episode's actions up to the failure:\n");
    for (size_t i = 0; i < m.Position() && i < script->size(); ++i)
      std::fprintf(stderr, "%s\n", (*script)[i].c_str());
  }
}

uint64_t Mix(uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: designer_monkey [--seed S] [--events N] [--episode E] [--readback K] "
      "[--quiet] [--verbose]\n       designer_monkey --replay FILE [--readback K] [--verbose]\n");
  return 2;
}

bool ParseCount(const char* text, long long& out) {
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < 0) return false;
  out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  long long seed = 1, events = 10000, episode = 1000, readBack = 50;
  bool quiet = false, verbose = false;
  std::string replayPath;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--replay" && i + 1 < argc) {
      replayPath = argv[++i];
      continue;
    }
    long long* target = arg == "--seed"       ? &seed
                        : arg == "--events"   ? &events
                        : arg == "--episode"  ? &episode
                        : arg == "--readback" ? &readBack
                                              : nullptr;
    if (arg == "--quiet") {
      quiet = true;
    } else if (arg == "--verbose") {
      verbose = true;
    } else if (target != nullptr && i + 1 < argc && ParseCount(argv[i + 1], *target)) {
      ++i;
    } else {
      return Usage();
    }
  }
  if (episode <= 0) return Usage();

  // The icon archives lie beside the program; the run itself happens in a fresh folder.
  std::error_code ec;
  const fs::path dataDir = fs::canonical("/proc/self/exe", ec).parent_path();
  char folderTemplate[] = "/tmp/designer-monkey-XXXXXX";
  if (mkdtemp(folderTemplate) == nullptr || chdir(folderTemplate) != 0) {
    std::perror("designer_monkey: temporary folder");
    return 1;
  }
  const fs::path folder = folderTemplate;

  if (!replayPath.empty()) {
    // A failing prefix printed earlier (or any script of input lines), checked line by line.
    std::ifstream in(replayPath);
    if (!in) {
      std::fprintf(stderr, "designer_monkey: cannot read %s\n", replayPath.c_str());
      fs::remove_all(folder, ec);
      return 1;
    }
    std::vector<std::string> script;
    for (std::string line; std::getline(in, line);) {
      const std::string_view blank = TrimBlanks(line);
      if (!blank.empty() && blank.front() != '#') script.push_back(line);
    }
    Monkey monkey(dataDir, verbose);
    size_t played = 0;
    const std::string failure =
        monkey.Play(0, script, script.size(), true, static_cast<int>(readBack), &played);
    fs::remove_all(folder, ec);
    if (failure.empty()) {
      std::printf("designer_monkey: %zu actions replayed, nothing failed\n", played);
      return 0;
    }
    std::printf("FAILED at action %zu: %s\n", played, failure.c_str());
    return 1;
  }

  Monkey monkey(dataDir, verbose);
  CrashReport crash;
  crash.seed = static_cast<uint64_t>(seed);
  crash.monkey = &monkey;
  g_crash = &crash;
  __sanitizer_set_death_callback(OnSanitizerDeath);

  int status = 0;
  long long done = 0;
  for (long e = 0; done < events; ++e) {
    crash.episode = e;
    const uint64_t stream =
        Mix(static_cast<uint64_t>(seed) * 1000003ULL + static_cast<uint64_t>(e));
    const size_t limit = static_cast<size_t>(std::min(episode, events - done));
    std::vector<std::string> script;
    size_t played = 0;
    const std::string failure =
        monkey.Play(stream, script, limit, false, static_cast<int>(readBack), &played);
    done += static_cast<long long>(played);
    if (failure.empty()) {
      // An episode the program ended early still counts its actions; the next one starts.
      if (played == 0) ++done;
      if (!quiet)
        std::fprintf(stderr,
                     "seed %lld episode %ld: %zu actions, %lld in all, %lld native events\n", seed,
                     e, played, done, monkey.NativeEvents());
      continue;
    }
    std::printf("FAILED at seed %lld episode %ld action %zu (%lld in all): %s\n", seed, e, played,
                done, failure.c_str());
    // Shrink: the shortest prefix of the recorded actions that still fails from a fresh start.
    size_t low = 1, high = played;  // high fails
    std::string lastFailure = failure;
    while (low < high) {
      const size_t mid = low + (high - low) / 2;
      size_t at = 0;
      const std::string f = monkey.Play(stream, script, mid, true, static_cast<int>(readBack), &at);
      if (!f.empty()) {
        high = mid;
        lastFailure = f;
      } else {
        low = mid + 1;
      }
    }
    std::printf("shortest failing prefix: %zu actions: %s\n", high, lastFailure.c_str());
    for (size_t i = 0; i < high; ++i)
      std::printf("%s\n", script[i].c_str());
    std::fflush(stdout);
    status = 1;
    break;
  }
  g_crash = nullptr;
  if (status == 0)
    std::printf("designer_monkey: seed %lld, %lld actions (%lld native events), nothing failed\n",
                seed, done, monkey.NativeEvents());
  fs::remove_all(folder, ec);
  return status;
}
