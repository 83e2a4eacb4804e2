// Decoders from file bytes to premultiplied ARGB32 images; each refuses bad data with a reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/cairo_internal.h"

namespace tk::platform::codecs {

// A transparent ARGB32 image, or nullptr when the size is outside 1..kMaxImageSide.
std::unique_ptr<ImageData> NewImage(int width, int height);
std::unique_ptr<ImageData> DecodePng(const uint8_t* data, size_t size, std::string& error);
// Windows bitmaps: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or bit fields.
std::unique_ptr<ImageData> DecodeBmp(const uint8_t* data, size_t size, std::string& error);
// Windows icons and cursors: the largest entry, stored as PNG or as a bitmap with a mask.
std::unique_ptr<ImageData> DecodeIco(const uint8_t* data, size_t size, std::string& error);

}  // namespace tk::platform::codecs
