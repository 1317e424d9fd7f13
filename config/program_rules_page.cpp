#include "config/program_rules_page.h"

#include <optional>
#include <string_view>

#include "common/program_list.h"
#include "config/config_messages.h"
#include "config/page_elements.h"
#include "config/page_fragments.h"
#include "config/program_chooser.h"

namespace ks {
namespace {

constexpr wchar_t kListId[] = L"RULE_LIST";
constexpr wchar_t kMessageId[] = L"RULE_LIST_MESSAGE";
constexpr char kProgramAttribute[] = "program";
// The options the page does not know, joined by ";" (no option holds one).
constexpr char kOtherAttribute[] = "other";
constexpr char kSpeedAttribute[] = "speed";
constexpr char kOptionAttribute[] = "option";
constexpr wchar_t kReverseOption[] = L"reverse";
constexpr wchar_t kScrollBarsOption[] = L"scrollbars";
constexpr wchar_t kSlowerPrefix[] = L"RULE_SLOWER_";
constexpr wchar_t kFasterPrefix[] = L"RULE_FASTER_";
constexpr wchar_t kSpeedPrefix[] = L"RULE_SPEED_";
constexpr wchar_t kReversePrefix[] = L"RULE_REVERSE_";
constexpr wchar_t kScrollBarsPrefix[] = L"RULE_SCROLLBARS_";
constexpr wchar_t kOptionSeparator = L';';

std::wstring RowId(const wchar_t* prefix, size_t row) { return prefix + std::to_wstring(row); }

// A whole number of at most four digits; nothing for any other text.
std::optional<int> ParseSmallNumber(std::wstring_view text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  return value;
}

int ClampSpeed(int speed) {
  return speed < kMinRuleSpeed ? kMinRuleSpeed : speed > kMaxRuleSpeed ? kMaxRuleSpeed : speed;
}

std::vector<std::wstring> SplitOptions(std::wstring_view joined) {
  std::vector<std::wstring> options;
  while (!joined.empty()) {
    const size_t end = joined.find(kOptionSeparator);
    const std::wstring_view option = joined.substr(0, end);
    if (!option.empty()) options.emplace_back(option);
    if (end == std::wstring_view::npos) break;
    joined.remove_prefix(end + 1);
  }
  return options;
}

// The speed as the row shows it; the attribute carries it for reading back.
std::wstring SpeedHtml(int speed) {
  const std::wstring n = std::to_wstring(speed);
  return L"<span speed=\"" + n + L"\">x " + n + L"</span>";
}

std::wstring BoxHtml(const std::wstring& id, const wchar_t* option, const wchar_t* locid, const std::wstring& text) {
  return L"<widget type=\"checkbox\" id=\"" + id + L"\" option=\"" + option + L"\">" + LocalizedSpan(locid, text) +
         L"</widget>";
}

struct RowTexts {
  std::wstring reverse;
  std::wstring scrollBars;
  std::wstring remove;
};

// The name, and below it the speed, the boxes and the link, each a place to
// wrap at.
std::wstring RowHtml(const ProgramRule& rule, size_t row, const RowTexts& texts) {
  const std::wstring name = EscapeHtml(rule.program);
  std::wstring html = L"<div class=\"rule_row\" program=\"" + name + L"\" other=\"" +
                      EscapeHtml(JoinProgramList(rule.otherOptions)) + L"\"><span class=\"program_name\">" + name +
                      L"</span><div class=\"rule_controls\"><nobr>";
  html += L"<input type=\"button\" class=\"rule_button\" id=\"" + RowId(kSlowerPrefix, row) +
          L"\" value=\"\u2212\" title=\"Slower: less scrolling per notch\">";
  html += L"<span class=\"rule_speed\" id=\"" + RowId(kSpeedPrefix, row) + L"\">" + SpeedHtml(ClampSpeed(rule.speed)) +
          L"</span>";
  html += L"<input type=\"button\" class=\"rule_button\" id=\"" + RowId(kFasterPrefix, row) +
          L"\" value=\"+\" title=\"Faster: more scrolling per notch\"></nobr> ";
  html += BoxHtml(RowId(kReversePrefix, row), kReverseOption, L"rule_reverse", texts.reverse) + L" ";
  html += BoxHtml(RowId(kScrollBarsPrefix, row), kScrollBarsOption, L"rule_scrollbars", texts.scrollBars) + L" ";
  html += L"<a class=\"hint\" id=\"" + RowId(L"RULE_REMOVE_", row) + L"\" href=\"REMOVE_RULE\" program=\"" + name +
          L"\">" + LocalizedSpan(L"remove_program", texts.remove) + L"</a></div></div>";
  return html;
}

void ShowFullMessage(HWND window) {
  const std::wstring text = PageText(window, L"TEXT_RULE_LIST_FULL", L"No more programs fit in the rules.");
  ReplaceContent(window, kMessageId, LocalizedSpan(L"rule_list_full", text));
}

// Adds a rule for the chosen program once; a full list keeps its rows and
// says so.
bool AddChosenRule(HWND window) {
  std::vector<ProgramRule> rules;
  if (!ReadRuleRows(window, rules)) return false;
  const std::optional<std::wstring> path = ChooseProgram(window);
  if (!path) return false;
  switch (AddRule(rules, FileNameOfPath(*path))) {
    case AddProgramResult::Added: ShowRuleRows(window, rules); return true;
    case AddProgramResult::ListFull: ShowFullMessage(window); return false;
    case AddProgramResult::AlreadyListed:
    case AddProgramResult::NotAProgramName: return false;
  }
  return false;
}

bool RemoveRuleOfLink(HWND window, HLELEMENT link) {
  std::vector<ProgramRule> rules;
  if (!ReadRuleRows(window, rules) || !RemoveRule(rules, ElementAttribute(link, kProgramAttribute))) return false;
  ShowRuleRows(window, rules);
  return true;
}

BOOL CALLBACK ReadSpeed(HLELEMENT span, void* param) {
  const std::optional<int> speed = ParseSmallNumber(ElementAttribute(span, kSpeedAttribute));
  *static_cast<int*>(param) = speed ? ClampSpeed(*speed) : kMinRuleSpeed;
  return TRUE;  // one speed a row
}

BOOL CALLBACK ReadOption(HLELEMENT box, void* param) {
  auto& rule = *static_cast<ProgramRule*>(param);
  UINT state = 0;
  const bool on = HTMLayoutGetElementState(box, &state) == HL_OK && (state & HL_STATE_CHECKED) != 0;
  const std::wstring option = ElementAttribute(box, kOptionAttribute);
  if (option == kReverseOption) rule.reverse = on;
  if (option == kScrollBarsOption) rule.scrollBars = on;
  return FALSE;
}

BOOL CALLBACK CollectRule(HLELEMENT row, void* param) {
  ProgramRule rule;
  rule.program = ElementAttribute(row, kProgramAttribute);
  rule.otherOptions = SplitOptions(ElementAttribute(row, kOtherAttribute));
  HTMLayoutVisitElements(row, "span", kSpeedAttribute, nullptr, ReadSpeed, &rule.speed, 0);
  HTMLayoutVisitElements(row, "widget", kOptionAttribute, nullptr, ReadOption, &rule, 0);
  static_cast<std::vector<ProgramRule>*>(param)->push_back(std::move(rule));
  return FALSE;
}

// The speed of the row a button belongs to, one step slower or faster; false
// at either end of the range.
bool StepSpeed(HWND window, size_t row, int step) {
  const ElementRef holder = FindElementById(window, RowId(kSpeedPrefix, row).c_str());
  if (!holder) return false;
  int speed = kMinRuleSpeed;
  HTMLayoutVisitElements(holder.get(), "span", kSpeedAttribute, nullptr, ReadSpeed, &speed, 0);
  const int next = ClampSpeed(speed + step);
  if (next == speed) return false;
  // Only the number is replaced, so the focus stays on the button.
  ReplaceContent(window, RowId(kSpeedPrefix, row).c_str(), SpeedHtml(next));
  return true;
}

// The row number after the prefix, when the id has it.
std::optional<size_t> RowOf(const std::wstring& id, std::wstring_view prefix) {
  if (id.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const std::optional<int> row = ParseSmallNumber(std::wstring_view(id).substr(prefix.size()));
  if (!row || *row < 1) return std::nullopt;
  return static_cast<size_t>(*row);
}

}  // namespace

void ShowRuleRows(HWND window, const std::vector<ProgramRule>& rules) {
  const RowTexts texts{PageText(window, L"TEXT_RULE_REVERSE", L"reverse"),
                       PageText(window, L"TEXT_RULE_SCROLLBARS", L"scroll bars"),
                       PageText(window, L"TEXT_REMOVE_PROGRAM", L"remove")};
  std::wstring rows;
  for (size_t i = 0; i < rules.size(); ++i) rows += RowHtml(rules[i], i + 1, texts);
  ReplaceContent(window, kListId, rows, Measure::Later);
  for (size_t i = 0; i < rules.size(); ++i) {
    SetCheckBox(window, RowId(kReversePrefix, i + 1).c_str(), rules[i].reverse);
    SetCheckBox(window, RowId(kScrollBarsPrefix, i + 1).c_str(), rules[i].scrollBars);
  }
  ReplaceContent(window, kMessageId, L"");
}

bool ReadRuleRows(HWND window, std::vector<ProgramRule>& rules) {
  const ElementRef list = FindElementById(window, kListId);
  if (!list) return false;
  std::vector<ProgramRule> rows;
  HTMLayoutVisitElements(list.get(), "div", kProgramAttribute, nullptr, CollectRule, &rows, 1);
  rules = RulesInForce(rows);
  return true;
}

bool OnRuleLink(HWND window, HLELEMENT link, const std::wstring& href) {
  bool changed = false;
  if (href == L"ADD_RULE") {
    changed = AddChosenRule(window);
  } else if (href == L"REMOVE_RULE") {
    changed = RemoveRuleOfLink(window, link);
  } else {
    return false;
  }
  if (changed) PostMessageW(window, kPageChangedMessage, 0, 0);
  return true;
}

bool OnRuleButton(HWND window, const std::wstring& buttonId) {
  bool changed = false;
  if (const std::optional<size_t> row = RowOf(buttonId, kSlowerPrefix)) {
    changed = StepSpeed(window, *row, -1);
  } else if (const std::optional<size_t> faster = RowOf(buttonId, kFasterPrefix)) {
    changed = StepSpeed(window, *faster, +1);
  } else {
    return false;
  }
  if (changed) PostMessageW(window, kPageChangedMessage, 0, 0);
  return true;
}

}  // namespace ks
