#include "common/file_version_text.h"

#include <array>

namespace ks {

namespace {

// Values of the Windows version resource, spelled out so this file needs no
// Windows headers: the file types VFT_*; the subtypes VFT2_* index the arrays
// below; the systems VOS_* fill the table.
constexpr uint32_t kTypeUnknown = 0;
constexpr uint32_t kTypeApp = 1;
constexpr uint32_t kTypeDll = 2;
constexpr uint32_t kTypeDriver = 3;
constexpr uint32_t kTypeFont = 4;
constexpr uint32_t kTypeVirtualDevice = 5;
constexpr uint32_t kTypeStaticLib = 7;

constexpr std::array<std::wstring_view, 10> kDriverTexts = {
    L"Unknown driver", L"Printer driver", L"Keyboard driver", L"Language driver",    L"Display driver",
    L"Mouse driver",   L"Network driver", L"System driver",   L"Installable driver", L"Sound driver"};

constexpr std::array<std::wstring_view, 4> kFontTexts = {L"Unknown font", L"Raster font", L"Vector font",
                                                         L"Truetype font"};

struct OsText {
  uint32_t os;
  std::wstring_view text;
};

constexpr std::array<OsText, 9> kOsTexts = {{
    {0x00000, L"Unknown OS"},
    {0x10000, L"MS-DOS"},
    {0x10001, L"16-bit windows running on MS-DOS"},
    {0x10004, L"Win32 API running on MS-DOS"},
    {0x20000, L"16-bit OS/2"},
    {0x20002, L"16-bit Presentation manager running on 16-bit OS/2"},
    {0x30000, L"32-bit OS/2"},
    {0x40000, L"Windows NT"},
    {0x40004, L"Win32 API on Windows NT"},
}};

}  // namespace

std::wstring_view FileTypeText(uint32_t fileType, uint32_t fileSubtype) {
  switch (fileType) {
    case kTypeUnknown: return L"Unknown type";
    case kTypeApp: return L"Application";
    case kTypeDll: return L"Dynamic link library";
    case kTypeDriver: return fileSubtype < kDriverTexts.size() ? kDriverTexts[fileSubtype] : L"";
    case kTypeFont: return fileSubtype < kFontTexts.size() ? kFontTexts[fileSubtype] : L"";
    case kTypeVirtualDevice: return L"Virtual device";
    case kTypeStaticLib: return L"Static link library";
    default: return L"";
  }
}

std::wstring_view FileOsText(uint32_t fileOs) {
  for (const OsText& entry : kOsTexts) {
    if (entry.os == fileOs) return entry.text;
  }
  return L"";
}

std::wstring ShortVersionText(std::wstring_view versionText) {
  std::wstring shortText;
  shortText.reserve(versionText.size());
  for (const wchar_t c : versionText) {
    if (c == L',') {
      shortText += L'.';
    } else if (c != L' ') {
      shortText += c;
    }
  }
  return shortText;
}

}  // namespace ks
