// What the layout needs from the platform: fonts, text widths and image
// sizes. The Windows layer implements it with GDI+; tests use fixed metrics.
// All sizes are CSS pixels (96 per inch); scaling to the screen happens when
// painting.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ks::render {

using FontHandle = std::uintptr_t;

struct FontDesc {
  std::string families;  // CSS family names joined by ',', first that exists wins
  float size = 12.0f;    // px
  int weight = 400;
  bool italic = false;
};

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int xHeight = 0;
};

class Container {
 public:
  virtual ~Container() = default;

  // Called once per distinct font of a layout; the handle comes back in
  // every measurement and in the paint list.
  virtual FontHandle createFont(const FontDesc& desc, FontMetrics& metrics) = 0;
  virtual void releaseFont(FontHandle font) = 0;
  virtual int textWidth(FontHandle font, std::string_view utf8) = 0;

  // Natural size of an image as far as it is known; false when it is not
  // (not loaded yet or not an image).
  virtual bool imageSize(std::string_view url, int& width, int& height) = 0;

  // Side of the square that a check box or radio button mark takes.
  virtual int checkMarkSize() = 0;
};

}  // namespace ks::render
