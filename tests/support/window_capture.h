// Reading back what a real SDL window shows, and comparing it with a headless canvas.
#pragma once

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/headless/headless_platform.h"
// Last: the window-system header defines macros (None, Bool) that clash with other headers.
#include <SDL_syswm.h>

namespace tk::platform {

#if defined(SDL_VIDEO_DRIVER_X11)
// Reads `width` x `height` pixels of X window `window` back from the X server, so the test sees
// what is really on the screen. Xlib is loaded at run time (SDL has it loaded already). False
// when the read fails.
inline bool GrabX11Pixels(Display* display, unsigned long window, int width, int height,
                          std::vector<uint32_t>& out) {
  void* lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
  if (!lib) return false;
  using Image = void*;
  auto sync = reinterpret_cast<int (*)(Display*, int)>(dlsym(lib, "XSync"));
  auto get = reinterpret_cast<Image (*)(Display*, unsigned long, int, int, unsigned, unsigned,
                                        unsigned long, int)>(dlsym(lib, "XGetImage"));
  auto pixel = reinterpret_cast<unsigned long (*)(Image, int, int)>(dlsym(lib, "XGetPixel"));
  auto destroy = reinterpret_cast<int (*)(Image)>(dlsym(lib, "XDestroyImage"));
  bool ok = false;
  if (sync && get && pixel && destroy) {
    sync(display, 0);
    constexpr int kZPixmap = 2;
    Image shot = get(display, window, 0, 0, width, height, ~0ul, kZPixmap);
    if (shot) {
      out.resize(static_cast<size_t>(width) * height);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          out[static_cast<size_t>(y) * width + x] =
              static_cast<uint32_t>(pixel(shot, x, y)) & 0xFFFFFF;
      destroy(shot);
      ok = true;
    }
  }
  dlclose(lib);
  return ok;
}
#endif

// What an SDL window shows, read back from the X server. False when the window is not an X11
// window or the read fails.
inline bool GrabX11Window(SDL_Window* window, std::vector<uint32_t>& out, int& width, int& height) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  SDL_GetWindowSize(window, &width, &height);
  return GrabX11Pixels(info.info.x11.display, info.info.x11.window, width, height, out);
#else
  (void)window, (void)out, (void)width, (void)height;
  return false;
#endif
}

// Largest channel difference between a window read-back and the headless canvas.
inline int MaxDifference(const std::vector<uint32_t>& pixels, int width, int height,
                         const HeadlessPlatform& headless, int& differing) {
  int maxDiff = 0;
  differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint32_t a = pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF;
      uint32_t b = headless.CanvasPixel(x, y);
      int diff = 0;
      for (int s = 0; s < 24; s += 8)
        diff = std::max(
            diff, std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)));
      maxDiff = std::max(maxDiff, diff);
      differing += diff ? 1 : 0;
    }
  return maxDiff;
}

}  // namespace tk::platform
