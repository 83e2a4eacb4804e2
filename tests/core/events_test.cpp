// Event binding and delivery: replay of pending events, the order of delivery, the Root's
// event record, unbinding, and handlers that free what they are handling.
#include <string>
#include <vector>

#include "core/attributes.h"
#include "core/creation.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "tests/support/toolkit_fixture.h"

namespace tk {
namespace {

struct Call {
  std::string who;
  EventCode type;
  int value;
  EventRecord record;
};

class EventsTest : public testing::ToolkitTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(CreateElement(tk, ElementKind::Desktop, 0, 0, 0, 800, 600, "", 0, 0, 0,
                            MakeFlags(0x8000000, 0)),
              0);
  }
  int Window(int id) {
    return CreateElement(tk, ElementKind::Window, id, 10, 10, 300, 200, "Win", -1, -1, -1, 0);
  }
  int Make(ElementKind kind, int id) {
    return CreateElement(tk, kind, id, 5, 5, 60, 20, "g", 0, 0, 0, 0);
  }
  // A handler that records every call under a name and answers `result`.
  HandlerRef Recorder(const std::string& who, int result = 1) {
    return MakeHandler([this, who, result](EventCode type, int value) {
      calls.push_back({who, type, value, tk.root.Event});
      return result;
    });
  }
  std::vector<std::string> Who() const {
    std::vector<std::string> names;
    for (const Call& c : calls)
      names.push_back(c.who);
    return names;
  }
  std::vector<Call> calls;
};

TEST_F(EventsTest, LateWindowBindingSeesEachCreationOnce) {
  Window(100);
  Make(ElementKind::Button, 101);
  Make(ElementKind::String, 102);
  Make(ElementKind::CheckBox, 103);

  // The window's own creation comes first, then each of its elements'.
  BindElementEvent(tk, 100, Recorder("first"), ElementEvent::Created);
  ASSERT_EQ(calls.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(calls[i].type, ElementEvent::Created);
    EXPECT_EQ(calls[i].value, 100 + static_cast<int>(i));
    EXPECT_EQ(calls[i].record.EventElement, 100 + static_cast<int>(i));
    EXPECT_EQ(calls[i].record.EventType, ElementEvent::Created);
  }
  EXPECT_EQ(calls[0].record.EventWindow, 100);
  EXPECT_EQ(tk.root.Event.EventElement, -1);  // restored after the replay

  calls.clear();
  BindElementEvent(tk, 100, Recorder("second"), ElementEvent::Created);
  EXPECT_TRUE(calls.empty());
}

TEST_F(EventsTest, AWindowBoundAfterItsCreationSeesItsOwnCreationAndFocus) {
  Window(100);
  PostElementEvent(tk, ElementEvent::Focus, 100, 0, 0);  // as activation announces it
  CloseList(tk);
  Window(200);  // another window's events stay its own
  CloseList(tk);
  BindCallback(tk, Recorder("form"), 100, -1, -1);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].type, ElementEvent::Created);
  EXPECT_EQ(calls[1].type, ElementEvent::Focus);
  EXPECT_EQ(calls[0].value, 100);
  EXPECT_EQ(calls[1].record.EventWindow, 100);
}

TEST_F(EventsTest, ReplayFollowsTheFixedTypeOrderAndTheBoundTypes) {
  Window(100);
  Make(ElementKind::Button, 101);
  PostElementEvent(tk, ElementEvent::Move, 101, 0, 0);
  PostElementEvent(tk, ElementEvent::Change, 101, 0, 0);
  PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0);  // never replayed

  BindElementEvent(tk, 101, Recorder("g"), ElementEvent::Move);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].type, ElementEvent::Move);

  calls.clear();
  BindElementEvent(tk, 101, Recorder("all"), -1);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].type, ElementEvent::Change);
  EXPECT_EQ(calls[1].type, ElementEvent::Created);
  EXPECT_EQ(calls[1].value, 101);
}

TEST_F(EventsTest, DeliveryGoesToGadgetThenWindowThenDesktop) {
  Window(100);
  Make(ElementKind::Button, 101);
  BindCallback(tk, Recorder("desktop"), -1, -1, ElementEvent::LeftClick);
  BindElementEvent(tk, 100, Recorder("window"), ElementEvent::LeftClick);
  BindElementEvent(tk, 101, Recorder("gadget"), ElementEvent::LeftClick);
  calls.clear();

  EXPECT_EQ(PostElementEvent(tk, ElementEvent::LeftClick, 101, 7, 99), 1);
  EXPECT_EQ(Who(), (std::vector<std::string>{"gadget", "window", "desktop"}));
  EXPECT_EQ(calls[0].value, 7);
  EXPECT_EQ(FindElement(tk, 101)->EventData, 99);

  // Types nobody bound for reach nobody; every posted type stays pending for later bindings.
  calls.clear();
  EXPECT_EQ(PostElementEvent(tk, ElementEvent::RightClick, 101, 0, 0), 1);
  EXPECT_TRUE(calls.empty());
  EXPECT_NE(FindElement(tk, 101)->PendingEvents & ElementEvent::RightClick, 0);
  EXPECT_NE(FindElement(tk, 101)->PendingEvents & ElementEvent::LeftClick, 0);
}

TEST_F(EventsTest, AHandlerReturningZeroStopsDelivery) {
  Window(100);
  Make(ElementKind::Button, 101);
  BindCallback(tk, Recorder("desktop"), -1, -1, ElementEvent::LeftClick);
  BindElementEvent(tk, 100, Recorder("window"), ElementEvent::LeftClick);
  BindElementEvent(tk, 101, Recorder("gadget", 0), ElementEvent::LeftClick);
  BindElementEvent(tk, 101, Recorder("gadget2"), ElementEvent::LeftClick);
  calls.clear();

  EXPECT_EQ(PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0), 0);
  EXPECT_EQ(Who(), std::vector<std::string>{"gadget"});

  // A window handler returning 0 keeps the desktop out too.
  Make(ElementKind::Button, 102);
  const HandlerRef stop = Recorder("window-stop", 0);
  UnbindCallback(tk, FindElement(tk, 100)->Callbacks.front(), 100, -1);
  BindElementEvent(tk, 100, stop, ElementEvent::LeftClick);
  calls.clear();
  EXPECT_EQ(PostElementEvent(tk, ElementEvent::LeftClick, 102, 0, 0), 0);
  EXPECT_EQ(Who(), std::vector<std::string>{"window-stop"});
}

TEST_F(EventsTest, WindowBoundAsAWholeSeesOnlyItsOwnEvents) {
  Window(100);
  Make(ElementKind::Button, 101);
  BindCallback(tk, Recorder("window"), 100, kIgnore, ElementEvent::LeftClick);
  EXPECT_EQ(FindElement(tk, 100)->BoundWindow, kIgnore);
  calls.clear();
  PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0);
  EXPECT_TRUE(calls.empty());
  PostElementEvent(tk, ElementEvent::LeftClick, 100, 0, 0);
  EXPECT_EQ(Who(), std::vector<std::string>{"window"});

  // A window id that names nothing binds to the desktop, recorded as window 0.
  BindCallback(tk, Recorder("desktop"), 12345, -1, ElementEvent::Focus);
  EXPECT_EQ(DesktopElement(tk)->BoundWindow, 0);
  EXPECT_EQ(DesktopElement(tk)->BoundOwner, 0);
  EXPECT_EQ(DesktopElement(tk)->Callbacks.size(), 1u);
}

TEST_F(EventsTest, TheEventRecordDescribesTheEventAndSurvivesNesting) {
  Window(100);
  Make(ElementKind::Button, 101);
  Make(ElementKind::Button, 102);
  const EventRecord initial = tk.root.Event;
  EventRecord outerAfterNested;
  BindElementEvent(tk, 101, MakeHandler([&](EventCode type, int value) {
                     calls.push_back({"outer", type, value, tk.root.Event});
                     PostElementEvent(tk, ElementEvent::Change, 102, 5, 6);
                     outerAfterNested = tk.root.Event;
                     return 1;
                   }),
                   ElementEvent::LeftClick);
  BindElementEvent(tk, 102, Recorder("inner"), ElementEvent::Change);
  calls.clear();

  PostElementEvent(tk, ElementEvent::LeftClick, 101, 3, 4);
  ASSERT_EQ(Who(), (std::vector<std::string>{"outer", "inner"}));
  const EventRecord& outer = calls[0].record;
  EXPECT_EQ(outer.EventType, ElementEvent::LeftClick);
  EXPECT_EQ(outer.EventElement, 101);
  EXPECT_EQ(outer.EventGadget, 101);
  EXPECT_EQ(outer.EventWindow, 100);
  EXPECT_EQ(outer.EventParent, 100);
  EXPECT_EQ(outer.EventData, 4);
  EXPECT_EQ(outer.EventMenu, -1);
  const EventRecord& inner = calls[1].record;
  EXPECT_EQ(inner.EventGadget, 102);
  EXPECT_EQ(inner.EventType, ElementEvent::Change);
  EXPECT_EQ(inner.EventData, 6);
  EXPECT_EQ(calls[1].value, 5);
  EXPECT_EQ(outerAfterNested.EventGadget, 101);
  EXPECT_EQ(outerAfterNested.EventType, ElementEvent::LeftClick);
  EXPECT_EQ(tk.root.Event.EventGadget, initial.EventGadget);
  EXPECT_EQ(tk.root.Event.EventType, initial.EventType);

  // A window's own event names it as the window, not as a gadget.
  BindElementEvent(tk, 100, Recorder("window"), ElementEvent::Move);
  calls.clear();
  PostElementEvent(tk, ElementEvent::Move, 100, 0, 0);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].record.EventWindow, 100);
  EXPECT_EQ(calls[0].record.EventGadget, -1);
}

TEST_F(EventsTest, UnbindingRemovesOnlyThatHandler) {
  Window(100);
  Make(ElementKind::Button, 101);
  const HandlerRef a = Recorder("a");
  const HandlerRef b = Recorder("b");
  BindElementEvent(tk, 101, a, ElementEvent::LeftClick);
  BindElementEvent(tk, 101, b, ElementEvent::LeftClick);
  calls.clear();

  UnbindCallback(tk, a, 100, 101);
  EXPECT_EQ(FindElement(tk, 101)->BoundOwner, -1);
  PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0);
  EXPECT_EQ(Who(), std::vector<std::string>{"b"});

  UnbindCallback(tk, b, 100, 101);
  calls.clear();
  PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0);
  EXPECT_TRUE(calls.empty());

  // A fresh binding after everything was unbound gets only its own types.
  BindElementEvent(tk, 101, Recorder("c"), ElementEvent::Change);
  calls.clear();
  PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0);
  EXPECT_TRUE(calls.empty());

  // Unbinding from the desktop.
  const HandlerRef d = Recorder("d");
  BindCallback(tk, d, -1, -1, ElementEvent::Move);
  UnbindCallback(tk, d, -1, -1);
  calls.clear();
  PostElementEvent(tk, ElementEvent::Move, 101, 0, 0);
  EXPECT_TRUE(calls.empty());
}

TEST_F(EventsTest, AHandlerMayFreeItsOwnWindow) {
  Window(100);
  Make(ElementKind::Button, 101);
  int freedSeen = 0;
  bool armed = false;  // the replay at binding must not free the window yet
  // Frees its window on every event, the Freed events included.
  BindElementEvent(tk, 100, MakeHandler([&](EventCode type, int) {
                     if (!armed) return 1;
                     if (type == ElementEvent::Freed) ++freedSeen;
                     FreeElement(tk, 100);
                     return 1;
                   }),
                   -1);
  BindElementEvent(tk, 101, Recorder("gadget-first"), ElementEvent::LeftClick);
  BindElementEvent(tk, 101, MakeHandler([&](EventCode, int) {
                     FreeElement(tk, 101);
                     return 1;
                   }),
                   ElementEvent::LeftClick);
  BindElementEvent(tk, 101, Recorder("gadget-after-free"), ElementEvent::LeftClick);
  BindCallback(tk, Recorder("desktop"), -1, -1, ElementEvent::LeftClick);
  calls.clear();
  armed = true;

  PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0);
  EXPECT_EQ(FindElement(tk, 101), nullptr);
  // The gadget's own Freed reached the window's handler, which then freed the window.
  EXPECT_EQ(FindElement(tk, 100), nullptr);
  EXPECT_GE(freedSeen, 1);
  EXPECT_EQ(Who(), (std::vector<std::string>{"gadget-first", "desktop"}));
  EXPECT_EQ(tk.root.BusyDepth, 0);
  EXPECT_TRUE(tk.root.Graveyard.empty());
  EXPECT_EQ(tk.root.Elements.size(), 1u);  // only the desktop is left
  EXPECT_EQ(tk.root.IDToAddress.size(), 1u);
}

TEST_F(EventsTest, FreeingTheWindowOnAClickIsSafe) {
  Window(100);
  Make(ElementKind::Button, 101);
  BindElementEvent(tk, 100, MakeHandler([&](EventCode type, int) {
                     if (type == ElementEvent::LeftClick) FreeElement(tk, 100);
                     return 1;
                   }),
                   ElementEvent::LeftClick);
  BindElementEvent(tk, 100, Recorder("window-after"), ElementEvent::LeftClick);
  PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0);
  EXPECT_EQ(FindElement(tk, 100), nullptr);
  EXPECT_EQ(FindElement(tk, 101), nullptr);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(tk.root.BusyDepth, 0);
}

TEST_F(EventsTest, AHandlerMayBindAndUnbindDuringDelivery) {
  Window(100);
  Make(ElementKind::Button, 101);
  const HandlerRef late = Recorder("late");
  HandlerRef self;
  self = MakeHandler([&](EventCode type, int value) {
    calls.push_back({"self", type, value, tk.root.Event});
    UnbindCallback(tk, self, 100, 101);
    BindElementEvent(tk, 101, late, ElementEvent::LeftClick);
    return 1;
  });
  BindElementEvent(tk, 101, self, ElementEvent::LeftClick);
  calls.clear();

  PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0);
  EXPECT_EQ(Who(), std::vector<std::string>{"self"});  // the copy taken before delivery
  calls.clear();
  PostElementEvent(tk, ElementEvent::LeftClick, 101, 0, 0);
  EXPECT_EQ(Who(), std::vector<std::string>{"late"});
  self.reset();
}

}  // namespace
}  // namespace tk
