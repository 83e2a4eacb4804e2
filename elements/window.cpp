// The Window kind: turning a client size and flags into a framed, captioned element, and
// laying out and painting its caption item and caption buttons.
#include "elements/window.h"

#include <vector>

#include "core/coords.h"
#include "core/creation.h"
#include "core/items.h"
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

// Caption-button items carry the flag bit that made them as their kind.
constexpr int kCloseButton = 0x20;

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
      const Color hot = KindValue(item.Kind) == kCloseButton ? kCloseHotColor : item.HotBackColor;
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

void RegisterWindow(Toolkit& tk) {
  KindDescriptor& d = tk.Kind(ElementKind::Window);
  d.Traits |= Trait::PartItems | Trait::TracksItems;
  d.PaintItems = &PaintWindowItems;

  // ---- painting
  tk.Kind(ElementKind::Window).PaintsItemImage2 = true;
  tk.Kind(ElementKind::Window).CaptionItems = true;
}

}  // namespace tk
