// The wave file reader.
#include "audio/wave_file.h"
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zandrel;
  base::Expected<audio::TIWave> wave = audio::TIWave::Parse(fuzz::Bytes(data, size), "SOUNDS\\FUZZ.WAV");
  if (wave) {
    wave->Channels();
    wave->BitsPerSample();
    wave->FormatRecord();
  }
  return 0;
}
