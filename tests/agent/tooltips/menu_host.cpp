#include "tests/agent/tooltips/menu_host.h"

#include <algorithm>

#include "agent/core/resource_ids.h"

namespace ks::test {
namespace {

constexpr UINT kOpenMenu = WM_APP + 1;
constexpr wchar_t kHostClass[] = L"KestrowTooltipTestHost";
// Language items as the language menu numbers them, with their files.
constexpr UINT kZuluItem = 41001;
constexpr UINT kEnglishItem = 41002;

MenuHost host;

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    host.OnMessage(window, message, wParam, lParam);
    if (message == kOpenMenu) {
      host.RunMenu();
      return 0;
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

struct MenuWindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<MenuWindowSearch*>(parameter);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && lstrcmpW(className, L"#32768") == 0 && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleMenuWindow() {
  MenuWindowSearch search = {GetCurrentProcessId(), nullptr};
  EnumWindows(FindMenuWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

MenuHost& Host() { return host; }

bool MenuHost::Start() {
  ready_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!ready_) return false;
  thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_));
  if (!thread_) return false;
  const HANDLE both[] = {ready_.get(), thread_.get()};
  return WaitForMultipleObjects(2, both, FALSE, kWaitMs) == WAIT_OBJECT_0 && owner_ != nullptr;
}

void MenuHost::Stop() {
  if (!thread_) return;
  if (MenuOpen()) CloseMenu();
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  WaitForSingleObject(thread_.get(), kWaitMs);
  thread_.reset();
}

DWORD WINAPI MenuHost::ThreadMain(void* parameter) noexcept {
  try {
    static_cast<MenuHost*>(parameter)->ThreadBody();
  } catch (...) {
    return 1;
  }
  return 0;
}

void MenuHost::ThreadBody() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = HostProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = kHostClass;
  if (RegisterClassExW(&wc) == 0) return;
  // Shaped like the agent window: a hidden 1 x 1 window with a caption.
  const UniqueWindow owner(
      CreateWindowExW(0, kHostClass, L"Tooltip Host", WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr));
  const UniqueWindow stranger(
      CreateWindowExW(0, kHostClass, L"Stranger", WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr));
  if (!owner || !stranger) return;
  child_ = CreateWindowExW(0, kHostClass, L"Child", WS_CHILD, 0, 0, 1, 1, owner.get(), nullptr, instance, nullptr);
  TrayTooltipTexts texts;
  texts.loadString = [this](UINT id) { return LoadText(id); };
  texts.languageItem = [this](UINT id, std::wstring& title, std::wstring& text) { LanguageText(id, title, text); };
  tooltip_ = std::make_unique<TrayMenuTooltip>(std::move(texts));
  if (!tooltip_->CreateTooltip(owner.get(), kDefaultBody, instance, 0, nullptr)) return;
  owner_ = owner.get();
  stranger_ = stranger.get();
  SetEvent(ready_.get());
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // Ends as the agent ends: the tooltip goes first, waiting for its threads.
  tooltip_.reset();
}

void MenuHost::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MENUSELECT) {
    {
      const std::lock_guard<std::mutex> guard(lock_);
      selections_.push_back({window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)});
    }
    if (window == owner_ && tooltip_) {
      tooltip_->OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
    }
  } else if (message == WM_ENTERIDLE && window == owner_ && tooltip_) {
    {
      const std::lock_guard<std::mutex> guard(lock_);
      ++enterIdles_;
    }
    tooltip_->OnEnterIdle(wParam, reinterpret_cast<HWND>(lParam));
  }
}

// What the agent does to show its tray menu, the tooltip steps included.
void MenuHost::RunMenu() {
  const UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
  HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
  if (popup == nullptr) return;
  if (!setup_.homePageText.empty()) {
    ModifyMenuW(popup, ID_CMD_HOME_PAGE, MF_BYCOMMAND | MF_STRING, ID_CMD_HOME_PAGE, setup_.homePageText.c_str());
  }
  HMENU languages = CreatePopupMenu();
  AppendMenuW(languages, MF_STRING, kZuluItem, L"Zulu");
  AppendMenuW(languages, MF_CHECKED, kEnglishItem, L"english");
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_SUBMENU | MIIM_STRING;
  info.hSubMenu = languages;
  wchar_t label[] = L"Language";
  info.dwTypeData = label;
  InsertMenuItemW(popup, ID_CMD_SETTINGS, FALSE, &info);
  SetMenuDefaultItem(popup, ID_CMD_KEYMARK, FALSE);

  tooltip_->SetMenuWindow(owner_);
  if (tooltip_->PlacedItem() != 0) tooltip_->PlaceTip(tooltip_->PlacedMenu(), tooltip_->PlacedItem());
  popup_ = popup;
  InterlockedExchange(&open_, 1);
  SetForegroundWindow(owner_);
  TrackPopupMenu(popup, 0, setup_.at.x, setup_.at.y, 0, tracking_, nullptr);
  popup_ = nullptr;
  menuWindow_ = nullptr;
  InterlockedExchange(&open_, 0);
}

bool MenuHost::MenuOpen() const { return InterlockedCompareExchange(const_cast<LONG volatile*>(&open_), 0, 0) != 0; }

bool MenuHost::OpenMenu(HWND from, const MenuSetup& setup) {
  if (MenuOpen()) return false;
  setup_ = setup;
  tracking_ = from;
  if (!PostMessageW(owner_, kOpenMenu, 0, 0)) return false;
  return WaitFor([this] {
    if (!MenuOpen()) return false;
    menuWindow_ = VisibleMenuWindow();
    return menuWindow_ != nullptr;
  });
}

bool MenuHost::CloseMenu() {
  // Each Escape closes one level: an open sub-menu first, then the menu.
  const ULONGLONG end = GetTickCount64() + kWaitMs;
  while (MenuOpen() && GetTickCount64() < end) {
    PostMessageW(menuWindow_, WM_KEYDOWN, VK_ESCAPE, 0);
    const ULONGLONG stepEnd = GetTickCount64() + 300;
    while (MenuOpen() && GetTickCount64() < stepEnd) Sleep(10);
  }
  return !MenuOpen();
}

size_t MenuHost::SelectionCountFrom(HWND window) const {
  const std::lock_guard<std::mutex> guard(lock_);
  return static_cast<size_t>(std::count_if(selections_.begin(), selections_.end(),
                                           [window](const MenuSelection& s) { return s.window == window; }));
}

bool MenuHost::WaitForSelectionFrom(HWND window, size_t before) {
  return WaitFor([&] { return SelectionCountFrom(window) > before; });
}

bool MenuHost::PressKey(WORD key) {
  const size_t before = SelectionCountFrom(tracking_);
  if (!PostMessageW(menuWindow_, WM_KEYDOWN, key, 0)) return false;
  return WaitForSelectionFrom(tracking_, before);
}

bool MenuHost::SelectItem(UINT item, WORD key) {
  for (int presses = 0; presses < 30; ++presses) {
    if (!PressKey(key)) return false;
    const std::vector<MenuSelection> all = Selections();
    const auto last =
        std::find_if(all.rbegin(), all.rend(), [this](const MenuSelection& s) { return s.window == tracking_; });
    if (last->item == item && (last->flags & MF_POPUP) == 0) return true;
  }
  return false;
}

bool MenuHost::HoverPosition(int position) {
  RECT item = {};
  if (!GetMenuItemRect(menuWindow_, popup_, static_cast<UINT>(position), &item)) return false;
  const UINT expected = GetMenuItemID(popup_, position) == static_cast<UINT>(-1) ? static_cast<UINT>(position)
                                                                                 : GetMenuItemID(popup_, position);
  const int y = (item.top + item.bottom) / 2;
  // Wine's menu loop lets the first move of a menu session pass without a
  // selection, so the pointer wiggles within the item until one comes.
  const ULONGLONG end = GetTickCount64() + kWaitMs;
  for (int step = 0; GetTickCount64() < end; ++step) {
    POINT at = {(item.left + item.right) / 2 + (step % 2), y};
    SetCursorPos(at.x, at.y);
    ScreenToClient(menuWindow_, &at);
    const size_t before = SelectionCountFrom(tracking_);
    PostMessageW(menuWindow_, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    const ULONGLONG stepEnd = GetTickCount64() + 300;
    while (SelectionCountFrom(tracking_) == before && GetTickCount64() < stepEnd) Sleep(10);
    const std::vector<MenuSelection> all = Selections();
    if (SelectionCountFrom(tracking_) > before && all.back().item == expected) return true;
  }
  return false;
}

std::vector<MenuSelection> MenuHost::Selections() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return selections_;
}

int MenuHost::EnterIdleCount() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return enterIdles_;
}

void MenuHost::OverrideText(UINT id, const std::wstring& text) {
  const std::lock_guard<std::mutex> guard(lock_);
  overrides_.emplace_back(id, text);
}

void MenuHost::ClearOverrides() {
  const std::lock_guard<std::mutex> guard(lock_);
  overrides_.clear();
}

std::vector<UINT> MenuHost::TextRequests() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return textRequests_;
}

void MenuHost::ClearTextRequests() {
  const std::lock_guard<std::mutex> guard(lock_);
  textRequests_.clear();
}

// The string table of this program is the agent's own (its resource script
// is linked in), so the texts are the ones the agent shows.
std::wstring MenuHost::LoadText(UINT id) {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    textRequests_.push_back(id);
    for (const auto& entry : overrides_) {
      if (entry.first == id) return entry.second;
    }
  }
  wchar_t buffer[1024];
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 1024);
  return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

// Shaped as the language menu's tooltips: "Language file: <file>" and the
// hint to translate the file.
void MenuHost::LanguageText(UINT id, std::wstring& title, std::wstring& text) {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    textRequests_.push_back(id);
  }
  const wchar_t* name = id == kZuluItem ? L"Zulu.lng" : id == kEnglishItem ? L"english.lng" : L"";
  wchar_t buffer[1024];
  int length = LoadStringW(GetModuleHandleW(nullptr), IDS_LANGUAGE_FILE, buffer, 1024);
  title = std::wstring(buffer, static_cast<size_t>(std::max(length, 0))) + L": " + name;
  length = LoadStringW(GetModuleHandleW(nullptr), IDS_LANGUAGE_FILE_HINT, buffer, 1024);
  text.assign(buffer, static_cast<size_t>(std::max(length, 0)));
}

}  // namespace ks::test
