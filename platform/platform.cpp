// Platform base: the image and font stores shared by every backend, and drawing on images.
#include "platform/platform.h"

#include <cstdio>

#include "platform/cairo_canvas.h"
#include "platform/cairo_internal.h"

namespace tk::platform {

size_t Utf8SequenceLength(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  const size_t want = b < 0x80             ? 1
                      : (b & 0xE0) == 0xC0 ? 2
                      : (b & 0xF0) == 0xE0 ? 3
                      : (b & 0xF8) == 0xF0 ? 4
                                           : 1;
  size_t n = 1;
  while (n < want && i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80)
    ++n;
  return n;
}

void Painter::CaretStops(std::string_view text, std::vector<int>& stops) {
  stops.assign(1, 0);
  for (size_t i = 0; i < text.size();) {
    i += Utf8SequenceLength(text, i);
    stops.push_back(TextWidth(text.substr(0, i)));
  }
}

Platform::Platform() = default;
Platform::~Platform() = default;

void Platform::ShowStartupMessage(const std::string& title, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
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
