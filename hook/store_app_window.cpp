#include "hook/store_app_window.h"

#include "common/ascii.h"

namespace ks {
namespace {

// The classes of the windows that host Store-app content: the UWP core
// window and its frame host, the frame's input sink and title bar, and the
// input and content bridges of XAML islands and WinUI 3. Class names compare
// without regard to letter case, as the system compares them.
constexpr const wchar_t* kStoreAppClasses[] = {
    L"Windows.UI.Core.CoreWindow",
    L"ApplicationFrameWindow",
    L"ApplicationFrameInputSinkWindow",
    L"ApplicationFrameTitleBarWindow",
    L"Windows.UI.Input.InputSite.WindowClass",
    L"Windows.UI.Composition.DesktopWindowContentBridge",
    L"Microsoft.UI.Content.DesktopChildSiteBridge",
};

bool SameIgnoringAsciiCase(const wchar_t* a, const wchar_t* b) {
  while (*a != L'\0' && AsciiLower(*a) == AsciiLower(*b)) {
    ++a;
    ++b;
  }
  return AsciiLower(*a) == AsciiLower(*b);
}

bool HasStoreAppClass(HWND window) {
  // One more than the longest name, so a longer class is cut and never matches.
  wchar_t name[64] = {};
  if (GetClassNameW(window, name, 64) == 0) return false;
  for (const wchar_t* storeClass : kStoreAppClasses) {
    if (SameIgnoringAsciiCase(name, storeClass)) return true;
  }
  return false;
}

}  // namespace

bool IsStoreAppWindow(HWND window) {
  if (window == nullptr) return false;
  if (HasStoreAppClass(window)) return true;
  const HWND root = GetAncestor(window, GA_ROOT);
  return root != nullptr && root != window && HasStoreAppClass(root);
}

}  // namespace ks
