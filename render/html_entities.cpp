#include "render/html_entities.h"

#include <algorithm>
#include <array>
#include <utility>

#include "render/text_utf8.h"

namespace ks::render {
namespace {

// Sorted by name for a binary search; the names a hand-written page uses.
constexpr std::array<std::pair<std::string_view, char32_t>, 52> kNamed{{
    {"AElig", 0xC6},   {"Agrave", 0xC0},   {"Eacute", 0xC9},  {"Ouml", 0xD6},     {"Uuml", 0xDC},    {"aacute", 0xE1},
    {"agrave", 0xE0},  {"amp", 0x26},      {"apos", 0x27},    {"auml", 0xE4},     {"bdquo", 0x201E}, {"bull", 0x2022},
    {"ccedil", 0xE7},  {"cent", 0xA2},     {"copy", 0xA9},    {"deg", 0xB0},      {"eacute", 0xE9},  {"egrave", 0xE8},
    {"euro", 0x20AC},  {"frac12", 0xBD},   {"gt", 0x3E},      {"hellip", 0x2026}, {"iexcl", 0xA1},   {"laquo", 0xAB},
    {"ldquo", 0x201C}, {"lsaquo", 0x2039}, {"lsquo", 0x2018}, {"lt", 0x3C},       {"mdash", 0x2014}, {"middot", 0xB7},
    {"nbsp", 0xA0},    {"ndash", 0x2013},  {"not", 0xAC},     {"ouml", 0xF6},     {"para", 0xB6},    {"plusmn", 0xB1},
    {"pound", 0xA3},   {"quot", 0x22},     {"raquo", 0xBB},   {"rdquo", 0x201D},  {"reg", 0xAE},     {"rsaquo", 0x203A},
    {"rsquo", 0x2019}, {"sbquo", 0x201A},  {"sect", 0xA7},    {"shy", 0xAD},      {"szlig", 0xDF},   {"times", 0xD7},
    {"trade", 0x2122}, {"uuml", 0xFC},     {"yen", 0xA5},     {"zwnj", 0x200C},
}};

// Windows-1252 meaning of 0x80..0x9F; zero where the code page leaves a hole.
constexpr std::array<char32_t, 32> kCp1252{{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
}};

bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool DecodeCharacterReference(std::string_view text, std::size_t& pos, std::string& out) {
  std::size_t i = pos + 1;
  if (i < text.size() && text[i] == '#') {
    ++i;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    const std::size_t digitsStart = i;
    char32_t value = 0;
    bool overflow = false;
    while (i < text.size()) {
      const int d = hex ? HexValue(text[i]) : ((text[i] >= '0' && text[i] <= '9') ? text[i] - '0' : -1);
      if (d < 0) break;
      value = value * (hex ? 16u : 10u) + static_cast<char32_t>(d);
      if (value > 0x10FFFF) {
        overflow = true;
        value = 0x110000;
      }
      ++i;
    }
    if (i == digitsStart) return false;
    if (i < text.size() && text[i] == ';') ++i;
    if (overflow || value == 0) value = kReplacementChar;
    if (value >= 0x80 && value <= 0x9F && kCp1252[value - 0x80] != 0) value = kCp1252[value - 0x80];
    AppendUtf8(out, value);
    pos = i;
    return true;
  }
  std::size_t end = i;
  while (end < text.size() && end - i < 16 && IsAsciiAlnum(text[end])) ++end;
  if (end == i) return false;
  // The whole alphanumeric run must be a known name; "&foo" stays literal.
  const std::string_view name = text.substr(i, end - i);
  const auto it = std::lower_bound(kNamed.begin(), kNamed.end(), name,
                                   [](const auto& e, std::string_view n) { return e.first < n; });
  if (it == kNamed.end() || it->first != name) return false;
  if (end < text.size() && text[end] == ';') ++end;
  AppendUtf8(out, it->second);
  pos = end;
  return true;
}

std::string DecodeEntities(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == '&' && DecodeCharacterReference(text, pos, out)) continue;
    out.push_back(text[pos++]);
  }
  return out;
}

}  // namespace ks::render
