#include "config/page_prefix.h"

#include <array>

#include "render/text_utf8.h"

namespace ks {
namespace {

constexpr char16_t kHtmlTag[] = u"<html>";
constexpr std::array<std::u16string_view, 7> kDownloadLanguages = {u"ru", u"de", u"uk", u"fr", u"pl", u"pt", u"sp"};

char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

std::u16string Lowered(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = AsciiLower(c);
  return out;
}

// First occurrence of needle, letters compared without regard to case.
std::size_t FindIgnoringCase(std::u16string_view haystack, std::u16string_view needle) {
  if (needle.empty() || needle.size() > haystack.size()) return std::u16string_view::npos;
  for (std::size_t at = 0; at + needle.size() <= haystack.size(); ++at) {
    std::size_t i = 0;
    while (i < needle.size() && AsciiLower(haystack[at + i]) == AsciiLower(needle[i])) ++i;
    if (i == needle.size()) return at;
  }
  return std::u16string_view::npos;
}

void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
  if (from.empty()) return;
  for (std::size_t at = text.find(from); at != std::u16string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

bool IsUsablePagePrefix(std::u16string_view prefix) {
  if (prefix.empty() || prefix.size() > 8) return false;
  for (const char16_t c : prefix) {
    const bool usable =
        (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
    if (!usable) return false;
  }
  return true;
}

std::u16string LocalizationSheetName(std::u16string_view prefix) {
  return u"localize_" + std::u16string(prefix) + u".css";
}

std::string PreparePageText(std::string_view page, std::u16string_view prefix, std::u16string_view siteAddress) {
  if (!IsUsablePagePrefix(prefix)) return std::string(page);
  std::u16string text = render::Utf8ToUtf16(page);
  if (text.empty()) return std::string(page);

  // The sheet import. Found ignoring case, but only the placeholder as the
  // page writes it is replaced.
  if (FindIgnoringCase(text, kLocalizeImport) != std::u16string::npos) {
    std::u16string statement = kLocalizeImport;
    const std::u16string_view placeholder = kLocalizePlaceholder;
    statement.replace(statement.find(placeholder), placeholder.size(), LocalizationSheetName(prefix));
    ReplaceAll(text, kLocalizeImport, statement);
  }

  // Without a root tag to carry the language the page is left as stored,
  // the import included, so a half-localised page never shows.
  const std::size_t html = FindIgnoringCase(text, kHtmlTag);
  if (html == std::u16string::npos) return std::string(page);
  const std::u16string lower = Lowered(prefix);
  text.replace(html, std::char_traits<char16_t>::length(kHtmlTag), u"<html lang=\"" + lower + u"\">");

  for (const std::u16string_view code : kDownloadLanguages) {
    if (lower != code) continue;
    const std::u16string site(siteAddress);
    ReplaceAll(text, site + u"/Source/leafnote_en.zip", site + u"/Source/leafnote_" + lower + u".zip");
    break;
  }
  return render::Utf16ToUtf8(text);
}

}  // namespace ks
