#include "render/css_properties.h"

#include <string>
#include <utility>

#include "render/text_utf8.h"

namespace ks::render {
namespace {

using css::Component;
using css::KeywordOf;
using css::LengthRules;
using css::ParseLength;
using Type = CssTokenType;
using Value = std::optional<CssValue>;

// ---- Grammars of the longhands -------------------------------------------

Value One(const CssValueText& v, Value (*parse)(const Component&)) {
  return v.components.size() == 1 ? parse(v.components[0]) : std::nullopt;
}

Value Keywords(const CssValueText& v, std::initializer_list<CssKeyword> allowed) {
  return css::SingleKeyword(v.components, allowed);
}

// width, height and the margins take 'auto'; sizes cannot be negative.
Value BoxLength(const CssValueText& v, bool autoAllowed, bool negative) {
  const std::vector<Component>& cs = v.components;
  if (cs.size() != 1) return std::nullopt;
  if (autoAllowed && KeywordOf(cs[0]) == CssKeyword::Auto) return css::Keyword(CssKeyword::Auto);
  return ParseLength(*cs[0].token, LengthRules{true, negative, true});
}

Value Padding(const CssValueText& v) {
  if (v.components.size() != 1) return std::nullopt;
  return ParseLength(*v.components[0].token, LengthRules{true, false, true});
}

Value Radius(const CssValueText& v) { return ParseLength(*v.components[0].token, LengthRules{false, false, true}); }

Value BorderStyleValue(const Component& c) {
  const CssKeyword k = KeywordOf(c);
  if (!css::IsBorderStyle(k)) return std::nullopt;
  return css::Keyword(k);
}

Value FontFamilyValue(const CssValueText& v) {
  auto families = css::FontFamilies(v.tokens, v.begin, v.end);
  if (!families) return std::nullopt;
  return css::FamilyValue(std::move(*families));
}

Value VerticalAlignValue(const CssValueText& v) {
  if (auto k = Keywords(v, {CssKeyword::Baseline, CssKeyword::Top, CssKeyword::Middle, CssKeyword::Bottom,
                            CssKeyword::Sub, CssKeyword::Super, CssKeyword::TextTop, CssKeyword::TextBottom})) {
    return k;
  }
  if (v.components.size() != 1) return std::nullopt;
  return ParseLength(*v.components[0].token, LengthRules{});
}

Value TextDecorationValue(const CssValueText& v) {
  // Only the line kinds matter here; colours and styles of the line are ignored.
  CssKeyword line = CssKeyword::Unknown;
  for (const Component& c : v.components) {
    const CssKeyword k = KeywordOf(c);
    if (k == CssKeyword::None || k == CssKeyword::Underline || k == CssKeyword::LineThrough ||
        k == CssKeyword::Overline) {
      if (line == CssKeyword::Unknown || line == CssKeyword::None) line = k;
    }
  }
  if (line == CssKeyword::Unknown) return std::nullopt;
  return css::Keyword(line);
}

Value CursorValue(const CssValueText& v) {
  // A list of cursor images ends in a keyword; only the keyword counts.
  const CssKeyword k = KeywordOf(v.components.back());
  if (k == CssKeyword::Unknown) return std::nullopt;
  return css::Keyword(k);
}

Value ContentValue(const CssValueText& v) {
  const std::vector<Component>& cs = v.components;
  if (cs.size() == 1 && (KeywordOf(cs[0]) == CssKeyword::None || KeywordOf(cs[0]) == CssKeyword::Normal)) {
    return css::Keyword(KeywordOf(cs[0]));
  }
  CssValue out;
  out.type = CssValue::Type::String;
  for (const Component& c : cs) {
    if (c.token->type != Type::String) return std::nullopt;
    out.text += c.token->text;
  }
  return out;
}

Value BorderSpacingValue(const CssValueText& v) {
  const std::size_t n = v.components.size();
  if (n != 1 && n != 2) return std::nullopt;
  return ParseLength(*v.components[0].token, LengthRules{false, false, true});
}

// ---- Computed values -----------------------------------------------------

float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

// CSS pixels of an absolute or font-relative length.
float ToPx(const CssValue& v, float fontSize, float rootFontSize) {
  switch (v.unit) {
    case CssUnit::None:
    case CssUnit::Px: return v.number;
    case CssUnit::Pt: return v.number * 96.0f / 72.0f;
    case CssUnit::Pc: return v.number * 16.0f;
    case CssUnit::In: return v.number * 96.0f;
    case CssUnit::Cm: return v.number * 96.0f / 2.54f;
    case CssUnit::Mm: return v.number * 96.0f / 25.4f;
    case CssUnit::Em: return v.number * fontSize;
    case CssUnit::Ex: return v.number * fontSize * 0.5f;
    case CssUnit::Rem: return v.number * rootFontSize;
    case CssUnit::Percent: return v.number * fontSize / 100.0f;
  }
  return 0.0f;
}

Length ToLength(const CssValue& v, float fontSize, float rootFontSize) {
  if (v.type == CssValue::Type::Keyword && v.keyword == CssKeyword::Auto) return Length::Auto();
  if (v.type != CssValue::Type::Length) return Length::Px(0);
  if (v.unit == CssUnit::Percent) return Length::Percent(v.number);
  return Length::Px(Clamp(ToPx(v, fontSize, rootFontSize), -1.0e6f, 1.0e6f));
}

CssKeyword KeywordIn(const CssValue& v) { return v.type == CssValue::Type::Keyword ? v.keyword : CssKeyword::Unknown; }

BorderStyle ToBorderStyle(CssKeyword k) {
  switch (k) {
    case CssKeyword::Hidden: return BorderStyle::Hidden;
    case CssKeyword::Solid: return BorderStyle::Solid;
    case CssKeyword::Dashed: return BorderStyle::Dashed;
    case CssKeyword::Dotted: return BorderStyle::Dotted;
    case CssKeyword::Double: return BorderStyle::Double;
    case CssKeyword::Groove: return BorderStyle::Groove;
    case CssKeyword::Ridge: return BorderStyle::Ridge;
    case CssKeyword::Inset: return BorderStyle::Inset;
    case CssKeyword::Outset: return BorderStyle::Outset;
    default: return BorderStyle::None;
  }
}

Display ToDisplay(CssKeyword k) {
  switch (k) {
    case CssKeyword::None: return Display::None;
    case CssKeyword::Block:
    case CssKeyword::TableCaption: return Display::Block;
    case CssKeyword::InlineBlock:
    case CssKeyword::InlineTable: return Display::InlineBlock;
    case CssKeyword::ListItem: return Display::ListItem;
    case CssKeyword::Table: return Display::Table;
    case CssKeyword::TableRow: return Display::TableRow;
    case CssKeyword::TableRowGroup:
    case CssKeyword::TableHeaderGroup:
    case CssKeyword::TableFooterGroup: return Display::TableRowGroup;
    case CssKeyword::TableCell: return Display::TableCell;
    case CssKeyword::TableColumn:
    case CssKeyword::TableColumnGroup: return Display::None;
    default: return Display::Inline;
  }
}

Cursor ToCursor(CssKeyword k) {
  switch (k) {
    case CssKeyword::Default: return Cursor::Default;
    case CssKeyword::Pointer:
    case CssKeyword::Hand: return Cursor::Pointer;
    case CssKeyword::Text: return Cursor::Text;
    case CssKeyword::Move: return Cursor::Move;
    case CssKeyword::Wait: return Cursor::Wait;
    case CssKeyword::Help: return Cursor::Help;
    case CssKeyword::Crosshair: return Cursor::Crosshair;
    default: return Cursor::Auto;
  }
}

void ApplyNothing(ComputedStyle&, const CssValue&, const ComputedStyle&, float) {}
void CopyNothing(ComputedStyle&, const ComputedStyle&) {}

// One entry per side for the four properties of a box edge.
template <int side>
struct Edge {
  static Value MarginValue(const CssValueText& v) { return BoxLength(v, true, true); }
  static void ApplyMargin(ComputedStyle& s, const CssValue& v, const ComputedStyle&, float root) {
    s.margin[side] = ToLength(v, s.fontSize, root);
  }
  static void CopyMargin(ComputedStyle& s, const ComputedStyle& from) { s.margin[side] = from.margin[side]; }

  static void ApplyPadding(ComputedStyle& s, const CssValue& v, const ComputedStyle&, float root) {
    Length l = ToLength(v, s.fontSize, root);
    if (l.isAuto() || l.value < 0) l = Length::Px(0);
    s.padding[side] = l;
  }
  static void CopyPadding(ComputedStyle& s, const ComputedStyle& from) { s.padding[side] = from.padding[side]; }

  static void ApplyBorderWidth(ComputedStyle& s, const CssValue& v, const ComputedStyle&, float root) {
    s.borderWidth[side] = Clamp(ToPx(v, s.fontSize, root), 0.0f, 1000.0f);
  }
  static void CopyBorderWidth(ComputedStyle& s, const ComputedStyle& from) {
    s.borderWidth[side] = from.borderWidth[side];
  }

  static void ApplyBorderStyle(ComputedStyle& s, const CssValue& v, const ComputedStyle&, float) {
    s.borderStyle[side] = ToBorderStyle(KeywordIn(v));
  }
  static void CopyBorderStyle(ComputedStyle& s, const ComputedStyle& from) {
    s.borderStyle[side] = from.borderStyle[side];
  }

  static void ApplyBorderColor(ComputedStyle& s, const CssValue& v, const ComputedStyle&, float) {
    s.borderColorIsCurrent[side] = v.type != CssValue::Type::Color;
    if (v.type == CssValue::Type::Color) s.borderColor[side] = v.color;
  }
  static void CopyBorderColor(ComputedStyle& s, const ComputedStyle& from) {
    s.borderColor[side] = from.borderColor[side];
    s.borderColorIsCurrent[side] = from.borderColorIsCurrent[side];
  }

  // Corners in the order top-left, top-right, bottom-right, bottom-left.
  static void ApplyRadius(ComputedStyle& s, const CssValue& v, const ComputedStyle&, float root) {
    s.borderRadius[side] = Clamp(ToPx(v, s.fontSize, root), 0.0f, 10000.0f);
  }
  static void CopyRadius(ComputedStyle& s, const ComputedStyle& from) {
    s.borderRadius[side] = from.borderRadius[side];
  }

  static constexpr CssLonghand Margin(CssProperty p, std::string_view name) {
    return {p, name, "0", CssInheritance::No, MarginValue, ApplyMargin, CopyMargin};
  }
  static constexpr CssLonghand PaddingEntry(CssProperty p, std::string_view name) {
    return {p, name, "0", CssInheritance::No, Padding, ApplyPadding, CopyPadding};
  }
  static constexpr CssLonghand BorderWidth(CssProperty p, std::string_view name) {
    return {p,
            name,
            "0",
            CssInheritance::No,
            [](const CssValueText& v) { return One(v, css::ParseBorderWidth); },
            ApplyBorderWidth,
            CopyBorderWidth};
  }
  static constexpr CssLonghand BorderStyleEntry(CssProperty p, std::string_view name) {
    return {p,
            name,
            "none",
            CssInheritance::No,
            [](const CssValueText& v) { return One(v, BorderStyleValue); },
            ApplyBorderStyle,
            CopyBorderStyle};
  }
  static constexpr CssLonghand BorderColor(CssProperty p, std::string_view name) {
    return {p,
            name,
            "currentColor",
            CssInheritance::No,
            [](const CssValueText& v) { return One(v, css::ParseColorValue); },
            ApplyBorderColor,
            CopyBorderColor};
  }
  static constexpr CssLonghand RadiusEntry(CssProperty p, std::string_view name) {
    return {p, name, "0", CssInheritance::No, Radius, ApplyRadius, CopyRadius};
  }
};

using TopEdge = Edge<kTop>;
using RightEdge = Edge<kRight>;
using BottomEdge = Edge<kBottom>;
using LeftEdge = Edge<kLeft>;

// ---- The longhands, in the order of CssProperty ---------------------------

using P = CssProperty;
using K = CssKeyword;
using S = ComputedStyle;
using V = CssValue;
using T = CssValueText;
using I = CssInheritance;

constexpr CssLonghand kLonghands[] = {
    {P::Color, "color", "black", I::Yes, [](const T& v) { return One(v, css::ParseColorValue); },
     [](S& s, const V& v, const S& parent, float) {
       if (v.type == V::Type::Color) s.color = v.color;
       else if (KeywordIn(v) == K::CurrentColor) s.color = parent.color;
     },
     [](S& s, const S& from) { s.color = from.color; }},
    {P::BackgroundColor, "background-color", "transparent", I::No,
     [](const T& v) { return One(v, css::ParseColorValue); },
     [](S& s, const V& v, const S&, float) {
       if (v.type == V::Type::Color) s.backgroundColor = v.color;
       else if (KeywordIn(v) == K::CurrentColor) s.backgroundColor = s.color;
     },
     [](S& s, const S& from) { s.backgroundColor = from.backgroundColor; }},
    {P::FontFamily, "font-family", "Tahoma,Verdana,Arial,sans-serif", I::Yes, FontFamilyValue,
     [](S& s, const V& v, const S&, float) { s.fontFamily = v.text; },
     [](S& s, const S& from) { s.fontFamily = from.fontFamily; }},
    // Resolved before all others (ResolveFontSize): em lengths depend on it.
    {P::FontSize, "font-size", "12px", I::Yes, [](const T& v) { return One(v, css::FontSizeValue); }, ApplyNothing,
     [](S& s, const S& from) { s.fontSize = from.fontSize; }},
    {P::FontWeight, "font-weight", "normal", I::Yes, [](const T& v) { return One(v, css::FontWeightValue); },
     [](S& s, const V& v, const S& parent, float) {
       const K k = KeywordIn(v);
       if (v.type != V::Type::Keyword) {
         s.fontWeight = static_cast<int>(v.number);
       } else if (k == K::Bolder) {
         s.fontWeight = parent.fontWeight < 350 ? 400 : (parent.fontWeight < 550 ? 700 : 900);
       } else if (k == K::Lighter) {
         s.fontWeight = parent.fontWeight < 550 ? 100 : (parent.fontWeight < 750 ? 400 : 700);
       }
     },
     [](S& s, const S& from) { s.fontWeight = from.fontWeight; }},
    {P::FontStyle, "font-style", "normal", I::Yes,
     [](const T& v) {
       return Keywords(v, {K::Normal, K::Italic, K::Oblique});
     },
     [](S& s, const V& v, const S&, float) { s.italic = KeywordIn(v) == K::Italic || KeywordIn(v) == K::Oblique; },
     [](S& s, const S& from) { s.italic = from.italic; }},
    {P::TextTransform, "text-transform", "none", I::Yes,
     [](const T& v) {
       return Keywords(v, {K::None, K::Uppercase, K::Lowercase, K::Capitalize});
     },
     [](S& s, const V& v, const S&, float) {
       const K k = KeywordIn(v);
       s.textTransform = k == K::Uppercase    ? TextTransform::Uppercase
                         : k == K::Lowercase  ? TextTransform::Lowercase
                         : k == K::Capitalize ? TextTransform::Capitalize
                                              : TextTransform::None;
     },
     [](S& s, const S& from) { s.textTransform = from.textTransform; }},
    {P::TextAlign, "text-align", "left", I::Yes,
     [](const T& v) {
       return Keywords(v, {K::Left, K::Right, K::Center, K::Justify});
     },
     [](S& s, const V& v, const S&, float) {
       const K k = KeywordIn(v);
       s.textAlign = k == K::Right     ? TextAlign::Right
                     : k == K::Center  ? TextAlign::Center
                     : k == K::Justify ? TextAlign::Justify
                                       : TextAlign::Left;
     },
     [](S& s, const S& from) { s.textAlign = from.textAlign; }},
    {P::VerticalAlign, "vertical-align", "baseline", I::No, VerticalAlignValue,
     [](S& s, const V& v, const S&, float root) {
       if (v.type == V::Type::Length) {
         const float em = s.fontSize;
         s.verticalAlign = VerticalAlign::Length;
         s.verticalShift = v.unit == CssUnit::Percent ? v.number * em / 100.0f : ToPx(v, em, root);
         return;
       }
       switch (KeywordIn(v)) {
         case K::Top: s.verticalAlign = VerticalAlign::Top; break;
         case K::Middle: s.verticalAlign = VerticalAlign::Middle; break;
         case K::Bottom: s.verticalAlign = VerticalAlign::Bottom; break;
         case K::Sub: s.verticalAlign = VerticalAlign::Sub; break;
         case K::Super: s.verticalAlign = VerticalAlign::Super; break;
         case K::TextTop: s.verticalAlign = VerticalAlign::TextTop; break;
         case K::TextBottom: s.verticalAlign = VerticalAlign::TextBottom; break;
         default: s.verticalAlign = VerticalAlign::Baseline; break;
       }
     },
     [](S& s, const S& from) {
       s.verticalAlign = from.verticalAlign;
       s.verticalShift = from.verticalShift;
     }},
    {P::TextDecoration, "text-decoration", "none", I::CarriedAlong, TextDecorationValue,
     [](S& s, const V& v, const S&, float) {
       s.underline = KeywordIn(v) == K::Underline;
       s.lineThrough = KeywordIn(v) == K::LineThrough;
     },
     [](S& s, const S& from) {
       s.underline = from.underline;
       s.lineThrough = from.lineThrough;
     }},
    {P::WhiteSpace, "white-space", "normal", I::Yes,
     [](const T& v) {
       return Keywords(v, {K::Normal, K::Nowrap, K::Pre, K::PreWrap, K::PreLine});
     },
     [](S& s, const V& v, const S&, float) {
       const K k = KeywordIn(v);
       s.whiteSpace = k == K::Nowrap    ? WhiteSpace::Nowrap
                      : k == K::Pre     ? WhiteSpace::Pre
                      : k == K::PreWrap ? WhiteSpace::PreWrap
                      : k == K::PreLine ? WhiteSpace::PreLine
                                        : WhiteSpace::Normal;
     },
     [](S& s, const S& from) { s.whiteSpace = from.whiteSpace; }},
    {P::LineHeight, "line-height", "normal", I::Yes, [](const T& v) { return One(v, css::LineHeightValue); },
     [](S& s, const V& v, const S&, float root) {
       if (KeywordIn(v) == K::Normal) {
         s.lineHeight = 0;
         s.lineHeightIsFactor = false;
       } else if (v.type == V::Type::Number) {
         s.lineHeight = Clamp(v.number, 0.0f, 100.0f);
         s.lineHeightIsFactor = true;
       } else if (v.type == V::Type::Length) {
         s.lineHeight = Clamp(ToPx(v, s.fontSize, root), 0.0f, 10000.0f);
         s.lineHeightIsFactor = false;
       }
     },
     [](S& s, const S& from) {
       s.lineHeight = from.lineHeight;
       s.lineHeightIsFactor = from.lineHeightIsFactor;
     }},
    {P::Display, "display", "inline", I::No,
     [](const T& v) {
       return Keywords(v, {K::None, K::Block, K::Inline, K::InlineBlock, K::ListItem, K::Table, K::InlineTable,
                           K::TableRow, K::TableCell, K::TableRowGroup, K::TableHeaderGroup, K::TableFooterGroup,
                           K::TableColumn, K::TableColumnGroup, K::TableCaption});
     },
     [](S& s, const V& v, const S&, float) { s.display = ToDisplay(KeywordIn(v)); },
     [](S& s, const S& from) { s.display = from.display; }},
    {P::Float, "float", "none", I::No,
     [](const T& v) {
       return Keywords(v, {K::None, K::Left, K::Right});
     },
     [](S& s, const V& v, const S&, float) {
       const K k = KeywordIn(v);
       s.floatSide = k == K::Left ? FloatSide::Left : (k == K::Right ? FloatSide::Right : FloatSide::None);
     },
     [](S& s, const S& from) { s.floatSide = from.floatSide; }},
    // Read so that it is no error, but floats are never cleared.
    {P::Clear, "clear", "none", I::No,
     [](const T& v) {
       return Keywords(v, {K::None, K::Left, K::Right, K::Both});
     },
     ApplyNothing, CopyNothing},
    {P::Width, "width", "auto", I::No, [](const T& v) { return BoxLength(v, true, false); },
     [](S& s, const V& v, const S&, float root) { s.width = ToLength(v, s.fontSize, root); },
     [](S& s, const S& from) { s.width = from.width; }},
    {P::Height, "height", "auto", I::No, [](const T& v) { return BoxLength(v, true, false); },
     [](S& s, const V& v, const S&, float root) { s.height = ToLength(v, s.fontSize, root); },
     [](S& s, const S& from) { s.height = from.height; }},
    {P::MinWidth, "min-width", "0", I::No, [](const T& v) { return BoxLength(v, true, false); },
     [](S& s, const V& v, const S&, float root) { s.minWidth = ToLength(v, s.fontSize, root); },
     [](S& s, const S& from) { s.minWidth = from.minWidth; }},
    {P::MinHeight, "min-height", "0", I::No, [](const T& v) { return BoxLength(v, true, false); },
     [](S& s, const V& v, const S&, float root) { s.minHeight = ToLength(v, s.fontSize, root); },
     [](S& s, const S& from) { s.minHeight = from.minHeight; }},
    TopEdge::Margin(P::MarginTop, "margin-top"),
    RightEdge::Margin(P::MarginRight, "margin-right"),
    BottomEdge::Margin(P::MarginBottom, "margin-bottom"),
    LeftEdge::Margin(P::MarginLeft, "margin-left"),
    TopEdge::PaddingEntry(P::PaddingTop, "padding-top"),
    RightEdge::PaddingEntry(P::PaddingRight, "padding-right"),
    BottomEdge::PaddingEntry(P::PaddingBottom, "padding-bottom"),
    LeftEdge::PaddingEntry(P::PaddingLeft, "padding-left"),
    TopEdge::BorderWidth(P::BorderTopWidth, "border-top-width"),
    RightEdge::BorderWidth(P::BorderRightWidth, "border-right-width"),
    BottomEdge::BorderWidth(P::BorderBottomWidth, "border-bottom-width"),
    LeftEdge::BorderWidth(P::BorderLeftWidth, "border-left-width"),
    TopEdge::BorderStyleEntry(P::BorderTopStyle, "border-top-style"),
    RightEdge::BorderStyleEntry(P::BorderRightStyle, "border-right-style"),
    BottomEdge::BorderStyleEntry(P::BorderBottomStyle, "border-bottom-style"),
    LeftEdge::BorderStyleEntry(P::BorderLeftStyle, "border-left-style"),
    TopEdge::BorderColor(P::BorderTopColor, "border-top-color"),
    RightEdge::BorderColor(P::BorderRightColor, "border-right-color"),
    BottomEdge::BorderColor(P::BorderBottomColor, "border-bottom-color"),
    LeftEdge::BorderColor(P::BorderLeftColor, "border-left-color"),
    Edge<0>::RadiusEntry(P::BorderTopLeftRadius, "border-top-left-radius"),
    Edge<1>::RadiusEntry(P::BorderTopRightRadius, "border-top-right-radius"),
    Edge<2>::RadiusEntry(P::BorderBottomRightRadius, "border-bottom-right-radius"),
    Edge<3>::RadiusEntry(P::BorderBottomLeftRadius, "border-bottom-left-radius"),
    {P::Content, "content", "normal", I::No, ContentValue,
     [](S& s, const V& v, const S&, float) {
       s.hasContent = v.type == V::Type::String;
       s.content = v.text;
     },
     [](S& s, const S& from) {
       s.hasContent = from.hasContent;
       s.content = from.content;
     }},
    {P::Cursor, "cursor", "auto", I::Yes, CursorValue,
     [](S& s, const V& v, const S&, float) { s.cursor = ToCursor(KeywordIn(v)); },
     [](S& s, const S& from) { s.cursor = from.cursor; }},
    {P::BorderSpacing, "border-spacing", "0", I::Yes, BorderSpacingValue,
     [](S& s, const V& v, const S&, float root) { s.borderSpacing = Clamp(ToPx(v, s.fontSize, root), 0.0f, 1000.0f); },
     [](S& s, const S& from) { s.borderSpacing = from.borderSpacing; }},
    {P::Visibility, "visibility", "visible", I::Yes,
     [](const T& v) {
       return Keywords(v, {K::Visible, K::Hidden, K::Collapse});
     },
     [](S& s, const V& v, const S&, float) { s.visible = KeywordIn(v) != K::Hidden && KeywordIn(v) != K::Collapse; },
     [](S& s, const S& from) { s.visible = from.visible; }},
    {P::TextIndent, "text-indent", "0", I::Yes, [](const T& v) { return BoxLength(v, false, true); },
     [](S& s, const V& v, const S&, float root) { s.textIndent = ToPx(v, s.fontSize, root); },
     [](S& s, const S& from) { s.textIndent = from.textIndent; }},
};

constexpr std::size_t kLonghandCount = sizeof(kLonghands) / sizeof(kLonghands[0]);
static_assert(kLonghandCount == static_cast<std::size_t>(CssProperty::Count), "one entry per property");

constexpr bool InPropertyOrder() {
  for (std::size_t i = 0; i < kLonghandCount; ++i) {
    if (static_cast<std::size_t>(kLonghands[i].property) != i) return false;
  }
  return true;
}
static_assert(InPropertyOrder(), "entries in the order of CssProperty, so a property indexes its entry");

// ---- Shorthands ------------------------------------------------------------

constexpr CssProperty kMargins[4] = {P::MarginTop, P::MarginRight, P::MarginBottom, P::MarginLeft};
constexpr CssProperty kPaddings[4] = {P::PaddingTop, P::PaddingRight, P::PaddingBottom, P::PaddingLeft};
constexpr CssProperty kBorderWidths[4] = {P::BorderTopWidth, P::BorderRightWidth, P::BorderBottomWidth,
                                          P::BorderLeftWidth};
constexpr CssProperty kBorderStyles[4] = {P::BorderTopStyle, P::BorderRightStyle, P::BorderBottomStyle,
                                          P::BorderLeftStyle};
constexpr CssProperty kBorderColors[4] = {P::BorderTopColor, P::BorderRightColor, P::BorderBottomColor,
                                          P::BorderLeftColor};
constexpr CssProperty kRadii[4] = {P::BorderTopLeftRadius, P::BorderTopRightRadius, P::BorderBottomRightRadius,
                                   P::BorderBottomLeftRadius};

// width, style and colour in any order, each at most once.
bool BorderShorthand(const std::vector<Component>& cs, std::initializer_list<int> sides, css::DeclarationBuilder& b) {
  if (cs.empty() || cs.size() > 3) return false;
  CssValue width = css::Length(3, CssUnit::Px);
  CssValue style = css::Keyword(CssKeyword::None);
  CssValue color = css::Keyword(CssKeyword::CurrentColor);
  bool haveWidth = false, haveStyle = false, haveColor = false;
  for (const Component& c : cs) {
    const CssKeyword k = KeywordOf(c);
    if (!haveStyle && css::IsBorderStyle(k)) {
      style = css::Keyword(k);
      haveStyle = true;
    } else if (auto w = haveWidth ? std::nullopt : css::ParseBorderWidth(c)) {
      width = *w;
      haveWidth = true;
    } else if (auto col = haveColor ? std::nullopt : css::ParseColorValue(c)) {
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

bool ParseFontShorthand(const std::vector<CssToken>& tokens, std::size_t begin, std::size_t end,
                        css::DeclarationBuilder& b) {
  CssValue style = css::Keyword(CssKeyword::Normal);
  CssValue weight = css::Length(400, CssUnit::None);
  weight.type = CssValue::Type::Number;
  std::optional<CssValue> size;
  CssValue lineHeight = css::Keyword(CssKeyword::Normal);
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
      style = css::Keyword(k);
    } else if (k == CssKeyword::Normal) {
      // applies to whichever of style, variant and weight it stands for
    } else if (auto w = (k == CssKeyword::Unknown || k == CssKeyword::Bold || k == CssKeyword::Bolder ||
                         k == CssKeyword::Lighter) &&
                                t.type != Type::Dimension && t.type != Type::Percentage
                            ? css::FontWeightValue(c)
                            : std::nullopt) {
      weight = *w;
    } else if (auto s = css::FontSizeValue(c)) {
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
    auto lh = css::LineHeightValue(c);
    if (!lh) return false;
    lineHeight = *lh;
    ++i;
  }
  const auto families = css::FontFamilies(tokens, i, end);
  if (!families) return false;
  b.add(CssProperty::FontStyle, style);
  b.add(CssProperty::FontWeight, weight);
  b.add(CssProperty::FontSize, *size);
  b.add(CssProperty::LineHeight, lineHeight);
  b.add(CssProperty::FontFamily, css::FamilyValue(*families));
  return true;
}

using B = css::DeclarationBuilder;

template <int side>
bool BorderSide(const T& v, B& b) {
  return BorderShorthand(v.components, {side}, b);
}

constexpr CssShorthand kShorthands[] = {
    {"margin",
     {P::MarginTop, P::MarginRight, P::MarginBottom, P::MarginLeft},
     4,
     [](const T& v, B& b) {
       return css::FourSides(v.components, kMargins, b, [](const Component& c) -> Value {
         if (KeywordOf(c) == K::Auto) return css::Keyword(K::Auto);
         return ParseLength(*c.token, LengthRules{});
       });
     }},
    {"padding",
     {P::PaddingTop, P::PaddingRight, P::PaddingBottom, P::PaddingLeft},
     4,
     [](const T& v, B& b) {
       return css::FourSides(v.components, kPaddings, b, [](const Component& c) {
         return ParseLength(*c.token, LengthRules{true, false, true});
       });
     }},
    {"background",
     {P::BackgroundColor},
     1,
     [](const T& v, B& b) {
       CssValue color = css::Color(0);
       for (const Component& c : v.components) {
         if (auto parsed = css::ParseColorValue(c)) color = *parsed;
       }
       b.add(P::BackgroundColor, color);
       return true;
     }},
    {"font",
     {P::FontStyle, P::FontWeight, P::FontSize, P::LineHeight, P::FontFamily},
     5,
     [](const T& v, B& b) { return ParseFontShorthand(v.tokens, v.begin, v.end, b); }},
    {"border",
     {P::BorderTopWidth, P::BorderTopStyle, P::BorderTopColor, P::BorderRightWidth, P::BorderRightStyle,
      P::BorderRightColor, P::BorderBottomWidth, P::BorderBottomStyle, P::BorderBottomColor, P::BorderLeftWidth,
      P::BorderLeftStyle, P::BorderLeftColor},
     12,
     [](const T& v, B& b) {
       return BorderShorthand(v.components, {0, 1, 2, 3}, b);
     }},
    {"border-top", {P::BorderTopWidth, P::BorderTopStyle, P::BorderTopColor}, 3, BorderSide<0>},
    {"border-right", {P::BorderRightWidth, P::BorderRightStyle, P::BorderRightColor}, 3, BorderSide<1>},
    {"border-bottom", {P::BorderBottomWidth, P::BorderBottomStyle, P::BorderBottomColor}, 3, BorderSide<2>},
    {"border-left", {P::BorderLeftWidth, P::BorderLeftStyle, P::BorderLeftColor}, 3, BorderSide<3>},
    {"border-width",
     {P::BorderTopWidth, P::BorderRightWidth, P::BorderBottomWidth, P::BorderLeftWidth},
     4,
     [](const T& v, B& b) { return css::FourSides(v.components, kBorderWidths, b, css::ParseBorderWidth); }},
    {"border-color",
     {P::BorderTopColor, P::BorderRightColor, P::BorderBottomColor, P::BorderLeftColor},
     4,
     [](const T& v, B& b) { return css::FourSides(v.components, kBorderColors, b, css::ParseColorValue); }},
    {"border-style",
     {P::BorderTopStyle, P::BorderRightStyle, P::BorderBottomStyle, P::BorderLeftStyle},
     4,
     [](const T& v, B& b) { return css::FourSides(v.components, kBorderStyles, b, BorderStyleValue); }},
    {"border-radius",
     {P::BorderTopLeftRadius, P::BorderTopRightRadius, P::BorderBottomRightRadius, P::BorderBottomLeftRadius},
     4,
     [](const T& v, B& b) {
       // Elliptic corners ("a / b") keep their horizontal radii.
       std::vector<Component> horizontal;
       for (const Component& c : v.components) {
         if (c.token->type == Type::Delim && c.token->text == "/") break;
         horizontal.push_back(c);
       }
       return css::FourSides(horizontal, kRadii, b, [](const Component& c) {
         return ParseLength(*c.token, LengthRules{false, false, true});
       });
     }},
};

constexpr std::size_t kShorthandCount = sizeof(kShorthands) / sizeof(kShorthands[0]);

}  // namespace

CssTableView<CssLonghand> CssLonghands() { return {kLonghands, kLonghandCount}; }
CssTableView<CssShorthand> CssShorthands() { return {kShorthands, kShorthandCount}; }

const CssLonghand& LonghandOf(CssProperty p) { return kLonghands[static_cast<std::size_t>(p)]; }

const CssLonghand* FindLonghand(std::string_view lowerName) {
  for (const CssLonghand& l : kLonghands) {
    if (l.name == lowerName) return &l;
  }
  return nullptr;
}

const CssShorthand* FindShorthand(std::string_view lowerName) {
  for (const CssShorthand& s : kShorthands) {
    if (s.name == lowerName) return &s;
  }
  return nullptr;
}

float ResolveFontSize(const CssValue& v, float parentSize, float rootFontSize) {
  if (v.type == CssValue::Type::Inherit) return parentSize;
  if (v.type != CssValue::Type::Length) return parentSize;
  float px = 0;
  if (v.unit == CssUnit::Percent) {
    px = parentSize * v.number / 100.0f;
  } else {
    px = ToPx(v, parentSize, rootFontSize);
  }
  return Clamp(px, 1.0f, 1000.0f);
}

}  // namespace ks::render
