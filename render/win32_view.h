// The renderer's state for one host window and the window's behaviour: the
// page, its loading through the host's load-data answers, scale, scrolling,
// hover, pressed and focused controls, tooltips, painting, and the events
// raised to the host's handlers before the renderer acts on its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/htmlayout_api.h"
#include "render/page_view.h"
#include "render/paint_forced_colors.h"
#include "render/win32_accessible.h"
#include "render/win32_container.h"
#include "render/win32_gdiplus_session.h"
#include "render/win32_scroll.h"
#include "render/win32_tooltip.h"

namespace ks::render {

inline HLELEMENT ToHandle(Node* node) { return reinterpret_cast<HLELEMENT>(node); }
inline Node* FromHandle(HLELEMENT he) { return reinterpret_cast<Node*>(he); }

class Win32View final : public AccessibleHost {
 public:
  explicit Win32View(HWND hwnd);
  ~Win32View();
  Win32View(const Win32View&) = delete;
  Win32View& operator=(const Win32View&) = delete;

  HWND window() const { return hwnd_; }
  PageView& page() { return page_; }
  Node& root() { return page_.document().root(); }

  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  // The window is going away: handlers hear that they are detached.
  void shutdown();

  void setCallback(HLNotifyProc proc, void* param);
  void attachHandler(HLEventProc proc, void* tag, UINT subscription);
  bool detachHandler(HLEventProc proc, void* tag);

  void loadHtml(std::string_view utf8);
  void dataReady(const std::string& uri, std::string_view bytes, bool found);

  // Device pixels.
  int minWidth();
  int maxWidth();
  int minHeight(int width);
  bool location(const Node& element, UINT area, RECT& out);

  // An element handle is good while its element is in the page or pinned.
  bool owns(const Node* element);
  void use(Node& element);
  bool unuse(Node& element);

  // After the host changed content or state: request new images, lay out
  // again (now when measureNow) and repaint (now when paintNow).
  void changed(bool measureNow, bool paintNow);
  // The host changed an element's state: assistive technology hears of it.
  void stateChanged(const Node& element);
  // The host replaced the element's content; hadControls tells whether
  // controls were below it before.
  void contentChanged(Node& element, bool hadControls);

  // AccessibleHost (win32_view_accessibility.cpp).
  HWND accessibleWindow() const override { return hwnd_; }
  std::vector<Node*> accessibleControls() override;
  Node* accessibleFocus() override;
  void focusControl(Node& control) override;
  void doDefaultAction(Node& control) override;
  bool screenRect(const Node& control, RECT& out) override;

 private:
  // A node the view refers to across messages, pinned so that a content
  // change cannot free it under the view.
  class Pin {
   public:
    explicit Pin(Win32View& view) : view_(view) {}
    ~Pin() { set(nullptr); }
    Pin(const Pin&) = delete;
    Pin& operator=(const Pin&) = delete;
    void set(Node* node);
    // Null when the node has left the page.
    Node* get() const;

   private:
    Win32View& view_;
    Node* node_ = nullptr;
  };

  struct Handler {
    HLEventProc proc;
    void* tag;
    UINT subscription;
  };
  struct Behavior {
    Node* element;
    HLEventProc proc;
    void* tag;
  };
  struct Request {
    std::string uri;
    UINT type;
    enum class State { Pending, Delayed, Done } state;
  };

  // Events.
  bool raise(UINT group, void* params, Node* target, bool sinking = false);
  bool raiseBehavior(UINT code, Node& target, Node* source, UINT_PTR reason);
  void activate(Node& control, Node* source, UINT reason);

  // Loading.
  void pump();
  void sendLoadData(const std::string& uri, UINT type);
  Request* findRequest(std::string_view uri);
  void attachBehaviors();
  void checkComplete();
  UINT notify(HLNotifyHeader& header);

  // Geometry and input.
  float scale() const { return container_.scale(); }
  int cssWidth() const;
  void ensureLayout();
  void readScale();
  Node* hitAt(POINT client);
  void setHover(Node* control, Node* hit);
  void setFocusTo(Node* control, bool byMouse);
  void setPressed(Node* control);
  // The scroll bars follow the page's extent and the client area.
  void updateScroll();
  void scrollIntoView(const Node& element);
  void invalidate();

  // Messages.
  LRESULT onPaint();
  LRESULT onMouse(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  LRESULT onKeyDown(WPARAM key, LPARAM lParam, bool& handled);
  LRESULT onKeyUp(WPARAM key, bool& handled);
  bool onSetCursor(LPARAM lParam);
  // WM_GETOBJECT and the queued default actions of assistive technology.
  bool onAccessibilityMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void runDefaultActions();

  HWND hwnd_;
  GdiplusSession gdiplus_;
  Win32Container container_;
  PageView page_;
  Win32Tooltip tooltip_;

  HLNotifyProc callback_ = nullptr;
  void* callbackParam_ = nullptr;
  std::vector<Handler> handlers_;
  std::vector<Behavior> behaviors_;
  std::vector<Node*> pins_;  // one entry per host Use

  std::vector<Request> requests_;
  unsigned loadSerial_ = 0;
  bool loaded_ = false;
  bool completeSent_ = false;
  bool pumping_ = false;
  bool repump_ = false;

  Pin hover_{*this};
  Pin focus_{*this};
  Pin pressed_{*this};
  Pin spaceDown_{*this};
  bool windowFocused_ = false;
  bool keyboardCues_ = false;  // focus marks show once the keyboard was used
  bool tracking_ = false;
  std::vector<WPARAM> swallowKeyUp_;
  Win32Scroll scroll_{hwnd_};
  bool updatingScroll_ = false;
  std::optional<ForcedColors> highContrast_;  // the system's colours while a high-contrast theme is on

  Win32Accessibility accessibility_{*this};
  std::vector<Node*> pendingActions_;  // pinned until their action has run
};

}  // namespace ks::render
