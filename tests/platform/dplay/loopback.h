// Sessions on the loopback network for the tests. Every test has a network of its own,
// 127.<suite>.<test>.0/24, and ports of its own above the ephemeral range, so that tests
// running at the same time (ctest -j) never hear each other; nothing is ever sent off
// this machine.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "platform/dplay/dplay.h"

namespace zandrel::dplay::loopback {

// Address n of a test's own network.
inline std::string LoopbackAddress(int suite, int test, int n = 1) {
  return "127." + std::to_string(suite) + "." + std::to_string(test) + "." + std::to_string(n);
}

// A host of the test's network at address n, found by discovery there, with short waits.
inline Settings LoopbackSettings(int suite, int test, int n = 1) {
  Settings settings;
  settings.port = static_cast<std::uint16_t>(61000 + (suite % 10) * 400 + test * 2);
  settings.bindAddress = LoopbackAddress(suite, test, n);
  settings.discoveryAddresses = {settings.bindAddress};
  settings.connectTimeoutMs = 2000;
  return settings;
}

// Runs `work` over and over on a thread of its own until destroyed: it services the other
// machines of a session while the test's thread waits in a blocking call. The test reads
// what `work` touches only once the pump has stopped.
class Pump {
 public:
  explicit Pump(std::function<void()> work)
      : thread_([this, work = std::move(work)] {
          while (!stop_.load()) {
            work();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
        }) {}
  ~Pump() {
    stop_ = true;
    thread_.join();
  }
  Pump(const Pump&) = delete;
  Pump& operator=(const Pump&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Calls `step` every millisecond until `done` answers true; false after `timeoutMs`.
inline bool StepUntil(const std::function<void()>& step, const std::function<bool()>& done,
                      std::uint32_t timeoutMs = 3000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    step();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace zandrel::dplay::loopback
