// The designer program. Until the designer application is built it shows the toolkit
// demonstration, in a real window or, with --headless, in an off-screen canvas that a script
// can drive and that can be saved as a picture.
#include <cstdio>
#include <string>
#include <vector>

#include "core/toolkit.h"
#include "designer/cli.h"
#include "designer/demo.h"
#include "designer/script.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_platform.h"
#include "render/host.h"

namespace {

int RunHeadless(const tk::designer::Options& opt, int width, int height) {
  tk::platform::HeadlessPlatform platform(width, height);
  tk::Toolkit toolkit(platform);
  tk::PrepareToolkit(toolkit);
  const int main = tk::demo::BuildDemo(toolkit, width, height);
  if (main <= 0) {
    std::fprintf(stderr, "designer: cannot open the host window\n");
    return 1;
  }
  if (opt.screenshot.empty() && opt.script.empty()) {
    tk::RunEventLoop(toolkit, main);
    return 0;
  }
  tk::designer::StartSession(toolkit, main);  // the first focus paints the first frame
  if (!opt.script.empty()) {
    tk::designer::ScriptRunner runner(toolkit, platform);
    std::string error;
    if (!runner.RunFile(opt.script, &error)) {
      std::fprintf(stderr, "designer: %s\n", error.c_str());
      return 1;
    }
  }
  if (!opt.screenshot.empty()) {
    std::string error;
    if (!platform.SavePng(opt.screenshot, &error)) {
      std::fprintf(stderr, "designer: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}

int RunWindowed(int width, int height) {
  tk::platform::SdlPlatform platform;
  if (!platform.Ready()) {
    std::fprintf(stderr, "designer: cannot open a window: %s\n", platform.LastError().c_str());
    return 1;
  }
  tk::Toolkit toolkit(platform);
  tk::PrepareToolkit(toolkit);
  const int main = tk::demo::BuildDemo(toolkit, width, height);
  if (main <= 0) {
    std::fprintf(stderr, "designer: cannot open the host window: %s\n",
                 platform.LastError().c_str());
    return 1;
  }
  tk::RunEventLoop(toolkit, main);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  tk::designer::Options opt;
  std::string error;
  if (!tk::designer::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), opt, &error)) {
    std::fprintf(stderr, "designer: %s\n%s", error.c_str(), tk::designer::UsageText());
    return 2;
  }
  if (opt.help) {
    std::fputs(tk::designer::UsageText(), stdout);
    return 0;
  }
  const int width = opt.width > 0 ? opt.width : tk::demo::kDefaultWidth;
  const int height = opt.height > 0 ? opt.height : tk::demo::kDefaultHeight;
  return opt.headless ? RunHeadless(opt, width, height) : RunWindowed(width, height);
}
