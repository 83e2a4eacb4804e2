// Starts a program on the current X display and reports how long it took until its first
// top-level window was mapped, and its resident memory a while later, as
//   map_ms=<ms> rss_kb=<kB>
// Used to compare start-up times of GUI programs under the same (otherwise empty) X server.
//   map_timer [--settle MS] -- PROGRAM [ARGS...]
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  int settleMs = 2000;
  int first = 1;
  while (first < argc && std::strcmp(argv[first], "--") != 0) {
    if (std::strcmp(argv[first], "--settle") == 0 && first + 1 < argc) {
      settleMs = std::atoi(argv[first + 1]);
      first += 2;
    } else {
      std::fprintf(stderr, "usage: map_timer [--settle MS] -- PROGRAM [ARGS...]\n");
      return 2;
    }
  }
  if (first + 1 >= argc) {
    std::fprintf(stderr, "usage: map_timer [--settle MS] -- PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "map_timer: no X display\n");
    return 1;
  }
  // Every window mapped on the root from now on is reported to us.
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[first + 1], argv + first + 1);
    std::perror("map_timer: exec");
    _exit(127);
  }
  if (child < 0) {
    std::perror("map_timer: fork");
    return 1;
  }

  double mapMs = -1;
  const int fd = ConnectionNumber(display);
  while (mapMs < 0) {
    while (XPending(display) > 0) {
      XEvent ev;
      XNextEvent(display, &ev);
      if (ev.type == MapNotify) {
        mapMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        break;
      }
    }
    if (mapMs >= 0) break;
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
      std::fprintf(stderr, "map_timer: the program ended before mapping a window\n");
      return 1;
    }
    if (std::chrono::duration<double>(Clock::now() - start).count() > 30) {
      kill(child, SIGKILL);
      std::fprintf(stderr, "map_timer: no window within 30 s\n");
      return 1;
    }
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(fd, &fds);
    timeval wait{0, 2000};
    select(fd + 1, &fds, nullptr, nullptr, &wait);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
  const long rss = ResidentKb(child);
  kill(child, SIGTERM);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  XCloseDisplay(display);
  std::printf("map_ms=%.1f rss_kb=%ld\n", mapMs, rss);
  return 0;
}
