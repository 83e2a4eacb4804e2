// Z-order: sibling neighbours, moving elements with their subtrees, the sticky window and the
// popup menu staying on top, and windows brought to the front by a press.
#include "elements/zorder.h"

#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/repaint.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

constexpr int kWindow = 1;

class ZOrderTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 600, 400, "Main", Flag::SystemMenu), kWindow);
  }

  // Four siblings in the window: 10, a container 20 holding 21 and 22, 30 and 40.
  void BuildSiblings() {
    ASSERT_EQ(Button(tk, 10, 0, 0, 50, 20, "10", 0, kWindow), 10);
    ASSERT_EQ(Container(tk, 20, 0, 30, 100, 60, 0, kWindow), 20);
    OpenList(tk, 20);
    Button(tk, 21, 0, 0, 40, 20, "21");
    Button(tk, 22, 0, 25, 40, 20, "22");
    CloseList(tk);
    ASSERT_EQ(Button(tk, 30, 0, 100, 50, 20, "30", 0, kWindow), 30);
    ASSERT_EQ(Button(tk, 40, 0, 130, 50, 20, "40", 0, kWindow), 40);
  }

  // The ids of the list from the first record inside the window on, in list order.
  std::vector<int> Order(std::vector<int> of) {
    std::vector<int> out;
    for (const auto& r : tk.root.Elements)
      for (int id : of)
        if (r->ID == id) out.push_back(id);
    return out;
  }
  std::vector<int> Gadgets() { return Order({10, 20, 21, 22, 30, 40}); }
};

TEST_F(ZOrderTest, NeighboursSkipHiddenSiblingsAndOtherLevels) {
  BuildSiblings();
  EXPECT_EQ(Sibling(tk, 30, ZOrder::First), 10);
  EXPECT_EQ(Sibling(tk, 30, ZOrder::Before), 20);
  EXPECT_EQ(Sibling(tk, 20, ZOrder::After), 30);
  EXPECT_EQ(Sibling(tk, 10, ZOrder::Last), 40);
  EXPECT_EQ(Sibling(tk, 21, ZOrder::Last), 22);
  EXPECT_EQ(Sibling(tk, 10, ZOrder::Before), -1);
  EXPECT_EQ(LastInside(tk, 20), 22);
  EXPECT_EQ(LastInside(tk, 30), 30);
  EXPECT_EQ(LastInside(tk, 999), -1);

  HideElement(tk, 30, 1);
  FindElement(tk, 10)->SubLevel = 1;  // another level is no sibling either
  EXPECT_EQ(Sibling(tk, 40, ZOrder::Before), 20);
  EXPECT_EQ(Sibling(tk, 20, ZOrder::After), 40);
  EXPECT_EQ(Sibling(tk, 40, ZOrder::First), 20);
  EXPECT_EQ(Sibling(tk, 999, ZOrder::First), -1);
}

TEST_F(ZOrderTest, MovesCarryTheSubtreeAndKeepItTogether) {
  BuildSiblings();
  EXPECT_EQ(SetPosition(tk, 20, ZOrder::Before, 20), 0);  // before itself: nothing
  EXPECT_EQ(Gadgets(), (std::vector<int>{10, 20, 21, 22, 30, 40}));
  EXPECT_EQ(SetPosition(tk, 999, ZOrder::Last), -1);

  // The container to the back: its children come along in their order.
  EXPECT_EQ(SetPosition(tk, 20, ZOrder::Last), -1);
  EXPECT_EQ(Gadgets(), (std::vector<int>{10, 30, 40, 20, 21, 22}));
  // The first sibling up, or to the front: nothing changes.
  SetPosition(tk, 10, ZOrder::Before);
  SetPosition(tk, 10, ZOrder::First);
  EXPECT_EQ(Gadgets(), (std::vector<int>{10, 30, 40, 20, 21, 22}));
  // One step down past a container goes past its children, so its subtree stays whole.
  SetPosition(tk, 40, ZOrder::After);
  EXPECT_EQ(Gadgets(), (std::vector<int>{10, 30, 20, 21, 22, 40}));
  // One step up, then to the front.
  SetPosition(tk, 20, ZOrder::Before);
  EXPECT_EQ(Gadgets(), (std::vector<int>{10, 20, 21, 22, 30, 40}));
  SetPosition(tk, 30, ZOrder::First);
  EXPECT_EQ(Gadgets(), (std::vector<int>{30, 10, 20, 21, 22, 40}));
  // Directly after an element of another parent.
  SetPosition(tk, 40, ZOrder::After, 21);
  EXPECT_EQ(Gadgets(), (std::vector<int>{30, 10, 20, 21, 40, 22}));
  // Never into its own subtree.
  SetPosition(tk, 20, ZOrder::After, 22);
  EXPECT_EQ(Gadgets(), (std::vector<int>{30, 10, 20, 21, 40, 22}));
}

TEST_F(ZOrderTest, StickyWindowAndPopupMenuStayOnTop) {
  ASSERT_EQ(tk::Window(tk, 2, 10, 10, 200, 100, "Sticky", Flag::SystemMenu), 2);
  Button(tk, 3, 0, 0, 50, 20, "in sticky");
  CloseList(tk);
  ASSERT_EQ(tk::Window(tk, 4, 30, 30, 200, 100, "Other", Flag::SystemMenu), 4);
  CloseList(tk);
  StickyWindow(tk, 2, 1);
  // A popup menu and its members, made by hand.
  ASSERT_EQ(CreateElement(tk, ElementKind::PopupMenu, 50, 0, 0, 10, 10, "", -1, -1, 0, 0, 0), 50);
  FindElement(tk, 50)->PopupMember = 1;
  tk.root.TopPopupMenu = 50;
  ASSERT_EQ(Button(tk, 51, 0, 0, 50, 20, "member", 0, kWindow), 51);
  FindElement(tk, 51)->PopupMember = 1;

  // Bringing the other window to the front still leaves the sticky window above it and the
  // popup menu, followed only by its members, above everything.
  SetPosition(tk, 4, ZOrder::Last);
  const auto& list = tk.root.Elements;
  const size_t n = list.size();
  ASSERT_GE(n, 5u);
  EXPECT_EQ(list[n - 1]->ID, 51);
  EXPECT_EQ(list[n - 2]->ID, 50);
  EXPECT_EQ(Order({4, 2, 3}), (std::vector<int>{4, 2, 3}));
  // A move with a relative element leaves the top alone.
  SetPosition(tk, 2, ZOrder::Before, 4);
  EXPECT_EQ(Order({2, 3, 4}), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(tk.root.Elements.back()->ID, 51);
}

TEST_F(ZOrderTest, PressingAWindowBringsItToTheFront) {
  ASSERT_EQ(tk::Window(tk, 2, 20, 40, 200, 150, "Back", Flag::SystemMenu, kWindow), 2);
  ASSERT_EQ(Button(tk, 3, 10, 10, 150, 100, "back button"), 3);
  CloseList(tk);
  ASSERT_EQ(tk::Window(tk, 4, 120, 60, 200, 150, "Front", Flag::SystemMenu, kWindow), 4);
  CloseList(tk);
  ASSERT_GT(IndexOf(tk.root, FindElement(tk, 4)), IndexOf(tk.root, FindElement(tk, 3)));
  Repaint(tk, kWindow, true);

  // A point both windows cover, where the back window holds its button.
  const Element& button = *FindElement(tk, 3);
  const int x = button.Frame.x0 + button.Frame.w0 - 5, y = button.Frame.y0 + button.Frame.h0 - 5;
  ASSERT_GE(x, FindElement(tk, 4)->Frame.x0);
  platform.InjectMove(3, 3);
  platform.InjectMove(x, y);
  PumpEvents(tk);
  EXPECT_EQ(tk.root.PointerElement, 4);

  // Press the back window's caption: it comes to the front with its button.
  const Element& back = *FindElement(tk, 2);
  platform.InjectMove(back.Frame.x0 + 20, back.Frame.y0 + 8);
  platform.InjectClick(back.Frame.x0 + 20, back.Frame.y0 + 8);
  PumpEvents(tk);
  EXPECT_GT(IndexOf(tk.root, FindElement(tk, 2)), IndexOf(tk.root, FindElement(tk, 4)));
  EXPECT_GT(IndexOf(tk.root, FindElement(tk, 3)), IndexOf(tk.root, FindElement(tk, 2)));
  platform.InjectMove(x, y);
  PumpEvents(tk);
  EXPECT_EQ(tk.root.PointerElement, 3);
}

TEST_F(ZOrderTest, ARelativeElementThatDoesNotExistMovesNothing) {
  BuildSiblings();
  EXPECT_EQ(SetPosition(tk, 30, ZOrder::Before, 999), -1);
  EXPECT_EQ(SetPosition(tk, 30, ZOrder::Last, 999), -1);
  EXPECT_EQ(Gadgets(), (std::vector<int>{10, 20, 21, 22, 30, 40}));
}

}  // namespace
}  // namespace tk::testing
