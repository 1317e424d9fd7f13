#include "render/style_computed.h"

#include <cmath>

#include "render/layout_saturating.h"

namespace ks::render {

int Length::resolve(int base) const {
  switch (unit) {
    case Unit::Px: return RoundPx(static_cast<double>(value));
    // Percentages of percentages grow without bound; the result saturates.
    case Unit::Percent: return RoundPx(static_cast<double>(base) * static_cast<double>(value) / 100.0);
    case Unit::Auto: return 0;
  }
  return 0;
}

ComputedStyle ComputedStyle::InheritedFrom(const ComputedStyle& p) {
  ComputedStyle s;
  s.color = p.color;
  s.fontFamily = p.fontFamily;
  s.fontSize = p.fontSize;
  s.fontWeight = p.fontWeight;
  s.italic = p.italic;
  s.textTransform = p.textTransform;
  s.textAlign = p.textAlign;
  s.whiteSpace = p.whiteSpace;
  s.lineHeight = p.lineHeight;
  s.lineHeightIsFactor = p.lineHeightIsFactor;
  s.textIndent = p.textIndent;
  s.cursor = p.cursor;
  s.borderSpacing = p.borderSpacing;
  s.visible = p.visible;
  // Text decorations reach the text of descendants in CSS; carrying them
  // along as if inherited draws the same lines.
  s.underline = p.underline;
  s.lineThrough = p.lineThrough;
  return s;
}

int ComputedStyle::usedBorder(int side) const {
  const auto i = static_cast<std::size_t>(side);
  if (borderStyle[i] == BorderStyle::None || borderStyle[i] == BorderStyle::Hidden) return 0;
  return static_cast<int>(std::lround(borderWidth[i]));
}

}  // namespace ks::render
