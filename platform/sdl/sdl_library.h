// SDL2, opened when the platform starts rather than with the program: SDL brings some forty
// libraries (audio, Wayland, input methods ...) whose loading would otherwise come before
// main; opened on the platform's start-up thread, it loads while the program builds its
// first frame. The declarations come from SDL's own headers.
#pragma once

#include <SDL.h>

#include <string>

#include "platform/shared_library.h"

// Every SDL function the backend calls, one per line.
// clang-format off
#define TK_SDL_FUNCTIONS(X) \
  X(CaptureMouse) \
  X(ConvertPixels) \
  X(CreateColorCursor) \
  X(CreateRGBSurfaceWithFormatFrom) \
  X(CreateSystemCursor) \
  X(CreateWindow) \
  X(CreateWindowFrom) \
  X(DestroyWindow) \
  X(FreeCursor) \
  X(FreeSurface) \
  X(GetClipboardText) \
  X(GetCurrentVideoDriver) \
  X(GetDefaultCursor) \
  X(GetDisplayBounds) \
  X(GetError) \
  X(GetGlobalMouseState) \
  X(GetTicks64) \
  X(GetWindowDisplayIndex) \
  X(GetWindowFlags) \
  X(GetWindowID) \
  X(GetWindowPosition) \
  X(GetWindowSize) \
  X(GetWindowSurface) \
  X(InitSubSystem) \
  X(LockSurface) \
  X(MaximizeWindow) \
  X(MinimizeWindow) \
  X(PollEvent) \
  X(Quit) \
  X(QuitSubSystem) \
  X(RaiseWindow) \
  X(RestoreWindow) \
  X(SetClipboardText) \
  X(SetCursor) \
  X(SetHint) \
  X(SetHintWithPriority) \
  X(SetWindowInputFocus) \
  X(SetWindowPosition) \
  X(SetWindowResizable) \
  X(SetWindowSize) \
  X(ShowSimpleMessageBox) \
  X(ShowWindow) \
  X(StartTextInput) \
  X(UnlockSurface) \
  X(UpdateWindowSurface) \
  X(WaitEventTimeout) \
  X(WasInit) \
  X(free)
// clang-format on

struct SDL_SysWMinfo;  // SDL_syswm.h, which brings the window system's own headers

namespace tk::platform {

struct SdlLibrary {
#define TK_SDL_POINTER(name) decltype(&::SDL_##name) name = nullptr;
  TK_SDL_FUNCTIONS(TK_SDL_POINTER)
#undef TK_SDL_POINTER
  // Declared by SDL's window-system header, which brings the window system's own.
  SDL_bool (*GetWindowWMInfo)(SDL_Window*, ::SDL_SysWMinfo*) = nullptr;

  // Opens SDL and finds every function above; false with the reason when it cannot.
  bool Load(std::string* error) {
    if (!library_.Open("libSDL2-2.0.so.0", error)) return false;
#define TK_SDL_BIND(name) \
  if (!library_.Bind(name, "SDL_" #name, error)) return false;
    TK_SDL_FUNCTIONS(TK_SDL_BIND)
#undef TK_SDL_BIND
    if (!library_.Bind(GetWindowWMInfo, "SDL_GetWindowWMInfo", error)) return false;
    return true;
  }
  bool Loaded() const {
    return library_.IsOpen() && free != nullptr;
  }

 private:
  SharedLibrary library_;
};

}  // namespace tk::platform
