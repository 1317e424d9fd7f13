// The drawing of a laid-out page as an ordered list of operations, which the
// platform layer replays (backgrounds first, then borders, text and
// controls, in tree order).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/layout_box.h"

namespace ks::render {

struct PaintOp {
  enum class Kind : std::uint8_t { Background, Border, Text, Image, CheckBox, Radio, Button, FocusRect };
  Kind kind = Kind::Background;
  Rect rect;  // root coordinates; the border box, or the text's line box
  const Node* node = nullptr;
  std::uint32_t color = 0;
  float radius[4] = {0, 0, 0, 0};  // top-left, top-right, bottom-right, bottom-left
  int borderWidth[4] = {0, 0, 0, 0};
  BorderStyle borderStyle[4] = {BorderStyle::None, BorderStyle::None, BorderStyle::None, BorderStyle::None};
  std::uint32_t borderColor[4] = {0, 0, 0, 0};
  std::string text;  // Text: the characters; Image: the source URL
  FontHandle font = 0;
  int baseline = 0;
  bool underline = false;
  bool lineThrough = false;
  std::uint32_t state = 0;  // element state bits of controls
};

std::vector<PaintOp> BuildPaintList(const LayoutBox& root, int checkMarkSize);

// One line per operation, for tests.
std::string DumpPaintList(const std::vector<PaintOp>& ops);

}  // namespace ks::render
