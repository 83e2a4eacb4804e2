// The designer program: the designer in a real window or, with --headless, in an off-screen
// canvas that a script can drive and that can be saved as a picture. --demo shows the
// toolkit demonstration instead; --generate writes a form file's source without a window.
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/toolkit.h"
#include "designer/cli.h"
#include "designer/demo.h"
#include "designer/designer.h"
#include "designer/files.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/registry.h"
#include "platform/fonts.h"
#include "platform/headless/headless_platform.h"
#include "platform/heap.h"
#include "platform/sdl/sdl_platform.h"
#include "render/host.h"

namespace {

using tk::designer::Options;

struct Size {
  int width, height;
};

// The main window's size (the canvas of a headless run): the scene's own or the one asked for.
Size SceneSize(const Options& opt) {
  const int width = opt.demo ? tk::demo::kDefaultWidth : tk::designer::kDesignerWidth;
  const int height = opt.demo ? tk::demo::kDefaultHeight : tk::designer::kDesignerHeight;
  return {opt.width > 0 ? opt.width : width, opt.height > 0 ? opt.height : height};
}

// What the program shows. The archives and the designer state outlive the toolkit built
// after them, whose handlers refer to them. The archives are read on a second thread while
// the window system starts on this one. (The font configuration loads on the text library's
// own thread from the platform's first canvas on; loading it here too would do it twice.)
class Scene {
 public:
  Scene(const Options& opt, const char* argv0)
      : opt_(opt),
        archives_(opt.demo ? std::vector<std::filesystem::path>{}
                           : tk::designer::IconArchives::DefaultFolders(argv0)),
        designer_(archives_),
        reader_([this] { archives_.ReadAll(); }) {}
  ~Scene() { Ready(nullptr); }

  // Waits for the reading thread and gives the archives the platform's image store.
  void Ready(tk::platform::Platform* platform) {
    if (reader_.joinable()) reader_.join();
    if (platform != nullptr) archives_.UseImages(platform->Images());
  }

  // Builds the scene on a prepared toolkit; returns the main window's id, or 0 when the
  // program cannot start (the reason has been reported).
  int Build(tk::Toolkit& toolkit) {
    Ready(&toolkit.platform);
    const Size size = SceneSize(opt_);
    if (opt_.demo) return tk::demo::BuildDemo(toolkit, size.width, size.height);
    start_ = tk::designer::StartDesigner(toolkit, designer_, size.width, size.height);
    // A file that cannot be read has said so; the designer goes on with its own first form.
    if (start_.window > 0 && !opt_.file.empty())
      tk::designer::OpenForm(toolkit, designer_, opt_.file);
    return start_.window;
  }

  // The program's status when Build failed; `reason` explains a host that did not open.
  int FailureStatus(const std::string& reason) const {
    if (start_.exitStatus == tk::designer::kMissingArchiveStatus) return start_.exitStatus;
    std::fprintf(stderr, "designer: cannot open the host window%s\n", reason.c_str());
    return 1;
  }

 private:
  const Options& opt_;
  tk::designer::IconArchives archives_;
  tk::designer::Designer designer_;
  tk::designer::StartResult start_;
  std::thread reader_;  // last: it starts once everything it reads exists
};

int RunHeadless(const Options& opt, const char* argv0) {
  tk::platform::StartLoadingFonts();  // on the text library's thread while the scene starts
  const Size size = SceneSize(opt);
  Scene scene(opt, argv0);
  tk::platform::HeadlessPlatform platform(size.width, size.height);
  tk::Toolkit toolkit(platform);
  tk::PrepareToolkit(toolkit);
  const int main = scene.Build(toolkit);
  if (main <= 0) return scene.FailureStatus("");
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

int RunWindowed(const Options& opt, const char* argv0) {
  // First, before any thread: the platform sets up the environment. SDL's video then starts
  // on its own thread while the designer is built; the window appears with the first frame.
  tk::platform::SdlPlatform platform;
  Scene scene(opt, argv0);
  // Last: it loads libraries, and making a thread meanwhile waits.
  const Size size = SceneSize(opt);
  platform.StartVideo(size.width, size.height);
  tk::Toolkit toolkit(platform);
  tk::PrepareToolkit(toolkit);
  const int main = scene.Build(toolkit);
  if (main > 0) tk::RunEventLoop(toolkit, main);
  if (!platform.Ready()) {
    std::fprintf(stderr, "designer: cannot open a window: %s\n", platform.LastError().c_str());
    return 1;
  }
  if (main <= 0) return scene.FailureStatus(": " + platform.LastError());
  return 0;
}

// --generate: reads the form file and writes its source; no window, display or icons.
int RunGenerate(const Options& opt) {
  // A large form is built of many small records: fewer, larger pages make it faster.
  tk::platform::PreferHugePagesForHeap(size_t{64} << 20);
  std::string source, error;
  if (!tk::designer::ReadFileBytes(opt.generate, source, &error)) {
    std::fprintf(stderr, "designer: %s\n", error.c_str());
    return 1;
  }
  // Only a panel's tabs measure text, which needs the font configuration: a form with panels
  // starts loading it now, to be parsed meanwhile. The form is not freed: the process ends
  // right after writing, and freeing thousands of elements would only cost time.
  if (source.find("PanelGadget") != std::string::npos) tk::platform::StartLoadingFonts();
  const auto* parsed = new tk::designer::ParsedSource(source);
  auto* form = new tk::designer::BatchForm();
  const std::string code = tk::designer::GenerateFromSource(*form, *parsed);
  if (!opt.output.empty()) {
    if (!tk::designer::WriteFileAtomically(opt.output, code, &error)) {
      std::fprintf(stderr, "designer: %s\n", error.c_str());
      return 1;
    }
    return 0;
  }
  if (std::fwrite(code.data(), 1, code.size(), stdout) != code.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "designer: cannot write the source to standard output\n");
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  std::string error;
  if (!tk::designer::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), opt, &error)) {
    std::fprintf(stderr, "designer: %s\n%s", error.c_str(), tk::designer::UsageText());
    return 2;
  }
  if (opt.help) {
    std::fputs(tk::designer::UsageText(), stdout);
    return 0;
  }
  if (opt.version) {
    std::puts("designer " TK_VERSION);
    return 0;
  }
  if (!opt.generate.empty()) return RunGenerate(opt);
  return opt.headless ? RunHeadless(opt, argv[0]) : RunWindowed(opt, argv[0]);
}
