// Decoding of the images embedded into the program (drawn by tools/make_glyphs).
#include "elements/builtin_images.h"

namespace tk {

namespace {

// kBuiltinImageTable: one entry per file of elements/images/, generated at build time.
#include "builtin_image_data.inc"

}  // namespace

const BuiltinImageData* FindBuiltinImageData(std::string_view name) {
  for (const BuiltinImageData& entry : kBuiltinImageTable)
    if (entry.name == name) return &entry;
  return nullptr;
}

bool LoadBuiltinImages(Toolkit& tk) {
  platform::ImageStore& store = tk.platform.Images();
  BuiltinImages& b = tk.builtins;
  // Loading again replaces the images instead of leaving the old ones behind.
  for (int number :
       {b.ScrollUp, b.ScrollDown, b.SmallIcon, b.GreyGlyph, b.MinimizeGlyph, b.MaximizeGlyph,
        b.RestoreGlyph, b.CloseGlyph, b.Blank, b.TrayArrow, b.RedCross})
    if (number >= 0) store.Free(number);
  b = BuiltinImages{};

  bool ok = true;
  auto decode = [&](std::string_view name, int number) {
    const BuiltinImageData* file = FindBuiltinImageData(name);
    int result = file ? store.DecodeImage(number, file->data, file->size) : -1;
    if (result < 0) ok = false;
    return result;
  };
  // The order is the one the rest of the program expects the free numbers to follow.
  const int any = platform::ImageStore::kAny;
  b.ScrollUp = decode("scroll_up", any);
  b.ScrollDown = decode("scroll_down", any);
  b.SmallIcon = decode("small_icon", any);
  b.GreyGlyph = decode("grey_glyph", any);
  b.MinimizeGlyph = decode("minimize", any);
  b.MaximizeGlyph = decode("maximize", any);
  b.RestoreGlyph = decode("restore", any);
  b.CloseGlyph = decode("close", any);
  decode("grey_glyph", BuiltinImage::GreyGlyph);
  decode("minimize", BuiltinImage::MinimizeGlyph);
  decode("maximize", BuiltinImage::MaximizeGlyph);
  decode("restore", BuiltinImage::RestoreGlyph);
  decode("close", BuiltinImage::CloseGlyph);
  b.Blank = decode("blank", any);
  b.TrayArrow = decode("tray_arrow", any);
  b.RedCross = decode("red_cross", any);
  return ok;
}

}  // namespace tk
