#include "config/excluded_programs_page.h"

#include <optional>

#include "common/program_list.h"
#include "config/config_messages.h"
#include "config/page_elements.h"
#include "config/page_fragments.h"
#include "config/program_chooser.h"

namespace ks {
namespace {

constexpr wchar_t kListId[] = L"PROGRAM_LIST";
constexpr wchar_t kMessageId[] = L"PROGRAM_LIST_MESSAGE";
constexpr char kProgramAttribute[] = "program";

void ShowFullMessage(HWND window) {
  const std::wstring text = PageText(window, L"TEXT_PROGRAM_LIST_FULL", L"No more programs fit in the list.");
  ReplaceContent(window, kMessageId, LocalizedSpan(L"program_list_full", text));
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
