#include "common/paths.h"

namespace ks {

namespace {

constexpr wchar_t kSeparator = L'\\';

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

PathParts SplitPath(std::wstring_view path) {
  PathParts parts;
  // The CRT splitter takes the first two characters as the drive whenever the
  // second one is a colon.
  if (path.size() >= 2 && path[1] == L':') {
    parts.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }

  size_t nameStart = 0;
  for (size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) {
      nameStart = i;
      break;
    }
  }
  parts.dir = path.substr(0, nameStart);

  const std::wstring_view rest = path.substr(nameStart);
  const size_t dot = rest.rfind(L'.');
  if (dot == std::wstring_view::npos) {
    parts.name = rest;
  } else {
    parts.name = rest.substr(0, dot);
    parts.ext = rest.substr(dot);
  }
  return parts;
}

std::wstring DirectoryOf(std::wstring_view path, TrailingSeparator form) {
  const PathParts parts = SplitPath(path);
  std::wstring dir = parts.drive + parts.dir;
  if (dir.empty()) return dir;
  if (form == TrailingSeparator::With) {
    if (dir.back() != kSeparator) dir.push_back(kSeparator);
  } else {
    if (dir.back() == kSeparator) dir.pop_back();
  }
  return dir;
}

std::wstring FileNameOf(std::wstring_view path) {
  const PathParts parts = SplitPath(path);
  return parts.name + parts.ext;
}

std::wstring StripTrailingSeparators(std::wstring path) {
  while (!path.empty() && path.back() == kSeparator) path.pop_back();
  return path;
}

bool IsBareFileName(std::wstring_view name) {
  return !name.empty() && name.find_first_of(L"\\/:") == std::wstring_view::npos &&
         name.find(L"..") == std::wstring_view::npos;
}

}  // namespace ks
