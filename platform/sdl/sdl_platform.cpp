// SDL2 backend: host window, canvas presentation, input translation, cursors, clipboard.
#include "platform/sdl/sdl_platform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/cairo_canvas.h"
#include "platform/cairo_internal.h"
#include "platform/fonts.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_library.h"

namespace tk::platform {

namespace {

NativeEvent At(NativeEventType type, int x, int y) {
  NativeEvent event;
  event.type = type;
  event.x = x;
  event.y = y;
  return event;
}

// Decodes one UTF-8 sequence at s[i]; malformed bytes come out as U+FFFD, one byte each.
char32_t NextCodePoint(const char* s, size_t& i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b = byte(i);
  int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
  if (extra < 0) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    unsigned char c = byte(i + k);
    if ((c & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  i += extra + 1;
  return cp;
}

SDL_SystemCursor SystemCursorFor(Cursor cursor) {
  switch (cursor) {
    case Cursor::Move:
      return SDL_SYSTEM_CURSOR_SIZEALL;
    case Cursor::LeftRight:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case Cursor::UpDown:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case Cursor::DiagonalNWSE:
      return SDL_SYSTEM_CURSOR_SIZENWSE;
    case Cursor::DiagonalNESW:
      return SDL_SYSTEM_CURSOR_SIZENESW;
    default:
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

// SDL's video drivers that show nothing on any screen.
bool DrawsNowhere(const char* driver) {
  return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
         std::strcmp(driver, "dummy") == 0;
}

// How long a wait for SDL's events may leave the first window's messages unanswered.
constexpr int kFirstWindowMessageWaitMs = 50;

// The host window draws its own frame and appears only with its first frame.
constexpr Uint32 kHostWindowFlags =
    SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;

// SDL connects to the session's D-Bus when it starts. Where no session bus is known, D-Bus
// would start one for this display: it forks a helper from whichever thread starts SDL (not
// safe while other threads allocate) and leaves a bus daemon running after the designer
// quits. The designer has no use for a bus of its own, so it only uses one that exists: the
// address the session gives, or the user bus in the runtime folder, which D-Bus looks up.
// Called before the program starts any thread (the environment is not thread-safe).
void KeepDBusFromStartingABus() {
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr) return;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::path(runtime) / "bus", ec)) return;
  }
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
}

}  // namespace

SdlPlatform::SdlPlatform() {
  KeepDBusFromStartingABus();
  // The font configuration loads on the text library's own thread from here on.
  StartLoadingFonts();
  canvas_ = std::make_unique<CairoCanvas>(1, 1, Fonts(), Images());
}

void SdlPlatform::StartVideo(int width, int height) {
  if (videoStarted_) return;
  videoStarted_ = true;
  spare_ = {0, 0, width, height};
  // A few requests to the display, sent while the program waits for its own start-up.
  const bool firstMade = first_.Make(width, height);
  if (!firstMade) WantVideo();
  // Loading SDL, connecting to the display and opening its input method take longer than
  // building and painting the first frame. Nothing calls SDL until JoinVideo.
  videoStart_ = std::thread([this, firstMade] {
    {
      std::unique_lock<std::mutex> lock(wantMutex_);
      wantChanged_.wait(lock, [this] { return videoWanted_; });
    }
    if (!sdl_.Load(&videoError_)) return;
    // Keep compositing on, and let the click that activates the window reach the canvas.
    sdl_.SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    sdl_.SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A form designer left open must not keep the screen saver away.
    sdl_.SetHintWithPriority(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1", SDL_HINT_DEFAULT);
    // The canvas is drawn by the CPU and copied straight into the window's own framebuffer
    // (on X11 a shared-memory image): no renderer, no texture, no GPU driver to load or leak.
    // The environment can still choose otherwise.
    sdl_.SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    videoStatus_ = sdl_.InitSubSystem(SDL_INIT_VIDEO);
    if (videoStatus_ != 0) {
      videoError_ = sdl_.GetError();
      return;
    }
    // Without a display SDL falls back on drivers that show nothing; a program started
    // there would run on unseen. Only an environment that asks for one gets it.
    if (DrawsNowhere(sdl_.GetCurrentVideoDriver()) && std::getenv("SDL_VIDEODRIVER") == nullptr) {
      sdl_.QuitSubSystem(SDL_INIT_VIDEO);
      videoStatus_ = -1;
      videoError_ = "no display to show a window on (DISPLAY or WAYLAND_DISPLAY is not set)";
      return;
    }
    // Made centred at the size the first host is expected to have, so that opening it
    // usually moves and sizes nothing (each of which waits for the display server). If it
    // cannot be made here, the host makes its own.
    if (!firstMade) {
      const int w = std::max(spare_.w, 1), h = std::max(spare_.h, 1);
      spareWindow_ = sdl_.CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                       kHostWindowFlags);
      if (spareWindow_ != nullptr) sdl_.GetWindowPosition(spareWindow_, &spare_.x, &spare_.y);
    }
    // The pointer shapes come from the cursor theme's files.
    for (int i = 0; i < static_cast<int>(systemCursors_.size()); ++i)
      systemCursors_[i] = sdl_.CreateSystemCursor(SystemCursorFor(static_cast<Cursor>(i)));
  });
}

void SdlPlatform::WantVideo() const {
  if (videoJoined_) return;  // the usual case once the program runs
  {
    std::lock_guard<std::mutex> lock(wantMutex_);
    videoWanted_ = true;
  }
  wantChanged_.notify_one();
}

bool SdlPlatform::JoinVideo() const {
  if (videoJoined_) return videoReady_;
  const_cast<SdlPlatform*>(this)->StartVideo();
  WantVideo();
  const_cast<std::thread&>(videoStart_).join();
  videoJoined_ = true;
  videoReady_ = videoStatus_ == 0;
  if (!videoReady_) lastError_ = videoError_;
  return videoReady_;
}

bool SdlPlatform::AdoptFirstWindow() {
  window_ = sdl_.CreateWindowFrom(reinterpret_cast<const void*>(first_.Id()));
  if (window_ == nullptr || !X11FirstWindow::SelectSdlInput(window_, sdl_.GetWindowWMInfo)) {
    // SDL runs on another window system after all: the host gets a window of SDL's own.
    if (window_ != nullptr) sdl_.DestroyWindow(window_);
    window_ = nullptr;
    first_.Destroy();
    return false;
  }
  // Adopted, it is handled like any window SDL made.
  sdl_.SetWindowResizable(window_, SDL_TRUE);
  if (first_.Shown()) {
    // It takes the focus it was given before SDL read its events.
    sdl_.RaiseWindow(window_);
    if (textInput_) sdl_.SetWindowInputFocus(window_);
  }
  return true;
}

void SdlPlatform::PlaceMadeWindow(const Rect& made, bool madeCentred, bool centred) {
  const Rect& r = hostRect_;
  const bool sameSize = r.w == made.w && r.h == made.h;
  if (!sameSize) sdl_.SetWindowSize(window_, r.w, r.h);
  if (!centred && (r.x != made.x || r.y != made.y)) sdl_.SetWindowPosition(window_, r.x, r.y);
  // Made centred at this size, a window to be centred is already where it goes.
  startsCentred_ = centred && sameSize && madeCentred;
}

bool SdlPlatform::EnsureWindow(bool centred) {
  if (window_) return true;
  if (!hostOpen_) return false;
  if (!JoinVideo()) {
    hostOpen_ = false;
    // The program's loop must not wait for a window that will never come.
    pending_.push_back(NativeEvent{NativeEventType::CloseRequest});
    return false;
  }
  const Rect r = hostRect_;
  const bool shownFirst = first_.Shown();
  if (first_.Made() && AdoptFirstWindow()) {
    PlaceMadeWindow(first_.Placed(), !shownFirst, centred);
  } else if (spareWindow_ != nullptr) {
    window_ = std::exchange(spareWindow_, nullptr);
    PlaceMadeWindow(spare_, true, centred);
  } else {
    window_ = sdl_.CreateWindow("", r.x, r.y, r.w, r.h, kHostWindowFlags);
  }
  if (!window_) {
    lastError_ = sdl_.GetError();
    hostOpen_ = false;
    // The program's loop must not wait for a window that will never come.
    pending_.push_back(NativeEvent{NativeEventType::CloseRequest});
    return false;
  }
  if (textInput_) sdl_.StartTextInput();
  const Cursor wanted = cursor_;
  if (wanted != Cursor::Default) SetCursor(wanted);
  if (shownFirst) {
    // A host already on the screen stays there, whichever window now shows it.
    if (!first_.Shown()) sdl_.ShowWindow(window_);
    Present();
  }
  return true;
}

SdlPlatform::~SdlPlatform() {
  JoinVideo();
  CloseHost();
  if (spareWindow_ != nullptr) sdl_.DestroyWindow(spareWindow_);
  if (videoReady_) {
    sdl_.SetCursor(sdl_.GetDefaultCursor());
    for (SDL_Cursor* cursor : systemCursors_)
      if (cursor) sdl_.FreeCursor(cursor);
    if (customCursor_) sdl_.FreeCursor(customCursor_);
    sdl_.QuitSubSystem(SDL_INIT_VIDEO);
  }
  if (sdl_.Loaded() && sdl_.WasInit(SDL_INIT_EVERYTHING) == 0) sdl_.Quit();
}

bool SdlPlatform::OpenHost(int x, int y, int width, int height) {
  if (HostExists() || width <= 0 || height <= 0) return false;
  // A start that has already failed is known at once.
  if (videoJoined_ && !videoReady_) return false;
  hostOpen_ = true;
  hostRect_ = {x, y, width, height};
  canvas_->Resize(width, height);
  pointerFromEvents_ = false;
  return true;
}

bool SdlPlatform::HostVisible() const {
  if (window_ == nullptr) return hostOpen_ && first_.Shown();
  return (sdl_.GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0;
}

Point SdlPlatform::CentredAt(int width, int height) const {
  SDL_Rect screen{0, 0, 0, 0};
  const int display = window_ ? std::max(sdl_.GetWindowDisplayIndex(window_), 0) : 0;
  if (sdl_.GetDisplayBounds(display, &screen) != 0) return {0, 0};
  return {screen.x + (screen.w - width) / 2, screen.y + (screen.h - height) / 2};
}

void SdlPlatform::ShowHost(ShowMode mode) {
  // There is no owner window, so owner-centred also centres on the screen.
  const bool centred = mode != ShowMode::InPlace;
  if (window_ == nullptr && hostOpen_ && first_.Made() && !videoJoined_) {
    // SDL is not up yet: the first window appears with the frame painted for it, and SDL
    // starts loading now.
    if (centred) {
      const Point at = first_.CentredAt(hostRect_.w, hostRect_.h);
      hostRect_.x = at.x, hostRect_.y = at.y;
    }
    first_.Show(hostRect_);
    Present();
    WantVideo();
    return;
  }
  if (!EnsureWindow(centred)) return;
  // A window made centred at its size is already there, as long as nothing has moved it since.
  // (SDL's own centring goes by a size that a window it adopted does not have yet.)
  if (centred && !std::exchange(startsCentred_, false)) {
    int w = 0, h = 0;
    sdl_.GetWindowSize(window_, &w, &h);
    const Point at = CentredAt(w, h);
    sdl_.SetWindowPosition(window_, at.x, at.y);
  }
  sdl_.ShowWindow(window_);
  sdl_.RaiseWindow(window_);
  Present();
}

void SdlPlatform::MoveHost(int x, int y) {
  if (window_)
    sdl_.SetWindowPosition(window_, x, y);
  else if (hostOpen_)
    hostRect_.x = x, hostRect_.y = y;
}

void SdlPlatform::ResizeHost(int x, int y, int width, int height) {
  if (!window_) {
    if (!hostOpen_) return;
    hostRect_.x = x;
    hostRect_.y = y;
    if (width > 0 && height > 0) {
      hostRect_.w = width;
      hostRect_.h = height;
      ResizeCanvas(width, height);
    }
    return;
  }
  sdl_.SetWindowPosition(window_, x, y);
  if (width > 0 && height > 0) {
    sdl_.SetWindowSize(window_, width, height);
    // The canvas follows at once so drawing right after sees the new size; the window's own
    // size-change report then queues Resized.
    int w = 0, h = 0;
    sdl_.GetWindowSize(window_, &w, &h);
    ResizeCanvas(w, h);
  }
}

void SdlPlatform::MaximizeHost() {
  if (EnsureWindow()) sdl_.MaximizeWindow(window_);
}

void SdlPlatform::MinimizeHost() {
  if (EnsureWindow()) sdl_.MinimizeWindow(window_);
}

void SdlPlatform::RestoreHost() {
  if (EnsureWindow()) sdl_.RestoreWindow(window_);
}

void SdlPlatform::CloseHost() {
  if (window_) sdl_.DestroyWindow(window_);
  window_ = nullptr;
  first_.Destroy();
  hostOpen_ = false;
  if (pressed_ && videoReady_) sdl_.CaptureMouse(SDL_FALSE);
  pressed_ = 0;
}

Rect SdlPlatform::HostRect() const {
  Rect rect;
  if (!window_) return hostOpen_ ? hostRect_ : rect;
  sdl_.GetWindowPosition(window_, &rect.x, &rect.y);
  sdl_.GetWindowSize(window_, &rect.w, &rect.h);
  return rect;
}

void SdlPlatform::ResizeCanvas(int width, int height) {
  canvas_->Resize(width, height);
}

void SdlPlatform::Present() {
  // A window not shown keeps nothing it is given: the frame is presented when it is shown.
  // (So the first frame, painted before the window appears, waits neither for the window
  // system nor for the window.)
  if (window_ == nullptr) {
    if (first_.Shown())
      first_.Put(canvas_->Data(), canvas_->Stride(), canvas_->Width(), canvas_->Height());
    return;
  }
  if ((sdl_.GetWindowFlags(window_) & SDL_WINDOW_SHOWN) == 0) return;
  // The window's framebuffer follows the window's size; fetched afresh, it is never stale.
  SDL_Surface* surface = sdl_.GetWindowSurface(window_);
  if (surface == nullptr) return;
  const int w = std::min(surface->w, canvas_->Width());
  const int h = std::min(surface->h, canvas_->Height());
  if (w <= 0 || h <= 0) return;
  if (SDL_MUSTLOCK(surface) && sdl_.LockSurface(surface) != 0) return;
  // cairo's RGB24 words are SDL's XRGB8888 (RGB888): a plain copy on the usual 24-bit visual.
  sdl_.ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, canvas_->Data(), canvas_->Stride(),
                     surface->format->format, surface->pixels, surface->pitch);
  if (SDL_MUSTLOCK(surface)) sdl_.UnlockSurface(surface);
  sdl_.UpdateWindowSurface(window_);
}

bool SdlPlatform::ReadWindowPixels(std::vector<uint32_t>& out, int& width, int& height) {
  if (!EnsureWindow()) return false;
  SDL_Surface* surface = sdl_.GetWindowSurface(window_);
  if (surface == nullptr) return false;
  width = surface->w;
  height = surface->h;
  out.assign(static_cast<size_t>(width) * height, 0);
  if (SDL_MUSTLOCK(surface) && sdl_.LockSurface(surface) != 0) return false;
  const int result =
      sdl_.ConvertPixels(width, height, surface->format->format, surface->pixels, surface->pitch,
                         SDL_PIXELFORMAT_ARGB8888, out.data(), width * 4);
  if (SDL_MUSTLOCK(surface)) sdl_.UnlockSurface(surface);
  return result == 0;
}

void SdlPlatform::FocusCanvas() {
  if (window_) {
    sdl_.RaiseWindow(window_);
    if (HostVisible()) sdl_.SetWindowInputFocus(window_);
  }
  textInput_ = true;
  if (window_) sdl_.StartTextInput();
  // Reported here rather than waiting for the window manager, which may never send it to a
  // window that is still hidden (or may not exist at all).
  pending_.push_back(NativeEvent{NativeEventType::FocusGained});
}

Painter* SdlPlatform::BeginDrawing() {
  if (drawing_) return nullptr;
  // The program has built its first frame; painting it leaves the other processor free.
  WantVideo();
  drawing_ = true;
  canvas_->Painter().Reset();
  return &canvas_->Painter();
}

void SdlPlatform::EndDrawing() {
  if (!drawing_) return;
  drawing_ = false;
  Present();
}

Painter& SdlPlatform::Measurer() {
  return canvas_->Measurer();
}

void SdlPlatform::Translate(const SDL_Event& sdl) {
  using T = NativeEventType;
  if (!window_ && sdl.type != SDL_QUIT) return;
  const Uint32 id = window_ ? sdl_.GetWindowID(window_) : 0;
  auto push = [&](NativeEvent event) { pending_.push_back(event); };
  auto inside = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < canvas_->Width() && y < canvas_->Height();
  };
  switch (sdl.type) {
    case SDL_QUIT:
      push(NativeEvent{T::CloseRequest});
      break;
    case SDL_WINDOWEVENT: {
      if (sdl.window.windowID != id) break;
      Point p = PointerInClient();
      switch (sdl.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          push(NativeEvent{T::CloseRequest});
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          push(NativeEvent{T::FocusGained});
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          push(NativeEvent{T::FocusLost});
          break;
        case SDL_WINDOWEVENT_ENTER:
          push(At(T::MouseEnter, p.x, p.y));
          break;
        case SDL_WINDOWEVENT_LEAVE:
          push(At(T::MouseLeave, p.x, p.y));
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          ResizeCanvas(sdl.window.data1, sdl.window.data2);
          push(NativeEvent{T::Resized});
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          if (!drawing_) Present();
          break;
        default:
          break;
      }
      break;
    }
    case SDL_MOUSEMOTION:
      if (sdl.motion.windowID == id) push(At(T::MouseMove, sdl.motion.x, sdl.motion.y));
      break;
    case SDL_MOUSEWHEEL: {
      if (sdl.wheel.windowID != id || sdl.wheel.which == SDL_TOUCH_MOUSEID) break;
      double turn = sdl.wheel.preciseY;
      if (sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) turn = -turn;
      wheelRemainder_ += turn;
      double notches = std::trunc(wheelRemainder_);
      if (notches == 0) break;
      wheelRemainder_ -= notches;
      NativeEvent event = At(T::Wheel, sdl.wheel.mouseX, sdl.wheel.mouseY);
      event.wheel = static_cast<int>(notches);
      push(event);
      break;
    }
    case SDL_MOUSEBUTTONDOWN: {
      const SDL_MouseButtonEvent& b = sdl.button;
      if (b.windowID != id || b.which == SDL_TOUCH_MOUSEID) break;
      T down, twice = T::None;
      if (b.button == SDL_BUTTON_LEFT) {
        down = T::LeftButtonDown;
        twice = T::LeftDoubleClick;
      } else if (b.button == SDL_BUTTON_RIGHT) {
        down = T::RightButtonDown;
        twice = T::RightDoubleClick;
      } else if (b.button == SDL_BUTTON_MIDDLE) {
        down = T::MiddleButtonDown;
      } else {
        break;
      }
      // Hold the pointer while a button is down, so the release is seen outside the window.
      if (pressed_ == 0) sdl_.CaptureMouse(SDL_TRUE);
      pressed_ |= SDL_BUTTON(b.button);
      push(At(down, b.x, b.y));
      if (twice != T::None && b.clicks >= 2 && b.clicks % 2 == 0) push(At(twice, b.x, b.y));
      break;
    }
    case SDL_MOUSEBUTTONUP: {
      const SDL_MouseButtonEvent& b = sdl.button;
      if (b.windowID != id || b.which == SDL_TOUCH_MOUSEID) break;
      T up, click = T::None;
      if (b.button == SDL_BUTTON_LEFT) {
        up = T::LeftButtonUp;
        click = T::LeftClick;
      } else if (b.button == SDL_BUTTON_RIGHT) {
        up = T::RightButtonUp;
        click = T::RightClick;
      } else if (b.button == SDL_BUTTON_MIDDLE) {
        up = T::MiddleButtonUp;
      } else {
        break;
      }
      bool pressedHere = (pressed_ & SDL_BUTTON(b.button)) != 0;
      pressed_ &= ~SDL_BUTTON(b.button);
      if (pressed_ == 0) sdl_.CaptureMouse(SDL_FALSE);
      push(At(up, b.x, b.y));
      // A click is a press and release both on the canvas.
      if (click != T::None && pressedHere && inside(b.x, b.y)) push(At(click, b.x, b.y));
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      if (sdl.key.windowID != id) break;
      int vk = VirtualKeyFromSdl(sdl.key.keysym.sym);
      if (vk == 0) break;
      NativeEvent event;
      event.type = sdl.type == SDL_KEYDOWN ? T::KeyDown : T::KeyUp;
      event.keyCode = vk;
      event.modifiers = ModifiersFromSdl(sdl.key.keysym.mod);
      push(event);
      break;
    }
    case SDL_TEXTINPUT: {
      if (sdl.text.windowID != id) break;
      const char* text = sdl.text.text;
      for (size_t i = 0; text[i] != '\0';) {
        char32_t cp = NextCodePoint(text, i);
        if (cp < 32) continue;
        NativeEvent event;
        event.type = T::Input;
        event.ch = cp;
        push(event);
      }
      break;
    }
    default:
      break;
  }
}

bool SdlPlatform::PopPending(NativeEvent& event) {
  if (pending_.empty()) return false;
  event = pending_.front();
  pending_.pop_front();
  // The pointer is where the event says while the event is handled; once it has left the
  // window the system pointer is asked instead.
  if (IsPointerEvent(event.type)) {
    lastPointer_ = {event.x, event.y};
    pointerFromEvents_ = event.type != NativeEventType::MouseLeave || pressed_ != 0;
  }
  return true;
}

bool SdlPlatform::PollEvent(NativeEvent& event) {
  if (PopPending(event)) return true;
  if (!JoinVideo()) return false;
  // The window shown before SDL was up is SDL's from the first look at its events.
  if (window_ == nullptr && first_.Shown()) EnsureWindow();
  if (first_.TakeMessages()) pending_.push_back(NativeEvent{NativeEventType::CloseRequest});
  if (PopPending(event)) return true;
  SDL_Event sdl;
  while (sdl_.PollEvent(&sdl)) {
    Translate(sdl);
    if (PopPending(event)) return true;
  }
  return false;
}

bool SdlPlatform::WaitEvent(NativeEvent& event, int timeoutMs) {
  if (PollEvent(event)) return true;
  if (!JoinVideo()) return false;
  const Uint64 deadline = sdl_.GetTicks64() + static_cast<Uint64>(std::max(timeoutMs, 0));
  for (;;) {
    Uint64 now = sdl_.GetTicks64();
    int left = now >= deadline ? 0 : static_cast<int>(deadline - now);
    // SDL does not wake for the first window's own messages: they are looked at in between.
    if (first_.Made()) left = std::min(left, kFirstWindowMessageWaitMs);
    SDL_Event sdl;
    if (!sdl_.WaitEventTimeout(&sdl, left)) {
      if (first_.Made() && sdl_.GetTicks64() < deadline) {
        if (PollEvent(event)) return true;
        continue;
      }
      return false;
    }
    Translate(sdl);
    if (PopPending(event)) return true;
    if (left == 0) return false;
  }
}

void SdlPlatform::PostEvent(const NativeEvent& event) {
  pending_.push_back(event);
}

Point SdlPlatform::PointerInClient() const {
  if (pointerFromEvents_ || !window_) return lastPointer_;
  Point screen = PointerOnScreen();
  int wx = 0, wy = 0;
  sdl_.GetWindowPosition(window_, &wx, &wy);
  return {screen.x - wx, screen.y - wy};
}

Point SdlPlatform::PointerOnScreen() const {
  Point p;
  if (JoinVideo()) sdl_.GetGlobalMouseState(&p.x, &p.y);
  return p;
}

void SdlPlatform::SetCursor(Cursor cursor) {
  // Before video is up the shape is only remembered; the window takes it when it is made.
  if (!videoJoined_ && cursor != Cursor::Custom) {
    cursor_ = cursor;
    return;
  }
  if (cursor == Cursor::Custom) {
    if (!customCursor_) return;
    sdl_.SetCursor(customCursor_);
  } else {
    SDL_Cursor* system = systemCursors_[static_cast<size_t>(cursor)];
    if (system) sdl_.SetCursor(system);
  }
  cursor_ = cursor;
}

bool SdlPlatform::SetCustomCursor(int image, int hotX, int hotY) {
  ImageData* data = Images().Data(image);
  if (!JoinVideo() || !data) return false;
  // SDL wants straight alpha; the store keeps it premultiplied.
  std::vector<uint32_t> pixels(static_cast<size_t>(data->width) * data->height);
  for (int y = 0; y < data->height; ++y)
    for (int x = 0; x < data->width; ++x) {
      uint32_t p = Images().Pixel(image, x, y);
      uint32_t a = p >> 24;
      if (a != 0 && a != 255) {
        auto un = [&](int shift) {
          return std::min<uint32_t>(255, (((p >> shift) & 0xFF) * 255 + a / 2) / a);
        };
        p = (a << 24) | (un(16) << 16) | (un(8) << 8) | un(0);
      }
      pixels[static_cast<size_t>(y) * data->width + x] = p;
    }
  SDL_Surface* surface = sdl_.CreateRGBSurfaceWithFormatFrom(
      pixels.data(), data->width, data->height, 32, data->width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return false;
  hotX = std::clamp(hotX, 0, data->width - 1);
  hotY = std::clamp(hotY, 0, data->height - 1);
  SDL_Cursor* next = sdl_.CreateColorCursor(surface, hotX, hotY);
  sdl_.FreeSurface(surface);
  if (!next) return false;
  sdl_.SetCursor(next);
  if (customCursor_) sdl_.FreeCursor(customCursor_);
  customCursor_ = next;
  cursor_ = Cursor::Custom;
  return true;
}

void SdlPlatform::ShowStartupMessage(const std::string& title, const std::string& text) {
  Platform::ShowStartupMessage(title, text);
  // SDL's own box needs a display; without one standard error is all there is.
  if (!JoinVideo()) return;
  sdl_.ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(),
                            HostVisible() ? window_ : nullptr);
}

std::string SdlPlatform::ClipboardText() {
  if (!JoinVideo()) return {};
  char* text = sdl_.GetClipboardText();
  std::string result = text ? text : "";
  sdl_.free(text);
  return result;
}

void SdlPlatform::SetClipboardText(std::string_view text) {
  if (JoinVideo()) sdl_.SetClipboardText(std::string(text).c_str());
}

}  // namespace tk::platform
