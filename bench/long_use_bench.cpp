// A day of editing in one run: 10,000 create, move and delete edits on a headless designer,
// first building a form of 1,000 elements and then keeping it at that size. Reports the
// resident memory once the form is built and at the end (the goal: flat, no growth beyond the
// form's own size) and the slowest frame at 1,000 elements (the goal: under 16 ms), where a
// frame is one edit and the full repaint the event loop would do after it.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "core/coords.h"
#include "core/lookup.h"
#include "core/tree.h"
#include "designer/designer.h"
#include "designer/icon_archives.h"
#include "designer/script.h"
#include "elements/registry.h"
#include "platform/headless/headless_platform.h"
#include "render/host.h"
#include "render/interaction.h"
#include "render/repaint.h"

namespace {

using Clock = std::chrono::steady_clock;
using tk::ElementKind;

double ResidentMegabytes() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1048576.0;
}

double ThreadCpuMilliseconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The elements the user placed: named, alive, and below the Form page.
std::vector<int> FormElements(tk::Toolkit& tk, int form) {
  std::vector<int> ids;
  for (const auto& e : tk.root.Elements)
    if (e->Alive && e->Named == 1 && e->ID != form && e->WindowID == form) ids.push_back(e->ID);
  return ids;
}

// The form windows besides the first one.
std::vector<int> OtherWindows(tk::Toolkit& tk, const tk::designer::Designer& d, int form) {
  std::vector<int> ids;
  for (const auto& e : tk.root.Elements)
    if (e->Alive && e->Named == 1 && e->Kind == ElementKind::Window && e->ParentID == d.mainPanel &&
        e->ID != form)
      ids.push_back(e->ID);
  return ids;
}

void BM_LongUse(benchmark::State& state) {
  const int kEdits = static_cast<int>(state.range(0));
  const int kFormSize = static_cast<int>(state.range(1));
  tk::platform::HeadlessPlatform platform(1280, 1024);
  tk::designer::IconArchives archives(platform.Images(),
                                      tk::designer::IconArchives::DefaultFolders(nullptr));
  tk::designer::Designer d(archives);
  tk::Toolkit tk(platform);
  tk::PrepareToolkit(tk);
  if (tk::designer::StartDesigner(tk, d).window <= 0) {
    state.SkipWithError("the icon archives were not found beside the program");
    return;
  }
  const int form = tk.root.DesignedElement;
  tk::ResizeElementById(tk, form, 10, 10, 570, 470, tk::CoordMode::Parent);
  if (!tk::designer::StartSession(tk, d.window)) {
    state.SkipWithError("the designer ended at start");
    return;
  }
  auto inject = [&](tk::platform::NativeEventType type, int x, int y, int key = 0,
                    int modifiers = 0) {
    tk::platform::NativeEvent ev;
    ev.type = type;
    ev.x = x;
    ev.y = y;
    ev.keyCode = key;
    ev.modifiers = modifiers;
    platform.Inject(ev);
    tk::PumpEvents(tk);
  };
  // A click on the bare form gives it the keyboard, which then moves what is selected on it.
  if (const tk::Element* f = tk::FindElement(tk, form)) {
    const int x = f->Inner.x0 + f->Inner.w0 - 3, y = f->Inner.y0 + f->Inner.h0 - 3;
    inject(tk::platform::NativeEventType::MouseMove, x, y);
    inject(tk::platform::NativeEventType::LeftButtonDown, x, y);
    inject(tk::platform::NativeEventType::LeftButtonUp, x, y);
  }

  static constexpr ElementKind kGadgets[] = {
      ElementKind::Button,   ElementKind::String,   ElementKind::Text,     ElementKind::CheckBox,
      ElementKind::Option,   ElementKind::ComboBox, ElementKind::ListView, ElementKind::Spin,
      ElementKind::TrackBar, ElementKind::Editor,   ElementKind::Date,     ElementKind::Frame};
  static constexpr ElementKind kHolders[] = {ElementKind::Container, ElementKind::Panel,
                                             ElementKind::ScrollArea};
  std::mt19937 random(5);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

  auto create = [&]() -> int {
    const int roll = pick(100);
    ElementKind kind = kGadgets[pick(std::size(kGadgets))];
    int parent = form;
    if (roll < 2) {
      kind = ElementKind::Window;
      parent = d.mainPanel;
    } else if (roll < 10) {
      kind = kHolders[pick(std::size(kHolders))];
    } else if (roll < 25) {
      // Inside one of the form's containers, when it has one.
      std::vector<int> holders;
      for (const auto& e : tk.root.Elements)
        if (e->Alive && e->Named == 1 && e->WindowID == form && e->ID != form &&
            (e->Kind == ElementKind::Container || e->Kind == ElementKind::ScrollArea))
          holders.push_back(e->ID);
      if (!holders.empty()) parent = holders[pick(static_cast<int>(holders.size()))];
    }
    const int w = 20 + 5 * pick(20), h = 10 + 5 * pick(6);
    tk.root.Selection = {5 * pick(100), 5 * pick(80), w, h, 0};
    return tk::designer::CreateDesignElement(tk, d, kind, parent, 0, 0);
  };
  double slowest = 0, total = 0, before = 0;
  int frames = 0, moved = 0, creates = 0, deletes = 0, moves = 0, over = 0;
  double slowestOf[3] = {0, 0, 0};  // create, move, delete
  double slowestCpu = 0;            // the frame's own processor time, without waits for it
  int overCpu = 0;
  bool built = false;
  // One frame: what `work` does, and the repaint the loop would do after it when the work
  // itself did not repaint (a native event handled by the loop repaints on its own).
  auto frame = [&](int kind, auto&& work) {
    const int presents = platform.PresentCount();
    const auto start = Clock::now();
    const double cpuStart = ThreadCpuMilliseconds();
    work();
    if (platform.PresentCount() == presents) tk::Repaint(tk, d.window, false);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const double cpu = ThreadCpuMilliseconds() - cpuStart;
    if (!built) return;
    slowestCpu = std::max(slowestCpu, cpu);
    overCpu += cpu > 16.0 ? 1 : 0;
    slowest = std::max(slowest, ms);
    slowestOf[kind] = std::max(slowestOf[kind], ms);
    over += ms > 16.0 ? 1 : 0;
    total += ms;
    ++frames;
  };
  // A move is Control and an arrow key on the selected element: the key going down moves it,
  // going up ends the key; each is one frame.
  auto move = [&](int id) {
    tk.root.DesignedElement = id;
    tk::SelectElement(tk, id, true);
    static constexpr int kArrows[] = {tk::platform::Key::Left, tk::platform::Key::Right,
                                      tk::platform::Key::Up, tk::platform::Key::Down};
    const int key = kArrows[pick(4)];
    for (const auto type :
         {tk::platform::NativeEventType::KeyDown, tk::platform::NativeEventType::KeyUp})
      frame(1, [&] { inject(type, 0, 0, key, tk::platform::Modifier::Control); });
  };
  auto remove = [&](int id) {
    tk.root.DesignedElement = id;
    tk::SelectElement(tk, id, true);
    frame(2, [&] { tk::designer::RunCommand(tk, d, tk::designer::Command::Delete); });
  };

  for (auto _ : state) {
    for (int edit = 0; edit < kEdits; ++edit) {
      built = edit >= kFormSize;
      if (edit == kFormSize) before = ResidentMegabytes();
      const std::vector<int> elements = FormElements(tk, form);
      const int count = static_cast<int>(elements.size());
      if (!built || (count < kFormSize && pick(3) != 0)) {
        frame(0, create);
        ++creates;
      } else if (pick(2) == 0 && count > 0) {
        const int id = elements[pick(count)];
        const tk::Element* e = tk::FindElement(tk, id);
        const int x = e != nullptr ? e->Frame.x0 : 0, y = e != nullptr ? e->Frame.y0 : 0;
        move(id);
        e = tk::FindElement(tk, id);
        if (e != nullptr && (e->Frame.x0 != x || e->Frame.y0 != y)) ++moved;
        ++moves;
      } else {
        // A second form window goes now and then as well; otherwise one of the form's.
        const std::vector<int> windows = OtherWindows(tk, d, form);
        if (!windows.empty() && pick(4) == 0)
          remove(windows[pick(static_cast<int>(windows.size()))]);
        else if (count > 0)
          remove(elements[pick(count)]);
        ++deletes;
      }
    }
  }
  const double after = ResidentMegabytes();
  state.counters["rss_before_MB"] = before;
  state.counters["rss_after_MB"] = after;
  state.counters["rss_growth_per_1000_edits_MB"] = (after - before) * 1000.0 / (kEdits - kFormSize);
  state.counters["slowest_frame_ms"] = slowest;
  state.counters["slowest_create_ms"] = slowestOf[0];
  state.counters["slowest_move_ms"] = slowestOf[1];
  state.counters["slowest_delete_ms"] = slowestOf[2];
  state.counters["frames_over_16ms"] = over;
  state.counters["frames"] = frames;
  state.counters["slowest_frame_cpu_ms"] = slowestCpu;
  state.counters["frames_over_16ms_cpu"] = overCpu;
  state.counters["mean_frame_ms"] = frames > 0 ? total / frames : 0;
  state.counters["elements_end"] = static_cast<double>(FormElements(tk, form).size());
  state.counters["creates"] = creates;
  state.counters["moves"] = moves;
  state.counters["moves_that_moved"] = moved;
  state.counters["deletes"] = deletes;
}

}  // namespace

BENCHMARK(BM_LongUse)->Args({10000, 1000})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LongUse)->Args({300, 100})->Unit(benchmark::kMillisecond)->Iterations(1);
