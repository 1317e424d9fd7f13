#include "common/web_open.h"

#include <cstdint>
#include <optional>

#include "common/unique_handle.h"
#include "common/web_links.h"

namespace ks {

namespace {

// Answers whether the user let the system go online; true when the function
// is not there to ask.
std::optional<bool> GoOnline(HWND owner, const std::wstring& address, const wchar_t* library) {
  const UniqueModule wininet(LoadLibraryW(library));
  if (!wininet) return std::nullopt;
  const FARPROC proc = GetProcAddress(wininet.get(), "InternetGoOnlineW");
  if (proc == nullptr) return true;
  using InternetGoOnlineFn = BOOL(WINAPI*)(LPWSTR, HWND, DWORD);
  // Through a generic function pointer: a direct cast trips -Wcast-function-type.
  const auto goOnline = reinterpret_cast<InternetGoOnlineFn>(reinterpret_cast<void (*)()>(proc));
  // The function takes a writable string; give it a copy of its own.
  std::wstring url = address;
  return goOnline(url.data(), owner, 0) != FALSE;
}

}  // namespace

bool ShellSucceeded(HINSTANCE result) { return reinterpret_cast<intptr_t>(result) > 32; }

std::wstring WebLanguagePrefix(const std::wstring& languageFile) {
  if (languageFile.empty()) return std::wstring();
  wchar_t prefix[4] = {};
  const DWORD copied = GetPrivateProfileStringW(L"Main", L"LangPrefix", L"", prefix, 4, languageFile.c_str());
  return std::wstring(prefix, copied < 4 ? copied : 3);
}

bool OpenWebPage(HWND owner, const std::wstring& address, const WebOpenCalls& calls) {
  if (!IsOpenableWebAddress(address)) return false;
  const std::optional<bool> online = GoOnline(owner, address, calls.wininetLibrary);
  if (!online || !*online) return false;
  const HINSTANCE result = calls.shellExecute(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
  if (ShellSucceeded(result)) return true;
  calls.messageBeep(0xFFFFFFFF);
  return false;
}

bool OpenPageLink(HWND owner, const std::wstring& clickedAddress, const std::wstring& languageFile,
                  const WebOpenCalls& calls) {
  std::wstring address = clickedAddress;
  if (const std::optional<WebPage> page = ClassifyLink(clickedAddress)) {
    address = WebPageAddress(*page, EditionForPrefix(WebLanguagePrefix(languageFile)));
  }
  if (!IsOpenableWebAddress(address)) return false;
  calls.shellExecute(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
  return true;
}

}  // namespace ks
