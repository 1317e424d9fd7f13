#include "tests/agent/localization/localization_helpers.h"

#include "agent/localization/localization.h"
#include "tests/harness/test_files.h"

namespace ks::test {

namespace {

template <typename F>
F Export(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

std::wstring Trim(const std::wstring& text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

const wchar_t* const kEnableInRussian = L"\u0412\u043a\u043b\u044e\u0447\u0438\u0442\u044c";

std::wstring TextsDllPath() { return BinDir() + kTextsDll; }

TextsDll::TextsDll() : module_(LoadLibraryW(TextsDllPath().c_str())) {}

TextsDll::TextsDll(HMODULE loaded) : module_(loaded) {}

UniqueMenu TextsDll::LoadMenu(UINT id) const {
  return UniqueMenu(Export<HMENU (*)(UINT)>(module_.get(), "TextsLoadMenu")(id));
}

int TextsDll::LoadStringRaw(UINT id, wchar_t* buffer, int bufferSize) const {
  return Export<int (*)(UINT, wchar_t*, int)>(module_.get(), "TextsLoadString")(id, buffer, bufferSize);
}

std::wstring TextsDll::LoadString(UINT id, int bufferSize, int* length) const {
  // Room beyond the stated size shows whether anything was written past it.
  std::wstring buffer(static_cast<size_t>(bufferSize) + 8, L'#');
  const int loaded = LoadStringRaw(id, buffer.data(), bufferSize);
  if (length != nullptr) *length = loaded;
  // The system leaves the buffer as it was when it loads nothing.
  return loaded > 0 ? std::wstring(buffer.c_str()) : std::wstring();
}

FARPROC TextsDll::GetProcAddress(HMODULE module, const char* name) const {
  return Export<FARPROC (*)(HMODULE, const char*)>(module_.get(), "TextsGetProcAddress")(module, name);
}

bool WriteLanguageFile(const std::wstring& path, const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (const wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  return WriteBytes(path, bytes);
}

Entries SectionEntries(const std::wstring& path, const std::wstring& section) {
  Entries entries;
  bool inSection = false;
  for (const std::wstring& raw : ReadTextLines(path)) {
    const std::wstring line = Trim(raw);
    if (!line.empty() && line.front() == L'[') {
      inSection = _wcsicmp(line.c_str(), (L"[" + section + L"]").c_str()) == 0;
      continue;
    }
    const size_t equals = line.find(L'=');
    if (!inSection || equals == std::wstring::npos) continue;
    entries.emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
  }
  return entries;
}

std::wstring FileText(const std::wstring& path) {
  std::wstring text;
  for (const std::wstring& line : ReadTextLines(path)) text += line + L"\n";
  return text;
}

std::vector<std::wstring> MenuTexts(HMENU menu) {
  std::vector<std::wstring> texts;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    wchar_t text[1024] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 1024;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    texts.push_back((info.fType & MFT_SEPARATOR) != 0 ? L"-" : text);
    if (const HMENU subMenu = GetSubMenu(menu, position)) {
      for (std::wstring& inner : MenuTexts(subMenu)) texts.push_back(std::move(inner));
    }
  }
  return texts;
}

std::wstring PathOfLength(const std::wstring& directory, size_t length) {
  const std::wstring extension = L".lng";
  const size_t fixed = directory.size() + extension.size();
  return directory + std::wstring(length > fixed ? length - fixed : 0, L'x') + extension;
}

ScopedLocalization::ScopedLocalization(const std::wstring& languageFile) : started_(StartLocalization(languageFile)) {}

ScopedLocalization::~ScopedLocalization() {
  if (started_) StopLocalization();
}

}  // namespace ks::test
