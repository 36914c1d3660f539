// A back end for engine tests that draws nothing and records the texture images it is
// given.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/backend.h"

namespace zandrel::test {

class RecordingBackend : public engine::Backend {
 public:
  struct StoredImage {
    int Number = 0;
    bool First = false;
    engine::PcxImage Image;
    engine::Palette ViewPalette;  // the view palette at the time of the call
  };

  void OpenView(int, int, engine::RenderView&) override {}
  void ClearView(std::uint8_t, engine::RenderView&) override {}
  void StartScene(engine::RenderView&) override {}
  void DrawPolygon(int, engine::RenderView&) override {}
  void DrawPicture(const engine::Picture&, bool, engine::RenderView&, float, float, float, float) override {}
  void SwapView(engine::RenderView&) override {}
  void BeginTextureImages(engine::RenderView&) override {
    ++Begins;
    Stored.clear();
  }
  void StoreTextureImage(int number, const engine::PcxImage& image, bool first, engine::RenderView& view) override {
    Stored.push_back({number, first, image, view.ViewPalette});
  }
  void FogChanged(engine::RenderView&) override {}

  int Begins = 0;
  std::vector<StoredImage> Stored;
};

}  // namespace zandrel::test
