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

// --- the archive icons ---------------------------------------------------------------------
// 16 x 16 pictures of the gadget kinds for the toolbox (vd_<kind>gadget) and of the form
// commands, written into the icon archives at build time.

constexpr Rgb kWhite{1, 1, 1};
constexpr Rgb kEdge{0.38, 0.42, 0.48};
constexpr Rgb kFace{0.88, 0.89, 0.91};
constexpr Rgb kInk{0.20, 0.22, 0.26};
constexpr Rgb kLine{0.62, 0.65, 0.70};
constexpr Rgb kAccent{0.20, 0.45, 0.80};
constexpr Rgb kLightAccent{0.70, 0.82, 0.96};
constexpr Rgb kGreen{0.25, 0.65, 0.25};
constexpr Rgb kFolder{0.93, 0.76, 0.30};
constexpr Rgb kFolderEdge{0.70, 0.52, 0.12};

// A white field with a grey edge.
void Field(cairo_t* cr, int x, int y, int w, int h) {
  FillRect(cr, x, y, w, h, kWhite);
  OutlineRect(cr, x, y, w, h, kEdge);
}

// A small triangle pointing down (or up) with its apex at (cx, y + 2).
void Arrow(cairo_t* cr, int cx, int y, bool down, Rgb c) {
  for (int i = 0; i < 3; ++i)
    FillRect(cr, cx - 2 + i, down ? y + i : y + 2 - i, 5 - 2 * i, 1, c);
}

// A folder: a tab over a body.
void Folder(cairo_t* cr, int x, int y) {
  FillRect(cr, x, y, 3, 1, kFolderEdge);
  FillRect(cr, x, y + 1, 6, 4, kFolder);
  OutlineRect(cr, x, y + 1, 6, 4, kFolderEdge);
}

// Grey lines standing for text, every `gap` rows.
void TextLines(cairo_t* cr, int x, int y, int w, int rows, int gap, Rgb c) {
  for (int i = 0; i < rows; ++i)
    FillRect(cr, x, y + i * gap, i % 2 ? w - 3 : w, 1, c);
}

Image Icon(const std::function<void(cairo_t*)>& paint) {
  return Draw(16, 16, true, paint);
}

Image ButtonIcon() {
  return Icon([](cairo_t* cr) {
    FillRect(cr, 1, 4, 14, 8, kFace);
    OutlineRect(cr, 1, 4, 14, 8, kEdge);
    FillRect(cr, 2, 5, 12, 1, kWhite);
    FillRect(cr, 4, 8, 8, 1, kInk);
  });
}

Image StringIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 4, 16, 8);
    FillRect(cr, 2, 7, 6, 2, kInk);
    FillRect(cr, 9, 6, 1, 4, kAccent);
  });
}

Image TextIcon() {
  return Icon([](cairo_t* cr) {
    // A capital A beside two lines of text.
    FillRect(cr, 1, 12, 2, 2, kInk);
    FillRect(cr, 6, 12, 2, 2, kInk);
    for (int i = 0; i < 9; ++i) {
      FillRect(cr, 4 - i / 3, 3 + i, 1, 1, kInk);
      FillRect(cr, 4 + i / 3, 3 + i, 1, 1, kInk);
    }
    FillRect(cr, 3, 9, 3, 1, kInk);
    TextLines(cr, 10, 6, 6, 3, 3, kLine);
  });
}

Image CheckBoxIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 2, 2, 12, 12);
    cairo_set_line_width(cr, 2);
    Source(cr, kGreen);
    cairo_move_to(cr, 4.5, 8);
    cairo_line_to(cr, 7, 10.5);
    cairo_line_to(cr, 11.5, 5);
    cairo_stroke(cr);
  });
}

Image OptionIcon() {
  return Icon([](cairo_t* cr) {
    cairo_arc(cr, 8, 8, 6, 0, 2 * kPi);
    Source(cr, kWhite);
    cairo_fill_preserve(cr);
    Source(cr, kEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_arc(cr, 8, 8, 2.5, 0, 2 * kPi);
    Source(cr, kAccent);
    cairo_fill(cr);
  });
}

Image ListViewIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 1, 1, 14, 14);
    TextLines(cr, 3, 3, 10, 5, 2, kLine);
    FillRect(cr, 2, 6, 12, 3, kLightAccent);
    FillRect(cr, 3, 7, 9, 1, kAccent);
  });
}

Image FrameIcon() {
  return Icon([](cairo_t* cr) {
    OutlineRect(cr, 1, 4, 14, 11, kEdge);
    FillRect(cr, 3, 3, 7, 3, {0, 0, 0});
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    FillRect(cr, 3, 3, 7, 3, kWhite);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    FillRect(cr, 4, 4, 5, 1, kInk);
  });
}

Image ComboBoxIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 4, 16, 8);
    FillRect(cr, 2, 7, 6, 2, kInk);
    FillRect(cr, 10, 5, 5, 6, kFace);
    FillRect(cr, 10, 5, 1, 6, kEdge);
    Arrow(cr, 12, 7, true, kInk);
  });
}

// A picture: sky, a sun and a green hill inside a frame.
void Picture(cairo_t* cr, int x, int y, int w, int h) {
  FillRect(cr, x, y, w, h, kLightAccent);
  OutlineRect(cr, x, y, w, h, kEdge);
  cairo_save(cr);
  cairo_rectangle(cr, x + 1, y + 1, w - 2, h - 2);
  cairo_clip(cr);
  Source(cr, {0.96, 0.78, 0.15});
  cairo_arc(cr, x + w - 4.5, y + 3.5, 1.8, 0, 2 * kPi);
  cairo_fill(cr);
  Source(cr, kGreen);
  cairo_move_to(cr, x, y + h);
  cairo_line_to(cr, x + w * 0.4, y + h * 0.45);
  cairo_line_to(cr, x + w * 0.7, y + h * 0.75);
  cairo_line_to(cr, x + w, y + h * 0.55);
  cairo_line_to(cr, x + w, y + h);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_restore(cr);
}

Image ImageIcon() {
  return Icon([](cairo_t* cr) { Picture(cr, 1, 2, 14, 12); });
}

Image HyperLinkIcon() {
  return Icon([](cairo_t* cr) {
    FillRect(cr, 1, 4, 14, 2, kAccent);
    FillRect(cr, 1, 7, 14, 1, kAccent);
    FillRect(cr, 1, 10, 9, 2, kAccent);
    FillRect(cr, 1, 13, 9, 1, kAccent);
  });
}

Image ContainerIcon() {
  return Icon([](cairo_t* cr) {
    FillRect(cr, 1, 1, 14, 14, kFace);
    OutlineRect(cr, 1, 1, 14, 14, kEdge);
    OutlineRect(cr, 2, 2, 12, 12, kWhite);
    FillRect(cr, 4, 4, 6, 3, kAccent);
    Field(cr, 4, 9, 8, 3);
  });
}

Image ListIconIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 1, 1, 14, 14);
    FillRect(cr, 2, 2, 12, 3, kFace);
    FillRect(cr, 7, 2, 1, 3, kEdge);
    for (int row = 0; row < 3; ++row) {
      FillRect(cr, 3, 6 + row * 3, 2, 2, kAccent);
      FillRect(cr, 6, 7 + row * 3, 7, 1, kLine);
    }
  });
}

Image IpAddressIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 4, 16, 8);
    for (int i = 0; i < 4; ++i)
      FillRect(cr, 1 + i * 4, 7, 2, 2, kInk);
    for (int i = 0; i < 3; ++i)
      FillRect(cr, 4 + i * 4, 9, 1, 1, kAccent);
  });
}

Image ProgressBarIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 5, 16, 6);
    FillRect(cr, 1, 6, 9, 4, kGreen);
    FillRect(cr, 1, 6, 9, 1, {0.55, 0.85, 0.55});
  });
}

// A horizontal scroll bar at row y: two arrow buttons and a thumb.
void HScrollBar(cairo_t* cr, int x, int y, int w) {
  FillRect(cr, x, y, w, 5, {0.94, 0.94, 0.94});
  OutlineRect(cr, x, y, w, 5, kEdge);
  for (int i = 0; i < 2; ++i)
    FillRect(cr, x + 2 + i, y + 2 - i, 1, 1 + 2 * i, kInk);
  for (int i = 0; i < 2; ++i)
    FillRect(cr, x + w - 3 + i, y + 2 - i, 1, 1 + 2 * i, kInk);
  FillRect(cr, x + w / 3, y + 1, w / 3, 3, kLine);
}

Image ScrollBarIcon() {
  return Icon([](cairo_t* cr) { HScrollBar(cr, 0, 5, 16); });
}

Image ScrollAreaIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 0, 16, 16);
    TextLines(cr, 2, 2, 8, 4, 2, kLine);
    FillRect(cr, 11, 1, 4, 10, {0.94, 0.94, 0.94});
    FillRect(cr, 11, 1, 1, 10, kEdge);
    FillRect(cr, 12, 3, 3, 4, kLine);
    FillRect(cr, 1, 11, 14, 4, {0.94, 0.94, 0.94});
    FillRect(cr, 1, 11, 14, 1, kEdge);
    FillRect(cr, 3, 12, 5, 3, kLine);
  });
}

Image TrackBarIcon() {
  return Icon([](cairo_t* cr) {
    FillRect(cr, 1, 7, 14, 2, kEdge);
    for (int i = 0; i < 5; ++i)
      FillRect(cr, 1 + i * 3, 12, 1, 2, kInk);
    FillRect(cr, 6, 3, 4, 8, kAccent);
    FillRect(cr, 7, 4, 2, 6, kLightAccent);
  });
}

Image WebIcon() {
  return Icon([](cairo_t* cr) {
    cairo_arc(cr, 8, 8, 6.5, 0, 2 * kPi);
    Source(cr, kLightAccent);
    cairo_fill_preserve(cr);
    Source(cr, kAccent);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 8, 8);
    cairo_scale(cr, 0.45, 1);
    cairo_arc(cr, 0, 0, 6.5, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_stroke(cr);
    cairo_move_to(cr, 1.5, 8);
    cairo_line_to(cr, 14.5, 8);
    cairo_move_to(cr, 3, 4.5);
    cairo_line_to(cr, 13, 4.5);
    cairo_move_to(cr, 3, 11.5);
    cairo_line_to(cr, 13, 11.5);
    cairo_stroke(cr);
  });
}

Image ButtonImageIcon() {
  return Icon([](cairo_t* cr) {
    FillRect(cr, 0, 1, 16, 14, kFace);
    OutlineRect(cr, 0, 1, 16, 14, kEdge);
    Picture(cr, 3, 4, 10, 8);
  });
}

// A sheet with a red band on top and a grid of days.
void CalendarPage(cairo_t* cr, int x, int y, int w, int h) {
  Field(cr, x, y, w, h);
  FillRect(cr, x, y, w, 3, {0.85, 0.20, 0.18});
  for (int row = 0; row < (h - 4) / 3; ++row)
    for (int col = 0; col < (w - 2) / 3; ++col)
      FillRect(cr, x + 2 + col * 3, y + 5 + row * 3, 2, 2, row == 1 && col == 2 ? kAccent : kLine);
}

Image CalendarIcon() {
  return Icon([](cairo_t* cr) { CalendarPage(cr, 1, 1, 14, 14); });
}

Image DateIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 4, 16, 8);
    FillRect(cr, 2, 7, 2, 2, kInk);
    FillRect(cr, 5, 7, 2, 2, kInk);
    FillRect(cr, 8, 7, 1, 2, kLine);
    FillRect(cr, 11, 5, 4, 6, kFace);
    Arrow(cr, 13, 7, true, kInk);
  });
}

Image EditorIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 1, 0, 14, 16);
    TextLines(cr, 3, 2, 10, 7, 2, kInk);
  });
}

Image ExplorerListIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 0, 16, 16);
    for (int row = 0; row < 3; ++row) {
      Folder(cr, 2, 2 + row * 4);
      FillRect(cr, 9, 4 + row * 4, 5, 1, kLine);
    }
  });
}

Image ExplorerTreeIcon() {
  return Icon([](cairo_t* cr) {
    Folder(cr, 1, 1);
    FillRect(cr, 3, 7, 1, 7, kLine);
    FillRect(cr, 3, 9, 3, 1, kLine);
    FillRect(cr, 3, 13, 3, 1, kLine);
    Folder(cr, 7, 6);
    Folder(cr, 7, 10);
  });
}

Image ExplorerComboIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 3, 16, 10);
    Folder(cr, 2, 5);
    FillRect(cr, 11, 4, 4, 8, kFace);
    FillRect(cr, 11, 4, 1, 8, kEdge);
    Arrow(cr, 13, 7, true, kInk);
  });
}

Image SpinIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 3, 16, 10);
    FillRect(cr, 2, 7, 2, 2, kInk);
    FillRect(cr, 5, 7, 2, 2, kInk);
    FillRect(cr, 10, 4, 5, 8, kFace);
    FillRect(cr, 10, 4, 1, 8, kEdge);
    FillRect(cr, 10, 8, 5, 1, kEdge);
    Arrow(cr, 12, 5, false, kInk);
    Arrow(cr, 12, 9, true, kInk);
  });
}

// A box with a plus or minus sign, as a tree's expander.
void Expander(cairo_t* cr, int x, int y, bool open) {
  FillRect(cr, x, y, 5, 5, kWhite);
  OutlineRect(cr, x, y, 5, 5, kEdge);
  FillRect(cr, x + 1, y + 2, 3, 1, kInk);
  if (!open) FillRect(cr, x + 2, y + 1, 1, 3, kInk);
}

Image TreeIcon() {
  return Icon([](cairo_t* cr) {
    FillRect(cr, 3, 6, 1, 8, kLine);
    FillRect(cr, 3, 9, 4, 1, kLine);
    FillRect(cr, 3, 13, 4, 1, kLine);
    Expander(cr, 1, 1, true);
    FillRect(cr, 7, 3, 8, 1, kInk);
    Expander(cr, 6, 7, false);
    FillRect(cr, 12, 9, 4, 1, kInk);
    FillRect(cr, 8, 13, 7, 1, kInk);
  });
}

Image PanelIcon() {
  return Icon([](cairo_t* cr) {
    FillRect(cr, 1, 5, 14, 10, kWhite);
    OutlineRect(cr, 1, 5, 14, 10, kEdge);
    FillRect(cr, 1, 2, 6, 4, kWhite);
    OutlineRect(cr, 1, 2, 6, 4, kEdge);
    FillRect(cr, 2, 5, 4, 1, kWhite);
    FillRect(cr, 7, 3, 5, 3, kFace);
    OutlineRect(cr, 7, 3, 5, 3, kEdge);
    TextLines(cr, 3, 8, 9, 3, 2, kLine);
  });
}

Image SplitterIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 1, 7, 14);
    Field(cr, 9, 1, 7, 14);
    FillRect(cr, 7, 1, 2, 14, kFace);
    for (int i = 0; i < 3; ++i)
      FillRect(cr, 7, 5 + i * 2, 2, 1, kInk);
    TextLines(cr, 2, 4, 3, 4, 2, kLine);
    TextLines(cr, 11, 4, 3, 4, 2, kLine);
  });
}

// A small window: a blue caption over a white client area.
void SmallWindow(cairo_t* cr, int x, int y, int w, int h) {
  FillRect(cr, x, y, w, h, kWhite);
  FillRect(cr, x, y, w, 3, kAccent);
  OutlineRect(cr, x, y, w, h, {0.12, 0.29, 0.55});
}

Image MdiIcon() {
  return Icon([](cairo_t* cr) {
    FillRect(cr, 0, 0, 16, 16, {0.60, 0.63, 0.68});
    OutlineRect(cr, 0, 0, 16, 16, kEdge);
    SmallWindow(cr, 2, 2, 8, 7);
    SmallWindow(cr, 6, 7, 8, 7);
  });
}

Image ShortcutIcon() {
  return Icon([](cairo_t* cr) {
    // Two key caps, as "Ctrl + key".
    for (int x : {0, 9}) {
      FillRect(cr, x, 4, 7, 8, kFace);
      OutlineRect(cr, x, 4, 7, 8, kEdge);
      FillRect(cr, x + 1, 10, 5, 1, kLine);
    }
    FillRect(cr, 2, 6, 3, 1, kInk);
    FillRect(cr, 2, 6, 1, 3, kInk);
    FillRect(cr, 2, 8, 3, 1, kInk);
    FillRect(cr, 11, 6, 3, 3, kInk);
    FillRect(cr, 7, 7, 2, 1, kInk);
  });
}

Image CanvasIcon() {
  return Icon([](cairo_t* cr) {
    Field(cr, 0, 1, 16, 14);
    cairo_set_line_width(cr, 1.5);
    Source(cr, kAccent);
    cairo_arc(cr, 5.5, 6, 2.5, 0, 2 * kPi);
    cairo_stroke(cr);
    Source(cr, {0.85, 0.20, 0.18});
    cairo_move_to(cr, 3, 12.5);
    cairo_curve_to(cr, 6, 8, 9, 14, 13.5, 4);
    cairo_stroke(cr);
  });
}

// The toolbox page: four small controls in a grid.
Image ElementsIcon() {
  return Icon([](cairo_t* cr) {
    FillRect(cr, 1, 1, 6, 6, kFace);
    OutlineRect(cr, 1, 1, 6, 6, kEdge);
    Field(cr, 9, 1, 6, 6);
    FillRect(cr, 11, 3, 2, 2, kGreen);
    Field(cr, 1, 9, 6, 6);
    FillRect(cr, 3, 11, 2, 2, kAccent);
    FillRect(cr, 9, 9, 6, 6, kAccent);
    FillRect(cr, 10, 10, 4, 4, kLightAccent);
  });
}

Image AddFormIcon() {
  return Icon([](cairo_t* cr) {
    SmallWindow(cr, 0, 1, 12, 11);
    FillRect(cr, 9, 10, 7, 3, kGreen);
    FillRect(cr, 11, 8, 3, 7, kGreen);
  });
}

// Two overlapping sheets with an arrow that moves the front one: down a step (prev), up a
// step (next), or all the way with a bar (first: to the back, last: to the front).
Image MoveIcon(bool up, bool all) {
  return Icon([up, all](cairo_t* cr) {
    FillRect(cr, 0, 0, 8, 8, kLine);
    OutlineRect(cr, 0, 0, 8, 8, kEdge);
    FillRect(cr, 3, 3, 8, 8, kLightAccent);
    OutlineRect(cr, 3, 3, 8, 8, kAccent);
    const int cx = 13;
    // The head's rows widen from the tip: 1, 3 and 5 pixels.
    for (int i = 0; i < 3; ++i)
      FillRect(cr, cx - i, up ? 5 + i : 10 - i, 1 + 2 * i, 1, kGreen);
    FillRect(cr, cx - 1, up ? 8 : 3, 3, 5, kGreen);
    if (all) FillRect(cr, 10, up ? 2 : 12, 6, 2, kInk);
  });
}
}  // namespace

// The archive icons: the toolbox's kinds and the form commands, under their entry names.
static int WriteArchiveIcons(const std::string& folder) {
  struct Output {
    const char* name;
    Image image;
  };
  const Output outputs[] = {
      {"vd_buttongadget", ButtonIcon()},
      {"vd_stringgadget", StringIcon()},
      {"vd_textgadget", TextIcon()},
      {"vd_checkboxgadget", CheckBoxIcon()},
      {"vd_optiongadget", OptionIcon()},
      {"vd_listviewgadget", ListViewIcon()},
      {"vd_framegadget", FrameIcon()},
      {"vd_comboboxgadget", ComboBoxIcon()},
      {"vd_imagegadget", ImageIcon()},
      {"vd_hyperlinkgadget", HyperLinkIcon()},
      {"vd_containergadget", ContainerIcon()},
      {"vd_listicongadget", ListIconIcon()},
      {"vd_ipaddressgadget", IpAddressIcon()},
      {"vd_progressbargadget", ProgressBarIcon()},
      {"vd_scrollbargadget", ScrollBarIcon()},
      {"vd_scrollareagadget", ScrollAreaIcon()},
      {"vd_trackbargadget", TrackBarIcon()},
      {"vd_webgadget", WebIcon()},
      {"vd_buttonimagegadget", ButtonImageIcon()},
      {"vd_calendargadget", CalendarIcon()},
      {"vd_dategadget", DateIcon()},
      {"vd_editorgadget", EditorIcon()},
      {"vd_explorerlistgadget", ExplorerListIcon()},
      {"vd_explorertreegadget", ExplorerTreeIcon()},
      {"vd_explorercombogadget", ExplorerComboIcon()},
      {"vd_spingadget", SpinIcon()},
      {"vd_treegadget", TreeIcon()},
      {"vd_panelgadget", PanelIcon()},
      {"vd_splittergadget", SplitterIcon()},
      {"vd_mdigadget", MdiIcon()},
      {"vd_shortcutgadget", ShortcutIcon()},
      {"vd_canvasgadget", CanvasIcon()},
      {"elements", ElementsIcon()},
      {"add_form", AddFormIcon()},
      {"move_first", MoveIcon(false, true)},
      {"move_prev", MoveIcon(false, false)},
      {"move_next", MoveIcon(true, false)},
      {"move_last", MoveIcon(true, true)},
  };
  for (const Output& o : outputs) {
    std::vector<uint8_t> png;
    const std::string path = folder + "/" + o.name + ".png";
    if (!EncodePng(o.image, png) || !WriteFile(path, png)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--archive-icons") return WriteArchiveIcons(argv[2]);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder> | --archive-icons <output folder>\n", argv[0]);
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
