// The gadget kinds drawn as pictures of their controls: each made as the designer makes it, at
// its default size and larger, painted, and checked by a few telling pixels. The picture is
// saved for a person to look at.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "elements/field_kinds.h"
#include "elements/registry.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/looks.h"
#include "render/repaint.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

constexpr int kWindow = 1;

// 0xBBGGRR as the canvas reports it, 0xRRGGBB.
uint32_t Rgb(Color c) {
  return static_cast<uint32_t>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

class GadgetLooksTest : public testing::ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kWindow, 0, 0, 790, 560, "Looks", Flag::SystemMenu), kWindow);
  }
  // As the designer makes an element: automatic id, empty text, the designer's flags.
  int Make(ElementKind kind, int x, int y, int w, int h) {
    const int id =
        CreateElement(tk, kind, -1, x, y, w, h, "", -1, -1, 0, Flag::DesignerPlaced, kWindow);
    EXPECT_NE(FindElement(tk, id), nullptr);
    return id;
  }
  const Element& E(int id) { return *FindElement(tk, id); }
  uint32_t At(int x, int y) { return platform.CanvasPixel(x, y); }
  // Pixels of `color` in the inner rectangle's columns [x0, x1) and rows [y0, y1), relative
  // to its corner.
  int Count(int id, Color color, int x0, int y0, int x1, int y1) {
    const CoordBlock& in = E(id).Inner;
    int n = 0;
    for (int y = in.y0 + y0; y < in.y0 + y1; ++y)
      for (int x = in.x0 + x0; x < in.x0 + x1; ++x)
        n += At(x, y) == Rgb(color) ? 1 : 0;
    return n;
  }
  bool Dark(uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) < 0x80 && ((rgb >> 8) & 0xFF) < 0x80 && (rgb & 0xFF) < 0x80;
  }
};

TEST_F(GadgetLooksTest, EveryKindDrawsItsControlInsideItsFrame) {
  const std::vector<ElementKind> kinds = {
      ElementKind::Date,         ElementKind::Calendar,     ElementKind::ProgressBar,
      ElementKind::HyperLink,    ElementKind::IPAddress,    ElementKind::Tree,
      ElementKind::ButtonImage,  ElementKind::Canvas,       ElementKind::MDI,
      ElementKind::Web,          ElementKind::Scintilla,    ElementKind::Shortcut,
      ElementKind::ExplorerList, ElementKind::ExplorerTree, ElementKind::ExplorerCombo};
  // At the designer's default size, 130 x 25 (220 x 140 for an Image).
  std::map<ElementKind, int> small;
  for (size_t i = 0; i < kinds.size(); ++i)
    small[kinds[i]] = Make(kinds[i], 10 + static_cast<int>(i % 5) * 150,
                           10 + static_cast<int>(i / 5) * 40, 130, 25);
  const int image = Make(ElementKind::Image, 10, 130, 220, 140);
  // Larger, where more of the picture shows.
  const int calendar = Make(ElementKind::Calendar, 240, 130, 220, 160);
  const int tree = Make(ElementKind::Tree, 480, 130, 140, 140);
  const int scintilla = Make(ElementKind::Scintilla, 630, 130, 150, 140);
  const int explorerList = Make(ElementKind::ExplorerList, 10, 300, 220, 140);
  const int explorerTree = Make(ElementKind::ExplorerTree, 240, 300, 220, 140);
  const int mdi = Make(ElementKind::MDI, 480, 300, 140, 140);
  const int web = Make(ElementKind::Web, 630, 300, 150, 140);
  // A bar with a range and a value 90 % along it.
  const int fuller = Make(ElementKind::ProgressBar, 10, 460, 130, 25);
  FindElement(tk, fuller)->Max = 200;
  FindElement(tk, fuller)->Min = 100;
  SetElementState(tk, fuller, 190);
  // An image button with a 16 x 16 picture.
  const int picture = platform.Images().Create(platform::ImageStore::kAny, 16, 16, 24, 0x0000FF);
  ASSERT_GT(picture, 0);
  const int pictured = CreateElement(tk, ElementKind::ButtonImage, -1, 160, 460, 130, 25, "",
                                     picture, -1, 0, Flag::DesignerPlaced, kWindow);
  tk.root.DesignedElement = -1;
  Repaint(tk, kWindow, true);
  ASSERT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/gadget-looks.png"));

  // Nothing is drawn outside an element, nor over its frame: a ring two pixels out keeps the
  // window's face, and the lines just below and right of the inner rectangle stay even.
  const uint32_t face = At(148, 40);
  for (const auto& [kind, id] : small) {
    const CoordBlock& f = E(id).Frame;
    const CoordBlock& in = E(id).Inner;
    int spilled = 0, overdrawn = 0;
    for (int x = f.x0 - 2; x <= f.x0 + f.w0 + 1; ++x)
      spilled += (At(x, f.y0 - 2) != face) + (At(x, f.y0 + f.h0 + 1) != face);
    for (int y = f.y0 - 2; y <= f.y0 + f.h0 + 1; ++y)
      spilled += (At(f.x0 - 2, y) != face) + (At(f.x0 + f.w0 + 1, y) != face);
    for (int x = in.x0; x < in.x0 + in.w0; ++x)
      overdrawn += At(x, in.y0 + in.h0) != At(in.x0, in.y0 + in.h0);
    for (int y = in.y0; y < in.y0 + in.h0; ++y)
      overdrawn += At(in.x0 + in.w0, y) != At(in.x0 + in.w0, in.y0);
    EXPECT_EQ(spilled, 0) << "kind " << KindValue(kind);
    EXPECT_EQ(overdrawn, 0) << "kind " << KindValue(kind);
  }

  // The progress bar: filled left of the middle, the track right of it; with its value 90 %
  // along, filled right of the middle too.
  {
    const CoordBlock& in = E(small[ElementKind::ProgressBar]).Inner;
    EXPECT_EQ(At(in.x0 + in.w0 / 4, in.y0 + in.h0 / 2), Rgb(looks::kProgressFill));
    EXPECT_EQ(At(in.x0 + in.w0 * 3 / 4, in.y0 + in.h0 / 2), Rgb(looks::kProgressTrack));
    const CoordBlock& full = E(fuller).Inner;
    EXPECT_EQ(At(full.x0 + full.w0 * 85 / 100, full.y0 + full.h0 / 2), Rgb(looks::kProgressFill));
    EXPECT_EQ(At(full.x0 + full.w0 * 95 / 100, full.y0 + full.h0 / 2), Rgb(looks::kProgressTrack));
  }
  // The link: on the window's face, with an underline row in the link colour.
  {
    const int id = small[ElementKind::HyperLink];
    const CoordBlock& in = E(id).Inner;
    EXPECT_EQ(At(in.x0 + in.w0 - 2, in.y0 + 2), face);
    int longest = 0;
    for (int y = 0; y < in.h0; ++y)
      longest = std::max(longest, Count(id, looks::kLinkColor, 0, y, in.w0, y + 1));
    EXPECT_GE(longest, 40);
  }
  // The IP fields: a dot at each of the three boundaries between the four fields.
  {
    const CoordBlock& in = E(small[ElementKind::IPAddress]).Inner;
    for (int i = 1; i <= 3; ++i) {
      bool dot = false;
      for (int x = in.x0 + i * in.w0 / 4 - 2; x <= in.x0 + i * in.w0 / 4 + 1; ++x)
        for (int y = in.y0; y < in.y0 + in.h0; ++y)
          dot = dot || Dark(At(x, y));
      EXPECT_TRUE(dot) << "boundary " << i;
    }
  }
  // The date's drop arrow at the right, in the glyph colour.
  {
    const int id = small[ElementKind::Date];
    const int w = E(id).Inner.w0, h = E(id).Inner.h0;
    EXPECT_GT(Count(id, looks::kGlyphColor, w - 16, 0, w, h), 3);
    EXPECT_EQ(Count(id, looks::kGlyphColor, w / 2, 0, w - 16, h), 0);
  }
  // The calendar's grid: six lines between the seven days, down the lower part of the month.
  {
    const CoordBlock& in = E(calendar).Inner;
    int lines = 0;
    for (int x = 0; x < in.w0; ++x) {
      const int rows = in.h0 / 3;
      if (Count(calendar, looks::kGridLine, x, in.h0 - rows - 2, x + 1, in.h0 - 2) >= rows * 4 / 5)
        ++lines;
    }
    EXPECT_EQ(lines, 6);
  }
  // The tree: the first row's expander at the left, the second row's one level further in.
  {
    platform::Painter& measurer = platform.Measurer();
    measurer.SetFont(E(tree).FontID);
    const int rowH = measurer.TextHeight("Ag") + 3;
    EXPECT_GT(Count(tree, looks::kBlack, 0, 0, 16, rowH), 0);
    EXPECT_EQ(Count(tree, looks::kBlack, 0, rowH + 2, 16, 2 * rowH), 0);
    EXPECT_GT(Count(tree, looks::kBlack, 16, rowH + 2, 32, 2 * rowH), 0);
  }
  // Folder icons in the explorer's list, tree and combo box.
  for (int id : {explorerList, explorerTree, small[ElementKind::ExplorerCombo]})
    EXPECT_GT(Count(id, looks::kFolderFill, 0, 0, E(id).Inner.w0, E(id).Inner.h0), 50) << id;
  // The editor's line-number margin at the left, white text room beside it.
  {
    const int h = E(scintilla).Inner.h0;
    EXPECT_GT(Count(scintilla, looks::kMarginBack, 0, h - 10, 20, h), 150);
    EXPECT_EQ(Count(scintilla, looks::kMarginBack, 60, 0, E(scintilla).Inner.w0, h), 0);
  }
  // The MDI workspace around its child window; the web page's address bar and its link.
  EXPECT_GT(Count(mdi, looks::kWorkspace, 0, 120, 140, 130), 500);
  EXPECT_GT(Count(web, looks::kLinkColor, 0, 0, E(web).Inner.w0, E(web).Inner.h0), 50);
  EXPECT_GT(Count(small[ElementKind::Web], StartColor::Face, 0, 0, 130, 3), 100);
  // Without an image: the image button's empty sunken frame, the image's picture sign.
  EXPECT_GT(Count(small[ElementKind::ButtonImage], looks::kFrameShadow, 0, 0, 130, 25), 100);
  EXPECT_GT(Count(image, looks::kFrameShadow, 80, 40, 140, 100), 40);
  // With an image: the picture alone on the button, neither its text nor the empty frame.
  {
    const CoordBlock& in = E(pictured).Inner;
    EXPECT_GT(Count(pictured, 0x0000FF, 0, 0, in.w0, in.h0), 100);
    EXPECT_EQ(Count(pictured, looks::kDefaultFront, 0, 0, in.w0, in.h0), 0);
    EXPECT_EQ(Count(pictured, looks::kFrameShadow, 0, 0, in.w0, in.h0), 0);
  }
}

// Pointer and keys over every kind change nothing that could break: clicks, a double click,
// the wheel and typing reach each one without a crash.
TEST_F(GadgetLooksTest, ClicksAndKeysOnEveryKindAreHarmless) {
  InstallRender(tk);
  std::vector<int> ids;
  for (int kind = KindValue(ElementKind::Image); kind <= KindValue(ElementKind::Canvas); ++kind)
    ids.push_back(
        Make(static_cast<ElementKind>(kind), 10 + (kind % 5) * 150, 10 + (kind / 5) * 40, 130, 25));
  Repaint(tk, kWindow, true);
  for (int id : ids) {
    const Element* e = FindElement(tk, id);
    ASSERT_NE(e, nullptr);
    const int x = e->Frame.x0 + e->Frame.w0 / 2, y = e->Frame.y0 + e->Frame.h0 / 2;
    platform.InjectMove(x, y);
    platform.InjectClick(x, y);
    platform::NativeEvent ev;
    ev.x = x;
    ev.y = y;
    ev.type = platform::NativeEventType::LeftDoubleClick;
    platform.Inject(ev);
    ev.type = platform::NativeEventType::Wheel;
    ev.wheel = -1;
    platform.Inject(ev);
    ev.type = platform::NativeEventType::Input;
    ev.ch = U'x';
    platform.Inject(ev);
    ev.type = platform::NativeEventType::KeyDown;
    ev.keyCode = 0x2E;  // Delete
    platform.Inject(ev);
    PumpEvents(tk);
    EXPECT_NE(FindElement(tk, id), nullptr);
  }
}

// The texts these kinds show of their own values.
TEST_F(GadgetLooksTest, DateMasksAndShortcutsAreWrittenOut) {
  // 2023-11-14 22:13:20 UTC.
  EXPECT_EQ(FormatDateMask("%dd.%mm.%yyyy %hh:%ii:%ss", 1700000000), "14.11.2023 22:13:20");
  EXPECT_EQ(FormatDateMask("%yy/%mm, 100%", 1700000000), "23/11, 100%");
  EXPECT_EQ(FormatDateMask("%dd.%mm.%yyyy", -86400), "31.12.1969");
  EXPECT_EQ(FormatDateMask("%dd.%mm.%yyyy", INT64_MAX), "31.12.9999");
  EXPECT_EQ(FormatDateMask("%yyyy", INT64_MIN), "1601");
  EXPECT_EQ(ShortcutText(0), "None");
  EXPECT_EQ(ShortcutText(0x20000 | 'S'), "Ctrl + S");
  EXPECT_EQ(ShortcutText(0x10000 | 0x40000 | 0x71), "Shift + Alt + F2");
}

}  // namespace
}  // namespace tk
