// The one time source: milliseconds, like the system tick counter (wraps after 2^32 ms).
#pragma once

#include <chrono>
#include <cstdint>

namespace zandrel::win {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; only differences are meaningful.
  virtual std::uint32_t Ticks() const = 0;
};

// Wall time from a monotonic source.
class RealClock final : public Clock {
 public:
  RealClock();
  std::uint32_t Ticks() const override;

 private:
  std::chrono::steady_clock::time_point start_;
};

// Time that only moves when told to: tests and headless runs step it by hand.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(std::uint32_t start = 0) : now_(start) {}
  std::uint32_t Ticks() const override { return now_; }
  void Advance(std::uint32_t ms) { now_ += ms; }
  void Set(std::uint32_t ms) { now_ = ms; }

 private:
  std::uint32_t now_;
};

}  // namespace zandrel::win
