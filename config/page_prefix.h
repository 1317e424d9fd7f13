// The settings page made ready for the user's language prefix: the
// localisation style sheet it imports, the lang attribute of its root and the
// language of the Leafnote download. Pure text work on the page bytes, no
// Windows headers, so it builds and is tested anywhere.
#pragma once

#include <string>
#include <string_view>

namespace ks {

// The import statement the page carries until a prefix names a sheet.
constexpr char16_t kLocalizeImport[] = u"@import url(\"?LOCALIZE_CSS_URL?\");";
constexpr char16_t kLocalizePlaceholder[] = u"?LOCALIZE_CSS_URL?";

// A prefix that can go into a file name and an attribute value as it is:
// 1 to 8 characters, each an ASCII letter, digit, "-" or "_". Anything else
// (quotes, brackets, path separators) could break out of the page's text.
bool IsUsablePagePrefix(std::u16string_view prefix);

// "localize_" + prefix + ".css", the prefix's letter case kept.
std::u16string LocalizationSheetName(std::u16string_view prefix);

// The page bytes (UTF-8, byte-order mark carried through) to load for the
// prefix. siteAddress is the product site's scheme and host without a
// trailing "/", as the page writes its download links
// ("https://www.orlinworks.example").
//
// An empty or unusable prefix, a page that decodes to no text, or a page
// without "<html>" (any letter case) comes back unchanged. Otherwise the
// placeholder import names the prefix's sheet, the first "<html>" becomes
// <html lang="prefix in lower case">, and for a prefix in the download table
// ("ru", "de", "uk", "fr", "pl", "pt", "sp", any letter case) every English
// Leafnote download address becomes that language's.
std::string PreparePageText(std::string_view page, std::u16string_view prefix, std::u16string_view siteAddress);

}  // namespace ks
