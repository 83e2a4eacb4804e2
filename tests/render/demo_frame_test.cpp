// The demonstration frame shown in a real SDL window is the same picture the headless backend
// renders: both draw through the same code, and the window shows the canvas unchanged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "designer/demo.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_platform.h"
#include "render/host.h"
#include "tests/support/window_capture.h"

namespace tk::testing {
namespace {

constexpr int kWidth = demo::kDefaultWidth, kHeight = demo::kDefaultHeight;

TEST(DemoFrame, TheRealWindowShowsTheHeadlessPicture) {
  if (!std::getenv("DISPLAY")) {
    if (std::getenv("TK_REQUIRE_DISPLAY")) FAIL() << "TK_REQUIRE_DISPLAY is set but DISPLAY is not";
    GTEST_SKIP() << "no X display";
  }
  platform::HeadlessPlatform headless(kWidth, kHeight);
  Toolkit offscreen(headless);
  PrepareToolkit(offscreen);
  ASSERT_GT(demo::BuildDemo(offscreen, kWidth, kHeight), 0);
  PumpEvents(offscreen);  // the first focus paints the first frame
  ASSERT_EQ(headless.PresentCount(), 1);

  platform::SdlPlatform sdl;
  ASSERT_TRUE(sdl.Ready()) << sdl.LastError();
  Toolkit real(sdl);
  PrepareToolkit(real);
  ASSERT_GT(demo::BuildDemo(real, kWidth, kHeight), 0);
  PumpEvents(real);
  ASSERT_TRUE(sdl.HostVisible());
  // Let the window system map the window before reading it back.
  for (int i = 0; i < 20; ++i) {
    SDL_Delay(10);
    PumpEvents(real);
  }

  std::vector<uint32_t> shown;
  int w = 0, h = 0, differing = 0;
  ASSERT_TRUE(sdl.ReadWindowPixels(shown, w, h));
  ASSERT_EQ(w, kWidth);
  ASSERT_EQ(h, kHeight);
  EXPECT_EQ(platform::MaxDifference(shown, w, h, headless, differing), 0)
      << differing << " pixels differ in the renderer's read-back";

  // What the X server holds for the window: the picture as a person sees it. Other tests'
  // windows on the same server may pass over it for a moment, so it is raised and read again
  // until nothing covers it (each exposure is repainted from the canvas).
  std::vector<uint32_t> screen;
  bool grabbed = false;
  int best = -1;
  for (int attempt = 0; attempt < 50 && best != 0; ++attempt) {
    SDL_RaiseWindow(sdl.Window());
    PumpEvents(real);
    if (!platform::GrabX11Window(sdl.Window(), screen, w, h)) break;
    grabbed = true;
    ASSERT_EQ(w, kWidth);
    best = platform::MaxDifference(screen, w, h, headless, differing);
    if (best != 0) SDL_Delay(20);
  }
  if (grabbed) {
    EXPECT_EQ(best, 0) << differing << " pixels differ on the screen";
  } else {
    ADD_FAILURE() << "the window could not be read back from the X server";
  }
}

}  // namespace
}  // namespace tk::testing
