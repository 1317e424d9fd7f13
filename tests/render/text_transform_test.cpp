#include <gtest/gtest.h>

#include "page_fixture.h"

namespace ks::render {
namespace {

using testing::PageTest;

class TextTransformTest : public PageTest {
 protected:
  // Lays out text under a transform and answers what is painted.
  std::string transformed(const char* transform, const std::string& html) {
    load(std::string("<div style='text-transform: ") + transform + "'>" + html + "</div>", 2000);
    return paintedText();
  }
};

TEST_F(TextTransformTest, UppercaseCoversLatinLatin1AndCyrillic) {
  EXPECT_EQ("KESTROW CAFÉ ÀÖØÞ STRAßE", transformed("uppercase", "Kestrow café àöøþ straße"));
  EXPECT_EQ("НАСТРОЙКИ ЁЖ ЇЂ", transformed("uppercase", "настройки ёж їђ"));
  EXPECT_EQ("÷ 123 ☺", transformed("uppercase", "÷ 123 ☺")) << "no case, no change";
}

TEST_F(TextTransformTest, LowercaseCoversLatinLatin1AndCyrillic) {
  EXPECT_EQ("changed café àöøþ", transformed("lowercase", "CHANGED CAFÉ ÀÖØÞ"));
  EXPECT_EQ("изменено ёж їђ ×", transformed("lowercase", "ИЗМЕНЕНО ЁЖ ЇЂ ×"));
}

TEST_F(TextTransformTest, CapitalizeRaisesTheFirstLetterOfEachWordOnly) {
  EXPECT_EQ("Kestrow Settings MIXed", transformed("capitalize", "kestrow settings mIXed"));
  EXPECT_EQ("Настройки Программы Ёлка", transformed("capitalize", "настройки программы ёлка"));
  // A word split over elements is still one word.
  EXPECT_EQ("Kes|trow", transformed("capitalize", "<b>kes</b>trow"));
}

TEST_F(TextTransformTest, CapitalizeSkipsLeadingPunctuationAndTreatsNoBreakSpaceAsASeparator) {
  EXPECT_EQ("«Quote» (Word) Don't Semi-colon", transformed("capitalize", "«quote» (word) don't semi-colon"));
  EXPECT_EQ("\xC2\xA0Main\xC2\xA0Group", transformed("capitalize", "&nbsp;main&nbsp;group"));
}

TEST_F(TextTransformTest, TransformIsInheritedAndAChildCanChangeIt) {
  // The heading is capitalised while its "changed" marker is lower case.
  load(
      "<span id=theader style='text-transform: capitalize'>kestrow settings "
      "<sup><span style='text-transform: lowercase'>CHANGED</span></sup> <b>now</b></span>",
      2000);
  EXPECT_EQ("Kestrow Settings|changed|Now", paintedText());
}

TEST_F(TextTransformTest, TransformAppliesToPreformattedText) {
  EXPECT_EQ("A  B", transformed("uppercase", "<span style='white-space: pre'>a  b</span>"));
  load("<pre style='text-transform: capitalize'>one  two</pre>", 400);
  EXPECT_EQ("One  Two", paintedText());
}

TEST_F(TextTransformTest, NoneUndoesAnInheritedTransform) {
  load("<div style='text-transform: uppercase'>a <span style='text-transform: none'>b</span></div>", 400);
  EXPECT_EQ("A|b", paintedText());
}

}  // namespace
}  // namespace ks::render
