#include "common/program_list.h"

#include <algorithm>

namespace ks {
namespace {

// Letter case as file names see it, for the scripts program names are written
// in: Latin (with Latin-1), Greek and Cyrillic.
wchar_t FoldCase(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<wchar_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<wchar_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
  return c;
}

bool ForbiddenInFileName(wchar_t c) {
  return c < 0x20 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'/' || c == L'\\' || c == L'|' ||
         c == L'?' || c == L'*' || c == kProgramSeparator;
}

size_t JoinedLength(const std::vector<std::wstring>& programs) {
  size_t length = 0;
  for (const std::wstring& p : programs) length += p.size();
  return length + (programs.empty() ? 0 : programs.size() - 1);
}

bool Listed(const std::vector<std::wstring>& programs, std::wstring_view name) {
  return std::any_of(programs.begin(), programs.end(), [&](const std::wstring& p) { return SameProgram(p, name); });
}

bool FitsBeside(const std::vector<std::wstring>& programs, std::wstring_view name) {
  if (programs.size() >= kMaxListedPrograms) return false;
  const size_t added = name.size() + (programs.empty() ? 0 : 1);
  return JoinedLength(programs) + added <= kMaxProgramListText;
}

}  // namespace

std::wstring_view TrimProgramName(std::wstring_view name) {
  const size_t first = name.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  const size_t last = name.find_last_not_of(L" \t");
  return name.substr(first, last - first + 1);
}

bool IsProgramName(std::wstring_view name) {
  if (name.empty() || name.size() > kMaxProgramName) return false;
  if (TrimProgramName(name).size() != name.size()) return false;
  // Windows drops trailing dots, so "." and ".." name folders, never files.
  if (name.back() == L'.') return false;
  return std::none_of(name.begin(), name.end(), ForbiddenInFileName);
}

std::wstring_view FileNameOfPath(std::wstring_view path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

bool SameProgram(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

std::vector<std::wstring> ProgramsInForce(const std::vector<std::wstring>& candidates) {
  std::vector<std::wstring> programs;
  for (const std::wstring& candidate : candidates) {
    const std::wstring_view name = TrimProgramName(candidate);
    if (!IsProgramName(name) || Listed(programs, name)) continue;
    if (!FitsBeside(programs, name)) break;
    programs.emplace_back(name);
  }
  return programs;
}

std::vector<std::wstring> ParseProgramList(std::wstring_view text) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(kProgramSeparator, start);
    if (end == std::wstring_view::npos) end = text.size();
    parts.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return ProgramsInForce(parts);
}

std::wstring JoinProgramList(const std::vector<std::wstring>& programs) {
  std::wstring text;
  for (const std::wstring& p : programs) {
    if (!text.empty()) text += kProgramSeparator;
    text += p;
  }
  return text;
}

bool SameProgramList(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b) {
  if (a.size() != b.size()) return false;
  return std::all_of(a.begin(), a.end(), [&](const std::wstring& p) { return Listed(b, p); }) &&
         std::all_of(b.begin(), b.end(), [&](const std::wstring& p) { return Listed(a, p); });
}

AddProgramResult AddProgram(std::vector<std::wstring>& programs, std::wstring_view name) {
  const std::wstring_view trimmed = TrimProgramName(name);
  if (!IsProgramName(trimmed)) return AddProgramResult::NotAProgramName;
  if (Listed(programs, trimmed)) return AddProgramResult::AlreadyListed;
  if (!FitsBeside(programs, trimmed)) return AddProgramResult::ListFull;
  programs.emplace_back(trimmed);
  return AddProgramResult::Added;
}

bool RemoveProgram(std::vector<std::wstring>& programs, std::wstring_view name) {
  const auto it =
      std::find_if(programs.begin(), programs.end(), [&](const std::wstring& p) { return SameProgram(p, name); });
  if (it == programs.end()) return false;
  programs.erase(it);
  return true;
}

}  // namespace ks
