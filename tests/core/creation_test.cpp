// Generic element creation: list position, ids, names, designer placement, panel tabs and
// the per-kind defaults.
#include <set>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

constexpr Flags64 kDesigner = Flag::DesignerPlaced;

class CreationTest : public testing::ToolkitTest {
 protected:
  void SetUp() override {
    // Kinds answer for their own items, states, texts and flags.
    RegisterKinds(tk);
    ASSERT_EQ(CreateElement(tk, ElementKind::Desktop, 0, 0, 0, 800, 600, "", 0, 0, 0,
                            MakeFlags(0x8000000, 0)),
              0);
  }
  int Make(ElementKind kind, int id, std::string_view text = "g", Flags64 flags = 0, int param1 = 0,
           int x = 5, int y = 5) {
    return CreateElement(tk, kind, id, x, y, 80, 40, text, param1, 0, 0, flags);
  }
  int Window(int id, Flags64 flags = 0, int x = 10, int y = 10) {
    return CreateElement(tk, ElementKind::Window, id, x, y, 300, 200, "Win", -1, -1, -1, flags);
  }
  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }
  std::vector<int> ListIds() {
    std::vector<int> ids;
    for (const auto& r : tk.root.Elements)
      ids.push_back(r->ID);
    return ids;
  }
};

TEST_F(CreationTest, SmallIdsInsertAtTheirListPositionOthersAppend) {
  Window(100);
  Make(ElementKind::Button, 101);
  Make(ElementKind::Button, 102);
  Make(ElementKind::Button, 103);
  ASSERT_EQ(tk.root.Elements.size(), 5u);

  EXPECT_EQ(Make(ElementKind::Button, 3), 3);
  EXPECT_EQ(ListIds(), (std::vector<int>{0, 100, 101, 3, 102, 103}));

  EXPECT_EQ(Make(ElementKind::Button, 7), 7);
  EXPECT_EQ(ListIds(), (std::vector<int>{0, 100, 101, 3, 102, 103, 7}));
  EXPECT_EQ(tk.root.IDToAddress.at(3)->ID, 3);
  EXPECT_EQ(tk.root.AddressToID.at(&E(7)), 7);
}

TEST_F(CreationTest, AutomaticIdsAreEvenLargeDistinctAndRegistered) {
  Window(100);
  // A caller already holds the id the toolkit would pick next: it must be skipped.
  const int taken = tk.root.NextAutoId;
  ASSERT_EQ(Make(ElementKind::Button, taken), taken);

  std::set<int> ids;
  std::set<uint64_t> serials{E(taken).Serial};
  for (int i = 0; i < 4; ++i) {
    const int id = Make(ElementKind::Button, -1);
    EXPECT_EQ(id % 2, 0);
    EXPECT_GE(id, 0x40000000);
    EXPECT_NE(id, taken);
    ids.insert(id);
    Element* e = tk.root.IDToAddress.at(id);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->ID, id);
    EXPECT_EQ(tk.root.AddressToID.at(e), id);
    serials.insert(e->Serial);
  }
  EXPECT_EQ(ids.size(), 4u);
  EXPECT_EQ(serials.size(), 5u);
  EXPECT_EQ(FindElement(tk, taken)->Kind, ElementKind::Button);
}

TEST_F(CreationTest, NamesCountSameKindPerParent) {
  Window(100);
  Make(ElementKind::Container, 101);
  Make(ElementKind::Button, 102);
  Make(ElementKind::Button, 103);
  Make(ElementKind::String, 104);
  CloseList(tk);
  Make(ElementKind::Button, 105);
  Make(ElementKind::Button, 106);

  EXPECT_EQ(E(100).Name, "Window_0");
  EXPECT_EQ(E(101).Name, "Container_0");
  EXPECT_EQ(E(102).Name, "Button_0");
  EXPECT_EQ(E(103).Name, "Button_1");
  EXPECT_EQ(E(104).Name, "String_0");
  EXPECT_EQ(E(105).Name, "Button_0");
  EXPECT_EQ(E(106).Name, "Button_1");
  EXPECT_EQ(E(106).Named, 0);
}

// After a sibling is freed the count would give a name still in use: the number goes on to
// the next free one.
TEST_F(CreationTest, NamesSkipNumbersStillInUse) {
  Window(100);
  Make(ElementKind::Button, 101);
  Make(ElementKind::Button, 102);
  Make(ElementKind::Button, 103);
  FreeElement(tk, 101);
  OpenList(tk, 100);
  Make(ElementKind::Button, 104);
  Make(ElementKind::Button, 105);
  CloseList(tk);
  EXPECT_EQ(E(102).Name, "Button_1");
  EXPECT_EQ(E(103).Name, "Button_2");
  EXPECT_EQ(E(104).Name, "Button_3");
  EXPECT_EQ(E(105).Name, "Button_4");
}

TEST_F(CreationTest, PanelTabsHideLaterTabsAndNumberPerTab) {
  Window(100);
  Make(ElementKind::Panel, 101);
  Element& panel = E(101);
  panel.CurrentTab = 0;
  Make(ElementKind::Button, 102);
  Make(ElementKind::Button, 103);
  panel.CurrentTab = 2;
  Make(ElementKind::Button, 104);
  Make(ElementKind::Container, 105);
  Make(ElementKind::Button, 106);
  Make(ElementKind::Button, 107);

  EXPECT_EQ(E(102).Hidden, 0);
  EXPECT_EQ(E(102).TabIndex, 0);
  EXPECT_EQ(E(103).Name, "Button_1");
  EXPECT_EQ(E(104).Hidden, 1);
  EXPECT_EQ(E(104).TabIndex, 2);
  EXPECT_EQ(E(104).Name, "Button_0");  // counted on its own tab
  // Elements inside a container on a later tab start hidden too, numbered among themselves.
  EXPECT_EQ(E(106).Hidden, 1);
  EXPECT_EQ(E(106).TabIndex, 2);
  EXPECT_EQ(E(106).Name, "Button_0");
  EXPECT_EQ(E(107).Name, "Button_1");
}

// An element made inside a container belongs to the container's tab, whichever tab of the
// panel shows at the time: it is numbered among the container's children.
TEST_F(CreationTest, AContainerOnAHiddenTabKeepsItsTabForNewChildren) {
  Window(100);
  Make(ElementKind::Panel, 101);
  Element& panel = E(101);
  panel.CurrentTab = 0;
  Make(ElementKind::Container, 102);
  Make(ElementKind::Button, 103);
  CloseList(tk);
  CloseList(tk);
  panel.CurrentTab = 1;
  OpenList(tk, 102);
  Make(ElementKind::Button, 104);
  CloseList(tk);
  EXPECT_EQ(E(104).TabIndex, 0);
  EXPECT_EQ(E(104).Name, "Button_1");
}

TEST_F(CreationTest, DesignerPlacementNamesAndSnapsToTheGrid) {
  const int win =
      CreateElement(tk, ElementKind::Window, 100, 23, 23, 303, 203, "t", -1, -1, -1, kDesigner);
  Element& w = E(win);
  EXPECT_EQ(w.Name, "Window_0");
  EXPECT_EQ(w.Text, "Window_0");
  EXPECT_EQ(w.Frame.x0, 16);  // on the desktop: snap(23) - 4
  EXPECT_EQ(w.Frame.w0, 300);
  EXPECT_EQ(w.Frame.h0, 199);
  // The designer bits include a close button request.
  ASSERT_EQ(w.Items.size(), 2u);
  EXPECT_EQ(KindValue(w.Items[1]->Kind), 32);

  const int b =
      CreateElement(tk, ElementKind::Button, 101, 23, 48, 53, 27, "ignored", 0, 0, 0, kDesigner);
  Element& button = E(b);
  EXPECT_EQ(button.Name, "Window_0_Button_0");
  EXPECT_EQ(button.Text, "Button_0");
  EXPECT_EQ(button.Named, 1);
  EXPECT_EQ(tk.root.DesignedElement, b);
  EXPECT_EQ(button.ParentOffsetX(), 17);  // snap(23) - 3 inside a window
  EXPECT_EQ(button.ParentOffsetY(), 42);
  EXPECT_EQ(button.Frame.w0, 52);
  EXPECT_EQ(button.Frame.h0, 27);
  // The widened design border is reported back as the snapped position.
  EXPECT_EQ(ElementX(tk, b, CoordMode::Parent), 20);

  Make(ElementKind::Container, 102);
  const int inner =
      CreateElement(tk, ElementKind::Button, 103, 23, 23, 50, 20, "", 0, 0, 0, kDesigner);
  EXPECT_EQ(E(inner).ParentOffsetX(), 16);  // snap(23) - 4 inside a container
  EXPECT_EQ(E(inner).Name, "Button_0");     // the container was not placed by the designer
}

TEST_F(CreationTest, WindowsGetCaptionAndCascadeFromTheActiveWindow) {
  const int a = Window(100, 0, 40, 50);
  Element& w = E(a);
  EXPECT_EQ(w.CaptionHeight, 27);
  EXPECT_TRUE(HasAll(w.Flags, Flag::SystemMenu));
  ASSERT_EQ(w.Items.size(), 2u);  // caption item and close button only
  EXPECT_EQ(w.Items[0]->Text, "Win");
  EXPECT_EQ(KindValue(w.Items[1]->Kind), 32);
  EXPECT_EQ(tk.root.ActiveWindow, a);
  EXPECT_EQ(tk.root.LastWindow, a);
  EXPECT_EQ(w.BackColor, 0xF2F2F2);
  EXPECT_EQ(w.Param3, -1);

  CloseList(tk);
  const int b = CreateElement(tk, ElementKind::Window, 101, kIgnore, kIgnore, 100, 100, "", 0, 0, 7,
                              Flag::TitleBar);
  EXPECT_EQ(E(b).ParentOffsetX(), 70);
  EXPECT_EQ(E(b).ParentOffsetY(), 80);
  EXPECT_EQ(E(b).Param3, 7);
  EXPECT_EQ(E(b).Items.size(), 1u);  // explicit flags: no close button added
}

TEST_F(CreationTest, LinksCountersAndCreationEvent) {
  const int win = Window(100);
  Make(ElementKind::Container, 101);
  const int outside = Make(ElementKind::Button, 102);
  EXPECT_EQ(E(outside).ParentID, 101);
  EXPECT_EQ(E(outside).WindowID, win);
  EXPECT_EQ(E(101).ChildCount, 1);
  EXPECT_EQ(E(win).ChildCount, 1);
  EXPECT_EQ(tk.root.LastGadget, 102);
  EXPECT_TRUE(CodeHas(E(outside).PendingEvents, ElementEvent::Created));

  // An existing parentId overrides the open list; an unknown one is ignored.
  const int direct = CreateElement(tk, ElementKind::Button, 103, 0, 0, 10, 10, "", 0, 0, 0, 0, win);
  EXPECT_EQ(E(direct).ParentID, win);
  const int stray = CreateElement(tk, ElementKind::Button, 104, 0, 0, 10, 10, "", 0, 0, 0, 0, 9999);
  EXPECT_EQ(E(stray).ParentID, win);

  const int hidden = Make(ElementKind::Button, 105, "x", Flag::Invisible);
  EXPECT_EQ(E(hidden).Hidden, 1);
  EXPECT_EQ(E(hidden).HiddenOwn, 1);

  Make(ElementKind::Menu, 106);
  EXPECT_EQ(tk.root.LastMenu, 106);
  EXPECT_EQ(tk.root.LastGadget, 105);
  Make(ElementKind::PopupMenu, 107);
  EXPECT_EQ(tk.root.LastPopupMenu, 107);
  EXPECT_EQ(E(107).Hidden, 1);
}

TEST_F(CreationTest, KindDefaultsForTextAndImages) {
  Window(100);
  EXPECT_EQ(E(Make(ElementKind::Text, 101, "", 0, 5)).Image, -1);
  EXPECT_EQ(E(Make(ElementKind::Button, 102, "OK", 0, 5)).Image, 5);
  EXPECT_EQ(E(Make(ElementKind::Button, 103, "", 0, 5)).Image, -1);
  EXPECT_EQ(E(Make(ElementKind::ButtonImage, 104, "", 0, 5)).Image, 5);

  Element& plain = E(Make(ElementKind::Text, 105, "t"));
  EXPECT_TRUE(HasAll(plain.Flags, Flag::MultiLine | Flag::BorderLess | Flag::AlignBit200));
  EXPECT_EQ(plain.FrameWidth, 0);
  EXPECT_EQ(plain.BackColor, 0xF0F0F0);
  Element& bordered = E(Make(ElementKind::Text, 106, "t", Flag::Border));
  EXPECT_FALSE(HasAny(bordered.Flags, Flag::BorderLess));
  EXPECT_EQ(bordered.FrameWidth, 1);
}

TEST_F(CreationTest, KindDefaultsForRangesListsAndCombos) {
  Window(100);
  const int sb = CreateElement(tk, ElementKind::ScrollBar, 101, 0, 0, 17, 100, "text", 0, 100, 10,
                               Flag::Vertical);
  Element& bar = E(sb);
  EXPECT_EQ(bar.Min, 0);
  EXPECT_EQ(bar.Max, 100);
  EXPECT_EQ(bar.PageLength, 10);
  EXPECT_EQ(bar.ButtonSize, 17);
  EXPECT_EQ(bar.ArrowSize, 3);
  EXPECT_EQ(bar.Vertical, 1);
  EXPECT_EQ(bar.Image, -1);
  EXPECT_EQ(bar.Text, "");
  EXPECT_EQ(bar.BackColor, 0xF2F2F2);
  EXPECT_EQ(bar.FrameColor, 0x858585);

  Element& editor = E(Make(ElementKind::Editor, 102, ""));
  EXPECT_TRUE(HasAny(editor.Flags, Flag::MultiLine));
  EXPECT_EQ(editor.ListBox, 1);
  EXPECT_EQ(editor.BackColor, 0xFFFFFF);

  Element& combo = E(Make(ElementKind::ComboBox, 103, ""));
  EXPECT_EQ(combo.ListBox, 1);
  EXPECT_EQ(combo.BackColor, kNoColor);
  EXPECT_EQ(combo.BackgroundMode, Background::Gradient);
  EXPECT_TRUE(HasAll(combo.Flags, 0x3000 | Flag::Left));
  EXPECT_EQ(combo.ItemWidth, 16);
  Element& editable = E(Make(ElementKind::ComboBox, 104, "", Flag::Editable));
  EXPECT_EQ(editable.BackColor, 0xFFFFFF);
  EXPECT_EQ(editable.BackgroundMode, Background::Plain);
}

TEST_F(CreationTest, SpinTakesStepAndDecimalsFromItsStepText) {
  Window(100);
  const int s = CreateElement(tk, ElementKind::Spin, 101, 0, 0, 80, 20, "", 2, 9, 0, Flag::Numeric,
                              -1, "0.125");
  Element& spin = E(s);
  EXPECT_FLOAT_EQ(spin.SpinStep, 0.125f);
  EXPECT_EQ(spin.SpinDecimals, 3);
  EXPECT_EQ(spin.Text, "0.000");
  EXPECT_FLOAT_EQ(spin.SpinMin, 2.0f);
  EXPECT_FLOAT_EQ(spin.SpinMax, 9.0f);
  EXPECT_TRUE(HasAny(spin.Flags, Flag::Editable));
  EXPECT_EQ(spin.Items.size(), 2u);
  EXPECT_EQ(spin.ItemWidth, 16);  // the button width survives the two button items
  EXPECT_EQ(spin.Image, -1);

  Element& plain = E(CreateElement(tk, ElementKind::Spin, 102, 0, 0, 80, 20, "7", 0, 10, 0,
                                   Flag::ReadOnly, -1, "1"));
  EXPECT_FLOAT_EQ(plain.SpinStep, 1.0f);
  EXPECT_EQ(plain.SpinDecimals, 0);
  EXPECT_EQ(plain.Text, "7");
  EXPECT_FALSE(HasAny(plain.Flags, Flag::Editable));

  Element& odd = E(CreateElement(tk, ElementKind::Spin, 103, 0, 0, 80, 20, "", 0, 10, 0,
                                 Flag::Numeric, -1, "0.25.9"));
  EXPECT_EQ(odd.SpinDecimals, 2);
  EXPECT_EQ(odd.Text, "0.00");
}

TEST_F(CreationTest, OptionsGroupAfterTheirPreviousSibling) {
  Window(100);
  Make(ElementKind::Container, 101);
  const int first = Make(ElementKind::Option, 102, "a");
  const int second = Make(ElementKind::Option, 103, "b");
  const int button = Make(ElementKind::Button, 104, "x");
  const int third = Make(ElementKind::Option, 105, "c");
  const int fourth = Make(ElementKind::Option, 106, "d");
  EXPECT_EQ(E(first).OptionGroup, 0);
  EXPECT_EQ(E(second).OptionGroup, 0);
  EXPECT_EQ(E(third).OptionGroup, button);
  EXPECT_EQ(E(fourth).OptionGroup, button);
}

TEST_F(CreationTest, SplitterRecordsItsTwoElements) {
  // Without the splitter module's attribute setter the items record the gadgets directly.
  tk.Kind(ElementKind::Splitter).SetAttribute = nullptr;
  Window(100);
  Make(ElementKind::Button, 101);
  Make(ElementKind::Button, 102);
  const int s = CreateElement(tk, ElementKind::Splitter, 103, 0, 0, 200, 100, "", 101, 102, 0,
                              Flag::FirstFixed);
  Element& sp = E(s);
  EXPECT_EQ(sp.Gadget1, 101);
  EXPECT_EQ(sp.Gadget2, 102);
  EXPECT_EQ(sp.FirstFixed, 1);
  EXPECT_EQ(sp.SecondFixed, 0);
  ASSERT_EQ(sp.Items.size(), 2u);
  EXPECT_EQ(sp.Items[0]->Text, "101");
  EXPECT_EQ(sp.Items[1]->Text, "102");
  EXPECT_TRUE(HasAny(sp.Items[0]->Flags, Flag::Border));
  // The splitter takes the two elements as its panes.
  EXPECT_EQ(E(101).ParentID, s);
  EXPECT_EQ(E(102).ParentID, s);
}

}  // namespace
}  // namespace tk
