// Lays out a box tree for a width: block flow, lines of inline content with
// floats, tables, and the intrinsic widths behind shrink-to-fit boxes and the
// page's minimum width. Text is measured through the container.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "render/layout_box.h"
#include "render/layout_container.h"
#include "render/layout_table_widths.h"

namespace ks::render {

class LayoutEngine {
 public:
  explicit LayoutEngine(Container& container);
  ~LayoutEngine();
  LayoutEngine(const LayoutEngine&) = delete;
  LayoutEngine& operator=(const LayoutEngine&) = delete;

  // Lays the tree out for a viewport width; answers the height of the root's
  // margin box.
  int layout(LayoutBox& root, int width);
  // Narrowest and widest the root's margin box can usefully be.
  int minContentWidth(LayoutBox& root);
  int maxContentWidth(LayoutBox& root);

  struct Font {
    FontHandle handle = 0;
    FontMetrics metrics;
    int spaceWidth = 0;
  };
  const Font& fontFor(const ComputedStyle& style);

 private:
  struct FloatBox {
    Rect rect;  // margin box, relative to the container's content box
    bool left = true;
  };

  // Blocks.
  void resolveEdges(LayoutBox& box, int containingWidth);
  void layoutBlock(LayoutBox& box, int containingWidth);
  void layoutContent(LayoutBox& box);
  void layoutAtomic(LayoutBox& box, int containingWidth);
  void imageSize(LayoutBox& box, int containingWidth, int& width, int& height);
  void intrinsic(LayoutBox& box);

  // Inline content.
  void collectItems(LayoutBox& container);
  void collectFrom(LayoutBox& container, LayoutBox& parent, bool& prevSpace);
  void addText(LayoutBox& container, LayoutBox& text, bool& prevSpace);
  int layoutInline(LayoutBox& container);
  void lineSpan(const std::vector<FloatBox>& floats, int y, int width, int& left, int& right) const;
  void halfLeading(const ComputedStyle& style, int& ascent, int& descent);
  int baselineShift(const LayoutBox& box, const LayoutBox& container) const;

  // Tables.
  void layoutTable(LayoutBox& table, int containingWidth, bool shrinkToFit);
  std::vector<TableColumn> tableColumns(LayoutBox& table);

  Container& container_;
  std::unordered_map<std::string, Font> fonts_;
  std::unordered_map<const ComputedStyle*, const Font*> styleFonts_;
  int checkMark_ = 13;
};

}  // namespace ks::render
