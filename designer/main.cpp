// The designer program. Until the designer application is built it shows the toolkit
// demonstration in a real host window.
#include <cstdio>

#include "core/toolkit.h"
#include "designer/demo.h"
#include "platform/sdl/sdl_platform.h"
#include "render/host.h"

int main() {
  tk::platform::SdlPlatform platform;
  if (!platform.Ready()) {
    std::fprintf(stderr, "designer: cannot open a window: %s\n", platform.LastError().c_str());
    return 1;
  }
  tk::Toolkit toolkit(platform);
  int main = tk::demo::BuildDemo(toolkit);
  if (main <= 0) {
    std::fprintf(stderr, "designer: cannot open the host window\n");
    return 1;
  }
  tk::RunEventLoop(toolkit, main);
  return 0;
}
