// The canvas event entry and the event loop: translation, hit testing, enter/leave, capture,
// start-up and the caption-button handler, driven through the headless backend.
#include <algorithm>
#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "render/host.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {
namespace {

using platform::NativeEvent;
using platform::NativeEventType;

struct Seen {
  EventCode code;
  int element;
};

class CanvasEntryTest : public ToolkitTest {
 protected:
  void Open(Flags64 flags = Flag::SystemMenu) {
    // The kinds' own behaviour (gadget delivery, clicks, hit passing) comes from their descriptors.
    PrepareToolkit(tk);
    main = OpenHost(tk, 1, 0, 0, 800, 600, "Main", flags);
    ASSERT_EQ(main, 1);
  }

  // Records every pointer code that reaches the handlers of an element.
  void Watch(int id) {
    BindElementEvent(tk, id, MakeHandler([this, id](EventCode code, int) {
                       if (code >= ElementEvent::MouseEnter && code <= ElementEvent::MiddleClick)
                         seen.push_back({code, id});
                       return 1;
                     }),
                     -1);
  }

  void Inject(NativeEventType type, int x, int y) {
    NativeEvent ev;
    ev.type = type;
    ev.x = x;
    ev.y = y;
    platform.Inject(ev);
  }

  void Key(int key, int modifiers) {
    NativeEvent ev;
    ev.type = NativeEventType::KeyDown;
    ev.keyCode = key;
    ev.modifiers = modifiers;
    platform.Inject(ev);
  }

  void Pump() { PumpEvents(tk); }

  std::vector<EventCode> CodesFor(int id) const {
    std::vector<EventCode> out;
    for (const Seen& s : seen)
      if (s.element == id) out.push_back(s.code);
    return out;
  }

  int main = 0;
  std::vector<Seen> seen;
};

int Button(Toolkit& tk, int id, int x, int y, int w = 100, int h = 30) {
  return CreateElement(tk, ElementKind::Button, id, x, y, w, h, "B" + std::to_string(id));
}

TEST_F(CanvasEntryTest, StartUpActivatesAnnouncesAndShowsTheHostOnce) {
  Open(Flag::SystemMenu | Flag::ScreenCentered);
  int started = 0;
  BindCallback(tk, MakeHandler([&](EventCode code, int) {
                 if (code == ElementEvent::Started) ++started;
                 return 1;
               }),
               -1, -1, -1);
  EXPECT_FALSE(platform.HostVisible());
  Pump();  // the focus queued when the host opened
  EXPECT_TRUE(tk.loop.Started);
  EXPECT_EQ(started, 1);
  EXPECT_TRUE(platform.HostVisible());
  EXPECT_EQ(platform.LastShowMode(), platform::ShowMode::ScreenCentered);
  EXPECT_EQ(tk.root.ActiveWindow, main);

  // Later activations of the host neither announce again nor change the code.
  tk.loop.CurrentCode = ElementEvent::LeftClick;
  Inject(NativeEventType::FocusGained, 0, 0);
  Pump();
  EXPECT_EQ(started, 1);
  EXPECT_EQ(tk.loop.CurrentCode, ElementEvent::LeftClick);
}

TEST_F(CanvasEntryTest, PressOnOneElementReleaseOverAnotherKeepsTheCapture) {
  Open();
  int a = Button(tk, 10, 10, 10);
  int b = Button(tk, 11, 200, 10);
  Watch(a);
  Watch(b);
  Pump();
  // Button A's frame is at (11, 38) inside the main window.
  Inject(NativeEventType::MouseMove, 5, 5);  // first report only makes the position known
  Inject(NativeEventType::MouseMove, 50, 50);
  Inject(NativeEventType::LeftButtonDown, 50, 50);
  Inject(NativeEventType::MouseMove, 120, 50);
  Inject(NativeEventType::MouseMove, 250, 50);
  Inject(NativeEventType::LeftButtonUp, 250, 50);
  Inject(NativeEventType::LeftClick, 250, 50);
  Pump();

  using namespace ElementEvent;
  EXPECT_EQ(CodesFor(a), (std::vector<EventCode>{MouseEnter, MouseMove, LeftButtonDown, MouseMove,
                                                 MouseMove, LeftButtonUp, MouseLeave}));
  EXPECT_EQ(CodesFor(b), (std::vector<EventCode>{MouseEnter, LeftClick}));
  EXPECT_EQ(tk.root.ButtonHeld, 0);
  EXPECT_EQ(tk.loop.PressedCode, 0);
  EXPECT_EQ(tk.loop.EnteredElement, b);
}

TEST_F(CanvasEntryTest, MovementIsReportedOnlyWhenThePositionChanges) {
  Open();
  int a = Button(tk, 10, 10, 10);
  Watch(a);
  Pump();
  Inject(NativeEventType::MouseMove, 30, 45);  // makes the position known
  Inject(NativeEventType::MouseMove, 40, 45);
  Inject(NativeEventType::MouseMove, 40, 45);
  Inject(NativeEventType::MouseMove, 40, 45);
  Pump();
  EXPECT_EQ(CodesFor(a),
            (std::vector<EventCode>{ElementEvent::MouseEnter, ElementEvent::MouseMove}));
  EXPECT_EQ(tk.root.MouseX, 40);
  EXPECT_EQ(tk.root.MouseY, 45);
}

TEST_F(CanvasEntryTest, HitTestPrefersLaterElementsAndSelectedFrames) {
  Open();
  int under = Button(tk, 10, 10, 10, 100, 30);
  int over = Button(tk, 11, 50, 10, 100, 30);  // overlaps the right part of the first
  Watch(under);
  Watch(over);
  Pump();
  Inject(NativeEventType::MouseMove, 5, 5);
  Inject(NativeEventType::MouseMove, 80, 50);  // inside both
  Pump();
  EXPECT_EQ(tk.root.PointerElement, over);
  EXPECT_EQ(CodesFor(under), std::vector<EventCode>{});

  // A button sticking out of its container is hit outside the container only when selected.
  int box = CreateElement(tk, ElementKind::Container, 20, 300, 100, 100, 100, "", 0, 0, 0,
                          Flag::BorderLess);
  int wide = Button(tk, 21, 50, 10, 120, 30);  // frame reaches x = 301 + 50 + 120
  CloseList(tk);
  ASSERT_EQ(GetParent(tk, wide), box);
  Inject(NativeEventType::MouseMove, 430, 140);  // right of the container's edge
  Pump();
  EXPECT_NE(tk.root.PointerElement, wide);
  FindElement(tk, wide)->Flags |= Flag::Selected;
  Inject(NativeEventType::MouseMove, 431, 140);
  Pump();
  EXPECT_EQ(tk.root.PointerElement, wide);
  EXPECT_EQ(FindElement(tk, wide)->MouseX, 431 - FindElement(tk, wide)->Frame.x0);
}

TEST_F(CanvasEntryTest, HiddenElementsAndTransparentContainersAreNotHit) {
  Open();
  int a = Button(tk, 10, 10, 10);
  int box = CreateElement(tk, ElementKind::Container, 20, 0, 0, 300, 100, "", 0, 0, 0, 0);
  CloseList(tk);
  Pump();
  FindElement(tk, box)->InnerPart1 = 1;  // hits pass through it
  Inject(NativeEventType::MouseMove, 5, 5);
  Inject(NativeEventType::MouseMove, 50, 50);
  Pump();
  EXPECT_EQ(tk.root.PointerElement, a);
  HideElement(tk, a, 1);
  Inject(NativeEventType::MouseMove, 51, 50);
  Pump();
  EXPECT_EQ(tk.root.PointerElement, main);
}

TEST_F(CanvasEntryTest, KeysAndCharactersGoToTheUsedElement) {
  Open();
  int a = Button(tk, 10, 10, 10);
  std::vector<EventCode> codes;
  BindElementEvent(tk, a, MakeHandler([&](EventCode code, int) {
                     codes.push_back(code);
                     return 1;
                   }),
                   ElementEvent::KeyDown | ElementEvent::Input);
  Pump();
  ActivateElement(tk, a);
  ASSERT_EQ(tk.root.UsedElement, a);
  Key(platform::Key::A, platform::Modifier::Shift);
  NativeEvent ch;
  ch.type = NativeEventType::Input;
  ch.ch = U'Ж';
  platform.Inject(ch);
  ch.ch = 9;  // control characters are not input
  platform.Inject(ch);
  Pump();
  ASSERT_EQ(codes.size(), 2u);
  EXPECT_EQ(codes[0], ElementEvent::KeyDown);
  EXPECT_EQ(codes[1], ElementEvent::Input);
  EXPECT_EQ(tk.root.KeyCode, platform::Key::A);
  EXPECT_EQ(tk.root.Modifiers, platform::Modifier::Shift);
  EXPECT_EQ(tk.root.InputChar, U'Ж');
}

TEST_F(CanvasEntryTest, ClosingTheMainWindowEndsTheLoop) {
  Open();
  Button(tk, 10, 10, 10);
  std::vector<int> freed;
  BindCallback(tk, MakeHandler([&](EventCode code, int) {
                 if (code == ElementEvent::Started) SetElementState(tk, main, 0x20);
                 if (code == ElementEvent::Freed) freed.push_back(tk.root.Event.EventElement);
                 return 1;
               }),
               -1, -1, -1);
  RunEventLoop(tk, main);
  EXPECT_TRUE(tk.loop.CloseRequested);  // ended by the close request, not by running dry
  EXPECT_NE(std::find(freed.begin(), freed.end(), main), freed.end());
  EXPECT_NE(std::find(freed.begin(), freed.end(), 10), freed.end());
  EXPECT_TRUE(tk.root.Elements.empty());
  EXPECT_FALSE(platform.HostExists());
}

TEST_F(CanvasEntryTest, ALoopWithoutCloseRequestRunsUntilTheQueueIsDry) {
  Open();
  RunEventLoop(tk, main);
  EXPECT_FALSE(tk.loop.CloseRequested);
  EXPECT_TRUE(tk.loop.Started);
}

TEST_F(CanvasEntryTest, ANestedLoopEndedFromAHandlerReturnsAndLeavesTheRootIntact) {
  Open();
  Button(tk, 10, 10, 40);  // opens a modal loop
  Button(tk, 11, 10, 80);  // answers it
  tk.root.ToolKind = ElementKind::Button;
  tk.root.Selection.Width = 40;
  std::vector<std::string> order;
  bool intact = false;
  BindElementEvent(tk, 10, MakeHandler([&](EventCode code, int) {
                     if (code != ElementEvent::LeftClick) return 1;
                     order.push_back("open");
                     EXPECT_EQ(RunEventLoop(tk, main), 0);
                     order.push_back("returned");
                     intact = platform.HostExists() && FindElement(tk, 11) != nullptr &&
                              tk.root.MainWindow == main &&
                              tk.root.ToolKind == ElementKind::Button &&
                              tk.root.Selection.Width == 40 && !tk.loop.CloseRequested;
                     return 1;
                   }),
                   -1);
  BindElementEvent(tk, 11, MakeHandler([&](EventCode code, int) {
                     if (code != ElementEvent::LeftClick) return 1;
                     order.push_back("answer");
                     QuitEventLoop(tk);
                     return 1;
                   }),
                   -1);
  NativeEvent focus;
  focus.type = NativeEventType::FocusGained;
  platform.Inject(focus);
  const auto click = [&](int id) {
    const Element& e = *FindElement(tk, id);
    platform.InjectClick(e.Frame.x0 + 5, e.Frame.y0 + 5);
  };
  click(10);
  click(11);  // handled by the nested loop
  click(11);  // and this one by the outer loop again
  RunEventLoop(tk, main);
  EXPECT_EQ(order, (std::vector<std::string>{"open", "answer", "returned", "answer"}));
  EXPECT_TRUE(intact);
  // The outer loop, run dry, ended the program: host closed, Root afresh.
  EXPECT_FALSE(platform.HostExists());
  EXPECT_TRUE(tk.root.Elements.empty());
  EXPECT_EQ(tk.root.ToolKind, ElementKind::None);
  EXPECT_EQ(tk.root.Selection.Width, 0);
  EXPECT_EQ(tk.loop.Depth, 0);
}

TEST_F(CanvasEntryTest, ACloseRequestInsideANestedLoopEndsTheOuterLoopToo) {
  Open();
  Button(tk, 10, 10, 40);
  int returned = 0;
  BindElementEvent(tk, 10, MakeHandler([&](EventCode code, int) {
                     if (code != ElementEvent::LeftClick) return 1;
                     RunEventLoop(tk, main);
                     ++returned;
                     return 1;
                   }),
                   -1);
  NativeEvent ev;
  ev.type = NativeEventType::FocusGained;
  platform.Inject(ev);
  const Element& b = *FindElement(tk, 10);
  const int x = b.Frame.x0 + 5, y = b.Frame.y0 + 5;
  platform.InjectClick(x, y);
  ev.type = NativeEventType::CloseRequest;
  platform.Inject(ev);
  platform.InjectClick(x, y);  // never reached: the program has ended
  RunEventLoop(tk, main);
  EXPECT_EQ(returned, 1);
  EXPECT_TRUE(tk.loop.CloseRequested);
  EXPECT_FALSE(platform.HostExists());
  EXPECT_TRUE(tk.root.Elements.empty());
}

TEST_F(CanvasEntryTest, ANestedLoopForAWindowEndsWhenThatWindowIsFreed) {
  Open();
  Button(tk, 10, 10, 40);
  Button(tk, 11, 10, 80);  // pressed after the answer: the outer loop takes it
  const int asking = CreateElement(tk, ElementKind::Window, 20, 300, 100, 200, 120, "Ask", -1, -1,
                                   -1, Flag::SystemMenu);
  Button(tk, 21, 10, 10);
  CloseList(tk);
  int returned = 0;
  BindElementEvent(tk, 10, MakeHandler([&](EventCode code, int) {
                     if (code != ElementEvent::LeftClick) return 1;
                     RunEventLoop(tk, asking);
                     ++returned;
                     return 1;
                   }),
                   -1);
  BindElementEvent(tk, 21, MakeHandler([&](EventCode code, int) {
                     if (code == ElementEvent::LeftClick) FreeElement(tk, asking);
                     return 1;
                   }),
                   -1);
  int returnedBeforeNext = -1;
  BindElementEvent(tk, 11, MakeHandler([&](EventCode code, int) {
                     if (code == ElementEvent::LeftClick) returnedBeforeNext = returned;
                     return 1;
                   }),
                   -1);
  NativeEvent ev;
  ev.type = NativeEventType::FocusGained;
  platform.Inject(ev);
  const Element& b = *FindElement(tk, 10);
  const Element& answer = *FindElement(tk, 21);
  platform.InjectClick(b.Frame.x0 + 5, b.Frame.y0 + 5);
  platform.InjectClick(answer.Frame.x0 + 5, answer.Frame.y0 + 5);
  const Element& next = *FindElement(tk, 11);
  platform.InjectClick(next.Frame.x0 + 5, next.Frame.y0 + 5);
  ASSERT_TRUE(PumpEvents(tk));
  EXPECT_EQ(returned, 1);
  EXPECT_EQ(returnedBeforeNext, 1);
  EXPECT_EQ(FindElement(tk, asking), nullptr);
  EXPECT_EQ(tk.root.MainWindow, main);
  EXPECT_TRUE(platform.HostExists());
}

TEST_F(CanvasEntryTest, CaptionButtonHandlerMaximizesMinimizesAndRestoresChildWindows) {
  Open();
  int w = CreateElement(tk, ElementKind::Window, 5, 40, 50, 200, 100, "child", -1, -1, -1,
                        Flag::SystemMenu | Flag::MaximizeGadget | Flag::MinimizeGadget);
  ASSERT_EQ(GetParent(tk, w), main);
  Element* e = FindElement(tk, w);
  const int x0 = e->ParentOffsetX(), y0 = e->ParentOffsetY();
  const int w0 = e->Frame.w0, h0 = e->Frame.h0;

  e->Maximized = 1;
  WindowButtonHandler(tk, ElementEvent::MaximizeButton, w);
  EXPECT_EQ(e->ParentOffsetX(), 0);
  EXPECT_EQ(e->Frame.w0, FindElement(tk, main)->Inner.w0);
  e->Maximized = 0;
  WindowButtonHandler(tk, ElementEvent::MaximizeButton, w);
  EXPECT_EQ(e->ParentOffsetX(), x0);
  EXPECT_EQ(e->ParentOffsetY(), y0);
  EXPECT_EQ(e->Frame.w0, w0);
  EXPECT_EQ(e->Frame.h0, h0);

  e->Minimized = 1;
  WindowButtonHandler(tk, ElementEvent::MinimizeButton, w);
  EXPECT_EQ(e->Frame.w0, 240);
  EXPECT_EQ(e->Frame.h0, 28);
  EXPECT_EQ(e->ParentOffsetY(), FindElement(tk, main)->Inner.h0 - 28);
  e->Minimized = 0;
  WindowButtonHandler(tk, ElementEvent::MinimizeButton, w);
  EXPECT_EQ(e->Frame.w0, w0);
  EXPECT_EQ(e->ParentOffsetY(), y0);

  // The main window works on the host itself.
  FindElement(tk, main)->Maximized = 1;
  WindowButtonHandler(tk, ElementEvent::MaximizeButton, main);
  EXPECT_TRUE(platform.Maximized());

  // Closing a window frees it; freeing the main window asks the loop to end.
  WindowButtonHandler(tk, ElementEvent::CloseButton, w);
  EXPECT_EQ(FindElement(tk, w), nullptr);
  WindowButtonHandler(tk, ElementEvent::Freed, main);
  NativeEvent ev;
  bool sawClose = false;
  while (platform.PollEvent(ev))
    if (ev.type == NativeEventType::CloseRequest) sawClose = true;
  EXPECT_TRUE(sawClose);
}

}  // namespace
}  // namespace tk::testing
