// Kind names, recognition words, offered flag constants and flag bits, kept as constant tables.
#include "codegen/vocabulary.h"

#include <algorithm>
#include <array>
#include <span>

#include "core/kind_names.h"
#include "core/lookup.h"

namespace tk {

namespace {

using Words = std::span<const std::string_view>;

// Flag words offered per kind. Some of them (ComboBox Image, Button Toggle, ListIcon
// GridLines ...) carry no toolkit bit: they are offered all the same so that the designer can
// still write them into generated source, where PureBasic gives them their meaning.
constexpr std::string_view kWindowFlags[] = {
    "SystemMenu", "MaximizeGadget", "MinimizeGadget", "Minimize",   "Maximize",
    "SizeGadget", "ScreenCentered", "WindowCentered", "BorderLess", "Invisible",
    "Normal",     "TitleBar",       "Tool",           "NoActivate", "NoGadgets"};
constexpr std::string_view kButtonFlags[] = {"MultiLine", "Default", "Toggle", "Left", "Right"};
constexpr std::string_view kStringFlags[] = {"Numeric",   "Password",  "ReadOnly",
                                             "LowerCase", "UpperCase", "BorderLess"};
constexpr std::string_view kTextFlags[] = {"Center", "Right", "Border"};
constexpr std::string_view kCheckBoxFlags[] = {"Right", "Center", "ThreeState"};
constexpr std::string_view kListViewFlags[] = {"Multiselect", "ClickSelect"};
constexpr std::string_view kFrameFlags[] = {"Single", "Double", "Flat"};
constexpr std::string_view kComboBoxFlags[] = {"Editable", "LowerCase", "UpperCase", "Image"};
constexpr std::string_view kImageFlags[] = {"Border", "Raised"};
constexpr std::string_view kHyperLinkFlags[] = {"Underline"};
constexpr std::string_view kContainerFlags[] = {"BorderLess", "Flat", "Raised", "Single", "Double"};
constexpr std::string_view kListIconFlags[] = {
    "CheckBoxes",    "ThreeState",     "MultiSelect",        "GridLines",
    "FullRowSelect", "HeaderDragDrop", "AlwaysShowSelection"};
constexpr std::string_view kProgressBarFlags[] = {"Smooth", "Vertical"};
constexpr std::string_view kScrollBarFlags[] = {"Vertical"};
constexpr std::string_view kScrollAreaFlags[] = {"Flat", "Raised", "Single", "BorderLess",
                                                 "Center"};
constexpr std::string_view kTrackBarFlags[] = {"Ticks", "Vertical"};
constexpr std::string_view kButtonImageFlags[] = {"Toggle"};
constexpr std::string_view kCalendarFlags[] = {"Borderless"};
constexpr std::string_view kDateFlags[] = {"UpDown"};
constexpr std::string_view kEditorFlags[] = {"ReadOnly", "WordWrap"};
constexpr std::string_view kExplorerListFlags[] = {"BorderLess",       "AlwaysShowSelection",
                                                   "MultiSelect",      "GridLines",
                                                   "HeaderDragDrop",   "FullRowSelect",
                                                   "NoFiles",          "NoFolders",
                                                   "NoParentFolder",   "NoDirectoryChange",
                                                   "NoDriveRequester", "NoSort",
                                                   "NoMyDocuments",    "AutoSort",
                                                   "HiddenFiles"};
constexpr std::string_view kTreeFlags[] = {"AlwaysShowSelection", "NoLines", "NoButtons",
                                           "CheckBoxes", "ThreeState"};
constexpr std::string_view kSplitterFlags[] = {"Vertical", "Separator", "FirstFixed",
                                               "SecondFixed"};
constexpr std::string_view kCanvasFlags[] = {"Border", "ClipMouse", "Keyboard", "DrawFocus"};

// A flag name and the bits that must all be set for FlagNames to write it.
struct NamedBits {
  std::string_view name;
  Flags64 mask;
};
using BitList = std::span<const NamedBits>;

constexpr NamedBits kWindowBits[] = {{"HelpGadget", Flag::HelpGadget},
                                     {"MinimizeGadget", Flag::MinimizeGadget},
                                     {"MaximizeGadget", Flag::MaximizeGadget},
                                     {"SystemMenu", Flag::SystemMenuBit},
                                     {"TitleBar", Flag::TitleBar},
                                     {"Tool", Flag::Tool},
                                     {"NoGadgets", Flag::NoGadgets},
                                     {"SizeGadget", Flag::SizeGadget},
                                     {"WindowCentered", Flag::WindowCentered},
                                     {"ScreenCentered", Flag::ScreenCentered},
                                     {"NoActivate", Flag::NoActivate},
                                     {"Invisible", Flag::Invisible},
                                     {"BorderLess", Flag::BorderLess}};
constexpr NamedBits kButtonBits[] = {
    {"Right", Flag::Right}, {"Left", Flag::Left}, {"MultiLine", Flag::MultiLine}};
constexpr NamedBits kStringBits[] = {
    {"Numeric", Flag::Numeric},     {"Password", Flag::Password},
    {"ReadOnly", Flag::ReadOnly},   {"LowerCase", Flag::LowerCase},
    {"UpperCase", Flag::UpperCase}, {"BorderLess", Flag::BorderLess}};
// Text and CheckBox are centred only with both alignment bits, not with Center alone.
constexpr NamedBits kTextBits[] = {
    {"Center", Flag::TextCentered}, {"Right", Flag::Right}, {"Border", Flag::Border}};
constexpr NamedBits kCheckBoxBits[] = {{"Center", Flag::TextCentered}, {"Right", Flag::Right}};
constexpr NamedBits kComboBoxBits[] = {
    {"Editable", Flag::Editable}, {"LowerCase", Flag::LowerCase}, {"UpperCase", Flag::UpperCase}};
constexpr NamedBits kImageBits[] = {{"Border", Flag::Border}, {"Raised", Flag::Raised}};
constexpr NamedBits kContainerBits[] = {{"BorderLess", Flag::BorderLess},
                                        {"Flat", Flag::Flat},
                                        {"Raised", Flag::Raised},
                                        {"Single", Flag::Single},
                                        {"Double", Flag::Double}};
// Kinds outside the table are tested against every generic bit, written without a prefix.
constexpr NamedBits kUnknownKindBits[] = {
    {"FirstFixed", Flag::FirstFixed}, {"SecondFixed", Flag::SecondFixed},
    {"Separator", Flag::Separator},   {"BorderLess", Flag::BorderLess},
    {"Border", Flag::Border},         {"Flat", Flag::Flat},
    {"Raised", Flag::Raised},         {"Single", Flag::Single},
    {"Double", Flag::Double},         {"Vertical", Flag::Vertical},
    {"InlineText", Flag::InlineText}, {"MultiLine", Flag::MultiLine},
    {"ReadOnly", Flag::ReadOnly},     {"Editable", Flag::Editable},
    {"Numeric", Flag::Numeric},       {"Password", Flag::Password},
    {"LowerCase", Flag::LowerCase},   {"UpperCase", Flag::UpperCase},
    {"Small", Flag::Small},           {"Large", Flag::Large}};

struct KindRow {
  int kind;
  std::string_view prefix;      // constant prefix used by FlagNames
  std::string_view listPrefix;  // prefix of the constants KindFlagList offers
  Words flags;                  // offered flag words
  BitList bits;                 // bits FlagNames tests
  // The offered list keeps a closing bar; whoever splits it skips the empty entry.
  bool closingBar = false;
};

constexpr int kFirstKind = -6;
constexpr int kLastKind = 34;

// One row per kind from -6 to 34, in kind order (checked below).
constexpr KindRow kKinds[] = {
    {-6, "#PB_PopupMenu_", "", {}, {}},
    {-5, "#PB_Desktop_", "", {}, {}},
    {-4, "#PB_StatusBar_", "", {}, {}},
    {-3, "#PB_Menu_", "", {}, {}},
    {-2, "#PB_Toolbar_", "", {}, {}},
    {-1, "#PB_Window_", "#PB_Window_", kWindowFlags, kWindowBits, true},
    {0, "#PB_Create_", "", {}, {}},
    {1, "#PB_Button_", "#PB_Button_", kButtonFlags, kButtonBits},
    {2, "#PB_String_", "#PB_String_", kStringFlags, kStringBits},
    {3, "#PB_Text_", "#PB_Text_", kTextFlags, kTextBits},
    {4, "#PB_CheckBox_", "#PB_CheckBox_", kCheckBoxFlags, kCheckBoxBits},
    {5, "", "", {}, {}},
    {6, "", "#PB_ListView_", kListViewFlags, {}},
    {7, "#PB_Frame_", "#PB_Frame_", kFrameFlags, {}},
    {8, "#PB_ComboBox_", "#PB_ComboBox_", kComboBoxFlags, kComboBoxBits},
    {9, "#PB_Image_", "#PB_Image_", kImageFlags, kImageBits},
    {10, "#PB_HyperLink_", "#PB_Hyperlink_", kHyperLinkFlags, {}},
    {11, "#PB_Container_", "#PB_Container_", kContainerFlags, kContainerBits},
    {12, "#PB_ListIcon_", "#PB_ListIcon_", kListIconFlags, {}},
    {13, "#PB_IPAddress_", "", {}, {}},
    {14, "#PB_ProgressBar_", "#PB_ProgressBar_", kProgressBarFlags, {}},
    {15, "#PB_ScrollBar_", "#PB_ScrollBar_", kScrollBarFlags, {}},
    {16, "#PB_ScrollArea_", "#PB_ScrollArea_", kScrollAreaFlags, {}},
    {17, "#PB_TrackBar_", "#PB_TrackBar_", kTrackBarFlags, {}},
    {18, "#PB_Web_", "", {}, {}},
    {19, "#PB_ButtonImage_", "#PB_Button_", kButtonImageFlags, {}},
    {20, "#PB_Calendar_", "#PB_Calendar_", kCalendarFlags, {}},
    {21, "#PB_Date_", "#PB_Date_", kDateFlags, {}},
    {22, "#PB_Editor_", "#PB_Editor_", kEditorFlags, {}},
    {23, "#PB_ExplorerList_", "#PB_Explorer_", kExplorerListFlags, {}},
    {24, "#PB_ExplorerTree_", "", {}, {}},
    {25, "#PB_ExplorerCombo_", "", {}, {}},
    {26, "#PB_Spin_", "", {}, {}},
    {27, "#PB_Tree_", "#PB_Tree_", kTreeFlags, {}},
    {28, "#PB_Panel_", "", {}, {}},
    {29, "#PB_Splitter_", "#PB_Splitter_", kSplitterFlags, {}},
    {30, "#PB_MDI_", "", {}, {}},
    {31, "#PB_Scintilla_", "", {}, {}},
    {32, "#PB_Shortcut_", "", {}, {}},
    {33, "#PB_Canvas_", "#PB_Canvas_", kCanvasFlags, {}},
    {34, "#PB_ImageButton_", "", {}, {}},
};

constexpr bool RowsInKindOrder() {
  int expected = kFirstKind;
  for (const KindRow& row : kKinds) {
    if (row.kind != expected++) return false;
  }
  return expected == kLastKind + 1;
}
static_assert(RowsInKindOrder(), "one kind row per kind, in order");

const KindRow* FindRow(int kind) {
  if (kind < kFirstKind || kind > kLastKind) return nullptr;
  return &kKinds[kind - kFirstKind];
}

// Recognition order: a word that contains another is tried before it (PopupMenu before
// Menu, ButtonImage before Image and Button, ExplorerTree before Tree).
struct KindWord {
  std::string_view word;
  int kind;
};
constexpr KindWord kKindWords[] = {
    {"Desktop", -5},      {"PopupMenu", -6},    {"Toolbar", -2},       {"Menu", -3},
    {"Status", -4},       {"Window", -1},       {"ButtonImage", 19},   {"String", 2},
    {"Text", 3},          {"CheckBox", 4},      {"Option", 5},         {"ListView", 6},
    {"Frame", 7},         {"ComboBox", 8},      {"Image", 9},          {"HyperLink", 10},
    {"Container", 11},    {"ListIcon", 12},     {"IPAddress", 13},     {"ProgressBar", 14},
    {"ScrollBar", 15},    {"ScrollArea", 16},   {"TrackBar", 17},      {"Web", 18},
    {"Button", 1},        {"Calendar", 20},     {"Date", 21},          {"Editor", 22},
    {"ExplorerList", 23}, {"ExplorerTree", 24}, {"ExplorerCombo", 25}, {"Spin", 26},
    {"Tree", 27},         {"Panel", 28},        {"Splitter", 29},      {"MDI", 30},
    {"Scintilla", 31},    {"Shortcut", 32},     {"Canvas", 33}};

// Flag words in recognition order. Words with value 0 are recognised but carry no toolkit
// bit; they still stop the search (Minimize must not fall through to a later word).
struct FlagWord {
  std::string_view word;
  Flags64 value;
};
constexpr std::string_view kBorderWord = "Border";
constexpr std::string_view kTextBorderConstant = "#PB_Text_Border";
constexpr FlagWord kFlagWords[] = {
    {"SystemMenu", Flag::SystemMenu},
    {"MaximizeGadget", Flag::MaximizeGadget},
    {"MinimizeGadget", Flag::MinimizeGadget},
    {"Minimize", 0},
    {"Maximize", 0},
    {"SizeGadget", Flag::SizeGadget},
    {"ScreenCentered", Flag::ScreenCentered},
    {"WindowCentered", Flag::WindowCentered},
    {"BorderLess", Flag::BorderLess},
    {kBorderWord, Flag::Border},  // "#PB_Text_Border" itself is answered apart
    {"Flat", Flag::Flat},
    {"Raised", Flag::Raised},
    {"Single", Flag::Single},
    {"Double", Flag::Double},
    {"Invisible", Flag::Invisible},
    {"Normal", 0},
    {"TitleBar", Flag::TitleBar},
    {"Tool", Flag::Tool},
    {"NoActivate", Flag::NoActivate},
    {"NoGadgets", Flag::NoGadgets},
    {"MultiLine", Flag::MultiLine},
    {"Default", 0},
    {"Toggle", 0},
    {"Numeric", Flag::Numeric},
    {"Password", Flag::Password},
    {"LowerCase", Flag::LowerCase},
    {"UpperCase", Flag::UpperCase},
    {"Left", Flag::Left},
    {"Right", Flag::Right},
    {"Center", Flag::Center},
    {"Editable", Flag::Editable},
    {"Image", 0},
    {"Underline", 0},
    {"GridLines", 0},
    {"Smooth", 0},
    {"Ticks", 0},
    {"UpDown", 0},
    {"ReadOnly", Flag::ReadOnly},
    {"WordWrap", 0},
    {"ClickSelect", 0},
    {"MultiSelect", 0},
    {"HeaderDragDrop", 0},
    {"FullRowSelect", 0},
    {"NoFiles", 0},
    {"NoFolders", 0},
    {"NoParentFolder", 0},
    {"NoDirectoryChange", 0},
    {"NoDriveRequester", 0},
    {"NoSort", 0},
    {"NoMyDocuments", 0},
    {"AutoSort", 0},
    {"HiddenFiles", 0},
    {"AlwaysShowSelection", 0},
    {"NoLines", 0},
    {"NoButtons", 0},
    {"CheckBoxes", Flag::CheckBoxes},
    {"ThreeState", Flag::ThreeState},
    {"Vertical", Flag::Vertical},
    {"Separator", Flag::Separator},
    {"FirstFixed", Flag::FirstFixed},
    {"SecondFixed", Flag::SecondFixed},
    {"ClipMouse", 0},
    {"Keyboard", 0},
    {"DrawFocus", 0}};

constexpr char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldAscii(x) == FoldAscii(y);
         });
}

Element* LiveElement(Toolkit& tk, int id) {
  Element* e = FindElement(tk, id);
  return (e != nullptr && e->Alive) ? e : nullptr;
}

void AddEntry(std::string& list, std::string_view text) {
  if (text.empty()) {
    list.clear();
    return;
  }
  if (ContainsNoCase(list, text)) return;
  list += '|';
  list += text;
}

}  // namespace

bool ContainsNoCase(std::string_view text, std::string_view word) {
  auto it = std::search(text.begin(), text.end(), word.begin(), word.end(),
                        [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
  return it != text.end() || word.empty();
}

std::string_view TrimBars(std::string_view text) {
  size_t first = text.find_first_not_of('|');
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of('|');
  return text.substr(first, last - first + 1);
}

std::string KindName(int kind) {
  return std::string(KindNameOf(kind));
}

std::string KindName(ElementKind kind) {
  return KindName(KindValue(kind));
}

int KindFromText(std::string_view text) {
  for (const KindWord& w : kKindWords) {
    if (ContainsNoCase(text, w.word)) return w.kind;
  }
  return 0;
}

std::string KindFlagList(int kind) {
  const KindRow* row = FindRow(kind);
  if (!row) return {};
  std::string out;
  for (std::string_view flag : row->flags) {
    if (!out.empty()) out += '|';
    out += row->listPrefix;
    out += flag;
  }
  if (row->closingBar) out += '|';
  return out;
}

uint64_t FlagValue(std::string_view text) {
  for (const FlagWord& f : kFlagWords) {
    if (!ContainsNoCase(text, f.word)) continue;
    // The Text border is a different bit from every other border, but only the bare
    // constant selects it (PureBasic constants ignore case, so the comparison does too).
    if (f.word == kBorderWord && EqualsNoCase(text, kTextBorderConstant)) return Flag::TextBorder;
    return f.value;
  }
  return 0;
}

std::string FlagNames(uint64_t flags, int kind) {
  const KindRow* row = FindRow(kind);
  std::string_view prefix = row ? row->prefix : std::string_view();
  BitList bits = row ? row->bits : BitList(kUnknownKindBits);
  std::string out;
  for (const NamedBits& b : bits) {
    if (!HasAll(flags, b.mask)) continue;
    out += '|';
    out += prefix;
    out += b.name;
  }
  return std::string(TrimBars(out));
}

void SetElementName(Toolkit& tk, int id, std::string_view name) {
  if (Element* e = LiveElement(tk, id)) e->Name = name;
}

std::string GetElementName(Toolkit& tk, int id) {
  const Element* e = LiveElement(tk, id);
  return e ? e->Name : std::string();
}

void AddElementFlag(Toolkit& tk, int id, std::string_view text) {
  if (Element* e = LiveElement(tk, id)) AddEntry(e->FlagList, text);
}

std::string GetElementFlagText(Toolkit& tk, int id) {
  const Element* e = LiveElement(tk, id);
  return e ? std::string(TrimBars(e->FlagList)) : std::string();
}

void AddElementEvent(Toolkit& tk, int id, std::string_view text) {
  if (Element* e = LiveElement(tk, id)) AddEntry(e->EventList, text);
}

std::string GetElementEventText(Toolkit& tk, int id) {
  const Element* e = LiveElement(tk, id);
  return e ? std::string(TrimBars(e->EventList)) : std::string();
}

}  // namespace tk
