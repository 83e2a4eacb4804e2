// The code reader: source text rebuilt on the Form page through the designer's creation path.
// The text pieces (line ends, encodings, numbers, creation lines), the worked example and the
// edge cases of a line, the gadget-list structure of the source, a missing file, and the round
// trip: a form written, read into a fresh designer and written again gives the same bytes.
#include "designer/form_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "codegen/generator.h"
#include "codegen/reader.h"
#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/items.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/files.h"
#include "designer/icon_archives.h"
#include "elements/panel.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"

namespace tk::designer {
namespace {

namespace fs = std::filesystem;

// "\n" line ends written as the generator writes them.
std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A started designer on the headless platform; `width` x `height` is its window's client size.
struct Session {
  explicit Session(int width = kDesignerWidth, int height = kDesignerHeight)
      : platform(1280, 1024),
        archives(platform.Images(), {fs::path(TK_BINARY_DIR)}),
        designer(archives),
        tk(platform) {
    PrepareToolkit(tk);
    started = StartDesigner(tk, designer, width, height).window > 0;
  }

  Element* E(int id) { return FindElement(tk, id); }
  // The live form elements on the Form page and below it, by name.
  int Named(const std::string& name) {
    for (const auto& e : tk.root.Elements)
      if (e->Alive && e->Named == 1 && e->Name == name) return e->ID;
    return -1;
  }
  int CountFormElements() {
    int n = 0;
    for (const auto& e : tk.root.Elements)
      if (e->Alive && e->Named == 1 && InForm(*e)) ++n;
    return n;
  }
  bool InForm(const Element& e) {
    for (const Element* p = &e; p != nullptr; p = FindElement(tk, p->ParentID)) {
      if (p->ParentID == designer.mainPanel) return p->TabIndex == 0;
      if (p->ParentID == p->ID) break;
    }
    return false;
  }
  void Read(const std::string& source) { ReadFormSource(tk, designer, source); }
  std::string Code() { return FormCodeText(tk, designer.mainPanel); }
  // The line of the generated code that contains `needle`, without its end.
  std::string Line(const std::string& needle) {
    const std::string code = Code();
    const size_t at = code.find(needle);
    if (at == std::string::npos) return "";
    const size_t start = code.rfind('\n', at);
    const size_t begin = start == std::string::npos ? 0 : start + 1;
    return code.substr(begin, code.find("\r\n", at) - begin);
  }

  platform::HeadlessPlatform platform;
  IconArchives archives;
  Designer designer;
  Toolkit tk;
  bool started = false;
};

TEST(FormReaderText, LinesEncodingsNumbersAndCreationLines) {
  // Line ends of every kind, a last line without one; a byte-order mark is dropped.
  EXPECT_EQ(SourceLines("a\r\nb\nc\rd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
  EXPECT_EQ(SourceLines("a\r\rb\n"), (std::vector<std::string_view>{"a", "", "b"}));
  EXPECT_TRUE(SourceLines("").empty());
  EXPECT_EQ(SourceText("\xEF\xBB\xBFx = 1"), "x = 1");
  // Bytes that are not UTF-8 are Latin-1; well-formed UTF-8 is kept.
  EXPECT_EQ(SourceText("Caf\xE9 \xC3\xA9"), "Caf\xC3\xA9 \xC3\xA9");
  EXPECT_EQ(SourceText("\xC3"), "\xC3\x83");
  EXPECT_EQ(SourceText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");  // a surrogate is not UTF-8

  EXPECT_EQ(ReadSourceNumber(" \t-12x"), -12);
  EXPECT_EQ(ReadSourceNumber("+7"), 7);
  EXPECT_EQ(ReadSourceNumber("$1F"), 31);
  EXPECT_EQ(ReadSourceNumber("-$ff"), -255);
  EXPECT_EQ(ReadSourceNumber("%1012"), 5);
  EXPECT_EQ(ReadSourceNumber("#PB_Ignore"), 0);
  EXPECT_EQ(ReadSourceNumber("99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(ReadSourceNumber("-99999999999999999999999"), INT64_MIN);

  EXPECT_EQ(MarkCreationLine("  b = ButtonGadget(#PB_Any)"), "Find >>   b = ButtonGadget(#PB_Any)");
  EXPECT_EQ(MarkCreationLine("b = ButtonGadget (#PB_Any)"), "");
  EXPECT_EQ(MarkCreationLine("b = buttongadget(#PB_Any)"), "");
  EXPECT_EQ(MarkCreationLine("x = 1 ; OpenWindow("), "Find >> x = 1 ; OpenWindow(");

  SourceCall call;
  ASSERT_TRUE(ParseSourceCall("b = ButtonGadget(#PB_Any, 1, ImageID(3), \"a, (b\") ; c, d", call));
  EXPECT_TRUE(call.assigned);
  EXPECT_EQ(call.target, "b");
  EXPECT_EQ(call.function, "ButtonGadget");
  EXPECT_EQ(call.args, (std::vector<std::string_view>{"#PB_Any", "1", "ImageID(3)", "\"a, (b\""}));
  EXPECT_FALSE(ParseSourceCall("no call", call));
  EXPECT_EQ(SourceTextArgument(" \"\"Hi\"\" "), "Hi");
}

class FormReader : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s.started);
    // A message box that opens is answered at once, and its text recorded.
    s.platform.SetFeeder([this] {
      if (s.tk.root.ModalWindows.empty()) return false;
      const int box = s.tk.root.ModalWindows.back();
      std::string shown = GetElementText(s.tk, box) + ":";
      for (const auto& e : s.tk.root.Elements)
        if (e->Alive && e->WindowID == box && !e->Text.empty()) shown += " " + e->Text;
      messages.push_back(shown);
      platform::NativeEvent ev;
      ev.type = platform::NativeEventType::KeyDown;
      ev.keyCode = platform::Key::Return;
      s.platform.Inject(ev);
      ev.type = platform::NativeEventType::KeyUp;
      s.platform.Inject(ev);
      return true;
    });
  }
  void TearDown() override { s.platform.SetFeeder(nullptr); }

  Session s;
  std::vector<std::string> messages;
};

// The generator's worked example read back: the first line creates nothing but places the
// reader on the Form page; the window lies on the Form page and the gadgets inside it, with the
// geometry and texts of their lines; the constant-style line makes nothing.
TEST_F(FormReader, WorkedExample) {
  const std::string source = Crlf(
      "EnableExplicit\n"
      "\n"
      "Global Window_0=-1\n"
      "Procedure Open_Window_0()\n"
      "  Window_0 = OpenWindow(#PB_Any, 10, 10, 320, 240, \"Window_0\", "
      "#PB_Window_SystemMenu)\n"
      "  Button_0 = ButtonGadget(#PB_Any, 10, 10, 80, 25, \"OK\")\n"
      "  TextGadget(#Text_0, 10, 50, 120, 20, \"Name:\")\n"
      "  Image_0 = ImageGadget(#PB_Any, 140, 10, 64, 64, 0)\n"
      "\n"
      "  GadgetToolTip(#Text_0, \"Hint\")\n"
      "EndProcedure\n");
  s.Read(source);
  EXPECT_EQ(s.designer.readParent, s.Named("Window_0"));
  const int window = s.Named("Window_0"), button = s.Named("Button_0");
  ASSERT_GT(window, 0);
  ASSERT_GT(button, 0);
  EXPECT_EQ(s.E(window)->ParentID, s.designer.mainPanel);
  EXPECT_EQ(s.E(window)->Kind, ElementKind::Window);
  EXPECT_EQ(s.E(button)->ParentID, window);
  EXPECT_EQ(GetElementText(s.tk, window), "Window_0");
  EXPECT_EQ(GetElementText(s.tk, button), "OK");
  EXPECT_EQ(s.E(button)->ParentOffsetX(),
            10 - (s.E(button)->FrameWidth - s.E(button)->FrameWidthSet));
  EXPECT_EQ(s.CountFormElements(), 3);  // no Text: its line has no "="
  EXPECT_EQ(s.Line("OpenWindow"),
            "  Window_0 = OpenWindow(#PB_Any, 10, 10, 320, 240, \"Window_0\", "
            "#PB_Window_SystemMenu)");
  EXPECT_EQ(s.Line("ButtonGadget"), "  Button_0 = ButtonGadget(#PB_Any, 10, 10, 80, 25, \"OK\")");
  EXPECT_EQ(s.Line("ImageGadget"), "  Image_0 = ImageGadget(#PB_Any, 140, 10, 64, 64, 0)");
  // Read elements are form elements like drawn ones: selectable, listed in the Elements row.
  EXPECT_EQ(s.E(button)->DesignSelectable, 1);
  EXPECT_EQ(CountItems(s.tk, s.designer.rows.elements), 3);
  EXPECT_TRUE(messages.empty());
}

TEST_F(FormReader, EdgeCasesOfALine) {
  // An empty file makes nothing and says nothing.
  const fs::path file = fs::path(TK_BINARY_DIR) / "form_reader_empty.pb";
  std::ofstream(file).close();
  EXPECT_TRUE(ReadFormFile(s.tk, s.designer, file.string()));
  fs::remove(file);
  EXPECT_EQ(s.CountFormElements(), 0);
  EXPECT_TRUE(messages.empty());

  s.Read(
      Crlf("W = OpenWindow(#PB_Any, 0, 0, 400, 300, \"W\")\n"
           "ButtonGadget(#Button_0, 10, 10, 80, 25, \"OK\")\n"
           // The only creation word stands in a comment: the line still counts by its shape.
           "Found = MyButton(#PB_Any, 1, 2, 50, 20, \"B\") ; OpenWindow(\n"
           "Lost = MyButton(#PB_Any, 1, 2, 50, 20, \"B\")\n"
           "C = ContainerGadget(#PB_Any, 0, 0, 100, 100, #PB_Container_Flat)\n"
           "CloseGadgetList()\n"
           "T = TextGadget(#PB_Any, $A, %11, 50, 20, \"\"Hi\"\")\n"
           "V = ButtonGadget(#PB_Any, 0, 0, 50, 20, Text$)\n"
           "N = ButtonGadget(#PB_Any, 7, 7, #PB_Ignore, 20, \"kept\")\n"));
  EXPECT_EQ(s.Named("#Button_0"), -1);
  EXPECT_EQ(s.Named("Lost"), -1);
  const int found = s.Named("Found");
  ASSERT_GT(found, 0);
  EXPECT_EQ(s.E(found)->Kind, ElementKind::Button);
  EXPECT_EQ(GetElementText(s.tk, s.Named("C")), "");
  EXPECT_EQ(GetElementFlagText(s.tk, s.Named("C")), "#PB_Container_Flat");
  EXPECT_EQ(s.Line("T = "), "  T = TextGadget(#PB_Any, 10, 3, 50, 20, \"Hi\")");
  EXPECT_EQ(GetElementText(s.tk, s.Named("V")), "");
  // A width that is no positive number leaves the size creation gave.
  const int kept = s.Named("N");
  ASSERT_GT(kept, 0);
  EXPECT_EQ(GetElementText(s.tk, kept), "kept");
  const int drawn = CreateDesignElement(s.tk, s.designer, ElementKind::Button, s.Named("W"), 0, 0);
  ASSERT_GT(drawn, 0);
  EXPECT_EQ(s.E(kept)->Frame.w0, s.E(drawn)->Frame.w0);
  EXPECT_EQ(s.E(kept)->Frame.h0, s.E(drawn)->Frame.h0);
  EXPECT_TRUE(messages.empty());
}

// The gadget lists of the source decide where each gadget goes.
TEST_F(FormReader, FollowsTheGadgetLists) {
  s.Read(
      Crlf("A = OpenWindow(#PB_Any, 10, 10, 400, 300, \"A\")\n"
           "Box = ContainerGadget(#PB_Any, 10, 10, 200, 150)\n"
           "In = ButtonGadget(#PB_Any, 5, 5, 50, 20, \"in\")\n"
           "CloseGadgetList()\n"
           "Beside = ButtonGadget(#PB_Any, 250, 5, 50, 20, \"beside\")\n"
           "B = OpenWindow(#PB_Any, 450, 10, 300, 200, \"B\")\n"
           "InB = ButtonGadget(#PB_Any, 5, 5, 50, 20, \"b\")\n"
           "Tabs = PanelGadget(#PB_Any, 5, 40, 200, 120)\n"
           "AddGadgetItem(Tabs, -1, \"One\")\n"
           "OnOne = ButtonGadget(#PB_Any, 5, 5, 50, 20, \"1\")\n"
           "AddGadgetItem(Tabs, -1, \"Two\")\n"
           "OnTwo = ButtonGadget(#PB_Any, 5, 5, 50, 20, \"2\")\n"
           "CloseGadgetList()\n"
           "UseGadgetList(WindowID(A))\n"
           "BackInA = ButtonGadget(#PB_Any, 5, 200, 50, 20, \"a\")\n"
           "OpenGadgetList(Box)\n"
           "Again = ButtonGadget(#PB_Any, 5, 40, 50, 20, \"again\")\n"
           "CloseGadgetList()\n"
           "OpenGadgetList(Tabs, 0)\n"
           "OnOneToo = ButtonGadget(#PB_Any, 60, 5, 50, 20, \"1b\")\n"
           "CloseGadgetList()\n"));
  const int a = s.Named("A"), b = s.Named("B"), box = s.Named("Box"), tabs = s.Named("Tabs");
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  EXPECT_EQ(s.E(a)->ParentID, s.designer.mainPanel);
  EXPECT_EQ(s.E(b)->ParentID, s.designer.mainPanel);
  EXPECT_EQ(s.E(box)->ParentID, a);
  EXPECT_EQ(s.E(s.Named("In"))->ParentID, box);
  EXPECT_EQ(s.E(s.Named("Beside"))->ParentID, a);
  EXPECT_EQ(s.E(s.Named("InB"))->ParentID, b);
  EXPECT_EQ(s.E(tabs)->ParentID, b);
  EXPECT_EQ(CountItems(s.tk, tabs), 2);
  EXPECT_EQ(s.E(s.Named("OnOne"))->ParentID, tabs);
  EXPECT_EQ(s.E(s.Named("OnOne"))->TabIndex, s.E(tabs)->Items[0]->ID);
  EXPECT_EQ(s.E(s.Named("OnTwo"))->TabIndex, s.E(tabs)->Items[1]->ID);
  EXPECT_EQ(s.E(s.Named("OnOneToo"))->TabIndex, s.E(tabs)->Items[0]->ID);
  EXPECT_EQ(s.E(s.Named("BackInA"))->ParentID, a);
  EXPECT_EQ(s.E(s.Named("Again"))->ParentID, box);
  EXPECT_EQ(s.Line("OpenWindow(#PB_Any, 450"),
            "  B = OpenWindow(#PB_Any, 450, 10, 300, 200, \"B\")");
}

// A read goes on in the container the previous read ended in; when that container was freed
// with the previous form, the gadgets land on the Form page, never among the designer's own
// elements, and go with the form again.
TEST_F(FormReader, ASecondReadAfterItsContainerWasFreedStaysOnTheFormPage) {
  s.Read("Box = ContainerGadget(#PB_Any, 5, 5, 100, 100)\n");
  ASSERT_GT(s.Named("Box"), 0);
  s.Read("B = ButtonGadget(#PB_Any, 5, 5, 80, 25, \"Second\")\n");
  int button = -1;
  for (const auto& e : s.tk.root.Elements)
    if (e->Alive && e->Kind == ElementKind::Button && e->Text == "Second") button = e->ID;
  ASSERT_GT(button, 0);
  EXPECT_EQ(s.E(button)->ParentID, s.designer.mainPanel);
  EXPECT_TRUE(s.InForm(*s.E(button)));
  s.Read("");
  EXPECT_EQ(FindElement(s.tk, button), nullptr);
}

TEST_F(FormReader, MissingFileShowsTheMessage) {
  const int before = s.CountFormElements();
  EXPECT_FALSE(ReadFormFile(s.tk, s.designer, (fs::path(TK_BINARY_DIR) / "no_such.pb").string()));
  EXPECT_FALSE(ReadFormFile(s.tk, s.designer, fs::path(TK_BINARY_DIR).string()));  // a folder
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].substr(0, 12), "Information:");
  EXPECT_NE(messages[0].find("Couldn't open the file!"), std::string::npos) << messages[0];
  EXPECT_EQ(s.CountFormElements(), before);  // the form is left as it was
}

// CR-only line ends and bytes that are not UTF-8 lose no line.
TEST_F(FormReader, CarriageReturnsAndLatin1) {
  s.Read(
      "\xEF\xBB\xBFW = OpenWindow(#PB_Any, 0, 0, 300, 200, \"Fen\xEAtre\")\r"
      "B = ButtonGadget(#PB_Any, 5, 5, 80, 25, \"Caf\xE9\")\r"
      "C = ButtonGadget(#PB_Any, 5, 40, 80, 25, \"\xC3\xA9t\xC3\xA9\")");
  ASSERT_GT(s.Named("W"), 0);
  EXPECT_EQ(GetElementText(s.tk, s.Named("W")), "Fen\xC3\xAAtre");
  EXPECT_EQ(GetElementText(s.tk, s.Named("B")), "Caf\xC3\xA9");
  EXPECT_EQ(GetElementText(s.tk, s.Named("C")), "\xC3\xA9t\xC3\xA9");
}

// A form with several windows, nested containers, panel tabs and every kind the toolbox offers,
// written, read into a fresh designer (whose window has another size, so its Form page lies
// elsewhere), and written again: the same bytes, and again after a second read.
TEST(FormReaderRoundTrip, GivesBackTheSameBytes) {
  Session one;
  ASSERT_TRUE(one.started);
  Toolkit& tk = one.tk;
  Designer& d = one.designer;
  const int first = tk.root.DesignedElement;
  ASSERT_GT(first, 0);
  const int second = CreateDesignElement(tk, d, ElementKind::Window, d.mainPanel, 0, 0);
  // Far to the right: positions beyond 16 bits (a window moved there from the X row's limit)
  // come back as they were.
  ResizeElementById(tk, second, 32770, 30, kIgnore, kIgnore);
  const int outer = CreateDesignElement(tk, d, ElementKind::Container, first, 0, 0);
  ResizeElementById(tk, outer, 10, 10, 300, 200);
  const int inner = CreateDesignElement(tk, d, ElementKind::Container, outer, 0, 0);
  ResizeElementById(tk, inner, 20, 20, 150, 100);
  const int deep = CreateDesignElement(tk, d, ElementKind::Button, inner, 0, 0);
  SetElementText(tk, deep, "deep");
  SetElementName(tk, deep, "Deep");
  AddElementFlag(tk, deep, "#PB_Button_Default");
  // The settings written after the creation lines.
  FindElement(tk, deep)->ToolTip = "Press";
  SetElementColor(tk, deep, Attribute::FrontColor, 0x123456);
  SetElementColor(tk, outer, Attribute::BackColor, 0xFFEEDD);
  HideElement(tk, inner, 1);
  DisableElement(tk, deep, 1);
  AddElementEvent(tk, second, "LeftClick");
  AddElementEvent(tk, second, "RightClick");
  StickyWindow(tk, second, 1);
  const int panel = CreateDesignElement(tk, d, ElementKind::Panel, second, 0, 0);
  ResizeElementById(tk, panel, 5, 5, 250, 180);
  ClearItems(tk, panel);
  AddTab(tk, panel, -1, "First");
  AddTab(tk, panel, -1, "Second");
  const int onSecond = CreateDesignElement(tk, d, ElementKind::CheckBox, panel, 1, 0);
  ResizeElementById(tk, onSecond, 15, 25, kIgnore, kIgnore);
  CreateDesignElement(tk, d, ElementKind::String, panel, 0, 0);
  // Every kind of the toolbox, in a third window.
  const int all = CreateDesignElement(tk, d, ElementKind::Window, d.mainPanel, 0, 0);
  ResizeElementById(tk, all, 30, 300, 700, 500);
  const Element* toolbox = FindElement(tk, d.toolboxList);
  ASSERT_NE(toolbox, nullptr);
  int placed = 0;
  for (const auto& item : toolbox->Items) {
    const auto kind = static_cast<ElementKind>(KindFromText(item->Text));
    if (kind == ElementKind::None || kind == ElementKind::Window) continue;
    const int id = CreateDesignElement(tk, d, kind, all, 0, 0);
    ASSERT_GT(id, 0) << item->Text;
    ResizeElementById(tk, id, 5 + 60 * (placed % 10), 5 + 45 * (placed / 10), 55, 40);
    ++placed;
  }
  EXPECT_GE(placed, 30);
  const std::string written = one.Code();
  ASSERT_FALSE(written.empty());

  Session fresh(700, 500);
  ASSERT_TRUE(fresh.started);
  fresh.Read(written);
  EXPECT_EQ(fresh.Code(), written);
  fresh.Read(fresh.Code());
  EXPECT_EQ(fresh.Code(), written);
  // The command line's batch read, which leaves out what only a user sees, gives them too.
  EXPECT_EQ(GenerateFromSource(written), written);
}

}  // namespace
}  // namespace tk::designer
