// The texts a menu item tooltip shows, derived from the item's own text and
// from the string the text provider gives. No Windows headers: these rules are
// checked natively as well.
#pragma once

#include <cstddef>
#include <string>

namespace ks {

// Longest title shown whole; longer ones end in an ellipsis after this many.
constexpr std::size_t kMaxTooltipTitle = 97;

// The title for a menu item text: mnemonic "&" marks removed, and a shortcut
// after the first tab shown in brackets ("Open\tCtrl+O" -> "Open\t[Ctrl+O]").
std::wstring TooltipTitleFromMenuText(const std::wstring& menuText);

// A title of more than kMaxTooltipTitle characters cut to that many plus "…".
std::wstring ShortenTooltipTitle(const std::wstring& title);

// A body string up to its first line break. A line break at the very start
// keeps the string whole, so such a string is not lost altogether.
std::wstring TooltipBodyFromString(const std::wstring& text);

}  // namespace ks
