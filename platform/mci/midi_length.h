// The playing time of a Standard MIDI File, read from its tempo map.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace zandrel::mci {

// Milliseconds from the start to the last event of the longest track, with every tempo
// change of every track applied from its tick on (120 beats a minute before the first);
// time-code divisions count frames instead. Empty when the header is not a MIDI header.
// A damaged track counts up to the last event read whole.
std::optional<std::uint32_t> MidiLengthMs(std::span<const std::uint8_t> file);

}  // namespace zandrel::mci
