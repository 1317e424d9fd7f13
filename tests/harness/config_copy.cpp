#include "tests/harness/config_copy.h"

#include <vector>

#include "common/unique_handle.h"
#include "config/element_query.h"
#include "tests/harness/window_search.h"

namespace ks::test {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kQueryMs = 5000;

HWND WaitForDialog(DWORD processId, bool wantBox, DWORD timeoutMs) {
  // A message box carries its text in a static control with id 0xFFFF; the
  // settings window has no controls at all.
  return WaitForWindowOf(processId, L"#32770", timeoutMs,
                         [wantBox](HWND window) { return (GetDlgItem(window, 0xFFFF) != nullptr) == wantBox; });
}

std::optional<LRESULT> Ask(HWND window, ULONG_PTR question, const std::wstring& id) {
  COPYDATASTRUCT data{};
  data.dwData = question;
  data.cbData = static_cast<DWORD>(id.size() * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(id.data());
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kQueryMs,
                           &answer)) {
    return std::nullopt;
  }
  const auto result = static_cast<LRESULT>(answer);
  if (result == ks::kNoSuchElement) return std::nullopt;
  return result;
}

LPARAM ClientPoint(POINT p) { return MAKELPARAM(p.x, p.y); }

}  // namespace

ConfigCopy::ConfigCopy() { ready_ = CopyFileW((BinDir() + L"KsConfig.exe").c_str(), Exe().c_str(), FALSE) != FALSE; }

bool ConfigCopy::WriteSettings(const std::string& keyLines) const {
  return WriteBytes(SettingsPath(), "[Misc]\r\n" + keyLines);
}

HWND WaitForSettingsWindow(DWORD processId, DWORD timeoutMs) { return WaitForDialog(processId, false, timeoutMs); }

HWND WaitForConfigMessageBox(DWORD processId, DWORD timeoutMs) { return WaitForDialog(processId, true, timeoutMs); }

bool WaitForTitle(HWND window, const std::wstring& text, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (WindowText(window) == text) return true;
    if (GetTickCount64() >= end) return false;
    PumpMessagesFor(20);
  }
}

std::optional<POINT> ElementPoint(HWND window, const std::wstring& id) {
  const std::optional<LRESULT> answer = Ask(window, ks::kQueryElementPoint, id);
  if (!answer) return std::nullopt;
  const auto packed = static_cast<DWORD>(*answer);
  return POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
}

std::optional<SIZE> ElementSize(HWND window, const std::wstring& id) {
  const std::optional<LRESULT> answer = Ask(window, ks::kQueryElementSize, id);
  if (!answer) return std::nullopt;
  const auto packed = static_cast<DWORD>(*answer);
  return SIZE{LOWORD(packed), HIWORD(packed)};
}

std::optional<UINT> ElementState(HWND window, const std::wstring& id) {
  const std::optional<LRESULT> answer = Ask(window, ks::kQueryElementState, id);
  if (!answer) return std::nullopt;
  return static_cast<UINT>(*answer);
}

bool WaitForElementState(HWND window, const std::wstring& id, UINT bits, bool set, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    const std::optional<UINT> state = ElementState(window, id);
    if (state && ((*state & bits) == bits) == set) return true;
    if (GetTickCount64() >= end) return false;
    PumpMessagesFor(20);
  }
}

void ClickAt(HWND window, POINT point) {
  PostMessageW(window, WM_MOUSEMOVE, 0, ClientPoint(point));
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(point));
  PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(point));
  PostMessageW(window, WM_LBUTTONUP, 0, ClientPoint(point));
}

bool ClickElement(HWND window, const std::wstring& id) {
  const std::optional<POINT> point = ElementPoint(window, id);
  if (!point) return false;
  ClickAt(window, *point);
  return true;
}

void PressKey(HWND window, UINT virtualKey) {
  PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
  PostMessageW(window, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

ULONGLONG RunKeyLastWriteTime() {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return 0;
  FILETIME written{};
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, &written) != ERROR_SUCCESS) {
    return 0;
  }
  return (static_cast<ULONGLONG>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
}

ULONGLONG FileLastWriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace ks::test
