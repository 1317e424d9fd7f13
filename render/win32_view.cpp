#include "render/win32_view.h"

#include <windowsx.h>

#include "render/win32_gdiplus.h"

#include <algorithm>
#include <cmath>

#include "common/unique_handle.h"
#include "render/dom_controls.h"
#include "render/layout_saturating.h"
#include "render/text_utf8.h"
#include "render/win32_painter.h"
#include "render/win32_system_colors.h"
#include "render/win32_window_dpi.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace ks::render {
namespace {

// Pages nest imports and images a few levels deep at most; the bound only
// stops a host that keeps answering with new requests.
constexpr int kMaxLoadRounds = 64;

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

void Win32View::Pin::set(Node* node) {
  if (node == node_) return;
  if (node) node->use();
  Node* old = node_;
  node_ = node;
  if (old) {
    old->unuse();
    view_.page_.collectRemoved();
  }
}

Node* Win32View::Pin::get() const { return node_ && view_.page_.attached(*node_) ? node_ : nullptr; }

Win32View::Win32View(HWND hwnd) : hwnd_(hwnd), page_(container_), tooltip_(hwnd) {
  readScale();
  highContrast_ = HighContrastColors();
  windowFocused_ = GetFocus() == hwnd_;
}

Win32View::~Win32View() = default;

void Win32View::shutdown() {
  accessibility_.disconnect();
  std::vector<Handler> handlers;
  handlers.swap(handlers_);
  HLInitParams p{HL_INIT_DETACHED};
  for (const Handler& h : handlers) h.proc(h.tag, ToHandle(&root()), HL_GROUP_INITIALIZATION, &p);
  callback_ = nullptr;
}

// ---- Host wiring ----------------------------------------------------------

void Win32View::setCallback(HLNotifyProc proc, void* param) {
  callback_ = proc;
  callbackParam_ = param;
}

void Win32View::attachHandler(HLEventProc proc, void* tag, UINT subscription) {
  for (Handler& h : handlers_) {
    if (h.proc == proc && h.tag == tag) {
      h.subscription = subscription;
      return;
    }
  }
  handlers_.push_back(Handler{proc, tag, subscription});
  HLInitParams p{HL_INIT_ATTACHED};
  proc(tag, ToHandle(&root()), HL_GROUP_INITIALIZATION, &p);
}

bool Win32View::detachHandler(HLEventProc proc, void* tag) {
  const auto it = std::find_if(handlers_.begin(), handlers_.end(),
                               [&](const Handler& h) { return h.proc == proc && h.tag == tag; });
  if (it == handlers_.end()) return false;
  handlers_.erase(it);
  HLInitParams p{HL_INIT_DETACHED};
  proc(tag, ToHandle(&root()), HL_GROUP_INITIALIZATION, &p);
  return true;
}

UINT Win32View::notify(HLNotifyHeader& header) {
  if (!callback_) return 0;
  header.window = hwnd_;
  return callback_(&header, callbackParam_);
}

// ---- Events -----------------------------------------------------------------

bool Win32View::raise(UINT group, void* params, Node* target, bool sinking) {
  // Behaviours sit on elements, window handlers on the root: sinking events
  // reach the window handlers first, bubbling ones last.
  std::vector<Behavior> chain;
  for (Node* n = target; n; n = n->parent()) {
    for (const Behavior& b : behaviors_) {
      if (b.element == n) chain.push_back(b);
    }
  }
  if (sinking) std::reverse(chain.begin(), chain.end());
  const std::vector<Handler> handlers = handlers_;
  const auto windowHandlers = [&] {
    for (const Handler& h : handlers) {
      if (group != HL_GROUP_INITIALIZATION && (h.subscription & group) == 0) continue;
      if (h.proc(h.tag, ToHandle(&root()), group, params)) return true;
    }
    return false;
  };
  if (sinking && windowHandlers()) return true;
  for (const Behavior& b : chain) {
    if (b.proc(b.tag, ToHandle(b.element), group, params)) return true;
  }
  return !sinking && windowHandlers();
}

bool Win32View::raiseBehavior(UINT code, Node& target, Node* source, UINT_PTR reason) {
  HLBehaviorParams p{code | HL_SINKING, ToHandle(&target), ToHandle(source ? source : &target), reason};
  if (raise(HL_GROUP_BEHAVIOR_EVENT, &p, &target, true)) return true;
  p.cmd = code;
  return raise(HL_GROUP_BEHAVIOR_EVENT, &p, &target, false);
}

void Win32View::activate(Node& control, Node* source, UINT reason) {
  // Handlers may change the page; the pins keep both nodes alive meanwhile.
  Pin keepControl(*this);
  keepControl.set(&control);
  Pin keepSource(*this);
  keepSource.set(source);
  const ControlKind kind = ControlKindOf(control);
  const UINT clickCode = kind == ControlKind::Link ? HL_HYPERLINK_CLICK : HL_BUTTON_CLICK;
  if (raiseBehavior(clickCode, control, source, reason) || !keepControl.get()) return;
  if (kind == ControlKind::Link) {
    page_.setState(control, kStateVisited, 0);
  } else if (kind == ControlKind::CheckBox || kind == ControlKind::Radio) {
    const bool checked = (control.state() & kStateChecked) != 0;
    if (kind == ControlKind::Radio && checked) return;
    const std::uint32_t next = checked ? (control.state() & ~kStateChecked) : (control.state() | kStateChecked);
    if (raiseBehavior(HL_BUTTON_STATE_CHANGED, control, source, next) || !keepControl.get()) return;
    if (kind == ControlKind::Radio) {
      // Radios of one name form a group with one checked member.
      const std::string name(control.attributeOr("name", ""));
      Document::VisitElements(root(), [&](Node& n) {
        if (&n != &control && ControlKindOf(n) == ControlKind::Radio && n.attributeOr("name", "") == name) {
          page_.setState(n, 0, kStateChecked);
        }
        return true;
      });
    }
    page_.setState(control, checked ? 0u : std::uint32_t{kStateChecked}, checked ? std::uint32_t{kStateChecked} : 0u);
    accessibility_.stateChanged(control);
  }
  invalidate();
}

// ---- Loading ------------------------------------------------------------------

void Win32View::loadHtml(std::string_view utf8) {
  hover_.set(nullptr);
  focus_.set(nullptr);
  pressed_.set(nullptr);
  spaceDown_.set(nullptr);
  tooltip_.setText({});
  behaviors_.clear();
  requests_.clear();
  container_.clearImages();
  ++loadSerial_;
  loaded_ = true;
  completeSent_ = false;
  scroll_.reset();
  page_.loadHtml(utf8);
  accessibility_.childrenChanged();
  attachBehaviors();
  pump();
  invalidate();
}

void Win32View::attachBehaviors() {
  std::vector<Node*> elements;
  Document::VisitElements(root(), [&](Node& n) {
    if (n.attribute("behavior")) elements.push_back(&n);
    return true;
  });
  const unsigned serial = loadSerial_;
  for (Node* n : elements) {
    const std::string name(n->attributeOr("behavior", ""));
    HLAttachBehaviorNotify note{};
    note.header.code = HLN_ATTACH_BEHAVIOR;
    note.element = ToHandle(n);
    note.behaviorName = name.c_str();
    notify(note.header);
    if (serial != loadSerial_) return;  // the host loaded another page meanwhile
    if (note.proc) behaviors_.push_back(Behavior{n, note.proc, note.procTag});
  }
}

Win32View::Request* Win32View::findRequest(std::string_view uri) {
  for (Request& r : requests_) {
    if (r.uri == uri) return &r;
  }
  return nullptr;
}

void Win32View::pump() {
  if (pumping_) {
    repump_ = true;
    return;
  }
  pumping_ = true;
  bool requested = false;
  for (int round = 0; round < kMaxLoadRounds; ++round) {
    repump_ = false;
    std::vector<std::pair<std::string, UINT>> wanted;
    for (std::string& url : page_.pendingStyleSheets()) {
      if (!findRequest(url)) wanted.emplace_back(std::move(url), HL_DATA_STYLE);
    }
    Document::VisitElements(root(), [&](Node& n) {
      if (n.tag() != Tag::Img) return true;
      const std::string_view src = n.attributeOr("src", "");
      if (!src.empty() && !findRequest(src) && !container_.image(src) &&
          std::none_of(wanted.begin(), wanted.end(), [&](const auto& w) { return w.first == src; })) {
        wanted.emplace_back(std::string(src), HL_DATA_IMAGE);
      }
      return true;
    });
    for (const auto& w : wanted) requests_.push_back(Request{w.first, w.second, Request::State::Pending});
    requested = requested || !wanted.empty();
    const unsigned serial = loadSerial_;
    for (const auto& w : wanted) {
      if (serial != loadSerial_) break;
      sendLoadData(w.first, w.second);
    }
    if (wanted.empty() && !repump_) break;
  }
  pumping_ = false;
  // Every change of the page pumps: only one that asked for files may have
  // changed what is laid out.
  if (requested) page_.invalidateLayout();
  invalidate();
  checkComplete();
}

void Win32View::sendLoadData(const std::string& uri, UINT type) {
  const std::u16string wide = Utf8ToUtf16(uri);
  HLLoadDataNotify note{};
  note.header.code = HLN_LOAD_DATA;
  note.uri = reinterpret_cast<const WCHAR*>(wide.c_str());
  note.dataType = type;
  const UINT answer = notify(note.header);
  Request* r = findRequest(uri);
  if (!r || r->state != Request::State::Pending) return;  // answered inside the callback
  if (note.outData && note.outDataSize > 0) {
    const std::string bytes(reinterpret_cast<const char*>(note.outData), note.outDataSize);
    dataReady(uri, bytes, true);
  } else if (answer == HL_LOAD_DELAYED) {
    r->state = Request::State::Delayed;
  } else {
    dataReady(uri, {}, false);
  }
}

void Win32View::dataReady(const std::string& uri, std::string_view bytes, bool found) {
  Request* r = findRequest(uri);
  UINT type = HL_DATA_IMAGE;
  if (r) {
    type = r->type;
    r->state = Request::State::Done;
  } else {
    const std::vector<std::string> sheets = page_.pendingStyleSheets();
    if (std::find(sheets.begin(), sheets.end(), uri) != sheets.end()) type = HL_DATA_STYLE;
  }
  bool ok = found && !bytes.empty();
  if (type == HL_DATA_STYLE) {
    page_.supplyStyleSheet(uri, bytes, ok);
  } else if (ok) {
    ok = container_.addImage(uri, bytes);
    page_.invalidateLayout();
  }
  if (ok) {
    const std::u16string wide = Utf8ToUtf16(uri);
    HLDataLoadedNotify note{};
    note.header.code = HLN_DATA_LOADED;
    note.uri = reinterpret_cast<const WCHAR*>(wide.c_str());
    note.dataType = type;
    note.data = reinterpret_cast<const BYTE*>(bytes.data());
    note.dataSize = static_cast<UINT>(bytes.size());
    notify(note.header);
  }
  pump();
}

void Win32View::checkComplete() {
  if (!loaded_ || completeSent_ || pumping_) return;
  if (std::any_of(requests_.begin(), requests_.end(),
                  [](const Request& r) { return r.state != Request::State::Done; })) {
    return;
  }
  completeSent_ = true;
  HLNotifyHeader header{HLN_DOCUMENT_COMPLETE, hwnd_};
  notify(header);
}

// ---- Geometry -------------------------------------------------------------------

void Win32View::readScale() {
  container_.setScale(static_cast<float>(WindowDpi(hwnd_)) / static_cast<float>(USER_DEFAULT_SCREEN_DPI));
}

int Win32View::cssWidth() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return static_cast<int>(std::floor(static_cast<float>(rc.right - rc.left) / scale()));
}

void Win32View::ensureLayout() { page_.layout(cssWidth()); }

int Win32View::minWidth() { return static_cast<int>(std::ceil(static_cast<float>(page_.minWidth()) * scale())); }

int Win32View::maxWidth() { return static_cast<int>(std::ceil(static_cast<float>(page_.maxWidth()) * scale())); }

int Win32View::minHeight(int width) {
  const int css = static_cast<int>(std::floor(static_cast<float>(std::max(0, width)) / scale()));
  return static_cast<int>(std::ceil(static_cast<float>(page_.minHeight(css)) * scale()));
}

bool Win32View::location(const Node& element, UINT area, RECT& out) {
  if (!page_.attached(element)) return false;
  Rect rootBox;
  if (!page_.borderBox(root(), rootBox)) {
    ensureLayout();
    if (!page_.borderBox(root(), rootBox)) return false;
  }
  Rect r;
  const bool found = (area & HL_BORDER_BOX) ? page_.borderBox(element, r) : page_.contentBox(element, r);
  if (!found) return false;
  float dx = 0;
  float dy = 0;
  if (area & HL_ROOT_RELATIVE) {
    dx = static_cast<float>(-rootBox.x);
    dy = static_cast<float>(-rootBox.y);
  } else {
    dx = static_cast<float>(-scroll_.x());
    dy = static_cast<float>(-scroll_.y());
  }
  const float s = scale();
  // Saturated: a page far taller than any screen still gives valid pixels.
  out.left = RoundPx(static_cast<double>(std::floor((static_cast<float>(r.x) + dx) * s)));
  out.top = RoundPx(static_cast<double>(std::floor((static_cast<float>(r.y) + dy) * s)));
  out.right = RoundPx(static_cast<double>(std::ceil((static_cast<float>(AddPx(r.x, r.w)) + dx) * s)));
  out.bottom = RoundPx(static_cast<double>(std::ceil((static_cast<float>(AddPx(r.y, r.h)) + dy) * s)));
  return true;
}

bool Win32View::owns(const Node* element) {
  if (!element) return false;
  if (std::find(pins_.begin(), pins_.end(), element) != pins_.end()) return true;
  // Compared by address only: a stale handle is never dereferenced.
  bool found = false;
  Document::VisitElements(root(), [&](Node& n) {
    found = &n == element;
    return !found;
  });
  return found;
}

void Win32View::use(Node& element) {
  element.use();
  pins_.push_back(&element);
}

bool Win32View::unuse(Node& element) {
  const auto it = std::find(pins_.begin(), pins_.end(), &element);
  if (it == pins_.end()) return false;
  pins_.erase(it);
  element.unuse();
  page_.collectRemoved();
  return true;
}

void Win32View::changed(bool measureNow, bool paintNow) {
  if (!pumping_) pump();
  // Measured now, the scroll bars follow at once; otherwise at the next paint,
  // which is also when a hidden window's bars matter first: a host filling
  // its page before showing it lays it out once, not once per change.
  if (measureNow && IsWindowVisible(hwnd_)) updateScroll();
  invalidate();
  if (paintNow) UpdateWindow(hwnd_);
}

void Win32View::invalidate() { InvalidateRect(hwnd_, nullptr, FALSE); }

Node* Win32View::hitAt(POINT client) {
  ensureLayout();
  const float s = scale();
  return page_.hitTest(AddPx(static_cast<int>(std::floor(static_cast<float>(client.x) / s)), scroll_.x()),
                       AddPx(static_cast<int>(std::floor(static_cast<float>(client.y) / s)), scroll_.y()));
}

void Win32View::updateScroll() {
  // Showing or hiding a bar changes the client area and with it the layout
  // (and resizes the window under this call): a few rounds settle it.
  if (updatingScroll_) return;
  updatingScroll_ = true;
  for (int round = 0; round < 4; ++round) {
    ensureLayout();
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    const int viewWidth = static_cast<int>(static_cast<float>(rc.right) / scale());
    const int viewHeight = static_cast<int>(static_cast<float>(rc.bottom) / scale());
    if (!scroll_.setExtent(page_.contentWidth(), page_.contentHeight(), viewWidth, viewHeight)) break;
  }
  updatingScroll_ = false;
}

void Win32View::scrollIntoView(const Node& element) {
  Rect r;
  if (!page_.borderBox(element, r)) return;
  if (scroll_.reveal(r.x, r.y, r.w, r.h)) invalidate();
}

void Win32View::setHover(Node* control, Node* hit) {
  Node* old = hover_.get();
  if (old != control) {
    if (old) page_.setState(*old, 0, kStateHover);
    if (control) page_.setState(*control, kStateHover, 0);
    hover_.set(control);
    invalidate();
  }
  std::wstring title;
  for (Node* n = hit; n; n = n->parent()) {
    if (const std::string* t = n->attribute("title")) {
      const std::u16string wide = Utf8ToUtf16(*t);
      title.assign(wide.begin(), wide.end());
      break;
    }
  }
  tooltip_.setText(title);
}

void Win32View::setFocusTo(Node* control, bool byMouse) {
  Node* old = focus_.get();
  if (old == control) return;
  Pin keepOld(*this);
  keepOld.set(old);
  if (old) page_.setState(*old, 0, kStateFocus);
  focus_.set(control);
  if (control && keyboardCues_) page_.setState(*control, kStateFocus, 0);
  if (old) {
    HLFocusParams p{HL_FOCUS_LOST, ToHandle(old), byMouse};
    raise(HL_GROUP_FOCUS, &p, old);
  }
  if (Node* now = focus_.get()) {
    HLFocusParams p{HL_FOCUS_GOT, ToHandle(now), byMouse};
    raise(HL_GROUP_FOCUS, &p, now);
  }
  accessibility_.focusChanged(focus_.get());
  invalidate();
}

void Win32View::setPressed(Node* control) {
  if (Node* old = pressed_.get()) page_.setState(*old, 0, kStateActive);
  pressed_.set(control);
  if (control) page_.setState(*control, kStateActive, 0);
  invalidate();
}

// ---- Messages -------------------------------------------------------------------

LRESULT Win32View::handleMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  handled = false;
  if (LRESULT result = 0; onAccessibilityMessage(msg, wp, lp, result)) {
    handled = true;
    return result;
  }
  switch (msg) {
    case WM_PAINT: handled = true; return onPaint();
    case WM_ERASEBKGND:
      handled = true;  // every pixel is painted in WM_PAINT
      return 1;
    case WM_SIZE: {
      tooltip_.resize();
      updateScroll();
      invalidate();
      raise(HL_GROUP_SIZE, nullptr, &root());
      return 0;
    }
    case WM_DPICHANGED: {
      container_.setScale(static_cast<float>(LOWORD(wp)) / 96.0f);
      page_.invalidateLayout();
      invalidate();
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      handled = true;
      if (scroll_.onScrollBar(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, wp)) invalidate();
      return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // A high-contrast theme switched on or off, or its colours changed.
      highContrast_ = HighContrastColors();
      invalidate();
      return 0;
    case WM_GETDLGCODE:
      // In a dialog the page wants Tab, Enter and Escape for itself.
      handled = true;
      return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case WM_SETCURSOR: handled = onSetCursor(lp); return handled ? TRUE : FALSE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_MOUSELEAVE: return onMouse(msg, wp, lp, handled);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd_) setPressed(nullptr);
      return 0;
    case WM_KEYDOWN: return onKeyDown(wp, lp, handled);
    case WM_KEYUP: return onKeyUp(wp, handled);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The focus mark shows only while the window has the focus.
      windowFocused_ = msg == WM_SETFOCUS;
      if (windowFocused_ && focus_.get()) accessibility_.focusChanged(focus_.get());
      invalidate();
      return 0;
    default: return 0;
  }
}

LRESULT Win32View::onPaint() {
  // Before the paint starts: a bar shown or hidden now changes the client area.
  updateScroll();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  ScopeExit endPaint([&] { EndPaint(hwnd_, &ps); });
  if (!dc) return 0;
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const int w = rc.right - rc.left;
  const int h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return 0;
  ensureLayout();
  std::vector<PaintOp> ops = page_.paint();
  if (highContrast_) ApplyForcedColors(ops, *highContrast_);

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down rows, as GDI+ expects them
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueGdiObject dib(CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  HDC memory = CreateCompatibleDC(dc);
  if (!dib || !bits || !memory) {
    if (memory) DeleteDC(memory);
    return 0;
  }
  ScopeExit deleteMemory([&] { DeleteDC(memory); });
  HGDIOBJ previous = SelectObject(memory, dib.get());
  ScopeExit restore([&] { SelectObject(memory, previous); });
  {
    Gdiplus::Bitmap surface(w, h, w * 4, PixelFormat32bppRGB, static_cast<BYTE*>(bits));
    Gdiplus::Graphics g(&surface);
    g.Clear(Gdiplus::Color(static_cast<Gdiplus::ARGB>(highContrast_ ? highContrast_->window : 0xFFFFFFFFu)));
    PaintSettings settings;
    settings.forced = highContrast_ ? &*highContrast_ : nullptr;
    settings.scale = scale();
    settings.scrollX = scroll_.x();
    settings.scrollY = scroll_.y();
    settings.showFocus = windowFocused_;
    PaintPage(g, ops, container_, settings);
  }
  BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
  return 0;
}

bool Win32View::onSetCursor(LPARAM lp) {
  if (LOWORD(lp) != HTCLIENT) return false;
  POINT pt{};
  GetCursorPos(&pt);
  ScreenToClient(hwnd_, &pt);
  const Node* hit = hitAt(pt);
  LPCWSTR cursor = IDC_ARROW;
  if (hit && hit->style) {
    switch (hit->style->cursor) {
      case Cursor::Pointer: cursor = IDC_HAND; break;
      case Cursor::Text: cursor = IDC_IBEAM; break;
      case Cursor::Move: cursor = IDC_SIZEALL; break;
      case Cursor::Wait: cursor = IDC_WAIT; break;
      case Cursor::Help: cursor = IDC_HELP; break;
      case Cursor::Crosshair: cursor = IDC_CROSS; break;
      default: break;
    }
  }
  SetCursor(LoadCursorW(nullptr, cursor));
  return true;
}

LRESULT Win32View::onMouse(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const bool wheel = msg == WM_MOUSEWHEEL || msg == WM_MOUSEHWHEEL;
  if (wheel) ScreenToClient(hwnd_, &pt);
  Node* hit = msg == WM_MOUSELEAVE ? nullptr : hitAt(pt);
  Pin keepHit(*this);
  keepHit.set(hit);

  HLMouseParams p{};
  switch (msg) {
    case WM_MOUSEMOVE: p.cmd = HL_MOUSE_MOVE; break;
    case WM_LBUTTONDOWN: p.cmd = HL_MOUSE_DOWN; break;
    case WM_LBUTTONUP: p.cmd = HL_MOUSE_UP; break;
    case WM_LBUTTONDBLCLK: p.cmd = HL_MOUSE_DCLICK; break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: p.cmd = HL_MOUSE_WHEEL; break;
    default: p.cmd = HL_MOUSE_LEAVE; break;
  }
  p.target = ToHandle(hit);
  p.pos = pt;
  p.buttons = static_cast<UINT>(wheel ? GET_KEYSTATE_WPARAM(wp) : wp);
  p.wheelDelta = wheel ? GET_WHEEL_DELTA_WPARAM(wp) : 0;
  if (raise(HL_GROUP_MOUSE, &p, hit)) {
    handled = true;
    return 0;
  }
  hit = keepHit.get();
  Node* control = ControlAncestor(hit);

  switch (msg) {
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&tme) != FALSE;
      }
      setHover(control, hit);
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      setHover(nullptr, nullptr);
      return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      handled = scroll_.onWheel(GET_WHEEL_DELTA_WPARAM(wp), msg == WM_MOUSEHWHEEL);
      if (handled) invalidate();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A press beside the controls stays with the host (it drags the window).
      if (!control) return 0;
      handled = true;
      if (GetFocus() != hwnd_) SetFocus(hwnd_);
      setFocusTo(control, true);
      setPressed(control);
      SetCapture(hwnd_);
      return 0;
    case WM_LBUTTONUP: {
      Node* pressed = pressed_.get();
      if (!pressed) return 0;
      handled = true;
      Pin keep(*this);
      keep.set(pressed);
      setPressed(nullptr);
      if (GetCapture() == hwnd_) ReleaseCapture();
      if (control == pressed) activate(*pressed, hit, HL_BY_MOUSE);
      return 0;
    }
    default: return 0;
  }
}

LRESULT Win32View::onKeyDown(WPARAM key, LPARAM lp, bool& handled) {
  Node* focused = focus_.get();
  HLKeyParams p{HL_KEY_DOWN,
                ToHandle(focused ? focused : &root()),
                static_cast<UINT>(key),
                KeyDown(VK_SHIFT),
                KeyDown(VK_CONTROL),
                KeyDown(VK_MENU)};
  const auto swallowUp = [&] {
    handled = true;
    if (std::find(swallowKeyUp_.begin(), swallowKeyUp_.end(), key) == swallowKeyUp_.end()) swallowKeyUp_.push_back(key);
  };
  if (raise(HL_GROUP_KEY, &p, focused)) {
    swallowUp();
    return 0;
  }
  focused = focus_.get();
  const ControlKind kind = focused ? ControlKindOf(*focused) : ControlKind::None;
  switch (key) {
    case VK_TAB: {
      if (p.control || p.alt) return 0;
      keyboardCues_ = true;
      Node* next = NextInFocusOrder(root(), focused, !p.shift);
      if (next) {
        setFocusTo(next, false);
        scrollIntoView(*next);
      }
      swallowUp();
      return 0;
    }
    case VK_SPACE:
      if (!focused || kind == ControlKind::None || kind == ControlKind::Link) return 0;
      if (!keyboardCues_) {
        keyboardCues_ = true;
        page_.setState(*focused, kStateFocus, 0);
      }
      if (!(lp & (1 << 30))) {  // not an auto-repeat
        spaceDown_.set(focused);
        setPressed(focused);
      }
      swallowUp();
      return 0;
    case VK_RETURN: {
      Node* target = (kind == ControlKind::Link || kind == ControlKind::Button)
                         ? focused
                         : ControlWithRole(root(), "default-button");
      if (!target) return 0;
      swallowUp();
      activate(*target, focused, HL_BY_KEY);
      return 0;
    }
    case VK_ESCAPE: {
      Node* target = ControlWithRole(root(), "cancel-button");
      if (!target) return 0;
      swallowUp();
      activate(*target, focused, HL_BY_KEY);
      return 0;
    }
    default: {
      bool moved = false;
      if (scroll_.onKey(key, moved) && moved) {
        handled = true;
        invalidate();
      }
      return 0;
    }
  }
}

LRESULT Win32View::onKeyUp(WPARAM key, bool& handled) {
  Node* focused = focus_.get();
  HLKeyParams p{HL_KEY_UP,
                ToHandle(focused ? focused : &root()),
                static_cast<UINT>(key),
                KeyDown(VK_SHIFT),
                KeyDown(VK_CONTROL),
                KeyDown(VK_MENU)};
  const auto swallowed = std::find(swallowKeyUp_.begin(), swallowKeyUp_.end(), key);
  if (swallowed != swallowKeyUp_.end()) {
    swallowKeyUp_.erase(swallowed);
    handled = true;
  }
  if (raise(HL_GROUP_KEY, &p, focused)) {
    handled = true;
    return 0;
  }
  if (key == VK_SPACE) {
    Node* down = spaceDown_.get();
    Pin keep(*this);
    keep.set(down);
    spaceDown_.set(nullptr);
    setPressed(nullptr);
    if (down && down == focus_.get()) {
      handled = true;
      activate(*down, down, HL_BY_KEY);
    }
  }
  return 0;
}

}  // namespace ks::render
