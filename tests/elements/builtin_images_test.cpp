// Built-in images: sizes, fixed and free numbers, a clean second toolkit, and pixel sanity.
#include "elements/builtin_images.h"

#include <set>
#include <vector>

#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

class BuiltinImagesTest : public testing::ToolkitTest {
 protected:
  platform::ImageStore& Store() { return platform.Images(); }

  bool SamePixels(int a, int b) {
    if (Store().Width(a) != Store().Width(b) || Store().Height(a) != Store().Height(b))
      return false;
    for (int y = 0; y < Store().Height(a); ++y)
      for (int x = 0; x < Store().Width(a); ++x)
        if (Store().Pixel(a, x, y) != Store().Pixel(b, x, y)) return false;
    return true;
  }
};

constexpr uint32_t kArrowBack = 0xFFF0F0F0;  // opaque (240, 240, 240)
constexpr uint32_t kArrowInk = 0xFF606060;   // opaque (96, 96, 96)

TEST_F(BuiltinImagesTest, EveryImageDecodesWithItsSize) {
  ASSERT_TRUE(LoadBuiltinImages(tk));
  const BuiltinImages& b = tk.builtins;
  struct Expect {
    int number, width, height;
  };
  const std::vector<Expect> expected = {
      {b.ScrollUp, 17, 17},     {b.ScrollDown, 17, 17},    {b.SmallIcon, 16, 16},
      {b.GreyGlyph, 16, 16},    {b.MinimizeGlyph, 16, 16}, {b.MaximizeGlyph, 16, 16},
      {b.RestoreGlyph, 16, 16}, {b.CloseGlyph, 16, 16},    {b.Blank, 5, 5},
      {b.TrayArrow, 14, 14},    {b.RedCross, 14, 14},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.number);
    EXPECT_TRUE(Store().IsImage(e.number));
    EXPECT_EQ(Store().Width(e.number), e.width);
    EXPECT_EQ(Store().Height(e.number), e.height);
  }
  EXPECT_EQ(Store().Format(b.SmallIcon), platform::ImageFormat::Icon);
  EXPECT_EQ(Store().Format(b.CloseGlyph), platform::ImageFormat::Png);

  // Free numbers are distinct and stay clear of the fixed ones; they follow the load order.
  std::set<int> numbers;
  for (const Expect& e : expected) {
    EXPECT_GT(e.number, BuiltinImage::CloseGlyph);
    numbers.insert(e.number);
  }
  EXPECT_EQ(numbers.size(), expected.size());
  EXPECT_LT(b.ScrollUp, b.ScrollDown);
  EXPECT_LT(b.CloseGlyph, b.Blank);

  ASSERT_NE(FindBuiltinImageData("tray_arrow"), nullptr);
  EXPECT_GT(FindBuiltinImageData("tray_arrow")->size, 8u);
  EXPECT_EQ(FindBuiltinImageData("no_such_image"), nullptr);
  EXPECT_EQ(FindBuiltinImageData(""), nullptr);
}

TEST_F(BuiltinImagesTest, FixedNumbersTwinTheFreeOnes) {
  for (int n = 0; n <= 4; ++n)
    EXPECT_FALSE(Store().IsImage(n));
  ASSERT_TRUE(LoadBuiltinImages(tk));
  const BuiltinImages& b = tk.builtins;
  EXPECT_TRUE(SamePixels(BuiltinImage::GreyGlyph, b.GreyGlyph));
  EXPECT_TRUE(SamePixels(BuiltinImage::MinimizeGlyph, b.MinimizeGlyph));
  EXPECT_TRUE(SamePixels(BuiltinImage::MaximizeGlyph, b.MaximizeGlyph));
  EXPECT_TRUE(SamePixels(BuiltinImage::RestoreGlyph, b.RestoreGlyph));
  EXPECT_TRUE(SamePixels(BuiltinImage::CloseGlyph, b.CloseGlyph));
  // The glyphs differ from one another (a mix-up of two files would show here).
  EXPECT_FALSE(SamePixels(BuiltinImage::MinimizeGlyph, BuiltinImage::MaximizeGlyph));
  EXPECT_FALSE(SamePixels(BuiltinImage::RestoreGlyph, BuiltinImage::CloseGlyph));
  EXPECT_FALSE(SamePixels(BuiltinImage::GreyGlyph, BuiltinImage::MaximizeGlyph));
  EXPECT_FALSE(SamePixels(b.ScrollUp, b.ScrollDown));

  // Loading again replaces the images rather than piling up copies.
  const int oldClose = b.CloseGlyph;
  ASSERT_TRUE(LoadBuiltinImages(tk));
  EXPECT_TRUE(Store().IsImage(tk.builtins.CloseGlyph));
  if (tk.builtins.CloseGlyph != oldClose) {
    EXPECT_FALSE(Store().IsImage(oldClose));
  }
  EXPECT_TRUE(SamePixels(BuiltinImage::CloseGlyph, tk.builtins.CloseGlyph));
}

TEST_F(BuiltinImagesTest, ASecondToolkitStartsWithoutThem) {
  ASSERT_TRUE(LoadBuiltinImages(tk));
  platform::HeadlessPlatform otherPlatform(320, 200);
  Toolkit other(otherPlatform);
  EXPECT_EQ(other.builtins.CloseGlyph, -1);
  EXPECT_EQ(other.builtins.ScrollUp, -1);
  EXPECT_EQ(other.builtins.Blank, -1);
  for (int n = 0; n <= 4; ++n)
    EXPECT_FALSE(otherPlatform.Images().IsImage(n));
  EXPECT_FALSE(otherPlatform.Images().IsImage(tk.builtins.ScrollUp));

  ASSERT_TRUE(LoadBuiltinImages(other));
  EXPECT_EQ(otherPlatform.Images().Width(other.builtins.ScrollUp), 17);
  EXPECT_TRUE(otherPlatform.Images().IsImage(BuiltinImage::CloseGlyph));
  EXPECT_EQ(otherPlatform.Images().Pixel(BuiltinImage::CloseGlyph, 8, 8),
            Store().Pixel(BuiltinImage::CloseGlyph, 8, 8));
}

TEST_F(BuiltinImagesTest, PixelsLookRight) {
  ASSERT_TRUE(LoadBuiltinImages(tk));
  const BuiltinImages& b = tk.builtins;
  auto alpha = [&](int image, int x, int y) { return Store().Pixel(image, x, y) >> 24; };
  auto dark = [&](int image, int x, int y) {
    uint32_t p = Store().Pixel(image, x, y);
    return (p >> 24) == 255 && (p & 0xFF) < 64 && (p >> 8 & 0xFF) < 64 && (p >> 16 & 0xFF) < 64;
  };

  // Close: a dark opaque centre, transparent corners.
  EXPECT_TRUE(dark(BuiltinImage::CloseGlyph, 7, 7));
  EXPECT_TRUE(dark(BuiltinImage::CloseGlyph, 8, 8));
  for (int corner : {0, 15}) {
    EXPECT_EQ(alpha(BuiltinImage::CloseGlyph, corner, 0), 0u);
    EXPECT_EQ(alpha(BuiltinImage::CloseGlyph, corner, 15), 0u);
  }
  // Minimise: ink in the lower part only; maximise: a hollow square.
  EXPECT_EQ(alpha(BuiltinImage::MinimizeGlyph, 8, 4), 0u);
  EXPECT_TRUE(dark(BuiltinImage::MinimizeGlyph, 8, 11));
  EXPECT_TRUE(dark(BuiltinImage::MaximizeGlyph, 4, 8));
  EXPECT_EQ(alpha(BuiltinImage::MaximizeGlyph, 8, 8), 0u);
  EXPECT_EQ(alpha(BuiltinImage::GreyGlyph, 0, 0), 0u);

  // Scroll arrows: opaque light background, grey chevron pointing the right way.
  for (int arrow : {b.ScrollUp, b.ScrollDown}) {
    EXPECT_EQ(Store().Pixel(arrow, 0, 0), kArrowBack);
    EXPECT_EQ(Store().Pixel(arrow, 16, 16), kArrowBack);
    EXPECT_EQ(Store().Pixel(arrow, 8, 14), kArrowBack);
  }
  EXPECT_EQ(Store().Pixel(b.ScrollUp, 8, 6), kArrowInk);    // apex at the top
  EXPECT_EQ(Store().Pixel(b.ScrollUp, 8, 10), kArrowBack);  // open below
  EXPECT_EQ(Store().Pixel(b.ScrollDown, 8, 10), kArrowInk);
  EXPECT_EQ(Store().Pixel(b.ScrollDown, 8, 6), kArrowBack);

  // Blank is fully transparent; the red cross is red at its centre.
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(Store().Pixel(b.Blank, x, y), 0u);
  uint32_t red = Store().Pixel(b.RedCross, 7, 7);
  EXPECT_EQ(red >> 24, 255u);
  EXPECT_GT(red >> 16 & 0xFF, 180u);
  EXPECT_LT(red >> 8 & 0xFF, 80u);
  // The tray arrow's shaft is blue (more blue than red).
  uint32_t shaft = Store().Pixel(b.TrayArrow, 6, 2);
  EXPECT_GT(shaft & 0xFF, (shaft >> 16 & 0xFF) + 100);
}

}  // namespace
}  // namespace tk
