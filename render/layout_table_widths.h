// How an automatic table shares its width among its columns, the way
// browsers do: every column gets its min-content width, then percentage
// columns grow toward their share, then columns of a fixed width toward that
// width, then the others toward their max-content width, each step in
// proportion to what a column can still take; what is left after that goes
// to the columns of automatic width.
#pragma once

#include <vector>

namespace ks::render {

struct TableColumn {
  int min = 0;  // border boxes of the cells, spacing excluded
  int max = 0;
  float percent = 0.0f;
  bool fixed = false;  // some cell gives the column a width in pixels
  int width = 0;       // the result
};

// Sets every column's width; they add up to available, or to the columns'
// minimum widths when available is less.
void DistributeColumnWidths(std::vector<TableColumn>& cols, int available);

}  // namespace ks::render
