// UTF-16 text of the Windows API as UTF-8 for the renderer and back. Windows'
// wchar_t is UTF-16, so the renderer's portable converters serve.
#pragma once

#include <string>
#include <string_view>

#include "render/text_utf8.h"

namespace ks {

inline std::string ToUtf8(std::wstring_view text) {
  return render::Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

inline std::wstring FromUtf8(std::string_view text) {
  const std::u16string wide = render::Utf8ToUtf16(text);
  return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size());
}

inline std::u16string_view AsUtf16(std::wstring_view text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace ks
