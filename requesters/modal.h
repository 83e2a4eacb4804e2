// The frame every requester is built in: a window of toolkit elements centred on the canvas
// that takes all pointer and key input while it is open, and a nested run of the event loop
// that returns the user's answer to the caller.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/toolkit.h"

namespace tk {

// Requesters open inside one another (a question asked by a file requester); each level gets
// its own block of ids so their elements never collide. The window takes the first id of the
// block, its elements the ones after it.
inline constexpr int kRequesterIdBase = 0x7E000000;
inline constexpr int kRequesterIdBlock = 0x1000;

class ModalWindow {
 public:
  // Opens the window (caption with a close box) with a client area of the given size,
  // shrunk to the canvas when larger, and centred on it. Nothing opens without a canvas.
  ModalWindow(Toolkit& tk, const std::string& title, int innerWidth, int innerHeight);
  // Frees the window and gives the input back to what had it before.
  ~ModalWindow();
  ModalWindow(const ModalWindow&) = delete;
  ModalWindow& operator=(const ModalWindow&) = delete;

  bool IsOpen() const { return window_ > 0; }
  int Window() const { return window_; }
  // The id of the element numbered `n` (from 1) inside this requester.
  int Id(int n) const { return window_ + n; }
  int InnerWidth() const;
  int InnerHeight() const;

  // Called for every event of the window's elements (after the elements have handled it);
  // `element` is the element the event concerns.
  std::function<void(EventCode code, int element)> onEvent;
  // Return was pressed: answer whether the requester ends as confirmed. Without one, Return
  // confirms.
  std::function<bool()> onConfirm;

  // Keeps an image for as long as the requester is open (freed with it); returns it.
  int OwnImage(int image);

  // Shows the window and runs the event loop until End is called, Escape or the close box
  // cancels, or the program is asked to close. Returns true when ended as confirmed.
  bool Run();
  // Ends the run (once the event being handled is done).
  void End(bool confirmed);

 private:
  int OnEvent(EventCode code);

  Toolkit& tk_;
  int window_ = 0;
  bool running_ = false;
  bool confirmed_ = false;
  int previousGadget_ = 0;
  int previousWindow_ = 0;
  int previousFocused_ = 0;
  int previousSticky_ = -1;
  HandlerRef handler_;
  std::vector<int> images_;
};

}  // namespace tk
