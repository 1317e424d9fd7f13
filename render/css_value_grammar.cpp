#include "render/css_value_grammar.h"

#include <optional>
#include <string>

#include "render/css_color.h"
#include "render/text_utf8.h"

namespace ks::render::css {

using Type = CssTokenType;

namespace {

bool IsClose(Type open, Type t) {
  return (open == Type::LeftParen && t == Type::RightParen) || (open == Type::Function && t == Type::RightParen) ||
         (open == Type::LeftBracket && t == Type::RightBracket) || (open == Type::LeftBrace && t == Type::RightBrace);
}

}  // namespace

namespace {

bool IsOpen(Type t) {
  return t == Type::LeftParen || t == Type::Function || t == Type::LeftBracket || t == Type::LeftBrace;
}

}  // namespace

// Skips one component starting at tokens[i]; returns the index after it.
std::size_t SkipComponent(const std::vector<CssToken>& tokens, std::size_t i, std::size_t end) {
  if (!IsOpen(tokens[i].type)) return i + 1;
  std::vector<Type> stack{tokens[i].type};
  ++i;
  while (i < end && !stack.empty()) {
    const Type t = tokens[i].type;
    if (IsOpen(t)) {
      stack.push_back(t);
    } else if (IsClose(stack.back(), t)) {
      stack.pop_back();
    }
    ++i;
  }
  return i;
}

std::vector<Component> Components(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end) {
  std::vector<Component> out;
  for (std::size_t i = begin; i < end;) {
    const CssToken& t = tokens[i];
    if (t.type == Type::Whitespace) {
      ++i;
      continue;
    }
    // "100%%": the doubled percent sign of hand-written pages reads as one.
    if (t.type == Type::Delim && t.text == "%" && i > begin && tokens[i - 1].type == Type::Percentage) {
      ++i;
      continue;
    }
    Component c;
    c.token = &t;
    const std::size_t next = SkipComponent(tokens, i, end);
    if (t.type == Type::Function) {
      for (std::size_t k = i + 1; k < next; ++k) {
        const Type a = tokens[k].type;
        if (a != Type::Whitespace && a != Type::Comma && a != Type::RightParen) c.args.push_back(&tokens[k]);
      }
    }
    out.push_back(std::move(c));
    i = next;
  }
  return out;
}

CssValue Keyword(CssKeyword k) {
  CssValue v;
  v.type = CssValue::Type::Keyword;
  v.keyword = k;
  return v;
}

CssValue Length(float number, CssUnit unit) {
  CssValue v;
  v.type = CssValue::Type::Length;
  v.number = number;
  v.unit = unit;
  return v;
}

CssValue Color(std::uint32_t argb) {
  CssValue v;
  v.type = CssValue::Type::Color;
  v.color = argb;
  return v;
}

CssKeyword KeywordOf(const Component& c) {
  if (c.token->type != Type::Ident) return CssKeyword::Unknown;
  return KeywordFromName(AsciiLowered(c.token->text));
}

namespace {

std::optional<CssUnit> UnitFromName(std::string_view unit) {
  const std::string u = AsciiLowered(unit);
  if (u == "px") return CssUnit::Px;
  if (u == "pt") return CssUnit::Pt;
  if (u == "pc") return CssUnit::Pc;
  if (u == "em") return CssUnit::Em;
  if (u == "ex") return CssUnit::Ex;
  if (u == "rem") return CssUnit::Rem;
  if (u == "cm") return CssUnit::Cm;
  if (u == "mm") return CssUnit::Mm;
  if (u == "in") return CssUnit::In;
  return std::nullopt;
}

}  // namespace

std::optional<CssValue> ParseLength(const CssToken& t, LengthRules rules) {
  std::optional<CssValue> v;
  if (t.type == Type::Dimension) {
    const auto unit = UnitFromName(t.text);
    if (!unit) return std::nullopt;
    v = Length(static_cast<float>(t.number), *unit);
  } else if (t.type == Type::Percentage && rules.percent) {
    v = Length(static_cast<float>(t.number), CssUnit::Percent);
  } else if (t.type == Type::Number && (t.number == 0.0 || rules.unitlessAsPx)) {
    v = Length(static_cast<float>(t.number), CssUnit::Px);
  }
  if (!v) return std::nullopt;
  if (!rules.negative && v->number < 0) return std::nullopt;
  // Keep numbers in a range where layout arithmetic cannot overflow.
  if (v->number > 1.0e6f) v->number = 1.0e6f;
  if (v->number < -1.0e6f) v->number = -1.0e6f;
  return v;
}

namespace {

std::optional<std::uint32_t> ParseColorComponent(const Component& c) {
  const CssToken& t = *c.token;
  std::uint32_t argb = 0;
  if (t.type == Type::Hash) {
    if (HexColor(t.text, argb)) return argb;
    return std::nullopt;
  }
  if (t.type == Type::Ident) {
    const std::string name = AsciiLowered(t.text);
    if (name == "transparent") return 0u;
    if (NamedColor(name, argb)) return argb;
    return std::nullopt;
  }
  if (t.type == Type::Function) {
    const std::string fn = AsciiLowered(t.text);
    if ((fn != "rgb" && fn != "rgba") || (c.args.size() != 3 && c.args.size() != 4)) return std::nullopt;
    std::uint32_t channels[4] = {0, 0, 0, 255};
    for (std::size_t i = 0; i < c.args.size(); ++i) {
      const CssToken& a = *c.args[i];
      double value = 0;
      if (a.type == Type::Number) {
        value = i == 3 ? a.number * 255.0 : a.number;
      } else if (a.type == Type::Percentage) {
        value = a.number * 2.55;
      } else {
        return std::nullopt;
      }
      if (value < 0) value = 0;
      if (value > 255) value = 255;
      channels[i] = static_cast<std::uint32_t>(value + 0.5);
    }
    return (channels[3] << 24) | (channels[0] << 16) | (channels[1] << 8) | channels[2];
  }
  return std::nullopt;
}

}  // namespace

std::optional<CssValue> ParseColorValue(const Component& c) {
  if (KeywordOf(c) == CssKeyword::CurrentColor) return Keyword(CssKeyword::CurrentColor);
  const auto argb = ParseColorComponent(c);
  if (!argb) return std::nullopt;
  return Color(*argb);
}

std::optional<CssValue> ParseBorderWidth(const Component& c) {
  switch (KeywordOf(c)) {
    case CssKeyword::Thin: return Length(1, CssUnit::Px);
    case CssKeyword::Medium: return Length(3, CssUnit::Px);
    case CssKeyword::Thick: return Length(5, CssUnit::Px);
    default: break;
  }
  return ParseLength(*c.token, LengthRules{false, false, true});
}

bool IsBorderStyle(CssKeyword k) {
  switch (k) {
    case CssKeyword::None:
    case CssKeyword::Hidden:
    case CssKeyword::Solid:
    case CssKeyword::Dashed:
    case CssKeyword::Dotted:
    case CssKeyword::Double:
    case CssKeyword::Groove:
    case CssKeyword::Ridge:
    case CssKeyword::Inset:
    case CssKeyword::Outset: return true;
    default: return false;
  }
}

std::optional<CssValue> FontSizeValue(const Component& c) {
  switch (KeywordOf(c)) {
    case CssKeyword::XxSmall: return Length(9, CssUnit::Px);
    case CssKeyword::XSmall: return Length(10, CssUnit::Px);
    case CssKeyword::Small: return Length(13, CssUnit::Px);
    case CssKeyword::Medium: return Length(16, CssUnit::Px);
    case CssKeyword::Large: return Length(18, CssUnit::Px);
    case CssKeyword::XLarge: return Length(24, CssUnit::Px);
    case CssKeyword::XxLarge: return Length(32, CssUnit::Px);
    case CssKeyword::Smaller: return Length(83.33f, CssUnit::Percent);
    case CssKeyword::Larger: return Length(120, CssUnit::Percent);
    default: break;
  }
  return ParseLength(*c.token, LengthRules{true, false, true});
}

std::optional<CssValue> FontWeightValue(const Component& c) {
  const CssKeyword k = KeywordOf(c);
  if (k == CssKeyword::Normal) return Length(400, CssUnit::None);
  if (k == CssKeyword::Bold) return Length(700, CssUnit::None);
  if (k == CssKeyword::Bolder || k == CssKeyword::Lighter) return Keyword(k);
  if (c.token->type == Type::Number && c.token->number >= 1 && c.token->number <= 1000) {
    CssValue v = Length(static_cast<float>(c.token->number), CssUnit::None);
    v.type = CssValue::Type::Number;
    return v;
  }
  return std::nullopt;
}

std::optional<CssValue> LineHeightValue(const Component& c) {
  if (KeywordOf(c) == CssKeyword::Normal) return Keyword(CssKeyword::Normal);
  if (c.token->type == Type::Number) {
    if (c.token->number < 0) return std::nullopt;
    CssValue v = Length(static_cast<float>(c.token->number), CssUnit::None);
    v.type = CssValue::Type::Number;
    return v;
  }
  return ParseLength(*c.token, LengthRules{true, false, false});
}

// Family names joined by ',': quoted names as written, unquoted words joined by one space.
std::optional<std::string> FontFamilies(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end) {
  std::string out;
  std::string current;
  bool any = false;
  const auto flush = [&]() {
    if (current.empty()) return false;
    if (!out.empty()) out.push_back(',');
    out += current;
    current.clear();
    any = true;
    return true;
  };
  for (std::size_t i = begin; i < end; ++i) {
    const CssToken& t = tokens[i];
    if (t.type == Type::Whitespace) continue;
    if (t.type == Type::Comma) {
      if (!flush()) return std::nullopt;
    } else if (t.type == Type::String) {
      if (!current.empty()) return std::nullopt;
      current = t.text;
    } else if (t.type == Type::Ident) {
      if (!current.empty()) current.push_back(' ');
      current += t.text;
    } else {
      return std::nullopt;
    }
  }
  if (!flush() && !any) return std::nullopt;
  return out;
}

CssValue FamilyValue(std::string families) {
  CssValue v;
  v.type = CssValue::Type::String;
  v.text = std::move(families);
  return v;
}

std::optional<CssValue> SingleKeyword(const std::vector<Component>& cs, std::initializer_list<CssKeyword> allowed) {
  if (cs.size() != 1) return std::nullopt;
  const CssKeyword k = KeywordOf(cs[0]);
  for (CssKeyword a : allowed) {
    if (a == k) return Keyword(k);
  }
  return std::nullopt;
}

}  // namespace ks::render::css
