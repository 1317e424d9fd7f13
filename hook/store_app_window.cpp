#include "hook/store_app_window.h"

#include "hook/class_name.h"

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

}  // namespace

bool IsStoreAppWindow(HWND window) {
  if (window == nullptr) return false;
  if (HasClassName(window, kStoreAppClasses)) return true;
  const HWND root = GetAncestor(window, GA_ROOT);
  return root != nullptr && root != window && HasClassName(root, kStoreAppClasses);
}

}  // namespace ks
