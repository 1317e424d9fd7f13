// Parsed CSS declarations: one longhand property and a typed value each.
// Shorthands are expanded when they are parsed, so the cascade only ever
// sees longhands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ks::render {

// The longhands; each has one entry in the property table (css_properties.cpp),
// in this order.
enum class CssProperty : std::uint8_t {
  Color,
  BackgroundColor,
  FontFamily,
  FontSize,
  FontWeight,
  FontStyle,
  TextTransform,
  TextAlign,
  VerticalAlign,
  TextDecoration,
  WhiteSpace,
  LineHeight,
  Display,
  Float,
  Clear,
  Width,
  Height,
  MinWidth,
  MinHeight,
  MarginTop,
  MarginRight,
  MarginBottom,
  MarginLeft,
  PaddingTop,
  PaddingRight,
  PaddingBottom,
  PaddingLeft,
  BorderTopWidth,
  BorderRightWidth,
  BorderBottomWidth,
  BorderLeftWidth,
  BorderTopStyle,
  BorderRightStyle,
  BorderBottomStyle,
  BorderLeftStyle,
  BorderTopColor,
  BorderRightColor,
  BorderBottomColor,
  BorderLeftColor,
  BorderTopLeftRadius,
  BorderTopRightRadius,
  BorderBottomRightRadius,
  BorderBottomLeftRadius,
  Content,
  Cursor,
  BorderSpacing,
  Visibility,
  TextIndent,
  Count,
};

enum class CssKeyword : std::uint8_t {
  None,
  Auto,
  Normal,
  Inherit,
  Initial,
  Bold,
  Bolder,
  Lighter,
  Italic,
  Oblique,
  Left,
  Right,
  Center,
  Justify,
  Top,
  Middle,
  Bottom,
  Baseline,
  Sub,
  Super,
  TextTop,
  TextBottom,
  Block,
  Inline,
  InlineBlock,
  ListItem,
  Table,
  InlineTable,
  TableRow,
  TableCell,
  TableRowGroup,
  TableHeaderGroup,
  TableFooterGroup,
  TableColumn,
  TableColumnGroup,
  TableCaption,
  Solid,
  Dashed,
  Dotted,
  Double,
  Groove,
  Ridge,
  Inset,
  Outset,
  Hidden,
  Uppercase,
  Lowercase,
  Capitalize,
  Underline,
  Overline,
  LineThrough,
  Nowrap,
  Pre,
  PreWrap,
  PreLine,
  Transparent,
  CurrentColor,
  Pointer,
  Default,
  Hand,
  Text,
  Thin,
  Medium,
  Thick,
  XxSmall,
  XSmall,
  Small,
  Large,
  XLarge,
  XxLarge,
  Smaller,
  Larger,
  Both,
  Visible,
  Collapse,
  Move,
  Wait,
  Help,
  Crosshair,
  Unknown,
};

// Unknown for names that are not keywords; name must be lower case.
CssKeyword KeywordFromName(std::string_view lowerName);

enum class CssUnit : std::uint8_t { None, Px, Pt, Pc, Em, Ex, Rem, Percent, Cm, Mm, In };

struct CssValue {
  enum class Type : std::uint8_t { Length, Number, Color, Keyword, String, Inherit };
  Type type = Type::Keyword;
  CssUnit unit = CssUnit::None;
  CssKeyword keyword = CssKeyword::Unknown;
  float number = 0.0f;      // Length and Number
  std::uint32_t color = 0;  // 0xAARRGGBB
  std::string text;         // String; FontFamily: names joined by ','
};

struct CssDeclaration {
  CssProperty property = CssProperty::Color;
  bool important = false;
  CssValue value;
};

}  // namespace ks::render
