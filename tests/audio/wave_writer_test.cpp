#include "audio/wave_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace zandrel::audio {
namespace {

std::string TagAt(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::string(b.begin() + at, b.begin() + at + 4);
}
std::uint32_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return U16At(b, at) | U16At(b, at + 2) << 16;
}

TEST(EncodeWave, WritesTheRiffLayoutFieldByField) {
  struct Case {
    std::vector<std::int16_t> samples;
    std::uint32_t rate;
    std::uint16_t channels, bits;
    std::uint32_t dataSize, blockAlign;
    std::vector<std::uint8_t> data;  // the stored samples, pad byte included
  };
  const Case cases[] = {
      {{0, 1, -2}, 22050, 1, 16, 6, 2, {0x00, 0x00, 0x01, 0x00, 0xFE, 0xFF}},
      {{-32768, 32767, 256, -256}, 44100, 2, 16, 8, 4, {0x00, 0x80, 0xFF, 0x7F, 0x00, 0x01, 0x00, 0xFF}},
      // An odd data length is followed by a pad byte that the chunk size does not count.
      {{-32768, 0, 32767}, 11025, 1, 8, 3, 1, {0x00, 0x80, 0xFF, 0x00}},
      {{-256, 255, 256, 0}, 8000, 2, 8, 4, 2, {0x7F, 0x80, 0x81, 0x80}},
      {{}, 22050, 1, 16, 0, 2, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.bits << " bits, " << c.samples.size()
                                    << " samples");
    const std::vector<std::uint8_t> b = EncodeWave(c.samples, c.rate, c.channels, c.bits);
    ASSERT_EQ(b.size(), 44 + c.data.size());
    EXPECT_EQ(TagAt(b, 0), "RIFF");
    EXPECT_EQ(U32At(b, 4), b.size() - 8);
    EXPECT_EQ(TagAt(b, 8), "WAVE");
    EXPECT_EQ(TagAt(b, 12), "fmt ");
    EXPECT_EQ(U32At(b, 16), 16u);
    EXPECT_EQ(U16At(b, 20), 1u);  // PCM
    EXPECT_EQ(U16At(b, 22), c.channels);
    EXPECT_EQ(U32At(b, 24), c.rate);
    EXPECT_EQ(U32At(b, 28), c.rate * c.blockAlign);
    EXPECT_EQ(U16At(b, 32), c.blockAlign);
    EXPECT_EQ(U16At(b, 34), c.bits);
    EXPECT_EQ(TagAt(b, 36), "data");
    EXPECT_EQ(U32At(b, 40), c.dataSize);
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 44, b.end()), c.data);
  }
}

TEST(EncodeWave, RefusesFormatsItCannotWrite) {
  const std::vector<std::int16_t> three = {1, 2, 3};
  EXPECT_THROW(EncodeWave(three, 22050, 0, 16), std::invalid_argument);
  EXPECT_THROW(EncodeWave(three, 22050, 3, 16), std::invalid_argument);
  EXPECT_THROW(EncodeWave(three, 22050, 1, 12), std::invalid_argument);
  EXPECT_THROW(EncodeWave(three, 22050, 2, 16), std::invalid_argument);  // half a frame
}

}  // namespace
}  // namespace zandrel::audio
