// The ToolBar kind: attaching the strip to a window, button and separator widths, the bar
// growing to its buttons, toggle states and tool tips.
#include "elements/toolbar.h"

#include <algorithm>

#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/window.h"
#include "render/paint.h"

namespace tk {
namespace {

constexpr int kSmallIcon = 16;
constexpr int kLargeIcon = 24;
constexpr int kSmallBar = 24;
constexpr int kLargeBar = 32;
constexpr int kIconPad = 6;
constexpr int kTextPad = 14;
constexpr int kInlineTextPad = 10;
constexpr int kTextBelowPad = 10;
constexpr int kSeparatorWidth = 3;
constexpr Flags64 kButtonFlags = Flag::DefaultItemFlags;
constexpr Flags64 kImageRightBit = 0x10000;
constexpr Flags64 kImageCentreBit = 0x40000;
constexpr Flags64 kImageVCentreBit = 0x80000;
constexpr Flags64 kTextVCentreBit = Flag::VCenter;
constexpr Flags64 kTextBottomBit = Flag::Bottom;
constexpr int kFlatStyle = 16;
// Style bits kept in the high flag word.
constexpr uint32_t kHighSmall = HighWord(Flag::Small), kHighLarge = HighWord(Flag::Large),
                   kHighInline = HighWord(Flag::InlineText);

bool IsToolBarElement(const Element* e) {
  return e != nullptr && e->Alive != 0 && e->Kind == ElementKind::ToolBar;
}

bool Inline(const Element& bar) {
  return (HighWord(bar.Flags) & kHighInline) != 0;
}

int IconSize(const Element& bar) {
  return (HighWord(bar.Flags) & kHighLarge) != 0 && (HighWord(bar.Flags) & kHighSmall) == 0
             ? kLargeIcon
             : kSmallIcon;
}

// Text under the icons: every icon centred along the top, so the icons of a bar line up,
// and each text centred along the bottom, as wide as its button.
void PlaceTextUnderIcons(Element& bar) {
  const bool anyText = std::any_of(bar.Items.begin(), bar.Items.end(),
                                   [](const auto& item) { return !item->Text.empty(); });
  if (Inline(bar) || !anyText) return;
  for (auto& item : bar.Items) {
    if (item->SeparatorCount != 0) continue;
    item->Flags &= ~(kImageRightBit | kImageVCentreBit | kTextVCentreBit);
    item->Flags |= kImageCentreBit | kTextBottomBit;
  }
}

Element* ButtonById(Element& bar, int button) {
  for (auto& item : bar.Items)
    if (item->ID == button) return item.get();
  return nullptr;
}

// A click on the button that was pressed posts its menu event.
void ChooseButton(Toolkit& tk, Element& bar, EventCode code, int, int index) {
  const Element* button = FindItem(bar, index);
  if (button != nullptr && code == ElementEvent::LeftClick && index == bar.PressedItem)
    PostElementEvent(tk, ElementEvent::MenuEvent, bar.ID, button->ID, 0);
}

// Toggled buttons stay lit while they are down.
void PaintButtons(Toolkit& tk, Element& bar, platform::Painter& painter) {
  StripStyle style;
  style.litWhileChecked = true;
  PaintStripItems(tk, painter, bar, style);
}

}  // namespace

int CreateToolBar(Toolkit& tk, int id, int window, int flags) {
  Root& root = tk.root;
  Element* w = FindElement(tk, window);
  if (w == nullptr || w->Kind != ElementKind::Window) return -1;

  if (flags == 0) flags = ToolBarStyle::SmallIcons | ToolBarStyle::InlineText;
  uint32_t high = 0;
  int height = 0;
  if (flags & ToolBarStyle::LargeIcons && !(flags & ToolBarStyle::SmallIcons)) {
    high |= kHighLarge;
    height = kLargeBar;
  } else {
    // Small icons, also when no size was asked for: a bar needs some height.
    high |= kHighSmall;
    height = kSmallBar;
  }
  uint32_t low = 0xCB800;
  if (flags & ToolBarStyle::InlineText) {
    low = 0xC7400;
    high |= kHighInline;
  }

  for (const auto& r : root.Elements) {
    if (r->Alive && r->Kind == ElementKind::ToolBar && r->ParentID == window) {
      root.LastToolBar = -1;
      return -1;
    }
  }
  BusyGuard busy(tk);
  const int bar = CreateInParent(tk, window, [&] {
    return AttachTopBar(tk, window, height, [&] {
      return CreateElement(tk, ElementKind::ToolBar, id, 0, -1, height, height, "", -1, -1, 0,
                           MakeFlags(low, high), -1);
    });
  });
  if (IsToolBarElement(FindElement(tk, bar))) root.LastToolBar = bar;
  return bar != 0 ? bar : -1;
}

int ToolBarButton(Toolkit& tk, int buttonId, int image, int mode, const std::string& text,
                  const std::string& toolTip) {
  Element* bar = FindElement(tk, tk.root.LastToolBar);
  if (!IsToolBarElement(bar)) return -1;
  BusyGuard busy(tk);
  const int barId = bar->ID;
  if (buttonId == -1) buttonId = kToolBarAnyButton;
  const int icon = IconSize(*bar);
  platform::ImageStore& images = tk.platform.Images();
  const bool separator = !images.IsImage(image) && text.empty() && image < 0;
  if (!separator && !images.IsImage(image)) image = tk.builtins.SmallIcon;
  if (images.IsImage(image) && icon == kLargeIcon &&
      (images.Width(image) != kLargeIcon || images.Height(image) != kLargeIcon))
    images.Resize(image, kLargeIcon, kLargeIcon);
  const bool hasImage = images.IsImage(image);

  // The next button starts where the last one ends.
  int nextX = 0;
  for (const auto& item : bar->Items)
    nextX = item->Frame.x0 + item->Frame.w0;
  const int barHeight = bar->Frame.h0;

  const int index = AddItem(tk, barId, -1, text, hasImage ? image : -1, kButtonFlags);
  bar = FindElement(tk, barId);
  if (!IsToolBarElement(bar) || index < 0) return -1;
  Element* item = FindItem(*bar, index);
  if (item == nullptr) return -1;
  // Routing finds items by position; the button's own id is what its events report.
  item->ID = buttonId;

  int height = barHeight;
  int tw = 0;
  if (!text.empty()) {
    platform::Painter& measurer = tk.platform.Measurer();
    const int previousFont = measurer.Font();
    measurer.SetFont(bar->FontID != 0 ? bar->FontID : tk.platform.Fonts().Default());
    const platform::TextSize size = measurer.MeasureText(text);
    measurer.SetFont(previousFont);
    tw = size.width + (Inline(*bar) ? kInlineTextPad : 0);
    // Text under the icons needs a taller bar.
    if (!Inline(*bar)) height = icon + size.height + kTextBelowPad;
  }
  int width;
  if (Inline(*bar))
    width = tw + (hasImage ? icon + kIconPad : 0);
  else
    width = !text.empty() ? tw + kTextPad : icon + kIconPad;
  // Adding counted an item without text or image as a separator; the count is redone here.
  if (item->SeparatorCount != 0 && bar->SeparatorCount > 0) --bar->SeparatorCount;
  item->SeparatorCount = 0;
  if (separator) {
    ++bar->SeparatorCount;
    item->SeparatorCount = 1;
    width = kSeparatorWidth;
  }
  // Text beside the icon reads from the icon on: the icon keeps to the left.
  if (Inline(*bar) && !text.empty()) item->Flags &= ~(kImageRightBit | kImageCentreBit);
  item->Frame.x0 = nextX;
  item->Frame.y0 = 0;
  item->Frame.w0 = width;
  item->BackgroundMode = kFlatStyle;
  item->BackColor = bar->BackColor;
  item->FrontColor = bar->FrontColor;
  item->FrameColor = bar->FrameColor;

  // The bar ends at its last button; every button is as high as the bar.
  ResizeElementById(tk, barId, kIgnore, kIgnore, nextX + width + 2 * bar->FrameWidth, height);
  bar = FindElement(tk, barId);
  if (!IsToolBarElement(bar)) return index;
  for (auto& b : bar->Items)
    b->Frame.h0 = bar->Inner.h0;
  PlaceTextUnderIcons(*bar);
  UpdateWindowStrip(tk, *bar);

  // The new button itself, whatever other buttons share its id (separators all do).
  if (Element* added = FindItem(*bar, index)) {
    if (mode == 0 || mode == 1) added->Checked = static_cast<int8_t>(mode);
    if (!toolTip.empty()) added->ToolTip = toolTip;
  }
  return index;
}

int ToolBarSeparator(Toolkit& tk) {
  return ToolBarButton(tk, kToolBarAnyButton, -1);
}

int SetToolBarButtonState(Toolkit& tk, int toolBar, int button, int state) {
  Element* bar = FindElement(tk, toolBar);
  if (!IsToolBarElement(bar)) return 0;
  Element* item = ButtonById(*bar, button);
  if (item == nullptr) return 0;
  const int previous = item->Checked;
  if (state == 0 || state == 1) {
    item->Checked = static_cast<int8_t>(state);
    bar->Repaint = 1;
  }
  return previous;
}

void ToolBarToolTip(Toolkit& tk, int toolBar, int button, const std::string& text) {
  Element* bar = FindElement(tk, toolBar);
  if (!IsToolBarElement(bar) || text.empty()) return;
  if (Element* item = ButtonById(*bar, button)) item->ToolTip = text;
}

namespace {

// A tool bar's look is fixed: flags asked for later are refused.
bool RefuseFlags(Toolkit&, Element&, Flags64&) {
  return false;
}

}  // namespace

void RegisterToolBar(Toolkit& tk) {
  // Creation: the bar sits in its window's tool strip.
  {
    KindDescriptor& d = tk.Kind(ElementKind::ToolBar);
    DeclareWindowBar(d, &Root::LastToolBar, &EventRecord::EventToolBar, &Element::ToolStripHeight);
    d.Defaults.DropFlags = Flag::Border;
  }
  tk.Kind(ElementKind::ToolBar).Traits |= Trait::ResizesToItems | Trait::TracksItems;
  // A tool bar takes no flags.
  tk.Kind(ElementKind::ToolBar).ApplyFlags = &RefuseFlags;
  // A pressed button stays the one that lights up while the button is held.
  tk.Kind(ElementKind::ToolBar).HoldsPressedItem = true;
  tk.Kind(ElementKind::ToolBar).Traits |= Trait::LeaveClearsHot;
  tk.Kind(ElementKind::ToolBar).ChooseItem = &ChooseButton;

  // ---- painting
  tk.Kind(ElementKind::ToolBar).PaintItems = &PaintButtons;
}

}  // namespace tk
