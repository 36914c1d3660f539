// What mixing costs: looping positional voices (each with its own volume and pan) and the
// game's title module (12 channels), mixed by SDL's "disk" driver as fast as it can into /dev/null. Reports
// the CPU time spent per second of audio mixed, which is the share of one core that
// playing in real time takes.
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include "audio/music.h"
#include "platform/dsound/dsound.h"
#include "platform/midas/midas.h"

namespace {

using namespace zandrel;

std::atomic<std::uint64_t> mixedBytes{0};

void CountMixed(void*, Uint8*, int length) { mixedBytes += static_cast<std::uint64_t>(length); }

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// One second of a 22050 Hz mono tone, as the game's wave sounds are stored.
std::shared_ptr<dsound::SoundBuffer> Tone(dsound::DirectSound& device) {
  std::vector<std::uint8_t> samples(22050 * 2);
  for (std::size_t i = 0; i < samples.size(); i += 2) samples[i + 1] = (i / 2) % 50 < 25 ? 0x20 : 0xE0;
  return device.CreateSoundBuffer(dsound::WaveFormat{dsound::kFormatPcm, 1, 22050, 44100, 2, 16}, samples);
}

// Args: voice count, whether a module plays.
void BM_MixVoicesAndModule(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  std::unique_ptr<dsound::DirectSound> device = dsound::DirectSoundCreate(dsound::Drivers::Any);
  if (device == nullptr) {
    state.SkipWithError("SDL2_mixer could not open the disk audio driver");
    return;
  }
  const std::shared_ptr<dsound::SoundBuffer> tone = Tone(*device);
  std::vector<std::shared_ptr<dsound::SoundBuffer>> voices;
  for (int i = 0; i < state.range(0); ++i) {
    voices.push_back(device->DuplicateSoundBuffer(*tone));
    voices.back()->SetVolume(-50 * (i % 40));
    voices.back()->SetPan(i * 300 - 9600);
    voices.back()->Play(true);
  }

  const std::unique_ptr<midas::Midas> library = midas::CreateMixerMidas();
  audio::ModulePlayer player{library.get()};
  if (state.range(1) != 0) {
    audio::StartModulePlayer(player, audio::kModuleMixingRate, true, device.get(), 0);
    audio::PlayModule(player, ZANDREL_DATA, "MUSIC\\TITLE.XM", audio::kMusicVolumeOn, true);
    if (player.Play == 0) {
      state.SkipWithError("the module does not play");
      return;
    }
  }

  Mix_SetPostMix(CountMixed, nullptr);
  double cpuSeconds = 0, audioSeconds = 0;
  constexpr double kBytesPerSecond = dsound::kDeviceRate * dsound::kDeviceChannels * (dsound::kDeviceBits / 8);
  for (auto _ : state) {
    const double cpuBefore = ProcessCpuSeconds();
    const std::uint64_t bytesBefore = mixedBytes;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cpuSeconds += ProcessCpuSeconds() - cpuBefore;
    audioSeconds += static_cast<double>(mixedBytes - bytesBefore) / kBytesPerSecond;
  }
  Mix_SetPostMix(nullptr, nullptr);
  state.counters["audio_s"] = audioSeconds;
  state.counters["cpu_ms_per_audio_s"] = audioSeconds > 0 ? 1000 * cpuSeconds / audioSeconds : 0;
  state.counters["core_share_pct"] = audioSeconds > 0 ? 100 * cpuSeconds / audioSeconds : 0;

  audio::CloseModulePlayer(player);
  voices.clear();
}

BENCHMARK(BM_MixVoicesAndModule)
    ->ArgNames({"voices", "module"})
    ->Args({0, 0})
    ->Args({64, 0})
    ->Args({0, 1})
    ->Args({64, 1})
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
