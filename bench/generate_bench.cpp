// Batch generation (`designer --generate`) inside the process: reading a form of N buttons in
// the designer's own source and generating it again, and the designer's share of that alone
// (N buttons made through the designer's creation path, then the source generated).
#include <benchmark/benchmark.h>

#include <string>

#include "codegen/generator.h"
#include "core/coords.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/files.h"

namespace {

using tk::designer::BatchForm;

// One window with n buttons, as the designer writes it (the source bench/generate/vs_fluid.sh
// feeds the program).
std::string ButtonForm(int n) {
  std::string s = "EnableExplicit\r\n\r\nDefine Event\r\n\r\nGlobal Window_0=-1\r\n\r\n";
  for (int i = 0; i < n; ++i)
    s += "Global Button_" + std::to_string(i) + "=-1\r\n";
  s += "\r\nProcedure Open_Window_0()\r\n  Window_0 = OpenWindow(#PB_Any, 10, 10, 900, 700, "
       "\"Window_0\", #PB_Window_SystemMenu)\r\n";
  for (int i = 0; i < n; ++i)
    s += "  Button_" + std::to_string(i) + " = ButtonGadget(#PB_Any, " +
         std::to_string(10 + i % 10 * 85) + ", " + std::to_string(10 + i / 10 % 25 * 27) +
         ", 80, 25, \"Button_" + std::to_string(i) + "\")\r\n";
  s += "EndProcedure\r\n";
  return s;
}

void BM_GenerateFromSource(benchmark::State& state) {
  const std::string source = ButtonForm(static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(tk::designer::GenerateFromSource(source));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_GenerateFromSource)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_CreationPathAndGeneration(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    BatchForm form;
    tk::Toolkit& tk = form.tk;
    tk::designer::Designer& d = form.designer;
    const int window =
        tk::designer::CreateDesignElement(tk, d, tk::ElementKind::Window, d.mainPanel, 0, 0);
    for (int i = 0; i < n; ++i) {
      const int b = tk::designer::CreateDesignElement(tk, d, tk::ElementKind::Button, window, 0, 0);
      if (tk::Element* e = tk::FindElement(tk, b))
        tk::ResizeElement(tk, *e, 10 + i % 10 * 85, 10 + i / 10 % 25 * 27, 80, 25,
                          tk::CoordMode::Parent);
    }
    benchmark::DoNotOptimize(tk::FormCodeText(tk, d.mainPanel));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CreationPathAndGeneration)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
