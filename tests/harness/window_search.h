// Finding the windows and message boxes that programs under test open, and
// answering message boxes as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ks::test {

// The first top-level window with this class (and title, when not null),
// waiting up to timeoutMs while pumping this thread's messages.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs);

// The visible top-level windows of the process with this class, in Z-order.
std::vector<HWND> VisibleWindowsOf(DWORD processId, const wchar_t* className);

// The first visible top-level window of the process with this class that
// accept (when given) takes, waiting up to timeoutMs while pumping this
// thread's messages; null when none appeared.
HWND WaitForWindowOf(DWORD processId, const wchar_t* className, DWORD timeoutMs,
                     const std::function<bool(HWND)>& accept = {});

// A message box (dialog class "#32770") shown by the process, or null.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);

std::wstring WindowText(HWND window);

// The text of a message box: the static control that holds its message.
std::wstring MessageBoxText(HWND box);

// Presses a message box button (IDOK, IDYES, IDNO, IDCANCEL, ...).
bool AnswerMessageBox(HWND box, int buttonId);

}  // namespace ks::test
