// A back end that draws nothing, for timing the scene code alone. It keeps a sum of what
// it was handed so that the work cannot be optimised away.
#pragma once

#include <cstdint>

#include "engine/backend.h"
#include "engine/camera.h"

namespace zandrel::engine {

class NullBackend : public Backend {
 public:
  explicit NullBackend(bool editorRules) : editorRules_(editorRules) {}
  void OpenView(int width, int height, RenderView& view) override {
    SetProjection(view, width, height, editorRules_ ? 10 : 1, editorRules_ ? width - 1 : width);
    view.Rules = {editorRules_, editorRules_, editorRules_};
  }
  void ClearView(std::uint8_t, RenderView&) override {}
  void StartScene(RenderView&) override {}
  void DrawPolygon(int index, RenderView& view) override {
    lightSum_ += view.Polygons[static_cast<std::size_t>(index)].Light1;
  }
  void DrawPicture(const Picture&, bool, RenderView&, float, float, float, float) override {}
  void SwapView(RenderView&) override {}
  void BeginTextureImages(RenderView&) override {}
  void StoreTextureImage(int, const PcxImage&, bool, RenderView&) override {}
  void FogChanged(RenderView&) override {}
  std::int64_t LightSum() const { return lightSum_; }

 private:
  bool editorRules_;
  std::int64_t lightSum_ = 0;
};

}  // namespace zandrel::engine
