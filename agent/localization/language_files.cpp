#include "agent/localization/language_files.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>

#include "common/module_path.h"
#include "common/paths.h"
#include "common/unique_handle.h"

namespace ks {
namespace {

std::vector<std::wstring> languageFiles;
// The menu tooltip's delay threads look up names while the main thread may
// rebuild the list; only the main thread writes it.
std::shared_mutex languageFilesLock;

}  // namespace

size_t FindLanguageFiles(std::wstring directory, std::vector<std::wstring>& list) {
  if (!directory.empty() && directory.back() != L'\\') directory += L'\\';
  WIN32_FIND_DATAW match = {};
  const UniqueFind search(FindFirstFileW((directory + L"*.lng").c_str(), &match));
  if (!search) return list.size();
  do {
    list.push_back(directory + match.cFileName);
  } while (FindNextFileW(search.get(), &match));
  // std::wstring compares code unit by code unit, as wcscmp does.
  std::sort(list.begin(), list.end());
  return list.size();
}

std::wstring ExampleLanguageFilePath() { return ModuleDirectory() + L"LocalizationExample.lng"; }

std::wstring LanguageFileLabel(const std::wstring& path) {
  std::wstring name = FileNameOf(path);
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

const std::vector<std::wstring>& LanguageFileList() { return languageFiles; }

void RefreshLanguageFileList() {
  std::vector<std::wstring> fresh;
  FindLanguageFiles(ModuleDirectory(), fresh);
  const std::unique_lock<std::shared_mutex> lock(languageFilesLock);
  languageFiles.swap(fresh);
}

std::wstring LanguageFileForCommand(UINT id) {
  if (id == kExampleLanguageCommand) return ExampleLanguageFilePath();
  if (id < kFirstLanguageCommand || id > kLastLanguageCommand) return {};
  const size_t position = id - kFirstLanguageCommand;
  const std::shared_lock<std::shared_mutex> lock(languageFilesLock);
  return position < languageFiles.size() ? languageFiles[position] : std::wstring();
}

}  // namespace ks
