// The view's side of accessibility: what the page's accessible object asks
// of it, and the default actions it runs from the window's queue.
#include <algorithm>

#include "render/dom_controls.h"
#include "render/page_accessibility.h"
#include "render/win32_view.h"

namespace ks::render {
namespace {

UINT DefaultActionMessage() {
  static const UINT message = RegisterWindowMessageW(L"Kestrow.Renderer.AccessibleDefaultAction");
  return message;
}

}  // namespace

std::vector<Node*> Win32View::accessibleControls() {
  ensureLayout();
  return AccessibleControls(root());
}

Node* Win32View::accessibleFocus() { return GetFocus() == hwnd_ ? focus_.get() : nullptr; }

void Win32View::focusControl(Node& control) {
  if (!page_.attached(control)) return;
  // Focus moved by assistive technology is shown like focus moved by Tab.
  keyboardCues_ = true;
  setFocusTo(&control, false);
  if (Node* now = focus_.get()) {
    page_.setState(*now, kStateFocus, 0);
    scrollIntoView(*now);
  }
  invalidate();
}

void Win32View::doDefaultAction(Node& control) {
  const UINT message = DefaultActionMessage();
  if (message == 0) return;
  control.use();
  pendingActions_.push_back(&control);
  if (!PostMessageW(hwnd_, message, 0, 0)) runDefaultActions();
}

void Win32View::runDefaultActions() {
  std::vector<Node*> actions;
  actions.swap(pendingActions_);
  for (Node* control : actions) {
    // A page loaded meanwhile has other controls: the action is dropped.
    if (page_.attached(*control)) activate(*control, control, HL_BY_KEY);
    control->unuse();
  }
  page_.collectRemoved();
}

bool Win32View::screenRect(const Node& control, RECT& out) {
  if (!location(control, HL_VIEW_RELATIVE | HL_BORDER_BOX, out)) return false;
  MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&out), 2);
  return true;
}

void Win32View::stateChanged(const Node& element) { accessibility_.stateChanged(element); }

void Win32View::contentChanged(Node& element, bool hadControls) {
  if (hadControls || ContainsControl(element)) {
    accessibility_.childrenChanged();
  } else if (const Node* control = ControlAncestor(&element)) {
    accessibility_.nameChanged(*control);
  }
}

bool Win32View::onAccessibilityMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_GETOBJECT) {
    bool handled = false;
    result = accessibility_.onGetObject(wParam, lParam, handled);
    return handled;
  }
  if (msg != 0 && msg == DefaultActionMessage()) {
    runDefaultActions();
    result = 0;
    return true;
  }
  return false;
}

}  // namespace ks::render
