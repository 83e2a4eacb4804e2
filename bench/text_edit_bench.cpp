// Cost of typing as a user types: every character is its own native input event, handled and
// repainted before the next one. A 2,000-character line typed into a String, a line doubled
// by pasting until it holds 12,800 characters, and 1,000 characters typed into the middle of
// a 500 KB generated source held by an Editor (with the cost of setting that text).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "core/attributes.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "elements/registry.h"
#include "elements/simple.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"

namespace {

using tk::platform::NativeEvent;
using tk::platform::NativeEventType;
using Clock = std::chrono::steady_clock;

constexpr int kCanvasWidth = 1000, kCanvasHeight = 700;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A host window on a headless canvas. Its elements are made before the first pump, which
// paints the first frame: only painted elements repaint the canvas when they change.
struct Session {
  Session() {
    tk::PrepareToolkit(tk);
    tk::OpenHost(tk, 1, 0, 0, kCanvasWidth, kCanvasHeight, "Typing", tk::Flag::SystemMenu);
  }
  void Type(char32_t c) {
    NativeEvent ev;
    ev.type = NativeEventType::Input;
    ev.ch = c;
    platform.Inject(ev);
    tk::PumpEvents(tk);
  }
  void Stroke(int key, int modifiers) {
    NativeEvent ev;
    ev.type = NativeEventType::KeyDown;
    ev.keyCode = key;
    ev.modifiers = modifiers;
    platform.Inject(ev);
    ev.type = NativeEventType::KeyUp;
    platform.Inject(ev);
    tk::PumpEvents(tk);
  }
  // Gives the element the keyboard with the caret at `caret`, as a click there would.
  void Focus(int id, int caret) {
    tk::PumpEvents(tk);
    tk::ActivateElement(tk, id);
    tk::PumpEvents(tk);
    if (tk::Element* e = tk::FindElement(tk, id)) e->EditCaret = e->EditAnchor = caret;
  }
  tk::platform::HeadlessPlatform platform{kCanvasWidth, kCanvasHeight};
  tk::Toolkit tk{platform};
};

// Letters, digits and blanks in the mix a person types, Cyrillic included.
char32_t TypedCharacter(int i) {
  static constexpr char32_t kCycle[] = U"Typing some text, и немного по-русски 0123456789 ";
  return kCycle[static_cast<size_t>(i) % (std::size(kCycle) - 1)];
}

void BM_TypeIntoString(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  double total = 0;
  for (auto _ : state) {
    Session s;
    const int id = tk::String(s.tk, 10, 20, 20, 400, 24, "", 0);
    s.Focus(id, 0);
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i)
      s.Type(TypedCharacter(i));
    total += MillisecondsSince(start);
    const tk::Element* e = tk::FindElement(s.tk, id);
    if (e == nullptr || e->EditCaret != count || e->CaretWidths.empty())
      state.SkipWithError("the text was not typed and painted");
  }
  state.counters["ms_per_char"] = total / static_cast<double>(state.iterations()) / count;
}

// Select all, copy, go to the end, paste: the text doubles each round.
void BM_PasteDoubling(benchmark::State& state) {
  const int target = static_cast<int>(state.range(0));
  namespace Key = tk::platform::Key;
  namespace Modifier = tk::platform::Modifier;
  for (auto _ : state) {
    Session s;
    const int id = tk::String(s.tk, 10, 20, 20, 400, 24, "", 0);
    s.Focus(id, 0);
    for (int i = 0; i < 50; ++i)
      s.Type(TypedCharacter(i));
    const tk::Element* e = tk::FindElement(s.tk, id);
    while (e != nullptr && e->EditCaret < target) {
      s.Stroke(Key::A, Modifier::Control);
      s.Stroke(Key::A + ('C' - 'A'), Modifier::Control);
      s.Stroke(Key::End, 0);
      s.Stroke(Key::A + ('V' - 'A'), Modifier::Control);
      e = tk::FindElement(s.tk, id);
    }
    if (e == nullptr || e->EditCaret < target) state.SkipWithError("the text did not grow");
  }
}

// Generated PureBasic source of about `bytes` bytes, with CR LF line ends.
std::string GeneratedSource(size_t bytes) {
  std::string text;
  text.reserve(bytes + 128);
  for (int i = 0; text.size() < bytes; ++i) {
    const std::string n = std::to_string(i);
    if (i % 40 == 0) text += "\r\nProcedure Open_Window_" + n + "(x = 0, y = 0)\r\n";
    text += "  ButtonGadget(#Window_0_Button_" + n + ", " + std::to_string(10 + i % 500) +
            ", 120, 100, 25, \"Кнопка " + n + "\")\r\n";
  }
  return text;
}

void BM_TypeIntoLargeEditor(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0)) * 1024;
  constexpr int kTyped = 1000;
  const std::string source = GeneratedSource(bytes);
  double setting = 0, typing = 0;
  for (auto _ : state) {
    Session s;
    const int id = tk::Editor(s.tk, 10, 10, 10, kCanvasWidth - 40, kCanvasHeight - 80, "", 0);
    s.Focus(id, 0);
    Clock::time_point start = Clock::now();
    tk::SetElementText(s.tk, id, source);
    s.Stroke(tk::platform::Key::Home, 0);  // one event handled and repainted with the text
    setting += MillisecondsSince(start);
    int middle = 0;
    for (size_t i = 0; i < source.size() / 2; ++i)
      middle += (static_cast<unsigned char>(source[i]) & 0xC0) != 0x80;
    if (tk::Element* e = tk::FindElement(s.tk, id)) e->EditCaret = e->EditAnchor = middle;
    start = Clock::now();
    for (int i = 0; i < kTyped; ++i)
      s.Type(TypedCharacter(i));
    typing += MillisecondsSince(start);
    const tk::Element* e = tk::FindElement(s.tk, id);
    if (e == nullptr || e->EditCaret != middle + kTyped) state.SkipWithError("not typed");
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["set_ms"] = setting / runs;
  state.counters["ms_per_char"] = typing / runs / kTyped;
}

}  // namespace

BENCHMARK(BM_TypeIntoString)
    ->Arg(50)
    ->Arg(500)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_PasteDoubling)->Arg(12800)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TypeIntoLargeEditor)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(1);
