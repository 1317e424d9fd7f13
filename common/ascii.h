// Letter case of A to Z only, for names the system compares that way (library
// names, Run-key paths, web addresses, class names): a locale-aware fold could
// tell "I" from "i" under some user locales and miss a match. Header only, no
// runtime and no heap, so the hook library uses it too.
#pragma once

#include <cstddef>
#include <string_view>

namespace ks {

template <typename Char>
constexpr Char AsciiLower(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

namespace ascii_detail {

template <typename Char>
constexpr bool EqualIgnoringCase(const Char* a, const Char* b, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace ascii_detail

// Whether two texts are equal when A to Z count as a to z, the comparison of
// _wcsicmp in the "C" locale; other letters must match exactly.
constexpr bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && ascii_detail::EqualIgnoringCase(a.data(), b.data(), a.size());
}
constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ascii_detail::EqualIgnoringCase(a.data(), b.data(), a.size());
}

constexpr bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// Whether two NUL-terminated strings are the same, letter case included: the
// runtime's strcmp, for code that links no runtime. A string_view would
// measure the strings with strlen.
template <typename Char>
constexpr bool SameTerminatedString(const Char* a, const Char* b) {
  while (*a != Char(0) && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

}  // namespace ks
