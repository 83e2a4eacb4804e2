// The code generator: the whole text for a small form, byte for byte, and the sections and
// creation arguments that depend on names, images, settings, kinds and events.
#include "codegen/generator.h"

#include <gtest/gtest.h>
#include <png.h>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <cstdio>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/panel.h"
#include "elements/registry.h"
#include "elements/scrollarea.h"
#include "elements/scrollbar.h"
#include "elements/simple.h"
#include "elements/splitter.h"
#include "elements/window.h"
#include "elements/zorder.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

constexpr int kMain = 1, kSurface = 2, kCode = 3;

// Image bytes made here, so no sample file is needed.
std::vector<uint8_t> PngBytes() {
  const std::vector<uint8_t> rgba = {255, 0, 0, 255, 0, 255, 0, 255};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::vector<uint8_t> out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
  out.resize(size);
  return out;
}

std::vector<uint8_t> JpegBytes() {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = 4;
  info.image_height = 4;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(4 * 3, 200);
  while (info.next_scanline < info.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  free(buffer);
  return out;
}

// A 1 x 1 bitmap: file header, information header, one padded 24-bit row.
std::vector<uint8_t> BmpBytes() {
  return {'B', 'M', 58, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0, 0, 40, 0,  0,  0, 1, 0,
          0,   0,   1,  0, 0, 0, 1, 0, 24, 0, 0,  0, 0, 0, 4,  0,  0,  0, 0, 0,
          0,   0,   0,  0, 0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 10, 20, 30, 0};
}

// A 1 x 1 uncompressed true-colour TGA.
std::vector<uint8_t> TgaBytes() {
  return {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 10, 20, 30};
}

// The designer's arrangement: a main window holding the design surface, a panel whose
// first page (Form) holds the user's windows and whose second page (Code) holds the code
// element.
class GeneratorTest : public ToolkitTest {
 protected:
  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kMain, 0, 0, 780, 560, "Designer", Flag::SystemMenu), kMain);
    ASSERT_EQ(Panel(tk, kSurface, 0, 0, 760, 520, 0, kMain), kSurface);
    AddTab(tk, kSurface, -1, "Form");
    AddTab(tk, kSurface, -1, "Code");
    OpenList(tk, kSurface, 1);
    ASSERT_EQ(tk::Editor(tk, kCode, 0, 0, 600, 400, "old text"), kCode);
    CloseList(tk);
    CloseList(tk);
  }

  // A form window at (x, y) on the Form page with a client area w x h.
  int FormWindow(int id, int x, int y, int w, int h, const std::string& title) {
    const int made = tk::Window(tk, id, 0, 0, w, h, title, Flag::SystemMenu, kSurface);
    ResizeElement(tk, E(made), x, y, kIgnore, kIgnore, CoordMode::Parent);
    return made;
  }

  // A gadget of a kind without a creation procedure of its own, inside `parent`.
  int Gadget(ElementKind kind, int id, int parent, int x, int y, int w, int h,
             const std::string& text = "", int param1 = -1, int param2 = -1, int param3 = 0) {
    return CreateElement(tk, kind, id, x, y, w, h, text, param1, param2, param3, 0, parent);
  }

  Element& E(int id) { return *FindElement(tk, id); }
  std::string Code() { return FormCodeText(tk, kSurface); }

  // The line of the text that contains `needle`, without its line end; "" when none does.
  std::string LineWith(const std::string& text, const std::string& needle) {
    const size_t at = text.find(needle);
    if (at == std::string::npos) return "";
    const size_t start = text.rfind("\r\n", at);
    const size_t begin = start == std::string::npos ? 0 : start + 2;
    return text.substr(begin, text.find("\r\n", at) - begin);
  }

  static int Count(const std::string& text, const std::string& needle) {
    int n = 0;
    for (size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size()))
      ++n;
    return n;
  }
};

// Turns "\n" into "\r\n" so the expected texts can be written as plain literals.
std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST_F(GeneratorTest, SmallFormIsWrittenByteForByte) {
  const std::vector<uint8_t> png = PngBytes();
  ASSERT_EQ(platform.Images().DecodePng(3, png.data(), png.size()), 3);
  RememberImagePath(tk.root, 3, "D:\\img\\logo.png");

  const int window = FormWindow(10, 10, 10, 320, 240, "Window_0");
  AddElementFlag(tk, window, "#PB_Window_SystemMenu");
  const int button = Button(tk, 11, 10, 10, 80, 25, "OK", 0, window);
  AddElementEvent(tk, button, "LeftClick");
  const int text = tk::Text(tk, 12, 10, 50, 120, 20, "Name:", 0, window);
  SetElementName(tk, text, "#Text_0");
  E(text).ToolTip = "Hint";
  const int image = Gadget(ElementKind::Image, 13, window, 140, 10, 64, 64, "", 3);
  ASSERT_EQ(E(window).Name, "Window_0");
  ASSERT_EQ(E(button).Name, "Button_0");
  ASSERT_EQ(E(image).Name, "Image_0");

  const std::string expected = Crlf(
      "EnableExplicit\n"
      "\n"
      "UsePNGImageDecoder()\n"
      "LoadImage(3, \"D:\\img\\logo.png\")\n"
      "Define Event\n"
      "\n"
      "Global Window_0=-1\n"
      "\n"
      "Global Button_0=-1\n"
      "Global Image_0=-1\n"
      "Enumeration FormGadget\n"
      "  #Text_0\n"
      "EndEnumeration\n"
      "\n"
      "Procedure Button_0__Gadget_Event( )\n"
      "  Protected Window = EventWindow( )\n"
      "  Protected Gadget = EventGadget( )\n"
      "  Protected Type = EventType( )\n"
      "  \n"
      "EndProcedure \n"
      "\n"
      "Procedure Open_Window_0()\n"
      "  Window_0 = OpenWindow(#PB_Any, 10, 10, 320, 240, \"Window_0\", #PB_Window_SystemMenu)\n"
      "  Button_0 = ButtonGadget(#PB_Any, 10, 10, 80, 25, \"OK\")\n"
      "  TextGadget(#Text_0, 10, 50, 120, 20, \"Name:\")\n"
      "  Image_0 = ImageGadget(#PB_Any, 140, 10, 64, 64, ImageID(3))\n"
      "\n"
      "  GadgetToolTip(#Text_0, \"Hint\")\n"
      "EndProcedure\n"
      "\n"
      "CompilerIf #PB_Compiler_IsMainFile\n"
      "  Open_Window_0()\n"
      "\n"
      "  While IsWindow(Window_0)\n"
      "    Event = WaitWindowEvent()\n"
      "\n"
      "    Select Event\n"
      "       Case #PB_Event_CloseWindow\n"
      "         CloseWindow(EventWindow())\n"
      "    EndSelect\n"
      "\n"
      "    Select EventWindow()\n"
      "      Case Window_0\n"
      "    EndSelect\n"
      "  Wend\n"
      "\n"
      "  End\n"
      "CompilerEndIf\n"
      "\n"
      "\n");
  EXPECT_EQ(Code(), expected);

  // The generator only reads the tree: a second run gives the same text, and the code
  // element receives it.
  GenerateFormCode(tk, kSurface, kCode);
  EXPECT_EQ(GetElementText(tk, kCode), expected);
  EXPECT_EQ(Code(), expected);
}

TEST_F(GeneratorTest, SurfacesWithoutWindowsOrWithoutChildren) {
  // Only the code element below the surface: the fixed lines alone. After "Define Event"
  // come its own empty line, the empty lines closing the two (empty) identifier sections and
  // the two empty lines that end every text.
  const std::string fixed = Crlf("EnableExplicit\n\nDefine Event\n\n\n\n\n\n");
  EXPECT_EQ(Code(), fixed);

  // An element outside the surface and one on the Code page are not part of the form.
  tk::Button(tk, 20, 600, 530, 50, 20, "Out", 0, kMain);
  OpenList(tk, kSurface, 1);
  tk::Button(tk, 21, 10, 10, 50, 20, "Page 2");
  CloseList(tk);
  CloseList(tk);
  EXPECT_EQ(Code(), fixed);

  // A surface with no children, or no surface at all, produces nothing and leaves the code
  // element alone.
  const int empty = Panel(tk, 30, 0, 0, 100, 100, 0, kMain);
  EXPECT_EQ(FormCodeText(tk, empty), "");
  GenerateFormCode(tk, empty, kCode);
  EXPECT_EQ(GetElementText(tk, kCode), "old text");
  EXPECT_EQ(FormCodeText(tk, 999), "");
  GenerateFormCode(tk, 999, kCode);
  EXPECT_EQ(GetElementText(tk, kCode), "old text");
  // A code element that does not exist is no failure either.
  GenerateFormCode(tk, kSurface, 998);
}

TEST_F(GeneratorTest, IdentifierSections) {
  // Only variable names: Global lines, no Enumeration block, the empty lines still there.
  const int w = FormWindow(10, 0, 0, 200, 100, "A");
  tk::Button(tk, 11, 0, 0, 10, 10, "a", 0, w);
  tk::Button(tk, 12, 0, 20, 10, 10, "b", 0, w);
  std::string code = Code();
  EXPECT_NE(code.find(Crlf("Define Event\n\nGlobal Window_0=-1\n\nGlobal Button_0=-1\n"
                           "Global Button_1=-1\n\nProcedure Open_Window_0()\n")),
            std::string::npos)
      << code;
  EXPECT_EQ(code.find("Enumeration"), std::string::npos);

  // Several constants: each on its own line, two spaces in, between the Enumeration line and
  // EndEnumeration; variables keep their Global lines before the block. A trailing "#" also
  // makes a constant, and the procedure is named from the bare name.
  SetElementName(tk, w, "#Main#");
  SetElementName(tk, 11, "#Ok");
  SetElementName(tk, 12, "Cancel#");
  tk::Text(tk, 13, 0, 40, 10, 10, "c", 0, w);
  const int w2 = FormWindow(20, 300, 0, 200, 100, "B");
  SetElementName(tk, w2, "#Second");
  code = Code();
  EXPECT_NE(code.find(Crlf("Define Event\n\nEnumeration FormWindow\n  #Main#\n  #Second\n"
                           "EndEnumeration\n\nGlobal Text_0=-1\nEnumeration FormGadget\n"
                           "  #Ok\n  Cancel#\nEndEnumeration\n\nProcedure Open_Main()\n")),
            std::string::npos)
      << code;
  EXPECT_NE(code.find("  OpenWindow(#Main#, "), std::string::npos);
  EXPECT_NE(code.find("  ButtonGadget(#Ok, "), std::string::npos);
  EXPECT_NE(code.find("  Text_0 = TextGadget(#PB_Any, "), std::string::npos);
  EXPECT_NE(code.find("Procedure Open_Second()"), std::string::npos);
  EXPECT_NE(code.find("  Open_Main()\r\n\r\n  While IsWindow(#Main#)"), std::string::npos);
}

TEST_F(GeneratorTest, ImageLoadingAndDecoderLines) {
  const std::vector<uint8_t> jpeg = JpegBytes(), bmp = BmpBytes(), tga = TgaBytes();
  std::string error;
  ASSERT_EQ(platform.Images().DecodeImage(4, jpeg.data(), jpeg.size(), &error), 4) << error;
  ASSERT_EQ(platform.Images().DecodeImage(5, jpeg.data(), jpeg.size(), &error), 5) << error;
  ASSERT_EQ(platform.Images().DecodeImage(6, bmp.data(), bmp.size(), &error), 6) << error;
  ASSERT_EQ(platform.Images().DecodeImage(7, tga.data(), tga.size(), &error), 7) << error;
  RememberImagePath(tk.root, 4, "a.jpg");
  RememberImagePath(tk.root, 5, "C:\\b.jpeg");
  RememberImagePath(tk.root, 6, "c.bmp");
  // Image 7 has no recorded path.

  const int w = FormWindow(10, 0, 0, 300, 200, "W");
  Gadget(ElementKind::Image, 11, w, 0, 0, 10, 10, "", 4);
  Gadget(ElementKind::ButtonImage, 12, w, 0, 20, 10, 10, "", 5);
  Gadget(ElementKind::Image, 13, w, 0, 40, 10, 10, "", 6);
  Gadget(ElementKind::Image, 14, w, 0, 60, 10, 10, "", 4);  // the same image again
  Gadget(ElementKind::Image, 15, w, 0, 80, 10, 10, "", 7);
  Gadget(ElementKind::Image, 16, w, 0, 100, 10, 10, "", 99);  // not a loaded image
  // The empty picture, though the store holds the grey glyph under number 0.
  ASSERT_EQ(platform.Images().DecodeImage(0, bmp.data(), bmp.size(), &error), 0) << error;
  Gadget(ElementKind::ButtonImage, 17, w, 0, 120, 10, 10, "", 0);

  const std::string images = Crlf(
      "EnableExplicit\n\n"
      "UseJPEGImageDecoder()\n"
      "LoadImage(4, \"a.jpg\")\n"
      "LoadImage(5, \"C:\\b.jpeg\")\n"
      "LoadImage(6, \"c.bmp\")\n"
      "LoadImage(4, \"a.jpg\")\n"
      "UseTGAImageDecoder()\n"
      "LoadImage(7, \"\")\n"
      "Define Event\n");
  std::string code = Code();
  EXPECT_EQ(code.substr(0, images.size()), images);
  // The decoder memory is cleared for every run: the next text has its lines again.
  EXPECT_EQ(Code(), code);

  EXPECT_NE(code.find("ButtonImageGadget(#PB_Any, 0, 20, 10, 10, ImageID(5))"), std::string::npos);
  EXPECT_NE(code.find("ImageGadget(#PB_Any, 0, 100, 10, 10, 0)"), std::string::npos) << code;
  EXPECT_NE(code.find("ButtonImageGadget(#PB_Any, 0, 120, 10, 10, 0)"), std::string::npos) << code;

  // Images on another page of the surface (the designer's own) are not loaded; an image on a
  // later tab of a form's panel is, like that of any gadget whose line is written.
  OpenList(tk, kSurface, 1);
  Gadget(ElementKind::Image, 20, -1, 0, 0, 10, 10, "", 6);
  CloseList(tk);
  CloseList(tk);
  const int inner = Panel(tk, 30, 0, 150, 100, 40, 0, w);
  AddTab(tk, inner, -1, "P0");
  AddTab(tk, inner, -1, "P1");
  OpenList(tk, inner, 1);
  const int onPage = Gadget(ElementKind::Image, 31, -1, 0, 0, 10, 10, "", 6);
  CloseList(tk);
  CloseList(tk);
  ASSERT_EQ(E(onPage).TabIndex, 1);
  code = Code();
  const std::string define = "Define Event\r\n";
  const std::string withTab =
      images.substr(0, images.size() - define.size()) + "LoadImage(6, \"c.bmp\")\r\n" + define;
  EXPECT_EQ(code.substr(0, withTab.size()), withTab) << code;
  EXPECT_NE(code.find("Image_0 = ImageGadget(#PB_Any, 0, 0, 10, 10, ImageID(6))"),
            std::string::npos);

  // The path table is what the LoadImage lines name; an empty path forgets the entry.
  EXPECT_EQ(ImagePathOf(tk.root, 5), "C:\\b.jpeg");
  RememberImagePath(tk.root, 5, "");
  EXPECT_EQ(ImagePathOf(tk.root, 5), "");
  EXPECT_NE(Code().find("LoadImage(4, \"a.jpg\")\r\nLoadImage(5, \"\")\r\n"), std::string::npos);
}

// Text typed into a form element's own field can hold quotes and line breaks; its creation
// line stays one line with a string PureBasic reads.
TEST_F(GeneratorTest, ATextWithQuotesAndLineBreaksStaysOneStringLine) {
  const int w = FormWindow(10, 0, 0, 300, 200, "W");
  Gadget(ElementKind::Text, 11, w, 0, 0, 100, 20, "two\r\nlines \"quoted\"\n");
  EXPECT_EQ(LineWith(Code(), "TextGadget("),
            "  Text_0 = TextGadget(#PB_Any, 0, 0, 100, 20, \"two lines quoted\")");
}

TEST_F(GeneratorTest, SettingsAfterTheCreationLines) {
  const int w = FormWindow(10, 0, 0, 300, 200, "W");
  FormWindow(20, 400, 0, 100, 100, "Other");
  const int hidden = tk::Button(tk, 11, 0, 0, 10, 10, "h", 0, w);
  SetElementName(tk, hidden, "#Name");
  HideElement(tk, hidden, 1);
  const int disabled = tk::Button(tk, 12, 0, 20, 10, 10, "d", 0, w);
  DisableElement(tk, disabled, 1);
  const int coloured = tk::Text(tk, 13, 0, 40, 10, 10, "c", 0, w);
  SetElementColor(tk, coloured, Attribute::FrontColor, 65280);
  SetElementColor(tk, coloured, Attribute::BackColor, -1);
  E(coloured).ToolTip = "Tip \"quoted\"";
  // A colour that was never set writes nothing, whatever its value.
  E(disabled).FrontColor = 0x123456;
  StickyWindow(tk, w, 1);
  ASSERT_EQ(tk.root.StickyWindow, w);

  const std::string code = Code();
  EXPECT_NE(code.find(Crlf("  Text_0 = TextGadget(#PB_Any, 0, 40, 10, 10, \"c\")\n"
                           "  StickyWindow(Window_0, #True)\n"
                           "\n"
                           "  HideGadget(#Name, #True)\n"
                           "  DisableGadget(Button_1, #True)\n"
                           "  GadgetToolTip(Text_0, \"Tip \"quoted\"\")\n"
                           "  SetGadgetAttribute(Text_0, #PB_Gadget_FrontColor, $FF00)\n"
                           "  SetGadgetAttribute(Text_0, #PB_Gadget_BackColor, "
                           "$FFFFFFFFFFFFFFFF)\n"
                           "EndProcedure\n")),
            std::string::npos)
      << code;
  EXPECT_EQ(Count(code, "StickyWindow("), 1);
  EXPECT_EQ(Count(code, "$123456"), 0);
  // The other window is neither sticky nor carries the settings of the first.
  const size_t open1 = code.find("Procedure Open_Window_1()");
  const std::string procedure = code.substr(open1, code.find("EndProcedure", open1) - open1);
  EXPECT_EQ(procedure.find("HideGadget"), std::string::npos);
  EXPECT_EQ(procedure.find("StickyWindow"), std::string::npos);
}

TEST_F(GeneratorTest, CreationArgumentsByKind) {
  const int w = FormWindow(10, 0, 0, 400, 300, "W");
  const int spin = Gadget(ElementKind::Spin, 11, w, 5, 5, 60, 20, "", 0, 100);
  AddElementFlag(tk, spin, "#PB_Spin_Numeric");
  const int spin2 = Gadget(ElementKind::Spin, 12, w, 5, 30, 60, 20, "", 0, 0);
  E(spin2).SpinMin = -0.5f;
  E(spin2).SpinMax = 2.5f;
  const int bar = ScrollBar(tk, 13, 5, 60, 100, 17, 0, 50, 10, 0, w);
  AddElementFlag(tk, bar, "#PB_ScrollBar_Vertical");
  const int progress = Gadget(ElementKind::ProgressBar, 14, w, 5, 80, 100, 17, "", 0, 0);
  E(progress).Min = 3;
  E(progress).Max = 70;
  const int track = Gadget(ElementKind::TrackBar, 15, w, 5, 100, 100, 17, "", 0, 20);
  const int list = Gadget(ElementKind::ListIcon, 16, w, 5, 120, 100, 50, "Column");
  E(list).FirstColumnWidth = 120;
  const int link = Gadget(ElementKind::HyperLink, 17, w, 5, 180, 100, 17, "Site");
  E(link).BackColor = 0xFF0000;
  const int date = Gadget(ElementKind::Date, 18, w, 120, 5, 100, 20, "%yyyy");
  E(date).DateValue = 1700000000;
  const int calendar = Gadget(ElementKind::Calendar, 19, w, 120, 30, 100, 20);
  E(calendar).DateValue = -5;
  const int scintilla = Gadget(ElementKind::Scintilla, 20, w, 120, 60, 100, 20);
  E(scintilla).CallbackValue = 42;
  const int shortcut = Gadget(ElementKind::Shortcut, 21, w, 120, 90, 100, 20);
  E(shortcut).ShortcutValue = 65601;
  const int mdi = Gadget(ElementKind::MDI, 22, w, 120, 120, 100, 20);

  // Kinds that never carry a flags argument, each with a flag list all the same.
  const int option = tk::Option(tk, 23, 250, 5, 100, 20, "Opt", 0, w);
  const int web = Gadget(ElementKind::Web, 24, w, 250, 30, 100, 20, "about:blank");
  const int ip = Gadget(ElementKind::IPAddress, 25, w, 250, 60, 100, 20);
  const int panel = Panel(tk, 26, 250, 90, 100, 50, 0, w);
  for (int id : {option, web, ip, panel, scintilla, shortcut})
    AddElementFlag(tk, id, "#PB_Some_Flag");
  // A kind that does carry flags, for comparison.
  AddElementFlag(tk, track, "#PB_TrackBar_Ticks");
  AddElementFlag(tk, track, "#PB_TrackBar_Vertical");

  const std::string code = Code();
  auto line = [&](int id) { return LineWith(code, " " + E(id).Name + " = "); };
  EXPECT_EQ(line(spin), "  Spin_0 = SpinGadget(#PB_Any, 5, 5, 60, 20, 0, 100, #PB_Spin_Numeric)");
  EXPECT_EQ(line(spin2), "  Spin_1 = SpinGadget(#PB_Any, 5, 30, 60, 20, -0.5, 2.5)");
  EXPECT_EQ(line(bar),
            "  ScrollBar_0 = ScrollBarGadget(#PB_Any, 5, 60, 100, 17, 0, 50, 10, "
            "#PB_ScrollBar_Vertical)");
  EXPECT_EQ(line(progress), "  ProgressBar_0 = ProgressBarGadget(#PB_Any, 5, 80, 100, 17, 3, 70)");
  EXPECT_EQ(line(track),
            "  TrackBar_0 = TrackBarGadget(#PB_Any, 5, 100, 100, 17, 0, 20, "
            "#PB_TrackBar_Ticks|#PB_TrackBar_Vertical)");
  EXPECT_EQ(line(list), "  ListIcon_0 = ListIconGadget(#PB_Any, 5, 120, 100, 50, \"Column\", 120)");
  EXPECT_EQ(line(link),
            "  HyperLink_0 = HyperLinkGadget(#PB_Any, 5, 180, 100, 17, \"Site\", 16711680)");
  EXPECT_EQ(line(date), "  Date_0 = DateGadget(#PB_Any, 120, 5, 100, 20, \"%yyyy\", 1700000000)");
  EXPECT_EQ(line(calendar), "  Calendar_0 = CalendarGadget(#PB_Any, 120, 30, 100, 20, -5)");
  EXPECT_EQ(line(scintilla), "  Scintilla_0 = ScintillaGadget(#PB_Any, 120, 60, 100, 20, 42)");
  EXPECT_EQ(line(shortcut), "  Shortcut_0 = ShortcutGadget(#PB_Any, 120, 90, 100, 20, 65601)");
  // The kind table names no MDI kind; its line is an MDIGadget all the same (one written as
  // "Gadget(" alone was lost on reading).
  EXPECT_EQ(line(mdi), "  MDI_0 = MDIGadget(#PB_Any, 120, 120, 100, 20)");
  EXPECT_EQ(line(option), "  Option_0 = OptionGadget(#PB_Any, 250, 5, 100, 20, \"Opt\")");
  EXPECT_EQ(line(web), "  Web_0 = WebGadget(#PB_Any, 250, 30, 100, 20, \"about:blank\")");
  EXPECT_EQ(line(ip), "  IPAddress_0 = IPAddressGadget(#PB_Any, 250, 60, 100, 20)");
  EXPECT_EQ(line(panel), "  Panel_0 = PanelGadget(#PB_Any, 250, 90, 100, 50)");
  EXPECT_EQ(Count(code, "#PB_Some_Flag"), 0);
}

// A scroll area's content and bars are its own parts: only the area and what the user put
// in it are written, the user's gadget at its position inside the content.
TEST_F(GeneratorTest, ScrollAreaPartsAreNotWrittenAsGadgets) {
  const int w = FormWindow(10, 0, 0, 400, 300, "W");
  const int area = ScrollArea(tk, 11, 10, 10, 200, 150, 400, 600, 10, 0, w);
  ASSERT_EQ(area, 11);
  ASSERT_EQ(Button(tk, 12, 5, 7, 80, 25, "Inside"), 12);
  CloseList(tk);
  CloseList(tk);
  const std::string code = Code();
  EXPECT_EQ(LineWith(code, "ScrollAreaGadget("),
            "  ScrollArea_0 = ScrollAreaGadget(#PB_Any, 10, 10, 200, 150, 400, 600, 10)");
  EXPECT_EQ(LineWith(code, "ButtonGadget("),
            "  Button_0 = ButtonGadget(#PB_Any, 5, 7, 80, 25, \"Inside\")");
  EXPECT_EQ(Count(code, "ContainerGadget"), 0);
  EXPECT_EQ(Count(code, "ScrollBarGadget"), 0);
  EXPECT_EQ(Count(code, "Global "), 3);  // the window, the area and the button
}

// Containers, scroll areas and panels keep their gadget list open until CloseGadgetList():
// their children are written between the two, a panel's after the AddGadgetItem of their
// tab, and whatever follows the container lands outside it again.
TEST_F(GeneratorTest, ContainerChildrenAreWrittenInsideTheirGadgetLists) {
  const int w = FormWindow(10, 0, 0, 500, 400, "W");
  const int box = tk::Container(tk, 11, 5, 5, 200, 100, 0, w);
  const int nested = tk::Container(tk, 12, 10, 10, 80, 50, 0, box);
  tk::Button(tk, 13, 1, 2, 30, 20, "deep", 0, nested);
  tk::Button(tk, 14, 100, 10, 30, 20, "in box", 0, box);

  // The third tab gets its child first and the second none; every tab is still written, in
  // tab order, and a tab text is quoted like a caption (unchanged).
  const int panel = Panel(tk, 20, 210, 5, 200, 150, 0, w);
  SetElementName(tk, panel, "#Tabs");
  AddTab(tk, panel, -1, "One");
  AddTab(tk, panel, -1, "Two");
  AddTab(tk, panel, -1, "Say \"3\"");
  OpenList(tk, panel, 2);
  tk::Button(tk, 21, 0, 0, 30, 20, "on 3");
  CloseList(tk);
  OpenList(tk, panel, 0);
  tk::Button(tk, 22, 0, 0, 30, 20, "on 1");
  CloseList(tk);
  ASSERT_EQ(E(21).TabIndex, 2);
  ASSERT_EQ(E(22).TabIndex, 0);

  // A scroll area's children go into its own list; its content container is not written.
  ScrollArea(tk, 30, 5, 160, 200, 100, 400, 300, 10, 0, w);
  tk::Button(tk, 31, 3, 4, 30, 20, "scrolled");
  CloseList(tk);

  // Panes that are containers: each pane's list is closed before the splitter line.
  const int left = tk::Container(tk, 40, 0, 0, 50, 50, 0, w);
  tk::Button(tk, 41, 1, 1, 20, 20, "L", 0, left);
  const int right = tk::Container(tk, 42, 0, 0, 50, 50, 0, w);
  Splitter(tk, 43, 210, 160, 200, 100, left, right, 0, w);
  tk::Text(tk, 50, 5, 300, 50, 20, "after", 0, w);
  for (int id : {11, 12, 13, 14, 21, 22, 30, 31, 40, 41, 42, 43, 50})
    SetElementName(tk, id, "G" + std::to_string(id));

  EXPECT_NE(Code().find(Crlf("Procedure Open_Window_0()\n"
                             "  Window_0 = OpenWindow(#PB_Any, 0, 0, 500, 400, \"W\")\n"
                             "  G11 = ContainerGadget(#PB_Any, 5, 5, 200, 100)\n"
                             "  G12 = ContainerGadget(#PB_Any, 10, 10, 80, 50)\n"
                             "  G13 = ButtonGadget(#PB_Any, 1, 2, 30, 20, \"deep\")\n"
                             "  CloseGadgetList()\n"
                             "  G14 = ButtonGadget(#PB_Any, 100, 10, 30, 20, \"in box\")\n"
                             "  CloseGadgetList()\n"
                             "  PanelGadget(#Tabs, 210, 5, 200, 150)\n"
                             "  AddGadgetItem(#Tabs, -1, \"One\")\n"
                             "  G22 = ButtonGadget(#PB_Any, 0, 0, 30, 20, \"on 1\")\n"
                             "  AddGadgetItem(#Tabs, -1, \"Two\")\n"
                             "  AddGadgetItem(#Tabs, -1, \"Say \"3\"\")\n"
                             "  G21 = ButtonGadget(#PB_Any, 0, 0, 30, 20, \"on 3\")\n"
                             "  CloseGadgetList()\n"
                             "  G30 = ScrollAreaGadget(#PB_Any, 5, 160, 200, 100, 400, 300, 10)\n"
                             "  G31 = ButtonGadget(#PB_Any, 3, 4, 30, 20, \"scrolled\")\n"
                             "  CloseGadgetList()\n"
                             "  G40 = ContainerGadget(#PB_Any, 0, 0, 50, 50)\n"
                             "  G41 = ButtonGadget(#PB_Any, 1, 1, 20, 20, \"L\")\n"
                             "  CloseGadgetList()\n"
                             "  G42 = ContainerGadget(#PB_Any, 0, 0, 50, 50)\n"
                             "  CloseGadgetList()\n"
                             "  G43 = SplitterGadget(#PB_Any, 210, 160, 200, 100, G40, G42)\n"
                             "  G50 = TextGadget(#PB_Any, 5, 300, 50, 20, \"after\")\n"
                             "\n"
                             "EndProcedure\n")),
            std::string::npos)
      << Code();
}

TEST_F(GeneratorTest, GeometryFollowsBordersAndParentsAndTitlesFollowTheSetter) {
  const int w = FormWindow(10, 37, 21, 300, 200, "W");
  // A window's size is its client area: the frame without borders and caption.
  Element& win = E(w);
  win.FrameWidth = 4;
  win.Frame.w0 = 300 + 8;
  win.Frame.h0 = 200 + 8 + win.CaptionHeight;
  // A gadget whose border is wider than the one its flags asked for is written larger, by
  // the difference, on every side.
  const int b = tk::Button(tk, 11, 20, 30, 80, 25, "B", 0, w);
  E(b).FrameWidth = 3;
  E(b).FrameWidthSet = 1;
  // Inside a container, positions are relative to the container's inner rectangle.
  const int box = tk::Container(tk, 12, 100, 100, 150, 80, 0, w);
  const int inner = tk::Button(tk, 13, 7, 9, 30, 20, "I", 0, box);

  // The title set later through the text setter is the one written.
  SetElementText(tk, w, "Title");

  const std::string code = Code();
  EXPECT_EQ(LineWith(code, "OpenWindow("),
            "  Window_0 = OpenWindow(#PB_Any, 37, 21, 300, 200, \"Title\")");
  const Element& button = E(b);
  EXPECT_EQ(LineWith(code, "Button_0 = "), "  Button_0 = ButtonGadget(#PB_Any, " +
                                               std::to_string(button.ParentOffsetX() + 2) + ", " +
                                               std::to_string(button.ParentOffsetY() + 2) + ", " +
                                               std::to_string(button.Frame.w0 - 4) + ", " +
                                               std::to_string(button.Frame.h0 - 4) + ", \"B\")");
  EXPECT_EQ(E(inner).ParentOffsetX(), 7);
  EXPECT_EQ(LineWith(code, "Button_0 = ButtonGadget(#PB_Any, 7"),
            "  Button_0 = ButtonGadget(#PB_Any, 7, 9, 30, 20, \"I\")");
}

TEST_F(GeneratorTest, SplitterWritesItsPanesAndItsFlagList) {
  const int w = FormWindow(10, 0, 0, 400, 300, "W");
  const int first = tk::Button(tk, 11, 0, 0, 50, 50, "1", 0, w);
  const int second = tk::Button(tk, 12, 0, 0, 50, 50, "2", 0, w);
  const int splitter = Splitter(tk, 13, 10, 10, 300, 200, first, second,
                                Flag::Vertical | Flag::SplitterGrip | Flag::FirstFixed, w);
  AddElementFlag(tk, splitter, "#PB_Splitter_Vertical");
  AddElementFlag(tk, splitter, "#PB_Splitter_FirstFixed");
  ASSERT_EQ(E(first).ParentID, splitter);

  const std::string code = Code();
  // The panes keep their own creation lines (inside the window, through the splitter) and
  // come before the splitter that joins them, as PureBasic needs.
  const size_t firstLine = code.find("  Button_0 = ButtonGadget(");
  const size_t splitterLine = code.find("  Splitter_0 = SplitterGadget(");
  ASSERT_NE(firstLine, std::string::npos);
  ASSERT_NE(splitterLine, std::string::npos);
  EXPECT_LT(firstLine, splitterLine);
  // The panes are named as their own lines name them (a gadget number, not an element id).
  EXPECT_EQ(LineWith(code, "SplitterGadget("),
            "  Splitter_0 = SplitterGadget(#PB_Any, 10, 10, 300, 200, Button_0, Button_1, "
            "#PB_Splitter_Vertical|#PB_Splitter_FirstFixed)");

  // The numeric flags (the grip, the border the kind forces) are not source text: without a
  // flag list the line has no flags argument.
  AddElementFlag(tk, splitter, "");
  SetElementName(tk, second, "#Right");
  EXPECT_EQ(LineWith(Code(), "SplitterGadget("),
            "  Splitter_0 = SplitterGadget(#PB_Any, 10, 10, 300, 200, Button_0, #Right)");

  // A splitter nested in a pane of another waits for its own panes, and the outer one for
  // everything inside it; a gadget after both comes last.
  const int a = tk::Button(tk, 14, 0, 0, 50, 50, "a", 0, w);
  const int b = tk::Button(tk, 15, 0, 0, 50, 50, "b", 0, w);
  const int inner = Splitter(tk, 16, 0, 0, 100, 100, a, b, Flag::Vertical, w);
  const int third = tk::Button(tk, 17, 0, 0, 50, 50, "c", 0, w);
  const int outer = Splitter(tk, 18, 0, 220, 300, 60, inner, third, 0, w);
  tk::Text(tk, 19, 320, 10, 50, 20, "after", 0, w);
  ASSERT_EQ(E(inner).ParentID, outer);
  const std::string nested = Code();
  auto at = [&](const std::string& needle) {
    const size_t pos = nested.find(needle);
    EXPECT_NE(pos, std::string::npos) << needle;
    return pos;
  };
  EXPECT_LT(at("\"a\")"), at(" Splitter_1 = "));
  EXPECT_LT(at("\"b\")"), at(" Splitter_1 = "));
  EXPECT_LT(at(" Splitter_1 = "), at(" Splitter_2 = "));
  EXPECT_LT(at("\"c\")"), at(" Splitter_2 = "));
  EXPECT_LT(at(" Splitter_2 = "), at("\"after\")"));
  EXPECT_EQ(
      LineWith(nested, " Splitter_2 = "),
      "  Splitter_2 = SplitterGadget(#PB_Any, 0, 220, 300, 60, Splitter_1, " + E(third).Name + ")");
}

TEST_F(GeneratorTest, WindowEventsAreBoundToTheirProcedures) {
  const int w = FormWindow(10, 0, 0, 300, 200, "W");
  AddElementEvent(tk, w, "LeftClick");
  AddElementEvent(tk, w, "RightClick");
  const int b = tk::Button(tk, 11, 0, 0, 10, 10, "b", 0, w);
  AddElementEvent(tk, b, "LeftClick");
  AddElementEvent(tk, b, "RightClick");

  const std::string code = Code();
  // One gadget procedure for the gadget whatever its events, then the window's procedures.
  EXPECT_EQ(Count(code, "Procedure Button_0__Gadget_Event( )"), 1);
  const size_t gadgetProc = code.find("Procedure Button_0__Gadget_Event( )");
  const size_t leftProc = code.find("Procedure Window_0_LeftClick_Event( )");
  const size_t rightProc = code.find("Procedure Window_0_RightClick_Event( )");
  ASSERT_NE(leftProc, std::string::npos);
  ASSERT_NE(rightProc, std::string::npos);
  EXPECT_LT(gadgetProc, leftProc);
  EXPECT_LT(leftProc, rightProc);
  EXPECT_LT(rightProc, code.find("Procedure Open_Window_0()"));

  // The binding lines close the window's procedure and name exactly those procedures; the
  // gadget procedure stays unbound.
  EXPECT_NE(code.find(Crlf("\n"
                           "   BindEvent( #PB_Event_LeftClick, @Window_0_LeftClick_Event(), "
                           "Window_0 )\n"
                           "   BindEvent( #PB_Event_RightClick, @Window_0_RightClick_Event(), "
                           "Window_0 )\n"
                           "EndProcedure\n")),
            std::string::npos)
      << code;
  EXPECT_EQ(Count(code, "BindEvent("), 2);
  EXPECT_EQ(code.find("@Button_0"), std::string::npos);

  // A constant window name: the procedure loses the "#", the window reference keeps it.
  SetElementName(tk, w, "#Main");
  const std::string constant = Code();
  EXPECT_NE(constant.find("Procedure Main_LeftClick_Event( )"), std::string::npos);
  EXPECT_NE(constant.find("   BindEvent( #PB_Event_LeftClick, @Main_LeftClick_Event(), #Main )"),
            std::string::npos)
      << constant;
  // A trailing "#" too: the procedure and the binding name it from the same bare name.
  SetElementName(tk, w, "Pal#");
  const std::string trailing = Code();
  EXPECT_NE(trailing.find("\r\nProcedure Pal_LeftClick_Event( )\r\n"), std::string::npos);
  EXPECT_NE(
      trailing.find("\r\n   BindEvent( #PB_Event_LeftClick, @Pal_LeftClick_Event(), Pal# )\r\n"),
      std::string::npos)
      << trailing;
  EXPECT_EQ(Count(trailing, "Pal#_"), 0);
}

TEST_F(GeneratorTest, EveryWindowGetsItsProcedureAndMainBlock) {
  const int a = FormWindow(10, 0, 0, 200, 100, "A");
  const int b = FormWindow(20, 300, 0, 200, 100, "B");
  // Created alternately: each window's procedure still holds its own gadgets only.
  tk::Button(tk, 11, 0, 0, 10, 10, "in A", 0, a);
  tk::Button(tk, 21, 0, 0, 10, 10, "in B", 0, b);
  tk::Text(tk, 12, 0, 20, 10, 10, "also A", 0, a);

  const std::string code = Code();
  EXPECT_EQ(Count(code, "CompilerIf #PB_Compiler_IsMainFile"), 2);
  EXPECT_EQ(Count(code, "      Case Window_0\r\n"), 2);
  EXPECT_EQ(Count(code, "      Case Window_1\r\n"), 2);
  const size_t openA = code.find("Procedure Open_Window_0()");
  const size_t openB = code.find("Procedure Open_Window_1()");
  ASSERT_LT(openA, openB);
  const std::string procA = code.substr(openA, openB - openA);
  EXPECT_NE(procA.find("\"in A\""), std::string::npos);
  EXPECT_NE(procA.find("\"also A\""), std::string::npos);
  EXPECT_EQ(procA.find("\"in B\""), std::string::npos);
  EXPECT_NE(code.find("\"in B\"", openB), std::string::npos);
  // The blocks follow the procedures, in window order, and the text ends with two empty lines.
  EXPECT_LT(code.find("  Open_Window_0()\r\n"), code.find("  Open_Window_1()\r\n"));
  EXPECT_GT(code.find("  Open_Window_0()\r\n"), code.find("EndProcedure\r\n", openB));
  EXPECT_EQ(code.substr(code.size() - 19), "CompilerEndIf\r\n\r\n\r\n");

  // Windows go in element-list order, not creation order: a window moved to the front of
  // its siblings is written first.
  const int early = FormWindow(4, 0, 300, 100, 100, "Early");
  SetElementName(tk, early, "Early");
  SetPosition(tk, early, ZOrder::First);
  ASSERT_LT(IndexOf(tk.root, FindElement(tk, early)), IndexOf(tk.root, FindElement(tk, a)));
  const std::string reordered = Code();
  EXPECT_NE(reordered.find("Global Early=-1\r\nGlobal Window_0=-1\r\nGlobal Window_1=-1\r\n"),
            std::string::npos)
      << reordered;
  EXPECT_LT(reordered.find("Procedure Open_Early()"), reordered.find("Procedure Open_Window_0()"));
  EXPECT_NE(reordered.find("      Case Early\r\n      Case Window_0\r\n      Case Window_1\r\n"),
            std::string::npos);
}

TEST(EventTexts, ProceduresForEveryObjectAndEvent) {
  EXPECT_EQ(EventProcedures(0, "Button_0_", "#PB_Event_Gadget", ""),
            Crlf("Procedure Button_0__Gadget_Event( )\n"
                 "  Protected Window = EventWindow( )\n"
                 "  Protected Gadget = EventGadget( )\n"
                 "  Protected Type = EventType( )\n"
                 "  \n"
                 "EndProcedure \n"
                 "\n"));
  // Indentation on every line; the lists are trimmed of "|" and their entries of spaces; a
  // body goes into the procedure of the event at the same position.
  EXPECT_EQ(
      EventProcedures(2, "|#Win| Other ", "#PB_Event_MoveWindow| #PB_Event_Menu|", "|Debug 1"),
      Crlf("  Procedure Win_MoveWindow_Event( )\n"
           "    Protected Window = EventWindow( )\n"
           "    Protected X = WindowX( Window )\n"
           "    Protected Y = WindowY( Window )\n"
           "      Debug 1\n"
           "      \n"
           "    \n"
           "  EndProcedure \n"
           "  \n"
           "  Procedure Win_Menu_Event( )\n"
           "    Protected Window = EventWindow( )\n"
           "    Protected Menu = EventMenu( )\n"
           "    \n"
           "  EndProcedure \n"
           "  \n"
           "  Procedure Other_MoveWindow_Event( )\n"
           "    Protected Window = EventWindow( )\n"
           "    Protected X = WindowX( Window )\n"
           "    Protected Y = WindowY( Window )\n"
           "      Debug 1\n"
           "      \n"
           "    \n"
           "  EndProcedure \n"
           "  \n"
           "  Procedure Other_Menu_Event( )\n"
           "    Protected Window = EventWindow( )\n"
           "    Protected Menu = EventMenu( )\n"
           "    \n"
           "  EndProcedure \n"
           "  \n"));
  const std::string size = EventProcedures(0, "W_", "#PB_Event_SizeWindow", "");
  EXPECT_NE(size.find("Procedure W__SizeWindow_Event( )\r\n"), std::string::npos);
  EXPECT_NE(size.find("  Protected Width = WindowWidth( Window )\r\n"
                      "  Protected Height = WindowHeight( Window )\r\n"),
            std::string::npos);
  // Every "#PB_Event" is removed from the name; an event of no special kind declares only
  // the window.
  EXPECT_EQ(EventProcedures(0, "X", "#PB_Event#PB_Event_A", ""),
            Crlf("Procedure X_A_Event( )\n  Protected Window = EventWindow( )\n  \n"
                 "EndProcedure \n\n"));
  // A negative indentation is none.
  EXPECT_EQ(EventProcedures(-4, "X", "A", ""), EventProcedures(0, "X", "A", ""));
}

TEST(EventTexts, BindingLinesForEveryObjectAndEvent) {
  EXPECT_EQ(BindEventLines(3, "#PB_Event_LeftClick", "Window_0"),
            "   BindEvent( #PB_Event_LeftClick, @Window_0_LeftClick_Event(), Window_0 )\r\n");
  EXPECT_EQ(BindEventLines(0, "|#PB_Event_SizeWindow|#PB_Event_Menu|", "#A| B"),
            Crlf("BindEvent( #PB_Event_SizeWindow, @A_SizeWindow_Event(), #A )\n"
                 "BindEvent( #PB_Event_Menu, @A_Menu_Event(), #A )\n"
                 "BindEvent( #PB_Event_SizeWindow, @B_SizeWindow_Event(), B )\n"
                 "BindEvent( #PB_Event_Menu, @B_Menu_Event(), B )\n"));
  // No object: the event is bound for all windows.
  EXPECT_EQ(BindEventLines(1, "#PB_Event_CloseWindow", ""),
            " BindEvent( #PB_Event_CloseWindow, @All_CloseWindow_Event() )\r\n");
}

TEST(ValueFormatting, ColoursAndSpinLimits) {
  EXPECT_EQ(FormatColorHex(65280), "FF00");
  EXPECT_EQ(FormatColorHex(-1), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(FormatColorHex(0), "0");
  EXPECT_EQ(FormatColorHex(0x00ABCDEF), "ABCDEF");
  // The value is taken as 32 bits and sign-extended: bit 31 set makes sixteen digits, bits
  // above 31 (an alpha byte on a 64-bit value) are dropped.
  EXPECT_EQ(FormatColorHex(0x80000000LL), "FFFFFFFF80000000");
  EXPECT_EQ(FormatColorHex(0x1000000FFLL), "FF");

  EXPECT_EQ(FormatSpinLimit(0), "0");
  EXPECT_EQ(FormatSpinLimit(100), "100");
  EXPECT_EQ(FormatSpinLimit(2.5f), "2.5");
  EXPECT_EQ(FormatSpinLimit(-0.25f), "-0.25");
  EXPECT_EQ(FormatSpinLimit(1000000), "1000000");
  EXPECT_EQ(FormatSpinLimit(0.1f), "0.1000000015");  // the float's own value, ten decimals
  EXPECT_EQ(FormatSpinLimit(-0.0f), "0");
  EXPECT_EQ(FormatSpinLimit(1e-12f), "0");
  EXPECT_EQ(FormatSpinLimit(std::numeric_limits<float>::infinity()), "0");
  EXPECT_EQ(FormatSpinLimit(std::numeric_limits<float>::quiet_NaN()), "0");
}

}  // namespace
}  // namespace tk::testing
