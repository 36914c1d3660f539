#include "tools/data/music_song.h"

#include "tools/data/music_score.h"

namespace zandrel::data::music {
namespace {

enum Channel : int { kLead, kEcho, kBass, kPad1, kPad2, kPad3, kArp, kBells, kKick, kSnare, kHat, kExtra, kChannels };

xm::Pattern Compose(const Section& section, const Mix& mix) {
  PatternBuilder pattern(kChannels, kRowsPerSection);
  const std::vector<Chord> chords = Chords(section.Chords);
  // A part that rests in this section releases whatever the section before left sounding.
  if (section.Lead.empty()) {
    pattern.Release(kLead, 0);
    pattern.Release(kEcho, 0);
  } else {
    pattern.Melody(kLead, kLeadSound, mix.Lead, section.Lead);
    if (mix.EchoDelay > 0) pattern.Echo(kLead, kEcho, mix.EchoDelay, mix.EchoShare);
  }
  if (!section.Bells.empty()) pattern.Melody(kBells, kBellSound, mix.Bells, section.Bells);
  if (section.Bass.empty()) {
    pattern.Release(kBass, 0);
  } else {
    pattern.ChordRhythm(kBass, kBassSound, mix.Bass, chords, section.Bass, mix.BassOctave);
  }
  if (section.Arp.empty()) {
    pattern.Release(kArp, 0);
  } else {
    pattern.ChordRhythm(kArp, kArpSound, mix.Arp, chords, section.Arp, mix.ArpOctave);
  }
  if (section.Pad) {
    pattern.Pad({kPad1, kPad2, kPad3}, kPadSound, mix.Pad, chords, mix.PadLowest);
  } else {
    for (const int channel : {kPad1, kPad2, kPad3}) pattern.Release(channel, 0);
  }
  const Groove& drums = section.Drums;
  if (!drums.Kick.empty()) pattern.Drums(kKick, kKickSound, mix.Kick, drums.Kick, drums.KickFill);
  if (!drums.Snare.empty()) pattern.Drums(kSnare, kSnareSound, mix.Snare, drums.Snare, drums.SnareFill);
  if (!drums.Hat.empty()) pattern.Drums(kHat, kHatSound, mix.Hat, drums.Hat, drums.HatFill);
  if (!drums.Extra.empty()) pattern.Drums(kExtra, kExtraSound, mix.Extra, drums.Extra, {}, mix.ExtraNote);

  // A little stereo width: the echo and the bells answer the lead from the sides.
  static constexpr std::pair<int, int> kPanning[] = {{kLead, 128}, {kEcho, 64},   {kBass, 128}, {kPad1, 80},
                                                     {kPad2, 128}, {kPad3, 176},  {kArp, 168},  {kBells, 96},
                                                     {kKick, 128}, {kSnare, 136}, {kHat, 164},  {kExtra, 100}};
  for (const auto& [channel, panning] : kPanning) pattern.Pan(channel, panning);
  return pattern.Build();
}

}  // namespace

xm::Module Arrange(const Song& song) {
  xm::Module module;
  module.Name = song.Title;
  module.Channels = kChannels;
  module.Speed = 6;  // four rows to a beat: the beats per minute are the tempo
  module.Bpm = song.Bpm;
  module.RestartPosition = song.RestartPosition;
  module.Orders = song.Orders;
  module.Instruments = song.Instruments;
  for (const Section& section : song.Sections) module.Patterns.push_back(Compose(section, song.Levels));
  return module;
}

}  // namespace zandrel::data::music
