// Element items: positions and indexes, defaults, row and bar layout, separators, window
// strips, property rows, part owners and the per-kind entry AddElementItem.
#include <string>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

class ItemsTest : public testing::ToolkitTest {
 protected:
  void SetUp() override {
    // Kinds answer for their own items, states, texts and flags.
    RegisterKinds(tk);
    ASSERT_EQ(CreateElement(tk, ElementKind::Desktop, 0, 0, 0, 800, 600, "", 0, 0, 0,
                            MakeFlags(0x8000000, 0)),
              0);
    ASSERT_EQ(CreateElement(tk, ElementKind::Window, 100, 0, 0, 400, 300, "Win", -1, -1, -1, 0),
              100);
  }
  int Make(ElementKind kind, int id, int w = 200, int h = 100, Flags64 flags = 0) {
    return CreateElement(tk, kind, id, 0, 0, w, h, "", 0, 0, 0, flags);
  }
  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }
  platform::TextSize Measure(const std::string& text) {
    platform::Painter& p = tk.platform.Measurer();
    p.SetFont(tk.platform.Fonts().Default());
    return p.MeasureText(text);
  }
  // The chosen paddings: rows are text height + 4 high, bar entries text width + 12 wide.
  int RowHeight(const std::string& text) { return Measure(text).height + 4; }
  int EntryWidth(const std::string& text) { return Measure(text).width + 12; }
};

TEST_F(ItemsTest, PositionsAppendOrInsertBeforeTheOldItem) {
  const int lv = Make(ElementKind::ListView, 101);
  Element& list = E(lv);
  EXPECT_EQ(AddItem(tk, lv, -1, "first"), 0);
  EXPECT_EQ(AddItem(tk, lv, -1, "second"), 1);
  EXPECT_EQ(AddItem(tk, lv, -1, "third"), 2);
  const int h = list.Items[0]->Frame.h0;
  ASSERT_GT(h, 4);
  EXPECT_EQ(list.Items[1]->Frame.y0, h);
  EXPECT_EQ(list.Items[2]->Frame.y0, 2 * h);

  EXPECT_EQ(AddItem(tk, lv, 0, "new"), 0);
  ASSERT_EQ(list.Items.size(), 4u);
  EXPECT_EQ(list.Items[0]->Text, "new");
  EXPECT_EQ(list.Items[1]->Text, "first");
  // The items after the new one move up by one, ids and map keys alike.
  ASSERT_EQ(list.ItemMap.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(list.Items[static_cast<size_t>(i)]->ID, i);
    EXPECT_EQ(FindItem(list, i), list.Items[static_cast<size_t>(i)].get());
  }
  EXPECT_EQ(list.Items[0]->Frame.y0, 0);
  EXPECT_EQ(list.Items[1]->Frame.y0, h);
  EXPECT_EQ(list.Items[3]->Frame.y0, 3 * h);

  // Past the end the item keeps the index it was given, after the last one; -1 continues
  // after it.
  EXPECT_EQ(AddItem(tk, lv, 99, "tail"), 99);
  EXPECT_EQ(list.Items[4]->Frame.y0, 4 * h);
  EXPECT_EQ(FindItem(list, 99), list.Items[4].get());
  EXPECT_EQ(FindItem(list, 4), nullptr);
  EXPECT_EQ(AddItem(tk, lv, -1, "after"), 100);
  // Inserting into the gap moves only the indexes at or above the new one.
  EXPECT_EQ(AddItem(tk, lv, 50, "gap"), 50);
  EXPECT_EQ(list.Items[4]->Text, "gap");
  EXPECT_EQ(FindItem(list, 100)->Text, "tail");
  EXPECT_EQ(FindItem(list, 101)->Text, "after");
  EXPECT_EQ(FindItem(list, 3)->Text, "third");
  EXPECT_EQ(AddItem(tk, 4242, -1, "none"), -1);
}

TEST_F(ItemsTest, ItemsTakeTheGenericDefaults) {
  const int lv = Make(ElementKind::ListView, 101);
  AddItem(tk, lv, -1, "row", 7);
  AddItem(tk, lv, -1, "flagged", -1, 0x40);
  const Element& list = E(lv);
  const Element& row = *list.Items[0];
  EXPECT_EQ(row.Flags, 0xD3100u);
  EXPECT_EQ(list.Items[1]->Flags, 0x40u);
  EXPECT_EQ(row.ParentID, lv);
  EXPECT_EQ(row.WindowID, 100);
  EXPECT_EQ(row.Kind, ElementKind::ListView);
  EXPECT_EQ(row.Hidden, 1);
  EXPECT_EQ(row.Image, 7);
  EXPECT_EQ(row.BackColor, list.BackColor);
  EXPECT_EQ(row.BackgroundMode, Background::None);
  EXPECT_EQ(row.HotBackColor, 0xFCDFC3);
  EXPECT_EQ(row.Frame.w0, list.Inner.w0);
  EXPECT_EQ(row.Frame.h0, RowHeight("row"));
  EXPECT_EQ(list.ItemHeight, RowHeight("flagged"));
  // Item records are never reachable through the id table.
  EXPECT_NE(FindElement(tk, 0), list.Items[0].get());

  const int popup = CreateElement(tk, ElementKind::PopupMenu, 102, 0, 0, 0, 0, "", 0, 0, 0, 1);
  AddItem(tk, popup, -1, "entry", 7);
  EXPECT_EQ(E(popup).Items[0]->Image, -1);
  EXPECT_EQ(E(popup).Items[0]->Image2, 7);
}

TEST_F(ItemsTest, VerticalMenuGrowsAndSeparatorsSpanIt) {
  const int p = CreateElement(tk, ElementKind::PopupMenu, 101, 0, 0, 0, 0, "", 0, 0, 0, 1);
  Element& menu = E(p);
  ASSERT_EQ(menu.FrameWidth, 1);
  const int rowH = RowHeight("Open");

  AddItem(tk, p, -1, "Open");
  EXPECT_EQ(menu.Frame.h0, rowH + 2);
  EXPECT_GE(menu.Frame.w0, EntryWidth("Open") + 2);
  EXPECT_EQ(menu.Items[0]->Frame.w0, menu.Inner.w0);

  AddItem(tk, p, -1, "");
  const Element& sep = *menu.Items[1];
  EXPECT_EQ(sep.SeparatorCount, 1);
  EXPECT_EQ(menu.SeparatorCount, 1);
  EXPECT_EQ(sep.Frame.h0, 3);
  EXPECT_EQ(sep.Frame.w0, menu.Frame.w0);
  EXPECT_EQ(sep.Frame.y0, rowH);
  EXPECT_EQ(menu.Frame.h0, rowH + 3 + 2);

  const int before = menu.Frame.w0;
  AddItem(tk, p, -1, "A considerably longer entry than the first");
  EXPECT_GT(menu.Frame.w0, before);
  EXPECT_EQ(menu.Items[0]->Frame.w0, menu.Inner.w0);  // earlier rows widen with the menu
  EXPECT_EQ(menu.Items[1]->Frame.w0, menu.Frame.w0);
  EXPECT_EQ(menu.Items[2]->Frame.y0, rowH + 3);
}

TEST_F(ItemsTest, MenuBarEntriesRunSideBySideAndShrinkTheWindowInner) {
  Element& win = E(100);
  const int innerY = win.Inner.y0;
  const int innerH = win.Inner.h0;
  const int m = CreateElement(tk, ElementKind::Menu, 101, 0, -1, 22, 22, "", 0, 0, 0,
                              MakeFlags(0x80C7400, 0));
  Element& menu = E(m);
  ASSERT_EQ(menu.FrameWidth, 0);

  AddItem(tk, m, -1, "File");
  EXPECT_EQ(win.MenuStripHeight, 22);
  EXPECT_EQ(win.Inner.y0, innerY + 22);
  EXPECT_EQ(win.Inner.h0, innerH - 22);
  const Element& file = *menu.Items[0];
  EXPECT_EQ(file.Frame.x0, 0);
  EXPECT_EQ(file.Frame.w0, EntryWidth("File"));
  EXPECT_EQ(file.Frame.h0, 22);

  AddItem(tk, m, -1, "Edit");
  EXPECT_EQ(menu.Items[1]->Frame.x0, EntryWidth("File"));
  EXPECT_EQ(menu.Frame.w0, EntryWidth("File") + EntryWidth("Edit"));
  EXPECT_EQ(menu.Frame.h0, 22);
  EXPECT_EQ(win.Inner.y0, innerY + 22);  // the strip is set, not added again
}

TEST_F(ItemsTest, PanelTabsAndWindowCaptionItems) {
  const int p = Make(ElementKind::Panel, 101);
  AddItem(tk, p, -1, "One");
  AddItem(tk, p, -1, "Two");
  const Element& panel = E(p);
  EXPECT_EQ(panel.Items[0]->Frame.h0, 22);  // caption height 25 - 3
  EXPECT_EQ(panel.Items[0]->Frame.w0, EntryWidth("One") - 1);
  EXPECT_EQ(panel.Items[1]->Frame.x0, EntryWidth("One"));

  const Element& win = E(100);
  ASSERT_EQ(win.Items.size(), 2u);
  for (const auto& item : win.Items) {
    EXPECT_EQ(item->Frame.h0, win.CaptionHeight);
    EXPECT_EQ(item->BackColor, kNoColor);
    EXPECT_EQ(item->BackgroundMode, Background::Gradient);
    EXPECT_EQ(item->SeparatorCount, 0);  // an empty caption button is not a separator
  }
  EXPECT_EQ(win.SeparatorCount, 0);
}

TEST_F(ItemsTest, PropertyRowsSplitIntoEditorKindLabelAndValue) {
  const int pl = Make(ElementKind::PropertyList, 101);
  AddItem(tk, pl, -1, "Spin Width:100");
  AddItem(tk, pl, -1, "String Caption:");
  AddItem(tk, pl, -1, "ComboBox Disable:True");
  AddItem(tk, pl, -1, "Button Image:file.png");
  const Element& list = E(pl);

  const Element& spin = *list.Items[0];
  EXPECT_EQ(KindValue(spin.Kind), 26);
  EXPECT_EQ(spin.Text2, "Width:");
  EXPECT_EQ(spin.Text, "100");
  EXPECT_EQ(spin.BackgroundMode, Background::Gradient);
  EXPECT_TRUE(HasAny(spin.Flags, Flag::Border));

  const Element& plain = *list.Items[1];
  EXPECT_EQ(plain.Kind, ElementKind::PropertyList);
  EXPECT_EQ(plain.Text2, "Caption:");
  EXPECT_EQ(plain.Text, " ");
  EXPECT_EQ(plain.BackgroundMode, Background::None);

  EXPECT_EQ(list.Items[2]->Kind, ElementKind::ComboBox);
  EXPECT_EQ(list.Items[3]->Kind, ElementKind::Button);
  EXPECT_EQ(list.Items[3]->Text, "file.png");
  EXPECT_EQ(list.BackColor, kNoColor);
  EXPECT_TRUE(HasAll(list.Flags, 0x3000 | Flag::Left | 0xC0000 | 0x4000));
}

TEST_F(ItemsTest, CanvasAndPartOwnersPlaceTheirOwnItems) {
  const int c = CreateElement(tk, ElementKind::Canvas, 101, 30, 40, 200, 100, "", 0, 0, 0, 0);
  Element& canvas = E(c);
  canvas.CurrentTab = 5;
  canvas.StateIndex = 5;
  tk.root.MouseX = canvas.Frame.x0 + 50;
  tk.root.MouseY = canvas.Frame.y0 + 20;
  AddItem(tk, c, -1, "");
  const Element& dot = *canvas.Items[0];
  EXPECT_EQ(dot.Frame.x0, 50);
  EXPECT_EQ(dot.Frame.y0, 20);
  EXPECT_EQ(dot.Frame.w0, 21);
  EXPECT_EQ(dot.Frame.h0, 24);
  EXPECT_EQ(dot.BackgroundMode, Background::Gradient);
  EXPECT_EQ(canvas.CurrentTab, 0);
  EXPECT_EQ(canvas.StateIndex, 0);
  EXPECT_EQ(canvas.SeparatorCount, 0);

  const int s = CreateElement(tk, ElementKind::Spin, 102, 0, 0, 80, 20, "", 0, 10, 0, 0, -1, "1");
  Element& spin = E(s);
  spin.Radius = 4;
  AddItem(tk, s, -1, "");
  EXPECT_EQ(spin.Items[2]->Radius, 4);
  EXPECT_EQ(spin.Items[0]->BackColor, kNoColor);
  EXPECT_EQ(spin.Items[0]->BackgroundMode, Background::Gradient);
  EXPECT_EQ(spin.ItemWidth, 16);
  EXPECT_EQ(spin.SeparatorCount, 0);

  const int editable = Make(ElementKind::ComboBox, 103, 100, 20, Flag::Editable);
  AddItem(tk, editable, -1, "");
  EXPECT_EQ(E(editable).Items[0]->BackColor, 0xFFFFFF);
  EXPECT_EQ(E(editable).Items[0]->BackgroundMode, Background::Plain);
  const int fixed = Make(ElementKind::ComboBox, 104, 100, 20);
  AddItem(tk, fixed, -1, "");
  EXPECT_EQ(E(fixed).Items[0]->BackColor, kNoColor);
  EXPECT_EQ(E(fixed).Items[0]->BackgroundMode, Background::None);

  const int track =
      CreateElement(tk, ElementKind::TrackBar, 105, 0, 0, 20, 100, "", 0, 10, 1, Flag::Vertical);
  AddItem(tk, track, -1, "");
  EXPECT_EQ(E(track).Items[0]->Vertical, 1);
}

// A list view's item procedure as a kind module would install it.
int FakeListAdder(Toolkit&, Element&, int position, const std::string&, int, Flags64) {
  return position + 40;
}

TEST_F(ItemsTest, AddElementItemDispatchesByKind) {
  EXPECT_EQ(AddElementItem(tk, 4242, -1, "x"), 0);

  const int button = Make(ElementKind::Button, 101);
  EXPECT_EQ(AddElementItem(tk, button, -1, "x"), 0);
  EXPECT_TRUE(E(button).Items.empty());

  const int popup = CreateElement(tk, ElementKind::PopupMenu, 102, 0, 0, 0, 0, "", 0, 0, 0, 1);
  EXPECT_EQ(AddElementItem(tk, popup, -1, "a"), 0);
  EXPECT_EQ(AddElementItem(tk, popup, -1, "b"), 1);

  tk.Kind(ElementKind::ListView).AddItem = nullptr;  // a list kind without its module
  const int lv = Make(ElementKind::ListView, 103);
  tk.Kind(ElementKind::ListView).AddItem = nullptr;  // a kind without an item procedure
  EXPECT_EQ(AddElementItem(tk, lv, 2, "x"), 0);
  EXPECT_TRUE(E(lv).Items.empty());
  tk.Kind(ElementKind::ListView).AddItem = FakeListAdder;
  EXPECT_EQ(AddElementItem(tk, lv, 2, "x"), 42);
}

TEST_F(ItemsTest, EditorTextIsAddedLineByLine) {
  const int ed = Make(ElementKind::Editor, 101, 200, 100);
  Element& editor = E(ed);
  EXPECT_EQ(AddElementItem(tk, ed, -1, "one\ntwo\r\n\nthree\n"), 3);
  ASSERT_EQ(editor.Items.size(), 4u);
  EXPECT_EQ(editor.Items[0]->Text, "one");
  EXPECT_EQ(editor.Items[1]->Text, "two");
  EXPECT_EQ(editor.Items[2]->Text, "");
  EXPECT_EQ(editor.Items[3]->Text, "three");
  EXPECT_EQ(editor.Items[0]->Frame.y0, 0);
  for (size_t i = 1; i < editor.Items.size(); ++i) {
    const Element& prev = *editor.Items[i - 1];
    EXPECT_EQ(editor.Items[i]->Frame.y0, prev.Frame.y0 + prev.Frame.h0) << i;
  }
  EXPECT_EQ(editor.Items[2]->Frame.h0, RowHeight("A"));  // an empty line keeps its height
  EXPECT_EQ(editor.SeparatorCount, 0);

  // Only lines that fit into the block height are added.
  const int tall = Make(ElementKind::Editor, 102, 200, 100);
  std::string many;
  for (int i = 0; i < 40; ++i)
    many += "line\n";
  AddElementItem(tk, tall, -1, many);
  EXPECT_EQ(static_cast<int>(E(tall).Items.size()), 225 / RowHeight("line"));

  // Alignment bits move the first line down by (half) the free space.
  const int centred = Make(ElementKind::Editor, 103, 200, 100);
  E(centred).Flags |= Flag::VCenter;
  AddElementItem(tk, centred, -1, "a\nb");
  const int freeSpace = E(centred).Inner.h0 - 2 * RowHeight("a");
  EXPECT_EQ(E(centred).Items[0]->Frame.y0, freeSpace / 2);
  const int bottom = Make(ElementKind::Editor, 104, 200, 100);
  E(bottom).Flags |= Flag::Bottom;
  AddElementItem(tk, bottom, -1, "a\nb");
  EXPECT_EQ(E(bottom).Items[0]->Frame.y0, freeSpace);
}

}  // namespace
}  // namespace tk
