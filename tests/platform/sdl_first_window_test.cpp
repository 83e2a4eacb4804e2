// The host's first window under a real X display: shown with the first frame before SDL is
// up, then taken over by SDL, which reads its real input, while the window manager's messages
// to the window's maker are still answered.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_platform.h"
#include "tests/support/screen_tools.h"
#include "tests/support/window_capture.h"
// Last: Xlib's macros (None, Bool) clash with other headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tk::platform {
namespace {

using T = NativeEventType;
using tk::testing::DisplayAvailable;
using tk::testing::RunTool;
using tk::testing::ToolAvailable;
using tk::testing::X11WindowOf;

void DrawFrame(Painter& p) {
  p.Box(0, 0, 160, 120, 0xF0F0F0);
  p.Box(10, 10, 40, 30, 0x0000FF);
  p.Box(60, 10, 40, 30, 0x00FF00);
  p.Box(110, 10, 40, 30, 0xFF0000);
  p.Text(12, 90, "Привет", 0x202020, 0xFFFFFF);
}

// The mapped top-level window that this process made, as another client sees it.
Window WindowOfThisProcess(Display* x) {
  const Atom pidAtom = XInternAtom(x, "_NET_WM_PID", False);
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &items, &after, &data) == Success &&
        data != nullptr) {
      XWindowAttributes attributes;
      if (items == 1 && *reinterpret_cast<long*>(data) == getpid() &&
          XGetWindowAttributes(x, children[i], &attributes) && attributes.map_state == IsViewable)
        found = children[i];
      XFree(data);
    }
  }
  if (children) XFree(children);
  return found;
}

bool WaitFor(SdlPlatform& sdl, T type, NativeEvent* seen = nullptr) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  NativeEvent event;
  while (std::chrono::steady_clock::now() < end)
    if (sdl.WaitEvent(event, 20) && event.type == type) {
      if (seen) *seen = event;
      return true;
    }
  return false;
}

int xErrors = 0;
int CountError(Display*, XErrorEvent*) {
  ++xErrors;
  return 0;
}

constexpr int kAtX = 1000, kAtY = 700;

TEST(SdlFirstWindow, ShowsTheFirstFrameThenSdlTakesItOver) {
  if (!DisplayAvailable()) GTEST_SKIP() << "no X display";
  if (!ToolAvailable("xdotool")) GTEST_SKIP() << "xdotool missing";
  SdlPlatform sdl;
  sdl.StartVideo(160, 120);
  // Away from the middle of the screen, where the other window tests put theirs.
  ASSERT_TRUE(sdl.OpenHost(kAtX, kAtY, 160, 120));
  sdl.FocusCanvas();
  Painter* p = sdl.BeginDrawing();
  ASSERT_NE(p, nullptr);
  DrawFrame(*p);
  sdl.EndDrawing();
  sdl.ShowHost(ShowMode::InPlace);
  EXPECT_TRUE(sdl.HostVisible());

  // Another client sees the window in its place with the frame in its colours, before the
  // program has looked at a single event.
  Display* x = XOpenDisplay(nullptr);
  ASSERT_NE(x, nullptr);
  XSelectInput(x, DefaultRootWindow(x), SubstructureNotifyMask);
  const Window id = WindowOfThisProcess(x);
  ASSERT_NE(id, 0u);
  Window child = 0;
  int atX = 0, atY = 0;
  XTranslateCoordinates(x, id, DefaultRootWindow(x), 0, 0, &atX, &atY, &child);
  EXPECT_EQ(atX, kAtX);
  EXPECT_EQ(atY, kAtY);
  HeadlessPlatform headless(160, 120);
  DrawFrame(*headless.BeginDrawing());
  headless.EndDrawing();
  XImage* shot = XGetImage(x, id, 0, 0, 160, 120, AllPlanes, ZPixmap);
  ASSERT_NE(shot, nullptr);
  std::vector<uint32_t> pixels(160 * 120);
  for (int y = 0; y < 120; ++y)
    for (int col = 0; col < 160; ++col)
      pixels[static_cast<size_t>(y) * 160 + col] =
          static_cast<uint32_t>(XGetPixel(shot, col, y)) & 0xFFFFFF;
  XDestroyImage(shot);
  int differing = 0;
  EXPECT_EQ(MaxDifference(pixels, 160, 120, headless, differing), 0) << differing << " differ";
  EXPECT_EQ(pixels[15 * 160 + 15], 0xFF0000u);  // 0x0000FF is red on screen

  // Looking at events hands the same X window to SDL, which reads real input on it.
  NativeEvent event;
  EXPECT_TRUE(WaitFor(sdl, T::FocusGained));
  EXPECT_EQ(X11WindowOf(sdl.Window()), id);
  EXPECT_EQ(sdl.HostRect().x, kAtX);
  EXPECT_EQ(sdl.HostRect().y, kAtY);
  bool clicked = false;
  for (int attempt = 0; attempt < 3 && !clicked; ++attempt) {
    RunTool("timeout 5 xdotool windowraise " + std::to_string(id));
    RunTool("timeout 5 xdotool mousemove --sync --window " + std::to_string(id) + " 30 40 click 1");
    clicked = WaitFor(sdl, T::LeftButtonDown, &event);
  }
  ASSERT_TRUE(clicked);
  EXPECT_EQ(event.x, 30);
  EXPECT_EQ(event.y, 40);

  // The window manager writes to the window's maker: a close request still comes out, and a
  // ping is answered on the root window.
  const Atom protocols = XInternAtom(x, "WM_PROTOCOLS", False);
  auto send = [&](const char* protocol) {
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = id;
    message.xclient.message_type = protocols;
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(x, protocol, False));
    message.xclient.data.l[1] = CurrentTime;
    message.xclient.data.l[2] = static_cast<long>(id);
    XSendEvent(x, id, False, NoEventMask, &message);
    XFlush(x);
  };
  send("WM_DELETE_WINDOW");
  EXPECT_TRUE(WaitFor(sdl, T::CloseRequest));
  send("_NET_WM_PING");
  bool answered = false;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (!answered && std::chrono::steady_clock::now() < end) {
    sdl.WaitEvent(event, 20);
    while (XPending(x) > 0) {
      XEvent reply;
      XNextEvent(x, &reply);
      answered = answered ||
                 (reply.type == ClientMessage && reply.xclient.window == DefaultRootWindow(x) &&
                  static_cast<Window>(reply.xclient.data.l[2]) == id);
    }
  }
  EXPECT_TRUE(answered);

  // SDL never destroys a window it adopted: closing the host does.
  sdl.CloseHost();
  XSync(x, False);
  xErrors = 0;
  auto* previous = XSetErrorHandler(CountError);
  XWindowAttributes gone;
  XGetWindowAttributes(x, id, &gone);
  XSync(x, False);
  XSetErrorHandler(previous);
  EXPECT_EQ(xErrors, 1);
  XCloseDisplay(x);
}

}  // namespace
}  // namespace tk::platform
