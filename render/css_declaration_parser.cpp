#include "render/css_declaration_parser.h"

#include <optional>
#include <string>

#include "render/css_color.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

using Type = CssTokenType;

// One component value: a token, or a function with its arguments.
struct Component {
  const CssToken* token = nullptr;
  std::vector<const CssToken*> args;  // function arguments without whitespace and commas
};

bool IsClose(Type open, Type t) {
  return (open == Type::LeftParen && t == Type::RightParen) ||
         (open == Type::Function && t == Type::RightParen) ||
         (open == Type::LeftBracket && t == Type::RightBracket) ||
         (open == Type::LeftBrace && t == Type::RightBrace);
}

bool IsOpen(Type t) {
  return t == Type::LeftParen || t == Type::Function || t == Type::LeftBracket || t == Type::LeftBrace;
}

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

struct LengthRules {
  bool percent = true;
  bool negative = true;
  bool unitlessAsPx = true;  // old pages write "width: 100"
};

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
    case CssKeyword::None: case CssKeyword::Hidden: case CssKeyword::Solid: case CssKeyword::Dashed:
    case CssKeyword::Dotted: case CssKeyword::Double: case CssKeyword::Groove: case CssKeyword::Ridge:
    case CssKeyword::Inset: case CssKeyword::Outset:
      return true;
    default:
      return false;
  }
}

constexpr CssProperty kMargins[4] = {CssProperty::MarginTop, CssProperty::MarginRight, CssProperty::MarginBottom,
                                     CssProperty::MarginLeft};
constexpr CssProperty kPaddings[4] = {CssProperty::PaddingTop, CssProperty::PaddingRight,
                                      CssProperty::PaddingBottom, CssProperty::PaddingLeft};
constexpr CssProperty kBorderWidths[4] = {CssProperty::BorderTopWidth, CssProperty::BorderRightWidth,
                                          CssProperty::BorderBottomWidth, CssProperty::BorderLeftWidth};
constexpr CssProperty kBorderStyles[4] = {CssProperty::BorderTopStyle, CssProperty::BorderRightStyle,
                                          CssProperty::BorderBottomStyle, CssProperty::BorderLeftStyle};
constexpr CssProperty kBorderColors[4] = {CssProperty::BorderTopColor, CssProperty::BorderRightColor,
                                          CssProperty::BorderBottomColor, CssProperty::BorderLeftColor};
constexpr CssProperty kRadii[4] = {CssProperty::BorderTopLeftRadius, CssProperty::BorderTopRightRadius,
                                   CssProperty::BorderBottomRightRadius, CssProperty::BorderBottomLeftRadius};

class DeclarationBuilder {
 public:
  DeclarationBuilder(std::vector<CssDeclaration>& out, bool important) : out_(out), important_(important) {}

  void add(CssProperty p, CssValue v) { pending_.push_back(CssDeclaration{p, important_, std::move(v)}); }

  void commit() {
    for (auto& d : pending_) out_.push_back(std::move(d));
  }

 private:
  std::vector<CssDeclaration>& out_;
  bool important_;
  std::vector<CssDeclaration> pending_;
};

// 1 to 4 values for top, right, bottom, left.
template <typename ParseOne>
bool FourSides(const std::vector<Component>& cs, const CssProperty (&props)[4], DeclarationBuilder& b,
               ParseOne parse) {
  if (cs.empty() || cs.size() > 4) return false;
  std::vector<CssValue> v;
  for (const Component& c : cs) {
    auto parsed = parse(c);
    if (!parsed) return false;
    v.push_back(std::move(*parsed));
  }
  const std::size_t n = v.size();
  const CssValue sides[4] = {v[0], n > 1 ? v[1] : v[0], n > 2 ? v[2] : v[0], n > 3 ? v[3] : (n > 1 ? v[1] : v[0])};
  for (int i = 0; i < 4; ++i) b.add(props[i], sides[i]);
  return true;
}

// width, style and colour in any order, each at most once.
bool BorderShorthand(const std::vector<Component>& cs, std::initializer_list<int> sides, DeclarationBuilder& b) {
  if (cs.empty() || cs.size() > 3) return false;
  CssValue width = Length(3, CssUnit::Px);
  CssValue style = Keyword(CssKeyword::None);
  CssValue color = Keyword(CssKeyword::CurrentColor);
  bool haveWidth = false, haveStyle = false, haveColor = false;
  for (const Component& c : cs) {
    const CssKeyword k = KeywordOf(c);
    if (!haveStyle && IsBorderStyle(k)) {
      style = Keyword(k);
      haveStyle = true;
    } else if (auto w = haveWidth ? std::nullopt : ParseBorderWidth(c)) {
      width = *w;
      haveWidth = true;
    } else if (auto col = haveColor ? std::nullopt : ParseColorValue(c)) {
      color = *col;
      haveColor = true;
    } else {
      return false;
    }
  }
  for (int side : sides) {
    const auto i = static_cast<std::size_t>(side);
    b.add(kBorderWidths[i], width);
    b.add(kBorderStyles[i], style);
    b.add(kBorderColors[i], color);
  }
  return true;
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

bool ParseFontShorthand(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end,
                        DeclarationBuilder& b) {
  CssValue style = Keyword(CssKeyword::Normal);
  CssValue weight = Length(400, CssUnit::None);
  weight.type = CssValue::Type::Number;
  std::optional<CssValue> size;
  CssValue lineHeight = Keyword(CssKeyword::Normal);
  std::size_t i = begin;
  while (i < end && !size) {
    const CssToken& t = tokens[i];
    if (t.type == Type::Whitespace) {
      ++i;
      continue;
    }
    Component c;
    c.token = &t;
    const CssKeyword k = KeywordOf(c);
    if (k == CssKeyword::Italic || k == CssKeyword::Oblique) {
      style = Keyword(k);
    } else if (k == CssKeyword::Normal) {
      // applies to whichever of style, variant and weight it stands for
    } else if (auto w = (k == CssKeyword::Unknown || k == CssKeyword::Bold || k == CssKeyword::Bolder ||
                         k == CssKeyword::Lighter) && t.type != Type::Dimension && t.type != Type::Percentage
                            ? FontWeightValue(c)
                            : std::nullopt) {
      weight = *w;
    } else if (auto s = FontSizeValue(c)) {
      size = s;
    } else if (t.type == Type::Ident && EqualsIgnoreAsciiCase(t.text, "small-caps")) {
      // the variant is not drawn
    } else {
      return false;
    }
    ++i;
  }
  if (!size) return false;
  while (i < end && tokens[i].type == Type::Whitespace) ++i;
  if (i < end && tokens[i].type == Type::Delim && tokens[i].text == "/") {
    ++i;
    while (i < end && tokens[i].type == Type::Whitespace) ++i;
    if (i >= end) return false;
    Component c;
    c.token = &tokens[i];
    auto lh = LineHeightValue(c);
    if (!lh) return false;
    lineHeight = *lh;
    ++i;
  }
  const auto families = FontFamilies(tokens, i, end);
  if (!families) return false;
  b.add(CssProperty::FontStyle, style);
  b.add(CssProperty::FontWeight, weight);
  b.add(CssProperty::FontSize, *size);
  b.add(CssProperty::LineHeight, lineHeight);
  b.add(CssProperty::FontFamily, FamilyValue(*families));
  return true;
}

std::optional<CssValue> SingleKeyword(const std::vector<Component>& cs, std::initializer_list<CssKeyword> allowed) {
  if (cs.size() != 1) return std::nullopt;
  const CssKeyword k = KeywordOf(cs[0]);
  for (CssKeyword a : allowed) {
    if (a == k) return Keyword(k);
  }
  return std::nullopt;
}

struct Longhand {
  std::string_view name;
  CssProperty property;
};

constexpr Longhand kLengthProps[] = {
    {"width", CssProperty::Width},           {"height", CssProperty::Height},
    {"min-width", CssProperty::MinWidth},    {"min-height", CssProperty::MinHeight},
    {"margin-top", CssProperty::MarginTop},  {"margin-right", CssProperty::MarginRight},
    {"margin-bottom", CssProperty::MarginBottom}, {"margin-left", CssProperty::MarginLeft},
    {"text-indent", CssProperty::TextIndent},
};
constexpr Longhand kPaddingProps[] = {
    {"padding-top", CssProperty::PaddingTop}, {"padding-right", CssProperty::PaddingRight},
    {"padding-bottom", CssProperty::PaddingBottom}, {"padding-left", CssProperty::PaddingLeft},
};
constexpr std::string_view kSideNames[4] = {"top", "right", "bottom", "left"};
constexpr Longhand kOtherProps[] = {
    {"color", CssProperty::Color},
    {"background-color", CssProperty::BackgroundColor},
    {"font-family", CssProperty::FontFamily},
    {"font-size", CssProperty::FontSize},
    {"font-weight", CssProperty::FontWeight},
    {"font-style", CssProperty::FontStyle},
    {"text-transform", CssProperty::TextTransform},
    {"text-align", CssProperty::TextAlign},
    {"vertical-align", CssProperty::VerticalAlign},
    {"text-decoration", CssProperty::TextDecoration},
    {"white-space", CssProperty::WhiteSpace},
    {"line-height", CssProperty::LineHeight},
    {"display", CssProperty::Display},
    {"float", CssProperty::Float},
    {"clear", CssProperty::Clear},
    {"content", CssProperty::Content},
    {"cursor", CssProperty::Cursor},
    {"border-spacing", CssProperty::BorderSpacing},
    {"visibility", CssProperty::Visibility},
    {"border-top-left-radius", CssProperty::BorderTopLeftRadius},
    {"border-top-right-radius", CssProperty::BorderTopRightRadius},
    {"border-bottom-right-radius", CssProperty::BorderBottomRightRadius},
    {"border-bottom-left-radius", CssProperty::BorderBottomLeftRadius},
};

// The longhands a name stands for, used to spread 'inherit'.
std::vector<CssProperty> LonghandsOf(std::string_view name);

bool ParseValue(std::string_view name, const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end,
                DeclarationBuilder& b) {
  const std::vector<Component> cs = Components(tokens, begin, end);
  if (cs.empty()) return false;
  if (cs.size() == 1 && KeywordOf(cs[0]) == CssKeyword::Inherit) {
    const std::vector<CssProperty> props = LonghandsOf(name);
    CssValue inherit;
    inherit.type = CssValue::Type::Inherit;
    for (CssProperty p : props) b.add(p, inherit);
    return !props.empty();
  }
  const auto one = [&](CssProperty p, std::optional<CssValue> v) {
    if (!v) return false;
    b.add(p, std::move(*v));
    return true;
  };
  for (const Longhand& l : kLengthProps) {
    if (name != l.name) continue;
    if (cs.size() != 1) return false;
    if (KeywordOf(cs[0]) == CssKeyword::Auto && l.property != CssProperty::TextIndent) {
      return one(l.property, Keyword(CssKeyword::Auto));
    }
    const bool negative = l.property != CssProperty::Width && l.property != CssProperty::Height &&
                          l.property != CssProperty::MinWidth && l.property != CssProperty::MinHeight;
    return one(l.property, ParseLength(*cs[0].token, LengthRules{true, negative, true}));
  }
  for (const Longhand& l : kPaddingProps) {
    if (name != l.name) continue;
    if (cs.size() != 1) return false;
    return one(l.property, ParseLength(*cs[0].token, LengthRules{true, false, true}));
  }
  if (name == "margin") {
    return FourSides(cs, kMargins, b, [](const Component& c) -> std::optional<CssValue> {
      if (KeywordOf(c) == CssKeyword::Auto) return Keyword(CssKeyword::Auto);
      return ParseLength(*c.token, LengthRules{});
    });
  }
  if (name == "padding") {
    return FourSides(cs, kPaddings, b,
                     [](const Component& c) { return ParseLength(*c.token, LengthRules{true, false, true}); });
  }
  if (name == "color") return cs.size() == 1 && one(CssProperty::Color, ParseColorValue(cs[0]));
  if (name == "background-color") return cs.size() == 1 && one(CssProperty::BackgroundColor, ParseColorValue(cs[0]));
  if (name == "background") {
    CssValue color = Color(0);
    for (const Component& c : cs) {
      if (auto v = ParseColorValue(c)) color = *v;
    }
    b.add(CssProperty::BackgroundColor, color);
    return true;
  }
  if (name == "font-family") {
    const auto f = FontFamilies(tokens, begin, end);
    return f && one(CssProperty::FontFamily, FamilyValue(*f));
  }
  if (name == "font-size") return cs.size() == 1 && one(CssProperty::FontSize, FontSizeValue(cs[0]));
  if (name == "font-weight") return cs.size() == 1 && one(CssProperty::FontWeight, FontWeightValue(cs[0]));
  if (name == "font-style") {
    return one(CssProperty::FontStyle, SingleKeyword(cs, {CssKeyword::Normal, CssKeyword::Italic, CssKeyword::Oblique}));
  }
  if (name == "font") return ParseFontShorthand(tokens, begin, end, b);
  if (name == "line-height") return cs.size() == 1 && one(CssProperty::LineHeight, LineHeightValue(cs[0]));
  if (name == "text-transform") {
    return one(CssProperty::TextTransform, SingleKeyword(cs, {CssKeyword::None, CssKeyword::Uppercase,
                                                              CssKeyword::Lowercase, CssKeyword::Capitalize}));
  }
  if (name == "text-align") {
    return one(CssProperty::TextAlign, SingleKeyword(cs, {CssKeyword::Left, CssKeyword::Right, CssKeyword::Center,
                                                          CssKeyword::Justify}));
  }
  if (name == "vertical-align") {
    if (auto k = SingleKeyword(cs, {CssKeyword::Baseline, CssKeyword::Top, CssKeyword::Middle, CssKeyword::Bottom,
                                    CssKeyword::Sub, CssKeyword::Super, CssKeyword::TextTop,
                                    CssKeyword::TextBottom})) {
      return one(CssProperty::VerticalAlign, k);
    }
    return cs.size() == 1 && one(CssProperty::VerticalAlign, ParseLength(*cs[0].token, LengthRules{}));
  }
  if (name == "text-decoration") {
    // Only the line kinds matter here; colours and styles of the line are ignored.
    CssKeyword line = CssKeyword::Unknown;
    for (const Component& c : cs) {
      const CssKeyword k = KeywordOf(c);
      if (k == CssKeyword::None || k == CssKeyword::Underline || k == CssKeyword::LineThrough ||
          k == CssKeyword::Overline) {
        if (line == CssKeyword::Unknown || line == CssKeyword::None) line = k;
      }
    }
    return line != CssKeyword::Unknown && one(CssProperty::TextDecoration, Keyword(line));
  }
  if (name == "white-space") {
    return one(CssProperty::WhiteSpace, SingleKeyword(cs, {CssKeyword::Normal, CssKeyword::Nowrap, CssKeyword::Pre,
                                                           CssKeyword::PreWrap, CssKeyword::PreLine}));
  }
  if (name == "display") {
    return one(CssProperty::Display,
               SingleKeyword(cs, {CssKeyword::None, CssKeyword::Block, CssKeyword::Inline, CssKeyword::InlineBlock,
                                  CssKeyword::ListItem, CssKeyword::Table, CssKeyword::InlineTable,
                                  CssKeyword::TableRow, CssKeyword::TableCell, CssKeyword::TableRowGroup,
                                  CssKeyword::TableHeaderGroup, CssKeyword::TableFooterGroup,
                                  CssKeyword::TableColumn, CssKeyword::TableColumnGroup, CssKeyword::TableCaption}));
  }
  if (name == "float") {
    return one(CssProperty::Float, SingleKeyword(cs, {CssKeyword::None, CssKeyword::Left, CssKeyword::Right}));
  }
  if (name == "clear") {
    return one(CssProperty::Clear,
               SingleKeyword(cs, {CssKeyword::None, CssKeyword::Left, CssKeyword::Right, CssKeyword::Both}));
  }
  if (name == "visibility") {
    return one(CssProperty::Visibility,
               SingleKeyword(cs, {CssKeyword::Visible, CssKeyword::Hidden, CssKeyword::Collapse}));
  }
  if (name == "cursor") {
    // A list of cursor images ends in a keyword; only the keyword counts.
    const CssKeyword k = KeywordOf(cs.back());
    return k != CssKeyword::Unknown && one(CssProperty::Cursor, Keyword(k));
  }
  if (name == "content") {
    CssValue v;
    if (cs.size() == 1 && (KeywordOf(cs[0]) == CssKeyword::None || KeywordOf(cs[0]) == CssKeyword::Normal)) {
      return one(CssProperty::Content, Keyword(KeywordOf(cs[0])));
    }
    v.type = CssValue::Type::String;
    for (const Component& c : cs) {
      if (c.token->type != Type::String) return false;
      v.text += c.token->text;
    }
    return one(CssProperty::Content, v);
  }
  if (name == "border-spacing") {
    return (cs.size() == 1 || cs.size() == 2) &&
           one(CssProperty::BorderSpacing, ParseLength(*cs[0].token, LengthRules{false, false, true}));
  }
  if (name == "border") return BorderShorthand(cs, {0, 1, 2, 3}, b);
  if (name == "border-width") return FourSides(cs, kBorderWidths, b, ParseBorderWidth);
  if (name == "border-color") return FourSides(cs, kBorderColors, b, ParseColorValue);
  if (name == "border-style") {
    return FourSides(cs, kBorderStyles, b, [](const Component& c) -> std::optional<CssValue> {
      const CssKeyword k = KeywordOf(c);
      if (!IsBorderStyle(k)) return std::nullopt;
      return Keyword(k);
    });
  }
  if (name == "border-radius") {
    // Elliptic corners ("a / b") keep their horizontal radii.
    std::vector<Component> horizontal;
    for (const Component& c : cs) {
      if (c.token->type == Type::Delim && c.token->text == "/") break;
      horizontal.push_back(c);
    }
    return FourSides(horizontal, kRadii, b,
                     [](const Component& c) { return ParseLength(*c.token, LengthRules{false, false, true}); });
  }
  for (int side = 0; side < 4; ++side) {
    const auto i = static_cast<std::size_t>(side);
    const std::string prefix = "border-" + std::string(kSideNames[i]);
    if (name == prefix) return BorderShorthand(cs, {side}, b);
    if (name == prefix + "-width") return cs.size() == 1 && one(kBorderWidths[i], ParseBorderWidth(cs[0]));
    if (name == prefix + "-color") return cs.size() == 1 && one(kBorderColors[i], ParseColorValue(cs[0]));
    if (name == prefix + "-style") {
      return cs.size() == 1 && IsBorderStyle(KeywordOf(cs[0])) && one(kBorderStyles[i], Keyword(KeywordOf(cs[0])));
    }
  }
  constexpr Longhand kRadiusNames[] = {
      {"border-top-left-radius", CssProperty::BorderTopLeftRadius},
      {"border-top-right-radius", CssProperty::BorderTopRightRadius},
      {"border-bottom-right-radius", CssProperty::BorderBottomRightRadius},
      {"border-bottom-left-radius", CssProperty::BorderBottomLeftRadius},
  };
  for (const Longhand& l : kRadiusNames) {
    if (name == l.name) return one(l.property, ParseLength(*cs[0].token, LengthRules{false, false, true}));
  }
  return false;
}

std::vector<CssProperty> LonghandsOf(std::string_view name) {
  const auto all = [](const CssProperty(&props)[4]) { return std::vector<CssProperty>(props, props + 4); };
  if (name == "margin") return all(kMargins);
  if (name == "padding") return all(kPaddings);
  if (name == "border-width") return all(kBorderWidths);
  if (name == "border-style") return all(kBorderStyles);
  if (name == "border-color") return all(kBorderColors);
  if (name == "border-radius") return all(kRadii);
  if (name == "background") return {CssProperty::BackgroundColor};
  if (name == "font") {
    return {CssProperty::FontStyle, CssProperty::FontWeight, CssProperty::FontSize, CssProperty::LineHeight,
            CssProperty::FontFamily};
  }
  std::vector<CssProperty> out;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string prefix = "border-" + std::string(kSideNames[i]);
    if (name == "border" || name == prefix) {
      out.push_back(kBorderWidths[i]);
      out.push_back(kBorderStyles[i]);
      out.push_back(kBorderColors[i]);
    }
    if (name == prefix + "-width") out.push_back(kBorderWidths[i]);
    if (name == prefix + "-style") out.push_back(kBorderStyles[i]);
    if (name == prefix + "-color") out.push_back(kBorderColors[i]);
  }
  for (const Longhand& l : kLengthProps) {
    if (name == l.name) out.push_back(l.property);
  }
  for (const Longhand& l : kPaddingProps) {
    if (name == l.name) out.push_back(l.property);
  }
  for (const Longhand& l : kOtherProps) {
    if (name == l.name) out.push_back(l.property);
  }
  return out;
}

// Parses "name : value [!important]" in tokens[begin, end).
void ParseOneDeclaration(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end,
                         std::vector<CssDeclaration>& out) {
  while (begin < end && tokens[begin].type == Type::Whitespace) ++begin;
  if (begin >= end || tokens[begin].type != Type::Ident) return;
  const std::string name = AsciiLowered(tokens[begin].text);
  std::size_t i = begin + 1;
  while (i < end && tokens[i].type == Type::Whitespace) ++i;
  if (i >= end || tokens[i].type != Type::Colon) return;
  ++i;
  // Trailing "!important".
  std::size_t valueEnd = end;
  while (valueEnd > i && tokens[valueEnd - 1].type == Type::Whitespace) --valueEnd;
  bool important = false;
  if (valueEnd > i && tokens[valueEnd - 1].type == Type::Ident &&
      EqualsIgnoreAsciiCase(tokens[valueEnd - 1].text, "important")) {
    std::size_t k = valueEnd - 1;
    while (k > i && tokens[k - 1].type == Type::Whitespace) --k;
    if (k > i && tokens[k - 1].type == Type::Delim && tokens[k - 1].text == "!") {
      important = true;
      valueEnd = k - 1;
    }
  }
  DeclarationBuilder b(out, important);
  if (ParseValue(name, tokens, i, valueEnd, b)) b.commit();
}

}  // namespace

void ParseDeclarationList(const std::vector<CssToken>& tokens, std::size_t& pos, std::vector<CssDeclaration>& out) {
  const std::size_t last = tokens.size() - 1;  // the End token
  std::size_t start = pos;
  while (pos < last) {
    const Type t = tokens[pos].type;
    if (t == Type::RightBrace) {
      ParseOneDeclaration(tokens, start, pos, out);
      ++pos;
      return;
    }
    if (t == Type::Semicolon) {
      ParseOneDeclaration(tokens, start, pos, out);
      ++pos;
      start = pos;
      continue;
    }
    pos = SkipComponent(tokens, pos, last);
  }
  ParseOneDeclaration(tokens, start, pos, out);
}

std::vector<CssDeclaration> ParseInlineStyle(std::string_view text) {
  const std::vector<CssToken> tokens = TokenizeCss(text);
  std::vector<CssDeclaration> out;
  std::size_t pos = 0;
  while (pos < tokens.size() - 1) ParseDeclarationList(tokens, pos, out);
  return out;
}

bool ParseSingleDeclaration(std::string_view lowerName, std::string_view value, std::vector<CssDeclaration>& out) {
  const std::vector<CssToken> tokens = TokenizeCss(value);
  DeclarationBuilder b(out, false);
  if (!ParseValue(lowerName, tokens, 0, tokens.size() - 1, b)) return false;
  b.commit();
  return true;
}

}  // namespace ks::render
