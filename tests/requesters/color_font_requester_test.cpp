// The colour and font requesters driven as the user drives them: typed, clicked, ticked,
// confirmed and cancelled.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "core/attributes.h"
#include "core/lookup.h"
#include "platform/fonts.h"
#include "requesters/requesters.h"
#include "tests/requesters/requester_fixture.h"

namespace tk::testing {
namespace {

namespace Key = platform::Key;

// Element numbers of the colour requester.
constexpr int kSwatch = 1;
constexpr int kRed = 6, kGreen = 7, kBlue = 8;
constexpr int kHex = 9;
constexpr int kColorOk = 10, kColorCancel = 11;
constexpr int kFirstCell = 20;
// Element numbers of the font requester.
constexpr int kFamilies = 2;
constexpr int kSize = 4;
constexpr int kBold = 5;
constexpr int kPreview = 8;
constexpr int kFontOk = 9, kFontCancel = 10;

class ColorFontRequesterTest : public RequesterTest {
 protected:
  std::string Shown(int n) { return GetElementText(tk, Part(n)); }
  void SelectAll() { Press(Key::A, platform::Modifier::Control); }
  void CloseBox() {
    const Element* w = FindElement(tk, Requester());
    platform.InjectClick(w->Frame.x0 + w->Frame.w0 - 12, w->Frame.y0 + 10);
  }
  // Clicks the list row that shows `text`; false when there is none.
  bool ClickRow(int list, const std::string& text) {
    const Element* e = FindElement(tk, list);
    for (const auto& item : e->Items) {
      if (item->Text != text) continue;
      platform.InjectClick(e->Inner.x0 + item->Frame.x0 + 10,
                           e->Inner.y0 + item->Frame.y0 - e->VScroll + item->Frame.h0 / 2);
      return true;
    }
    return false;
  }
};

TEST_F(ColorFontRequesterTest, TypedHexFollowsEverywhereAndConfirmsInBgrOrder) {
  Then([&] {
    EXPECT_EQ(Shown(kHex), "000000");  // -1 starts at black
    Type(U"1A2B3C");                   // the field has the keys, its text selected
  });
  Then([&] {
    EXPECT_EQ(Shown(kRed), "26");
    EXPECT_EQ(Shown(kGreen), "43");
    EXPECT_EQ(Shown(kBlue), "60");
    EXPECT_EQ(GetElementAttribute(tk, Part(kSwatch), Attribute::BackColor), 0x3C2B1A);
    Press(Key::Return);
  });
  EXPECT_EQ(ColorRequester(tk, -1), 0x3C2B1A);

  // Opened again (the same ids), the field's text is selected again so typing replaces it; a
  // leading "#" or "$" is taken as well, and a colour out of range starts at black.
  Then([&] {
    EXPECT_EQ(Shown(kHex), "000000");
    Type(U"#FF8000");
  });
  Then([&] { Press(Key::Return); });
  EXPECT_EQ(ColorRequester(tk, 0x1000000), 0x0080FF);
  Then([&] { Type(U"$00ff00"); });
  Then([&] { Press(Key::Return); });
  EXPECT_EQ(ColorRequester(tk, 0), 0x00FF00);
}

TEST_F(ColorFontRequesterTest, PaletteAndSpinsSetTheColourAndOkConfirms) {
  Then([&] { Click(Part(kFirstCell + 8)); });  // the second row starts with pure red
  Then([&] {
    EXPECT_EQ(Shown(kHex), "FF0000");
    EXPECT_EQ(Shown(kRed), "255");
    EXPECT_EQ(Shown(kBlue), "0");
    EXPECT_EQ(GetElementAttribute(tk, Part(kSwatch), Attribute::BackColor), 0x0000FF);
    // Blue typed into its spin joins the red.
    Click(Part(kBlue));
    SelectAll();
    Type(U"128");
  });
  Then([&] {
    EXPECT_EQ(Shown(kHex), "FF0080");
    EXPECT_EQ(GetElementAttribute(tk, Part(kSwatch), Attribute::BackColor), 0x8000FF);
    Click(Part(kColorOk));
  });
  EXPECT_EQ(ColorRequester(tk, 0x123456), 0x8000FF);
}

TEST_F(ColorFontRequesterTest, BadHexLeavesTheColour) {
  Then([&] { Type(U"zz12x"); });
  Then([&] {
    EXPECT_EQ(Shown(kRed), "86");  // 0x123456 is red 0x56
    Type(U"1");                    // "zz12x1": six characters, not hexadecimal
  });
  Then([&] {
    EXPECT_EQ(GetElementAttribute(tk, Part(kSwatch), Attribute::BackColor), 0x123456);
    SelectAll();
    Type(U"#12345");  // too short
  });
  Then([&] {
    EXPECT_EQ(Shown(kGreen), "52");
    // Leaving the field shows the colour again.
    Click(Part(kRed));
  });
  Then([&] {
    EXPECT_EQ(Shown(kHex), "563412");
    Press(Key::Return);
  });
  EXPECT_EQ(ColorRequester(tk, 0x123456), 0x123456);
}

TEST_F(ColorFontRequesterTest, EscapeCloseBoxAndCancelGiveMinusOne) {
  auto changeThen = [&](std::function<void()> out) {
    Then([&] { Click(Part(kFirstCell)); });
    Then(std::move(out));
  };
  changeThen([&] { Press(Key::Escape); });
  EXPECT_EQ(ColorRequester(tk, 0x00FF00), -1);
  changeThen([&] { CloseBox(); });
  EXPECT_EQ(ColorRequester(tk, 0x00FF00), -1);
  changeThen([&] { Click(Part(kColorCancel)); });
  EXPECT_EQ(ColorRequester(tk, 0x00FF00), -1);
  EXPECT_EQ(Requester(), 0);
}

TEST_F(ColorFontRequesterTest, FamiliesAreSortedWithoutRegardToCaseAndListedOnce) {
  const std::vector<std::string> families = platform.Fonts().Families();
  ASSERT_FALSE(families.empty());
  auto lower = [](std::string s) {
    for (char& c : s)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  for (size_t i = 1; i < families.size(); ++i)
    EXPECT_LT(lower(families[i - 1]), lower(families[i])) << families[i];
  EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
  // A family that is not installed is drawn with an installed one.
  EXPECT_EQ(platform.Fonts().Substitute("Surely No Such Family"),
            platform.Fonts().Substitute("Sans"));
  EXPECT_NE(std::find(families.begin(), families.end(), platform.Fonts().Substitute("Arial")),
            families.end());
}

TEST_F(ColorFontRequesterTest, FontChosenFromTheListIsReported) {
  Then([&] {
    // "Arial" is not installed here: the family drawn in its place is selected.
    const Element* list = FindElement(tk, Part(kFamilies));
    const int row = static_cast<int>(GetElementState(tk, Part(kFamilies)));
    ASSERT_GE(row, 0);
    EXPECT_EQ(list->Items[static_cast<size_t>(row)]->Text, platform.Fonts().Substitute("Arial"));
    ASSERT_TRUE(ClickRow(Part(kFamilies), "DejaVu Serif"));
    Click(Part(kBold));
    Click(Part(kSize));
    SelectAll();
    Type(U"14");
  });
  Then([&] {
    // The preview follows.
    const int font = FindElement(tk, Part(kPreview))->FontID;
    EXPECT_EQ(platform.Fonts().Family(font), "DejaVu Serif");
    EXPECT_EQ(platform.Fonts().Size(font), 14);
    EXPECT_EQ(platform.Fonts().Style(font),
              platform::FontStyle::Bold | platform::FontStyle::Italic);

    Click(Part(kFontOk));
  });
  EXPECT_TRUE(FontRequester(tk, "Arial", 12, platform::FontStyle::Italic));
  EXPECT_EQ(SelectedFontName(tk), "DejaVu Serif");
  EXPECT_EQ(SelectedFontSize(tk), 14);
  EXPECT_EQ(SelectedFontStyle(tk), platform::FontStyle::Bold | platform::FontStyle::Italic);

  // Cancelled in every way after changing everything: the choice stays as it was.
  for (int way = 0; way < 3; ++way) {
    Then([&] {
      ASSERT_TRUE(ClickRow(Part(kFamilies), "DejaVu Sans Mono"));
      Click(Part(kBold));
    });
    Then([&, way] {
      if (way == 0) Press(Key::Escape);
      if (way == 1) CloseBox();
      if (way == 2) Click(Part(kFontCancel));
    });
    EXPECT_FALSE(FontRequester(tk, SelectedFontName(tk), 20, 0));
    EXPECT_EQ(SelectedFontName(tk), "DejaVu Serif");
    EXPECT_EQ(SelectedFontSize(tk), 14);
    EXPECT_EQ(SelectedFontStyle(tk), platform::FontStyle::Bold | platform::FontStyle::Italic);
  }
}

}  // namespace
}  // namespace tk::testing
