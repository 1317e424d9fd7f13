// The test library that loads its own menus and strings, language files
// written and read back, and menus read as text.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "common/unique_handle.h"
#include "tests/agent/localization/localized_texts_ids.h"

namespace ks::test {

constexpr const wchar_t* kTextsDll = L"ks_localized_texts.dll";
std::wstring TextsDllPath();

// "Включить": what an "ENABLE" key shows.
extern const wchar_t* const kEnableInRussian;

// The test library, loaded by this program's own import of LoadLibraryW or
// taken over from a load elsewhere.
class TextsDll {
 public:
  TextsDll();
  explicit TextsDll(HMODULE loaded);
  bool Loaded() const { return static_cast<bool>(module_); }
  HMODULE Handle() const { return module_.get(); }

  UniqueMenu LoadMenu(UINT id) const;
  // LoadStringW into a buffer of `bufferSize` units; the text and, through
  // `length`, what the call returned.
  std::wstring LoadString(UINT id, int bufferSize = 1024, int* length = nullptr) const;
  int LoadStringRaw(UINT id, wchar_t* buffer, int bufferSize) const;
  FARPROC GetProcAddress(HMODULE module, const char* name) const;

 private:
  UniqueModule module_;
};

// LoadStringW with this program's own instance, through its own import.
std::wstring OwnModuleString(UINT id);

// Writes a language file as UTF-16 little-endian with a byte-order mark, the
// form the profile functions keep non-Latin texts in; an empty text gives an
// empty language file.
bool WriteLanguageFile(const std::wstring& path, const std::wstring& text);

using Entries = std::vector<std::pair<std::wstring, std::wstring>>;
// The key=value lines of one section as the file holds them, in file order.
Entries SectionEntries(const std::wstring& path, const std::wstring& section);
// The whole file as text, whatever its encoding.
std::wstring FileText(const std::wstring& path);

// Every item text of the menu, depth first, a separator as "-".
std::vector<std::wstring> MenuTexts(HMENU menu);

// A path of exactly `length` units: a file in `directory` whose name is
// padded with "x" before ".lng".
std::wstring PathOfLength(const std::wstring& directory, size_t length);

// Localisation for the length of a scope.
class ScopedLocalization {
 public:
  explicit ScopedLocalization(const std::wstring& languageFile);
  ~ScopedLocalization();
  ScopedLocalization(const ScopedLocalization&) = delete;
  ScopedLocalization& operator=(const ScopedLocalization&) = delete;
  bool Started() const { return started_; }

 private:
  bool started_;
};

}  // namespace ks::test
