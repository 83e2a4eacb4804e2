// Full-canvas repaint cost: the toolkit's Repaint of a 1280 x 800 window holding N simple
// elements, against the same picture drawn with cairo and pango directly (BM_RawCairo), and
// the toolkit's painter replaying the same calls without the pipeline (BM_PainterReplay).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "bench/raw_replay.h"
#include "core/attributes.h"
#include "core/lookup.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "elements/window.h"
#include "platform/cairo_canvas.h"
#include "platform/headless/headless_platform.h"
#include "render/paint.h"
#include "render/repaint.h"

namespace {

using tk::ElementKind;
using tk::platform::DrawMode;

constexpr int kCanvasWidth = 1280, kCanvasHeight = 800;
// Elements sit in a grid of cells; past one screenful the grid starts again a few pixels
// further, so every element is painted in full whatever N is.
constexpr int kCellWidth = 98, kCellHeight = 26, kMargin = 2;
constexpr int kIconSize = 16;

// A window full of simple elements on a headless canvas, painted once.
struct Scene {
  // buttonsOnly: every element a button (centred texts, each measured on every frame).
  explicit Scene(int count, bool buttonsOnly = false);
  tk::platform::HeadlessPlatform platform{kCanvasWidth, kCanvasHeight};
  tk::Toolkit tk{platform};
  int window = 0;
  int elements = 0;
};

// A 16 x 16 icon with transparent corners, drawn through the image painter.
int MakeIcon(tk::platform::Platform& platform) {
  int icon = platform.Images().Create(tk::platform::ImageStore::kAny, kIconSize, kIconSize, 32, -1);
  if (tk::platform::Painter* p = platform.BeginImageDrawing(icon)) {
    p->SetMode(DrawMode::Default);
    p->RoundBox(0, 0, kIconSize, kIconSize, 4, 4, 0x2E7D32);
    p->Circle(7, 7, 4, 0xFFFFFF);
    platform.EndImageDrawing();
  }
  return icon;
}

Scene::Scene(int count, bool buttonsOnly) {
  tk::PrepareToolkit(tk);
  window = tk::Window(tk, 1, 0, 0, kCanvasWidth, kCanvasHeight, "Repaint", tk::Flag::SystemMenu);
  const tk::Element* w = tk::FindElement(tk, window);
  if (w == nullptr) return;
  const int icon = MakeIcon(platform);
  const int columns = std::max(1, w->Inner.w0 / kCellWidth);
  const int rows = std::max(1, (w->Inner.h0 - 8) / kCellHeight);
  // Two in three elements cycle through the other simple kinds; every third is a button.
  const ElementKind others[] = {ElementKind::Text,   ElementKind::String, ElementKind::CheckBox,
                                ElementKind::Option, ElementKind::Frame,  ElementKind::Container};
  for (int i = 0; i < count; ++i) {
    const int layer = i / (columns * rows), cell = i % (columns * rows);
    const int x = (cell % columns) * kCellWidth + kMargin + (layer % 8) * 3;
    const int y = (cell / columns) * kCellHeight + kMargin + (layer % 8) * 2;
    const int width = kCellWidth - 2 * kMargin, height = kCellHeight - 2 * kMargin;
    const std::string text = (i % 2 ? "Кнопка " : "Button ") + std::to_string(i);
    const ElementKind kind =
        i % 3 == 0 || buttonsOnly ? ElementKind::Button : others[(i - i / 3 - 1) % 6];
    int id = -1;
    switch (kind) {
      case ElementKind::Button:
        id = tk::Button(tk, -1, x, y, width, height, text, 0, window);
        break;
      case ElementKind::Text:
        id = tk::Text(tk, -1, x, y, width, height, text, 0, window);
        break;
      case ElementKind::String:
        id = tk::String(tk, -1, x, y, width, height, text, 0, window);
        break;
      case ElementKind::CheckBox:
        id = tk::CheckBox(tk, -1, x, y, width, height, text, 0, window);
        break;
      case ElementKind::Option:
        id = tk::Option(tk, -1, x, y, width, height, text, 0, window);
        break;
      case ElementKind::Frame:
        id = tk::Frame(tk, -1, x, y, width, height, text, 0, window);
        break;
      default:
        id = tk::Container(tk, -1, x, y, width, height, 0, window);
        break;
    }
    if (i % 10 == 0) tk::SetElementImage(tk, id, icon);
    // Half the buttons have rounded corners.
    if (tk::Element* e = tk::FindElement(tk, id); e && kind == ElementKind::Button && i % 2)
      e->Radius = 3;
    ++elements;
  }
  tk::Repaint(tk, 0, true);
}

// The painter calls of one frame, as Repaint makes them.
std::vector<bench::PaintCall> RecordFrame(Scene& scene) {
  bench::RecordingPainter recorder(scene.platform, kCanvasWidth, kCanvasHeight);
  tk::Root& root = scene.tk.root;
  const tk::Element* w = tk::FindElement(scene.tk, scene.window);
  recorder.SetOrigin(0, 0);
  recorder.SetFont(w && w->FontID != 0 ? w->FontID : scene.platform.Fonts().Default());
  recorder.SetMode(DrawMode::Default);
  recorder.Box(0, 0, kCanvasWidth, kCanvasHeight, root.DesktopColor);
  tk::PaintAll(scene.tk, recorder);
  return std::move(recorder.calls);
}

int PixelsDiffering(tk::platform::HeadlessPlatform& platform, cairo_surface_t* raw) {
  const uint8_t* data = cairo_image_surface_get_data(raw);
  const int stride = cairo_image_surface_get_stride(raw);
  int differing = 0;
  for (int y = 0; y < kCanvasHeight; ++y)
    for (int x = 0; x < kCanvasWidth; ++x) {
      const uint32_t pixel = reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
      differing += pixel != platform.CanvasPixel(x, y) ? 1 : 0;
    }
  return differing;
}

// Milliseconds per call of `frame`, over at least `minimum` seconds.
template <typename Frame>
double MillisecondsPerFrame(Frame frame, double minimum = 0.3) {
  using Clock = std::chrono::steady_clock;
  frame();  // warm
  int frames = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    frame();
    ++frames;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < minimum);
  return elapsed * 1000.0 / frames;
}

// The toolkit's full repaint. Counters: raw_ms is the direct drawing of the same picture timed
// in the same run, ratio the toolkit's time over it, diff_px the pixels in which the two
// pictures differ.
void RunToolkitRepaint(benchmark::State& state, bool buttonsOnly) {
  auto scene = std::make_unique<Scene>(static_cast<int>(state.range(0)), buttonsOnly);
  tk::Repaint(scene->tk, scene->window, false);  // caches warm
  using Clock = std::chrono::steady_clock;
  double spent = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    tk::Repaint(scene->tk, scene->window, false);
    spent += std::chrono::duration<double>(Clock::now() - start).count();
  }
  const double toolkitMs = spent * 1000.0 / static_cast<double>(state.iterations());

  bench::RawPicture raw(scene->platform, RecordFrame(*scene), kCanvasWidth, kCanvasHeight);
  const double rawMs = MillisecondsPerFrame([&] { raw.Draw(); });
  state.counters["raw_ms"] = rawMs;
  state.counters["ratio"] = toolkitMs / rawMs;
  state.counters["diff_px"] = PixelsDiffering(scene->platform, raw.Surface());
  state.counters["elements"] = scene->elements;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ToolkitRepaint(benchmark::State& state) {
  RunToolkitRepaint(state, false);
}

// Only buttons: every text centred, so every one is measured again on every frame.
void BM_ToolkitRepaintButtons(benchmark::State& state) {
  RunToolkitRepaint(state, true);
}

// The same picture straight with cairo and pango: the baseline.
void BM_RawCairo(benchmark::State& state) {
  auto scene = std::make_unique<Scene>(static_cast<int>(state.range(0)));
  bench::RawPicture raw(scene->platform, RecordFrame(*scene), kCanvasWidth, kCanvasHeight);
  raw.Draw();
  for (auto _ : state)
    raw.Draw();
  state.counters["ops"] = static_cast<double>(raw.OpCount());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A stricter baseline: texts too pre-rendered once and blitted, as the toolkit's painter does.
void BM_RawCairoTextPictures(benchmark::State& state) {
  auto scene = std::make_unique<Scene>(static_cast<int>(state.range(0)));
  bench::RawPicture raw(scene->platform, RecordFrame(*scene), kCanvasWidth, kCanvasHeight, true);
  raw.Draw();
  for (auto _ : state)
    raw.Draw();
  state.counters["diff_px"] = PixelsDiffering(scene->platform, raw.Surface());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The toolkit's painter (with its caches) drawing the recorded calls, without the pipeline
// that decides them: the difference to BM_ToolkitRepaint is the pipeline's own cost.
void BM_PainterReplay(benchmark::State& state) {
  auto scene = std::make_unique<Scene>(static_cast<int>(state.range(0)));
  const std::vector<bench::PaintCall> calls = RecordFrame(*scene);
  auto frame = [&] {
    if (tk::platform::Painter* p = scene->platform.BeginDrawing()) {
      bench::ReplayCalls(calls, *p);
      scene->platform.EndDrawing();
    }
  };
  frame();
  for (auto _ : state)
    frame();
  state.counters["calls"] = static_cast<double>(calls.size());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The painter with its caches switched off, for the caches' share.
void BM_PainterReplayUncached(benchmark::State& state) {
  auto scene = std::make_unique<Scene>(static_cast<int>(state.range(0)));
  const std::vector<bench::PaintCall> calls = RecordFrame(*scene);
  auto frame = [&] {
    if (auto* p = static_cast<tk::platform::CairoPainter*>(scene->platform.BeginDrawing())) {
      p->SetCaching(false);
      bench::ReplayCalls(calls, *p);
      scene->platform.EndDrawing();
    }
  };
  frame();
  for (auto _ : state)
    frame();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_RawCairo)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawCairoTextPictures)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PainterReplay)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(3000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PainterReplayUncached)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolkitRepaintButtons)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolkitRepaint)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(3000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
