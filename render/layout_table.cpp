// Automatic table layout: the columns' minimum and preferred widths from the
// cells' intrinsic widths, fixed and percentage widths and spans; rows as
// tall as their tallest cell.
#include <algorithm>
#include <cmath>

#include "render/layout_engine.h"
#include "render/layout_saturating.h"
#include "render/layout_table_widths.h"

namespace ks::render {
namespace {

constexpr std::size_t kMaxColumns = 1000;

std::size_t ColumnCount(const LayoutBox& table) {
  std::size_t n = 0;
  for (const LayoutBox* row : table.children) {
    std::size_t cols = 0;
    for (const LayoutBox* cell : row->children) cols += static_cast<std::size_t>(cell->colspan);
    n = std::max(n, cols);
  }
  return std::min(n, kMaxColumns);
}

}  // namespace

std::vector<TableColumn> LayoutEngine::tableColumns(LayoutBox& table) {
  std::vector<TableColumn> cols(ColumnCount(table));
  const int spacing = static_cast<int>(std::lround(table.style->borderSpacing));
  struct Spanning {
    std::size_t first, span;
    int min, max;
  };
  std::vector<Spanning> spanning;
  for (LayoutBox* row : table.children) {
    std::size_t col = 0;
    for (LayoutBox* cell : row->children) {
      if (col >= cols.size()) break;
      const std::size_t span = std::min(static_cast<std::size_t>(cell->colspan), cols.size() - col);
      intrinsic(*cell);
      int mn = cell->minContent, mx = cell->maxContent;
      const Length& w = cell->style->width;
      bool fixed = false;
      if (w.unit == Length::Unit::Px) {
        // A cell's width is its content box; columns hold border boxes. A
        // fixed width is what the column prefers: when the table gets
        // narrow it gives way down to the content's min-content width.
        const int box = AddPx(w.resolve(0), cell->border.horizontal(), cell->padding.horizontal());
        mx = std::max(mn, box);
        fixed = true;
      }
      if (span == 1) {
        TableColumn& c = cols[col];
        c.min = std::max(c.min, mn);
        c.max = std::max(c.max, mx);
        c.fixed = c.fixed || fixed;
        if (w.isPercent()) c.percent = std::max(c.percent, w.value);
      } else {
        spanning.push_back(Spanning{col, span, mn, mx});
      }
      col += span;
    }
  }
  for (const Spanning& s : spanning) {
    int haveMin = MulPx(spacing, static_cast<int>(s.span - 1)), haveMax = haveMin;
    for (std::size_t k = s.first; k < s.first + s.span; ++k) {
      haveMin = AddPx(haveMin, cols[k].min);
      haveMax = AddPx(haveMax, cols[k].max);
    }
    const int n = static_cast<int>(s.span);
    // The span's extra width, shared out with the remainder one pixel each.
    const auto share = [n](int extra, std::size_t k) { return extra / n + (static_cast<int>(k) < extra % n ? 1 : 0); };
    if (s.min > haveMin) {
      const int extra = s.min - haveMin;
      for (std::size_t k = 0; k < s.span; ++k) cols[s.first + k].min = AddPx(cols[s.first + k].min, share(extra, k));
    }
    if (s.max > haveMax) {
      const int extra = s.max - haveMax;
      for (std::size_t k = 0; k < s.span; ++k) cols[s.first + k].max = AddPx(cols[s.first + k].max, share(extra, k));
    }
  }
  for (TableColumn& c : cols) c.max = std::max(c.max, c.min);
  return cols;
}

void LayoutEngine::layoutTable(LayoutBox& t, int cw, bool shrinkToFit) {
  resolveEdges(t, cw);
  const ComputedStyle& s = *t.style;
  std::vector<TableColumn> cols = tableColumns(t);
  const int spacing = static_cast<int>(std::lround(s.borderSpacing));
  const int n = static_cast<int>(cols.size());
  const int gaps = n > 0 ? MulPx(spacing, n + 1) : 0;
  int sumMin = 0, sumMax = 0;
  for (const TableColumn& c : cols) {
    sumMin = AddPx(sumMin, c.min);
    sumMax = AddPx(sumMax, c.max);
  }
  const int edges = AddPx(t.border.horizontal(), t.padding.horizontal());
  int target = 0;
  if (!s.width.isAuto()) {
    target = SubPx(s.width.resolve(cw), edges);  // a table's width is its border box
  } else {
    target = std::min(AddPx(cw, -t.margin.horizontal(), -edges), AddPx(sumMax, gaps));
  }
  target = std::max(target, AddPx(sumMin, gaps));
  DistributeColumnWidths(cols, SubPx(target, gaps));
  t.width = target;
  if (!shrinkToFit && s.margin[kLeft].isAuto() && s.margin[kRight].isAuto()) {
    t.margin.left = t.margin.right = std::max(0, AddPx(cw, -target, -edges) / 2);
  }

  int y = t.children.empty() ? 0 : spacing;
  for (LayoutBox* row : t.children) {
    resolveEdges(*row, target);
    row->offsetParent = &t;
    int x = spacing;
    std::size_t col = 0;
    int rowHeight = row->style->height.unit == Length::Unit::Px ? row->style->height.resolve(0) : 0;
    for (LayoutBox* cell : row->children) {
      cell->offsetParent = &t;
      if (col >= cols.size()) {
        cell->width = cell->height = 0;
        cell->x = x;
        cell->y = y;
        continue;
      }
      const std::size_t span = std::min(static_cast<std::size_t>(cell->colspan), cols.size() - col);
      int cellWidth = MulPx(spacing, static_cast<int>(span - 1));
      for (std::size_t k = col; k < col + span; ++k) cellWidth = AddPx(cellWidth, cols[k].width);
      resolveEdges(*cell, target);
      cell->width = std::max(0, AddPx(cellWidth, -cell->border.horizontal(), -cell->padding.horizontal()));
      cell->contentShiftY = 0;
      layoutContent(*cell);
      cell->x = x;
      cell->y = y;
      rowHeight = std::max(rowHeight, cell->borderBoxHeight());
      x = AddPx(x, cellWidth, spacing);
      col += span;
    }
    for (LayoutBox* cell : row->children) {
      const int extra = SubPx(rowHeight, cell->borderBoxHeight());
      if (extra <= 0) continue;
      switch (cell->style->verticalAlign) {
        case VerticalAlign::Middle: cell->contentShiftY = extra / 2; break;
        case VerticalAlign::Bottom: cell->contentShiftY = extra; break;
        default: cell->contentShiftY = 0; break;
      }
      cell->height = AddPx(cell->height, extra);
    }
    row->x = spacing;
    row->y = y;
    row->width = std::max(0, SubPx(target, MulPx(2, spacing)));
    row->height = rowHeight;
    y = AddPx(y, rowHeight, spacing);
  }
  t.height = y;
  if (s.height.unit == Length::Unit::Px) {
    t.height = std::max(t.height, AddPx(s.height.resolve(0), -t.border.vertical(), -t.padding.vertical()));
  }
  t.baseline = -1;
}

}  // namespace ks::render
