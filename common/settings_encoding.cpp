#include "common/settings_encoding.h"

#include <windows.h>

#include "common/unique_handle.h"

namespace ks {
namespace {

constexpr char kUtf16Mark[] = "\xFF\xFE";
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
// Far past any settings file Kestrow writes; a larger one is left alone.
constexpr DWORD kMaxFileBytes = 16 * 1024 * 1024;

bool AllAscii(const std::wstring& text) {
  for (wchar_t c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

// Whether the ANSI code page holds every character, with no best-fit
// stand-in ("é" for "é" would still be a different name).
bool AnsiHolds(const std::wstring& text) {
  if (GetACP() == CP_UTF8) return true;
  BOOL lost = FALSE;
  const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, &lost);
  return bytes > 0 && lost == FALSE;
}

bool ReadWhole(const std::wstring& path, std::string& bytes) {
  const UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size = {};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxFileBytes) return false;
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  return bytes.empty() ||
         (ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
}

bool WriteWhole(const std::wstring& path, const std::string& bytes, DWORD disposition) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  const bool whole = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                     written == bytes.size() && FlushFileBuffers(file.get());
  file.reset();
  if (!whole) DeleteFileW(path.c_str());
  return whole;
}

// The ANSI (or UTF-8 with its mark) text as UTF-16LE with its mark.
bool ToUtf16(const std::string& bytes, std::string& out) {
  UINT page = CP_ACP;
  size_t start = 0;
  if (bytes.compare(0, 3, kUtf8Mark) == 0) {
    page = CP_UTF8;
    start = 3;
  }
  const char* text = bytes.data() + start;
  const int length = static_cast<int>(bytes.size() - start);
  std::wstring wide;
  if (length > 0) {
    const int chars = MultiByteToWideChar(page, 0, text, length, nullptr, 0);
    if (chars <= 0) return false;
    wide.resize(static_cast<size_t>(chars));
    if (MultiByteToWideChar(page, 0, text, length, wide.data(), chars) != chars) return false;
  }
  out.assign(kUtf16Mark, 2);
  for (wchar_t c : wide) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  return true;
}

// Written beside the file first and then moved over it, so a failure on the
// way never leaves half a settings file.
bool ConvertToUtf16(const std::wstring& path, const std::string& bytes) {
  std::string converted;
  if (!ToUtf16(bytes, converted)) return false;
  const std::wstring temporary = path + L".converting";
  if (!WriteWhole(temporary, converted, CREATE_ALWAYS)) return false;
  if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileW(temporary.c_str());
  return false;
}

}  // namespace

bool PrepareSettingsFileFor(const std::wstring& path, const std::wstring& text) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    // CREATE_NEW: a file another program made meanwhile is kept as it is.
    return WriteWhole(path, std::string(kUtf16Mark, 2), CREATE_NEW) || GetLastError() == ERROR_FILE_EXISTS;
  }
  if (AllAscii(text)) return true;
  std::string bytes;
  if (!ReadWhole(path, bytes)) return false;
  if (bytes.compare(0, 2, kUtf16Mark) == 0) return true;
  if (bytes.compare(0, 3, kUtf8Mark) != 0 && AnsiHolds(text)) return true;
  return ConvertToUtf16(path, bytes);
}

}  // namespace ks
