// Reading PureBasic form source back onto the Form page: every window and gadget creation
// line makes an element through the designer's own creation path, in the gadget list the
// source has open at that line, with the geometry, name, text and flags the line gives. The
// geometry is the generator's, inverted, so a form read and written again comes out the same.
#include "designer/form_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>
#include <utility>
#include <vector>

#include "codegen/reader.h"
#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/panel.h"
#include "elements/zorder.h"
#include "render/interaction.h"
#include "requesters/requesters.h"

namespace tk::designer {

namespace {

// Geometry beyond this many pixels either way is taken as this bound: no form is that large,
// and the toolkit's arithmetic on coordinates stays far from overflow. It lies well beyond
// what editing reaches (the rows stop at 32767, a few grid steps more by the keys), so a form
// the designer wrote reads back as it was.
constexpr int64_t kLargestCoordinate = int64_t{1} << 20;

int Coordinate(std::string_view text) {
  return static_cast<int>(
      std::clamp(ReadSourceNumber(text), -kLargestCoordinate, kLargestCoordinate));
}

std::string_view Arg(const SourceCall& call, size_t index) {
  return index < call.args.size() ? call.args[index] : std::string_view();
}

bool OpensList(Toolkit& tk, const Element& e) {
  const auto nesting = tk.Kind(e.Kind).Nesting;
  return nesting == KindDescriptor::CodeNesting::GadgetList ||
         nesting == KindDescriptor::CodeNesting::Tabs;
}

// One read of source text: the gadget lists the source has open and the elements made so far
// by name.
class FormReader {
 public:
  FormReader(Toolkit& tk, Designer& d) : tk_(tk), d_(d) {}

  void Read(const ParsedSource& source) {
    ClearForm();
    d_.reading = true;
    tk_.root.NamesGiven = true;
    SelectElement(tk_, -1, true);
    NoteGlobals(source.lines);
    for (const ParsedSource::Line& line : source.lines)
      ReadLine(line);
    tk_.root.NamesGiven = false;
    d_.reading = false;
    if (!d_.batch) ListMade();
  }

 private:
  struct OpenGadgetList {
    int element;
    int tab;
  };

  // The Form page starts empty: what it held is not part of the source read.
  void ClearForm() {
    std::vector<int> doomed;
    for (const auto& e : tk_.root.Elements)
      if (e->Alive && e->ParentID == d_.mainPanel && e->Named == 1 && e->TabIndex == 0)
        doomed.push_back(e->ID);
    for (const int id : doomed)
      if (FindElement(tk_, id) != nullptr) FreeElement(tk_, id);
    tk_.root.DesignedElement = -1;
    // A read goes on in the container the last one ended in; when that went with the old form,
    // the Form page takes its place (creating in a freed parent would land among the designer's
    // own elements).
    if (d_.readParent != -1 && FindElement(tk_, d_.readParent) == nullptr)
      d_.readParent = d_.mainPanel;
  }

  void ReadLine(const ParsedSource::Line& line) {
    // The first line of the run puts the reader on the Form page, whatever the line holds.
    const bool first = d_.readParent == -1;
    if (first) d_.readParent = d_.mainPanel;
    if (!line.parsed) return;
    const SourceCall& call = line.call;
    if (line.creates) {
      Create(call, first, ElementKind::None);
    } else if (call.assigned && call.function == "Gadget") {
      // The generator names no function for the MDI kind, whose kind name is empty.
      Create(call, first, ElementKind::MDI);
    } else if (!call.assigned) {
      Statement(call);
    }
  }

  // "Global name=-1" lines list the gadgets in the order of the element list, which the
  // creation lines do not keep where a panel's tabs were filled out of order.
  void NoteGlobals(const std::vector<ParsedSource::Line>& lines) {
    for (const ParsedSource::Line& read : lines) {
      const std::string_view line = TrimBlanks(read.text);
      if (line.size() < 7 || !SameWord(line.substr(0, 7), "Global ")) continue;
      const size_t equals = line.find('=');
      if (equals == std::string_view::npos) continue;
      globalOrder_.emplace(std::string(TrimBlanks(line.substr(7, equals - 7))),
                           static_cast<int>(globalOrder_.size()));
    }
  }

  // Puts a new element among the siblings read before it in the order of the Global lines.
  void KeepGlobalOrder(int id, const std::string& name) {
    const auto order = globalOrder_.find(name);
    const Element* e = FindElement(tk_, id);
    if (order == globalOrder_.end() || e == nullptr) return;
    auto& siblings = readChildren_[e->ParentID];
    const int index = order->second;
    if (siblings.empty() || siblings.back().first <= index) {
      siblings.emplace_back(index, id);
      return;
    }
    auto later =
        std::upper_bound(siblings.begin(), siblings.end(), std::make_pair(index, INT32_MAX));
    if (FindElement(tk_, later->second) != nullptr)
      SetPosition(tk_, id, ZOrder::Before, later->second);
    siblings.insert(later, {index, id});
  }

  int Named(std::string_view name) const {
    auto found = byName_.find(std::string(TrimBlanks(name)));
    return found == byName_.end() ? -1 : found->second;
  }

  // The kind a creation function names, looked up once per function word.
  ElementKind KindOfFunction(std::string_view function) {
    auto [found, added] = kindOf_.try_emplace(std::string(function), ElementKind::None);
    if (added) found->second = static_cast<ElementKind>(KindFromText(function));
    return found->second;
  }

  // Where the next gadget goes: the innermost open gadget list, else the current window.
  void UpdateParent() {
    if (!lists_.empty()) {
      d_.readParent = lists_.back().element;
    } else {
      d_.readParent = window_ >= 0 ? window_ : d_.mainPanel;
    }
  }

  void Create(const SourceCall& call, bool first, ElementKind kind) {
    // A line without "=" before its "(" (a constant name) makes nothing.
    if (!call.assigned) return;
    if (kind == ElementKind::None) kind = KindOfFunction(call.function);
    if (kind == ElementKind::None) return;
    int parent = d_.readParent, tab = 0;
    if (kind == ElementKind::Window) {
      parent = d_.mainPanel;
      lists_.clear();
    } else if (!lists_.empty()) {
      tab = lists_.back().tab;
    }
    const int id = CreateDesignElement(tk_, d_, kind, parent, tab, 0);
    Element* e = FindElement(tk_, id);
    if (e == nullptr) return;
    made_.push_back(id);
    const KindDescriptor& descriptor = tk_.Kind(e->Kind);

    if (!call.target.empty()) {
      const std::string name(call.target);
      SetElementName(tk_, id, name);
      byName_[name] = id;
      KeepGlobalOrder(id, name);
    }
    // A panel's tabs are the ones its AddGadgetItem lines add.
    if (e->Kind == ElementKind::Panel) ClearItems(tk_, id);

    if (const int width = Coordinate(Arg(call, 3)); width > 0 && (e = FindElement(tk_, id))) {
      int x = Coordinate(Arg(call, 1)), y = Coordinate(Arg(call, 2));
      int height = Coordinate(Arg(call, 4));
      if (first) x = y = kIgnore;
      // The generator writes a window's client area and a gadget's frame less the border the
      // toolkit draws beyond the one asked for; both are put back here.
      const int border = e->FrameWidth;
      if (descriptor.CodeOpens) {
        ResizeElement(tk_, *e, x, y, width + 2 * border, height + 2 * border + e->CaptionHeight,
                      CoordMode::Parent);
      } else {
        const int extra = border - e->FrameWidthSet;
        if (x != kIgnore) x -= extra;
        if (y != kIgnore) y -= extra;
        ResizeElement(tk_, *e, x, y, width + 2 * extra, height + 2 * extra, CoordMode::Parent);
      }
    }

    // Text, then the kind's extra arguments, then flags.
    size_t next = 5;
    if ((e = FindElement(tk_, id)) == nullptr) return;
    std::string_view text;
    if (descriptor.Has(Trait::TextArgument)) {
      const std::string_view field = Arg(call, next);
      // An unquoted sixth field is no text (a variable or the flags of a hand-written line).
      if (field.find('"') != std::string_view::npos) {
        text = SourceTextArgument(field);
        ++next;
      } else if (!field.empty() && field.front() != '#') {
        ++next;
      }
    }
    SetElementText(tk_, id, std::string(text));
    for (const auto arg : descriptor.CodeArgs)
      if (arg != KindDescriptor::CodeArg::None) ++next;
    if (!descriptor.Has(Trait::NoFlagsArgument)) {
      const std::string_view flags = TrimBars(Arg(call, next));
      if ((e = FindElement(tk_, id)) != nullptr) {
        e->FlagList.clear();
        if (!flags.empty()) e->FlagList.append("|").append(flags);
      }
    }

    if (kind == ElementKind::Window) {
      window_ = id;
    } else if ((e = FindElement(tk_, id)) != nullptr && OpensList(tk_, *e)) {
      lists_.push_back({id, 0});
    }
    UpdateParent();
  }

  // The lines around creation lines that shape the form: gadget lists, panel tabs, and the
  // settings the generator writes after a window's creation lines.
  void Statement(const SourceCall& call) {
    const std::string_view f = call.function;
    if (SameWord(f, "CloseGadgetList")) {
      if (!lists_.empty()) lists_.pop_back();
    } else if (SameWord(f, "OpenGadgetList")) {
      const int id = Named(Arg(call, 0));
      const Element* e = FindElement(tk_, id);
      if (e == nullptr || !OpensList(tk_, *e)) return;
      int tab = 0;
      if (call.args.size() > 1) {
        tab = Coordinate(Arg(call, 1));
      } else if (auto t = currentTab_.find(id); t != currentTab_.end()) {
        tab = t->second;
      }
      lists_.push_back({id, tab});
    } else if (SameWord(f, "UseGadgetList")) {
      // UseGadgetList(WindowID(w)): w's own list becomes the current one.
      SourceCall inner;
      const std::string_view arg = Arg(call, 0);
      const int id = ParseSourceCall(arg, inner) ? Named(Arg(inner, 0)) : Named(arg);
      const Element* e = FindElement(tk_, id);
      if (e == nullptr || e->Kind != ElementKind::Window) return;
      window_ = id;
      lists_.clear();
    } else if (SameWord(f, "AddGadgetItem")) {
      const int id = Named(Arg(call, 0));
      const Element* e = FindElement(tk_, id);
      if (e == nullptr || e->Kind != ElementKind::Panel) return;
      const int position = call.args.size() > 1 ? Coordinate(Arg(call, 1)) : -1;
      const int tab = AddTab(tk_, id, position < 0 ? -1 : position,
                             std::string(SourceTextArgument(Arg(call, 2))));
      if (tab < 0) return;
      currentTab_[id] = tab;
      for (auto& list : lists_)
        if (list.element == id) list.tab = tab;
    } else if (SameWord(f, "BindEvent")) {
      Binding(call);
      return;
    } else {
      Setting(call);
      return;
    }
    UpdateParent();
  }

  void Setting(const SourceCall& call) {
    const std::string_view f = call.function;
    const int id = Named(Arg(call, 0));
    Element* e = FindElement(tk_, id);
    if (e == nullptr) return;
    const bool on = ReadSourceNumber(Arg(call, 1)) != 0 || SameWord(Arg(call, 1), "#True");
    if (SameWord(f, "HideGadget")) {
      HideElement(tk_, id, on ? 1 : 0);
    } else if (SameWord(f, "DisableGadget")) {
      DisableElement(tk_, id, on ? 1 : 0);
    } else if (SameWord(f, "GadgetToolTip")) {
      e->ToolTip = std::string(SourceTextArgument(Arg(call, 1)));
    } else if (SameWord(f, "StickyWindow") && e->Kind == ElementKind::Window && on) {
      tk_.root.StickyWindow = id;
    } else if (SameWord(f, "SetGadgetAttribute")) {
      // Colours as the generator writes them: the low 32 bits of the value.
      const auto colour = static_cast<uint32_t>(ReadSourceNumber(Arg(call, 2)));
      if (SameWord(Arg(call, 1), "#PB_Gadget_FrontColor")) {
        SetElementColor(tk_, id, Attribute::FrontColor, colour);
      } else if (SameWord(Arg(call, 1), "#PB_Gadget_BackColor")) {
        SetElementColor(tk_, id, Attribute::BackColor, colour);
      }
    }
  }

  // "BindEvent( #PB_Event_X, @..._Event(), window )": the window's event list holds X.
  void Binding(const SourceCall& call) {
    const int id = Named(Arg(call, 2));
    const Element* e = FindElement(tk_, id);
    std::string_view event = Arg(call, 0);
    constexpr std::string_view kPrefix = "#PB_Event_";
    if (e == nullptr || e->Kind != ElementKind::Window || event.size() <= kPrefix.size() ||
        !SameWord(event.substr(0, kPrefix.size()), kPrefix))
      return;
    event.remove_prefix(kPrefix.size());
    AddElementEvent(tk_, id, event);
  }

  // The Elements row lists what was made, in creation order; the first window is shown in the
  // panels. Done once here, not per element while reading.
  void ListMade() {
    for (const int id : made_) {
      const Element* e = FindElement(tk_, id);
      if (e == nullptr) continue;
      const int index =
          AddElementItem(tk_, d_.rows.elements, -1, KindName(e->Kind) + " (" + e->Name + ")");
      if (index >= 0) SetItemData(tk_, d_.rows.elements, index, id);
    }
    for (const int id : made_) {
      const Element* e = FindElement(tk_, id);
      if (e == nullptr || e->Kind != ElementKind::Window) continue;
      tk_.root.DesignedElement = id;
      FillPanelsFromElement(tk_, d_, id, ElementEvent::Created);
      break;
    }
  }

  Toolkit& tk_;
  Designer& d_;
  int window_ = -1;
  std::vector<OpenGadgetList> lists_;
  std::unordered_map<std::string, int> byName_;
  std::unordered_map<int, int> currentTab_;  // a panel's tab its next gadgets go on
  std::vector<int> made_;
  std::unordered_map<std::string, ElementKind> kindOf_;
  std::unordered_map<std::string, int> globalOrder_;  // name to position among Global lines
  // Per parent, the elements read into it as (Global position, id), in element-list order.
  std::unordered_map<int, std::vector<std::pair<int, int>>> readChildren_;
};

}  // namespace

ParsedSource::ParsedSource(std::string_view source) : text(SourceText(source)) {
  const std::vector<std::string_view> split = SourceLines(text);
  lines.resize(split.size());
  for (size_t i = 0; i < split.size(); ++i) {
    Line& line = lines[i];
    line.text = split[i];
    line.creates = IsCreationLine(line.text);
    line.parsed = ParseSourceCall(TrimBlanks(line.text), line.call);
  }
}

void ReadFormSource(Toolkit& tk, Designer& designer, const ParsedSource& source) {
  FormReader(tk, designer).Read(source);
}

void ReadFormSource(Toolkit& tk, Designer& designer, std::string_view source) {
  const ParsedSource parsed(source);
  ReadFormSource(tk, designer, parsed);
}

bool ReadFormFile(Toolkit& tk, Designer& designer, const std::string& path) {
  std::string bytes;
  bool read = false;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char chunk[1 << 16];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
      bytes.append(chunk, n);
    // A folder opens but cannot be read.
    read = std::ferror(file) == 0;
    std::fclose(file);
  }
  if (!read) {
    MessageRequester(tk, "Information", "Couldn't open the file!");
    return false;
  }
  ReadFormSource(tk, designer, bytes);
  return true;
}

}  // namespace tk::designer
