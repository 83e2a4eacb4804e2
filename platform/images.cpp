// Image store, the PNG decoder (libpng's simplified reader) and the JPEG decoder (libjpeg)
// into premultiplied surfaces, and the recognition of image formats by their first bytes.
#include "platform/images.h"

#include <png.h>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <csetjmp>
#include <cstdio>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <initializer_list>

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

bool StartsWith(const uint8_t* data, size_t size, std::initializer_list<uint8_t> bytes) {
  return data != nullptr && size >= bytes.size() && std::equal(bytes.begin(), bytes.end(), data);
}

// TGA 2.0 files end with a footer naming the format.
bool HasTgaFooter(const uint8_t* data, size_t size) {
  static constexpr char kFooter[] = "TRUEVISION-XFILE.";  // followed by its terminating zero
  return data != nullptr && size >= 26 &&
         std::memcmp(data + size - sizeof kFooter, kFooter, sizeof kFooter) == 0;
}

// The format of image bytes by their signature; None when nothing matches.
ImageFormat Recognise(const uint8_t* data, size_t size) {
  if (StartsWith(data, size, {0x89, 'P', 'N', 'G'})) return ImageFormat::Png;
  if (StartsWith(data, size, {'B', 'M'})) return ImageFormat::Bmp;
  // The icon signature is also how a plain true-colour TGA begins; an icon directory with no
  // entries is taken for a TGA when the header fits one.
  const bool iconSignature =
      StartsWith(data, size, {0, 0, 1, 0}) || StartsWith(data, size, {0, 0, 2, 0});
  if (HasTgaFooter(data, size)) return ImageFormat::Tga;
  if (iconSignature && size >= 6 && (data[4] | data[5]) != 0) return ImageFormat::Icon;
  if (iconSignature && !codecs::LooksLikeTga(data, size)) return ImageFormat::Icon;
  if (StartsWith(data, size, {0xFF, 0xD8, 0xFF})) return ImageFormat::Jpeg;
  // A JP2 file box, or a bare JPEG 2000 code stream.
  if (StartsWith(data, size, {0, 0, 0, 0x0C, 'j', 'P', ' ', ' '}) ||
      StartsWith(data, size, {0xFF, 0x4F, 0xFF, 0x51}))
    return ImageFormat::Jpeg2000;
  if (StartsWith(data, size, {'I', 'I', 42, 0}) || StartsWith(data, size, {'M', 'M', 0, 42}))
    return ImageFormat::Tiff;
  if (codecs::LooksLikeTga(data, size)) return ImageFormat::Tga;
  return ImageFormat::None;
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

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to
// the decoding step that was running. The frames that set the jump hold only plain data, so
// the jump skips no destructor.
struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool truncated;  // the data ended early; libjpeg only warns and pads the picture
};

void JpegErrorExit(j_common_ptr info) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, error->message);
  std::longjmp(error->jump, 1);
}

// Warnings are not printed. Damaged data the decoder can read past is accepted, as viewers
// do; data that simply ends is refused like a truncated PNG or bitmap.
void JpegEmitMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
    reinterpret_cast<JpegError*>(info->err)->truncated = true;
}

// Reads the header and starts decompression into BGRA rows (cairo's byte order).
bool StartJpeg(jpeg_decompress_struct* info, JpegError* error, const uint8_t* data, size_t size) {
  if (setjmp(error->jump)) return false;
  jpeg_mem_src(info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) {
    std::snprintf(error->message, sizeof error->message, "no JPEG image in the data");
    return false;
  }
  if (info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK) {
    std::snprintf(error->message, sizeof error->message, "CMYK JPEG images are not supported");
    return false;
  }
  if (info->image_width == 0 || info->image_height == 0 ||
      info->image_width > static_cast<JDIMENSION>(kMaxImageSide) ||
      info->image_height > static_cast<JDIMENSION>(kMaxImageSide)) {
    std::snprintf(error->message, sizeof error->message, "JPEG size %ux%u is outside 1..%d",
                  static_cast<unsigned>(info->image_width),
                  static_cast<unsigned>(info->image_height), kMaxImageSide);
    return false;
  }
  // Greyscale and colour alike come out as BGRA with opaque alpha.
  info->out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(info);
  return true;
}

bool ReadJpegRows(jpeg_decompress_struct* info, JpegError* error, uint8_t* pixels, int stride) {
  if (setjmp(error->jump)) return false;
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = pixels + static_cast<size_t>(info->output_scanline) * stride;
    if (jpeg_read_scanlines(info, &row, 1) != 1) {
      std::snprintf(error->message, sizeof error->message, "JPEG data truncated");
      return false;
    }
  }
  jpeg_finish_decompress(info);
  return true;
}

bool CreateJpeg(jpeg_decompress_struct* info, JpegError* error) {
  if (setjmp(error->jump)) return false;
  jpeg_create_decompress(info);
  return true;
}

}  // namespace

std::unique_ptr<ImageData> DecodeJpeg(const uint8_t* data, size_t size, std::string& error) {
  if (!data || size == 0) {
    error = "no image data";
    return nullptr;
  }
  jpeg_decompress_struct info;
  JpegError jpegError;
  std::memset(&info, 0, sizeof info);
  std::memset(&jpegError, 0, sizeof jpegError);
  info.err = jpeg_std_error(&jpegError.manager);
  jpegError.manager.error_exit = &JpegErrorExit;
  jpegError.manager.emit_message = &JpegEmitMessage;
  if (!CreateJpeg(&info, &jpegError)) {
    error = std::string("JPEG decoder unavailable: ") + jpegError.message;
    return nullptr;
  }
  std::unique_ptr<ImageData> result;
  if (StartJpeg(&info, &jpegError, data, size)) {
    result = NewImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (!result) {
      std::snprintf(jpegError.message, sizeof jpegError.message, "out of memory for the image");
    } else {
      cairo_surface_flush(result->surface);
      if (ReadJpegRows(&info, &jpegError, cairo_image_surface_get_data(result->surface),
                       cairo_image_surface_get_stride(result->surface)) &&
          !jpegError.truncated) {
        cairo_surface_mark_dirty(result->surface);
        result->depth = 24;
        result->format = ImageFormat::Jpeg;
      } else {
        if (jpegError.truncated)
          std::snprintf(jpegError.message, sizeof jpegError.message, "JPEG data truncated");
        result.reset();
      }
    }
  }
  jpeg_destroy_decompress(&info);
  if (!result) error = std::string("JPEG data unreadable: ") + jpegError.message;
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
  switch (Recognise(data, size)) {
    case ImageFormat::Bmp:
      image = codecs::DecodeBmp(data, size, reason);
      break;
    case ImageFormat::Icon:
      image = codecs::DecodeIco(data, size, reason);
      break;
    case ImageFormat::Jpeg:
      image = codecs::DecodeJpeg(data, size, reason);
      break;
    case ImageFormat::Tga:
      image = codecs::DecodeTga(data, size, reason);
      break;
    case ImageFormat::Jpeg2000:
      reason = "JPEG 2000 images are not supported";
      break;
    case ImageFormat::Tiff:
      reason = "TIFF images are not supported";
      break;
    default:
      // PNG, and anything unrecognised, which the PNG reader then refuses with its reason.
      image = codecs::DecodePng(data, size, reason);
      break;
  }
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
