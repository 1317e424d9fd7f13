#include "render/style_computed.h"

#include <cmath>

#include "render/css_properties.h"
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
  for (const CssLonghand& property : CssLonghands()) {
    if (property.inheritance != CssInheritance::No) property.copy(s, p);
  }
  return s;
}

int ComputedStyle::usedBorder(int side) const {
  const auto i = static_cast<std::size_t>(side);
  if (borderStyle[i] == BorderStyle::None || borderStyle[i] == BorderStyle::Hidden) return 0;
  return static_cast<int>(std::lround(borderWidth[i]));
}

}  // namespace ks::render
