// A started program with one main window, and a way to act on a requester while its nested
// loop runs: each step runs when the loop has nothing left to handle, so it sees the
// requester as the user would.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "core/coords.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/window.h"
#include "render/host.h"
#include "requesters/modal.h"
#include "tests/support/step_queue.h"
#include "tests/support/toolkit_fixture.h"

namespace tk::testing {

class RequesterTest : public ToolkitTest {
 protected:
  static constexpr int kMain = 1;

  void SetUp() override {
    PrepareToolkit(tk);
    ASSERT_EQ(tk::Window(tk, kMain, 0, 0, 780, 560, "Main", Flag::SystemMenu), kMain);
    CloseList(tk);
    PrepareLoop(tk, kMain);
    PumpEvents(tk);  // the first focus paints and shows the host
    steps_.Attach(platform);
  }
  void TearDown() override { testing::StepQueue::Detach(platform); }

  // Queues what the user does next inside the open requester.
  void Then(std::function<void()> step) { steps_.Then(std::move(step)); }
  // Drops what no requester took; true when nothing was left.
  bool DropSteps() {
    const bool taken = steps_.Empty();
    steps_.Clear();
    return taken;
  }

  // The innermost open requester's window (0 when none) and its element numbered n.
  int Requester() const { return tk.root.ModalWindows.empty() ? 0 : tk.root.ModalWindows.back(); }
  int Part(int n) const { return Requester() + n; }

  // The centre of an element in canvas pixels.
  int CentreX(int id) {
    const Element* e = FindElement(tk, id);
    return e == nullptr ? -1 : e->Frame.x0 + e->Frame.w0 / 2;
  }
  int CentreY(int id) {
    const Element* e = FindElement(tk, id);
    return e == nullptr ? -1 : e->Frame.y0 + e->Frame.h0 / 2;
  }
  void Click(int id) { platform.InjectClick(CentreX(id), CentreY(id)); }
  void Press(int code, int modifiers = 0) {
    platform::NativeEvent ev;
    ev.type = platform::NativeEventType::KeyDown;
    ev.keyCode = code;
    ev.modifiers = modifiers;
    platform.Inject(ev);
    ev.type = platform::NativeEventType::KeyUp;
    platform.Inject(ev);
  }
  void Type(const std::u32string& text) {
    for (char32_t c : text) {
      platform::NativeEvent ev;
      ev.type = platform::NativeEventType::Input;
      ev.ch = c;
      platform.Inject(ev);
    }
  }

 private:
  testing::StepQueue steps_;
};

}  // namespace tk::testing
