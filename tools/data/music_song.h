// A song for the tracker modules: a band of twelve channels (lead and its echo, bass, a pad of
// three voices, a plucked arpeggio, bells, kick, snare, hi-hat and one extra percussion) playing
// sections of four bars, strung together by an order list that loops.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/data/music_xm.h"

namespace zandrel::data::music {

// The instruments of a band, numbered as the module numbers them.
enum Sound : int {
  kLeadSound = 1,
  kBassSound,
  kPadSound,
  kArpSound,
  kBellSound,
  kKickSound,
  kSnareSound,
  kHatSound,
  kExtraSound
};

// Drum lines of 16 rows (see PatternBuilder::Drums); a fill replaces the section's last bar.
struct Groove {
  std::string_view Kick{}, Snare{}, Hat{}, Extra{};
  std::string_view KickFill{}, SnareFill{}, HatFill{};
};

// Four bars: a progression, melody lines for the lead and the bells, rhythms over the chords
// for the bass and the arpeggio, and drums. An empty line leaves its part silent.
struct Section {
  std::string_view Chords{};
  std::string_view Lead{}, Bells{};
  std::string_view Bass{}, Arp{};
  bool Pad = true;
  Groove Drums{};
};

// How loud each part plays (0..64) and where its notes lie.
struct Mix {
  int Lead = 54, Bass = 44, Pad = 15, Arp = 22, Bells = 30, Kick = 56, Snare = 42, Hat = 20, Extra = 30;
  int EchoDelay = 3;  // rows; 0 for no echo of the lead
  double EchoShare = 0.4;
  int BassOctave = -1, ArpOctave = 1, PadLowest = 55;
  int ExtraNote = 60;
};

struct Song {
  std::string Title{};
  int Bpm = 125;
  std::vector<xm::Instrument> Instruments{};  // in the order of `Sound`
  Mix Levels{};
  std::vector<Section> Sections{};
  std::vector<std::uint8_t> Orders{};  // indices into Sections
  int RestartPosition = 0;
};

inline constexpr int kRowsPerSection = 64;

// The module of a song; throws std::logic_error on a fault in its score.
xm::Module Arrange(const Song& song);

}  // namespace zandrel::data::music
