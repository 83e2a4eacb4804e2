// The Window kind: turning a client size and flags into a framed, captioned element, and
// laying out and painting its caption item and caption buttons.
#include "elements/window.h"

#include <vector>

#include "core/attributes.h"
#include "core/builtin_images.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/kind.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "render/host.h"
#include "render/paint.h"

namespace tk {
namespace {

// Border widths chosen by the flags.
constexpr int kFlatFrame = 1;
constexpr int kDoubleFrame = 2;
constexpr int kSizeGadgetFrame = 4;

// Caption-button geometry, relative to the window's caption origin.
constexpr int kButtonWidth = 32;
constexpr int kButtonHeight = 18;
constexpr int kButtonMargin = 5;  // gap between the right edge and the button group
constexpr int kCaptionTop = -1;   // caption parts start one pixel above the origin

// Caption buttons centre their glyph both ways and paint no background of their own: the
// hot box below is their only fill.
constexpr Flags64 kButtonFlags = 0xC0000;
constexpr Color kCloseHotColor = 0x5353FF;  // RGB (255, 83, 83)

// Caption look: normal, or the active look of the focused (or designed) window.
constexpr int kCaptionNormal = 1;
constexpr int kCaptionActive = 2;

int FrameWidthFor(Flags64 flags) {
  int width = 0;
  if (HasAny(flags, Flag::Flat)) width = kFlatFrame;
  if (HasAny(flags, Flag::Double | Flag::Raised)) width = kDoubleFrame;
  if (HasAny(flags, Flag::SizeGadget)) width = kSizeGadgetFrame;
  return width;
}

}  // namespace

int Window(Toolkit& tk, int id, int x, int y, int innerWidth, int innerHeight,
           const std::string& title, Flags64 flags, int parentId) {
  Root& root = tk.root;
  // The first window brings up the host surface and the desktop along with itself.
  if (root.Elements.empty()) {
    return OpenHost(tk, id, x, y, innerWidth, innerHeight, title, flags);
  }

  // A new window never lands inside a container that happens to be open. Each call closes
  // one list, so the number of records bounds the loop.
  for (size_t guard = root.Elements.size() + 1; guard > 0 && CloseList(tk) != -1; --guard) {
  }

  const Element* parent = FindElement(tk, parentId);
  if (parent != nullptr) OpenList(tk, parentId);

  if (flags == 0) flags = Flag::SystemMenu;

  if (HasAny(flags, Flag::ScreenCentered)) {
    x = (ElementWidth(tk, 0) - innerWidth) / 2;
    y = (ElementHeight(tk, 0) - innerHeight) / 2;
  } else if (HasAny(flags, Flag::WindowCentered) && parent != nullptr) {
    x = (ElementWidth(tk, parentId) - innerWidth) / 2;
    y = (ElementHeight(tk, parentId) - innerHeight) / 2;
  }

  const int frame = FrameWidthFor(flags);
  const int width = innerWidth + 2 * frame + 2;
  const int height = innerHeight + root.CaptionHeightDefault + 2 * frame + 2;
  return CreateElement(tk, ElementKind::Window, id, x, y, width, height, title, -1, -1, -1, flags,
                       -1);
}

void PaintWindowItems(Toolkit& tk, Element& window, platform::Painter& painter) {
  if (window.Items.empty()) return;
  const Root& root = tk.root;
  const int ox = window.Inner.x0;
  const int oy = window.Frame.y0 + window.FrameWidth;
  int used = 0;
  int margin = 0;

  // Indexed walk: the list is re-read every step, so nothing dangles if it changes.
  for (size_t i = 0; i < window.Items.size(); ++i) {
    Element& item = *window.Items[i];
    if (i == 0) {
      item.FrameWidth = 0;
      item.Frame.y0 = kCaptionTop;
      item.Frame.w0 = window.Inner.w0;
      if (window.CaptionHeight != 0) item.CaptionHeight = window.CaptionHeight;
      if (window.BackColor != 0) item.BackColor = window.BackColor;
      if (window.FrontColor != 0) item.FrontColor = window.FrontColor;
      const bool current = window.ID == root.ActiveWindow || window.ID == root.DesignedElement;
      item.RepaintFlags = window.Disabled == 0 && current ? kCaptionActive : kCaptionNormal;
    } else {
      margin = kButtonMargin;
      item.FrameWidth = 0;
      item.Frame.y0 = kCaptionTop;
      item.Frame.w0 = kButtonWidth;
      item.Frame.h0 = kButtonHeight;
      item.Flags |= kButtonFlags;
      item.BackgroundMode = Background::None;
      const Color hot =
          KindValue(item.Kind) == CaptionButton::Close ? kCloseHotColor : item.HotBackColor;
      // The box uses the x of the previous pass: the hot index comes from what the pointer
      // hit in the last picture, so the highlight lands where that button was drawn.
      if (item.Index == window.HotItem && item.Disabled == 0) {
        painter.SetMode(platform::DrawMode::Default);
        painter.Box(ox + item.Frame.x0 + 1, oy + item.Frame.y0 + 1, item.Frame.w0 - 2,
                    item.Frame.h0 - 2, hot);
      }
      // Neighbours overlap by one pixel so their borders coincide.
      used += item.Frame.w0 - 1;
      item.Frame.x0 = window.Inner.w0 - used - margin;
      window.RunX = item.Frame.x0;
    }
    PaintElement(tk, painter, window, item, ox, oy);
  }
}

int AttachTopBar(Toolkit& tk, int window, int height, const std::function<int()>& create) {
  Element* w = FindElement(tk, window);
  if (w == nullptr || w->Kind != ElementKind::Window) return 0;
  BusyGuard busy(tk);
  // Bars live in the window's strips, not in the client area: they stay where they are.
  std::vector<int> children;
  for (const auto& r : tk.root.Elements) {
    const bool bar = r->Kind == ElementKind::Menu || r->Kind == ElementKind::ToolBar ||
                     r->Kind == ElementKind::StatusBar;
    if (r->Alive && r->ParentID == window && r.get() != w && !bar) children.push_back(r->ID);
  }

  const int oldHeight = w->Frame.h0;
  const int frame = w->FrameWidth;
  ResizeElementById(tk, window, kIgnore, kIgnore, kIgnore, oldHeight + height);
  w = FindElement(tk, window);
  if (w == nullptr) return 0;
  // A parent shorter than the grown window becomes the window's height plus its frame and the
  // bar, and in any case tall enough to hold the window where it sits.
  if (const Element* parent = FindElement(tk, w->ParentID); parent != nullptr && parent != w) {
    const int needed = w->Frame.y0 - parent->Inner.y0 + w->Frame.h0;
    int grown = parent->Frame.h0;
    if (parent->Frame.h0 < w->Frame.h0) grown = oldHeight + 2 * frame + height;
    if (parent->Inner.h0 + (grown - parent->Frame.h0) < needed)
      grown = parent->Frame.h0 + (needed - parent->Inner.h0);
    if (grown != parent->Frame.h0)
      ResizeElementById(tk, parent->ID, kIgnore, kIgnore, kIgnore, grown);
  }

  const int bar = create();
  // The strip is the bar's from the start, so an empty bar already takes its room.
  if (const Element* b = FindElement(tk, bar)) UpdateWindowStrip(tk, *b);
  for (int child : children)
    if (Element* c = FindElement(tk, child))
      ResizeElement(tk, *c, kIgnore, c->ParentOffsetY(), kIgnore, kIgnore);
  return bar;
}

namespace {

// The caption item (the first item, when the window has a title bar) shows the window's
// title and icon.
std::string SetWindowText(Toolkit&, Element& window, const std::string& text) {
  if (window.Items.empty()) return StoreElementText(window, text);
  Element& caption = *window.Items.front();
  std::string previous = std::exchange(caption.Text, text);
  caption.Repaint = 1;
  window.Text = text;  // kept equal so code generation reads the title either way
  return previous;
}

const std::string& WindowText(const Element& window) {
  return window.Items.empty() ? window.Text : window.Items.front()->Text;
}

int SetWindowImage(Element& window, int image) {
  if (window.Items.empty()) return -1;
  // The icon leads the title at the caption's left end, clear of the caption buttons.
  Element& caption = *window.Items.front();
  caption.Flags &= ~(Flag::ImageRight | Flag::ImageCenter);
  return std::exchange(caption.Image, image);
}

Element* FindCaptionButton(Element& window, int kind) {
  for (auto& item : window.Items) {
    if (KindValue(item->Kind) == kind) return item.get();
  }
  return nullptr;
}

// A window's state commands are its caption buttons: minimize and maximize toggle.
bool StoreWindowState(Toolkit&, Element& window, double state) {
  const int value = static_cast<int>(state);
  if (value == CaptionButton::Minimize) {
    window.Minimized = window.Minimized != 0 ? 0 : 1;
  } else if (value == CaptionButton::Maximize) {
    window.Maximized = window.Maximized != 0 ? 0 : 1;
    if (Element* button = FindCaptionButton(window, CaptionButton::Maximize)) {
      std::swap(button->Image, button->Image2);  // maximize and restore glyphs
    }
  }
  return true;
}

EventCode WindowStateEvent(const Element&, int value) {
  switch (value) {
    case CaptionButton::Minimize:
      return ElementEvent::MinimizeButton;
    case CaptionButton::Maximize:
      return ElementEvent::MaximizeButton;
    case CaptionButton::Close:
      return ElementEvent::CloseButton;
    default:
      return 0;
  }
}

// The default item flags without the right-align image bit, so the glyph sits centred in its
// button (the window painter asks for horizontal and vertical centring).
constexpr Flags64 kCaptionButtonItemFlags = Flag::DefaultItemFlags & ~Flag::ImageRight;

// Borders, visibility and the caption items.
bool ApplyWindowFlags(Toolkit& tk, Element& e, Flags64& request) {
  if (request == 0) return true;
  const int id = e.ID;
  if (HasAny(request, Flag::Invisible)) {
    e.Hidden = 1;
    e.HiddenOwn = 1;
  }
  if (HasAny(request, Flag::BorderLess)) e.Flags &= ~Flag::Border;
  if (HasAny(request, Flag::Border)) e.Flags &= ~Flag::BorderLess;

  // A caption button the window already shows is not asked for again; a new one needs a
  // title bar to sit on. The maximize button keeps the restore glyph as its second image:
  // toggling the maximized state swaps the two.
  struct Button {
    Flags64 bit;
    int kind;
    int image;
    int image2;
  };
  const Button buttons[] = {
      {Flag::SystemMenuBit, CaptionButton::Close, BuiltinImage::CloseGlyph, -1},
      {Flag::MaximizeGadget, CaptionButton::Maximize, BuiltinImage::MaximizeGlyph,
       BuiltinImage::RestoreGlyph},
      {Flag::MinimizeGadget, CaptionButton::Minimize, BuiltinImage::MinimizeGlyph, -1}};
  bool anyNew = false;
  for (const Button& b : buttons) {
    if (!HasAny(request, b.bit)) continue;
    if (FindCaptionButton(e, b.kind) != nullptr) {
      request &= ~b.bit;
    } else {
      anyNew = true;
    }
  }
  if (anyNew) request |= Flag::TitleBar;
  if (!HasAny(request, Flag::TitleBar)) return true;

  e.CaptionHeight = tk.root.CaptionHeightDefault;
  e.Flags |= Flag::MoveArea;
  if (!HasCaptionItem(e)) {
    // In front of the buttons, whose indexes move up by one.
    AddItem(tk, id, e.Items.empty() ? -1 : 0, e.Text, e.Image, 0);
  }
  for (const Button& b : buttons) {
    Element* window = FindElement(tk, id);
    if (window == nullptr) return true;
    if (!HasAny(request, b.bit) || FindCaptionButton(*window, b.kind) != nullptr) continue;
    // The glyphs live under fixed image numbers, so buttons need no lookup to show them.
    const int index = AddItem(tk, id, -1, "", b.image, kCaptionButtonItemFlags);
    window = FindElement(tk, id);
    if (window == nullptr) return true;
    if (Element* item = FindItem(*window, index)) {
      item->Kind = static_cast<ElementKind>(b.kind);
      item->Image2 = b.image2;
    }
  }
  return true;
}

// Caption items live in the caption strip.
void PlaceCaptionItem(Toolkit&, Element& window, Element& item) {
  item.Frame.h0 = window.CaptionHeight;
}

void DressCaptionItem(Element&, Element& item) {
  item.BackColor = kNoColor;
  item.BackgroundMode = Background::Gradient;
}

// Window items: the caption comes first; caption buttons carry their flag bit as kind.
constexpr int kCaptionItem = 0;
constexpr int kMaximizeItem = 2;

// Caption buttons carry their button value as kind, which is what the window's state setter
// acts on; the caption item's kind (the window kind) asks for nothing. A double click on the
// caption maximizes through an enabled maximize button.
void PressCaption(Toolkit& tk, Element& window, EventCode code, int, int index) {
  const Element* item = FindItem(window, index);
  if (item == nullptr) return;
  if (code == ElementEvent::LeftClick) {
    SetElementState(tk, window.ID, KindValue(item->Kind));
  } else if (code == ElementEvent::LeftDoubleClick && index == kCaptionItem) {
    const Element* button = FindItem(window, kMaximizeItem);
    if (button != nullptr && KindValue(button->Kind) == CaptionButton::Maximize &&
        button->Disabled == 0)
      SetElementState(tk, window.ID, CaptionButton::Maximize);
  }
}

// A window's status bar keeps to the strip below its inner area.
void WindowResized(Toolkit& tk, Element& window) {
  if (auto place = tk.Kind(ElementKind::StatusBar).PlaceInWindow) place(tk, window);
}

void WindowCreated(Toolkit& tk, Element& e, const KindDescriptor::CreationArgs&, Flags64& request) {
  e.CaptionHeight = tk.root.CaptionHeightDefault;
  // A window asked for without flags, or placed by the designer, gets a close button.
  if (request == 0 || HasAny(request, Flag::DesignerMark)) request |= Flag::SystemMenu;
}

// A new window becomes the active one and comes to the front.
void WindowPlaced(Toolkit& tk, Element& e) {
  const int id = e.ID;
  ActivateElement(tk, id);
  FocusWindow(tk, id);
}

void DesktopCreated(Toolkit&, Element& e, const KindDescriptor::CreationArgs&, Flags64&) {
  if (HasAny(e.Flags, Flag::Border)) e.FrameWidth = 0;
}

}  // namespace

void DeclareWindowBar(KindDescriptor& d, int Root::*last, int EventRecord::*slot,
                      int Element::*strip) {
  d.Traits |= Trait::Bar;
  d.Defaults.BackgroundMode = Background::None;
  d.Defaults.BackColor = kIgnore;
  d.Defaults.ListBox = 0;
  d.LastIds[0] = last;
  d.LastIds[1] = nullptr;
  d.EventSlot = slot;
  d.WindowStrip = strip;
}

void RegisterWindow(Toolkit& tk) {
  // Creation of the top-level kinds: a window holds its elements, the desktop everything.
  {
    KindDescriptor& window = tk.Kind(ElementKind::Window);
    window.Defaults.BackColor = StartColor::Window;
    window.Defaults.KeepsParam3 = true;
    window.ListHolder = KindDescriptor::WindowList;
    window.LastIds[0] = &Root::LastElement;
    window.LastIds[1] = &Root::LastWindow;
    window.EventSlot = &EventRecord::EventWindow;
    window.Created = &WindowCreated;
    window.Placed = &WindowPlaced;
    KindDescriptor& desktop = tk.Kind(ElementKind::Desktop);
    desktop.Defaults.BackColor = StartColor::Desktop;
    desktop.Defaults.KeepsParam3 = true;
    desktop.ListHolder = KindDescriptor::DesktopList;
    desktop.EventSlot = &EventRecord::EventDesktop;
    desktop.Created = &DesktopCreated;
  }
  KindDescriptor& d = tk.Kind(ElementKind::Window);
  d.Traits |= Trait::PartItems | Trait::TracksItems;
  d.PaintItems = &PaintWindowItems;

  // Source text: "OpenWindow(", sized by the client area, passing the title that the caption
  // item holds.
  d.Traits |= Trait::TextArgument;
  d.CodeOpens = true;
  d.CodeText = [](const Element& e) -> std::string_view {
    return e.Items.empty() ? e.Text : e.Items.front()->Text;
  };
  // Title, icon, state commands, flags and caption items.
  d.SetText = &SetWindowText;
  d.GetText = &WindowText;
  d.SetImage = &SetWindowImage;
  d.StoreState = &StoreWindowState;
  d.StateEvent = &WindowStateEvent;
  d.CopyParams = &CopyImageParams;
  d.ApplyFlags = &ApplyWindowFlags;
  d.PlaceItem = &PlaceCaptionItem;
  d.DressItem = &DressCaptionItem;
  d.Resized = &WindowResized;
  // Leaving the window unlights its caption buttons.
  d.Traits |= Trait::LeaveClearsHot;
  d.ChooseItem = &PressCaption;
  // ---- painting
  tk.Kind(ElementKind::Window).PaintsItemImage2 = true;
  tk.Kind(ElementKind::Window).CaptionItems = true;
}

}  // namespace tk
