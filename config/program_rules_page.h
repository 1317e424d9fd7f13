// The page's group of per-program wheel rules: one row per program with its
// speed (a smaller and a larger button around "x N"), its reverse and scroll
// bar boxes and its "remove" link, and the link that adds a program chosen in
// the standard Open dialog. The rows are the page's copy of the rules until OK
// takes them over; options the page does not know ride along in each row.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/program_rules.h"
#include "render/htmlayout_api.h"

namespace ks {

// One row per rule, in order; any earlier message goes.
void ShowRuleRows(HWND window, const std::vector<ProgramRule>& rules);

// The rules of the rows; false (and rules untouched) when the page has no
// rule list.
bool ReadRuleRows(HWND window, std::vector<ProgramRule>& rules);

// A click on the group's links ("ADD_RULE", "REMOVE_RULE"); false for any
// other link. Posts the page-changed message when the rows changed.
bool OnRuleLink(HWND window, HLELEMENT link, const std::wstring& href);

// A press of a row's speed button; false for any other button. Posts the
// page-changed message when the speed changed.
bool OnRuleButton(HWND window, const std::wstring& buttonId);

}  // namespace ks
