// The standard Open dialog on programs, as the page's lists use it to add a
// program.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace ks {

// The chosen file's full path; nothing when the user cancelled.
std::optional<std::wstring> ChooseProgram(HWND owner);

}  // namespace ks
