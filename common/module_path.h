// Where the running executable lies: every file of ours is named from there.
#pragma once

#include <string>

namespace ks {

// Full path of the running executable, read into a MAX_PATH (260) buffer. A
// longer path comes back cut, at most 260 characters (259 on systems that
// terminate a cut result); the names built from it then point at files that
// do not exist, so reads find nothing and writes fail. A failed query gives "".
std::wstring ModulePath();

// Directory of ModulePath() with a trailing "\".
std::wstring ModuleDirectory();

// Directory of ModulePath() with every trailing "\" removed (a root gives "C:").
std::wstring ModuleDirectoryWithoutSeparator();

}  // namespace ks
