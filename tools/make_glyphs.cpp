// Draws the toolkit's built-in glyphs with cairo and writes them as PNG (and one ICO) files
// into the folder given on the command line. The results are kept in elements/images/ and
// embedded into the program at build time; run tools/make_glyphs.sh to regenerate them.
#include <cairo.h>
#include <png.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

namespace {

struct Rgb {
  double r, g, b;
};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kArrowGrey{96 / 255.0, 96 / 255.0, 96 / 255.0};
constexpr Rgb kArrowBack{240 / 255.0, 240 / 255.0, 240 / 255.0};
constexpr Rgb kOutlineGrey{128 / 255.0, 128 / 255.0, 128 / 255.0};
constexpr Rgb kBlue{0 / 255.0, 102 / 255.0, 204 / 255.0};
constexpr Rgb kTrayGrey{90 / 255.0, 98 / 255.0, 110 / 255.0};
constexpr Rgb kRed{214 / 255.0, 40 / 255.0, 40 / 255.0};

void Source(cairo_t* cr, Rgb c, double alpha = 1.0) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

// Crisp filled rectangle on whole pixels.
void FillRect(cairo_t* cr, int x, int y, int w, int h, Rgb c) {
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  Source(cr, c);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Crisp 1-pixel outline whose outer edge covers the pixels x..x+w-1, y..y+h-1.
void OutlineRect(cairo_t* cr, int x, int y, int w, int h, Rgb c) {
  FillRect(cr, x, y, w, 1, c);
  FillRect(cr, x, y + h - 1, w, 1, c);
  FillRect(cr, x, y, 1, h, c);
  FillRect(cr, x + w - 1, y, 1, h, c);
}

// A window-like square: 1-pixel sides and a 2-pixel top edge, as a caption glyph shows it.
void WindowSquare(cairo_t* cr, int x, int y, int w, int h, Rgb c) {
  OutlineRect(cr, x, y, w, h, c);
  FillRect(cr, x, y + 1, w, 1, c);
}

struct Image {
  int width = 0, height = 0;
  bool alpha = true;
  std::vector<uint8_t> rgba;  // straight (not premultiplied) RGBA rows
};

// Draws into a cairo surface and reads back straight RGBA.
Image Draw(int width, int height, bool alpha, const std::function<void(cairo_t*)>& paint) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  Image image{width, height, alpha, {}};
  const uint8_t* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  image.rgba.resize(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      uint32_t p = row[x];
      uint32_t a = p >> 24;
      auto un = [&](int shift) {
        uint32_t v = (p >> shift) & 0xFF;
        return static_cast<uint8_t>(a ? (v * 255 + a / 2) / a : 0);
      };
      uint8_t* out = &image.rgba[(static_cast<size_t>(y) * width + x) * 4];
      out[0] = un(16);
      out[1] = un(8);
      out[2] = un(0);
      out[3] = static_cast<uint8_t>(a);
    }
  }
  cairo_surface_destroy(surface);
  return image;
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// PNG bytes: RGBA, or RGB for images without transparency.
bool EncodePng(const Image& image, std::vector<uint8_t>& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendBytes, nullptr);
  png_set_IHDR(png, info, image.width, image.height, 8,
               image.alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 9);
  png_write_info(png, info);
  const int channels = image.alpha ? 4 : 3;
  std::vector<uint8_t> row(static_cast<size_t>(image.width) * channels);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x)
      for (int c = 0; c < channels; ++c)
        row[static_cast<size_t>(x) * channels + c] =
            image.rgba[(static_cast<size_t>(y) * image.width + x) * 4 + c];
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

void PutU16(std::vector<uint8_t>& out, unsigned v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8 & 0xFF));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

// A Windows icon file with one entry that holds PNG data.
std::vector<uint8_t> WrapIco(const Image& image, const std::vector<uint8_t>& png) {
  std::vector<uint8_t> out;
  PutU16(out, 0);  // reserved
  PutU16(out, 1);  // icon
  PutU16(out, 1);  // one entry
  out.push_back(static_cast<uint8_t>(image.width));
  out.push_back(static_cast<uint8_t>(image.height));
  out.push_back(0);  // no palette
  out.push_back(0);
  PutU16(out, 1);   // planes
  PutU16(out, 32);  // bits per pixel
  PutU32(out, static_cast<uint32_t>(png.size()));
  PutU32(out, 6 + 16);
  out.insert(out.end(), png.begin(), png.end());
  return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// --- the glyphs ---------------------------------------------------------------------------

// A chevron two pixels thick on the 17 x 17 scroll button face, mirrored about the middle row.
Image ScrollArrow(bool up) {
  return Draw(17, 17, false, [up](cairo_t* cr) {
    FillRect(cr, 0, 0, 17, 17, kArrowBack);
    // Apex at the centre column; arms reach 4 columns out and 4 rows back.
    for (int dx = -4; dx <= 4; ++dx) {
      int step = std::abs(dx);
      int y = up ? 6 + step : 10 - step - 1;
      FillRect(cr, 8 + dx, y, 1, 2, kArrowGrey);
    }
  });
}

Image SmallIcon() {
  return Draw(16, 16, true, [](cairo_t* cr) {
    // A little form: a blue caption over a white client area, with one button on it.
    FillRect(cr, 1, 2, 14, 12, {0.98, 0.98, 0.98});
    FillRect(cr, 1, 2, 14, 3, kBlue);
    OutlineRect(cr, 1, 2, 14, 12, {0.12, 0.29, 0.55});
    FillRect(cr, 11, 3, 2, 1, {1, 1, 1});
    FillRect(cr, 3, 7, 7, 2, {0.55, 0.70, 0.88});
    FillRect(cr, 3, 10, 5, 2, {0.80, 0.80, 0.80});
    OutlineRect(cr, 9, 10, 4, 3, {0.45, 0.45, 0.45});
  });
}

constexpr double kPi = std::numbers::pi;

Image GreyGlyph() {
  return Draw(16, 16, true, [](cairo_t* cr) {
    // A rounded square outline, stroked on half pixels so its straight edges stay crisp.
    Source(cr, kOutlineGrey);
    cairo_set_line_width(cr, 1.0);
    const double x = 3.5, y = 3.5, w = 9, h = 9, r = 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
    cairo_stroke(cr);
  });
}

Image MinimizeGlyph() {
  return Draw(16, 16, true, [](cairo_t* cr) { FillRect(cr, 4, 10, 8, 2, kBlack); });
}

Image MaximizeGlyph() {
  return Draw(16, 16, true, [](cairo_t* cr) { WindowSquare(cr, 4, 4, 8, 8, kBlack); });
}

Image RestoreGlyph() {
  return Draw(16, 16, true, [](cairo_t* cr) {
    // The back square shows only where the front one does not cover it.
    WindowSquare(cr, 6, 3, 7, 7, kBlack);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    FillRect(cr, 3, 6, 7, 7, kBlack);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    WindowSquare(cr, 3, 6, 7, 7, kBlack);
  });
}

// Two crossing diagonals, each two pixels wide along its length, drawn pixel by pixel so
// that they stay crisp at 16 x 16.
void PixelCross(cairo_t* cr, int x, int y, int size, Rgb c) {
  for (int i = 0; i < size; ++i) {
    FillRect(cr, x + i, y + i, 1, 1, c);
    FillRect(cr, x + size - 1 - i, y + i, 1, 1, c);
    if (i + 1 < size) {
      FillRect(cr, x + i + 1, y + i, 1, 1, c);
      FillRect(cr, x + size - 2 - i, y + i, 1, 1, c);
    }
  }
}

Image CloseGlyph() {
  return Draw(16, 16, true, [](cairo_t* cr) { PixelCross(cr, 4, 4, 8, kBlack); });
}

Image Blank() {
  return Draw(5, 5, true, [](cairo_t*) {});
}

Image TrayArrow() {
  return Draw(14, 14, true, [](cairo_t* cr) {
    // The tray: an open box at the bottom.
    FillRect(cr, 1, 8, 2, 5, kTrayGrey);
    FillRect(cr, 11, 8, 2, 5, kTrayGrey);
    FillRect(cr, 1, 11, 12, 2, kTrayGrey);
    // The arrow: a shaft and a head pointing down into the tray.
    FillRect(cr, 6, 0, 2, 6, kBlue);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    Source(cr, kBlue);
    cairo_move_to(cr, 3, 5);
    cairo_line_to(cr, 11, 5);
    cairo_line_to(cr, 7, 9);
    cairo_close_path(cr);
    cairo_fill(cr);
  });
}

Image RedCross() {
  return Draw(14, 14, true, [](cairo_t* cr) {
    Source(cr, kRed);
    cairo_set_line_width(cr, 2.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 3, 3);
    cairo_line_to(cr, 11, 11);
    cairo_move_to(cr, 11, 3);
    cairo_line_to(cr, 3, 11);
    cairo_stroke(cr);
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  struct Output {
    const char* name;
    Image image;
    bool icon;
  };
  const Output outputs[] = {
      {"scroll_up.png", ScrollArrow(true), false},
      {"scroll_down.png", ScrollArrow(false), false},
      {"small_icon.ico", SmallIcon(), true},
      {"grey_glyph.png", GreyGlyph(), false},
      {"minimize.png", MinimizeGlyph(), false},
      {"maximize.png", MaximizeGlyph(), false},
      {"restore.png", RestoreGlyph(), false},
      {"close.png", CloseGlyph(), false},
      {"blank.png", Blank(), false},
      {"tray_arrow.png", TrayArrow(), false},
      {"red_cross.png", RedCross(), false},
  };
  for (const Output& o : outputs) {
    std::vector<uint8_t> png;
    if (!EncodePng(o.image, png)) {
      std::fprintf(stderr, "cannot encode %s\n", o.name);
      return 1;
    }
    const std::string path = folder + "/" + o.name;
    if (!WriteFile(path, o.icon ? WrapIco(o.image, png) : png)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
