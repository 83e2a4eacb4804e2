// Driving the real SDL window under X from a test: whether a display and the X tools are
// there, the X window of an SDL window, and pumping the toolkit until a step has arrived.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

#include "core/toolkit.h"
#include "render/host.h"
// Last: the window-system header defines macros (None, Bool) that clash with other headers.
#include <SDL_syswm.h>

namespace tk::testing {

// False without DISPLAY; a failure too when TK_REQUIRE_DISPLAY asks for a display.
inline bool DisplayAvailable() {
  if (std::getenv("DISPLAY")) return true;
  if (std::getenv("TK_REQUIRE_DISPLAY"))
    ADD_FAILURE() << "TK_REQUIRE_DISPLAY is set but DISPLAY is not";
  return false;
}

inline bool ToolAvailable(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool RunTool(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

inline unsigned long X11WindowOf(SDL_Window* window) {
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
inline bool PumpUntil(Toolkit& tk, const std::function<bool()>& done, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    PumpEvents(tk);
    if (done()) return true;
    SDL_Delay(5);
  }
  PumpEvents(tk);
  return done();
}

// Tries a step up to three times: the suite runs tests side by side on one display, so another
// test's window may take the focus or cover this one meanwhile. Before every try the window
// is raised and takes the X input focus again; `act` sends the input, `done` tells that the
// step has arrived.
inline bool Attempt(Toolkit& tk, const std::string& window, const std::function<void()>& act,
                    const std::function<bool()>& done) {
  for (int i = 0; i < 3; ++i) {
    RunTool("timeout 5 xdotool windowraise " + window);
    if (!RunTool("timeout 5 xdotool windowfocus --sync " + window)) continue;
    act();
    if (PumpUntil(tk, done, 5000)) return true;
  }
  return false;
}

}  // namespace tk::testing
