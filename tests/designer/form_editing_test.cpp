// Editing a form with the pointer, driven by native events on the headless platform: creating
// with a tool from a drag or a click, the rubber band with its dash-dot outline, selecting by
// overlap, and the Elements row following creation and freeing.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "codegen/generator.h"
#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/form_reader.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/combobox.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"
#include "render/interaction.h"
#include "requesters/requesters.h"

namespace tk::designer {
namespace {

class FormEditing : public ::testing::Test {
 protected:
  FormEditing()
      : platform(1280, 1024),
        archives(platform.Images(), {TK_BINARY_DIR}),
        designer(archives),
        tk(platform),
        runner(tk, platform) {
    PrepareToolkit(tk);
  }

  void SetUp() override {
    ASSERT_GT(StartDesigner(tk, designer).window, 0);
    form = tk.root.DesignedElement;
    ASSERT_EQ(GetKind(tk, form), ElementKind::Window);
    ASSERT_TRUE(StartSession(tk, designer.window));
    // The first report only tells the canvas where the pointer is.
    Play("move 1 1");
  }

  // Plays script lines; coordinates are canvas pixels.
  void Play(const std::string& lines) {
    std::string error;
    ASSERT_TRUE(runner.RunText(lines, "test", &error)) << error;
  }
  // The canvas point at (x, y) inside an element's inner area.
  std::string At(int id, int x, int y) {
    const Element* e = FindElement(tk, id);
    return std::to_string(e->Inner.x0 + x) + " " + std::to_string(e->Inner.y0 + y);
  }
  // Chooses a tool the way the toolbox does: the designer's and the root's tool kind, and the
  // toolbox item of that kind.
  void ChooseTool(ElementKind kind) {
    designer.toolKind = tk.root.ToolKind = kind;
    const Element* list = FindElement(tk, designer.toolboxList);
    for (const auto& item : list->Items)
      if (KindFromText(item->Text) == KindValue(kind))
        SetElementState(tk, designer.toolboxList, item->Index);
  }
  // The elements of the form (its designer-named children), latest last.
  std::vector<int> Children(int parent) {
    std::vector<int> ids;
    for (const auto& e : tk.root.Elements)
      if (e->Alive && e->ParentID == parent && e->Named == 1) ids.push_back(e->ID);
    return ids;
  }
  bool Selected(int id) {
    const Element* e = FindElement(tk, id);
    return e != nullptr && HasAll(e->Flags, Flag::Selected);
  }

  platform::HeadlessPlatform platform;
  IconArchives archives;
  Designer designer;
  Toolkit tk;
  ScriptRunner runner;
  int form = -1;
};

// The band's colour as the canvas reports it (0xRRGGBB).
constexpr uint32_t kBandPixel = 0x2B3AE2;

// Whether the dash-dot outline draws its pixel at counter value c.
bool DashDrawn(int c) {
  c %= 19;
  return c < 10 || c == 14;
}

// A 100 x 40 drag with the Button tool makes the Button a 105 x 45 request at the snapped
// corner makes; a click makes the default 130 x 25 at the pointer; the tool is cleared after
// one creation, so the next drag draws a band; a key released over the form clears it too.
TEST_F(FormEditing, ToolCreatesFromADragOrAClickOnceAndKeysClearIt) {
  Designer& d = designer;
  // The frame the creation path gives a designer Button asked for at (x, y) with w x h.
  auto reference = [&](int x, int y, int w, int h) {
    OpenList(tk, form);
    const int id =
        CreateElement(tk, ElementKind::Button, -1, x, y, w, h, "", -1, -1, 0, Flag::DesignerPlaced);
    CloseList(tk);
    const Element* e = FindElement(tk, id);
    const std::array<int, 4> frame = {e->ParentOffsetX(), e->ParentOffsetY(), e->Frame.w0,
                                      e->Frame.h0};
    FreeElement(tk, id);
    return frame;
  };
  auto frameOf = [&](int id) {
    const Element* e = FindElement(tk, id);
    return std::array<int, 4>{e->ParentOffsetX(), e->ParentOffsetY(), e->Frame.w0, e->Frame.h0};
  };

  ChooseTool(ElementKind::Button);
  Play("move " + At(form, 23, 32));
  EXPECT_EQ(platform.CurrentCursor(), platform::Cursor::Custom);
  Play("down\nmove " + At(form, 80, 50) + "\nmove " + At(form, 123, 72));
  // With a tool the band is a plain outline: every pixel of its top edge is drawn.
  const Element* f = FindElement(tk, form);
  for (int x = 20; x < 120; ++x)
    ASSERT_EQ(platform.CanvasPixel(f->Inner.x0 + x, f->Inner.y0 + 30), kBandPixel) << x;
  Play("up");
  std::vector<int> made = Children(form);
  ASSERT_EQ(made.size(), 1u);
  const int button = made[0];
  EXPECT_EQ(GetKind(tk, button), ElementKind::Button);
  EXPECT_EQ(ElementX(tk, button, CoordMode::Parent), 20);
  EXPECT_EQ(ElementY(tk, button, CoordMode::Parent), 30);
  EXPECT_EQ(frameOf(button), reference(20, 30, 105, 45));
  std::string error;
  ASSERT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/form-created-button.png", &error))
      << error;
  // One creation put the pointer tool back.
  EXPECT_EQ(d.toolKind, ElementKind::None);
  EXPECT_EQ(tk.root.ToolKind, ElementKind::None);
  EXPECT_EQ(GetElementState(tk, d.toolboxList), 0);
  EXPECT_EQ(platform.CurrentCursor(), platform::Cursor::Default);

  // So the next drag draws a band and creates nothing.
  Play("move " + At(form, 200, 100) + "\ndown\nmove " + At(form, 262, 153));
  EXPECT_EQ(tk.root.Selection.X, 200);
  EXPECT_EQ(tk.root.Selection.Width, 60);
  EXPECT_EQ(tk.root.Selection.Height, 50);
  EXPECT_EQ(platform.CanvasPixel(f->Inner.x0 + 200, f->Inner.y0 + 100), kBandPixel);
  Play("up");
  EXPECT_EQ(Children(form).size(), 1u);
  EXPECT_EQ(tk.root.Selection.Width, 0);
  EXPECT_NE(platform.CanvasPixel(f->Inner.x0 + 200, f->Inner.y0 + 100), kBandPixel);

  // A click with the tool: the default size at the pointer, snapped.
  ChooseTool(ElementKind::Button);
  Play("click " + At(form, 203, 152));
  made = Children(form);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(ElementX(tk, made[1], CoordMode::Parent), 200);
  EXPECT_EQ(ElementY(tk, made[1], CoordMode::Parent), 150);
  EXPECT_EQ(frameOf(made[1]), reference(200, 150, 130, 25));

  // A key released over the form puts the toolbox back on the pointer.
  ChooseTool(ElementKind::Button);
  Play("move " + At(form, 300, 10));
  EXPECT_EQ(platform.CurrentCursor(), platform::Cursor::Custom);
  EXPECT_NE(GetElementState(tk, d.toolboxList), 0);
  Play("key A");
  EXPECT_EQ(d.toolKind, ElementKind::None);
  EXPECT_EQ(tk.root.ToolKind, ElementKind::None);
  EXPECT_EQ(GetElementState(tk, d.toolboxList), 0);
  EXPECT_EQ(platform.CurrentCursor(), platform::Cursor::Default);
  // Also a key the commands act on: released, it only clears the tool.
  ChooseTool(ElementKind::Button);
  Play("key Delete");
  EXPECT_EQ(d.toolKind, ElementKind::None);
  EXPECT_EQ(Children(form).size(), 2u);
}

// Without a tool the band selects exactly the form's elements it overlaps, and turns the
// multi-selection on; a selected element still moves and resizes on the grid; the right
// button opens the element popup and a double click on a Button shows its LeftClick code.
TEST_F(FormEditing, BandSelectsTheOverlappedElementsWhichStillDragOnTheGrid) {
  Designer& d = designer;
  // A designer Button placed at (x, y) of the form with a frame of w x h. Its border is 4
  // pixels where 1 was asked for, so it spans x to x + w - 5 across, y to y + h - 5 down.
  auto place = [&](int x, int y, int w, int h) {
    tk.root.Selection = {x, y, w, h, 0};
    const int id = CreateDesignElement(tk, d, ElementKind::Button, form, 0, 0);
    ResizeElementById(tk, id, x, y, w, h, CoordMode::Parent);
    const Element* e = FindElement(tk, id);
    EXPECT_EQ(e->FrameWidth - e->FrameWidthSet, 3);
    return id;
  };
  // The band runs from (10, 10) to (150, 100) inside the form: an element overlaps it when
  // it spans past x 11 and y 11 and starts before x 148 and y 98.
  const int inside = place(20, 20, 40, 20);
  const int rightEdge = place(147, 20, 40, 20);
  const int rightOut = place(148, 50, 40, 20);
  const int bottomEdge = place(80, 97, 40, 20);
  const int bottomOut = place(20, 98, 40, 20);
  const int leftEdge = place(0, 30, 17, 20);  // ends at 12
  const int leftOut = place(0, 60, 16, 20);   // ends at 11
  SelectElement(tk, -1, true);

  Play("move " + At(form, 12, 12) + "\ndown\nmove " + At(form, 100, 60) + "\nmove " +
       At(form, 152, 103));
  std::string error;
  ASSERT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/form-band.png", &error)) << error;
  Play("up");
  EXPECT_TRUE(Selected(inside));
  EXPECT_TRUE(Selected(rightEdge));
  EXPECT_TRUE(Selected(bottomEdge));
  EXPECT_FALSE(Selected(rightOut));
  EXPECT_FALSE(Selected(bottomOut));
  EXPECT_TRUE(Selected(leftEdge));
  EXPECT_FALSE(Selected(leftOut));
  EXPECT_FALSE(Selected(form));
  EXPECT_TRUE(tk.root.MultiSelect);

  // Pressing an element outside the selection selects it alone; its body drags on the grid.
  const int x0 = ElementX(tk, bottomOut, CoordMode::Parent);
  const int y0 = ElementY(tk, bottomOut, CoordMode::Parent);
  Play("move " + At(form, 30, 105) + "\ndown\nmove " + At(form, 42, 111) + "\nmove " +
       At(form, 53, 117) + "\nup");
  EXPECT_FALSE(tk.root.MultiSelect);
  EXPECT_FALSE(Selected(inside));
  EXPECT_TRUE(Selected(bottomOut));
  // Moved by the pointer's 23 x 12 and snapped (it started off the grid, at y 98).
  EXPECT_EQ(ElementX(tk, bottomOut, CoordMode::Parent), (x0 + 23) / 5 * 5);
  EXPECT_EQ(ElementY(tk, bottomOut, CoordMode::Parent), (y0 + 12) / 5 * 5);
  // Its right border resizes it on the grid too.
  const Element* e = FindElement(tk, bottomOut);
  const int w0 = e->Frame.w0;
  const int right = e->Frame.x0 + e->Frame.w0 - 2;
  const int mid = e->Frame.y0 + e->Frame.h0 / 2;
  Play("move " + std::to_string(right) + " " + std::to_string(mid) + "\ndown\nmove " +
       std::to_string(right + 17) + " " + std::to_string(mid) + "\nup");
  // A dragged right border leaves the frame one pixel past a grid line.
  e = FindElement(tk, bottomOut);
  EXPECT_EQ((e->Frame.w0 - 1) % 5, 0);
  EXPECT_NEAR(e->Frame.w0 - w0, 17, 5);

  // The right button opens the element popup.
  ASSERT_GT(d.elementPopup, 0);
  Play("click " + At(form, 250, 150) + " right");
  EXPECT_EQ(FindElement(tk, d.elementPopup)->Hidden, 0);
  Play("key Escape");

  // A double click on a Button names its LeftClick procedure and turns to the code, which
  // then holds that procedure.
  e = FindElement(tk, inside);
  Play("dclick " + std::to_string(e->Frame.x0 + 10) + " " + std::to_string(e->Frame.y0 + 8));
  const std::string procedure = FindElement(tk, inside)->Name + "_LeftClick_Event";
  EXPECT_EQ(GetElementText(tk, d.rows.leftClick), procedure);
  EXPECT_EQ(GetElementState(tk, d.sidePanel), 1);
  EXPECT_EQ(GetElementState(tk, d.mainPanel), 1);
  EXPECT_NE(GetElementText(tk, d.codeElement).find("Procedure " + FindElement(tk, inside)->Name),
            std::string::npos);
}

// The dash-dot band: 10 drawn, 4 left, 1 drawn, 4 left along the outline, clockwise from the
// top-left corner, and the count carries on into the next drawing.
TEST_F(FormEditing, DashDotBandCarriesItsCountFromOneDrawingToTheNext) {
  const Element* f = FindElement(tk, form);
  auto topEdge = [&](int width) {
    std::vector<bool> drawn;
    for (int x = 10; x < 10 + width; ++x)
      drawn.push_back(platform.CanvasPixel(f->Inner.x0 + x, f->Inner.y0 + 10) == kBandPixel);
    return drawn;
  };
  auto expected = [](int start, int width) {
    std::vector<bool> drawn;
    for (int i = 0; i < width; ++i)
      drawn.push_back(DashDrawn(start + i));
    return drawn;
  };
  Play("move " + At(form, 10, 10) + "\ndown\nmove " + At(form, 60, 40));
  ASSERT_EQ(tk.root.Selection.Width, 50);
  ASSERT_EQ(tk.root.Selection.Height, 30);
  EXPECT_EQ(topEdge(50), expected(0, 50));
  // The right edge goes on where the top edge stopped.
  for (int i = 1; i < 30; ++i)
    EXPECT_EQ(platform.CanvasPixel(f->Inner.x0 + 59, f->Inner.y0 + 10 + i) == kBandPixel,
              DashDrawn(49 + i))
        << i;

  // The first outline had 2 * 50 + 2 * 30 - 4 pixels; the next drawing starts after them.
  Play("move " + At(form, 90, 55));
  const int carried = (2 * 50 + 2 * 30 - 4) % 19;
  ASSERT_NE(carried, 0);
  EXPECT_EQ(topEdge(80), expected(carried, 80));
  Play("up");
  EXPECT_EQ(topEdge(80), std::vector<bool>(80, false));
}

// The Elements row holds one option per element of the forms, its item data the element;
// a freed element's option goes, also when its whole form is closed.
// A gadget made inside a container belongs to the container's form window: the form hears
// its events, so it is listed in the Elements row and the grids show it, not the container.
TEST_F(FormEditing, AGadgetMadeInAContainerBelongsToTheForm) {
  ChooseTool(ElementKind::Container);
  Play("drag " + At(form, 100, 20) + " " + At(form, 260, 170));
  ASSERT_EQ(Children(form).size(), 1u);
  const int container = Children(form)[0];
  ChooseTool(ElementKind::Button);
  Play("click " + At(container, 30, 40));
  ASSERT_EQ(Children(container).size(), 1u);
  const int button = Children(container)[0];
  EXPECT_EQ(FindElement(tk, button)->WindowID, form);
  EXPECT_EQ(tk.root.DesignedElement, button);
  EXPECT_EQ(GetElementText(tk, designer.rows.id),
            "Window_0_Container_0_Button_0 (" + std::to_string(button) + ")");
  EXPECT_EQ(CountItems(tk, designer.rows.elements), 3);
  // The next window made is current for what follows, as before.
  EXPECT_EQ(tk.root.CurrentWindow, FindElement(tk, form)->WindowID);
}

// A window is no gadget: the Window tool used on a form window (a click or a band) makes
// another form window on the Form page, where the pointer is, never a window inside the form.
TEST_F(FormEditing, TheWindowToolOnAFormMakesAnotherFormWindow) {
  const int page = FindElement(tk, form)->ParentID;
  ChooseTool(ElementKind::Window);
  Play("click " + At(form, 40, 30));
  ChooseTool(ElementKind::Window);
  Play("drag " + At(form, 20, 20) + " " + At(form, 200, 150));
  EXPECT_TRUE(Children(form).empty());
  std::vector<int> windows;
  for (const int id : Children(page))
    if (id != form && GetKind(tk, id) == ElementKind::Window) windows.push_back(id);
  ASSERT_EQ(windows.size(), 2u);
  // Each stands where the pointer was: the click's 20 and 10 pixels right of and below the
  // band's corner, which lies inside the form's place.
  const Element* clicked = FindElement(tk, windows[0]);
  const Element* drawn = FindElement(tk, windows[1]);
  EXPECT_EQ(clicked->ParentOffsetX() - drawn->ParentOffsetX(), 20);
  EXPECT_EQ(clicked->ParentOffsetY() - drawn->ParentOffsetY(), 10);
  EXPECT_GT(drawn->ParentOffsetX(), FindElement(tk, form)->ParentOffsetX());
}

// The element popup acts on the selection: a right press selects what it is on, so the grids
// and the popup's commands name the element the user pointed at.
TEST_F(FormEditing, ARightPressSelectsTheElementForThePopup) {
  ChooseTool(ElementKind::Button);
  Play("click " + At(form, 20, 20));
  ChooseTool(ElementKind::Button);
  Play("click " + At(form, 20, 120));
  const std::vector<int> buttons = Children(form);
  ASSERT_EQ(buttons.size(), 2u);
  Play("click " + At(form, 30, 25));
  ASSERT_EQ(tk.root.DesignedElement, buttons[0]);
  Play("click " + At(form, 30, 125) + " right");
  EXPECT_EQ(tk.root.DesignedElement, buttons[1]);
  EXPECT_TRUE(Selected(buttons[1]));
  EXPECT_FALSE(Selected(buttons[0]));
  EXPECT_EQ(GetElementState(tk, designer.rows.y), ElementY(tk, buttons[1], CoordMode::Parent));
  Play("key Escape");
}

// The grids show the selection: a window that gets the focus back (after a requester closed
// over it) leaves them on the selected element.
TEST_F(FormEditing, FocusComingBackToTheFormKeepsTheGridsOnTheSelection) {
  ChooseTool(ElementKind::Button);
  Play("click " + At(form, 60, 90));
  const std::vector<int> made = Children(form);
  ASSERT_EQ(made.size(), 1u);
  ASSERT_EQ(tk.root.DesignedElement, made[0]);
  MessageRequester(tk, "Title", "Text");  // answered by the end of the queued input
  FocusWindow(tk, form);
  Play("move 1 1");
  EXPECT_EQ(tk.root.DesignedElement, made[0]);
  EXPECT_EQ(GetElementState(tk, designer.rows.x), ElementX(tk, made[0], CoordMode::Parent));
  EXPECT_EQ(GetElementText(tk, designer.rows.caption), GetElementText(tk, made[0]));
}

// Text typed into the selected element's own field (a spin's) is its caption, and the Caption
// row shows it as it is typed.
TEST_F(FormEditing, TypingIntoAFormElementKeepsTheCaptionRowOnItsText) {
  ChooseTool(ElementKind::Spin);
  Play("click " + At(form, 20, 20));
  const int made = Children(form).back();
  Play("click " + At(made, 8, 8));
  ASSERT_EQ(tk.root.DesignedElement, made);
  ASSERT_EQ(tk.root.UsedElement, made);
  const std::string before = GetElementText(tk, made);
  Play("type 7");
  EXPECT_NE(GetElementText(tk, made), before);
  EXPECT_EQ(GetElementText(tk, designer.rows.caption), GetElementText(tk, made));
}

// A form window's corner dragged past the opposite edges leaves it a client area of its own:
// the generated code never gets a negative size.
TEST_F(FormEditing, AWindowResizedPastItsEdgesKeepsAClientArea) {
  const Element* f = FindElement(tk, form);
  const int left = f->Frame.x0, top = f->Frame.y0;
  const int right = left + f->Frame.w0 - 1, bottom = top + f->Frame.h0 - 1;
  Play("drag " + std::to_string(left + 1) + " " + std::to_string(bottom - 1) + " " +
       std::to_string(right + 20) + " " + std::to_string(top + 40));
  EXPECT_GE(ElementWidth(tk, form), 0);
  EXPECT_GE(ElementHeight(tk, form), 0);
  f = FindElement(tk, form);
  Play("drag " + std::to_string(f->Frame.x0 + f->Frame.w0 - 2) + " " +
       std::to_string(f->Frame.y0 + f->Frame.h0 - 2) + " " + std::to_string(f->Frame.x0 - 60) +
       " " + std::to_string(f->Frame.y0 - 60));
  EXPECT_GE(ElementWidth(tk, form), 0);
  EXPECT_GE(ElementHeight(tk, form), 0);
  // Shrinking it with Shift and the arrow keys stops there too.
  ASSERT_EQ(tk.root.DesignedElement, form);
  for (int i = 0; i < 150; ++i) {
    Play("key Up shift");
    Play("key Left shift");
  }
  EXPECT_GT(ElementWidth(tk, form), 0);
  EXPECT_GT(ElementHeight(tk, form), 0);
}

// Gadgets shrunk with Shift and the arrow keys keep a size of their own, whatever their
// borders (a scroll area's height and an image button's went to 0 and below).
TEST_F(FormEditing, GadgetsShrunkByTheKeysKeepASizeOfTheirOwn) {
  for (const ElementKind kind : {ElementKind::ScrollArea, ElementKind::ButtonImage}) {
    const int made = CreateDesignElement(tk, designer, kind, form, 0, 0);
    ASSERT_GT(made, 0);
    SelectElement(tk, made, true);
    ASSERT_EQ(tk.root.DesignedElement, made);
    for (int i = 0; i < 80; ++i) {
      Play("key Up shift");
      Play("key Left shift");
    }
    EXPECT_GT(ElementWidth(tk, made), 0) << KindName(kind);
    EXPECT_GT(ElementHeight(tk, made), 0) << KindName(kind);
  }
}

// A form window drawn with its tool as a band lower than its caption still has a client
// area: its frame grows to hold one (the generated code had a negative height).
TEST_F(FormEditing, AWindowDrawnAsASmallBandKeepsAClientArea) {
  SelectionRectangle& band = tk.root.Selection;
  band.X = 300;
  band.Y = 300;
  band.Width = 40;
  band.Height = 12;
  const int made = CreateDesignElement(tk, designer, ElementKind::Window, designer.mainPanel, 0, 0);
  ASSERT_GT(made, 0);
  EXPECT_GE(ElementWidth(tk, made), designer.gridStep);
  EXPECT_GE(ElementHeight(tk, made), designer.gridStep);
}

// The arrow keys walk the selection from element to element; the grids go along.
TEST_F(FormEditing, ArrowKeysWalkTheSelectionAndTheGridsFollow) {
  ChooseTool(ElementKind::Button);
  Play("click " + At(form, 20, 20));
  ChooseTool(ElementKind::String);
  Play("click " + At(form, 20, 120));
  const std::vector<int> made = Children(form);
  ASSERT_EQ(made.size(), 2u);
  Play("click " + At(form, 30, 25));
  ASSERT_EQ(tk.root.DesignedElement, made[0]);
  Play("key Down");
  ASSERT_EQ(tk.root.DesignedElement, made[1]);
  EXPECT_EQ(GetElementText(tk, designer.rows.caption), GetElementText(tk, made[1]));
  EXPECT_EQ(GetElementState(tk, designer.rows.y), ElementY(tk, made[1], CoordMode::Parent));
  // They follow at the press: the release may go to another element.
  platform::NativeEvent press;
  press.type = platform::NativeEventType::KeyDown;
  press.keyCode = platform::Key::Up;
  platform.Inject(press);
  PumpEvents(tk);
  ASSERT_EQ(tk.root.DesignedElement, made[0]);
  EXPECT_EQ(GetElementText(tk, designer.rows.caption), GetElementText(tk, made[0]));
  EXPECT_EQ(GetElementState(tk, designer.rows.y), ElementY(tk, made[0], CoordMode::Parent));
}

// An element placed or pasted while the image editor (a window kept above the others) is open
// goes into its form's part of the element list, under the editor, not after the editor.
TEST_F(FormEditing, AnElementPlacedUnderTheImageEditorStaysWithItsForm) {
  ASSERT_GT(OpenImageEditor(tk, designer.imageEditor, designer.window, nullptr, 0), 0);
  const int editor = designer.imageEditor.window;
  CreateDesignElement(tk, designer, ElementKind::Container, form, 0, 1);
  const std::vector<int> made = Children(form);
  ASSERT_EQ(made.size(), 1u);
  auto index = [&](int id) { return IndexOf(tk.root, FindElement(tk, id)); };
  EXPECT_LT(index(made[0]), index(editor));
  EXPECT_GT(index(made[0]), index(form));
  // So does a pasted copy, with what it holds.
  CreateDesignElement(tk, designer, ElementKind::Button, made[0], 0, 1);
  tk.root.DesignedElement = made[0];
  SelectElement(tk, made[0], true);
  RunCommand(tk, designer, Command::Copy);
  tk.root.DesignedElement = form;
  SelectElement(tk, form, true);
  RunCommand(tk, designer, Command::Paste);
  const std::vector<int> pasted = Children(form);
  ASSERT_EQ(pasted.size(), 2u);
  for (const auto& record : tk.root.Elements) {
    if (IsInside(tk, *record, pasted[1])) {
      EXPECT_LT(index(record->ID), index(editor)) << record->Name;
    }
  }
  CloseImageEditor(tk, designer.imageEditor);
}

TEST_F(FormEditing, ElementsRowGainsAnOptionPerElementAndLosesItWhenFreed) {
  Designer& d = designer;
  const int row = d.rows.elements;
  // The option whose item data is `id`, -1 when none.
  auto optionOf = [&](int id) {
    for (int i = 0; i < 1000; ++i)
      if (CountItems(tk, row) > 0 && GetItemData(tk, row, i) == id) return i;
    return -1;
  };
  auto optionText = [&](int index) {
    Element* list = FindElement(tk, ComboList(tk, row));
    const Element* item = list != nullptr ? FindItem(*list, index) : nullptr;
    return item != nullptr ? item->Text : std::string();
  };
  ASSERT_EQ(CountItems(tk, row), 1);
  EXPECT_EQ(optionText(optionOf(form)), "Window (Window_0)");

  ChooseTool(ElementKind::Button);
  Play("drag " + At(form, 20, 20) + " " + At(form, 120, 60));
  ChooseTool(ElementKind::String);
  Play("click " + At(form, 20, 100));
  const std::vector<int> made = Children(form);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(CountItems(tk, row), 3);
  EXPECT_EQ(optionText(optionOf(made[0])), "Button (Window_0_Button_0)");
  EXPECT_EQ(optionText(optionOf(made[1])), "String (Window_0_String_0)");

  // Freeing the chosen element takes its option and the choice away; the others stay.
  SetElementState(tk, row, optionOf(made[0]));
  FreeElement(tk, made[0]);
  EXPECT_EQ(CountItems(tk, row), 2);
  EXPECT_EQ(optionOf(made[0]), -1);
  EXPECT_EQ(GetElementState(tk, row), -1);
  EXPECT_EQ(GetElementText(tk, row), "");
  EXPECT_EQ(optionText(optionOf(made[1])), "String (Window_0_String_0)");
  // The drop-down's rows close up behind the removed one, and the list fits them.
  const Element* list = FindElement(tk, ComboList(tk, row));
  ASSERT_EQ(list->Items.size(), 2u);
  const Element& first = *list->Items[0];
  const Element& second = *list->Items[1];
  EXPECT_EQ(second.Frame.y0, first.Frame.y0 + first.Frame.h0);
  EXPECT_EQ(list->Frame.h0, second.Frame.y0 + second.Frame.h0 + 2 * list->FrameWidth);

  // The form's close box closes it, and every option of it goes.
  const Element* f = FindElement(tk, form);
  const Element* close = nullptr;
  for (const auto& item : f->Items)
    if (IsCaptionButton(*item) && item->Kind == static_cast<ElementKind>(CaptionButton::Close))
      close = item.get();
  ASSERT_NE(close, nullptr);
  const int cx = f->Inner.x0 + close->Frame.x0 + close->Frame.w0 / 2;
  const int cy = f->Frame.y0 + f->FrameWidth + close->Frame.y0 + close->Frame.h0 / 2;
  Play("click " + std::to_string(cx) + " " + std::to_string(cy));
  EXPECT_EQ(FindElement(tk, form), nullptr);
  EXPECT_EQ(CountItems(tk, row), 0);
}

// An MDI gadget made with its tool is written as an MDIGadget line that reads back.
TEST_F(FormEditing, AnMdiGadgetIsWrittenAndReadBack) {
  ChooseTool(ElementKind::MDI);
  Play("click " + At(form, 20, 20));
  ASSERT_EQ(Children(form).size(), 1u);
  const std::string code = FormCodeText(tk, designer.mainPanel);
  EXPECT_NE(code.find("_MDI_0 = MDIGadget(#PB_Any, "), std::string::npos) << code;
  ReadFormSource(tk, designer, code);
  EXPECT_EQ(FormCodeText(tk, designer.mainPanel), code);
}

}  // namespace
}  // namespace tk::designer
