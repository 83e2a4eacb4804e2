// The property grid: row geometry beside the names, the options of its combo boxes, the
// scroll bar that shows only when the rows overflow, and focus following names and editors.
#include "elements/properties.h"

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/scrollarea.h"
#include "elements/scrollbar.h"
#include "elements/spin.h"
#include "elements/splitter.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/repaint.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

constexpr int kWindow = 1, kGrid = 10;

class PropertiesTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 600, 500, "Main", Flag::SystemMenu), kWindow);
    CloseList(tk);
  }
  Element& E(int id) { return *FindElement(tk, id); }
  int Splitter() {
    for (const auto& e : tk.root.Elements)
      if (e->Kind == ElementKind::Splitter && e->ParentID == E(kGrid).Attached[0]) return e->ID;
    return -1;
  }
  int Names() {
    return static_cast<int>(GetElementAttribute(tk, Splitter(), SplitterAttribute::FirstGadget));
  }
  Element& Bar() { return E(E(kGrid).Attached[1]); }
  void Pump() { PumpEvents(tk); }
};

TEST_F(PropertiesTest, RowsStackAtTheirPitchLevelWithTheirNames) {
  ASSERT_EQ(Properties(tk, kGrid, 10, 10, 300, 400, 0, kWindow, 80), kGrid);
  std::vector<int> editors;
  for (int i = 0; i < 11; ++i)
    editors.push_back(AddProperty(tk, kGrid, -1, "String Row" + std::to_string(i) + " v"));
  const int origin = E(editors[0]).Frame.y0;
  EXPECT_EQ(E(editors[1]).Frame.y0 - origin, 20);
  EXPECT_EQ(E(editors[10]).Frame.y0 - origin, 200);
  EXPECT_EQ(E(editors[10]).Frame.h0, 19);
  // Every name sits level with its editor, also far down the list.
  Element& names = E(Names());
  ASSERT_EQ(names.Items.size(), 11u);
  for (int i : {0, 1, 10}) {
    const Element& item = *names.Items[static_cast<size_t>(i)];
    EXPECT_EQ(names.Inner.y0 + item.Frame.y0, E(editors[static_cast<size_t>(i)]).Frame.y0) << i;
    EXPECT_EQ(item.Text, "Row" + std::to_string(i) + ":");
    EXPECT_EQ(GetItemData(tk, Names(), i), editors[static_cast<size_t>(i)]);
  }
  EXPECT_EQ(GetElementText(tk, editors[0]), "v");
  // The last row starts at 201 and ends one gap below its 19 pixels.
  EXPECT_EQ(GetElementAttribute(tk, kGrid, kScrollAreaInnerHeight), 221);
  // A second grid restarts the count; the first one's count is not in the process.
  ASSERT_EQ(Properties(tk, 20, 320, 10, 200, 100, 0, kWindow, 60), 20);
  AddProperty(tk, 20, -1, "String A");
  EXPECT_EQ(GetElementAttribute(tk, 20, kScrollAreaInnerHeight), 21);
  EXPECT_EQ(AddProperty(tk, 999, -1, "String A"), -1);
}

TEST_F(PropertiesTest, ComboRowsKeepSparseIndicesAndFalseSelectsTheSecond) {
  ASSERT_EQ(Properties(tk, kGrid, 10, 10, 300, 400, 0, kWindow, 80), kGrid);
  const int sticky = AddProperty(tk, kGrid, -1, "ComboBox Sticky True|False");
  const int state = AddProperty(tk, kGrid, -1, "ComboBox State Normal|Maximized|Minimized");
  const int none = AddProperty(tk, kGrid, -1, "ComboBox Elements");
  EXPECT_EQ(GetElementState(tk, sticky), 1.0);
  EXPECT_EQ(GetElementText(tk, sticky), "False");
  EXPECT_EQ(GetElementState(tk, state), 0.0);
  EXPECT_EQ(GetElementText(tk, state), "Normal");
  EXPECT_EQ(CountItems(tk, none), 0);

  SetPropertyOptions(tk, none, "a| |b");
  EXPECT_EQ(CountItems(tk, none), 2);
  SetElementState(tk, none, 2);
  EXPECT_EQ(GetElementText(tk, none), "b");
  SetPropertyOptions(tk, 12345, "x");  // names nothing: no effect
}

TEST_F(PropertiesTest, ASpinRowStartsAtTheNumberItsOptionsBeginWith) {
  ASSERT_EQ(Properties(tk, kGrid, 10, 10, 300, 200, 0, kWindow, 80), kGrid);
  const struct {
    const char* description;
    double value;
    const char* text;
  } rows[] = {{"Spin X 25", 25, "25"},   {"Spin Y 0|200", 0, "0"},      {"Spin W -7|100", -7, "-7"},
              {"Spin H 12.6", 13, "13"}, {"Spin L 5000", 1000, "1000"}, {"Spin M -0.2", 0, "0"},
              {"Spin N abc", 0, "0"},    {"Spin O nan", 0, "0"},        {"Spin P", 0, "0"}};
  for (const auto& row : rows) {
    const int spin = AddProperty(tk, kGrid, -1, row.description);
    EXPECT_EQ(GetElementState(tk, spin), row.value) << row.description;
    EXPECT_EQ(GetElementText(tk, spin), row.text) << row.description;
  }
}

TEST_F(PropertiesTest, TheBarShowsOnlyWhenTheRowsDoNotFit) {
  ASSERT_EQ(Properties(tk, kGrid, 10, 10, 300, 100, 0, kWindow, 80), kGrid);
  const int field = AddProperty(tk, kGrid, -1, "String A");
  const int dots = AddProperty(tk, kGrid, -1, "StringButton Image path");
  EXPECT_NE(Bar().Hidden, 0);
  EXPECT_EQ(E(Splitter()).Frame.w0, E(kGrid).Inner.w0 - 1);
  for (int i = 0; i < 6; ++i)
    AddProperty(tk, kGrid, -1, "Button B");
  EXPECT_EQ(Bar().Hidden, 0);
  EXPECT_EQ(E(Splitter()).Frame.w0, E(kGrid).Inner.w0 - Bar().Frame.w0);
  // The editors narrowed with their container, and the "..." button kept to its right edge.
  const Element& editors = E(E(field).ParentID);
  const int right = editors.Inner.x0 + editors.Inner.w0;
  EXPECT_EQ(E(field).Frame.x0 + E(field).Frame.w0, right);
  EXPECT_EQ(E(dots).Frame.x0 + E(dots).Frame.w0, right);
  EXPECT_EQ(GetElementAttribute(tk, kGrid, kScrollAreaInnerWidth), E(Splitter()).Frame.w0);
  // Moving the bar scrolls the rows and tells the grid's handlers.
  int changes = 0;
  BindElementEvent(tk, kGrid, MakeHandler([&](EventCode, int) {
                     ++changes;
                     return 1;
                   }),
                   ElementEvent::Change);
  SetScrollBarValue(tk, Bar().ID, 40);
  Pump();
  EXPECT_EQ(GetElementAttribute(tk, kGrid, kScrollAreaScrollY), 40);
  EXPECT_EQ(changes, 1);
  // Growing the grid to fit the rows hides the bar again.
  ResizeElementById(tk, kGrid, kIgnore, kIgnore, kIgnore, 300);
  Pump();
  EXPECT_NE(Bar().Hidden, 0);
  EXPECT_EQ(E(Splitter()).Frame.w0, E(kGrid).Inner.w0 - 1);
}

// The rows of dark (text) pixels in the room left of a spin's buttons: first and last.
std::pair<int, int> InkRows(const platform::HeadlessPlatform& canvas, const Element& spin) {
  int top = -1, bottom = -1;
  for (int y = spin.Frame.y0 + 1; y < spin.Frame.y0 + spin.Frame.h0 - 1; ++y)
    for (int x = spin.Inner.x0 + 1; x < spin.Inner.x0 + spin.Inner.w0 - spin.ItemWidth; ++x) {
      const uint32_t p = canvas.CanvasPixel(x, y);
      if ((p & 0xFF) < 0x90 && ((p >> 8) & 0xFF) < 0x90 && ((p >> 16) & 0xFF) < 0x90) {
        if (top < 0) top = y;
        bottom = y;
        break;
      }
    }
  return {top, bottom};
}

TEST_F(PropertiesTest, ASpinRowShowsItsWholeValueInTheMiddleOfTheRow) {
  ASSERT_EQ(Properties(tk, kGrid, 10, 10, 300, 200, 0, kWindow, 80), kGrid);
  const int first = AddProperty(tk, kGrid, -1, "Spin X");
  const int second = AddProperty(tk, kGrid, -1, "Spin Y");
  // A stored image whose number equals the rows' maximum is no picture of theirs.
  ASSERT_TRUE(tk.platform.Images().IsImage(1000));
  Repaint(tk, kWindow, true);
  for (int id : {first, second}) {
    const Element& spin = E(id);
    ASSERT_EQ(spin.Frame.h0, 19);
    ASSERT_EQ(GetElementText(tk, id), "0");
    const auto [top, bottom] = InkRows(platform, spin);
    ASSERT_GE(top, 0) << "no value drawn";
    // A whole digit, not the top of one, with as much room above it as below.
    EXPECT_GE(bottom - top + 1, 8) << id;
    const int above = top - spin.Frame.y0, below = spin.Frame.y0 + spin.Frame.h0 - 1 - bottom;
    EXPECT_LE(std::abs(above - below), 1) << above << " above, " << below << " below";
  }
}

TEST_F(PropertiesTest, TheWheelOverNamesOrEditorsScrollsTheGrid) {
  ASSERT_EQ(Properties(tk, kGrid, 10, 10, 300, 200, 0, kWindow, 80), kGrid);
  const char* kinds[] = {"String S t", "Spin N 3", "ComboBox C a|b", "Button B x",
                         "StringButton P p"};
  std::vector<int> editors;
  for (int i = 0; i < 25; ++i)
    editors.push_back(AddProperty(tk, kGrid, -1, kinds[i % 5]));
  Repaint(tk, kWindow, true);
  Pump();
  ASSERT_EQ(Bar().Hidden, 0);
  platform.InjectMove(400, 400);  // the first report only makes the position known
  Pump();
  auto wheelAt = [&](int x, int y, int notches) {
    platform.InjectMove(x, y);
    platform::NativeEvent wheel;
    wheel.type = platform::NativeEventType::Wheel;
    wheel.x = x;
    wheel.y = y;
    wheel.wheel = notches;
    platform.Inject(wheel);
    Pump();
    return static_cast<int>(GetElementAttribute(tk, kGrid, kScrollAreaScrollY));
  };
  // A clicked name puts the name list in use; its rows all show, so the grid scrolls.
  const int nameX = E(Names()).Frame.x0 + 20, nameY = E(editors[0]).Frame.y0 + 9;
  platform.InjectMove(nameX, nameY);
  platform.InjectClick(nameX, nameY);
  Pump();
  ASSERT_EQ(tk.root.UsedElement, Names());
  int scrolled = wheelAt(nameX, nameY, -2);
  EXPECT_GT(scrolled, 0) << "over a name";
  // Over each kind of editor every notch moves the rows further down.
  for (int i = 0; i < 5; ++i) {
    const Element& editor = E(editors[static_cast<size_t>(i) + 5]);
    const int before = scrolled;
    scrolled = wheelAt(editor.Frame.x0 + 10, editor.Frame.y0 + 9, -1);
    EXPECT_GT(scrolled, before) << kinds[i];
  }
  EXPECT_EQ(Bar().Value, scrolled);
}

TEST_F(PropertiesTest, PointingAtANameFocusesItsEditorAndClickingAnEditorSelectsItsName) {
  ASSERT_EQ(Properties(tk, kGrid, 10, 10, 300, 200, 0, kWindow, 80), kGrid);
  const int first = AddProperty(tk, kGrid, -1, "String Caption text");
  const int second = AddProperty(tk, kGrid, -1, "String ToolTip tip");
  Pump();
  const Element& names = E(Names());
  const int nameX = names.Frame.x0 + 20;
  // The pointer comes onto the canvas away from the grid first.
  platform.InjectMove(400, 400);
  Pump();
  platform.InjectMove(nameX, E(second).Frame.y0 + 9);
  Pump();
  EXPECT_EQ(tk.root.UsedElement, second);
  platform.InjectMove(nameX, E(first).Frame.y0 + 9);
  Pump();
  EXPECT_EQ(tk.root.UsedElement, first);

  platform.InjectMove(E(second).Frame.x0 + 30, E(second).Frame.y0 + 9);
  platform.InjectClick(E(second).Frame.x0 + 30, E(second).Frame.y0 + 9);
  Pump();
  EXPECT_EQ(GetElementState(tk, Names()), 1.0);
}

}  // namespace
}  // namespace tk::testing
