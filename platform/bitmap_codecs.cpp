// BMP, ICO and TGA decoders. Every read is bounds-checked against the given bytes, so truncated or
// hostile files are refused with a reason instead of being read past their end.
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "platform/image_codecs.h"

namespace tk::platform::codecs {

namespace {

constexpr uint32_t kBiRgb = 0, kBiBitfields = 3, kBiAlphaBitfields = 6;

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Has(uint64_t offset, uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  uint8_t U8(size_t at) const { return data_[at]; }
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(data_[at] | data_[at + 1] << 8); }
  uint32_t U32(size_t at) const {
    return static_cast<uint32_t>(data_[at]) | static_cast<uint32_t>(data_[at + 1]) << 8 |
           static_cast<uint32_t>(data_[at + 2]) << 16 | static_cast<uint32_t>(data_[at + 3]) << 24;
  }
  const uint8_t* At(size_t at) const { return data_ + at; }
  size_t Size() const { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
};

// Expands the bits selected by `mask` to 0..255.
uint32_t Channel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  uint64_t bits = mask >> shift;
  return static_cast<uint32_t>(((value >> shift) & bits) * 255 / bits);
}

struct Dib {
  int width = 0, height = 0;
  bool topDown = false;
  int bpp = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  std::vector<uint32_t> palette;     // 0x00RRGGBB
  uint64_t pixelOffset = 0;
  uint64_t stride = 0;
};

// Reads a bitmap information header and what follows it up to the pixels. For icons the
// header's height counts the colour rows and the mask rows together.
bool ReadDib(const Bytes& b, bool icon, Dib& dib, std::string& error) {
  if (!b.Has(0, 4)) {
    error = "bitmap header truncated";
    return false;
  }
  uint32_t headerSize = b.U32(0);
  if (headerSize < 40 || !b.Has(0, headerSize)) {
    error = headerSize < 40 ? "unsupported bitmap header" : "bitmap header truncated";
    return false;
  }
  int64_t width = static_cast<int32_t>(b.U32(4));
  int64_t height = static_cast<int32_t>(b.U32(8));
  dib.bpp = b.U16(14);
  uint32_t compression = b.U32(16);
  uint32_t used = b.U32(32);
  dib.topDown = height < 0 && !icon;
  if (height < 0) height = -height;
  if (icon) height /= 2;
  if (!FitsDecodeLimits(width, height, "bitmap", error)) return false;
  dib.width = static_cast<int>(width);
  dib.height = static_cast<int>(height);
  if (dib.bpp != 1 && dib.bpp != 4 && dib.bpp != 8 && dib.bpp != 16 && dib.bpp != 24 &&
      dib.bpp != 32) {
    error = "unsupported bitmap depth " + std::to_string(dib.bpp);
    return false;
  }
  uint64_t after = headerSize;
  if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
    if (dib.bpp != 16 && dib.bpp != 32) {
      error = "bit fields need 16 or 32 bits per pixel";
      return false;
    }
    int count = compression == kBiAlphaBitfields ? 4 : 3;
    // Version 4 and 5 headers carry the masks inside; older ones put them after the header.
    uint64_t at = 40;
    if (headerSize < 40u + 4u * count) {
      if (!b.Has(after, 4u * count)) {
        error = "bitmap masks truncated";
        return false;
      }
      at = after;
      after += 4u * count;
    } else if (headerSize >= 56) {
      count = 4;
    }
    for (int i = 0; i < count; ++i)
      dib.masks[i] = b.U32(at + 4u * i);
  } else if (compression == kBiRgb) {
    if (dib.bpp == 16) {
      dib.masks[0] = 0x7C00, dib.masks[1] = 0x03E0, dib.masks[2] = 0x001F;
    } else if (dib.bpp == 32) {
      dib.masks[0] = 0xFF0000, dib.masks[1] = 0xFF00, dib.masks[2] = 0xFF;
      dib.masks[3] = 0xFF000000;
    }
  } else {
    error = "compressed bitmaps are not supported";
    return false;
  }
  if (dib.bpp <= 8) {
    uint32_t count = used ? used : 1u << dib.bpp;
    if (count > 256 || !b.Has(after, 4ull * count)) {
      error = count > 256 ? "bitmap palette too large" : "bitmap palette truncated";
      return false;
    }
    for (uint32_t i = 0; i < count; ++i)
      dib.palette.push_back(b.U32(after + 4ull * i) & 0xFFFFFF);
    after += 4ull * count;
  }
  dib.pixelOffset = after;
  dib.stride = (static_cast<uint64_t>(dib.width) * dib.bpp + 31) / 32 * 4;
  return true;
}

// Converts the pixel rows (and an icon's transparency mask) into a premultiplied image.
std::unique_ptr<ImageData> DecodePixels(const Bytes& b, const Dib& dib, bool icon,
                                        std::string& error) {
  if (!b.Has(dib.pixelOffset, dib.stride * dib.height)) {
    error = "bitmap pixels truncated";
    return nullptr;
  }
  auto image = NewImage(dib.width, dib.height);
  if (!image) {
    error = "out of memory for the image";
    return nullptr;
  }
  cairo_surface_flush(image->surface);
  uint8_t* out = cairo_image_surface_get_data(image->surface);
  const int outStride = cairo_image_surface_get_stride(image->surface);
  auto outRow = [&](int y) {
    return reinterpret_cast<uint32_t*>(out + static_cast<size_t>(y) * outStride);
  };
  auto sourceRow = [&](int y) {
    int row = dib.topDown ? y : dib.height - 1 - y;
    return b.At(dib.pixelOffset + dib.stride * row);
  };

  // Straight ARGB first; the alpha channel counts only when some pixel uses it.
  bool anyAlpha = false;
  for (int y = 0; y < dib.height; ++y) {
    const uint8_t* src = sourceRow(y);
    uint32_t* dst = outRow(y);
    for (int x = 0; x < dib.width; ++x) {
      uint32_t argb = 0;
      if (dib.bpp <= 8) {
        int perByte = 8 / dib.bpp;
        uint8_t byte = src[x / perByte];
        int shift = 8 - dib.bpp * (x % perByte + 1);
        uint32_t index = (byte >> shift) & ((1u << dib.bpp) - 1);
        argb = 0xFF000000u | (index < dib.palette.size() ? dib.palette[index] : 0);
      } else if (dib.bpp == 24) {
        const uint8_t* p = src + 3 * x;
        argb = 0xFF000000u | p[2] << 16 | p[1] << 8 | p[0];
      } else {
        uint32_t v =
            dib.bpp == 16
                ? static_cast<uint32_t>(src[2 * x] | src[2 * x + 1] << 8)
                : static_cast<uint32_t>(src[4 * x] | src[4 * x + 1] << 8 | src[4 * x + 2] << 16) |
                      static_cast<uint32_t>(src[4 * x + 3]) << 24;
        uint32_t a = dib.masks[3] ? Channel(v, dib.masks[3]) : 255;
        if (dib.masks[3] && a) anyAlpha = true;
        argb = a << 24 | Channel(v, dib.masks[0]) << 16 | Channel(v, dib.masks[1]) << 8 |
               Channel(v, dib.masks[2]);
      }
      dst[x] = argb;
    }
  }
  bool useAlpha = dib.masks[3] != 0 && anyAlpha;
  if (!useAlpha)
    for (int y = 0; y < dib.height; ++y)
      for (int x = 0; x < dib.width; ++x)
        outRow(y)[x] |= 0xFF000000u;

  // An icon without alpha takes its transparency from the 1-bit mask after the colour rows.
  const uint64_t maskStride = (static_cast<uint64_t>(dib.width) + 31) / 32 * 4;
  const uint64_t maskOffset = dib.pixelOffset + dib.stride * dib.height;
  if (icon && !useAlpha && b.Has(maskOffset, maskStride * dib.height)) {
    for (int y = 0; y < dib.height; ++y) {
      const uint8_t* mask = b.At(maskOffset + maskStride * (dib.height - 1 - y));
      for (int x = 0; x < dib.width; ++x)
        if (mask[x / 8] & (0x80 >> (x % 8))) outRow(y)[x] = 0;
    }
  }

  for (int y = 0; y < dib.height; ++y) {
    uint32_t* row = outRow(y);
    for (int x = 0; x < dib.width; ++x) {
      uint32_t p = row[x], a = p >> 24;
      if (a == 255) continue;
      auto pre = [&](int shift) { return (((p >> shift) & 0xFF) * a + 127) / 255; };
      row[x] = a << 24 | pre(16) << 16 | pre(8) << 8 | pre(0);
    }
  }
  cairo_surface_mark_dirty(image->surface);
  image->depth = useAlpha || icon ? 32 : 24;
  return image;
}

}  // namespace

std::unique_ptr<ImageData> DecodeBmp(const uint8_t* data, size_t size, std::string& error) {
  Bytes file(data, data ? size : 0);
  if (!file.Has(0, 14) || file.U8(0) != 'B' || file.U8(1) != 'M') {
    error = "not a bitmap file";
    return nullptr;
  }
  uint32_t pixels = file.U32(10);
  Bytes info(file.At(14), file.Size() - 14);
  Dib dib;
  if (!ReadDib(info, false, dib, error)) return nullptr;
  if (pixels < 14) {
    error = "bitmap pixel offset invalid";
    return nullptr;
  }
  dib.pixelOffset = pixels - 14u;
  auto image = DecodePixels(info, dib, false, error);
  if (image) image->format = ImageFormat::Bmp;
  return image;
}

std::unique_ptr<ImageData> DecodeIco(const uint8_t* data, size_t size, std::string& error) {
  Bytes file(data, data ? size : 0);
  if (!file.Has(0, 6) || file.U16(0) != 0 || (file.U16(2) != 1 && file.U16(2) != 2)) {
    error = "not an icon file";
    return nullptr;
  }
  int count = file.U16(4);
  if (count == 0 || !file.Has(6, 16ull * count)) {
    error = count == 0 ? "icon file has no images" : "icon directory truncated";
    return nullptr;
  }
  // The largest entry, and of equal sizes the deepest.
  int best = -1;
  uint64_t bestArea = 0;
  int bestBpp = -1;
  for (int i = 0; i < count; ++i) {
    size_t entry = 6 + 16u * i;
    uint64_t w = file.U8(entry) ? file.U8(entry) : 256;
    uint64_t h = file.U8(entry + 1) ? file.U8(entry + 1) : 256;
    int bpp = file.U16(entry + 6);
    if (w * h > bestArea || (w * h == bestArea && bpp > bestBpp)) {
      best = i;
      bestArea = w * h;
      bestBpp = bpp;
    }
  }
  size_t entry = 6 + 16u * best;
  uint32_t length = file.U32(entry + 8), offset = file.U32(entry + 12);
  if (!file.Has(offset, length) || length < 8) {
    error = "icon image data truncated";
    return nullptr;
  }
  static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::unique_ptr<ImageData> image;
  if (std::memcmp(file.At(offset), kPngSignature, 8) == 0) {
    image = DecodePng(file.At(offset), length, error);
  } else {
    Bytes info(file.At(offset), length);
    Dib dib;
    if (ReadDib(info, true, dib, error)) image = DecodePixels(info, dib, true, error);
  }
  if (image) {
    image->format = ImageFormat::Icon;
    image->depth = 32;
  }
  return image;
}

namespace {

// TGA image types and descriptor bits.
constexpr int kTgaTrueColor = 2, kTgaGrey = 3, kTgaRleTrueColor = 10, kTgaRleGrey = 11;
constexpr int kTgaColorMapped = 1, kTgaRleColorMapped = 9;
constexpr size_t kTgaHeaderSize = 18;
constexpr uint8_t kTgaRightToLeft = 0x10, kTgaTopDown = 0x20, kTgaAlphaBits = 0x0F;

// One pixel of the file as straight ARGB.
uint32_t TgaPixel(const uint8_t* p, int depth, bool alpha) {
  switch (depth) {
    case 8:
      return 0xFF000000u | p[0] * 0x010101u;
    case 15:
    case 16: {
      const uint32_t v = static_cast<uint32_t>(p[0] | p[1] << 8);
      auto expand = [](uint32_t five) { return five << 3 | five >> 2; };
      const uint32_t a = depth == 16 && alpha ? ((v & 0x8000) ? 255u : 0u) : 255u;
      return a << 24 | expand(v >> 10 & 0x1F) << 16 | expand(v >> 5 & 0x1F) << 8 | expand(v & 0x1F);
    }
    case 24:
      return 0xFF000000u | static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
    default:  // 32
      return (alpha ? static_cast<uint32_t>(p[3]) : 255u) << 24 |
             static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
  }
}

uint32_t Premultiplied(uint32_t argb) {
  const uint32_t a = argb >> 24;
  if (a == 255) return argb;
  auto pre = [&](int shift) { return (((argb >> shift) & 0xFF) * a + 127) / 255; };
  return a << 24 | pre(16) << 16 | pre(8) << 8 | pre(0);
}

// Stores pixels in file order straight into the image, whichever corner the file starts at.
class TgaWriter {
 public:
  TgaWriter(ImageData* image, bool topDown, bool rightToLeft)
      : pixels_(cairo_image_surface_get_data(image->surface)),
        stride_(cairo_image_surface_get_stride(image->surface)),
        width_(image->width),
        height_(image->height),
        topDown_(topDown),
        rightToLeft_(rightToLeft) {
    StartRow();
  }
  void Put(uint32_t pixel) {
    line_[rightToLeft_ ? width_ - 1 - col_ : col_] = pixel;
    ++done_;
    if (++col_ == width_ && ++row_ < height_) {
      col_ = 0;
      StartRow();
    }
  }
  uint64_t Done() const { return done_; }

 private:
  void StartRow() {
    const int y = topDown_ ? row_ : height_ - 1 - row_;
    line_ = reinterpret_cast<uint32_t*>(pixels_ + static_cast<size_t>(y) * stride_);
  }
  uint8_t* pixels_;
  int stride_, width_, height_;
  bool topDown_, rightToLeft_;
  int row_ = 0, col_ = 0;
  uint32_t* line_ = nullptr;
  uint64_t done_ = 0;
};

}  // namespace

bool LooksLikeTga(const uint8_t* data, size_t size) {
  Bytes b(data, data ? size : 0);
  if (!b.Has(0, kTgaHeaderSize)) return false;
  const int mapType = b.U8(1), type = b.U8(2), depth = b.U8(16);
  const bool knownType = type == kTgaColorMapped || type == kTgaTrueColor || type == kTgaGrey ||
                         type == kTgaRleColorMapped || type == kTgaRleTrueColor ||
                         type == kTgaRleGrey;
  const bool knownDepth = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
  return mapType <= 1 && knownType && knownDepth && b.U16(12) > 0 && b.U16(14) > 0 &&
         (b.U8(17) & 0xC0) == 0;
}

std::unique_ptr<ImageData> DecodeTga(const uint8_t* data, size_t size, std::string& error) {
  Bytes file(data, data ? size : 0);
  if (!LooksLikeTga(data, size)) {
    error = "not a TGA file";
    return nullptr;
  }
  const int type = file.U8(2), depth = file.U8(16), descriptor = file.U8(17);
  const int width = file.U16(12), height = file.U16(14);
  if (type == kTgaColorMapped || type == kTgaRleColorMapped) {
    error = "colour-mapped TGA images are not supported";
    return nullptr;
  }
  const bool grey = type == kTgaGrey || type == kTgaRleGrey;
  if (grey != (depth == 8)) {
    error = "TGA depth " + std::to_string(depth) + " does not fit its image type";
    return nullptr;
  }
  if (!FitsDecodeLimits(width, height, "TGA", error)) return nullptr;
  // The colour map of a true-colour file is skipped (it is only a suggestion).
  const uint64_t mapBytes =
      file.U8(1) ? static_cast<uint64_t>(file.U16(5)) * ((file.U8(7) + 7) / 8) : 0;
  uint64_t at = kTgaHeaderSize + file.U8(0) + mapBytes;
  const int bytes = (depth + 7) / 8;
  const bool alpha = (descriptor & kTgaAlphaBits) != 0;
  const uint64_t count = static_cast<uint64_t>(width) * height;
  const bool rle = type == kTgaRleTrueColor || type == kTgaRleGrey;
  // A run-length packet covers at most 128 pixels, so a file shorter than that many packets
  // cannot hold its picture: refused before the image is allocated.
  const uint64_t leastBytes = rle ? (count + 127) / 128 * (1u + bytes) : count * bytes;
  if (!file.Has(at, leastBytes)) {
    error = "TGA pixels truncated";
    return nullptr;
  }

  auto image = NewImage(width, height);
  if (!image) {
    error = "out of memory for the image";
    return nullptr;
  }
  cairo_surface_flush(image->surface);
  TgaWriter out(image.get(), (descriptor & kTgaTopDown) != 0, (descriptor & kTgaRightToLeft) != 0);
  if (rle) {
    // Runs may cross rows.
    while (out.Done() < count) {
      if (!file.Has(at, 1)) break;
      const int packet = file.U8(at++);
      const uint64_t length = std::min<uint64_t>((packet & 0x7F) + 1u, count - out.Done());
      if (packet & 0x80) {
        if (!file.Has(at, bytes)) break;
        const uint32_t pixel = Premultiplied(TgaPixel(file.At(at), depth, alpha));
        for (uint64_t i = 0; i < length; ++i)
          out.Put(pixel);
        at += bytes;
      } else {
        if (!file.Has(at, length * bytes)) break;
        for (uint64_t i = 0; i < length; ++i, at += bytes)
          out.Put(Premultiplied(TgaPixel(file.At(at), depth, alpha)));
      }
    }
  } else {
    for (uint64_t i = 0; i < count; ++i, at += bytes)
      out.Put(Premultiplied(TgaPixel(file.At(at), depth, alpha)));
  }
  if (out.Done() < count) {
    error = "TGA pixels truncated";
    return nullptr;
  }
  cairo_surface_mark_dirty(image->surface);
  image->depth = alpha ? 32 : 24;
  image->format = ImageFormat::Tga;
  return image;
}

}  // namespace tk::platform::codecs
