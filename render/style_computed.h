// The computed style of an element: every property the layout and painting
// read, with lengths resolved to CSS pixels where they do not depend on the
// containing block.
#pragma once

#include <cstdint>
#include <string>

namespace ks::render {

enum class Display : std::uint8_t {
  None,
  Inline,
  Block,
  InlineBlock,
  ListItem,
  Table,
  TableRow,
  TableRowGroup,
  TableCell
};
enum class FloatSide : std::uint8_t { None, Left, Right };
enum class TextTransform : std::uint8_t { None, Uppercase, Lowercase, Capitalize };
enum class TextAlign : std::uint8_t { Left, Right, Center, Justify };
enum class VerticalAlign : std::uint8_t { Baseline, Top, Middle, Bottom, Sub, Super, TextTop, TextBottom, Length };
enum class WhiteSpace : std::uint8_t { Normal, Nowrap, Pre, PreWrap, PreLine };
enum class BorderStyle : std::uint8_t { None, Hidden, Solid, Dashed, Dotted, Double, Groove, Ridge, Inset, Outset };
enum class Cursor : std::uint8_t { Auto, Default, Pointer, Text, Move, Wait, Help, Crosshair };

// A length that may still depend on the containing block.
struct Length {
  enum class Unit : std::uint8_t { Px, Percent, Auto };
  float value = 0.0f;
  Unit unit = Unit::Px;

  static Length Px(float v) { return Length{v, Unit::Px}; }
  static Length Percent(float v) { return Length{v, Unit::Percent}; }
  static Length Auto() { return Length{0.0f, Unit::Auto}; }
  bool isAuto() const { return unit == Unit::Auto; }
  bool isPercent() const { return unit == Unit::Percent; }
  // Pixels for a containing block width; auto gives 0.
  int resolve(int base) const;
};

enum Side : int { kTop = 0, kRight = 1, kBottom = 2, kLeft = 3 };

struct ComputedStyle {
  Display display = Display::Inline;
  FloatSide floatSide = FloatSide::None;
  bool visible = true;

  std::uint32_t color = 0xFF000000;  // 0xAARRGGBB
  std::uint32_t backgroundColor = 0;

  std::string fontFamily = "Tahoma,Verdana,Arial,sans-serif";
  float fontSize = 12.0f;  // px
  int fontWeight = 400;
  bool italic = false;

  TextTransform textTransform = TextTransform::None;
  TextAlign textAlign = TextAlign::Left;
  VerticalAlign verticalAlign = VerticalAlign::Baseline;
  float verticalShift = 0.0f;  // px, for VerticalAlign::Length
  bool underline = false;
  bool lineThrough = false;
  WhiteSpace whiteSpace = WhiteSpace::Normal;
  // lineHeight <= 0 means normal; lineHeightIsFactor makes it a multiple of the font size.
  float lineHeight = 0.0f;
  bool lineHeightIsFactor = false;
  float textIndent = 0.0f;

  Length width = Length::Auto();
  Length height = Length::Auto();
  Length minWidth;
  Length minHeight;
  Length margin[4];
  Length padding[4];
  float borderWidth[4] = {0, 0, 0, 0};
  BorderStyle borderStyle[4] = {BorderStyle::None, BorderStyle::None, BorderStyle::None, BorderStyle::None};
  std::uint32_t borderColor[4] = {0, 0, 0, 0};
  bool borderColorIsCurrent[4] = {true, true, true, true};  // resolved against color at the end
  float borderRadius[4] = {0, 0, 0, 0};                     // top-left, top-right, bottom-right, bottom-left

  float borderSpacing = 0.0f;
  Cursor cursor = Cursor::Auto;

  bool hasContent = false;  // content: "text" replaces the element's text
  std::string content;

  // A style for a box the element tree does not have (an anonymous block
  // around text, a table row the markup left out): inherited values only.
  static ComputedStyle InheritedFrom(const ComputedStyle& parent);

  // Border width that is drawn: none and hidden borders take no room.
  int usedBorder(int side) const;
  bool isBlockLevel() const {
    return display == Display::Block || display == Display::ListItem || display == Display::Table;
  }
};

}  // namespace ks::render
