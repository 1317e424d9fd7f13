// A container with fixed metrics for the fuzzers, so they run the whole
// pipeline without a platform.
#pragma once

#include <string_view>

#include "render/layout_container.h"

namespace ks::render::fuzz {

class FuzzContainer : public Container {
 public:
  FontHandle createFont(const FontDesc& desc, FontMetrics& metrics) override {
    metrics.ascent = static_cast<int>(desc.size * 0.8f);
    metrics.descent = static_cast<int>(desc.size * 0.2f);
    metrics.xHeight = static_cast<int>(desc.size * 0.5f);
    return static_cast<FontHandle>(desc.size) + 1;
  }
  void releaseFont(FontHandle) override {}
  int textWidth(FontHandle font, std::string_view utf8) override {
    return static_cast<int>(utf8.size()) * static_cast<int>(font % 16 + 1);
  }
  bool imageSize(std::string_view url, int& width, int& height) override {
    width = static_cast<int>(url.size()) * 3;
    height = static_cast<int>(url.size()) * 2;
    return !url.empty();
  }
  int checkMarkSize() override { return 13; }
};

}  // namespace ks::render::fuzz
