#include "render/css_tokenizer.h"

#include <cmath>
#include <cstdlib>

#include "render/text_utf8.h"

namespace ks::render {
namespace {

bool IsNameStart(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsName(unsigned char c) { return IsNameStart(c) || IsDigit(static_cast<char>(c)) || c == '-'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view in) : in_(in) {}

  std::vector<CssToken> run() {
    std::vector<CssToken> out;
    out.reserve(in_.size() / 3 + 1);
    while (pos_ < in_.size()) {
      CssToken t = next();
      if (t.type == CssTokenType::End) continue;  // a comment
      out.push_back(std::move(t));
    }
    out.push_back(CssToken{});
    return out;
  }

 private:
  char at(std::size_t offset) const { return pos_ + offset < in_.size() ? in_[pos_ + offset] : '\0'; }
  unsigned char uat(std::size_t offset) const { return static_cast<unsigned char>(at(offset)); }

  bool validEscape(std::size_t offset) const {
    return at(offset) == '\\' && at(offset + 1) != '\n' && pos_ + offset + 1 < in_.size();
  }
  bool startsIdent(std::size_t offset) const {
    const char c = at(offset);
    if (c == '-') return IsNameStart(uat(offset + 1)) || at(offset + 1) == '-' || validEscape(offset + 1);
    return IsNameStart(uat(offset)) || validEscape(offset);
  }
  bool startsNumber() const {
    const char c = at(0);
    if (IsDigit(c)) return true;
    if (c == '.') return IsDigit(at(1));
    if (c == '+' || c == '-') return IsDigit(at(1)) || (at(1) == '.' && IsDigit(at(2)));
    return false;
  }

  // After the backslash.
  void consumeEscape(std::string& out) {
    if (pos_ >= in_.size()) {
      AppendUtf8(out, kReplacementChar);
      return;
    }
    if (HexDigit(in_[pos_]) >= 0) {
      char32_t cp = 0;
      for (int i = 0; i < 6 && pos_ < in_.size() && HexDigit(in_[pos_]) >= 0; ++i) {
        cp = cp * 16 + static_cast<char32_t>(HexDigit(in_[pos_++]));
      }
      if (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
      AppendUtf8(out, cp == 0 ? kReplacementChar : cp);
      return;
    }
    AppendUtf8(out, DecodeUtf8(in_, pos_));
  }

  std::string consumeName() {
    std::string out;
    while (pos_ < in_.size()) {
      if (IsName(uat(0))) {
        out.push_back(in_[pos_++]);
      } else if (validEscape(0)) {
        ++pos_;
        consumeEscape(out);
      } else {
        break;
      }
    }
    return out;
  }

  CssToken consumeNumeric() {
    const std::size_t start = pos_;
    if (at(0) == '+' || at(0) == '-') ++pos_;
    while (IsDigit(at(0))) ++pos_;
    if (at(0) == '.' && IsDigit(at(1))) {
      ++pos_;
      while (IsDigit(at(0))) ++pos_;
    }
    if ((at(0) == 'e' || at(0) == 'E') && (IsDigit(at(1)) || ((at(1) == '+' || at(1) == '-') && IsDigit(at(2))))) {
      pos_ += 2;
      while (IsDigit(at(0))) ++pos_;
    }
    CssToken t;
    const std::string digits(in_.substr(start, pos_ - start));
    t.number = std::strtod(digits.c_str(), nullptr);
    if (!std::isfinite(t.number)) t.number = 0.0;
    if (startsIdent(0)) {
      t.type = CssTokenType::Dimension;
      t.text = consumeName();
    } else if (at(0) == '%') {
      ++pos_;
      t.type = CssTokenType::Percentage;
    } else {
      t.type = CssTokenType::Number;
    }
    return t;
  }

  CssToken consumeString(char quote) {
    CssToken t;
    t.type = CssTokenType::String;
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == quote) {
        ++pos_;
        return t;
      }
      if (c == '\n') {
        t.type = CssTokenType::BadString;
        return t;
      }
      if (c == '\\') {
        ++pos_;
        if (pos_ >= in_.size()) break;
        if (in_[pos_] == '\n') {
          ++pos_;
          continue;
        }
        consumeEscape(t.text);
        continue;
      }
      t.text.push_back(c);
      ++pos_;
    }
    return t;
  }

  void consumeBadUrlRest() {
    while (pos_ < in_.size() && in_[pos_] != ')') {
      if (validEscape(0)) ++pos_;
      ++pos_;
    }
    if (pos_ < in_.size()) ++pos_;
  }

  CssToken consumeUrl() {
    CssToken t;
    t.type = CssTokenType::Url;
    while (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == ')') {
        ++pos_;
        return t;
      }
      if (IsSpace(c)) {
        while (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
        if (pos_ >= in_.size()) return t;
        if (in_[pos_] == ')') {
          ++pos_;
          return t;
        }
        consumeBadUrlRest();
        t.type = CssTokenType::BadUrl;
        return t;
      }
      if (c == '"' || c == '\'' || c == '(') {
        consumeBadUrlRest();
        t.type = CssTokenType::BadUrl;
        return t;
      }
      if (c == '\\') {
        if (!validEscape(0)) {
          consumeBadUrlRest();
          t.type = CssTokenType::BadUrl;
          return t;
        }
        ++pos_;
        consumeEscape(t.text);
        continue;
      }
      t.text.push_back(c);
      ++pos_;
    }
    return t;
  }

  CssToken consumeIdentLike() {
    std::string name = consumeName();
    CssToken t;
    if (at(0) == '(') {
      ++pos_;
      if (EqualsIgnoreAsciiCase(name, "url")) {
        std::size_t look = 0;
        while (IsSpace(at(look))) ++look;
        if (at(look) != '"' && at(look) != '\'') return consumeUrl();
      }
      t.type = CssTokenType::Function;
    } else {
      t.type = CssTokenType::Ident;
    }
    t.text = std::move(name);
    return t;
  }

  static CssToken Simple(CssTokenType type) {
    CssToken t;
    t.type = type;
    return t;
  }

  CssToken next() {
    const char c = in_[pos_];
    if (c == '/' && at(1) == '*') {
      const std::size_t end = in_.find("*/", pos_ + 2);
      pos_ = end == std::string_view::npos ? in_.size() : end + 2;
      return CssToken{};
    }
    if (IsSpace(c)) {
      while (pos_ < in_.size() && IsSpace(in_[pos_])) ++pos_;
      return Simple(CssTokenType::Whitespace);
    }
    if (c == '"' || c == '\'') {
      ++pos_;
      return consumeString(c);
    }
    if (startsNumber()) return consumeNumeric();
    if (c == '#') {
      if (IsName(uat(1)) || validEscape(1)) {
        CssToken t;
        t.type = CssTokenType::Hash;
        t.hashIsId = startsIdent(1);
        ++pos_;
        t.text = consumeName();
        return t;
      }
    }
    if (c == '-' && at(1) == '-' && at(2) == '>') {
      pos_ += 3;
      return Simple(CssTokenType::Cdc);
    }
    if (c == '<' && in_.substr(pos_, 4) == "<!--") {
      pos_ += 4;
      return Simple(CssTokenType::Cdo);
    }
    if (c == '@' && startsIdent(1)) {
      ++pos_;
      CssToken t;
      t.type = CssTokenType::AtKeyword;
      t.text = consumeName();
      return t;
    }
    if (startsIdent(0)) return consumeIdentLike();
    ++pos_;
    switch (c) {
      case '(': return Simple(CssTokenType::LeftParen);
      case ')': return Simple(CssTokenType::RightParen);
      case '[': return Simple(CssTokenType::LeftBracket);
      case ']': return Simple(CssTokenType::RightBracket);
      case '{': return Simple(CssTokenType::LeftBrace);
      case '}': return Simple(CssTokenType::RightBrace);
      case ',': return Simple(CssTokenType::Comma);
      case ':': return Simple(CssTokenType::Colon);
      case ';': return Simple(CssTokenType::Semicolon);
      default: break;
    }
    CssToken t;
    t.type = CssTokenType::Delim;
    --pos_;
    AppendUtf8(t.text, DecodeUtf8(in_, pos_));
    return t;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<CssToken> TokenizeCss(std::string_view text) {
  const std::string clean = SanitizedUtf8(StripUtf8Bom(text));
  return Tokenizer(clean).run();
}

}  // namespace ks::render
