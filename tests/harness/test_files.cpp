#include "tests/harness/test_files.h"

#include <windows.h>

#include "common/unique_handle.h"

namespace ks::test {

namespace {

bool StartsWithUtf16Bom(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

// UTF-16 little-endian bytes from `start` on; an odd last byte is dropped.
std::wstring FromUtf16(const std::string& bytes, size_t start) {
  std::wstring text;
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    text.push_back(
        static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return text;
}

std::wstring FromAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), n);
  return text;
}

}  // namespace

std::wstring BinDir() {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
  std::wstring path(buffer, n);
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring X86BinDir() { return BinDir() + L"..\\..\\x86\\bin\\"; }

bool MakeOlderBuild(const std::wstring& path) {
  std::string bytes = ReadBytes(path);
  // VS_FIXEDFILEINFO begins with its signature; the least significant half of
  // the file version follows 12 bytes on.
  const std::string signature = "\xBD\x04\xEF\xFE";
  const size_t at = bytes.find(signature);
  if (at == std::string::npos || at + 16 > bytes.size()) return false;
  unsigned char* build = reinterpret_cast<unsigned char*>(&bytes[at + 12]);
  const unsigned value = build[0] | (build[1] << 8);
  const unsigned older = (value + 0xFFFFu) & 0xFFFFu;
  build[0] = static_cast<unsigned char>(older & 0xFF);
  build[1] = static_cast<unsigned char>(older >> 8);
  return WriteBytes(path, bytes);
}

TempDir::TempDir() {
  wchar_t base[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, base);
  static LONG counter = 0;
  for (;;) {
    const LONG n = InterlockedIncrement(&counter);
    path_ = std::wstring(base) + L"kstest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(n);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
  path_ += L"\\";
}

TempDir::~TempDir() {
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW((path_ + L"*").c_str(), &data));
  if (find) {
    do {
      const std::wstring name = data.cFileName;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) DeleteFileW((path_ + name).c_str());
    } while (FindNextFileW(find.get(), &data));
  }
  find.reset();
  RemoveDirectoryW(path_.c_str());
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string ReadBytes(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char chunk[65536];
  DWORD read = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::wstring ReadUtf16(const std::wstring& path, bool* hadBom) {
  const std::string bytes = ReadBytes(path);
  const bool bom = StartsWithUtf16Bom(bytes);
  if (hadBom != nullptr) *hadBom = bom;
  return FromUtf16(bytes, bom ? 2 : 0);
}

std::vector<std::wstring> SplitCrLfLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::wstring> ReadTextLines(const std::wstring& path) {
  const std::string bytes = ReadBytes(path);
  return SplitCrLfLines(StartsWithUtf16Bom(bytes) ? FromUtf16(bytes, 2) : FromAnsi(bytes));
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

}  // namespace ks::test
