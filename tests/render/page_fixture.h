// A page laid out with the fixed-metric container, and lookups by id and by
// painted text, so tests state exact positions and colours.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "fake_container.h"
#include "render/page_view.h"

namespace ks::render::testing {

// A 10px font: each character is 5px wide, ascent 8, descent 2, so a line of
// plain text is 10px high.
constexpr const char* kTestBase = "<style>html { font: 10px Test; } body { margin: 0 }</style>";

constexpr std::uint32_t kBlack = 0xFF000000;

class PageTest : public ::testing::Test {
 protected:
  void load(const std::string& html, int width) {
    page.loadHtml(std::string(kTestBase) + html);
    page.layout(width);
  }
  Node& node(const char* id) {
    Node* n = page.document().findById(id);
    if (!n) ADD_FAILURE() << "no element " << id;
    return n ? *n : page.document().root();
  }
  Rect content(const char* id) {
    Rect r;
    EXPECT_TRUE(page.contentBox(node(id), r)) << id;
    return r;
  }
  Rect border(const char* id) {
    Rect r;
    EXPECT_TRUE(page.borderBox(node(id), r)) << id;
    return r;
  }
  std::vector<PaintOp> ops(PaintOp::Kind kind) {
    std::vector<PaintOp> out;
    for (PaintOp& op : page.paint()) {
      if (op.kind == kind) out.push_back(op);
    }
    return out;
  }
  // The first text operation that draws exactly text; a default one (empty
  // text) when none does.
  PaintOp textOp(std::string_view text) {
    for (PaintOp& op : page.paint()) {
      if (op.kind == PaintOp::Kind::Text && op.text == text) return op;
    }
    ADD_FAILURE() << "no text \"" << text << "\" in\n" << DumpPaintList(page.paint());
    return PaintOp{};
  }
  // Every painted text in order, joined by '|'.
  std::string paintedText() {
    std::string out;
    for (const PaintOp& op : page.paint()) {
      if (op.kind != PaintOp::Kind::Text) continue;
      if (!out.empty()) out += '|';
      out += op.text;
    }
    return out;
  }

  FakeContainer fake;
  PageView page{fake};
};

inline void ExpectRect(const Rect& r, int x, int y, int w, int h) {
  EXPECT_EQ(x, r.x) << "x";
  EXPECT_EQ(y, r.y) << "y";
  EXPECT_EQ(w, r.w) << "w";
  EXPECT_EQ(h, r.h) << "h";
}

}  // namespace ks::render::testing
