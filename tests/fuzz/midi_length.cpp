// The MIDI file reader that measures a sequence's length.
#include "platform/mci/midi_length.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zandrel::mci::MidiLengthMs(zandrel::fuzz::Bytes(data, size));
  return 0;
}
