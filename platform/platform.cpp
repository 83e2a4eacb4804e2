// Platform base: the image and font stores shared by every backend, and drawing on images.
#include "platform/platform.h"

#include "platform/cairo_canvas.h"
#include "platform/cairo_internal.h"

namespace tk::platform {

Platform::Platform() = default;
Platform::~Platform() = default;

MessageAnswer Platform::MessageRequester(const std::string&, const std::string&,
                                         MessageButtons buttons, MessageIcon) {
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageAnswer::Ok;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    default:
      return MessageAnswer::Cancel;
  }
}

std::string Platform::OpenFileRequester(const std::string&, const std::string&, const std::string&,
                                        int) {
  return {};
}

int64_t Platform::ColorRequester(int64_t) {
  return -1;
}

bool Platform::FontRequester(FontChoice&) {
  return false;
}

Painter* Platform::BeginImageDrawing(int image) {
  ImageData* data = images_.Data(image);
  if (!data || imageDrawing_) return nullptr;
  if (!imagePainter_) imagePainter_ = std::make_unique<CairoPainter>(fonts_, images_);
  imagePainter_->Attach(data->surface);
  imageDrawing_ = true;
  return imagePainter_.get();
}

void Platform::EndImageDrawing() {
  if (!imageDrawing_) return;
  imagePainter_->Attach(nullptr);
  imageDrawing_ = false;
}

}  // namespace tk::platform
