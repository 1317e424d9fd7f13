// The maker's web pages in their English and Russian editions, and the
// recognition of page links that should follow the user's language. Pure
// string work, no Windows headers, so it builds and tests anywhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ks {

enum class WebPage { Home, Leafnote, Keymark, Snipdrop, LeafnoteDownload, Forum };

enum class WebEdition { English, Russian };

// Host names chosen when the product is built (KESTROW_WEB_HOST and
// KESTROW_FORUM_HOST), such as "www.orlinworks.example".
std::wstring_view WebSiteHost();
std::wstring_view ForumHost();

// "https://" + the product site's host + path; path starts with "/".
std::wstring WebSiteAddress(std::wstring_view path);

// Russian for the prefixes "Ru", "Uk" and "Be" in any letter case; English for
// every other prefix, the empty one included.
WebEdition EditionForPrefix(std::wstring_view languagePrefix);

// Full address of a page in one edition.
std::wstring WebPageAddress(WebPage page, WebEdition edition);

// Equal ignoring ASCII letter case, also when one of them carries "www." right
// after "http://" or "https://" and the other does not.
bool SameWebAddress(std::wstring_view a, std::wstring_view b);

// Which known page a clicked address names, tested in a fixed order: the forum
// (the product site's or the community host's), Keymark, Leafnote, Snipdrop,
// the Leafnote download. Only English addresses are recognised, plus the
// community forum.
std::optional<WebPage> ClassifyLink(std::wstring_view address);

// A known page becomes its address in the given edition; anything else is
// returned unchanged.
std::wstring TranslateLink(std::wstring_view address, WebEdition edition);

// Whether an address may be handed to the shell: an http, https or mailto
// address (scheme in any letter case) with something after the scheme and no
// blank, control character or double quote anywhere. Everything else (file
// paths, programs, other protocols) could start a program instead of a page.
bool IsOpenableWebAddress(std::wstring_view address);

}  // namespace ks
