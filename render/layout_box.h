// The box tree that layout builds from the styled elements and fills with
// geometry. Boxes live in the tree's arena; nodes point at their box.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "render/dom_node.h"
#include "render/layout_container.h"
#include "render/layout_saturating.h"
#include "render/style_computed.h"

namespace ks::render {

struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < AddPx(x, w) && py < AddPx(y, h); }
};

struct Edges {
  int top = 0;
  int right = 0;
  int bottom = 0;
  int left = 0;
  int horizontal() const { return AddPx(left, right); }
  int vertical() const { return AddPx(top, bottom); }
};

enum class BoxKind : std::uint8_t { Block, InlineBlock, Inline, Text, Image, LineBreak, Table, TableRow, TableCell };
enum class Control : std::uint8_t { None, CheckBox, Radio, Button };

// A piece of one line: one inline item after line breaking.
struct InlineItem {
  enum class Kind : std::uint8_t { Word, Atomic, Float, Break, Open, Close };
  Kind kind = Kind::Word;
  struct LayoutBox* box = nullptr;  // text box, atomic, float or inline box
  std::uint32_t start = 0;          // word: byte range in box->text
  std::uint32_t length = 0;
  int width = 0;       // word width, or the inline box's edge on that side
  int spaceAfter = 0;  // a collapsible space that follows
  bool breakAfter = false;
};

// Text drawn on one line, relative to its block container's content box.
struct TextRun {
  const struct LayoutBox* box = nullptr;  // the text box
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  int x = 0;
  int baseline = 0;
  int width = 0;
  int line = 0;
};

struct LineInfo {
  int y = 0;
  int height = 0;
  int baseline = 0;
};

struct LayoutBox {
  BoxKind kind = BoxKind::Block;
  Control control = Control::None;
  bool floating = false;
  Node* node = nullptr;  // null for anonymous boxes
  const ComputedStyle* style = nullptr;
  LayoutBox* parent = nullptr;
  std::vector<LayoutBox*> children;

  // Geometry: x, y is the border box's corner relative to the content box of
  // offsetParent; width and height are the content box.
  LayoutBox* offsetParent = nullptr;
  Edges margin, border, padding;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int contentShiftY = 0;  // table cells: vertical alignment of the content
  int baseline = -1;      // atomic inlines: from the margin box top; -1 for the bottom edge

  // Text boxes: text after white-space processing and text-transform.
  std::string text;
  FontHandle font = 0;

  // Block containers of inline content.
  bool inlineContent = false;
  bool itemsReady = false;
  std::vector<InlineItem> items;
  std::vector<TextRun> runs;
  std::vector<LineInfo> lines;

  // Inline boxes: border boxes per line, relative to the block container.
  LayoutBox* container = nullptr;
  std::vector<Rect> fragments;

  // Intrinsic widths of the margin box, computed once per box tree.
  int minContent = -1;
  int maxContent = -1;

  int colspan = 1;

  int borderBoxWidth() const { return AddPx(width, padding.horizontal(), border.horizontal()); }
  int borderBoxHeight() const { return AddPx(height, padding.vertical(), border.vertical()); }
  int marginBoxWidth() const { return AddPx(borderBoxWidth(), margin.horizontal()); }
  int marginBoxHeight() const { return AddPx(borderBoxHeight(), margin.vertical()); }
  bool isBlockContainer() const {
    return kind == BoxKind::Block || kind == BoxKind::InlineBlock || kind == BoxKind::TableCell;
  }
  bool isAtomicInline() const {
    return kind == BoxKind::InlineBlock || kind == BoxKind::Image || kind == BoxKind::Table;
  }
};

// Border box of a box in root coordinates.
Rect AbsoluteBorderBox(const LayoutBox& box);
// Content box in root coordinates (the content of an inline box: the union
// of its fragments without their padding and border).
Rect AbsoluteContentBox(const LayoutBox& box);

}  // namespace ks::render
