#include "render/win32_accessible.h"

#include <new>
#include <string>

#include "render/page_accessibility.h"
#include "render/text_utf8.h"

namespace ks::render {
namespace {

// Answers of a member that does not apply to the object asked.
constexpr HRESULT kNotSupported = DISP_E_MEMBERNOTFOUND;

HRESULT ToBstr(const std::string& utf8, BSTR* out) {
  if (utf8.empty()) return S_FALSE;
  const std::u16string wide = Utf8ToUtf16(utf8);
  *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, LONG id) {
  out->vt = VT_I4;
  out->lVal = id;
}

LONG RoleCode(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::CheckBox: return ROLE_SYSTEM_CHECKBUTTON;
    case AccessibleRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::Link: return ROLE_SYSTEM_LINK;
  }
  return ROLE_SYSTEM_CLIENT;
}

// Runs a member with every failure turned into an HRESULT: nothing may leave
// a COM method as an exception.
template <typename F>
HRESULT Guarded(F&& f) noexcept {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

// COM objects end through their own Release, never through a pointer to an
// interface, so the interfaces' destructors need not be virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class PageAccessible final : public IAccessible {
 public:
  static ComPtr<IAccessible> Make(AccessibleHost& host) {
    return ComPtr<IAccessible>(new (std::nothrow) PageAccessible(host));
  }

  void detach() { host_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: clients use the IAccessible members directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (const HRESULT hr = usable(); FAILED(hr)) return hr;
    return AccessibleObjectFromWindow(host_->accessibleWindow(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
  }

  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    return Guarded([&] {
      if (const HRESULT hr = usable(); FAILED(hr)) return hr;
      *count = static_cast<long>(host_->accessibleControls().size());
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    // Every control is a simple element of this object.
    return OnChild(child, [&](Node* node) -> HRESULT { return node ? S_FALSE : E_INVALIDARG; });
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    return OnChild(child, [&](Node* node) -> HRESULT {
      if (node) return ToBstr(AccessibleName(*node), name);
      wchar_t title[256] = {};
      const int length = GetWindowTextW(host_->accessibleWindow(), title, 256);
      if (length <= 0) return S_FALSE;
      *name = SysAllocStringLen(title, static_cast<UINT>(length));
      return *name ? S_OK : E_OUTOFMEMORY;
    });
  }

  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    // A link's value is where it leads, as browsers report it.
    return OnChild(child, [&](Node* node) -> HRESULT {
      if (!node || AccessibleRoleOf(*node) != AccessibleRole::Link) return S_FALSE;
      return ToBstr(std::string(node->attributeOr("href", "")), value);
    });
  }

  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!description) return E_POINTER;
    *description = nullptr;
    return OnChild(child, [&](Node* node) -> HRESULT {
      return node ? ToBstr(AccessibleDescription(*node), description) : S_FALSE;
    });
  }

  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    VariantInit(role);
    return OnChild(child, [&](Node* node) -> HRESULT {
      SetChild(role, node ? RoleCode(AccessibleRoleOf(*node)) : ROLE_SYSTEM_CLIENT);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    VariantInit(state);
    return OnChild(child, [&](Node* node) -> HRESULT {
      SetChild(state, node ? stateOf(*node) : pageState());
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (help) *help = nullptr;
    const HRESULT hr = usable();
    return FAILED(hr) ? hr : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    const HRESULT hr = usable();
    return FAILED(hr) ? hr : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
    if (shortcut) *shortcut = nullptr;
    const HRESULT hr = usable();
    return FAILED(hr) ? hr : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    return Guarded([&] {
      if (const HRESULT hr = usable(); FAILED(hr)) return hr;
      if (GetFocus() != host_->accessibleWindow()) return S_FALSE;
      Node* control = host_->accessibleFocus();
      SetChild(focus, control ? childIdOf(*control) : CHILDID_SELF);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    const HRESULT hr = usable();
    return FAILED(hr) ? hr : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    return OnChild(
        child, [&](Node* node) -> HRESULT { return node ? ToBstr(AccessibleDefaultAction(*node), action) : S_FALSE; });
  }

  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return OnChild(child, [&](Node* node) -> HRESULT {
      if (flags != SELFLAG_TAKEFOCUS) return kNotSupported;
      const HWND window = host_->accessibleWindow();
      if (GetFocus() != window) SetFocus(window);
      if (node) host_->focusControl(*node);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return OnChild(child, [&](Node* node) -> HRESULT {
      RECT r{};
      if (node) {
        if (!host_->screenRect(*node, r)) return S_FALSE;
      } else {
        const HWND window = host_->accessibleWindow();
        GetClientRect(window, &r);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
      }
      *left = r.left;
      *top = r.top;
      *width = r.right - r.left;
      *height = r.bottom - r.top;
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    return Guarded([&] {
      Node* node = nullptr;
      const HRESULT hr = resolve(start, node);
      if (FAILED(hr)) return hr;
      const LONG count = static_cast<LONG>(host_->accessibleControls().size());
      const LONG from = node ? childIdOf(*node) : CHILDID_SELF;
      LONG to = 0;
      switch (direction) {
        case NAVDIR_FIRSTCHILD: to = from == CHILDID_SELF ? 1 : 0; break;
        case NAVDIR_LASTCHILD: to = from == CHILDID_SELF ? count : 0; break;
        case NAVDIR_NEXT:
        case NAVDIR_DOWN:
        case NAVDIR_RIGHT: to = from == CHILDID_SELF ? 0 : from + 1; break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_UP:
        case NAVDIR_LEFT: to = from == CHILDID_SELF ? 0 : from - 1; break;
        default: return E_INVALIDARG;
      }
      if (to < 1 || to > count) return S_FALSE;
      SetChild(end, to);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    return Guarded([&] {
      if (const HRESULT hr = usable(); FAILED(hr)) return hr;
      const HWND window = host_->accessibleWindow();
      RECT client{};
      GetClientRect(window, &client);
      MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
      const POINT p{x, y};
      if (!PtInRect(&client, p)) return S_FALSE;
      // The innermost control wins: a nested one comes later in document
      // order than the control around it.
      LONG found = CHILDID_SELF;
      const std::vector<Node*> controls = host_->accessibleControls();
      for (std::size_t i = 0; i < controls.size(); ++i) {
        RECT r{};
        if (host_->screenRect(*controls[i], r) && PtInRect(&r, p)) found = static_cast<LONG>(i + 1);
      }
      SetChild(hit, found);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return OnChild(child, [&](Node* node) -> HRESULT {
      if (!node) return kNotSupported;
      host_->doDefaultAction(*node);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  explicit PageAccessible(AccessibleHost& host) : host_(&host) {}
  ~PageAccessible() = default;

  // Runs a member for the control a client names (null for the page itself)
  // once the name is resolved, guarded like every member.
  template <typename F>
  HRESULT OnChild(const VARIANT& child, F&& f) {
    return Guarded([&] {
      Node* node = nullptr;
      const HRESULT hr = resolve(child, node);
      return FAILED(hr) ? hr : f(node);
    });
  }

  // The page's nodes belong to the window's thread; a client reaching the
  // object from another one (a host in the multithreaded apartment) is
  // refused rather than let in beside the window procedure.
  HRESULT usable() const {
    if (!host_) return RPC_E_DISCONNECTED;
    if (GetWindowThreadProcessId(host_->accessibleWindow(), nullptr) != GetCurrentThreadId()) {
      return RPC_E_WRONG_THREAD;
    }
    return S_OK;
  }

  // node is null for the page itself.
  HRESULT resolve(const VARIANT& child, Node*& node) {
    node = nullptr;
    if (const HRESULT hr = usable(); FAILED(hr)) return hr;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF) return S_OK;
    const std::vector<Node*> controls = host_->accessibleControls();
    if (child.lVal < 1 || static_cast<std::size_t>(child.lVal) > controls.size()) return E_INVALIDARG;
    node = controls[static_cast<std::size_t>(child.lVal - 1)];
    return S_OK;
  }

  LONG childIdOf(const Node& control) {
    const std::vector<Node*> controls = host_->accessibleControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i] == &control) return static_cast<LONG>(i + 1);
    }
    return CHILDID_SELF;
  }

  LONG pageState() {
    LONG state = STATE_SYSTEM_FOCUSABLE;
    const HWND window = host_->accessibleWindow();
    if (GetFocus() == window && !host_->accessibleFocus()) state |= STATE_SYSTEM_FOCUSED;
    if (!IsWindowVisible(window)) state |= STATE_SYSTEM_INVISIBLE;
    return state;
  }

  LONG stateOf(const Node& control) {
    LONG state = 0;
    const std::uint32_t bits = control.state();
    if (bits & kStateDisabled) {
      state |= STATE_SYSTEM_UNAVAILABLE;
    } else {
      state |= STATE_SYSTEM_FOCUSABLE;
      if (host_->accessibleFocus() == &control) state |= STATE_SYSTEM_FOCUSED;
    }
    if (bits & kStateHover) state |= STATE_SYSTEM_HOTTRACKED;
    if (bits & kStateActive) state |= STATE_SYSTEM_PRESSED;
    switch (AccessibleRoleOf(control)) {
      case AccessibleRole::CheckBox:
      case AccessibleRole::RadioButton:
        if (bits & kStateChecked) state |= STATE_SYSTEM_CHECKED;
        break;
      case AccessibleRole::Link:
        state |= STATE_SYSTEM_LINKED;
        if (bits & kStateVisited) state |= STATE_SYSTEM_TRAVERSED;
        break;
      case AccessibleRole::PushButton:
        if (control.attributeOr("role", "") == "default-button") state |= STATE_SYSTEM_DEFAULT;
        break;
    }
    // A control scrolled out of the window is there but not on screen.
    RECT box{};
    RECT client{};
    const HWND window = host_->accessibleWindow();
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT visible{};
    if (host_->screenRect(control, box) && !IntersectRect(&visible, &box, &client)) state |= STATE_SYSTEM_OFFSCREEN;
    return state;
  }

  LONG refs_ = 1;
  AccessibleHost* host_;
};
#pragma GCC diagnostic pop

}  // namespace

Win32Accessibility::~Win32Accessibility() { disconnect(); }

LRESULT Win32Accessibility::onGetObject(WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = false;
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return 0;
  if (!comStarted_) {
    // Marshalling the object needs COM on this thread; a host that has it
    // already (in any apartment) keeps its own.
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(hr);
  }
  if (!object_) object_ = PageAccessible::Make(host_);
  if (!object_) return 0;
  const LRESULT result = LresultFromObject(IID_IAccessible, wParam, object_.get());
  if (result < 0) return 0;  // a failure HRESULT: the system's object answers instead
  handled = true;
  return result;
}

LONG Win32Accessibility::childId(const Node& control) {
  const std::vector<Node*> controls = host_.accessibleControls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i] == &control) return static_cast<LONG>(i + 1);
  }
  return CHILDID_SELF;
}

void Win32Accessibility::focusChanged(const Node* control) {
  const HWND window = host_.accessibleWindow();
  if (GetFocus() != window) return;
  NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, control ? childId(*control) : CHILDID_SELF);
}

// A hidden window is presented to no one: a screen reader reads its controls
// afresh once it shows. So the changes a host makes before showing its page
// cost no layout for the children's numbers.
bool Win32Accessibility::presented() const { return IsWindowVisible(host_.accessibleWindow()) != FALSE; }

void Win32Accessibility::stateChanged(const Node& control) {
  if (!presented()) return;
  const LONG id = childId(control);
  if (id != CHILDID_SELF) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, host_.accessibleWindow(), OBJID_CLIENT, id);
}

void Win32Accessibility::nameChanged(const Node& control) {
  if (!presented()) return;
  const LONG id = childId(control);
  if (id != CHILDID_SELF) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, host_.accessibleWindow(), OBJID_CLIENT, id);
}

void Win32Accessibility::childrenChanged() {
  if (!presented()) return;
  NotifyWinEvent(EVENT_OBJECT_REORDER, host_.accessibleWindow(), OBJID_CLIENT, CHILDID_SELF);
}

void Win32Accessibility::disconnect() {
  if (object_) {
    static_cast<PageAccessible*>(object_.get())->detach();
    CoDisconnectObject(object_.get(), 0);
    object_.reset();
  }
  if (comStarted_) {
    comStarted_ = false;
    CoUninitialize();
  }
}

}  // namespace ks::render
