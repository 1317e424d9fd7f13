// The agent's one icon in the notification area: added, modified (with or
// without a balloon) and removed, always showing the current hook state and
// settings. Main thread only.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>

#include <string>

namespace ks {

enum class TrayOperation { Add, Modify };
enum class Balloon { No, Yes };

// Builds the icon record from the hook state and the settings and hands it to
// the shell; nonzero when the shell took it. The extra line is added to the
// balloon text.
BOOL UpdateTrayIcon(TrayOperation operation, Balloon balloon, const std::wstring& extraLine = {});

// Whether the last update showed the wheel paused by Scroll Lock.
bool TrayIconShowsPaused();

// Removes the icon; nonzero when the shell removed it.
BOOL RemoveTrayIcon();

// The size the shell is told: the record up to and including the item GUID
// (952 bytes on x86), which every shell since Windows Vista accepts with
// balloon titles and icons.
constexpr DWORD kTrayRecordSize = offsetof(NOTIFYICONDATAW, hBalloonIcon);

}  // namespace ks
