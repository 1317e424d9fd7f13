// One image decoded from bytes (GIF, JPEG, PNG, BMP; the format is taken
// from the data, not the name) with the platform's decoders.
#pragma once

#include <memory>
#include <string_view>

namespace Gdiplus {
class Bitmap;
}

namespace ks::render {

class Win32Image {
 public:
  // Null when the bytes are not an image the platform can decode.
  static std::unique_ptr<Win32Image> Decode(std::string_view bytes);
  explicit Win32Image(std::unique_ptr<Gdiplus::Bitmap> bitmap);
  ~Win32Image();
  Win32Image(const Win32Image&) = delete;
  Win32Image& operator=(const Win32Image&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  Gdiplus::Bitmap& bitmap() const { return *bitmap_; }
  // The image enlarged by a whole factor, pixels copied; made on first use
  // for that factor and kept. The image itself when it cannot be made.
  Gdiplus::Bitmap& enlarged(int factor) const;

 private:
  std::unique_ptr<Gdiplus::Bitmap> bitmap_;
  mutable std::unique_ptr<Gdiplus::Bitmap> enlarged_;
  mutable int enlargedFactor_ = 0;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace ks::render
