// Image store: PNG, JPEG, BMP, ICO and TGA decoding from memory and files, formats and paths,
// numbering, creation and scaling.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <cstdio>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/images.h"

namespace tk::platform {
namespace {

// Encodes straight (not premultiplied) RGBA pixels as PNG.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr));
  std::vector<uint8_t> out(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr));
  out.resize(size);
  return out;
}

void AppendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  auto be32 = [&](uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
      out.push_back(static_cast<uint8_t>(v >> shift));
  };
  be32(static_cast<uint32_t>(body.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  be32(static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// A well-formed PNG header announcing a huge image, with no pixel data behind it.
std::vector<uint8_t> HugeHeaderPng(uint32_t side) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  for (int i = 0; i < 2; ++i)
    for (int shift = 24; shift >= 0; shift -= 8)
      ihdr.push_back(static_cast<uint8_t>(side >> shift));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
  AppendChunk(out, "IHDR", ihdr);
  AppendChunk(out, "IDAT", {0x78, 0x9C, 0x03, 0x00});
  AppendChunk(out, "IEND", {});
  return out;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A bitmap information header (40 bytes).
std::vector<uint8_t> InfoHeader(int32_t width, int32_t height, int bpp, uint32_t compression = 0,
                                uint32_t colours = 0) {
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, bpp);
  Put32(out, compression);
  for (int i = 0; i < 3; ++i)
    Put32(out, 0);
  Put32(out, colours);
  Put32(out, 0);
  return out;
}

// A .bmp file: file header, information header, then palette and rows as given.
std::vector<uint8_t> BmpFile(const std::vector<uint8_t>& info, const std::vector<uint8_t>& rest,
                             size_t paletteBytes = 0) {
  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, static_cast<uint32_t>(14 + info.size() + rest.size()));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(14 + info.size() + paletteBytes));
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

// An .ico file holding the given entries (width, height, bpp, bytes).
struct IconEntry {
  int width, height, bpp;
  std::vector<uint8_t> bytes;
};
std::vector<uint8_t> IcoFile(const std::vector<IconEntry>& entries) {
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const IconEntry& e : entries) {
    out.push_back(static_cast<uint8_t>(e.width & 0xFF));
    out.push_back(static_cast<uint8_t>(e.height & 0xFF));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, e.bpp);
    Put32(out, static_cast<uint32_t>(e.bytes.size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(e.bytes.size());
  }
  for (const IconEntry& e : entries)
    out.insert(out.end(), e.bytes.begin(), e.bytes.end());
  return out;
}

// Encodes 8-bit samples (`components` per pixel: 1 grey, 3 RGB) as a baseline JPEG.
std::vector<uint8_t> EncodeJpeg(int width, int height, int components,
                                const std::vector<uint8_t>& samples, bool progressive = false) {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(samples.data()) +
                   static_cast<size_t>(info.next_scanline) * width * components;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

// One JPEG marker segment: FF, the marker, a big-endian length, the body.
void AppendSegment(std::vector<uint8_t>& out, uint8_t marker, const std::vector<uint8_t>& body) {
  const size_t length = body.size() + 2;
  out.insert(out.end(),
             {0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)});
  out.insert(out.end(), body.begin(), body.end());
}

// A hand-made JPEG of `components` full-resolution components: flat quantisation, a DC table
// and an AC table with one 1-bit code each (so every block of a zero byte stream is flat),
// the frame header `frame` (0xC0 baseline, 0xC2 progressive), then `scans` DC scans over all
// components, each followed by `dataBytes` zero bytes; an end marker only when `finished`.
std::vector<uint8_t> HandMadeJpeg(uint8_t frame, int width, int height, int components, int scans,
                                  int dataBytes, bool finished) {
  std::vector<uint8_t> out = {0xFF, 0xD8};
  std::vector<uint8_t> table(65, 1);
  table[0] = 0;
  AppendSegment(out, 0xDB, table);
  std::vector<uint8_t> header = {8,
                                 static_cast<uint8_t>(height >> 8),
                                 static_cast<uint8_t>(height),
                                 static_cast<uint8_t>(width >> 8),
                                 static_cast<uint8_t>(width),
                                 static_cast<uint8_t>(components)};
  for (int c = 1; c <= components; ++c)
    header.insert(header.end(), {static_cast<uint8_t>(c), 0x11, 0});
  AppendSegment(out, frame, header);
  for (uint8_t id : {0x00, 0x10}) {
    std::vector<uint8_t> huffman(18, 0);
    huffman[0] = id;
    huffman[1] = 1;  // one code of one bit, for symbol 0
    AppendSegment(out, 0xC4, huffman);
  }
  for (int i = 0; i < scans; ++i) {
    std::vector<uint8_t> scan = {static_cast<uint8_t>(components)};
    for (int c = 1; c <= components; ++c)
      scan.insert(scan.end(), {static_cast<uint8_t>(c), 0x00});
    // Baseline scans cover all 64 coefficients; progressive ones here only the DC.
    scan.insert(scan.end(), {0, static_cast<uint8_t>(frame == 0xC0 ? 63 : 0), 0});
    AppendSegment(out, 0xDA, scan);
    out.insert(out.end(), static_cast<size_t>(dataBytes), 0);
  }
  if (finished) out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

// A TGA header (18 bytes) followed by the given bytes.
std::vector<uint8_t> TgaFile(int type, int width, int height, int depth, int descriptor,
                             const std::vector<uint8_t>& rest) {
  std::vector<uint8_t> out = {0, 0, static_cast<uint8_t>(type), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  out.push_back(static_cast<uint8_t>(width));
  out.push_back(static_cast<uint8_t>(width >> 8));
  out.push_back(static_cast<uint8_t>(height));
  out.push_back(static_cast<uint8_t>(height >> 8));
  out.push_back(static_cast<uint8_t>(depth));
  out.push_back(static_cast<uint8_t>(descriptor));
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

// True when every channel of two ARGB words differs by at most `tolerance`.
bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

// 3 x 2: opaque red, half-transparent green, transparent / opaque blue, white, black.
std::vector<uint8_t> SamplePixels() {
  return {255, 0, 0,   255, 0,   255, 0,   128, 0, 0, 0, 0,
          0,   0, 255, 255, 255, 255, 255, 255, 0, 0, 0, 255};
}

TEST(PngDecoding, ValidDataGivesSizeAndPremultipliedPixels) {
  ImageStore store;
  std::vector<uint8_t> png = EncodePng(3, 2, SamplePixels());
  std::string error;
  int n = store.DecodePng(ImageStore::kAny, png.data(), png.size(), &error);
  ASSERT_GE(n, 1000) << error;
  EXPECT_EQ(store.Width(n), 3);
  EXPECT_EQ(store.Height(n), 2);
  EXPECT_EQ(store.Format(n), ImageFormat::Png);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(store.Pixel(n, 1, 0), 0x80008000u);  // green scaled by alpha 128
  EXPECT_EQ(store.Pixel(n, 2, 0), 0x00000000u);
  EXPECT_EQ(store.Pixel(n, 0, 1), 0xFF0000FFu);
  EXPECT_EQ(store.Pixel(n, 1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(store.Pixel(n, 2, 1), 0xFF000000u);
  EXPECT_EQ(store.Pixel(n, 3, 0), 0u);  // outside
  EXPECT_EQ(store.Pixel(n, -1, 0), 0u);

  // A fixed number is used as given.
  EXPECT_EQ(store.DecodePng(7, png.data(), png.size()), 7);
  EXPECT_EQ(store.Width(7), 3);
}

TEST(PngDecoding, BrokenDataIsRefusedWithAReason) {
  ImageStore store;
  std::vector<uint8_t> png = EncodePng(3, 2, SamplePixels());
  // An image already stored under the number survives a failed decode into it.
  ASSERT_EQ(store.Create(5, 4, 4, 24, 0xFF), 5);

  std::string error;
  std::vector<uint8_t> truncated(png.begin(), png.begin() + png.size() / 2);
  EXPECT_EQ(store.DecodePng(5, truncated.data(), truncated.size(), &error), -1);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(store.Width(5), 4);

  std::vector<uint8_t> corrupt = png;
  corrupt[corrupt.size() - 20] ^= 0xFF;  // inside the pixel data: its checksum fails
  error.clear();
  EXPECT_EQ(store.DecodePng(ImageStore::kAny, corrupt.data(), corrupt.size(), &error), -1);
  EXPECT_FALSE(error.empty());

  std::vector<uint8_t> garbage(200);
  for (size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = static_cast<uint8_t>(i * 37 + 11);
  error.clear();
  EXPECT_EQ(store.DecodePng(ImageStore::kAny, garbage.data(), garbage.size(), &error), -1);
  EXPECT_FALSE(error.empty());

  std::vector<uint8_t> huge = HugeHeaderPng(20000);
  error.clear();
  EXPECT_EQ(store.DecodePng(ImageStore::kAny, huge.data(), huge.size(), &error), -1);
  EXPECT_NE(error.find("20000"), std::string::npos) << error;

  EXPECT_EQ(store.DecodePng(ImageStore::kAny, nullptr, 0, &error), -1);
  EXPECT_EQ(store.DecodePng(-2, png.data(), png.size(), &error), -1);
  EXPECT_EQ(store.DecodePng(ImageStore::kAny, png.data(), 0), -1);  // no error pointer is fine

  // Nothing but image 5 was stored by all of that.
  EXPECT_FALSE(store.IsImage(1000));
}

TEST(PngDecoding, FilesRememberTheirPath) {
  ImageStore store;
  std::string error;
  std::string missing = ::testing::TempDir() + "/tk_no_such_image.png";
  EXPECT_EQ(store.LoadFile(ImageStore::kAny, missing, &error), -1);
  EXPECT_NE(error.find(missing), std::string::npos);

  std::string path = ::testing::TempDir() + "/tk_platform_sample.png";
  std::vector<uint8_t> png = EncodePng(3, 2, SamplePixels());
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  }
  int n = store.LoadFile(12, path, &error);
  EXPECT_EQ(n, 12) << error;
  EXPECT_EQ(store.Path(12), path);
  EXPECT_EQ(store.Pixel(12, 0, 0), 0xFFFF0000u);

  std::string empty = ::testing::TempDir() + "/tk_platform_empty.png";
  { std::ofstream out(empty, std::ios::binary); }
  EXPECT_EQ(store.LoadFile(ImageStore::kAny, empty, &error), -1);
  std::filesystem::remove(path);
  std::filesystem::remove(empty);
}

TEST(BitmapDecoding, BmpDepthsAndOrientation) {
  ImageStore store;
  std::string error;
  // 24 bits, 2 x 2, bottom-up: the first row in the file is the bottom one. Rows pad to 4.
  std::vector<uint8_t> rows = {0,   0, 255, 0,   255, 0,   0, 0,   // bottom: red, green
                               255, 0, 0,   255, 255, 255, 0, 0};  // top: blue, white
  std::vector<uint8_t> bmp = BmpFile(InfoHeader(2, 2, 24), rows);
  int n = store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Format(n), ImageFormat::Bmp);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(store.Pixel(n, 1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(store.Pixel(n, 0, 1), 0xFFFF0000u);
  EXPECT_EQ(store.Pixel(n, 1, 1), 0xFF00FF00u);

  // Negative height: top-down rows.
  bmp = BmpFile(InfoHeader(2, -2, 24), rows);
  n = store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFFFF0000u);

  // 8 bits with a two-colour palette: 3 pixels in a row padded to 4 bytes.
  std::vector<uint8_t> rest = {0, 0, 0, 0, 0, 128, 255, 0,  // palette: black, orange
                               1, 0, 1, 0};
  bmp = BmpFile(InfoHeader(3, 1, 8, 0, 2), rest, 8);
  n = store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFFFF8000u);
  EXPECT_EQ(store.Pixel(n, 1, 0), 0xFF000000u);

  // 32 bits keep their alpha when some pixel has one; all-zero alpha means opaque.
  bmp = BmpFile(InfoHeader(2, 1, 32), {0, 0, 255, 128, 0, 255, 0, 255});
  n = store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0x80800000u);
  bmp = BmpFile(InfoHeader(2, 1, 32), {0, 0, 255, 0, 0, 255, 0, 0});
  n = store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFFFF0000u);

  // Refusals: truncated rows, compression, absurd sizes, bad depth, a stray header.
  bmp = BmpFile(InfoHeader(2, 2, 24), rows);
  bmp.resize(bmp.size() - 3);
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error), -1);
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  bmp = BmpFile(InfoHeader(2, 2, 8, 1), rows);
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error), -1);
  bmp = BmpFile(InfoHeader(20000, 1, 24), rows);
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error), -1);
  EXPECT_NE(error.find("20000"), std::string::npos);
  bmp = BmpFile(InfoHeader(2, INT32_MIN, 24), rows);
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error), -1);
  bmp = BmpFile(InfoHeader(2, 2, 7), rows);
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, bmp.data(), bmp.size(), &error), -1);
  std::vector<uint8_t> stub = {'B', 'M', 1, 2, 3};
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, stub.data(), stub.size(), &error), -1);
  // A PNG still decodes through the same entry.
  std::vector<uint8_t> png = EncodePng(3, 2, SamplePixels());
  n = store.DecodeImage(ImageStore::kAny, png.data(), png.size(), &error);
  EXPECT_EQ(store.Format(n), ImageFormat::Png);
}

TEST(BitmapDecoding, IconsPickTheLargestEntryAndHonourTheMask) {
  ImageStore store;
  std::string error;
  // A 2 x 2 bitmap entry at 24 bits: colour rows then the 1-bit mask (set = transparent).
  std::vector<uint8_t> dib = InfoHeader(2, 4, 24);  // height counts colour and mask rows
  std::vector<uint8_t> colour = {0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0};
  std::vector<uint8_t> mask = {0x40, 0, 0, 0, 0x00, 0, 0, 0};  // bottom row: right pixel clear
  dib.insert(dib.end(), colour.begin(), colour.end());
  dib.insert(dib.end(), mask.begin(), mask.end());
  std::vector<uint8_t> ico = IcoFile({{2, 2, 24, dib}});
  int n = store.DecodeImage(ImageStore::kAny, ico.data(), ico.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Format(n), ImageFormat::Icon);
  EXPECT_EQ(store.Width(n), 2);
  EXPECT_EQ(store.Height(n), 2);
  EXPECT_EQ(store.Pixel(n, 0, 1), 0xFFFF0000u);
  EXPECT_EQ(store.Pixel(n, 1, 1), 0u);  // masked out
  EXPECT_EQ(store.Pixel(n, 1, 0), 0xFFFF0000u);

  // With a larger PNG entry beside it, the PNG is chosen.
  std::vector<uint8_t> png = EncodePng(3, 2, SamplePixels());
  ico = IcoFile({{2, 2, 24, dib}, {3, 3, 32, png}});
  n = store.DecodeImage(ImageStore::kAny, ico.data(), ico.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Width(n), 3);
  EXPECT_EQ(store.Format(n), ImageFormat::Icon);
  EXPECT_EQ(store.Pixel(n, 1, 0), 0x80008000u);

  // An entry pointing past the end of the file, an empty directory, a cut directory.
  ico = IcoFile({{2, 2, 24, dib}});
  ico.resize(ico.size() - 10);
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, ico.data(), ico.size(), &error), -1);
  EXPECT_FALSE(error.empty());
  ico = IcoFile({});
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, ico.data(), ico.size(), &error), -1);
  ico = IcoFile({{2, 2, 24, dib}});
  ico.resize(12);
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, ico.data(), ico.size(), &error), -1);
}

TEST(JpegDecoding, ColourAndGreyImagesWithFormatAndPath) {
  ImageStore store;
  std::string error;
  // 16 x 8: left half red, right half blue; quality 100 keeps flat areas within a step or two.
  std::vector<uint8_t> rgb;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      rgb.insert(rgb.end(), x < 8 ? std::initializer_list<uint8_t>{255, 0, 0}
                                  : std::initializer_list<uint8_t>{0, 0, 255});
  std::vector<uint8_t> jpeg = EncodeJpeg(16, 8, 3, rgb);
  int n = store.DecodeImage(ImageStore::kAny, jpeg.data(), jpeg.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Format(n), ImageFormat::Jpeg);
  EXPECT_EQ(store.Width(n), 16);
  EXPECT_EQ(store.Height(n), 8);
  EXPECT_TRUE(Near(store.Pixel(n, 1, 1), 0xFFFF0000u, 6)) << std::hex << store.Pixel(n, 1, 1);
  EXPECT_TRUE(Near(store.Pixel(n, 14, 6), 0xFF0000FFu, 6)) << std::hex << store.Pixel(n, 14, 6);
  EXPECT_EQ(store.Path(n), "");  // decoded from memory

  std::vector<uint8_t> grey(8 * 8, 128);
  jpeg = EncodeJpeg(8, 8, 1, grey);
  n = store.DecodeImage(ImageStore::kAny, jpeg.data(), jpeg.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_TRUE(Near(store.Pixel(n, 3, 3), 0xFF808080u, 2)) << std::hex << store.Pixel(n, 3, 3);

  // From a file: the format and the path are both remembered; decoding other bytes into the
  // same number from memory forgets the path.
  const std::string path = ::testing::TempDir() + "/tk_platform_sample.jpg";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(jpeg.data()),
              static_cast<std::streamsize>(jpeg.size()));
  }
  EXPECT_EQ(store.LoadFile(21, path, &error), 21) << error;
  EXPECT_EQ(store.Format(21), ImageFormat::Jpeg);
  EXPECT_EQ(store.Path(21), path);
  std::vector<uint8_t> png = EncodePng(3, 2, SamplePixels());
  EXPECT_EQ(store.DecodeImage(21, png.data(), png.size(), &error), 21);
  EXPECT_EQ(store.Format(21), ImageFormat::Png);
  EXPECT_EQ(store.Path(21), "");
  std::filesystem::remove(path);
}

TEST(JpegDecoding, DamagedOrOversizedDataIsRefused) {
  ImageStore store;
  std::string error;
  // Busy pixels, so most of the file is compressed data rather than tables.
  std::vector<uint8_t> rgb(64 * 64 * 3);
  for (size_t i = 0; i < rgb.size(); ++i)
    rgb[i] = static_cast<uint8_t>(i * 37 + i / 7);
  const std::vector<uint8_t> jpeg = EncodeJpeg(64, 64, 3, rgb);

  // Cut inside the compressed data, and cut inside the header.
  std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() * 3 / 4));
  EXPECT_EQ(store.DecodeImage(5, cut.data(), cut.size(), &error), -1);
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  cut.assign(jpeg.begin(), jpeg.begin() + 40);
  error.clear();
  EXPECT_EQ(store.DecodeImage(5, cut.data(), cut.size(), &error), -1);
  EXPECT_FALSE(error.empty());

  // The signature followed by noise.
  std::vector<uint8_t> noise = {0xFF, 0xD8, 0xFF};
  for (int i = 0; i < 200; ++i)
    noise.push_back(static_cast<uint8_t>(i * 53 + 7));
  error.clear();
  EXPECT_EQ(store.DecodeImage(5, noise.data(), noise.size(), &error), -1);
  EXPECT_NE(error.find("JPEG"), std::string::npos) << error;

  // A picture wider than the store accepts is refused before its pixels are read.
  const std::vector<uint8_t> wide = EncodeJpeg(20000, 1, 1, std::vector<uint8_t>(20000, 0));
  error.clear();
  EXPECT_EQ(store.DecodeImage(5, wide.data(), wide.size(), &error), -1);
  EXPECT_NE(error.find("20000"), std::string::npos) << error;
  EXPECT_FALSE(store.IsImage(5));
}

TEST(JpegDecoding, ScansTruncationAndMemoryAreBounded) {
  ImageStore store;
  std::string error;
  // A real progressive file (ten scans) and a hand-made one with a few scans still decode.
  std::vector<uint8_t> rgb(32 * 16 * 3, 200);
  std::vector<uint8_t> jpeg = EncodeJpeg(32, 16, 3, rgb, true);
  int n = store.DecodeImage(ImageStore::kAny, jpeg.data(), jpeg.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_TRUE(Near(store.Pixel(n, 20, 10), 0xFFC8C8C8u, 3)) << std::hex << store.Pixel(n, 20, 10);
  jpeg = HandMadeJpeg(0xC2, 64, 64, 1, 5, 16, true);
  EXPECT_GE(store.DecodeImage(ImageStore::kAny, jpeg.data(), jpeg.size(), &error), 0) << error;

  // 1,000 empty scans over a 1024 x 1024 picture: each one is a pass over every block.
  jpeg = HandMadeJpeg(0xC2, 1024, 1024, 1, 1000, 0, true);
  EXPECT_EQ(store.DecodeImage(5, jpeg.data(), jpeg.size(), &error), -1);
  EXPECT_NE(error.find("scans"), std::string::npos) << error;
  // A baseline file that ends after a few hundred bytes of a 64-megapixel picture.
  jpeg = HandMadeJpeg(0xC0, 8192, 8192, 1, 1, 200, false);
  EXPECT_EQ(store.DecodeImage(5, jpeg.data(), jpeg.size(), &error), -1);
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  // A progressive colour picture whose coefficients alone would take 384 MB.
  jpeg = HandMadeJpeg(0xC2, 8192, 8192, 3, 1, 0, true);
  EXPECT_EQ(store.DecodeImage(5, jpeg.data(), jpeg.size(), &error), -1);
  EXPECT_NE(error.find("memory"), std::string::npos) << error;
  EXPECT_FALSE(store.IsImage(5));
}

TEST(HostileImages, PngChunksClaimingGigabytesAreSkippedUnread) {
  ImageStore store;
  std::string error;
  const std::vector<uint8_t> png = EncodePng(3, 2, SamplePixels());
  // Text and other metadata chunks inside a valid file are passed over.
  std::vector<uint8_t> annotated(png.begin(), png.begin() + 33);  // signature and IHDR
  AppendChunk(annotated, "tEXt", {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'});
  AppendChunk(annotated, "prVt", std::vector<uint8_t>(100, 7));  // unknown, ancillary
  annotated.insert(annotated.end(), png.begin() + 33, png.end());
  int n = store.DecodeImage(ImageStore::kAny, annotated.data(), annotated.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Pixel(n, 1, 0), 0x80008000u);

  // A chunk header claiming 2 GB, three bytes before the end of a 44-byte file.
  for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT", "eXIf", "prVt"}) {
    std::vector<uint8_t> claim(png.begin(), png.begin() + 33);
    claim.insert(claim.end(), {0x7F, 0xFF, 0xFF, 0xFF});
    claim.insert(claim.end(), type, type + 4);
    claim.insert(claim.end(), {'a', 0, 'b'});
    ASSERT_EQ(claim.size(), 44u);
    error.clear();
    EXPECT_EQ(store.DecodeImage(5, claim.data(), claim.size(), &error), -1) << type;
    EXPECT_FALSE(error.empty()) << type;
  }
  EXPECT_FALSE(store.IsImage(5));
}

TEST(HostileImages, EveryFormatRefusesMoreThan64Megapixels) {
  ImageStore store;
  std::string error;
  auto refusedForSize = [&](const std::vector<uint8_t>& bytes, const char* what) {
    error.clear();
    EXPECT_EQ(store.DecodeImage(5, bytes.data(), bytes.size(), &error), -1) << what;
    EXPECT_NE(error.find("megapixels"), std::string::npos) << what << ": " << error;
  };
  refusedForSize(HugeHeaderPng(8193), "PNG");
  refusedForSize(HandMadeJpeg(0xC2, 16384, 16384, 1, 1, 0, true), "JPEG");
  // 4 MB of run-length packets (128 pixels of grey 0x80 each) that do fill 16384 x 16384.
  std::vector<uint8_t> packets = {0xFF, 0x80};
  while (packets.size() < 16384u * 16384u / 128u * 2u) {
    const std::vector<uint8_t> copy = packets;  // doubling keeps the build fast
    packets.insert(packets.end(), copy.begin(), copy.end());
  }
  refusedForSize(TgaFile(11, 16384, 16384, 8, 0x20, packets), "TGA");
  // One bit per pixel: 8.4 MB of rows for 16384 x 4100.
  refusedForSize(BmpFile(InfoHeader(16384, 4100, 1), std::vector<uint8_t>(8 + 2048u * 4100u), 8),
                 "BMP");
  std::vector<uint8_t> dib = InfoHeader(16384, 2 * 4100, 1);
  dib.resize(dib.size() + 8 + 2048u * 4100u);
  refusedForSize(IcoFile({{0, 0, 1, dib}}), "ICO");

  // At the cap itself the size passes; this file is refused only for its missing pixel data.
  std::vector<uint8_t> png = HugeHeaderPng(8192);
  EXPECT_EQ(store.DecodeImage(5, png.data(), png.size(), &error), -1);
  EXPECT_EQ(error.find("megapixels"), std::string::npos) << error;
  // A run-length file far too short for what it claims is refused as truncated.
  packets.resize(100);
  const std::vector<uint8_t> tga = TgaFile(11, 8192, 8192, 8, 0x20, packets);
  EXPECT_EQ(store.DecodeImage(5, tga.data(), tga.size(), &error), -1);
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  EXPECT_FALSE(store.IsImage(5));
}

TEST(TgaDecoding, TrueColourGreyAndRunLengthImages) {
  ImageStore store;
  std::string error;
  // 24 bits, 2 x 2, rows from the bottom (descriptor 0): blue, green / red, white.
  std::vector<uint8_t> tga =
      TgaFile(2, 2, 2, 24, 0, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
  int n = store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Format(n), ImageFormat::Tga);
  EXPECT_EQ(store.Pixel(n, 0, 1), 0xFF0000FFu);
  EXPECT_EQ(store.Pixel(n, 1, 1), 0xFF00FF00u);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(store.Pixel(n, 1, 0), 0xFFFFFFFFu);

  // 32 bits with 8 alpha bits, top-down and right-to-left: the first pixel in the file is the
  // top-right one; alpha is premultiplied.
  tga = TgaFile(2, 2, 1, 32, 0x38, {0, 0, 255, 128, 255, 0, 0, 255});
  n = store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Pixel(n, 1, 0), 0x80800000u);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFF0000FFu);
  // Without alpha bits the fourth byte is ignored.
  tga = TgaFile(2, 1, 1, 32, 0x20, {0, 0, 255, 0});
  n = store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFFFF0000u);

  // Run-length encoded 24 bits, 3 x 2, top-down: a run of 4 red pixels that crosses the row
  // end, then 2 raw pixels (green, blue).
  tga = TgaFile(10, 3, 2, 24, 0x20, {0x83, 0, 0, 255, 0x01, 0, 255, 0, 255, 0, 0});
  n = store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Pixel(n, 2, 0), 0xFFFF0000u);
  EXPECT_EQ(store.Pixel(n, 0, 1), 0xFFFF0000u);
  EXPECT_EQ(store.Pixel(n, 1, 1), 0xFF00FF00u);
  EXPECT_EQ(store.Pixel(n, 2, 1), 0xFF0000FFu);

  // 8-bit grey, uncompressed and run-length; 16 bits (5-5-5) with the attribute bit as alpha.
  tga = TgaFile(3, 2, 1, 8, 0, {0x40, 0xFF});
  n = store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFF404040u);
  tga = TgaFile(11, 3, 1, 8, 0, {0x82, 0x10});
  n = store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error);
  EXPECT_EQ(store.Pixel(n, 2, 0), 0xFF101010u);
  tga = TgaFile(2, 2, 1, 16, 1, {0x00, 0xFC, 0x1F, 0x00});  // opaque red, transparent blue
  n = store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(store.Pixel(n, 1, 0), 0u);

  // A file with the TGA 2.0 footer is recognised by it even when its header starts like an
  // icon directory.
  tga = TgaFile(2, 1, 1, 24, 0, {1, 2, 3});
  tga[4] = 7;  // a stray colour-map length byte (no colour map follows: its type is 0)
  std::vector<uint8_t> footer(8, 0);
  const char kSignature[] = "TRUEVISION-XFILE.";
  footer.insert(footer.end(), kSignature, kSignature + sizeof kSignature);
  tga.insert(tga.end(), footer.begin(), footer.end());
  n = store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error);
  ASSERT_GE(n, 0) << error;
  EXPECT_EQ(store.Format(n), ImageFormat::Tga);
  EXPECT_EQ(store.Pixel(n, 0, 0), 0xFF030201u);
}

TEST(TgaDecoding, BrokenAndUnsupportedFilesAreRefused) {
  ImageStore store;
  std::string error;
  std::vector<uint8_t> tga = TgaFile(2, 2, 2, 24, 0, std::vector<uint8_t>(11, 0));
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error), -1);
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  // A run that promises a pixel the file does not hold.
  tga = TgaFile(10, 2, 1, 24, 0, {0x81});
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error), -1);
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  // Colour-mapped images, and a depth that does not fit the type.
  tga = TgaFile(1, 1, 1, 8, 0, {0});
  tga[1] = 1;
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error), -1);
  EXPECT_NE(error.find("not supported"), std::string::npos) << error;
  tga = TgaFile(3, 1, 1, 24, 0, {0, 0, 0});
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error), -1);
  EXPECT_FALSE(error.empty());
  tga = TgaFile(2, 20000, 1, 8, 0, {});
  tga[2] = 3;
  EXPECT_EQ(store.DecodeImage(ImageStore::kAny, tga.data(), tga.size(), &error), -1);
  EXPECT_NE(error.find("20000"), std::string::npos) << error;
}

TEST(ImageFormats, TiffAndJpeg2000AreRecognisedButRefused) {
  ImageStore store;
  std::string error;
  const std::vector<std::vector<uint8_t>> samples = {
      {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0},
      {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0},
      {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A},
      {0xFF, 0x4F, 0xFF, 0x51, 0, 0x2F, 0, 0}};
  for (size_t i = 0; i < samples.size(); ++i) {
    error.clear();
    EXPECT_EQ(store.DecodeImage(ImageStore::kAny, samples[i].data(), samples[i].size(), &error),
              -1);
    EXPECT_NE(
        error.find(i < 2 ? "TIFF images are not supported" : "JPEG 2000 images are not supported"),
        std::string::npos)
        << error;
  }
  EXPECT_FALSE(store.IsImage(1000));
}

TEST(ImageNumbers, FreeNumbersFixedNumbersAndQueries) {
  ImageStore store;
  EXPECT_EQ(store.Create(1000, 2, 2, 24, 0), 1000);
  int a = store.Create(ImageStore::kAny, 2, 2, 24, 0);
  int b = store.Create(ImageStore::kAny, 2, 2, 24, 0);
  EXPECT_GE(a, 1000);
  EXPECT_NE(a, 1000);  // the fixed one is not taken over
  EXPECT_NE(a, b);
  EXPECT_TRUE(store.IsImage(a) && store.IsImage(b) && store.IsImage(1000));

  // A fixed number replaces what was there.
  store.Create(3, 10, 10, 24, 0);
  store.Create(3, 20, 5, 24, 0);
  EXPECT_EQ(store.Width(3), 20);
  EXPECT_EQ(store.Height(3), 5);
  EXPECT_EQ(store.Format(3), ImageFormat::Raw);

  EXPECT_TRUE(store.Free(3));
  EXPECT_FALSE(store.Free(3));
  EXPECT_FALSE(store.IsImage(3));
  EXPECT_EQ(store.Width(3), 0);
  EXPECT_EQ(store.Format(3), ImageFormat::None);
  EXPECT_EQ(store.Path(3), "");
  EXPECT_EQ(store.Data(3), nullptr);

  // A freed kAny number may come back, but never one in use.
  store.Free(a);
  int c = store.Create(ImageStore::kAny, 1, 1, 24, 0);
  EXPECT_NE(c, b);
  EXPECT_NE(c, 1000);

  EXPECT_EQ(store.Create(ImageStore::kAny, 0, 5, 24, 0), -1);
  EXPECT_EQ(store.Create(ImageStore::kAny, 5, kMaxImageSide + 1, 24, 0), -1);
  EXPECT_EQ(store.Create(-5, 5, 5, 24, 0), -1);
}

TEST(ImageNumbers, CreateFillsAndResizeScales) {
  ImageStore store;
  store.Create(1, 4, 4, 24, 0x0000FF);  // red in the low byte
  EXPECT_EQ(store.Pixel(1, 3, 3), 0xFFFF0000u);
  store.Create(2, 4, 4, 24, -1);
  EXPECT_EQ(store.Pixel(2, 0, 0), 0xFF000000u);  // opaque black
  store.Create(3, 4, 4, 32, -1);
  EXPECT_EQ(store.Pixel(3, 0, 0), 0u);    // transparent
  store.Create(4, 4, 4, 32, 0x80FF0000);  // alpha byte on top: half-transparent blue
  EXPECT_EQ(store.Pixel(4, 1, 1), 0x80000080u);

  EXPECT_TRUE(store.Resize(1, 16, 8));
  EXPECT_EQ(store.Width(1), 16);
  EXPECT_EQ(store.Height(1), 8);
  EXPECT_EQ(store.Pixel(1, 15, 7), 0xFFFF0000u);  // a solid colour stays solid at the edges
  EXPECT_EQ(store.Pixel(1, 0, 0), 0xFFFF0000u);
  EXPECT_FALSE(store.Resize(1, 0, 8));
  EXPECT_FALSE(store.Resize(99, 8, 8));
  EXPECT_EQ(store.Width(1), 16);
}

}  // namespace
}  // namespace tk::platform
