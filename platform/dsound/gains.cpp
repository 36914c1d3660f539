#include <algorithm>
#include <cmath>

#include "platform/dsound/dsound.h"

namespace zandrel::dsound {
namespace {

double Amplitude(std::int32_t hundredths) { return std::pow(10.0, hundredths / 2000.0); }

std::uint8_t Scaled(std::int32_t hundredths, int full) {
  const std::int32_t clamped = std::clamp(hundredths, kVolumeMin, kVolumeMax);
  return static_cast<std::uint8_t>(std::lround(full * Amplitude(clamped)));
}

}  // namespace

std::uint8_t MixerVolume(std::int32_t hundredths) { return Scaled(hundredths, 128); }

PanGains MixerPanning(std::int32_t pan) {
  // A pan to the right lowers the left side by `pan` hundredths of a decibel, and the
  // other way round; the nearer side stays at full level.
  PanGains gains;
  if (pan > 0) gains.Left = Scaled(-pan, 255);
  if (pan < 0) gains.Right = Scaled(pan, 255);
  return gains;
}

}  // namespace zandrel::dsound
