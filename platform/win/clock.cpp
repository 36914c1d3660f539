#include "platform/win/clock.h"

namespace zandrel::win {

RealClock::RealClock() : start_(std::chrono::steady_clock::now()) {}

std::uint32_t RealClock::Ticks() const {
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  // Truncation to 32 bits is the tick counter's own wrap-around.
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace zandrel::win
