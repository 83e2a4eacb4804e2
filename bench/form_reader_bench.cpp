// Reading a form file of N buttons into a started designer and writing its source again: the
// batch path of opening a file and of the command line's generation. Each round reads into a
// freshly started designer (not timed), as a run of the program would.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "codegen/generator.h"
#include "designer/designer.h"
#include "designer/form_reader.h"
#include "designer/icon_archives.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"

namespace {

namespace designer = tk::designer;

// A form as the designer writes it: one window holding `buttons` buttons on a grid.
std::string ButtonForm(int buttons) {
  std::string globals, lines;
  for (int b = 0; b < buttons; ++b) {
    const std::string name = "Button_" + std::to_string(b);
    globals += "Global " + name + "=-1\r\n";
    lines += "  " + name + " = ButtonGadget(#PB_Any, " + std::to_string(10 + (b % 40) * 60) + ", " +
             std::to_string(10 + (b / 40) * 30) + ", 55, 25, \"B" + std::to_string(b) + "\")\r\n";
  }
  return "EnableExplicit\r\n\r\nDefine Event\r\n\r\nGlobal Window_0=-1\r\n\r\n" + globals +
         "\r\nProcedure Open_Window_0()\r\n  Window_0 = OpenWindow(#PB_Any, 10, 10, 2500, 8000, "
         "\"Window_0\", #PB_Window_SystemMenu)\r\n" +
         lines + "\r\nEndProcedure\r\n";
}

struct Session {
  Session() {
    tk::PrepareToolkit(tk);
    ready = designer::StartDesigner(tk, d).window > 0;
  }
  tk::platform::HeadlessPlatform platform{1280, 1024};
  designer::IconArchives archives{platform.Images(),
                                  designer::IconArchives::DefaultFolders(nullptr)};
  designer::Designer d{archives};
  tk::Toolkit tk{platform};
  bool ready = false;
};

void BM_ReadAndGenerateButtons(benchmark::State& state) {
  const std::string source = ButtonForm(static_cast<int>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto s = std::make_unique<Session>();
    if (!s->ready) {
      state.SkipWithError("the designer did not start (icon archives missing?)");
      return;
    }
    s->d.batch = state.range(1) != 0;
    state.ResumeTiming();
    designer::ReadFormSource(s->tk, s->d, source);
    const std::string code = tk::FormCodeText(s->tk, s->d.mainPanel);
    bytes = code.size();
    benchmark::DoNotOptimize(code.data());
    state.PauseTiming();
    s.reset();
    state.ResumeTiming();
  }
  state.counters["code_bytes"] = static_cast<double>(bytes);
}
// Second argument 1: a batch run (no Elements row, no panels); 0: opening in the designer.
BENCHMARK(BM_ReadAndGenerateButtons)
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
