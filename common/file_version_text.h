// Display texts of a version resource: the names of its file types and
// operating systems, and the short form of a version text. Pure, no Windows
// headers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ks {

// "Application", "Printer driver", ...; empty for a value outside the table.
std::wstring_view FileTypeText(uint32_t fileType, uint32_t fileSubtype);

// "Win32 API on Windows NT", ...; empty for a value outside the table.
std::wstring_view FileOsText(uint32_t fileOs);

// Every "," becomes "." and every blank goes: "1, 7, 0, 121" gives
// "1.7.0.121".
std::wstring ShortVersionText(std::wstring_view versionText);

}  // namespace ks
