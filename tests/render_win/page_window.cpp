#include "page_window.h"

#include <algorithm>

#include "render/text_utf8.h"
#include "tests/harness/test_files.h"

namespace ks::render::testing {
namespace {

constexpr wchar_t kClassName[] = L"KestrowRenderTestHost";
constexpr char kPlaceholder[] = "@import url(\"?LOCALIZE_CSS_URL?\");";

void CALLBACK ReceiveBytes(const BYTE* bytes, UINT size, void* param) {
  static_cast<std::string*>(param)->assign(reinterpret_cast<const char*>(bytes), size);
}

void CALLBACK ReceiveText(const WCHAR* text, UINT length, void* param) {
  static_cast<std::wstring*>(param)->assign(text, length);
}

BOOL CALLBACK CollectElement(HLELEMENT he, void* param) {
  static_cast<std::vector<HLELEMENT>*>(param)->push_back(he);
  return FALSE;
}

std::wstring Wide(const std::string& s) {
  const std::u16string w = Utf8ToUtf16(s);
  return std::wstring(w.begin(), w.end());
}

}  // namespace

std::string PageFile(const std::string& name) {
  return ks::test::ReadBytes(Wide(std::string(KS_PAGE_DIR) + "/" + name));
}

std::string SettingsPage(const std::string& sheet) {
  std::string page = PageFile("settings.html");
  if (!sheet.empty()) {
    const std::size_t at = page.find(kPlaceholder);
    if (at != std::string::npos) {
      page.replace(at, sizeof kPlaceholder - 1, "@import url(\"" + sheet + "\");");
    }
  }
  return page;
}

std::string IdOf(HLELEMENT he) {
  std::wstring id;
  HTMLayoutGetAttributeByName(he, "id", ReceiveText, &id);
  return Utf16ToUtf8(std::u16string(id.begin(), id.end()));
}

PageWindow::PageWindow(int clientWidth, int clientHeight) {
  static const ATOM registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc);
  }();
  (void)registered;
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  hwnd_ = CreateWindowExW(0, kClassName, L"Page", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left, r.bottom - r.top,
                          nullptr, nullptr, GetModuleHandleW(nullptr), this);
  HTMLayoutSetCallback(hwnd_, Notify, this);
  HTMLayoutWindowAttachEventHandler(hwnd_, Events, this, HL_GROUP_ALL);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
  pump();
}

PageWindow::~PageWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  pump();
}

LRESULT CALLBACK PageWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<PageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NOTIFYFORMAT) ++notifyFormats;
  BOOL handled = FALSE;
  const LRESULT result = HTMLayoutProcND(hwnd, msg, wp, lp, &handled);
  if (handled) return result;
  if (self && msg == WM_LBUTTONDOWN) ++self->unhandledButtonDowns;
  if (self && msg == WM_KEYUP) ++self->unhandledKeyUps;
  if (self && msg == WM_NCDESTROY) self->hwnd_ = nullptr;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

UINT CALLBACK PageWindow::Notify(HLNotifyHeader* header, void* param) {
  auto* self = static_cast<PageWindow*>(param);
  switch (header->code) {
    case HLN_LOAD_DATA: return self->onLoadData(*reinterpret_cast<HLLoadDataNotify*>(header));
    case HLN_DATA_LOADED: {
      const auto* n = reinterpret_cast<HLDataLoadedNotify*>(header);
      self->loaded.push_back(Utf16ToUtf8(reinterpret_cast<const char16_t*>(n->uri)));
      return 0;
    }
    case HLN_DOCUMENT_COMPLETE:
      ++self->completions;
      self->requestsAtCompletion = self->requests.size();
      QueryPerformanceCounter(&self->completeAt);
      if (self->onComplete) self->onComplete();
      return 0;
    default: return 0;
  }
}

UINT PageWindow::onLoadData(HLLoadDataNotify& note) {
  const std::string uri = Utf16ToUtf8(reinterpret_cast<const char16_t*>(note.uri));
  requests.push_back(uri);
  switch (answer) {
    case Answer::AtOnce: serve(uri); return HL_LOAD_OK;
    case Answer::Delayed: delayed.push_back(uri); return HL_LOAD_DELAYED;
    case Answer::Nothing: return HL_LOAD_OK;
  }
  return HL_LOAD_OK;
}

void PageWindow::serve(const std::string& uri) {
  // The placeholder import is not a file name; it finds nothing.
  const std::string bytes = uri.find('?') == std::string::npos ? PageFile(uri) : std::string();
  const std::wstring wide = Wide(uri);
  HTMLayoutDataReady(hwnd_, wide.c_str(), reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
}

void PageWindow::answerDelayed() {
  std::vector<std::string> pending;
  pending.swap(delayed);
  for (const std::string& uri : pending) serve(uri);
}

BOOL CALLBACK PageWindow::Events(void* tag, HLELEMENT, UINT group, void* params) {
  auto* self = static_cast<PageWindow*>(tag);
  if (group != HL_GROUP_BEHAVIOR_EVENT) return FALSE;
  const auto& p = *static_cast<HLBehaviorParams*>(params);
  std::string target = IdOf(p.target);
  self->events.push_back(BehaviorEvent{p.cmd, target});
  return self->onBehavior && self->onBehavior(p) ? TRUE : FALSE;
}

void PageWindow::load(const std::string& html) {
  QueryPerformanceCounter(&loadStart);
  HTMLayoutLoadHtml(hwnd_, reinterpret_cast<const BYTE*>(html.data()), static_cast<UINT>(html.size()));
  pump();
}

void PageWindow::pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HLELEMENT PageWindow::root() const {
  HLELEMENT r = nullptr;
  HTMLayoutGetRootElement(hwnd_, &r);
  return r;
}

std::vector<HLELEMENT> PageWindow::findAll(const char* id) const {
  std::vector<HLELEMENT> out;
  const std::wstring value = Wide(id);
  HTMLayoutVisitElements(root(), nullptr, "id", value.c_str(), CollectElement, &out, 0);
  return out;
}

HLELEMENT PageWindow::find(const char* id) const {
  const std::vector<HLELEMENT> all = findAll(id);
  return all.empty() ? nullptr : all.front();
}

UINT PageWindow::state(const char* id) const {
  UINT s = 0xFFFFFFFFu;
  HTMLayoutGetElementState(find(id), &s);
  return s;
}

std::wstring PageWindow::attribute(HLELEMENT he, const char* name) const {
  std::wstring value = L"<not called>";
  HTMLayoutGetAttributeByName(he, name, ReceiveText, &value);
  return value;
}

std::string PageWindow::innerHtml(HLELEMENT he) const {
  std::string html = "<not called>";
  HTMLayoutGetElementHtmlCB(he, FALSE, ReceiveBytes, &html);
  return html;
}

std::string PageWindow::innerText(HLELEMENT he) const {
  std::string text = "<not called>";
  HTMLayoutGetElementInnerTextCB(he, ReceiveBytes, &text);
  return text;
}

RECT PageWindow::location(const char* id, UINT area) const {
  RECT r{-1, -1, -1, -1};
  HTMLayoutGetElementLocation(find(id), &r, area);
  return r;
}

POINT PageWindow::pointIn(const char* id) const {
  const RECT r = location(id, HL_VIEW_RELATIVE | HL_CONTENT_BOX);
  return POINT{r.left + 4, r.top + 6};
}

void PageWindow::pressAt(POINT p) {
  PostMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  PostMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  pump();
}

void PageWindow::releaseAt(POINT p) {
  PostMessageW(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  PostMessageW(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  pump();
}

void PageWindow::clickAt(POINT p) {
  pressAt(p);
  releaseAt(p);
}

void PageWindow::moveTo(POINT p) {
  PostMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  pump();
}

void PageWindow::key(UINT vk, bool shift) {
  // Posted keys do not change the keyboard state that GetKeyState reads, so
  // Shift is set there by hand.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const BYTE saved = keys[VK_SHIFT];
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  PostMessageW(hwnd_, WM_KEYDOWN, vk, 1);
  PostMessageW(hwnd_, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  pump();
  keys[VK_SHIFT] = saved;
  SetKeyboardState(keys);
}

}  // namespace ks::render::testing
