// Tests of the kind and flag vocabulary and of the per-element name, flag and event texts.
#include "codegen/vocabulary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

std::vector<std::string> SplitBars(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t bar = text.find('|', start);
    if (bar == std::string::npos) bar = text.size();
    if (bar > start) out.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  return out;
}

TEST(VocabularyKinds, NamesAndRecognitionAgree) {
  EXPECT_EQ(KindName(-2), "Toolbar");
  EXPECT_EQ(KindName(-4), "StatusBar");
  EXPECT_EQ(KindName(0), "Create");
  EXPECT_EQ(KindName(34), "ImageButton");
  EXPECT_EQ(KindName(ElementKind::ButtonImage), "ButtonImage");
  EXPECT_EQ(KindName(30), "");
  EXPECT_EQ(KindName(35), "");
  EXPECT_EQ(KindName(-7), "");

  // What the generator writes for a kind is read back as the same kind.
  for (int kind = -6; kind <= 33; ++kind) {
    if (kind == 0 || kind == 30) continue;
    std::string line = kind == -1 ? "Open" + KindName(kind) : KindName(kind) + "Gadget";
    EXPECT_EQ(KindFromText(line), kind) << line;
  }

  EXPECT_EQ(KindFromText("ButtonImageGadget"), 19);
  EXPECT_EQ(KindFromText("ButtonGadget"), 1);
  EXPECT_EQ(KindFromText("ListIconGadget"), 12);
  EXPECT_EQ(KindFromText("ExplorerTreeGadget"), 24);
  EXPECT_EQ(KindFromText("createtoolbar"), -2);
  EXPECT_EQ(KindFromText("OpenWindow"), -1);
  EXPECT_EQ(KindFromText("CreatePopupMenu"), -6);
  EXPECT_EQ(KindFromText("CreateStatusBar"), -4);
  EXPECT_EQ(KindFromText("CreateImageMenu"), -3);  // Menu is tried before Image
  EXPECT_EQ(KindFromText("MDIGadget"), 30);
  EXPECT_EQ(KindFromText("ImageButtonGadget"), 9);  // kind 34 has no word of its own
  EXPECT_EQ(KindFromText("Gadget"), 0);
  EXPECT_EQ(KindFromText(""), 0);
  EXPECT_EQ(KindFromText("Кнопка ButtonGadget"), 1);
  EXPECT_EQ(KindFromText("Кнопка"), 0);
}

TEST(VocabularyKinds, OfferedFlagLists) {
  EXPECT_EQ(KindFlagList(5), "");
  EXPECT_EQ(KindFlagList(28), "");
  EXPECT_EQ(KindFlagList(30), "");
  EXPECT_EQ(KindFlagList(99), "");
  EXPECT_EQ(KindFlagList(-8), "");
  EXPECT_EQ(KindFlagList(3), "#PB_Text_Center|#PB_Text_Right|#PB_Text_Border");
  EXPECT_EQ(KindFlagList(10), "#PB_Hyperlink_Underline");
  EXPECT_EQ(KindFlagList(19), "#PB_Button_Toggle");
  EXPECT_EQ(KindFlagList(6), "#PB_ListView_Multiselect|#PB_ListView_ClickSelect");
  EXPECT_EQ(KindFlagList(8),
            "#PB_ComboBox_Editable|#PB_ComboBox_LowerCase|#PB_ComboBox_UpperCase|"
            "#PB_ComboBox_Image");

  std::string window = KindFlagList(-1);
  ASSERT_FALSE(window.empty());
  EXPECT_EQ(window.back(), '|');
  EXPECT_EQ(window.rfind("#PB_Window_SystemMenu|#PB_Window_MaximizeGadget|", 0), 0u);
  EXPECT_EQ(SplitBars(window).size(), 15u);
  EXPECT_EQ(SplitBars(window).back(), "#PB_Window_NoGadgets");

  auto explorer = SplitBars(KindFlagList(23));
  EXPECT_EQ(explorer.size(), 15u);
  for (const std::string& flag : explorer)
    EXPECT_EQ(flag.rfind("#PB_Explorer_", 0), 0u) << flag;
}

TEST(VocabularyFlags, ValueOfTheFirstWordFound) {
  EXPECT_EQ(FlagValue("#PB_Window_SystemMenu|#PB_Window_SizeGadget"), 0x0001400000000020ULL);
  EXPECT_EQ(FlagValue("#PB_Window_SizeGadget|#PB_Window_SystemMenu"), 0x0001400000000020ULL);
  EXPECT_EQ(FlagValue("#PB_Window_SizeGadget"), 0x0000800000000000ULL);
  EXPECT_EQ(FlagValue("#PB_Window_BorderLess"), 0x08000000ULL);
  EXPECT_EQ(FlagValue("#PB_Calendar_Borderless"), 0x08000000ULL);
  EXPECT_EQ(FlagValue("#PB_Text_Border"), 0x80000000ULL);
  EXPECT_EQ(FlagValue("#pb_text_border"), 0x80000000ULL);
  EXPECT_EQ(FlagValue("#PB_Text_Border|#PB_Text_Right"), 0x04000000ULL);
  EXPECT_EQ(FlagValue("#PB_Image_Border"), 0x04000000ULL);
  EXPECT_EQ(FlagValue("#PB_Window_Minimize"), 0u);
  EXPECT_EQ(FlagValue("#PB_Window_MinimizeGadget"), 0x40u);
  EXPECT_EQ(FlagValue("#PB_Window_MaximizeGadget"), 0x80u);
  // A word without a bit still stops the search.
  EXPECT_EQ(FlagValue("#PB_Window_Maximize|#PB_Window_SizeGadget"), 0u);
  EXPECT_EQ(FlagValue("#PB_Window_Minimize|#PB_Window_Tool"), 0u);
  EXPECT_EQ(FlagValue("#PB_ComboBox_Image"), 0u);
  EXPECT_EQ(FlagValue("#PB_Image_Raised"), 0x20000000u);
  EXPECT_EQ(FlagValue("#pb_string_password"), 0x0000080000000000ULL);
  EXPECT_EQ(FlagValue("#PB_Splitter_SecondFixed"), 8u);
  EXPECT_EQ(FlagValue("#PB_Text_Center"), 0x1000u);
  EXPECT_EQ(FlagValue(""), 0u);
  EXPECT_EQ(FlagValue("#PB_Unknown_Thing"), 0u);
  EXPECT_EQ(FlagValue("Граница"), 0u);
}

TEST(VocabularyFlags, NamesOfSetBits) {
  EXPECT_EQ(FlagNames(0x00C0000000000020ULL, -1),
            "#PB_Window_SystemMenu|#PB_Window_WindowCentered|#PB_Window_ScreenCentered");
  EXPECT_EQ(FlagNames(FlagValue("#PB_Window_SystemMenu"), -1),
            "#PB_Window_SystemMenu|#PB_Window_TitleBar");
  EXPECT_EQ(FlagNames(0x1000, 3), "");
  EXPECT_EQ(FlagNames(0x3000 | 0x400 | 0x04000000, 3),
            "#PB_Text_Center|#PB_Text_Right|#PB_Text_Border");
  EXPECT_EQ(FlagNames(0x0000020000000000ULL | 0x500, 1),
            "#PB_Button_Right|#PB_Button_Left|#PB_Button_MultiLine");
  EXPECT_EQ(FlagNames(0, -1), "");
  EXPECT_EQ(FlagNames(~0ULL, 5), "");  // Option tests no bits
  EXPECT_EQ(FlagNames(~0ULL, 29), "");
  EXPECT_EQ(FlagNames(0x0C | 0x1, 99), "FirstFixed|SecondFixed|Vertical");
  EXPECT_EQ(FlagNames(0x0000000300000000ULL | 0x80000000ULL, -40), "Double|Small|Large");
}

// Every offered flag that carries a bit the kind writes comes back from its own value; the
// listed exceptions are flags whose value is not the bit their kind tests.
TEST(VocabularyFlags, OfferedFlagsRoundTrip) {
  const std::set<std::string> notNamed = {
      "#PB_Text_Center",          // needs both alignment bits, Center gives one
      "#PB_CheckBox_Center",      // same
      "#PB_Text_Border",          // the Text border bit differs from the one Text names
      "#PB_CheckBox_ThreeState",  // a CheckBox writes no ThreeState bit
  };
  const std::set<int> namingKinds = {-1, 1, 2, 3, 4, 8, 9, 11};
  int roundTrips = 0;
  for (int kind = -6; kind <= 34; ++kind) {
    for (const std::string& flag : SplitBars(KindFlagList(kind))) {
      uint64_t value = FlagValue(flag);
      if (value == 0) continue;
      auto names = SplitBars(FlagNames(value, kind));
      bool back = std::find(names.begin(), names.end(), flag) != names.end();
      bool expected = namingKinds.count(kind) && !notNamed.count(flag);
      EXPECT_EQ(back, expected) << "kind " << kind << " flag " << flag;
      roundTrips += back;
    }
  }
  // Window 12, Button 3, String 6, Text 1, CheckBox 1, ComboBox 3, Image 2, Container 5.
  EXPECT_EQ(roundTrips, 33);
  EXPECT_EQ(FlagNames(0x3000, 3), "#PB_Text_Center");
  EXPECT_EQ(FlagNames(0x3000, 4), "#PB_CheckBox_Center");
  EXPECT_EQ(FlagNames(0x80000000ULL, 3), "");
}

class VocabularyElements : public testing::ToolkitTest {
 protected:
  // A bare live record entered in the id tables.
  Element& AddRecord(int id) {
    auto rec = std::make_unique<Element>();
    rec->ID = id;
    Element* e = rec.get();
    tk.root.IDToAddress[id] = e;
    tk.root.AddressToID[e] = id;
    tk.root.Elements.push_back(std::move(rec));
    return *e;
  }
};

TEST_F(VocabularyElements, NameText) {
  Element& e = AddRecord(7);
  SetElementName(tk, 7, "Окно_0");
  EXPECT_EQ(e.Name, "Окно_0");
  EXPECT_EQ(GetElementName(tk, 7), "Окно_0");
  SetElementName(tk, 7, "");
  EXPECT_EQ(GetElementName(tk, 7), "");
}

TEST_F(VocabularyElements, FlagListKeepsOneEntryPerText) {
  Element& e = AddRecord(3);
  AddElementFlag(tk, 3, "#PB_Text_Border");
  AddElementFlag(tk, 3, "#PB_Text_Border");
  EXPECT_EQ(e.FlagList, "|#PB_Text_Border");
  AddElementFlag(tk, 3, "#pb_text_BORDER");
  AddElementFlag(tk, 3, "#PB_Text_Right");
  EXPECT_EQ(e.FlagList, "|#PB_Text_Border|#PB_Text_Right");
  EXPECT_EQ(GetElementFlagText(tk, 3), "#PB_Text_Border|#PB_Text_Right");
  // A text already contained in an entry counts as present.
  AddElementFlag(tk, 3, "Right");
  EXPECT_EQ(GetElementFlagText(tk, 3), "#PB_Text_Border|#PB_Text_Right");
  AddElementFlag(tk, 3, "");
  EXPECT_EQ(e.FlagList, "");
  EXPECT_EQ(GetElementFlagText(tk, 3), "");

  e.FlagList = "||#PB_Window_SystemMenu|";
  EXPECT_EQ(GetElementFlagText(tk, 3), "#PB_Window_SystemMenu");
  e.FlagList = "|||";
  EXPECT_EQ(GetElementFlagText(tk, 3), "");
}

TEST_F(VocabularyElements, EventListUsesSubstringPresence) {
  Element& e = AddRecord(4);
  AddElementEvent(tk, 4, "SizeWindow");
  AddElementEvent(tk, 4, "Size");
  EXPECT_EQ(e.EventList, "|SizeWindow");
  AddElementEvent(tk, 4, "LeftClick");
  AddElementEvent(tk, 4, "leftclick");
  AddElementEvent(tk, 4, "RightClick");
  EXPECT_EQ(GetElementEventText(tk, 4), "SizeWindow|LeftClick|RightClick");
  AddElementEvent(tk, 4, "");
  EXPECT_EQ(GetElementEventText(tk, 4), "");
  // The flag list is a separate text.
  EXPECT_EQ(e.FlagList, "");
}

TEST_F(VocabularyElements, AbsentOrDeadIdsAreNeutral) {
  Element& dead = AddRecord(9);
  dead.Name = "Kept";
  dead.FlagList = "|#PB_Text_Border";
  dead.Alive = 0;
  for (int id : {9, 12345, -1}) {
    SetElementName(tk, id, "X");
    AddElementFlag(tk, id, "#PB_Text_Right");
    AddElementEvent(tk, id, "LeftClick");
    EXPECT_EQ(GetElementName(tk, id), "");
    EXPECT_EQ(GetElementFlagText(tk, id), "");
    EXPECT_EQ(GetElementEventText(tk, id), "");
  }
  EXPECT_EQ(dead.Name, "Kept");
  EXPECT_EQ(dead.FlagList, "|#PB_Text_Border");
  EXPECT_EQ(dead.EventList, "");
}

}  // namespace
}  // namespace tk
