#include "render/win32_tooltip.h"

#include <commctrl.h>

namespace ks::render {
namespace {

constexpr UINT_PTR kToolId = 1;

TOOLINFOW Tool(HWND owner, const wchar_t* text) {
  TOOLINFOW ti{};
  // The size of the structure before comctl32 6 added lpReserved, which
  // every version accepts.
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_SUBCLASS;
  ti.hwnd = owner;
  ti.uId = kToolId;
  GetClientRect(owner, &ti.rect);
  ti.lpszText = const_cast<wchar_t*>(text);
  return ti;
}

}  // namespace

Win32Tooltip::Win32Tooltip(HWND owner) : owner_(owner) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             GetModuleHandleW(nullptr), nullptr));
  if (!tip_) return;
  TOOLINFOW ti = Tool(owner_, L"");
  SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, 420);
  SendMessageW(tip_.get(), TTM_ACTIVATE, FALSE, 0);
}

Win32Tooltip::~Win32Tooltip() {
  // The system destroys a window's owned pop-ups with it.
  if (tip_ && !IsWindow(tip_.get())) tip_.release();
}

void Win32Tooltip::setText(const std::wstring& text) {
  if (!tip_ || text == text_) return;
  text_ = text;
  SendMessageW(tip_.get(), TTM_POP, 0, 0);
  TOOLINFOW ti = Tool(owner_, text_.c_str());
  SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip_.get(), TTM_ACTIVATE, text_.empty() ? FALSE : TRUE, 0);
}

void Win32Tooltip::resize() {
  if (!tip_) return;
  TOOLINFOW ti = Tool(owner_, nullptr);
  SendMessageW(tip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace ks::render
