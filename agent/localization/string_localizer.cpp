#include "agent/localization/string_localizer.h"

#include <algorithm>
#include <vector>

#include "agent/localization/localizer_slot.h"

namespace ks {

namespace {

constexpr wchar_t kStringsSection[] = L"Strings";
// Translations are read through a buffer of at most this many units, however
// large the caller says its buffer is.
constexpr int kLongestTranslation = 32768;

using LoadStringFunction = int(WINAPI*)(HINSTANCE, UINT, LPWSTR, int);

// Constant-initialised, so usable before any constructor of this program runs.
LocalizerSlot<const StringLocalizer> g_current;

LoadStringFunction SystemLoadString() {
  return reinterpret_cast<LoadStringFunction>(
      reinterpret_cast<void*>(ResolveSystemFunction("user32.dll", "LoadStringW")));
}

// The string as the resource holds it, not as a small buffer cut it; the
// buffer's text when the resource cannot be read directly.
std::wstring BuiltInText(HINSTANCE instance, UINT id, const wchar_t* loadedText, int loaded) {
  const LoadStringFunction loadString = SystemLoadString();
  const wchar_t* resource = nullptr;
  const int length = loadString != nullptr ? loadString(instance, id, reinterpret_cast<LPWSTR>(&resource), 0) : 0;
  if (resource != nullptr && length > loaded) {
    return std::wstring(resource, static_cast<size_t>(length));
  }
  return std::wstring(loadedText, static_cast<size_t>(loaded));
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

StringLocalizer::StringLocalizer(const std::wstring& languageFile)
    : LocalizedImportHook(languageFile, "user32.dll", "LoadStringW", AsFarProc(&LocalizedLoadStringW)) {
  g_current.Become(this);
}

StringLocalizer::~StringLocalizer() { g_current.Withdraw(this); }

int StringLocalizer::TranslateString(HINSTANCE instance, UINT id, wchar_t* buffer, int bufferSize, int loaded) const {
  const wchar_t* const file = LanguageFile();
  if (file[0] == L'\0' || buffer == nullptr || bufferSize <= 0 || loaded <= 0) return loaded;
  // The module plays no part: one identifier, one translation in the process.
  const std::wstring key = std::to_wstring(id);
  std::vector<wchar_t> value(static_cast<size_t>(std::min(bufferSize, kLongestTranslation)));
  DWORD length =
      GetPrivateProfileStringW(kStringsSection, key.c_str(), L"", value.data(), static_cast<DWORD>(value.size()), file);
  if (length == 0) {
    // A new or incomplete file grows into a template for translators.
    const std::wstring builtIn = BuiltInText(instance, id, buffer, loaded);
    WritePrivateProfileStringW(kStringsSection, key.c_str(), builtIn.c_str(), file);
    return loaded;
  }
  // The profile function cut the value to fit; a cut between the halves of a
  // surrogate pair would leave half a character.
  length = std::min(length, static_cast<DWORD>(value.size() - 1));
  if (IsHighSurrogate(value[length - 1])) --length;
  std::copy(value.data(), value.data() + length, buffer);
  buffer[length] = L'\0';
  return static_cast<int>(length);
}

int WINAPI LocalizedLoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferSize) {
  const LoadStringFunction loadString = SystemLoadString();
  if (loadString == nullptr) return 0;
  const int loaded = loadString(instance, id, buffer, bufferSize);
  if (buffer == nullptr || loaded <= 0 || bufferSize <= 0) return loaded;
  const DWORD error = GetLastError();
  int length = loaded;
  try {
    g_current.With([&](const StringLocalizer& localizer) {
      length = localizer.TranslateString(instance, id, buffer, bufferSize, loaded);
    });
  } catch (...) {
    // Out of memory: the string stays as loaded.
    length = loaded;
  }
  SetLastError(error);
  return length;
}

}  // namespace ks
