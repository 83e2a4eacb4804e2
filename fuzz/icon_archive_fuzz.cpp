// libFuzzer target for the icon-archive lookups: the input is read as both of the designer's
// zip archives (held in memory, through the same reading code as the files), then every lookup
// runs: ArchiveIcon with the words the designer asks for, each ThemeIcon index, and FillToolbox
// into a list. Each input gets a fresh headless toolkit, so no image or item of one input is
// left for the next. An icon that comes back must be a picture of at most kMaxIconSide.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/lookup.h"
#include "designer/icon_archives.h"
#include "elements/list.h"
#include "elements/registry.h"
#include "elements/window.h"
#include "platform/headless/headless_platform.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckIcon(tk::platform::ImageStore& store, int image) {
  if (image < 0) return;
  Check(store.IsImage(image));
  Check(store.Width(image) >= 1 && store.Width(image) <= tk::designer::kMaxIconSide);
  Check(store.Height(image) >= 1 && store.Height(image) <= tk::designer::kMaxIconSide);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tk::platform::HeadlessPlatform platform(64, 64);
  tk::Toolkit tk(platform);
  tk::PrepareToolkit(tk);
  tk::platform::ImageStore& store = platform.Images();
  const std::vector<uint8_t> zip(data, data + size);
  tk::designer::IconArchives archives(store, zip, zip);
  Check(archives.MissingMessage().empty());

  static const char* const kWords[][2] = {{"elements", "_"}, {"elements", ""},  {"form", ""},
                                          {"code", ""},      {"lightning", ""}, {"a", "b"}};
  for (const auto& word : kWords)
    CheckIcon(store, archives.ArchiveIcon(word[0], word[1]));
  for (int index = -1; index <= 16; ++index)
    CheckIcon(store, archives.ThemeIcon(index));
  CheckIcon(store, archives.ThemeIcon(tk::designer::kThemeRedCross));
  CheckIcon(store, archives.ThemeIcon(tk::designer::kThemeTrayArrow));

  Check(tk::Window(tk, 1, 0, 0, 60, 60, "Main") == 1);
  const int list = tk::ListView(tk, 10, 0, 0, 50, 50, "", 0, 1);
  Check(list == 10);
  archives.FillToolbox(tk, list);
  for (const auto& item : tk::FindElement(tk, list)->Items) {
    Check(item->Text.size() >= 1 && item->Text[0] == ' ');
    CheckIcon(store, item->Image);
  }
  return 0;
}
