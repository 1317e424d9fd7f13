#include "config/excluded_programs_page.h"

#include <commdlg.h>

#include <optional>

#include "common/program_list.h"
#include "config/config_messages.h"
#include "config/config_strings.h"
#include "config/page_elements.h"
#include "config/resource_ids.h"
#include "config/wide_utf8.h"

namespace ks {
namespace {

constexpr wchar_t kListId[] = L"PROGRAM_LIST";
constexpr wchar_t kMessageId[] = L"PROGRAM_LIST_MESSAGE";
constexpr char kProgramAttribute[] = "program";
// 32 rows of the longest names, escaped, with room to spare.
constexpr size_t kMaxRowsBytes = 1 << 20;
// Room for any path the dialog can give, long paths included.
constexpr DWORD kMaxPathChars = 32768;

std::wstring EscapeHtml(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      case L'\'': out += L"&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

// A text the page keeps hidden for the program to copy, so that it is
// translated with the rest; the fallback when the page lacks it.
std::wstring PageText(HWND window, const wchar_t* id, const wchar_t* fallback) {
  const ElementRef element = FindElementById(window, id);
  if (!element) return fallback;
  const std::wstring text = FromUtf8(ElementInnerText(element.get()));
  return text.empty() ? std::wstring(fallback) : text;
}

// The text with its locid, so the page's localisation sheet reaches the copy.
std::wstring LocalizedSpan(const wchar_t* locid, const std::wstring& text) {
  return L"<span locid=\"" + std::wstring(locid) + L"\">" + EscapeHtml(text) + L"</span>";
}

// Measured again at once unless a later change in the same step is: each
// measuring lays the whole page out.
enum class Measure { Now, Later };

void ReplaceContent(HWND window, const wchar_t* id, const std::wstring& html, Measure measure = Measure::Now) {
  const ElementRef element = FindElementById(window, id);
  if (!element) return;
  ReplaceElementHtml(element.get(), html, kMaxRowsBytes);
  if (measure == Measure::Now) HTMLayoutUpdateElement(element.get(), TRUE);
}

void ShowFullMessage(HWND window) {
  const std::wstring text = PageText(window, L"TEXT_PROGRAM_LIST_FULL", L"No more programs fit in the list.");
  ReplaceContent(window, kMessageId, LocalizedSpan(L"program_list_full", text));
}

// The standard Open dialog on programs; the chosen file's full path.
std::optional<std::wstring> ChooseProgram(HWND window) {
  std::wstring filter = LoadConfigString(IDS_PROGRAM_FILTER);
  if (filter.empty()) filter = L"Programs (*.exe)";
  filter += L'\0';
  filter += L"*.exe";
  filter += L'\0';
  std::wstring file(kMaxPathChars, L'\0');
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window;
  dialog.lpstrFilter = filter.c_str();  // ends in two zeros with the string's own
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kMaxPathChars;
  dialog.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  file.resize(file.find(L'\0'));
  return file;
}

// Adds the chosen program's name once; a full list keeps its rows and says so.
bool AddChosenProgram(HWND window) {
  std::vector<std::wstring> programs;
  if (!ReadProgramRows(window, programs)) return false;
  const std::optional<std::wstring> path = ChooseProgram(window);
  if (!path) return false;
  switch (AddProgram(programs, FileNameOfPath(*path))) {
    case AddProgramResult::Added: ShowProgramRows(window, programs); return true;
    case AddProgramResult::ListFull: ShowFullMessage(window); return false;
    case AddProgramResult::AlreadyListed:
    case AddProgramResult::NotAProgramName: return false;
  }
  return false;
}

bool RemoveProgramOfLink(HWND window, HLELEMENT link) {
  std::vector<std::wstring> programs;
  if (!ReadProgramRows(window, programs) || !RemoveProgram(programs, ElementAttribute(link, kProgramAttribute))) {
    return false;
  }
  ShowProgramRows(window, programs);
  return true;
}

BOOL CALLBACK CollectProgram(HLELEMENT row, void* param) {
  static_cast<std::vector<std::wstring>*>(param)->push_back(ElementAttribute(row, kProgramAttribute));
  return FALSE;
}

}  // namespace

void ShowProgramRows(HWND window, const std::vector<std::wstring>& programs) {
  const std::wstring remove = PageText(window, L"TEXT_REMOVE_PROGRAM", L"remove");
  std::wstring rows;
  for (size_t i = 0; i < programs.size(); ++i) {
    const std::wstring name = EscapeHtml(programs[i]);
    rows += L"<div class=\"program_row\" program=\"" + name + L"\"><span class=\"program_name\">" + name +
            L"</span>&nbsp;<a class=\"hint\" id=\"PROGRAM_REMOVE_" + std::to_wstring(i + 1) +
            L"\" href=\"REMOVE_PROGRAM\" program=\"" + name + L"\">" + LocalizedSpan(L"remove_program", remove) +
            L"</a></div>";
  }
  ReplaceContent(window, kListId, rows, Measure::Later);
  ReplaceContent(window, kMessageId, L"");
}

bool ReadProgramRows(HWND window, std::vector<std::wstring>& programs) {
  const ElementRef list = FindElementById(window, kListId);
  if (!list) return false;
  std::vector<std::wstring> rows;
  HTMLayoutVisitElements(list.get(), "div", kProgramAttribute, nullptr, CollectProgram, &rows, 1);
  programs = ProgramsInForce(rows);
  return true;
}

bool OnProgramLink(HWND window, HLELEMENT link, const std::wstring& href) {
  bool changed = false;
  if (href == L"ADD_PROGRAM") {
    changed = AddChosenProgram(window);
  } else if (href == L"REMOVE_PROGRAM") {
    changed = RemoveProgramOfLink(window, link);
  } else {
    return false;
  }
  if (changed) PostMessageW(window, kPageChangedMessage, 0, 0);
  return true;
}

}  // namespace ks
