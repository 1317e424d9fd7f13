// Whether a path names an existing file (not a directory), asked without ever
// letting the system show a "no disk" box.
#pragma once

#include <string>

namespace ks {

// True for an existing file, and for one whose attributes are refused with
// access denied (it is there, only locked away); false for a directory, a
// missing path or any other failure.
bool FileExists(const std::wstring& path);

namespace detail {

// What PathFileExistsW, looked up at run time, said about a path.
enum class PathProbe { Exists, Missing, Unavailable };

PathProbe ProbePathFileExists(const std::wstring& path);

// The answer once the probe is known; split out so the fallback for a system
// without "shlwapi.dll" can be exercised.
bool FileExistsAfterProbe(const std::wstring& path, PathProbe probe);

}  // namespace detail

}  // namespace ks
