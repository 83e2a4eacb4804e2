// The drawing pipeline: repaint permission, clipping to the parent, overhang guide lines, text
// cutting beside images, state looks, image opacity, frame styles, strips and item layouts,
// painting order and the tooltip; checked on canvas pixels and with the recording painter.
#include "render/paint.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "render/repaint.h"
#include "tests/support/recording_painter.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

using platform::DrawMode;
using testing::PaintCall;
using testing::PaintOp;
using testing::RecordingPainter;

constexpr int kCharWidth = 7;  // the recording painter's text metric

// Canvas pixels read as 0xRRGGBB; element colours are 0xBBGGRR.
constexpr uint32_t Rgb(Color bgr) {
  return static_cast<uint32_t>(((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF));
}
int Red(uint32_t rgb) {
  return static_cast<int>((rgb >> 16) & 0xFF);
}
int Green(uint32_t rgb) {
  return static_cast<int>((rgb >> 8) & 0xFF);
}
int Blue(uint32_t rgb) {
  return static_cast<int>(rgb & 0xFF);
}

class PaintTest : public testing::ToolkitTest {
 protected:
  // A main window filling the 800 x 600 canvas: frame width 1, inner (1, 28, 798, 571).
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, 1, 0, 0, 800, 600, "Main", Flag::SystemMenu), 1);
  }

  Element& E(int id) {
    Element* e = FindElement(tk, id);
    EXPECT_NE(e, nullptr) << "no element " << id;
    return *e;
  }
  uint32_t Px(int x, int y) const { return platform.CanvasPixel(x, y); }
  void Paint() { Repaint(tk, 0, true); }
  // An opaque 16 x 16 image in one colour.
  int SolidImage(Color bgr) {
    return platform.Images().Create(platform::ImageStore::kAny, 16, 16, 24, bgr);
  }

  static std::vector<PaintCall> Calls(const RecordingPainter& p, PaintOp op, Color color) {
    std::vector<PaintCall> out;
    for (const PaintCall& c : p.Of(op))
      if (c.color == color) out.push_back(c);
    return out;
  }
  static std::vector<PaintCall> TextsOf(const RecordingPainter& p, const std::string& text) {
    std::vector<PaintCall> out;
    for (const PaintCall& c : p.Texts())
      if (c.text == text) out.push_back(c);
    return out;
  }
  static bool HasRect(const std::vector<PaintCall>& calls, int x, int y, int w, int h) {
    for (const PaintCall& c : calls)
      if (c.x == x && c.y == y && c.w == w && c.h == h) return true;
    return false;
  }
  // The gradient colours the painter was given, in order.
  static std::vector<std::pair<Color, Color>> Gradients(const RecordingPainter& p) {
    std::vector<std::pair<Color, Color>> out;
    for (const PaintCall& c : p.Of(PaintOp::SetGradientColors))
      out.push_back({c.back, c.color});
    return out;
  }
  // The first call of a kind, or a marker call (text "<none>", opacity -1) when there is none.
  static PaintCall First(const RecordingPainter& p, PaintOp op) {
    const std::vector<PaintCall> all = p.Of(op);
    if (!all.empty()) return all.front();
    PaintCall none;
    none.text = "<none>";
    none.opacity = -1;
    return none;
  }
  static PaintCall FirstText(const RecordingPainter& p, const std::string& text) {
    const std::vector<PaintCall> all = TextsOf(p, text);
    if (!all.empty()) return all.front();
    PaintCall none;
    none.text = "<none>";
    return none;
  }
  static std::pair<Color, Color> FirstGradient(const RecordingPainter& p) {
    const auto all = Gradients(p);
    return all.empty() ? std::pair<Color, Color>{-2, -2} : all.front();
  }
};

TEST_F(PaintTest, RepaintWaitsForTheFirstPaintAndThenRedrawsEverything) {
  const int presents = platform.PresentCount();
  EXPECT_EQ(Repaint(tk, 1, false), 0);
  EXPECT_EQ(platform.PresentCount(), presents) << "nothing is painted before the first paint";
  EXPECT_EQ(E(1).Painted, 0);

  Repaint(tk, 1, true);
  EXPECT_EQ(platform.PresentCount(), presents + 1);
  for (const auto& e : tk.root.Elements)
    EXPECT_EQ(e->Painted, 1) << e->ID;

  // An element created afterwards does not trigger repaints until it has been painted.
  ASSERT_EQ(tk::Button(tk, 50, 10, 10, 80, 24, "Late"), 50);
  EXPECT_EQ(E(50).Painted, 0);
  Repaint(tk, 50, false);
  EXPECT_EQ(platform.PresentCount(), presents + 1);
  Repaint(tk, 1, false);
  EXPECT_EQ(platform.PresentCount(), presents + 2);
  EXPECT_EQ(E(50).Painted, 1);
  Repaint(tk, 50, false);
  EXPECT_EQ(platform.PresentCount(), presents + 3);

  // An id that names nothing is refused quietly.
  EXPECT_EQ(Repaint(tk, 4242, true), 0);
  EXPECT_EQ(platform.PresentCount(), presents + 3);
}

TEST_F(PaintTest, ChildrenAreClippedToTheirParentsUsableArea) {
  // C: frame (51, 78) 100 x 80 with a 1-pixel border; D inside it is far larger.
  ASSERT_EQ(tk::Container(tk, 10, 50, 50, 100, 80, 0, 1), 10);
  ASSERT_EQ(tk::Container(tk, 11, -20, -20, 300, 300, 0, 10), 11);
  E(11).BackColor = 0xFF0000;  // blue
  // P sticks out of the main window on the right; Q inside P is wider than P.
  ASSERT_EQ(tk::Container(tk, 12, 700, 100, 200, 100, 0, 1), 12);
  ASSERT_EQ(tk::Container(tk, 13, 0, 0, 300, 50, 0, 12), 13);
  E(13).BackColor = 0x00FF00;  // green
  Paint();

  const CoordBlock& d = E(11).Clip;
  EXPECT_EQ(d.x0, 52);
  EXPECT_EQ(d.y0, 79);
  EXPECT_EQ(d.w0, 98);
  EXPECT_EQ(d.h0, 78);
  EXPECT_EQ(Px(52, 79), 0x0000FFu);
  EXPECT_EQ(Px(149, 156), 0x0000FFu);
  // Nothing of D outside C, and C's border is not painted over.
  EXPECT_NE(Px(40, 70), 0x0000FFu);
  EXPECT_NE(Px(200, 200), 0x0000FFu);
  EXPECT_NE(Px(100, 160), 0x0000FFu);
  const uint32_t border = Rgb(E(10).FrameColor);
  EXPECT_EQ(Px(51, 100), border);
  EXPECT_EQ(Px(100, 78), border);
  EXPECT_EQ(Px(150, 100), border);
  EXPECT_EQ(Px(100, 157), border);

  // P is cut at the main window's usable edge (x 799); its right border is gone, so Q runs
  // up to that same edge instead of stopping one border width short of it.
  const CoordBlock& p = E(12).Clip;
  EXPECT_EQ(p.x0, 701);
  EXPECT_EQ(p.w0, 98);
  const CoordBlock& q = E(13).Clip;
  EXPECT_EQ(q.x0, 702);
  EXPECT_EQ(q.y0, 129);
  EXPECT_EQ(q.x0 + q.w0, p.x0 + p.w0);
  EXPECT_EQ(q.h0, 50);
  EXPECT_EQ(Px(798, 150), 0x00FF00u);
  EXPECT_NE(Px(799, 150), 0x00FF00u);
  EXPECT_EQ(Px(701, 150), Rgb(E(12).FrameColor)) << "P's left border stays";
}

TEST_F(PaintTest, EdgesStickingOutOfTheContainerGetRedGuideLines) {
  // B: frame (101, 128) 200 x 150, usable x 102..299. W's frame (252, 149) is 102 wide and
  // ends at 353, beyond B; its other edges lie inside.
  ASSERT_EQ(tk::Container(tk, 20, 100, 100, 200, 150, 0, 1), 20);
  ASSERT_EQ(tk::Window(tk, 21, 150, 20, 100, 80, "Inner", Flag::SystemMenu, 20), 21);
  Paint();

  const Element& w = E(21);
  ASSERT_EQ(w.Frame.x0, 252);
  ASSERT_EQ(w.Frame.w0, 102);
  EXPECT_EQ(w.Clip.w0, 300 - 252);
  const uint32_t red = 0xFF0000;
  const int rightLine = w.Frame.x0 + w.Frame.w0 - 1;
  for (int y : {w.Frame.y0, w.Frame.y0 + 50, w.Frame.y0 + w.Frame.h0 - 2})
    EXPECT_EQ(Px(rightLine, y), red) << "y " << y;
  EXPECT_NE(Px(rightLine, w.Frame.y0 + w.Frame.h0 - 1), red) << "the line is h - 1 high";
  // Edges inside the container are not marked, and the hidden part itself is not painted.
  EXPECT_NE(Px(w.Frame.x0, w.Frame.y0 + 50), red);
  EXPECT_NE(Px(w.Frame.x0 + 50, w.Frame.y0), red);
  EXPECT_NE(Px(w.Frame.x0 + 50, w.Frame.y0 + w.Frame.h0 - 1), red);
  EXPECT_EQ(Px(320, w.Frame.y0 + 50), Rgb(E(1).BackColor));

  // An element wholly inside its parent gets no guide lines at all.
  ASSERT_EQ(tk::Button(tk, 22, 10, 10, 60, 24, "", 0, 1), 22);
  RecordingPainter rec;
  PaintAll(tk, rec);
  int guides = 0;
  for (const PaintCall& c : Calls(rec, PaintOp::Line, 0x0000FF)) {
    EXPECT_EQ(c.mode, DrawMode::Outlined);
    EXPECT_EQ(c.x, rightLine);
    ++guides;
  }
  EXPECT_EQ(guides, 1);
}

TEST_F(PaintTest, LongTextEndsInAnEllipsisThatNeverReachesTheImage) {
  const int image = SolidImage(0x0000FF);
  ASSERT_EQ(CreateElement(tk, ElementKind::Button, 30, 10, 10, 120, 24,
                          "A caption far too long for it", image, -1, -1, 0),
            30);
  Element& b = E(30);
  const int x = b.Frame.x0, w = b.Frame.w0;
  RecordingPainter rec;
  PaintElement(tk, rec, b, b);

  // Image on the left: the room is w - 16 - 2 = 102 pixels from x + 17, so 11 letters and
  // "..." (98 pixels) fit and one letter more would not.
  ASSERT_EQ(rec.Count(PaintOp::DrawImage), 1);
  const PaintCall img = First(rec, PaintOp::DrawImage);
  EXPECT_EQ(img.x, x + 1);
  ASSERT_EQ(rec.Texts().size(), 1u);
  PaintCall text = First(rec, PaintOp::Text);
  EXPECT_EQ(text.text, "A caption f...");
  EXPECT_GE(text.x, img.x + 16);
  EXPECT_LE(text.x + kCharWidth * static_cast<int>(text.text.size()), x + w - 1);

  // Image on the right: the text ends before the image starts.
  b.Flags |= 0x10000;
  rec.Clear();
  PaintElement(tk, rec, b, b);
  const PaintCall right = First(rec, PaintOp::DrawImage);
  EXPECT_EQ(right.x, x + w - 1 - 16);
  text = First(rec, PaintOp::Text);
  EXPECT_EQ(text.text, "A caption f...");
  EXPECT_GE(text.x, x + 1);
  EXPECT_LE(text.x + kCharWidth * static_cast<int>(text.text.size()), right.x);

  // A changed text is fitted again rather than taken from the last frame.
  b.Text = "Short";
  rec.Clear();
  PaintElement(tk, rec, b, b);
  EXPECT_EQ(First(rec, PaintOp::Text).text, "Short");
  b.Text = "Another caption too long";
  rec.Clear();
  PaintElement(tk, rec, b, b);
  EXPECT_EQ(First(rec, PaintOp::Text).text, "Another cap...");
  // A room too small even for "..." shows nothing rather than spilling into the image.
  b.Frame.w0 = 36;
  rec.Clear();
  PaintElement(tk, rec, b, b);
  EXPECT_EQ(rec.Count(PaintOp::Text), 0);
}

TEST_F(PaintTest, DisabledElementsShowTheirImageAtHalfOpacity) {
  const int image = SolidImage(0x0000FF);  // red
  ASSERT_EQ(CreateElement(tk, ElementKind::ButtonImage, 31, 10, 10, 60, 40, "", image, -1, -1, 0),
            31);
  ASSERT_EQ(CreateElement(tk, ElementKind::ButtonImage, 32, 100, 10, 60, 40, "", image, -1, -1, 0),
            32);
  DisableElement(tk, 32, 1);
  Paint();

  // The image sits at (x + 1, y + 1); its middle is 9 pixels in.
  const Element& on = E(31);
  EXPECT_EQ(Px(on.Frame.x0 + 9, on.Frame.y0 + 9), 0xFF0000u);
  const Element& off = E(32);
  const int y = off.Frame.y0 + 9;
  const uint32_t back = Px(off.Frame.x0 + 40, y);
  const uint32_t blended = Px(off.Frame.x0 + 9, y);
  auto mix = [](int image, int background) { return (image * 128 + background * 127) / 255; };
  EXPECT_NEAR(Red(blended), mix(255, Red(back)), 2);
  EXPECT_NEAR(Green(blended), mix(0, Green(back)), 2);
  EXPECT_NEAR(Blue(blended), mix(0, Blue(back)), 2);

  RecordingPainter rec;
  PaintElement(tk, rec, E(32), E(32));
  ASSERT_EQ(rec.Count(PaintOp::DrawImage), 1);
  EXPECT_EQ(First(rec, PaintOp::DrawImage).opacity, 128);
  EXPECT_EQ(First(rec, PaintOp::DrawImage).mode, DrawMode::AlphaBlend);
  rec.Clear();
  PaintElement(tk, rec, E(31), E(31));
  EXPECT_EQ(First(rec, PaintOp::DrawImage).opacity, 255);
}

TEST_F(PaintTest, StateLooksGradientsAndTheFocusFrame) {
  // A plain button: vertical gradient from the top back colour to the bottom one, one pixel
  // above the frame to its bottom.
  ASSERT_EQ(tk::Button(tk, 40, 10, 100, 100, 30, "", 0, 1), 40);
  Element& b = E(40);
  RecordingPainter rec;
  PaintElement(tk, rec, b, b);
  ASSERT_EQ(Gradients(rec).size(), 1u);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0xF0F0F0, 0xE5E5E5}));
  std::vector<PaintCall> fills;
  for (const PaintCall& c : rec.Of(PaintOp::Box))
    if (c.mode == DrawMode::Gradient) fills.push_back(c);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_TRUE(HasRect(fills, b.Frame.x0, b.Frame.y0 - 1, 100, 31));

  // Hot is light blue, pressed a deeper blue; the first set state bit wins.
  b.RepaintFlags = StateBit::Hot;
  rec.Clear();
  PaintElement(tk, rec, b, b);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0xFCF4EC, 0xFCECDC}));
  EXPECT_EQ(Calls(rec, PaintOp::Box, 0xEAB47E).size(), 1u) << "hot frame colour";
  b.RepaintFlags = StateBit::Pressed;
  rec.Clear();
  PaintElement(tk, rec, b, b);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0xFCECDA, 0xFCE0C4}));
  b.RepaintFlags = StateBit::Normal | StateBit::Hot;
  rec.Clear();
  PaintElement(tk, rec, b, b);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0xF0F0F0, 0xE5E5E5}));

  // A caption close button goes red instead (with a background mode that paints one); the
  // window's painter places it during a paint.
  Paint();
  Element& close = *E(1).Items[1];
  ASSERT_EQ(close.Image, BuiltinImage::CloseGlyph);
  close.BackgroundMode = Background::Gradient;
  close.RepaintFlags = StateBit::Hot;
  rec.Clear();
  PaintElement(tk, rec, E(1), close, E(1).Inner.x0, E(1).Frame.y0 + 1);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0xB4C2FF, 0x0533FF}));
  close.RepaintFlags = StateBit::Pressed;
  rec.Clear();
  PaintElement(tk, rec, E(1), close, E(1).Inner.x0, E(1).Frame.y0 + 1);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0xB4C2FF, 0x193EEC}));
  close.BackgroundMode = Background::None;
  close.RepaintFlags = StateBit::Normal;

  // A back colour of its own turns the state looks off; the focus frame shows regardless.
  b.RepaintFlags = StateBit::Hot | StateBit::Focused;
  b.BackColor = 0x123456;
  rec.Clear();
  PaintElement(tk, rec, b, b);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0x123456, 0x123456}));
  EXPECT_EQ(Calls(rec, PaintOp::Box, 0xDD8C26).size(), 1u);
  b.BackColor = kNoColor;

  // On the canvas: a hot button is light blue, its focus frame blue, and the caption close
  // button under the pointer red.
  ASSERT_EQ(tk::Button(tk, 41, 200, 100, 100, 30, "", 0, 1), 41);
  E(41).RepaintFlags = StateBit::Normal | StateBit::Focused;
  b.RepaintFlags = StateBit::Hot;
  E(1).HotItem = 1;
  Paint();
  Repaint(tk, 1, false);  // the hot box uses the button's place from the previous pass
  const uint32_t hot = Px(b.Frame.x0 + 5, b.Frame.y0 + 15);
  EXPECT_NEAR(Red(hot), 228, 6);
  EXPECT_NEAR(Green(hot), 240, 5);
  EXPECT_NEAR(Blue(hot), 252, 2);
  EXPECT_EQ(Px(E(41).Frame.x0, E(41).Frame.y0 + 15), Rgb(0xDD8C26));
  const uint32_t top = Px(E(41).Frame.x0 + 5, E(41).Frame.y0 + 1);
  const uint32_t bottom = Px(E(41).Frame.x0 + 5, E(41).Frame.y0 + 28);
  EXPECT_GE(Red(top), 0xEE);
  EXPECT_LE(Red(bottom), 0xE7);
  EXPECT_GT(Red(top), Red(bottom));
  const int closeX = E(1).Inner.x0 + E(1).Inner.w0 - 36;
  EXPECT_EQ(Px(closeX + 5, 9), 0xFF5353u);
}

TEST_F(PaintTest, CaptionItemsLookActiveAndBrightenTheirImageWhenHot) {
  Paint();  // the window's painter lays its caption out
  Element& window = E(1);
  Element& caption = *window.Items[0];
  caption.Image = SolidImage(0x00FF00);
  caption.BackColor = kNoColor;
  caption.BackgroundMode = Background::Gradient;
  const int ox = window.Inner.x0, oy = window.Frame.y0 + window.FrameWidth;

  caption.RepaintFlags = 2;  // the active look
  RecordingPainter rec;
  PaintElement(tk, rec, window, caption, ox, oy);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0xFCF4EC, 0xFCECDC}));
  EXPECT_EQ(First(rec, PaintOp::DrawImage).opacity, 255);

  caption.RepaintFlags = StateBit::Normal;
  rec.Clear();
  PaintElement(tk, rec, window, caption, ox, oy);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0xF0F0F0, 0xE5E5E5}));
  EXPECT_EQ(First(rec, PaintOp::DrawImage).opacity, 190);

  // The same record outside a captioned window keeps its image opaque; a disabled window
  // shows its caption in the disabled look at half opacity.
  ASSERT_EQ(tk::Button(tk, 42, 10, 10, 80, 24, "", 0, 1), 42);
  rec.Clear();
  PaintElement(tk, rec, E(42), caption, E(42).Frame.x0, E(42).Frame.y0);
  EXPECT_EQ(First(rec, PaintOp::DrawImage).opacity, 255);
  window.Disabled = 1;
  rec.Clear();
  PaintElement(tk, rec, window, caption, ox, oy);
  EXPECT_EQ(FirstGradient(rec), (std::pair<Color, Color>{0xF1F1F1, 0xF0F0F0}));
  EXPECT_EQ(First(rec, PaintOp::DrawImage).opacity, 128);
  ASSERT_FALSE(caption.Text.empty());
  EXPECT_EQ(First(rec, PaintOp::Text).color, 0x898989) << "halfway between 0x222222 and 0xF0F0F0";
  window.Disabled = 0;

  // The window draws its title only through the caption item.
  rec.Clear();
  PaintAll(tk, rec);
  EXPECT_EQ(TextsOf(rec, "Main").size(), 1u);
}

TEST_F(PaintTest, FrameStylesAndDebugOutlines) {
  ASSERT_EQ(tk::Container(tk, 60, 10, 10, 100, 50, Flag::Double, 1), 60);
  Element& c = E(60);
  const int x = c.Frame.x0, y = c.Frame.y0;
  RecordingPainter rec;
  PaintElement(tk, rec, c, c);
  const std::vector<PaintCall> lines = rec.Of(PaintOp::Line);
  ASSERT_EQ(lines.size(), 8u);
  auto has = [&](int lx, int ly, int lw, int lh, Color color) {
    for (const PaintCall& l : lines)
      if (l.x == lx && l.y == ly && l.w == lw && l.h == lh && l.color == color) return true;
    return false;
  };
  EXPECT_TRUE(has(x, y, 100, 1, 0x9E9E9E));
  EXPECT_TRUE(has(x, y, 1, 50, 0x9E9E9E));
  EXPECT_TRUE(has(x + 1, y + 1, 98, 1, 0x888888));
  EXPECT_TRUE(has(x + 1, y + 48, 98, 1, 0xE1E1E1));
  EXPECT_TRUE(has(x + 98, y + 1, 1, 48, 0xE1E1E1));
  EXPECT_TRUE(has(x, y + 49, 100, 1, 0xFFFFFF));
  EXPECT_TRUE(has(x + 99, y, 1, 50, 0xFFFFFF));

  // Flat: one box on the element's own edge, inside its clip so it shows. A plain border
  // shrinks by FrameWidth - 1 (4 with a size gadget).
  c.Flags = (c.Flags & ~Flag::Double) | Flag::Flat;
  rec.Clear();
  PaintElement(tk, rec, c, c);
  EXPECT_TRUE(HasRect(Calls(rec, PaintOp::Box, 0x9E9E9E), x, y, 100, 50));
  c.Flags &= ~Flag::Flat;
  c.FrameWidth = 4;
  rec.Clear();
  PaintElement(tk, rec, c, c);
  const std::vector<PaintCall> frame = Calls(rec, PaintOp::Box, c.FrameColor);
  ASSERT_EQ(frame.size(), 1u);
  EXPECT_EQ(frame[0].mode, DrawMode::Outlined);
  EXPECT_TRUE(HasRect(frame, x + 3, y + 3, 94, 44));
  c.FrameWidth = 2;

  // Debug outlines: black around an element's visible part, not for a selected element.
  tk.debugOutlines = true;
  rec.Clear();
  PaintElement(tk, rec, c, c);
  EXPECT_TRUE(
      HasRect(Calls(rec, PaintOp::Box, 0x000000), c.Clip.x0, c.Clip.y0, c.Clip.w0, c.Clip.h0));
  c.Flags |= Flag::Selected;
  rec.Clear();
  PaintElement(tk, rec, c, c);
  EXPECT_TRUE(Calls(rec, PaintOp::Box, 0x000000).empty());
}

TEST_F(PaintTest, StripItemsAreLaidOutSideBySideWithSeparatorHotAndOpenItem) {
  ASSERT_EQ(CreateElement(tk, ElementKind::Menu, 70, 0, 0, 22, 22, "", -1, -1, -1, 0x80C7400, 1),
            70);
  AddItem(tk, 70, -1, "File", -1, 0xC7400);
  AddItem(tk, 70, -1, "", -1, 0xC7400);
  AddItem(tk, 70, -1, "Edit", -1, 0xC7400);
  Element& m = E(70);
  ASSERT_EQ(m.Items.size(), 3u);
  m.HotItem = 2;
  m.OpenTitle = 0;
  RecordingPainter rec;
  PaintAll(tk, rec);

  const int ox = m.Inner.x0, oy = m.Inner.y0, h = m.Inner.h0 - 2;
  const Element& file = *m.Items[0];
  const Element& separator = *m.Items[1];
  const Element& edit = *m.Items[2];
  EXPECT_EQ(file.Frame.x0, 0);
  EXPECT_EQ(separator.Frame.x0, file.Frame.w0);
  EXPECT_EQ(edit.Frame.x0, file.Frame.w0 + separator.Frame.w0);
  for (const auto& item : m.Items) {
    EXPECT_EQ(item->Frame.y0, 1);
    EXPECT_EQ(item->Frame.h0, h);
  }
  // The hot item: a fill one pixel in and an outline; the open title of a menu: a box in the
  // hot frame colour.
  EXPECT_TRUE(HasRect(Calls(rec, PaintOp::Box, edit.HotBackColor), ox + edit.Frame.x0 + 1, oy + 2,
                      edit.Frame.w0 - 2, h - 2));
  const std::vector<PaintCall> outlines = Calls(rec, PaintOp::Box, edit.StateColor1);
  EXPECT_TRUE(HasRect(outlines, ox + edit.Frame.x0, oy + 1, edit.Frame.w0, h));
  EXPECT_TRUE(HasRect(outlines, ox, oy + 1, file.Frame.w0, h));
  // The separator is only a vertical line in its middle.
  EXPECT_TRUE(HasRect(Calls(rec, PaintOp::Line, separator.FrameColor),
                      ox + separator.Frame.x0 + separator.Frame.w0 / 2, oy + 2, 1, h - 2));
  EXPECT_EQ(TextsOf(rec, "File").size(), 1u);
  EXPECT_EQ(TextsOf(rec, "Edit").size(), 1u);
  // Item clips are the items' rectangles on the canvas.
  EXPECT_EQ(edit.Clip.x0, ox + edit.Frame.x0);
  EXPECT_EQ(edit.Clip.y0, oy + 1);
}

TEST_F(PaintTest, PositionPickerPartsAndPropertyRows) {
  ASSERT_EQ(
      CreateElement(tk, ElementKind::PositionPicker, 80, 10, 300, 120, 100, "", -1, -1, -1, 0, 1),
      80);
  ASSERT_EQ(
      CreateElement(tk, ElementKind::PropertyList, 81, 200, 300, 300, 100, "", -1, -1, -1, 0, 1),
      81);
  AddItem(tk, 81, -1, "Spin X:5");
  AddItem(tk, 81, -1, "String Caption:Hello");
  AddItem(tk, 81, -1, "Button Image:none");
  Element& rows = E(81);
  rows.HotItem = 1;
  rows.StateIndex = 2;
  RecordingPainter rec;
  PaintAll(tk, rec);

  const Element& pp = E(80);
  ASSERT_EQ(pp.Items.size(), 11u);
  const int W = pp.Inner.w0, H = pp.Inner.h0;
  auto rect = [&](int i) {
    const CoordBlock& f = pp.Items[static_cast<size_t>(i)]->Frame;
    return std::vector<int>{f.x0, f.y0, f.w0, f.h0};
  };
  EXPECT_EQ(rect(0), (std::vector<int>{16, 16, W - 32, H - 32}));
  EXPECT_EQ(rect(1), (std::vector<int>{0, 16, 15, H - 32}));
  EXPECT_EQ(rect(2), (std::vector<int>{16, 0, W - 32, 15}));
  EXPECT_EQ(rect(3), (std::vector<int>{W - 15, 16, 15, H - 32}));
  EXPECT_EQ(rect(4), (std::vector<int>{16, H - 15, W - 32, 15}));
  EXPECT_EQ(rect(5), (std::vector<int>{0, 0, 15, 15}));
  EXPECT_EQ(rect(6), (std::vector<int>{W - 15, 0, 15, 15}));
  EXPECT_EQ(rect(7), (std::vector<int>{W - 15, H - 15, 15, 15}));
  EXPECT_EQ(rect(8), (std::vector<int>{0, H - 15, 15, 15}));
  EXPECT_EQ(rect(9), (std::vector<int>{17, 17, 19, 19}));
  EXPECT_EQ(rect(10), (std::vector<int>{(W - 16) / 2, (H - 16) / 2, 15, 15}));
  EXPECT_EQ(pp.Items[0]->Clip.x0, pp.Inner.x0 + 16) << "parts are painted at the inner corner";

  // Rows: name and value, the hot and the selected row shaded, spin arrows from the
  // toolkit's arrow images.
  for (const char* text : {"X:", "5", "Caption:", "Hello", "Image:", "none"})
    EXPECT_EQ(TextsOf(rec, text).size(), 1u) << text;
  const Element& hotRow = *rows.Items[1];
  const Element& selectedRow = *rows.Items[2];
  const int ox = rows.Inner.x0, oy = rows.Inner.y0;
  EXPECT_TRUE(HasRect(Calls(rec, PaintOp::Box, hotRow.HotBackColor), ox + hotRow.Frame.x0,
                      oy + hotRow.Frame.y0, hotRow.Frame.w0, hotRow.Frame.h0));
  EXPECT_TRUE(HasRect(Calls(rec, PaintOp::Box, selectedRow.StateColor1), ox + selectedRow.Frame.x0,
                      oy + selectedRow.Frame.y0, selectedRow.Frame.w0, selectedRow.Frame.h0));
  std::vector<int> images;
  for (const PaintCall& c : rec.Of(PaintOp::DrawImage))
    if (c.x >= rows.Frame.x0 && c.x < rows.Frame.x0 + rows.Frame.w0) images.push_back(c.image);
  EXPECT_EQ(images, (std::vector<int>{tk.builtins.ScrollUp, tk.builtins.ScrollDown}));
}

TEST_F(PaintTest, TopmostWindowAndOpenPopupsArePaintedLast) {
  ASSERT_EQ(
      CreateElement(tk, ElementKind::PopupMenu, 92, 300, 300, 120, 40, "Pop", -1, -1, -1, 0, 0),
      92);
  ASSERT_EQ(tk::Window(tk, 90, 100, 100, 200, 100, "Top", Flag::SystemMenu), 90);
  ASSERT_EQ(tk::Button(tk, 91, 10, 10, 80, 24, "InTop", 0, 90), 91);
  ASSERT_EQ(E(92).Hidden, 1);
  RecordingPainter rec;
  PaintAll(tk, rec);
  EXPECT_EQ(TextsOf(rec, "InTop").size(), 1u);
  EXPECT_TRUE(TextsOf(rec, "Pop").empty());

  tk.root.TopmostWindow = 90;
  E(92).Hidden = 0;
  rec.Clear();
  PaintAll(tk, rec);
  ASSERT_EQ(TextsOf(rec, "InTop").size(), 2u);
  ASSERT_EQ(TextsOf(rec, "Pop").size(), 2u);
  int lastTop = -1, lastPop = -1;
  for (size_t i = 0; i < rec.calls.size(); ++i) {
    if (rec.calls[i].text == "InTop") lastTop = static_cast<int>(i);
    if (rec.calls[i].text == "Pop") lastPop = static_cast<int>(i);
  }
  EXPECT_LT(lastTop, lastPop) << "popups cover the topmost window";
  // A popup's text starts past its icon gutter (menu height + 1).
  const Element& pop = E(92);
  EXPECT_EQ(FirstText(rec, "Pop").x, pop.Frame.x0 + 1 + tk.root.MenuHeight + 1 + pop.FrameWidth);
}

TEST_F(PaintTest, TooltipBoxFitsItsTextAndItsMinimumSize) {
  ASSERT_EQ(tk::Button(tk, 95, 10, 10, 80, 24, "B", 0, 1), 95);
  Root& root = tk.root;
  root.PointerElement = 95;
  root.ToolTipText = "Tip";
  root.ToolTipX = 300;
  root.ToolTipY = 200;
  root.ToolTipMinWidth = 80;
  root.ToolTipMinHeight = 10;
  RecordingPainter rec;
  PaintAll(tk, rec);
  // Width: the minimum (text 21 + 10 is less); height: text 13 + 4.
  std::vector<PaintCall> outline;
  for (const PaintCall& c : Calls(rec, PaintOp::Box, 0x000000))
    if (c.mode == DrawMode::Outlined) outline.push_back(c);
  EXPECT_TRUE(HasRect(outline, 300, 200, 80, 17));
  bool filled = false;
  for (const PaintCall& c : rec.Of(PaintOp::Box))
    if (c.mode == DrawMode::Default && c.x == 301 && c.y == 201 && c.w == 78 && c.h == 15)
      filled = true;
  EXPECT_TRUE(filled);
  ASSERT_EQ(TextsOf(rec, "Tip").size(), 1u);
  const PaintCall text = FirstText(rec, "Tip");
  EXPECT_EQ(text.x, 305);
  EXPECT_EQ(text.y, 202);
  EXPECT_EQ(text.color, 0x000000);
  EXPECT_EQ(text.mode, DrawMode::Transparent);

  // A longer text widens the box; a taller minimum centres the text in it.
  root.ToolTipText = "A longer tip";
  root.ToolTipMinHeight = 30;
  rec.Clear();
  PaintAll(tk, rec);
  EXPECT_TRUE(HasRect(Calls(rec, PaintOp::Box, 0x000000), 300, 200, 12 * kCharWidth + 10, 30));
  EXPECT_EQ(FirstText(rec, "A longer tip").y, 200 + (30 - 13) / 2);

  // No text, or no element under the pointer: no tooltip.
  root.ToolTipText.clear();
  rec.Clear();
  PaintAll(tk, rec);
  EXPECT_TRUE(Calls(rec, PaintOp::Box, 0x000000).empty());
  root.ToolTipText = "Tip";
  root.PointerElement = -1;
  rec.Clear();
  PaintAll(tk, rec);
  EXPECT_TRUE(TextsOf(rec, "Tip").empty());
}

TEST_F(PaintTest, ABackImageIsTiledFromTheInnerCornerInsideTheInnerRectangle) {
  // A 6 x 6 green tile with a black dot at its top-left corner.
  constexpr int kTile = 6;
  const int tile = platform.Images().Create(platform::ImageStore::kAny, kTile, kTile, 24, 0x00FF00);
  platform::Painter* ip = platform.BeginImageDrawing(tile);
  ASSERT_NE(ip, nullptr);
  ip->SetMode(DrawMode::Default);
  ip->Plot(0, 0, 0x000000);
  platform.EndImageDrawing();

  // A captioned window with the wide border of a sizeable one: its inner rectangle lies
  // below the caption and 4 pixels in from the frame.
  const int w = tk::Window(tk, 5, 100, 100, 204, 140, "Grid", Flag::SystemMenu | Flag::SizeGadget);
  CloseList(tk);
  EXPECT_EQ(SetElementBackImage(tk, w, tile), 0);
  EXPECT_EQ(SetElementBackImage(tk, 999, tile), 0);  // no such element
  Paint();
  const CoordBlock in = E(w).Inner;
  const CoordBlock fr = E(w).Frame;
  ASSERT_GT(in.y0, fr.y0 + 20);  // the caption is above the inner rectangle
  EXPECT_EQ(Px(in.x0, in.y0), 0x000000u);
  EXPECT_EQ(Px(in.x0 + 1, in.y0 + 1), 0x00FF00u);
  EXPECT_EQ(Px(in.x0 + 2 * kTile, in.y0 + kTile), 0x000000u);
  EXPECT_EQ(Px(in.x0 + 2 * kTile + 1, in.y0 + kTile), 0x00FF00u);
  // Nothing of it above or left of the inner rectangle, nor in the border band right of it
  // and below it, where the last tiles would reach out.
  ASSERT_NE(in.w0 % kTile, 0);
  ASSERT_NE(in.h0 % kTile, 0);
  const int midX = in.x0 + in.w0 / 2, midY = in.y0 + in.h0 / 2;
  EXPECT_NE(Px(midX, in.y0 - 1), 0x00FF00u);
  EXPECT_NE(Px(in.x0 - 1, midY), 0x00FF00u);
  for (int x = in.x0 + in.w0; x < fr.x0 + fr.w0; ++x)
    EXPECT_NE(Px(x, midY), 0x00FF00u) << "x " << x;
  for (int y = in.y0 + in.h0; y < fr.y0 + fr.h0; ++y)
    EXPECT_NE(Px(midX, y), 0x00FF00u) << "y " << y;

  // Taken away again, the window shows its plain background.
  EXPECT_EQ(SetElementBackImage(tk, w, 0), tile);
  Paint();
  EXPECT_NE(Px(in.x0 + 1, in.y0 + 1), 0x00FF00u);
}

TEST_F(PaintTest, OverlaysAreDrawnLastOnEveryRepaintUntilTakenAway) {
  Element& main = E(1);
  tk.root.PointerElement = 1;
  tk.root.ToolTipText = "A tip under the band";
  tk.root.ToolTipX = 200;
  tk.root.ToolTipY = 200;
  int painted = 0;
  const int band = AddOverlay(tk, [&](platform::Painter& p) {
    ++painted;
    p.SetMode(DrawMode::Outlined);
    p.Box(190, 195, 60, 15, 0x0000FF);
  });
  EXPECT_GT(band, 0);
  EXPECT_EQ(AddOverlay(tk, nullptr), 0);
  Paint();
  EXPECT_EQ(Px(210, 195), 0xFF0000u);      // over the window
  EXPECT_EQ(Px(220, 205), Rgb(0xE1FFFF));  // the tooltip is there ...
  EXPECT_EQ(Px(220, 209), 0xFF0000u);      // ... and the band over it
  // A later repaint (any change) keeps it.
  SetElementText(tk, main.ID, "Main again");
  Repaint(tk, 1, false);
  EXPECT_EQ(painted, 2);
  EXPECT_EQ(Px(210, 195), 0xFF0000u);

  EXPECT_TRUE(RemoveOverlay(tk, band));
  EXPECT_FALSE(RemoveOverlay(tk, band));
  Repaint(tk, 1, false);
  EXPECT_EQ(painted, 2);
  EXPECT_NE(Px(210, 195), 0xFF0000u);
}

}  // namespace
}  // namespace tk
