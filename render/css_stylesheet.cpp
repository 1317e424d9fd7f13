#include "render/css_stylesheet.h"

#include "render/css_declaration_parser.h"
#include "render/css_tokenizer.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

using Type = CssTokenType;

// Nested @media blocks deeper than this are skipped whole.
constexpr int kMaxBlockNesting = 8;

class SheetParser {
 public:
  SheetParser(const std::vector<CssToken>& tokens, StyleSheet& sheet) : t_(tokens), sheet_(sheet) {}

  void run() { parseRules(0, false); }

 private:
  std::size_t last() const { return t_.size() - 1; }

  // Skips a {} [] () block or a single token.
  void skipComponent() {
    const Type open = t_[pos_].type;
    Type close;
    switch (open) {
      case Type::LeftBrace: close = Type::RightBrace; break;
      case Type::LeftBracket: close = Type::RightBracket; break;
      case Type::LeftParen:
      case Type::Function: close = Type::RightParen; break;
      default: ++pos_; return;
    }
    ++pos_;
    // Nested blocks of any kind only need counting of the same pair here;
    // mismatched inner closers are skipped like any other token.
    std::vector<Type> stack{close};
    while (pos_ < last() && !stack.empty()) {
      const Type t = t_[pos_].type;
      if (t == stack.back()) {
        stack.pop_back();
      } else if (t == Type::LeftBrace) {
        stack.push_back(Type::RightBrace);
      } else if (t == Type::LeftBracket) {
        stack.push_back(Type::RightBracket);
      } else if (t == Type::LeftParen || t == Type::Function) {
        stack.push_back(Type::RightParen);
      }
      ++pos_;
    }
  }

  void parseRules(int nesting, bool nested) {
    while (pos_ < last()) {
      const CssToken& t = t_[pos_];
      switch (t.type) {
        case Type::Whitespace:
        case Type::Cdo:
        case Type::Cdc:
        case Type::Semicolon: ++pos_; continue;
        case Type::RightBrace:
          ++pos_;
          if (nested) return;
          continue;
        case Type::AtKeyword: parseAtRule(nesting); continue;
        case Type::Delim:
          if (t.text == "<" && !nested) {  // "<style>" or "</style>" around the sheet
            while (pos_ < last() && !(t_[pos_].type == Type::Delim && t_[pos_].text == ">")) ++pos_;
            if (pos_ < last()) ++pos_;
            continue;
          }
          break;
        default: break;
      }
      parseQualifiedRule();
    }
  }

  void parseAtRule(int nesting) {
    const std::string name = AsciiLowered(t_[pos_].text);
    ++pos_;
    const std::size_t preludeStart = pos_;
    while (pos_ < last() && t_[pos_].type != Type::Semicolon && t_[pos_].type != Type::LeftBrace) {
      skipComponent();
    }
    const std::size_t preludeEnd = pos_;
    const bool hasBlock = pos_ < last() && t_[pos_].type == Type::LeftBrace;
    if (name == "import" && !hasBlock) {
      for (std::size_t i = preludeStart; i < preludeEnd; ++i) {
        const CssToken& p = t_[i];
        if (p.type == Type::Whitespace) continue;
        if (p.type == Type::String || p.type == Type::Url) {
          sheet_.imports.push_back(p.text);
        } else if (p.type == Type::Function && EqualsIgnoreAsciiCase(p.text, "url") && i + 1 < preludeEnd) {
          std::size_t k = i + 1;
          while (k < preludeEnd && t_[k].type == Type::Whitespace) ++k;
          if (k < preludeEnd && t_[k].type == Type::String) sheet_.imports.push_back(t_[k].text);
        }
        break;  // media lists after the URL are ignored
      }
    }
    if (!hasBlock) {
      if (pos_ < last()) ++pos_;  // ';'
      return;
    }
    if (name == "media" && nesting < kMaxBlockNesting && MediaApplies(preludeStart, preludeEnd)) {
      ++pos_;  // '{'
      parseRules(nesting + 1, true);
      return;
    }
    skipComponent();
  }

  bool MediaApplies(std::size_t begin, std::size_t end) const {
    bool any = false;
    for (std::size_t i = begin; i < end; ++i) {
      if (t_[i].type != Type::Ident) continue;
      any = true;
      const std::string m = AsciiLowered(t_[i].text);
      if (m == "all" || m == "screen") return true;
    }
    return !any;
  }

  void parseQualifiedRule() {
    const std::size_t preludeStart = pos_;
    while (pos_ < last() && t_[pos_].type != Type::LeftBrace) skipComponent();
    if (pos_ >= last()) return;  // a prelude without a block is dropped
    const std::size_t preludeEnd = pos_;
    ++pos_;  // '{'
    StyleRule rule;
    const bool selectorsOk = ParseSelectorList(t_, preludeStart, preludeEnd, rule.selectors);
    ParseDeclarationList(t_, pos_, rule.declarations);
    if (selectorsOk && !rule.declarations.empty()) sheet_.rules.push_back(std::move(rule));
  }

  const std::vector<CssToken>& t_;
  StyleSheet& sheet_;
  std::size_t pos_ = 0;
};

}  // namespace

StyleSheet ParseStyleSheet(std::string_view text) {
  StyleSheet sheet;
  const std::vector<CssToken> tokens = TokenizeCss(text);
  SheetParser(tokens, sheet).run();
  return sheet;
}

}  // namespace ks::render
