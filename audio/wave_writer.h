// Writing RIFF WAVE files: a "RIFF" chunk of form "WAVE" holding a 16-byte PCM "fmt " chunk
// followed by one "data" chunk, the layout the sound loader reads.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zandrel::audio {

// The bytes of a PCM wave file. `samples` are interleaved frames (channel 0 first), given at
// 16-bit precision whatever the stored width: with 8 bits each is stored as its upper byte made
// unsigned. Channels must be 1 or 2, bits 8 or 16, and the sample count a whole number of
// frames; anything else, or a file beyond the 32-bit sizes of RIFF, throws
// std::invalid_argument (a fault of the caller, not of data).
std::vector<std::uint8_t> EncodeWave(std::span<const std::int16_t> samples, std::uint32_t sampleRate,
                                     std::uint16_t channels, std::uint16_t bits);

}  // namespace zandrel::audio
