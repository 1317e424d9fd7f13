// The layout's platform services on Windows: fonts chosen from CSS family
// lists with fallbacks, text measured with GDI+ at the window's scale, and
// the page's images decoded from the bytes the host supplied.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/layout_container.h"
#include "render/win32_image.h"

namespace Gdiplus {
class Bitmap;
class Font;
class FontFamily;
class Graphics;
class StringFormat;
}  // namespace Gdiplus

namespace ks::render {

class Win32Container : public Container {
 public:
  Win32Container();
  ~Win32Container() override;
  Win32Container(const Win32Container&) = delete;
  Win32Container& operator=(const Win32Container&) = delete;

  // Device pixels per CSS pixel (window DPI / 96). Text is measured as it
  // will be drawn at that scale; callers lay the page out again afterwards.
  void setScale(float scale);
  float scale() const { return scale_; }

  FontHandle createFont(const FontDesc& desc, FontMetrics& metrics) override;
  void releaseFont(FontHandle font) override;
  int textWidth(FontHandle font, std::string_view utf8) override;
  bool imageSize(std::string_view url, int& width, int& height) override;
  int checkMarkSize() override { return 13; }

  // Decodes and keeps an image under its URL; false when the bytes are not
  // an image (the URL then stays without one).
  bool addImage(const std::string& url, std::string_view bytes);
  const Win32Image* image(std::string_view url) const;
  void clearImages() { images_.clear(); }

  // For painting: the font of a handle (null when unknown) and its ascent
  // in CSS pixels.
  Gdiplus::Font* font(FontHandle handle) const;
  float ascent(FontHandle handle) const;
  const Gdiplus::StringFormat& textFormat() const { return *format_; }
  // The family a font list resolved to, for tests and diagnostics.
  std::wstring familyName(FontHandle handle) const;

 private:
  struct FontRecord {
    FontDesc desc;
    std::unique_ptr<Gdiplus::FontFamily> family;
    std::unique_ptr<Gdiplus::Font> font;
    float ascent = 0;
    std::unordered_map<std::string, int> widths;
  };
  std::unique_ptr<Gdiplus::FontFamily> resolveFamily(const std::string& families, int style) const;

  float scale_ = 1.0f;
  std::vector<std::unique_ptr<FontRecord>> fonts_;  // handle = index + 1
  std::map<std::string, std::unique_ptr<Win32Image>, std::less<>> images_;
  std::unique_ptr<Gdiplus::Bitmap> measureSurface_;
  std::unique_ptr<Gdiplus::Graphics> measure_;
  std::unique_ptr<Gdiplus::StringFormat> format_;
};

}  // namespace ks::render
