#include "agent/tooltips/menu_tooltip.h"

#include <commctrl.h>

#include <memory>
#include <new>

#include "agent/tooltips/menu_tooltip_hook.h"
#include "agent/tooltips/menu_tooltip_placement.h"
#include "agent/tooltips/menu_tooltip_text.h"
#include "common/unique_handle.h"

namespace ks {
namespace {

constexpr DWORD kTrackedToolFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
constexpr LPARAM kMaxTipWidth = 300;
constexpr int kMaxMenuText = 1024;
constexpr DWORD kPendingPollMs = 100;

// The one tool of the control, named by the owner window. The version 2
// record is the largest every comctl32 version accepts.
TOOLINFOW OwnerTool(HWND owner, UINT flags, const wchar_t* text) noexcept {
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = flags;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(owner);
  tool.lpszText = const_cast<wchar_t*>(text);
  return tool;
}

LPARAM PointParam(POINT point) noexcept {
  const DWORD x = static_cast<WORD>(static_cast<SHORT>(point.x));
  const DWORD y = static_cast<WORD>(static_cast<SHORT>(point.y));
  return static_cast<LPARAM>(x | (y << 16));
}

TipRect ToTipRect(const RECT& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// Owned by its delay thread, which frees it.
struct MenuTooltip::DelayRequest {
  MenuTooltip* tooltip;
  UINT item;
  HMENU menu;
};

MenuTooltip::MenuTooltip() noexcept = default;

MenuTooltip::~MenuTooltip() { WaitForPendingShows(); }

void MenuTooltip::WaitForPendingShows() noexcept {
  while (InterlockedCompareExchange(&pendingShows_, 0, 0) != 0) {
    // A delay thread may be inside SendMessageW to the control, which belongs
    // to this thread when the agent ends; peeking serves such sent messages.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    Sleep(kPendingPollMs);
  }
}

int MenuTooltip::IconForItem(UINT) { return TTI_INFO; }

bool MenuTooltip::ShowAtOnce(UINT) { return false; }

void MenuTooltip::AdjustPosition(POINT&, HMENU, UINT) {}

UINT MenuTooltip::CurrentItem() const noexcept {
  return static_cast<UINT>(InterlockedCompareExchange(const_cast<LONG volatile*>(&currentItem_), 0, 0));
}

LONG MenuTooltip::PendingShows() const noexcept {
  return InterlockedCompareExchange(const_cast<LONG volatile*>(&pendingShows_), 0, 0);
}

bool MenuTooltip::CreateTooltip(HWND owner, const wchar_t* defaultText, HINSTANCE instance, DWORD extraStyle,
                                const wchar_t* title) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  if (!InitCommonControlsEx(&controls)) return false;
  instance_ = instance;
  owner_ = owner;
  tooltipWindow_ = CreateWindowExW(0, TOOLTIPS_CLASSW, L"", WS_POPUP | extraStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  if (defaultText != LPSTR_TEXTCALLBACKW) {
    lstrcpynW(defaultText_, defaultText != nullptr ? defaultText : L"No Text associated", ARRAYSIZE(defaultText_));
  }
  TOOLINFOW tool = OwnerTool(owner, kTrackedToolFlags, defaultText);
  tool.hinst = instance;
  SendMessageW(tooltipWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tooltipWindow_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
  if (title != nullptr) SetTitle(title, 0);
  if (!IsWindow(tooltipWindow_)) return false;
  InstallMenuHook(owner);
  return true;
}

void MenuTooltip::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
  if (item == 0) {
    Hide();
    return;
  }
  if ((flags & MF_POPUP) == 0 && menu != nullptr) {
    wchar_t text[kMaxMenuText + 1] = {};
    GetMenuStringW(menu, item, text, kMaxMenuText, MF_BYCOMMAND);
    SetTitle(TooltipTitleFromMenuText(text), item);
  }
  const bool menuClosed = flags == 0xFFFF && menu == nullptr;
  if ((flags & (MF_SEPARATOR | MF_POPUP)) != 0 || menuClosed) {
    Hide();
    return;
  }
  if (ShowAtOnce(item)) {
    InterlockedExchange(&currentItem_, static_cast<LONG>(item));
    ShowTip(menu, item);
    return;
  }
  Activate(false);
  StartDelayedShow(item, menu);
}

void MenuTooltip::StartDelayedShow(UINT item, HMENU menu) {
  std::unique_ptr<DelayRequest> request;
  try {
    request = std::make_unique<DelayRequest>(DelayRequest{this, item, menu});
  } catch (const std::bad_alloc&) {
    return;  // costs this one tooltip
  }
  InterlockedIncrement(&pendingShows_);
  InterlockedExchange(&currentItem_, static_cast<LONG>(item));
  const UniqueKernelHandle thread(CreateThread(nullptr, 0, DelayedShow, request.get(), 0, nullptr));
  if (thread) {
    request.release();  // the thread frees it
  } else {
    InterlockedDecrement(&pendingShows_);
  }
}

DWORD WINAPI MenuTooltip::DelayedShow(void* parameter) noexcept {
  std::unique_ptr<DelayRequest> request(static_cast<DelayRequest*>(parameter));
  MenuTooltip* const tooltip = request->tooltip;
  Sleep(kTooltipDelayMs);
  // A newer selection (or the menu closing) has replaced the item: lapse.
  if (request->item == tooltip->CurrentItem()) {
    try {
      tooltip->ShowTip(request->menu, request->item);
    } catch (...) {
      // Out of memory for a text: no tooltip this time.
    }
  }
  request.reset();
  // Last touch of the tooltip: its destructor may run from here on.
  InterlockedDecrement(&tooltip->pendingShows_);
  return 0;
}

void MenuTooltip::ShowTip(HMENU menu, UINT item) {
  if (!IsMenu(menu)) return;
  std::wstring text;
  std::wstring title;
  TextForItem(text, item, menu, title);
  const wchar_t* body = text.empty() ? defaultText_ : text.c_str();
  TOOLINFOW tool = OwnerTool(owner_, TTF_IDISHWND, body);
  SendMessageW(tooltipWindow_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!IsMenu(menu)) return;
  if (!title.empty()) SetTitle(title, item);
  PlaceTip(menu, item);
  Activate(true);
  // The size measured above was that of the previous text; placed again now
  // that the control has taken the new size, the tooltip sits flush.
  PlaceTip(menu, item);
  // The user moved on (or the menu closed) while this thread was showing the
  // tip: the main thread's hide may have run before the show, so hide again.
  if (CurrentItem() != item) Activate(false);
}

void MenuTooltip::Hide() {
  InterlockedExchange(&currentItem_, 0);
  Activate(false);
}

void MenuTooltip::SetTitle(const std::wstring& title, UINT item) {
  const std::wstring shown = ShortenTooltipTitle(title);
  SendMessageW(tooltipWindow_, TTM_SETTITLEW, static_cast<WPARAM>(IconForItem(item)),
               reinterpret_cast<LPARAM>(shown.c_str()));
}

void MenuTooltip::Activate(bool on) {
  TOOLINFOW tool = OwnerTool(owner_, TTF_IDISHWND, nullptr);
  SendMessageW(tooltipWindow_, TTM_TRACKACTIVATE, on ? TRUE : FALSE, reinterpret_cast<LPARAM>(&tool));
}

void MenuTooltip::OnEnterIdle(WPARAM reason, HWND window) {
  if (reason != MSGF_MENU) return;
  menuWindow_ = window;
  if (placedItem_ != 0) PlaceTip(placedMenu_, placedItem_);
}

void MenuTooltip::PlaceTip(HMENU menu, UINT item) {
  if (!IsWindow(menuWindow_)) return;
  placedMenu_ = menu;
  placedItem_ = item;
  RECT itemRect = {};
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    if (GetMenuItemID(menu, position) == item) {
      GetMenuItemRect(menuWindow_, menu, static_cast<UINT>(position), &itemRect);
      break;
    }
  }
  RECT tipRect = {};
  GetWindowRect(tooltipWindow_, &tipRect);
  const TipSize tip = {tipRect.right - tipRect.left, tipRect.bottom - tipRect.top};
  const ScreenSize screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const TipPoint beside =
      TipBesideItem(ToTipRect(itemRect), tip, screen, GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
  POINT point = {beside.x, beside.y};
  AdjustPosition(point, menu, item);
  SendMessageW(tooltipWindow_, TTM_TRACKPOSITION, 0, PointParam(point));
  SetWindowPos(tooltipWindow_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace ks
