// DispatchEvent: interaction state, tooltips and read-outs, item tracking, click hooks,
// design-mode keyboard handling and safety when a handler frees the element.
#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "render/dispatch.h"
#include "render/host.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

class DispatchTest : public ToolkitTest {
 protected:
  void SetUp() override {
    // The kinds' own behaviour (gadget delivery, clicks, hit passing) comes from their descriptors.
    PrepareToolkit(tk);
    main = OpenHost(tk, 1, 0, 0, 800, 600, "Main", Flag::SystemMenu);
    ASSERT_EQ(main, 1);
  }

  int Make(ElementKind kind, int id, int x, int y, int w = 100, int h = 30) {
    return CreateElement(tk, kind, id, x, y, w, h, "e" + std::to_string(id));
  }

  void KeyDown(int key, int modifiers) {
    tk.root.KeyCode = key;
    tk.root.Modifiers = modifiers;
    DispatchEvent(tk, ElementEvent::KeyDown, tk.root.UsedElement);
  }

  int main = 0;
};

TEST_F(DispatchTest, PointerCodesDriveTheInteractionStateBits) {
  int b = Make(ElementKind::Button, 10, 10, 10);
  Element* e = FindElement(tk, b);
  DispatchEvent(tk, ElementEvent::MouseEnter, b);
  EXPECT_EQ(e->RepaintFlags & (StateBit::Normal | StateBit::Hot), StateBit::Hot);
  EXPECT_EQ(e->HotId, b);
  DispatchEvent(tk, ElementEvent::LeftButtonDown, b);
  EXPECT_EQ(e->RepaintFlags & (StateBit::Hot | StateBit::Pressed), StateBit::Pressed);
  EXPECT_EQ(e->PressedId, b);
  DispatchEvent(tk, ElementEvent::LeftButtonUp, b);
  EXPECT_EQ(e->RepaintFlags & (StateBit::Hot | StateBit::Pressed), StateBit::Hot);
  EXPECT_EQ(e->PressedId, -1);
  DispatchEvent(tk, ElementEvent::Focus, b);
  EXPECT_TRUE(e->RepaintFlags & StateBit::Focused);
  DispatchEvent(tk, ElementEvent::MouseLeave, b);
  EXPECT_EQ(e->RepaintFlags & (StateBit::Normal | StateBit::Hot | StateBit::Pressed),
            StateBit::Normal);
  EXPECT_EQ(e->HotId, -1);
  DispatchEvent(tk, ElementEvent::LostFocus, b);
  EXPECT_FALSE(e->RepaintFlags & StateBit::Focused);

  // Disabled elements keep their state untouched.
  DisableElement(tk, b, 1);
  DispatchEvent(tk, ElementEvent::MouseEnter, b);
  EXPECT_EQ(e->RepaintFlags & StateBit::Hot, 0);
}

TEST_F(DispatchTest, TooltipsFollowThePointerAndDragReadoutsShowPositionAndSize) {
  int b = Make(ElementKind::Button, 10, 10, 10);
  FindElement(tk, b)->ToolTip = "Подсказка";
  tk.root.MouseX = 100;
  tk.root.MouseY = 50;
  DispatchEvent(tk, ElementEvent::MouseEnter, b);
  EXPECT_EQ(tk.root.ToolTipText, "Подсказка");
  EXPECT_EQ(tk.root.ToolTipX, 108);
  EXPECT_EQ(tk.root.ToolTipY, 66);
  DispatchEvent(tk, ElementEvent::MouseLeave, b);
  EXPECT_EQ(tk.root.ToolTipText, "");

  // While a button is held, moving and resizing report the new geometry.
  tk.root.ButtonHeld = static_cast<int>(ElementEvent::LeftButtonDown);
  tk.root.MouseX = 200;
  tk.root.MouseY = 70;
  ResizeElementById(tk, b, 25, 35, kIgnore, kIgnore, CoordMode::Parent);
  EXPECT_EQ(tk.root.ToolTipText, "x,y = (25:35)");
  EXPECT_EQ(tk.root.ToolTipX, 208);
  EXPECT_EQ(tk.root.ToolTipY, 86);
  ResizeElementById(tk, b, kIgnore, kIgnore, 140, 45, CoordMode::Parent);
  EXPECT_EQ(tk.root.ToolTipText, "W,H = (140:45)");
}

TEST_F(DispatchTest, TheLaterOfTwoOverlappingItemsIsHovered) {
  // A window's caption item spans the caption; its close button lies over its right end.
  Element* w = FindElement(tk, main);
  ASSERT_GE(w->Items.size(), 2u);
  Element& caption = *w->Items[0];
  Element& close = *w->Items[1];
  // Lay both out explicitly so the test does not depend on painting.
  caption.Frame.x0 = 0, caption.Frame.y0 = -1, caption.Frame.w0 = 798, caption.Frame.h0 = 27;
  close.Frame.x0 = 762, close.Frame.y0 = -1, close.Frame.w0 = 32, close.Frame.h0 = 18;
  w->MouseX = 770;
  w->MouseY = 5;
  DispatchEvent(tk, ElementEvent::MouseMove, main);
  EXPECT_EQ(w->HotItem, 1);
  EXPECT_EQ(tk.dispatch.HoveredItem, 1);
  w->MouseX = 100;
  DispatchEvent(tk, ElementEvent::MouseMove, main);
  EXPECT_EQ(w->HotItem, 0);
  w->MouseY = 300;
  DispatchEvent(tk, ElementEvent::MouseMove, main);
  EXPECT_EQ(w->HotItem, -1);
}

TEST_F(DispatchTest, HandlersReceiveCodesWithTheHotItem) {
  int b = Make(ElementKind::Button, 10, 10, 10);
  std::vector<std::pair<EventCode, int>> got;
  BindElementEvent(tk, b, MakeHandler([&](EventCode code, int value) {
                     got.push_back({code, value});
                     return 1;
                   }),
                   ElementEvent::LeftClick);
  DispatchEvent(tk, ElementEvent::LeftClick, b);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].first, ElementEvent::LeftClick);
  EXPECT_EQ(got[0].second, -1);
  HideElement(tk, b, 1);
  DispatchEvent(tk, ElementEvent::LeftClick, b);
  EXPECT_EQ(got.size(), 1u);  // hidden elements reach no handler
}

TEST_F(DispatchTest, ClicksToggleCheckBoxesAndSelectOptions) {
  int c = Make(ElementKind::CheckBox, 10, 10, 10);
  DispatchEvent(tk, ElementEvent::LeftClick, c);
  EXPECT_EQ(GetElementState(tk, c), 1.0);
  DispatchEvent(tk, ElementEvent::LeftClick, c);
  EXPECT_EQ(GetElementState(tk, c), 0.0);

  // One click is one LeftClick for the option's handlers, and they see it chosen.
  int o = Make(ElementKind::Option, 11, 10, 50);
  int optionEvents = 0;
  std::vector<int> stateSeen;
  BindElementEvent(tk, o, MakeHandler([&](EventCode code, int) {
                     if (code == ElementEvent::LeftClick) {
                       ++optionEvents;
                       stateSeen.push_back(FindElement(tk, o)->StateIndex);
                     }
                     return 1;
                   }),
                   -1);
  DispatchEvent(tk, ElementEvent::LeftClick, o);
  EXPECT_EQ(FindElement(tk, o)->StateIndex, 1);
  EXPECT_EQ(optionEvents, 1);
  EXPECT_EQ(stateSeen, std::vector<int>{1});

  // The next option of the group takes the choice over; an option elsewhere keeps its own.
  int o2 = Make(ElementKind::Option, 12, 10, 80);
  int box = CreateElement(tk, ElementKind::Container, 13, 200, 10, 200, 100, "", -1, -1, 0, 0);
  int lone = Make(ElementKind::Option, 14, 10, 10);
  CloseList(tk);
  ASSERT_EQ(GetParent(tk, lone), box);
  DispatchEvent(tk, ElementEvent::LeftClick, lone);
  DispatchEvent(tk, ElementEvent::LeftClick, o2);
  EXPECT_EQ(FindElement(tk, o2)->StateIndex, 1);
  EXPECT_NE(FindElement(tk, o)->StateIndex, 1);
  EXPECT_EQ(FindElement(tk, lone)->StateIndex, 1);

  // A disabled check box or option ignores clicks.
  DisableElement(tk, c, 1);
  DispatchEvent(tk, ElementEvent::LeftClick, c);
  EXPECT_EQ(GetElementState(tk, c), 0.0);
  DisableElement(tk, o, 1);
  DispatchEvent(tk, ElementEvent::LeftClick, o);
  EXPECT_NE(FindElement(tk, o)->StateIndex, 1);
  EXPECT_EQ(optionEvents, 1);
}

TEST_F(DispatchTest, APressOnAHiddenElementStillBringsItsWindowForward) {
  int other = CreateElement(tk, ElementKind::Window, 5, 400, 50, 200, 150, "other", -1, -1, -1,
                            Flag::SystemMenu);
  int b = Make(ElementKind::Button, 10, 10, 10);
  CloseList(tk);
  ASSERT_EQ(GetWindow(tk, b), other);
  FocusWindow(tk, main);
  ASSERT_EQ(tk.root.FocusedElement, main);
  HideElement(tk, b, 1);
  DispatchEvent(tk, ElementEvent::LeftButtonDown, b);
  EXPECT_EQ(tk.root.FocusedElement, other);
}

TEST_F(DispatchTest, ArrowKeysNudgeResizeAndWalkTheDesignSelection) {
  int box = CreateElement(tk, ElementKind::Container, 20, 10, 10, 300, 200, "", 0, 0, 0, 0);
  int first = Make(ElementKind::Button, 21, 20, 20);
  int second = Make(ElementKind::Button, 22, 20, 60);
  CloseList(tk);
  ActivateElement(tk, first);
  tk.root.DesignedElement = first;
  Element* e = FindElement(tk, first);

  KeyDown(platform::Key::Right, platform::Modifier::Control);
  EXPECT_EQ(e->ParentOffsetX(), 25);
  KeyDown(platform::Key::Up, platform::Modifier::Control);
  EXPECT_EQ(e->ParentOffsetY(), 15);
  KeyDown(platform::Key::Down, platform::Modifier::Shift);
  EXPECT_EQ(e->Frame.h0, 35);
  KeyDown(platform::Key::Left, platform::Modifier::Shift);
  EXPECT_EQ(e->Frame.w0, 95);

  // Plain arrows walk: Down to the next sibling, Up back, Up again to the parent's next
  // sibling or, without one, the parent.
  KeyDown(platform::Key::Down, 0);
  EXPECT_EQ(tk.root.DesignedElement, second);
  KeyDown(platform::Key::Up, 0);
  EXPECT_EQ(tk.root.DesignedElement, first);
  KeyDown(platform::Key::Left, 0);
  EXPECT_EQ(tk.root.DesignedElement, box);
  KeyDown(platform::Key::Right, 0);
  EXPECT_EQ(tk.root.DesignedElement, first);  // no next sibling: the first child
}

TEST_F(DispatchTest, AHandlerFreeingItsOwnWindowDuringDispatchIsSafe) {
  int w = CreateElement(tk, ElementKind::Window, 5, 400, 50, 200, 150, "doomed", -1, -1, -1,
                        Flag::SystemMenu);
  int b = Make(ElementKind::Button, 10, 10, 10);
  CloseList(tk);
  int after = 0;
  BindElementEvent(tk, b, MakeHandler([&](EventCode code, int) {
                     if (code == ElementEvent::LeftButtonDown) FreeElement(tk, w);
                     return 1;
                   }),
                   -1);
  BindCallback(tk, MakeHandler([&](EventCode, int) {
                 ++after;
                 return 1;
               }),
               -1, -1, -1);
  DispatchEvent(tk, ElementEvent::LeftButtonDown, b);
  EXPECT_EQ(FindElement(tk, w), nullptr);
  EXPECT_EQ(FindElement(tk, b), nullptr);
  EXPECT_TRUE(tk.root.Graveyard.empty());         // released once the dispatch returned
  DispatchEvent(tk, ElementEvent::LeftClick, b);  // a stale id does nothing
  EXPECT_GE(after, 1);
}

}  // namespace
}  // namespace tk::testing
