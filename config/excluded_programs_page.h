// The page's group of programs Kestrow leaves alone: one row per listed
// program with its "remove" link, and the link that adds a program chosen in
// the standard Open dialog. The rows are the page's copy of the list until OK
// takes it over.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "render/htmlayout_api.h"

namespace ks {

// One row per program, in order; any earlier message goes.
void ShowProgramRows(HWND window, const std::vector<std::wstring>& programs);

// The programs of the rows; false (and programs untouched) when the page has
// no list.
bool ReadProgramRows(HWND window, std::vector<std::wstring>& programs);

// A click on the group's links ("ADD_PROGRAM", "REMOVE_PROGRAM"); false for
// any other link. Posts the page-changed message when the rows changed.
bool OnProgramLink(HWND window, HLELEMENT link, const std::wstring& href);

}  // namespace ks
