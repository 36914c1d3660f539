#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "audio/music.h"
#include "audio/wave_file.h"
#include "platform/win/files.h"
#include "tests/support/temp_dir.h"
#include "tests/tools/bank_music.h"
#include "tools/data/content.h"
#include "tools/data/data_tree.h"
#include "tools/data/generators.h"
#include "tools/data/media.h"
#include "tools/data/media_midi.h"
#include "world/level_file.h"

namespace zandrel::data {
namespace {

// ---- reading MIDI files back ----------------------------------------------------------------

struct MidiNote {
  int Channel, Key;
  std::uint32_t Start, End;  // ticks
};

struct MidiFile {
  int Format = -1, Division = 0;
  std::size_t TrackCount = 0, Chunks = 0;
  std::vector<MidiNote> Notes;
  std::set<int> ProgramChannels;
  std::map<std::uint32_t, std::uint32_t> Tempo;  // tick -> microseconds a quarter
  std::uint32_t LastTick = 0;

  double Seconds(std::uint32_t tick) const {
    double seconds = 0;
    std::uint32_t at = 0, tempo = 500000;
    for (const auto& [when, value] : Tempo) {
      if (when >= tick) break;
      seconds += static_cast<double>(when - at) * tempo / 1e6 / Division;
      at = when;
      tempo = value;
    }
    return seconds + (tick - at) * static_cast<double>(tempo) / 1e6 / Division;
  }
};

std::uint32_t Big(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = v << 8 | b[at + static_cast<std::size_t>(i)];
  return v;
}

// Reads a whole track chunk's events; every fault is reported as a test failure.
void ReadTrack(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t end, MidiFile& file) {
  const auto variable = [&](std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (at >= end) return false;
      const std::uint8_t byte = b[at++];
      value = value << 7 | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  };
  std::map<std::pair<int, int>, std::vector<std::uint32_t>> sounding;
  std::uint32_t tick = 0;
  std::uint8_t running = 0;
  bool ended = false;
  while (at < end && !ended) {
    std::uint32_t delta = 0;
    ASSERT_TRUE(variable(delta)) << "bad delta time at " << at;
    tick += delta;
    ASSERT_LT(at, end);
    std::uint8_t status = b[at];
    if (status < 0x80) {
      ASSERT_NE(running, 0) << "data without a status at " << at;
      status = running;
    } else {
      ++at;
    }
    if (status == 0xFF || status == 0xF0 || status == 0xF7) {
      std::uint8_t type = 0;
      if (status == 0xFF) {
        ASSERT_LT(at, end);
        type = b[at++];
      }
      std::uint32_t length = 0;
      ASSERT_TRUE(variable(length));
      ASSERT_LE(length, end - at) << "an event runs past its chunk";
      if (status == 0xFF && type == 0x51) {
        ASSERT_EQ(length, 3u);
        file.Tempo[tick] = Big(b, at, 3);
      }
      if (status == 0xFF && type == 0x2F) ended = true;
      at += length;
      running = 0;
      continue;
    }
    ASSERT_LT(status, 0xF0) << "a system message inside a file";
    running = status;
    const int kind = status & 0xF0, channel = status & 0x0F;
    const std::size_t count = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
    ASSERT_LE(count, end - at);
    for (std::size_t i = 0; i < count; ++i) ASSERT_LT(b[at + i], 0x80) << "a data byte with its top bit";
    const int key = b[at], velocity = count > 1 ? b[at + 1] : 0;
    at += count;
    if (kind == 0xC0) file.ProgramChannels.insert(channel);
    if (kind == 0x90 && velocity > 0) {
      sounding[{channel, key}].push_back(tick);
    } else if (kind == 0x80 || kind == 0x90) {
      auto& starts = sounding[{channel, key}];
      ASSERT_FALSE(starts.empty()) << "a note-off without its note at tick " << tick;
      file.Notes.push_back({channel, key, starts.front(), tick});
      starts.erase(starts.begin());
    }
  }
  EXPECT_TRUE(ended) << "no end-of-track event";
  EXPECT_EQ(at, end) << "bytes after the end-of-track event";
  for (const auto& [note, starts] : sounding) EXPECT_TRUE(starts.empty()) << "a note never ends: key " << note.second;
  file.LastTick = std::max(file.LastTick, tick);
}

MidiFile ReadMidi(const std::vector<std::uint8_t>& b) {
  MidiFile file;
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || Big(b, 4, 4) != 6) {
    ADD_FAILURE() << "no MThd header of 6 bytes";
    return file;
  }
  file.Format = static_cast<int>(Big(b, 8, 2));
  file.TrackCount = Big(b, 10, 2);
  file.Division = static_cast<int>(Big(b, 12, 2));
  std::size_t at = 14;
  while (at < b.size()) {
    if (b.size() - at < 8 || std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                                         b.begin() + static_cast<std::ptrdiff_t>(at) + 4) != "MTrk") {
      ADD_FAILURE() << "no MTrk chunk at " << at;
      return file;
    }
    const std::size_t length = Big(b, at + 4, 4);
    if (length > b.size() - at - 8) {
      ADD_FAILURE() << "a chunk runs past the file";
      return file;
    }
    ReadTrack(b, at + 8, at + 8 + length, file);
    ++file.Chunks;
    at += 8 + length;
  }
  return file;
}

// ---- the bank: its music table and which codes are solid cubes -------------------------------

struct BankMusic {
  std::map<int, std::string> Files, Videos;  // in tree spelling
  std::set<int> Cubes;
};

BankMusic ReadBankMusic() {
  BankMusic music;
  for (const auto& [n, entry] : ReadBankMusicTable()) {
    music.Files[n] = entry.File;
    if (!entry.Video.empty()) music.Videos[n] = entry.Video;
  }
  const win::IniFile bank(std::filesystem::path(ZANDREL_CONTENT) / "Standard.bnk");
  for (int code = 1; code < 256; ++code) {
    if (base::UpperAscii(bank.ReadString("Object " + std::to_string(code), "Cube", "")) == "TRUE")
      music.Cubes.insert(code);
  }
  return music;
}

bool IsModule(const std::string& name) { return audio::ChooseMusic(name).Kind == audio::MusicKind::Module; }

// Each piece is made once, when a test first asks for it.
class DataMedia : public ::testing::Test {
 protected:
  static const DataTree& Tree() {
    static const DataTree tree = [] {
      DataTree t;
      GenerateMedia(t);
      return t;
    }();
    return tree;
  }
  static const std::vector<std::uint8_t>& Chase() {
    static const std::vector<std::uint8_t> bytes = media::ChaseMidi();
    return bytes;
  }
  static const std::vector<std::uint8_t>& Wind() {
    static const std::vector<std::uint8_t> bytes = media::WindWave();
    return bytes;
  }
  static const std::vector<std::uint8_t>& Clip() {
    static const std::vector<std::uint8_t> bytes = media::VaultClip();
    return bytes;
  }
};

TEST_F(DataMedia, MidiFilesParseBackWhole) {
  struct Case {
    const char* Name;
    std::vector<std::uint8_t> Bytes;
    double MinSeconds, MaxSeconds;
    std::size_t MinTracks;
  };
  for (const Case& c :
       {Case{"The Chase", Chase(), 60, 120, 6}, Case{"the vault fanfare", media::VaultFanfareMidi(), 6, 10, 5}}) {
    SCOPED_TRACE(c.Name);
    const MidiFile midi = ReadMidi(c.Bytes);
    EXPECT_EQ(midi.Format, 1);
    EXPECT_GT(midi.Division, 0);
    EXPECT_EQ(midi.Chunks, midi.TrackCount);
    EXPECT_GE(midi.TrackCount, c.MinTracks);
    EXPECT_FALSE(midi.Tempo.empty());
    ASSERT_FALSE(midi.Notes.empty());
    EXPECT_GE(midi.ProgramChannels.size(), c.MinTracks - 2);  // every melodic part sets its instrument
    EXPECT_TRUE(std::any_of(midi.Notes.begin(), midi.Notes.end(), [](const MidiNote& n) { return n.Channel == 9; }))
        << "no percussion on channel 10";
    const double seconds = midi.Seconds(midi.LastTick);
    EXPECT_GE(seconds, c.MinSeconds);
    EXPECT_LE(seconds, c.MaxSeconds);
  }
}

TEST(DataMediaMidi, VariableLengthNumbersAndBadEvents) {
  const struct {
    std::uint32_t Value;
    std::vector<std::uint8_t> Bytes;
  } cases[] = {{0, {0x00}},
               {0x40, {0x40}},
               {0x7F, {0x7F}},
               {0x80, {0x81, 0x00}},
               {0x2000, {0xC0, 0x00}},
               {0x3FFF, {0xFF, 0x7F}},
               {0x4000, {0x81, 0x80, 0x00}},
               {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
               {0x200000, {0x81, 0x80, 0x80, 0x00}},
               {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}};
  for (const auto& c : cases) {
    std::vector<std::uint8_t> out;
    midi::AppendVariableLength(out, c.Value);
    EXPECT_EQ(out, c.Bytes) << c.Value;
  }
  std::vector<std::uint8_t> out;
  EXPECT_THROW(midi::AppendVariableLength(out, 0x10000000), std::invalid_argument);

  midi::Track track("t");
  EXPECT_THROW(track.Note(0, 10, 16, 60, 100), std::invalid_argument);
  EXPECT_THROW(track.Note(0, 10, 0, 128, 100), std::invalid_argument);
  EXPECT_THROW(track.Note(0, 10, 0, 60, 0), std::invalid_argument);
  EXPECT_THROW(track.Note(0, 0, 0, 60, 100), std::invalid_argument);
  EXPECT_THROW(track.Controller(0, 0, 7, 200), std::invalid_argument);
}

// A note repeated on the same key at the tick where the one before ends must not be cut off:
// the earlier note-off comes first, even when the later note was added first.
TEST(DataMediaMidi, NoteOffsComeBeforeNoteOnsAtOneTick) {
  midi::Track track("t");
  track.Note(120, 20, 0, 60, 90);
  track.Note(100, 20, 0, 60, 90);
  const std::vector<std::uint8_t> chunk = track.Encode();
  const std::vector<std::uint8_t> events = {0x64, 0x90, 60,   90,  // 100: on
                                            0x14, 0x80, 60,   64,  // 120: off
                                            0x00, 0x90, 60,   90,  // 120: on again
                                            0x14, 0x80, 60,   64,  // 140: off
                                            0x00, 0xFF, 0x2F, 0x00};
  ASSERT_GE(chunk.size(), events.size());
  EXPECT_TRUE(std::equal(events.begin(), events.end(), chunk.end() - static_cast<std::ptrdiff_t>(events.size())));
}

TEST_F(DataMedia, ChaseLeadVariesFromBarToBar) {
  const MidiFile midi = ReadMidi(Chase());
  ASSERT_GT(midi.Division, 0);
  std::map<std::uint32_t, std::vector<int>> bars;  // the lead's keys by bar
  for (const MidiNote& n : midi.Notes) {
    if (n.Channel == 0) bars[n.Start / (4 * static_cast<std::uint32_t>(midi.Division))].push_back(n.Key);
  }
  std::set<std::vector<int>> distinct;
  for (const auto& [bar, keys] : bars) distinct.insert(keys);
  EXPECT_GE(bars.size(), 30u);
  EXPECT_GE(distinct.size(), 25u) << "the lead repeats itself";
}

TEST_F(DataMedia, WindLoopsWithoutASeamBelowFullScale) {
  const auto wave = audio::TIWave::Parse(Wind(), "WIND.WAV");
  ASSERT_TRUE(wave) << wave.error();
  const auto format = wave->FormatRecord();
  ASSERT_TRUE(format);
  EXPECT_EQ(format->SamplesPerSec, 22050u);
  EXPECT_EQ(wave->BitsPerSample(), 16);
  ASSERT_EQ(wave->Channels(), 2);
  const std::size_t frames = wave->Data.size() / 4;
  const double seconds = static_cast<double>(frames) / 22050;
  EXPECT_GE(seconds, 20.0);
  EXPECT_LE(seconds, 40.0);
  ASSERT_GT(frames, 1000u);

  for (std::size_t channel = 0; channel < 2; ++channel) {
    SCOPED_TRACE(channel);
    std::vector<int> x(frames);
    for (std::size_t i = 0; i < frames; ++i) {
      const std::size_t at = 4 * i + 2 * channel;
      x[i] = static_cast<std::int16_t>(wave->Data[at] | wave->Data[at + 1] << 8);
    }
    double sum = 0;
    int peak = 0;
    std::vector<int> steps(frames - 1);
    for (std::size_t i = 0; i < frames; ++i) {
      sum += static_cast<double>(x[i]) * x[i];
      peak = std::max(peak, std::abs(x[i]));
      if (i + 1 < frames) steps[i] = std::abs(x[i + 1] - x[i]);
    }
    const double peakDb = 20 * std::log10(peak / 32768.0), rmsDb = 20 * std::log10(std::sqrt(sum / frames) / 32768.0);
    EXPECT_LE(peakDb, -1.0);
    EXPECT_GE(peakDb, -9.0);
    EXPECT_GE(rmsDb, -30.0);
    EXPECT_LE(rmsDb, -12.0);
    // From the last sample back to the first is a step like any other.
    std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(steps.size() * 999 / 1000),
                     steps.end());
    EXPECT_LE(std::abs(x.front() - x.back()), steps[steps.size() * 999 / 1000]);
  }
}

// Opens the clip with libavformat and decodes every frame.
TEST_F(DataMedia, ClipDecodesToItsFramesAtItsSize) {
  const std::vector<std::uint8_t>& bytes = Clip();
  ASSERT_FALSE(bytes.empty());
  const test::TempDir dir;
  const std::string path = dir.Write("VAULT.AVI", {reinterpret_cast<const char*>(bytes.data()), bytes.size()}).string();

  AVFormatContext* format = nullptr;
  ASSERT_EQ(avformat_open_input(&format, path.c_str(), nullptr, nullptr), 0);
  ASSERT_GE(avformat_find_stream_info(format, nullptr), 0);
  const int stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  ASSERT_GE(stream, 0);
  const AVCodecParameters* parameters = format->streams[stream]->codecpar;
  EXPECT_EQ(parameters->codec_id, AV_CODEC_ID_MPEG4);
  EXPECT_EQ(parameters->width, 320);
  EXPECT_EQ(parameters->height, 240);
  EXPECT_EQ(av_q2d(format->streams[stream]->avg_frame_rate), 25.0);

  const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
  ASSERT_NE(decoder, nullptr);
  AVCodecContext* codec = avcodec_alloc_context3(decoder);
  ASSERT_GE(avcodec_parameters_to_context(codec, parameters), 0);
  ASSERT_GE(avcodec_open2(codec, decoder, nullptr), 0);
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  std::vector<double> luma, warmth;  // per frame: mean Y, and mean Cr above neutral
  const auto take = [&] {
    while (avcodec_receive_frame(codec, frame) == 0) {
      double y = 0, cr = 0;
      for (int row = 0; row < frame->height; ++row) {
        for (int col = 0; col < frame->width; ++col) y += frame->data[0][row * frame->linesize[0] + col];
      }
      for (int row = 0; row < frame->height / 2; ++row) {
        for (int col = 0; col < frame->width / 2; ++col) cr += frame->data[2][row * frame->linesize[2] + col] - 128.0;
      }
      luma.push_back(y / (frame->width * frame->height));
      warmth.push_back(cr / (frame->width * frame->height / 4));
    }
  };
  while (av_read_frame(format, packet) >= 0) {
    if (packet->stream_index == stream) {
      EXPECT_GE(avcodec_send_packet(codec, packet), 0);
      take();
    }
    av_packet_unref(packet);
  }
  avcodec_send_packet(codec, nullptr);
  take();
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&codec);
  avformat_close_input(&format);

  ASSERT_EQ(luma.size(), 200u);
  EXPECT_LT(luma.front(), 20.0) << "the clip fades in from black";
  EXPECT_GT(luma[40], 35.0) << "the closed door can be seen";
  EXPECT_GT(luma.back(), luma[40]) << "the open vault lights the scene";
  EXPECT_GT(warmth.back(), warmth[40] + 3.0) << "the gold's light is warm";
}

TEST_F(DataMedia, EveryFileOfTheMusicTableThatIsNotAModuleIsMade) {
  const BankMusic bank = ReadBankMusic();
  ASSERT_FALSE(bank.Files.empty()) << "the bank could not be read";
  std::set<std::string> named;
  for (const auto& [entry, file] : bank.Files) {
    if (!IsModule(file)) named.insert(file);
  }
  for (const auto& [entry, video] : bank.Videos) named.insert(video);
  for (const std::string& name : named) EXPECT_TRUE(Tree().Has(name)) << name;
  for (const auto& [path, bytes] : Tree().Files())
    EXPECT_TRUE(named.count(path) != 0) << path << " is named by no entry";
}

TEST_F(DataMedia, SameBytesOnEveryRun) {
  DataTree again;
  GenerateMedia(again);
  ASSERT_EQ(again.Files().size(), Tree().Files().size());
  for (const auto& [path, bytes] : Tree().Files()) {
    ASSERT_TRUE(again.Has(path)) << path;
    EXPECT_TRUE(again.Files().at(path) == bytes) << path;
  }
}

// Every level plays music from its first steps on: an empty music cell on or beside the start.
// Every music cell lies inside the map, out of the solid cubes, and names an entry with a file.
TEST(DataMediaLevels, EveryLevelStartsMusicBesideItsStart) {
  const BankMusic bank = ReadBankMusic();
  ASSERT_FALSE(bank.Files.empty()) << "the bank could not be read";
  DataTree tree;
  ASSERT_TRUE(AddLevels(ZANDREL_CONTENT, tree));
  std::map<int, std::vector<std::string>> levelsOfEntry;
  for (const auto& [path, bytes] : tree.Files()) {
    SCOPED_TRACE(path);
    const auto map = world::ParseLevel(bytes, path);
    ASSERT_TRUE(map) << map.error();
    bool besideStart = false;
    for (const world::MusicCell& cell : map->MusicCells) {
      if (!cell.Used()) continue;
      ASSERT_TRUE(cell.X >= 0 && cell.Y >= 0 && cell.Z >= 0 && cell.X < map->SizeX() && cell.Y < map->SizeY() &&
                  cell.Z < map->SizeZ());
      const int code = map->GetCell(cell.X, cell.Y, cell.Z);
      EXPECT_EQ(bank.Cubes.count(code), 0u) << "music cell " << cell.X << " " << cell.Y << " " << cell.Z << " is solid";
      EXPECT_TRUE(bank.Files.count(cell.Music) != 0) << "entry " << cell.Music << " has no file";
      besideStart |= code == 0 && cell.Y == map->StartY && std::abs(cell.X - map->StartX) <= 1 &&
                     std::abs(cell.Z - map->StartZ) <= 1;
      levelsOfEntry[cell.Music].push_back(path);
    }
    EXPECT_TRUE(besideStart) << "no music cell on or beside the start";
  }
  for (int entry = 2; entry <= 7; ++entry)
    EXPECT_TRUE(levelsOfEntry.count(entry) != 0) << "entry " << entry << " is never heard";
  for (const auto& [entry, video] : bank.Videos) {
    EXPECT_EQ(levelsOfEntry[entry].size(), 1u) << "the clip of entry " << entry << " should be met once";
  }
}

}  // namespace
}  // namespace zandrel::data
