#include "render/paint_image_scaling.h"

#include <algorithm>

namespace ks::render {

ImageScaling ChooseImageScaling(int sourceWidth, int sourceHeight, int width, int height) {
  if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0) return {};
  if (width % sourceWidth == 0 && height % sourceHeight == 0 && width / sourceWidth == height / sourceHeight) {
    return {};  // natural size or a whole multiple of it
  }
  const bool small = sourceWidth <= kSmallImage && sourceHeight <= kSmallImage;
  const bool enlarged = width > sourceWidth || height > sourceHeight;
  if (!small || !enlarged) return {true, 1};
  const int across = (width + sourceWidth - 1) / sourceWidth;
  const int down = (height + sourceHeight - 1) / sourceHeight;
  // The bound keeps a tiny image drawn huge from a huge intermediate copy.
  return {true, std::clamp(std::max(across, down), 1, 16)};
}

}  // namespace ks::render
