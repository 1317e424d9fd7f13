#include "config/program_chooser.h"

#include <commdlg.h>

#include "config/config_strings.h"
#include "config/resource_ids.h"

namespace ks {
namespace {

// Room for any path the dialog can give, long paths included.
constexpr DWORD kMaxPathChars = 32768;

}  // namespace

std::optional<std::wstring> ChooseProgram(HWND owner) {
  std::wstring filter = LoadConfigString(IDS_PROGRAM_FILTER);
  if (filter.empty()) filter = L"Programs (*.exe)";
  filter += L'\0';
  filter += L"*.exe";
  filter += L'\0';
  std::wstring file(kMaxPathChars, L'\0');
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();  // ends in two zeros with the string's own
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kMaxPathChars;
  dialog.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  file.resize(file.find(L'\0'));
  return file;
}

}  // namespace ks
