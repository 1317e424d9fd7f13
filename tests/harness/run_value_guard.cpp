#include "tests/harness/run_value_guard.h"

#include <cstring>

#include "common/unique_handle.h"

namespace ks::test {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"KestrowAgent";

UniqueKey OpenRunKey(REGSAM access) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, access, key.put()) != ERROR_SUCCESS) {
    // A fresh prefix may not have the key yet.
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, access, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS) {
      key.reset();
    }
  }
  return key;
}

// Raw type and bytes; false when absent or unreadable.
bool ReadRaw(DWORD& type, std::string& bytes) {
  const UniqueKey key = OpenRunKey(KEY_QUERY_VALUE);
  if (!key) return false;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), kValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return false;
  }
  bytes.assign(size, '\0');
  return RegQueryValueExW(key.get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
         ERROR_SUCCESS;
}

}  // namespace

RunValueGuard::RunValueGuard(bool clear) {
  const UniqueKey key = OpenRunKey(KEY_QUERY_VALUE);
  if (!key) return;
  present_ = ReadRaw(type_, bytes_);
  saved_ = true;
  if (clear) Remove();
}

RunValueGuard::~RunValueGuard() {
  if (!saved_) return;
  const UniqueKey key = OpenRunKey(KEY_SET_VALUE);
  if (!key) return;
  if (present_) {
    RegSetValueExW(key.get(), kValueName, 0, type_, reinterpret_cast<const BYTE*>(bytes_.data()),
                   static_cast<DWORD>(bytes_.size()));
  } else {
    RegDeleteValueW(key.get(), kValueName);
  }
}

std::optional<std::wstring> RunValueGuard::Read() {
  DWORD type = 0;
  std::string bytes;
  if (!ReadRaw(type, bytes)) return std::nullopt;
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  // Stored with or without its terminator: the text ends at the first NUL.
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

bool RunValueGuard::WaitFor(const std::optional<std::wstring>& value, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (Read() == value) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(20);
  }
}

bool RunValueGuard::Write(const std::wstring& text) {
  const UniqueKey key = OpenRunKey(KEY_SET_VALUE);
  return key && RegSetValueExW(key.get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RunValueGuard::Remove() {
  const UniqueKey key = OpenRunKey(KEY_SET_VALUE);
  if (!key) return false;
  const LONG result = RegDeleteValueW(key.get(), kValueName);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace ks::test
