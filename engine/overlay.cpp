#include "engine/overlay.h"

#include "engine/picture.h"

namespace zandrel::engine {
namespace {

struct Font {
  const char* sheet;
  int firstSlot;
  int glyphWidth, glyphHeight, pitch;  // in the sheet, pixels
  float drawWidth, advance;            // fractions of the screen width
  float lineHeight;                    // pixels of a 240-high screen
};

constexpr Font kSmall{"INTERF/SMALFONT.PCX", kSmallFontFirstSlot, 3, 7, 4, 0.009375f, 0.0125f, 8};
constexpr Font kBig{"INTERF/BIGFONT.PCX", kBigFontFirstSlot, 8, 15, 9, 0.021875f, 0.025f, 16};
constexpr int kGlyphCount = 100;

base::Status LoadFont(Engine& engine, const Font& font, const std::filesystem::path& folder) {
  if (base::Status loaded = LoadPicture(engine, kFontSheetSlot, font.sheet, folder); !loaded) return loaded;
  for (int i = 0; i < kGlyphCount; ++i) {
    CopyPictureRegion(engine, kFontSheetSlot, font.pitch * i, 0, font.firstSlot + i, font.glyphHeight, font.glyphWidth);
  }
  return {};
}

}  // namespace

base::Status LoadInterfacePictures(Engine& engine, const std::filesystem::path& folder) {
  struct Entry {
    int slot;
    const char* file;
  };
  for (const Entry& e : {Entry{kLogoSlot, "INTERF/ZANDREL.PCX"}, Entry{kTitleSlot, "INTERF/TITLE.PCX"},
                         Entry{kOptionSlot, "INTERF/OPTION.PCX"}, Entry{kSelectSlot, "INTERF/SELECT.PCX"},
                         Entry{kBarSlot, "INTERF/BARRE.PCX"}, Entry{kRadarSlot, "INTERF/RADAR.PCX"},
                         Entry{kRadarDot1Slot, "INTERF/RADARP1.PCX"}, Entry{kRadarDot2Slot, "INTERF/RADARP2.PCX"}}) {
    if (base::Status loaded = LoadPicture(engine, e.slot, e.file, folder); !loaded) return loaded;
  }
  if (base::Status small = LoadFont(engine, kSmall, folder); !small) return small;
  return LoadFont(engine, kBig, folder);
}

void DrawText(Engine& engine, RenderView& view, std::string_view text, bool big, float y, float x) {
  const Font& font = big ? kBig : kSmall;
  // Glyph heights are given for a 240-line screen; a 200-line one keeps its own scale.
  const float lines = view.CentreY * 2 == 200 ? 200.0f : 240.0f;
  const float height = static_cast<float>(font.glyphHeight) / lines;
  const float advanceDown = font.lineHeight / lines;
  float cx = x;
  for (const char ch : text) {
    const int code = static_cast<unsigned char>(ch);
    if (code == 13) {
      y += advanceDown;
      cx = x;
      continue;
    }
    // Codes outside 32..131 reach other slots, as they always did; an empty one draws nothing.
    const int slot = code + font.firstSlot - 32;
    if (slot >= 0 && slot < kPictureSlotCount) {
      engine.Back->DrawPicture(engine.Pictures[static_cast<std::size_t>(slot)], true, view, cx, y, font.drawWidth,
                               height);
    }
    cx += font.advance;
  }
}

float TextWidth(std::string_view text, bool big) {
  return static_cast<float>(text.size()) * (big ? kBig.advance : kSmall.advance);
}

}  // namespace zandrel::engine
