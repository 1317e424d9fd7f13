#include "config/settings_dialog.h"

#include "common/settings.h"
#include "common/autorun.h"
#include "config/config_messages.h"
#include "config/config_strings.h"
#include "config/element_query.h"
#include "config/page_behaviour.h"
#include "config/page_elements.h"
#include "config/page_loader.h"
#include "config/resource_ids.h"
#include "config/window_dpi.h"
#include "config/window_fit.h"
#include "config/window_front.h"

namespace ks {
namespace {

constexpr WPARAM kDragByCaption = SC_MOVE | HTCAPTION;

}  // namespace

SettingsDialog::SettingsDialog(HINSTANCE instance)
    : instance_(instance),
      icon_(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, LR_SHARED))) {}

INT_PTR SettingsDialog::Run() {
  return DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK SettingsDialog::DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The renderer sees every message first.
  BOOL handledByPage = FALSE;
  LRESULT result = HTMLayoutProcND(window, msg, wParam, lParam, &handledByPage);

  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<SettingsDialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->window_ = window;
    self->InitSettingsWindow();
    return TRUE;
  }
  auto* self = reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!handledByPage) {
    if (self == nullptr || !self->HandleMessage(msg, wParam, lParam, result)) return FALSE;
  }
  // A few messages answer through the return value; the rest through the
  // dialog's result slot.
  if (msg == WM_QUERYDRAGICON || msg == WM_CTLCOLORDLG) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}

bool SettingsDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  if (msg == ConfigProbeMessage() && msg != 0) {
    result = OnConfigurationProbe(lParam);
    return true;
  }
  if (msg == AutorunChangedMessage() && msg != 0) {
    RefreshAutorunBox(window_);
    result = 1;
    return true;
  }
  switch (msg) {
    case kPageChangedMessage: RefreshTitle(window_, versionText_); return true;
    case WM_LBUTTONDOWN:
      // A press on the page background drags the window by its caption.
      ReleaseCapture();
      SendMessageW(window_, WM_SYSCOMMAND, kDragByCaption, 0);
      return true;
    case WM_LBUTTONDBLCLK: FitWindowToPage(window_); return true;
    case WM_DPICHANGED: OnDpiChanged(window_, reinterpret_cast<const RECT*>(lParam)); return true;
    case WM_PAINT:
      if (!IsIconic(window_)) return false;
      PaintMinimised();
      return true;
    case WM_QUERYDRAGICON: result = reinterpret_cast<LRESULT>(icon_); return true;
    case WM_SYSCOMMAND: return OnSysCommand(wParam);
    case WM_KEYUP: OnKeyUp(wParam); return false;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDCANCEL) return false;
      EndSettingsDialog(false);
      return true;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      return data != nullptr && AnswerElementQuery(window_, *data, result);
    }
    default: return false;
  }
}

void SettingsDialog::InitSettingsWindow() {
  if (IsWindowVisible(window_)) ShowWindow(window_, SW_HIDE);
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  HTMLayoutSetCallback(window_, OnRendererNotification, this);
  HTMLayoutWindowAttachEventHandler(window_, DispatchPageEvent, this, HL_GROUP_ALL);
  const std::string page = LoadPreparedPage();
  if (!page.empty()) {
    HTMLayoutLoadHtml(window_, reinterpret_cast<const BYTE*>(page.data()), static_cast<UINT>(page.size()));
  }
  RefreshTitle(window_, versionText_);
  // The page read the Run value before the watcher ran: read again now that
  // no change can be missed, still before the user can touch the box.
  if (watcher_.Start(window_, AutorunChangedMessage())) RefreshAutorunBox(window_);
}

UINT CALLBACK SettingsDialog::OnRendererNotification(HLNotifyHeader* notification, void* param) {
  auto* self = static_cast<SettingsDialog*>(param);
  if (self == nullptr || notification == nullptr) return 0;
  switch (notification->code) {
    case HLN_LOAD_DATA: {
      const auto* request = reinterpret_cast<const HLLoadDataNotify*>(notification);
      if (request->uri != nullptr) ServePageRequest(self->window_, request->uri);
      return 0;
    }
    case HLN_DOCUMENT_COMPLETE: self->OnDocumentComplete(); return 0;
    default:
      // Data loaded needs nothing; no named behaviours are offered.
      return 0;
  }
}

BOOL CALLBACK SettingsDialog::DispatchPageEvent(void* tag, HLELEMENT, UINT group, void* params) {
  auto* self = static_cast<SettingsDialog*>(tag);
  // Only behaviour events do anything here; every other group keeps the
  // renderer's own handling.
  if (self == nullptr || params == nullptr || group != HL_GROUP_BEHAVIOR_EVENT) return FALSE;
  switch (OnBehaviorEvent(self->window_, *static_cast<const HLBehaviorParams*>(params))) {
    case PageAction::NotHandled: return FALSE;
    case PageAction::Handled: return TRUE;
    case PageAction::Save: self->EndSettingsDialog(true); return TRUE;
    case PageAction::Discard: self->EndSettingsDialog(false); return TRUE;
  }
  return FALSE;
}

void SettingsDialog::OnDocumentComplete() {
  RefreshAutorunBox(window_);
  FillCheckBoxes(window_);
  ShowReleaseText(window_);
  FitWindowToPage(window_);
}

LRESULT SettingsDialog::OnConfigurationProbe(LPARAM senderThread) {
  const DWORD own = GetCurrentThreadId();
  const auto sender = static_cast<DWORD>(senderThread);
  const bool attached = AttachThreadInput(own, sender, TRUE) != FALSE;
  BringWindowToFront(window_);
  if (attached) AttachThreadInput(own, sender, FALSE);
  return 1;
}

bool SettingsDialog::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != SC_CLOSE || !IsPageChanged(window_)) return false;
  const std::wstring question = LoadConfigString(IDS_SAVE_QUESTION);
  const std::wstring caption = LoadConfigString(IDS_CONFIG_NAME);
  switch (MessageBoxW(window_, question.c_str(), caption.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: EndSettingsDialog(true); return true;
    case IDNO: EndSettingsDialog(false); return true;
    case IDCANCEL: return true;
    default: return false;
  }
}

void SettingsDialog::OnKeyUp(WPARAM key) {
  if (key == VK_ESCAPE) PostMessageW(window_, WM_COMMAND, IDCANCEL, 0);
}

void SettingsDialog::PaintMinimised() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  if (dc == nullptr) return;
  SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  GetClientRect(window_, &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_);
  EndPaint(window_, &paint);
}

void SettingsDialog::EndSettingsDialog(bool save) {
  // The watcher stops first, so the Run value written below is not reported
  // back to a window that is going away.
  watcher_.Stop();
  if (save) {
    // A Run value that names another copy of Kestrow is that copy's: an
    // unticked box removes only this copy's.
    const bool wanted = GetCheckBox(window_, kAutorunBoxId);
    const std::wstring agent = AgentPathBesideModule();
    if (wanted || IsAutorunRegistered(agent)) SetAutorunRegistered(wanted, agent);
    ReadCheckBoxes(window_, GetSettings());
  }
  EndDialog(window_, save ? IDOK : IDCANCEL);
}

}  // namespace ks
