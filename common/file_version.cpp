#include "common/file_version.h"

#include <windows.h>
#include <winver.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "common/file_version_text.h"

namespace ks {

namespace {

// Wide enough for long module paths; longer ones come back cut and fail.
constexpr DWORD kModuleNameChars = 1300;

static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "the fixed block is copied whole");

struct Translation {
  WORD languageId;
  WORD codePage;
};

std::wstring Number(unsigned value) { return std::to_wstring(value); }

// Four lower-case hex digits, as the string table blocks are named ("041904b0").
std::wstring Hex4(WORD value) {
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring hex(4, L'0');
  for (int i = 3; i >= 0; --i, value = static_cast<WORD>(value >> 4)) {
    hex[static_cast<size_t>(i)] = kDigits[value & 0xF];
  }
  return hex;
}

// The text of one string of the table of the first translation; empty when
// the resource lacks it.
std::wstring QueryString(const std::vector<BYTE>& block, const FileVersion& version, const wchar_t* name) {
  const std::wstring query = L"\\StringFileInfo\\" + Hex4(version.languageId) + Hex4(version.codePage) + L"\\" + name;
  void* text = nullptr;
  UINT chars = 0;
  if (!VerQueryValueW(block.data(), query.c_str(), &text, &chars) || text == nullptr) return std::wstring();
  const auto* begin = static_cast<const wchar_t*>(text);
  return std::wstring(begin, wcsnlen(begin, chars));
}

bool ReadInto(const std::wstring& path, FileVersion& version) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return false;

  void* fixed = nullptr;
  UINT fixedBytes = 0;
  if (!VerQueryValueW(block.data(), L"\\", &fixed, &fixedBytes) || fixed == nullptr ||
      fixedBytes < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  std::memcpy(&version.fixedInfo, fixed, sizeof(VS_FIXEDFILEINFO));
  const VS_FIXEDFILEINFO& info = version.fixedInfo;
  version.majorVersion = Number(HIWORD(info.dwFileVersionMS));
  version.minorVersion = Number(LOWORD(info.dwFileVersionMS));
  version.fileVersionNumber = version.majorVersion + L"." + version.minorVersion + L"." +
                              Number(HIWORD(info.dwFileVersionLS)) + L"." + Number(LOWORD(info.dwFileVersionLS));
  version.fileType = FileTypeText(info.dwFileType, info.dwFileSubtype);
  version.operatingSystem = FileOsText(info.dwFileOS);

  void* translation = nullptr;
  UINT translationBytes = 0;
  if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translation, &translationBytes) &&
      translation != nullptr && translationBytes >= sizeof(Translation)) {
    Translation first;
    std::memcpy(&first, translation, sizeof(first));
    version.languageId = first.languageId;
    version.codePage = first.codePage;
  }

  version.companyName = QueryString(block, version, L"CompanyName");
  version.legalCopyright = QueryString(block, version, L"LegalCopyRight");
  version.productName = QueryString(block, version, L"ProductName");
  version.productVersionText = QueryString(block, version, L"ProductVersion");
  version.originalFileName = QueryString(block, version, L"OriginalFileName");
  version.fileDescription = QueryString(block, version, L"FileDescription");
  version.fileVersionText = QueryString(block, version, L"FileVersion");
  version.internalName = QueryString(block, version, L"InternalName");
  return true;
}

}  // namespace

bool ReadFileVersion(const std::wstring& path, FileVersion& version) {
  // Nothing of an earlier read may survive a failed one.
  version = FileVersion();
  version.path = path;
  if (ReadInto(path, version)) return true;
  version = FileVersion();
  version.path = path;
  return false;
}

bool ReadModuleVersion(HMODULE module, FileVersion& version) {
  wchar_t name[kModuleNameChars] = {};
  const DWORD copied = GetModuleFileNameW(module, name, kModuleNameChars);
  if (copied == 0 || copied >= kModuleNameChars) {
    version = FileVersion();
    return false;
  }
  return ReadFileVersion(std::wstring(name, copied), version);
}

bool SameFileVersion(const FileVersion& a, const FileVersion& b) {
  return a.fixedInfo.dwFileVersionMS == b.fixedInfo.dwFileVersionMS &&
         a.fixedInfo.dwFileVersionLS == b.fixedInfo.dwFileVersionLS;
}

std::wstring ShortProductVersion(const FileVersion& version) { return ShortVersionText(version.productVersionText); }

}  // namespace ks
