#include "config/page_fragments.h"

#include "config/page_elements.h"
#include "config/wide_utf8.h"
#include "render/htmlayout_api.h"

namespace ks {
namespace {

// 32 rows of the longest names and every option a settings file section can
// hand the rules, escaped, with room to spare: more would empty the list.
constexpr size_t kMaxContentBytes = 1 << 22;

}  // namespace

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

std::wstring PageText(HWND window, const wchar_t* id, const wchar_t* fallback) {
  const ElementRef element = FindElementById(window, id);
  if (!element) return fallback;
  const std::wstring text = FromUtf8(ElementInnerText(element.get()));
  return text.empty() ? std::wstring(fallback) : text;
}

std::wstring LocalizedSpan(const wchar_t* locid, const std::wstring& text) {
  return L"<span locid=\"" + std::wstring(locid) + L"\">" + EscapeHtml(text) + L"</span>";
}

void ReplaceContent(HWND window, const wchar_t* id, const std::wstring& html, Measure measure) {
  const ElementRef element = FindElementById(window, id);
  if (!element) return;
  ReplaceElementHtml(element.get(), html, kMaxContentBytes);
  if (measure == Measure::Now) HTMLayoutUpdateElement(element.get(), TRUE);
}

}  // namespace ks
