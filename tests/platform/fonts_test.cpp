// Font store handles and text measurement in them.
#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

namespace tk::platform {
namespace {

TEST(Fonts, DefaultFontMeasuresLatinAndCyrillic) {
  HeadlessPlatform platform(100, 100);
  Painter& m = platform.Measurer();
  EXPECT_EQ(m.Font(), FontStore::kDefaultFont);
  TextSize a = m.MeasureText("A");
  EXPECT_GT(a.width, 0);
  EXPECT_GT(a.height, 8);  // 9 pt at 96 dpi is 12 px before line spacing
  EXPECT_LT(a.height, 30);
  TextSize ru = m.MeasureText("Привет");
  EXPECT_GT(ru.width, a.width);
  EXPECT_EQ(ru.height, a.height);
  EXPECT_EQ(m.MeasureText("").width, 0);
  EXPECT_EQ(m.MeasureText("").height, a.height);
  // Widths add up along the text, and a cached answer is the same as a fresh one.
  EXPECT_GT(m.TextWidth("AAAA"), 3 * a.width);
  EXPECT_EQ(m.MeasureText("Привет").width, ru.width);
  // Broken UTF-8 is measured, not refused.
  EXPECT_GT(m.TextWidth(std::string_view("A\xC3(", 3)), 0);
  // Two lines are taller than one.
  EXPECT_GT(m.TextHeight("A\nB"), a.height);
}

TEST(Fonts, HandlesAndStyles) {
  HeadlessPlatform platform(100, 100);
  FontStore& fonts = platform.Fonts();
  EXPECT_EQ(fonts.Family(fonts.Default()), "DejaVu Sans");
  EXPECT_DOUBLE_EQ(fonts.Size(fonts.Default()), 9.0);

  int plain = fonts.Load("DejaVu Sans", 12, 0);
  int bold = fonts.Load("DejaVu Sans", 12, FontStyle::Bold);
  EXPECT_GT(plain, FontStore::kDefaultFont);
  EXPECT_NE(plain, bold);
  EXPECT_EQ(fonts.Load("DejaVu Sans", 12, 0), plain);
  EXPECT_EQ(fonts.Load("DejaVu Sans", 12, FontStyle::Bold), bold);
  EXPECT_EQ(fonts.Style(bold), FontStyle::Bold);
  EXPECT_TRUE(fonts.IsFont(bold));
  EXPECT_FALSE(fonts.IsFont(999));
  // Unknown handles answer for the default font.
  EXPECT_EQ(fonts.Family(999), "DejaVu Sans");

  Painter& m = platform.Measurer();
  m.SetFont(FontStore::kDefaultFont);
  int small = m.TextWidth("Hello world");
  m.SetFont(plain);
  int large = m.TextWidth("Hello world");
  m.SetFont(bold);
  int heavy = m.TextWidth("Hello world");
  EXPECT_GT(large, small);
  EXPECT_GT(heavy, large);
  m.SetFont(12345);  // unknown: measured in the default font
  EXPECT_EQ(m.TextWidth("Hello world"), small);

  // An underlined font measures like the plain one and draws its line below the letters.
  int underlined = fonts.Load("DejaVu Sans", 12, FontStyle::Underline);
  m.SetFont(underlined);
  EXPECT_EQ(m.TextWidth("Hello world"), large);
}

}  // namespace
}  // namespace tk::platform
