// The painter's caches of texts and shapes: the same pixels cold, warm and uncached, and
// bounded memory however many different things are drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cairo_canvas.h"
#include "platform/headless/headless_platform.h"

namespace tk::platform {
namespace {

constexpr int kWidth = 360, kHeight = 220;

// Everything the caches touch, in each mode, with clips, origins and images in between.
// The same text appears in two colours and two fonts and twice in one frame, and equal-sized
// shapes differ only in colour, so a key that misses a part of the picture shows up as pixels.
void DrawScene(Painter& p, int bold, int underlined, int image) {
  p.SetMode(DrawMode::Default);
  p.Box(0, 0, kWidth, kHeight, 0xF0F0F0);

  p.SetMode(DrawMode::Gradient);
  p.SetGradientColors(0xF0F0F0, 0xE5E5E5);
  p.Box(4, 4, 70, 23, 0);
  p.RoundBox(80, 4, 70, 23, 4, 4, 0);
  p.SetGradientColors(0xFCF4EC, 0xFCECDC);  // same sizes, other colours
  p.Box(4, 30, 70, 23, 0);
  p.RoundBox(80, 30, 70, 23, 4, 4, 0);
  p.RoundBox(156, 4, 40, 20, 0, 0, 0);  // square corners, still a gradient
  p.Circle(210, 14, 7, 0);

  p.SetMode(DrawMode::Outlined);
  p.RoundBox(4, 4, 70, 23, 4, 4, 0xACACAC);
  p.RoundBox(80, 30, 70, 23, 4, 4, 0xEAB47E);
  p.RoundBox(156, 30, 40, 20, 0, 0, 0x858585);
  p.Circle(230, 14, 7, 0x333333);
  p.Box(240, 4, 20, 20, 0x9E9E9E);

  p.SetMode(DrawMode::Default);
  p.RoundBox(4, 60, 60, 30, 6, 3, 0xFFFFFF);
  p.RoundBox(70, 60, 60, 30, 200, 200, 0x0000FF);  // radii larger than the box
  p.RoundBox(136, 60, -30, -20, 3, 3, 0x00FF00);   // negative sizes
  p.Circle(260, 40, 7, 0xFFFFFF);
  p.Circle(260, 40, 4, 0x000000);
  p.Circle(280, 40, 0, 0x000000);

  // Pixel-aligned pieces: lines, plots and boxes, some cut by the canvas edge or a clip.
  p.Line(290, 4, 60, 1, 0x0000FF);
  p.Line(290, 8, 1, 30, 0x00FF00);
  p.Line(300, 10, 12, -9, 0x000000);  // diagonal
  p.Plot(320, 20, 0xFF00FF);
  p.Box(-5, -5, 12, 12, 0x123456);
  p.Box(kWidth - 4, 50, 20, 8, 0x654321);
  p.SetMode(DrawMode::Outlined);
  p.Box(-3, 200, 30, 30, 0x0000AA);
  p.Clip(330, 4, 10, 10);
  p.Box(326, 0, 20, 20, 0x00AA00);
  p.SetMode(DrawMode::Default);
  p.Text(326, 2, "Cut", 0xFFFFFF, 0x0000AA);
  p.Line(326, 0, 20, 20, 0x000000);  // cairo draws this one: its clip must follow
  p.SetMode(DrawMode::AlphaBlend);
  p.Box(326, 10, 20, 10, 0x8000FFFF);
  p.SetMode(DrawMode::Default);
  p.Unclip();
  p.Line(326, 19, 20, -20, 0x000000);  // and be lifted again

  p.SetMode(DrawMode::AlphaBlend);
  p.Box(300, 30, 20, 20, 0x80FF0000);
  p.Line(300, 52, 20, 1, 0x8000FF00);
  p.RoundBox(20, 70, 60, 30, 5, 5, 0x800000FF);
  p.Circle(40, 80, 9, 0x4000FF00);

  // Texts: back colour in the default mode, none in the transparent one.
  p.SetMode(DrawMode::Default);
  p.Text(8, 100, "Button 12", 0x222222, 0xFFFFFF);
  p.Text(8, 116, "Кнопка 12", 0x222222, -1);
  p.SetMode(DrawMode::Transparent);
  p.Text(100, 100, "Button 12", 0x0000FF, -1);  // same text, other colour
  p.Text(100, 116, "Кнопка 12", 0x222222, -1);  // same text and colour twice in a frame
  p.Text(100, 132, "Two\nlines", 0x222222, -1);
  p.Text(100, 160, std::string_view("bad \xC3( utf8", 11), 0x222222, -1);
  p.Text(180, 100, "   ", 0x222222, -1);  // no ink at all
  p.SetFont(bold);
  p.Text(180, 116, "Button 12", 0x222222, -1);  // same text, other font
  p.Text(180, 132, "Жирный курсив", 0x006600, -1);
  p.SetFont(underlined);
  p.Text(180, 150, "Underlined", 0x222222, -1);
  p.SetFont(FontStore::kDefaultFont);
  p.SetMode(DrawMode::AlphaBlend);
  p.Text(180, 168, "Half seen", 0x80000000, -1);

  // Clips cutting pictures, an origin, and a text hanging off the canvas.
  p.SetMode(DrawMode::Transparent);
  p.Clip(8, 184, 40, 8);
  p.Text(8, 180, "Clipped text", 0x222222, -1);
  p.SetMode(DrawMode::Gradient);
  p.RoundBox(50, 180, 70, 23, 4, 4, 0);
  p.Unclip();
  p.SetOrigin(200, 185);
  p.SetMode(DrawMode::Outlined);
  p.RoundBox(0, 0, 50, 20, 4, 4, 0x222222);
  p.SetMode(DrawMode::Transparent);
  p.Text(4, 2, "Origin", 0x222222, -1);
  p.SetOrigin(0, 0);
  p.Text(-20, kHeight - 8, "Off the edge", 0x222222, -1);
  p.Text(kWidth - 30, 190, "Off the edge", 0x222222, -1);
  p.Text(-23700, 206, std::string(2000, 'W') + "end", 0x222222, -1);  // too long for a picture

  p.DrawImage(image, 300, 60, 0, 0, 255);
  p.DrawImage(image, 300, 80, 0, 0, 128);
  p.DrawImage(image, 318, 80, 0, 0, 190);
  p.DrawImage(image, 336, 80, 0, 0, 7);
  p.DrawImage(image, 300, 100, 24, 24, 255);
  p.Clip(320, 60, 8, 8);
  p.DrawImage(image, 316, 56, 0, 0, 255);
  p.Unclip();
}

// A 16 x 16 image with a transparent corner and a soft edge.
int MakeImage(HeadlessPlatform& platform) {
  int image = platform.Images().Create(ImageStore::kAny, 16, 16, 32, -1);
  Painter* p = platform.BeginImageDrawing(image);
  if (!p) return image;
  p->SetMode(DrawMode::Default);
  p->RoundBox(1, 1, 14, 14, 5, 5, 0x3366CC);
  p->SetMode(DrawMode::Transparent);
  p->Text(3, 1, "A", 0xFFFFFF, -1);
  platform.EndImageDrawing();
  return image;
}

struct Fonts {
  int bold, underlined;
};

Fonts LoadFonts(HeadlessPlatform& platform) {
  return {platform.Fonts().Load("DejaVu Sans", 10, FontStyle::Bold | FontStyle::Italic),
          platform.Fonts().Load("DejaVu Sans", 9, FontStyle::Underline)};
}

std::vector<uint32_t> DrawFrame(HeadlessPlatform& platform, bool caching, const Fonts& fonts,
                                int image) {
  auto* painter = static_cast<CairoPainter*>(platform.BeginDrawing());
  if (!painter) return {};
  painter->SetCaching(caching);
  DrawScene(*painter, fonts.bold, fonts.underlined, image);
  platform.EndDrawing();
  std::vector<uint32_t> pixels;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      pixels.push_back(platform.CanvasPixel(x, y));
  return pixels;
}

// Empty when equal, else where and how the first pixels differ.
std::string Difference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return "sizes differ";
  int count = 0;
  std::string first;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    if (count++ == 0) {
      char text[96];
      snprintf(text, sizeof text, "first at (%d, %d): %06X vs %06X", static_cast<int>(i % kWidth),
               static_cast<int>(i / kWidth), a[i], b[i]);
      first = text;
    }
  }
  return count ? std::to_string(count) + " pixels differ, " + first : "";
}

TEST(PainterCache, SamePixelsColdWarmAndUncached) {
  HeadlessPlatform direct(kWidth, kHeight), cached(kWidth, kHeight);
  Fonts directFonts = LoadFonts(direct), cachedFonts = LoadFonts(cached);
  int directImage = MakeImage(direct), cachedImage = MakeImage(cached);

  std::vector<uint32_t> reference = DrawFrame(direct, false, directFonts, directImage);
  ASSERT_EQ(reference.size(), static_cast<size_t>(kWidth * kHeight));
  // The scene really drew something in each part of the canvas.
  EXPECT_NE(direct.CanvasPixel(10, 10), 0xF0F0F0u);
  EXPECT_NE(direct.CanvasPixel(308, 68), 0xF0F0F0u);

  auto* painter = static_cast<CairoPainter*>(cached.BeginDrawing());
  ASSERT_NE(painter, nullptr);
  cached.EndDrawing();
  EXPECT_TRUE(painter->Caching());
  EXPECT_EQ(painter->Usage().bytes, 0u);

  std::vector<uint32_t> cold = DrawFrame(cached, true, cachedFonts, cachedImage);
  EXPECT_EQ(Difference(cold, reference), "") << "first frame";
  CairoPainter::CacheUsage afterCold = painter->Usage();
  EXPECT_GT(afterCold.shapes, 10u);
  EXPECT_GT(afterCold.texts, 10u);

  // The second frame blits texts seen before; the third runs on warm caches only.
  std::vector<uint32_t> warm = DrawFrame(cached, true, cachedFonts, cachedImage);
  EXPECT_EQ(Difference(warm, reference), "") << "second frame";
  CairoPainter::CacheUsage afterWarm = painter->Usage();
  EXPECT_GT(afterWarm.bytes, afterCold.bytes);  // the texts became pictures
  EXPECT_EQ(afterWarm.shapes, afterCold.shapes);
  EXPECT_EQ(afterWarm.texts, afterCold.texts);
  EXPECT_EQ(Difference(DrawFrame(cached, true, cachedFonts, cachedImage), reference), "")
      << "third frame";
  EXPECT_EQ(painter->Usage().bytes, afterWarm.bytes);

  // Switching the caches off empties them and keeps the picture.
  EXPECT_EQ(Difference(DrawFrame(cached, false, cachedFonts, cachedImage), reference), "");
  EXPECT_EQ(painter->Usage().bytes, 0u);
  EXPECT_EQ(painter->Usage().texts, 0u);
  EXPECT_EQ(painter->Usage().shapes, 0u);
}

TEST(PainterCache, SamePixelsOnAStoredImage) {
  // Image drawing blends into premultiplied ARGB instead of an opaque canvas.
  HeadlessPlatform platform(8, 8);
  Fonts fonts = LoadFonts(platform);
  int image = MakeImage(platform);
  // Each frame draws on a new transparent image with the same painter, whose caches carry
  // over from frame to frame.
  auto draw = [&](bool caching, int frames) {
    std::vector<uint32_t> pixels;
    for (int i = 0; i < frames; ++i) {
      int target = platform.Images().Create(ImageStore::kAny, kWidth, 110, 32, -1);
      auto* p = static_cast<CairoPainter*>(platform.BeginImageDrawing(target));
      if (!p) return pixels;
      p->SetCaching(caching);
      p->SetMode(DrawMode::Gradient);
      p->SetGradientColors(0xF0F0F0, 0xE5E5E5);
      p->RoundBox(80, 4, 70, 23, 4, 4, 0);
      p->SetMode(DrawMode::Transparent);
      p->Text(8, 8, "Кнопка 12", 0x222222, -1);
      p->Text(8, 30, "Кнопка 12", 0x222222, -1);
      p->SetMode(DrawMode::Outlined);
      p->Circle(200, 20, 7, 0x333333);
      p->RoundBox(80, 30, 70, 23, 4, 4, 0xACACAC);
      p->SetMode(DrawMode::AlphaBlend);
      p->RoundBox(20, 70, 60, 30, 5, 5, 0x800000FF);
      p->SetFont(fonts.bold);
      p->Text(100, 70, "Button 12", 0x80222222, -1);
      p->DrawImage(image, 300, 60, 0, 0, 128);
      platform.EndImageDrawing();
      pixels.clear();
      for (int y = 0; y < 110; ++y)
        for (int x = 0; x < kWidth; ++x)
          pixels.push_back(platform.Images().Pixel(target, x, y));
      platform.Images().Free(target);
    }
    return pixels;
  };
  std::vector<uint32_t> reference = draw(false, 1);
  ASSERT_FALSE(reference.empty());
  EXPECT_NE(reference[10 * kWidth + 90], 0u);  // the gradient box is there
  for (int frames = 1; frames <= 3; ++frames)
    EXPECT_EQ(Difference(draw(true, frames), reference), "") << frames << " frames";
}

TEST(PainterCache, StaysBoundedAndForgetsWhatIsNoLongerDrawn) {
  HeadlessPlatform platform(200, 100);
  auto* p = static_cast<CairoPainter*>(platform.BeginDrawing());
  ASSERT_NE(p, nullptr);
  platform.EndDrawing();

  // Thousands of distinct texts, each drawn twice so each becomes a picture, in one frame.
  const size_t count = CairoPainter::kMaxTexts + 1500;
  p = static_cast<CairoPainter*>(platform.BeginDrawing());
  for (size_t i = 0; i < count; ++i) {
    std::string text = "Кнопка " + std::to_string(i);
    p->Text(0, 0, text, 0x222222, -1);
    p->Text(0, 20, text, 0x222222, -1);
  }
  // Past the bound, texts are still drawn, just not kept.
  p->Box(0, 40, 200, 20, 0xFFFFFF);
  p->Text(0, 40, "WWWW past the bound", 0x000000, -1);
  platform.EndDrawing();
  EXPECT_EQ(p->Usage().texts, CairoPainter::kMaxTexts);
  EXPECT_EQ(p->Usage().sizes, CairoPainter::kMaxTexts);
  EXPECT_LE(p->Usage().bytes, CairoPainter::kMaxCacheBytes);
  // Kept sizes are the sizes: the same as a fresh painter measures, for texts measured early
  // (long since dropped by the font's shared answers), late and past the bound.
  HeadlessPlatform fresh(10, 10);
  for (size_t i : {size_t{0}, size_t{17}, count / 2, count - 1}) {
    std::string text = "Кнопка " + std::to_string(i);
    EXPECT_EQ(p->MeasureText(text).width, fresh.Measurer().MeasureText(text).width) << text;
    EXPECT_EQ(p->MeasureText(text).height, fresh.Measurer().MeasureText(text).height) << text;
  }
  int dark = 0;
  for (int x = 0; x < 40; ++x)
    dark += platform.CanvasPixel(x, 48) < 0x808080 ? 1 : 0;
  EXPECT_GT(dark, 3);

  // Thousands of distinct shapes: gradient boxes of every size.
  p->SetCaching(false);
  p->SetCaching(true);
  p = static_cast<CairoPainter*>(platform.BeginDrawing());
  p->SetMode(DrawMode::Gradient);
  for (int w = 1; w <= 100; ++w)
    for (int h = 1; h <= 50; ++h)
      p->RoundBox(0, 0, w, h, 3, 3, 0);
  platform.EndDrawing();
  EXPECT_EQ(p->Usage().shapes, CairoPainter::kMaxShapes);
  EXPECT_LE(p->Usage().bytes, CairoPainter::kMaxCacheBytes);

  // Large shapes are never kept.
  p->SetCaching(false);
  p->SetCaching(true);
  p = static_cast<CairoPainter*>(platform.BeginDrawing());
  p->SetMode(DrawMode::Gradient);
  p->RoundBox(0, 0, 400, 300, 3, 3, 0);
  p->RoundBox(0, 0, 190, 190, 3, 3, 0);
  platform.EndDrawing();
  EXPECT_EQ(p->Usage().shapes, 0u);

  // What two frames in a row did not draw is gone.
  p = static_cast<CairoPainter*>(platform.BeginDrawing());
  p->Text(0, 0, "Kept", 0x222222, -1);
  p->SetMode(DrawMode::Gradient);
  p->Box(0, 0, 20, 20, 0);
  platform.EndDrawing();
  EXPECT_EQ(p->Usage().texts, 1u);
  EXPECT_EQ(p->Usage().shapes, 1u);
  EXPECT_GT(p->Usage().bytes, 0u);
  for (int frame = 0; frame < 2; ++frame) {
    ASSERT_NE(platform.BeginDrawing(), nullptr);
    platform.EndDrawing();
  }
  EXPECT_EQ(p->Usage().texts, 0u);
  EXPECT_EQ(p->Usage().sizes, 0u);
  EXPECT_EQ(p->Usage().shapes, 0u);
  EXPECT_EQ(p->Usage().bytes, 0u);
}

}  // namespace
}  // namespace tk::platform
