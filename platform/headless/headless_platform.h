// Headless backend: an offscreen canvas of a given size, a native event queue filled by
// tests or scripts, an in-memory clipboard, and PNG snapshots of the canvas.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tk::platform {

class CairoCanvas;

class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform(int width = 800, int height = 600);
  ~HeadlessPlatform() override;

  // Test side: queue a native event. Pointer events also move the pointer to (x, y).
  void Inject(const NativeEvent& event);
  // Convenience injections of what a person does.
  void InjectMove(int x, int y);
  void InjectClick(int x, int y);  // left down, left up, left click at (x, y)
  // Writes the canvas to a PNG file; false with a reason on failure.
  bool SavePng(const std::string& path, std::string* error = nullptr) const;
  // Canvas pixel as 0xRRGGBB.
  uint32_t CanvasPixel(int x, int y) const;
  int CanvasWidth() const;
  int CanvasHeight() const;
  int PresentCount() const { return presents_; }
  bool QueueEmpty() const { return queue_.empty() && posted_.empty(); }
  // Asked by WaitEvent when nothing is queued, so a driver can queue what comes next (the
  // next script lines, for an event loop a handler runs); it answers false once it has
  // nothing more, and WaitEvent then reports the queue exhausted. Empty: no feeder.
  void SetFeeder(std::function<bool()> feeder) { feeder_ = std::move(feeder); }

  bool OpenHost(int x, int y, int width, int height) override;
  bool HostExists() const override { return open_; }
  bool HostVisible() const override { return visible_; }
  void ShowHost(ShowMode mode) override;
  void MoveHost(int x, int y) override;
  void ResizeHost(int x, int y, int width, int height) override;
  void MaximizeHost() override;
  void MinimizeHost() override;
  void RestoreHost() override;
  void CloseHost() override;
  Rect HostRect() const override { return host_; }
  ShowMode LastShowMode() const { return showMode_; }
  bool Maximized() const { return maximized_; }
  bool Minimized() const { return minimized_; }

  void ResizeCanvas(int width, int height) override;
  void FocusCanvas() override;
  Painter* BeginDrawing() override;
  void EndDrawing() override;
  Painter& Measurer() override;

  bool PollEvent(NativeEvent& event) override;
  bool WaitEvent(NativeEvent& event, int timeoutMs) override;
  void PostEvent(const NativeEvent& event) override;

  Point PointerInClient() const override { return pointer_; }
  Point PointerOnScreen() const override { return {host_.x + pointer_.x, host_.y + pointer_.y}; }
  void SetCursor(Cursor cursor) override { cursor_ = cursor; }
  bool SetCustomCursor(int image, int hotX, int hotY) override;
  Cursor CurrentCursor() const override { return cursor_; }

  // Start-up messages go to standard error and are kept, in order, for tests to read.
  void ShowStartupMessage(const std::string& title, const std::string& text) override;
  const std::vector<std::string>& StartupMessages() const { return startupMessages_; }

  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(std::string_view text) override { clipboard_ = std::string(text); }

 private:
  std::unique_ptr<CairoCanvas> canvas_;
  std::deque<NativeEvent> queue_;
  // Events the program posts itself (close requests, focus) come out before injected ones,
  // as they do on the real backend.
  std::deque<NativeEvent> posted_;
  std::function<bool()> feeder_;
  Rect restore_{0, 0, 0, 0};  // host rectangle before maximizing
  std::vector<std::string> startupMessages_;
  Rect host_{0, 0, 0, 0};
  Point pointer_{0, 0};
  Cursor cursor_ = Cursor::Default;
  ShowMode showMode_ = ShowMode::InPlace;
  std::string clipboard_;
  bool open_ = false, visible_ = false, maximized_ = false, minimized_ = false;
  bool drawing_ = false;
  int presents_ = 0;
  int screenW_ = 1280, screenH_ = 1024;
};

}  // namespace tk::platform
