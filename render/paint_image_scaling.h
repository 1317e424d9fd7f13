// How an image is scaled to the size it is drawn at without blurring small
// icons: whole multiples of its size copy pixels (nearest neighbour); a small
// image enlarged by a fraction is first enlarged by the next whole factor
// that way and then smoothly reduced; everything else is scaled smoothly.
#pragma once

namespace ks::render {

struct ImageScaling {
  bool smooth = false;  // smooth (bicubic) for the last step, else nearest neighbour
  int prescale = 1;     // whole factor applied first by nearest neighbour
};

// Source and destination sizes in device pixels.
ImageScaling ChooseImageScaling(int sourceWidth, int sourceHeight, int width, int height);

// Images up to this size in both directions count as icons.
constexpr int kSmallImage = 64;

}  // namespace ks::render
