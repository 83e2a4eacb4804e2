// Element tree: queries, open lists, re-parenting, activation, focus and freeing.
#include <tuple>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

class TreeTest : public testing::ToolkitTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(CreateElement(tk, ElementKind::Desktop, 0, 0, 0, 800, 600, "", 0, 0, 0,
                            MakeFlags(0x8000000, 0)),
              0);
  }
  int Window(int id, int x = 10, int y = 10) {
    return CreateElement(tk, ElementKind::Window, id, x, y, 300, 200, "Win", -1, -1, -1, 0);
  }
  int Make(ElementKind kind, int id, int x = 5, int y = 5, int w = 80, int h = 40) {
    return CreateElement(tk, kind, id, x, y, w, h, "g", 0, 0, 0, 0);
  }
  void CloseAll() {
    while (CloseList(tk) != -1) {
    }
  }
  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }
};

TEST_F(TreeTest, QueriesFollowTheParentChain) {
  Window(100);
  Make(ElementKind::Container, 101);
  Make(ElementKind::Button, 5);
  Make(ElementKind::Button, 103);
  CloseList(tk);
  Make(ElementKind::Button, 104);

  EXPECT_TRUE(IsChildOf(tk, 5, 5));
  EXPECT_FALSE(IsChildOf(tk, 5, -1));
  EXPECT_TRUE(IsChildOf(tk, 5, 101));
  EXPECT_TRUE(IsChildOf(tk, 5, 100));
  EXPECT_TRUE(IsChildOf(tk, 5, 0));
  EXPECT_FALSE(IsChildOf(tk, 101, 5));
  EXPECT_FALSE(IsChildOf(tk, 104, 101));
  EXPECT_FALSE(IsChildOf(tk, 12345, 100));

  EXPECT_EQ(GetParent(tk, 5), 101);
  EXPECT_EQ(GetParent(tk, 104), 100);
  EXPECT_EQ(GetWindow(tk, 5), 100);
  EXPECT_EQ(E(101).ChildCount, 2);
  EXPECT_EQ(HasChildren(tk, 101, 0), 2);
  EXPECT_EQ(E(100).ChildCount, 2);  // the container and the last button
  EXPECT_EQ(CountSameKind(tk, ElementKind::Button, 101), 2);
  EXPECT_EQ(CountSameKind(tk, ElementKind::Button, 100), 1);
  EXPECT_EQ(CountSameKind(tk, ElementKind::Button, 12345), 0);

  EXPECT_TRUE(IsWindow(tk, 100));
  EXPECT_TRUE(IsGadget(tk, 5));
  EXPECT_FALSE(IsGadget(tk, 100));
  EXPECT_FALSE(IsGadget(tk, 0));
  EXPECT_EQ(GetKind(tk, 101), ElementKind::Container);
  EXPECT_EQ(IsListHolder(tk, 101), 1);
  EXPECT_EQ(IsListHolder(tk, 100), -1);
  EXPECT_EQ(IsListHolder(tk, 0), -5);

  tk.root.MouseX = 17;
  FindElement(tk, 5)->MouseX = 4;
  EXPECT_EQ(MouseX(tk, 0), 17);  // id 0 answers the pointer on the whole canvas
  EXPECT_EQ(MouseX(tk, 5), 4);
}

TEST_F(TreeTest, SiblingsSkipHiddenElementsAndOtherParents) {
  Window(100);
  Make(ElementKind::Button, 101);
  Make(ElementKind::Container, 102);
  Make(ElementKind::Button, 103);  // inside the container
  CloseList(tk);
  Make(ElementKind::Button, 104);
  Make(ElementKind::Button, 105);

  EXPECT_EQ(PreviousSibling(tk, 104), 102);  // the container's child is not a sibling
  EXPECT_EQ(NextSibling(tk, 102), 104);
  EXPECT_EQ(PreviousSibling(tk, 101), -1);
  EXPECT_EQ(NextSibling(tk, 105), -1);
  EXPECT_EQ(PreviousSibling(tk, 103), -1);

  E(104).Hidden = 1;
  EXPECT_EQ(PreviousSibling(tk, 105), 102);
  EXPECT_EQ(NextSibling(tk, 102), 105);
}

TEST_F(TreeTest, CloseListClosesInnermostFirstAndRestoresTheLists) {
  EXPECT_EQ(tk.root.OpenList, 0);  // the desktop receives top-level elements
  Window(100);
  EXPECT_EQ(tk.root.OpenList, 100);
  EXPECT_EQ(tk.root.CurrentWindow, 100);
  Make(ElementKind::Container, 101);
  EXPECT_EQ(tk.root.OpenList, 101);

  EXPECT_EQ(CloseList(tk), 101);
  EXPECT_EQ(tk.root.OpenList, 100);
  EXPECT_EQ(tk.root.CurrentWindow, 100);
  EXPECT_EQ(CloseList(tk), 100);
  EXPECT_EQ(tk.root.OpenList, 0);
  EXPECT_EQ(tk.root.CurrentWindow, -1);
  EXPECT_EQ(CloseList(tk), -1);  // the desktop is never closed
  EXPECT_EQ(tk.root.OpenList, 0);

  // Re-opening a closed container makes new elements its children again.
  EXPECT_EQ(OpenList(tk, 101), 0);
  EXPECT_EQ(tk.root.OpenList, 101);
  Make(ElementKind::Button, 102);
  EXPECT_EQ(GetParent(tk, 102), 101);
  EXPECT_EQ(OpenList(tk, 101), 101);  // already open: nothing happens

  // Elements without a list and absent ids leave the open list alone.
  EXPECT_EQ(OpenList(tk, 102), 101);
  EXPECT_EQ(OpenList(tk, 12345), 101);
  EXPECT_EQ(OpenList(tk, -1), 101);
  EXPECT_EQ(tk.root.OpenList, 101);
}

TEST_F(TreeTest, FreeingAContainerFreesItsSubtreeAfterAnnouncingEachRecord) {
  Window(100);
  Make(ElementKind::Container, 101);
  Make(ElementKind::Button, 102);
  Make(ElementKind::Container, 103);
  Make(ElementKind::Button, 104);
  CloseAll();
  OpenList(tk, 100);
  Make(ElementKind::Button, 105);
  const size_t before = tk.root.Elements.size();
  ASSERT_EQ(E(100).ChildCount, 2);

  // Every freed record is still found, with its text, while its Freed event runs.
  std::vector<std::tuple<int, bool, std::string>> seen;
  BindCallback(tk, MakeHandler([&](EventCode type, int) {
                 if (type == ElementEvent::Freed) {
                   const int id = tk.root.Event.EventElement;
                   seen.emplace_back(id, FindElement(tk, id) != nullptr, GetElementText(tk, id));
                 }
                 return 1;
               }),
               -1, -1, ElementEvent::Freed);

  FreeElement(tk, 101);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(std::get<0>(seen[0]), 104);  // deepest, last created first
  EXPECT_EQ(std::get<0>(seen[1]), 103);
  EXPECT_EQ(std::get<0>(seen[2]), 102);
  EXPECT_EQ(std::get<0>(seen[3]), 101);
  for (const auto& s : seen) {
    EXPECT_TRUE(std::get<1>(s));
    EXPECT_EQ(std::get<2>(s), "g");
  }
  for (int id : {101, 102, 103, 104})
    EXPECT_EQ(FindElement(tk, id), nullptr) << id;
  EXPECT_EQ(tk.root.Elements.size(), before - 4);
  EXPECT_EQ(tk.root.IDToAddress.size(), tk.root.Elements.size());
  EXPECT_EQ(tk.root.AddressToID.size(), tk.root.Elements.size());
  EXPECT_EQ(E(100).ChildCount, 1);
  EXPECT_TRUE(tk.root.Graveyard.empty());
  EXPECT_EQ(tk.root.BusyDepth, 0);

  FreeElement(tk, 12345);  // nothing to free
  EXPECT_EQ(tk.root.Elements.size(), before - 4);
}

TEST_F(TreeTest, AFreedHandlerMayFreeWhatIsAboutToBeFreed) {
  Window(100);
  Make(ElementKind::Container, 101);
  Make(ElementKind::Button, 102);
  Make(ElementKind::Button, 103);
  CloseAll();
  std::vector<int> freed;
  // While the last button goes, free its sibling and the container out of turn.
  BindCallback(tk, MakeHandler([&](EventCode type, int) {
                 if (type != ElementEvent::Freed) return 1;
                 freed.push_back(tk.root.Event.EventElement);
                 if (tk.root.Event.EventElement == 103) {
                   FreeElement(tk, 102);
                   FreeElement(tk, 101);
                 }
                 return 1;
               }),
               -1, -1, ElementEvent::Freed);
  FreeElement(tk, 101);
  EXPECT_EQ(freed, (std::vector<int>{103, 102, 101}));  // each announced exactly once
  EXPECT_EQ(tk.root.Elements.size(), 2u);
  EXPECT_EQ(E(100).ChildCount, 0);
  EXPECT_TRUE(tk.root.Graveyard.empty());
}

TEST_F(TreeTest, FreeingTheOpenListFallsBackToItsParent) {
  Window(100);
  Make(ElementKind::Container, 101);
  ASSERT_EQ(tk.root.OpenList, 101);
  FreeElement(tk, 101);
  EXPECT_EQ(tk.root.OpenList, 100);
  FreeElement(tk, 100);
  EXPECT_EQ(tk.root.OpenList, 0);
  EXPECT_EQ(tk.root.CurrentWindow, -1);
  // The next element lands safely on the desktop.
  Make(ElementKind::Button, 102);
  EXPECT_EQ(GetParent(tk, 102), 0);
}

TEST_F(TreeTest, RemoveElementActivatesANeighbour) {
  Window(100);
  Make(ElementKind::Button, 101);
  Make(ElementKind::Button, 102);
  Make(ElementKind::Button, 103);
  E(101).Named = 1;

  RemoveElement(tk, 102);  // the previous sibling takes over
  EXPECT_EQ(FindElement(tk, 102), nullptr);
  EXPECT_EQ(tk.root.ActiveGadget, 101);
  EXPECT_EQ(tk.root.DesignedElement, 101);

  RemoveElement(tk, 101);  // no previous sibling: the next one
  EXPECT_EQ(tk.root.ActiveGadget, 103);

  tk.root.DesignedElement = -1;
  RemoveElement(tk, 103);  // the last child: its parent window
  EXPECT_EQ(tk.root.ActiveWindow, 100);
  EXPECT_EQ(tk.root.DesignedElement, -1);
  EXPECT_EQ(E(100).ChildCount, 0);
}

TEST_F(TreeTest, SetElementParentMovesTheElementAndKeepsItsOffset) {
  Window(100);
  Make(ElementKind::Container, 101, 50, 40, 200, 100);
  CloseList(tk);
  Make(ElementKind::Button, 102, 12, 8);
  CloseAll();
  Window(200, 400, 300);
  CloseAll();
  ASSERT_EQ(GetParent(tk, 102), 100);
  const int offsetX = ElementX(tk, 102, CoordMode::Parent);
  const int offsetY = ElementY(tk, 102, CoordMode::Parent);
  ASSERT_EQ(offsetX, 12);

  EXPECT_EQ(SetElementParent(tk, 102, 101), 100);
  EXPECT_EQ(GetParent(tk, 102), 101);
  EXPECT_EQ(GetWindow(tk, 102), 100);
  EXPECT_EQ(E(101).ChildCount, 1);
  EXPECT_EQ(E(100).ChildCount, 1);
  EXPECT_EQ(ElementX(tk, 102, CoordMode::Parent), offsetX);
  EXPECT_EQ(ElementY(tk, 102, CoordMode::Parent), offsetY);
  EXPECT_EQ(ElementX(tk, 102, CoordMode::Frame), E(101).Inner.x0 + offsetX);

  // Moving the container to the other window takes its child along.
  EXPECT_EQ(SetElementParent(tk, 101, 200), 100);
  EXPECT_EQ(GetWindow(tk, 101), 200);
  EXPECT_EQ(GetWindow(tk, 102), 200);
  EXPECT_EQ(E(100).ChildCount, 0);
  EXPECT_EQ(E(200).ChildCount, 1);
  EXPECT_EQ(ElementX(tk, 101, CoordMode::Frame), E(200).Inner.x0 + 50);
  EXPECT_EQ(ElementX(tk, 102, CoordMode::Frame), E(101).Inner.x0 + offsetX);
  EXPECT_TRUE(IsChildOf(tk, 102, 200));

  // Same parent and absent ids change nothing.
  EXPECT_EQ(SetElementParent(tk, 102, 101), -1);
  EXPECT_EQ(SetElementParent(tk, 12345, 101), -1);
  EXPECT_EQ(SetElementParent(tk, 102, 12345), -1);

  // Onto a panel: the element sits on the asked tab and shows only with it.
  OpenList(tk, 200);
  Make(ElementKind::Panel, 201, 5, 5, 200, 150);
  CloseAll();
  AddItem(tk, 201, -1, "Tab A");
  AddItem(tk, 201, -1, "Tab B");
  EXPECT_EQ(SetElementParent(tk, 102, 201, 1), 101);
  EXPECT_EQ(E(102).TabIndex, 1);
  EXPECT_EQ(E(102).Hidden, 1);
  EXPECT_EQ(SetElementParent(tk, 102, 101, 0), 201);
  EXPECT_EQ(E(102).TabIndex, 0);
  EXPECT_EQ(E(102).Hidden, 0);
}

TEST_F(TreeTest, SetElementParentRefusesALoop) {
  Window(100);
  Make(ElementKind::Container, 101);
  Make(ElementKind::Container, 102);
  Make(ElementKind::Button, 103);
  CloseAll();

  EXPECT_EQ(SetElementParent(tk, 101, 103), -1);  // a grandchild
  EXPECT_EQ(SetElementParent(tk, 101, 102), -1);  // a child
  EXPECT_EQ(SetElementParent(tk, 101, 101), -1);  // itself
  EXPECT_EQ(GetParent(tk, 101), 100);
  EXPECT_EQ(E(101).ChildCount, 1);
  EXPECT_EQ(E(102).ChildCount, 1);
  EXPECT_EQ(E(100).ChildCount, 1);
  EXPECT_FALSE(IsChildOf(tk, 101, 103));
}

TEST_F(TreeTest, ActivatingWindowsAndGadgetsMovesTheFocusLook) {
  Window(100);
  Make(ElementKind::Button, 110);
  CloseAll();
  Window(200, 350, 10);
  Make(ElementKind::Button, 210);
  CloseAll();
  ASSERT_EQ(tk.root.ActiveWindow, 200);  // the last created window is active

  EXPECT_EQ(ActivateElement(tk, 110), 0);
  EXPECT_EQ(tk.root.ActiveGadget, 110);
  EXPECT_EQ(tk.root.ActiveWindow, 100);
  EXPECT_EQ(E(100).LastFocus, 110);
  EXPECT_NE(E(110).RepaintFlags & StateBit::Focused, 0);

  EXPECT_EQ(ActivateElement(tk, 210), 110);
  EXPECT_EQ(E(110).RepaintFlags & StateBit::Focused, 0);
  EXPECT_NE(E(210).RepaintFlags & StateBit::Focused, 0);
  EXPECT_EQ(E(200).LastFocus, 210);

  // Activating the first window gives the focus back to the gadget it last had.
  EXPECT_EQ(ActivateElement(tk, 100), 200);
  EXPECT_EQ(tk.root.ActiveWindow, 100);
  EXPECT_EQ(tk.root.UsedElement, 100);
  EXPECT_NE(E(110).RepaintFlags & StateBit::Focused, 0);
  EXPECT_EQ(E(210).RepaintFlags & StateBit::Focused, 0);
  EXPECT_EQ(tk.root.FocusedGadget, 110);

  EXPECT_EQ(ActivateElement(tk, 12345), -1);
  E(210).Alive = 0;
  EXPECT_EQ(ActivateElement(tk, 210), -1);
  E(210).Alive = 1;
  EXPECT_EQ(tk.root.ActiveWindow, 100);
}

TEST_F(TreeTest, ActivationIsAnnouncedThroughTheDispatchHook) {
  // The hook forwards to the desktop's handlers so the test can record what it was told.
  tk.hooks.DispatchEvent = [](Toolkit& t, EventCode code, int id) {
    PostElementEvent(t, code, 0, id, 0);
  };
  std::vector<std::pair<EventCode, int>> told;
  BindCallback(tk, MakeHandler([&](EventCode type, int value) {
                 told.emplace_back(type, value);
                 return 1;
               }),
               -1, -1, ElementEvent::Focus | ElementEvent::LostFocus);

  Window(100);
  Make(ElementKind::Button, 110);
  Make(ElementKind::Button, 111);
  CloseAll();
  Window(200, 350, 10);
  CloseAll();
  told.clear();

  ActivateElement(tk, 100);
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0], std::make_pair(ElementEvent::LostFocus, 200));
  EXPECT_EQ(told[1], std::make_pair(ElementEvent::Focus, 100));

  told.clear();
  ActivateElement(tk, 110);
  ActivateElement(tk, 111);
  ASSERT_EQ(told.size(), 3u);
  EXPECT_EQ(told[0], std::make_pair(ElementEvent::Focus, 110));
  EXPECT_EQ(told[1], std::make_pair(ElementEvent::LostFocus, 110));
  EXPECT_EQ(told[2], std::make_pair(ElementEvent::Focus, 111));

  told.clear();
  ActivateElement(tk, 111);  // already active: nothing announced
  ActivateElement(tk, 100);  // already the active window
  EXPECT_TRUE(told.empty());
}

TEST_F(TreeTest, FocusWindowBringsTheWindowToTheFront) {
  tk.hooks.SetPosition = [](Toolkit& t, int id, int direction, int) {
    PostElementEvent(t, ElementEvent::MenuEvent, 0, id * 10000 + direction, 0);
    return -1;
  };
  std::vector<int> moves;
  BindCallback(tk, MakeHandler([&](EventCode, int value) {
                 moves.push_back(value);
                 return 1;
               }),
               -1, -1, ElementEvent::MenuEvent);
  Window(100);
  Make(ElementKind::Button, 110);
  CloseAll();
  Window(35, 300, 10);  // one of the designer's tool windows: never moved
  CloseAll();
  moves.clear();

  tk.root.FocusedElement = 7;
  EXPECT_EQ(FocusWindow(tk, 110), 7);
  EXPECT_EQ(tk.root.FocusedElement, 100);
  EXPECT_EQ(moves, std::vector<int>{100 * 10000 + 2048});

  moves.clear();
  EXPECT_EQ(FocusWindow(tk, 35), 100);
  EXPECT_EQ(tk.root.FocusedElement, 35);
  EXPECT_TRUE(moves.empty());

  E(110).Data = kIgnore;  // marked as not focusable
  EXPECT_EQ(FocusWindow(tk, 110), kIgnore);
  EXPECT_EQ(tk.root.FocusedElement, 35);
  EXPECT_EQ(FocusWindow(tk, 12345), -1);

  // The sticky window is moved only when it changes.
  moves.clear();
  EXPECT_EQ(StickyWindow(tk, 100, 1), -1);
  EXPECT_EQ(StickyWindow(tk, 100, 1), 100);
  EXPECT_EQ(moves, std::vector<int>{100 * 10000 + 2048});
  EXPECT_EQ(StickyWindow(tk, 110, 1), 100);  // not a window: unchanged
  EXPECT_EQ(StickyWindow(tk, 100, 0), 100);
  EXPECT_EQ(tk.root.StickyWindow, -1);
}

}  // namespace
}  // namespace tk
