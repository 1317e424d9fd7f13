#include "config/element_query.h"

#include <algorithm>
#include <string>

#include "config/page_elements.h"
#include "render/htmlayout_api.h"

namespace ks {
namespace {

constexpr DWORD kMaxIdBytes = 256;

LRESULT Pack(LONG low, LONG high) {
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high)));
}

}  // namespace

bool AnswerElementQuery(HWND window, const COPYDATASTRUCT& data, LRESULT& answer) {
  if (data.dwData != kQueryElementPoint && data.dwData != kQueryElementSize && data.dwData != kQueryElementState) {
    return false;
  }
  answer = kNoSuchElement;
  if (data.lpData == nullptr || data.cbData == 0 || data.cbData > kMaxIdBytes || data.cbData % 2 != 0) return true;
  const std::wstring id(static_cast<const wchar_t*>(data.lpData), data.cbData / 2);
  const ElementRef element = FindElementById(window, id.c_str());
  if (!element) return true;

  if (data.dwData == kQueryElementState) {
    UINT state = 0;
    if (HTMLayoutGetElementState(element.get(), &state) == HL_OK) answer = static_cast<LRESULT>(state);
    return true;
  }
  RECT box{};
  const UINT area = HL_VIEW_RELATIVE | (data.dwData == kQueryElementSize ? HL_BORDER_BOX : HL_CONTENT_BOX);
  if (HTMLayoutGetElementLocation(element.get(), &box, area) != HL_OK) return true;
  if (data.dwData == kQueryElementSize) {
    answer = Pack(box.right - box.left, box.bottom - box.top);
  } else {
    // Near the start of the first line, where a check box has its mark.
    const LONG dx = std::min<LONG>(6, (box.right - box.left) / 2);
    const LONG dy = std::min<LONG>(6, (box.bottom - box.top) / 2);
    answer = Pack(box.left + dx, box.top + dy);
  }
  return true;
}

}  // namespace ks
