// Turning the designer's main panel to its Code page with a form of 1,000 gadgets: the page
// handler writes the whole source into the code editor at every switch.
#include <benchmark/benchmark.h>

#include <string>

#include "codegen/generator.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/lookup.h"
#include "designer/designer.h"
#include "designer/icon_archives.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"

namespace {

using tk::ElementKind;
namespace designer = tk::designer;

constexpr int kGadgets = 1000;
constexpr int kFormPage = 0, kCodePage = 1;

// The started designer with kGadgets gadgets of mixed kinds on its first form window, some
// of them carrying events and flag lists so every section of the source has work to do.
struct Session {
  Session() {
    tk::PrepareToolkit(tk);
    ready = designer::StartDesigner(tk, d).window > 0;
    if (!ready) return;
    const int form = tk.root.DesignedElement;
    tk::ResizeElementById(tk, form, tk::kIgnore, tk::kIgnore, 1000, 800);
    const ElementKind kinds[] = {ElementKind::Button,   ElementKind::String, ElementKind::Text,
                                 ElementKind::CheckBox, ElementKind::Option, ElementKind::Spin,
                                 ElementKind::ComboBox, ElementKind::Date,   ElementKind::TrackBar,
                                 ElementKind::ListView};
    for (int g = 0; g < kGadgets; ++g) {
      tk.root.Selection = {(g % 20) * 45, (g / 20) * 15, 40, 10, 0};
      const int id = designer::CreateDesignElement(tk, d, kinds[g % 10], form, 0, 0);
      if (tk::Element* e = tk::FindElement(tk, id); e != nullptr && g % 7 == 0) {
        e->EventList = "LeftClick";
        e->ToolTip = "Gadget " + std::to_string(g);
      }
    }
  }

  tk::platform::HeadlessPlatform platform{1280, 1024};
  designer::IconArchives archives{platform.Images(),
                                  designer::IconArchives::DefaultFolders(nullptr)};
  designer::Designer d{archives};
  tk::Toolkit tk{platform};
  bool ready = false;
};

void BM_SwitchToCodePage(benchmark::State& state) {
  Session s;
  if (!s.ready) {
    state.SkipWithError("the designer did not start (icon archives missing?)");
    return;
  }
  size_t length = 0;
  for (auto _ : state) {
    state.PauseTiming();
    tk::SetElementState(s.tk, s.d.mainPanel, kFormPage);
    tk::SetElementText(s.tk, s.d.codeElement, "");
    state.ResumeTiming();
    tk::SetElementState(s.tk, s.d.mainPanel, kCodePage);
    length = tk::GetElementText(s.tk, s.d.codeElement).size();
    benchmark::DoNotOptimize(length);
  }
  if (length == 0) state.SkipWithError("the Code page stayed empty");
  state.counters["gadgets"] = kGadgets;
  state.counters["code_bytes"] = static_cast<double>(length);
}
BENCHMARK(BM_SwitchToCodePage)->Unit(benchmark::kMillisecond);

}  // namespace
