// libFuzzer target for the image decoders: any bytes go through the store's recognition
// (DecodeImage) and through each format's decoder directly, so every decoder sees every input
// whatever its signature. A decoded image must have a size within the limits and premultiplied
// pixels; a refusal must say why.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/image_codecs.h"
#include "platform/images.h"

namespace {

namespace codecs = tk::platform::codecs;

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckPixel(uint32_t argb) {
  const uint32_t a = argb >> 24;
  Check(((argb >> 16) & 0xFF) <= a && ((argb >> 8) & 0xFF) <= a && (argb & 0xFF) <= a);
}

void CheckDecoded(const std::unique_ptr<tk::platform::ImageData>& image, const std::string& error) {
  if (!image) {
    Check(!error.empty());
    return;
  }
  Check(image->surface != nullptr);
  Check(image->width >= 1 && image->height >= 1);
  Check(image->width <= tk::platform::kMaxImageSide &&
        image->height <= tk::platform::kMaxImageSide);
  Check(static_cast<uint64_t>(image->width) * static_cast<uint64_t>(image->height) <=
        codecs::kMaxImagePixels);
  cairo_surface_flush(image->surface);
  Check(cairo_image_surface_get_width(image->surface) == image->width);
  Check(cairo_image_surface_get_height(image->surface) == image->height);
  const unsigned char* pixels = cairo_image_surface_get_data(image->surface);
  const int stride = cairo_image_surface_get_stride(image->surface);
  Check(pixels != nullptr && stride >= image->width * 4);
  // Every pixel of a small image (and the first rows of a large one) is read, so a decoder
  // that wrote a value that is not premultiplied is caught.
  const int rows = std::min(image->height, 256);
  for (int y = 0; y < rows; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(y) * stride);
    for (int x = 0; x < image->width; ++x)
      CheckPixel(row[x]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    tk::platform::ImageStore store;
    std::string error;
    const int image = store.DecodeImage(tk::platform::ImageStore::kAny, data, size, &error);
    if (image < 0) {
      Check(!error.empty());
    } else {
      Check(store.IsImage(image) && store.Width(image) >= 1 && store.Height(image) >= 1);
      Check(store.Path(image).empty());
      CheckPixel(store.Pixel(image, store.Width(image) - 1, store.Height(image) - 1));
    }
  }
  std::string error;
  CheckDecoded(codecs::DecodePng(data, size, error), error);
  error.clear();
  CheckDecoded(codecs::DecodeBmp(data, size, error), error);
  error.clear();
  CheckDecoded(codecs::DecodeIco(data, size, error), error);
  error.clear();
  CheckDecoded(codecs::DecodeJpeg(data, size, error), error);
  error.clear();
  CheckDecoded(codecs::DecodeTga(data, size, error), error);
  (void)codecs::LooksLikeTga(data, size);
  return 0;
}
