// The settings window: a dialog without controls whose client area is the
// settings page. It binds the page to the renderer, answers the agent's probe,
// and ends with OK (the page's values taken over) or Cancel.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"
#include "config/autorun_watcher.h"
#include "render/htmlayout_api.h"

namespace ks {

class SettingsDialog {
 public:
  explicit SettingsDialog(HINSTANCE instance);
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  // Runs the dialog modally; IDOK when the user confirmed, IDCANCEL
  // otherwise (-1 when the dialog could not be made).
  INT_PTR Run();

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static UINT CALLBACK OnRendererNotification(HLNotifyHeader* notification, void* param);
  static BOOL CALLBACK DispatchPageEvent(void* tag, HLELEMENT element, UINT group, void* params);

  // Answers whether the message was handled; result is then its result.
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void InitSettingsWindow();
  void OnDocumentComplete();
  LRESULT OnConfigurationProbe(LPARAM senderThread);
  bool OnSysCommand(WPARAM command);
  void OnKeyUp(WPARAM key);
  void PaintMinimised();
  void EndSettingsDialog(bool save);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  // 16 x 16, shared with the system: never destroyed.
  HICON icon_ = nullptr;
  AutorunWatcher watcher_;
  std::wstring versionText_;
};

}  // namespace ks
