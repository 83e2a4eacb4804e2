// Decoders from file bytes to premultiplied ARGB32 images; each refuses bad data with a reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/cairo_internal.h"

namespace tk::platform::codecs {

// The most pixels a decoded file may hold: a form's pictures need far fewer, and the cap keeps
// a hostile header from costing a gigabyte.
inline constexpr uint64_t kMaxImagePixels = uint64_t{64} << 20;

// True when a decoder may allocate an image of this size; otherwise false with the reason,
// which names the format and the size.
bool FitsDecodeLimits(int64_t width, int64_t height, const char* format, std::string& error);
// A transparent ARGB32 image, or nullptr when the size is outside 1..kMaxImageSide.
std::unique_ptr<ImageData> NewImage(int width, int height);
// PNG of any colour type and depth, interlaced or not; metadata chunks are skipped unread.
std::unique_ptr<ImageData> DecodePng(const uint8_t* data, size_t size, std::string& error);
// Windows bitmaps: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or bit fields.
std::unique_ptr<ImageData> DecodeBmp(const uint8_t* data, size_t size, std::string& error);
// Windows icons and cursors: the largest entry, stored as PNG or as a bitmap with a mask.
std::unique_ptr<ImageData> DecodeIco(const uint8_t* data, size_t size, std::string& error);
// Baseline and progressive JPEG (greyscale or colour) through libjpeg; data that ends early
// is refused, and so are files of too many scans or needing too much decoder memory.
std::unique_ptr<ImageData> DecodeJpeg(const uint8_t* data, size_t size, std::string& error);
// Truevision TGA: true-colour (15, 16, 24, 32 bits) and 8-bit greyscale, uncompressed or
// run-length encoded, in any of the four row and column orders.
std::unique_ptr<ImageData> DecodeTga(const uint8_t* data, size_t size, std::string& error);
// True when the first bytes can be a TGA header (the format has no signature).
bool LooksLikeTga(const uint8_t* data, size_t size);

}  // namespace tk::platform::codecs
