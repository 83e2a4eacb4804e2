// The Window kind: creation (host, top level, flags, frame, centring), the caption layout,
// the caption look and the hot box of the caption buttons; and the toolkit preparation.
#include <algorithm>
#include <vector>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/paint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

using testing::PaintCall;
using testing::PaintOp;
using testing::RecordingPainter;

constexpr Flags64 kAllButtons = Flag::SystemMenu | Flag::MaximizeGadget | Flag::MinimizeGadget;
constexpr platform::PColor kCloseHot = 0x5353FF;

class WindowTest : public testing::ToolkitTest {
 protected:
  void SetUp() override { PrepareToolkit(tk); }

  // The first window opens the host; tests that need a plain window start from here.
  void OpenMain() { ASSERT_EQ(tk::Window(tk, 1, 0, 0, 700, 500, "Main", Flag::SystemMenu), 1); }
  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }
  std::vector<int> ItemKinds(int id) {
    std::vector<int> kinds;
    for (const auto& item : E(id).Items)
      kinds.push_back(KindValue(item->Kind));
    return kinds;
  }
  // Boxes drawn in the given colour.
  static std::vector<PaintCall> BoxesIn(const RecordingPainter& p, platform::PColor color) {
    std::vector<PaintCall> out;
    for (const PaintCall& c : p.Of(PaintOp::Box))
      if (c.color == color) out.push_back(c);
    return out;
  }
};

TEST_F(WindowTest, FirstWindowOpensTheHostAndLaterOnesAreTopLevel) {
  EXPECT_FALSE(platform.HostExists());
  ASSERT_EQ(tk::Window(tk, 1, 10, 20, 300, 200, "Main", 0), 1);
  EXPECT_TRUE(platform.HostExists());
  ASSERT_NE(FindElement(tk, 0), nullptr);
  EXPECT_EQ(E(0).Kind, ElementKind::Desktop);
  EXPECT_EQ(tk.root.MainWindow, 1);
  EXPECT_EQ(GetElementText(tk, 1), "Main");

  // A container left open inside the first window does not catch the next window.
  ASSERT_EQ(Container(tk, 5, 10, 10, 100, 100), 5);
  ASSERT_EQ(tk.root.OpenList, 5);
  ASSERT_EQ(tk::Window(tk, 2, 30, 30, 200, 100, "Second"), 2);
  EXPECT_EQ(E(2).ParentID, 0);
  EXPECT_EQ(E(2).Kind, ElementKind::Window);
  EXPECT_EQ(tk.root.OpenList, 2);
  EXPECT_EQ(tk.root.MainWindow, 1);

  // A parent that names no element is ignored; an existing one takes the window.
  ASSERT_EQ(tk::Window(tk, 3, 0, 0, 50, 50, "", 0, 4242), 3);
  EXPECT_EQ(E(3).ParentID, 0);
  ASSERT_EQ(tk::Window(tk, 4, 0, 0, 50, 50, "", 0, 1), 4);
  EXPECT_EQ(E(4).ParentID, 1);
  EXPECT_EQ(E(4).WindowID, 1);
}

TEST_F(WindowTest, FlagsChooseCaptionItemsAndGlyphs) {
  OpenMain();
  // No flags: a caption carrying the title and a close button only.
  ASSERT_EQ(tk::Window(tk, 2, 0, 0, 200, 100, "Plain", 0), 2);
  ASSERT_EQ(ItemKinds(2), (std::vector<int>{KindValue(ElementKind::Window), 0x20}));
  EXPECT_EQ(E(2).Items[0]->Text, "Plain");
  EXPECT_EQ(E(2).Items[1]->Image, BuiltinImage::CloseGlyph);
  EXPECT_EQ(E(2).CaptionHeight, tk.root.CaptionHeightDefault);

  // All buttons come in the order close, maximize, minimize with their glyphs.
  ASSERT_EQ(tk::Window(tk, 3, 0, 0, 200, 100, "All", kAllButtons), 3);
  ASSERT_EQ(ItemKinds(3), (std::vector<int>{KindValue(ElementKind::Window), 0x20, 0x80, 0x40}));
  Element& maximize = *E(3).Items[2];
  EXPECT_EQ(maximize.Image, BuiltinImage::MaximizeGlyph);
  EXPECT_EQ(maximize.Image2, BuiltinImage::RestoreGlyph);
  EXPECT_EQ(E(3).Items[3]->Image, BuiltinImage::MinimizeGlyph);
  // Maximizing swaps in the restore glyph; restoring swaps it back.
  SetElementState(tk, 3, 0x80);
  EXPECT_EQ(E(3).Items[2]->Image, BuiltinImage::RestoreGlyph);
  SetElementState(tk, 3, 0x80);
  EXPECT_EQ(E(3).Items[2]->Image, BuiltinImage::MaximizeGlyph);

  // Flags without any caption request give no caption at all.
  ASSERT_EQ(tk::Window(tk, 4, 0, 0, 200, 100, "Bare", Flag::Flat), 4);
  EXPECT_TRUE(E(4).Items.empty());
}

TEST_F(WindowTest, FrameWidthAndOuterSizeFollowTheFlags) {
  OpenMain();
  const int caption = tk.root.CaptionHeightDefault;
  struct Case {
    Flags64 flags;
    int frame;
  };
  const Case cases[] = {
      {Flag::SystemMenu, 0},
      {Flag::SystemMenu | Flag::Flat, 1},
      {Flag::SystemMenu | Flag::Raised, 2},
      {Flag::SystemMenu | Flag::Double, 2},
      {Flag::SystemMenu | Flag::Flat | Flag::Raised, 2},
      {Flag::SystemMenu | Flag::SizeGadget | Flag::Flat, 4},
      {Flag::SystemMenu | Flag::SizeGadget | Flag::Double, 4},
  };
  int id = 10;
  for (const Case& c : cases) {
    ASSERT_EQ(tk::Window(tk, id, 5, 5, 200, 100, "W", c.flags), id);
    const Element& w = E(id);
    SCOPED_TRACE(::testing::Message() << "flags 0x" << std::hex << c.flags);
    EXPECT_EQ(w.Frame.w0, 200 + 2 * c.frame + 2);
    EXPECT_EQ(w.Frame.h0, 100 + caption + 2 * c.frame + 2);
    // A frameless request still gets the one-pixel border every window keeps.
    EXPECT_EQ(w.FrameWidth, std::max(1, c.frame));
    ++id;
  }
}

TEST_F(WindowTest, CentringTruncatesTowardZero) {
  OpenMain();
  const int desktopW = ElementWidth(tk, 0);
  const int desktopH = ElementHeight(tk, 0);
  // Wider than the desktop by an odd amount: x is negative and truncated, not floored.
  const int wide = desktopW + 201;
  ASSERT_EQ(tk::Window(tk, 2, 7, 7, wide, 101, "", Flag::SystemMenu | Flag::ScreenCentered), 2);
  EXPECT_EQ(ElementX(tk, 2, CoordMode::Parent), -100);
  EXPECT_EQ(ElementY(tk, 2, CoordMode::Parent), (desktopH - 101) / 2);

  // Within a parent window: centred in the parent's client area.
  const int parentW = ElementWidth(tk, 1);
  const int parentH = ElementHeight(tk, 1);
  ASSERT_EQ(tk::Window(tk, 3, 7, 7, 101, 51, "", Flag::SystemMenu | Flag::WindowCentered, 1), 3);
  EXPECT_EQ(ElementX(tk, 3, CoordMode::Parent), (parentW - 101) / 2);
  EXPECT_EQ(ElementY(tk, 3, CoordMode::Parent), (parentH - 51) / 2);

  // Without a parent, WindowCentered keeps the requested position.
  ASSERT_EQ(tk::Window(tk, 4, 7, 9, 101, 51, "", Flag::SystemMenu | Flag::WindowCentered), 4);
  EXPECT_EQ(ElementX(tk, 4, CoordMode::Parent), 7);
  EXPECT_EQ(ElementY(tk, 4, CoordMode::Parent), 9);
}

TEST_F(WindowTest, CaptionButtonsArePackedFromTheRightEdge) {
  OpenMain();
  ASSERT_EQ(tk::Window(tk, 2, 10, 10, 300, 150, "Layout", kAllButtons), 2);
  Element& w = E(2);
  RecordingPainter painter;
  PaintWindowItems(tk, w, painter);

  const int W = w.Inner.w0;
  ASSERT_EQ(w.Items.size(), 4u);
  const int expectedX[] = {W - 36, W - 67, W - 98};
  for (int i = 1; i <= 3; ++i) {
    const Element& b = *w.Items[static_cast<size_t>(i)];
    SCOPED_TRACE(::testing::Message() << "button " << i);
    EXPECT_EQ(b.Frame.x0, expectedX[i - 1]);
    EXPECT_EQ(b.Frame.y0, -1);
    EXPECT_EQ(b.Frame.w0, 32);
    EXPECT_EQ(b.Frame.h0, 18);
    EXPECT_EQ(b.FrameWidth, 0);
    EXPECT_TRUE(HasAll(b.Flags, 0xC0000));
    EXPECT_EQ(b.BackgroundMode, Background::None);
  }
  EXPECT_EQ(w.RunX, W - 98);

  const Element& caption = *w.Items[0];
  EXPECT_EQ(caption.Frame.y0, -1);
  EXPECT_EQ(caption.Frame.w0, W);
  EXPECT_EQ(caption.FrameWidth, 0);
  EXPECT_EQ(caption.CaptionHeight, w.CaptionHeight);
  EXPECT_EQ(caption.BackColor, w.BackColor);
  EXPECT_EQ(caption.FrontColor, w.FrontColor);

  // The layout follows the window's width on the next pass.
  ResizeElementById(tk, 2, kIgnore, kIgnore, w.Frame.w0 + 40, kIgnore);
  PaintWindowItems(tk, w, painter);
  EXPECT_EQ(w.Items[1]->Frame.x0, w.Inner.w0 - 36);
  EXPECT_EQ(w.RunX, w.Inner.w0 - 98);

  // The drawing pipeline reaches the same layout through the Window kind's hooks, and the
  // buttons show their glyphs.
  for (auto& item : w.Items)
    item->Frame.x0 = 0;
  RecordingPainter pipeline;
  PaintItems(tk, pipeline, w);
  EXPECT_EQ(w.Items[3]->Frame.x0, w.Inner.w0 - 98);
  std::vector<int> glyphs;
  for (const PaintCall& c : pipeline.Of(PaintOp::DrawImage))
    glyphs.push_back(c.image);
  EXPECT_EQ(glyphs, (std::vector<int>{BuiltinImage::CloseGlyph, BuiltinImage::MaximizeGlyph,
                                      BuiltinImage::MinimizeGlyph}));
}

TEST_F(WindowTest, CaptionLookFollowsActivationAndDisabling) {
  OpenMain();
  ASSERT_EQ(tk::Window(tk, 2, 10, 10, 300, 150, "A", kAllButtons), 2);
  ASSERT_EQ(tk::Window(tk, 3, 40, 40, 300, 150, "B", kAllButtons), 3);
  RecordingPainter painter;
  auto look = [&](int id) {
    PaintWindowItems(tk, E(id), painter);
    return E(id).Items[0]->RepaintFlags;
  };

  tk.root.ActiveWindow = 3;
  tk.root.DesignedElement = -1;
  EXPECT_EQ(look(3), 2);
  EXPECT_EQ(look(2), 1);
  // The designed window shows the active look too.
  tk.root.DesignedElement = 2;
  EXPECT_EQ(look(2), 2);
  // Disabled: never the active look, whether active or designed.
  DisableElement(tk, 2, 1);
  DisableElement(tk, 3, 1);
  EXPECT_EQ(look(2), 1);
  EXPECT_EQ(look(3), 1);
  // Every pass recomputes it.
  DisableElement(tk, 3, 0);
  EXPECT_EQ(look(3), 2);
}

TEST_F(WindowTest, HotBoxUsesThePreviousPassAndSkipsDisabledButtons) {
  OpenMain();
  ASSERT_EQ(tk::Window(tk, 2, 10, 10, 300, 150, "Hot", kAllButtons), 2);
  Element& w = E(2);
  const int ox = w.Inner.x0;
  const int oy = w.Frame.y0 + w.FrameWidth;
  const int W = w.Inner.w0;

  // Nothing is hot right after creation, so the first pass draws no highlight.
  EXPECT_EQ(w.HotItem, -1);
  RecordingPainter first;
  PaintWindowItems(tk, w, first);
  EXPECT_TRUE(BoxesIn(first, kCloseHot).empty());

  // The close button: red, one pixel inside the button, in plain mode.
  w.HotItem = 1;
  RecordingPainter close;
  PaintWindowItems(tk, w, close);
  std::vector<PaintCall> red = BoxesIn(close, kCloseHot);
  ASSERT_EQ(red.size(), 1u);
  EXPECT_EQ(red[0].x, ox + W - 36 + 1);
  EXPECT_EQ(red[0].y, oy);
  EXPECT_EQ(red[0].w, 30);
  EXPECT_EQ(red[0].h, 16);
  EXPECT_EQ(red[0].mode, platform::DrawMode::Default);

  // Maximize uses its own hot back colour.
  w.HotItem = 2;
  RecordingPainter maximize;
  PaintWindowItems(tk, w, maximize);
  EXPECT_TRUE(BoxesIn(maximize, kCloseHot).empty());
  bool found = false;
  for (const PaintCall& c : BoxesIn(maximize, w.Items[2]->HotBackColor)) {
    found = found || (c.x == ox + W - 67 + 1 && c.y == oy && c.w == 30 && c.h == 16);
  }
  EXPECT_TRUE(found);

  // After a widening, the box still sits where the button was drawn last time.
  ResizeElementById(tk, 2, kIgnore, kIgnore, w.Frame.w0 + 50, kIgnore);
  ASSERT_EQ(w.Inner.w0, W + 50);
  w.HotItem = 1;
  RecordingPainter moved;
  PaintWindowItems(tk, w, moved);
  red = BoxesIn(moved, kCloseHot);
  ASSERT_EQ(red.size(), 1u);
  EXPECT_EQ(red[0].x, w.Inner.x0 + W - 36 + 1);
  EXPECT_EQ(w.Items[1]->Frame.x0, W + 50 - 36);

  // A disabled button never lights up.
  w.Items[1]->Disabled = 1;
  RecordingPainter disabled;
  PaintWindowItems(tk, w, disabled);
  EXPECT_TRUE(BoxesIn(disabled, kCloseHot).empty());
}

TEST_F(WindowTest, PreparedToolkitHasRenderHooksAndGlyphs) {
  EXPECT_NE(tk.hooks.DispatchEvent, nullptr);
  EXPECT_NE(tk.Kind(ElementKind::Window).PaintItems, nullptr);
  EXPECT_TRUE(platform.Images().IsImage(BuiltinImage::CloseGlyph));
  EXPECT_TRUE(platform.Images().IsImage(BuiltinImage::MinimizeGlyph));
  EXPECT_NE(tk.builtins.CloseGlyph, -1);

  // A second toolkit on a fresh platform starts without a host or windows.
  platform::HeadlessPlatform other(640, 480);
  Toolkit second(other);
  PrepareToolkit(second);
  EXPECT_TRUE(second.root.Elements.empty());
  EXPECT_FALSE(other.HostExists());
}

}  // namespace
}  // namespace tk
