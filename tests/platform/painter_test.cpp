// Painter pixels on the headless canvas: colour order, modes, clip, origin, text and images.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/headless/headless_platform.h"

namespace tk::platform {
namespace {

bool Near(uint32_t rgb, uint32_t expected, int tolerance = 2) {
  for (int shift = 0; shift < 24; shift += 8) {
    int a = static_cast<int>((rgb >> shift) & 0xFF),
        b = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - b) > tolerance) return false;
  }
  return true;
}

class PainterPixels : public ::testing::Test {
 protected:
  PainterPixels() : platform(64, 48) {
    p = platform.BeginDrawing();
    if (p) p->Box(0, 0, 64, 48, 0xFFFFFF);
  }
  ~PainterPixels() override { platform.EndDrawing(); }
  uint32_t At(int x, int y) { return platform.CanvasPixel(x, y); }

  HeadlessPlatform platform;
  Painter* p = nullptr;
};

TEST_F(PainterPixels, BoxesColourOrderOutlineAndLines) {
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(platform.BeginDrawing(), nullptr);  // already drawing
  EXPECT_EQ(p->OutputWidth(), 64);
  EXPECT_EQ(p->OutputHeight(), 48);

  p->Box(2, 2, 4, 3, 0x0000FF);  // red lives in the low byte
  EXPECT_EQ(At(2, 2), 0xFF0000u);
  EXPECT_EQ(At(5, 4), 0xFF0000u);
  EXPECT_EQ(At(6, 4), 0xFFFFFFu);  // the box covers exactly 4 x 3 pixels
  EXPECT_EQ(At(5, 5), 0xFFFFFFu);
  p->Box(12, 12, -2, -2, 0xFF0000);  // negative sizes extend up and left
  EXPECT_EQ(At(10, 10), 0x0000FFu);
  EXPECT_EQ(At(11, 11), 0x0000FFu);
  EXPECT_EQ(At(12, 12), 0xFFFFFFu);

  p->SetMode(DrawMode::Outlined);
  p->Box(20, 20, 10, 8, 0x00FF00);
  EXPECT_EQ(At(20, 20), 0x00FF00u);
  EXPECT_EQ(At(29, 27), 0x00FF00u);
  EXPECT_EQ(At(29, 22), 0x00FF00u);
  EXPECT_EQ(At(25, 24), 0xFFFFFFu);  // inside left alone
  EXPECT_EQ(At(30, 24), 0xFFFFFFu);
  EXPECT_EQ(At(21, 21), 0xFFFFFFu);
  p->SetMode(DrawMode::Default);

  p->Line(40, 2, 10, 1, 0x000000);  // 10 pixels to the right
  EXPECT_EQ(At(40, 2), 0u);
  EXPECT_EQ(At(49, 2), 0u);
  EXPECT_EQ(At(50, 2), 0xFFFFFFu);
  EXPECT_EQ(At(45, 3), 0xFFFFFFu);  // crisp: one row only
  EXPECT_EQ(At(45, 1), 0xFFFFFFu);
  p->Line(40, 10, 1, 5, 0x000000);  // 5 pixels down
  EXPECT_EQ(At(40, 14), 0u);
  EXPECT_EQ(At(40, 15), 0xFFFFFFu);
  EXPECT_EQ(At(41, 12), 0xFFFFFFu);
  p->Line(40, 30, 5, 5, 0x000000);  // diagonal covering 5 x 5
  EXPECT_EQ(At(40, 30), 0u);
  EXPECT_EQ(At(42, 32), 0u);
  EXPECT_EQ(At(44, 34), 0u);
  EXPECT_EQ(At(45, 35), 0xFFFFFFu);
  EXPECT_EQ(At(41, 30), 0xFFFFFFu);

  p->Plot(60, 40, 0x123456);
  EXPECT_EQ(At(60, 40), 0x563412u);
  EXPECT_EQ(At(61, 40), 0xFFFFFFu);
  EXPECT_EQ(At(1000, 1000), 0u);  // outside the canvas
}

TEST_F(PainterPixels, ClipOriginGradientAndAlpha) {
  ASSERT_NE(p, nullptr);
  p->Clip(10, 10, 5, 5);
  p->Box(0, 0, 64, 48, 0x000000);
  EXPECT_EQ(At(10, 10), 0u);
  EXPECT_EQ(At(14, 14), 0u);
  EXPECT_EQ(At(15, 14), 0xFFFFFFu);
  EXPECT_EQ(At(9, 12), 0xFFFFFFu);
  // The clip is in output coordinates: an origin does not move it.
  p->SetOrigin(20, 0);
  p->Clip(30, 0, 10, 10);
  p->Box(5, 0, 10, 10, 0xFF0000);  // output 25..34, clipped to 30..34
  EXPECT_EQ(At(29, 5), 0xFFFFFFu);
  EXPECT_EQ(At(30, 5), 0x0000FFu);
  EXPECT_EQ(At(34, 5), 0x0000FFu);
  p->Unclip();
  p->Box(0, 20, 2, 2, 0xFF0000);  // origin still applies
  EXPECT_EQ(At(20, 20), 0x0000FFu);
  EXPECT_EQ(At(0, 20), 0xFFFFFFu);
  p->SetOrigin(0, 0);

  p->SetMode(DrawMode::Gradient);
  p->SetGradientColors(0x0000FF, 0xFF0000);  // red at the top to blue at the bottom
  p->Box(40, 20, 10, 21, 0x00FF00);          // the colour argument is not used
  EXPECT_TRUE(Near(At(45, 20), 0xFF0000, 16)) << std::hex << At(45, 20);
  EXPECT_TRUE(Near(At(45, 40), 0x0000FF, 16)) << std::hex << At(45, 40);
  EXPECT_TRUE(Near(At(45, 30), 0x800080, 16)) << std::hex << At(45, 30);

  p->SetMode(DrawMode::AlphaBlend);
  p->Box(0, 30, 10, 10, 0x800000FF);  // half-transparent red over white
  EXPECT_TRUE(Near(At(5, 35), 0xFF7F7F)) << std::hex << At(5, 35);
  p->Box(0, 40, 10, 5, 0x000000FF);  // alpha 0: nothing
  EXPECT_EQ(At(5, 42), 0xFFFFFFu);
  p->SetMode(DrawMode::Default);
  p->Box(0, 40, 10, 5, 0x000000FF);  // outside alpha blending the byte is ignored
  EXPECT_EQ(At(5, 42), 0xFF0000u);
}

TEST_F(PainterPixels, ShapesTextAndImages) {
  ASSERT_NE(p, nullptr);
  p->Circle(10, 10, 5, 0x0000FF);
  EXPECT_EQ(At(10, 10), 0xFF0000u);
  EXPECT_EQ(At(10, 6), 0xFF0000u);
  EXPECT_EQ(At(10, 17), 0xFFFFFFu);
  EXPECT_EQ(At(4, 4), 0xFFFFFFu);
  p->SetMode(DrawMode::Outlined);
  p->Circle(30, 10, 6, 0x0000FF);
  EXPECT_EQ(At(30, 10), 0xFFFFFFu);  // hollow
  EXPECT_NE(At(30, 4), 0xFFFFFFu);   // ring touched at the top
  p->RoundBox(40, 2, 20, 12, 4, 4, 0x000000);
  EXPECT_EQ(At(50, 8), 0xFFFFFFu);
  EXPECT_EQ(At(50, 2), 0u);
  EXPECT_EQ(At(40, 2), 0xFFFFFFu);  // rounded corner left open
  p->SetMode(DrawMode::Default);
  p->RoundBox(40, 20, 20, 12, 4, 4, 0x000000);
  EXPECT_EQ(At(50, 26), 0u);
  EXPECT_EQ(At(40, 20), 0xFFFFFFu);

  // Text: back colour only in the default mode; the width drawn comes back.
  TextSize size = p->MeasureText("Hi");
  int drawn = p->Text(2, 30, "Hi", 0x000000, 0x00FF00);
  EXPECT_EQ(drawn, size.width);
  EXPECT_EQ(At(2 + size.width - 1, 30), 0x00FF00u);  // back fills the corner of the box
  int dark = 0;
  for (int y = 30; y < 30 + size.height; ++y)
    for (int x = 2; x < 2 + size.width; ++x)
      dark += ((At(x, y) >> 8) & 0xFF) < 0x60 ? 1 : 0;
  EXPECT_GT(dark, 3);
  if (const char* out = std::getenv("TK_SAVE_TEXT_PNG")) platform.SavePng(out);
  p->Box(0, 30, 30, 18, 0xFFFFFF);
  p->SetMode(DrawMode::Transparent);
  p->Text(2, 30, "Hi", 0x000000, 0x00FF00);
  EXPECT_EQ(At(2 + size.width - 1, 30), 0xFFFFFFu);
  p->SetMode(DrawMode::Default);
  p->Box(0, 30, 30, 18, 0x808080);
  p->Text(2, 30, "Hi", 0x000000, -1);  // an unset back colour paints nothing
  EXPECT_EQ(At(2 + size.width - 1, 30), 0x808080u);
  p->SetMode(DrawMode::Default);

  // Images: opaque red at full opacity, then half opacity over blue.
  int red = platform.Images().Create(ImageStore::kAny, 4, 4, 24, 0x0000FF);
  p->Box(0, 0, 20, 20, 0xFF0000);
  p->DrawImage(red, 2, 2, 0, 0, 255);
  EXPECT_EQ(At(2, 2), 0xFF0000u);
  EXPECT_EQ(At(5, 5), 0xFF0000u);
  EXPECT_EQ(At(6, 6), 0x0000FFu);
  p->DrawImage(red, 10, 10, 0, 0, 128);
  EXPECT_TRUE(Near(At(11, 11), 0x80007F)) << std::hex << At(11, 11);
  p->DrawImage(red, 0, 12, 8, 2, 255);  // scaled to 8 x 2
  EXPECT_EQ(At(7, 13), 0xFF0000u);
  EXPECT_EQ(At(8, 13), 0x0000FFu);
  EXPECT_EQ(At(3, 14), 0x0000FFu);
  p->DrawImage(12345, 0, 0, 0, 0, 255);  // unknown image: nothing, no crash
  EXPECT_EQ(At(0, 0), 0x0000FFu);
}

TEST(ImageDrawing, PainterOnAStoredImage) {
  HeadlessPlatform platform(10, 10);
  int n = platform.Images().Create(ImageStore::kAny, 8, 8, 32, -1);
  EXPECT_EQ(platform.BeginImageDrawing(999), nullptr);
  Painter* p = platform.BeginImageDrawing(n);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(platform.BeginImageDrawing(n), nullptr);
  EXPECT_EQ(p->OutputWidth(), 8);
  p->Box(2, 2, 2, 2, 0x00FF00);
  platform.EndImageDrawing();
  EXPECT_EQ(platform.Images().Pixel(n, 2, 2), 0xFF00FF00u);
  EXPECT_EQ(platform.Images().Pixel(n, 0, 0), 0u);
  EXPECT_NE(platform.BeginImageDrawing(n), nullptr);  // can start again
  platform.EndImageDrawing();
}

}  // namespace
}  // namespace tk::platform
