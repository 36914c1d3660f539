// A board for tests: the null board, recording the calls the back end makes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/glide/glide.h"

namespace zandrel::test {

class RecordingGlide : public glide::NullGlide {
 public:
  using NullGlide::NullGlide;

  struct Triangle {
    std::int32_t Combine = 0, AlphaSource = 0;
    std::int64_t Source = -1;  // start address of the texture of unit 0, -1 when none
    glide::GrVertex V[3];
  };

  std::vector<std::string> Calls;  // state calls, by name and arguments
  std::vector<Triangle> Triangles;
  std::vector<glide::FxU32> Downloads;  // start addresses

  glide::FxBool grSstWinOpen(glide::FxU32 hWnd, std::int32_t resolution, std::int32_t refresh, std::int32_t colorFormat,
                             std::int32_t origin, std::int32_t nColBuffers, std::int32_t nAuxBuffers) override {
    Log("grSstWinOpen", {resolution, refresh, colorFormat, origin, nColBuffers, nAuxBuffers});
    return NullGlide::grSstWinOpen(hWnd, resolution, refresh, colorFormat, origin, nColBuffers, nAuxBuffers);
  }
  void grSstSelect(std::int32_t which) override { Log("grSstSelect", {which}); }
  void grGlideShutdown() override {
    Log("grGlideShutdown", {});
    NullGlide::grGlideShutdown();
  }
  void grBufferClear(glide::GrColor_t color, glide::GrAlpha_t alpha, glide::FxU16 depth) override {
    Log("grBufferClear", {color, alpha, depth});
    NullGlide::grBufferClear(color, alpha, depth);
  }
  void grBufferSwap(std::int32_t interval) override { Log("grBufferSwap", {interval}); }
  void grColorMask(glide::FxBool rgb, glide::FxBool alpha) override {
    Log("grColorMask", {rgb, alpha});
    NullGlide::grColorMask(rgb, alpha);
  }
  void guColorCombineFunction(std::int32_t function) override {
    combine_ = function;
    Log("guColorCombineFunction", {function});
  }
  void guAlphaSource(std::int32_t mode) override {
    alphaSource_ = mode;
    Log("guAlphaSource", {mode});
  }
  void grAlphaBlendFunction(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override {
    Log("grAlphaBlendFunction", {a, b, c, d});
  }
  void grTexCombineFunction(glide::GrChipID_t tmu, std::int32_t function) override {
    Log("grTexCombineFunction", {tmu, function});
  }
  void grTexFilterMode(glide::GrChipID_t tmu, std::int32_t min, std::int32_t mag) override {
    Log("grTexFilterMode", {tmu, min, mag});
  }
  void grTexClampMode(glide::GrChipID_t tmu, std::int32_t s, std::int32_t t) override {
    Log("grTexClampMode", {tmu, s, t});
  }
  void grDepthBufferMode(std::int32_t mode) override { Log("grDepthBufferMode", {mode}); }
  void grDepthBufferFunction(std::int32_t function) override { Log("grDepthBufferFunction", {function}); }
  void grDepthMask(glide::FxBool enable) override { Log("grDepthMask", {enable}); }
  void grTexDownloadMipMap(glide::GrChipID_t, glide::FxU32 start, glide::FxU32, const glide::GrTexInfo*) override {
    Downloads.push_back(start);
  }
  void grTexSource(glide::GrChipID_t, glide::FxU32 start, glide::FxU32, const glide::GrTexInfo*) override {
    source_ = start;
  }
  void guDrawTriangleWithClip(const glide::GrVertex* a, const glide::GrVertex* b, const glide::GrVertex* c) override {
    Triangles.push_back({combine_, alphaSource_, source_, {*a, *b, *c}});
  }
  glide::FxBool grLfbLock(std::int32_t type, std::int32_t buffer, std::int32_t writeMode, std::int32_t origin,
                          glide::FxBool pipeline, glide::GrLfbInfo* info) override {
    Log("grLfbLock", {type, buffer, writeMode, origin, pipeline});
    return NullGlide::grLfbLock(type, buffer, writeMode, origin, pipeline, info);
  }
  glide::FxBool grLfbUnlock(std::int32_t type, std::int32_t buffer) override {
    Log("grLfbUnlock", {type, buffer});
    return NullGlide::grLfbUnlock(type, buffer);
  }

 private:
  void Log(const char* name, std::initializer_list<std::int64_t> arguments) {
    std::string text = name;
    text += "(";
    for (std::int64_t a : arguments) text += (text.back() == '(' ? "" : ",") + std::to_string(a);
    Calls.push_back(text + ")");
  }

  std::int32_t combine_ = -1, alphaSource_ = -1;
  std::int64_t source_ = -1;
};

}  // namespace zandrel::test
