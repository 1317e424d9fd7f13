// Pieces of HTML the program writes into the settings page: escaped text,
// texts the page keeps hidden for the program to copy, and content replaced
// in place. Shared by the page's lists (programs left alone, wheel rules).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ks {

// Text made safe inside an element or a quoted attribute value.
std::wstring EscapeHtml(std::wstring_view text);

// The text of the page element with this id, which the page keeps hidden for
// the program to copy so that it is translated with the rest; the fallback
// when the page lacks it.
std::wstring PageText(HWND window, const wchar_t* id, const wchar_t* fallback);

// The text in a span with its locid, so the page's localisation sheet
// reaches the copy.
std::wstring LocalizedSpan(const wchar_t* locid, const std::wstring& text);

// Measured again at once unless a later change in the same step is: each
// measuring lays the whole page out.
enum class Measure { Now, Later };

// The content of the element with this id replaced by the HTML (at most
// 4 MiB of UTF-8, room for any rows of the lists); nothing when the page
// lacks the element.
void ReplaceContent(HWND window, const wchar_t* id, const std::wstring& html, Measure measure = Measure::Now);

}  // namespace ks
