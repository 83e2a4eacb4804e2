// Element attributes: text, state, colours, disabled and hidden propagation, items, flags,
// and the neutral answers for ids that name no element.
#include <functional>
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
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

constexpr int kAbsent = 12345;

class AttributesTest : public testing::ToolkitTest {
 protected:
  void SetUp() override {
    // Kinds answer for their own items, states, texts and flags.
    RegisterKinds(tk);
    ASSERT_EQ(CreateElement(tk, ElementKind::Desktop, 0, 0, 0, 800, 600, "", 0, 0, 0,
                            MakeFlags(0x8000000, 0)),
              0);
  }
  int Window(int id, Flags64 flags = 0, const char* title = "Main") {
    return CreateElement(tk, ElementKind::Window, id, 20, 20, 300, 200, title, -1, -1, -1, flags);
  }
  int Make(ElementKind kind, int id, Flags64 flags = 0, const char* text = "t", int p1 = 0,
           int p2 = 0, int p3 = 0) {
    return CreateElement(tk, kind, id, 5, 5, 80, 30, text, p1, p2, p3, flags);
  }
  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }
  // Kinds of a window's items, in order.
  std::vector<int> ItemKinds(int id) {
    std::vector<int> kinds;
    for (const auto& item : E(id).Items)
      kinds.push_back(KindValue(item->Kind));
    return kinds;
  }
  // Every ItemMap entry names the record at that position of Items.
  void ExpectItemMapConsistent(int id) {
    Element& e = E(id);
    ASSERT_EQ(e.ItemMap.size(), e.Items.size());
    for (size_t i = 0; i < e.Items.size(); ++i) {
      auto it = e.ItemMap.find(static_cast<int>(i));
      ASSERT_NE(it, e.ItemMap.end());
      EXPECT_EQ(it->second, e.Items[i].get());
      EXPECT_EQ(e.Items[i]->ID, static_cast<int>(i));
    }
  }
};

TEST_F(AttributesTest, DisablingFollowsTheTreeAndKeepsOwnWishes) {
  Window(100);
  Make(ElementKind::Container, 101);
  Make(ElementKind::Button, 102);
  Make(ElementKind::Button, 103);
  Make(ElementKind::Container, 104);
  Make(ElementKind::Button, 105);  // inside 104

  DisableElement(tk, 103, 1);
  DisableElement(tk, 104, 1);
  EXPECT_EQ(DisableElement(tk, 101, 1), -1);
  for (int id : {101, 102, 103, 104, 105})
    EXPECT_EQ(IsDisabled(tk, id), 1) << id;
  EXPECT_EQ(IsDisabled(tk, 100), 0);

  EXPECT_EQ(DisableElement(tk, 101, 0), -1);
  EXPECT_EQ(IsDisabled(tk, 101), 0);
  EXPECT_EQ(IsDisabled(tk, 102), 0);
  EXPECT_EQ(IsDisabled(tk, 103), 1);  // disabled on its own
  EXPECT_EQ(IsDisabled(tk, 104), 1);
  EXPECT_EQ(IsDisabled(tk, 105), 1);  // its container is still disabled
  EXPECT_EQ(DisableElement(tk, 101, -1), 0);
  EXPECT_EQ(DisableElement(tk, 103, -1), 1);

  DisableElement(tk, 104, 0);
  EXPECT_EQ(IsDisabled(tk, 105), 0);
}

TEST_F(AttributesTest, HidingFollowsTheTreeAndKeepsOwnWishes) {
  Window(100);
  Make(ElementKind::Container, 101);
  Make(ElementKind::Button, 102);
  Make(ElementKind::Button, 103);
  Make(ElementKind::Container, 104);
  Make(ElementKind::Button, 105);  // inside 104
  while (CloseList(tk) != -1) {
  }
  OpenList(tk, 100);
  Make(ElementKind::Button, 106);
  Make(ElementKind::ScrollBar, 107, 0, "", 0, 100, 10);

  EXPECT_EQ(HideElement(tk, 103, 1), 0);
  EXPECT_EQ(E(103).HiddenOwn, 1);
  HideElement(tk, 104, 1);
  EXPECT_EQ(HideElement(tk, 101, 1), 0);
  for (int id : {101, 102, 103, 104, 105})
    EXPECT_EQ(E(id).Hidden, 1) << id;
  EXPECT_EQ(E(100).Hidden, 0);

  EXPECT_EQ(HideElement(tk, 101, 0), 1);
  EXPECT_EQ(E(101).Hidden, 0);
  EXPECT_EQ(E(102).Hidden, 0);
  EXPECT_EQ(E(103).Hidden, 1);  // hidden on its own
  EXPECT_EQ(E(104).Hidden, 1);
  EXPECT_EQ(E(105).Hidden, 1);  // inside a hidden container
  // Shown by the program while its parent is hidden, it stays hidden until the parent shows.
  HideElement(tk, 105, 0);
  EXPECT_EQ(E(105).Hidden, 1);
  HideElement(tk, 104, 0);
  EXPECT_EQ(E(105).Hidden, 0);

  // An element without children takes its attached elements (its scroll bars) along; a
  // bar hidden on its own leaves its owner alone.
  E(106).Attached[1] = 107;
  E(107).Attached[0] = 106;
  HideElement(tk, 106, 1);
  EXPECT_EQ(E(107).Hidden, 1);
  HideElement(tk, 106, 0);
  EXPECT_EQ(E(107).Hidden, 0);
  HideElement(tk, 107, 1);
  EXPECT_EQ(E(107).Hidden, 1);
  EXPECT_EQ(E(106).Hidden, 0);
}

TEST_F(AttributesTest, ToolBarFlagsAreLeftAlone) {
  Window(100);
  Make(ElementKind::ToolBar, 101);
  const Flags64 flags = E(101).Flags;
  const int frame = E(101).FrameWidth;
  EXPECT_EQ(SetElementFlags(tk, 101, Flag::Double | Flag::SizeGadget), 1u);
  EXPECT_EQ(E(101).Flags, flags);
  EXPECT_EQ(E(101).FrameWidth, frame);
}

TEST_F(AttributesTest, WindowFlagsAddTheCaptionItems) {
  Window(100, Flag::BorderLess, "Title");
  ASSERT_TRUE(E(100).Items.empty());
  EXPECT_EQ(E(100).FrameWidth, 0);

  const Flags64 before = E(100).Flags;
  EXPECT_EQ(
      SetElementFlags(tk, 100, Flag::SystemMenu | Flag::MaximizeGadget | Flag::MinimizeGadget),
      before);
  EXPECT_EQ(ItemKinds(100), (std::vector<int>{-1, 0x20, 0x80, 0x40}));
  EXPECT_EQ(E(100).Items[0]->Text, "Title");
  EXPECT_EQ(E(100).CaptionHeight, tk.root.CaptionHeightDefault);
  EXPECT_TRUE(HasAll(E(100).Flags, Flag::TitleBar | Flag::MoveArea));
  EXPECT_EQ(E(100).FrameWidth, 0);  // still borderless
  ExpectItemMapConsistent(100);

  // Buttons the window already has are not added twice.
  SetElementFlags(tk, 100, Flag::SystemMenu | Flag::MaximizeGadget);
  EXPECT_EQ(E(100).Items.size(), 4u);

  // A window created without flags gets a caption and a close button only.
  Window(200);
  EXPECT_EQ(ItemKinds(200), (std::vector<int>{-1, 0x20}));
  EXPECT_EQ(E(200).FrameWidth, 1);
}

TEST_F(AttributesTest, BorderWidthFollowsTheFlags) {
  Window(100);
  Make(ElementKind::Button, 101, Flag::BorderLess);
  Make(ElementKind::Button, 102, 0);
  Make(ElementKind::Button, 103, Flag::Double);
  Make(ElementKind::Button, 104, Flag::Raised);
  Make(ElementKind::Button, 105, Flag::SizeGadget);
  Make(ElementKind::Button, 106, Flag::PassThrough);

  EXPECT_EQ(E(101).FrameWidth, 0);
  EXPECT_FALSE(HasAny(E(101).Flags, Flag::Border));
  EXPECT_EQ(E(102).FrameWidth, 1);
  EXPECT_TRUE(HasAny(E(102).Flags, Flag::Border));
  EXPECT_EQ(E(103).FrameWidth, 2);
  EXPECT_EQ(E(104).FrameWidth, 2);
  EXPECT_EQ(E(105).FrameWidth, 4);
  EXPECT_EQ(E(105).FrameWidthSet, 1);
  EXPECT_EQ(E(106).BackgroundMode, Background::None);

  // The widened border does not move the element: the frame stays where it was placed.
  const int x = E(105).Frame.x0;
  SetElementFlags(tk, 105, Flag::SizeGadget);
  EXPECT_EQ(E(105).Frame.x0, x);
  EXPECT_EQ(E(105).Inner.x0, x + 4);

  // Borderless wins over a later bordered request on the same element.
  SetElementFlags(tk, 101, Flag::Raised);
  EXPECT_EQ(E(101).FrameWidth, 0);
}

TEST_F(AttributesTest, RemovingWindowFlagsRemovesTheirItems) {
  Window(100, Flag::SystemMenu | Flag::MaximizeGadget | Flag::MinimizeGadget);
  ASSERT_EQ(ItemKinds(100), (std::vector<int>{-1, 0x20, 0x80, 0x40}));

  EXPECT_TRUE(RemoveElementFlags(tk, 100, Flag::TitleBar));
  EXPECT_EQ(E(100).CaptionHeight, 0);
  EXPECT_FALSE(HasAny(E(100).Flags, Flag::MoveArea));
  EXPECT_EQ(ItemKinds(100), (std::vector<int>{0x20, 0x80, 0x40}));
  ExpectItemMapConsistent(100);

  // Giving the title bar back puts the caption in front of the buttons again.
  SetElementFlags(tk, 100, Flag::TitleBar);
  EXPECT_EQ(ItemKinds(100), (std::vector<int>{-1, 0x20, 0x80, 0x40}));
  ExpectItemMapConsistent(100);

  // The whole system menu value takes the title bar and every button with it.
  EXPECT_TRUE(RemoveElementFlags(tk, 100, Flag::SystemMenu));
  EXPECT_TRUE(E(100).Items.empty());
  EXPECT_TRUE(E(100).ItemMap.empty());

  Make(ElementKind::Button, 101, Flag::Double);
  EXPECT_TRUE(RemoveElementFlags(tk, 101, Flag::Double));
  EXPECT_TRUE(HasAny(E(101).Flags, Flag::BorderLess));
  EXPECT_FALSE(HasAny(E(101).Flags, Flag::Border));
  EXPECT_EQ(E(101).FrameWidthSet, 0);
  EXPECT_FALSE(RemoveElementFlags(tk, kAbsent, Flag::Double));
}

TEST_F(AttributesTest, TextOfTextsWindowsAndSpins) {
  Window(100, 0, "Caption");
  Make(ElementKind::Text, 101, 0, "one");
  Make(ElementKind::String, 102, 0, "two");
  Make(ElementKind::Spin, 103, 0, "");
  E(101).Flags |= Flag::MultiLine;

  EXPECT_EQ(SetElementText(tk, 101, "abc"), "one");
  EXPECT_EQ(GetElementText(tk, 101), "abc\n");
  E(101).Flags &= ~Flag::MultiLine;
  SetElementText(tk, 101, "abc");
  EXPECT_EQ(GetElementText(tk, 101), "abc");

  E(102).Repaint = 0;
  EXPECT_EQ(SetElementText(tk, 102, "x"), "two");
  EXPECT_EQ(GetElementText(tk, 102), "x");
  EXPECT_EQ(E(102).Repaint, 1);

  // A window's title lives in its caption item.
  EXPECT_EQ(GetElementText(tk, 100), "Caption");
  EXPECT_EQ(SetElementText(tk, 100, "New"), "Caption");
  EXPECT_EQ(E(100).Items[0]->Text, "New");
  EXPECT_EQ(GetElementText(tk, 100), "New");

  SetElementText(tk, 103, "2.5");
  EXPECT_FLOAT_EQ(E(103).SpinValue, 2.5f);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 103), 2.5);
}

TEST_F(AttributesTest, CheckBoxStates) {
  Window(100);
  Make(ElementKind::CheckBox, 101);
  SetElementState(tk, 101, 1);
  EXPECT_EQ(E(101).Checked, 1);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 101), 1);
  SetElementState(tk, 101, 0);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 101), 0);

  SetElementState(tk, 101, -1);  // in-between needs permission
  EXPECT_EQ(E(101).InBetween, 0);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 101), 0);

  E(101).ThreeStateAllowed = 1;
  SetElementState(tk, 101, 1);
  SetElementState(tk, 101, -1);
  EXPECT_EQ(E(101).InBetween, 1);
  EXPECT_EQ(E(101).Checked, 0);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 101), -1);
  SetElementState(tk, 101, 1);
  EXPECT_EQ(E(101).InBetween, 0);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 101), 1);
}

TEST_F(AttributesTest, StateChangesPostTheirEvents) {
  Window(100, Flag::SystemMenu | Flag::MaximizeGadget | Flag::MinimizeGadget);
  Make(ElementKind::Option, 101);
  Make(ElementKind::ListView, 102);
  std::vector<std::pair<EventCode, int>> posted;
  BindCallback(tk, MakeHandler([&](EventCode type, int value) {
                 posted.emplace_back(type, value);
                 return 1;
               }),
               -1, -1, -1);
  posted.clear();

  SetElementState(tk, 101, 1);
  SetElementState(tk, 102, 2);
  SetElementState(tk, 102, 2);  // unchanged: no Change
  SetElementState(tk, 102, 3);
  ASSERT_EQ(posted.size(), 3u);
  EXPECT_EQ(posted[0], std::make_pair(ElementEvent::LeftClick, 1));
  EXPECT_EQ(posted[1], std::make_pair(ElementEvent::Change, 2));
  EXPECT_EQ(posted[2], std::make_pair(ElementEvent::Change, 3));
  EXPECT_DOUBLE_EQ(GetElementState(tk, 102), 3);

  // Window states toggle the marks; maximizing swaps the button's two glyphs.
  Element* maxButton = E(100).Items[2].get();
  ASSERT_EQ(KindValue(maxButton->Kind), 0x80);
  maxButton->Image = 11;
  maxButton->Image2 = 22;
  posted.clear();
  SetElementState(tk, 100, 0x80);
  EXPECT_EQ(E(100).Maximized, 1);
  EXPECT_EQ(maxButton->Image, 22);
  EXPECT_EQ(maxButton->Image2, 11);
  SetElementState(tk, 100, 0x80);
  EXPECT_EQ(E(100).Maximized, 0);
  EXPECT_EQ(maxButton->Image, 11);
  SetElementState(tk, 100, 0x40);
  EXPECT_EQ(E(100).Minimized, 1);
  SetElementState(tk, 100, 0x20);
  ASSERT_EQ(posted.size(), 4u);
  EXPECT_EQ(posted[0].first, ElementEvent::MaximizeButton);
  EXPECT_EQ(posted[2].first, ElementEvent::MinimizeButton);
  EXPECT_EQ(posted[3].first, ElementEvent::CloseButton);
}

TEST_F(AttributesTest, StateGetterByKind) {
  Window(100);
  Make(ElementKind::Button, 101);
  Make(ElementKind::Button, 102);
  Make(ElementKind::ScrollBar, 103, 0, "", 0, 100, 10);
  Make(ElementKind::TrackBar, 104, Flag::Vertical, "", 10, 50, 0);
  Make(ElementKind::Splitter, 105, 0, "", 101, 102);
  Make(ElementKind::Image, 106, 0, "", 7);
  Make(ElementKind::Panel, 107);
  Make(ElementKind::String, 108);

  E(103).Value = 40;
  E(104).Value = 20;
  E(105).SplitterPos = 33;
  E(107).StateIndex = 2;
  EXPECT_DOUBLE_EQ(GetElementState(tk, 103), 40);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 104), 40);  // counted from the other end
  E(104).Vertical = 0;
  EXPECT_DOUBLE_EQ(GetElementState(tk, 104), 20);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 105), 33);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 106), 7);
  SetElementState(tk, 106, 9);
  EXPECT_EQ(E(106).Image, 9);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 107), 2);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 108), -1);
  EXPECT_DOUBLE_EQ(GetElementState(tk, 101), -1);
}

TEST_F(AttributesTest, ColoursAndAttributes) {
  Window(100);
  Make(ElementKind::Button, 101);

  EXPECT_EQ(SetElementColor(tk, 101, Attribute::BackColor, -1), 0);
  EXPECT_EQ(E(101).BackColor, -1);
  EXPECT_EQ(E(101).BackgroundMode, Background::None);
  SetElementColor(tk, 101, Attribute::BackColor, 0x112233);
  EXPECT_EQ(E(101).BackgroundMode, Background::Plain);
  EXPECT_EQ(GetElementAttribute(tk, 101, Attribute::BackColor), 0x112233);
  SetElementColor(tk, 101, Attribute::FrontColor, 0x0000FF);
  EXPECT_EQ(GetElementAttribute(tk, 101, Attribute::FrontColor), 0x0000FF);
  EXPECT_NE(E(101).ColorSet, 0);
  EXPECT_EQ(GetElementAttribute(tk, 101, Attribute::FrameColor), E(101).FrameColor);
  EXPECT_EQ(GetElementAttribute(tk, 101, Attribute::HotBackColor), 0xFCDFC3);

  E(100).MenuStripHeight = 21;
  EXPECT_EQ(GetElementAttribute(tk, 100, Attribute::TopStrips), 27 + 21);
  EXPECT_EQ(GetElementAttribute(tk, 100, Attribute::FrameWidthSet), 1);
  EXPECT_EQ(GetElementAttribute(tk, 101, Attribute::FrameWidthSet), 0);  // not a list holder
  E(101).ItemIndex = 4;
  EXPECT_EQ(GetElementAttribute(tk, 101, Attribute::ItemIndex), 4);
  EXPECT_EQ(GetElementAttribute(tk, 101, 999), 0);

  EXPECT_EQ(SetElementData(tk, 101, 77), 0);
  EXPECT_EQ(SetElementData(tk, 101, 78), 77);
  EXPECT_EQ(GetElementData(tk, 101), 78);
  EXPECT_EQ(SetElementParam3(tk, 101, 5), -1);
  EXPECT_EQ(SetElementParam3(tk, 101, 6), 5);
  const int font = E(101).FontID;
  EXPECT_EQ(SetElementFont(tk, 101, 42), font);
  EXPECT_EQ(E(101).FontID, 42);

  // A window's image is its caption item's.
  EXPECT_EQ(SetElementImage(tk, 100, 8), -1);
  EXPECT_EQ(E(100).Items[0]->Image, 8);
  EXPECT_EQ(SetElementImage(tk, 101, 3), 0);
  EXPECT_EQ(GetElementImage(tk, 101), 3);
  Window(200, Flag::BorderLess);
  EXPECT_EQ(SetElementImage(tk, 200, 8), -1);
}

TEST_F(AttributesTest, ItemDataAndClearing) {
  Window(100);
  Make(ElementKind::ListView, 101, 0, "list");
  AddItem(tk, 101, -1, "a");
  AddItem(tk, 101, -1, "b");
  AddItem(tk, 101, -1, "c");
  ASSERT_EQ(CountItems(tk, 101), 3);

  EXPECT_EQ(SetItemData(tk, 101, 1, 55), 0);
  EXPECT_EQ(GetItemData(tk, 101, 1), 55);
  EXPECT_EQ(GetItemData(tk, 101, 9), 0);
  DisableItem(tk, 101, 2, 1);
  EXPECT_EQ(E(101).Items[2]->Disabled, 1);

  ClearItems(tk, 101);
  EXPECT_EQ(CountItems(tk, 101), 0);
  EXPECT_TRUE(E(101).ItemMap.empty());
  EXPECT_EQ(GetElementText(tk, 101), "");
  EXPECT_EQ(GetItemData(tk, 101, 1), 0);
  // Items added afterwards are laid out from the top again.
  AddItem(tk, 101, -1, "again");
  EXPECT_EQ(E(101).Items[0]->Frame.y0, 0);

  // A list icon reports the tick of the asked item, or of its kept item.
  Make(ElementKind::ListIcon, 102, 0, "icons");
  AddItem(tk, 102, -1, "r0");
  AddItem(tk, 102, -1, "r1");
  E(102).Items[1]->Checked = 1;
  EXPECT_DOUBLE_EQ(GetItemState(tk, 102, 1), 1);
  EXPECT_DOUBLE_EQ(GetItemState(tk, 102, 0), 0);
  E(102).ItemIndex = 1;
  EXPECT_DOUBLE_EQ(GetItemState(tk, 102, 9), 1);
  E(102).Items[1]->InBetween = 1;
  EXPECT_DOUBLE_EQ(GetItemState(tk, 102, 1), -1);
  EXPECT_DOUBLE_EQ(GetItemState(tk, 101, 0), -1);  // not a list icon
}

TEST_F(AttributesTest, CopyElementLandsBesideTheOriginal) {
  Window(100);
  Make(ElementKind::Container, 101);
  CreateElement(tk, ElementKind::Button, 102, 15, 25, 90, 35, "Copy me", 0, 0, 0, Flag::Raised);
  while (CloseList(tk) != -1) {
  }
  const int openBefore = tk.root.OpenList;
  const size_t count = tk.root.Elements.size();

  EXPECT_EQ(CopyElement(tk, 102), -1);
  ASSERT_EQ(tk.root.Elements.size(), count + 1);
  const Element& copy = *tk.root.Elements.back();
  EXPECT_EQ(copy.Kind, ElementKind::Button);
  EXPECT_EQ(copy.Text, "Copy me");
  EXPECT_EQ(copy.ParentID, 101);
  EXPECT_EQ(copy.WindowID, 100);
  EXPECT_EQ(copy.ParentOffsetX(), 15);
  EXPECT_EQ(copy.ParentOffsetY(), 25);
  EXPECT_EQ(copy.Frame.w0, 90);
  EXPECT_EQ(copy.FrameWidth, 2);
  EXPECT_EQ(tk.root.OpenList, openBefore);
  EXPECT_EQ(CopyElement(tk, kAbsent), -1);
  EXPECT_EQ(tk.root.Elements.size(), count + 1);
}

TEST_F(AttributesTest, AbsentIdsGiveNeutralAnswers) {
  Window(100);
  const size_t count = tk.root.Elements.size();
  const Root before = [&] {
    Root r;
    r.OpenList = tk.root.OpenList;
    r.CurrentWindow = tk.root.CurrentWindow;
    r.ActiveWindow = tk.root.ActiveWindow;
    r.ActiveGadget = tk.root.ActiveGadget;
    r.FocusedElement = tk.root.FocusedElement;
    r.StickyWindow = tk.root.StickyWindow;
    return r;
  }();

  struct Check {
    const char* name;
    std::function<int64_t()> call;
    int64_t expected;
  };
  const int a = kAbsent;
  const HandlerRef h = MakeHandler([](EventCode, int) { return 1; });
  const std::vector<Check> checks = {
      {"GetKind", [&] { return KindValue(GetKind(tk, a)); }, 0},
      {"IsGadget", [&] { return IsGadget(tk, a); }, 0},
      {"IsWindow", [&] { return IsWindow(tk, a); }, 0},
      {"IsMenu", [&] { return IsMenu(tk, a); }, 0},
      {"IsToolBar", [&] { return IsToolBar(tk, a); }, 0},
      {"IsStatusBar", [&] { return IsStatusBar(tk, a); }, 0},
      {"IsPopupMenu", [&] { return IsPopupMenu(tk, a); }, 0},
      {"IsListHolder", [&] { return IsListHolder(tk, a); }, 0},
      {"GetParent", [&] { return GetParent(tk, a); }, -1},
      {"GetWindow", [&] { return GetWindow(tk, a); }, -1},
      {"IsChildOf", [&] { return IsChildOf(tk, a, 0); }, 0},
      {"HasChildren", [&] { return HasChildren(tk, a, 0); }, 0},
      {"HasChildren-1", [&] { return HasChildren(tk, a, -1); }, 0},
      {"PreviousSibling", [&] { return PreviousSibling(tk, a); }, -1},
      {"NextSibling", [&] { return NextSibling(tk, a); }, -1},
      {"MouseX", [&] { return MouseX(tk, a); }, -1},
      {"MouseY", [&] { return MouseY(tk, a); }, -1},
      {"AddChildCount", [&] { return AddChildCount(tk, a, 1); }, 0},
      {"SetElementParent", [&] { return SetElementParent(tk, a, 100); }, -1},
      {"ActivateElement", [&] { return ActivateElement(tk, a); }, -1},
      {"FocusWindow", [&] { return FocusWindow(tk, a); }, -1},
      {"StickyWindow", [&] { return StickyWindow(tk, a, 1); }, -1},
      {"SetElementText", [&] { return SetElementText(tk, a, "x").size(); }, 0},
      {"GetElementText", [&] { return GetElementText(tk, a).size(); }, 0},
      {"GetElementState", [&] { return static_cast<int64_t>(GetElementState(tk, a)); }, -1},
      {"GetElementAttribute", [&] { return GetElementAttribute(tk, a, 11); }, 0},
      {"SetElementColor", [&] { return SetElementColor(tk, a, 11, 5); }, 0},
      {"SetElementData", [&] { return SetElementData(tk, a, 5); }, 0},
      {"GetElementData", [&] { return GetElementData(tk, a); }, 0},
      {"SetElementFont", [&] { return SetElementFont(tk, a, 5); }, 0},
      {"SetElementImage", [&] { return SetElementImage(tk, a, 5); }, 0},
      {"GetElementImage", [&] { return GetElementImage(tk, a); }, -1},
      {"SetElementParam3", [&] { return SetElementParam3(tk, a, 5); }, -1},
      {"DisableElement", [&] { return DisableElement(tk, a, 1); }, 0},
      {"IsDisabled", [&] { return IsDisabled(tk, a); }, 0},
      {"HideElement", [&] { return HideElement(tk, a, 1); }, 0},
      {"CountItems", [&] { return CountItems(tk, a); }, 0},
      {"SetItemData", [&] { return SetItemData(tk, a, 0, 5); }, 0},
      {"GetItemData", [&] { return GetItemData(tk, a, 0); }, 0},
      {"GetItemState", [&] { return static_cast<int64_t>(GetItemState(tk, a, 0)); }, -1},
      {"CopyElement", [&] { return CopyElement(tk, a); }, -1},
      {"SetElementFlags", [&] { return static_cast<int64_t>(SetElementFlags(tk, a, 1)); }, 0},
      {"RemoveElementFlags", [&] { return RemoveElementFlags(tk, a, 1); }, 0},
      {"PostElementEvent", [&] { return PostElementEvent(tk, 1, a, 0, 0); }, 1},
      {"OpenList", [&] { return OpenList(tk, a); }, tk.root.OpenList},
      {"Procedures without result",
       [&] {
         SetElementState(tk, a, 1);
         ClearItems(tk, a);
         DisableItem(tk, a, 0, 1);
         FreeElement(tk, a);
         RemoveElement(tk, a);
         BindElementEvent(tk, a, h, -1);
         BindCallback(tk, h, a, a, -1);  // falls back to the desktop
         UnbindCallback(tk, h, a, a);
         UnbindCallback(tk, h, -1, -1);
         return 0;
       },
       0},
  };
  for (const Check& c : checks)
    EXPECT_EQ(c.call(), c.expected) << c.name;

  EXPECT_EQ(tk.root.Elements.size(), count);
  EXPECT_EQ(tk.root.OpenList, before.OpenList);
  EXPECT_EQ(tk.root.CurrentWindow, before.CurrentWindow);
  EXPECT_EQ(tk.root.ActiveWindow, before.ActiveWindow);
  EXPECT_EQ(tk.root.ActiveGadget, before.ActiveGadget);
  EXPECT_EQ(tk.root.FocusedElement, before.FocusedElement);
  EXPECT_EQ(tk.root.StickyWindow, before.StickyWindow);
  EXPECT_TRUE(DesktopElement(tk)->Callbacks.empty());
  EXPECT_EQ(tk.root.BusyDepth, 0);
}

}  // namespace
}  // namespace tk
