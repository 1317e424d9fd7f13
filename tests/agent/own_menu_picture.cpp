#include "tests/agent/own_menu_picture.h"

#include "common/unique_handle.h"
#include "tests/agent/tray_user.h"

namespace ks::test {
namespace {

constexpr UINT_PTR kTimerId = 1;

struct MenuCapture {
  int ticks = 0;
  SIZE size = {};
  std::vector<DWORD> pixels;
};

MenuCapture* capture = nullptr;

// Runs inside the menu's own loop: first selects the first item, then, once
// that is drawn, takes the picture and closes the menu.
void CALLBACK OnTick(HWND owner, UINT, UINT_PTR id, DWORD) {
  const std::vector<HWND> menus = PopupMenusOf(GetCurrentProcessId());
  ++capture->ticks;
  if (menus.empty()) {
    if (capture->ticks > 50) EndMenu();
    return;
  }
  if (capture->ticks < 3) {
    if (capture->ticks == 1) PressMenuKeys(menus.front(), {VK_DOWN});
    return;
  }
  capture->pixels = CaptureWindow(menus.front(), &capture->size);
  KillTimer(owner, id);
  EndMenu();
}

}  // namespace

std::vector<DWORD> OwnMenuPicture(const std::vector<OwnMenuItem>& items, SIZE* size) {
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu) return {};
  UINT id = 1;
  for (const OwnMenuItem& item : items) {
    AppendMenuW(menu.get(), item.checked ? MF_CHECKED : MF_STRING, id++, item.text.c_str());
  }
  const UniqueWindow owner(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                           GetModuleHandleW(nullptr), nullptr));
  if (!owner) return {};
  MenuCapture result;
  capture = &result;
  SetForegroundWindow(owner.get());
  SetTimer(owner.get(), kTimerId, 150, OnTick);
  TrackPopupMenu(menu.get(), 0, 400, 300, 0, owner.get(), nullptr);
  KillTimer(owner.get(), kTimerId);
  capture = nullptr;
  if (size != nullptr) *size = result.size;
  return result.pixels;
}

}  // namespace ks::test
