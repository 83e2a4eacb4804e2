// SDL2 backend: one real borderless host window whose client area shows the cairo canvas
// (copied into the window's own framebuffer), with SDL input translated into native canvas
// events.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_library.h"
#include "platform/sdl/x11_first_window.h"

namespace tk::platform {

class CairoCanvas;

// SDL's video subsystem and event queue are process-wide, so only one SdlPlatform should
// exist at a time: a second one would read the first one's events. Make it before the
// program starts threads of its own: its constructor sets an environment variable.
class SdlPlatform : public Platform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;

  // Prepares the first host and SDL's video. A program calls it once the threads of its own
  // start-up exist; video starts at its first use otherwise.
  // `width` x `height` is the size the first host is expected to have, centred on the screen.
  // On X11 the host's window is made here and shows the first frame by itself; SDL is loaded
  // on a second thread only then (or when something needs it first), so that neither its
  // forty libraries nor its video start stand between the program and its first frame.
  // Elsewhere SDL starts loading at once, beside the program's start-up.
  void StartVideo(int width = 0, int height = 0);
  // False when SDL's video could not start (no display); waits for the start.
  bool Ready() { return JoinVideo(); }
  // SDL's reason for the last failure to start video or to open the host.
  const std::string& LastError() const { return lastError_; }
  // What the window shows from the last presented canvas, as 0xAARRGGBB words, row by row.
  bool ReadWindowPixels(std::vector<uint32_t>& out, int& width, int& height);
  // The host's SDL window, made now if it was not yet.
  SDL_Window* Window() {
    EnsureWindow();
    return window_;
  }

  // The host window itself is made when it is first shown, drawn on or asked for, so the
  // program builds and paints its first frame while SDL's video is still starting.
  bool OpenHost(int x, int y, int width, int height) override;
  bool HostExists() const override { return window_ != nullptr || hostOpen_; }
  bool HostVisible() const override;
  void ShowHost(ShowMode mode) override;
  void MoveHost(int x, int y) override;
  void ResizeHost(int x, int y, int width, int height) override;
  void MaximizeHost() override;
  void MinimizeHost() override;
  void RestoreHost() override;
  void CloseHost() override;
  Rect HostRect() const override;

  void ResizeCanvas(int width, int height) override;
  void FocusCanvas() override;
  Painter* BeginDrawing() override;
  void EndDrawing() override;
  Painter& Measurer() override;

  bool PollEvent(NativeEvent& event) override;
  bool WaitEvent(NativeEvent& event, int timeoutMs) override;
  void PostEvent(const NativeEvent& event) override;

  Point PointerInClient() const override;
  Point PointerOnScreen() const override;
  void SetCursor(Cursor cursor) override;
  bool SetCustomCursor(int image, int hotX, int hotY) override;
  Cursor CurrentCursor() const override { return cursor_; }

  // A native message box through SDL; the other requesters keep the cancelling defaults.
  void ShowStartupMessage(const std::string& title, const std::string& text) override;

  std::string ClipboardText() override;
  void SetClipboardText(std::string_view text) override;

 private:
  // The one place where SDL events become native events; appends zero or more to pending_.
  void Translate(const SDL_Event& sdl);
  bool PopPending(NativeEvent& event);
  void Present();
  // Waits for the video start (once) and finishes it here; true when video is up.
  bool JoinVideo() const;
  // Lets the starting thread load SDL now.
  void WantVideo() const;
  // The centre of the screen for a host of this size, as SDL finds the screen.
  Point CentredAt(int width, int height) const;
  // Makes the SDL window of an opened host; false when there is none or it cannot be made.
  // `centred`: the window is about to be centred, so where the host was asked to be counts
  // for nothing.
  bool EnsureWindow(bool centred = false);
  // Hands the first window to SDL; false (the first window gone) when SDL cannot take it.
  bool AdoptFirstWindow();
  // Places a window made in advance (`made`) where the host is: moves and sizes only what
  // differs, as each change waits for the display server. `madeCentred`: it still sits where
  // it was made, centred.
  void PlaceMadeWindow(const Rect& made, bool madeCentred, bool centred);

  SdlLibrary sdl_;  // loaded on the start-up thread; used here only after JoinVideo
  std::thread videoStart_;
  bool videoStarted_ = false;
  mutable std::mutex wantMutex_;
  mutable std::condition_variable wantChanged_;
  mutable bool videoWanted_ = false;
  int videoStatus_ = -1;    // SDL_InitSubSystem's result, from the starting thread
  std::string videoError_;  // and its error text (SDL's errors are per thread)
  mutable bool videoJoined_ = false;
  mutable bool videoReady_ = false;
  bool hostOpen_ = false;      // OpenHost was called and CloseHost not since
  Rect hostRect_{0, 0, 0, 0};  // where the host goes until its window exists
  bool textInput_ = false;     // the canvas asked for text input
  mutable std::string lastError_;
  SDL_Window* window_ = nullptr;
  // The first host's window on X11, until SDL adopts it as window_.
  X11FirstWindow first_;
  // Elsewhere, made hidden on the start-up thread once the display is connected, so that
  // making the host's window is not on the way to the first frame; the first host takes it.
  SDL_Window* spareWindow_ = nullptr;
  Rect spare_;  // where the spare window was made, at the size the first host is expected to have
  bool startsCentred_ = false;  // the host took a window made centred, and it still is
  std::unique_ptr<CairoCanvas> canvas_;
  bool drawing_ = false;

  // Posted events and the second half of pairs (up then click) wait here, ahead of SDL's queue.
  std::deque<NativeEvent> pending_;
  double wheelRemainder_ = 0;  // fractions of a notch carried to the next wheel report
  int pressed_ = 0;            // SDL button masks pressed on the canvas and not yet released
  Point lastPointer_{0, 0};    // from the last pointer event handed out
  bool pointerFromEvents_ = false;

  mutable std::array<SDL_Cursor*, 6> systemCursors_{};
  SDL_Cursor* customCursor_ = nullptr;
  Cursor cursor_ = Cursor::Default;
};

}  // namespace tk::platform
