// The key under which a menu item text is kept in a language file: readable,
// free of blanks, ellipses and accelerator marks, so translators can edit the
// file by hand.
#pragma once

#include <string>

namespace ks {

// Upper-cases a text in place, as the system does for the user's texts.
using UpperCaseFunction = void (*)(std::wstring& text);

// Drops every "…", turns blanks into "_", upper-cases the text and drops every
// "&". When that differs from the text only in letter case of A to Z, the text
// itself is the key, in its own case ("Exit" stays "Exit"); otherwise the
// changed text is ("Settings…" becomes "SETTINGS").
std::wstring MenuTextKey(const std::wstring& text, UpperCaseFunction upperCase);

}  // namespace ks
