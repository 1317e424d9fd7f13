#include "render/layout_table_widths.h"

#include <algorithm>

#include "render/layout_saturating.h"

namespace ks::render {
namespace {

bool IsPercent(const TableColumn& c) { return c.percent > 0; }
bool IsFixed(const TableColumn& c) { return c.fixed && !IsPercent(c); }
bool IsAuto(const TableColumn& c) { return !c.fixed && !IsPercent(c); }

// Grows the columns that take part toward their targets, each in proportion
// to what it still lacks, by no more than remaining in all; answers what was
// given. A browser interpolates between two of its width guesses the same
// way. Counted wide and exact, so the shares never add up to more than the
// grant; rounding leftovers go one pixel each to the first that still lack.
template <typename Takes, typename Target>
int GrowToward(std::vector<TableColumn>& cols, int remaining, Takes takes, Target target) {
  long long lacking = 0;
  for (const TableColumn& c : cols) {
    if (takes(c)) lacking += std::max(0, SubPx(target(c), c.width));
  }
  if (lacking <= 0 || remaining <= 0) return 0;
  const int grant = static_cast<int>(std::min<long long>(remaining, lacking));
  int given = 0;
  for (TableColumn& c : cols) {
    const int lack = takes(c) ? std::max(0, SubPx(target(c), c.width)) : 0;
    const int share = static_cast<int>(static_cast<long long>(grant) * lack / lacking);
    c.width = AddPx(c.width, share);
    given = AddPx(given, share);
  }
  for (TableColumn& c : cols) {
    if (given >= grant) break;
    const int lack = takes(c) ? std::max(0, SubPx(target(c), c.width)) : 0;
    const int add = std::min(grant - given, lack);
    c.width = AddPx(c.width, add);
    given = AddPx(given, add);
  }
  return given;
}

}  // namespace

void DistributeColumnWidths(std::vector<TableColumn>& cols, int available) {
  int remaining = available;
  for (TableColumn& c : cols) {
    c.width = c.min;
    remaining = SubPx(remaining, c.min);
  }
  if (remaining <= 0 || cols.empty()) return;
  const auto percentShare = [available](const TableColumn& c) {
    return RoundPx(static_cast<double>(available) * static_cast<double>(c.percent) / 100.0);
  };
  const auto widest = [](const TableColumn& c) { return c.max; };
  remaining = SubPx(remaining, GrowToward(cols, remaining, IsPercent, percentShare));
  remaining = SubPx(remaining, GrowToward(cols, remaining, IsFixed, widest));
  remaining = SubPx(remaining, GrowToward(cols, remaining, IsAuto, widest));
  if (remaining <= 0) return;
  // Space beyond every column's content: auto columns share it by their
  // width; when there are none, every column does.
  std::vector<TableColumn*> takers;
  for (TableColumn& c : cols) {
    if (IsAuto(c)) takers.push_back(&c);
  }
  if (takers.empty()) {
    for (TableColumn& c : cols) takers.push_back(&c);
  }
  long long total = 0;
  for (const TableColumn* c : takers) total += c->width;
  int given = 0;
  for (TableColumn* c : takers) {
    const int share = total > 0 ? static_cast<int>(remaining * static_cast<long long>(c->width) / total)
                                : remaining / static_cast<int>(takers.size());
    c->width = AddPx(c->width, share);
    given = AddPx(given, share);
  }
  if (given < remaining) takers.back()->width = AddPx(takers.back()->width, remaining - given);
}

}  // namespace ks::render
