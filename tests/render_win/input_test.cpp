// Mouse and keyboard on a real window: clicks, check box toggles, links,
// the host's veto, focus moves, Space, Enter and Escape, tooltips; scrolling
// by the wheel, the keys and the scroll bars.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include <commctrl.h>
#include <oleacc.h>

#include "common/com_ptr.h"
#include "page_window.h"
#include "render/win32_scroll.h"

namespace ks::render::testing {
namespace {

class Input : public ::testing::Test {
 protected:
  void SetUp() override { w.load(SettingsPage()); }

  // The behaviour events without the sinking copies, as "code:id".
  std::vector<std::string> bubbling() const {
    std::vector<std::string> out;
    for (const BehaviorEvent& e : w.events) {
      if (!(e.cmd & HL_SINKING)) out.push_back(std::to_string(e.cmd) + ":" + e.target);
    }
    return out;
  }
  bool checked(const char* id) const { return (w.state(id) & HL_STATE_CHECKED) != 0; }
  std::string focused() const {
    std::string id;
    for (const char* c : {"CHECKBOX_AUTORUN", "CHECKBOX_BALLOON", "CHECKBOX_START_AS_DISABLED", "CHECKBOX_WRITE_LOG",
                          "LINK_TO_LOG_FILE", "CHECKBOX_NO_MIDDLE", "BUTTON_OK", "BUTTON_CANCEL"}) {
      if (w.state(c) & HL_STATE_FOCUS) id += (id.empty() ? "" : ",") + std::string(c);
    }
    return id;
  }

  PageWindow w;
};

TEST_F(Input, ClickOnCheckBox_TogglesItAndReportsClickThenStateChange) {
  w.click("CHECKBOX_HS_SHIFT");
  EXPECT_TRUE(checked("CHECKBOX_HS_SHIFT"));
  EXPECT_EQ((std::vector<std::string>{"0:CHECKBOX_HS_SHIFT", "2:CHECKBOX_HS_SHIFT"}), bubbling());
  ASSERT_EQ(4u, w.events.size());
  EXPECT_EQ(static_cast<UINT>(HL_SINKING | HL_BUTTON_CLICK), w.events[0].cmd);
  w.click("CHECKBOX_HS_SHIFT");
  EXPECT_FALSE(checked("CHECKBOX_HS_SHIFT"));
  EXPECT_FALSE(checked("CHECKBOX_HS_CTRL"));
  EXPECT_EQ(0, w.unhandledButtonDowns) << "a press on a control must not reach the host (it would drag)";
}

TEST_F(Input, ClickOnTheCheckMarkOrCaption_BothToggle) {
  const RECT content = w.location("CHECKBOX_BALLOON", HL_VIEW_RELATIVE | HL_CONTENT_BOX);
  w.clickAt(POINT{content.left - 10, content.top + 7});  // on the mark, left of the caption
  EXPECT_TRUE(checked("CHECKBOX_BALLOON"));
  w.click("CHECKBOX_BALLOON");
  EXPECT_FALSE(checked("CHECKBOX_BALLOON"));
}

TEST_F(Input, HandlerAnsweringTrue_StopsTheToggle) {
  w.onBehavior = [](const HLBehaviorParams& p) { return p.cmd == HL_BUTTON_CLICK; };
  w.click("CHECKBOX_HS_CTRL");
  EXPECT_FALSE(checked("CHECKBOX_HS_CTRL"));
  EXPECT_EQ((std::vector<std::string>{"0:CHECKBOX_HS_CTRL"}), bubbling());

  w.events.clear();
  w.onBehavior = [](const HLBehaviorParams& p) { return p.cmd == (HL_SINKING | HL_BUTTON_STATE_CHANGED); };
  w.click("CHECKBOX_HS_CTRL");
  EXPECT_FALSE(checked("CHECKBOX_HS_CTRL"));
  ASSERT_FALSE(w.events.empty());
  EXPECT_EQ(static_cast<UINT>(HL_SINKING | HL_BUTTON_STATE_CHANGED), w.events.back().cmd);

  w.onBehavior = nullptr;
  w.click("CHECKBOX_HS_CTRL");
  EXPECT_TRUE(checked("CHECKBOX_HS_CTRL"));
}

TEST_F(Input, ClickOnLink_SinksAsHyperlinkClickThenMarksVisited) {
  w.click("SPAN_LINK_TO_LOG_FILE");
  ASSERT_EQ(2u, w.events.size());
  EXPECT_EQ(0x8080u, w.events[0].cmd);
  EXPECT_EQ("LINK_TO_LOG_FILE", w.events[0].target);
  EXPECT_EQ(0x80u, w.events[1].cmd);
  EXPECT_TRUE(w.state("LINK_TO_LOG_FILE") & HL_STATE_VISITED);
  EXPECT_FALSE(checked("CHECKBOX_WRITE_LOG")) << "the link inside the check box is not the check box";
}

TEST_F(Input, LinkHandledWhileSinking_IsNotMarkedVisited) {
  w.onBehavior = [](const HLBehaviorParams& p) { return p.cmd == 0x8080; };
  w.click("of_site");
  ASSERT_EQ(1u, w.events.size());
  EXPECT_EQ(0x8080u, w.events[0].cmd);
  EXPECT_EQ(0u, w.state("of_site") & HL_STATE_VISITED);
}

TEST_F(Input, ClickOnButtons_ReportsButtonClickWithTheButtonAsTarget) {
  w.click("BUTTON_OK");
  w.click("BUTTON_CANCEL");
  EXPECT_EQ((std::vector<std::string>{"0:BUTTON_OK", "0:BUTTON_CANCEL"}), bubbling());
}

TEST_F(Input, PressBesideControls_IsLeftToTheHost) {
  w.click("theader");
  w.click("hint");
  EXPECT_EQ(2, w.unhandledButtonDowns);
  EXPECT_TRUE(w.events.empty());
}

TEST_F(Input, PressOnOneControlAndReleaseOnAnother_ClicksNothing) {
  w.pressAt(w.pointIn("CHECKBOX_HS_SHIFT"));
  EXPECT_TRUE(w.state("CHECKBOX_HS_SHIFT") & HL_STATE_ACTIVE);
  w.releaseAt(w.pointIn("CHECKBOX_HS_CTRL"));
  EXPECT_FALSE(checked("CHECKBOX_HS_SHIFT"));
  EXPECT_FALSE(checked("CHECKBOX_HS_CTRL"));
  EXPECT_EQ(0u, w.state("CHECKBOX_HS_SHIFT") & HL_STATE_ACTIVE);
  EXPECT_TRUE(w.events.empty());
}

TEST_F(Input, Tab_MovesFocusThroughControlsInPageOrderAndShiftTabBack) {
  w.key(VK_TAB);
  EXPECT_EQ("CHECKBOX_AUTORUN", focused());
  w.key(VK_TAB);
  w.key(VK_TAB);
  w.key(VK_TAB);
  EXPECT_EQ("CHECKBOX_WRITE_LOG", focused());
  w.key(VK_TAB);
  EXPECT_EQ("LINK_TO_LOG_FILE", focused());
  w.key(VK_TAB);
  EXPECT_EQ("CHECKBOX_NO_MIDDLE", focused());
  w.key(VK_TAB, true);
  w.key(VK_TAB, true);
  EXPECT_EQ("CHECKBOX_WRITE_LOG", focused());
  // Shift+Tab from the first control wraps to the last one of the page.
  for (int i = 0; i < 3; ++i) w.key(VK_TAB, true);
  EXPECT_EQ("CHECKBOX_AUTORUN", focused());
  w.key(VK_TAB, true);
  EXPECT_EQ("", focused());
  const std::vector<HLELEMENT> sites = w.findAll("of_site");
  UINT state = 0;
  HTMLayoutGetElementState(sites.back(), &state);
  EXPECT_TRUE(state & HL_STATE_FOCUS);
  EXPECT_EQ(0, w.unhandledKeyUps);
  RedrawWindow(w.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST_F(Input, SpaceOnFocusedCheckBox_TogglesUnlessTheHostSaysNo) {
  w.key(VK_TAB);
  w.key(VK_TAB);
  ASSERT_EQ("CHECKBOX_BALLOON", focused());
  w.key(VK_SPACE);
  EXPECT_TRUE(checked("CHECKBOX_BALLOON"));
  EXPECT_EQ((std::vector<std::string>{"0:CHECKBOX_BALLOON", "2:CHECKBOX_BALLOON"}), bubbling());
  w.onBehavior = [](const HLBehaviorParams& p) { return p.cmd == HL_BUTTON_STATE_CHANGED; };
  w.key(VK_SPACE);
  EXPECT_TRUE(checked("CHECKBOX_BALLOON"));
  w.onBehavior = nullptr;
  w.key(VK_SPACE);
  EXPECT_FALSE(checked("CHECKBOX_BALLOON"));
}

TEST_F(Input, EnterAndEscape_ClickTheDefaultAndCancelButtons) {
  w.key(VK_RETURN);
  w.key(VK_ESCAPE);
  EXPECT_EQ((std::vector<std::string>{"0:BUTTON_OK", "0:BUTTON_CANCEL"}), bubbling());
  EXPECT_EQ(0, w.unhandledKeyUps) << "the releases of keys the page used stay with the page";
  // On a focused link Enter follows the link instead.
  w.events.clear();
  for (int i = 0; i < 5; ++i) w.key(VK_TAB);
  ASSERT_EQ("LINK_TO_LOG_FILE", focused());
  w.key(VK_RETURN);
  EXPECT_EQ((std::vector<std::string>{"128:LINK_TO_LOG_FILE"}), bubbling());
}

TEST_F(Input, EscapeWithoutCancelButton_IsLeftToTheHost) {
  w.load("<p>No buttons here</p>");
  w.key(VK_ESCAPE);
  EXPECT_EQ(1, w.unhandledKeyUps);
  EXPECT_TRUE(w.events.empty());
}

TEST_F(Input, InADialog_ThePageAsksForEveryKey) {
  const LRESULT code = SendMessageW(w.hwnd(), WM_GETDLGCODE, 0, 0);
  EXPECT_EQ(DLGC_WANTALLKEYS, code & DLGC_WANTALLKEYS);
  EXPECT_EQ(DLGC_WANTTAB, code & DLGC_WANTTAB);
}

struct TipSearch {
  HWND owner;
  HWND tip;
};

BOOL CALLBACK FindTip(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<TipSearch*>(param);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && GetWindow(hwnd, GW_OWNER) == s->owner) {
    s->tip = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::wstring TipText(HWND owner) {
  TipSearch s{owner, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindTip, reinterpret_cast<LPARAM>(&s));
  if (!s.tip) return L"<no tooltip window>";
  wchar_t text[512] = {};
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = owner;
  ti.uId = 1;
  ti.lpszText = text;
  SendMessageW(s.tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&ti));
  return text;
}

TEST_F(Input, Hover_ShowsTheTitleAsTooltipAndMarksLinks) {
  const int asked = PageWindow::notifyFormats;
  { const PageWindow other(200, 100); }
  EXPECT_EQ(1, PageWindow::notifyFormats - asked) << "the view and its tooltip are made once";
  w.moveTo(w.pointIn("CHECKBOX_AUTORUN"));
  EXPECT_EQ(L"Start Kestrow with Windows automatically", TipText(w.hwnd()));
  EXPECT_TRUE(w.state("CHECKBOX_AUTORUN") & HL_STATE_HOVER);
  w.moveTo(w.pointIn("SPAN_LINK_TO_LOG_FILE"));
  EXPECT_EQ(L"Open log file", TipText(w.hwnd()));
  EXPECT_TRUE(w.state("LINK_TO_LOG_FILE") & HL_STATE_HOVER);
  EXPECT_EQ(0u, w.state("CHECKBOX_AUTORUN") & HL_STATE_HOVER);
  w.moveTo(w.pointIn("theader"));
  EXPECT_EQ(L"", TipText(w.hwnd()));
  EXPECT_EQ(0u, w.state("LINK_TO_LOG_FILE") & HL_STATE_HOVER);
}

TEST_F(Input, HostDestroyingTheWindowInsideAClick_IsSafe) {
  const HWND hwnd = w.hwnd();
  w.onBehavior = [hwnd](const HLBehaviorParams& p) {
    if (p.cmd == HL_BUTTON_CLICK) DestroyWindow(hwnd);
    return false;
  };
  w.click("BUTTON_CANCEL");
  EXPECT_FALSE(IsWindow(hwnd));
}

// A window smaller than the settings page: it scrolls by the user's wheel
// settings, the keys and its own scroll bars.
class Scroll : public ::testing::Test {
 protected:
  void SetUp() override {
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &savedLines, 0);
    SystemParametersInfoW(SPI_GETWHEELSCROLLCHARS, 0, &savedChars, 0);
    w.load(SettingsPage());
    w.pump();
  }
  void TearDown() override {
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, savedLines, nullptr, 0);
    SystemParametersInfoW(SPI_SETWHEELSCROLLCHARS, savedChars, nullptr, 0);
  }
  // Where the page's top-left corner lies in the window (0 or negative).
  POINT origin() const {
    const RECT view = w.location("MAIN_TABLE", HL_VIEW_RELATIVE | HL_BORDER_BOX);
    const RECT page = w.location("MAIN_TABLE", HL_ROOT_RELATIVE | HL_BORDER_BOX);
    return POINT{view.left - page.left, view.top - page.top};
  }
  int barPos(int bar) const {
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(w.hwnd(), bar, &si);
    return si.nPos;
  }
  void wheel(int delta, bool sideways = false) {
    RECT r{};
    GetWindowRect(w.hwnd(), &r);
    const LPARAM at = MAKELPARAM(r.left + 100, r.top + 100);
    PostMessageW(w.hwnd(), sideways ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL,
                 MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), at);
    w.pump();
  }
  void scrollBar(UINT msg, WORD code, WORD pos = 0) {
    PostMessageW(w.hwnd(), msg, MAKEWPARAM(code, pos), 0);
    w.pump();
  }

  UINT savedLines = 3;
  UINT savedChars = 3;
  PageWindow w{400, 300};
};

TEST_F(Scroll, SmallWindow_ShowsBothBarsOverThePage) {
  const LONG style = GetWindowLongW(w.hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & WS_HSCROLL);
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(w.hwnd(), SB_HORZ, &si));
  // As far as the table reaches, which cannot get narrower than its content.
  const RECT table = w.location("MAIN_TABLE", HL_ROOT_RELATIVE | HL_BORDER_BOX);
  EXPECT_EQ(table.right, si.nMax + 1);
  EXPECT_LE(table.right, static_cast<LONG>(HTMLayoutGetMinWidth(w.hwnd())));
  RECT client{};
  GetClientRect(w.hwnd(), &client);
  EXPECT_EQ(static_cast<UINT>(client.right), si.nPage);
  EXPECT_EQ(0, origin().x);
  EXPECT_EQ(0, origin().y);
}

TEST_F(Scroll, Wheel_FollowsTheLinesAndCharsPerNotch) {
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(-3 * Win32Scroll::kLine, origin().y);
  EXPECT_EQ(3 * Win32Scroll::kLine, barPos(SB_VERT));
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 1, nullptr, 0);
  wheel(-WHEEL_DELTA / 2);  // half a notch waits for its other half
  EXPECT_EQ(-3 * Win32Scroll::kLine, origin().y);
  wheel(-WHEEL_DELTA / 2);
  EXPECT_EQ(-4 * Win32Scroll::kLine, origin().y);
  wheel(WHEEL_DELTA);
  EXPECT_EQ(-3 * Win32Scroll::kLine, origin().y);
  // One page a notch, less a line that stays in view.
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0);
  RECT client{};
  GetClientRect(w.hwnd(), &client);
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(-3 * Win32Scroll::kLine - (client.bottom - Win32Scroll::kLine), origin().y);
  // Sideways: right for a positive turn, by the characters per notch.
  SystemParametersInfoW(SPI_SETWHEELSCROLLCHARS, 2, nullptr, 0);
  wheel(WHEEL_DELTA, true);
  EXPECT_EQ(-2 * Win32Scroll::kLine, origin().x);
  EXPECT_EQ(2 * Win32Scroll::kLine, barPos(SB_HORZ));
  wheel(-4 * WHEEL_DELTA, true);  // stops at the left edge
  EXPECT_EQ(0, origin().x);
}

TEST_F(Scroll, Keys_PageHomeEndAndArrows) {
  RECT client{};
  GetClientRect(w.hwnd(), &client);
  w.key(VK_DOWN);
  EXPECT_EQ(-Win32Scroll::kLine, origin().y);
  w.key(VK_NEXT);
  EXPECT_EQ(-Win32Scroll::kLine - (client.bottom - Win32Scroll::kLine), origin().y);
  w.key(VK_END);
  const int pageHeight = static_cast<int>(HTMLayoutGetMinHeight(w.hwnd(), static_cast<UINT>(client.right)));
  w.pump();
  EXPECT_EQ(-(pageHeight - client.bottom), origin().y);
  w.key(VK_PRIOR);
  EXPECT_EQ(-(pageHeight - client.bottom) + (client.bottom - Win32Scroll::kLine), origin().y);
  w.key(VK_HOME);
  EXPECT_EQ(0, origin().y);
  w.key(VK_UP);  // nothing above the top
  EXPECT_EQ(0, origin().y);
  w.key(VK_RIGHT);
  EXPECT_EQ(-Win32Scroll::kLine, origin().x);
  w.key(VK_LEFT);
  EXPECT_EQ(0, origin().x);
}

TEST_F(Scroll, ScrollBars_LinesPagesThumbAndEnds) {
  scrollBar(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(-Win32Scroll::kLine, origin().y);
  scrollBar(WM_VSCROLL, SB_THUMBTRACK, 150);  // dragging the thumb
  EXPECT_EQ(-150, origin().y);
  scrollBar(WM_VSCROLL, SB_THUMBPOSITION, 170);
  EXPECT_EQ(-170, origin().y);
  EXPECT_EQ(170, barPos(SB_VERT));
  scrollBar(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(0, origin().y);
  scrollBar(WM_HSCROLL, SB_BOTTOM);
  RECT client{};
  GetClientRect(w.hwnd(), &client);
  const RECT table = w.location("MAIN_TABLE", HL_ROOT_RELATIVE | HL_BORDER_BOX);
  EXPECT_EQ(-(table.right - client.right), origin().x);
  EXPECT_EQ(client.right, w.location("MAIN_TABLE").right);  // its right edge in view
  scrollBar(WM_HSCROLL, SB_PAGEUP);
  scrollBar(WM_HSCROLL, SB_PAGEUP);
  scrollBar(WM_HSCROLL, SB_PAGEUP);
  EXPECT_EQ(0, origin().x);
  // Another page starts at its top, and so do the bars.
  scrollBar(WM_VSCROLL, SB_PAGEDOWN);
  scrollBar(WM_HSCROLL, SB_PAGEDOWN);
  w.load(SettingsPage());
  w.pump();
  EXPECT_EQ(0, origin().x);
  EXPECT_EQ(0, origin().y);
  EXPECT_EQ(0, barPos(SB_VERT));
  EXPECT_EQ(0, barPos(SB_HORZ));
}

TEST_F(Scroll, ClicksAfterScrolling_HitWhatIsShown) {
  // The OK button lies below the window; scrolled into view, a click there
  // reaches it.
  RECT client{};
  GetClientRect(w.hwnd(), &client);
  RECT ok = w.location("BUTTON_OK");
  ASSERT_GT(ok.bottom, client.bottom);
  scrollBar(WM_VSCROLL, SB_THUMBPOSITION, static_cast<WORD>(ok.top - origin().y - 20));
  ok = w.location("BUTTON_OK");
  ASSERT_GE(ok.top, 0);
  ASSERT_LE(ok.bottom, client.bottom);
  w.click("BUTTON_OK");
  ASSERT_FALSE(w.events.empty());
  EXPECT_EQ("BUTTON_OK", w.events.back().target);
}

TEST_F(Scroll, Tab_BringsEachFocusedControlIntoView) {
  RECT client{};
  GetClientRect(w.hwnd(), &client);
  bool sawScroll = false;
  for (int i = 0; i < 20; ++i) {
    w.key(VK_TAB);
    for (const char* id : {"CHECKBOX_AUTORUN", "CHECKBOX_HS_LBUTTON", "BUTTON_OK", "BUTTON_CANCEL"}) {
      if (!(w.state(id) & HL_STATE_FOCUS)) continue;
      const RECT r = w.location(id);
      EXPECT_GE(r.top, 0) << id;
      EXPECT_LE(r.bottom, client.bottom) << id;
      EXPECT_GE(r.left, 0) << id;
      EXPECT_LE(r.right, client.right) << id;
    }
    sawScroll = sawScroll || origin().y < 0;
  }
  EXPECT_TRUE(sawScroll);
}

// A screen reader may hold the page's object longer than the window lives,
// and may queue an action the host then makes impossible: neither may touch
// what is gone.
TEST_F(Input, AccessibleObject_AfterTheWindowIsGone_AnswersDisconnectedAndQueuedActionsAreDropped) {
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  {
    ComPtr<IAccessible> page;
    ASSERT_EQ(S_OK, AccessibleObjectFromWindow(w.hwnd(), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                               reinterpret_cast<void**>(page.put())));
    long count = 0;
    ASSERT_EQ(S_OK, page->get_accChildCount(&count));
    ASSERT_GT(count, 0);
    VARIANT first;
    VariantInit(&first);
    first.vt = VT_I4;
    first.lVal = 1;
    // Queued, then the page it belongs to is replaced before it runs.
    ASSERT_EQ(S_OK, page->accDoDefaultAction(first));
    w.load(SettingsPage());
    w.pump();
    EXPECT_FALSE(checked("CHECKBOX_AUTORUN"));
    EXPECT_TRUE(w.events.empty());

    DestroyWindow(w.hwnd());
    w.pump();
    EXPECT_EQ(RPC_E_DISCONNECTED, page->get_accChildCount(&count));
    BSTR name = nullptr;
    EXPECT_EQ(RPC_E_DISCONNECTED, page->get_accName(first, &name));
    EXPECT_EQ(nullptr, name);
    EXPECT_EQ(RPC_E_DISCONNECTED, page->accDoDefaultAction(first));
  }
  if (com) CoUninitialize();
}

std::vector<std::pair<DWORD, LONG>>& SeenEvents() {
  static std::vector<std::pair<DWORD, LONG>> events;
  return events;
}
void CALLBACK SeeEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT) SeenEvents().emplace_back(event, child);
}

// Content the host replaces changes what a screen reader knows only where it
// holds controls (the list of children) or a control's label (its name).
TEST_F(Input, ContentChanges_AnnounceNewControlsAndNewNamesOnly) {
  SeenEvents().clear();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE, nullptr, SeeEvent,
                                             GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(nullptr, hook);
  const auto seen = [](DWORD event, LONG child) {
    for (int i = 0; i < 50; ++i) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      const auto& all = SeenEvents();
      if (std::find(all.begin(), all.end(), std::make_pair(event, child)) != all.end()) return true;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
  };
  const std::string heading = "Kestrow Settings <SUP><SPAN ID=small_changed>changed</SPAN></SUP>";
  HTMLayoutSetElementHtml(w.find("theader"), reinterpret_cast<const BYTE*>(heading.data()),
                          static_cast<UINT>(heading.size()), HL_SET_CONTENT);
  const std::string link = "<a href=\"x\">added</a>";
  HTMLayoutSetElementHtml(w.find("TEXT_COPY"), reinterpret_cast<const BYTE*>(link.data()),
                          static_cast<UINT>(link.size()), HL_SET_CONTENT);
  EXPECT_TRUE(seen(EVENT_OBJECT_REORDER, CHILDID_SELF));
  // The log link is the fifth control, after the first four boxes.
  HTMLayoutSetElementInnerText16(w.find("SPAN_LINK_TO_LOG_FILE"), L"view", 4);
  EXPECT_TRUE(seen(EVENT_OBJECT_NAMECHANGE, 5));
  UnhookWinEvent(hook);
  // The heading alone held no control: it raised nothing of its own.
  const auto& all = SeenEvents();
  EXPECT_EQ(1, std::count(all.begin(), all.end(), std::make_pair(DWORD{EVENT_OBJECT_REORDER}, LONG{CHILDID_SELF})));
  EXPECT_EQ(1, std::count_if(all.begin(), all.end(), [](const auto& e) { return e.first == EVENT_OBJECT_NAMECHANGE; }));
}

}  // namespace
}  // namespace ks::render::testing
