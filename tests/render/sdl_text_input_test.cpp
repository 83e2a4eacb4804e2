// Real X input into a String on the SDL2 backend: xdotool clicks, types and presses the paste
// keys as a person would, and xclip puts text on the real clipboard.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

#include "core/events.h"
#include "core/lookup.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "platform/sdl/sdl_platform.h"
#include "render/host.h"
#include "tests/support/screen_tools.h"

namespace tk::testing {
namespace {

TEST(SdlTextInput, RealTypingAndTheRealClipboardReachAString) {
  if (!DisplayAvailable()) GTEST_SKIP() << "no X display";
  if (!ToolAvailable("xdotool") || !ToolAvailable("xclip")) {
    if (std::getenv("TK_REQUIRE_DISPLAY"))
      FAIL() << "xdotool and xclip are needed (tools/setup.sh)";
    GTEST_SKIP() << "xdotool or xclip missing";
  }
  platform::SdlPlatform sdl;
  ASSERT_TRUE(sdl.Ready()) << sdl.LastError();
  // The bottom-right corner of the screen, away from where the other tests open windows.
  constexpr int kWidth = 360, kHeight = 160;
  SDL_Rect screen{0, 0, 640, 480};
  SDL_GetDisplayBounds(0, &screen);
  Toolkit tk(sdl);
  PrepareToolkit(tk);
  ASSERT_EQ(
      OpenHost(tk, 1, std::max(0, screen.w - kWidth - 10), std::max(0, screen.h - kHeight - 10),
               kWidth, kHeight, "Typing", Flag::SystemMenu),
      1);
  const int s = String(tk, 10, 20, 20, 300, 26, "");
  ASSERT_EQ(s, 10);
  int changes = 0;
  BindElementEvent(tk, s, MakeHandler([&](EventCode code, int) {
                     if (code == ElementEvent::Change) ++changes;
                     return 1;
                   }),
                   ElementEvent::Change);
  PumpEvents(tk);  // the first focus paints and shows the host
  ASSERT_TRUE(sdl.HostVisible());
  auto text = [&] { return FindElement(tk, s)->Text; };

  const unsigned long window = X11WindowOf(sdl.Window());
  ASSERT_NE(window, 0ul) << "not an X11 window";
  const std::string id = std::to_string(window);
  ASSERT_TRUE(RunTool("timeout 5 xdotool windowmap --sync " + id));

  // A real click on the String gives it the keyboard.
  const Element* e = FindElement(tk, s);
  ASSERT_NE(e, nullptr);
  const std::string at = std::to_string(e->Frame.x0 + e->Frame.w0 / 2) + " " +
                         std::to_string(e->Frame.y0 + e->Frame.h0 / 2);
  ASSERT_TRUE(Attempt(
      tk, id,
      [&] { RunTool("timeout 5 xdotool mousemove --window " + id + " " + at + " click 1"); },
      [&] { return tk.root.UsedElement == s; }))
      << "the click did not reach the String";

  // Real key presses; a try that lost the focus part way types only what is still missing.
  const std::string typed = "Hello, World 42";
  EXPECT_TRUE(Attempt(
      tk, id,
      [&] {
        const std::string now = text();
        if (typed.compare(0, now.size(), now) != 0) return;  // garbled: no try can mend it
        RunTool("timeout 10 xdotool type --delay 15 '" + typed.substr(now.size()) + "'");
      },
      [&] { return text() == typed; }))
      << "the String holds \"" << text() << "\"";
  EXPECT_EQ(changes, static_cast<int>(typed.size()));  // one Change per typed character

  // Text from another program on the real clipboard, pasted with Control+V at the end.
  const std::string clip = "Привет";
  ASSERT_TRUE(RunTool("printf '%s' '" + clip + "' | timeout 5 xclip -selection clipboard"));
  EXPECT_TRUE(PumpUntil(
      tk, [&] { return sdl.ClipboardText() == clip; }, 5000))
      << "the clipboard holds \"" << sdl.ClipboardText() << "\"";
  EXPECT_TRUE(Attempt(
      tk, id,
      [&] {
        if (text() == typed) RunTool("timeout 5 xdotool key End ctrl+v");
      },
      [&] { return text() == typed + clip; }))
      << "the String holds \"" << text() << "\"";
  EXPECT_EQ(FindElement(tk, s)->EditCaret, static_cast<int>(typed.size()) + 6);
  EXPECT_EQ(changes, static_cast<int>(typed.size()) + 1);

  // Taking the clipboard back lets xclip, which serves it until then, end.
  sdl.SetClipboardText("");
  PumpEvents(tk);
}

}  // namespace
}  // namespace tk::testing
