// Opening web pages through the shell: the agent's opener, which first asks
// the system to go online, and the settings page's opener, which localises
// known links by the chosen language file.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

namespace ks {

// The system calls the openers make, replaceable so tests can watch them.
struct WebOpenCalls {
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  using MessageBeepFn = BOOL(WINAPI*)(UINT);

  // Loaded at run time for "InternetGoOnlineW": it is optional on old systems.
  const wchar_t* wininetLibrary = L"wininet.dll";
  ShellExecuteFn shellExecute = ::ShellExecuteW;
  MessageBeepFn messageBeep = ::MessageBeep;
};

// ShellExecuteW reports success as a value above 32 disguised as a handle.
bool ShellSucceeded(HINSTANCE result);

// "LangPrefix" of section "Main" of a language file, at most three
// characters; empty for an empty path or a file without it.
std::wstring WebLanguagePrefix(const std::wstring& languageFile);

// The agent's opener. Without "wininet.dll" nothing opens (false, silently);
// when the system declines to go online, false. Otherwise the shell opens the
// address; its failure beeps and gives false. An address that is not http,
// https or mailto is refused silently (false) and never reaches the shell.
bool OpenWebPage(HWND owner, const std::wstring& address, const WebOpenCalls& calls = {});

// The settings page's opener: a known page link becomes its edition for the
// language file's prefix (the file is read only for a known link), then the
// shell opens it. Returns whether the address was handed to the shell; the
// shell's own answer is not looked at. Refuses what OpenWebPage refuses.
bool OpenPageLink(HWND owner, const std::wstring& clickedAddress, const std::wstring& languageFile,
                  const WebOpenCalls& calls = {});

}  // namespace ks
