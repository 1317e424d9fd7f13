// Pixel arithmetic for layout that saturates instead of overflowing. Style
// clamps each length, but a page can stack, line up or nest as many of them
// as it likes, so every sum and product of lengths goes through these. Each
// result stays within kMaxLayoutPx either way, so the difference of two
// results still fits an int.
#pragma once

#include <cmath>
#include <type_traits>

namespace ks::render {

constexpr int kMaxLayoutPx = 1000000000;

constexpr int SaturatePx(long long v) {
  return v > kMaxLayoutPx ? kMaxLayoutPx : (v < -kMaxLayoutPx ? -kMaxLayoutPx : static_cast<int>(v));
}

// a + b + ...: the sum is taken wide, so only the result is bounded.
template <typename... Ints>
constexpr int AddPx(Ints... v) {
  static_assert((std::is_same_v<Ints, int> && ...), "lengths are int");
  return SaturatePx((0LL + ... + static_cast<long long>(v)));
}

constexpr int SubPx(int a, int b) { return SaturatePx(static_cast<long long>(a) - b); }

constexpr int MulPx(int a, int b) { return SaturatePx(static_cast<long long>(a) * b); }

// A length in floating point rounded to whole pixels; NaN gives 0.
inline int RoundPx(double v) {
  if (std::isnan(v)) return 0;
  const double bound = kMaxLayoutPx;
  return static_cast<int>(std::lround(v < -bound ? -bound : (v > bound ? bound : v)));
}

}  // namespace ks::render
