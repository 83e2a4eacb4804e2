// Real X input into a String on the SDL2 backend: xdotool clicks, types and presses the paste
// keys as a person would, and xclip puts text on the real clipboard.
#include <SDL.h>
#include <gtest/gtest.h>

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
// Last: the window-system header defines macros (None, Bool) that clash with other headers.
#include <SDL_syswm.h>

namespace tk::testing {
namespace {

bool DisplayAvailable() {
  if (std::getenv("DISPLAY")) return true;
  if (std::getenv("TK_REQUIRE_DISPLAY"))
    ADD_FAILURE() << "TK_REQUIRE_DISPLAY is set but DISPLAY is not";
  return false;
}

bool ToolAvailable(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

bool RunTool(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Starts a command that runs on while the test pumps the loop.
bool StartTool(const std::string& command) {
  return std::system(("(" + command + ") >/dev/null 2>&1 &").c_str()) == 0;
}

unsigned long X11WindowOf(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
    return info.info.x11.window;
#else
  (void)window;
#endif
  return 0;
}

// Runs the loop until `done` holds or `ms` milliseconds have passed.
bool PumpUntil(Toolkit& tk, const std::function<bool()>& done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    PumpEvents(tk);
    if (done()) return true;
    SDL_Delay(5);
  }
  PumpEvents(tk);
  return done();
}

TEST(SdlTextInput, RealTypingAndTheRealClipboardReachAString) {
  if (!DisplayAvailable()) GTEST_SKIP() << "no X display";
  if (!ToolAvailable("xdotool") || !ToolAvailable("xclip")) {
    if (std::getenv("TK_REQUIRE_DISPLAY"))
      FAIL() << "xdotool and xclip are needed (tools/setup.sh)";
    GTEST_SKIP() << "xdotool or xclip missing";
  }
  platform::SdlPlatform sdl;
  ASSERT_TRUE(sdl.Ready()) << sdl.LastError();
  Toolkit tk(sdl);
  PrepareToolkit(tk);
  ASSERT_EQ(OpenHost(tk, 1, 40, 40, 360, 160, "Typing", Flag::SystemMenu), 1);
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

  const unsigned long window = X11WindowOf(sdl.Window());
  ASSERT_NE(window, 0ul) << "not an X11 window";
  const std::string id = std::to_string(window);
  // The window must be viewable and hold the X input focus before keys are sent to it.
  ASSERT_TRUE(RunTool("timeout 5 xdotool windowmap --sync " + id));
  ASSERT_TRUE(RunTool("timeout 5 xdotool windowfocus --sync " + id));

  // A real click on the String gives it the keyboard.
  const Element* e = FindElement(tk, s);
  ASSERT_NE(e, nullptr);
  const int x = e->Frame.x0 + e->Frame.w0 / 2, y = e->Frame.y0 + e->Frame.h0 / 2;
  ASSERT_TRUE(RunTool("timeout 5 xdotool mousemove --window " + id + " " + std::to_string(x) + " " +
                      std::to_string(y) + " click 1"));
  ASSERT_TRUE(PumpUntil(
      tk, [&] { return tk.root.UsedElement == s; }, 5000))
      << "the click did not reach the String";

  // Typing runs in the background while the loop takes the keys.
  const std::string typed = "Hello, World 42";
  ASSERT_TRUE(StartTool("timeout 10 xdotool type --delay 20 '" + typed + "'"));
  EXPECT_TRUE(PumpUntil(
      tk, [&] { return FindElement(tk, s)->Text == typed; }, 10000))
      << "the String holds \"" << FindElement(tk, s)->Text << "\"";
  EXPECT_EQ(changes, static_cast<int>(typed.size()));  // one Change per typed character

  // Text from another program on the real clipboard, pasted with Control+V at the end.
  const std::string clip = "Привет";
  ASSERT_TRUE(RunTool("printf '%s' '" + clip + "' | timeout 5 xclip -selection clipboard"));
  EXPECT_TRUE(PumpUntil(
      tk, [&] { return sdl.ClipboardText() == clip; }, 5000))
      << "the clipboard holds \"" << sdl.ClipboardText() << "\"";
  ASSERT_TRUE(StartTool("timeout 5 xdotool key End ctrl+v"));
  EXPECT_TRUE(PumpUntil(
      tk, [&] { return FindElement(tk, s)->Text == typed + clip; }, 10000))
      << "the String holds \"" << FindElement(tk, s)->Text << "\"";
  EXPECT_EQ(FindElement(tk, s)->EditCaret, static_cast<int>(typed.size()) + 6);
  EXPECT_EQ(changes, static_cast<int>(typed.size()) + 1);

  // Taking the clipboard back lets xclip, which serves it until then, end.
  sdl.SetClipboardText("");
  PumpEvents(tk);
}

}  // namespace
}  // namespace tk::testing
