#include "engine/pcx.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/pcx_writer.h"
#include "tests/support/temp_dir.h"

namespace zandrel::engine {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); }

// A palette whose bytes would show up as 0x77 pixels if the decoder ever took them for
// run data.
test::PcxPalette MarkerPalette() {
  test::PcxPalette palette;
  palette.fill(0x77);
  return palette;
}

std::size_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at) { return bytes[at] | (bytes[at + 1] << 8); }

std::vector<std::uint8_t> WidestRun() {
  std::vector<std::uint8_t> pixels(64, 4);
  pixels[63] = 0;
  return pixels;
}

TEST(Pcx, DecodesRunLengthData) {
  struct Case {
    const char* name;
    int xmax, ymax;
    std::string runs;
    std::vector<std::uint8_t> expected;
  };
  const Case cases[] = {
      {"single bytes", 1, 1, "\x01\x02\x03\x04", {1, 2, 3, 4}},
      {"a run", 1, 1, "\xC3\x05\x07", {5, 5, 5, 7}},
      {"a run of a byte above 191", 1, 1, std::string("\xC2\xC8\xC1\xFF\x03"), {200, 200, 255, 3}},
      {"a count of 0 writes nothing but uses both bytes", 1, 1, std::string("\xC0\x09\x01\x02\x03\x04"), {1, 2, 3, 4}},
      {"the excess of a run is dropped", 1, 1, "\x01\xC5\x08", {1, 8, 8, 8}},
      {"decoding stops once the image is full", 0, 0, "\x05\x06\x07", {5}},
      {"pixels the data does not reach stay 0", 1, 1, "\x01\x02", {1, 2, 0, 0}},
      {"no pixel data at all", 1, 0, "", {0, 0}},
      {"a run cut off by the palette", 1, 1, "\x01\xC3", {1, 0, 0, 0}},
      {"the widest run is 63 pixels", 63, 0, "\xFF\x04", WidestRun()},
  };
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> file = Bytes(test::PcxFile(c.xmax, c.ymax, c.runs, MarkerPalette()));
    const base::Expected<PcxImage> image = DecodePcx(file, "T.PCX");
    ASSERT_TRUE(image.ok()) << c.name;
    EXPECT_EQ(image->Width, c.xmax + 1) << c.name;
    EXPECT_EQ(image->Height, c.ymax + 1) << c.name;
    EXPECT_EQ(image->Indices, c.expected) << c.name;
  }
}

TEST(Pcx, RoundTripsAnEncodedImageAndTakesThePaletteFromTheEnd) {
  std::vector<std::uint8_t> indices;
  for (int i = 0; i < 7 * 5; ++i) indices.push_back(static_cast<std::uint8_t>(i < 20 ? 200 : i * 7));
  const test::PcxPalette palette = test::RampPalette();
  const std::vector<std::uint8_t> file = Bytes(test::EncodePcx(7, 5, indices, palette));
  const base::Expected<PcxImage> image = DecodePcx(file, "T.PCX");
  ASSERT_TRUE(image.ok());
  EXPECT_EQ(image->Width, 7);
  EXPECT_EQ(image->Height, 5);
  EXPECT_EQ(image->Indices, indices);
  EXPECT_EQ(image->Palette, palette);
}

// What a reader that decodes line by line does with an encoded file: each scan line of
// bytes-per-line bytes from its own runs, a run never reaching into the next line.
struct LineByLine {
  bool Ok = false;
  std::string Fault;
  std::vector<std::uint8_t> Indices;
};
LineByLine DecodeLineByLine(const std::vector<std::uint8_t>& file) {
  LineByLine result;
  const std::size_t width = Word(file, 8) + 1, height = Word(file, 10) + 1, stride = Word(file, 66);
  if (stride != width) {
    result.Fault = "bytes per line " + std::to_string(stride) + " for " + std::to_string(width) + " pixels";
    return result;
  }
  const std::size_t paletteAt = file.size() - 769;
  std::size_t at = 128;
  for (std::size_t y = 0; y < height; ++y) {
    std::size_t filled = 0;
    while (filled < stride) {
      if (at >= paletteAt) {
        result.Fault = "line " + std::to_string(y) + " runs into the palette";
        return result;
      }
      std::uint8_t code = file[at++], count = 1;
      if (code >= 192) {
        count = static_cast<std::uint8_t>(code - 192);
        code = file[at++];
      }
      if (filled + count > stride) {
        result.Fault = "a run crosses the end of line " + std::to_string(y);
        return result;
      }
      result.Indices.insert(result.Indices.end(), count, code);
      filled += count;
    }
  }
  if (at != paletteAt || file[at] != 0x0C) {
    result.Fault = "the data does not end at the palette marker";
    return result;
  }
  result.Ok = true;
  return result;
}

TEST(Pcx, EncodesEachScanLineOnItsOwn) {
  struct Case {
    const char* name;
    int width, height;
    std::vector<std::uint8_t> indices;
  };
  const auto fill = [](int count, auto pixel) {
    std::vector<std::uint8_t> indices;
    for (int i = 0; i < count; ++i) indices.push_back(static_cast<std::uint8_t>(pixel(i)));
    return indices;
  };
  const Case cases[] = {
      {"one colour: each line ends its run", 10, 4, std::vector<std::uint8_t>(40, 3)},
      {"lines longer than the widest run", 130, 3, std::vector<std::uint8_t>(390, 7)},
      {"an odd width", 5, 3, fill(15, [](int i) { return i < 7 ? 200 : 9; })},
      {"one pixel a line", 1, 4, std::vector<std::uint8_t>(4, 250)},
      {"no run at all", 6, 2, fill(12, [](int i) { return i; })},
  };
  for (const Case& c : cases) {
    PcxImage image;
    image.Width = c.width;
    image.Height = c.height;
    image.Indices = c.indices;
    const std::vector<std::uint8_t> file = EncodePcx(image);
    EXPECT_EQ(file[68], 1) << c.name << ": palette type";
    EXPECT_EQ(file[69], 0) << c.name << ": palette type";
    const LineByLine read = DecodeLineByLine(file);
    ASSERT_TRUE(read.Ok) << c.name << ": " << read.Fault;
    EXPECT_EQ(read.Indices, c.indices) << c.name;
    const base::Expected<PcxImage> decoded = DecodePcx(file, "T.PCX");
    ASSERT_TRUE(decoded.ok()) << c.name;
    EXPECT_EQ(decoded->Indices, c.indices) << c.name;
  }
}

// A picture of (xmax + 1) x (ymax + 1) pixels whose data is `runs` bytes of widest runs.
std::vector<std::uint8_t> CutShort(int xmax, int ymax, std::size_t runs) {
  std::string data(runs, '\x05');
  for (std::size_t i = 0; i < runs; i += 2) data[i] = '\xFF';
  return Bytes(test::PcxFile(xmax, ymax, data, MarkerPalette()));
}

TEST(Pcx, RefusesFilesThatCannotHoldAnImage) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<std::uint8_t> huge = Bytes(test::PcxFile(0, 0, "", MarkerPalette()));
  huge[8] = 0x00;  // Xmax 8192: one pixel wider than allowed
  huge[9] = 0x20;
  std::vector<std::uint8_t> largest = huge;
  largest[8] = largest[9] = largest[10] = largest[11] = 0xFF;
  const Case cases[] = {
      {"empty", {}},
      {"only a header", std::vector<std::uint8_t>(128, 0)},
      {"one byte short of a header and a palette", std::vector<std::uint8_t>(128 + 767, 0)},
      {"wider than 8192", huge},
      {"65536 x 65536", largest},
      {"8192 x 8192 in a header and a palette", CutShort(8191, 8191, 0)},
      {"1024 x 1024 in 4096 bytes of runs", CutShort(1023, 1023, 4096)},
  };
  for (const Case& c : cases) {
    const base::Expected<PcxImage> image = DecodePcx(c.bytes, "INTERF\\BAD.PCX");
    ASSERT_FALSE(image.ok()) << c.name;
    EXPECT_NE(image.error().find("INTERF\\BAD.PCX"), std::string::npos) << c.name;
  }
  // A header and a palette alone make a valid image with nothing in it, and a short file
  // whose runs could fill its picture decodes, the rest as zero.
  const base::Expected<PcxImage> cut = DecodePcx(CutShort(1023, 1023, 32000), "T.PCX");
  ASSERT_TRUE(cut.ok());
  ASSERT_EQ(cut->Indices.size(), 1024u * 1024u);
  EXPECT_EQ(cut->Indices[16000 * 63 - 1], 5);
  EXPECT_EQ(cut->Indices.back(), 0);
  const base::Expected<PcxImage> bare = DecodePcx(std::vector<std::uint8_t>(128 + 768, 0), "T.PCX");
  ASSERT_TRUE(bare.ok());
  EXPECT_EQ(bare->Indices, std::vector<std::uint8_t>{0});
}

TEST(Pcx, RandomDataNeverReadsOutsideTheFile) {
  // Each file is copied into a buffer of exactly its size, so a sanitizer build catches
  // any read past the end; a plain build still checks that every pixel comes from the data.
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    const int xmax = static_cast<int>(random() % 40);
    const int ymax = static_cast<int>(random() % 40);
    std::string runs(random() % 200, '\0');
    for (char& c : runs) c = static_cast<char>(random() % 256 < 128 ? 0xC0 + random() % 64 : random() % 256);
    const std::string file = test::PcxFile(xmax, ymax, runs, MarkerPalette());
    const std::vector<std::uint8_t> bytes = Bytes(file);
    const base::Expected<PcxImage> image = DecodePcx(bytes, "R.PCX");
    ASSERT_TRUE(image.ok());
    ASSERT_EQ(image->Indices.size(), static_cast<std::size_t>((xmax + 1) * (ymax + 1)));
    if (runs.find('\x77') == std::string::npos) {
      for (const std::uint8_t pixel : image->Indices) ASSERT_NE(pixel, 0x77) << "a palette byte was read as a pixel";
    }
  }
}

TEST(Pcx, LoadsThroughTheDataNameAndReportsMissingAndDamagedFiles) {
  test::TempDir dir;
  const std::vector<std::uint8_t> indices{1, 2, 3, 4};
  dir.Write("INTERF/RADAR.PCX", test::EncodePcx(2, 2, indices, test::RampPalette()));
  dir.Write("INTERF/SHORT.PCX", std::string(300, '\x01'));

  const base::Expected<PcxImage> image = LoadPcx("interf\\radar.pcx", dir.path());
  ASSERT_TRUE(image.ok()) << image.error();
  EXPECT_EQ(image->Indices, indices);

  const base::Expected<PcxImage> missing = LoadPcx("INTERF\\NONE.PCX", dir.path());
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), "G3D: The file INTERF\\NONE.PCX is missing");

  const base::Expected<PcxImage> damaged = LoadPcx("INTERF\\SHORT.PCX", dir.path());
  ASSERT_FALSE(damaged.ok());
  EXPECT_NE(damaged.error().find("INTERF\\SHORT.PCX"), std::string::npos);
  EXPECT_EQ(damaged.error().find("missing"), std::string::npos);
}

}  // namespace
}  // namespace zandrel::engine
