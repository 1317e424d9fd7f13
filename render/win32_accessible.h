// The page as Microsoft Active Accessibility sees it: one IAccessible for the
// window's client area whose simple children (ids 1..n) are the page's
// controls in document order. Screen readers reach it through WM_GETOBJECT;
// UI Automation clients through Windows' MSAA proxy. The view tells it about
// focus and state changes, which it raises as WinEvents.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <vector>

#include "common/com_ptr.h"
#include "render/dom_node.h"

namespace ks::render {

// What the accessible object asks of the view that hosts it.
class AccessibleHost {
 public:
  virtual HWND accessibleWindow() const = 0;
  // The controls, laid out, as AccessibleControls gives them.
  virtual std::vector<Node*> accessibleControls() = 0;
  // The focused control while the window has the keyboard focus, else null.
  virtual Node* accessibleFocus() = 0;
  virtual void focusControl(Node& control) = 0;
  // The control's default action, run later from the window's queue so that
  // a client never waits for what it starts (a dialog, a web page).
  virtual void doDefaultAction(Node& control) = 0;
  // Border box in screen pixels; false when the control has no box.
  virtual bool screenRect(const Node& control, RECT& out) = 0;

 protected:
  ~AccessibleHost() = default;
};

class Win32Accessibility {
 public:
  explicit Win32Accessibility(AccessibleHost& host) : host_(host) {}
  ~Win32Accessibility();
  Win32Accessibility(const Win32Accessibility&) = delete;
  Win32Accessibility& operator=(const Win32Accessibility&) = delete;

  // WM_GETOBJECT: answers OBJID_CLIENT with the page object (made on the
  // first request); other objects stay with the system.
  LRESULT onGetObject(WPARAM wParam, LPARAM lParam, bool& handled);
  void focusChanged(const Node* control);
  void stateChanged(const Node& control);
  void nameChanged(const Node& control);
  // Controls came or went: clients read the children again.
  void childrenChanged();
  // The view is going away: clients holding the object get errors from now.
  void disconnect();

 private:
  LONG childId(const Node& control);
  bool presented() const;

  AccessibleHost& host_;
  ComPtr<IAccessible> object_;  // a PageAccessible
  bool comStarted_ = false;
};

}  // namespace ks::render
