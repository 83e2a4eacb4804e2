// SDL backend under a real X display: host window, presented pixels, event translation.
// Without DISPLAY these tests are skipped, unless TK_REQUIRE_DISPLAY asks for them to fail.
#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_platform.h"
#include "tests/support/screen_tools.h"
#include "tests/support/window_capture.h"
// Last: Xlib's macros (None, Bool) clash with other headers.
#include <X11/Xatom.h>

namespace tk::platform {
namespace {

using T = NativeEventType;
using tk::testing::DisplayAvailable;
using tk::testing::RunTool;
using tk::testing::ToolAvailable;
using tk::testing::X11WindowOf;

TEST(SdlKeys, TableSpotChecks) {
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_LEFT), 37);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), 65);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_z), 90);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_BACKSPACE), 8);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_0), 48);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_9), 57);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_RETURN), 13);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER), 13);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_ESCAPE), 27);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_DELETE), 46);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_RSHIFT), 16);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_LCTRL), 17);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1), 112);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12), 123);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_5), 101);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_UNKNOWN), 0);
  EXPECT_EQ(ModifiersFromSdl(KMOD_LCTRL | KMOD_RSHIFT), Modifier::Control | Modifier::Shift);
  EXPECT_EQ(ModifiersFromSdl(KMOD_RALT), Modifier::Alt);
  EXPECT_EQ(ModifiersFromSdl(KMOD_NUM), 0);
}

// Without a session bus D-Bus would fork a helper and start a bus daemon of its own when SDL
// starts; the platform keeps it to a bus that exists.
TEST(SdlStart, DBusUsesOnlyABusThatExists) {
  auto saved = [](const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  };
  const auto address = saved("DBUS_SESSION_BUS_ADDRESS");
  const auto runtime = saved("XDG_RUNTIME_DIR");
  auto addressAfterStart = [] {
    SdlPlatform platform;
    const char* value = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    return std::string(value ? value : "(unset)");
  };

  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(addressAfterStart(), "disabled:");

  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus", 1);
  EXPECT_EQ(addressAfterStart(), "unix:path=/run/user/1000/bus");

  // The user bus in the runtime folder is D-Bus's own to find.
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "sdl-start";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "bus").put('\n');
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  EXPECT_EQ(addressAfterStart(), "(unset)");

  for (const auto& [name, value] :
       {std::pair{"DBUS_SESSION_BUS_ADDRESS", address}, std::pair{"XDG_RUNTIME_DIR", runtime}})
    value ? setenv(name, value->c_str(), 1) : unsetenv(name);
}

// Without a display SDL would fall back on a driver that shows nothing, and the program would
// run on unseen: the host does not open, and the reason says why.
TEST(SdlStart, WithoutADisplayNoHostOpens) {
  std::optional<std::string> saved[2];
  const char* names[2] = {"DISPLAY", "WAYLAND_DISPLAY"};
  for (int i = 0; i < 2; ++i) {
    if (const char* value = std::getenv(names[i])) saved[i] = value;
    unsetenv(names[i]);
  }
  {
    SdlPlatform platform;
    platform.StartVideo(160, 120);
    EXPECT_FALSE(platform.Ready());
    EXPECT_NE(platform.LastError().find("no display"), std::string::npos) << platform.LastError();
    EXPECT_FALSE(platform.OpenHost(0, 0, 160, 120));
  }
  for (int i = 0; i < 2; ++i)
    if (saved[i]) setenv(names[i], saved[i]->c_str(), 1);
}

class SdlBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) {
      if (std::getenv("TK_REQUIRE_DISPLAY"))
        FAIL() << "TK_REQUIRE_DISPLAY is set but DISPLAY is not";
      GTEST_SKIP() << "no X display";
    }
    sdl = std::make_unique<SdlPlatform>();
    ASSERT_TRUE(sdl->Ready()) << sdl->LastError();
    ASSERT_TRUE(sdl->OpenHost(40, 30, 160, 120)) << SDL_GetError();
  }

  // Reads everything queued now, keeping only the types a test looks at.
  std::vector<NativeEvent> Collect(std::initializer_list<T> keep) {
    std::vector<NativeEvent> out;
    NativeEvent event;
    while (sdl->PollEvent(event))
      if (std::find(keep.begin(), keep.end(), event.type) != keep.end()) out.push_back(event);
    return out;
  }
  std::vector<T> Types(const std::vector<NativeEvent>& events) {
    std::vector<T> types;
    for (const NativeEvent& e : events)
      types.push_back(e.type);
    return types;
  }
  void Flush() {
    SDL_PumpEvents();
    Collect({});
  }
  Uint32 WindowId() { return SDL_GetWindowID(sdl->Window()); }
  void PushButton(Uint32 type, Uint8 button, int x, int y, Uint8 clicks = 1) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.button.windowID = WindowId();
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }

  std::unique_ptr<SdlPlatform> sdl;
};

void DrawScene(Painter& p) {
  p.Box(0, 0, 160, 120, 0xF0F0F0);
  p.Box(10, 10, 40, 30, 0x0000FF);
  p.Box(60, 10, 40, 30, 0x00FF00);
  p.Box(110, 10, 40, 30, 0xFF0000);
  p.SetMode(DrawMode::Outlined);
  p.Box(10, 50, 60, 20, 0x000000);
  p.SetMode(DrawMode::Default);
  p.Circle(120, 70, 15, 0x808000);
  p.Text(12, 90, "Привет, World", 0x202020, 0xFFFFFF);
}

TEST_F(SdlBackend, HostShowsWhatTheCanvasHolds) {
  EXPECT_TRUE(sdl->HostExists());
  EXPECT_FALSE(sdl->HostVisible());  // opened hidden
  Rect rect = sdl->HostRect();
  EXPECT_EQ(rect.w, 160);
  EXPECT_EQ(rect.h, 120);

  sdl->FocusCanvas();
  NativeEvent event;
  ASSERT_TRUE(sdl->PollEvent(event));
  EXPECT_EQ(event.type, T::FocusGained);

  sdl->ShowHost(ShowMode::ScreenCentered);
  EXPECT_TRUE(sdl->HostVisible());
  SDL_DisplayMode mode;
  if (SDL_GetCurrentDisplayMode(0, &mode) == 0) {
    rect = sdl->HostRect();
    EXPECT_NEAR(rect.x, (mode.w - 160) / 2, 2);
    EXPECT_NEAR(rect.y, (mode.h - 120) / 2, 2);
  }

  Painter* p = sdl->BeginDrawing();
  ASSERT_NE(p, nullptr);
  DrawScene(*p);
  sdl->EndDrawing();
  HeadlessPlatform headless(160, 120);
  Painter* h = headless.BeginDrawing();
  ASSERT_NE(h, nullptr);
  DrawScene(*h);
  headless.EndDrawing();

  std::vector<uint32_t> pixels;
  int w = 0, hgt = 0;
  ASSERT_TRUE(sdl->ReadWindowPixels(pixels, w, hgt)) << SDL_GetError();
  ASSERT_EQ(w, 160);
  ASSERT_EQ(hgt, 120);
  int differing = 0;
  EXPECT_EQ(MaxDifference(pixels, w, hgt, headless, differing), 0) << differing << " pixels differ";
  EXPECT_EQ(pixels[15 * 160 + 15] & 0xFFFFFF, 0xFF0000u);  // 0x0000FF is red on screen
  // And the X server holds the same picture in the window.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "x11") == 0) {
    ASSERT_TRUE(GrabX11Window(sdl->Window(), pixels, w, hgt));
    ASSERT_EQ(w, 160);
    ASSERT_EQ(hgt, 120);
    EXPECT_EQ(MaxDifference(pixels, w, hgt, headless, differing), 0)
        << differing << " pixels differ on the screen";
  }

  sdl->ResizeHost(40, 30, 200, 150);
  EXPECT_EQ(sdl->HostRect().w, 200);
  ASSERT_TRUE(sdl->ReadWindowPixels(pixels, w, hgt));
  EXPECT_EQ(w, 200);
  p = sdl->BeginDrawing();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->OutputWidth(), 200);
  EXPECT_EQ(p->OutputHeight(), 150);
  sdl->EndDrawing();

  sdl->SetCursor(Cursor::Move);
  EXPECT_EQ(sdl->CurrentCursor(), Cursor::Move);
  EXPECT_FALSE(sdl->SetCustomCursor(4242, 0, 0));
  int image = sdl->Images().Create(ImageStore::kAny, 16, 16, 32, 0x800000FF);
  EXPECT_TRUE(sdl->SetCustomCursor(image, 8, 8));
  EXPECT_EQ(sdl->CurrentCursor(), Cursor::Custom);
  sdl->SetCursor(Cursor::Default);
  EXPECT_EQ(sdl->CurrentCursor(), Cursor::Default);

  sdl->SetClipboardText("Привет");
  EXPECT_EQ(sdl->ClipboardText(), "Привет");

  sdl->CloseHost();
  EXPECT_FALSE(sdl->HostExists());
  EXPECT_FALSE(sdl->OpenHost(0, 0, 0, 0));
}

TEST_F(SdlBackend, CloseRequestsComeOut) {
  Flush();
  NativeEvent close;
  close.type = T::CloseRequest;
  sdl->PostEvent(close);
  NativeEvent event;
  ASSERT_TRUE(sdl->PollEvent(event));
  EXPECT_EQ(event.type, T::CloseRequest);

  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  e.window.windowID = WindowId();
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  EXPECT_EQ(Types(Collect({T::CloseRequest})), std::vector<T>{T::CloseRequest});

  std::memset(&e, 0, sizeof e);
  e.type = SDL_QUIT;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  ASSERT_TRUE(sdl->WaitEvent(event, 500));
  EXPECT_EQ(event.type, T::CloseRequest);
  // Nothing left: waiting times out.
  EXPECT_FALSE(sdl->WaitEvent(event, 20) && event.type == T::CloseRequest);
}

TEST_F(SdlBackend, PointerButtonsAreTranslated) {
  Flush();
  auto buttons = {T::LeftButtonDown,   T::LeftButtonUp,   T::LeftClick,  T::LeftDoubleClick,
                  T::RightButtonDown,  T::RightButtonUp,  T::RightClick, T::RightDoubleClick,
                  T::MiddleButtonDown, T::MiddleButtonUp, T::MouseMove};

  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 12);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 11, 13);
  std::vector<NativeEvent> events = Collect(buttons);
  ASSERT_EQ(Types(events), (std::vector<T>{T::LeftButtonDown, T::LeftButtonUp, T::LeftClick}));
  EXPECT_EQ(events[2].x, 11);
  EXPECT_EQ(events[2].y, 13);
  EXPECT_EQ(sdl->PointerInClient().x, 11);  // follows the last event handed out
  EXPECT_EQ(sdl->PointerInClient().y, 13);

  // Double click: down then double click; the right button clicks too, the middle never.
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 12, 2);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 12, 2);
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 20, 20);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 20, 20);
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 20, 20);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 20, 20);
  EXPECT_EQ(Types(Collect(buttons)),
            (std::vector<T>{T::LeftButtonDown, T::LeftDoubleClick, T::LeftButtonUp, T::LeftClick,
                            T::RightButtonDown, T::RightButtonUp, T::RightClick,
                            T::MiddleButtonDown, T::MiddleButtonUp}));

  // Released outside the canvas, or released without a press on it: no click.
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -5, 300);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 10, 10);
  events = Collect(buttons);
  EXPECT_EQ(Types(events), (std::vector<T>{T::LeftButtonDown, T::LeftButtonUp, T::RightButtonUp}));
  EXPECT_EQ(sdl->PointerInClient().x, 10);

  // Mouse motion reports every position, outside the client area too while captured.
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = WindowId();
  e.motion.x = 33;
  e.motion.y = 44;
  SDL_PushEvent(&e);
  events = Collect({T::MouseMove});
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(sdl->PointerInClient().x, 33);
  EXPECT_EQ(sdl->PointerInClient().y, 44);

  // Another window's events are not the canvas's.
  std::memset(&e, 0, sizeof e);
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.windowID = WindowId() + 100;
  e.button.button = SDL_BUTTON_LEFT;
  SDL_PushEvent(&e);
  EXPECT_TRUE(Collect(buttons).empty());
}

TEST_F(SdlBackend, WheelKeysAndTextAreTranslated) {
  Flush();
  SDL_Event e;
  auto wheel = [&](float y) {
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = WindowId();
    e.wheel.y = static_cast<Sint32>(y);
    e.wheel.preciseY = y;
    e.wheel.mouseX = 7;
    e.wheel.mouseY = 8;
    SDL_PushEvent(&e);
  };
  wheel(0.5f);
  EXPECT_TRUE(Collect({T::Wheel}).empty());  // half a notch is carried over
  wheel(0.75f);
  std::vector<NativeEvent> events = Collect({T::Wheel});
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].wheel, 1);
  EXPECT_EQ(events[0].x, 7);
  wheel(-2.0f);
  events = Collect({T::Wheel});
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].wheel, -1);  // 0.25 left over, minus 2 gives -1.75

  std::memset(&e, 0, sizeof e);
  e.type = SDL_KEYDOWN;
  e.key.windowID = WindowId();
  e.key.keysym.sym = SDLK_LEFT;
  e.key.keysym.mod = KMOD_LSHIFT | KMOD_LCTRL;
  SDL_PushEvent(&e);
  e.type = SDL_KEYUP;
  e.key.keysym.sym = SDLK_a;
  e.key.keysym.mod = KMOD_NONE;
  SDL_PushEvent(&e);
  events = Collect({T::KeyDown, T::KeyUp});
  ASSERT_EQ(Types(events), (std::vector<T>{T::KeyDown, T::KeyUp}));
  EXPECT_EQ(events[0].keyCode, Key::Left);
  EXPECT_EQ(events[0].modifiers, Modifier::Shift | Modifier::Control);
  EXPECT_EQ(events[1].keyCode, Key::A);
  EXPECT_EQ(events[1].modifiers, 0);

  std::memset(&e, 0, sizeof e);
  e.type = SDL_TEXTINPUT;
  e.text.windowID = WindowId();
  std::strcpy(e.text.text, "a\xD0\x9F\x01\xE2\x82\xAC");  // a, Cyrillic Pe, control, euro
  SDL_PushEvent(&e);
  events = Collect({T::Input});
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].ch, U'a');
  EXPECT_EQ(events[1].ch, U'\u041F');
  EXPECT_EQ(events[2].ch, U'\u20AC');
}

// On X11 the host's first window is shown with the first frame before SDL is up, then taken
// over by SDL, which reads its real input, while the window manager's messages to the window's
// maker are still answered.
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
  DrawScene(*p);
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
  DrawScene(*headless.BeginDrawing());
  headless.EndDrawing();
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(GrabX11Pixels(x, id, 160, 120, pixels));
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
