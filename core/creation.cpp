// Generic element creation: allocation, id and name, defaults per kind, linking into the tree,
// flags, geometry and the creation event.
#include "core/creation.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <new>
#include <string>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/items.h"
#include "core/kind_names.h"
#include "core/lookup.h"
#include "core/tree.h"

namespace tk {
namespace {

// A window created without a position is cascaded this far from the active window.
constexpr int kCascadeStep = 30;

// Automatically chosen ids: even values in [kAutoIdFirst, kAutoIdLast].
constexpr int kAutoIdFirst = 0x40000000;
constexpr int kAutoIdLast = INT_MAX - 1;

// Flag bits without a vocabulary word that creation adds.
constexpr Flags64 kCentredText = 0x3000;       // text kinds: centred both ways
constexpr Flags64 kVCentredText = 0x2000;      // check boxes and options: vertically centred
constexpr Flags64 kTextAlignInvert = 0x200;    // a Text's alignment bit, inverted at creation
constexpr Flags64 kPartItemFlags = 0x40C0000;  // the built-in parts of spins and kind 38

// Background colours of the kinds.
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kFaceColor = 0xF0F0F0;
constexpr Color kTrackColor = 0xF2F2F2;
constexpr Color kFieldFrameColor = 0x858585;
constexpr Color kWindowColor = 0xF2F2F2;
constexpr Color kDesktopColor = 0xF9F9F9;
constexpr Color kPopupColor = 0xF3F3F3;

constexpr int kScrollButtonSize = 17;
constexpr int kTrackButtonSize = 5;
constexpr int kScrollArrowSize = 3;
constexpr int kFrameCaptionHeight = 10;
constexpr int kPanelCaptionHeight = 25;
constexpr int kDropButtonWidth = 16;
constexpr int kMaxSpinDecimals = 127;

// Picks the next free automatic id: even, large, and not yet in the id table.
int ChooseAutoId(Root& root) {
  int id = root.NextAutoId;
  if (id < kAutoIdFirst || id > kAutoIdLast || (id & 1) != 0) id = kAutoIdFirst;
  while (root.IDToAddress.count(id) != 0) {
    id = id >= kAutoIdLast - 1 ? kAutoIdFirst : id + 2;
  }
  root.NextAutoId = id >= kAutoIdLast - 1 ? kAutoIdFirst : id + 2;
  return id;
}

// The tab of the nearest panel above `startId`: elements created on a later tab start hidden.
int PanelTabAbove(Toolkit& tk, int startId) {
  Element* p = FindElement(tk, startId);
  // The chain is bounded by the number of records, so a corrupt cycle cannot hang us.
  size_t steps = tk.root.Elements.size() + 1;
  while (p != nullptr && steps-- > 0) {
    if (p->Kind == ElementKind::Panel) return p->CurrentTab;
    p = FindElement(tk, p->ParentID);
  }
  return 0;
}

// Ordinal for the name: earlier elements of the same kind in the open list on the same tab.
int SameKindOrdinal(Toolkit& tk, ElementKind kind, int tab) {
  const Element* list = FindElement(tk, tk.root.OpenList);
  if (list == nullptr) return 0;
  int start = IndexOf(tk.root, list);
  if (start < 0) return 0;
  int count = 0;
  const auto& all = tk.root.Elements;
  for (size_t i = static_cast<size_t>(start) + 1; i < all.size(); ++i) {
    const Element& r = *all[i];
    if (r.Alive && r.Kind == kind && r.ParentID == tk.root.OpenList && r.TabIndex == tab) ++count;
  }
  return count;
}

int Snap(int value, int grid) {
  return grid == 0 ? value : grid * (value / grid);
}

// Numeric value of the leading number in a text; 0 when there is none.
float ParseLeadingFloat(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
    ++i;
  if (i < s.size() && s[i] == '+') ++i;
  float value = 0;
  auto result = std::from_chars(s.data() + i, s.data() + s.size(), value);
  return result.ec == std::errc() ? value : 0.0f;
}

// Digits between the first "." and the next "." or the end.
int DecimalsOf(std::string_view s) {
  size_t dot = s.find('.');
  if (dot == std::string_view::npos) return 0;
  size_t next = s.find('.', dot + 1);
  size_t end = next == std::string_view::npos ? s.size() : next;
  return static_cast<int>(std::min<size_t>(end - dot - 1, kMaxSpinDecimals));
}

void ClearImageWhenTextEmpty(Element& e) {
  if (e.Text.empty()) e.Image = -1;
}

// Kind defaults. Some kinds change the flag request handed to the flag procedure (`request`)
// rather than the stored Flags.
void ApplyKindDefaults(Toolkit& tk, Element& e, int param1, int param2, int param3,
                       Flags64& request, std::string_view stepText) {
  const Flags64 asked = request;
  switch (e.Kind) {
    case ElementKind::Frame:
      e.Flags |= Flag::PassThrough;
      e.CaptionHeight = kFrameCaptionHeight;
      e.BackgroundMode = Background::None;
      ClearImageWhenTextEmpty(e);
      break;
    case ElementKind::PositionPicker:
      e.BackgroundMode = Background::None;
      ClearImageWhenTextEmpty(e);
      for (int i = 0; i < 11; ++i)
        AddItem(tk, e.ID, -1, "", -1, kPartItemFlags);
      break;
    case ElementKind::Splitter:
      e.Gadget1 = param1;
      e.Gadget2 = param2;
      e.BackgroundMode = Background::None;
      e.FirstFixed = HasAny(asked, Flag::FirstFixed) ? 1 : 0;
      e.SecondFixed = HasAny(asked, Flag::SecondFixed) ? 1 : 0;
      break;
    case ElementKind::ScrollArea:
      e.ButtonSize = kScrollButtonSize;
      e.BackgroundMode = Background::Plain;
      e.BackColor = kFaceColor;
      e.Min = param1;
      e.Max = param2;
      e.PageLength = param3;
      e.Vertical = HasAny(asked, Flag::Vertical) ? 1 : 0;
      break;
    case ElementKind::ScrollBar:
    case ElementKind::TrackBar:
      e.ButtonSize = e.Kind == ElementKind::ScrollBar ? kScrollButtonSize : kTrackButtonSize;
      e.Image = -1;
      e.Text.clear();
      e.Min = param1;
      e.Max = param2;
      e.PageLength = param3;
      e.BackColor = kTrackColor;
      e.FrameColor = kFieldFrameColor;
      e.BackgroundMode = Background::Plain;
      e.Vertical = HasAny(asked, Flag::Vertical) ? 1 : 0;
      if (e.Kind == ElementKind::ScrollBar) e.ArrowSize = kScrollArrowSize;
      break;
    case ElementKind::Spin:
      e.Image = -1;
      e.BackColor = kWhite;
      e.FrameColor = kFieldFrameColor;
      e.BackgroundMode = Background::Plain;
      e.SpinMin = static_cast<float>(param1);
      e.SpinMax = static_cast<float>(param2);
      if (!stepText.empty()) {
        e.SpinStep = ParseLeadingFloat(stepText);
        e.SpinDecimals = static_cast<int8_t>(DecimalsOf(stepText));
      }
      if (HasAny(asked, Flag::Numeric)) e.Text = FormatFixed(0.0, e.SpinDecimals);
      if (!HasAny(asked, Flag::ReadOnly)) e.Flags |= Flag::Editable;
      e.ItemWidth = kDropButtonWidth;
      AddItem(tk, e.ID, -1, "", -1, kPartItemFlags);
      AddItem(tk, e.ID, -1, "", -1, kPartItemFlags);
      break;
    case ElementKind::ComboBox:
      e.ListBox = 1;
      if (HasAny(e.Flags, Flag::Editable)) {
        e.BackColor = kWhite;
        e.BackgroundMode = Background::Plain;
      } else {
        e.BackColor = kNoColor;
        e.BackgroundMode = Background::Gradient;
      }
      e.ItemWidth = kDropButtonWidth;
      e.Flags |= kCentredText | Flag::Left;
      break;
    case ElementKind::PropertyList:
      e.BackgroundMode = Background::Plain;
      e.BackColor = kWhite;
      e.ListBox = 1;
      break;
    case ElementKind::ListView:
    case ElementKind::ListIcon:
      e.BackColor = kWhite;
      e.ListBox = 1;
      e.BackgroundMode = Background::Plain;
      break;
    case ElementKind::Editor:
      e.BackColor = kWhite;
      e.ListBox = 1;
      e.BackgroundMode = Background::Plain;
      e.Flags |= Flag::MultiLine;
      break;
    case ElementKind::PopupMenu:
      e.FrameWidth = 1;
      e.Hidden = 1;
      e.BackColor = kPopupColor;
      e.ListBox = 1;
      e.BackgroundMode = Background::Plain;
      break;
    case ElementKind::Menu:
    case ElementKind::ToolBar:
      e.Flags &= ~Flag::Border;
      e.BackgroundMode = Background::None;
      e.ListBox = 0;
      break;
    case ElementKind::StatusBar:
      e.BackgroundMode = Background::None;
      e.ListBox = 0;
      break;
    case ElementKind::Canvas:
      e.CaptionHeight = 0;
      e.BackgroundMode = Background::Plain;
      e.BackColor = kWhite;
      e.ListBox = -1;
      break;
    case ElementKind::Panel:
      e.FrameWidth = 1;
      e.CaptionHeight = kPanelCaptionHeight;
      e.BackgroundMode = Background::Plain;
      e.BackColor = kWhite;
      e.ListBox = 0;
      break;
    case ElementKind::Window:
      e.BackgroundMode = Background::Plain;
      e.BackColor = kWindowColor;
      e.Image = param1;
      e.Image2 = param2;
      e.Param3 = param3;
      // A window asked for without flags, or placed by the designer, gets a close button.
      if (request == 0 || (HighWord(request) & 0x80000000u) != 0) request |= Flag::SystemMenu;
      break;
    case ElementKind::Desktop:
      if (HasAny(e.Flags, Flag::Border)) e.FrameWidth = 0;
      e.BackgroundMode = Background::Plain;
      e.BackColor = kDesktopColor;
      e.Param3 = param3;
      break;
    case ElementKind::ButtonImage:
    case ElementKind::ImageButton:
      e.Image = param1;
      e.BackgroundMode = Background::Gradient;
      break;
    case ElementKind::Button:
      e.Flags |= kCentredText;
      e.BackgroundMode = Background::Gradient;
      ClearImageWhenTextEmpty(e);
      break;
    case ElementKind::Text: {
      ClearImageWhenTextEmpty(e);
      e.BackgroundMode = Background::Plain;
      e.BackColor = kFaceColor;
      request |= Flag::MultiLine;
      constexpr Flags64 kAnyBorder =
          Flag::Border | Flag::Single | Flag::Raised | Flag::Flat | Flag::Double;
      if (!HasAny(request, kAnyBorder)) request |= Flag::BorderLess;
      request ^= kTextAlignInvert;
      break;
    }
    case ElementKind::CheckBox:
    case ElementKind::Option:
      e.BackColor = kNoColor;
      e.BackgroundMode = Background::Transparent;
      ClearImageWhenTextEmpty(e);
      request |= Flag::BorderLess | Flag::Left | kVCentredText;
      if (e.Kind == ElementKind::Option) {
        // Consecutive options form one group, named after the first element of the run.
        int previous = PreviousSibling(tk, e.ID);
        const Element* p = FindElement(tk, previous);
        if (previous < 0 || p == nullptr) {
          e.OptionGroup = 0;
        } else if (p->Kind == ElementKind::Option) {
          e.OptionGroup = p->OptionGroup;
        } else {
          e.OptionGroup = previous;
        }
      }
      break;
    case ElementKind::String:
      ClearImageWhenTextEmpty(e);
      e.BackgroundMode = Background::Plain;
      e.BackColor = kWhite;
      e.FrameColor = kFieldFrameColor;
      break;
    case ElementKind::Image:
      e.BackgroundMode = Background::Transparent;
      if (tk.platform.Images().IsImage(e.Image)) e.Text.clear();
      break;
    case ElementKind::Container:
      e.BackgroundMode = Background::Plain;
      e.BackColor = kFaceColor;
      break;
    default:
      e.BackgroundMode = Background::Plain;
      e.BackColor = kWhite;
      break;
  }
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
  char buf[320];
  auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return "0";
  return std::string(buf, result.ptr);
}

int CreateElement(Toolkit& tk, ElementKind kind, int id, int x, int y, int width, int height,
                  std::string_view text, int param1, int param2, int param3, Flags64 flags,
                  int parentId, std::string_view stepText) {
  // Handlers run inside (flags, activation, the creation event); records they free stay
  // readable until we return.
  BusyGuard busy(tk);
  Root& root = tk.root;

  // The record goes before the one at position `id` when such a position exists.
  std::unique_ptr<Element> record;
  try {
    record = std::make_unique<Element>();
  } catch (const std::bad_alloc&) {
    return 0;
  }
  Element& e = *record;
  const int count = static_cast<int>(root.Elements.size());
  const bool hadRecords = count > 0;
  if (id >= 0 && id <= count - 1) {
    root.Elements.insert(root.Elements.begin() + id, std::move(record));
  } else {
    root.Elements.push_back(std::move(record));
  }

  if (id == -1) id = ChooseAutoId(root);
  e.ID = id;
  e.Serial = root.NextSerial++;

  if (hadRecords && FindElement(tk, parentId) != nullptr) root.OpenList = parentId;

  // A duplicate id is not refused: the table then names the newest record.
  root.AddressToID[&e] = id;
  root.IDToAddress[id] = &e;

  // The tab the element lands on; also what its name is counted against, so that elements
  // inside a container on a later panel tab are numbered among themselves.
  const int tab = PanelTabAbove(tk, root.OpenList);
  e.Name = std::string(KindNameOf(kind)) + "_" + std::to_string(SameKindOrdinal(tk, kind, tab));

  if (x == kIgnore) x = ElementX(tk, root.ActiveWindow, CoordMode::Parent) + kCascadeStep;
  if (y == kIgnore) y = ElementY(tk, root.ActiveWindow, CoordMode::Parent) + kCascadeStep;

  std::string caption(text);
  if (HasAll(flags, Flag::DesignerPlaced)) {
    caption = e.Name;
    e.Named = 1;
    const Element* list = FindElement(tk, root.OpenList);
    if (list != nullptr && list->Named == 1 && !list->Name.empty()) {
      e.Name = list->Name + "_" + e.Name;
    }
    root.DesignedElement = id;
    const int grid = tk.dispatch.GridStep;
    const int inset = list != nullptr && list->Kind == ElementKind::Window ? 3 : 4;
    x = Snap(x, grid) - inset;
    y = Snap(y, grid) - inset;
    if (kind == ElementKind::Window) {
      height = Snap(height, grid) - 1;
      width = Snap(width, grid);
    } else {
      height = Snap(height, grid) + 2;
      width = Snap(width, grid) + 2;
    }
  }

  switch (kind) {
    case ElementKind::Menu:
      root.LastMenu = id;
      break;
    case ElementKind::ToolBar:
      root.LastToolBar = id;
      break;
    case ElementKind::StatusBar:
      root.LastStatusBar = id;
      break;
    case ElementKind::PopupMenu:
      root.LastMenu = id;
      root.LastPopupMenu = id;
      break;
    case ElementKind::Window:
      root.LastElement = id;
      root.LastWindow = id;
      e.CaptionHeight = root.CaptionHeightDefault;
      break;
    default:
      root.LastGadget = id;
      root.LastElement = id;
      break;
  }

  // Generic defaults (the record's own initialisers give the rest).
  e.Kind = kind;
  e.FontID = tk.platform.Fonts().Default();
  e.Image = param1;
  e.Image2 = param2;
  e.Param3 = -1;
  e.Flags |= flags;
  e.Alive = 1;
  e.Repaint = 1;
  e.TabIndex = 0;

  AddChildCount(tk, root.OpenList, 1);

  if (tab != 0) {
    e.Hidden = 1;
    e.TabIndex = tab;
  }

  e.WindowID = root.CurrentWindow;
  e.ParentID = root.OpenList;

  if (HasAny(flags, Flag::Invisible)) {
    e.HiddenOwn = 1;
    e.Hidden = 1;
  }

  OpenList(tk, id, tab);
  e.Text = std::move(caption);

  Flags64 request = flags;
  ApplyKindDefaults(tk, e, param1, param2, param3, request, stepText);
  if (!e.Alive) return id;

  if (id != 0) {
    SetElementFlags(tk, id, request);
    if (!e.Alive) return id;
  }

  // Bring the blocks in line with the border chosen by the flags before placing, so a
  // position equal to the zero-filled frame still gets its inner rectangle.
  SetElementX(tk, e, e.Frame.x0);
  SetElementY(tk, e, e.Frame.y0);
  ResizeElement(tk, e, x, y, width, height, CoordMode::Parent);
  if (!e.Alive) return id;

  if (kind == ElementKind::Splitter) {
    AddItem(tk, id, -1, std::to_string(e.Gadget1));
    AddItem(tk, id, -1, std::to_string(e.Gadget2));
  }

  if (kind == ElementKind::Window) {
    ActivateElement(tk, id);
    FocusWindow(tk, id);
  }

  PostElementEvent(tk, ElementEvent::Created, id, -1, 0);
  return id;
}

}  // namespace tk
