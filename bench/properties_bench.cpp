// Cost of building a property grid of 200 rows (the goal is under 5 ms): the grid and every
// row's name and editor, cycling through the row kinds the designer uses.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>

#include "core/tree.h"
#include "elements/properties.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"

namespace {

constexpr int kRows = 200;

void BM_BuildPropertyGrid(benchmark::State& state) {
  const std::array<std::string, 5> rows = {"String Caption text", "Spin X 0|100",
                                           "ComboBox State Normal|Maximized|Minimized",
                                           "Button Font", "StringButton Image path"};
  const int count = static_cast<int>(state.range(0));
  // Each round starts from a fresh toolkit, made (and the last one dropped) off the clock.
  std::unique_ptr<tk::platform::HeadlessPlatform> platform;
  std::unique_ptr<tk::Toolkit> kit;
  for (auto _ : state) {
    state.PauseTiming();
    kit.reset();
    platform = std::make_unique<tk::platform::HeadlessPlatform>(1000, 700);
    kit = std::make_unique<tk::Toolkit>(*platform);
    tk::Toolkit& tk = *kit;
    tk::PrepareToolkit(tk);
    tk::OpenHost(tk, 1, 0, 0, 1000, 700, "Grid", tk::Flag::SystemMenu);
    state.ResumeTiming();
    const int grid = tk::Properties(tk, 10, 10, 10, 300, 600, 0, 1, 80);
    for (int i = 0; i < count; ++i)
      benchmark::DoNotOptimize(
          tk::AddProperty(tk, grid, -1, rows[static_cast<size_t>(i) % rows.size()]));
  }
}

}  // namespace

BENCHMARK(BM_BuildPropertyGrid)->Arg(kRows)->Unit(benchmark::kMillisecond);
