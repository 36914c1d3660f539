// What both players share: the start-up state and the remembered options.
#pragma once

#include <array>
#include <cstdint>

#include "platform/midas/midas.h"

namespace zandrel::midas {

class OptionTable {
 public:
  void Startup() {
    started_ = true;
    values_ = {};
  }
  bool Started() const { return started_; }
  void Close() { started_ = false; }
  // Options are taken between start-up and initialisation; `initialised` says whether
  // the player got that far.
  bool Set(int option, std::uintptr_t value, bool initialised) {
    if (!started_ || initialised || !Known(option)) return false;
    values_[static_cast<std::size_t>(option)] = value;
    return true;
  }
  std::uintptr_t Get(int option) const {
    return option > 0 && option < kOptionCount ? values_[static_cast<std::size_t>(option)] : 0;
  }

 private:
  static bool Known(int option) {
    switch (option) {
      case MIDAS_OPTION_MIXRATE:
      case MIDAS_OPTION_OUTPUTMODE:
      case MIDAS_OPTION_MIXBUFLEN:
      case MIDAS_OPTION_MIXBUFBLOCKS:
      case MIDAS_OPTION_DSOUND_MODE:
      case MIDAS_OPTION_DSOUND_HWND:
      case MIDAS_OPTION_DSOUND_OBJECT:
      case MIDAS_OPTION_FILTER_MODE:
      case MIDAS_OPTION_MIXING_MODE: return true;
      default: return false;
    }
  }

  bool started_ = false;
  std::array<std::uintptr_t, kOptionCount> values_{};
};

}  // namespace zandrel::midas
