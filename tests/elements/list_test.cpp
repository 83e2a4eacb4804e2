// The ListView and ListIcon kinds: item ids, content height and bars, the item painters
// (selection, header, column texts, check boxes), and the pointer through native events.
#include "elements/list.h"

#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/panel.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/paint.h"
#include "render/repaint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

using platform::DrawMode;

constexpr int kWindow = 1, kList = 10, kIcons = 20;
constexpr Color kHalf = Color{128} << 24;  // the alpha of the hot and selection boxes
constexpr Color kSelection = 0xFFBAA0;

class ListTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 800, 600, "Main", Flag::SystemMenu), kWindow);
  }
  Element& Get(int id) { return *FindElement(tk, id); }
  Element& VBar(int list) { return Get(Get(list).Attached[1]); }
  Element& Item(int list, int i) { return *Get(list).Items[static_cast<size_t>(i)]; }
  void AddRows(int list, int count) {
    for (int i = 0; i < count; ++i)
      AddListItem(tk, list, -1, "Row " + std::to_string(i));
  }
  // Canvas position of an item's middle, or of its top-left corner, as it is drawn.
  int MidX(int list, int i) {
    return Get(list).Inner.x0 - Get(list).HScroll + Item(list, i).Frame.x0 +
           Item(list, i).Frame.w0 / 2;
  }
  int TopY(int list, int i) {
    return Get(list).Inner.y0 - Get(list).VScroll + Item(list, i).Frame.y0;
  }
  int MidY(int list, int i) { return TopY(list, i) + Item(list, i).Frame.h0 / 2; }
  void ClickAt(int x, int y) {
    platform.InjectMove(x, y);
    platform.InjectClick(x, y);
    PumpEvents(tk);
  }
  // The first paint, and a first pointer report that only makes the position known.
  void StartPointer() {
    Repaint(tk, kWindow, true);
    platform.InjectMove(3, 3);
    PumpEvents(tk);
  }
  static int Count(const RecordingPainter& p, PaintOp op, DrawMode mode, Color color, int x, int y,
                   int w, int h) {
    int n = 0;
    for (const PaintCall& c : p.Of(op))
      n += c.mode == mode && c.color == color && c.x == x && c.y == y && c.w == w && c.h == h;
    return n;
  }
  static const PaintCall* TextCall(const RecordingPainter& p, const std::string& prefix) {
    for (const PaintCall& c : p.calls)
      if (c.op == PaintOp::Text && c.text.rfind(prefix, 0) == 0) return &c;
    return nullptr;
  }
  std::vector<int> changes;
  void CountChanges(int id) {
    handler_ = MakeHandler([this](EventCode, int value) {
      changes.push_back(value);
      return 1;
    });
    BindElementEvent(tk, id, handler_, ElementEvent::Change);
  }

 private:
  HandlerRef handler_;
};

TEST_F(ListTest, CreationStartsWithItsTextAndOwnsTwoLinkedBars) {
  const int container = Container(tk, 5, 400, 10, 300, 300);
  ASSERT_EQ(ListView(tk, kList, 20, 30, 200, 150, "First", 0, kWindow), kList);
  EXPECT_EQ(tk.root.OpenList, container);  // the caller's list is open again
  ASSERT_EQ(CountItems(tk, kList), 1);
  EXPECT_EQ(Item(kList, 0).Text, "First");
  EXPECT_EQ(Item(kList, 0).ID, 0);
  EXPECT_EQ(Item(kList, 0).Flags, kListItemFlags);

  const Element& list = Get(kList);
  const Element& v = VBar(kList);
  const Element& h = Get(list.Attached[2]);
  EXPECT_EQ(list.Attached[0], kList);
  EXPECT_NE(v.Vertical, 0);
  EXPECT_EQ(h.Vertical, 0);
  EXPECT_EQ((std::vector<int>{v.Attached[0], v.Attached[1]}), (std::vector<int>{kList, v.ID}));
  EXPECT_EQ((std::vector<int>{h.Attached[0], h.Attached[2]}), (std::vector<int>{kList, h.ID}));
  // One short item fits: no bar shows, and hiding them left the list visible.
  EXPECT_NE(v.Hidden, 0);
  EXPECT_NE(h.Hidden, 0);
  EXPECT_EQ(list.Hidden, 0);
  EXPECT_EQ(v.Frame.x0 + v.Frame.w0, list.Inner.x0 + list.Inner.w0);

  // The bars go with the list; ids that name no list get neutral answers.
  const int vbar = v.ID;
  FreeElement(tk, kList);
  EXPECT_EQ(FindElement(tk, vbar), nullptr);
  EXPECT_EQ(AddListItem(tk, kList, -1, "x"), -1);
  EXPECT_EQ(AddListItem(tk, container, -1, "x"), -1);
  ListView(tk, 11, 20, 200, 100, 100, "", 0, kWindow);
  EXPECT_EQ(CountItems(tk, 11), 0);
  EXPECT_EQ(AddListColumn(tk, 11, -1, "Column", 50), -1);
  EXPECT_EQ(ListContentHeight(tk, 999), 0);
}

TEST_F(ListTest, BarsOfAListOnALaterPanelTabFollowTheList) {
  ASSERT_EQ(Panel(tk, 30, 10, 10, 400, 300, 0, kWindow), 30);
  AddTab(tk, 30, -1, "First");
  AddTab(tk, 30, -1, "Second");
  OpenList(tk, 30, 1);
  ListView(tk, kList, 10, 10, 200, 100, "");
  CloseList(tk);
  ASSERT_NE(Get(kList).Hidden, 0);
  AddRows(kList, 20);
  SetElementState(tk, 30, 1);
  EXPECT_EQ(Get(kList).Hidden, 0);
  EXPECT_EQ(VBar(kList).Hidden, 0);
  HideElement(tk, kList, 1);
  HideElement(tk, kList, 0);
  EXPECT_EQ(VBar(kList).Hidden, 0);
  ClearItems(tk, kList);
  AddRows(kList, 2);  // everything fits again
  EXPECT_NE(VBar(kList).Hidden, 0);
  AddRows(kList, 20);
  EXPECT_EQ(VBar(kList).Hidden, 0);
  // Growing while its tab is not shown leaves the bar hidden with the list.
  SetElementState(tk, 30, 0);
  ClearItems(tk, kList);
  AddRows(kList, 2);
  AddRows(kList, 20);
  EXPECT_NE(VBar(kList).Hidden, 0);
  SetElementState(tk, 30, 1);
  EXPECT_EQ(VBar(kList).Hidden, 0);
}

// A list emptied by ClearItems has nothing left to scroll: its vertical bar goes, without
// waiting for a new item.
TEST_F(ListTest, ClearingAListTakesAwayItsBar) {
  ListView(tk, kList, 20, 30, 200, 100, "", 0, kWindow);
  ListIcon(tk, kIcons, 240, 30, 200, 100, "Name", 150, 0, kWindow);
  for (int list : {kList, kIcons}) {
    AddRows(list, 30);
    SetElementState(tk, Get(list).Attached[1], 200);
    ASSERT_EQ(VBar(list).Hidden, 0);
    ClearItems(tk, list);
    EXPECT_NE(VBar(list).Hidden, 0) << list;
    EXPECT_EQ(Get(list).VScroll, 0) << list;
    EXPECT_LE(ListContentHeight(tk, list), 2) << list;
  }
}

TEST_F(ListTest, InsertedItemsGoBeforeTheOldOneAndTheRestMoveUp) {
  ListView(tk, kList, 20, 30, 200, 300, "", 0, kWindow);
  for (const char* text : {"a", "b", "c"})
    AddListItem(tk, kList, -1, text);
  EXPECT_EQ(Item(kList, 2).ID, 2);
  const int bY = Item(kList, 1).Frame.y0;
  EXPECT_EQ(AddListItem(tk, kList, 1, "x"), 1);
  const char* order[] = {"a", "x", "b", "c"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Item(kList, i).Text, order[i]);
    EXPECT_EQ(Item(kList, i).ID, i);
    EXPECT_EQ(FindItem(Get(kList), i), &Item(kList, i));
  }
  EXPECT_EQ(Item(kList, 1).Frame.y0, bY);
  EXPECT_EQ(Item(kList, 2).Frame.y0, bY + Item(kList, 1).Frame.h0);
  EXPECT_EQ(AddListItem(tk, kList, 99, "far"), 99);
  EXPECT_EQ(AddElementItem(tk, kList, -1, "d"), 100);
  EXPECT_EQ(Item(kList, 5).Text, "d");
}

TEST_F(ListTest, ContentHeightGrowsByMeasuredItemsAndSetsTheBar) {
  ListView(tk, kList, 20, 30, 200, 100, "", 0, kWindow);
  AddListItem(tk, kList, -1, "A fixed row with a long text", 17);
  EXPECT_EQ(Item(kList, 0).Frame.h0, 17);
  EXPECT_EQ(ListContentHeight(tk, kList), 2);

  platform::Painter& measurer = tk.platform.Measurer();
  measurer.SetFont(tk.platform.Fonts().Default());
  ASSERT_EQ(measurer.TextHeight("A"), 15);  // the default font's text height on this machine
  ListView(tk, 11, 20, 150, 200, 100, "", 0, kWindow);
  AddRows(11, 10);
  EXPECT_EQ(ListContentHeight(tk, 11), 152);
  EXPECT_EQ(VBar(11).Max, 152);
  EXPECT_EQ(VBar(11).Hidden, 0);  // 152 does not fit into 100
  EXPECT_EQ(Item(11, 0).Frame.w0, Get(11).Inner.w0 - VBar(11).Frame.w0 - 2);
  ResizeElementById(tk, 11, kIgnore, kIgnore, kIgnore, 300);
  EXPECT_NE(VBar(11).Hidden, 0);
  EXPECT_EQ(Item(11, 0).Frame.w0, Get(11).Inner.w0 - 2);
  AddListItem(tk, 11, -1, "A much wider item than the others");
  EXPECT_EQ(ListWidestItem(tk, 11), measurer.TextWidth("A much wider item than the others"));

  // An icon makes the item 16 + 6 high; a large-icon list resizes it to 24 x 24.
  platform::ImageStore& images = tk.platform.Images();
  const int icon = images.Create(platform::ImageStore::kAny, 16, 16, 32, -1);
  AddListItem(tk, kList, -1, "With icon", icon);
  EXPECT_EQ(Item(kList, 1).Frame.h0, 22);
  EXPECT_EQ(ListContentHeight(tk, kList), 2 + 22);
  ListView(tk, 12, 300, 30, 200, 300, "", Flag::Large, kWindow);
  AddListItem(tk, 12, -1, "Large", icon);
  EXPECT_EQ(images.Width(icon), 24);
  EXPECT_EQ(Item(12, 0).Frame.h0, 30);
}

// With the default item flags the icon and the text share the row's middle side by side.
TEST_F(ListTest, DefaultItemFlagsPutTheTextBesideItsIcon) {
  ListView(tk, kList, 20, 30, 200, 100, "", 0, kWindow);
  const int icon = tk.builtins.SmallIcon;
  ASSERT_EQ(tk.platform.Images().Width(icon), 16);
  AddListItem(tk, kList, -1, "With icon", icon);
  AddListItem(tk, kList, -1, "Text only");
  ASSERT_EQ(Item(kList, 0).Flags, kListItemFlags);
  RecordingPainter p;
  PaintAll(tk, p);
  const PaintCall* text = TextCall(p, "With icon");
  const PaintCall* alone = TextCall(p, "Text only");
  ASSERT_NE(text, nullptr);
  ASSERT_NE(alone, nullptr);
  std::vector<PaintCall> images;
  for (const PaintCall& c : p.Of(PaintOp::DrawImage))
    if (c.image == icon) images.push_back(c);
  ASSERT_EQ(images.size(), 1u);
  const PaintCall& image = images[0];
  const int width = 9 * p.CharWidth();
  EXPECT_GE(text->x, image.x + 16);
  EXPECT_LE(text->x, image.x + 16 + 6);
  // The pair is centred as one, where the lone text is centred by itself.
  EXPECT_NEAR((image.x + text->x + width) / 2.0, alone->x + width / 2.0, 1.5);
  Repaint(tk, kWindow, true);
  EXPECT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/list_icon_text_snapshot.png"));
}

TEST_F(ListTest, SelectionIsShadedInTheFrameColourUnlessTheListIsInUse) {
  ListView(tk, kList, 20, 30, 200, 100, "", 0, kWindow);
  AddRows(kList, 20);
  SetElementState(tk, kList, 1);
  Get(kList).HotItem = 2;
  tk.root.UsedElement = kWindow;
  RecordingPainter p;
  PaintAll(tk, p);
  const Element& list = Get(kList);
  auto boxes = [&](int i, Color color) {
    const Element& it = Item(kList, i);
    return Count(p, PaintOp::Box, DrawMode::AlphaBlend, kHalf | color, list.Inner.x0 + it.Frame.x0,
                 TopY(kList, i), it.Frame.w0, it.Frame.h0);
  };
  EXPECT_EQ(boxes(1, list.FrameColor), 1);
  EXPECT_EQ(boxes(1, kSelection), 0);
  EXPECT_EQ(boxes(2, 0xFCDFC3), 1);  // hot fill, with its outline of four lines
  int outline = 0;
  for (const PaintCall& c : p.Of(PaintOp::Line))
    outline += c.mode == DrawMode::AlphaBlend && c.color == (kHalf | kSelection);
  EXPECT_EQ(outline, 4);

  // In use, the selection takes the selection colour; a disabled hot item looks plain.
  tk.root.UsedElement = kList;
  DisableItem(tk, kList, 2, 1);
  p.Clear();
  PaintAll(tk, p);
  EXPECT_EQ(boxes(1, kSelection), 1);
  EXPECT_EQ(boxes(2, 0xFCDFC3), 0);

  // Scrolled rows move up; those out of view are not drawn and the rest stay inside.
  SetElementState(tk, VBar(kList).ID, 40);
  EXPECT_EQ(list.VScroll, 40);
  p.Clear();
  PaintAll(tk, p);
  EXPECT_EQ(TextCall(p, "Row 0"), nullptr);
  ASSERT_NE(TextCall(p, "Row 5"), nullptr);
  EXPECT_LT(TextCall(p, "Row 5")->y, list.Inner.y0 + Item(kList, 5).Frame.y0);
  for (const auto& item : list.Items) {
    if (item->Clip.w0 <= 0 || item->Clip.h0 <= 0) continue;
    EXPECT_GE(item->Clip.y0, list.Inner.y0) << item->Text;
    EXPECT_LE(item->Clip.y0 + item->Clip.h0, list.Inner.y0 + list.Inner.h0) << item->Text;
  }
}

TEST_F(ListTest, ClicksSelectRowsAndTheWheelScrollsTheListInUse) {
  ListView(tk, kList, 20, 30, 200, 120, "", 0, kWindow);
  AddRows(kList, 30);
  AddListItem(tk, kList, 0, "Top");  // inserted rows are found where they are drawn
  CountChanges(kList);
  StartPointer();
  ClickAt(MidX(kList, 2), MidY(kList, 2));
  EXPECT_EQ(GetElementState(tk, kList), 2.0);
  EXPECT_EQ(tk.root.UsedElement, kList);
  const int x = MidX(kList, 0), y = MidY(kList, 0);
  ClickAt(x, y);
  ClickAt(x, y + 2);  // the same row again is no change
  EXPECT_EQ(changes, (std::vector<int>{2, 0}));

  platform::NativeEvent wheel;
  wheel.type = platform::NativeEventType::Wheel;
  wheel.x = x;
  wheel.y = y;
  wheel.wheel = -3;  // towards the user: further down
  platform.Inject(wheel);
  PumpEvents(tk);
  EXPECT_GT(VBar(kList).Value, 0);
  EXPECT_EQ(Get(kList).VScroll, VBar(kList).Value);
  // The same spot now shows a later row, and clicking it selects that row.
  int shown = -1;
  for (int i = 0; i < 31; ++i)
    if (TopY(kList, i) < y && y <= TopY(kList, i) + Item(kList, i).Frame.h0) shown = i;
  ASSERT_GT(shown, 0);
  ClickAt(x, y);
  EXPECT_EQ(GetElementState(tk, kList), static_cast<double>(shown));
}

// An item whose text fits the list but not beside its shown vertical bar shows its whole text
// in a tooltip laid over it.
TEST_F(ListTest, TextHiddenByTheBarShowsInATooltipOverTheItem) {
  ListView(tk, kList, 20, 30, 200, 120, "", 0, kWindow);
  AddRows(kList, 30);
  ASSERT_EQ(VBar(kList).Hidden, 0);
  const int room = Get(kList).Inner.w0, barWidth = VBar(kList).Frame.w0;
  platform::Painter& m = platform.Measurer();
  m.SetFont(platform.Fonts().Default());
  std::string text = "W";
  while (m.TextWidth(text + "W") < room)
    text += "W";
  ASSERT_GT(m.TextWidth(text), room - barWidth);
  AddListItem(tk, kList, 3, text);  // inserted: drawn fourth
  StartPointer();
  platform.InjectMove(MidX(kList, 3), MidY(kList, 3));
  PumpEvents(tk);
  EXPECT_EQ(tk.root.ToolTipText, text);
  EXPECT_EQ(tk.root.ToolTipMinWidth, Item(kList, 3).Frame.w0);
}

class ListIconTest : public ListTest {
 protected:
  void SetUp() override {
    ListTest::SetUp();
    ASSERT_EQ(ListIcon(tk, kIcons, 20, 30, 300, 200, "Name", 100, Flag::CheckBoxes, kWindow),
              kIcons);
    ASSERT_EQ(AddListColumn(tk, kIcons, -1, "Size", 60), 1);
    ASSERT_EQ(AddListColumn(tk, kIcons, -1, "Kind", 80), 2);
  }
  int OriginX() { return Get(kIcons).Inner.x0 - Get(kIcons).HScroll; }
};

TEST_F(ListIconTest, HeaderColumnTextsAndCheckBoxesAreDrawnInPlace) {
  RecordingPainter p;
  PaintAll(tk, p);
  ASSERT_NE(TextCall(p, "Name"), nullptr);  // the header shows before any row

  AddListItem(tk, kIcons, -1, "alpha\n12\nfile");
  AddListItem(tk, kIcons, -1, "a name far too long for its column\n7\nimage");
  AddListItem(tk, kIcons, -1, "third");
  Item(kIcons, 0).Checked = 1;
  Item(kIcons, 2).InBetween = 1;
  SetElementData(tk, kIcons, 3);  // rounds the check boxes' corners
  EXPECT_EQ(Item(kIcons, 0).Frame.h0, kListRowHeight);
  EXPECT_EQ(ListContentHeight(tk, kIcons), 2 + 3 * kListRowHeight);
  EXPECT_EQ(VBar(kIcons).Max, ListContentHeight(tk, kIcons) + Get(kIcons).HeaderHeight);
  p.Clear();
  PaintAll(tk, p);

  const int ox = OriginX();
  const int lefts[] = {0, 100, 160, 240};
  const char* titles[] = {"Name", "Size", "Kind"};
  const char* cells[] = {"alpha", "12", "file"};
  for (int j = 0; j < 3; ++j) {
    const int h = Get(kIcons).Columns[static_cast<size_t>(j)]->Frame.h0;
    EXPECT_EQ(Count(p, PaintOp::Line, DrawMode::Default, 0, ox + lefts[j + 1] - 1,
                    1 + Get(kIcons).Inner.y0, 1, h),
              1)
        << "separator " << j;
    for (const PaintCall* c : {TextCall(p, titles[j]), TextCall(p, cells[j])}) {
      ASSERT_NE(c, nullptr) << j;
      EXPECT_GE(c->x, ox + lefts[j]);
      EXPECT_LT(c->x, ox + lefts[j + 1]);
    }
    EXPECT_GE(TextCall(p, cells[j])->x, ox + kListCheckColumn);
    EXPECT_GE(TextCall(p, cells[j])->y, TopY(kIcons, 0));
  }
  const PaintCall* cut = TextCall(p, "a name");
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(cut->text.substr(cut->text.size() - 3), "...");
  EXPECT_LE(cut->x + p.TextWidth(cut->text), ox + 100);

  const int cx = ox + 5;
  auto cy = [&](int i) { return TopY(kIcons, i) + (kListRowHeight - 13) / 2; };
  int squares = 0;
  for (const PaintCall& c : p.Of(PaintOp::RoundBox))
    squares += c.x == cx && c.w == 13 && c.h == 13 && c.rx == 3 && c.mode == DrawMode::Outlined;
  EXPECT_EQ(squares, 3);
  for (const auto& s :
       std::vector<std::vector<int>>{{2, 5, 4, 4}, {2, 6, 3, 3}, {5, 7, 6, -6}, {5, 8, 6, -6}}) {
    EXPECT_EQ(Count(p, PaintOp::Line, DrawMode::Default, 0, cx + s[0], cy(0) + s[1], s[2], s[3]),
              1);
    EXPECT_EQ(Count(p, PaintOp::Line, DrawMode::Default, 0, cx + s[0], cy(1) + s[1], s[2], s[3]),
              0);
  }
  EXPECT_EQ(Count(p, PaintOp::Box, DrawMode::Default, 0, cx + 3, cy(2) + 3, 7, 7), 1);
}

// Scrolled sideways, a box ticks where it is drawn.
TEST_F(ListIconTest, ScrolledSidewaysTheBoxesTickWhereTheyAreDrawn) {
  AddListColumn(tk, kIcons, -1, "Wide", 400);  // wider than the list: it scrolls sideways
  AddListItem(tk, kIcons, -1, "first\n1\na\nw");
  StartPointer();
  const int hbar = Get(kIcons).Attached[2];
  SetElementState(tk, hbar, 10);
  ASSERT_EQ(Get(kIcons).HScroll, 10);
  Repaint(tk, kWindow, true);
  const int boxMiddle = OriginX() + 5 + 6;  // drawn square's middle, now 10 pixels further left
  ASSERT_GT(boxMiddle, Get(kIcons).Frame.x0);
  ClickAt(boxMiddle, MidY(kIcons, 0));
  EXPECT_EQ(Item(kIcons, 0).Checked, 1);
}

TEST_F(ListIconTest, CheckBoxClicksTickRowsAndHeaderPressesSelectNothing) {
  AddListItem(tk, kIcons, -1, "first\n1\na");
  AddListItem(tk, kIcons, -1, "second\n2\nb");
  CountChanges(kIcons);
  StartPointer();
  const int boxX = OriginX() + 5 + 6, y = MidY(kIcons, 1);
  ClickAt(MidX(kIcons, 1), y);
  EXPECT_EQ(GetElementState(tk, kIcons), 1.0);
  EXPECT_EQ(Item(kIcons, 1).Checked, 0);
  // The row is selected already; its box still ticks and reports the change.
  ClickAt(boxX, y);
  EXPECT_EQ(GetItemState(tk, kIcons, 1), 1.0);
  EXPECT_EQ(Item(kIcons, 0).Checked, 0);
  EXPECT_EQ(changes, (std::vector<int>{1, 1}));
  ClickAt(boxX, y);
  EXPECT_EQ(Item(kIcons, 1).Checked, 0);

  platform::NativeEvent press;
  press.type = platform::NativeEventType::LeftButtonDown;
  press.x = OriginX() + 130;
  press.y = Get(kIcons).Inner.y0 + Get(kIcons).HeaderHeight / 2;
  platform.InjectMove(press.x, press.y);
  platform.Inject(press);
  PumpEvents(tk);
  EXPECT_EQ(Get(kIcons).PressedColumn, 1);
  EXPECT_EQ(Get(kIcons).HotItem, -1);
  press.type = platform::NativeEventType::LeftButtonUp;
  platform.Inject(press);
  PumpEvents(tk);
  EXPECT_EQ(Get(kIcons).PressedColumn, -1);
  EXPECT_EQ(GetElementState(tk, kIcons), 1.0);
}

TEST_F(ListIconTest, SnapshotOfBothListsShowsTicksAndTheSelection) {
  ListView(tk, kList, 340, 30, 180, 120, "", 0, kWindow);
  const int icons[] = {tk.builtins.TrayArrow, tk.builtins.RedCross, tk.builtins.SmallIcon};
  for (int i = 0; i < 8; ++i)
    AddListItem(tk, kList, -1, "Entry number " + std::to_string(i), icons[i % 3],
                Flag::Left | Flag::VCenter | 0x80000);
  for (const char* row : {"report.pb\n12 KB\nSource", "logo.png\n3 KB\nImage",
                          "notes.txt\n1 KB\nText", "form.pbf\n8 KB\nForm"})
    AddListItem(tk, kIcons, -1, row);
  Item(kIcons, 0).Checked = 1;
  Item(kIcons, 2).InBetween = 1;
  SetElementState(tk, kIcons, 1);
  SetElementState(tk, kList, 2);
  tk.root.UsedElement = kIcons;
  Repaint(tk, kWindow, true);
  ASSERT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/list_snapshot.png"));

  EXPECT_EQ(platform.CanvasPixel(OriginX() + 5, TopY(kIcons, 0) + 3), 0x000000u);  // box corner
  const uint32_t tint = platform.CanvasPixel(OriginX() + 250, TopY(kIcons, 1) + 2);
  EXPECT_NE(tint, 0xFFFFFFu);
  EXPECT_GT(tint & 0xFF, (tint >> 16) & 0xFF);  // the selection tints white towards blue
  EXPECT_EQ(VBar(kList).Hidden, 0);             // eight icon rows do not fit into 120 pixels
}

}  // namespace
}  // namespace tk::testing
