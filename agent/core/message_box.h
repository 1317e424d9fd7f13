// The agent's message boxes: a beep, then a box with the caption "Kestrow
// Agent" taken from the string table like every other text shown.
#pragma once

#include <windows.h>

#include <string>

namespace ks {

// MessageBeep(0xFFFFFFFF), then MessageBoxW with the owner, the text, caption
// string 2 and the box type. Returns the box's answer.
int ShowAgentMessageBox(HWND owner, const std::wstring& text, UINT type);

}  // namespace ks
