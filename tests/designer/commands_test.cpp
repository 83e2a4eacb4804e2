// The designer's commands driven as a person drives them: the tool bar, the menus, the code
// popup and the keyboard on the headless platform; the Code page; the element clipboard;
// ending the program; a scripted session; the code popup on a real SDL window.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "codegen/generator.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/menu.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_platform.h"
#include "render/host.h"
#include "render/interaction.h"
#include "tests/support/file_tools.h"
#include "tests/support/screen_tools.h"
#include "tests/support/step_queue.h"

namespace tk::designer {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
namespace Key = platform::Key;
using platform::NativeEvent;
using platform::NativeEventType;
using testing::Attempt;
using testing::DisplayAvailable;
using testing::PumpUntil;
using testing::RunTool;
using testing::ToolAvailable;
using testing::X11WindowOf;

int KeyOf(char letter) {
  return Key::A + (letter - 'A');
}

class DesignerCommands : public ::testing::Test {
 protected:
  DesignerCommands()
      : platform(1280, 1024),
        archives(platform.Images(), {fs::path(TK_BINARY_DIR)}),
        designer(archives),
        tk(platform) {
    PrepareToolkit(tk);
  }

  void SetUp() override {
    ASSERT_GT(StartDesigner(tk, designer).window, 0);
    ASSERT_TRUE(StartSession(tk, designer.window));
    form = tk.root.DesignedElement;
    ASSERT_EQ(GetKind(tk, form), ElementKind::Window);
    steps_.Attach(platform);
  }
  void TearDown() override { testing::StepQueue::Detach(platform); }

  // What the user does next inside a requester that a command opens.
  void Then(std::function<void()> step) { steps_.Then(std::move(step)); }
  void DropSteps() { steps_.Clear(); }
  int Requester() const { return tk.root.ModalWindows.empty() ? 0 : tk.root.ModalWindows.back(); }
  // Every text shown in the open requester, one per line.
  std::string RequesterText() {
    std::string all;
    for (const auto& e : tk.root.Elements) {
      if (!e->Alive || e->WindowID != Requester()) continue;
      all += e->Text + "\n";
      for (const auto& item : e->Items)
        all += item->Text + "\n";
    }
    return all;
  }
  // The element of the open requester showing `text` (0 when none).
  int RequesterPart(const std::string& text) {
    for (const auto& e : tk.root.Elements)
      if (e->Alive && e->WindowID == Requester() && e->Text == text) return e->ID;
    return 0;
  }

  void Pump() { PumpEvents(tk); }
  void Move(int x, int y) {
    platform.InjectMove(x, y);
    Pump();
  }
  void Click(int x, int y) {
    platform.InjectClick(x, y);
    Pump();
  }
  void RightClick(int x, int y) {
    platform.InjectMove(x, y);
    for (const NativeEventType type :
         {NativeEventType::RightButtonDown, NativeEventType::RightButtonUp,
          NativeEventType::RightClick}) {
      NativeEvent ev;
      ev.type = type;
      ev.x = x;
      ev.y = y;
      platform.Inject(ev);
    }
    Pump();
  }
  void InjectKey(int code, int modifiers = 0) {
    NativeEvent ev;
    ev.type = NativeEventType::KeyDown;
    ev.keyCode = code;
    ev.modifiers = modifiers;
    platform.Inject(ev);
    ev.type = NativeEventType::KeyUp;
    platform.Inject(ev);
  }
  void Press(int code, int modifiers = 0) {
    InjectKey(code, modifiers);
    Pump();
  }
  // Typing without handling: inside a requester its own loop handles what is injected.
  void InjectText(const std::u32string& text) {
    for (char32_t c : text) {
      NativeEvent ev;
      ev.type = NativeEventType::Input;
      ev.ch = c;
      platform.Inject(ev);
    }
  }
  void Type(const std::u32string& text) {
    InjectText(text);
    Pump();
  }

  int CentreX(int id) {
    const Element* e = FindElement(tk, id);
    return e == nullptr ? -1 : e->Frame.x0 + e->Frame.w0 / 2;
  }
  int CentreY(int id) {
    const Element* e = FindElement(tk, id);
    return e == nullptr ? -1 : e->Frame.y0 + e->Frame.h0 / 2;
  }
  void ClickElement(int id) { Click(CentreX(id), CentreY(id)); }

  // The centre of the item with id `itemId` (or, for a menu title, text `title`) of a menu,
  // popup or tool bar; items are laid out from their owner's frame.
  std::optional<platform::Point> ItemPoint(int owner, int itemId, const std::string& title = "") {
    const Element* o = FindElement(tk, owner);
    if (o == nullptr) return std::nullopt;
    for (const auto& item : o->Items) {
      if (title.empty() ? item->ID != itemId : item->Text != title) continue;
      const CoordBlock& f = item->Frame;
      return platform::Point{o->Frame.x0 + f.x0 + f.w0 / 2, o->Frame.y0 + f.y0 + f.h0 / 2};
    }
    return std::nullopt;
  }
  bool ClickItem(int owner, int itemId, const std::string& title = "") {
    const auto at = ItemPoint(owner, itemId, title);
    if (!at) return false;
    Move(at->x, at->y);
    Click(at->x, at->y);
    return true;
  }
  void ClickToolBar(int command) { ASSERT_TRUE(ClickItem(designer.toolBar, command)) << command; }
  // The popup shown now (0 when none).
  int ShownPopup() {
    for (const auto& e : tk.root.Elements)
      if (e->Alive && e->Kind == ElementKind::PopupMenu && e->Hidden == 0) return e->ID;
    return 0;
  }
  // A menu bar command: the title, then the entry of the drop-down it opens.
  void ChooseMenu(const std::string& title, int command) {
    ASSERT_TRUE(ClickItem(designer.menuBar, -1, title)) << title;
    const int popup = ShownPopup();
    ASSERT_GT(popup, 0) << title;
    ASSERT_TRUE(ClickItem(popup, command)) << command;
  }
  // Turns a panel to a page by clicking its tab.
  void ClickTab(int panel, int page) {
    const Element& p = *FindElement(tk, panel);
    const Element& tab = *p.Items[static_cast<size_t>(page)];
    Click(p.Inner.x0 + 1 - p.HScroll + tab.Frame.x0 + tab.Frame.w0 / 2,
          p.Inner.y0 - p.CaptionHeight + 1 + tab.Frame.h0 / 2);
    ASSERT_EQ(GetElementState(tk, panel), page);
  }
  std::string Code() { return GetElementText(tk, designer.codeElement); }

  // Children of `parent` the designer placed, in list order.
  std::vector<const Element*> PlacedChildren(int parent) {
    std::vector<const Element*> found;
    for (const auto& e : tk.root.Elements)
      if (e->Alive && e->Named == 1 && e->ParentID == parent) found.push_back(e.get());
    return found;
  }
  int Live() {
    int n = 0;
    for (const auto& e : tk.root.Elements)
      n += e->Alive ? 1 : 0;
    return n;
  }

  platform::HeadlessPlatform platform;
  IconArchives archives;
  Designer designer;
  Toolkit tk;
  int form = -1;

 private:
  testing::StepQueue steps_;
};

// The Code page is written afresh at every switch to it (user edits there are replaced), the
// Form page changes nothing, and the tool bar works only on the Form page. Keys typed into
// the code editor edit its text: Delete there never removes the form.
TEST_F(DesignerCommands, EverySwitchToCodeRegeneratesAndTheToolBarWorksOnlyOnTheForm) {
  Designer& d = designer;
  ClickTab(d.mainPanel, 1);
  const std::string first = Code();
  EXPECT_EQ(first, FormCodeText(tk, d.mainPanel));
  EXPECT_NE(first.find("Window_0 = OpenWindow(#PB_Any"), std::string::npos) << first;
  EXPECT_EQ(IsDisabled(tk, d.toolBar), 1);

  // The user edits the code: a click in the editor, Delete at the start, typing.
  ClickElement(d.codeElement);
  Press(Key::Home, platform::Modifier::Control);
  Press(Key::Delete);
  Type(U"edited ");
  ASSERT_EQ(Code().rfind("edited ", 0), 0u) << Code().substr(0, 40);
  EXPECT_NE(FindElement(tk, form), nullptr);  // the Delete key stayed in the text
  // The tool bar is off: its Delete does nothing to the form.
  ClickItem(d.toolBar, Command::Delete);
  EXPECT_NE(FindElement(tk, form), nullptr);

  // The grids filled while the form was hidden read its place as 0; back on the Form page they
  // show it again.
  FillPanelsFromElement(tk, d, form, ElementEvent::Created);
  // The Form page leaves the code alone; the next switch to Code replaces the edit.
  ClickTab(d.mainPanel, 0);
  EXPECT_EQ(GetElementState(tk, d.rows.x), ElementX(tk, form, CoordMode::Parent));
  EXPECT_NE(ElementX(tk, form, CoordMode::Parent), 0);
  EXPECT_EQ(IsDisabled(tk, d.toolBar), 0);
  EXPECT_EQ(Code().rfind("edited ", 0), 0u);
  CreateDesignElement(tk, d, ElementKind::Button, form, 0, 1);
  ClickTab(d.mainPanel, 1);
  EXPECT_EQ(Code(), FormCodeText(tk, d.mainPanel));
  EXPECT_NE(Code(), first);
  EXPECT_NE(Code().find("Window_0_Button_0 = ButtonGadget(#PB_Any"), std::string::npos) << Code();

  // What the Code page shows after a switch.
  std::string error;
  EXPECT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/designer-code-page.png", &error))
      << error;
}

// Commands that need a selection do nothing without one; Delete removes the selection and
// hands it to a neighbour the designer placed (or the form), which the grids then show, so the
// next Delete removes what is shown.
TEST_F(DesignerCommands, DeleteWithNothingSelectedDoesNothing) {
  Designer& d = designer;
  const int a = CreateDesignElement(tk, d, ElementKind::Button, form, 0, 1);
  const int b = CreateDesignElement(tk, d, ElementKind::CheckBox, form, 0, 1);
  ASSERT_EQ(tk.root.DesignedElement, b);

  ClickToolBar(Command::Delete);
  EXPECT_EQ(FindElement(tk, b), nullptr);
  EXPECT_NE(FindElement(tk, a), nullptr);
  EXPECT_EQ(tk.root.DesignedElement, a);
  EXPECT_TRUE(HasAll(FindElement(tk, a)->Flags, Flag::Selected));
  // The last element gone, the form holds the selection and the grids show it.
  ClickToolBar(Command::Delete);
  EXPECT_EQ(FindElement(tk, a), nullptr);
  ASSERT_EQ(tk.root.DesignedElement, form);
  EXPECT_EQ(GetElementText(tk, d.rows.caption), GetElementText(tk, form));
  EXPECT_EQ(GetElementState(tk, d.rows.x), ElementX(tk, form, CoordMode::Parent));
  EXPECT_EQ(GetElementState(tk, d.rows.width), ElementWidth(tk, form));

  // The form goes with its content; then nothing is selected.
  tk.root.DesignedElement = form;
  SelectElement(tk, form, true);
  ClickToolBar(Command::Delete);
  EXPECT_EQ(FindElement(tk, form), nullptr);
  EXPECT_EQ(tk.root.DesignedElement, -1);

  const int live = Live();
  const std::string before = DumpElements(tk);
  ClickToolBar(Command::Delete);
  Press(Key::Delete);
  for (const int command : {Command::First, Command::Last, Command::Copy, Command::Cut,
                            Command::Paste, Command::Prev, Command::Next})
    RunCommand(tk, d, command);
  EXPECT_EQ(Live(), live);
  EXPECT_EQ(DumpElements(tk), before);
  EXPECT_TRUE(d.clipboard.empty());

  // New makes a form again, which is then the selection.
  ClickToolBar(Command::New);
  const int again = tk.root.DesignedElement;
  EXPECT_EQ(GetKind(tk, again), ElementKind::Window);
  EXPECT_EQ(GetParent(tk, again), d.mainPanel);
}

// Copy then paste into a container, by the keyboard on the form: the copies have names of
// their own, the sizes, kinds and texts of the originals; a copied container brings its
// content; Cut then Paste brings back what was cut, and the clipboard names no freed element.
TEST_F(DesignerCommands, CopyThenPasteIntoAContainer) {
  Designer& d = designer;
  tk.root.Selection = {20, 20, 150, 60, 0};
  const int button = CreateDesignElement(tk, d, ElementKind::Button, form, 0, 1);
  SetElementText(tk, button, "Press");
  FindElement(tk, button)->FlagList = "#PB_Button_Default";
  tk.root.Selection = {20, 120, 250, 100, 0};
  const int box = CreateDesignElement(tk, d, ElementKind::Container, form, 0, 1);
  const int originalW = FindElement(tk, button)->Frame.w0;
  const int originalH = FindElement(tk, button)->Frame.h0;

  // The keys act on the form: click the button, Control+C; click the container, Control+V.
  // (Selecting by the click is the form editing's part; the tests of that part show it.)
  auto click = [&](int id) {
    ClickElement(id);
    tk.root.DesignedElement = id;
    SelectElement(tk, id, true);
  };
  click(button);
  Press(KeyOf('C'), platform::Modifier::Control);
  ASSERT_EQ(d.clipboardSources, std::vector<std::string>{std::to_string(button)});
  EXPECT_EQ(d.clipboard.at(std::to_string(button)).name, "Window_0_Button_0");
  click(box);
  Press(KeyOf('V'), platform::Modifier::Control);
  std::vector<const Element*> inBox = PlacedChildren(box);
  ASSERT_EQ(inBox.size(), 1u);
  const Element& copy = *inBox[0];
  EXPECT_EQ(copy.Kind, ElementKind::Button);
  EXPECT_EQ(copy.Name, "Window_0_Container_0_Button_0");
  EXPECT_EQ(copy.Text, "Press");
  EXPECT_EQ(copy.FlagList, "#PB_Button_Default");
  EXPECT_EQ(copy.Frame.w0, originalW);
  EXPECT_EQ(copy.Frame.h0, originalH);
  EXPECT_EQ(ElementX(tk, copy.ID, CoordMode::Parent), ElementX(tk, button, CoordMode::Parent));
  EXPECT_EQ(tk.root.DesignedElement, copy.ID);
  EXPECT_NE(FindElement(tk, button), nullptr);  // copying left the original alone

  // Pasting with a button selected goes into the button's parent; there the copy would hide
  // the first one exactly, so it lands one grid step right and down of it.
  const int firstCopy = copy.ID;
  Press(KeyOf('V'), platform::Modifier::Control);
  ASSERT_EQ(PlacedChildren(box).size(), 2u);
  EXPECT_EQ(GetParent(tk, firstCopy), box);
  const Element& secondCopy = *PlacedChildren(box)[1];
  EXPECT_EQ(secondCopy.Frame.x0, FindElement(tk, firstCopy)->Frame.x0 + d.gridStep);
  EXPECT_EQ(secondCopy.Frame.y0, FindElement(tk, firstCopy)->Frame.y0 + d.gridStep);

  // Cut the container with its two buttons; nothing of it is left, and no clipboard key or
  // parent field names a freed element; the records stay pasteable.
  click(box);
  const size_t formChildren = PlacedChildren(form).size();
  Press(KeyOf('X'), platform::Modifier::Control);
  EXPECT_EQ(FindElement(tk, box), nullptr);
  EXPECT_EQ(FindElement(tk, firstCopy), nullptr);
  EXPECT_EQ(PlacedChildren(form).size(), formChildren - 1);
  ASSERT_EQ(d.clipboard.size(), 3u);
  ASSERT_EQ(d.clipboardSources.size(), 3u);
  for (const auto& [key, record] : d.clipboard) {
    for (const std::string& field : {key, record.parent, record.window}) {
      const int id = std::stoi(field);
      EXPECT_TRUE(id < 0 || FindElement(tk, id) != nullptr) << field;
    }
  }

  // Pasted into the form (the button is selected): the container comes back holding two
  // buttons.
  tk.root.DesignedElement = button;
  Press(KeyOf('V'), platform::Modifier::Control);
  const int pastedBox = tk.root.DesignedElement;
  ASSERT_EQ(GetKind(tk, pastedBox), ElementKind::Container);
  EXPECT_EQ(GetParent(tk, pastedBox), form);
  inBox = PlacedChildren(pastedBox);
  ASSERT_EQ(inBox.size(), 2u);
  for (const Element* e : inBox) {
    EXPECT_EQ(e->Kind, ElementKind::Button);
    EXPECT_EQ(e->Text, "Press");
    EXPECT_EQ(e->Frame.w0, originalW);
  }
  EXPECT_NE(inBox[0]->Name, inBox[1]->Name);

  // A copied form window is pasted onto the Form page as a new form with its content, the
  // one element popup all forms share and the form editing bound.
  tk.root.DesignedElement = form;
  const int popup = d.elementPopup;
  Press(KeyOf('C'), platform::Modifier::Control);
  Press(KeyOf('V'), platform::Modifier::Control);
  const int second = tk.root.DesignedElement;
  ASSERT_EQ(GetKind(tk, second), ElementKind::Window);
  EXPECT_NE(second, form);
  EXPECT_EQ(GetParent(tk, second), d.mainPanel);
  EXPECT_EQ(FindElement(tk, second)->Name, "Window_1");
  EXPECT_EQ(PlacedChildren(second).size(), PlacedChildren(form).size());
  EXPECT_EQ(d.elementPopup, popup);
  EXPECT_FALSE(FindElement(tk, second)->Callbacks.empty());
}

// First, Prev, Next and Last move the selected element among its siblings (the drawing
// order); the element popup's entries carry the same commands.
TEST_F(DesignerCommands, ZOrderCommandsMoveTheSelectionAmongItsSiblings) {
  Designer& d = designer;
  std::vector<int> b;
  for (int i = 0; i < 3; ++i)
    b.push_back(CreateDesignElement(tk, d, ElementKind::Button, form, 0, 1));
  auto order = [&] {
    std::vector<int> ids;
    for (const Element* e : PlacedChildren(form))
      ids.push_back(e->ID);
    return ids;
  };
  ASSERT_EQ(order(), b);
  auto select = [&](int id) {
    tk.root.DesignedElement = id;
    SelectElement(tk, id, true);
  };

  select(b[0]);
  ClickToolBar(Command::Last);
  EXPECT_EQ(order(), (std::vector<int>{b[1], b[2], b[0]}));
  ClickToolBar(Command::Prev);
  EXPECT_EQ(order(), (std::vector<int>{b[1], b[0], b[2]}));
  ClickToolBar(Command::First);
  EXPECT_EQ(order(), (std::vector<int>{b[0], b[1], b[2]}));
  ClickToolBar(Command::Next);
  EXPECT_EQ(order(), (std::vector<int>{b[1], b[0], b[2]}));
  // From the element popup's Z-Order submenu, shown on the form as the form editing shows it.
  DisplayPopupMenu(tk, d.elementPopup, form, CentreX(form), CentreY(form));
  ASSERT_TRUE(ClickItem(d.elementPopup, -1, std::string("Z-Order") + kSubMenuSuffix));
  int submenu = 0;
  for (const auto& e : tk.root.Elements)
    if (e->Alive && e->Kind == ElementKind::PopupMenu && e->Hidden == 0 && e->ID != d.elementPopup)
      submenu = e->ID;
  ASSERT_GT(submenu, 0);
  ASSERT_TRUE(ClickItem(submenu, Command::Last));
  EXPECT_EQ(order(), (std::vector<int>{b[1], b[2], b[0]}));
}

// Quit and the designer window's close box end the program at once while the form is as it
// was; once it changed they ask first: Cancel stays, Yes saves first (cancelling the save
// requester stays), No ends.
TEST_F(DesignerCommands, QuitAndTheCloseBoxAskOnlyWhenTheFormChanged) {
  Designer& d = designer;
  bool asked = false;
  Then([&] { asked = true; });
  ChooseMenu("File", Command::Quit);
  EXPECT_FALSE(asked);
  EXPECT_TRUE(tk.loop.CloseRequested);
  tk.loop.CloseRequested = false;  // carry on as if the program had not ended
  Pump();

  CreateDesignElement(tk, d, ElementKind::Button, form, 0, 1);
  std::string question;
  Then([&] {
    question = GetElementText(tk, Requester());
    InjectKey(Key::Escape);
  });
  ChooseMenu("File", Command::Quit);
  EXPECT_EQ(question, "Designer");
  EXPECT_FALSE(tk.loop.CloseRequested);
  EXPECT_NE(FindElement(tk, d.window), nullptr);

  // The close box at the right end of the designer's caption.
  const Element& w = *FindElement(tk, d.window);
  const int closeX = w.Frame.x0 + w.Frame.w0 - 12, closeY = w.Frame.y0 + 10;
  std::string told;
  Then([&] { InjectKey(Key::Return); });  // Yes
  Then([&] {
    told = GetElementText(tk, Requester());
    InjectKey(Key::Escape);
  });
  Click(closeX, closeY);
  EXPECT_EQ(told, "Please choose file to save");
  EXPECT_FALSE(tk.loop.CloseRequested);
  EXPECT_NE(FindElement(tk, d.window), nullptr);

  // The window manager's close asks too: Cancel keeps the designer running.
  platform::NativeEvent hostClose;
  hostClose.type = platform::NativeEventType::CloseRequest;
  question.clear();
  Then([&] {
    question = GetElementText(tk, Requester());
    InjectKey(Key::Escape);
  });
  platform.PostEvent(hostClose);
  Pump();
  EXPECT_EQ(question, "Designer");
  EXPECT_FALSE(tk.loop.CloseRequested);

  Then([&] { platform.InjectClick(CentreX(RequesterPart("No")), CentreY(RequesterPart("No"))); });
  Click(closeX, closeY);
  EXPECT_TRUE(tk.loop.CloseRequested);
  EXPECT_EQ(FindElement(tk, d.window), nullptr);
}

// The code popup opens on a right click on the code; Copy and Cut put the text on the
// platform's clipboard, Paste takes it back, Delete clears.
TEST_F(DesignerCommands, CodePopupGoesThroughThePlatformClipboard) {
  Designer& d = designer;
  ClickTab(d.mainPanel, 1);
  const std::string code = Code();
  ASSERT_FALSE(code.empty());
  RightClick(CentreX(d.codeElement), CentreY(d.codeElement));
  ASSERT_EQ(ShownPopup(), d.codePopup);
  std::string error;
  EXPECT_TRUE(platform.SavePng(std::string(TK_BINARY_DIR) + "/designer-code-popup.png", &error))
      << error;
  ASSERT_TRUE(ClickItem(d.codePopup, Command::CodeCopy));
  EXPECT_EQ(platform.ClipboardText(), code);
  EXPECT_EQ(Code(), code);

  RightClick(CentreX(d.codeElement), CentreY(d.codeElement));
  ASSERT_TRUE(ClickItem(d.codePopup, Command::CodeDelete));
  EXPECT_EQ(Code(), "");
  platform.SetClipboardText("kept");
  RightClick(CentreX(d.codeElement), CentreY(d.codeElement));
  ASSERT_TRUE(ClickItem(d.codePopup, Command::CodeCut));  // nothing to cut: clipboard kept
  EXPECT_EQ(platform.ClipboardText(), "kept");
  RightClick(CentreX(d.codeElement), CentreY(d.codeElement));
  ASSERT_TRUE(ClickItem(d.codePopup, Command::CodePaste));
  EXPECT_EQ(Code(), "kept");
  SetElementText(tk, d.codeElement, code);
  RightClick(CentreX(d.codeElement), CentreY(d.codeElement));
  ASSERT_TRUE(ClickItem(d.codePopup, Command::CodeCut));
  EXPECT_EQ(platform.ClipboardText(), code);
  EXPECT_EQ(Code(), "");
}

// Control+O and File > Open show the open requester; a chosen file becomes the form's file
// (its name in the title); cancelling reports nothing. Keys typed into the Caption row stay
// there: Delete and Control+C edit the text, the form stays.
TEST_F(DesignerCommands, OpenAndShortcutsLeaveTextFieldsAlone) {
  Designer& d = designer;
  std::string title, pattern;
  Then([&] {
    title = GetElementText(tk, Requester());
    pattern = RequesterText();
    InjectKey(Key::Escape);
  });
  Press(KeyOf('O'), platform::Modifier::Control);
  EXPECT_EQ(title, "Please choose file to load");
  EXPECT_NE(pattern.find("PureBasic (*.pb)"), std::string::npos) << pattern;
  EXPECT_EQ(Requester(), 0);

  std::string message;
  const fs::path file = fs::path(TK_BINARY_DIR) / "commands_test_form.pb";
  std::ofstream(file) << "; a form\n";
  const std::string path = file.string();
  Then([&] {
    InjectText(std::u32string(path.begin(), path.end()));
    InjectKey(Key::Return);
  });
  Then([&] {
    message = GetElementText(tk, Requester()) + ": " + RequesterText();
    InjectKey(Key::Return);
  });
  ChooseMenu("File", Command::Open);
  EXPECT_EQ(message, "");  // read: nothing to report
  DropSteps();
  EXPECT_EQ(GetElementText(tk, d.window), "commands_test_form.pb - Designer");
  fs::remove(file);
  // The form read from the file is the one the later steps edit.
  form = CreateDesignElement(tk, d, ElementKind::Window, d.mainPanel, 0, 1);
  EXPECT_EQ(Requester(), 0);

  // The Caption row takes the keys while it is being typed into.
  ClickElement(d.rows.caption);
  ASSERT_EQ(tk.root.UsedElement, d.rows.caption);
  const std::string shown = GetElementText(tk, d.rows.caption);  // the selected form's caption
  Type(U"abc");
  Press(Key::Left);
  Press(Key::Delete);
  Press(KeyOf('C'), platform::Modifier::Control);
  Press(KeyOf('X'), platform::Modifier::Control);
  EXPECT_EQ(GetElementText(tk, d.rows.caption), shown + "ab");
  EXPECT_NE(FindElement(tk, form), nullptr);
  EXPECT_TRUE(d.clipboard.empty());
  // Save has no meaning in a text field: Control+S there saves as anywhere else.
  std::string askedWhileTyping;
  Then([&] {
    askedWhileTyping = GetElementText(tk, Requester());
    InjectKey(Key::Escape);
  });
  Press(KeyOf('S'), platform::Modifier::Control);
  EXPECT_EQ(askedWhileTyping, "Please choose file to save");
  // Control+S on the form asks for a path; cancelling it changes nothing.
  ClickElement(form);
  const std::string before = DumpElements(tk);
  std::string asked;
  Then([&] {
    asked = GetElementText(tk, Requester());
    InjectKey(Key::Escape);
  });
  Press(KeyOf('S'), platform::Modifier::Control);
  EXPECT_EQ(asked, "Please choose file to save");
  EXPECT_EQ(DumpElements(tk), before);
}

// The whole way from the toolbox to the source, played by the script driver alone: choose
// the Button tool, drag a 100 x 40 rectangle on the form, type the caption into the Caption
// row, turn to the Code page.
TEST_F(DesignerCommands, ScriptedSessionFromTheToolboxToTheCode) {
  Designer& d = designer;
  auto at = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
  auto tab = [&](int panel, int page) {
    const Element& p = *FindElement(tk, panel);
    const Element& t = *p.Items[static_cast<size_t>(page)];
    return at(p.Inner.x0 + 1 - p.HScroll + t.Frame.x0 + t.Frame.w0 / 2,
              p.Inner.y0 - p.CaptionHeight + 1 + t.Frame.h0 / 2);
  };
  auto centre = [&](int id) { return at(CentreX(id), CentreY(id)); };
  const Element& f = *FindElement(tk, form);

  // The toolbox is laid out once its page is shown: the first line turns to it.
  ScriptRunner runner(tk, platform);
  std::string error;
  ASSERT_TRUE(runner.RunText("click " + tab(d.sidePanel, 2) + "\n", "toolbox.txt", &error))
      << error;
  Element& list = *FindElement(tk, d.toolboxList);
  int button = -1;
  for (const auto& item : list.Items)
    if (item->Text == " Button") button = item->Index;
  ASSERT_GE(button, 0);
  const CoordBlock& row = FindItem(list, button)->Frame;
  ASSERT_TRUE(runner.RunText(
      "click " + at(list.Frame.x0 + row.x0 + row.w0 / 2, list.Frame.y0 + row.y0 + row.h0 / 2) +
          "\n",
      "tool.txt", &error))
      << error;
  ASSERT_EQ(GetElementState(tk, d.toolboxList), button);
  const std::string script =
      // From 22, 52 to 122, 92 in the form window's client area: snapped, 20, 50 to 120, 90.
      "drag " + at(f.Inner.x0 + 22, f.Inner.y0 + 52) + " " + at(f.Inner.x0 + 122, f.Inner.y0 + 92) +
      "\n"
      "click " +
      tab(d.sidePanel, 0) + "\nclick " + centre(d.rows.caption) + "\nkey A ctrl\ntype OK\nclick " +
      tab(d.mainPanel, 1) + "\n";
  ASSERT_TRUE(runner.RunText(script, "session.txt", &error)) << error;
  ASSERT_EQ(GetElementState(tk, d.mainPanel), 1);
  EXPECT_EQ(Code(),
            "EnableExplicit\r\n"
            "\r\n"
            "Define Event\r\n"
            "\r\n"
            "Global Window_0=-1\r\n"
            "\r\n"
            "Global Window_0_Button_0=-1\r\n"
            "\r\n"
            "Procedure Open_Window_0()\r\n"
            "  Window_0 = OpenWindow(#PB_Any, 26, 26, 342, 214, \"Window_0\")\r\n"
            "  Window_0_Button_0 = ButtonGadget(#PB_Any, 20, 50, 101, 41, \"OK\")\r\n"
            "\r\n"
            "EndProcedure\r\n"
            "\r\n"
            "CompilerIf #PB_Compiler_IsMainFile\r\n"
            "  Open_Window_0()\r\n"
            "\r\n"
            "  While IsWindow(Window_0)\r\n"
            "    Event = WaitWindowEvent()\r\n"
            "\r\n"
            "    Select Event\r\n"
            "       Case #PB_Event_CloseWindow\r\n"
            "         CloseWindow(EventWindow())\r\n"
            "    EndSelect\r\n"
            "\r\n"
            "    Select EventWindow()\r\n"
            "      Case Window_0\r\n"
            "    EndSelect\r\n"
            "  Wend\r\n"
            "\r\n"
            "  End\r\n"
            "CompilerEndIf\r\n"
            "\r\n"
            "\r\n");
}

// ---- The real window ------------------------------------------------------------------------

// A real right click on the code, then Copy in the code popup: another program (xclip) reads
// the generated code from the real clipboard.
TEST(DesignerCommandsOnScreen, CodePopupCopyReachesTheRealClipboard) {
  if (!DisplayAvailable()) GTEST_SKIP() << "no X display";
  if (!ToolAvailable("xdotool") || !ToolAvailable("xclip")) {
    if (std::getenv("TK_REQUIRE_DISPLAY"))
      FAIL() << "xdotool and xclip are needed (tools/setup.sh)";
    GTEST_SKIP() << "xdotool or xclip missing";
  }
  platform::SdlPlatform sdl;
  ASSERT_TRUE(sdl.Ready()) << sdl.LastError();
  IconArchives archives(sdl.Images(), {fs::path(TK_BINARY_DIR)});
  Designer d(archives);
  Toolkit tk(sdl);
  PrepareToolkit(tk);
  ASSERT_GT(StartDesigner(tk, d).window, 0);
  PrepareLoop(tk, d.window);
  ASSERT_TRUE(PumpUntil(
      tk, [&] { return sdl.HostVisible(); }, 5000));
  SetElementState(tk, d.mainPanel, 1);  // the Code page, generated afresh
  const std::string code = GetElementText(tk, d.codeElement);
  ASSERT_NE(code.find("OpenWindow(#PB_Any"), std::string::npos) << code;
  PumpEvents(tk);

  const unsigned long window = X11WindowOf(sdl.Window());
  ASSERT_NE(window, 0ul) << "not an X11 window";
  const std::string id = std::to_string(window);
  ASSERT_TRUE(RunTool("timeout 5 xdotool windowmap --sync " + id));
  auto shown = [&] {
    const Element* p = FindElement(tk, d.codePopup);
    return p != nullptr && p->Hidden == 0;
  };
  const Element& editor = *FindElement(tk, d.codeElement);
  const std::string at = std::to_string(editor.Frame.x0 + editor.Frame.w0 / 2) + " " +
                         std::to_string(editor.Frame.y0 + editor.Frame.h0 / 2);
  ASSERT_TRUE(Attempt(
      tk, id,
      [&] { RunTool("timeout 5 xdotool mousemove --window " + id + " " + at + " click 3"); },
      shown))
      << "the right click did not open the code popup";

  sdl.SetClipboardText("");
  const Element& popup = *FindElement(tk, d.codePopup);
  const Element* copy = nullptr;
  for (const auto& item : popup.Items)
    if (item->ID == Command::CodeCopy) copy = item.get();
  ASSERT_NE(copy, nullptr);
  const std::string entry = std::to_string(popup.Frame.x0 + copy->Frame.x0 + copy->Frame.w0 / 2) +
                            " " +
                            std::to_string(popup.Frame.y0 + copy->Frame.y0 + copy->Frame.h0 / 2);
  ASSERT_TRUE(Attempt(
      tk, id,
      [&] {
        if (shown())
          RunTool("timeout 5 xdotool mousemove --window " + id + " " + entry + " click 1");
      },
      [&] { return !shown() && sdl.ClipboardText() == code; }))
      << "Copy did not reach the clipboard";

  // xclip asks this program for the clipboard, which answers while its loop runs.
  const fs::path out = fs::path(TK_BINARY_DIR) / "commands_xclip.txt";
  fs::remove(out);
  ASSERT_TRUE(RunTool("(timeout 10 xclip -o -selection clipboard > " + out.string() +
                      ".part && mv " + out.string() + ".part " + out.string() + ") &"));
  EXPECT_TRUE(PumpUntil(
      tk, [&] { return fs::exists(out); }, 10000))
      << "xclip read nothing";
  EXPECT_EQ(ReadAll(out), code);
  fs::remove(out);

  // Taking the clipboard back lets any reader still waiting end.
  sdl.SetClipboardText("");
  PumpEvents(tk);
}

// A form window copied without its title bar (the Flag row took it away) and with the least
// client height the Height row takes comes back from Paste with the same client area, as a
// read of its code would, never a negative one.
TEST_F(DesignerCommands, APastedWindowKeepsItsClientArea) {
  tk.root.DesignedElement = form;
  SelectElement(tk, form, true);
  RemoveElementFlags(tk, form, Flag::TitleBar);
  ASSERT_EQ(FindElement(tk, form)->CaptionHeight, 0);
  SetElementText(tk, designer.rows.height, "1");
  PostElementEvent(tk, ElementEvent::Change, designer.rows.height, 0, 0);
  ASSERT_EQ(ElementHeight(tk, form), 1);
  const int width = ElementWidth(tk, form);
  Press(KeyOf('C'), platform::Modifier::Control);
  Press(KeyOf('V'), platform::Modifier::Control);
  const int copy = tk.root.DesignedElement;
  ASSERT_NE(copy, form);
  ASSERT_EQ(GetKind(tk, copy), ElementKind::Window);
  EXPECT_EQ(ElementHeight(tk, copy), 1);
  EXPECT_EQ(ElementWidth(tk, copy), width);
}

}  // namespace
}  // namespace tk::designer
