// The simple kinds: each creation procedure picks a kind number, adds the flags the kind
// always carries, creates the element inside the wanted parent and restores the open list.
#include "elements/simple.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/kind.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/scrollbar.h"
#include "render/interaction.h"
#include "render/looks.h"
#include "render/paint.h"

namespace tk {
namespace {

using platform::DrawMode;
using platform::Painter;
using namespace looks;

// Flags the kinds always carry.
constexpr Flags64 kStringFlags = Flag::Border | Flag::Editable;
constexpr Flags64 kEditorFlags = Flag::Flat | Flag::AlignBit200 | Flag::Editable | Flag::MultiLine;

// Simple kinds take no image at creation.
constexpr int kNoImage = -1;

// The creation pattern shared by the kinds. `finish` runs on the new element while the
// parent's list is still open; it is given the new element's id.
template <typename Finish>
int CreateInside(Toolkit& tk, ElementKind kind, int id, int x, int y, int width, int height,
                 const std::string& text, Flags64 flags, int parentId, Finish finish) {
  return CreateInParent(tk, parentId, [&] {
    const int result =
        CreateElement(tk, kind, id, x, y, width, height, text, kNoImage, kNoImage, 0, flags, -1);
    // A handler run during creation may already have freed the element again.
    if (const Element* e = FindElement(tk, result); e != nullptr && e->Kind == kind) finish(result);
    return result;
  });
}

int CreatePlain(Toolkit& tk, ElementKind kind, int id, int x, int y, int width, int height,
                const std::string& text, Flags64 flags, int parentId) {
  return CreateInside(tk, kind, id, x, y, width, height, text, flags, parentId, [](int) {});
}

// A check box toggles, leaving the third state.
bool ToggleCheck(Toolkit&, Element& e) {
  e.Checked = e.Checked ? 0 : 1;
  e.InBetween = 0;
  return true;
}

// An option is chosen; its state setter reports the click.
bool ChooseOption(Toolkit& tk, Element& e) {
  SetElementState(tk, e.ID, 1);
  return true;
}

// Items of the position picker that stand for edges, corners and the centre.
constexpr int kPickerFirstItem = 1;
constexpr int kPickerLastItem = 10;

// A press on an edge, corner or the centre of the position picker reaches its item hook.
void PressPickerPart(Toolkit& tk, Element& picker, EventCode code, int id, int index) {
  if (code != ElementEvent::LeftButtonDown || index < kPickerFirstItem || index > kPickerLastItem)
    return;
  if (auto handler = tk.Kind(picker.Kind).ItemEvent) handler(tk, picker, code, id, index);
}

// An editor's lines are clipped by the text editing that paints them, not by the strip.
void PaintEditorLines(Toolkit& tk, Element& editor, platform::Painter& painter) {
  StripStyle style;
  style.clipToSelf = false;
  PaintStripItems(tk, painter, editor, style);
}

void CheckBoxGlyph(Painter& p, const Element& r, int x, int y, int h, const looks::Look& look) {
  const int bx = x, by = y + (h - kCheckBoxSize) / 2;
  p.SetMode(DrawMode::Default);
  if (r.Radius > 0)
    p.RoundBox(bx, by, kCheckBoxSize, kCheckBoxSize, r.Radius, r.Radius, look.frame);
  else
    p.Box(bx, by, kCheckBoxSize, kCheckBoxSize, look.frame);
  p.Box(bx + 1, by + 1, kCheckBoxInner, kCheckBoxInner, kWhite);
  if (r.Checked) {
    p.Line(bx + 3, by + 6, 3, 3, kBlack);
    p.Line(bx + 5, by + 8, 5, -5, kBlack);
    p.Line(bx + 5, by + 7, 5, -5, kBlack);
  } else if (r.InBetween) {
    const int inset = (kCheckBoxSize - kThirdStateSize) / 2;
    p.Box(bx + inset, by + inset, kThirdStateSize, kThirdStateSize, kBlack);
  }
}

void OptionGlyph(Painter& p, const Element& r, int x, int y, int h, const looks::Look& look,
                 Color dot) {
  const int cy = y + h / 2;
  const int cx = x + static_cast<int>(std::lround(6.5));
  p.SetMode(DrawMode::Default);
  p.Circle(cx, cy, kOptionRadius, kWhite);
  p.SetMode(DrawMode::Outlined);
  p.Circle(cx, cy, kOptionRadius, look.frame);
  // The group's current member is the option whose state was last set to 1.
  if (r.StateIndex == 1) {
    p.SetMode(DrawMode::Default);
    p.Circle(x + static_cast<int>(std::lround(7.5)), cy, kOptionDotRadius, dot);
  }
}

void PaintCheckBoxGlyph(Toolkit&, platform::Painter& painter, GlyphPass& g) {
  if (g.isItem) return;
  CheckBoxGlyph(painter, g.record, g.x, g.y, g.h, g.look);
  g.roomX += kCheckBoxSize + kGlyphTextGap;
  g.roomW -= kCheckBoxSize + kGlyphTextGap;
}

void PaintOptionGlyph(Toolkit&, platform::Painter& painter, GlyphPass& g) {
  if (g.isItem) return;
  OptionGlyph(painter, g.record, g.x, g.y, g.h, g.look, g.front);
  g.roomX += kCheckBoxSize + kGlyphTextGap;
  g.roomW -= kCheckBoxSize + kGlyphTextGap;
}

// An editor's lines scroll by whole rows: its VScroll is the first row shown and its
// vertical bar counts rows, one a press on an arrow.
constexpr int kEditorArrowStep = 1;

Element* EditorBar(Toolkit& tk, const Element& editor) {
  if (editor.Attached[0] != editor.ID) return nullptr;
  Element* bar = FindElement(tk, editor.Attached[1]);
  return bar != nullptr && bar->Alive && bar->Kind == ElementKind::ScrollBar ? bar : nullptr;
}

// The editor gets its vertical bar, hidden until a paint finds that its lines do not fit;
// the editor names itself first and the bar second, the bar names the editor and itself.
void AttachEditorBar(Toolkit& tk, int editorId) {
  Element* editor = FindElement(tk, editorId);
  if (editor == nullptr) return;
  const int savedOpen = tk.root.OpenList;
  const int bar = ScrollBar(tk, -1, std::max(editor->Inner.w0 - kBarThickness, 0), 0, kBarThickness,
                            std::max(editor->Inner.h0, 0), 0, 1, 1,
                            Flag::BorderLess | Flag::Vertical, editorId);
  tk.root.OpenList = savedOpen;
  editor = FindElement(tk, editorId);
  Element* b = FindElement(tk, bar);
  if (editor == nullptr || b == nullptr) return;
  editor->Attached[0] = editorId;
  editor->Attached[1] = bar;
  b->Attached[0] = editorId;
  b->Attached[1] = bar;
  b->ArrowSize = kEditorArrowStep;
  // The editor has no tabs of its own: the bar shows wherever the editor shows.
  b->TabIndex = 0;
  HideElement(tk, bar, 1);
}

// Whether the editor's lines, measured in its font, are more than its text box shows.
bool LinesOverflow(Toolkit& tk, Element& editor) {
  if (editor.Text.find_first_of("\r\n") == std::string::npos) return false;
  const TextBox box = ElementTextBox(tk, editor);
  if (box.w <= 0 || box.h <= 0) return false;
  Painter& m = tk.platform.Measurer();
  const int saved = m.Font();
  m.SetFont(editor.FontID != 0 ? editor.FontID : tk.platform.Fonts().Default());
  const int lineHeight = std::max(m.TextHeight("A"), 1);
  const bool overflow =
      static_cast<int>(TextRowsOf(m, editor, box.w).size()) > std::max(box.h / lineHeight, 1);
  m.SetFont(saved);
  return overflow;
}

// The bar is made the first time the lines do not fit (a text set, the editor resized), so
// editors that never overflow add nothing to the element list; it stands along the right
// inner edge over the whole height.
void FitEditorBar(Toolkit& tk, Element& editor) {
  const int id = editor.ID;
  if (EditorBar(tk, editor) == nullptr && LinesOverflow(tk, editor)) AttachEditorBar(tk, id);
  Element* e = FindElement(tk, id);
  const Element* bar = e != nullptr ? EditorBar(tk, *e) : nullptr;
  if (bar == nullptr) return;
  ResizeElementById(tk, bar->ID, e->Inner.w0 - bar->Frame.w0, 0, kIgnore, e->Inner.h0);
}

std::string SetEditorText(Toolkit& tk, Element& editor, const std::string& text) {
  std::string previous = StoreElementText(editor, text);
  FitEditorBar(tk, editor);
  return previous;
}

// Before each paint: the rows of a multi-line text are wrapped into the text box, beside the
// bar when they do not fit in it; the bar shows just then. The first row shown stays within
// the text, a caret the user moved has its row brought into view, and the bar follows.
void LayoutEditor(Toolkit& tk, Element& editor, Painter& painter) {
  Element* bar = EditorBar(tk, editor);
  if (bar == nullptr) return;
  const TextBox box = ElementTextBox(tk, editor);
  const int lineHeight = std::max(painter.TextHeight("A"), 1);
  const int page = std::max(box.h / lineHeight, 1);
  const bool lines = HasAny(editor.Flags, Flag::Editable) && box.w > 0 && box.h > 0 &&
                     editor.Text.find_first_of("\r\n") != std::string::npos;
  // Rows are kept for one width: the width of the last paint is tried first, so an unchanged
  // text is not wrapped again.
  int rows = 0;
  bool show = false;
  if (lines) {
    auto count = [&](bool beside) {
      return static_cast<int>(
          TextRowsOf(painter, editor, box.w - (beside ? bar->Frame.w0 : 0)).size());
    };
    show = bar->Hidden == 0;
    rows = count(show);
    // Lines that fit beside the bar fit without it; lines that overflow the whole box
    // overflow beside the bar.
    if (show != (rows > page)) {
      show = !show;
      rows = count(show);
    }
  }
  if (show != (bar->Hidden == 0)) HideElement(tk, bar->ID, show ? 0 : 1);

  const int last = std::max(rows - page, 0);
  int first = std::clamp(editor.VScroll, 0, last);
  const int caret = editor.EditCaret;
  if (lines && caret >= 0 && caret != editor.TextRowsCaret) {
    const int row = RowOfCaret(editor.TextRows, caret);
    if (row < first) first = row;
    if (row >= first + page) first = row - page + 1;
  }
  editor.TextRowsCaret = caret;
  editor.VScroll = std::clamp(first, 0, last);

  if (bar->Max != std::max(rows, 1) || bar->PageLength != std::min(page, std::max(rows, 1)) ||
      bar->Value != editor.VScroll) {
    bar->Min = 0;
    bar->Max = std::max(rows, 1);
    bar->PageLength = std::min(page, bar->Max);
    bar->Value = editor.VScroll;
    RecomputeScrollBar(*bar);
    bar->Repaint = 1;
  }
  // The wheel turns the bar from where it stands now.
  bar->ScrollPos = bar->Value - bar->ScrollOffset;
}

}  // namespace

int Text(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
         Flags64 flags, int parentId, int64_t data) {
  return CreateInside(tk, ElementKind::Text, id, x, y, width, height, text, flags, parentId,
                      [&](int created) {
                        // Through the setter, so a multi-line Text carries its closing line
                        // feed from the start and wraps like any text set later.
                        SetElementText(tk, created, text);
                        // Only the data: the design selection of other elements is left alone.
                        if (data != 0) SetElementData(tk, created, data);
                      });
}

int String(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags, int parentId, int64_t data) {
  return CreateInside(tk, ElementKind::String, id, x, y, width, height, text, flags | kStringFlags,
                      parentId, [&](int created) {
                        // Setting the text again runs the setter's editable-kind work on it.
                        SetElementText(tk, created, text);
                        if (data != 0) SetElementData(tk, created, data);
                      });
}

int Editor(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags, int parentId) {
  return CreateInside(tk, ElementKind::Editor, id, x, y, width, height, text, flags | kEditorFlags,
                      parentId, [&](int created) { SetElementText(tk, created, text); });
}

int Container(Toolkit& tk, int id, int x, int y, int width, int height, Flags64 flags,
              int parentId) {
  return CreatePlain(tk, ElementKind::Container, id, x, y, width, height, "", flags, parentId);
}

int Button(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags, int parentId) {
  return CreatePlain(tk, ElementKind::Button, id, x, y, width, height, text, flags, parentId);
}

int CheckBox(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
             Flags64 flags, int parentId) {
  return CreatePlain(tk, ElementKind::CheckBox, id, x, y, width, height, text, flags, parentId);
}

int Option(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
           Flags64 flags, int parentId) {
  return CreatePlain(tk, ElementKind::Option, id, x, y, width, height, text, flags, parentId);
}

int Frame(Toolkit& tk, int id, int x, int y, int width, int height, const std::string& text,
          Flags64 flags, int parentId) {
  return CreatePlain(tk, ElementKind::Frame, id, x, y, width, height, text, flags, parentId);
}

namespace {

// The state of image kinds is the image they show.
double ImageState(Toolkit&, const Element& e, int) {
  return e.Image;
}

bool StoreImageState(Toolkit&, Element& e, double state) {
  e.Image = static_cast<int>(state);
  return true;
}

// A check box's state: 1 ticked, 0 clear, -1 in between (only when three states are allowed).
double CheckBoxState(Toolkit&, const Element& e, int) {
  return e.InBetween != 0 ? -1.0 : e.Checked;
}

bool StoreCheckBoxState(Toolkit&, Element& e, double state) {
  if (state == 0.0 || state == 1.0) {
    e.Checked = static_cast<int8_t>(state);
    e.InBetween = 0;
  } else if (state == -1.0 && e.ThreeStateAllowed != 0) {
    e.InBetween = 1;
    e.Checked = 0;
  }
  return true;
}

// Options of one group are exclusive: choosing one releases the others.
bool StoreOptionState(Toolkit& tk, Element& e, double state) {
  if (static_cast<int>(state) != 1) return true;
  for (const auto& other : tk.root.Elements) {
    if (other.get() != &e && other->Kind == ElementKind::Option && other->ParentID == e.ParentID &&
        other->OptionGroup == e.OptionGroup && other->StateIndex == 1)
      other->StateIndex = 0;
  }
  return true;
}

EventCode OptionStateEvent(const Element&, int) {
  return ElementEvent::LeftClick;
}

// A multi-line text keeps a final line feed after the program's text.
std::string SetTextText(Toolkit&, Element& e, const std::string& text) {
  return StoreElementText(e, HasAny(e.Flags, Flag::MultiLine) ? text + "\n" : text);
}

// A canvas item lands where the pointer was last seen, as a small raised box.
constexpr int kCanvasItemWidth = 21;
constexpr int kCanvasItemHeight = 24;

void PlaceCanvasItem(Toolkit& tk, Element& owner, Element& item) {
  item.BackgroundMode = Background::Gradient;
  item.Flags |= Flag::Border;
  owner.CurrentTab = 0;
  owner.StateIndex = 0;
  item.Frame.x0 = tk.root.MouseX - owner.Frame.x0;
  item.Frame.y0 = tk.root.MouseY - owner.Frame.y0;
  item.Frame.w0 = kCanvasItemWidth;
  item.Frame.h0 = kCanvasItemHeight;
}

// An editor's text goes in line by line, up to a block height; alignment bits of the editor
// move the first line down by the free space when the editor had no lines yet.
constexpr int kEditorMaxHeight = 225;
// Editor lines: the default item flags with the text on the left instead of centred.
constexpr Flags64 kEditorLineFlags = (Flag::DefaultItemFlags & ~Flag::Center) | Flag::Left;

int AddEditorLines(Toolkit& tk, Element& owner, int, const std::string& text, int image,
                   Flags64 flags) {
  BusyGuard busy(tk);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == text.size()) break;
    start = end + 1;
    if (start == text.size()) break;  // a final line feed ends the last line, no empty one
  }

  std::vector<int> heights;
  int total = 0;
  for (const std::string& line : lines) {
    const int h = ItemRowHeight(tk, owner, line, image);
    if (total + h > kEditorMaxHeight) break;
    total += h;
    heights.push_back(h);
  }

  if (owner.Items.empty()) {
    const int free = std::max(0, owner.Inner.h0 - total);
    if (HasAny(owner.Flags, Flag::VCenter)) {
      owner.RunY += free / 2;
    } else if (HasAny(owner.Flags, Flag::Bottom)) {
      owner.RunY += free;
    }
  }

  // Lines of text read from the left unless the caller asks otherwise.
  if (flags == 0) flags = kEditorLineFlags;
  const int id = owner.ID;
  int last = 0;
  for (size_t i = 0; i < heights.size(); ++i) {
    const int index = AddItem(tk, id, -1, lines[i], image, flags);
    if (index < 0) break;
    last = index;
  }
  return last;
}

// A Text's border and alignment follow from the flags asked for.
void TextCreated(Toolkit&, Element&, const KindDescriptor::CreationArgs&, Flags64& request) {
  constexpr Flags64 kAnyBorder =
      Flag::Border | Flag::Single | Flag::Raised | Flag::Flat | Flag::Double;
  if (!HasAny(request, kAnyBorder)) request |= Flag::BorderLess;
  request ^= Flag::AlignBit200;
}

// Consecutive options form one group, named after the first element of the run.
void OptionCreated(Toolkit& tk, Element& e, const KindDescriptor::CreationArgs&, Flags64&) {
  const int previous = PreviousSibling(tk, e.ID);
  const Element* p = FindElement(tk, previous);
  if (previous < 0 || p == nullptr) {
    e.OptionGroup = 0;
  } else if (p->Kind == ElementKind::Option) {
    e.OptionGroup = p->OptionGroup;
  } else {
    e.OptionGroup = previous;
  }
}

// An image element shows its text only while it has no image.
void ImageCreated(Toolkit& tk, Element& e, const KindDescriptor::CreationArgs&, Flags64&) {
  if (HoldsImage(tk.platform.Images(), e)) e.Text.clear();
}

}  // namespace

void RegisterSimpleKinds(Toolkit& tk) {
  // Creation defaults of the simple kinds and of the kinds without a file of their own.
  {
    constexpr int kFrameCaptionHeight = 10;
    constexpr int kPickerEdges = 11;
    auto& frame = tk.Kind(ElementKind::Frame).Defaults;
    frame.AddFlags = Flag::PassThrough;
    frame.CaptionHeight = kFrameCaptionHeight;
    frame.BackgroundMode = Background::None;
    frame.BackColor = kIgnore;
    frame.ImageNeedsText = true;
    auto& picker = tk.Kind(ElementKind::PositionPicker).Defaults;
    picker.BackgroundMode = Background::None;
    picker.BackColor = kIgnore;
    picker.ImageNeedsText = true;
    picker.PartItems = kPickerEdges;
    auto& grid = tk.Kind(ElementKind::PropertyList).Defaults;
    grid.ListBox = 1;
    auto& editor = tk.Kind(ElementKind::Editor).Defaults;
    editor.ListBox = 1;
    editor.AddFlags = Flag::MultiLine;
    auto& canvas = tk.Kind(ElementKind::Canvas).Defaults;
    canvas.CaptionHeight = 0;
    canvas.ListBox = -1;
    for (ElementKind kind : {ElementKind::ButtonImage, ElementKind::ImageButton}) {
      auto& d = tk.Kind(kind).Defaults;
      d.BackgroundMode = Background::Gradient;
      d.BackColor = kIgnore;
    }
    auto& button = tk.Kind(ElementKind::Button).Defaults;
    button.AddFlags = Flag::TextCentered;
    button.BackgroundMode = Background::Gradient;
    button.BackColor = kIgnore;
    button.ImageNeedsText = true;
    KindDescriptor& text = tk.Kind(ElementKind::Text);
    text.Defaults.ImageNeedsText = true;
    text.Defaults.BackColor = StartColor::Face;
    text.Defaults.RequestFlags = Flag::MultiLine;
    text.Created = &TextCreated;
    for (ElementKind kind : {ElementKind::CheckBox, ElementKind::Option}) {
      auto& d = tk.Kind(kind).Defaults;
      d.BackColor = kNoColor;
      d.BackgroundMode = Background::Transparent;
      d.ImageNeedsText = true;
      d.RequestFlags = Flag::BorderLess | Flag::Left | Flag::VCenter;
    }
    tk.Kind(ElementKind::Option).Created = &OptionCreated;
    auto& string = tk.Kind(ElementKind::String).Defaults;
    string.ImageNeedsText = true;
    string.FrameColor = StartColor::FieldFrame;
    KindDescriptor& image = tk.Kind(ElementKind::Image);
    image.Defaults.BackgroundMode = Background::Transparent;
    image.Defaults.BackColor = kIgnore;
    image.Created = &ImageCreated;
    tk.Kind(ElementKind::Container).Defaults.BackColor = StartColor::Face;
    tk.Kind(ElementKind::Container).ListHolder = KindDescriptor::ContainerList;
  }
  tk.Kind(ElementKind::String).Traits |= Trait::TakesText | Trait::CaretOnPress;
  tk.Kind(ElementKind::Editor).Traits |= Trait::TakesText | Trait::CaretOnPress;
  // The property grid's and the position picker's parts, until they have files of their own.
  tk.Kind(ElementKind::PropertyList).Traits |= Trait::TracksItems | Trait::ModuleAttributes;
  tk.Kind(ElementKind::PositionPicker).Traits |= Trait::PartItems;

  // Source text of the simple kinds and of the gadget kinds that have no file of their own:
  // which creation functions take the text, which take no flags, the values they pass after
  // the text, and the container's gadget list.
  {
    using Arg = KindDescriptor::CodeArg;
    for (ElementKind kind :
         {ElementKind::Button, ElementKind::String, ElementKind::Text, ElementKind::CheckBox,
          ElementKind::Option, ElementKind::Frame, ElementKind::HyperLink, ElementKind::Web,
          ElementKind::Date, ElementKind::ExplorerList, ElementKind::ExplorerTree,
          ElementKind::ExplorerCombo})
      tk.Kind(kind).Traits |= Trait::TextArgument;
    for (ElementKind kind : {ElementKind::Option, ElementKind::Web, ElementKind::IPAddress,
                             ElementKind::Scintilla, ElementKind::Shortcut})
      tk.Kind(kind).Traits |= Trait::NoFlagsArgument;
    tk.Kind(ElementKind::Image).CodeArgs = {Arg::ImageId};
    tk.Kind(ElementKind::ButtonImage).CodeArgs = {Arg::ImageId};
    tk.Kind(ElementKind::HyperLink).CodeArgs = {Arg::BackColor};
    tk.Kind(ElementKind::ProgressBar).CodeArgs = {Arg::Min, Arg::Max};
    tk.Kind(ElementKind::Date).CodeArgs = {Arg::DateValue};
    tk.Kind(ElementKind::Calendar).CodeArgs = {Arg::DateValue};
    tk.Kind(ElementKind::Scintilla).CodeArgs = {Arg::CallbackValue};
    tk.Kind(ElementKind::Shortcut).CodeArgs = {Arg::ShortcutValue};
    tk.Kind(ElementKind::Container).Nesting = KindDescriptor::CodeNesting::GadgetList;
    // A multi-line Text keeps a closing line feed for its word wrapping; the source has none.
    tk.Kind(ElementKind::Text).CodeText = [](const Element& e) -> std::string_view {
      std::string_view text = e.Text;
      if (HasAny(e.Flags, Flag::MultiLine) && !text.empty() && text.back() == '\n')
        text.remove_suffix(1);
      return text;
    };
  }
  // State, text and items of the simple kinds.
  for (ElementKind kind : {ElementKind::Image, ElementKind::ButtonImage}) {
    tk.Kind(kind).GetState = &ImageState;
    tk.Kind(kind).StoreState = &StoreImageState;
  }
  for (ElementKind kind : {ElementKind::Image, ElementKind::ButtonImage, ElementKind::ImageButton})
    tk.Kind(kind).CopyParams = &CopyImageParams;
  tk.Kind(ElementKind::CheckBox).GetState = &CheckBoxState;
  tk.Kind(ElementKind::CheckBox).StoreState = &StoreCheckBoxState;
  tk.Kind(ElementKind::Option).StoreState = &StoreOptionState;
  tk.Kind(ElementKind::Option).StateEvent = &OptionStateEvent;
  tk.Kind(ElementKind::Text).SetText = &SetTextText;
  tk.Kind(ElementKind::Canvas).PlaceItem = &PlaceCanvasItem;
  tk.Kind(ElementKind::Editor).AddItem = &AddEditorLines;
  tk.Kind(ElementKind::PositionPicker).OpenItems = &PressPickerPart;
  // Clicks on the two-state kinds.
  tk.Kind(ElementKind::CheckBox).Clicked = &ToggleCheck;
  tk.Kind(ElementKind::Option).Clicked = &ChooseOption;
  tk.Kind(ElementKind::Option).ClickFromState = true;
  // A container with an inner part set lets hits pass over it.
  tk.Kind(ElementKind::Container).Traits |= Trait::HollowWithParts;
  // ---- painting
  tk.Kind(ElementKind::Editor).PaintItems = &PaintEditorLines;
  tk.Kind(ElementKind::Editor).Layout = &LayoutEditor;
  tk.Kind(ElementKind::Editor).Resized = &FitEditorBar;
  tk.Kind(ElementKind::Editor).SetText = &SetEditorText;

  // ---- painting
  tk.Kind(ElementKind::CheckBox).PaintGlyph = &PaintCheckBoxGlyph;
  tk.Kind(ElementKind::Option).PaintGlyph = &PaintOptionGlyph;
  tk.Kind(ElementKind::CheckBox).Traits |= Trait::GlyphRadius;
  tk.Kind(ElementKind::Frame).Traits |= Trait::TitleOnBorder;
}

}  // namespace tk
