#include "render/layout_engine.h"

#include <algorithm>
#include <cmath>

#include "render/layout_saturating.h"

namespace ks::render {
namespace {

int PxOrZero(const Length& l) { return l.unit == Length::Unit::Px ? l.resolve(0) : 0; }

}  // namespace

LayoutEngine::LayoutEngine(Container& container) : container_(container) {}

LayoutEngine::~LayoutEngine() {
  for (auto& f : fonts_) container_.releaseFont(f.second.handle);
}

const LayoutEngine::Font& LayoutEngine::fontFor(const ComputedStyle& style) {
  const auto cached = styleFonts_.find(&style);
  if (cached != styleFonts_.end()) return *cached->second;
  FontDesc desc;
  desc.families = style.fontFamily;
  desc.size = std::round(style.fontSize * 4.0f) / 4.0f;
  desc.weight = style.fontWeight;
  desc.italic = style.italic;
  std::string key = desc.families;
  key += '|';
  key += std::to_string(static_cast<int>(desc.size * 4.0f));
  key += '|';
  key += std::to_string(desc.weight);
  key += desc.italic ? "|i" : "|n";
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    Font f;
    f.handle = container_.createFont(desc, f.metrics);
    f.spaceWidth = container_.textWidth(f.handle, " ");
    it = fonts_.emplace(std::move(key), f).first;
  }
  styleFonts_[&style] = &it->second;
  return it->second;
}

int LayoutEngine::layout(LayoutBox& root, int width) {
  styleFonts_.clear();
  checkMark_ = std::max(0, container_.checkMarkSize());
  root.offsetParent = nullptr;
  layoutBlock(root, std::max(0, width));
  root.x = root.margin.left;
  root.y = root.margin.top;
  return root.marginBoxHeight();
}

int LayoutEngine::minContentWidth(LayoutBox& root) {
  styleFonts_.clear();
  checkMark_ = std::max(0, container_.checkMarkSize());
  intrinsic(root);
  return root.minContent;
}

int LayoutEngine::maxContentWidth(LayoutBox& root) {
  styleFonts_.clear();
  checkMark_ = std::max(0, container_.checkMarkSize());
  intrinsic(root);
  return root.maxContent;
}

void LayoutEngine::resolveEdges(LayoutBox& b, int cw) {
  const ComputedStyle& s = *b.style;
  const auto side = [](int i) { return static_cast<std::size_t>(i); };
  if (b.kind == BoxKind::Inline && b.node == nullptr) {
    b.margin = b.border = b.padding = Edges{};
    return;
  }
  b.margin = Edges{s.margin[side(kTop)].resolve(cw), s.margin[side(kRight)].resolve(cw),
                   s.margin[side(kBottom)].resolve(cw), s.margin[side(kLeft)].resolve(cw)};
  b.border = Edges{s.usedBorder(kTop), s.usedBorder(kRight), s.usedBorder(kBottom), s.usedBorder(kLeft)};
  b.padding = Edges{s.padding[side(kTop)].resolve(cw), s.padding[side(kRight)].resolve(cw),
                    s.padding[side(kBottom)].resolve(cw), s.padding[side(kLeft)].resolve(cw)};
  if (b.control == Control::CheckBox || b.control == Control::Radio) {
    b.padding.left = AddPx(b.padding.left, checkMark_, 4);
  }
  if (b.kind == BoxKind::TableRow) b.margin = b.border = b.padding = Edges{};
  if (b.kind == BoxKind::TableCell) b.margin = Edges{};
}

void LayoutEngine::layoutBlock(LayoutBox& b, int cw) {
  if (b.kind == BoxKind::Table) {
    layoutTable(b, cw, false);
    return;
  }
  resolveEdges(b, cw);
  const ComputedStyle& s = *b.style;
  const int edges = AddPx(b.border.horizontal(), b.padding.horizontal());
  if (s.width.isAuto()) {
    b.width = std::max(0, AddPx(cw, -b.margin.horizontal(), -edges));
  } else {
    b.width = std::max(0, s.width.resolve(cw));
    const int free = AddPx(cw, -b.width, -edges);
    const bool autoLeft = s.margin[kLeft].isAuto();
    const bool autoRight = s.margin[kRight].isAuto();
    if (autoLeft && autoRight) {
      b.margin.left = b.margin.right = std::max(0, free / 2);
    } else if (autoLeft) {
      b.margin.left = std::max(0, SubPx(free, b.margin.right));
    }
  }
  if (!s.minWidth.isAuto()) b.width = std::max(b.width, s.minWidth.resolve(cw));
  layoutContent(b);
}

void LayoutEngine::layoutContent(LayoutBox& b) {
  const ComputedStyle& s = *b.style;
  int h = 0;
  if (b.inlineContent) {
    h = layoutInline(b);
  } else {
    int y = 0;
    int prevMarginBottom = 0;
    bool first = true;
    for (LayoutBox* c : b.children) {
      layoutBlock(*c, b.width);
      c->offsetParent = &b;
      // Adjoining vertical margins of siblings collapse to the larger one.
      y = AddPx(y, first ? c->margin.top : SubPx(std::max(prevMarginBottom, c->margin.top), prevMarginBottom));
      c->x = c->margin.left;
      c->y = y;
      y = AddPx(y, c->borderBoxHeight(), c->margin.bottom);
      prevMarginBottom = c->margin.bottom;
      first = false;
    }
    h = y;
  }
  if (s.height.unit == Length::Unit::Px) h = std::max(0, s.height.resolve(0));
  if (s.minHeight.unit == Length::Unit::Px) h = std::max(h, s.minHeight.resolve(0));
  if (b.control == Control::CheckBox || b.control == Control::Radio) h = std::max(h, checkMark_);
  b.height = h;
}

void LayoutEngine::imageSize(LayoutBox& b, int cw, int& w, int& h) {
  const ComputedStyle& s = *b.style;
  int nw = 0, nh = 0;
  const bool known = b.node && container_.imageSize(b.node->attributeOr("src", ""), nw, nh) && nw > 0 && nh > 0;
  const bool autoW = s.width.isAuto() || (s.width.isPercent() && cw <= 0);
  const bool autoH = s.height.isAuto() || s.height.isPercent();
  w = autoW ? 0 : std::max(0, s.width.resolve(cw));
  h = autoH ? 0 : std::max(0, s.height.resolve(0));
  if (autoW && autoH) {
    w = known ? nw : 0;
    h = known ? nh : 0;
  } else if (autoW) {
    w = known ? RoundPx(static_cast<double>(h) * nw / nh) : h;
  } else if (autoH) {
    h = known ? RoundPx(static_cast<double>(w) * nh / nw) : w;
  }
  w = std::min(w, 100000);
  h = std::min(h, 100000);
}

void LayoutEngine::layoutAtomic(LayoutBox& b, int cw) {
  if (b.kind == BoxKind::Table) {
    layoutTable(b, cw, true);
    return;
  }
  resolveEdges(b, cw);
  const int edges = AddPx(b.border.horizontal(), b.padding.horizontal());
  if (b.kind == BoxKind::Image) {
    imageSize(b, cw, b.width, b.height);
    b.baseline = -1;
    return;
  }
  const ComputedStyle& s = *b.style;
  if (!s.width.isAuto() && !(s.width.isPercent() && cw <= 0)) {
    // A push button's width is its border box, as browsers size buttons.
    b.width = std::max(0, SubPx(s.width.resolve(cw), b.control == Control::Button ? edges : 0));
  } else {
    intrinsic(b);
    const int available = SubPx(cw, b.margin.horizontal());
    const int marginBox = std::min(std::max(b.minContent, available), b.maxContent);
    b.width = std::max(0, AddPx(marginBox, -b.margin.horizontal(), -edges));
  }
  if (!s.minWidth.isAuto()) b.width = std::max(b.width, s.minWidth.resolve(cw));
  layoutContent(b);
  b.baseline = -1;
  if (b.inlineContent && !b.lines.empty()) {
    b.baseline = AddPx(b.margin.top, b.border.top, b.padding.top, b.lines.back().baseline);
  }
}

void LayoutEngine::intrinsic(LayoutBox& b) {
  if (b.minContent >= 0) return;
  const ComputedStyle& s = *b.style;
  if (b.kind == BoxKind::Table) {
    const std::vector<TableColumn> cols = tableColumns(b);
    const int spacing = static_cast<int>(std::lround(s.borderSpacing));
    const int gaps = cols.empty() ? 0 : MulPx(spacing, static_cast<int>(cols.size() + 1));
    int mn = gaps, mx = gaps;
    for (const TableColumn& c : cols) {
      mn = AddPx(mn, c.min);
      mx = AddPx(mx, c.max);
    }
    resolveEdges(b, 0);
    const int edges = AddPx(b.border.horizontal(), b.padding.horizontal());
    if (s.width.unit == Length::Unit::Px) {
      // A table's width property gives its border box.
      mx = SubPx(std::max(AddPx(mn, edges), s.width.resolve(0)), edges);
      mn = mx;
    }
    const int outer = AddPx(edges, PxOrZero(s.margin[kLeft]), PxOrZero(s.margin[kRight]));
    b.minContent = AddPx(mn, outer);
    b.maxContent = AddPx(std::max(mn, mx), outer);
    return;
  }
  resolveEdges(b, 0);
  const int outer =
      AddPx(b.border.horizontal(), b.padding.horizontal(), PxOrZero(s.margin[kLeft]), PxOrZero(s.margin[kRight]));
  int mn = 0, mx = 0;
  if (b.kind == BoxKind::Image) {
    int w = 0, h = 0;
    imageSize(b, 0, w, h);
    mn = mx = w;
  } else if (b.inlineContent) {
    collectItems(b);
    int segment = 0, line = 0;
    for (InlineItem& item : b.items) {
      int itemMin = item.width, itemMax = item.width;
      if (item.kind == InlineItem::Kind::Atomic || item.kind == InlineItem::Kind::Float) {
        intrinsic(*item.box);
        itemMin = item.box->minContent;
        itemMax = item.box->maxContent;
      }
      if (item.kind == InlineItem::Kind::Break) {
        mn = std::max(mn, segment);
        mx = std::max(mx, line);
        segment = line = 0;
        continue;
      }
      if (item.kind == InlineItem::Kind::Float) {
        mn = std::max(mn, itemMin);
        line = AddPx(line, itemMax);
        continue;
      }
      segment = AddPx(segment, itemMin);
      mn = std::max(mn, segment);
      if (item.breakAfter) {
        segment = 0;
      } else {
        segment = AddPx(segment, item.spaceAfter);
      }
      line = AddPx(line, itemMax, item.spaceAfter);
    }
    mn = std::max(mn, segment);
    mx = std::max(mx, line);
  } else {
    for (LayoutBox* c : b.children) {
      intrinsic(*c);
      mn = std::max(mn, c->minContent);
      mx = std::max(mx, c->maxContent);
    }
  }
  // A cell's fixed width is weighed by its table, which may give it less.
  if (s.width.unit == Length::Unit::Px && b.kind != BoxKind::TableCell) {
    const int edges = b.control == Control::Button ? AddPx(b.border.horizontal(), b.padding.horizontal()) : 0;
    mn = mx = std::max(0, SubPx(s.width.resolve(0), edges));
  }
  if (s.minWidth.unit == Length::Unit::Px) {
    mn = std::max(mn, s.minWidth.resolve(0));
    mx = std::max(mx, mn);
  }
  b.minContent = AddPx(mn, outer);
  b.maxContent = AddPx(std::max(mn, mx), outer);
}

}  // namespace ks::render
