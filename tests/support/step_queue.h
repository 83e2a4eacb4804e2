// What a test's user does next inside an event loop that a command opens (a requester's):
// queued steps that the headless platform plays, one per wait for an event.
#pragma once

#include <deque>
#include <functional>
#include <utility>

#include "platform/headless/headless_platform.h"

namespace tk::testing {

class StepQueue {
 public:
  // Plays the queued steps on `platform` until Detach.
  void Attach(platform::HeadlessPlatform& platform) {
    platform.SetFeeder([this] {
      if (steps_.empty()) return false;
      auto step = std::move(steps_.front());
      steps_.pop_front();
      step();
      return true;
    });
  }
  static void Detach(platform::HeadlessPlatform& platform) { platform.SetFeeder(nullptr); }

  void Then(std::function<void()> step) { steps_.push_back(std::move(step)); }
  void Clear() { steps_.clear(); }
  bool Empty() const { return steps_.empty(); }

 private:
  std::deque<std::function<void()>> steps_;
};

}  // namespace tk::testing
