// The file requester on a folder of 10,000 files: opening it until its first frame is shown
// and answering Escape (the goal is under 50 ms), and scrolling its listing by wheel notches
// (the folder is read once when it is shown, so a notch costs a repaint, not a read).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/window.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"
#include "requesters/requesters.h"

namespace {

namespace fs = std::filesystem;
using tk::platform::NativeEvent;
using tk::platform::NativeEventType;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 10000;
constexpr int kNotches = 50;
constexpr const char* kPatterns = "PureBasic (*.pb)|*.pb;*.pbi;*.pbf|All files (*.*)|*.*";

// A folder of files named file00000.pb ... and a few folders, removed when done.
struct Folder {
  Folder() {
    std::string templ = (fs::temp_directory_path() / "filereq-bench-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr) return;
    path = templ;
    for (int i = 0; i < kFiles; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "file%05d.%s", i, i % 4 == 3 ? "txt" : "pb");
      std::ofstream(path / name) << i;
    }
    for (int i = 0; i < 20; ++i)
      fs::create_directory(path / ("folder" + std::to_string(i)));
  }
  ~Folder() {
    std::error_code ec;
    if (!path.empty()) fs::remove_all(path, ec);
  }
  fs::path path;
};

// A started program with a main window, as the designer has when it asks for a file.
struct Program {
  Program() {
    tk::PrepareToolkit(tk);
    tk::Window(tk, 1, 0, 0, 1000, 700, "Main", tk::Flag::SystemMenu);
    tk::CloseList(tk);
    tk::PrepareLoop(tk, 1);
    tk::PumpEvents(tk);
  }
  void Key(int code) {
    NativeEvent ev;
    ev.type = NativeEventType::KeyDown;
    ev.keyCode = code;
    platform.Inject(ev);
    ev.type = NativeEventType::KeyUp;
    platform.Inject(ev);
  }
  tk::platform::HeadlessPlatform platform{1000, 700};
  tk::Toolkit tk{platform};
};

void BM_OpenFileRequester(benchmark::State& state) {
  Folder folder;
  if (folder.path.empty()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  Program program;
  int frames = 0;
  // The first time the loop waits, the requester has shown its first frame.
  program.platform.SetFeeder([&] {
    frames = program.platform.PresentCount();
    program.Key(tk::platform::Key::Escape);
    return true;
  });
  for (auto _ : state) {
    const int before = program.platform.PresentCount();
    benchmark::DoNotOptimize(
        tk::OpenFileRequester(program.tk, "Open", folder.path.string(), kPatterns));
    if (frames <= before) state.SkipWithError("the requester showed no frame");
  }
  state.counters["files"] = kFiles;
}

void BM_ScrollFileRequester(benchmark::State& state) {
  Folder folder;
  if (folder.path.empty()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  Program program;
  tk::Toolkit& tk = program.tk;
  // The wheel turns the listing (the requester's fifth element), one notch per event,
  // each handled and painted before the next; the time is taken inside the requester's loop.
  double notchMs = 0;
  bool scrolled = true;
  int step = 0;
  Clock::time_point start;
  program.platform.SetFeeder([&] {
    if (step == 0) {
      // A click on a row puts the list in use, so the wheel turns it.
      const tk::Element* list = tk::FindElement(tk, tk.root.ModalWindows.back() + 5);
      if (list == nullptr) return false;
      program.platform.InjectMove(list->Frame.x0 + 60, list->Frame.y0 + 40);
      program.platform.InjectClick(list->Frame.x0 + 60, list->Frame.y0 + 40);
      step = 1;
      return true;
    }
    if (step <= kNotches) {
      if (step == 1) start = Clock::now();
      NativeEvent ev;
      ev.type = NativeEventType::Wheel;
      ev.wheel = -1;
      const tk::Element* list = tk::FindElement(tk, tk.root.ModalWindows.back() + 5);
      ev.x = list->Frame.x0 + list->Frame.w0 / 2;
      ev.y = list->Frame.y0 + list->Frame.h0 / 2;
      program.platform.Inject(ev);
      ++step;
      return true;
    }
    notchMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kNotches;
    const tk::Element* list = tk::FindElement(tk, tk.root.ModalWindows.back() + 5);
    if (list == nullptr || list->VScroll <= 0) scrolled = false;
    step = 0;
    program.Key(tk::platform::Key::Escape);
    return true;
  });
  int rounds = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tk::OpenFileRequester(tk, "Open", folder.path.string(), kPatterns));
    ++rounds;
  }
  if (!scrolled) state.SkipWithError("the wheel did not scroll the listing");
  state.counters["notch_ms"] = rounds > 0 ? notchMs / rounds : 0;
}

}  // namespace

BENCHMARK(BM_OpenFileRequester)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollFileRequester)->Unit(benchmark::kMillisecond);
