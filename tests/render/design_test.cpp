// Design mode driven through the headless backend's native events: hit areas and pointer
// shapes, selection, dragging by the body and the borders (one element and a group), the
// drag read-outs, keyboard nudging and walking, and the painted frame, guides and handles.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"
#include "render/interaction.h"
#include "render/paint.h"
#include "render/repaint.h"
#include "tests/support/recording_painter.h"

namespace tk {
namespace {

using platform::Cursor;
using platform::NativeEvent;
using platform::NativeEventType;
using testing::PaintCall;
using testing::PaintOp;
using testing::RecordingPainter;

constexpr Flags64 kResizable = MakeFlags(0, 0x8000);  // SizeGadget: border areas
constexpr Flags64 kMovable = MakeFlags(0, 0x10000);   // the move area
constexpr platform::PColor kRed = 0x0000FF;
constexpr platform::PColor kBlue = 0xFF0000;
constexpr platform::PColor kWhite = 0xFFFFFF;

// Counts the pointer shapes the toolkit actually sends to the platform.
class CountingPlatform : public platform::HeadlessPlatform {
 public:
  using HeadlessPlatform::HeadlessPlatform;
  void SetCursor(Cursor cursor) override {
    ++cursorSets;
    HeadlessPlatform::SetCursor(cursor);
  }
  int cursorSets = 0;
};

class DesignTest : public ::testing::Test {
 protected:
  DesignTest() : platform(800, 600), tk(platform) {}

  // A main window filling the canvas and a captioned form window on it, as the designer has.
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(Window(tk, 1, 0, 0, 800, 600, "Main", Flag::SystemMenu), 1);
    ASSERT_EQ(Window(tk, kForm, 100, 80, 500, 400, "Form", Flag::SystemMenu | Flag::SizeGadget),
              kForm);
    PumpEvents(tk);  // the first focus: start-up
    Move(5, 5);      // the first pointer report only makes the position known
    PumpEvents(tk);
  }

  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }

  // An element the designer may select and drag: move area, and border areas on request.
  // (x, y) is where its drawn frame lies, as the designer places it: a resizable element's
  // grab band reaches out around it.
  int Selectable(int id, int x, int y, int w, int h, bool resizable = true, bool movable = true) {
    const int made = Button(tk, id, x, y, w, h, "B" + std::to_string(id));
    Element* e = FindElement(tk, made);
    if (e == nullptr) return -1;
    e->DesignSelectable = 1;
    SetElementFlags(tk, made, (resizable ? kResizable : 0) | (movable ? kMovable : 0));
    ResizeElementById(tk, made, x, y, kIgnore, kIgnore, CoordMode::Parent);
    return made;
  }

  void Send(NativeEventType type, int x, int y, int key = 0, int modifiers = 0) {
    NativeEvent ev;
    ev.type = type;
    ev.x = x;
    ev.y = y;
    ev.keyCode = key;
    ev.modifiers = modifiers;
    platform.Inject(ev);
  }
  void Move(int x, int y) {
    Send(NativeEventType::MouseMove, x, y);
    PumpEvents(tk);
  }
  void Press(int x, int y) {
    Move(x, y);
    Send(NativeEventType::LeftButtonDown, x, y);
    PumpEvents(tk);
  }
  void Release(int x, int y) {
    Send(NativeEventType::LeftButtonUp, x, y);
    Send(NativeEventType::LeftClick, x, y);
    PumpEvents(tk);
  }
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }
  void Drag(int x1, int y1, int x2, int y2) {
    Press(x1, y1);
    Move(x2, y2);
    Release(x2, y2);
  }
  void Key(int key, int modifiers = 0) {
    Send(NativeEventType::KeyDown, 0, 0, key, modifiers);
    Send(NativeEventType::KeyUp, 0, 0, key, modifiers);
    PumpEvents(tk);
  }

  // A point in the body of an element, clear of its borders.
  static int BodyX(const Element& e) { return e.Frame.x0 + e.Frame.w0 / 2; }
  static int BodyY(const Element& e) { return e.Frame.y0 + e.Frame.h0 / 2; }
  static int SeenX(Toolkit& tk, int id) { return ElementX(tk, id, CoordMode::Parent); }
  static int SeenY(Toolkit& tk, int id) { return ElementY(tk, id, CoordMode::Parent); }

  RecordingPainter Record() {
    RecordingPainter p;
    PaintAll(tk, p);
    return p;
  }
  // White 6 x 6 handle fills.
  static std::vector<PaintCall> Handles(const RecordingPainter& p) {
    std::vector<PaintCall> out;
    for (const PaintCall& c : p.Of(PaintOp::Box))
      if (c.color == kWhite && c.w == 6 && c.h == 6 && c.mode == platform::DrawMode::Default)
        out.push_back(c);
    return out;
  }
  static bool HandleAt(const RecordingPainter& p, int x, int y) {
    for (const PaintCall& c : Handles(p))
      if (c.x == x && c.y == y) return true;
    return false;
  }
  static std::vector<PaintCall> LinesIn(const RecordingPainter& p, platform::PColor color) {
    std::vector<PaintCall> out;
    for (const PaintCall& c : p.Of(PaintOp::Line))
      if (c.color == color) out.push_back(c);
    return out;
  }

  static constexpr int kForm = 2;
  CountingPlatform platform;
  Toolkit tk;
};

TEST_F(DesignTest, BodyDragSnapsTowardZeroAndShowsThePositionReadOut) {
  const int b = Selectable(10, 40, 40, 100, 30, false, true);
  Element& e = E(b);
  ASSERT_EQ(e.FrameWidth - e.FrameWidthSet, 0);  // no surplus: seen and stored agree
  const int px = BodyX(e), py = BodyY(e);
  Press(px, py);
  EXPECT_EQ(tk.root.CurrentHitArea, HitAreaCode::Move);
  EXPECT_EQ(tk.root.DesignedElement, b);
  EXPECT_TRUE(HasAll(e.Flags, Flag::Selected));

  // Grab x is the pointer minus x at the press; MouseX - grab x = 23 snaps to 20 and
  // MouseY - grab y = 37 to 35.
  Move(px - 40 + 23, py - 40 + 37);
  EXPECT_EQ(e.ParentOffsetX(), 20);
  EXPECT_EQ(e.ParentOffsetY(), 35);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Move);
  EXPECT_EQ(tk.root.ToolTipText, "x,y = (20:35)");
  EXPECT_EQ(tk.root.ToolTipX, px - 40 + 23 + 8);
  EXPECT_EQ(tk.root.ToolTipY, py - 40 + 37 + 16);

  // -3 truncates to 0, not down to -5.
  Move(px - 40 - 3, py - 40 - 3);
  EXPECT_EQ(e.ParentOffsetX(), 0);
  EXPECT_EQ(e.ParentOffsetY(), 0);
  EXPECT_EQ(tk.root.ToolTipText, "x,y = (0:0)");
  Release(px - 43, py - 43);

  // After the release pointer moves drag nothing.
  Move(px + 30, py + 30);
  EXPECT_EQ(e.ParentOffsetX(), 0);
  EXPECT_EQ(tk.dispatch.DragElement, -1);
}

TEST_F(DesignTest, TheMoveReadOutShowsThePositionTheGettersReport) {
  // A resizable element's grab band lies outside its drawn frame: stored offset and seen
  // position differ by the surplus.
  const int b = Selectable(10, 40, 40, 100, 30);
  Element& e = E(b);
  ASSERT_EQ(e.FrameWidth - e.FrameWidthSet, 3);
  Drag(BodyX(e), BodyY(e), BodyX(e) + 23, BodyY(e) + 37);
  EXPECT_EQ(SeenX(tk, b), 60);
  EXPECT_EQ(SeenY(tk, b), 75);
  EXPECT_EQ(tk.root.ToolTipText, "x,y = (60:75)");

  // Inside a container as well.
  const int box = Container(tk, 20, 20, 200, 300, 150);
  const int inner = Selectable(21, 30, 30, 80, 25);
  CloseList(tk);
  ASSERT_EQ(GetParent(tk, inner), box);
  Drag(BodyX(E(inner)), BodyY(E(inner)), BodyX(E(inner)) + 11, BodyY(E(inner)) + 6);
  EXPECT_EQ(tk.root.ToolTipText, "x,y = (" + std::to_string(SeenX(tk, inner)) + ":" +
                                     std::to_string(SeenY(tk, inner)) + ")");
}

TEST_F(DesignTest, RightEdgeResizeMeasuresFromTheFrame) {
  // A window: snap(103) - 2.
  Element& form = E(kForm);
  const int fx = form.Frame.x0;
  Press(fx + form.Frame.w0 - 2, BodyY(form));
  EXPECT_EQ(tk.root.CurrentHitArea, HitAreaCode::Right);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::LeftRight);
  Move(fx + 103, BodyY(form));
  EXPECT_EQ(form.Frame.w0, 98);
  EXPECT_EQ(form.Frame.x0, fx);
  EXPECT_EQ(tk.root.ToolTipText, "W,H = (98:" + std::to_string(form.Frame.h0) + ")");
  Release(fx + 103, BodyY(form));
  ResizeElement(tk, form, kIgnore, kIgnore, 500, kIgnore);

  // Any other element: snap(103) + 1, also with the border surplus of a resizable element.
  const int b = Selectable(10, 40, 40, 150, 30);
  Element& e = E(b);
  ASSERT_EQ(e.FrameWidth - e.FrameWidthSet, 3);
  const int bx = e.Frame.x0;
  Press(bx + e.Frame.w0 - 1, BodyY(e));
  EXPECT_EQ(tk.root.CurrentHitArea, HitAreaCode::Right);
  Move(bx + 103, BodyY(e) + 2);
  EXPECT_EQ(e.Frame.w0, 101);
  EXPECT_EQ(e.Frame.h0, 30);
  EXPECT_EQ(e.Frame.x0, bx);
  // The bottom-right corner measures both ways.
  Release(bx + 103, BodyY(e) + 2);
  Press(e.Frame.x0 + e.Frame.w0 - 1, e.Frame.y0 + e.Frame.h0 - 1);
  EXPECT_EQ(tk.root.CurrentHitArea, HitAreaCode::BottomRight);
  Move(bx + 57, e.Frame.y0 + 44);
  EXPECT_EQ(e.Frame.w0, 56);
  EXPECT_EQ(e.Frame.h0, 41);
  Release(bx + 57, e.Frame.y0 + 44);
}

TEST_F(DesignTest, LeftAndTopEdgesKeepTheOppositeEdgeAndStayOnTheGrid) {
  // Placed as the designer places it: the drawn frame at (40, 40), the grab band outside.
  const int b = Button(tk, 10, 40, 40, 100, 30, "", Flag::DesignerPlaced);
  E(b).DesignSelectable = 1;
  Element& e = E(b);
  ASSERT_EQ(SeenX(tk, b), 40);
  const int right = e.Frame.x0 + e.Frame.w0, bottom = e.Frame.y0 + e.Frame.h0;

  Press(e.Frame.x0 + 1, e.Frame.y0 + 1);
  EXPECT_EQ(tk.root.CurrentHitArea, HitAreaCode::TopLeft);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::DiagonalNWSE);
  const int startX = e.Frame.x0 + 1, startY = e.Frame.y0 + 1;
  Move(startX - 12, startY - 7);
  EXPECT_EQ(SeenX(tk, b), 25);  // 40 - 12 = 28 snaps to 25
  EXPECT_EQ(SeenY(tk, b), 30);  // 40 - 7 = 33 snaps to 30
  EXPECT_EQ(e.Frame.x0 + e.Frame.w0, right);
  EXPECT_EQ(e.Frame.y0 + e.Frame.h0, bottom);
  // Further reports without a new grid position change nothing (no creeping).
  Move(startX - 13, startY - 8);
  Move(startX - 14, startY - 9);
  EXPECT_EQ(SeenX(tk, b), 25);
  EXPECT_EQ(e.Frame.x0 + e.Frame.w0, right);
  EXPECT_EQ(e.Frame.y0 + e.Frame.h0, bottom);
  // Past the opposite edge the element stops one grid step wide (its own width, inside the
  // grab band: never inside out).
  Move(startX + 400, startY - 9);
  EXPECT_EQ(ElementWidth(tk, b), 5);
  EXPECT_EQ(e.Frame.x0 + e.Frame.w0, right);
  Release(startX + 400, startY - 9);

  // A body drag keeps the drawn frame on the grid.
  ResizeElement(tk, e, kIgnore, kIgnore, 100, kIgnore);
  Press(BodyX(e), BodyY(e));
  Move(BodyX(e) + 7, BodyY(e) + 11);
  EXPECT_EQ(SeenX(tk, b) % 5, 0);
  EXPECT_EQ(SeenY(tk, b) % 5, 0);
}

TEST_F(DesignTest, AreasNeedTheirFlags) {
  // Movable but not resizable: its border is body-less and arealess, its inside moves it.
  const int still = Selectable(10, 40, 40, 100, 30, false, true);
  Element& s = E(still);
  Press(s.Frame.x0, BodyY(s));
  EXPECT_EQ(tk.root.CurrentHitArea, HitAreaCode::None);
  Move(s.Frame.x0 - 20, BodyY(s));
  Release(s.Frame.x0 - 20, BodyY(s));
  EXPECT_EQ(s.ParentOffsetX(), 40);
  EXPECT_EQ(s.Frame.w0, 100);

  // Resizable but not movable: its body does not move, its borders resize.
  const int fixed = Selectable(11, 40, 200, 100, 30, true, false);
  Element& f = E(fixed);
  const int fx = f.Frame.x0;
  Press(BodyX(f), BodyY(f));
  EXPECT_EQ(tk.root.CurrentHitArea, HitAreaCode::None);
  EXPECT_EQ(tk.root.DesignedElement, fixed);  // still selected by the press
  Move(BodyX(f) + 30, BodyY(f) + 30);
  Release(BodyX(f) + 30, BodyY(f) + 30);
  EXPECT_EQ(f.Frame.x0, fx);
  Press(f.Frame.x0 + f.Frame.w0 - 1, BodyY(f));
  EXPECT_EQ(tk.root.CurrentHitArea, HitAreaCode::Right);
  Move(fx + 63, BodyY(f));
  EXPECT_EQ(f.Frame.w0, 61);
  Release(fx + 63, BodyY(f));

  // A captioned window moves by its caption only; its client area is no handle.
  ResizeElementById(tk, kForm, 100, 80, kIgnore, kIgnore, CoordMode::Parent);
  Element& form = E(kForm);
  const int wx = form.Frame.x0, wy = form.Frame.y0;
  Drag(BodyX(form), BodyY(form), BodyX(form) + 50, BodyY(form) + 50);
  EXPECT_EQ(form.Frame.x0, wx);
  Drag(wx + 60, wy + 12, wx + 60 + 22, wy + 12 + 31);
  EXPECT_EQ(SeenX(tk, kForm), 120);
  EXPECT_EQ(SeenY(tk, kForm), 110);
}

TEST_F(DesignTest, ExclusiveSelectionMovesTheHandles) {
  const int a = Selectable(10, 40, 40, 100, 30);
  const int b = Selectable(11, 40, 120, 100, 30);
  Click(BodyX(E(a)), BodyY(E(a)));
  RecordingPainter first = Record();
  EXPECT_EQ(Handles(first).size(), 8u);
  EXPECT_TRUE(HandleAt(first, E(a).Frame.x0, E(a).Frame.y0));
  EXPECT_TRUE(
      HandleAt(first, E(a).Frame.x0 + E(a).Frame.w0 - 6, E(a).Frame.y0 + E(a).Frame.h0 - 6));

  Click(BodyX(E(b)), BodyY(E(b)));
  EXPECT_FALSE(HasAll(E(a).Flags, Flag::Selected));
  EXPECT_TRUE(HasAll(E(b).Flags, Flag::Selected));
  EXPECT_EQ(tk.root.DesignedElement, b);
  RecordingPainter second = Record();
  EXPECT_EQ(Handles(second).size(), 8u);
  EXPECT_FALSE(HandleAt(second, E(a).Frame.x0, E(a).Frame.y0));
  EXPECT_TRUE(HandleAt(second, E(b).Frame.x0, E(b).Frame.y0));
  // The middle handles divide toward zero.
  EXPECT_TRUE(HandleAt(second, E(b).Frame.x0 + (E(b).Frame.w0 - 6) / 2, E(b).Frame.y0));
  // The selection frame lies on the drawn frame, inside the grab band.
  bool frame = false;
  for (const PaintCall& c : second.Of(PaintOp::Box))
    if (c.mode == platform::DrawMode::Outlined && c.color == 0 && c.x == E(b).Frame.x0 + 3 &&
        c.y == E(b).Frame.y0 + 3 && c.w == E(b).Frame.w0 - 6 && c.h == E(b).Frame.h0 - 6)
      frame = true;
  EXPECT_TRUE(frame);

  // A corner-grip element shows a 12 x 12 grip box instead of its top-left handle.
  E(b).CornerGrip = 1;
  RecordingPainter grip = Record();
  EXPECT_EQ(Handles(grip).size(), 7u);
  EXPECT_FALSE(HandleAt(grip, E(b).Frame.x0, E(b).Frame.y0));
}

TEST_F(DesignTest, SharedEdgesShowOneGuideSpanningTheSiblings) {
  const int a = Selectable(10, 40, 40, 100, 30);
  const int b = Selectable(11, 40, 120, 160, 30);  // same left edge
  const int c = Selectable(12, 300, 40, 80, 45);   // same top edge as a
  Selectable(13, 300, 200, 50, 20);                // shares no edge
  Click(BodyX(E(a)), BodyY(E(a)));
  RecordingPainter p = Record();
  const auto red = LinesIn(p, kRed);
  ASSERT_EQ(red.size(), 1u);
  const int left = E(a).Frame.x0 + 3;
  EXPECT_EQ(red[0].x, left);
  EXPECT_EQ(red[0].w, 1);
  EXPECT_EQ(red[0].y, E(a).Frame.y0 + 3);
  EXPECT_EQ(red[0].y + red[0].h, E(b).Frame.y0 + E(b).Frame.h0 - 3);
  const auto blue = LinesIn(p, kBlue);
  ASSERT_EQ(blue.size(), 1u);
  EXPECT_EQ(blue[0].y, E(a).Frame.y0 + 3);
  EXPECT_EQ(blue[0].x, left);
  EXPECT_EQ(blue[0].x + blue[0].w, E(c).Frame.x0 + E(c).Frame.w0 - 3);

  // On the canvas the red line also crosses the gap between the two siblings.
  Repaint(tk, 0, true);
  const int gapY = (E(a).Frame.y0 + E(a).Frame.h0 + E(b).Frame.y0) / 2;
  EXPECT_EQ(platform.CanvasPixel(left, gapY), 0xFF0000u);
  EXPECT_NE(platform.CanvasPixel(left - 2, gapY), 0xFF0000u);

  // An element in another parent does not align with them.
  E(b).ParentID = 0;
  EXPECT_TRUE(LinesIn(Record(), kRed).empty());
}

TEST_F(DesignTest, KeyboardNudgesAndWalksTheSelection) {
  const int box = Container(tk, 20, 20, 20, 200, 150);
  E(box).DesignSelectable = 1;
  SetElementFlags(tk, box, kResizable | kMovable);
  const int inner = Selectable(21, 20, 20, 80, 25);
  CloseList(tk);
  const int after = Selectable(22, 20, 250, 80, 25);

  Click(BodyX(E(inner)), BodyY(E(inner)));
  ASSERT_EQ(tk.root.DesignedElement, inner);
  const int x = E(inner).ParentOffsetX(), h = E(inner).Frame.h0;
  Key(platform::Key::Right, platform::Modifier::Control);
  EXPECT_EQ(E(inner).ParentOffsetX(), x + 5);
  Key(platform::Key::Down, platform::Modifier::Shift);
  EXPECT_EQ(E(inner).Frame.h0, h + 5);
  EXPECT_EQ(SeenY(tk, inner), 20);

  // Left without a previous sibling: the parent's next sibling.
  Key(platform::Key::Left);
  EXPECT_EQ(tk.root.DesignedElement, after);
  EXPECT_TRUE(HasAll(E(after).Flags, Flag::Selected));
  EXPECT_FALSE(HasAll(E(inner).Flags, Flag::Selected));
  // Up from there: its previous sibling, the container; Right: back into the container.
  Key(platform::Key::Up);
  EXPECT_EQ(tk.root.DesignedElement, box);
  Key(platform::Key::Down);
  EXPECT_EQ(tk.root.DesignedElement, after);
  FreeElement(tk, after);
  Key(platform::Key::Right);  // nothing selected any more that the key could act on
  Click(BodyX(E(inner)), BodyY(E(inner)));
  Key(platform::Key::Left);  // no previous sibling, no next one of the parent: the parent
  EXPECT_EQ(tk.root.DesignedElement, box);
  Key(platform::Key::Right);  // no next sibling: the first child
  EXPECT_EQ(tk.root.DesignedElement, inner);
}

TEST_F(DesignTest, ArrowKeysActOnTheDesignOnlyWhileTheKeyboardIsOnIt) {
  const int b = Selectable(10, 40, 40, 100, 30);
  const int other = Selectable(11, 40, 120, 100, 30);
  const int field = String(tk, 12, 200, 200, 150, 24, "typing here");
  Click(BodyX(E(b)), BodyY(E(b)));
  ASSERT_EQ(tk.root.DesignedElement, b);
  const int x = SeenX(tk, b), w = E(b).Frame.w0;

  // A String has the keyboard: its arrows move the caret, not the design selection.
  Click(BodyX(E(field)), BodyY(E(field)));
  ASSERT_EQ(tk.root.UsedElement, field);
  Key(platform::Key::Right, platform::Modifier::Control);
  Key(platform::Key::Right, platform::Modifier::Shift);
  Key(platform::Key::Down);
  EXPECT_EQ(SeenX(tk, b), x);
  EXPECT_EQ(E(b).Frame.w0, w);
  EXPECT_EQ(tk.root.DesignedElement, b);
  EXPECT_FALSE(HasAll(E(other).Flags, Flag::Selected));

  // The form window itself has the keyboard: the keys act on its selection again.
  Click(E(kForm).Frame.x0 + 300, E(kForm).Frame.y0 + 300);
  ASSERT_EQ(tk.root.UsedElement, kForm);
  ASSERT_EQ(tk.root.DesignedElement, b);
  Key(platform::Key::Right, platform::Modifier::Control);
  EXPECT_EQ(SeenX(tk, b), x + 5);
  Key(platform::Key::Down);
  EXPECT_EQ(tk.root.DesignedElement, other);
}

TEST_F(DesignTest, ShiftArrowsStopShrinkingAtOneGridStep) {
  const int b = Selectable(10, 40, 40, 17, 12);
  Click(BodyX(E(b)), BodyY(E(b)));
  ASSERT_EQ(tk.root.DesignedElement, b);
  for (int i = 0; i < 6; ++i) {
    Key(platform::Key::Left, platform::Modifier::Shift);
    Key(platform::Key::Up, platform::Modifier::Shift);
  }
  // Where a dragged border stops: one step of the element's own size (its frame less the
  // border drawn beyond the one asked for).
  EXPECT_EQ(ElementWidth(tk, b), 5);
  EXPECT_EQ(ElementHeight(tk, b), 5);
  Key(platform::Key::Right, platform::Modifier::Shift);
  EXPECT_EQ(ElementWidth(tk, b), 10);

  // An element already narrower than a step keeps its size.
  ResizeElement(tk, E(b), kIgnore, kIgnore, 3, kIgnore);
  Key(platform::Key::Left, platform::Modifier::Shift);
  EXPECT_EQ(E(b).Frame.w0, 3);
}

TEST_F(DesignTest, PointerShapesFollowTheAreasThroughTheCache) {
  const int b = Selectable(10, 100, 100, 120, 40);
  Element& e = E(b);
  const int x0 = e.Frame.x0, y0 = e.Frame.y0, x1 = x0 + e.Frame.w0 - 1, y1 = y0 + e.Frame.h0 - 1;
  const int midX = BodyX(e), midY = BodyY(e);
  Move(midX, midY);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);

  const int before = platform.cursorSets;
  Move(x1, midY);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::LeftRight);
  Move(x1 - 1, midY + 1);  // still the right edge: nothing sent
  EXPECT_EQ(platform.cursorSets, before + 1);
  Move(x1, y1);  // straight down into the corner
  EXPECT_EQ(platform.CurrentCursor(), Cursor::DiagonalNWSE);
  Move(midX, y1);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::UpDown);
  Move(x0, y1);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::DiagonalNESW);
  Move(x1, y0);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::DiagonalNESW);
  Move(x0, y0);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::DiagonalNWSE);
  Move(x0, midY);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::LeftRight);
  const int sets = platform.cursorSets;
  Move(midX, midY);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
  Move(midX + 3, midY + 1);
  EXPECT_EQ(platform.cursorSets, sets + 1);
  EXPECT_EQ(SetPointer(tk, HitAreaCode::None), Cursor::Default);
  EXPECT_EQ(platform.cursorSets, sets + 1);

  // Leaving the element restores the default pointer.
  Move(x1, midY);
  Move(x1 + 40, midY);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);

  // While the pointer is locked (a tool's own pointer showing) nothing changes it.
  tk.root.PointerLock = 1;
  const int locked = platform.cursorSets;
  Move(x1, midY);
  Move(x1, y1);
  EXPECT_EQ(platform.cursorSets, locked);
  tk.root.PointerLock = 0;

  // A corner-grip element shows the four-way arrows on its grip square only, and a press
  // outside the grip selects it without dragging.
  const int g = Selectable(11, 300, 100, 120, 40, false, true);
  Element& ge = E(g);
  ge.CornerGrip = 1;
  Move(ge.Frame.x0 + 4, ge.Frame.y0 + 4);
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Move);
  Move(BodyX(ge), BodyY(ge));
  EXPECT_EQ(platform.CurrentCursor(), Cursor::Default);
  const int gx = ge.Frame.x0;
  Drag(BodyX(ge), BodyY(ge), BodyX(ge) + 40, BodyY(ge));
  EXPECT_EQ(tk.root.DesignedElement, g);
  EXPECT_EQ(ge.Frame.x0, gx);
  Drag(ge.Frame.x0 + 4, ge.Frame.y0 + 4, ge.Frame.x0 + 44, ge.Frame.y0 + 4);
  EXPECT_EQ(ge.ParentOffsetX(), 300 + 40);
}

TEST_F(DesignTest, AGroupMovesAndResizesTogether) {
  const int a = Selectable(10, 40, 40, 100, 30);
  const int b = Selectable(11, 200, 100, 60, 30);
  const int c = Selectable(12, 40, 200, 100, 30);
  tk.root.MultiSelect = true;
  SelectElement(tk, a, true);
  SelectElement(tk, b, false);

  Drag(BodyX(E(a)), BodyY(E(a)), BodyX(E(a)) + 12, BodyY(E(a)) + 21);
  EXPECT_EQ(SeenX(tk, a), 50);
  EXPECT_EQ(SeenY(tk, a), 60);
  EXPECT_EQ(SeenX(tk, b), 210);
  EXPECT_EQ(SeenY(tk, b), 120);
  EXPECT_EQ(SeenX(tk, c), 40);
  EXPECT_TRUE(tk.root.MultiSelect);

  // The right edge of one widens every member by the same snapped way.
  const int wa = E(a).Frame.w0, wb = E(b).Frame.w0;
  const int edge = E(a).Frame.x0 + E(a).Frame.w0 - 1;
  Drag(edge, BodyY(E(a)), edge + 13, BodyY(E(a)));
  EXPECT_EQ(E(a).Frame.w0, wa + 10);
  EXPECT_EQ(E(b).Frame.w0, wb + 10);
  EXPECT_EQ(SeenX(tk, b), 210);

  // Both painted with handles, the unselected one without.
  RecordingPainter p = Record();
  EXPECT_EQ(Handles(p).size(), 16u);
  EXPECT_FALSE(HandleAt(p, E(c).Frame.x0, E(c).Frame.y0));

  // A window dragged by its caption meanwhile moves alone.
  const int fy = E(kForm).Frame.y0;
  const int ax = SeenX(tk, a), bx = SeenX(tk, b);
  const int capX = E(kForm).Frame.x0 + 60, capY = E(kForm).Frame.y0 + 12;
  Drag(capX, capY, capX + 40, capY + 40);
  EXPECT_GT(E(kForm).Frame.y0, fy);
  EXPECT_EQ(SeenX(tk, a), ax);
  EXPECT_EQ(SeenX(tk, b), bx);
  EXPECT_TRUE(tk.root.MultiSelect);

  // Pressing an unselected element ends the group and selects it alone.
  Click(BodyX(E(c)), BodyY(E(c)));
  EXPECT_FALSE(tk.root.MultiSelect);
  EXPECT_FALSE(HasAll(E(a).Flags, Flag::Selected));
  EXPECT_TRUE(HasAll(E(c).Flags, Flag::Selected));
  EXPECT_EQ(tk.root.DesignedElement, c);
}

}  // namespace
}  // namespace tk
