// Code generation cost: the source text for forms of 1, 10 and 100 windows holding 100
// gadgets each, and how the cost grows from one size to the next measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "codegen/generator.h"
#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/creation.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/panel.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "platform/headless/headless_platform.h"

namespace {

using tk::ElementKind;

constexpr int kGadgetsPerWindow = 100;
constexpr int kSurface = 2;

// The designer's arrangement with `windows` form windows on the design surface, each
// holding kGadgetsPerWindow gadgets of mixed kinds; some carry events, tool tips, colours,
// constant names and flag lists, so every section of the text has work to do.
struct Form {
  explicit Form(int windows);
  tk::platform::HeadlessPlatform platform{1280, 800};
  tk::Toolkit tk{platform};
  int gadgets = 0;
};

Form::Form(int windows) {
  tk::PrepareToolkit(tk);
  const int designer = tk::Window(tk, 1, 0, 0, 1200, 760, "Designer", tk::Flag::SystemMenu);
  tk::Panel(tk, kSurface, 0, 0, 1180, 740, 0, designer);
  tk::AddTab(tk, kSurface, -1, "Form");
  tk::AddTab(tk, kSurface, -1, "Code");
  const int icon = platform.Images().Create(7, 16, 16, 32, 0x2E7D32);
  tk::RememberImagePath(tk.root, icon, "icons\\green.png");
  const ElementKind kinds[] = {ElementKind::Button,   ElementKind::Text,  ElementKind::String,
                               ElementKind::CheckBox, ElementKind::Spin,  ElementKind::TrackBar,
                               ElementKind::ListIcon, ElementKind::Image, ElementKind::Option,
                               ElementKind::Date};
  for (int w = 0; w < windows; ++w) {
    const int window = tk::Window(tk, -1, 10 + w, 10 + w, 600, 400, "Form " + std::to_string(w),
                                  tk::Flag::SystemMenu, kSurface);
    tk::AddElementFlag(tk, window, "#PB_Window_SystemMenu");
    if (w % 4 == 0) tk::AddElementEvent(tk, window, "LeftClick");
    for (int g = 0; g < kGadgetsPerWindow; ++g) {
      const ElementKind kind = kinds[g % 10];
      const int x = (g % 10) * 58, y = (g / 10) * 38;
      const std::string text = "Gadget " + std::to_string(g);
      int id = 0;
      switch (kind) {
        case ElementKind::Button:
          id = tk::Button(tk, -1, x, y, 55, 25, text, 0, window);
          break;
        case ElementKind::Text:
          id = tk::Text(tk, -1, x, y, 55, 25, text, 0, window);
          break;
        case ElementKind::String:
          id = tk::String(tk, -1, x, y, 55, 25, text, 0, window);
          break;
        default:
          id = tk::CreateElement(tk, kind, -1, x, y, 55, 25, text,
                                 kind == ElementKind::Image ? icon : 0, 100, 0, 0, window);
          break;
      }
      if (g % 3 == 0) tk::AddElementEvent(tk, id, "LeftClick");
      if (g % 7 == 0) tk::AddElementFlag(tk, id, "#PB_" + tk::KindName(kind) + "_Border");
      if (g % 11 == 0)
        tk::SetElementName(tk, id, "#Named_" + std::to_string(w) + "_" + std::to_string(g));
      if (tk::Element* e = tk::FindElement(tk, id); e != nullptr && g % 13 == 0)
        e->ToolTip = "Tip " + std::to_string(g);
      if (g % 17 == 0) tk::SetElementColor(tk, id, tk::Attribute::FrontColor, 0x00FF00);
      ++gadgets;
    }
  }
}

// The whole text for forms of range(0) windows.
void BM_CodegenFormText(benchmark::State& state) {
  auto form = std::make_unique<Form>(static_cast<int>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = tk::FormCodeText(form->tk, kSurface);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["gadgets"] = form->gadgets;
  state.counters["text_kb"] = static_cast<double>(bytes) / 1024.0;
  state.counters["ns_per_gadget"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * form->gadgets,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetItemsProcessed(state.iterations() * form->gadgets);
}

// Baseline: one pass reading the fields the generator reads from every record, writing
// nothing. The records are large and spread over the heap, so this is the memory floor of
// any walk over a form of that size.
void BM_CodegenReadFieldsBaseline(benchmark::State& state) {
  auto form = std::make_unique<Form>(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    size_t sum = 0;
    for (const auto& rec : form->tk.root.Elements) {
      const tk::Element& e = *rec;
      sum += static_cast<size_t>(e.Alive + e.ParentID + e.TabIndex + e.Image + e.ColorSet +
                                 e.Frame.x0 + e.InWindow.w0 + e.FrameWidth) +
             e.Name.size() + e.Text.size() + e.FlagList.size() + e.EventList.size() +
             e.ToolTip.size();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * form->gadgets);
}

// Milliseconds per generation, over at least `minimum` seconds.
double MillisecondsPerText(Form& form, double minimum = 0.3) {
  using Clock = std::chrono::steady_clock;
  benchmark::DoNotOptimize(tk::FormCodeText(form.tk, kSurface).size());  // warm
  int runs = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    benchmark::DoNotOptimize(tk::FormCodeText(form.tk, kSurface).size());
    ++runs;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < minimum);
  return elapsed * 1000.0 / runs;
}

// Growth in one run: each form has ten times the gadgets of the one before, so a linear
// generator shows ratios near 10 (the text's main-file blocks, one per window listing every
// window, add a little above that at 100 windows).
void BM_CodegenScaling(benchmark::State& state) {
  std::vector<std::unique_ptr<Form>> forms;
  for (int windows : {1, 10, 100})
    forms.push_back(std::make_unique<Form>(windows));
  double ms[3] = {0, 0, 0};
  for (auto _ : state) {
    for (size_t i = 0; i < forms.size(); ++i)
      ms[i] = MillisecondsPerText(*forms[i]);
  }
  state.counters["ms_100"] = ms[0];
  state.counters["ms_1000"] = ms[1];
  state.counters["ms_10000"] = ms[2];
  state.counters["ratio_1000_100"] = ms[1] / ms[0];
  state.counters["ratio_10000_1000"] = ms[2] / ms[1];
}

}  // namespace

BENCHMARK(BM_CodegenFormText)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodegenReadFieldsBaseline)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CodegenScaling)->Iterations(1)->Unit(benchmark::kMillisecond);
