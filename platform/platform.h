// The narrow platform layer: one host window with one canvas, its native event queue, the
// pointer, pointer shapes, the text clipboard, system colours, and the image and font stores.
// Two backends implement it: SDL2 (a real window) and headless (an offscreen canvas).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/fonts.h"
#include "platform/images.h"
#include "platform/painter.h"

namespace tk::platform {

class CairoPainter;

enum class NativeEventType {
  None,
  CloseRequest,  // the host window was asked to close
  FocusGained,   // the canvas received the keyboard focus (the host was activated)
  FocusLost,
  MouseEnter,
  MouseLeave,
  MouseMove,
  Wheel,
  LeftDoubleClick,
  LeftButtonDown,
  LeftButtonUp,
  LeftClick,
  RightDoubleClick,
  RightButtonDown,
  RightButtonUp,
  RightClick,
  MiddleButtonDown,
  MiddleButtonUp,
  KeyDown,
  KeyUp,
  Input,
  Resized,    // the host's client area changed size (the canvas already follows it)
  Exhausted,  // headless only: the injected queue ran dry and nothing more will come
};

// Modifier bits reported with key events.
namespace Modifier {
inline constexpr int Shift = 1;
inline constexpr int Alt = 2;
inline constexpr int Control = 4;
}  // namespace Modifier

// Key codes are the Windows virtual-key numbers.
namespace Key {
inline constexpr int Backspace = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int Digit0 = 48;  // to 57
inline constexpr int A = 65;       // to 90
inline constexpr int F1 = 112;     // to 123
}  // namespace Key

struct NativeEvent {
  NativeEventType type = NativeEventType::None;
  int x = 0, y = 0;   // pointer in client coordinates when the event happened
  int wheel = 0;      // whole notches, positive away from the user
  int keyCode = 0;    // Windows virtual-key number
  int modifiers = 0;  // Modifier bits
  char32_t ch = 0;    // typed character, code 32 and above
};

// Events that carry the pointer position at which they happened.
inline bool IsPointerEvent(NativeEventType type) {
  switch (type) {
    case NativeEventType::MouseEnter:
    case NativeEventType::MouseLeave:
    case NativeEventType::MouseMove:
    case NativeEventType::Wheel:
    case NativeEventType::LeftDoubleClick:
    case NativeEventType::LeftButtonDown:
    case NativeEventType::LeftButtonUp:
    case NativeEventType::LeftClick:
    case NativeEventType::RightDoubleClick:
    case NativeEventType::RightButtonDown:
    case NativeEventType::RightButtonUp:
    case NativeEventType::RightClick:
    case NativeEventType::MiddleButtonDown:
    case NativeEventType::MiddleButtonUp:
      return true;
    default:
      return false;
  }
}

struct Point {
  int x = 0, y = 0;
};

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};

enum class Cursor {
  Default,
  Move,  // four-way arrows
  LeftRight,
  UpDown,
  DiagonalNWSE,  // top-left to bottom-right
  DiagonalNESW,  // top-right to bottom-left
  Custom,
};

enum class ShowMode { InPlace, ScreenCentered, OwnerCentered };

class Platform {
 public:
  Platform();
  virtual ~Platform();
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  ImageStore& Images() { return images_; }
  FontStore& Fonts() { return fonts_; }

  // Host window: opened borderless and invisible; shown by ShowHost.
  virtual bool OpenHost(int x, int y, int width, int height) = 0;
  virtual bool HostExists() const = 0;
  virtual bool HostVisible() const = 0;
  virtual void ShowHost(ShowMode mode) = 0;
  virtual void MoveHost(int x, int y) = 0;
  virtual void ResizeHost(int x, int y, int width, int height) = 0;
  virtual void MaximizeHost() = 0;
  virtual void MinimizeHost() = 0;
  virtual void RestoreHost() = 0;
  virtual void CloseHost() = 0;
  // Screen position and client size of the host.
  virtual Rect HostRect() const = 0;

  // Canvas: an opaque image covering the client area.
  virtual void ResizeCanvas(int width, int height) = 0;
  // Gives the canvas the keyboard focus; queues a FocusGained event.
  virtual void FocusCanvas() = 0;
  // Starts drawing on the canvas's off-screen image; nullptr when drawing cannot start.
  virtual Painter* BeginDrawing() = 0;
  // Ends drawing and shows the finished image.
  virtual void EndDrawing() = 0;
  // A painter for measuring text outside drawing.
  virtual Painter& Measurer() = 0;

  // Native event queue.
  virtual bool PollEvent(NativeEvent& event) = 0;
  virtual bool WaitEvent(NativeEvent& event, int timeoutMs) = 0;
  virtual void PostEvent(const NativeEvent& event) = 0;

  // Pointer in client coordinates (may lie outside the client area) and on the screen.
  virtual Point PointerInClient() const = 0;
  virtual Point PointerOnScreen() const = 0;
  virtual void SetCursor(Cursor cursor) = 0;
  virtual bool SetCustomCursor(int image, int hotX, int hotY) = 0;
  virtual Cursor CurrentCursor() const = 0;

  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(std::string_view text) = 0;

  // System colours, 0xBBGGRR.
  virtual int64_t WindowBackgroundColor() const { return 0xF0F0F0; }
  virtual int64_t ButtonFaceColor() const { return 0xF0F0F0; }
  // Selected text: the highlight behind it and the colour it is drawn in.
  virtual int64_t HighlightColor() const { return 0xD77800; }
  virtual int64_t HighlightTextColor() const { return 0xFFFFFF; }

  // A message for the user when no canvas exists to show it on (a data file missing at
  // start-up): always written to standard error; a backend with a display also shows it in
  // a box of its own, and waits until the user closes it.
  virtual void ShowStartupMessage(const std::string& title, const std::string& text);

  // Drawing on a stored image instead of the canvas; nullptr when the image does not exist
  // or image drawing is already in progress. The painter stays valid until EndImageDrawing.
  Painter* BeginImageDrawing(int image);
  void EndImageDrawing();

 private:
  ImageStore images_;
  FontStore fonts_;
  std::unique_ptr<CairoPainter> imagePainter_;
  bool imageDrawing_ = false;
};

}  // namespace tk::platform
