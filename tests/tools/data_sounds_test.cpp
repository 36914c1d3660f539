#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/win/files.h"
#include "tools/data/data_tree.h"
#include "tools/data/generators.h"

namespace zandrel::data {
namespace {

std::uint32_t U16At(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return U16At(b, at) | U16At(b, at + 2) << 16;
}

// Every sound the game loads: the values of the bank's "...Sound" keys, in tree spelling, and
// the shell's three interface sounds.
std::set<std::string> SoundsTheGameLoads() {
  std::set<std::string> names = {"INTERF/CHOIX.WAV", "INTERF/CLIC.WAV", "INTERF/TIMER.WAV"};
  const auto bank = win::ReadWholeFile(std::string(ZANDREL_CONTENT) + "/Standard.bnk", 1u << 20);
  if (!bank) return names;
  std::string line;
  for (std::size_t i = 0; i <= bank->size(); ++i) {
    const char c = i < bank->size() ? static_cast<char>((*bank)[i]) : '\n';
    if (c != '\n') {
      if (c != '\r') line += c;
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!line.starts_with(';') && equals != std::string::npos && equals >= 5 &&
        line.compare(equals - 5, 5, "Sound") == 0 && equals + 1 < line.size()) {
      std::string path = line.substr(equals + 1);
      for (char& ch : path) ch = ch == '\\' ? '/' : static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      names.insert(path);
    }
    line.clear();
  }
  return names;
}

class DataSounds : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { GenerateSounds(tree_); }
  static DataTree tree_;
};
DataTree DataSounds::tree_;

TEST_F(DataSounds, EverySoundTheGameLoadsIsMade) {
  const std::set<std::string> names = SoundsTheGameLoads();
  ASSERT_GE(names.size(), 20u) << "the bank could not be read";
  for (const std::string& name : names) EXPECT_TRUE(tree_.Has(name)) << name;
}

TEST_F(DataSounds, EverySoundIsShortCleanMonoPcmBelowFullScale) {
  for (const auto& [path, bytes] : tree_.Files()) {
    SCOPED_TRACE(path);
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(U16At(bytes, 20), 1u);  // PCM
    EXPECT_EQ(U16At(bytes, 22), 1u);  // mono
    EXPECT_EQ(U32At(bytes, 24), 22050u);
    EXPECT_EQ(U16At(bytes, 34), 16u);
    ASSERT_EQ(U32At(bytes, 40), bytes.size() - 44);

    std::vector<int> samples;
    for (std::size_t at = 44; at + 1 < bytes.size(); at += 2) {
      samples.push_back(static_cast<std::int16_t>(U16At(bytes, at)));
    }
    const double seconds = samples.size() / 22050.0;
    EXPECT_GE(seconds, 0.05);
    EXPECT_LE(seconds, 4.0);  // the longest, the hum, is repeated every 4 seconds

    int peak = 0;
    double sum = 0.0;
    for (int s : samples) {
      peak = std::max(peak, std::abs(s));
      sum += s;
    }
    EXPECT_LT(peak, 32767) << "clipped";
    EXPECT_GT(peak, 32767 / 4) << "too quiet";
    EXPECT_LT(std::abs(sum / samples.size()), 100.0) << "offset from zero";
    // Starting or stopping away from zero clicks.
    EXPECT_LE(std::abs(samples.front()), 64);
    EXPECT_LE(std::abs(samples.back()), 64);
  }
}

}  // namespace
}  // namespace zandrel::data
