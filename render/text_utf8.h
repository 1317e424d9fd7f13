// UTF-8 helpers shared by the parsers and the layout: the page text is UTF-8
// inside the core and UTF-16 only at the host boundary.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ks::render {

constexpr char32_t kReplacementChar = 0xFFFD;

// Appends the UTF-8 form of cp; surrogates and values past U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// Decodes the code point at pos and advances pos past it. A malformed or
// truncated sequence yields U+FFFD and advances by one byte, so every input
// makes progress.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// ASCII-only case folding: HTML and CSS names are ASCII, and folding other
// scripts would change user text.
std::string AsciiLowered(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Replaces malformed sequences with U+FFFD and drops NUL bytes, so the rest
// of the engine and the host only ever see well-formed text.
std::string SanitizedUtf8(std::string_view text);

// Removes a leading UTF-8 byte-order mark.
std::string_view StripUtf8Bom(std::string_view text);

}  // namespace ks::render
