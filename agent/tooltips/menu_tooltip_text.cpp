#include "agent/tooltips/menu_tooltip_text.h"

namespace ks {

std::wstring TooltipTitleFromMenuText(const std::wstring& menuText) {
  std::wstring title;
  title.reserve(menuText.size() + 2);
  for (const wchar_t c : menuText) {
    if (c != L'&') title.push_back(c);
  }
  const std::size_t tab = title.find(L'\t');
  if (tab == std::wstring::npos || tab == 0) return title;
  return title.substr(0, tab) + L"\t[" + title.substr(tab + 1) + L"]";
}

std::wstring ShortenTooltipTitle(const std::wstring& title) {
  if (title.size() <= kMaxTooltipTitle) return title;
  return title.substr(0, kMaxTooltipTitle) + L"\u2026";
}

std::wstring TooltipBodyFromString(const std::wstring& text) {
  const std::size_t lineBreak = text.find(L'\n');
  if (lineBreak == std::wstring::npos || lineBreak == 0) return text;
  return text.substr(0, lineBreak);
}

}  // namespace ks
