// The list of programs Kestrow leaves alone, as the settings file holds it:
// program file names separated by ";". Portable, so it is tested natively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ks {

constexpr size_t kMaxListedPrograms = 32;
// Of the joined text, separators included.
constexpr size_t kMaxProgramListText = 1023;
constexpr size_t kMaxProgramName = 259;
constexpr wchar_t kProgramSeparator = L';';

// A file name a program can have: not empty, at most kMaxProgramName
// characters, no folder, no separator of the list and nothing Windows refuses
// in a file name. Blanks around it are not part of it.
bool IsProgramName(std::wstring_view name);

// The name without the blanks around it.
std::wstring_view TrimProgramName(std::wstring_view name);

// The last part of a path: what follows its last "\" or "/".
std::wstring_view FileNameOfPath(std::wstring_view path);

// Whether two names are the same program: letter case does not count.
bool SameProgram(std::wstring_view a, std::wstring_view b);

// The names in force from any list of candidates: trimmed, in order, invalid
// ones and repeats dropped, stopping before the first that would pass
// kMaxListedPrograms names or kMaxProgramListText characters.
std::vector<std::wstring> ProgramsInForce(const std::vector<std::wstring>& candidates);

// The text of the settings file read back: ProgramsInForce of its parts.
std::vector<std::wstring> ParseProgramList(std::wstring_view text);

// The names joined by ";", as written to the settings file.
std::wstring JoinProgramList(const std::vector<std::wstring>& programs);

// The same programs, in any order.
bool SameProgramList(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b);

enum class AddProgramResult { Added, AlreadyListed, ListFull, NotAProgramName };

// Appends the name (trimmed) unless it is listed already, is no program name,
// or the list would pass its limits.
AddProgramResult AddProgram(std::vector<std::wstring>& programs, std::wstring_view name);

// Removes the program; false when it was not listed.
bool RemoveProgram(std::vector<std::wstring>& programs, std::wstring_view name);

}  // namespace ks
