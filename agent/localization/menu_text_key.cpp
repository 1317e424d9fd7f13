#include "agent/localization/menu_text_key.h"

#include <algorithm>

#include "common/ascii.h"

namespace ks {

namespace {

constexpr wchar_t kEllipsis = L'\u2026';

}  // namespace

std::wstring MenuTextKey(const std::wstring& text, UpperCaseFunction upperCase) {
  std::wstring key = text;
  key.erase(std::remove(key.begin(), key.end(), kEllipsis), key.end());
  std::replace(key.begin(), key.end(), L' ', L'_');
  if (upperCase != nullptr) upperCase(key);
  key.erase(std::remove(key.begin(), key.end(), L'&'), key.end());
  return EqualIgnoringAsciiCase(key, text) ? text : key;
}

}  // namespace ks
