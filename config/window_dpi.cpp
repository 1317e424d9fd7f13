#include "config/window_dpi.h"

#include "config/window_fit.h"

namespace ks {

void OnDpiChanged(HWND window, const RECT* suggested) {
  if (suggested) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // A window still hidden is fitted once its page is complete.
  if (IsWindowVisible(window)) FitWindowToPage(window);
}

}  // namespace ks
