#include "render/win32_container.h"

#include <windows.h>

#include "render/win32_gdiplus.h"

#include <algorithm>
#include <cmath>

#include "render/text_utf8.h"

namespace ks::render {
namespace {

// Tried after a family list, in this order, so text always has a font.
constexpr const wchar_t* kLastResort[] = {L"Tahoma", L"Arial", L"Liberation Sans", L"DejaVu Sans"};

// Generic CSS families and common Windows faces with the fonts that stand in
// for them where they are missing (metric-compatible ones first).
struct Alias {
  const char* name;
  const wchar_t* faces[4];
};
constexpr Alias kAliases[] = {
    {"sans-serif", {L"Arial", L"Tahoma", L"Liberation Sans", L"DejaVu Sans"}},
    {"serif", {L"Times New Roman", L"Liberation Serif", L"DejaVu Serif", nullptr}},
    {"monospace", {L"Courier New", L"Liberation Mono", L"DejaVu Sans Mono", nullptr}},
    {"arial", {L"Arial", L"Liberation Sans", L"Arimo", nullptr}},
    {"helvetica", {L"Arial", L"Liberation Sans", nullptr, nullptr}},
    {"times new roman", {L"Times New Roman", L"Liberation Serif", L"Tinos", nullptr}},
    {"courier new", {L"Courier New", L"Liberation Mono", L"Cousine", nullptr}},
    {"verdana", {L"Verdana", L"DejaVu Sans", nullptr, nullptr}},
};

int StyleBits(const FontDesc& d) {
  int style = d.weight >= 600 ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
  if (d.italic) style |= Gdiplus::FontStyleItalic;
  return style;
}

std::string Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '"' || s.front() == '\'')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '"' || s.back() == '\'')) s.remove_suffix(1);
  return std::string(s);
}

std::unique_ptr<Gdiplus::FontFamily> TryFamily(const wchar_t* name, int style) {
  auto family = std::make_unique<Gdiplus::FontFamily>(name);
  if (family->GetLastStatus() != Gdiplus::Ok || !family->IsAvailable()) return nullptr;
  // A face without the wanted style (no bold cut) is still drawn, synthesised.
  if (!family->IsStyleAvailable(style) && !family->IsStyleAvailable(Gdiplus::FontStyleRegular)) return nullptr;
  return family;
}

}  // namespace

Win32Container::Win32Container() {
  measureSurface_ = std::make_unique<Gdiplus::Bitmap>(1, 1, PixelFormat32bppPARGB);
  measure_ = std::make_unique<Gdiplus::Graphics>(measureSurface_.get());
  measure_->SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  measure_->SetPageUnit(Gdiplus::UnitPixel);
  format_ = std::unique_ptr<Gdiplus::StringFormat>(Gdiplus::StringFormat::GenericTypographic()->Clone());
  format_->SetFormatFlags(format_->GetFormatFlags() | Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                          Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsNoClip);
}

Win32Container::~Win32Container() = default;

void Win32Container::setScale(float scale) {
  if (!(scale > 0.1f) || scale == scale_) return;
  scale_ = scale;
  measure_->ResetTransform();
  measure_->ScaleTransform(scale_, scale_);
  for (auto& f : fonts_) {
    if (f) f->widths.clear();
  }
}

std::unique_ptr<Gdiplus::FontFamily> Win32Container::resolveFamily(const std::string& families, int style) const {
  std::size_t pos = 0;
  while (pos <= families.size()) {
    std::size_t comma = families.find(',', pos);
    if (comma == std::string::npos) comma = families.size();
    const std::string name = Trimmed(std::string_view(families).substr(pos, comma - pos));
    pos = comma + 1;
    if (name.empty()) continue;
    const std::string lower = AsciiLowered(name);
    bool aliased = false;
    for (const Alias& a : kAliases) {
      if (lower != a.name) continue;
      aliased = true;
      for (const wchar_t* face : a.faces) {
        if (face) {
          if (auto f = TryFamily(face, style)) return f;
        }
      }
    }
    if (!aliased) {
      const std::u16string wide = Utf8ToUtf16(name);
      if (auto f = TryFamily(reinterpret_cast<const wchar_t*>(wide.c_str()), style)) return f;
    }
  }
  for (const wchar_t* face : kLastResort) {
    if (auto f = TryFamily(face, style)) return f;
  }
  const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
  return generic ? std::unique_ptr<Gdiplus::FontFamily>(generic->Clone()) : nullptr;
}

FontHandle Win32Container::createFont(const FontDesc& desc, FontMetrics& metrics) {
  auto rec = std::make_unique<FontRecord>();
  rec->desc = desc;
  const int style = StyleBits(desc);
  const float size = std::clamp(desc.size, 1.0f, 500.0f);
  rec->family = resolveFamily(desc.families, style);
  if (rec->family) {
    rec->font = std::make_unique<Gdiplus::Font>(rec->family.get(), size, style, Gdiplus::UnitPixel);
    if (rec->font->GetLastStatus() != Gdiplus::Ok) rec->font.reset();
  }
  float ascent = size * 0.8f;
  float descent = size * 0.2f;
  if (rec->font) {
    const float em = rec->family->GetEmHeight(style);
    if (em > 0) {
      ascent = size * rec->family->GetCellAscent(style) / em;
      descent = size * rec->family->GetCellDescent(style) / em;
    }
  }
  rec->ascent = ascent;
  metrics.ascent = static_cast<int>(std::ceil(ascent));
  metrics.descent = static_cast<int>(std::ceil(descent));
  metrics.xHeight = static_cast<int>(std::lround(size * 0.52f));
  fonts_.push_back(std::move(rec));
  return fonts_.size();
}

void Win32Container::releaseFont(FontHandle font) {
  if (font >= 1 && font <= fonts_.size()) fonts_[font - 1].reset();
}

Gdiplus::Font* Win32Container::font(FontHandle handle) const {
  if (handle < 1 || handle > fonts_.size() || !fonts_[handle - 1]) return nullptr;
  return fonts_[handle - 1]->font.get();
}

float Win32Container::ascent(FontHandle handle) const {
  if (handle < 1 || handle > fonts_.size() || !fonts_[handle - 1]) return 0;
  return fonts_[handle - 1]->ascent;
}

std::wstring Win32Container::familyName(FontHandle handle) const {
  if (handle < 1 || handle > fonts_.size() || !fonts_[handle - 1] || !fonts_[handle - 1]->family) return {};
  WCHAR name[LF_FACESIZE] = {};
  fonts_[handle - 1]->family->GetFamilyName(name);
  return name;
}

int Win32Container::textWidth(FontHandle handle, std::string_view utf8) {
  if (utf8.empty() || handle < 1 || handle > fonts_.size() || !fonts_[handle - 1]) return 0;
  FontRecord& rec = *fonts_[handle - 1];
  const auto cached = rec.widths.find(std::string(utf8));
  if (cached != rec.widths.end()) return cached->second;
  int width = 0;
  const std::u16string wide = Utf8ToUtf16(utf8);
  if (rec.font && !wide.empty() && wide.size() < 0x7FFFFFFF) {
    Gdiplus::RectF box;
    const Gdiplus::RectF layout(0, 0, 1.0e6f, 1.0e6f);
    if (measure_->MeasureString(reinterpret_cast<const WCHAR*>(wide.data()), static_cast<INT>(wide.size()),
                                rec.font.get(), layout, format_.get(), &box) == Gdiplus::Ok) {
      // Rounded up so text drawn at the device scale never overruns its box.
      width = static_cast<int>(std::ceil(box.Width - 0.01f));
    }
  }
  rec.widths.emplace(std::string(utf8), width);
  return width;
}

bool Win32Container::addImage(const std::string& url, std::string_view bytes) {
  auto decoded = Win32Image::Decode(bytes);
  if (!decoded) return false;
  images_[url] = std::move(decoded);
  return true;
}

const Win32Image* Win32Container::image(std::string_view url) const {
  const auto it = images_.find(url);
  return it == images_.end() ? nullptr : it->second.get();
}

bool Win32Container::imageSize(std::string_view url, int& width, int& height) {
  const Win32Image* img = image(url);
  if (!img) return false;
  width = img->width();
  height = img->height();
  return true;
}

}  // namespace ks::render
