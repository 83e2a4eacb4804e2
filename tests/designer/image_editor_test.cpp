// The image editor dialog, driven by native events: a test window holds the designed element
// and two buttons standing in for the property grid's "Image" and "BgImage" rows.
#include "designer/image_editor.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "elements/simple.h"
#include "requesters/requesters.h"
#include "tests/requesters/requester_fixture.h"

namespace tk::testing {
namespace {

namespace fs = std::filesystem;
namespace Key = platform::Key;

// A 48 x 32 picture: a blue frame around a yellow field crossed by two red lines.
constexpr uint8_t kPicture[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x30, 0x00, 0x00, 0x00, 0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0xDB, 0xB6, 0x6C,
    0x4B, 0x00, 0x00, 0x00, 0xDD, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0xED, 0x98, 0xDB, 0x0D, 0x80,
    0x20, 0x0C, 0x45, 0x19, 0xC5, 0x11, 0x1C, 0x81, 0x11, 0x1D, 0xC9, 0x11, 0x1C, 0xC5, 0x11, 0xFC,
    0x33, 0x0A, 0x05, 0xDA, 0xDB, 0x47, 0x88, 0x31, 0xE9, 0x97, 0xC2, 0xE5, 0x70, 0xE5, 0xD1, 0x9A,
    0x96, 0xBC, 0x4D, 0x15, 0x69, 0x52, 0xA0, 0x63, 0x5D, 0xEE, 0x38, 0xF7, 0x1C, 0x16, 0xCF, 0x71,
    0x5F, 0x40, 0xC5, 0xBB, 0x00, 0xAC, 0x7A, 0xB8, 0x12, 0xA8, 0x6E, 0x17, 0x43, 0x73, 0x3F, 0xA4,
    0x81, 0xBC, 0xAD, 0xEA, 0x88, 0x37, 0x81, 0xFC, 0xAC, 0xEA, 0x6B, 0x0E, 0x80, 0x6C, 0xAD, 0xE2,
    0x48, 0x8D, 0x81, 0xAC, 0xAC, 0x62, 0x2A, 0x70, 0x81, 0x34, 0x56, 0x89, 0x3A, 0x0A, 0x80, 0x30,
    0xAB, 0xA4, 0xED, 0xC5, 0x40, 0xFC, 0x19, 0x63, 0x8E, 0x22, 0x40, 0x9C, 0xA9, 0xC3, 0x6B, 0x0E,
    0x07, 0x6A, 0x79, 0xA0, 0xDC, 0x95, 0x2A, 0x20, 0x92, 0x40, 0xB9, 0x19, 0x0D, 0x80, 0x48, 0x26,
    0x58, 0xEA, 0x73, 0x40, 0xAD, 0xEF, 0x05, 0x63, 0x99, 0x2D, 0x6A, 0xAB, 0x63, 0x1D, 0x04, 0x1A,
    0x3A, 0x01, 0x5B, 0xA5, 0x3D, 0x18, 0x6D, 0x8F, 0x69, 0x31, 0x10, 0x30, 0x6F, 0x69, 0x17, 0xF0,
    0x72, 0x75, 0xBA, 0xEA, 0xB9, 0x40, 0x26, 0x5B, 0x9A, 0x29, 0x22, 0x4B, 0xD0, 0xBC, 0xD3, 0xC5,
    0x01, 0x90, 0x53, 0x5A, 0xDD, 0x97, 0x65, 0x25, 0xF9, 0x61, 0x25, 0x07, 0x0D, 0x14, 0x56, 0x9A,
    0x91, 0x03, 0xF5, 0x0A, 0xC5, 0xF8, 0xB2, 0xB5, 0x04, 0x9A, 0xAE, 0x94, 0xFE, 0xFF, 0x7E, 0x34,
    0xE3, 0x02, 0xD4, 0x0C, 0xAA, 0x48, 0x88, 0x1D, 0x5A, 0x46, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45,
    0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
constexpr int kPictureWidth = 48, kPictureHeight = 32;

constexpr int kDesigned = 10, kImageRow = 11, kBgImageRow = 12;
constexpr int kDesignedWidth = 100, kDesignedHeight = 30;

class ImageEditorTest : public RequesterTest {
 protected:
  void SetUp() override {
    RequesterTest::SetUp();
    std::string templ = (fs::temp_directory_path() / "imgedit-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir = templ;
    picture = (dir / "picture.png").string();
    std::ofstream(picture, std::ios::binary)
        .write(reinterpret_cast<const char*>(kPicture), sizeof kPicture);
    std::ofstream(dir / "broken.png") << "not a picture";

    Button(tk, kDesigned, 20, 20, kDesignedWidth, kDesignedHeight, "Designed", 0, kMain);
    Button(tk, kImageRow, 20, 400, 150, 22, "Image row", 0, kMain);
    Button(tk, kBgImageRow, 200, 400, 150, 22, "BgImage row", 0, kMain);
    editor.imageRow = kImageRow;
    editor.bgImageRow = kBgImageRow;
    // The rows open the dialog as the designer's panel does.
    BindCallback(tk, MakeHandler([this](EventCode, int) {
                   const int row = tk.root.Event.EventElement;
                   if (row == kImageRow || row == kBgImageRow)
                     designer::OpenImageEditor(tk, editor, kMain, &handed, Flag::WindowCentered);
                   return 1;
                 }),
                 kMain, -1, ElementEvent::LeftClick);
    tk.root.DesignedElement = kDesigned;
    // Steps run only inside a requester's loop; whatever none took is dropped after each
    // action, so a question that never came leaves nothing for the next requester.
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
    RequesterTest::TearDown();
  }

  // Acts, lets every requester it opens take the steps, and says whether one took any.
  bool Act(int element, std::function<void()> inside) {
    DropSteps();
    Then(std::move(inside));
    Click(element);
    PumpEvents(tk);
    return DropSteps();
  }
  void OpenFrom(int row) {
    Click(row);
    PumpEvents(tk);
    ASSERT_GT(editor.window, 0);
    ASSERT_NE(FindElement(tk, editor.window), nullptr);
    opened = editor.window;
  }
  // Presses Load and answers the open requester with a typed path and Return (or Escape
  // when the path is empty).
  void LoadThrough(const std::string& path) {
    EXPECT_TRUE(Act(editor.load, [this, path] {
      if (path.empty()) {
        Press(Key::Escape);
        return;
      }
      Type(std::u32string(path.begin(), path.end()));
      Press(Key::Return);
    }));
  }
  // Presses Apply; `answer` runs inside the resize question when one opens.
  bool ApplyAnswering(std::function<void()> answer) { return Act(editor.apply, std::move(answer)); }
  int Preview() { return static_cast<int>(GetElementState(tk, editor.preview)); }
  Element& Designed() { return *FindElement(tk, kDesigned); }
  // The dialog and its elements are gone and nothing stays on top.
  bool DialogClosed() {
    for (const auto& e : tk.root.Elements)
      if (e->ID == opened || e->WindowID == opened) return false;
    return editor.window == -1 && tk.root.StickyWindow == -1;
  }

  fs::path dir;
  std::string picture;
  designer::ImageEditor editor;
  int handed = -1;
  int opened = -1;  // the dialog's window, kept after it closes
};

TEST_F(ImageEditorTest, OpensAsAFixedDialogOnTopOfItsParent) {
  OpenFrom(kImageRow);
  const Element& window = *FindElement(tk, editor.window);
  const Element& main = *FindElement(tk, kMain);
  EXPECT_EQ(GetElementText(tk, editor.window), "Редактор изображения");
  // A window asked for 346 x 176 inside (its sizing border widens the frame).
  EXPECT_EQ(window.Frame.w0, 346 + 2 * window.FrameWidth + 2);
  EXPECT_EQ(window.Frame.h0, 176 + tk.root.CaptionHeightDefault + 2 * window.FrameWidth + 2);
  // Centred over its parent.
  EXPECT_EQ(window.Frame.x0, main.Inner.x0 + (ElementWidth(tk, kMain) - 346) / 2);
  EXPECT_EQ(window.Frame.y0, main.Inner.y0 + (ElementHeight(tk, kMain) - 176) / 2);
  EXPECT_TRUE(HasAll(window.Flags, Flag::SystemMenu | MakeFlags(0, 0x3C000)));
  EXPECT_EQ(window.Hidden, 0);
  EXPECT_EQ(tk.root.StickyWindow, editor.window);
  EXPECT_EQ(editor.openedFrom, kImageRow);
  EXPECT_EQ(handed, 0);  // nothing chosen yet
  struct Place {
    int id, x, y, w, h;
    const char* text;
  };
  for (const Place& p :
       {Place{editor.preview, 5, 5, 231, 166, ""}, Place{editor.load, 240, 5, 101, 21, "Загрузить"},
        Place{editor.apply, 240, 125, 101, 21, "Применить"},
        Place{editor.cancel, 240, 150, 101, 21, "Отмена"}}) {
    const Element& e = *FindElement(tk, p.id);
    EXPECT_EQ(e.ParentID, editor.window);
    EXPECT_EQ(e.Frame.x0 - window.Inner.x0, p.x) << p.text;
    EXPECT_EQ(e.Frame.y0 - window.Inner.y0, p.y) << p.text;
    EXPECT_EQ(e.Frame.w0, p.w) << p.text;
    EXPECT_EQ(e.Frame.h0, p.h) << p.text;
    EXPECT_EQ(GetElementText(tk, p.id), p.text);
    EXPECT_EQ(e.Hidden, 0) << p.text;
  }
  EXPECT_EQ(FindElement(tk, editor.preview)->Kind, ElementKind::Image);

  // The close box closes it.
  const int boxX = window.Frame.x0 + window.Frame.w0 - 24, boxY = window.Frame.y0 + 16;
  platform.InjectMove(boxX, boxY);
  platform.InjectClick(boxX, boxY);
  PumpEvents(tk);
  EXPECT_TRUE(DialogClosed());
  EXPECT_FALSE(tk.loop.CloseRequested);
}

TEST_F(ImageEditorTest, LoadedPictureResizesOnYesAndKeepsTheSizeOnNo) {
  OpenFrom(kImageRow);
  LoadThrough(picture);
  const int image = Preview();
  ASSERT_GT(image, 0);
  EXPECT_EQ(editor.lastImage, image);
  EXPECT_EQ(editor.path, picture);
  EXPECT_EQ(platform.Images().Width(image), kPictureWidth);
  EXPECT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/image_editor_snapshot.png"));

  // Yes: the element loses its text and fits the picture.
  EXPECT_TRUE(ApplyAnswering([this] { Press(Key::Return); }));
  EXPECT_TRUE(DialogClosed());
  EXPECT_EQ(Designed().Image, image);
  EXPECT_EQ(ElementWidth(tk, kDesigned), kPictureWidth + 9);
  EXPECT_EQ(ElementHeight(tk, kDesigned), kPictureHeight + 9);
  EXPECT_EQ(GetElementText(tk, kDesigned), "");
  EXPECT_EQ(GetElementText(tk, kImageRow), picture);
  EXPECT_EQ(ImagePathOf(tk.root, image), picture);

  // No: the picture is taken, the size and text stay. The reopened dialog hands over the
  // picture chosen last and starts with an empty preview.
  ResizeElementById(tk, kDesigned, kIgnore, kIgnore, kDesignedWidth, kDesignedHeight);
  SetElementText(tk, kDesigned, "Designed");
  OpenFrom(kImageRow);
  EXPECT_EQ(handed, image);
  EXPECT_EQ(Preview(), 0);
  LoadThrough(picture);
  const int again = Preview();
  ASSERT_GT(again, 0);
  EXPECT_TRUE(ApplyAnswering([this] { Click(Part(4)); }));  // "No"
  EXPECT_EQ(Designed().Image, again);
  EXPECT_EQ(ElementWidth(tk, kDesigned), kDesignedWidth);
  EXPECT_EQ(ElementHeight(tk, kDesigned), kDesignedHeight);
  EXPECT_EQ(GetElementText(tk, kDesigned), "Designed");
  EXPECT_EQ(ImagePathOf(tk.root, again), picture);
}

TEST_F(ImageEditorTest, BgImageRowSetsTheBackgroundWithoutAsking) {
  OpenFrom(kBgImageRow);
  LoadThrough(picture);
  const int image = Preview();
  ASSERT_GT(image, 0);
  EXPECT_FALSE(ApplyAnswering([this] { Press(Key::Return); }));
  EXPECT_TRUE(DialogClosed());
  EXPECT_EQ(Designed().BackImage, image);
  EXPECT_NE(Designed().Image, image);
  EXPECT_EQ(ElementWidth(tk, kDesigned), kDesignedWidth);
  EXPECT_EQ(GetElementText(tk, kDesigned), "Designed");
  EXPECT_EQ(GetElementText(tk, kBgImageRow), picture);
  EXPECT_EQ(GetElementText(tk, kImageRow), "Image row");
  EXPECT_EQ(ImagePathOf(tk.root, image), picture);
}

TEST_F(ImageEditorTest, EdgeCases) {
  // Applying without loading applies the empty preview: the element holds no picture.
  SetElementImage(tk, kDesigned, 77);
  OpenFrom(kImageRow);
  EXPECT_FALSE(ApplyAnswering([this] { Press(Key::Return); }));
  EXPECT_TRUE(DialogClosed());
  EXPECT_EQ(Designed().Image, 0);
  EXPECT_EQ(ElementWidth(tk, kDesigned), kDesignedWidth);
  EXPECT_EQ(GetElementText(tk, kDesigned), "Designed");
  EXPECT_EQ(GetElementText(tk, kImageRow), "");
  EXPECT_TRUE(tk.root.ImagePaths.empty());

  // A cancelled requester and a file that does not decode leave the preview and the path.
  OpenFrom(kImageRow);
  LoadThrough(picture);
  const int image = Preview();
  ASSERT_GT(image, 0);
  LoadThrough("");
  LoadThrough((dir / "broken.png").string());
  EXPECT_EQ(Preview(), image);
  EXPECT_EQ(editor.lastImage, image);
  EXPECT_EQ(editor.path, picture);

  // Cancelling leaves the element unchanged.
  Click(editor.cancel);
  PumpEvents(tk);
  EXPECT_TRUE(DialogClosed());
  EXPECT_EQ(Designed().Image, 0);
  EXPECT_EQ(Designed().BackImage, 0);
  EXPECT_EQ(GetElementText(tk, kImageRow), "");
  EXPECT_TRUE(tk.root.ImagePaths.empty());

  // An element as wide as the picture is never asked about.
  ResizeElementById(tk, kDesigned, kIgnore, kIgnore, kPictureWidth, kDesignedHeight);
  OpenFrom(kImageRow);
  LoadThrough(picture);
  const int same = Preview();
  EXPECT_FALSE(ApplyAnswering([this] { Press(Key::Return); }));
  EXPECT_EQ(Designed().Image, same);
  EXPECT_EQ(ElementHeight(tk, kDesigned), kDesignedHeight);
  EXPECT_EQ(GetElementText(tk, kDesigned), "Designed");

  // With no designed element nothing is given to any element.
  tk.root.DesignedElement = -1;
  OpenFrom(kBgImageRow);
  LoadThrough(picture);
  const int loose = Preview();
  ASSERT_GT(loose, 0);
  EXPECT_FALSE(ApplyAnswering([this] { Press(Key::Return); }));
  EXPECT_TRUE(DialogClosed());
  for (const auto& e : tk.root.Elements)
    EXPECT_TRUE(e->Image != loose && e->BackImage != loose) << e->ID;
  EXPECT_EQ(GetElementText(tk, kBgImageRow), "BgImage row");
}

}  // namespace
}  // namespace tk::testing
