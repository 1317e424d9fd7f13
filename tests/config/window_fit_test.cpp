// The settings window's fit to a work area, on a real window with the
// settings page: wholly inside small work areas, with the page reflowed and
// scrolling; as wide as the page prefers where there is room. Then the
// program itself on small screens (Wine virtual desktops of that size), with
// rows of wheel rules in its page.
#include <gtest/gtest.h>

#include "config/window_fit.h"
#include "render/htmlayout_api.h"
#include "tests/config/config_session.h"
#include "tests/render_win/page_window.h"

namespace ks {
namespace {

using render::testing::PageWindow;
using render::testing::SettingsPage;

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(left, r.left);
  EXPECT_EQ(top, r.top);
  EXPECT_EQ(right, r.right);
  EXPECT_EQ(bottom, r.bottom);
}

void ExpectInside(const RECT& r, const RECT& area) {
  EXPECT_GE(r.left, area.left);
  EXPECT_GE(r.top, area.top);
  EXPECT_LE(r.right, area.right);
  EXPECT_LE(r.bottom, area.bottom);
}

TEST(WorkAreaPlacement, KeepsWindowsInsideAndCentres) {
  const RECT area{100, 50, 900, 650};  // 800 x 600 right of a taskbar
  ExpectRect(KeepInWorkArea(RECT{200, 100, 400, 300}, area), 200, 100, 400, 300);
  ExpectRect(KeepInWorkArea(RECT{800, 600, 1000, 700}, area), 700, 550, 900, 650);  // moved in
  ExpectRect(KeepInWorkArea(RECT{0, 0, 200, 100}, area), 100, 50, 300, 150);
  ExpectRect(KeepInWorkArea(RECT{0, 0, 1300, 900}, area), 100, 50, 900, 650);      // shrunk to the area
  ExpectRect(KeepInWorkArea(RECT{300, 300, 200, 200}, area), 300, 300, 300, 300);  // no negative size
  ExpectRect(CentreInWorkArea(SIZE{400, 200}, area), 300, 250, 700, 450);
  ExpectRect(CentreInWorkArea(SIZE{1000, 700}, area), 100, 50, 900, 650);
  ExpectRect(KeepInWorkArea(RECT{0, 0, 200, 100}, RECT{500, 500, 400, 400}), 500, 500, 500, 500);  // inverted area
}

class Fit : public testing::Test {
 protected:
  void SetUp() override {
    w.load(SettingsPage());
    w.pump();
  }
  RECT windowRect() const {
    RECT r{};
    GetWindowRect(w.hwnd(), &r);
    return r;
  }
  // What a window of this client width adds around it.
  static int FrameWidth(HWND window) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE);
    return frame.right - frame.left;
  }

  PageWindow w{1200, 900};
};

TEST_F(Fit, SmallWorkAreas_HoldTheWholeWindowAndEveryControlCanBeReached) {
  for (const SIZE screen : {SIZE{1024, 768}, SIZE{800, 600}, SIZE{640, 480}}) {
    SCOPED_TRACE(std::to_string(screen.cx) + "x" + std::to_string(screen.cy));
    const RECT area{0, 0, screen.cx, screen.cy - 40};  // a taskbar below
    FitWindowToPage(w.hwnd(), area);
    w.pump();
    const RECT r = windowRect();
    ExpectInside(r, area);
    EXPECT_TRUE(IsWindowVisible(w.hwnd()));
    RECT client{};
    GetClientRect(w.hwnd(), &client);
    // The page reflowed into the width it got; it scrolls sideways only
    // below its min-content width, and down when taller than the window.
    const LONG style = GetWindowLongW(w.hwnd(), GWL_STYLE);
    EXPECT_EQ(client.right < static_cast<LONG>(HTMLayoutGetMinWidth(w.hwnd())) - 8, (style & WS_HSCROLL) != 0);
    const auto pageHeight = static_cast<LONG>(HTMLayoutGetMinHeight(w.hwnd(), static_cast<UINT>(client.right)));
    EXPECT_EQ(pageHeight > client.bottom, (style & WS_VSCROLL) != 0);
    EXPECT_EQ(screen.cx, r.right - r.left);  // less than the page prefers
    // The last button and the last check box are reached by scrolling and
    // take a click.
    for (const char* id : {"BUTTON_CANCEL", "CHECKBOX_HS_LBUTTON", "CHECKBOX_PAUSE_SCROLL_LOCK"}) {
      for (int i = 0; i < 100 && w.location(id).bottom > client.bottom; ++i) {
        PostMessageW(w.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
        w.pump();
      }
      for (int i = 0; i < 100 && w.location(id).top < 0; ++i) {
        PostMessageW(w.hwnd(), WM_VSCROLL, SB_LINEUP, 0);
        w.pump();
      }
      for (int i = 0; i < 100 && w.location(id).right > client.right; ++i) {
        PostMessageW(w.hwnd(), WM_HSCROLL, SB_LINEDOWN, 0);
        w.pump();
      }
      ExpectInside(w.location(id), client);
      w.events.clear();
      w.click(id);
      ASSERT_FALSE(w.events.empty()) << id;
      EXPECT_EQ(id, w.events.back().target);
    }
    PostMessageW(w.hwnd(), WM_VSCROLL, SB_TOP, 0);
    PostMessageW(w.hwnd(), WM_HSCROLL, SB_TOP, 0);
    w.pump();
  }
}

TEST_F(Fit, WideWorkArea_TakesThePreferredWidthAsAlways) {
  // A page that prefers 500 px: the window has that plus its frame and the
  // 60 px it always had, wherever there is room, and is centred.
  w.load(
      "<html><body style='margin: 0'><table id=MAIN_TABLE style='border-spacing: 0'><tr>"
      "<td style='width: 300px; padding: 0'>one two three</td><td style='width: 200px; padding: 0'>four</td>"
      "</tr></table></body></html>");
  w.pump();
  const int preferred = static_cast<int>(HTMLayoutGetMaxWidth(w.hwnd()));
  EXPECT_EQ(500, preferred);
  const int width = preferred + FrameWidth(w.hwnd()) + 60;
  for (const RECT area : {RECT{0, 0, 1280, 760}, RECT{0, 0, 1024, 728}, RECT{200, 0, 1000, 560}}) {
    FitWindowToPage(w.hwnd(), area);
    w.pump();
    const RECT r = windowRect();
    EXPECT_EQ(width, r.right - r.left);
    EXPECT_EQ(area.left + (area.right - area.left - width) / 2, r.left);
    ExpectInside(r, area);
    EXPECT_FALSE(GetWindowLongW(w.hwnd(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
  }
  // Narrower than that, the window takes the area's width and the table
  // shares it out.
  const RECT narrow{0, 0, 400, 560};
  FitWindowToPage(w.hwnd(), narrow);
  w.pump();
  const RECT r = windowRect();
  EXPECT_EQ(400, r.right - r.left);
  ExpectInside(r, narrow);
  RECT client{};
  GetClientRect(w.hwnd(), &client);
  EXPECT_EQ(client.right, w.location("MAIN_TABLE").right - w.location("MAIN_TABLE").left);
}

// Keeps the first shown settings window that a desktop enumeration meets.
BOOL CALLBACK KeepSettingsWindow(HWND candidate, LPARAM found) {
  wchar_t cls[16] = {};
  GetClassNameW(candidate, cls, 16);
  // Seen from another desktop, only the window's own style says whether it
  // shows.
  const bool shown = (GetWindowLongW(candidate, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown && std::wstring(cls) == L"#32770" && test::WindowText(candidate).rfind(L"Kestrow Config", 0) == 0) {
    *reinterpret_cast<HWND*>(found) = candidate;
    return FALSE;
  }
  return TRUE;
}

// Wine's virtual desktop leaves its size as the screen's of every program
// started afterwards while the prefix's server runs: text is then laid out
// for a small screen in later tests. Gives the screen its size back the
// same way, with a desktop of that size that ends at once.
class ScreenSizeKeeper {
 public:
  ~ScreenSizeKeeper() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring dir(windows);
    test::ChildProcess desktop;
    if (desktop.Start(dir + L"\\explorer.exe", L"/desktop=KestrowScreen," + std::to_wstring(width_) + L"x" +
                                                   std::to_wstring(height_) + L" " + dir +
                                                   L"\\system32\\cmd.exe /c exit")) {
      EXPECT_TRUE(desktop.WaitForExit(test::kWindowMs));
    }
  }

 private:
  const int width_ = GetSystemMetrics(SM_CXSCREEN);
  const int height_ = GetSystemMetrics(SM_CYSCREEN);
};

// The settings program started inside a Wine virtual desktop of a small
// screen's size (Wine's explorer makes it), so its monitor is that small.
class SmallScreen : public test::ConfigSession {
 protected:
  void TearDown() override {
    // A failed test may leave the program running in its desktop.
    if (program_ && WaitForSingleObject(program_.get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(program_.get(), 255);
      WaitForSingleObject(program_.get(), test::kReactMs);
    }
    program_.reset();
    window_ = nullptr;
    process.Kill();
  }

  // The settings window on a screen of that size, or null.
  HWND StartOnScreen(int width, int height) {
    const std::wstring size = std::to_wstring(width) + L"x" + std::to_wstring(height);
    const std::wstring name = L"KestrowSmall" + size;
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    if (!copy.ready() || !process.Start(std::wstring(windows) + L"\\explorer.exe",
                                        L"/desktop=" + name + L"," + size + L" " + test::QuoteArgument(copy.Exe()))) {
      return nullptr;
    }
    const ULONGLONG end = GetTickCount64() + test::kWindowMs;
    while (window_ == nullptr && GetTickCount64() < end) {
      test::PumpMessagesFor(50);
      const UniqueDesktop desktop(OpenDesktopW(name.c_str(), 0, FALSE, DESKTOP_ENUMERATE | DESKTOP_READOBJECTS));
      if (desktop) EnumDesktopWindows(desktop.get(), KeepSettingsWindow, reinterpret_cast<LPARAM>(&window_));
    }
    // The program is explorer's child: its own process, to wait for its end.
    DWORD id = 0;
    if (window_ && GetWindowThreadProcessId(window_, &id) && id != 0) {
      program_.reset(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    }
    // Fitted and shown once the page has completed: the title tells.
    if (!program_ || !test::WaitForTitle(window_, test::Title(false), test::kReactMs)) return nullptr;
    return window_;
  }

  // Turns the wheel over the window until the element lies wholly in view.
  bool WheelIntoView(HWND window, const std::wstring& id) {
    RECT client{};
    GetClientRect(window, &client);
    for (int i = 0; i < 200; ++i) {
      const std::optional<POINT> at = test::ElementPoint(window, id);
      const std::optional<SIZE> size = test::ElementSize(window, id);
      if (!at || !size) return false;
      if (at->y >= 0 && at->y + size->cy <= client.bottom) return true;
      POINT screen{client.right / 2, client.bottom / 2};
      ClientToScreen(window, &screen);
      const short delta = at->y < 0 ? WHEEL_DELTA : -WHEEL_DELTA;
      SendMessageTimeoutW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)),
                          MAKELPARAM(screen.x, screen.y), SMTO_ABORTIFHUNG, test::kReactMs, nullptr);
    }
    return false;
  }

  ScreenSizeKeeper screen_;  // gone after the program and its desktop
  HWND window_ = nullptr;
  UniqueKernelHandle program_;
};

TEST_F(SmallScreen, WindowLiesOnTheScreen_ControlsAreReachedByScrollingAndOkSaves) {
  for (const SIZE screen : {SIZE{1024, 768}, SIZE{800, 600}}) {
    SCOPED_TRACE(std::to_string(screen.cx) + "x" + std::to_string(screen.cy));
    // Two rules' rows in the page as well.
    ASSERT_TRUE(copy.WriteSettings(
        "[Programs]\r\nnotepad.exe=speed=3\r\nMicrosoft Visual Studio Code Insiders.exe=reverse\r\n"));
    HWND window = StartOnScreen(screen.cx, screen.cy);
    ASSERT_NE(window, nullptr);
    RECT r{};
    GetWindowRect(window, &r);
    ExpectInside(r, RECT{0, 0, screen.cx, screen.cy});
    EXPECT_EQ(screen.cx, r.right - r.left);  // the page wanted more
    // The check box at the bottom of the options and OK, brought into view
    // with the wheel, take their clicks; OK saves.
    ASSERT_TRUE(WheelIntoView(window, L"CHECKBOX_HS_LBUTTON"));
    Click(window, L"CHECKBOX_HS_LBUTTON");
    EXPECT_TRUE(test::WaitForElementState(window, L"CHECKBOX_HS_LBUTTON", 0x40, true, test::kReactMs));
    ASSERT_TRUE(WheelIntoView(window, L"RULE_SCROLLBARS_2"));
    Click(window, L"RULE_SCROLLBARS_2");
    EXPECT_TRUE(test::WaitForElementState(window, L"RULE_SCROLLBARS_2", 0x40, true, test::kReactMs));
    ASSERT_TRUE(WheelIntoView(window, L"BUTTON_OK"));
    Click(window, L"BUTTON_OK");
    // The settings file is complete once the program has ended.
    ASSERT_TRUE(test::WaitPumping(program_.get(), test::kReactMs));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1, Key(L"HScrollOnLButton"));
    EXPECT_EQ(RuleValue(L"Microsoft Visual Studio Code Insiders.exe"), L"speed=1;reverse;scrollbars");
    TearDown();
  }
}

}  // namespace
}  // namespace ks
