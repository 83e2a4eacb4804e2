// The simple kinds and their creation pattern: where elements land, which list stays open,
// forced flags, and the finishing steps (text, user data).
#include "elements/simple.h"

#include <functional>
#include <utility>
#include <vector>

#include "core/attributes.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/combobox.h"
#include "elements/panel.h"
#include "elements/registry.h"
#include "elements/scrollbar.h"
#include "elements/spin.h"
#include "elements/trackbar.h"
#include "elements/window.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

class SimpleKindsTest : public testing::ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, 1, 0, 0, 600, 400, "Form", Flag::SystemMenu), 1);
    ASSERT_EQ(tk.root.OpenList, 1);
  }
  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }
};

TEST_F(SimpleKindsTest, ElementsLandInTheOpenListOrTheNamedParent) {
  // A parent that names no element: the open list takes the element, nothing is reopened.
  ASSERT_EQ(Text(tk, 10, 5, 5, 80, 20, "label", 0, 4242), 10);
  EXPECT_EQ(E(10).ParentID, 1);
  EXPECT_EQ(tk.root.OpenList, 1);

  // Without a parent, a container stays open for the caller's next elements.
  ASSERT_EQ(Container(tk, 20, 10, 40, 200, 150), 20);
  EXPECT_EQ(tk.root.OpenList, 20);
  ASSERT_EQ(Button(tk, 21, 5, 5, 60, 20, "OK"), 21);
  EXPECT_EQ(E(21).ParentID, 20);
  ASSERT_EQ(CloseList(tk), 20);
  ASSERT_EQ(tk.root.OpenList, 1);

  // Inside a named parent: the element goes there, and the list open before the call is
  // open again afterwards, for every kind (a container made inside included).
  ASSERT_EQ(CheckBox(tk, 22, 5, 30, 60, 20, "Check", 0, 20), 22);
  ASSERT_EQ(Option(tk, 23, 5, 55, 60, 20, "Pick", 0, 20), 23);
  ASSERT_EQ(Frame(tk, 24, 5, 80, 60, 40, "Group", 0, 20), 24);
  ASSERT_EQ(String(tk, 25, 70, 5, 60, 20, "s", 0, 20), 25);
  ASSERT_EQ(Editor(tk, 26, 70, 30, 60, 40, "e", 0, 20), 26);
  ASSERT_EQ(Container(tk, 27, 70, 80, 60, 40, 0, 20), 27);
  for (int id = 22; id <= 27; ++id) {
    EXPECT_EQ(E(id).ParentID, 20) << "element " << id;
    EXPECT_EQ(E(id).WindowID, 1) << "element " << id;
  }
  EXPECT_EQ(E(22).Kind, ElementKind::CheckBox);
  EXPECT_EQ(E(23).Kind, ElementKind::Option);
  EXPECT_EQ(E(24).Kind, ElementKind::Frame);
  EXPECT_EQ(GetElementText(tk, 24), "Group");
  EXPECT_EQ(tk.root.OpenList, 1);

  // A child of the nested container, named directly, still leaves the window's list open.
  ASSERT_EQ(Button(tk, 28, 2, 2, 20, 10, "x", 0, 27), 28);
  EXPECT_EQ(E(28).ParentID, 27);
  EXPECT_EQ(tk.root.OpenList, 1);
}

// Every kind made inside a named parent (here a container of another window) belongs to that
// parent and its window, and leaves the caller's list open on its panel tab in its window.
TEST_F(SimpleKindsTest, EveryKindMadeInAParentPutsBackTheCallersList) {
  ASSERT_EQ(Panel(tk, 30, 5, 5, 300, 200, 0, 1), 30);
  AddTab(tk, 30, -1, "One");
  AddTab(tk, 30, -1, "Two");
  ASSERT_EQ(tk::Window(tk, 2, 320, 0, 250, 200, "Other", Flag::SystemMenu), 2);
  ASSERT_EQ(Container(tk, 40, 5, 5, 200, 150), 40);
  CloseList(tk);
  CloseList(tk);
  OpenList(tk, 1);
  OpenList(tk, 30, 1);

  const std::vector<std::pair<const char*, std::function<int()>>> creators = {
      {"ScrollBar", [&] { return ScrollBar(tk, 50, 5, 5, 100, 17, 0, 10, 2, 0, 40); }},
      {"Spin", [&] { return Spin(tk, 51, 5, 30, 80, 22, 0, 10, 0, 40); }},
      {"TrackBar", [&] { return TrackBar(tk, 52, 5, 60, 100, 24, 0, 10, 0, 40); }},
      {"ComboBox", [&] { return ComboBox(tk, 53, 5, 90, 100, 22, 0, 40); }},
      {"Button", [&] { return Button(tk, 54, 5, 120, 60, 22, "B", 0, 40); }},
  };
  int next = 60;
  for (const auto& [kind, create] : creators) {
    SCOPED_TRACE(kind);
    const int made = create();
    ASSERT_GT(made, 0);
    EXPECT_EQ(E(made).ParentID, 40);
    EXPECT_EQ(E(made).WindowID, 2);
    EXPECT_EQ(tk.root.OpenList, 30);
    EXPECT_EQ(tk.root.CurrentWindow, 1);
    ASSERT_EQ(Button(tk, next, 5, 5, 60, 20, "after"), next);
    EXPECT_EQ(E(next).ParentID, 30);
    EXPECT_EQ(E(next).TabIndex, 1);
    EXPECT_EQ(E(next).WindowID, 1);
    ++next;
  }
  // The caller closes its own list, not the parent's.
  EXPECT_EQ(CloseList(tk), 30);
  EXPECT_EQ(tk.root.OpenList, 1);
}

TEST_F(SimpleKindsTest, StringsAndEditorsAlwaysCarryTheirFlags) {
  ASSERT_EQ(String(tk, 10, 5, 5, 120, 20, "hello", 0), 10);
  const Element& s = E(10);
  EXPECT_EQ(s.Kind, ElementKind::String);
  EXPECT_TRUE(HasAll(s.Flags, Flag::Border | Flag::Editable));
  EXPECT_EQ(GetElementText(tk, 10), "hello");

  // Caller flags are kept beside the forced ones.
  ASSERT_EQ(String(tk, 11, 5, 30, 120, 20, "", Flag::Password), 11);
  EXPECT_TRUE(HasAll(E(11).Flags, Flag::Border | Flag::Editable | Flag::Password));

  ASSERT_EQ(Editor(tk, 12, 5, 60, 200, 100, "first line", 0), 12);
  const Element& ed = E(12);
  EXPECT_EQ(ed.Kind, ElementKind::Editor);
  EXPECT_TRUE(HasAll(ed.Flags, Flag::Flat | Flag::AlignBit200 | Flag::Editable | Flag::MultiLine));
  EXPECT_EQ(GetElementText(tk, 12), "first line");

  // Text and Container add nothing.
  ASSERT_EQ(Text(tk, 13, 5, 170, 80, 20, "plain"), 13);
  EXPECT_FALSE(HasAny(E(13).Flags, Flag::Editable));
  ASSERT_EQ(Container(tk, 14, 5, 200, 80, 40, Flag::Raised), 14);
  EXPECT_FALSE(HasAny(E(14).Flags, Flag::Editable | Flag::MultiLine));
  EXPECT_TRUE(HasAny(E(14).Flags, Flag::Raised));
}

TEST_F(SimpleKindsTest, UserDataIsStoredOnlyWhenGiven) {
  ASSERT_EQ(Text(tk, 10, 5, 5, 80, 20, "none", 0, -1, 0), 10);
  EXPECT_EQ(GetElementData(tk, 10), 0);
  // A Text with data leaves the design selection as it was.
  E(10).Flags |= Flag::Selected;
  ASSERT_EQ(Text(tk, 11, 5, 30, 80, 20, "tagged", 0, -1, 77), 11);
  EXPECT_EQ(GetElementData(tk, 11), 77);
  EXPECT_TRUE(HasAny(E(10).Flags, Flag::Selected));
  EXPECT_FALSE(HasAny(E(11).Flags, Flag::Selected));
  ASSERT_EQ(String(tk, 12, 5, 55, 80, 20, "none", 0, -1, 0), 12);
  EXPECT_EQ(GetElementData(tk, 12), 0);
  ASSERT_EQ(String(tk, 13, 5, 80, 80, 20, "tagged", 0, -1, -5), 13);
  EXPECT_EQ(GetElementData(tk, 13), -5);

  // A toolkit-chosen id gets the finishing steps too.
  const int chosen = String(tk, -1, 5, 105, 80, 20, "auto", 0, -1, 9);
  ASSERT_NE(FindElement(tk, chosen), nullptr);
  EXPECT_EQ(GetElementData(tk, chosen), 9);
  EXPECT_EQ(GetElementText(tk, chosen), "auto");
  EXPECT_TRUE(HasAll(E(chosen).Flags, Flag::Border | Flag::Editable));
}

}  // namespace
}  // namespace tk
