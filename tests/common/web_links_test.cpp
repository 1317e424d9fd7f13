#include "common/web_links.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ks {
namespace {

std::wstring Site(const wchar_t* path) { return L"https://" + std::wstring(WebSiteHost()) + path; }

TEST(WebEdition, RuUkAndBeInAnyCase_ChooseRussian) {
  for (const wchar_t* prefix : {L"Ru", L"ru", L"RU", L"Uk", L"uK", L"Be", L"be"}) {
    EXPECT_EQ(EditionForPrefix(prefix), WebEdition::Russian) << prefix;
  }
}

TEST(WebEdition, OtherOrNoPrefix_ChoosesEnglish) {
  for (const wchar_t* prefix : {L"", L"En", L"De", L"Rus", L"R", L"Ru ", L"Ua"}) {
    EXPECT_EQ(EditionForPrefix(prefix), WebEdition::English) << prefix;
  }
}

TEST(WebPages, EnglishEdition_LiesOnTheProductSite) {
  EXPECT_EQ(WebPageAddress(WebPage::Home, WebEdition::English), Site(L"/"));
  EXPECT_EQ(WebPageAddress(WebPage::Leafnote, WebEdition::English), Site(L"/about.shtml"));
  EXPECT_EQ(WebPageAddress(WebPage::Keymark, WebEdition::English), Site(L"/keymark.shtml"));
  EXPECT_EQ(WebPageAddress(WebPage::Snipdrop, WebEdition::English), Site(L"/snipdrop.shtml"));
  EXPECT_EQ(WebPageAddress(WebPage::LeafnoteDownload, WebEdition::English), Site(L"/Source/leafnote_en.zip"));
  EXPECT_EQ(WebPageAddress(WebPage::Forum, WebEdition::English), Site(L"/forum/"));
}

TEST(WebPages, RussianEdition_HasItsOwnPagesAndTheCommunityForum) {
  EXPECT_EQ(WebPageAddress(WebPage::Home, WebEdition::Russian), Site(L"/"));
  EXPECT_EQ(WebPageAddress(WebPage::Leafnote, WebEdition::Russian), Site(L"/Rus/features.htm"));
  EXPECT_EQ(WebPageAddress(WebPage::Keymark, WebEdition::Russian), Site(L"/Rus/keymark.htm"));
  EXPECT_EQ(WebPageAddress(WebPage::Snipdrop, WebEdition::Russian), Site(L"/Rus/snipdrop.htm"));
  EXPECT_EQ(WebPageAddress(WebPage::LeafnoteDownload, WebEdition::Russian), Site(L"/Source/leafnote_ru_pe.zip"));
  EXPECT_EQ(WebPageAddress(WebPage::Forum, WebEdition::Russian), L"https://" + std::wstring(ForumHost()) + L"/");
}

TEST(WebAddresses, EqualIgnoringCaseAndALeadingWww) {
  EXPECT_TRUE(SameWebAddress(L"https://www.a.example/Keymark.SHTML", L"HTTPS://WWW.A.EXAMPLE/keymark.shtml"));
  EXPECT_TRUE(SameWebAddress(L"https://www.a.example/x", L"https://a.example/x"));
  EXPECT_TRUE(SameWebAddress(L"http://a.example/x", L"http://WWW.a.example/x"));
  EXPECT_FALSE(SameWebAddress(L"http://a.example/x", L"https://a.example/x"));
  EXPECT_FALSE(SameWebAddress(L"https://a.example/x", L"https://a.example/x/"));
  EXPECT_FALSE(SameWebAddress(L"https://a.example/www.x", L"https://a.example/x"));
}

TEST(LinkRecognition, EnglishPagesAreKnown_WithOrWithoutWww) {
  EXPECT_EQ(ClassifyLink(Site(L"/keymark.shtml")), WebPage::Keymark);
  EXPECT_EQ(ClassifyLink(Site(L"/ABOUT.shtml")), WebPage::Leafnote);
  EXPECT_EQ(ClassifyLink(Site(L"/snipdrop.shtml")), WebPage::Snipdrop);
  EXPECT_EQ(ClassifyLink(Site(L"/Source/leafnote_en.zip")), WebPage::LeafnoteDownload);
  EXPECT_EQ(ClassifyLink(Site(L"/forum/")), WebPage::Forum);
  EXPECT_EQ(ClassifyLink(L"https://" + std::wstring(ForumHost()) + L"/"), WebPage::Forum);

  std::wstring host(WebSiteHost());
  if (host.compare(0, 4, L"www.") == 0) {
    EXPECT_EQ(ClassifyLink(L"https://" + host.substr(4) + L"/keymark.shtml"), WebPage::Keymark);
  } else {
    EXPECT_EQ(ClassifyLink(L"https://www." + host + L"/keymark.shtml"), WebPage::Keymark);
  }
}

TEST(LinkRecognition, OtherPagesAndRussianAddresses_AreUnknown) {
  EXPECT_EQ(ClassifyLink(Site(L"/")), std::nullopt);
  EXPECT_EQ(ClassifyLink(Site(L"/Rus/keymark.htm")), std::nullopt);
  EXPECT_EQ(ClassifyLink(Site(L"/Source/keymark.zip")), std::nullopt);
  EXPECT_EQ(ClassifyLink(Site(L"/support.shtml")), std::nullopt);
  EXPECT_EQ(ClassifyLink(L"https://elsewhere.example/keymark.shtml"), std::nullopt);
  EXPECT_EQ(ClassifyLink(L""), std::nullopt);
}

TEST(LinkTranslation, KnownLinks_FollowTheEdition) {
  EXPECT_EQ(TranslateLink(Site(L"/keymark.shtml"), WebEdition::Russian), Site(L"/Rus/keymark.htm"));
  EXPECT_EQ(TranslateLink(Site(L"/about.shtml"), WebEdition::Russian), Site(L"/Rus/features.htm"));
  EXPECT_EQ(TranslateLink(Site(L"/snipdrop.shtml"), WebEdition::Russian), Site(L"/Rus/snipdrop.htm"));
  EXPECT_EQ(TranslateLink(Site(L"/Source/leafnote_en.zip"), WebEdition::Russian), Site(L"/Source/leafnote_ru_pe.zip"));
  EXPECT_EQ(TranslateLink(Site(L"/forum/"), WebEdition::Russian), WebPageAddress(WebPage::Forum, WebEdition::Russian));
  // The community forum link, in an English edition, leads to the site's forum.
  EXPECT_EQ(TranslateLink(WebPageAddress(WebPage::Forum, WebEdition::Russian), WebEdition::English), Site(L"/forum/"));
  // A link written differently comes back in the table's spelling.
  EXPECT_EQ(TranslateLink(Site(L"/KEYMARK.shtml"), WebEdition::English), Site(L"/keymark.shtml"));
}

TEST(LinkTranslation, UnknownLinks_OpenUnchanged) {
  for (const std::wstring& link :
       {Site(L"/Source/Snipdrop.zip"), Site(L"/news/rss_ru.xml"), Site(L"/#howto_loc"),
        std::wstring(L"mailto:kestrow@orlinworks.example"), std::wstring(L"LINK_TO_LOG_FILE")}) {
    EXPECT_EQ(TranslateLink(link, WebEdition::Russian), link);
  }
}

// The links as the settings page writes them, with the default host.
TEST(LinkTranslation, SettingsPageLinks_AreRecognised) {
  if (WebSiteHost() != L"www.orlinworks.example") GTEST_SKIP() << "built with another host";
  EXPECT_EQ(ClassifyLink(L"https://www.orlinworks.example/forum/"), WebPage::Forum);
  EXPECT_EQ(ClassifyLink(L"https://www.orlinworks.example/about.shtml"), WebPage::Leafnote);
  EXPECT_EQ(ClassifyLink(L"https://www.orlinworks.example/keymark.shtml"), WebPage::Keymark);
  EXPECT_EQ(ClassifyLink(L"https://www.orlinworks.example/snipdrop.shtml"), WebPage::Snipdrop);
  EXPECT_EQ(ClassifyLink(L"https://www.orlinworks.example/Source/leafnote_en.zip"), WebPage::LeafnoteDownload);
}

TEST(OpenableAddresses, WebAndMailAddresses_AreAccepted) {
  for (const wchar_t* address : {L"https://www.orlinworks.example/", L"HTTP://a.example/x?y=1&z=%20",
                                 L"mailto:kestrow@orlinworks.example", L"MailTo:a@b.example?subject=Hi"}) {
    EXPECT_TRUE(IsOpenableWebAddress(address)) << address;
  }
}

TEST(OpenableAddresses, EverythingElse_IsRefused) {
  for (const wchar_t* address :
       {L"", L"https://", L"mailto:", L"C:\\Windows\\System32\\calc.exe", L"calc",
        L"file:///C:/Windows/System32/calc.exe", L"\\\\server\\share\\setup.exe", L"javascript:alert(1)",
        L"ms-settings:", L"ftp://a.example/", L" https://a.example/", L"https://a.example/ x", L"https://a.example/\"x",
        L"https://a.example/\tx", L"https://a.example/\nx", L"httpsx://a.example/", L"LINK_TO_LOG_FILE"}) {
    EXPECT_FALSE(IsOpenableWebAddress(address)) << address;
  }
}

}  // namespace
}  // namespace ks
