// Image store and the PNG decoder (libpng's simplified reader) into premultiplied surfaces.
#include "platform/images.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "platform/cairo_internal.h"
#include "platform/image_codecs.h"

namespace tk::platform {

namespace {

// Files above this size are not icons or pictures for a form; refusing them keeps a bad path from
// eating memory.
constexpr std::streamoff kMaxFileBytes = 256 << 20;

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

bool ValidSide(int side) {
  return side > 0 && side <= kMaxImageSide;
}

}  // namespace

namespace codecs {

std::unique_ptr<ImageData> NewImage(int width, int height) {
  if (!ValidSide(width) || !ValidSide(height)) return nullptr;
  auto data = std::make_unique<ImageData>();
  data->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(data->surface) != CAIRO_STATUS_SUCCESS) return nullptr;
  data->width = width;
  data->height = height;
  return data;
}

std::unique_ptr<ImageData> DecodePng(const uint8_t* data, size_t size, std::string& error) {
  if (!data || size == 0) {
    error = "no image data";
    return nullptr;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  // The simplified reader catches libpng's errors itself and reports them in image.message.
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    error = std::string("PNG header unreadable: ") + image.message;
    png_image_free(&image);
    return nullptr;
  }
  if (image.width > static_cast<png_uint_32>(kMaxImageSide) ||
      image.height > static_cast<png_uint_32>(kMaxImageSide) || image.width == 0 ||
      image.height == 0) {
    error = "PNG size " + std::to_string(image.width) + "x" + std::to_string(image.height) +
            " is outside 1.." + std::to_string(kMaxImageSide);
    png_image_free(&image);
    return nullptr;
  }
  int width = static_cast<int>(image.width);
  int height = static_cast<int>(image.height);
  auto result = NewImage(width, height);
  if (!result) {
    error = "out of memory for the image";
    png_image_free(&image);
    return nullptr;
  }
  // BGRA bytes are the little-endian layout of cairo's ARGB32 words.
  image.format = PNG_FORMAT_BGRA;
  cairo_surface_flush(result->surface);
  uint8_t* pixels = cairo_image_surface_get_data(result->surface);
  int stride = cairo_image_surface_get_stride(result->surface);
  if (!png_image_finish_read(&image, nullptr, pixels, stride, nullptr)) {
    error = std::string("PNG data corrupt: ") + image.message;
    png_image_free(&image);
    return nullptr;
  }
  png_image_free(&image);
  // cairo wants premultiplied alpha.
  for (int y = 0; y < height; ++y) {
    uint8_t* p = pixels + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x, p += 4) {
      unsigned a = p[3];
      if (a == 255) continue;
      p[0] = static_cast<uint8_t>((p[0] * a + 127) / 255);
      p[1] = static_cast<uint8_t>((p[1] * a + 127) / 255);
      p[2] = static_cast<uint8_t>((p[2] * a + 127) / 255);
    }
  }
  cairo_surface_mark_dirty(result->surface);
  result->depth = 32;
  result->format = ImageFormat::Png;
  return result;
}

}  // namespace codecs

ImageStore::ImageStore() = default;
ImageStore::~ImageStore() = default;

int ImageStore::Store(int number, std::unique_ptr<ImageData> data) {
  if (number == kAny) {
    while (images_.count(nextFree_))
      ++nextFree_;
    number = nextFree_++;
  }
  images_[number] = std::move(data);
  return number;
}

int ImageStore::DecodePng(int number, const uint8_t* data, size_t size, std::string* error) {
  if (number < kAny) {
    SetError(error, "invalid image number");
    return -1;
  }
  std::string reason;
  auto image = codecs::DecodePng(data, size, reason);
  if (!image) {
    SetError(error, reason);
    return -1;
  }
  return Store(number, std::move(image));
}

int ImageStore::DecodeImage(int number, const uint8_t* data, size_t size, std::string* error) {
  if (number < kAny) {
    SetError(error, "invalid image number");
    return -1;
  }
  std::string reason;
  std::unique_ptr<ImageData> image;
  if (data && size >= 2 && data[0] == 'B' && data[1] == 'M')
    image = codecs::DecodeBmp(data, size, reason);
  else if (data && size >= 4 && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) &&
           data[3] == 0)
    image = codecs::DecodeIco(data, size, reason);
  else
    image = codecs::DecodePng(data, size, reason);
  if (!image) {
    SetError(error, reason);
    return -1;
  }
  return Store(number, std::move(image));
}

int ImageStore::LoadFile(int number, const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    SetError(error, "cannot open " + path);
    return -1;
  }
  std::streamoff length = in.tellg();
  if (length <= 0 || length > kMaxFileBytes) {
    SetError(error, length <= 0 ? path + " is empty or unreadable" : path + " is too large");
    return -1;
  }
  std::string bytes(static_cast<size_t>(length), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), length)) {
    SetError(error, "cannot read " + path);
    return -1;
  }
  int result =
      DecodeImage(number, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error);
  if (result >= 0) images_[result]->path = path;
  return result;
}

int ImageStore::Create(int number, int width, int height, int depth, int64_t fill) {
  if (number < kAny || !ValidSide(width) || !ValidSide(height)) return -1;
  auto data = codecs::NewImage(width, height);
  if (!data) return -1;
  data->depth = depth == 24 ? 24 : 32;
  double alpha = 1.0;
  if (fill < 0) {
    // Transparent for 32-bit images, black for opaque ones.
    alpha = data->depth == 32 ? 0.0 : 1.0;
    fill = 0;
  } else if (data->depth == 32 && fill > 0xFFFFFF) {
    alpha = ColorAlpha(fill);
  }
  cairo_t* cr = cairo_create(data->surface);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, ColorRed(fill), ColorGreen(fill), ColorBlue(fill), alpha);
  cairo_paint(cr);
  cairo_destroy(cr);
  data->format = ImageFormat::Raw;
  return Store(number, std::move(data));
}

bool ImageStore::Resize(int number, int width, int height) {
  ImageData* old = Data(number);
  if (!old || !ValidSide(width) || !ValidSide(height)) return false;
  if (width == old->width && height == old->height) return true;
  cairo_surface_t* next = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(next) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(next);
    return false;
  }
  cairo_t* cr = cairo_create(next);
  cairo_scale(cr, static_cast<double>(width) / old->width,
              static_cast<double>(height) / old->height);
  cairo_set_source_surface(cr, old->surface, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  // Pad keeps the edges from fading into transparency when scaling up.
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(old->surface);
  old->surface = next;
  old->width = width;
  old->height = height;
  return true;
}

bool ImageStore::Free(int number) {
  return images_.erase(number) > 0;
}

bool ImageStore::IsImage(int number) const {
  return images_.count(number) > 0;
}

int ImageStore::Width(int number) const {
  ImageData* data = Data(number);
  return data ? data->width : 0;
}

int ImageStore::Height(int number) const {
  ImageData* data = Data(number);
  return data ? data->height : 0;
}

ImageFormat ImageStore::Format(int number) const {
  ImageData* data = Data(number);
  return data ? data->format : ImageFormat::None;
}

std::string ImageStore::Path(int number) const {
  ImageData* data = Data(number);
  return data ? data->path : std::string();
}

uint32_t ImageStore::Pixel(int number, int x, int y) const {
  ImageData* data = Data(number);
  if (!data || x < 0 || y < 0 || x >= data->width || y >= data->height) return 0;
  cairo_surface_flush(data->surface);
  const uint8_t* row = cairo_image_surface_get_data(data->surface) +
                       static_cast<size_t>(y) * cairo_image_surface_get_stride(data->surface);
  return reinterpret_cast<const uint32_t*>(row)[x];
}

ImageData* ImageStore::Data(int number) const {
  auto found = images_.find(number);
  return found == images_.end() ? nullptr : found->second.get();
}

}  // namespace tk::platform
