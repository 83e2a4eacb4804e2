// The PureBasic code generator: walks the element tree below a design surface once and
// writes the source text that recreates its windows and gadgets.
#include "codegen/generator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "codegen/event_procedures.h"
#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/lookup.h"
#include "platform/images.h"

namespace tk {
namespace {

using platform::ImageFormat;

// ColorSet bits: the caller chose the front (back) colour.
constexpr int8_t kFrontColorSet = 1;
constexpr int8_t kBackColorSet = 2;

// Sizes used to reserve the text once: the fixed lines, what a window adds beside its
// pieces (procedure frame, main-file block), and one "Case" line without its name.
constexpr size_t kFixedBytes = 64;
constexpr size_t kBytesPerWindow = 512;
constexpr size_t kCaseLineBytes = 13;

// The image formats that need a decoder line, in one table with their lines. The decoder
// memory of a run is one flag per entry.
struct Decoder {
  ImageFormat format;
  std::string_view line;
};
constexpr std::array<Decoder, 5> kDecoders = {{
    {ImageFormat::Jpeg, "UseJPEGImageDecoder()\r\n"},
    {ImageFormat::Jpeg2000, "UseJPEG2000ImageDecoder()\r\n"},
    {ImageFormat::Png, "UsePNGImageDecoder()\r\n"},
    {ImageFormat::Tga, "UseTGAImageDecoder()\r\n"},
    {ImageFormat::Tiff, "UseTIFFImageDecoder()\r\n"},
}};

void AppendInt(std::string& out, int64_t value) {
  char buf[24];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, result.ptr);
}

// A name that begins or ends with "#" is a PureBasic constant; any other is a variable.
bool IsConstantName(std::string_view name) {
  return !name.empty() && (name.front() == '#' || name.back() == '#');
}

using CodeArg = KindDescriptor::CodeArg;
using CodeNesting = KindDescriptor::CodeNesting;

// The text as the element's text getter answers it, or as its kind has it written.
std::string_view CaptionOf(const KindDescriptor& kind, const Element& e) {
  return kind.CodeText != nullptr ? kind.CodeText(e) : std::string_view(e.Text);
}

// A PureBasic string holds neither a double quote nor a line break: text typed into a form
// element's own field may hold both. The quotes go, a line break becomes a blank and the
// closing one of a multi-line text goes, so the line stays one line that reads back.
void AppendStringContent(std::string& out, std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
    text.remove_suffix(1);
  bool broken = false;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      if (!broken) out += ' ';
      broken = true;
      continue;
    }
    broken = false;
    if (c != '"') out += c;
  }
}

void AppendValues(std::string& out, std::initializer_list<int64_t> values) {
  bool first = true;
  for (int64_t v : values) {
    if (!first) out += ", ";
    first = false;
    AppendInt(out, v);
  }
}

void AppendArgument(std::string& out, int64_t value) {
  out += ", ";
  AppendInt(out, value);
}

// The arguments after geometry and text that the kind's creation function takes.
void AppendExtraArguments(Toolkit& tk, std::string& out, const KindDescriptor& kind,
                          const Element& e, const platform::ImageStore& images) {
  for (CodeArg arg : kind.CodeArgs) {
    switch (arg) {
      case CodeArg::None:
        return;
      case CodeArg::Min:
        AppendArgument(out, e.Min);
        break;
      case CodeArg::Max:
        AppendArgument(out, e.Max);
        break;
      case CodeArg::PageLength:
        AppendArgument(out, e.PageLength);
        break;
      case CodeArg::SpinMin:
      case CodeArg::SpinMax:
        out += ", ";
        out += FormatSpinLimit(arg == CodeArg::SpinMin ? e.SpinMin : e.SpinMax);
        break;
      case CodeArg::FirstPane:
      case CodeArg::SecondPane: {
        // A pane by the name its own line gives it: an element id means nothing to
        // PureBasic. A pane that does not exist keeps its number.
        const int pane = arg == CodeArg::FirstPane ? e.Gadget1 : e.Gadget2;
        if (const Element* p = FindElement(tk, pane); p != nullptr && !p->Name.empty()) {
          out += ", ";
          out += p->Name;
        } else {
          AppendArgument(out, pane);
        }
        break;
      }
      case CodeArg::ImageId:
        if (HoldsImage(images, e)) {
          out += ", ImageID(";
          AppendInt(out, e.Image);
          out += ')';
        } else {
          out += ", 0";
        }
        break;
      case CodeArg::FirstColumnWidth:
        AppendArgument(out, e.FirstColumnWidth);
        break;
      case CodeArg::BackColor:
        AppendArgument(out, static_cast<int32_t>(static_cast<uint32_t>(e.BackColor)));
        break;
      case CodeArg::DateValue:
        AppendArgument(out, e.DateValue);
        break;
      case CodeArg::CallbackValue:
        AppendArgument(out, e.CallbackValue);
        break;
      case CodeArg::ShortcutValue:
        AppendArgument(out, e.ShortcutValue);
        break;
    }
  }
}

// "  name = ButtonGadget(#PB_Any, x, y, w, h, "text", extras, flags)" and its variants.
void AppendCreationLine(Toolkit& tk, std::string& out, const Element& e,
                        const platform::ImageStore& images) {
  const KindDescriptor& descriptor = tk.Kind(e.Kind);
  const std::string_view kind = descriptor.Name;
  const bool window = descriptor.CodeOpens;
  out += "  ";
  if (IsConstantName(e.Name)) {
    out += window ? "Open" : "";
    out += kind;
    out += window ? "(" : "Gadget(";
    out += e.Name;
    out += ", ";
  } else {
    out += e.Name;
    out += " = ";
    out += window ? "Open" : "";
    out += kind;
    out += window ? "(#PB_Any, " : "Gadget(#PB_Any, ";
  }

  // A window is sized by its client area; a gadget by its frame less the part of its border
  // that the toolkit draws beyond the one its flags asked for. Both are placed in their
  // parent (a window on the design surface), so where the surface lies does not count.
  const int border = e.FrameWidth;
  if (window) {
    AppendValues(out, {e.ParentOffsetX(), e.ParentOffsetY(), e.Frame.w0 - 2 * border,
                       e.Frame.h0 - 2 * border - e.CaptionHeight});
  } else {
    const int d = border - e.FrameWidthSet;
    AppendValues(out, {e.ParentOffsetX() + d, e.ParentOffsetY() + d, e.Frame.w0 - 2 * d,
                       e.Frame.h0 - 2 * d});
  }

  if (descriptor.Has(Trait::TextArgument)) {
    out += ", \"";
    AppendStringContent(out, CaptionOf(descriptor, e));
    out += '"';
  }
  AppendExtraArguments(tk, out, descriptor, e, images);

  if (!descriptor.Has(Trait::NoFlagsArgument)) {
    const std::string_view flags = TrimBars(e.FlagList);
    if (!flags.empty()) {
      out += ", ";
      out += flags;
    }
  }
  out += ")\r\n";
}

// Hidden, disabled, tool tip and colour lines.
void AppendSettings(std::string& out, const Element& e) {
  auto start = [&](std::string_view call, std::string_view tail) {
    out += "  ";
    out += call;
    out += '(';
    out += e.Name;
    out += tail;
  };
  if (e.HiddenOwn != 0) start("HideGadget", ", #True)\r\n");
  if (e.DisabledOwn != 0) start("DisableGadget", ", #True)\r\n");
  if (!e.ToolTip.empty()) {
    start("GadgetToolTip", ", \"");
    out += e.ToolTip;
    out += "\")\r\n";
  }
  if (e.ColorSet & kFrontColorSet) {
    start("SetGadgetAttribute", ", #PB_Gadget_FrontColor, $");
    out += FormatColorHex(e.FrontColor);
    out += ")\r\n";
  }
  if (e.ColorSet & kBackColorSet) {
    start("SetGadgetAttribute", ", #PB_Gadget_BackColor, $");
    out += FormatColorHex(e.BackColor);
    out += ")\r\n";
  }
}

// The window's events as PureBasic event constants bound to the procedures that the window
// event procedures were named after: "LeftClick" binds #PB_Event_LeftClick to
// <window>_LeftClick_Event().
void AppendWindowBindings(std::string& out, const Element& w) {
  std::string events;
  std::string_view list = TrimBars(w.EventList);
  for (bool first = true;; first = false) {
    const size_t bar = list.find('|');
    if (!first) events += '|';
    events += "#PB_Event_";
    events += TrimChar(list.substr(0, bar), ' ');
    if (bar == std::string_view::npos) break;
    list.remove_prefix(bar + 1);
  }
  AppendBindEventLines(out, 3, events, w.Name);
}

// One written element: its creation line (a range of WindowText::lines) and its place among
// the elements written inside the same gadget list as it.
struct Node {
  const Element* element = nullptr;
  int listParent = -1;  // id of the element whose list holds it
  size_t begin = 0, end = 0;
  int firstChild = -1, lastChild = -1, next = -1;  // node indices, element-list order
};

// What one window of the form contributes to each section, gathered in one pass over the
// element list so every record is read once, however the windows' records interleave.
struct WindowText {
  const Element* window = nullptr;
  size_t order = SIZE_MAX;  // position of the window's own record among the windows'
  std::string globals;      // Global lines of its gadgets
  std::vector<const std::string*> constants;  // constant names of its gadgets
  std::string procedures;                     // event procedures of its gadgets
  std::string lines;                          // creation lines, element-list order
  std::vector<Node> nodes;                    // one per creation line, same order
  std::vector<int> roots;                     // nodes no other node holds: the window
  std::string settings;                       // hidden, disabled, tool tip, colour lines
};

// How many records ahead of the one being written the pass requests the next fields.
constexpr size_t kPrefetchAhead = 8;

// One generation: one pass over the element list fills the image lines and the windows'
// pieces, then the text is joined section by section.
class FormWriter {
 public:
  FormWriter(Toolkit& tk, const Element& surface)
      : tk_(tk), surface_(surface), images_(tk.platform.Images()) {}

  std::string Text() {
    Collect();
    return Join();
  }

 private:
  // The direct child of the surface that every child of `parentId` lies in; nullptr when
  // children of `parentId` are not inside the surface. `self` is set when they are the
  // surface's own children (each its own top). Answers are kept per parent id, and the last
  // one separately, since siblings follow each other in the list.
  const Element* TopForChildrenOf(int parentId, bool& self) {
    self = parentId == surface_.ID;
    if (self) return nullptr;
    if (lastValid_ && parentId == lastParent_) return lastTop_;
    path_.clear();
    const Element* top = nullptr;
    // A parent chain is never longer than the list; the bound keeps a corrupt cycle finite.
    size_t steps = tk_.root.Elements.size() + 1;
    for (int id = parentId; steps-- > 0;) {
      if (auto known = topOfParent_.find(id); known != topOfParent_.end()) {
        top = known->second;
        break;
      }
      const Element* p = FindElement(tk_, id);
      if (p == nullptr || !p->Alive || p == &surface_) break;
      path_.push_back(id);
      if (p->ParentID == surface_.ID) {
        top = p;
        break;
      }
      id = p->ParentID;
    }
    for (int id : path_)
      topOfParent_.emplace(id, top);
    lastValid_ = true;
    lastParent_ = parentId;
    lastTop_ = top;
    return top;
  }

  // Elements a kind made for itself (a scroll area's content and bars) are recreated by
  // their owner's creation line, never written on their own.
  bool IsPartOfParent(const Element& e) {
    const Element* parent = FindElement(tk_, e.ParentID);
    if (parent == nullptr) return false;
    for (int part : parent->Attached)
      if (part == e.ID) return true;
    return false;
  }

  // The element whose gadget list holds `e`'s line: its parent, or the parent's owner when
  // the parent is a part the owner made for itself (a scroll area's content). The answer is
  // kept for the next sibling.
  int ListParentOf(const Element& e) {
    if (listParentValid_ && e.ParentID == lastChildParent_) return lastListParent_;
    int id = e.ParentID;
    if (const Element* p = FindElement(tk_, id); p != nullptr && IsPartOfParent(*p))
      id = p->ParentID;
    listParentValid_ = true;
    lastChildParent_ = e.ParentID;
    lastListParent_ = id;
    return id;
  }

  WindowText* TextOfWindow(const Element& top) {
    if (&top == lastWindow_) return lastWindowText_;
    auto [found, added] = windowIndex_.try_emplace(&top, windows_.size());
    if (added) {
      windows_.push_back(std::make_unique<WindowText>());
      windows_.back()->window = &top;
    }
    lastWindow_ = &top;
    lastWindowText_ = windows_[found->second].get();
    return lastWindowText_;
  }

  void Collect() {
    size_t windowsSeen = 0;
    const auto& all = tk_.root.Elements;
    for (size_t i = 0; i < all.size(); ++i) {
      if (i + kPrefetchAhead < all.size()) {
        // Records are large and scattered over the heap, so a big form's pass would mostly
        // wait for memory: the fields read below are requested some records ahead. (Written
        // here rather than in a helper, which the compiler may drop as free of effects.)
        const Element& ahead = *all[i + kPrefetchAhead];
        __builtin_prefetch(&ahead.Name);
        __builtin_prefetch(&ahead.EventList);
        __builtin_prefetch(&ahead.ParentID);
        __builtin_prefetch(&ahead.Kind);
        __builtin_prefetch(&ahead.Alive);
        __builtin_prefetch(&ahead.ToolTip);
        __builtin_prefetch(&ahead.FrameWidth);
        __builtin_prefetch(&ahead.Frame);
        __builtin_prefetch(&ahead.InWindow);
        __builtin_prefetch(&ahead.ColorSet);
        __builtin_prefetch(&ahead.Image);
        __builtin_prefetch(&ahead.TabIndex);
      }
      const Element& e = *all[i];
      if (!e.Alive || &e == &surface_) continue;
      bool self = false;
      const Element* top = TopForChildrenOf(e.ParentID, self);
      if (self) top = &e;
      if (top == nullptr) continue;

      if (IsPartOfParent(e)) continue;
      if (top->TabIndex != 0) continue;  // on another page of the surface
      // Every written element's image is loaded, whichever panel tab the element sits on.
      if (HoldsImage(images_, e)) AppendImage(e.Image);

      WindowText& w = *TextOfWindow(*top);
      if (&e == top) {
        w.order = windowsSeen++;
      } else {
        if (IsConstantName(e.Name)) {
          w.constants.push_back(&e.Name);
        } else {
          w.globals += "Global ";
          w.globals += e.Name;
          w.globals += "=-1\r\n";
        }
        if (!e.EventList.empty()) {
          object_.assign(TrimChar(e.Name, '#'));
          object_ += '_';
          AppendEventProcedures(w.procedures, 0, object_, "#PB_Event_Gadget", {});
        }
      }
      // The lines are put in list order here; WriteCreationLines nests them.
      Node node;
      node.element = &e;
      node.listParent = &e == top ? -1 : ListParentOf(e);
      node.begin = w.lines.size();
      AppendCreationLine(tk_, w.lines, e, images_);
      node.end = w.lines.size();
      // Only an element with children can hold lines; the others need no entry.
      if (e.ChildCount > 0)
        nodeOf_.emplace(e.ID, std::make_pair(&w, static_cast<int>(w.nodes.size())));
      w.nodes.push_back(node);
      AppendSettings(w.settings, e);
    }
    for (auto& w : windows_)
      LinkNodes(*w);
    // A window's record may follow some of its gadgets after re-parenting: the windows go in
    // the order of their own records.
    std::sort(windows_.begin(), windows_.end(),
              [](const auto& a, const auto& b) { return a->order < b->order; });
  }

  // Hangs every node under the node of the element whose list holds it, keeping list order
  // among siblings (a parent's record may come after its children's). A node whose holder
  // wrote no line goes under the window, or stands on its own when the window wrote none.
  void LinkNodes(WindowText& w) {
    int window = -1;
    for (size_t i = 0; i < w.nodes.size() && window < 0; ++i)
      if (w.nodes[i].element == w.window) window = static_cast<int>(i);
    // Siblings follow each other in the list: the last answer is kept.
    bool haveLast = false;
    int lastParent = 0, lastHolder = window;
    for (size_t i = 0; i < w.nodes.size(); ++i) {
      const int self = static_cast<int>(i);
      int holder = -1;
      if (self != window) {
        const int parent = w.nodes[i].listParent;
        if (!haveLast || parent != lastParent) {
          haveLast = true;
          lastParent = parent;
          lastHolder = window;
          if (auto found = nodeOf_.find(parent);
              found != nodeOf_.end() && found->second.first == &w && found->second.second != self)
            lastHolder = found->second.second;
        }
        holder = lastHolder;
      }
      if (holder < 0) {
        w.roots.push_back(self);
        continue;
      }
      Node& h = w.nodes[static_cast<size_t>(holder)];
      if (h.lastChild < 0) {
        h.firstChild = self;
      } else {
        w.nodes[static_cast<size_t>(h.lastChild)].next = self;
      }
      h.lastChild = self;
    }
  }

  void AppendImage(int number) {
    const ImageFormat format = images_.Format(number);
    for (size_t i = 0; i < kDecoders.size(); ++i) {
      if (kDecoders[i].format == format && !decoderWritten_[i]) {
        imageLines_ += kDecoders[i].line;
        decoderWritten_[i] = true;
      }
    }
    imageLines_ += "LoadImage(";
    AppendInt(imageLines_, number);
    imageLines_ += ", \"";
    if (auto path = tk_.root.ImagePaths.find(number); path != tk_.root.ImagePaths.end())
      imageLines_ += path->second;
    imageLines_ += "\")\r\n";
  }

  std::string Join() {
    size_t size = imageLines_.size() + kFixedBytes;
    size_t names = 0;
    for (const auto& w : windows_) {
      size += w->globals.size() + w->procedures.size() + w->lines.size() + w->settings.size() +
              kBytesPerWindow + 16 * w->constants.size();
      names += w->window->Name.size() + kCaseLineBytes;
    }
    size += windows_.size() * names;  // every main-file block lists every window
    out_.reserve(size);

    out_ += "EnableExplicit\r\n\r\n";
    out_ += imageLines_;
    out_ += "Define Event\r\n\r\n";
    WriteWindowIdentifiers();
    out_ += "\r\n";
    WriteGadgetIdentifiers();
    out_ += "\r\n";
    for (const auto& w : windows_)
      out_ += w->procedures;
    for (const auto& w : windows_) {
      const Element& window = *w->window;
      if (window.EventList.empty()) continue;
      // Named from the bare name, as the binding lines name them: "Pal#" gives Pal_...
      object_.assign(TrimChar(window.Name, '#'));
      object_ += '_';
      AppendEventProcedures(out_, 0, object_, TrimBars(window.EventList), {});
    }
    for (const auto& w : windows_)
      WriteOpenProcedure(*w);
    // Every main-file block lists every window: the list is made once and copied.
    for (const auto& w : windows_) {
      caseLines_ += "      Case ";
      caseLines_ += w->window->Name;
      caseLines_ += "\r\n";
    }
    for (const auto& w : windows_)
      WriteMainBlock(*w->window);
    out_ += "\r\n\r\n";
    return std::move(out_);
  }

  void WriteEnumeration(std::string_view title, const std::vector<const std::string*>& names) {
    if (names.empty()) return;
    out_ += title;
    for (const std::string* name : names) {
      out_ += "  ";
      out_ += *name;
      out_ += "\r\n";
    }
    out_ += "EndEnumeration\r\n";
  }

  void WriteWindowIdentifiers() {
    std::vector<const std::string*> constants;
    for (const auto& w : windows_) {
      const std::string& name = w->window->Name;
      if (IsConstantName(name)) {
        constants.push_back(&name);
      } else {
        out_ += "Global ";
        out_ += name;
        out_ += "=-1\r\n";
      }
    }
    WriteEnumeration("Enumeration FormWindow\r\n", constants);
  }

  void WriteGadgetIdentifiers() {
    std::vector<const std::string*> constants;
    for (const auto& w : windows_) {
      out_ += w->globals;
      constants.insert(constants.end(), w->constants.begin(), w->constants.end());
    }
    WriteEnumeration("Enumeration FormGadget\r\n", constants);
  }

  void WriteOpenProcedure(const WindowText& w) {
    const Element& window = *w.window;
    out_ += "Procedure Open_";
    out_ += TrimChar(window.Name, '#');
    out_ += "()\r\n";
    WriteCreationLines(w);
    if (tk_.root.StickyWindow != -1 && window.ID == tk_.root.StickyWindow) {
      out_ += "  StickyWindow(";
      out_ += window.Name;
      out_ += ", #True)\r\n";
    }
    out_ += "\r\n";
    out_ += w.settings;
    if (tk_.Kind(window.Kind).CodeOpens && !window.EventList.empty())
      AppendWindowBindings(out_, window);
    out_ += "EndProcedure\r\n\r\n";
  }

  // The creation lines nested as PureBasic builds the form, as each kind's nesting says: a
  // gadget list's owner (container, scroll area, panel), then what its list holds, then
  // CloseGadgetList(); a panel's children after the AddGadgetItem of their tab; a splitter
  // after its panes (which it holds). Walked with an explicit stack, so however deep the
  // nesting the walk needs no deeper call stack.
  void WriteCreationLines(const WindowText& w) {
    tasks_.clear();
    for (size_t i = w.roots.size(); i-- > 0;)
      tasks_.push_back({Step::Node, w.roots[i], 0});
    while (!tasks_.empty()) {
      const Task task = tasks_.back();
      tasks_.pop_back();
      const Node& node = w.nodes[static_cast<size_t>(task.node)];
      const Element& e = *node.element;
      switch (task.step) {
        case Step::Line:
          out_.append(w.lines, node.begin, node.end - node.begin);
          continue;
        case Step::Close:
          out_ += "  CloseGadgetList()\r\n";
          continue;
        case Step::Tab:
          // Tab texts are quoted as captions are.
          out_ += "  AddGadgetItem(";
          out_ += e.Name;
          out_ += ", -1, \"";
          if (task.tab < e.Items.size()) out_ += e.Items[task.tab]->Text;
          out_ += "\")\r\n";
          continue;
        case Step::Node:
          break;
      }
      children_.clear();
      for (int c = node.firstChild; c >= 0; c = w.nodes[static_cast<size_t>(c)].next)
        children_.push_back(c);
      const CodeNesting nesting = tk_.Kind(e.Kind).Nesting;
      if (nesting == CodeNesting::PanesFirst) {
        tasks_.push_back({Step::Line, task.node, 0});
        PushInOrder(children_.begin(), children_.end());
        continue;
      }
      out_.append(w.lines, node.begin, node.end - node.begin);
      if (nesting == CodeNesting::GadgetList || nesting == CodeNesting::Tabs)
        tasks_.push_back({Step::Close, task.node, 0});
      if (nesting == CodeNesting::Tabs) {
        PushTabs(w, task.node);
      } else {
        PushInOrder(children_.begin(), children_.end());
      }
    }
  }

  // Pushes the nodes of [first, last) so that they are written in that order.
  void PushInOrder(std::vector<int>::const_iterator first, std::vector<int>::const_iterator last) {
    while (last != first)
      tasks_.push_back({Step::Node, *--last, 0});
  }

  // Pushes a panel's tabs, each followed by its children (children_, in list order): every
  // tab in tab order, also one without children. A child is on the first tab whose index
  // is its page index; children of no tab (a page index no tab has) follow the last tab.
  void PushTabs(const WindowText& w, int panelNode) {
    const Element& panel = *w.nodes[static_cast<size_t>(panelNode)].element;
    const size_t tabs = panel.Items.size();
    tabKeyed_.clear();
    for (int child : children_) {
      const int index = w.nodes[static_cast<size_t>(child)].element->TabIndex;
      size_t position = 0;
      while (position < tabs && panel.Items[position]->ID != index)
        ++position;
      tabKeyed_.emplace_back(position, child);
    }
    std::stable_sort(tabKeyed_.begin(), tabKeyed_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // Pushed backwards: children of no tab first, then each tab's children and its line.
    auto it = tabKeyed_.end();
    for (size_t position = tabs + 1; position-- > 0;) {
      while (it != tabKeyed_.begin() && std::prev(it)->first == position)
        tasks_.push_back({Step::Node, (--it)->second, 0});
      if (position < tabs) tasks_.push_back({Step::Tab, panelNode, position});
    }
  }

  void WriteMainBlock(const Element& window) {
    out_ += "CompilerIf #PB_Compiler_IsMainFile\r\n  Open_";
    out_ += TrimChar(window.Name, '#');
    out_ += "()\r\n\r\n  While IsWindow(";
    out_ += window.Name;
    out_ +=
        ")\r\n"
        "    Event = WaitWindowEvent()\r\n\r\n"
        "    Select Event\r\n"
        "       Case #PB_Event_CloseWindow\r\n"
        "         CloseWindow(EventWindow())\r\n"
        "    EndSelect\r\n\r\n"
        "    Select EventWindow()\r\n";
    out_ += caseLines_;
    out_ +=
        "    EndSelect\r\n"
        "  Wend\r\n\r\n"
        "  End\r\n"
        "CompilerEndIf\r\n";
  }

  Toolkit& tk_;
  const Element& surface_;
  const platform::ImageStore& images_;
  std::string out_;
  std::string imageLines_;
  std::string caseLines_;
  std::array<bool, kDecoders.size()> decoderWritten_{};  // the decoder memory of this run
  std::vector<std::unique_ptr<WindowText>> windows_;
  std::unordered_map<const Element*, size_t> windowIndex_;
  std::unordered_map<int, const Element*> topOfParent_;
  std::vector<int> path_;
  std::string object_;
  // The node of each written element that has children: its window text and its index there.
  std::unordered_map<int, std::pair<WindowText*, int>> nodeOf_;
  // The creation-line walk: what is still to be written, last first.
  enum class Step : uint8_t { Node, Line, Tab, Close };
  struct Task {
    Step step;
    int node;
    size_t tab;  // for Tab: the tab's position in the panel's items
  };
  std::vector<Task> tasks_;
  std::vector<int> children_;
  std::vector<std::pair<size_t, int>> tabKeyed_;  // tab position, child node
  // One-entry caches for runs of siblings.
  bool lastValid_ = false;
  int lastParent_ = 0;
  const Element* lastTop_ = nullptr;
  const Element* lastWindow_ = nullptr;
  WindowText* lastWindowText_ = nullptr;
  bool listParentValid_ = false;
  int lastChildParent_ = 0;
  int lastListParent_ = -1;
};

}  // namespace

std::string FormatColorHex(int64_t color) {
  // Sign-extend the 32-bit colour; a negative one prints all sixteen digits.
  const auto low = static_cast<int32_t>(static_cast<uint32_t>(color));
  const auto value = static_cast<uint64_t>(static_cast<int64_t>(low));
  char buf[17];
  const auto result = std::to_chars(buf, buf + sizeof buf, value, 16);
  std::string out(buf, result.ptr);
  for (char& c : out)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string FormatSpinLimit(float value) {
  // Infinities and NaN have no source form; they are written as the neutral 0.
  if (!std::isfinite(value)) return "0";
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                    std::chars_format::fixed, 10);
  if (result.ec != std::errc()) return "0";
  std::string out(buf, result.ptr);
  while (!out.empty() && out.back() == '0')
    out.pop_back();
  if (!out.empty() && out.back() == '.') out.pop_back();
  if (out == "-0") out = "0";
  return out;
}

std::string FormCodeText(Toolkit& tk, int surfaceId) {
  const Element* surface = FindElement(tk, surfaceId);
  if (surface == nullptr || surface->ChildCount == 0) return {};
  return FormWriter(tk, *surface).Text();
}

void GenerateFormCode(Toolkit& tk, int surfaceId, int codeElementId) {
  std::string text = FormCodeText(tk, surfaceId);
  // A surface without children produces nothing: the code element keeps its text.
  if (text.empty()) return;
  SetElementText(tk, codeElementId, text);
}

}  // namespace tk
