// The page text rewritten for a language prefix.
#include "config/page_prefix.h"

#include <gtest/gtest.h>

#include <string>

namespace ks {
namespace {

constexpr char16_t kSite[] = u"https://www.orlinworks.example";
const std::string kBom = "\xEF\xBB\xBF";
const std::string kPage = kBom +
                          "<html>\n<head><style>\n@import url(\"styles.css\");\n"
                          "@import url(\"?LOCALIZE_CSS_URL?\");\n</style></head>\n<body>"
                          "<a href=\"https://www.orlinworks.example/Source/leafnote_en.zip\">Download</a>"
                          "<td width=\"70%%\">\xD0\x9A</td></body></html>";

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(PagePrefix, Ru_ImportsItsSheetSetsLangAndLinksRussianDownload) {
  const std::string page = PreparePageText(kPage, u"Ru", kSite);
  EXPECT_TRUE(Has(page, "@import url(\"localize_Ru.css\");"));
  EXPECT_FALSE(Has(page, "?LOCALIZE_CSS_URL?"));
  EXPECT_EQ(page.compare(0, kBom.size() + 16, kBom + "<html lang=\"ru\">"), 0);
  EXPECT_TRUE(Has(page, "https://www.orlinworks.example/Source/leafnote_ru.zip"));
  EXPECT_FALSE(Has(page, "leafnote_en.zip"));
  // Nothing else changes: doubled percent signs and other text as stored.
  EXPECT_TRUE(Has(page, "width=\"70%%\">\xD0\x9A</td>"));
  EXPECT_TRUE(Has(page, "@import url(\"styles.css\");"));
}

TEST(PagePrefix, En_ImportsItsSheetButKeepsTheEnglishDownload) {
  const std::string page = PreparePageText(kPage, u"en", kSite);
  EXPECT_TRUE(Has(page, "@import url(\"localize_en.css\");"));
  EXPECT_TRUE(Has(page, "<html lang=\"en\">"));
  EXPECT_TRUE(Has(page, "leafnote_en.zip"));
}

TEST(PagePrefix, EveryDownloadLanguage_GetsItsOwnLink) {
  for (const char16_t* code : {u"RU", u"De", u"uk", u"fr", u"PL", u"pt", u"sp"}) {
    std::u16string lower(code);
    for (char16_t& c : lower) c = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    const std::string expected = "/Source/leafnote_" + std::string(lower.begin(), lower.end()) + ".zip";  // ASCII codes
    EXPECT_TRUE(Has(PreparePageText(kPage, code, kSite), expected)) << expected;
  }
}

TEST(PagePrefix, DownloadOnAnotherSite_IsLeftAlone) {
  const std::string page = PreparePageText(kPage, u"de", u"https://elsewhere.example");
  EXPECT_TRUE(Has(page, "leafnote_en.zip"));
}

TEST(PagePrefix, EmptyPrefix_LeavesThePageUnchanged) { EXPECT_EQ(PreparePageText(kPage, u"", kSite), kPage); }

TEST(PagePrefix, PageWithoutHtmlTag_IsUnchangedEvenWithPrefix) {
  const std::string page = kBom + "<HTMLX><style>@import url(\"?LOCALIZE_CSS_URL?\");</style>";
  EXPECT_EQ(PreparePageText(page, u"Ru", kSite), page);
}

TEST(PagePrefix, HtmlTagInAnyCase_GetsTheLangAttribute) {
  const std::string page = "<HTML><body></body></HTML>";
  EXPECT_EQ(PreparePageText(page, u"Fr", kSite), "<html lang=\"fr\"><body></body></HTML>");
}

TEST(PagePrefix, PlaceholderInOtherCase_IsFoundButOnlyExactOnesReplaced) {
  const std::string page =
      "<html>@IMPORT URL(\"?LOCALIZE_CSS_URL?\"); @import url(\"?LOCALIZE_CSS_URL?\"); "
      "@import url(\"?LOCALIZE_CSS_URL?\");";
  const std::string out = PreparePageText(page, u"Ru", kSite);
  EXPECT_EQ(out,
            "<html lang=\"ru\">@IMPORT URL(\"?LOCALIZE_CSS_URL?\"); @import url(\"localize_Ru.css\"); "
            "@import url(\"localize_Ru.css\");");
}

TEST(PagePrefix, PrefixThatCouldBreakOutOfTheText_IsTreatedAsNone) {
  for (const char16_t* prefix : {u"r\"u", u"..\\x", u"a b", u"<x>", u"ru);", u"\u0420\u0443", u"123456789"}) {
    EXPECT_EQ(PreparePageText(kPage, prefix, kSite), kPage);
  }
}

TEST(PagePrefix, EmptyPage_StaysEmpty) { EXPECT_EQ(PreparePageText("", u"Ru", kSite), ""); }

TEST(PagePrefixName, KeepsTheLetterCaseOfThePrefix) {
  EXPECT_EQ(LocalizationSheetName(u"Ru"), u"localize_Ru.css");
  EXPECT_TRUE(IsUsablePagePrefix(u"pt-BR_x1"));
  EXPECT_FALSE(IsUsablePagePrefix(u""));
}

}  // namespace
}  // namespace ks
