// The host's first window, made with Xlib before SDL is up.
#include "platform/sdl/x11_first_window.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tk::platform {

namespace {

Display* Connection(void* display) {
  return static_cast<Display*>(display);
}

// SDL names its windows' class after the program unless the environment says otherwise.
std::string ClassName() {
  if (const char* wanted = std::getenv("SDL_VIDEO_X11_WMCLASS")) return wanted;
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "SDL_App";
  path[n] = '\0';
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

}  // namespace

bool X11FirstWindow::Make(int width, int height) {
  if (Made() || width <= 0 || height <= 0) return false;
  // SDL picks X11 first unless told otherwise; a window made here for another driver would
  // never be adopted.
  if (const char* driver = std::getenv("SDL_VIDEODRIVER"); driver && *driver)
    if (std::strcmp(driver, "x11") != 0) return false;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  const int screen = DefaultScreen(display);
  Visual* visual = DefaultVisual(display, screen);
  if (DefaultDepth(display, screen) != 24 || visual->c_class != TrueColor ||
      visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF) {
    XCloseDisplay(display);
    return false;
  }
  screen_ = {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
  // Several monitors make one X screen: the window goes on the primary one, as SDL's would.
  int event = 0, error = 0, major = 0, minor = 0;
  if (XRRQueryExtension(display, &event, &error) && XRRQueryVersion(display, &major, &minor) &&
      (major > 1 || (major == 1 && minor >= 5))) {
    int count = 0;
    if (XRRMonitorInfo* monitors =
            XRRGetMonitors(display, RootWindow(display, screen), True, &count)) {
      for (int i = 0; i < count; ++i)
        if (i == 0 || monitors[i].primary)
          screen_ = {monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height};
      XRRFreeMonitors(monitors);
    }
  }
  const Point centre = CentredAt(width, height);
  placed_ = {centre.x, centre.y, width, height};

  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;  // the first frame paints it: no flash of a background
  attributes.border_pixel = 0;
  attributes.backing_store = NotUseful;
  attributes.override_redirect = False;
  const Window window = XCreateWindow(
      display, RootWindow(display, screen), placed_.x, placed_.y, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, 24, InputOutput, visual,
      CWBackPixmap | CWBorderPixel | CWBackingStore | CWOverrideRedirect, &attributes);
  if (window == 0) {
    XCloseDisplay(display);
    return false;
  }

  const char* names[] = {"_MOTIF_WM_HINTS",
                         "WM_DELETE_WINDOW",
                         "WM_TAKE_FOCUS",
                         "_NET_WM_PING",
                         "_NET_WM_WINDOW_TYPE",
                         "_NET_WM_PID",
                         "_NET_WM_WINDOW_TYPE_NORMAL",
                         "WM_PROTOCOLS"};
  Atom atoms[std::size(names)];
  XInternAtoms(display, const_cast<char**>(names), static_cast<int>(std::size(names)), False,
               atoms);
  const Atom motifHints = atoms[0], typeNormal = atoms[6];
  deleteWindow_ = atoms[1];
  takeFocus_ = atoms[2];
  ping_ = atoms[3];
  protocols_ = atoms[7];

  // No frame from the window manager: the toolkit draws the window's own.
  const long motif[5] = {1L << 1, 0, 0, 0, 0};  // flags: decorations; decorations: none
  XChangeProperty(display, window, motifHints, motifHints, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(motif), 5);
  XSizeHints* size = XAllocSizeHints();
  size->flags = USPosition;
  size->x = placed_.x;
  size->y = placed_.y;
  XWMHints* hints = XAllocWMHints();
  hints->flags = InputHint;
  hints->input = True;
  XClassHint* classHint = XAllocClassHint();
  std::string name = ClassName();
  classHint->res_name = name.data();
  classHint->res_class = name.data();
  XSetWMProperties(display, window, nullptr, nullptr, nullptr, 0, size, hints, classHint);
  XFree(size);
  XFree(hints);
  XFree(classHint);
  const long pid = getpid();
  XChangeProperty(display, window, atoms[5], XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  XChangeProperty(display, window, atoms[4], XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&typeNormal), 1);
  // Closing, focusing and the window manager's "are you alive" ping; their messages come to
  // this connection (TakeMessages).
  Atom protocols[3] = {atoms[1], atoms[2], atoms[3]};
  XSetWMProtocols(display, window, protocols, 3);
  XFlush(display);

  display_ = display;
  window_ = window;
  return true;
}

void X11FirstWindow::Show(const Rect& at) {
  if (!Made()) return;
  Display* display = Connection(display_);
  if (at.x != placed_.x || at.y != placed_.y || at.w != placed_.w || at.h != placed_.h) {
    XMoveResizeWindow(display, window_, at.x, at.y, static_cast<unsigned>(std::max(at.w, 1)),
                      static_cast<unsigned>(std::max(at.h, 1)));
    placed_ = at;
  }
  XMapRaised(display, window_);
  XFlush(display);
  shown_ = true;
}

void X11FirstWindow::Put(const uint8_t* pixels, int stride, int width, int height) {
  if (!Made() || !shown_ || pixels == nullptr) return;
  width = std::min(width, placed_.w);
  height = std::min(height, placed_.h);
  if (width <= 0 || height <= 0) return;
  Display* display = Connection(display_);
  const int screen = DefaultScreen(display);
  XImage* image =
      XCreateImage(display, DefaultVisual(display, screen), 24, ZPixmap, 0,
                   reinterpret_cast<char*>(const_cast<uint8_t*>(pixels)),
                   static_cast<unsigned>(width), static_cast<unsigned>(height), 32, stride);
  if (image == nullptr) return;
  // The words are in the machine's order; Xlib reorders them if the server's differs.
  image->byte_order = SDL_BYTEORDER == SDL_LIL_ENDIAN ? LSBFirst : MSBFirst;
  XPutImage(display, window_, DefaultGC(display, screen), image, 0, 0, 0, 0,
            static_cast<unsigned>(width), static_cast<unsigned>(height));
  image->data = nullptr;  // the canvas's own
  XDestroyImage(image);
  XFlush(display);
}

bool X11FirstWindow::TakeMessages() {
  if (!Made()) return false;
  Display* display = Connection(display_);
  bool close = false;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != ClientMessage || event.xclient.message_type != protocols_) continue;
    const unsigned long protocol = static_cast<unsigned long>(event.xclient.data.l[0]);
    if (protocol == deleteWindow_) {
      close = true;
    } else if (protocol == ping_) {
      // Alive: the message goes back to the root window.
      const Window root = DefaultRootWindow(display);
      event.xclient.window = root;
      XSendEvent(display, root, False, SubstructureNotifyMask | SubstructureRedirectMask, &event);
    } else if (protocol == takeFocus_ && shown_) {
      XSetInputFocus(display, window_, RevertToParent, static_cast<Time>(event.xclient.data.l[1]));
    }
  }
  XFlush(display);
  return close;
}

bool X11FirstWindow::SelectSdlInput(SDL_Window* window, WMInfoFunction wmInfo) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (wmInfo == nullptr || !wmInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  // The events SDL selects on the windows it makes.
  XSelectInput(info.info.x11.display, info.info.x11.window,
               FocusChangeMask | EnterWindowMask | LeaveWindowMask | ExposureMask |
                   ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                   KeyReleaseMask | PropertyChangeMask | StructureNotifyMask | KeymapStateMask);
  XFlush(info.info.x11.display);
  return true;
}

void X11FirstWindow::Destroy() {
  if (display_ == nullptr) return;
  Display* display = Connection(display_);
  if (window_ != 0) XDestroyWindow(display, window_);
  XCloseDisplay(display);
  display_ = nullptr;
  window_ = 0;
  shown_ = false;
}

}  // namespace tk::platform
