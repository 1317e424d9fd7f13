#include "agent/tray/tray_icon.h"

#include "agent/core/agent_messages.h"
#include "agent/core/app_instance.h"
#include "agent/core/hook_controller.h"
#include "agent/core/resource_ids.h"
#include "agent/core/ui_text.h"
#include "agent/tray/scroll_lock_pause.h"
#include "agent/tray/tray_texts.h"
#include "common/file_version.h"
#include "common/module_path.h"
#include "common/settings.h"
#include "common/unique_handle.h"
#include "common/web_links.h"

namespace ks {
namespace {

static_assert(sizeof(void*) != 4 || kTrayRecordSize == 952, "x86 record size");

constexpr UINT kIconId = 1;
constexpr UINT kBalloonFlags = NIF_STATE | NIF_INFO;

bool shownPaused = false;

// The small-icon size the system asks for, which grows with its scale; a
// fixed 16 x 16 would be blown up blurred by the shell.
SIZE TrayIconSize() {
  const int width = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  return SIZE{width > 0 ? width : 16, height > 0 ? height : 16};
}

// Loaded once per size and kept: the shell copies the image, so the same
// handle serves every update until the system's size changes.
HICON StateIcon(bool hookInstalled) {
  struct Slot {
    UniqueIcon icon;
    SIZE size{};
  };
  static Slot on, off;
  Slot& slot = hookInstalled ? on : off;
  const SIZE size = TrayIconSize();
  if (!slot.icon || slot.size.cx != size.cx || slot.size.cy != size.cy) {
    const WORD id = hookInstalled ? IDI_AGENT_ON : IDI_AGENT_OFF;
    slot.icon.reset(static_cast<HICON>(
        LoadImageW(AppInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size.cx, size.cy, LR_LOADMAP3DCOLORS)));
    if (!slot.icon) slot.icon.reset(LoadIconW(AppInstance(), MAKEINTRESOURCEW(id)));
    slot.size = size;
  }
  return slot.icon.get();
}

TrayWords LoadTrayWords() {
  TrayWords words;
  words.caption = LoadAgentString(IDS_AGENT_CAPTION);
  words.stateOn = LoadAgentString(IDS_STATE_ON);
  words.stateOff = LoadAgentString(IDS_STATE_OFF);
  words.statePaused = LoadAgentString(IDS_STATE_PAUSED);
  words.scrollHorizontally = LoadAgentString(IDS_SCROLL_HORIZONTALLY);
  words.onLeftButton = LoadAgentString(IDS_ON_LEFT_BUTTON);
  words.onRightButton = LoadAgentString(IDS_ON_RIGHT_BUTTON);
  words.disabled = LoadAgentString(IDS_HSCROLL_DISABLED);
  words.keyPrefix = LoadAgentString(IDS_KEY_OPTION_PREFIX);
  return words;
}

std::wstring AgentShortVersion() {
  FileVersion version;
  return ReadFileVersion(ModulePath(), version) ? ShortProductVersion(version) : std::wstring();
}

NOTIFYICONDATAW EmptyRecord() {
  NOTIFYICONDATAW record = {};
  record.cbSize = kTrayRecordSize;
  record.hWnd = AgentWindow();
  record.uID = kIconId;
  return record;
}

}  // namespace

BOOL UpdateTrayIcon(TrayOperation operation, Balloon balloon, const std::wstring& extraLine) {
  // Texts are loaded at every update, so a changed language shows at once.
  const TrayWords words = LoadTrayWords();
  const bool installed = IsWheelHookInstalled();
  // Paused, the wheel works as without Kestrow: the off icon, no options.
  const bool paused = WheelPausedByScrollLock();
  shownPaused = paused;
  const bool working = installed && !paused;
  const std::wstring productLine = ProductLine(words, AgentShortVersion(), std::wstring(WebSiteHost()));
  const std::wstring state = StateWord(words, installed, paused);
  const std::wstring description = HScrollDescription(words, GetSettings(), working);

  NOTIFYICONDATAW record = EmptyRecord();
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = TrayCallbackMessage();
  record.hIcon = StateIcon(working);
  CopyCut(TrayTip(productLine, state, description), record.szTip, ARRAYSIZE(record.szTip));
  if (balloon == Balloon::Yes) {
    record.uFlags |= kBalloonFlags;
    CopyCut(BalloonText(state, description, extraLine), record.szInfo, ARRAYSIZE(record.szInfo));
    CopyCut(productLine, record.szInfoTitle, ARRAYSIZE(record.szInfoTitle));
    // The balloon shows the tray icon itself.
    record.dwInfoFlags = NIIF_USER;
  }
  return Shell_NotifyIconW(operation == TrayOperation::Add ? NIM_ADD : NIM_MODIFY, &record);
}

bool TrayIconShowsPaused() { return shownPaused; }

BOOL RemoveTrayIcon() {
  NOTIFYICONDATAW record = EmptyRecord();
  return Shell_NotifyIconW(NIM_DELETE, &record);
}

}  // namespace ks
