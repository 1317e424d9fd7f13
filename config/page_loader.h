// What the settings page is made of: the page itself, its style sheet and
// its images from the program's resources, and localisation style sheets from
// the program directory.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace ks {

// The resource's bytes as stored in the running executable; empty when it is
// missing or empty.
std::string_view ResourceBytes(UINT id, const wchar_t* type);

// The page bytes ready to load for the current language prefix; empty when
// the page resource is missing or empty.
std::string LoadPreparedPage();

// The resource id of type "RT_GIF" that answers an image name of the page
// (letter case counts), or none.
std::optional<UINT> ImageResourceId(std::wstring_view name);

// A whole file read for the renderer: the bytes up to the first zero byte;
// empty when the file cannot be opened, is empty or cannot be read whole.
std::string ReadWholeFile(const std::wstring& path);

// Answers one load-data request of the page with HTMLayoutDataReady, or
// leaves it unanswered so that the page goes on without it.
void ServePageRequest(HWND window, const wchar_t* uri);

}  // namespace ks
