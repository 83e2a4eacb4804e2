// The ComboBox kind: its list, entries and selection, the drop button's layout, and choosing
// an entry from the dropped-down list through native events.
#include "elements/combobox.h"

#include <vector>

#include "core/attributes.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/menu.h"
#include "elements/panel.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/repaint.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

constexpr int kWindow = 1, kCombo = 10;

class ComboBoxTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 600, 400, "Main", Flag::SystemMenu), kWindow);
    CloseList(tk);
  }
  Element& E(int id) { return *FindElement(tk, id); }
  void Press(int x, int y) {
    platform.InjectMove(x, y);
    platform.InjectClick(x, y);
    PumpEvents(tk);
  }
};

TEST_F(ComboBoxTest, EntriesLiveInTheListAndTheSelectionIsTheText) {
  ASSERT_EQ(ComboBox(tk, kCombo, 20, 20, 150, 24, 0, kWindow), kCombo);
  const int list = ComboList(tk, kCombo);
  ASSERT_GE(list, 0);
  EXPECT_EQ(E(list).Kind, ElementKind::PopupMenu);
  EXPECT_NE(E(list).Hidden, 0);
  EXPECT_EQ(E(list).SubLevel, kCombo);
  EXPECT_EQ(E(list).ModeField, 8);
  EXPECT_EQ(E(kCombo).Items.size(), 1u);  // the drop button

  EXPECT_EQ(AddElementItem(tk, kCombo, -1, "Red"), 0);
  EXPECT_EQ(AddElementItem(tk, kCombo, -1, "Green"), 1);
  EXPECT_EQ(AddElementItem(tk, kCombo, -1, "Синий"), 2);
  EXPECT_EQ(E(list).Items.size(), 3u);
  EXPECT_EQ(E(kCombo).Items.size(), 1u);
  EXPECT_NE(E(list).Items[0]->Flags & 0x3100, 0u);

  SetElementState(tk, kCombo, 2);
  EXPECT_EQ(GetElementState(tk, kCombo), 2.0);
  EXPECT_EQ(GetElementText(tk, kCombo), "Синий");
  SetElementState(tk, kCombo, 9);  // no such entry
  EXPECT_EQ(GetElementState(tk, kCombo), 2.0);
  EXPECT_EQ(ComboList(tk, kWindow), -1);
}

TEST_F(ComboBoxTest, TheDropButtonCoversTheElementUnlessEditable) {
  ASSERT_EQ(ComboBox(tk, kCombo, 20, 20, 150, 24, 0, kWindow), kCombo);
  Repaint(tk, kWindow, true);
  const Element& whole = *E(kCombo).Items[0];
  EXPECT_EQ(whole.Frame.x0, -1);
  EXPECT_EQ(whole.Frame.y0, -1);
  EXPECT_EQ(whole.Frame.w0, E(kCombo).Frame.w0);
  EXPECT_EQ(whole.Frame.h0, E(kCombo).Frame.h0);

  ASSERT_EQ(ComboBox(tk, 11, 20, 60, 150, 24, Flag::Editable, kWindow), 11);
  Repaint(tk, kWindow, true);
  const Element& beside = *E(11).Items[0];
  EXPECT_EQ(beside.Frame.x0, E(11).Inner.w0 - 16);
  EXPECT_EQ(beside.Frame.y0, 0);
  EXPECT_EQ(beside.Frame.w0, 16);
  EXPECT_EQ(beside.Frame.h0, E(11).Inner.h0);
}

// Read from the canvas: every combo shows its drop arrow, an editable one on a drop button
// that lights up under the pointer without covering the arrow.
TEST_F(ComboBoxTest, TheDropArrowShowsOnEveryComboAndOnAHotEditableButton) {
  constexpr int kEditable = 11;
  ASSERT_EQ(ComboBox(tk, kCombo, 20, 20, 150, 24, 0, kWindow), kCombo);
  ASSERT_EQ(ComboBox(tk, kEditable, 20, 60, 150, 24, Flag::Editable, kWindow), kEditable);
  auto arrowPixels = [&](int id) {
    const Element& c = E(id);
    int n = 0;
    for (int y = c.Frame.y0; y < c.Frame.y0 + c.Frame.h0; ++y)
      for (int x = c.Frame.x0 + c.Frame.w0 - 20; x < c.Frame.x0 + c.Frame.w0; ++x)
        n += platform.CanvasPixel(x, y) == 0x555555u ? 1 : 0;
    return n;
  };
  Repaint(tk, kWindow, true);
  EXPECT_EQ(arrowPixels(kCombo), 5 + 3 + 1);
  EXPECT_EQ(arrowPixels(kEditable), 5 + 3 + 1);

  const Element& button = *E(kEditable).Items[0];
  const int bx = E(kEditable).Inner.x0 + button.Frame.x0 + 2;
  const int by = E(kEditable).Inner.y0 + 2;
  const uint32_t normal = platform.CanvasPixel(bx, by);
  platform.InjectMove(3, 3);
  platform.InjectMove(bx, by);
  PumpEvents(tk);
  ASSERT_NE(button.RepaintFlags & StateBit::Hot, 0);
  ASSERT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/combobox_snapshot.png"));
  EXPECT_EQ(arrowPixels(kEditable), 5 + 3 + 1);
  const uint32_t hot = platform.CanvasPixel(bx, by);
  EXPECT_NE(hot, normal);
  EXPECT_GT(hot & 0xFF, (hot >> 16) & 0xFF);  // the hot look is light blue
}

TEST_F(ComboBoxTest, ChoosingFromTheDroppedListSelectsAndCloses) {
  ASSERT_EQ(ComboBox(tk, kCombo, 20, 20, 150, 24, 0, kWindow), kCombo);
  for (const char* t : {"One", "Two", "Three"})
    AddElementItem(tk, kCombo, -1, t);
  std::vector<int> changes;
  BindCallback(tk, MakeHandler([&](EventCode code, int value) {
                 if (code == ElementEvent::Change && tk.root.Event.EventElement == kCombo)
                   changes.push_back(value);
                 return 1;
               }),
               -1, -1, -1);
  Repaint(tk, kWindow, true);
  platform.InjectMove(3, 3);
  PumpEvents(tk);
  const Element& combo = E(kCombo);
  Press(combo.Frame.x0 + 30, combo.Frame.y0 + 10);
  const int list = ComboList(tk, kCombo);
  ASSERT_EQ(E(list).Hidden, 0) << "the list drops down";
  EXPECT_GE(E(list).Frame.y0, combo.Frame.y0 + combo.Frame.h0 - 2);

  Repaint(tk, kWindow, true);
  const Element& entry = *E(list).Items[1];
  const int ex = E(list).Inner.x0 + entry.Frame.x0 + entry.Frame.w0 / 2;
  const int ey = E(list).Inner.y0 + entry.Frame.y0 + entry.Frame.h0 / 2;
  Press(ex, ey);
  EXPECT_EQ(GetElementText(tk, kCombo), "Two");
  EXPECT_EQ(GetElementState(tk, kCombo), 1.0);
  EXPECT_NE(E(list).Hidden, 0);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), 1);
}

// Entries inserted in front and entries added past the end (a gap in the indexes, as the
// property grid makes them) are hovered and chosen as the rows they are drawn in.
TEST_F(ComboBoxTest, InsertedAndGappedEntriesAreChosenByTheirRows) {
  ASSERT_EQ(ComboBox(tk, kCombo, 20, 20, 150, 24, 0, kWindow), kCombo);
  for (const char* t : {"one", "two", "three"})
    AddElementItem(tk, kCombo, -1, t);
  SetElementState(tk, kCombo, 1);
  EXPECT_EQ(AddElementItem(tk, kCombo, 0, "zero"), 0);
  EXPECT_EQ(GetElementState(tk, kCombo), 2.0) << "the selection stays on its entry";
  EXPECT_EQ(GetElementText(tk, kCombo), "two");
  ASSERT_EQ(ComboBox(tk, 11, 250, 20, 150, 24, 0, kWindow), 11);
  EXPECT_EQ(AddElementItem(tk, 11, 0, "a"), 0);
  EXPECT_EQ(AddElementItem(tk, 11, 2, "b"), 2);
  SetItemData(tk, 11, 2, 77);
  EXPECT_EQ(GetItemData(tk, 11, 2), 77);

  Repaint(tk, kWindow, true);
  platform.InjectMove(3, 3);
  PumpEvents(tk);
  // Drops a combo's list and presses its second row, hovering it first.
  auto chooseSecondRow = [&](int combo, int index) {
    Press(E(combo).Frame.x0 + 30, E(combo).Frame.y0 + 10);
    const int list = ComboList(tk, combo);
    EXPECT_EQ(E(list).Hidden, 0) << "the list drops down";
    Repaint(tk, kWindow, true);
    const Element& row = *E(list).Items[1];
    const int x = E(list).Inner.x0 + row.Frame.x0 + row.Frame.w0 / 2;
    const int y = E(list).Inner.y0 + row.Frame.y0 + row.Frame.h0 / 2;
    platform.InjectMove(x, y);
    PumpEvents(tk);
    EXPECT_EQ(E(list).HotItem, index) << "the hovered row is the hot one";
    Press(x, y);
  };
  chooseSecondRow(kCombo, 1);
  EXPECT_EQ(GetElementText(tk, kCombo), "one");
  EXPECT_EQ(GetElementState(tk, kCombo), 1.0);
  chooseSecondRow(11, 2);
  EXPECT_EQ(GetElementText(tk, 11), "b");
  EXPECT_EQ(GetElementState(tk, 11), 2.0);
}

// A dropped list is drawn over everything, so it takes the pointer before an element made
// after the combo box that lies under it.
TEST_F(ComboBoxTest, ADroppedListTakesThePointerOverLaterElements) {
  ASSERT_EQ(ComboBox(tk, kCombo, 20, 20, 150, 24, 0, kWindow), kCombo);
  for (const char* t : {"one", "two", "three"})
    AddElementItem(tk, kCombo, -1, t);
  int clicks = 0;
  ASSERT_EQ(ComboBox(tk, 11, 20, 60, 150, 30, 0, kWindow), 11);
  AddElementItem(tk, 11, -1, "under");
  const HandlerRef onClick = MakeHandler([&](EventCode, int) {
    ++clicks;
    return 0;
  });
  BindElementEvent(tk, 11, onClick, ElementEvent::LeftClick);
  Repaint(tk, kWindow, true);
  platform.InjectMove(3, 3);
  PumpEvents(tk);
  Press(E(kCombo).Frame.x0 + 30, E(kCombo).Frame.y0 + 10);
  const int list = ComboList(tk, kCombo);
  ASSERT_EQ(E(list).Hidden, 0);
  Repaint(tk, kWindow, true);
  const Element& row = *E(list).Items[1];
  const int x = E(list).Inner.x0 + row.Frame.x0 + row.Frame.w0 / 2;
  const int y = E(list).Inner.y0 + row.Frame.y0 + row.Frame.h0 / 2;
  const Element& button = E(11);
  ASSERT_TRUE(x >= button.Clip.x0 && x < button.Clip.x0 + button.Clip.w0 && y >= button.Clip.y0 &&
              y < button.Clip.y0 + button.Clip.h0)
      << "the row lies over the button";
  Press(x, y);
  EXPECT_EQ(GetElementText(tk, kCombo), "two");
  EXPECT_EQ(clicks, 0) << "the button under the list is not clicked";
}

// A combo box freed while its list is down takes the list with it and closes the drop-down;
// closing a window frees the lists and menus made for it, their scroll bars included.
TEST_F(ComboBoxTest, FreeingTheOwnerFreesItsListsAndMenus) {
  ASSERT_EQ(ComboBox(tk, kCombo, 20, 20, 150, 24, 0, kWindow), kCombo);
  AddElementItem(tk, kCombo, -1, "One");
  const int firstList = ComboList(tk, kCombo);
  Repaint(tk, kWindow, true);
  platform.InjectMove(3, 3);
  PumpEvents(tk);
  Press(E(kCombo).Frame.x0 + 30, E(kCombo).Frame.y0 + 10);
  ASSERT_EQ(E(firstList).Hidden, 0);
  ASSERT_TRUE(tk.root.DropDownOpen);
  FreeElement(tk, kCombo);
  EXPECT_EQ(FindElement(tk, firstList), nullptr);
  EXPECT_FALSE(tk.root.DropDownOpen);
  EXPECT_EQ(tk.root.OpenDropDown, -1);

  ASSERT_EQ(tk::Window(tk, 2, 300, 50, 300, 200, "Dialog", Flag::SystemMenu), 2);
  ASSERT_EQ(ComboBox(tk, 20, 10, 10, 120, 24, 0, 2), 20);
  ASSERT_EQ(ComboBox(tk, 21, 10, 50, 120, 24, kComboCheckList, 2), 21);
  ASSERT_GT(CreateMenu(tk, 30, 2), 0);
  MenuTitle(tk, "File");
  MenuItem(tk, 31, "Open");
  CloseList(tk);
  std::vector<int> owned = {ComboList(tk, 20), ComboList(tk, 21)};
  for (int link : E(owned[1]).Attached)
    if (link != owned[1] && FindElement(tk, link) != nullptr) owned.push_back(link);
  owned.push_back(E(30).Items[0]->Attached[0]);
  ASSERT_EQ(owned.size(), 5u);
  for (int id : owned)
    ASSERT_NE(FindElement(tk, id), nullptr);
  // The window's menu is open when it goes.
  ASSERT_EQ(DisplayPopupMenu(tk, owned.back(), 30, 320, 100), 1);

  FreeElement(tk, 2);
  for (int id : owned)
    EXPECT_EQ(FindElement(tk, id), nullptr) << "element " << id;
  for (const auto& rec : tk.root.Elements)
    EXPECT_NE(rec->WindowID, 2) << "element " << rec->ID << " names the freed window";
  EXPECT_FALSE(tk.root.DropDownOpen);
  // Pointer work afterwards finds nothing of the window.
  Press(330, 120);
  Repaint(tk, kWindow, true);
}

TEST_F(ComboBoxTest, ACheckListComboDropsDownItsIconList) {
  ASSERT_EQ(ComboBox(tk, kCombo, 20, 20, 150, 24, kComboCheckList, kWindow), kCombo);
  const int list = ComboList(tk, kCombo);
  ASSERT_GE(list, 0);
  EXPECT_EQ(E(list).Kind, ElementKind::ListIcon);
  EXPECT_NE(E(list).Hidden, 0);
  EXPECT_EQ(E(list).ModeField, 8);
  AddElementItem(tk, kCombo, -1, "Bold");
  AddElementItem(tk, kCombo, -1, "Italic");
  EXPECT_EQ(E(list).Items.size(), 2u);

  Repaint(tk, kWindow, true);
  platform.InjectMove(3, 3);
  PumpEvents(tk);
  Press(E(kCombo).Frame.x0 + 30, E(kCombo).Frame.y0 + 10);
  EXPECT_EQ(E(list).Hidden, 0);
  // On top of everything, followed only by its own scroll bars.
  const auto& all = tk.root.Elements;
  const int at = IndexOf(tk.root, FindElement(tk, list));
  for (size_t i = static_cast<size_t>(at) + 1; i < all.size(); ++i)
    EXPECT_EQ(all[i]->Kind, ElementKind::ScrollBar);
  EXPECT_GE(at, static_cast<int>(all.size()) - 3);
}

TEST_F(ComboBoxTest, NoSelectionShowsNoTextClearingDropsItAndAPanelTabIsKept) {
  ASSERT_EQ(ComboBox(tk, kCombo, 20, 20, 150, 24, 0, kWindow), kCombo);
  AddElementItem(tk, kCombo, -1, "Red");
  SetElementState(tk, kCombo, 0);
  EXPECT_EQ(GetElementText(tk, kCombo), "Red");
  SetElementState(tk, kCombo, -1);
  EXPECT_EQ(GetElementState(tk, kCombo), -1.0);
  EXPECT_EQ(GetElementText(tk, kCombo), "");

  // Clearing the entries clears the selection, also for entries added afterwards.
  AddElementItem(tk, kCombo, -1, "Green");
  SetElementState(tk, kCombo, 1);
  ClearItems(tk, kCombo);
  EXPECT_EQ(GetElementState(tk, kCombo), -1.0);
  EXPECT_EQ(GetElementText(tk, kCombo), "");
  AddElementItem(tk, kCombo, -1, "Blue");
  AddElementItem(tk, kCombo, -1, "Black");
  EXPECT_EQ(GetElementState(tk, kCombo), -1.0);
  EXPECT_EQ(GetElementText(tk, kCombo), "");

  // Made on the second tab of a panel, it leaves the panel's list on that tab.
  ASSERT_EQ(Panel(tk, 30, 10, 100, 300, 200, 0, kWindow), 30);
  AddTab(tk, 30, -1, "One");
  AddTab(tk, 30, -1, "Two");
  OpenList(tk, 30, 1);
  ASSERT_EQ(ComboBox(tk, 31, 10, 10, 150, 24), 31);
  ASSERT_EQ(tk::Button(tk, 32, 10, 50, 80, 24, "After"), 32);
  EXPECT_EQ(E(31).TabIndex, 1);
  EXPECT_EQ(E(32).TabIndex, 1);
  CloseList(tk);
}

}  // namespace
}  // namespace tk::testing
