// Menu bars and popup menus: attaching a bar to a window, the building sequence with lazily
// created popups, showing and placing popups, their drawing, item text changes, and a menu
// driven end to end through native pointer events.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/menu.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/paint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

using platform::DrawMode;

constexpr int kMain = 1, kWin = 5, kButton = 60, kInBox = 62, kBar = 70, kPopup = 90;
constexpr Color kHalfAlpha = Color{128} << 24;

class MenuTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kMain, 0, 0, 800, 600, "Main", Flag::SystemMenu), kMain);
    ASSERT_EQ(tk::Window(tk, kWin, 100, 100, 300, 200, "Form", Flag::SystemMenu), kWin);
    Button(tk, kButton, 10, 10, 80, 25, "Button");
    Container(tk, 61, 10, 50, 120, 80);
    Button(tk, kInBox, 5, 5, 60, 20, "Inner");
    CloseList(tk);
    BindCallback(tk, MakeHandler([this](EventCode code, int value) {
                   if (code == ElementEvent::MenuEvent || code == ElementEvent::Focus)
                     posted.push_back({code, tk.root.Event.EventElement, value});
                   return 1;
                 }),
                 -1, -1, -1);
  }

  // File (New, Recent > {a, b}, a separator, Quit) and Edit (Undo) on the form window.
  void BuildMenu() {
    ASSERT_EQ(CreateMenu(tk, kBar, kWin), kBar);
    MenuTitle(tk, "File");
    MenuItem(tk, 101, "New");
    OpenSubMenu(tk, "Recent");
    MenuItem(tk, 201, "a.pbf");
    MenuItem(tk, 202, "b.pbf");
    CloseSubMenu(tk);
    MenuBar(tk);
    MenuItem(tk, 102, "Quit");
    MenuTitle(tk, "Edit");
    MenuItem(tk, 301, "Undo");
  }
  // A popup with three entries of height 20.
  void ThreeEntryPopup() {
    ASSERT_EQ(CreatePopupMenu(tk, kPopup), kPopup);
    for (int i = 0; i < 3; ++i)
      MenuItem(tk, 10 + i, "Entry " + std::to_string(i));
    for (auto& item : E(kPopup).Items)
      item->Frame.h0 = 20;
  }

  Element& E(int id) { return *FindElement(tk, id); }
  Element& Item(int id, int index) { return *E(id).Items.at(static_cast<size_t>(index)); }
  int Opens(int id, int index) { return Item(id, index).Attached[0]; }
  int CountPopups() {
    return static_cast<int>(
        std::count_if(tk.root.Elements.begin(), tk.root.Elements.end(),
                      [](const auto& e) { return e->Kind == ElementKind::PopupMenu; }));
  }
  void Hide(int popup) { tk.Kind(ElementKind::PopupMenu).HidePopup(tk, E(popup)); }
  void Show(int popup, int owner, int x, int y) {
    tk.Kind(ElementKind::PopupMenu).ShowPopup(tk, E(popup), owner, x, y);
  }

  struct Posted {
    EventCode code;
    int element, value;
  };
  std::vector<Posted> posted;
};

TEST_F(MenuTest, AMenuBarMakesItsWindowTallerAndMovesTheChildrenBelowIt) {
  CloseList(tk);
  const int openBefore = tk.root.OpenList, windowBefore = tk.root.CurrentWindow;
  const Element& w = E(kWin);
  const int height = w.Frame.h0, innerY = w.Inner.y0, innerH = w.Inner.h0;
  const int buttonY = E(kButton).Frame.y0, nestedY = E(kInBox).Frame.y0;
  const int relativeY = ElementY(tk, kButton, CoordMode::Parent);

  ASSERT_EQ(CreateMenu(tk, kBar, kWin), kBar);
  EXPECT_EQ(w.Frame.h0, height + 22);
  EXPECT_EQ(w.Inner.y0, innerY + 22);
  EXPECT_EQ(w.Inner.h0, innerH);  // the client area keeps its size
  EXPECT_EQ(E(kButton).Frame.y0, buttonY + 22);
  EXPECT_EQ(E(kInBox).Frame.y0, nestedY + 22);
  EXPECT_EQ(ElementY(tk, kButton, CoordMode::Parent), relativeY);
  EXPECT_EQ(E(kBar).Frame.y0, innerY - 1);  // in the strip, just below the caption
  EXPECT_EQ(E(kBar).SubLevel, kBar);
  EXPECT_EQ(tk.root.LastMenu, kBar);
  EXPECT_EQ(tk.root.OpenList, openBefore);
  EXPECT_EQ(tk.root.CurrentWindow, windowBefore);

  // A second bar is refused; nothing moves and no menu is current.
  EXPECT_EQ(CreateMenu(tk, kBar + 1, kWin), 0);
  EXPECT_EQ(tk.root.LastMenu, -1);
  EXPECT_EQ(w.Frame.h0, height + 22);
  EXPECT_EQ(FindElement(tk, kBar + 1), nullptr);
  EXPECT_EQ(CreateMenu(tk, kBar + 2, kButton), 0);

  // A window as tall as its parent grows the parent, and the main window the host.
  const int mainH = E(kMain).Frame.h0, fw = E(kMain).FrameWidth;
  ASSERT_EQ(CreateMenu(tk, kBar + 4, kMain), kBar + 4);
  EXPECT_EQ(platform.HostRect().h, mainH + 22);
  EXPECT_EQ(E(0).Frame.h0, mainH + 2 * fw + 22);
}

TEST_F(MenuTest, TitlesAndSubmenusCreateTheirPopupsLazilyAndLinkThemUp) {
  const int lastPopup = tk.root.LastPopupMenu;
  ASSERT_EQ(CreateMenu(tk, kBar, kWin), kBar);
  EXPECT_EQ(MenuTitle(tk, "File"), 0);
  EXPECT_EQ(CountPopups(), 0);  // a title alone opens nothing yet
  MenuItem(tk, 101, "New");
  const int file = Opens(kBar, 0);
  ASSERT_NE(FindElement(tk, file), nullptr);
  EXPECT_EQ(E(file).SubLevel, kBar);
  EXPECT_EQ(E(file).ModeField, KindValue(ElementKind::Menu));
  EXPECT_EQ(E(file).WindowID, kWin);
  EXPECT_EQ(E(kBar).LastSubMenu, file);
  EXPECT_EQ(tk.root.LastMenu, file);
  EXPECT_EQ(tk.root.LastPopupMenu, lastPopup);
  EXPECT_EQ(tk.root.TopPopupMenu, file);
  EXPECT_EQ(Item(kBar, 0).Flags, 0xC7400u);
  EXPECT_EQ(Item(file, 0).Flags, 0x2100u);
  EXPECT_EQ(Item(file, 0).ID, 101);
  MenuItem(tk, -1, "No id");
  EXPECT_EQ(Item(file, 1).ID, 65535);
  EXPECT_EQ(MenuBar(tk), 2);
  EXPECT_EQ(Item(file, 2).ID, 65535);
  EXPECT_EQ(Item(file, 2).Text, "");

  // A submenu entry carries its marker; its popup comes with the next entry.
  EXPECT_EQ(OpenSubMenu(tk, "Recent"), 3);
  EXPECT_EQ(Item(file, 3).Text, "Recent    >>");
  MenuItem(tk, 201, "a.pbf");
  const int recent = Opens(file, 3);
  ASSERT_NE(FindElement(tk, recent), nullptr);
  EXPECT_EQ(E(recent).SubLevel, file);
  EXPECT_GT(IndexOf(tk.root, &E(recent)), IndexOf(tk.root, &E(file)));
  EXPECT_EQ(CloseSubMenu(tk), recent);
  EXPECT_EQ(tk.root.LastMenu, file);
  EXPECT_EQ(MenuTitle(tk, "Edit"), 1);  // climbs back to the bar
  MenuItem(tk, 301, "Undo");
  EXPECT_EQ(Item(Opens(kBar, 1), 0).ID, 301);
  EXPECT_EQ(MenuRoot(tk, recent), kBar);
  EXPECT_EQ(MenuRoot(tk, kBar), kBar);
  EXPECT_EQ(MenuRoot(tk, kButton), 0);

  // An opened submenu closed without entries gets no popup, not even from a later entry.
  const int popups = CountPopups();
  OpenSubMenu(tk, "Lonely");
  CloseSubMenu(tk);
  EXPECT_EQ(tk.root.LastMenu, kBar);
  OpenSubMenu(tk, "Empty");
  CloseSubMenu(tk);
  EXPECT_EQ(MenuItem(tk, 400, "On the bar"), 3);
  EXPECT_EQ(CountPopups(), popups);
  EXPECT_EQ(Opens(kBar, 2), -1);

  // Without a current menu the building calls answer -1.
  CreateMenu(tk, kBar + 1, kWin);
  EXPECT_EQ(MenuItem(tk, 1, "x"), -1);
  EXPECT_EQ(MenuTitle(tk, "x"), -1);
  EXPECT_EQ(MenuBar(tk), -1);
}

TEST_F(MenuTest, ShowingAPopupLaysItsEntriesOutAndPlacesIt) {
  ThreeEntryPopup();
  posted.clear();
  ASSERT_EQ(DisplayPopupMenu(tk, kPopup, -1, 100, 100), 1);
  Element& p = E(kPopup);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(Item(kPopup, i).Frame.y0, 1 + 20 * i);
  EXPECT_EQ(p.Frame.h0, 64);
  EXPECT_EQ(p.Frame.y0, 101);
  EXPECT_EQ(p.Hidden, 0);
  EXPECT_EQ(tk.root.OpenDropDown, kPopup);
  EXPECT_EQ(tk.root.Elements.back()->ID, kPopup);  // without an owner it goes on top
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].code, ElementEvent::Focus);

  // Shown again while open the entries stay; hidden and shown near the desktop's bottom they
  // are laid out anew and the popup opens above the point and its owner.
  Item(kPopup, 0).Frame.h0 = 30;
  DisplayPopupMenu(tk, kPopup, -1, 100, 100);
  EXPECT_EQ(p.Frame.h0, 64);
  Hide(kPopup);
  DisplayPopupMenu(tk, kPopup, kButton, 200, 580);
  EXPECT_EQ(Item(kPopup, 1).Frame.y0, 31);
  EXPECT_EQ(p.Frame.y0, 580 - 74 - E(kButton).Frame.h0 + 1);
  EXPECT_EQ(tk.root.UsedElement, kButton);

  Hide(kPopup);
  tk.root.MouseX = 300;
  tk.root.MouseY = 200;
  DisplayPopupMenu(tk, kPopup, -1, kIgnore, kIgnore);
  EXPECT_EQ(p.Frame.x0, 300);
  EXPECT_EQ(p.Frame.y0, 201);
  EXPECT_EQ(DisplayPopupMenu(tk, kButton, -1, 10, 10), 0);

  // A handler of the opening that frees the popup is survived.
  BindCallback(tk, MakeHandler([this](EventCode code, int) {
                 if (code == ElementEvent::Focus && tk.root.Event.EventElement == kPopup)
                   FreeElement(tk, kPopup);
                 return 1;
               }),
               -1, -1, -1);
  EXPECT_EQ(DisplayPopupMenu(tk, kPopup, kButton, 100, 100), 0);
  EXPECT_EQ(FindElement(tk, kPopup), nullptr);
}

TEST_F(MenuTest, SubmenusOpenBesideTheirEntryAndCloseWithTheirParent) {
  ThreeEntryPopup();
  OpenSubMenu(tk, "More");
  MenuItem(tk, 20, "Deeper");
  const int sub = Opens(kPopup, 3);
  DisplayPopupMenu(tk, kPopup, -1, 100, 100);
  Element& p = E(kPopup);
  Element& s = E(sub);
  // As the item routing asks: at the parent's right edge, level with the entry's top.
  const int entryTop = p.Inner.y0 + Item(kPopup, 3).Frame.y0;
  Show(sub, kPopup, p.Frame.x0 + p.Frame.w0, entryTop);
  EXPECT_EQ(s.Frame.x0, p.Frame.x0 + p.Frame.w0 - 1);  // over the parent's border
  EXPECT_EQ(s.Inner.y0 + Item(sub, 0).Frame.y0, entryTop);
  EXPECT_EQ(tk.root.OpenDropDown, kPopup);  // the chain's head stays the open drop-down

  Hide(sub);
  EXPECT_EQ(p.Hidden, 0);
  Show(sub, kPopup, p.Frame.x0 + p.Frame.w0, entryTop);
  Hide(kPopup);
  EXPECT_EQ(s.Hidden, 1);

  // Near the right and bottom edges a submenu opens left of its parent and slides up.
  DisplayPopupMenu(tk, kPopup, -1, 790 - p.Frame.w0, 500);
  Show(sub, kPopup, p.Frame.x0 + p.Frame.w0, 590);
  EXPECT_EQ(s.Frame.x0, p.Frame.x0 - s.Frame.w0 + 1);
  EXPECT_EQ(s.Frame.y0 + s.Frame.h0, E(0).Frame.h0);
}

TEST_F(MenuTest, PopupsDrawGutterSeparatorHotEntryIconAndArrowAndBarsCentreTitles) {
  const int icon = platform.Images().Create(platform::ImageStore::kAny, 16, 12, 32, 0x0000FF);
  ASSERT_EQ(CreatePopupMenu(tk, kPopup), kPopup);
  MenuItem(tk, 1, "Open", icon);
  MenuBar(tk);
  OpenSubMenu(tk, "Recent");
  MenuItem(tk, 2, "a.pbf");
  DisplayPopupMenu(tk, kPopup, -1, 100, 100);
  Element& p = E(kPopup);
  p.HotItem = 0;
  const int x = p.Inner.x0, y = p.Inner.y0, g = tk.root.MenuHeight;
  const Element &open = Item(kPopup, 0), &sep = Item(kPopup, 1), &recent = Item(kPopup, 2);

  RecordingPainter painter;
  PaintItems(tk, painter, p);
  auto drawn = [&](PaintOp op, int cx, int cy, int cw, int ch, Color color, DrawMode mode) {
    return std::any_of(painter.calls.begin(), painter.calls.end(), [&](const PaintCall& c) {
      return c.op == op && c.x == cx && c.y == cy && c.w == cw && c.h == ch && c.color == color &&
             c.mode == mode;
    });
  };
  const int H = p.Inner.h0;
  EXPECT_TRUE(drawn(PaintOp::Box, x + 1, y + 1, g, H - 2, 0xECECEC, DrawMode::Default));
  EXPECT_TRUE(drawn(PaintOp::Line, x + g, y + 1, 1, H - 2, p.FrameColor, DrawMode::Default));
  EXPECT_TRUE(drawn(PaintOp::Line, x + g + 1, y + 1, 1, H - 2, 0xFFFFFF, DrawMode::Default));
  EXPECT_TRUE(drawn(PaintOp::Line, x + 1 + g + 1, y + sep.Frame.y0 + sep.Frame.h0 / 2,
                    sep.Frame.w0 - g - 1, 1, sep.FrameColor, DrawMode::Default));
  EXPECT_TRUE(drawn(PaintOp::Box, x + 2, y + open.Frame.y0 + 1, open.Frame.w0 - 2,
                    open.Frame.h0 - 2, 0xFCDFC3 | kHalfAlpha, DrawMode::AlphaBlend));
  EXPECT_TRUE(drawn(PaintOp::Line, x + 1, y + open.Frame.y0, open.Frame.w0, 1,
                    0xDD8C26 | kHalfAlpha, DrawMode::AlphaBlend));
  const auto images = painter.Of(PaintOp::DrawImage);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].x, x + (g - 16) / 2 + 1);
  EXPECT_EQ(images[0].y, y + open.Frame.y0 + (open.Frame.h0 - 12) / 2 + 1);
  // The submenu entry shows an arrow at its right edge instead of its text marker.
  const int arrowLines = static_cast<int>(
      std::count_if(painter.calls.begin(), painter.calls.end(), [&](const PaintCall& c) {
        return c.op == PaintOp::Line && c.color == 0x555555 &&
               c.x > x + recent.Frame.x0 + recent.Frame.w0 - 12 && c.y >= y + recent.Frame.y0;
      }));
  EXPECT_GE(arrowLines, 3);
  std::vector<std::string> texts;
  for (const PaintCall& c : painter.Texts())
    texts.push_back(c.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Open", "Recent"}));
  EXPECT_EQ(recent.Text, "Recent    >>");

  // A separator is never hot; a combo box list has no gutter.
  p.HotItem = 1;
  painter.Clear();
  PaintItems(tk, painter, p);
  EXPECT_EQ(painter.Count(PaintOp::Box), 1);  // the gutter alone
  p.ModeField = 8;
  painter.Clear();
  PaintItems(tk, painter, p);
  EXPECT_EQ(painter.Count(PaintOp::Box), 0);

  // Bar titles carry right-alignment and centring bits and are drawn centred.
  BuildMenu();
  painter.Clear();
  PaintItems(tk, painter, E(kBar));
  const auto titles = painter.Texts();
  ASSERT_EQ(titles.size(), 2u);
  for (size_t i = 0; i < titles.size(); ++i) {
    const Element& title = *E(kBar).Items[i];
    const int left = titles[i].x - (E(kBar).Inner.x0 + title.Frame.x0);
    const int right =
        title.Frame.w0 - left - painter.CharWidth() * static_cast<int>(titles[i].text.size());
    EXPECT_LE(std::abs(left - right), 2) << titles[i].text;
    EXPECT_EQ(title.Flags, 0xC7400u);
  }
}

TEST_F(MenuTest, ChangingAnEntryTextResizesItAndMovesTheEntriesAfterIt) {
  ThreeEntryPopup();
  DisplayPopupMenu(tk, kPopup, -1, 100, 100);
  Element& p = E(kPopup);
  platform::Painter& measure = platform.Measurer();
  measure.SetFont(platform.Fonts().Default());
  const std::string two = "First line\nsecond, a good deal longer line";
  const int dh = measure.TextHeight(two) - measure.TextHeight("Entry 0");
  ASSERT_GT(dh, 0);
  const int height = p.Frame.h0, y2 = Item(kPopup, 2).Frame.y0;
  EXPECT_EQ(SetMenuItemText(tk, kPopup, 0, two), 1);
  EXPECT_EQ(Item(kPopup, 0).Frame.h0, 20 + dh);
  EXPECT_EQ(Item(kPopup, 2).Frame.y0, y2 + dh);
  EXPECT_EQ(p.Frame.h0, height + dh);
  EXPECT_GE(p.Frame.w0, measure.TextWidth(two) + tk.root.MenuHeight + 2);

  // Along a bar the titles to the right move; a title added later follows the last one.
  BuildMenu();
  Element& bar = E(kBar);
  const int x1 = Item(kBar, 1).Frame.x0, width = bar.Frame.w0;
  const int dw = measure.TextWidth("A much longer title") - measure.TextWidth("File");
  SetMenuItemText(tk, kBar, 0, "A much longer title");
  EXPECT_EQ(Item(kBar, 1).Frame.x0, x1 + dw);
  EXPECT_EQ(bar.Frame.w0, width + dw);
  MenuTitle(tk, "Help");
  EXPECT_EQ(Item(kBar, 2).Frame.x0, Item(kBar, 1).Frame.x0 + Item(kBar, 1).Frame.w0);

  const int file = Opens(kBar, 0);
  SetMenuItemText(tk, file, 1, "Recently opened");
  EXPECT_EQ(Item(file, 1).Text, "Recently opened    >>");  // a submenu entry keeps its marker
  EXPECT_EQ(SetMenuItemText(tk, kButton, 0, "x"), 0);
  EXPECT_EQ(SetMenuItemText(tk, kPopup, 7, "x"), 0);
}

TEST_F(MenuTest, ATitleEntryAndSubmenuChosenWithThePointerPostTheEntryId) {
  BuildMenu();
  PumpEvents(tk);  // the start-up paint lays the titles out
  platform.InjectMove(3, 3);
  PumpEvents(tk);
  auto centre = [&](int id, int index) {
    const Element& it = Item(id, index);
    return std::pair{E(id).Frame.x0 + it.Frame.x0 + it.Frame.w0 / 2,
                     E(id).Frame.y0 + it.Frame.y0 + it.Frame.h0 / 2};
  };
  auto moveTo = [&](std::pair<int, int> at) {
    platform.InjectMove(at.first, at.second);
    PumpEvents(tk);
  };
  auto clickAt = [&](std::pair<int, int> at) {
    moveTo(at);
    platform.InjectClick(at.first, at.second);
    PumpEvents(tk);
  };

  const int file = Opens(kBar, 0);
  clickAt(centre(kBar, 0));
  Element& p = E(file);
  ASSERT_EQ(p.Hidden, 0);
  EXPECT_EQ(p.Frame.x0, E(kBar).Frame.x0 + Item(kBar, 0).Frame.x0);
  EXPECT_EQ(p.Frame.y0, E(kBar).Frame.y0 + E(kBar).Frame.h0 + 1);
  EXPECT_EQ(platform.CanvasPixel(p.Inner.x0 + 5, p.Inner.y0 + 5), 0xECECECu);  // on top

  clickAt(centre(file, 2));  // the separator is inert: the menu stays open
  EXPECT_EQ(p.Hidden, 0);
  EXPECT_TRUE(tk.root.DropDownOpen);

  moveTo(centre(file, 1));  // "Recent" opens its submenu beside itself
  const int recent = Opens(file, 1);
  ASSERT_EQ(E(recent).Hidden, 0);
  moveTo(centre(recent, 1));
  clickAt(centre(recent, 1));
  std::vector<std::pair<int, int>> chosen;
  for (const Posted& e : posted)
    if (e.code == ElementEvent::MenuEvent) chosen.emplace_back(e.element, e.value);
  EXPECT_EQ(chosen, (std::vector<std::pair<int, int>>{{recent, 202}}));
  EXPECT_EQ(p.Hidden, 1);
  EXPECT_EQ(E(recent).Hidden, 1);
  EXPECT_FALSE(tk.root.DropDownOpen);
  EXPECT_EQ(E(kBar).OpenTitle, -1);
}

}  // namespace
}  // namespace tk::testing
