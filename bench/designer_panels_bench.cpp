// Selecting an element on a large form: the design selection moves to it and the property
// grid, the Flag row and the Elements row are filled from it, on a form of 1,000 gadgets
// listed in the Elements row.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "codegen/vocabulary.h"
#include "core/attributes.h"
#include "core/coords.h"
#include "core/items.h"
#include "core/lookup.h"
#include "designer/designer.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "render/interaction.h"

namespace {

using tk::ElementKind;

constexpr int kGadgets = 1000;

struct LargeForm {
  LargeForm();
  tk::platform::HeadlessPlatform platform{1280, 1024};
  tk::designer::IconArchives archives{platform.Images(),
                                      tk::designer::IconArchives::DefaultFolders("")};
  tk::designer::Designer designer{archives};
  tk::Toolkit tk{platform};
  std::vector<int> gadgets;
  bool ready = false;
};

LargeForm::LargeForm() {
  tk::PrepareToolkit(tk);
  if (tk::designer::StartDesigner(tk, designer, 1200, 900).window <= 0) return;
  const int form = tk.root.DesignedElement;
  tk::ResizeElementById(tk, form, 10, 10, 1000, 800);
  const ElementKind kinds[] = {ElementKind::Button,   ElementKind::String, ElementKind::Text,
                               ElementKind::CheckBox, ElementKind::Option, ElementKind::Spin,
                               ElementKind::TrackBar, ElementKind::Date};
  const int elementsRow = designer.rows.elements;
  for (int g = 0; g < kGadgets; ++g) {
    const int id = tk::designer::CreateDesignElement(tk, designer, kinds[g % 8], form, 0, 0);
    if (id <= 0) return;
    tk::ResizeElementById(tk, id, (g % 20) * 48, (g / 20) * 15, 45, 14);
    if (g % 7 == 0) tk::AddElementFlag(tk, id, "#PB_Button_Toggle");
    if (g % 5 == 0) tk::AddElementEvent(tk, id, "LeftClick");
    // The Elements row lists every element, as the form editing keeps it.
    const int option = tk::AddElementItem(tk, elementsRow, -1, tk::GetElementName(tk, id));
    tk::SetItemData(tk, elementsRow, option, id);
    gadgets.push_back(id);
  }
  // Painted once, as on screen: from now on whatever asks for a repaint pays for it.
  ready = tk::designer::StartSession(tk, designer.window);
}

// One selection: a press on another gadget of the form, as the form editing reports it.
void BM_DesignerSelectFillsPanels(benchmark::State& state) {
  auto form = std::make_unique<LargeForm>();
  if (!form->ready) {
    state.SkipWithError("the designer could not start (icon archives missing?)");
    return;
  }
  tk::Toolkit& tk = form->tk;
  size_t next = 0;
  for (auto _ : state) {
    // Far-apart gadgets of different kinds, so every row really changes.
    next = (next + 337) % form->gadgets.size();
    const int id = form->gadgets[next];
    tk.root.DesignedElement = id;
    tk::SelectElement(tk, id, true);
    tk::designer::FillPanelsFromElement(tk, form->designer, id, tk::ElementEvent::LeftButtonDown);
    benchmark::DoNotOptimize(tk::GetElementState(tk, form->designer.rows.x));
  }
  state.counters["gadgets"] = static_cast<double>(form->gadgets.size());
}

}  // namespace

BENCHMARK(BM_DesignerSelectFillsPanels)->Unit(benchmark::kMicrosecond);
