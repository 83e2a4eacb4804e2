// Image store, the PNG decoder (libpng) and the JPEG decoder (libjpeg)
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
#include <vector>

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

namespace {

// Ancillary chunks that change how the pixels come out. Every other ancillary chunk (text,
// palettes, metadata, unknown ones) is skipped unread: libpng would otherwise allocate and
// zero whatever length such a chunk claims before finding out that the file ends.
constexpr char kPngColourChunks[] = "gAMA\0sRGB\0cHRM\0iCCP";
constexpr int kPngColourChunkCount = 4;
// What libpng may allocate for any one chunk it keeps (an ICC profile is the largest).
constexpr png_alloc_size_t kMaxPngChunkBytes = 8 << 20;

struct PngSource {
  const uint8_t* data;
  size_t size;
  size_t at;
  char message[128];
};

void PngRead(png_structp png, png_bytep out, size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->at) png_error(png, "read beyond end of data");
  std::memcpy(out, source->data + source->at, length);
  source->at += length;
}

[[noreturn]] void PngError(png_structp png, png_const_charp message) {
  auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(source->message, sizeof source->message, "%s", message);
  png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// Reads the chunks up to the pixels. The jumps back from libpng's errors skip no destructor:
// these frames hold only plain data.
bool ReadPngHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT,
                              reinterpret_cast<png_const_bytep>(kPngColourChunks),
                              kPngColourChunkCount);
  // Damage that libpng can read past (a bad checksum on an ancillary chunk, trailing data)
  // is forgiven, as viewers do.
  png_set_benign_errors(png, 1);
  png_read_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  return true;
}

// Decodes the rows as 8-bit BGRA (cairo's byte order) with straight alpha and sRGB gamma.
bool ReadPngRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int depth = png_get_bit_depth(png, info);
  const int type = png_get_color_type(png, info);
  png_set_expand(png);  // palette to RGB, small grey depths to 8 bits, tRNS to alpha
  if (depth == 16) png_set_scale_16(png);
  if ((type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  // Untagged files are taken as sRGB, except 16-bit ones, which count as linear light.
  png_set_alpha_mode(png, PNG_ALPHA_PNG, depth == 16 ? PNG_GAMMA_LINEAR : PNG_DEFAULT_sRGB);
  png_set_alpha_mode(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

}  // namespace

bool FitsDecodeLimits(int64_t width, int64_t height, const char* format, std::string& error) {
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide) {
    error = std::string(format) + " size " + std::to_string(width) + "x" + std::to_string(height) +
            " is outside 1.." + std::to_string(kMaxImageSide);
    return false;
  }
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxImagePixels) {
    error = std::string(format) + " size " + std::to_string(width) + "x" + std::to_string(height) +
            " is over " + std::to_string(kMaxImagePixels >> 20) + " megapixels";
    return false;
  }
  return true;
}

std::unique_ptr<ImageData> DecodePng(const uint8_t* data, size_t size, std::string& error) {
  if (!data || size == 0) {
    error = "no image data";
    return nullptr;
  }
  PngSource source{data, size, 0, "unknown error"};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, &PngError, &PngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    error = "PNG decoder unavailable";
    return nullptr;
  }
  png_set_read_fn(png, &source, &PngRead);
  png_uint_32 width = 0, height = 0;
  std::unique_ptr<ImageData> result;
  if (!ReadPngHeader(png, info, &width, &height)) {
    error = std::string("PNG header unreadable: ") + source.message;
  } else if (FitsDecodeLimits(width, height, "PNG", error)) {
    result = NewImage(static_cast<int>(width), static_cast<int>(height));
    if (!result) error = "out of memory for the image";
  }
  if (result) {
    // Rows are decoded straight into the surface.
    cairo_surface_flush(result->surface);
    uint8_t* pixels = cairo_image_surface_get_data(result->surface);
    const int stride = cairo_image_surface_get_stride(result->surface);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
      rows[y] = pixels + static_cast<size_t>(y) * stride;
    if (!ReadPngRows(png, info, rows.data())) {
      error = std::string("PNG data corrupt: ") + source.message;
      result.reset();
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  if (!result) return nullptr;
  // cairo wants premultiplied alpha.
  uint8_t* pixels = cairo_image_surface_get_data(result->surface);
  const int stride = cairo_image_surface_get_stride(result->surface);
  for (png_uint_32 y = 0; y < height; ++y) {
    uint8_t* p = pixels + static_cast<size_t>(y) * stride;
    for (png_uint_32 x = 0; x < width; ++x, p += 4) {
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

// A progressive file may announce any number of scans, each a pass over the whole picture;
// real encoders write about ten.
constexpr int kMaxJpegScans = 100;
// libjpeg's own memory, which holds a progressive picture's coefficients besides the image
// surface; enough for a 16-megapixel colour photograph.
constexpr long kMaxJpegMemory = 64L << 20;

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to
// the decoding step that was running. The frames that set the jump hold only plain data, so
// the jump skips no destructor.
struct JpegError {
  jpeg_error_mgr manager;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegFail(j_common_ptr info, const char* message) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  std::snprintf(error->message, sizeof error->message, "%s", message);
  std::longjmp(error->jump, 1);
}

void JpegErrorExit(j_common_ptr info) {
  // Without backing store, that is what libjpeg says when the memory cap is reached.
  if (info->err->msg_code == JERR_NO_BACKING_STORE)
    JpegFail(info, "JPEG image needs more memory than allowed");
  auto* error = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, error->message);
  std::longjmp(error->jump, 1);
}

// Warnings are not printed. Damaged data the decoder can read past is accepted, as viewers
// do; data that simply ends is refused at once, before libjpeg pads the rest of the picture.
void JpegEmitMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) JpegFail(info, "JPEG data truncated");
}

// Called between pieces of input while a multi-scan file is read.
void JpegProgress(j_common_ptr info) {
  if (info->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxJpegScans)
    JpegFail(info, "JPEG image has too many scans");
}

bool ReadJpegHeader(jpeg_decompress_struct* info, JpegError* error, const uint8_t* data,
                    size_t size) {
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
  return true;
}

// Starts decompression into BGRA rows (cairo's byte order); a progressive file is read whole
// here.
bool StartJpeg(jpeg_decompress_struct* info, JpegError* error) {
  if (setjmp(error->jump)) return false;
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
  jpegError.progress.progress_monitor = &JpegProgress;
  if (!CreateJpeg(&info, &jpegError)) {
    error = std::string("JPEG decoder unavailable: ") + jpegError.message;
    return nullptr;
  }
  info.progress = &jpegError.progress;
  info.mem->max_memory_to_use = kMaxJpegMemory;
  std::unique_ptr<ImageData> result;
  std::string reason;
  const std::string unreadable = "JPEG data unreadable: ";
  if (!ReadJpegHeader(&info, &jpegError, data, size)) {
    reason = unreadable + jpegError.message;
  } else if (!FitsDecodeLimits(info.image_width, info.image_height, "JPEG", reason)) {
    // Refused before libjpeg allocates anything for the picture.
  } else if (!StartJpeg(&info, &jpegError)) {
    reason = unreadable + jpegError.message;
  } else if (!(result = NewImage(static_cast<int>(info.output_width),
                                 static_cast<int>(info.output_height)))) {
    reason = "out of memory for the image";
  } else {
    // Rows are decoded straight into the surface.
    cairo_surface_flush(result->surface);
    if (ReadJpegRows(&info, &jpegError, cairo_image_surface_get_data(result->surface),
                     cairo_image_surface_get_stride(result->surface))) {
      cairo_surface_mark_dirty(result->surface);
      result->depth = 24;
      result->format = ImageFormat::Jpeg;
    } else {
      reason = unreadable + jpegError.message;
      result.reset();
    }
  }
  jpeg_destroy_decompress(&info);
  if (!result) error = reason;
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
