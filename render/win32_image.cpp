#include "render/win32_image.h"

#include <windows.h>

#include "render/win32_gdiplus.h"
#include <shlwapi.h>

#include <limits>

namespace ks::render {
namespace {

// Larger pictures than this are refused rather than decoded into memory.
constexpr UINT kMaxSide = 8192;

struct ReleaseStream {
  void operator()(IStream* s) const noexcept { s->Release(); }
};

}  // namespace

Win32Image::Win32Image(std::unique_ptr<Gdiplus::Bitmap> bitmap) : bitmap_(std::move(bitmap)) {
  width_ = static_cast<int>(bitmap_->GetWidth());
  height_ = static_cast<int>(bitmap_->GetHeight());
}

Win32Image::~Win32Image() = default;

std::unique_ptr<Win32Image> Win32Image::Decode(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > std::numeric_limits<UINT>::max()) return nullptr;
  std::unique_ptr<IStream, ReleaseStream> stream(
      SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!stream) return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream.get()));
  if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok) return nullptr;
  const UINT w = decoded->GetWidth();
  const UINT h = decoded->GetHeight();
  if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return nullptr;
  // A decoded bitmap keeps reading its stream; a private copy in the
  // drawing format lets the stream go and draws fastest.
  auto copy = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(w), static_cast<INT>(h), PixelFormat32bppPARGB);
  if (copy->GetLastStatus() != Gdiplus::Ok) return nullptr;
  {
    Gdiplus::Graphics g(copy.get());
    g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    if (g.DrawImage(decoded.get(), 0, 0, static_cast<INT>(w), static_cast<INT>(h)) != Gdiplus::Ok) return nullptr;
  }
  return std::make_unique<Win32Image>(std::move(copy));
}

Gdiplus::Bitmap& Win32Image::enlarged(int factor) const {
  if (factor <= 1 || static_cast<UINT>(width_) > kMaxSide / static_cast<UINT>(factor) ||
      static_cast<UINT>(height_) > kMaxSide / static_cast<UINT>(factor)) {
    return *bitmap_;
  }
  if (enlarged_ && enlargedFactor_ == factor) return *enlarged_;
  auto copy = std::make_unique<Gdiplus::Bitmap>(width_ * factor, height_ * factor, PixelFormat32bppPARGB);
  if (copy->GetLastStatus() != Gdiplus::Ok) return *bitmap_;
  {
    Gdiplus::Graphics g(copy.get());
    g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    if (g.DrawImage(bitmap_.get(), 0, 0, width_ * factor, height_ * factor) != Gdiplus::Ok) return *bitmap_;
  }
  enlarged_ = std::move(copy);
  enlargedFactor_ = factor;
  return *enlarged_;
}

}  // namespace ks::render
