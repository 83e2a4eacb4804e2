// Coordinates: getters by mode, resizing, descendants following, clipping, the host window
// of the main window, and docking.
#include <utility>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

Flags64 Dock(unsigned bits) {
  return static_cast<Flags64>(bits) << 56;
}
constexpr unsigned kLeft = 0x0B, kTop = 0x07, kRight = 0x0E, kFill = 0x0F;

class CoordsTest : public testing::ToolkitTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(CreateElement(tk, ElementKind::Desktop, 0, 0, 0, 800, 600, "", 0, 0, 0,
                            MakeFlags(0x8000000, 0)),
              0);
  }
  int Window(int id, int x, int y, int w, int h, Flags64 flags = 0) {
    return CreateElement(tk, ElementKind::Window, id, x, y, w, h, "Win", -1, -1, -1, flags);
  }
  int Make(ElementKind kind, int id, int x, int y, int w, int h, Flags64 flags = 0) {
    return CreateElement(tk, kind, id, x, y, w, h, "g", 0, 0, 0, flags);
  }
  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }
};

TEST_F(CoordsTest, GettersReadTheBlockOfTheirMode) {
  const int win = Window(100, 49, 100, 400, 300);
  Element& w = E(win);
  ASSERT_EQ(w.FrameWidth, 1);
  EXPECT_EQ(w.Inner.x0, 50);
  EXPECT_EQ(w.Inner.y0, 128);
  EXPECT_EQ(w.Inner.h0, 271);
  EXPECT_EQ(w.Inner.w0, 398);

  const int b = Make(ElementKind::Button, 101, 10, 20, 80, 30);
  Element& button = E(b);
  EXPECT_EQ(button.Frame.x0, 60);
  EXPECT_EQ(button.InWindow.x0, 10);
  EXPECT_EQ(button.ParentOffsetX(), 10);
  EXPECT_EQ(ElementX(tk, b, CoordMode::Parent), 10);
  EXPECT_EQ(ElementX(tk, b, CoordMode::Frame), 60);
  EXPECT_EQ(ElementX(tk, b, CoordMode::Desktop), 60);
  EXPECT_EQ(ElementX(tk, b, CoordMode::InWindow), 10);
  EXPECT_EQ(ElementX(tk, b, CoordMode::Inner), 61);
  EXPECT_EQ(ElementX(tk, b, CoordMode::Default), 60);    // ordinary element: the frame
  EXPECT_EQ(ElementX(tk, win, CoordMode::Default), 50);  // list holder: the inner rectangle
  EXPECT_EQ(ElementY(tk, b, CoordMode::Frame), 148);
  EXPECT_EQ(ElementY(tk, b, CoordMode::InWindow), 20);
  EXPECT_EQ(ElementX(tk, b, 2), 0);  // no such mode

  EXPECT_EQ(ElementWidth(tk, b, CoordMode::Frame), 80);
  EXPECT_EQ(ElementWidth(tk, b, CoordMode::Inner), 78);
  EXPECT_EQ(ElementHeight(tk, b, CoordMode::Clip), 30);
  for (int mode : {CoordMode::Parent, CoordMode::Desktop, CoordMode::InWindow}) {
    EXPECT_EQ(ElementWidth(tk, b, mode), 0) << mode;
    EXPECT_EQ(ElementHeight(tk, b, mode), 0) << mode;
  }

  button.Hidden = 1;
  EXPECT_EQ(ElementX(tk, b, CoordMode::Frame), 0);
  EXPECT_EQ(ElementY(tk, b, CoordMode::Parent), 0);
  EXPECT_EQ(ElementWidth(tk, b, CoordMode::Frame), 0);
  EXPECT_EQ(ElementHeight(tk, b, CoordMode::Inner), 0);
  EXPECT_EQ(ElementX(tk, 4242, CoordMode::Frame), 0);
  EXPECT_EQ(ElementWidth(tk, 4242, CoordMode::Frame), 0);
}

TEST_F(CoordsTest, WidenedBorderIsCorrectedAndWritesBackUnchanged) {
  const int win = Window(100, 20, 30, 300, 200, Flag::SystemMenu | Flag::SizeGadget);
  Element& w = E(win);
  ASSERT_EQ(w.FrameWidth, 4);
  ASSERT_EQ(w.FrameWidthSet, 1);
  EXPECT_EQ(ElementX(tk, win, CoordMode::Frame), w.Frame.x0 + 3);
  EXPECT_EQ(ElementWidth(tk, win, CoordMode::Frame), w.Frame.w0 - 6);
  EXPECT_EQ(ElementWidth(tk, win, CoordMode::Inner), w.Inner.w0);

  const CoordBlock before = w.Frame;
  ResizeElementById(tk, win, ElementX(tk, win, CoordMode::Parent),
                    ElementY(tk, win, CoordMode::Parent), kIgnore, kIgnore);
  EXPECT_EQ(w.Frame.x0, before.x0);
  EXPECT_EQ(w.Frame.y0, before.y0);
}

TEST_F(CoordsTest, ResizingKeepsIgnoredValuesAndReportsChange) {
  Window(100, 49, 100, 400, 300);
  const int b = Make(ElementKind::Button, 101, 10, 20, 80, 30);
  Element& button = E(b);

  EXPECT_EQ(ResizeElementById(tk, b, kIgnore, kIgnore, 120, kIgnore), 1);
  EXPECT_EQ(button.Frame.x0, 60);
  EXPECT_EQ(button.Frame.w0, 120);
  EXPECT_EQ(button.Inner.w0, 118);
  EXPECT_EQ(button.Clip.w0, 120);
  EXPECT_EQ(button.Clip.w1, 118);
  EXPECT_EQ(button.Frame.h0, 30);
  EXPECT_EQ(ResizeElementById(tk, b, kIgnore, kIgnore, 120, kIgnore), 0);

  // Window-relative and desktop-relative placement.
  ResizeElementById(tk, b, 5, 6, kIgnore, kIgnore, CoordMode::InWindow);
  EXPECT_EQ(button.Frame.x0, 55);
  EXPECT_EQ(button.Frame.y0, 134);
  ResizeElementById(tk, b, 5, 6, kIgnore, kIgnore, CoordMode::Desktop);
  EXPECT_EQ(button.Frame.x0, 5);
  EXPECT_EQ(button.ParentOffsetX(), -45);
  ResizeElementById(tk, b, 300, 310, kIgnore, kIgnore, CoordMode::Absolute);
  EXPECT_EQ(button.Frame.x0, 300);
  EXPECT_EQ(button.InWindow.y0, 310 - 128);

  EXPECT_EQ(ResizeElementById(tk, 4242, 1, 2, 3, 4), 0);
}

TEST_F(CoordsTest, MovingAContainerMovesEveryDescendant) {
  const int win = Window(100, 0, 0, 500, 400);
  const int outer = Make(ElementKind::Container, 101, 20, 20, 300, 250);
  const int b1 = Make(ElementKind::Button, 102, 10, 10, 50, 20);
  const int inner = Make(ElementKind::Container, 103, 60, 60, 150, 100);
  const int b2 = Make(ElementKind::Button, 104, 5, 5, 40, 20);
  CloseList(tk);
  CloseList(tk);
  const int sibling = Make(ElementKind::Button, 105, 400, 10, 50, 20);
  ASSERT_EQ(E(b2).ParentID, inner);
  ASSERT_EQ(E(sibling).ParentID, win);

  struct Pos {
    int x, y, px, py;
  };
  auto pos = [&](int id) {
    const Element& e = E(id);
    return Pos{e.Frame.x0, e.Frame.y0, e.ParentOffsetX(), e.ParentOffsetY()};
  };
  const Pos b1Before = pos(b1), innerBefore = pos(inner), b2Before = pos(b2);
  const Pos sibBefore = pos(sibling);

  ResizeElementById(tk, outer, 50, 30, kIgnore, kIgnore);
  const std::vector<std::pair<int, Pos>> followers{
      {b1, b1Before}, {inner, innerBefore}, {b2, b2Before}};
  for (const auto& [id, before] : followers) {
    const Pos now = pos(id);
    EXPECT_EQ(now.x, before.x + 30) << id;
    EXPECT_EQ(now.y, before.y + 10) << id;
    EXPECT_EQ(now.px, before.px) << id;
    EXPECT_EQ(now.py, before.py) << id;
  }
  EXPECT_EQ(E(b2).InWindow.x0, E(b2).Frame.x0 - E(win).Inner.x0);
  EXPECT_EQ(pos(sibling).x, sibBefore.x);
  EXPECT_EQ(pos(sibling).y, sibBefore.y);
}

TEST_F(CoordsTest, ChildrenAreClippedToTheVisiblePartOfTheirParent) {
  Window(100, 0, 0, 500, 400);
  const int c = Make(ElementKind::Container, 101, 10, 10, 100, 80, Flag::Border);
  const Element& box = E(c);
  ASSERT_EQ(box.FrameWidth, 1);
  const int ix = box.Inner.x0, iy = box.Inner.y0;

  const int right = Make(ElementKind::Button, 102, 80, 10, 50, 20);
  const Element& r = E(right);
  EXPECT_EQ(r.Clip.x0, ix + 80);
  EXPECT_EQ(r.Clip.w0, 98 - 80);  // cut at the container's inner right edge
  EXPECT_EQ(r.Clip.x1, ix + 81);
  EXPECT_EQ(r.Clip.w1, 98 - 81);
  EXPECT_EQ(r.Clip.h0, 20);

  const int left = Make(ElementKind::Button, 103, -20, -5, 50, 20);
  const Element& l = E(left);
  EXPECT_EQ(l.Clip.x0, ix);
  EXPECT_EQ(l.Clip.w0, 30);
  EXPECT_EQ(l.Clip.y0, iy);
  EXPECT_EQ(l.Clip.h0, 15);

  const int away = Make(ElementKind::Button, 104, 200, 10, 50, 20);
  EXPECT_LE(E(away).Clip.w0, 0);

  // Shrinking the parent clips its children again.
  ResizeElementById(tk, c, kIgnore, kIgnore, 60, kIgnore);
  EXPECT_EQ(r.Clip.w0, 58 - 80);
  ResizeElementById(tk, c, kIgnore, kIgnore, 200, kIgnore);
  EXPECT_EQ(r.Clip.w0, 50);

  // Inside a window, the caption strip is not part of the visible area.
  CloseList(tk);
  const int top = Make(ElementKind::Button, 105, 0, -10, 50, 30);
  EXPECT_EQ(E(top).Clip.y0, E(100).Inner.y0);
  EXPECT_EQ(E(top).Clip.h0, 20);
}

TEST_F(CoordsTest, MainWindowMovesAndResizesTheHost) {
  ASSERT_TRUE(platform.OpenHost(0, 0, 640, 480));
  const int win = Window(100, 0, 0, 640, 480);
  tk.root.MainWindow = win;
  ResizeElementById(tk, win, 15, 25, 500, 350);
  const platform::Rect host = platform.HostRect();
  EXPECT_EQ(host.x, 15);
  EXPECT_EQ(host.y, 25);
  EXPECT_EQ(host.w, 500);
  EXPECT_EQ(host.h, 350);
  EXPECT_EQ(platform.CanvasWidth(), 500);
  EXPECT_EQ(platform.CanvasHeight(), 350);
  EXPECT_EQ(E(win).Frame.w0, 500);

  // Only the size: the host keeps its position.
  ResizeElementById(tk, win, kIgnore, kIgnore, 450, kIgnore);
  EXPECT_EQ(platform.HostRect().x, 15);
  EXPECT_EQ(platform.HostRect().w, 450);
  EXPECT_EQ(platform.HostRect().h, 350);
}

TEST_F(CoordsTest, OwnedScrollBarTakesItsLengthAsPage) {
  Window(100, 0, 0, 400, 300);
  const int v = CreateElement(tk, ElementKind::ScrollBar, 101, 0, 0, 17, 100, "", 0, 500, 100,
                              Flag::Vertical);
  const int h = CreateElement(tk, ElementKind::ScrollBar, 102, 0, 0, 100, 17, "", 0, 500, 100);
  const int free = CreateElement(tk, ElementKind::ScrollBar, 103, 0, 0, 100, 17, "", 0, 500, 10);
  E(v).SubLevel = 1;
  E(h).SubLevel = 1;
  ResizeElementById(tk, v, kIgnore, kIgnore, kIgnore, 150);
  ResizeElementById(tk, h, kIgnore, kIgnore, 120, kIgnore);
  ResizeElementById(tk, free, kIgnore, kIgnore, 120, kIgnore);
  EXPECT_EQ(E(v).PageLength, 150);
  EXPECT_EQ(E(h).PageLength, 120);
  EXPECT_EQ(E(free).PageLength, 10);
}

// Records the codes the core hands to the render layer in the element's Data.
void RecordDispatch(Toolkit& t, EventCode code, int id) {
  if (Element* e = FindElement(t, id)) e->Data |= code;
}
// Counts resize-hook calls in EventData.
void CountResized(Toolkit&, Element& e) {
  ++e.EventData;
}

TEST_F(CoordsTest, ResizeCallsKindHooksAndDispatchesMoveAndResize) {
  Window(100, 0, 0, 500, 400);
  const int c = Make(ElementKind::Container, 101, 10, 10, 200, 150);
  const int s = CreateElement(tk, ElementKind::Splitter, 102, 0, 0, 100, 100, "", -1, -1, 0, 0);
  tk.hooks.DispatchEvent = RecordDispatch;
  tk.Kind(ElementKind::Container).Resized = CountResized;
  tk.Kind(ElementKind::Splitter).Resized = CountResized;
  E(c).Data = 0;
  E(c).EventData = 0;
  E(s).EventData = 0;

  ResizeElementById(tk, c, 20, kIgnore, kIgnore, kIgnore);
  EXPECT_EQ(E(c).Data, ElementEvent::Move);
  EXPECT_EQ(E(c).EventData, 1);
  EXPECT_EQ(E(s).EventData, 1);  // the splitter inside re-divides

  E(c).Data = 0;
  ResizeElementById(tk, c, kIgnore, kIgnore, 250, kIgnore);
  EXPECT_EQ(E(c).Data, ElementEvent::Resize);

  E(c).Data = 0;
  EXPECT_EQ(ResizeElementById(tk, c, kIgnore, kIgnore, 250, kIgnore), 0);
  EXPECT_EQ(E(c).Data, 0);
}

TEST_F(CoordsTest, DockedChildrenShareTheParentsInnerArea) {
  Window(100, 0, 0, 500, 400);
  const int c = Make(ElementKind::Container, 101, 10, 10, 202, 102, Flag::Border);
  const int left = Make(ElementKind::Button, 102, 0, 0, 30, 10);
  const int top = Make(ElementKind::Button, 103, 0, 0, 10, 20);
  const int right = Make(ElementKind::Button, 104, 0, 0, 40, 10);
  const int fill = Make(ElementKind::Button, 105, 0, 0, 10, 10);
  const int loose = Make(ElementKind::Button, 106, 0, 0, 10, 10);
  DockElement(tk, left, Dock(kLeft));
  DockElement(tk, top, Dock(kTop));
  DockElement(tk, right, Dock(kRight));
  DockElement(tk, fill, Dock(kFill));
  DockElement(tk, loose, 0);

  const Element& box = E(c);
  const int ix = box.Inner.x0, iy = box.Inner.y0;  // inner area 200 x 100
  auto rect = [&](int id) {
    const Element& e = E(id);
    return std::vector<int>{e.Frame.x0 - ix, e.Frame.y0 - iy, e.Frame.w0, e.Frame.h0};
  };
  EXPECT_EQ(rect(left), (std::vector<int>{0, 0, 30, 100}));
  EXPECT_EQ(rect(top), (std::vector<int>{30, 0, 170, 20}));
  EXPECT_EQ(rect(right), (std::vector<int>{160, 20, 40, 80}));
  EXPECT_EQ(rect(fill), (std::vector<int>{30, 20, 130, 80}));
  EXPECT_EQ(E(left).Docked, 1);
  EXPECT_EQ(E(loose).Docked, 0);
  EXPECT_EQ(E(top).Clip.x2, 30);  // taken at the left after the top bar docked
  EXPECT_EQ(E(top).Clip.y2, 20);
  EXPECT_TRUE(HasAll(E(right).Flags, Dock(kRight)));

  // Growing the parent lays the docked children out again.
  ResizeElementById(tk, c, kIgnore, kIgnore, 302, kIgnore);
  EXPECT_EQ(rect(top), (std::vector<int>{30, 0, 270, 20}));
  EXPECT_EQ(rect(right), (std::vector<int>{260, 20, 40, 80}));
  EXPECT_EQ(rect(fill), (std::vector<int>{30, 20, 230, 80}));
}

// A parent that grows past what its own parent shows keeps its descendants' blocks as they
// are, still lays its docked children out for its new size, and clips the descendants again
// once what shows of it changes.
TEST_F(CoordsTest, GrowingPastTheVisiblePartKeepsDescendantsAndRedocks) {
  Window(100, 0, 0, 500, 400);
  const int c = Make(ElementKind::Container, 101, 10, 10, 202, 1002, Flag::Border);
  const int fill = Make(ElementKind::Button, 102, 0, 0, 10, 10);
  const int inner = Make(ElementKind::Container, 103, 20, 300, 100, 100, Flag::Border);
  const int deep = Make(ElementKind::Button, 104, 5, 5, 50, 20);
  CloseList(tk);
  DockElement(tk, fill, Dock(kLeft));
  ASSERT_LT(E(c).Clip.h0, E(c).Frame.h0);  // the window shows only its top
  const CoordBlock innerClip = E(inner).Clip, deepClip = E(deep).Clip;
  const CoordBlock deepFrame = E(deep).Frame;

  ResizeElementById(tk, c, kIgnore, kIgnore, kIgnore, 1202);
  EXPECT_EQ(E(fill).Frame.h0, E(c).Inner.h0);
  EXPECT_EQ(E(fill).Frame.h0, 1200);
  for (auto [now, before] : {std::pair{E(inner).Clip, innerClip},
                             {E(deep).Clip, deepClip},
                             {E(deep).Frame, deepFrame}}) {
    EXPECT_EQ(now.y0, before.y0);
    EXPECT_EQ(now.h0, before.h0);
    EXPECT_EQ(now.y1, before.y1);
    EXPECT_EQ(now.h1, before.h1);
  }

  // Shrunk to less than the window shows, the parent cuts the nested container off.
  ResizeElementById(tk, c, kIgnore, kIgnore, kIgnore, 352);
  EXPECT_EQ(E(fill).Frame.h0, 350);
  const Element& parent = E(c);
  EXPECT_EQ(E(inner).Clip.y0 + E(inner).Clip.h0, parent.Inner.y0 + parent.Inner.h0);
  EXPECT_EQ(E(deep).Frame.y0, deepFrame.y0);
  EXPECT_LE(E(deep).Clip.y0 + E(deep).Clip.h0, parent.Inner.y0 + parent.Inner.h0);
}

}  // namespace
}  // namespace tk
