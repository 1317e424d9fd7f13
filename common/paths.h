// Splitting paths into drive, directory, name and extension, and the directory
// and file-name forms built from those parts. Pure string work, no Windows
// headers, so it builds and tests anywhere.
#pragma once

#include <string>
#include <string_view>

namespace ks {

// The four parts the CRT splitter (_wsplitpath) gives, without its fixed
// buffer limits: drive ("C:"), directory up to and including the last "\" or
// "/", file name, and extension from the last "." of the name on.
struct PathParts {
  std::wstring drive;
  std::wstring dir;
  std::wstring name;
  std::wstring ext;
};

PathParts SplitPath(std::wstring_view path);

enum class TrailingSeparator { With, Without };

// Drive and directory joined. With: one "\" is appended unless the result is
// empty or already ends with "\". Without: one trailing "\" is removed, so a
// drive root gives "C:\" and "C:". A bare file name has no directory: "".
std::wstring DirectoryOf(std::wstring_view path, TrailingSeparator form);

// Name and extension joined: the bare file name of a full path.
std::wstring FileNameOf(std::wstring_view path);

// Removes every trailing "\" (not just one).
std::wstring StripTrailingSeparators(std::wstring path);

// True when name names a file inside whatever folder it is looked for in: not
// empty, and no "\" or "/" (so no "\\?\" or "\\.\" forms either), no ":" (a
// drive or a stream), no "..", no wildcard or control character, no trailing
// "." or blank, and not a device name (CON, PRN, AUX, NUL, COM0-9, LPT0-9 in
// any letter case, with any extension).
bool IsBareFileName(std::wstring_view name);

}  // namespace ks
