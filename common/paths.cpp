#include "common/paths.h"

namespace ks {

namespace {

constexpr wchar_t kSeparator = L'\\';

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

bool EqualsLowerAscii(std::wstring_view text, std::wstring_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (LowerAscii(text[i]) != lower[i]) return false;
  }
  return true;
}

// Windows opens a device for these names in any folder, whatever extension
// follows and with blanks before it: "NUL", "con.css", "COM1 .png". Reading
// one can block for good (a console, a serial port).
bool IsDeviceName(std::wstring_view name) {
  std::wstring_view base = name.substr(0, name.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  for (const wchar_t* device : {L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$", L"clock$"}) {
    if (EqualsLowerAscii(base, device)) return true;
  }
  if (base.size() != 4) return false;
  const std::wstring_view kind = base.substr(0, 3);
  if (!EqualsLowerAscii(kind, L"com") && !EqualsLowerAscii(kind, L"lpt")) return false;
  // Digits 0 to 9 and the superscripts 1, 2 and 3, which Windows takes too.
  const wchar_t n = base[3];
  return (n >= L'0' && n <= L'9') || n == 0x00B9 || n == 0x00B2 || n == 0x00B3;
}

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
  if (name.empty() || name.find(L"..") != std::wstring_view::npos) return false;
  // Windows drops trailing dots and blanks, so such a name opens another file.
  if (name.back() == L'.' || name.back() == L' ') return false;
  for (const wchar_t c : name) {
    if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  }
  return !IsDeviceName(name);
}

}  // namespace ks
