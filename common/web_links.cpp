#include "common/web_links.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "common/ascii.h"

#ifndef KESTROW_WEB_HOST
#error "KESTROW_WEB_HOST must name the product web site's host"
#endif
#ifndef KESTROW_FORUM_HOST
#error "KESTROW_FORUM_HOST must name the community forum's host"
#endif

namespace ks {

namespace {

constexpr wchar_t kWebHost[] = L"" KESTROW_WEB_HOST;
constexpr wchar_t kForumHost[] = L"" KESTROW_FORUM_HOST;
constexpr std::wstring_view kHttps = L"https://";

struct PagePaths {
  WebPage page;
  std::wstring_view english;
  std::wstring_view russian;
};

// Paths on the product site. The Russian forum is the one page elsewhere: the
// root of the community host, handled in WebPageAddress.
constexpr std::array<PagePaths, 6> kPages = {{
    {WebPage::Home, L"/", L"/"},
    {WebPage::Leafnote, L"/about.shtml", L"/Rus/features.htm"},
    {WebPage::Keymark, L"/keymark.shtml", L"/Rus/keymark.htm"},
    {WebPage::Snipdrop, L"/snipdrop.shtml", L"/Rus/snipdrop.htm"},
    {WebPage::LeafnoteDownload, L"/Source/leafnote_en.zip", L"/Source/leafnote_ru_pe.zip"},
    {WebPage::Forum, L"/forum/", L"/"},
}};

// Recognition order of clicked links; the forum is tested first.
constexpr std::array<WebPage, 4> kRecognisedAfterForum = {WebPage::Keymark, WebPage::Leafnote, WebPage::Snipdrop,
                                                          WebPage::LeafnoteDownload};

// Drops "www." right after an http or https scheme, so links written either
// way meet.
std::wstring_view WithoutWww(std::wstring_view address, std::wstring& scratch) {
  for (const std::wstring_view scheme : {std::wstring_view(L"http://"), kHttps}) {
    if (StartsWithIgnoringAsciiCase(address, scheme) &&
        StartsWithIgnoringAsciiCase(address.substr(scheme.size()), L"www.")) {
      scratch.assign(address.substr(0, scheme.size()));
      scratch.append(address.substr(scheme.size() + 4));
      return scratch;
    }
  }
  return address;
}

const PagePaths& PathsOf(WebPage page) {
  return *std::find_if(kPages.begin(), kPages.end(), [page](const PagePaths& paths) { return paths.page == page; });
}

std::wstring ForumHostAddress() {
  std::wstring address(kHttps);
  address += kForumHost;
  address += L'/';
  return address;
}

}  // namespace

std::wstring_view WebSiteHost() { return kWebHost; }

std::wstring_view ForumHost() { return kForumHost; }

std::wstring WebSiteAddress(std::wstring_view path) {
  std::wstring address(kHttps);
  address += kWebHost;
  address += path;
  return address;
}

WebEdition EditionForPrefix(std::wstring_view languagePrefix) {
  for (const std::wstring_view russian : {L"Ru", L"Uk", L"Be"}) {
    if (EqualIgnoringAsciiCase(languagePrefix, russian)) return WebEdition::Russian;
  }
  return WebEdition::English;
}

std::wstring WebPageAddress(WebPage page, WebEdition edition) {
  if (page == WebPage::Forum && edition == WebEdition::Russian) return ForumHostAddress();
  const PagePaths& paths = PathsOf(page);
  return WebSiteAddress(edition == WebEdition::Russian ? paths.russian : paths.english);
}

bool SameWebAddress(std::wstring_view a, std::wstring_view b) {
  if (EqualIgnoringAsciiCase(a, b)) return true;
  std::wstring scratchA;
  std::wstring scratchB;
  return EqualIgnoringAsciiCase(WithoutWww(a, scratchA), WithoutWww(b, scratchB));
}

std::optional<WebPage> ClassifyLink(std::wstring_view address) {
  if (SameWebAddress(address, WebPageAddress(WebPage::Forum, WebEdition::English)) ||
      SameWebAddress(address, ForumHostAddress())) {
    return WebPage::Forum;
  }
  for (const WebPage page : kRecognisedAfterForum) {
    if (SameWebAddress(address, WebPageAddress(page, WebEdition::English))) return page;
  }
  return std::nullopt;
}

std::wstring TranslateLink(std::wstring_view address, WebEdition edition) {
  const std::optional<WebPage> page = ClassifyLink(address);
  return page ? WebPageAddress(*page, edition) : std::wstring(address);
}

bool IsOpenableWebAddress(std::wstring_view address) {
  std::size_t schemeLength = 0;
  for (const std::wstring_view scheme : {std::wstring_view(L"http://"), kHttps, std::wstring_view(L"mailto:")}) {
    if (StartsWithIgnoringAsciiCase(address, scheme)) schemeLength = scheme.size();
  }
  if (schemeLength == 0 || address.size() == schemeLength) return false;
  return std::none_of(address.begin(), address.end(), [](wchar_t c) { return c <= L' ' || c == L'"' || c == 0x7F; });
}

}  // namespace ks
