// Item event routing: caption buttons (hover, close, maximize, double click), tooltips over
// items too narrow for their text, disabled items, menu and combo box drop-downs, and the
// choices that list-like kinds and kind item handlers receive.
#include <string>
#include <utility>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/dispatch.h"
#include "render/host.h"
#include "render/interaction.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

using platform::NativeEvent;
using platform::NativeEventType;

constexpr Flags64 kAllButtons = Flag::SystemMenu | Flag::MaximizeGadget | Flag::MinimizeGadget;
constexpr int kClose = 1, kMaximize = 2;  // item indexes with close, maximize and minimize

struct Posted {
  EventCode code;
  int element;
  int value;
};

// A stand-in for the popup kinds: shows a list by moving it to the point it is given and
// remembers the owner in the list's data slot.
void ShowAt(Toolkit& tk, Element& list, int owner, int x, int y) {
  ResizeElement(tk, list, x, y, kIgnore, kIgnore, CoordMode::Parent);
  list.Hidden = 0;
  list.Data = owner;
}

class ItemRoutingTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, 1, 0, 0, 800, 600, "Main", Flag::SystemMenu), 1);
    BindCallback(tk, MakeHandler([this](EventCode code, int value) {
                   if (code >= ElementEvent::Change)
                     posted.push_back({code, tk.root.Event.EventElement, value});
                   return 1;
                 }),
                 -1, -1, -1);
    Pump();                     // start-up paints, which lays the caption items out
    platform.InjectMove(3, 3);  // the first pointer report only makes the position known
    Pump();
  }

  void Pump() { PumpEvents(tk); }
  void MoveTo(std::pair<int, int> p) {
    platform.InjectMove(p.first, p.second);
    Pump();
  }
  void ClickAt(std::pair<int, int> p) {
    MoveTo(p);
    platform.InjectClick(p.first, p.second);
    Pump();
  }
  void Native(NativeEventType type, std::pair<int, int> p) {
    NativeEvent ev;
    ev.type = type;
    ev.x = p.first;
    ev.y = p.second;
    platform.Inject(ev);
    Pump();
  }
  // The loop binds the caption-button handler when it starts; tests pumping by hand do too.
  void BindWindowButtons() { BindCallback(tk, tk.loop.WindowButtons, -1, -1, -1); }

  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }
  Element& Item(int id, int index) { return *E(id).Items.at(static_cast<size_t>(index)); }
  // Canvas point in the middle of an item, as the dispatch hit-tests items.
  std::pair<int, int> Centre(int id, int index) {
    const Element& e = E(id);
    const Element& it = Item(id, index);
    return {e.Frame.x0 + it.Frame.x0 + it.Frame.w0 / 2, e.Frame.y0 + it.Frame.y0 + it.Frame.h0 / 2};
  }
  int Count(EventCode code, int element) const {
    int n = 0;
    for (const Posted& p : posted)
      if (p.code == code && p.element == element) ++n;
    return n;
  }
  static int Bits(const Element& item) {
    return item.RepaintFlags & (StateBit::Normal | StateBit::Hot | StateBit::Pressed);
  }

  std::vector<Posted> posted;
};

TEST_F(ItemRoutingTest, HoveringCaptionButtonsLightsThemAndLeavingClearsThem) {
  ASSERT_EQ(tk::Window(tk, 5, 100, 100, 300, 150, "Child", kAllButtons), 5);
  Pump();
  MoveTo(Centre(5, kClose));
  EXPECT_EQ(E(5).HotItem, kClose);
  EXPECT_EQ(tk.dispatch.HoveredItem, kClose);
  EXPECT_EQ(Bits(Item(5, kClose)), StateBit::Hot);
  EXPECT_EQ(Item(5, kClose).HotId, kClose);
  // The close button's hot box is painted in its own red.
  const Element& w = E(5);
  const Element& close = Item(5, kClose);
  EXPECT_EQ(platform.CanvasPixel(w.Inner.x0 + close.Frame.x0 + 3,
                                 w.Frame.y0 + w.FrameWidth + close.Frame.y0 + 3),
            0xFF5353u);

  MoveTo(Centre(5, kMaximize));
  EXPECT_EQ(Bits(Item(5, kClose)), StateBit::Normal);
  EXPECT_EQ(Item(5, kClose).HotId, -1);
  EXPECT_EQ(Bits(Item(5, kMaximize)), StateBit::Hot);

  MoveTo({50, 400});  // off the child window
  EXPECT_EQ(Bits(Item(5, kMaximize)), StateBit::Normal);
  EXPECT_EQ(E(5).HotItem, -1);
}

TEST_F(ItemRoutingTest, ADisabledItemGetsNoStateChangeAndPostsNothing) {
  BindWindowButtons();
  ASSERT_EQ(tk::Window(tk, 5, 100, 100, 300, 150, "Child", kAllButtons), 5);
  Pump();
  DisableItem(tk, 5, kClose, 1);
  ClickAt(Centre(5, kClose));
  ASSERT_NE(FindElement(tk, 5), nullptr);
  EXPECT_EQ(Bits(Item(5, kClose)), StateBit::Normal);
  EXPECT_EQ(Item(5, kClose).HotId, -1);
  EXPECT_EQ(Item(5, kClose).PressedId, -1);
  EXPECT_EQ(tk.root.LastPressedItem, -1);
  EXPECT_EQ(Count(ElementEvent::CloseButton, 5), 0);

  // A disabled menu title opens nothing and is never chosen.
  CreateElement(tk, ElementKind::Menu, 20, 0, 0, 300, 22, "");
  AddItem(tk, 20, -1, "File");
  Item(20, 0).Disabled = 1;
  RouteItemEvent(tk, E(20), ElementEvent::LeftButtonDown, 20, 0);
  RouteItemEvent(tk, E(20), ElementEvent::LeftClick, 20, 0);
  EXPECT_FALSE(tk.root.DropDownOpen);
  EXPECT_FALSE(tk.dispatch.MenuOpen);
  EXPECT_EQ(Bits(Item(20, 0)), StateBit::Normal);
  EXPECT_EQ(Count(ElementEvent::MenuEvent, 20), 0);
}

TEST_F(ItemRoutingTest, CloseButtonsFreeTheirWindowAndTheMainOneEndsTheLoop) {
  BindWindowButtons();
  ASSERT_EQ(tk::Window(tk, 5, 100, 100, 300, 150, "Child", kAllButtons), 5);
  Pump();
  ClickAt(Centre(5, kClose));
  EXPECT_EQ(FindElement(tk, 5), nullptr);
  EXPECT_EQ(Count(ElementEvent::CloseButton, 5), 1);
  ASSERT_NE(FindElement(tk, 1), nullptr);
  EXPECT_FALSE(tk.loop.CloseRequested);

  const auto close = Centre(1, kClose);
  platform.InjectMove(close.first, close.second);
  platform.InjectClick(close.first, close.second);
  RunEventLoop(tk, 1);
  EXPECT_TRUE(tk.loop.CloseRequested);  // ended by the close request, not by running dry
  EXPECT_EQ(Count(ElementEvent::Freed, 1), 1);
  EXPECT_FALSE(platform.HostExists());
}

TEST_F(ItemRoutingTest, MaximizeTogglesAndACaptionDoubleClickMaximizes) {
  BindWindowButtons();
  ASSERT_EQ(tk::Window(tk, 5, 100, 100, 300, 150, "Child", Flag::SystemMenu | Flag::MaximizeGadget),
            5);
  Pump();
  Element& w = E(5);
  const int x0 = w.ParentOffsetX(), y0 = w.ParentOffsetY(), w0 = w.Frame.w0, h0 = w.Frame.h0;

  ClickAt(Centre(5, kMaximize));
  EXPECT_EQ(w.Maximized, 1);
  EXPECT_EQ(Item(5, kMaximize).Image, BuiltinImage::RestoreGlyph);
  EXPECT_EQ(w.ParentOffsetX(), 0);
  EXPECT_EQ(w.ParentOffsetY(), 0);
  EXPECT_EQ(w.Frame.w0, ElementWidth(tk, w.ParentID));
  EXPECT_EQ(w.Frame.h0, ElementHeight(tk, w.ParentID));

  ClickAt(Centre(5, kMaximize));  // the button moved with the window's new width
  EXPECT_EQ(w.Maximized, 0);
  EXPECT_EQ(Item(5, kMaximize).Image, BuiltinImage::MaximizeGlyph);
  EXPECT_EQ(w.ParentOffsetX(), x0);
  EXPECT_EQ(w.ParentOffsetY(), y0);
  EXPECT_EQ(w.Frame.w0, w0);
  EXPECT_EQ(w.Frame.h0, h0);

  // A click on the caption itself asks the window for nothing.
  const size_t before = posted.size();
  ClickAt(Centre(5, 0));
  EXPECT_EQ(w.Maximized, 0);
  EXPECT_EQ(w.Minimized, 0);
  EXPECT_EQ(posted.size(), before);
  ASSERT_EQ(tk.root.UsedElement, 5);
  Native(NativeEventType::LeftDoubleClick, Centre(5, 0));
  EXPECT_EQ(w.Maximized, 1);
  EXPECT_EQ(w.Frame.w0, ElementWidth(tk, w.ParentID));

  // Item 2 of this window is the minimize button: a double click leaves it alone.
  ASSERT_EQ(tk::Window(tk, 6, 50, 300, 200, 80, "Other", Flag::SystemMenu | Flag::MinimizeGadget),
            6);
  Pump();
  ClickAt(Centre(6, 0));
  Native(NativeEventType::LeftDoubleClick, Centre(6, 0));
  EXPECT_EQ(E(6).Minimized, 0);
  EXPECT_EQ(E(6).Maximized, 0);
}

TEST_F(ItemRoutingTest, AnItemTooNarrowForItsTextShowsItInATooltipOverTheItem) {
  const std::string title = "A window title far too long for its narrow caption";
  ASSERT_EQ(tk::Window(tk, 5, 100, 100, 80, 60, title, Flag::SystemMenu), 5);
  Pump();
  MoveTo(Centre(5, 0));
  const Element& w = E(5);
  const Element& caption = Item(5, 0);
  const int x = w.Inner.x0 + caption.Frame.x0, y = w.Frame.y0 + w.FrameWidth + caption.Frame.y0;
  EXPECT_EQ(tk.root.ToolTipText, title);
  EXPECT_EQ(tk.root.ToolTipX, x);
  EXPECT_EQ(tk.root.ToolTipY, y);
  EXPECT_EQ(tk.root.ToolTipMinWidth, caption.Frame.w0);
  EXPECT_EQ(tk.root.ToolTipMinHeight, caption.Frame.h0);
  EXPECT_EQ(platform.CanvasPixel(x + 2, y + 2), 0xFFFFE1u);  // the tooltip's fill

  // An item whose text fits shows its own tooltip beside the pointer.
  Item(5, kClose).ToolTip = "Закрыть";
  const auto p = Centre(5, kClose);
  MoveTo(p);
  EXPECT_EQ(tk.root.ToolTipText, "Закрыть");
  EXPECT_EQ(tk.root.ToolTipX, p.first + 8);
  EXPECT_EQ(tk.root.ToolTipY, p.second + 16);
  EXPECT_EQ(tk.root.ToolTipMinWidth, 0);
  MoveTo({50, 450});
  EXPECT_EQ(tk.root.ToolTipText, "");

  ASSERT_EQ(tk::Window(tk, 6, 300, 300, 400, 60, "Short", Flag::SystemMenu), 6);
  Pump();
  MoveTo(Centre(6, 0));
  EXPECT_EQ(tk.root.ToolTipText, "");
}

TEST_F(ItemRoutingTest, MenuTitlesOpenFollowAndCloseTheirPopupsAndEntriesPostMenuEvents) {
  tk.Kind(ElementKind::PopupMenu).ShowPopup = &ShowAt;
  CreateElement(tk, ElementKind::Menu, 20, 0, 0, 300, 22, "");
  AddItem(tk, 20, -1, "File");
  AddItem(tk, 20, -1, "Edit");
  ASSERT_EQ(Button(tk, 25, 400, 300, 80, 30, "Elsewhere"), 25);
  for (int id : {30, 31, 32})
    CreateElement(tk, ElementKind::PopupMenu, id, 0, 0, 0, 0, "", -1, -1, 0, 0, 0);
  AddItem(tk, 30, -1, "Open");
  AddItem(tk, 31, -1, "Cut");
  AddItem(tk, 31, -1, "More");
  AddItem(tk, 32, -1, "Deeper");
  Item(20, 0).Attached[0] = 30;
  Item(20, 1).Attached[0] = 31;
  Item(31, 1).Attached[0] = 32;
  E(30).SubLevel = E(31).SubLevel = 20;
  E(32).SubLevel = 31;
  Pump();

  // Pressing a title opens its popup below it and keeps it open after the click.
  ClickAt(Centre(20, 0));
  EXPECT_TRUE(tk.root.DropDownOpen);
  EXPECT_TRUE(tk.dispatch.MenuOpen);
  EXPECT_EQ(tk.root.OpenDropDown, 30);
  EXPECT_EQ(E(30).Hidden, 0);
  EXPECT_EQ(E(30).Frame.x0, E(20).Frame.x0 + Item(20, 0).Frame.x0);
  EXPECT_EQ(E(30).Frame.y0, E(20).Frame.y0 + E(20).Frame.h0);
  EXPECT_EQ(E(30).Data, 20);
  EXPECT_EQ(E(20).OpenTitle, 0);

  // The next title takes over without a click.
  MoveTo(Centre(20, 1));
  EXPECT_EQ(E(30).Hidden, 1);
  EXPECT_EQ(E(31).Hidden, 0);
  EXPECT_EQ(tk.root.OpenDropDown, 31);
  EXPECT_EQ(E(20).OpenTitle, 1);
  EXPECT_EQ(Bits(Item(20, 0)), StateBit::Hot);
  EXPECT_TRUE(Item(20, 1).RepaintFlags & StateBit::Pressed);

  // An entry with a submenu shows it beside itself; a plain sibling closes it again.
  MoveTo(Centre(31, 1));
  EXPECT_EQ(tk.root.PopupUnderPointer, 31);
  EXPECT_EQ(E(32).Hidden, 0);
  EXPECT_EQ(E(32).Frame.x0, E(31).Frame.x0 + E(31).Frame.w0);
  EXPECT_EQ(E(32).Frame.y0, E(31).Inner.y0 + Item(31, 1).Frame.y0);
  MoveTo(Centre(31, 0));
  EXPECT_EQ(E(32).Hidden, 1);
  EXPECT_EQ(E(31).Hidden, 0);

  // Choosing a leaf posts MenuEvent with the entry's id and closes the whole chain.
  ClickAt(Centre(31, 0));
  EXPECT_EQ(Count(ElementEvent::MenuEvent, 31), 1);
  EXPECT_EQ(posted.back().value, 0);
  for (int id : {30, 31, 32})
    EXPECT_EQ(E(id).Hidden, 1) << id;
  EXPECT_FALSE(tk.root.DropDownOpen);
  EXPECT_FALSE(tk.dispatch.MenuOpen);
  EXPECT_EQ(tk.root.OpenDropDown, -1);
  EXPECT_EQ(tk.root.PopupUnderPointer, -1);
  EXPECT_EQ(E(20).OpenTitle, -1);
  EXPECT_EQ(Bits(Item(20, 1)), StateBit::Normal);

  // A press elsewhere closes an open menu; a second press on its title closes it too.
  ClickAt(Centre(20, 0));
  ASSERT_EQ(E(30).Hidden, 0);
  ClickAt({E(25).Frame.x0 + 10, E(25).Frame.y0 + 10});
  EXPECT_EQ(E(30).Hidden, 1);
  EXPECT_FALSE(tk.root.DropDownOpen);
  EXPECT_EQ(tk.root.OpenDropDown, -1);
  ClickAt(Centre(20, 0));
  ASSERT_TRUE(tk.root.DropDownOpen);
  ClickAt(Centre(20, 0));
  EXPECT_EQ(E(30).Hidden, 1);
  EXPECT_FALSE(tk.root.DropDownOpen);
  EXPECT_FALSE(tk.dispatch.MenuOpen);
  EXPECT_EQ(Count(ElementEvent::MenuEvent, 20), 0);  // titles with popups are not chosen
}

TEST_F(ItemRoutingTest, AComboBoxListOpensBelowTheComboAndItsChoiceBecomesTheText) {
  tk.Kind(ElementKind::PopupMenu).ShowPopup = &ShowAt;
  CreateElement(tk, ElementKind::ComboBox, 50, 20, 20, 150, 24, "");
  AddItem(tk, 50, -1, "");  // the drop button
  CreateElement(tk, ElementKind::PopupMenu, 51, 0, 0, 0, 0, "", -1, -1, 0, 0, 0);
  for (const char* colour : {"Red", "Green", "Синий"})
    AddItem(tk, 51, -1, colour);
  ASSERT_EQ(Button(tk, 25, 400, 300, 80, 30, "Elsewhere"), 25);
  Element& combo = E(50);
  Element& list = E(51);
  list.ModeField = 8;
  list.SubLevel = 50;
  combo.ChildHost = 51;

  RouteItemEvent(tk, combo, ElementEvent::LeftButtonDown, 50, 0);
  EXPECT_TRUE(tk.root.DropDownOpen);
  EXPECT_EQ(tk.root.OpenDropDown, 51);
  EXPECT_EQ(list.Frame.w0, combo.Inner.w0 + 2);
  EXPECT_EQ(list.Frame.x0, combo.Inner.x0 - 1);
  EXPECT_EQ(list.Frame.y0, combo.Inner.y0 + combo.Inner.h0);
  EXPECT_EQ(list.PressedItem, 0);
  EXPECT_TRUE(Item(50, 0).RepaintFlags & StateBit::Focused);

  RouteItemEvent(tk, list, ElementEvent::LeftClick, 51, 2);
  EXPECT_EQ(GetElementText(tk, 50), "Синий");
  EXPECT_EQ(combo.PressedItem, 2);
  EXPECT_EQ(list.OpenTitle, 2);
  ASSERT_EQ(Count(ElementEvent::Change, 50), 1);
  EXPECT_EQ(posted.back().value, 2);
  EXPECT_EQ(Count(ElementEvent::MenuEvent, 51), 0);
  EXPECT_EQ(list.Hidden, 1);
  EXPECT_FALSE(tk.root.DropDownOpen);
  EXPECT_EQ(Bits(Item(50, 0)), StateBit::Normal);
  EXPECT_FALSE(Item(50, 0).RepaintFlags & StateBit::Focused);

  // Pressing the combo again closes its list; so does a press on another element.
  RouteItemEvent(tk, combo, ElementEvent::LeftButtonDown, 50, 0);
  ASSERT_EQ(list.Hidden, 0);
  RouteItemEvent(tk, combo, ElementEvent::LeftButtonDown, 50, 0);
  EXPECT_EQ(list.Hidden, 1);
  EXPECT_FALSE(tk.root.DropDownOpen);
  RouteItemEvent(tk, combo, ElementEvent::LeftButtonDown, 50, 0);
  ASSERT_EQ(list.Hidden, 0);
  DispatchEvent(tk, ElementEvent::LeftButtonDown, 25);
  EXPECT_EQ(list.Hidden, 1);
  EXPECT_FALSE(tk.root.DropDownOpen);
  EXPECT_EQ(tk.root.OpenDropDown, -1);
}

void RecordItemEvent(Toolkit&, Element& owner, EventCode code, int, int item) {
  owner.Data = code;
  owner.Value = item;
  ++owner.EventData;
}

TEST_F(ItemRoutingTest, ListsSelectRowsAndKindHandlersReceiveTheirItems) {
  CreateElement(tk, ElementKind::ListView, 60, 10, 10, 200, 100, "");
  for (const char* row : {"a", "b", "c"})
    AddItem(tk, 60, -1, row);
  RouteItemEvent(tk, E(60), ElementEvent::LeftButtonDown, 60, 1);
  RouteItemEvent(tk, E(60), ElementEvent::LeftButtonDown, 60, 1);
  EXPECT_EQ(GetElementState(tk, 60), 1.0);
  EXPECT_EQ(Count(ElementEvent::Change, 60), 1);  // only a new row is a change

  // ListIcon with check boxes: the check column toggles even on the selected row.
  CreateElement(tk, ElementKind::ListIcon, 61, 10, 150, 200, 100, "", -1, -1, 0, Flag::CheckBoxes);
  for (const char* row : {"x", "y"})
    AddItem(tk, 61, -1, row);
  Item(61, 1).Frame.x0 = 24;
  tk.root.MouseX = E(61).Frame.x0 + 60;  // over the text
  RouteItemEvent(tk, E(61), ElementEvent::LeftButtonDown, 61, 1);
  EXPECT_EQ(E(61).StateIndex, 1);
  EXPECT_EQ(Item(61, 1).Checked, 0);
  tk.root.MouseX = E(61).Frame.x0 + 10;  // over the check box
  RouteItemEvent(tk, E(61), ElementEvent::LeftButtonDown, 61, 1);
  EXPECT_EQ(Item(61, 1).Checked, 1);
  EXPECT_EQ(Count(ElementEvent::Change, 61), 2);

  // Tool bars choose the item a press went down on.
  CreateElement(tk, ElementKind::ToolBar, 62, 0, 0, 100, 24, "");
  AddItem(tk, 62, -1, "one");
  AddItem(tk, 62, -1, "two");
  E(62).PressedItem = 0;
  RouteItemEvent(tk, E(62), ElementEvent::LeftClick, 62, 1);
  EXPECT_EQ(Count(ElementEvent::MenuEvent, 62), 0);
  E(62).PressedItem = 1;
  RouteItemEvent(tk, E(62), ElementEvent::LeftClick, 62, 1);
  EXPECT_EQ(Count(ElementEvent::MenuEvent, 62), 1);

  // Spin buttons go to the kind's item handler with every code; the position picker's
  // handler sees presses on its edge, corner and centre items only.
  tk.Kind(ElementKind::Spin).ItemEvent = &RecordItemEvent;
  tk.Kind(ElementKind::PositionPicker).ItemEvent = &RecordItemEvent;
  CreateElement(tk, ElementKind::Spin, 63, 10, 300, 80, 24, "");
  ASSERT_EQ(E(63).Items.size(), 2u);
  RouteItemEvent(tk, E(63), ElementEvent::LeftClick, 63, 1);
  EXPECT_EQ(E(63).Data, ElementEvent::LeftClick);
  EXPECT_EQ(E(63).Value, 1);
  CreateElement(tk, ElementKind::PositionPicker, 64, 100, 300, 60, 60, "");
  for (int i = 0; i < 11; ++i)
    AddItem(tk, 64, -1, "");
  RouteItemEvent(tk, E(64), ElementEvent::LeftButtonDown, 64, 0);
  RouteItemEvent(tk, E(64), ElementEvent::LeftClick, 64, 3);
  EXPECT_EQ(E(64).EventData, 0);
  RouteItemEvent(tk, E(64), ElementEvent::LeftButtonDown, 64, 3);
  EXPECT_EQ(E(64).EventData, 1);
  EXPECT_EQ(E(64).Value, 3);

  // Kinds without a handler and items that do not exist are left alone.
  CreateElement(tk, ElementKind::TrackBar, 65, 10, 400, 100, 24, "");
  AddItem(tk, 65, -1, "");
  RouteItemEvent(tk, E(65), ElementEvent::LeftClick, 65, 0);
  RouteItemEvent(tk, E(60), ElementEvent::LeftButtonDown, 60, 42);
  EXPECT_EQ(GetElementState(tk, 60), 1.0);
}

}  // namespace
}  // namespace tk::testing
