#include "requesters/modal.h"

#include <algorithm>

#include "core/attributes.h"
#include "core/coords.h"
#include "core/events.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/window.h"
#include "render/host.h"
#include "render/repaint.h"

namespace tk {

namespace {

constexpr int kMargin = 8;  // kept free around a requester shrunk to the canvas

}  // namespace

ModalWindow::ModalWindow(Toolkit& tk, const std::string& title, int innerWidth, int innerHeight)
    : tk_(tk) {
  Root& root = tk.root;
  if (!root.CanvasID || FindElement(tk, 0) == nullptr) return;
  const int base =
      kRequesterIdBase + static_cast<int>(root.ModalWindows.size()) * kRequesterIdBlock;
  if (FindElement(tk, base) != nullptr) return;  // that level is taken: never replace it

  previousGadget_ = root.FocusedGadget;
  previousWindow_ = root.ActiveWindow;
  previousFocused_ = root.FocusedElement;
  previousSticky_ = root.StickyWindow;
  root.StickyWindow = -1;  // nothing may rise above the requester

  const int canvasW = ElementWidth(tk, 0);
  const int canvasH = ElementHeight(tk, 0);
  window_ = CreateInParent(tk, 0, [&] {
    return tk::Window(tk, base, 0, 0, std::max(1, innerWidth), std::max(1, innerHeight), title,
                      Flag::SystemMenu, 0);
  });
  if (window_ <= 0) {
    window_ = 0;
    root.StickyWindow = previousSticky_;
    return;
  }
  // Fit the canvas, then centre.
  int w = ElementWidth(tk, window_, CoordMode::Frame);
  int h = ElementHeight(tk, window_, CoordMode::Frame);
  w = std::min(w, std::max(1, canvasW - 2 * kMargin));
  h = std::min(h, std::max(1, canvasH - 2 * kMargin));
  ResizeElementById(tk, window_, std::max(0, (canvasW - w) / 2), std::max(0, (canvasH - h) / 2), w,
                    h, CoordMode::Parent);

  root.ModalWindows.push_back(window_);
  handler_ = MakeHandler([this](EventCode code, int) { return OnEvent(code); });
  BindCallback(tk, handler_, window_, -1, -1);
}

ModalWindow::~ModalWindow() {
  if (window_ <= 0) return;
  Toolkit& tk = tk_;
  Root& root = tk.root;
  auto& stack = root.ModalWindows;
  stack.erase(std::remove(stack.begin(), stack.end(), window_), stack.end());
  // The handler stays bound while the window goes, so its Freed never reads as the last
  // window of the program closing.
  if (FindElement(tk, window_) != nullptr) FreeElement(tk, window_);
  for (int image : images_)
    tk.platform.Images().Free(image);
  if (root.StickyWindow < 0 && FindElement(tk, previousSticky_) != nullptr)
    root.StickyWindow = previousSticky_;
  // The input goes back to what had it.
  if (previousGadget_ != 0 && FindElement(tk, previousGadget_) != nullptr)
    ActivateElement(tk, previousGadget_);
  else if (FindElement(tk, previousWindow_) != nullptr)
    ActivateElement(tk, previousWindow_);
  if (FindElement(tk, previousFocused_) != nullptr) root.FocusedElement = previousFocused_;
  Repaint(tk, 0, false);
}

int ModalWindow::OwnImage(int image) {
  if (image > 0) images_.push_back(image);
  return image;
}

int ModalWindow::InnerWidth() const {
  return IsOpen() ? ElementWidth(tk_, window_) : 0;
}
int ModalWindow::InnerHeight() const {
  return IsOpen() ? ElementHeight(tk_, window_) : 0;
}

int ModalWindow::OnEvent(EventCode code) {
  const int element = tk_.root.Event.EventElement;
  if (code == ElementEvent::Freed) return element == window_ ? 0 : 1;
  if (!running_) return 1;  // events replayed at binding time
  if (code == ElementEvent::CloseButton && element == window_) {
    End(false);
    return 0;  // the requester frees its window itself
  }
  if (code == ElementEvent::KeyDown && !tk_.root.DropDownOpen) {
    const int key = tk_.root.KeyCode;
    if (key == platform::Key::Escape) {
      End(false);
      return 0;
    }
    if (key == platform::Key::Return) {
      if (!onConfirm || onConfirm()) End(true);
      return 0;
    }
  }
  if (onEvent) onEvent(code, element);
  return 1;
}

bool ModalWindow::Run() {
  if (!IsOpen()) return false;
  Toolkit& tk = tk_;
  FocusWindow(tk, window_);
  // The first field of the requester takes the keys; without one, the window.
  int first = window_;
  for (const auto& e : tk.root.Elements) {
    if (e->WindowID == window_ && e->ID != window_ &&
        (e->Kind == ElementKind::String || e->Kind == ElementKind::ListView ||
         e->Kind == ElementKind::Button) &&
        !e->Hidden && !e->Disabled) {
      first = e->ID;
      break;
    }
  }
  ActivateElement(tk, first);
  Repaint(tk, 0, false);
  running_ = true;
  confirmed_ = false;
  RunModalLoop(tk, window_);
  running_ = false;
  return confirmed_;
}

void ModalWindow::End(bool confirmed) {
  confirmed_ = confirmed;
  if (running_) QuitEventLoop(tk_);
}

}  // namespace tk
