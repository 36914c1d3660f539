#include "audio/wave_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/wave_writer.h"
#include "tests/support/temp_dir.h"

namespace zandrel::audio {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(Bytes& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutTag(Bytes& b, const std::string& tag) { b.insert(b.end(), tag.begin(), tag.end()); }

// A chunk as stored: its id, the size its header claims, then the bytes that follow.
Bytes ChunkOf(const std::string& id, std::uint32_t claimed, const Bytes& body) {
  Bytes b;
  PutTag(b, id);
  Put32(b, claimed);
  b.insert(b.end(), body.begin(), body.end());
  return b;
}
Bytes ChunkOf(const std::string& id, const Bytes& body) {
  Bytes b = ChunkOf(id, static_cast<std::uint32_t>(body.size()), body);
  if (body.size() % 2 != 0) b.push_back(0);
  return b;
}

// The 16 bytes of a format record.
Bytes FormatBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  Bytes b;
  const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
  Put16(b, tag);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * align);
  Put16(b, align);
  Put16(b, bits);
  return b;
}

Bytes Riff(const std::vector<Bytes>& chunks, const std::string& id = "RIFF", const std::string& form = "WAVE") {
  Bytes body;
  PutTag(body, form);
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  return ChunkOf(id, static_cast<std::uint32_t>(body.size()), body);
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Bytes kPcm = FormatBody(1, 1, 22050, 8);
const Bytes kSamples = {1, 2, 3, 4};

TEST(TIWave, DamagedHeadersFailWithTheirMessage) {
  Bytes riffTooSmall = Riff({ChunkOf("fmt ", kPcm), ChunkOf("data", kSamples)});
  riffTooSmall[4] = 4;  // the RIFF chunk ends right behind its form type
  riffTooSmall[5] = riffTooSmall[6] = riffTooSmall[7] = 0;
  Bytes adpcmExtra = FormatBody(2, 1, 22050, 4);
  Put16(adpcmExtra, 10);  // claims 10 extra bytes, 4 follow in the file
  adpcmExtra.insert(adpcmExtra.end(), {9, 9, 9, 9});
  const struct {
    const char* what;
    Bytes bytes;
    const char* message;
  } cases[] = {
      {"empty file", {}, "mmioDescend Failed"},
      {"header cut short", Bytes{'R', 'I', 'F', 'F', 20, 0}, "mmioDescend Failed"},
      {"form type cut short", Bytes{'R', 'I', 'F', 'F', 20, 0, 0, 0, 'W', 'A'}, "mmioDescend Failed"},
      {"not RIFF", Riff({ChunkOf("fmt ", kPcm)}, "RIFX"), "Not a wave file"},
      {"not WAVE", Riff({ChunkOf("fmt ", kPcm)}, "RIFF", "AVI "), "Not a wave file"},
      {"no fmt chunk", Riff({ChunkOf("data", kSamples)}), "Error reading wave file"},
      {"fmt outside the RIFF chunk", riffTooSmall, "Error reading wave file"},
      {"chunk before fmt runs past every offset", Riff({ChunkOf("LIST", 0x7FFFFFF0u, {}), ChunkOf("fmt ", kPcm)}),
       "Error reading wave file"},
      {"fmt of 14 bytes", Riff({ChunkOf("fmt ", Bytes(kPcm.begin(), kPcm.begin() + 14))}), "Not a wave file"},
      {"fmt claims 16, file ends", Riff({ChunkOf("fmt ", 16, Bytes(kPcm.begin(), kPcm.begin() + 10))}),
       "Error reading wave file"},
      {"non-PCM, no extra size", Riff({ChunkOf("fmt ", FormatBody(2, 1, 22050, 4))}), "Error reading wave file"},
      {"non-PCM, extra bytes cut short", Riff({ChunkOf("fmt ", 28, adpcmExtra)}), "Not a wave file"},
      {"fmt size beyond any offset", Riff({ChunkOf("fmt ", 0x7FFFFFF0u, kPcm)}), "Error reading wave file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    base::Expected<TIWave> wave = TIWave::Parse(c.bytes, "X.WAV");
    ASSERT_FALSE(wave);
    EXPECT_EQ(wave.error(), c.message);
  }
}

TEST(TIWave, DamagedSamplesLeaveNeitherFormatNorData) {
  const struct {
    const char* what;
    Bytes bytes;
    const char* failure;
  } cases[] = {
      {"no data chunk", Riff({ChunkOf("fmt ", kPcm)}), "Error reading wave file"},
      {"data past the end", Riff({ChunkOf("fmt ", kPcm), ChunkOf("data", 100, kSamples)}), "Corrupt Wave File"},
      {"data behind the RIFF chunk", Concat(Riff({ChunkOf("fmt ", kPcm)}), ChunkOf("data", kSamples)),
       "Error reading wave file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    base::Expected<TIWave> wave = TIWave::Parse(c.bytes, "X.WAV");
    ASSERT_TRUE(wave) << wave.error();
    EXPECT_EQ(wave->DataFailure, c.failure);
    EXPECT_TRUE(wave->Format.empty());
    EXPECT_TRUE(wave->Data.empty());
    EXPECT_EQ(wave->DataSize, 0u);
    EXPECT_EQ(wave->Channels(), 0);
    EXPECT_EQ(wave->BitsPerSample(), 0);
    EXPECT_FALSE(wave->FormatRecord());
  }
}

TEST(TIWave, ReadsEveryPcmLayout) {
  const std::vector<std::int16_t> samples = {0, 1000, -1000, 32767, -32768, 256, -256, 12};
  for (std::uint16_t channels : {1, 2}) {
    for (std::uint16_t bits : {8, 16}) {
      SCOPED_TRACE(testing::Message() << channels << " channels, " << bits << " bits");
      const Bytes file = EncodeWave(samples, 11025, channels, bits);
      base::Expected<TIWave> wave = TIWave::Parse(file, "S.WAV");
      ASSERT_TRUE(wave) << wave.error();
      EXPECT_EQ(wave->FileName, "S.WAV");
      EXPECT_EQ(wave->Channels(), channels);
      EXPECT_EQ(wave->BitsPerSample(), bits);
      EXPECT_EQ(wave->FormatSize, 18u);
      const dsound::WaveFormat f = *wave->FormatRecord();
      EXPECT_EQ(f.FormatTag, 1);
      EXPECT_EQ(f.SamplesPerSec, 11025u);
      EXPECT_EQ(f.BlockAlign, channels * bits / 8);
      const std::size_t dataSize = samples.size() * bits / 8;
      EXPECT_EQ(wave->DataSize, dataSize);
      EXPECT_EQ(wave->Data, Bytes(file.begin() + 44, file.begin() + 44 + static_cast<std::ptrdiff_t>(dataSize)));
    }
  }
}

TEST(TIWave, FindsChunksInAnyOrderPastOddSizedOnes) {
  const Bytes file = Riff({ChunkOf("data", kSamples), ChunkOf("LIST", Bytes{7, 7, 7}), ChunkOf("fmt ", kPcm)});
  base::Expected<TIWave> wave = TIWave::Parse(file, "X.WAV");
  ASSERT_TRUE(wave) << wave.error();
  EXPECT_EQ(wave->Data, kSamples);
  EXPECT_EQ(wave->BitsPerSample(), 8);
}

TEST(TIWave, PcmReadsNoExtraSizeOtherFormatsReadTheirExtraBytes) {
  // A PCM "fmt " chunk of 18 bytes: the extra-size field is not read but forced to 0.
  Bytes pcm18 = kPcm;
  Put16(pcm18, 5);
  base::Expected<TIWave> pcm = TIWave::Parse(Riff({ChunkOf("fmt ", pcm18), ChunkOf("data", kSamples)}), "P.WAV");
  ASSERT_TRUE(pcm) << pcm.error();
  EXPECT_EQ(pcm->FormatSize, 18u);
  EXPECT_EQ(pcm->Format, Concat(kPcm, Bytes{0, 0}));
  EXPECT_EQ(pcm->Data, kSamples);

  Bytes adpcm = FormatBody(2, 1, 22050, 4);
  Put16(adpcm, 3);
  adpcm.insert(adpcm.end(), {0xA, 0xB, 0xC});
  base::Expected<TIWave> other = TIWave::Parse(Riff({ChunkOf("fmt ", adpcm), ChunkOf("data", kSamples)}), "A.WAV");
  ASSERT_TRUE(other) << other.error();
  EXPECT_EQ(other->FormatSize, 21u);
  EXPECT_EQ(other->Format, adpcm);
  EXPECT_EQ(other->FormatRecord()->FormatTag, 2);
}

TEST(TIWave, ReadsFilesByTheirDataSpelling) {
  test::TempDir dir;
  const Bytes file = EncodeWave(std::vector<std::int16_t>{5, 6}, 22050, 1, 16);
  dir.Write("INTERF/CLIC.WAV", std::string(file.begin(), file.end()));
  base::Expected<TIWave> wave = TIWave::Read("interf\\clic.wav", dir.path());
  ASSERT_TRUE(wave) << wave.error();
  EXPECT_EQ(wave->DataSize, 4u);

  base::Expected<TIWave> missing = TIWave::Read("INTERF/NONE.WAV", dir.path());
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error(), "mmioOpen Failed");
}

}  // namespace
}  // namespace zandrel::audio
