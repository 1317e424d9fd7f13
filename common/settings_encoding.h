// The encoding of settings.ini. The profile functions keep a file in the
// encoding it has: a file that starts with a UTF-16LE byte-order mark is read
// and written in Unicode, any other in the ANSI code page, where a character
// that page lacks is saved as "?" and the setting is lost.
#pragma once

#include <string>

namespace ks {

// Makes the file able to hold the text before it is written: the section,
// key and value of a write, since a program's name is a key. A file
// that does not exist yet is created holding only the byte-order mark, so
// every file Kestrow makes is Unicode. An existing ANSI file is left
// byte-for-byte as it is unless the text has a character its code page
// cannot hold; then it is converted whole (every key, comment and line
// order kept) and replaced in one step. False when a needed conversion or
// creation failed: the file is then as it was.
bool PrepareSettingsFileFor(const std::wstring& path, const std::wstring& text);

}  // namespace ks
