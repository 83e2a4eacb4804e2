// Headless backend: offscreen canvas, scripted native events, in-memory clipboard.
#include "platform/headless/headless_platform.h"

#include "platform/cairo_canvas.h"

namespace tk::platform {

namespace {

NativeEvent PointerEvent(NativeEventType type, int x, int y) {
  NativeEvent event;
  event.type = type;
  event.x = x;
  event.y = y;
  return event;
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(int width, int height)
    : canvas_(std::make_unique<CairoCanvas>(width, height, Fonts(), Images())) {
  host_.w = canvas_->Width();
  host_.h = canvas_->Height();
}

HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::Inject(const NativeEvent& event) {
  queue_.push_back(event);
}

void HeadlessPlatform::InjectMove(int x, int y) {
  Inject(PointerEvent(NativeEventType::MouseMove, x, y));
}

void HeadlessPlatform::InjectClick(int x, int y) {
  Inject(PointerEvent(NativeEventType::LeftButtonDown, x, y));
  Inject(PointerEvent(NativeEventType::LeftButtonUp, x, y));
  Inject(PointerEvent(NativeEventType::LeftClick, x, y));
}

bool HeadlessPlatform::SavePng(const std::string& path, std::string* error) const {
  cairo_status_t status = cairo_surface_write_to_png(canvas_->Surface(), path.c_str());
  if (status == CAIRO_STATUS_SUCCESS) return true;
  if (error) *error = std::string("cannot write ") + path + ": " + cairo_status_to_string(status);
  return false;
}

uint32_t HeadlessPlatform::CanvasPixel(int x, int y) const {
  return canvas_->Pixel(x, y);
}
int HeadlessPlatform::CanvasWidth() const {
  return canvas_->Width();
}
int HeadlessPlatform::CanvasHeight() const {
  return canvas_->Height();
}

bool HeadlessPlatform::OpenHost(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  host_ = {x, y, width, height};
  canvas_->Resize(width, height);
  open_ = true;
  visible_ = maximized_ = minimized_ = false;
  return true;
}

void HeadlessPlatform::ShowHost(ShowMode mode) {
  if (!open_) return;
  showMode_ = mode;
  // Without an owner window, owner-centred means screen-centred.
  if (mode != ShowMode::InPlace) {
    host_.x = (screenW_ - host_.w) / 2;
    host_.y = (screenH_ - host_.h) / 2;
  }
  visible_ = true;
}

void HeadlessPlatform::MoveHost(int x, int y) {
  host_.x = x;
  host_.y = y;
}

void HeadlessPlatform::ResizeHost(int x, int y, int width, int height) {
  host_.x = x;
  host_.y = y;
  if (width > 0 && height > 0 && (width != host_.w || height != host_.h)) {
    host_.w = width;
    host_.h = height;
    canvas_->Resize(width, height);
    posted_.push_back(NativeEvent{NativeEventType::Resized});
  }
}

void HeadlessPlatform::MaximizeHost() {
  if (!open_ || maximized_) return;
  restore_ = host_;
  maximized_ = true;
  minimized_ = false;
  ResizeHost(0, 0, screenW_, screenH_);
}

void HeadlessPlatform::MinimizeHost() {
  if (open_) minimized_ = true;
}

void HeadlessPlatform::RestoreHost() {
  if (!open_) return;
  minimized_ = false;
  if (maximized_) {
    maximized_ = false;
    ResizeHost(restore_.x, restore_.y, restore_.w, restore_.h);
  }
}

void HeadlessPlatform::CloseHost() {
  open_ = visible_ = maximized_ = minimized_ = false;
}

void HeadlessPlatform::ResizeCanvas(int width, int height) {
  canvas_->Resize(width, height);
}

void HeadlessPlatform::FocusCanvas() {
  posted_.push_back(NativeEvent{NativeEventType::FocusGained});
}

Painter* HeadlessPlatform::BeginDrawing() {
  if (drawing_) return nullptr;
  drawing_ = true;
  canvas_->Painter().Reset();
  return &canvas_->Painter();
}

void HeadlessPlatform::EndDrawing() {
  if (!drawing_) return;
  drawing_ = false;
  cairo_surface_flush(canvas_->Surface());
  ++presents_;
}

Painter& HeadlessPlatform::Measurer() {
  return canvas_->Measurer();
}

bool HeadlessPlatform::PollEvent(NativeEvent& event) {
  std::deque<NativeEvent>& source = !posted_.empty() ? posted_ : queue_;
  if (source.empty()) return false;
  event = source.front();
  source.pop_front();
  // The pointer is where the event says at the moment it is handled.
  if (IsPointerEvent(event.type)) pointer_ = {event.x, event.y};
  return true;
}

bool HeadlessPlatform::WaitEvent(NativeEvent& event, int /*timeoutMs*/) {
  if (PollEvent(event)) return true;
  // A feeder may answer true without queuing anything (a line that only records the state).
  while (feeder_ && feeder_()) {
    if (PollEvent(event)) return true;
  }
  event = NativeEvent{NativeEventType::Exhausted};
  event.x = pointer_.x;
  event.y = pointer_.y;
  return true;
}

void HeadlessPlatform::PostEvent(const NativeEvent& event) {
  posted_.push_back(event);
}

bool HeadlessPlatform::SetCustomCursor(int image, int /*hotX*/, int /*hotY*/) {
  if (!Images().IsImage(image)) return false;
  cursor_ = Cursor::Custom;
  return true;
}

void HeadlessPlatform::ShowStartupMessage(const std::string& title, const std::string& text) {
  Platform::ShowStartupMessage(title, text);
  startupMessages_.push_back(title + "|" + text);
}

}  // namespace tk::platform
