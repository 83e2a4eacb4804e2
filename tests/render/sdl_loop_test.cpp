// The event loop on the real SDL2 backend: the host opens hidden, the first focus shows it,
// and a real close request from the window system ends the loop.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/events.h"
#include "core/lookup.h"
#include "platform/sdl/sdl_platform.h"
#include "render/host.h"
#include "requesters/requesters.h"

namespace tk::testing {
namespace {

bool DisplayAvailable() {
  if (std::getenv("DISPLAY")) return true;
  if (std::getenv("TK_REQUIRE_DISPLAY"))
    ADD_FAILURE() << "TK_REQUIRE_DISPLAY is set but DISPLAY is not";
  return false;
}

// Asks the window system to close the host, as its close button would.
void PushCloseRequest(platform::SdlPlatform& sdl) {
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  close.window.windowID = SDL_GetWindowID(sdl.Window());
  SDL_PushEvent(&close);
}

TEST(SdlLoop, ARealCloseRequestEndsTheLoop) {
  if (!DisplayAvailable()) GTEST_SKIP() << "no X display";
  platform::SdlPlatform sdl;
  ASSERT_TRUE(sdl.Ready()) << sdl.LastError();
  Toolkit tk(sdl);
  InstallRender(tk);
  int main = OpenHost(tk, 1, 40, 40, 320, 200, "Loop", Flag::SystemMenu);
  ASSERT_EQ(main, 1);
  EXPECT_FALSE(sdl.HostVisible());

  bool started = false;
  BindCallback(tk, MakeHandler([&](EventCode code, int) {
                 if (code == ElementEvent::Started) {
                   started = true;
                   PushCloseRequest(sdl);
                 }
                 return 1;
               }),
               -1, -1, -1);
  RunEventLoop(tk, main);
  EXPECT_TRUE(started);
  EXPECT_TRUE(tk.loop.CloseRequested);
  EXPECT_TRUE(tk.loop.Started);
  EXPECT_FALSE(sdl.HostExists());
  EXPECT_TRUE(tk.root.Elements.empty());
}

// A requester opened from a handler on the real backend runs its own loop inside the
// program's, takes the key the user presses, and leaves the host open.
TEST(SdlLoop, ARequesterAnswersInsideTheRunningLoop) {
  if (!DisplayAvailable()) GTEST_SKIP() << "no X display";
  platform::SdlPlatform sdl;
  ASSERT_TRUE(sdl.Ready()) << sdl.LastError();
  Toolkit tk(sdl);
  InstallRender(tk);
  int main = OpenHost(tk, 1, 40, 40, 480, 320, "Loop", Flag::SystemMenu);
  ASSERT_EQ(main, 1);

  int answer = 0;
  bool hostDuringAnswer = false;
  BindCallback(tk, MakeHandler([&](EventCode code, int) {
                 if (code != ElementEvent::Started) return 1;
                 SDL_Event key{};
                 key.type = SDL_KEYDOWN;
                 key.key.windowID = SDL_GetWindowID(sdl.Window());
                 key.key.keysym.sym = SDLK_RETURN;
                 key.key.keysym.scancode = SDL_SCANCODE_RETURN;
                 SDL_PushEvent(&key);
                 answer = MessageRequester(tk, "Question", "Keep going?", MessageFlag::YesNo);
                 hostDuringAnswer = sdl.HostExists() && !tk.loop.CloseRequested;
                 PushCloseRequest(sdl);
                 return 1;
               }),
               -1, -1, -1);
  RunEventLoop(tk, main);
  EXPECT_EQ(answer, MessageAnswer::Yes);  // Return: the first button, so the requester was shown
  EXPECT_TRUE(hostDuringAnswer);
  EXPECT_FALSE(sdl.HostExists());
}

}  // namespace
}  // namespace tk::testing
