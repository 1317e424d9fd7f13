#include "agent/menu_text_key.h"

#include <algorithm>

namespace ks {

namespace {

constexpr wchar_t kEllipsis = L'\u2026';

wchar_t AsciiLower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

bool EqualIgnoringAsciiCase(const std::wstring& left, const std::wstring& right) {
  return left.size() == right.size() &&
         std::equal(left.begin(), left.end(), right.begin(),
                    [](wchar_t l, wchar_t r) { return AsciiLower(l) == AsciiLower(r); });
}

std::wstring MenuTextKey(const std::wstring& text, UpperCaseFunction upperCase) {
  std::wstring key = text;
  key.erase(std::remove(key.begin(), key.end(), kEllipsis), key.end());
  std::replace(key.begin(), key.end(), L' ', L'_');
  if (upperCase != nullptr) upperCase(key);
  key.erase(std::remove(key.begin(), key.end(), L'&'), key.end());
  return EqualIgnoringAsciiCase(key, text) ? text : key;
}

}  // namespace ks
