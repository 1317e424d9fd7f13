// What the settings page does: its check boxes filled from and read back into
// the settings, the changed marker in the title and the heading, the release
// line, the buttons and the links.
#pragma once

#include <windows.h>

#include <string>

#include "common/settings.h"
#include "render/htmlayout_api.h"

namespace ks {

constexpr wchar_t kAutorunBoxId[] = L"CHECKBOX_AUTORUN";

// The boxes of the settings record and the rows of its program list and its
// wheel rules, from the process-wide record.
void FillCheckBoxes(HWND window);
// Their state into the record's fields (1 on, 0 off) and the rows into its
// program list and its wheel rules.
void ReadCheckBoxes(HWND window, Settings& settings);

// CHECKBOX_AUTORUN on when the Run value names the agent beside us.
void RefreshAutorunBox(HWND window);

// True when the boxes differ from the stored settings or the Run value.
bool IsPageChanged(HWND window);

// Title "Kestrow Config <version>" and the page heading, each with the
// changed marker when the page differs. The version is read once into
// versionText; without it nothing changes.
void RefreshTitle(HWND window, std::wstring& versionText);

// The program's name, version and build stamp in front of the first
// "TEXT_COPY" block.
void ShowReleaseText(HWND window);

// The log file in the user's program for it; a box tells when it cannot.
void OpenLogFile(HWND window);

enum class PageAction {
  NotHandled,  // the renderer goes on with the event
  Handled,     // the renderer stops
  Save,        // OK: end the dialog and keep the page's values
  Discard,     // Cancel: end the dialog without them
};

// The page's behaviour events: buttons, check box changes (posting the
// page-changed message) and link clicks.
PageAction OnBehaviorEvent(HWND window, const HLBehaviorParams& event);

}  // namespace ks
