#include <gtest/gtest.h>

#include "page_fixture.h"
#include "render/paint_forced_colors.h"
#include "render/paint_image_scaling.h"

namespace ks::render {
namespace {

using testing::ExpectRect;
using testing::kBlack;
using testing::PageTest;

class PaintListTest : public PageTest {};

TEST_F(PaintListTest, BoxesPaintBackgroundThenBorderThenText_InTreeOrder) {
  load(
      "<div style='background-color: #102030; border: 2px solid #FF0000; border-radius: 4px; padding: 3px'>ab</div>"
      "<div style='background-color: blue'>c</div>",
      100);
  EXPECT_EQ(
      "background 0,0 100x20 #FF102030 r=4\n"
      "border 0,0 100x20 w=2 style=2 #FFFF0000 r=4\n"
      "text 5,5 10x10 base=13 #FF000000 \"ab\"\n"
      "background 0,20 100x10 #FF0000FF r=0\n"
      "text 0,20 5x10 base=28 #FF000000 \"c\"\n",
      DumpPaintList(page.paint()));
}

TEST_F(PaintListTest, BordersCarryEachSideAndTakeTheTextColourWhenUncoloured) {
  load(
      "<div id=d style='color: green; border-style: solid double dashed none; border-width: 1px 2px 3px 4px;"
      " border-top-color: #010203; border-radius: 1px 2px 3px 4px'>x</div>",
      100);
  const std::vector<PaintOp> borders = ops(PaintOp::Kind::Border);
  ASSERT_EQ(1u, borders.size());
  const PaintOp& b = borders[0];
  // A side without a style takes no room and draws nothing.
  ExpectRect(b.rect, 0, 0, 100, 14);
  EXPECT_EQ(1, b.borderWidth[0]);
  EXPECT_EQ(2, b.borderWidth[1]);
  EXPECT_EQ(3, b.borderWidth[2]);
  EXPECT_EQ(0, b.borderWidth[3]);
  EXPECT_EQ(BorderStyle::Solid, b.borderStyle[0]);
  EXPECT_EQ(BorderStyle::Double, b.borderStyle[1]);
  EXPECT_EQ(BorderStyle::Dashed, b.borderStyle[2]);
  EXPECT_EQ(0xFF010203u, b.borderColor[0]);
  EXPECT_EQ(0xFF008000u, b.borderColor[1]) << "current colour";
  EXPECT_EQ(2.0f, b.radius[1]);
  EXPECT_EQ(4.0f, b.radius[3]);
  EXPECT_EQ(0xFF008000u, textOp("x").color);
}

TEST_F(PaintListTest, TransparentBackgroundsAndHiddenBoxesDrawNothingButKeepTheirRoom) {
  load(
      "<div style='background-color: transparent'>a</div>"
      "<div style='visibility: hidden; background-color: red; border: 1px solid'>b<span id=v style='visibility: visible'>c</span></div>",
      100);
  EXPECT_EQ(
      "text 0,0 5x10 base=8 #FF000000 \"a\"\n"
      "text 6,11 5x10 base=19 #FF000000 \"c\"\n",
      DumpPaintList(page.paint()));
}

TEST_F(PaintListTest, InlineBackgroundRepeatsOnEveryLineTheElementCovers) {
  load("<div style='width: 50px'>x <span id=s style='background-color: yellow; padding: 0 2px'>aaaa bbbb</span></div>",
       200);
  const std::vector<PaintOp> backgrounds = ops(PaintOp::Kind::Background);
  ASSERT_EQ(2u, backgrounds.size());
  // First line: "x " then the left padding and "aaaa"; second line "bbbb"
  // and the right padding.
  ExpectRect(backgrounds[0].rect, 10, 0, 22, 10);
  ExpectRect(backgrounds[1].rect, 0, 10, 22, 10);
  EXPECT_EQ(12, textOp("aaaa").rect.x);
  EXPECT_EQ(0, textOp("bbbb").rect.x);
}

TEST_F(PaintListTest, TextRunsKeepColourUnderlineAndBaselineOfTheirElement) {
  load(
      "<div style='font-size: 20px'>A<span style='font-size: 10px; color: #123456; text-decoration: underline'>b</span>"
      "<span style='text-decoration: line-through'>c</span></div>",
      200);
  const PaintOp a = textOp("A");
  const PaintOp b = textOp("b");
  const PaintOp c = textOp("c");
  // Both sit on the 20px font's baseline (ascent 16).
  EXPECT_EQ(16, a.baseline);
  EXPECT_EQ(16, b.baseline);
  EXPECT_EQ(0xFF123456u, b.color);
  EXPECT_TRUE(b.underline);
  EXPECT_FALSE(a.underline);
  EXPECT_TRUE(c.lineThrough);
  EXPECT_NE(a.font, b.font);
  EXPECT_EQ(a.font, c.font);
}

TEST_F(PaintListTest, ImageDrawsIntoItsContentBoxWithItsSource) {
  fake.images["a.gif"] = {16, 8};
  load("<div><img id=i src=a.gif style='border: 2px solid; padding: 1px'></div>", 100);
  const std::vector<PaintOp> images = ops(PaintOp::Kind::Image);
  ASSERT_EQ(1u, images.size());
  EXPECT_EQ("a.gif", images[0].text);
  ExpectRect(images[0].rect, 3, 3, 16, 8);
  ExpectRect(ops(PaintOp::Kind::Border).at(0).rect, 0, 0, 22, 14);
}

TEST_F(PaintListTest, CheckMarkCentresOnTheCaptionsFirstLineAndShowsCheckedState) {
  load("<widget type=checkbox id=c style='font-size: 30px'>Ab</widget>", 200);
  const std::vector<PaintOp> marks = ops(PaintOp::Kind::CheckBox);
  ASSERT_EQ(1u, marks.size());
  ExpectRect(marks[0].rect, 0, (30 - 13) / 2, 13, 13);
  EXPECT_EQ(0u, marks[0].state & kStateChecked);
  page.setState(node("c"), kStateChecked, 0);
  EXPECT_NE(std::string::npos, DumpPaintList(page.paint()).find("checkbox 0,8 13x13 checked"))
      << DumpPaintList(page.paint());
  page.setState(node("c"), 0, kStateChecked);
  EXPECT_EQ(0u, ops(PaintOp::Kind::CheckBox).at(0).state & kStateChecked);
}

TEST_F(PaintListTest, FocusMarkFollowsTheFocusedElementsContent) {
  load("<widget type=checkbox id=c>cap</widget><input type=button id=b value=Go>", 200);
  EXPECT_TRUE(ops(PaintOp::Kind::FocusRect).empty());
  page.setState(node("b"), kStateFocus, 0);
  const std::vector<PaintOp> all = page.paint();
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(PaintOp::Kind::FocusRect, all.back().kind) << DumpPaintList(all);
  EXPECT_EQ(&node("b"), all.back().node);
  const Rect b = border("b");
  ExpectRect(all.back().rect, b.x, b.y, b.w, b.h);
}

// Links take the focus with Tab like check boxes and buttons, so a focused
// link must get a focus mark too, around the text it covers.
TEST_F(PaintListTest, FocusedLinkGetsAFocusMarkAroundEachOfItsLines) {
  load("<div style='width: 50px'>x <a id=l href=u>aaaa bbbb</a></div>", 200);
  page.setState(node("l"), kStateFocus, 0);
  const std::vector<PaintOp> focus = ops(PaintOp::Kind::FocusRect);
  ASSERT_EQ(2u, focus.size()) << DumpPaintList(page.paint());
  ExpectRect(focus[0].rect, 10, 0, 20, 10);
  ExpectRect(focus[1].rect, 0, 10, 20, 10);
  EXPECT_EQ(&node("l"), focus[0].node);
  page.setState(node("l"), 0, kStateFocus);
  EXPECT_TRUE(ops(PaintOp::Kind::FocusRect).empty());
}

TEST_F(PaintListTest, ButtonDrawsItsFaceBeforeItsLabel) {
  load("<input type=submit id=ok value=OK>", 200);
  const std::vector<PaintOp> all = page.paint();
  ASSERT_GE(all.size(), 3u) << DumpPaintList(all);
  EXPECT_EQ(PaintOp::Kind::Button, all[0].kind);
  EXPECT_EQ(PaintOp::Kind::Text, all.back().kind);
  EXPECT_EQ("OK", all.back().text);
  EXPECT_EQ(&node("ok"), all[0].node);
}

TEST_F(PaintListTest, NothingIsPaintedBeforeTheFirstLayout) {
  page.loadHtml("<div style='background-color: red'>x</div>");
  EXPECT_TRUE(page.paint().empty());
}

// High contrast: every colour of the page gives way to the system's, by what
// the operation draws (links, buttons, disabled controls, the rest); images
// keep theirs.
TEST_F(PaintListTest, ForcedColours_ReplaceThePageColoursByRole) {
  fake.images["i.gif"] = {10, 10};
  load(
      "<div style='background: #FF0000; color: #00FF00; border: 1px solid #0000FF'>text <a href=x>link "
      "<b>bold</b></a> <input type=button value=Go style='background: #123456'>"
      "<widget id=w type=checkbox style='color: #ABCDEF'>off</widget><img src=i.gif></div>",
      400);
  page.setState(node("w"), kStateDisabled, 0);
  std::vector<PaintOp> list = page.paint();
  ForcedColors colors;
  colors.window = 0xFF000001;
  colors.windowText = 0xFF000002;
  colors.hotLight = 0xFF000003;
  colors.buttonFace = 0xFF000004;
  colors.buttonText = 0xFF000005;
  colors.grayText = 0xFF000006;
  ApplyForcedColors(list, colors);
  std::string texts;
  for (const PaintOp& op : list) {
    char buf[64];
    switch (op.kind) {
      case PaintOp::Kind::Background: std::snprintf(buf, sizeof buf, "bg:%X ", op.color & 0xFF); break;
      case PaintOp::Kind::Border: std::snprintf(buf, sizeof buf, "border:%X ", op.borderColor[0] & 0xFF); break;
      case PaintOp::Kind::Text: std::snprintf(buf, sizeof buf, "%s:%X ", op.text.c_str(), op.color & 0xFF); break;
      case PaintOp::Kind::Image: std::snprintf(buf, sizeof buf, "image "); break;
      default: buf[0] = 0; break;
    }
    texts += buf;
  }
  EXPECT_EQ("bg:1 border:2 text:2 link:3 bold:3 bg:4 border:5 Go:5 off:6 image ", texts);
}

// Small icons stay sharp at every scale; large pictures are smoothed.
TEST(ImageScalingTest, WholeFactorsCopyPixelsSmallIconsArePrescaledLargePicturesSmoothed) {
  const auto how = [](int sw, int sh, int w, int h) {
    const ImageScaling s = ChooseImageScaling(sw, sh, w, h);
    return std::string(s.smooth ? "smooth" : "nearest") + "x" + std::to_string(s.prescale);
  };
  EXPECT_EQ("nearestx1", how(16, 16, 16, 16));
  EXPECT_EQ("nearestx1", how(16, 16, 32, 32));
  EXPECT_EQ("nearestx1", how(14, 14, 42, 42));
  // 150 % and 125 %: enlarged twice by copying, then reduced smoothly.
  EXPECT_EQ("smoothx2", how(16, 16, 24, 24));
  EXPECT_EQ("smoothx2", how(16, 16, 20, 20));
  EXPECT_EQ("smoothx3", how(16, 16, 40, 40));
  // Stretched unevenly, reduced, or a large picture: smooth, no copy.
  EXPECT_EQ("smoothx2", how(16, 16, 32, 24));
  EXPECT_EQ("smoothx1", how(16, 16, 12, 12));
  EXPECT_EQ("smoothx1", how(302, 233, 453, 350));
  // The copy is bounded however large a tiny image is drawn.
  EXPECT_EQ("smoothx16", how(1, 1, 1000, 999));
  EXPECT_EQ("nearestx1", how(0, 16, 24, 24));
  EXPECT_EQ("nearestx1", how(16, 16, 0, 0));
}

}  // namespace
}  // namespace ks::render
