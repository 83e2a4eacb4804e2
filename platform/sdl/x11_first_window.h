// The host's window on X11, made and shown by the backend itself so that the first frame
// does not wait for SDL: loading SDL's libraries and starting its video take longer than
// building and painting the first frame. SDL adopts the window later (SDL_CreateWindowFrom)
// and from then on handles it like one of its own. Xlib stays inside this file's source: its
// macros (None, Bool, Status ...) would collide with the toolkit's names.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/platform.h"

struct SDL_SysWMinfo;  // SDL_syswm.h, which brings the window system's own headers

namespace tk::platform {

class X11FirstWindow {
 public:
  // SDL_GetWindowWMInfo, which the backend opens with the rest of SDL.
  using WMInfoFunction = SDL_bool (*)(SDL_Window*, ::SDL_SysWMinfo*);

  X11FirstWindow() = default;
  X11FirstWindow(const X11FirstWindow&) = delete;
  X11FirstWindow& operator=(const X11FirstWindow&) = delete;
  ~X11FirstWindow() { Destroy(); }

  // Connects to the X display and makes the window, hidden and borderless, centred on the
  // screen at `width` x `height`, with the properties SDL gives the windows it makes. False,
  // with nothing made, when SDL would not use X11 or the display's visual is not 24-bit true
  // colour (the canvas's pixels are copied as they are).
  bool Make(int width, int height);
  bool Made() const { return window_ != 0; }
  unsigned long Id() const { return window_; }
  // Where the window is on the screen, and its size.
  Rect Placed() const { return placed_; }
  // Where a window of this size is centred on the screen (the primary monitor, as SDL's first
  // display is, when the server tells its monitors).
  Point CentredAt(int width, int height) const {
    return {screen_.x + (screen_.w - width) / 2, screen_.y + (screen_.h - height) / 2};
  }

  // Moves and sizes the window when that changes anything, then maps it.
  void Show(const Rect& at);
  bool Shown() const { return shown_; }
  // Copies `width` x `height` XRGB words (cairo's RGB24) into the shown window.
  void Put(const uint8_t* pixels, int stride, int width, int height);

  // Once SDL has adopted the window: SDL selects input only on windows it makes, so the
  // events it reads are selected here, on SDL's own connection. False when SDL's window is
  // not an X11 one.
  static bool SelectSdlInput(SDL_Window* window, WMInfoFunction wmInfo);

  // The window manager's messages (close, take the focus, are you alive) go to the client
  // that made the window, which is this one and not SDL: they are answered here. True when
  // one asked to close the window. Returns at once.
  bool TakeMessages();

  // Destroys the window (SDL never destroys a window it adopted) and closes the connection.
  void Destroy();

 private:
  void* display_ = nullptr;  // Display*, kept for the window's whole life: it owns the window
  unsigned long window_ = 0;
  Rect placed_;
  Rect screen_;
  unsigned long protocols_ = 0, deleteWindow_ = 0, takeFocus_ = 0, ping_ = 0;  // atoms
  bool shown_ = false;
};

}  // namespace tk::platform
