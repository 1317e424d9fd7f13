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

}  // namespace

std::shared_ptr<Win32View> FindView(HWND hwnd) {
  const auto it = Views().find(hwnd);
  return it == Views().end() ? nullptr : it->second;
}

std::shared_ptr<Win32View> ViewFor(HWND hwnd) {
  if (auto v = FindView(hwnd)) return v;
  if (!hwnd || !IsWindow(hwnd)) return nullptr;
  auto v = std::make_shared<Win32View>(hwnd);
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
