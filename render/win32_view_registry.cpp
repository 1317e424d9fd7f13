#include "render/win32_view_registry.h"

#include <map>

namespace ks::render {
namespace {

// Views are created and used on their windows' threads; settings programs
// have one window, so a plain map serves.
std::map<HWND, std::shared_ptr<Win32View>>& Views() {
  static std::map<HWND, std::shared_ptr<Win32View>> views;
  return views;
}

// The window whose view is being made. Making it creates the view's tooltip,
// which sends the host window a message (WM_NOTIFYFORMAT) that comes back
// here before the view is in the map; that message must not make a view of
// its own, or each new view's tooltip asks again, dozens of views deep.
HWND g_making = nullptr;

struct Making {
  explicit Making(HWND hwnd) : outer(g_making) { g_making = hwnd; }
  ~Making() { g_making = outer; }
  Making(const Making&) = delete;
  Making& operator=(const Making&) = delete;
  HWND outer;
};

}  // namespace

std::shared_ptr<Win32View> FindView(HWND hwnd) {
  const auto it = Views().find(hwnd);
  return it == Views().end() ? nullptr : it->second;
}

std::shared_ptr<Win32View> ViewFor(HWND hwnd) {
  if (auto v = FindView(hwnd)) return v;
  if (!hwnd || hwnd == g_making || !IsWindow(hwnd)) return nullptr;
  std::shared_ptr<Win32View> v;
  {
    const Making making(hwnd);
    v = std::make_shared<Win32View>(hwnd);
  }
  Views()[hwnd] = v;
  return v;
}

void DropView(HWND hwnd) { Views().erase(hwnd); }

std::shared_ptr<Win32View> ViewOwning(const Node* element) {
  if (!element) return nullptr;
  for (auto& [hwnd, view] : Views()) {
    if (view->owns(element)) return view;
  }
  return nullptr;
}

}  // namespace ks::render
