// Numbered image store: PNG (libpng), JPEG (libjpeg), BMP, ICO and TGA decoding, plain
// images, scaling, queries; each image remembers its file format and the file it came from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace tk::platform {

// The format an image was decoded from (Raw: made by the store itself). Jpeg2000 and Tiff
// are recognised by their signature but refused: no decoder for them is built in.
enum class ImageFormat { None, Png, Icon, Raw, Bmp, Jpeg, Jpeg2000, Tga, Tiff };

// The largest width or height accepted from a decoded file; larger ones are refused.
inline constexpr int kMaxImageSide = 16384;

struct ImageData;  // backend pixels, defined where the drawing layer is known

class ImageStore {
 public:
  static constexpr int kAny = -1;  // let the store pick a free number

  ImageStore();
  ~ImageStore();
  ImageStore(const ImageStore&) = delete;
  ImageStore& operator=(const ImageStore&) = delete;

  // Decodes PNG bytes into image `number` (kAny picks a free one). Returns the number, or -1
  // with a reason in *error for corrupt, truncated or oversized data.
  int DecodePng(int number, const uint8_t* data, size_t size, std::string* error = nullptr);
  // Decodes PNG, JPEG, BMP, ICO or TGA bytes, recognised by their signature (TGA, which has
  // none, by a plausible header). JPEG 2000 and TIFF data are refused as unsupported. Images
  // decoded from memory have an empty path.
  int DecodeImage(int number, const uint8_t* data, size_t size, std::string* error = nullptr);
  // Reads and decodes an image file as DecodeImage does; the path is remembered.
  int LoadFile(int number, const std::string& path, std::string* error = nullptr);
  // A new image of the given size filled with colour 0xBBGGRR (fully opaque for depth 24,
  // transparent black for depth 32 when fill is -1).
  int Create(int number, int width, int height, int depth, int64_t fill);
  bool Resize(int number, int width, int height);
  bool Free(int number);

  bool IsImage(int number) const;
  int Width(int number) const;
  int Height(int number) const;
  ImageFormat Format(int number) const;
  std::string Path(int number) const;
  // Premultiplied ARGB pixel at (x, y), or 0 outside the image.
  uint32_t Pixel(int number, int x, int y) const;

  ImageData* Data(int number) const;

 private:
  int Store(int number, std::unique_ptr<ImageData> data);
  std::map<int, std::unique_ptr<ImageData>> images_;
  int nextFree_ = 1000;  // free numbers stay clear of small fixed ones
};

}  // namespace tk::platform
