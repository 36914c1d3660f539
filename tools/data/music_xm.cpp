#include "tools/data/music_xm.h"

#include <algorithm>
#include <stdexcept>

namespace zandrel::data::xm {
namespace {

constexpr std::uint32_t kInstrumentHeaderBytes = 263;
constexpr std::uint32_t kSampleHeaderBytes = 40;

class Bytes {
 public:
  void U8(std::uint32_t v) { out_.push_back(static_cast<std::uint8_t>(v)); }
  void U16(std::uint32_t v) {
    U8(v & 0xFF);
    U8(v >> 8 & 0xFF);
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  // Text cut or padded with zeros to exactly `size` bytes.
  void Text(const std::string& text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) U8(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
  }
  void Zeros(std::size_t count) { out_.insert(out_.end(), count, 0); }
  std::size_t Size() const { return out_.size(); }
  void PatchU16(std::size_t at, std::uint32_t v) {
    out_[at] = static_cast<std::uint8_t>(v & 0xFF);
    out_[at + 1] = static_cast<std::uint8_t>(v >> 8 & 0xFF);
  }
  std::vector<std::uint8_t> Take() { return std::move(out_); }

 private:
  std::vector<std::uint8_t> out_;
};

void Require(bool ok, const char* what) {
  if (!ok) throw std::logic_error(std::string("tracker module: ") + what);
}

// A cell in the packed form: a flag byte naming the fields that follow, unless all five
// follow, which is shorter written plainly.
void WriteCell(Bytes& out, const Cell& cell) {
  const std::uint8_t fields[] = {cell.Note, cell.Instrument, cell.Volume, cell.Effect, cell.Param};
  std::uint8_t flags = 0x80;
  for (int i = 0; i < 5; ++i) {
    if (fields[i] != 0) flags |= static_cast<std::uint8_t>(1 << i);
  }
  if (flags != 0x9F) out.U8(flags);
  for (const std::uint8_t field : fields) {
    if (field != 0 || flags == 0x9F) out.U8(field);
  }
}

void WritePattern(Bytes& out, const Pattern& pattern, int channels, int instruments) {
  Require(pattern.Rows >= 1 && pattern.Rows <= kMaxRows, "a pattern's row count is out of range");
  Require(pattern.Cells.size() == static_cast<std::size_t>(pattern.Rows * channels),
          "a pattern's cells do not fill it");
  out.U32(9);
  out.U8(0);
  out.U16(static_cast<std::uint32_t>(pattern.Rows));
  const std::size_t sizeAt = out.Size();
  out.U16(0);
  const std::size_t start = out.Size();
  for (const Cell& cell : pattern.Cells) {
    Require(cell.Note <= kKeyOff && cell.Instrument <= instruments, "a cell names a note or instrument out of range");
    WriteCell(out, cell);
  }
  const std::size_t packed = out.Size() - start;
  Require(packed <= 0xFFFF, "a pattern packs to more than 64 KB");
  out.PatchU16(sizeAt, static_cast<std::uint32_t>(packed));
}

void WriteInstrument(Bytes& out, const Instrument& instrument) {
  const std::size_t points = instrument.Envelope.size();
  Require(points <= kMaxEnvelopePoints, "an envelope has too many points");
  Require(instrument.SustainPoint < static_cast<int>(points), "an envelope's sustain point is not one of its points");
  Require(instrument.Volume <= 64, "an instrument's volume is above 64");
  Require(instrument.Sample.size() < 0x40000000u, "a sample is too long");
  const auto length = static_cast<std::uint32_t>(instrument.Sample.size());
  Require(instrument.LoopLength == 0 ||
              (instrument.LoopStart < length && instrument.LoopLength <= length - instrument.LoopStart),
          "a sample's loop lies outside it");

  out.U32(kInstrumentHeaderBytes);
  out.Text(instrument.Name, 22);
  out.U8(0);
  out.U16(1);
  out.U32(kSampleHeaderBytes);
  out.Zeros(96);  // every note plays sample 0
  for (std::size_t i = 0; i < kMaxEnvelopePoints; ++i) {
    const EnvelopePoint point = i < points ? instrument.Envelope[i] : EnvelopePoint{};
    Require(point.Value <= 64, "an envelope point is above 64");
    Require(i == 0 || i >= points || point.Tick > instrument.Envelope[i - 1].Tick,
            "envelope points are not in order of time");
    out.U16(point.Tick);
    out.U16(point.Value);
  }
  out.Zeros(48);  // no panning envelope
  out.U8(static_cast<std::uint32_t>(points));
  out.U8(0);
  out.U8(static_cast<std::uint32_t>(std::max(instrument.SustainPoint, 0)));
  out.Zeros(2);  // volume loop start and end
  out.Zeros(3);  // panning sustain and loop
  out.U8((points > 0 ? 1u : 0u) | (points > 0 && instrument.SustainPoint >= 0 ? 2u : 0u));
  out.U8(0);
  out.U8(0);  // sine vibrato
  out.U8(instrument.VibratoSweep);
  out.U8(instrument.VibratoDepth);
  out.U8(instrument.VibratoRate);
  out.U16(std::min<std::uint32_t>(instrument.Fadeout, 0xFFF));
  out.Zeros(kInstrumentHeaderBytes - 241);

  out.U32(length * 2);
  out.U32(instrument.LoopLength == 0 ? 0 : instrument.LoopStart * 2);
  out.U32(instrument.LoopLength * 2);
  out.U8(instrument.Volume);
  out.U8(static_cast<std::uint8_t>(instrument.Finetune));
  out.U8((instrument.LoopLength > 0 ? 1u : 0u) | 0x10u);
  out.U8(instrument.Panning);
  out.U8(static_cast<std::uint8_t>(instrument.RelativeNote));
  out.U8(0);
  out.Text(instrument.Name, 22);

  // Samples are stored as the difference from the one before.
  std::int16_t previous = 0;
  for (const std::int16_t sample : instrument.Sample) {
    out.U16(static_cast<std::uint16_t>(static_cast<std::uint16_t>(sample) - static_cast<std::uint16_t>(previous)));
    previous = sample;
  }
}

}  // namespace

std::vector<std::uint8_t> Write(const Module& module) {
  Require(module.Channels >= 1 && module.Channels <= kMaxChannels, "the channel count is out of range");
  Require(!module.Orders.empty() && module.Orders.size() <= kMaxOrders, "the order list is empty or too long");
  Require(module.RestartPosition >= 0 && module.RestartPosition < static_cast<int>(module.Orders.size()),
          "the restart position is outside the order list");
  Require(!module.Patterns.empty() && module.Patterns.size() <= 256, "the pattern count is out of range");
  Require(module.Instruments.size() <= 128, "there are more than 128 instruments");
  Require(module.Speed >= 1 && module.Speed <= 31 && module.Bpm >= 32 && module.Bpm <= 255,
          "the tempo is out of range");
  for (const std::uint8_t order : module.Orders) Require(order < module.Patterns.size(), "an order names no pattern");

  Bytes out;
  out.Text("Extended Module: ", 17);
  out.Text(module.Name, 20);
  out.U8(0x1A);
  out.Text("zandrel-data", 20);
  out.U16(0x0104);
  out.U32(20 + kMaxOrders);
  out.U16(static_cast<std::uint32_t>(module.Orders.size()));
  out.U16(static_cast<std::uint32_t>(module.RestartPosition));
  out.U16(static_cast<std::uint32_t>(module.Channels));
  out.U16(static_cast<std::uint32_t>(module.Patterns.size()));
  out.U16(static_cast<std::uint32_t>(module.Instruments.size()));
  out.U16(1);  // linear frequencies
  out.U16(static_cast<std::uint32_t>(module.Speed));
  out.U16(static_cast<std::uint32_t>(module.Bpm));
  for (std::size_t i = 0; i < kMaxOrders; ++i) out.U8(i < module.Orders.size() ? module.Orders[i] : 0);

  const int instruments = static_cast<int>(module.Instruments.size());
  for (const Pattern& pattern : module.Patterns) WritePattern(out, pattern, module.Channels, instruments);
  for (const Instrument& instrument : module.Instruments) WriteInstrument(out, instrument);
  return out.Take();
}

}  // namespace zandrel::data::xm
