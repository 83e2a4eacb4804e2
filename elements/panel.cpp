// The Panel kind: creation, tabs, switching which tab's children show, and the tab strip.
#include "elements/panel.h"

#include <algorithm>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "render/paint.h"

namespace tk {
namespace {

constexpr int kNoImage = -1;
// Tabs that are not selected sit this much lower (and are this much shorter), so the
// selected tab stands out and joins the client area.
constexpr int kTabDrop = 2;
// The selected tab's right edge stays this far inside the panel when the strip shifts.
constexpr int kStripMargin = 2;
constexpr Color kTabLine = 0xACACAC;          // tab outlines and the line under the strip
constexpr Color kTabSelectedFill = 0xFFFFFF;  // a panel without its own colour
constexpr Flags64 kImageRightBit = 0x10000;
constexpr Flags64 kImageCentreBit = 0x40000;

// The tab a panel shows: its selected tab, or the first while none is selected.
int ShownTab(const Element& panel) {
  return panel.StateIndex >= 0 ? panel.StateIndex : 0;
}

void SelectTab(Toolkit& tk, Element& panel, double state) {
  const int tab = static_cast<int>(state);
  if (panel.ItemMap.count(tab) == 0) return;
  panel.CurrentTab = tab;
  panel.StateIndex = tab;  // ShowTab reads nested panels' selection; this is the same value
  ShowTab(tk, panel.ID, tab);
}

int AddTabItem(Toolkit& tk, Element& panel, int position, const std::string& text, int image,
               Flags64 flags) {
  return AddTab(tk, panel.ID, position, text, image, flags, 0);
}

// Draws the strip. The strip offset is taken from the selected tab before anything is drawn,
// so every tab moves with it and the hit test (which shifts by HScroll) matches the picture.
void PaintTabs(Toolkit& tk, Element& panel, platform::Painter& painter) {
  if (panel.Items.empty()) return;
  const int ox = panel.Inner.x0 + 1;
  const int oy = panel.Inner.y0 - panel.CaptionHeight + 1;
  // The selected tab's position in the strip (its index may differ).
  const int current = panel.StateIndex >= 0 ? ItemPosition(panel, panel.StateIndex) : -1;

  int offset = 0;
  if (current >= 0) {
    const Element& tab = *panel.Items[static_cast<size_t>(current)];
    const int right = tab.Frame.x0 + tab.Frame.w0;
    if (right > panel.Inner.w0) offset = panel.Inner.w0 - right - kStripMargin;
  }
  panel.HScroll = -offset;

  // Tabs are outlined: the others in the normal (or hot) look, the selected one in the
  // panel's own colour, open at the bottom so it joins the client area below the strip line.
  auto look = [&](Element& tab, bool selected) {
    tab.Flags |= Flag::Border;
    tab.FrameColor = kTabLine;
    if (selected) {
      tab.BackgroundMode = Background::Plain;
      tab.BackColor = panel.BackColor != kNoColor ? panel.BackColor : kTabSelectedFill;
      tab.RepaintFlags = StateBit::Pressed;
    } else {
      tab.BackgroundMode = Background::Gradient;
      tab.BackColor = kNoColor;
      tab.RepaintFlags =
          tab.Index == panel.HotItem && tab.Disabled == 0 ? StateBit::Hot : StateBit::Normal;
    }
  };
  // Indexed walks: the list is re-read every step.
  for (int i = 0; i < static_cast<int>(panel.Items.size()); ++i) {
    if (i == current) continue;
    Element& tab = *panel.Items[static_cast<size_t>(i)];
    look(tab, false);
    tab.Frame.y0 = kTabDrop;
    PaintElement(tk, painter, panel, tab, ox + offset, oy, 0, -kTabDrop);
  }
  const int stripBottom = oy + panel.CaptionHeight - 4;
  painter.SetMode(platform::DrawMode::Default);
  painter.Line(panel.Inner.x0, stripBottom, panel.Inner.w0, 1, kTabLine);
  if (current >= 0 && current < static_cast<int>(panel.Items.size())) {
    Element& tab = *panel.Items[static_cast<size_t>(current)];
    look(tab, true);
    tab.Frame.y0 = 0;
    PaintElement(tk, painter, panel, tab, ox + offset, oy);
    const int x = ox + offset + tab.Frame.x0;
    painter.SetMode(platform::DrawMode::Default);
    painter.Line(x + 1, stripBottom, tab.Frame.w0 - 2, 1, tab.BackColor);
  }
}

// A press on a tab selects it.
void ChooseTab(Toolkit& tk, Element& panel, EventCode code, int, int index) {
  if (code == ElementEvent::LeftButtonDown && FindItem(panel, index) != nullptr)
    SetElementState(tk, panel.ID, index);
}

}  // namespace

int Panel(Toolkit& tk, int id, int x, int y, int width, int height, Flags64 flags, int parentId) {
  return CreateInParent(tk, parentId, [&] {
    return CreateElement(tk, ElementKind::Panel, id, x, y, width, height, "", kNoImage, kNoImage, 0,
                         flags, -1);
  });
}

int AddTab(Toolkit& tk, int panel, int position, const std::string& text, int image, Flags64 flags,
           int64_t data) {
  Element* p = FindElement(tk, panel);
  if (p == nullptr || p->Kind != ElementKind::Panel) return -1;
  const uint64_t serial = p->Serial;
  // A tab put before others moves their indexes up; the elements on them follow their tabs.
  const bool before =
      position >= 0 && std::any_of(p->Items.begin(), p->Items.end(),
                                   [&](const auto& t) { return t->Index >= position; });
  const int index = AddItem(tk, panel, position, text, image, flags);
  p = FindElement(tk, panel);
  if (index < 0 || p == nullptr || p->Serial != serial) return index;
  if (before) {
    for (const auto& rec : tk.root.Elements)
      if (rec->ParentID == panel && rec.get() != p && rec->TabIndex >= index) ++rec->TabIndex;
  }
  if (Element* tab = FindItem(*p, index)) {
    tab->Data = data;
    // A tab's icon leads its text.
    tab->Flags &= ~(kImageRightBit | kImageCentreBit);
  }
  // The first tab becomes the selected one.
  if (p->StateIndex < 0) p->StateIndex = 0;
  p->Repaint = 1;
  return index;
}

int ShowTab(Toolkit& tk, int panel, int tab) {
  const Element* p = FindElement(tk, panel);
  if (p == nullptr || p->Kind != ElementKind::Panel) return 0;
  int lastParentHidden = 0;
  auto& list = tk.root.Elements;
  // Children follow their parents in the list, so a parent's state is settled before its
  // children look at it.
  for (int i = IndexOf(tk.root, p) + 1; i > 0 && i < static_cast<int>(list.size()); ++i) {
    Element& e = *list[static_cast<size_t>(i)];
    if (!e.Alive || !IsDescendant(tk, e, panel)) continue;
    const Element* parent = FindElement(tk, e.ParentID);
    if (parent == nullptr) continue;
    lastParentHidden = parent->Hidden;
    const bool direct = parent->ID == panel;
    bool onTab = true;
    if (direct)
      onTab = e.TabIndex == tab;
    else if (parent->Kind == ElementKind::Panel)
      onTab = e.TabIndex == ShownTab(*parent);

    if (!onTab) {
      e.Hidden = 1;
    } else if (direct) {
      // Under a panel its program hid, the children keep what they have.
      if (parent->HiddenOwn == 0) e.Hidden = parent->Hidden != 0 || e.HiddenOwn != 0 ? 1 : 0;
    } else {
      e.Hidden = parent->Hidden != 0 || e.HiddenOwn != 0 ? 1 : 0;
    }
    e.Repaint = 1;
  }
  return lastParentHidden;
}

namespace {

// A tab that does not exist is refused: the panel would report a selection it does not show
// and announce a change that did not happen.
bool AcceptTab(Toolkit&, Element& panel, double state) {
  return panel.ItemMap.count(static_cast<int>(state)) != 0;
}

// A tab fills the strip's height less a small inset and overlaps its neighbour's edge.
constexpr int kTabInset = 3;

void SizeTab(const Element& panel, int advance, int& w, int& h) {
  w = advance - 1;
  h = panel.CaptionHeight - kTabInset;
}

}  // namespace

void RegisterPanel(Toolkit& tk) {
  // Creation: a panel holds its children on tabs below its tab strip.
  {
    constexpr int kTabStripHeight = 25;
    KindDescriptor& d = tk.Kind(ElementKind::Panel);
    d.Traits |= Trait::Tabs;
    d.Defaults.FrameWidth = 1;
    d.Defaults.CaptionHeight = kTabStripHeight;
    d.Defaults.ListBox = 0;
    d.ListHolder = KindDescriptor::ContainerList;
  }
  KindDescriptor& hooks = tk.Kind(ElementKind::Panel);
  hooks.Traits |= Trait::TracksItems | Trait::SelectsItem;
  hooks.SetState = &SelectTab;
  hooks.AddItem = &AddTabItem;
  hooks.PaintItems = &PaintTabs;

  // Source text: no flags; each tab's AddGadgetItem line before the gadgets on that tab.
  hooks.Traits |= Trait::NoFlagsArgument;
  hooks.Nesting = KindDescriptor::CodeNesting::Tabs;
  // Tab selection and tab sizes.
  hooks.Traits |= Trait::ChangeOnState | Trait::Pages;
  hooks.StoreState = &AcceptTab;
  hooks.SizeEntry = &SizeTab;
  // The tab strip shifts sideways; leaving the panel unlights its tab.
  hooks.Traits |= Trait::ItemsScrollSideways | Trait::LeaveClearsHot;
  hooks.ChooseItem = &ChooseTab;
}

}  // namespace tk
