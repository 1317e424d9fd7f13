// A container with fixed metrics so layout tests state exact positions: every
// character of a font is ceil(size / 2) pixels wide, the ascent is 80% and
// the descent 20% of the size.
#pragma once

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "render/layout_container.h"
#include "render/text_utf8.h"

namespace ks::render::testing {

class FakeContainer : public Container {
 public:
  FontHandle createFont(const FontDesc& desc, FontMetrics& metrics) override {
    fonts.push_back(desc);
    metrics.ascent = static_cast<int>(std::lround(desc.size * 0.8f));
    metrics.descent = static_cast<int>(std::lround(desc.size * 0.2f));
    metrics.xHeight = static_cast<int>(std::lround(desc.size * 0.5f));
    return fonts.size();
  }
  void releaseFont(FontHandle) override { ++released; }
  int textWidth(FontHandle font, std::string_view utf8) override {
    const FontDesc& d = fonts.at(font - 1);
    int chars = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
      DecodeUtf8(utf8, pos);
      ++chars;
    }
    ++measured;
    return chars * static_cast<int>(std::ceil(d.size / 2.0f));
  }
  bool imageSize(std::string_view url, int& width, int& height) override {
    const auto it = images.find(std::string(url));
    if (it == images.end()) return false;
    width = it->second.first;
    height = it->second.second;
    return true;
  }
  int checkMarkSize() override { return 13; }

  std::vector<FontDesc> fonts;
  std::map<std::string, std::pair<int, int>> images;
  int released = 0;
  int measured = 0;
};

}  // namespace ks::render::testing
