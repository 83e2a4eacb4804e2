// Cost of building a property grid of 200 rows (the goal is under 5 ms): the grid and every
// row's name and editor, cycling through the row kinds the designer uses; and of repainting it.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>

#include "core/tree.h"
#include "elements/properties.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"
#include "render/repaint.h"

namespace {

constexpr int kRows = 200;
// The row kinds the designer uses, in turn.
const std::array<std::string, 5> kRowKinds = {"String Caption text", "Spin X 0|100",
                                              "ComboBox State Normal|Maximized|Minimized",
                                              "Button Font", "StringButton Image path"};

void BM_BuildPropertyGrid(benchmark::State& state) {
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
          tk::AddProperty(tk, grid, -1, kRowKinds[static_cast<size_t>(i) % kRowKinds.size()]));
  }
}

// Cost of repainting the window that holds a grid of 200 rows, to be compared per element
// with the repaint benchmark (items_per_second counts every element of the list).
void BM_RepaintPropertyGrid(benchmark::State& state) {
  tk::platform::HeadlessPlatform platform(1000, 700);
  tk::Toolkit tk(platform);
  tk::PrepareToolkit(tk);
  tk::OpenHost(tk, 1, 0, 0, 1000, 700, "Grid", tk::Flag::SystemMenu);
  const int grid = tk::Properties(tk, 10, 10, 10, 300, 600, 0, 1, 80);
  const int count = static_cast<int>(state.range(0));
  for (int i = 0; i < count; ++i)
    tk::AddProperty(tk, grid, -1, kRowKinds[static_cast<size_t>(i) % kRowKinds.size()]);
  tk::Repaint(tk, 0, true);
  tk::Repaint(tk, 1, false);  // caches warm
  for (auto _ : state)
    tk::Repaint(tk, 1, false);
  // Most rows lie below the view and are clipped away; `shown` counts those that are not.
  int elements = 0, shown = 0;
  for (const auto& e : tk.root.Elements) {
    if (!e->Alive) continue;
    ++elements;
    shown += e->Hidden == 0 && e->Clip.w0 > 0 && e->Clip.h0 > 0 ? 1 : 0;
  }
  state.counters["elements"] = elements;
  state.counters["shown"] = shown;
  state.SetItemsProcessed(state.iterations() * elements);
}

}  // namespace

BENCHMARK(BM_BuildPropertyGrid)->Arg(kRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintPropertyGrid)->Arg(kRows)->Unit(benchmark::kMillisecond);
