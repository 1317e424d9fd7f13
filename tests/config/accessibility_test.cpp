// The settings window as a screen reader finds it: an MSAA client in this
// process asks the running program's window for its accessible object (the
// way Narrator or NVDA do) and reads, focuses and operates the page through
// it. The expected controls are counted in the page the program is built
// from, so a control added to the page must show up here too.
#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/unique_handle.h"
#include "render/dom_controls.h"
#include "render/dom_document.h"
#include "render/html_parser.h"
#include "tests/config/config_session.h"

namespace ks::test {
namespace {

constexpr UINT kChecked = 0x40;

struct Child {
  LONG id = 0;
  LONG role = 0;
  LONG state = 0;
  std::wstring name;
  std::wstring action;
};

VARIANT ChildVariant(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring TakeBstr(BSTR text) {
  std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return out;
}

// How many controls of each kind the page source holds.
struct PageCounts {
  int checkBoxes = 0;
  int buttons = 0;
  int links = 0;
};

PageCounts CountPageControls() {
  PageCounts counts;
  const std::string html = ReadBytes(Widen(std::string(KS_PAGE_DIR) + "/settings.html"));
  EXPECT_FALSE(html.empty()) << "page source not found";
  const std::unique_ptr<render::Node> root = render::ParseHtmlDocument(html);
  render::Document::VisitElements(*root, [&](render::Node& n) {
    switch (render::ControlKindOf(n)) {
      case render::ControlKind::CheckBox: ++counts.checkBoxes; break;
      case render::ControlKind::Button: ++counts.buttons; break;
      case render::ControlKind::Link: ++counts.links; break;
      default: break;
    }
    return true;
  });
  return counts;
}

class Accessibility : public ConfigSession {
 protected:
  void SetUp() override { comReady_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
  void TearDown() override {
    page_.reset();
    if (comReady_) CoUninitialize();
  }

  // The page object of the window, as a screen reader asks for it.
  bool Connect(HWND window) {
    const HRESULT hr = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                  reinterpret_cast<void**>(page_.put()));
    EXPECT_EQ(hr, S_OK);
    return SUCCEEDED(hr) && page_;
  }

  std::vector<Child> Children() {
    std::vector<Child> out;
    long count = 0;
    EXPECT_EQ(page_->get_accChildCount(&count), S_OK);
    for (LONG id = 1; id <= count; ++id) out.push_back(Read(id));
    return out;
  }

  Child Read(LONG id) {
    Child c;
    c.id = id;
    const VARIANT v = ChildVariant(id);
    VARIANT value;
    VariantInit(&value);
    if (page_->get_accRole(v, &value) == S_OK && value.vt == VT_I4) c.role = value.lVal;
    VariantInit(&value);
    if (page_->get_accState(v, &value) == S_OK && value.vt == VT_I4) c.state = value.lVal;
    BSTR text = nullptr;
    if (SUCCEEDED(page_->get_accName(v, &text))) c.name = TakeBstr(text);
    text = nullptr;
    if (SUCCEEDED(page_->get_accDefaultAction(v, &text))) c.action = TakeBstr(text);
    return c;
  }

  // The child with this name; id 0 when there is none.
  Child Named(const std::wstring& name) {
    for (const Child& c : Children()) {
      if (c.name == name) return c;
    }
    ADD_FAILURE() << "no accessible control named " << Narrow(name);
    return Child{};
  }

  LONG Focus() {
    VARIANT v;
    VariantInit(&v);
    if (page_->get_accFocus(&v) != S_OK || v.vt != VT_I4) return -1;
    return v.lVal;
  }

  bool WaitForState(LONG id, LONG bits, bool set) {
    const ULONGLONG end = GetTickCount64() + kReactMs;
    for (;;) {
      if (((Read(id).state & bits) != 0) == set) return true;
      if (GetTickCount64() >= end) return false;
      PumpMessagesFor(20);
    }
  }

  ComPtr<IAccessible> page_;

 private:
  bool comReady_ = false;
};

// WinEvents raised by the page, as an out-of-context hook receives them.
struct WinEvent {
  DWORD event;
  LONG object;
  LONG child;
};
std::vector<WinEvent>& Events() {
  static std::vector<WinEvent> events;
  return events;
}
void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
  Events().push_back(WinEvent{event, object, child});
}
bool WaitForEvent(DWORD event, LONG child) {
  const ULONGLONG end = GetTickCount64() + kReactMs;
  for (;;) {
    for (const WinEvent& e : Events()) {
      if (e.event == event && e.object == OBJID_CLIENT && e.child == child) return true;
    }
    if (GetTickCount64() >= end) return false;
    PumpMessagesFor(20);
  }
}

int CountRole(const std::vector<Child>& children, LONG role) {
  return static_cast<int>(
      std::count_if(children.begin(), children.end(), [role](const Child& c) { return c.role == role; }));
}

TEST_F(Accessibility, ScreenReader_FindsEveryCheckBoxButtonAndLinkOfThePageWithNamesAndStates) {
  ASSERT_TRUE(copy.WriteSettings("HScrollOnCtrl=1\r\nWriteLog=0\r\n"));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Connect(window));
  const PageCounts expected = CountPageControls();
  const std::vector<Child> children = Children();
  EXPECT_EQ(CountRole(children, ROLE_SYSTEM_CHECKBUTTON), expected.checkBoxes);
  EXPECT_EQ(CountRole(children, ROLE_SYSTEM_PUSHBUTTON), expected.buttons);
  EXPECT_EQ(CountRole(children, ROLE_SYSTEM_LINK), expected.links);
  EXPECT_EQ(static_cast<int>(children.size()), expected.checkBoxes + expected.buttons + expected.links);

  // Each box by its caption, checked as the page shows it.
  const struct {
    const wchar_t* id;
    const wchar_t* name;
  } boxes[] = {{L"CHECKBOX_AUTORUN", L"Start Kestrow with Windows"},
               {L"CHECKBOX_BALLOON", L"Show information balloon on start"},
               {L"CHECKBOX_START_AS_DISABLED", L"Start Kestrow as disabled"},
               {L"CHECKBOX_WRITE_LOG", L"Write log file"},
               {L"CHECKBOX_NO_MIDDLE", L"No scroll is middle button"},
               {L"CHECKBOX_HS_SHIFT", L"Scroll horizontally on SHIFT"},
               {L"CHECKBOX_HS_CTRL", L"Scroll horizontally on CONTROL"},
               {L"CHECKBOX_HS_RBUTTON", L"Scroll horizontally if RIGHT button is pressed"},
               {L"CHECKBOX_HS_LBUTTON", L"Scroll horizontally if LEFT button is pressed"},
               {L"CHECKBOX_REVERSE_VERTICAL", L"Reverse the vertical wheel"},
               {L"CHECKBOX_REVERSE_HORIZONTAL", L"Reverse the horizontal wheel"},
               {L"CHECKBOX_PAUSE_SCROLL_LOCK", L"Leave the wheel alone while Scroll Lock is on"}};
  for (const auto& box : boxes) {
    const Child c = Named(box.name);
    EXPECT_EQ(c.role, ROLE_SYSTEM_CHECKBUTTON) << Narrow(box.name);
    EXPECT_TRUE(c.state & STATE_SYSTEM_FOCUSABLE) << Narrow(box.name);
    const std::optional<UINT> state = ElementState(window, box.id);
    ASSERT_TRUE(state.has_value()) << Narrow(box.id);
    const bool checked = (*state & kChecked) != 0;
    EXPECT_EQ((c.state & STATE_SYSTEM_CHECKED) != 0, checked) << Narrow(box.name);
    EXPECT_EQ(c.action, checked ? L"Uncheck" : L"Check") << Narrow(box.name);
  }
  EXPECT_TRUE(Named(L"Scroll horizontally on CONTROL").state & STATE_SYSTEM_CHECKED);
  EXPECT_FALSE(Named(L"Write log file").state & STATE_SYSTEM_CHECKED);

  EXPECT_EQ(Named(L"OK").role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_TRUE(Named(L"OK").state & STATE_SYSTEM_DEFAULT);
  EXPECT_EQ(Named(L"Cancel").action, L"Press");
  // Links by the text the page shows: entities read as drawn, and the log
  // link is a control of its own beside its box.
  for (const wchar_t* name : {L"open\u2026", L"Forum", L"Email To Us", L"Learn more\u2026",
                              L"Kestrow \u041E\u0444\u0438\u0446\u0438\u0430\u043B\u044C\u043D\u044B\u0439 "
                              L"\u0432\u0435\u0431-\u0441\u0430\u0439\u0442 (\u0440\u0443)"}) {
    const Child c = Named(name);
    EXPECT_EQ(c.role, ROLE_SYSTEM_LINK) << Narrow(name);
    EXPECT_EQ(c.action, L"Jump") << Narrow(name);
    EXPECT_TRUE(c.state & STATE_SYSTEM_LINKED) << Narrow(name);
  }

  // Every child has a place on the screen inside the window.
  RECT frame{};
  GetWindowRect(window, &frame);
  for (const Child& c : children) {
    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(page_->accLocation(&x, &y, &w, &h, ChildVariant(c.id)), S_OK) << Narrow(c.name);
    EXPECT_GT(w, 0) << Narrow(c.name);
    EXPECT_GT(h, 0) << Narrow(c.name);
    EXPECT_GE(x, frame.left) << Narrow(c.name);
    EXPECT_GE(y, frame.top) << Narrow(c.name);
    // The point in the middle of a control finds that control again.
    VARIANT hit;
    VariantInit(&hit);
    if ((c.state & STATE_SYSTEM_OFFSCREEN) == 0) {
      ASSERT_EQ(page_->accHitTest(x + w / 2, y + h / 2, &hit), S_OK) << Narrow(c.name);
      EXPECT_EQ(hit.vt, VT_I4);
      EXPECT_EQ(hit.lVal, c.id) << Narrow(c.name);
    }
  }
  // Ids outside the page are refused, not guessed.
  BSTR none = nullptr;
  EXPECT_EQ(page_->get_accName(ChildVariant(static_cast<LONG>(children.size()) + 1), &none), E_INVALIDARG);
  EXPECT_EQ(none, nullptr);
}

TEST_F(Accessibility, DefaultActionOfABox_TogglesItAndThePageShowsItsChangedMarker) {
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Connect(window));
  const Child shift = Named(L"Scroll horizontally on SHIFT");
  ASSERT_NE(shift.id, 0);
  ASSERT_EQ(shift.action, L"Check");

  ASSERT_EQ(page_->accDoDefaultAction(ChildVariant(shift.id)), S_OK);
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_HS_SHIFT", kChecked, true, kReactMs));
  EXPECT_TRUE(WaitForState(shift.id, STATE_SYSTEM_CHECKED, true));
  EXPECT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  EXPECT_TRUE(ElementSize(window, L"small_changed").has_value());
  EXPECT_EQ(Read(shift.id).action, L"Uncheck");

  ASSERT_EQ(page_->accDoDefaultAction(ChildVariant(shift.id)), S_OK);
  EXPECT_TRUE(WaitForState(shift.id, STATE_SYSTEM_CHECKED, false));
  EXPECT_TRUE(WaitForTitle(window, Title(false), kReactMs));
  EXPECT_FALSE(ElementSize(window, L"small_changed").has_value());
  // The page itself has no action of its own.
  EXPECT_EQ(page_->accDoDefaultAction(ChildVariant(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);
}

TEST_F(Accessibility, Tab_VisitsEveryControlInDocumentOrderAndSpaceTogglesTheFocusedBox) {
  // A rule's row: its speed buttons, boxes and link are visited too.
  ASSERT_TRUE(copy.WriteSettings("[Programs]\r\nnotepad.exe=speed=3\r\n"));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Connect(window));
  const std::vector<Child> children = Children();
  ASSERT_FALSE(children.empty());
  Events().clear();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, nullptr, RecordEvent,
                                             process.Id(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  const ScopeExit unhook([hook] { UnhookWinEvent(hook); });
  // Focus taken through the accessible object lands on the page itself first.
  ASSERT_EQ(page_->accSelect(SELFLAG_TAKEFOCUS, ChildVariant(CHILDID_SELF)), S_OK);
  for (const Child& c : children) {
    PressKey(window, VK_TAB);
    const ULONGLONG end = GetTickCount64() + kReactMs;
    while (Focus() != c.id && GetTickCount64() < end) PumpMessagesFor(20);
    ASSERT_EQ(Focus(), c.id) << "Tab did not reach " << Narrow(c.name);
    EXPECT_TRUE(Read(c.id).state & STATE_SYSTEM_FOCUSED) << Narrow(c.name);
    EXPECT_TRUE(WaitForEvent(EVENT_OBJECT_FOCUS, c.id)) << Narrow(c.name);
  }

  // Enter presses the focused speed button, Space toggles the row's box.
  ASSERT_EQ(page_->accSelect(SELFLAG_TAKEFOCUS, ChildVariant(Named(L"+").id)), S_OK);
  PressKey(window, VK_RETURN);
  ASSERT_TRUE(WaitForTitle(window, Title(true), kReactMs));
  ASSERT_EQ(page_->accSelect(SELFLAG_TAKEFOCUS, ChildVariant(Named(L"reverse").id)), S_OK);
  PressKey(window, VK_SPACE);
  EXPECT_TRUE(WaitForElementState(window, L"RULE_REVERSE_1", kChecked, true, kReactMs));

  const Child middle = Named(L"No scroll is middle button");
  ASSERT_EQ(page_->accSelect(SELFLAG_TAKEFOCUS, ChildVariant(middle.id)), S_OK);
  EXPECT_EQ(Focus(), middle.id);
  const bool before = (middle.state & STATE_SYSTEM_CHECKED) != 0;
  PressKey(window, VK_SPACE);
  EXPECT_TRUE(WaitForState(middle.id, STATE_SYSTEM_CHECKED, !before));
  EXPECT_TRUE(WaitForElementState(window, L"CHECKBOX_NO_MIDDLE", kChecked, !before, kReactMs));
  EXPECT_TRUE(WaitForEvent(EVENT_OBJECT_STATECHANGE, middle.id));
  // Enter on a box presses OK.
  PressKey(window, VK_RETURN);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(RuleValue(L"notepad.exe"), L"speed=4;reverse");
}

TEST_F(Accessibility, LocalisedPage_NamesTheControlsInTheLanguageItShows) {
  ASSERT_TRUE(WriteBytes(copy.File(L"Test.lng"), "[Main]\r\nLangPrefix=Ru\r\n"));
  ASSERT_TRUE(copy.WriteSettings("LangFile=Test.lng\r\n[Programs]\r\nnotepad.exe=reverse\r\n"));
  ASSERT_TRUE(
      WriteBytes(copy.File(L"localize_Ru.css"), ReadBytes(Widen(std::string(KS_PAGE_DIR) + "/localize_Ru.css"))));
  HWND window = StartConfig();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Connect(window));
  // "Горизонтальная прокрутка с клавишей SHIFT", as the sheet puts it.
  const Child shift = Named(
      L"\u0413\u043E\u0440\u0438\u0437\u043E\u043D\u0442\u0430\u043B\u044C\u043D\u0430\u044F "
      L"\u043F\u0440\u043E\u043A\u0440\u0443\u0442\u043A\u0430 \u0441 \u043A\u043B\u0430\u0432\u0438\u0448\u0435\u0439 "
      L"SHIFT");
  EXPECT_EQ(shift.role, ROLE_SYSTEM_CHECKBUTTON);
  // "Скачать" for each of the three download links.
  int downloads = 0;
  for (const Child& c : Children()) {
    if (c.role == ROLE_SYSTEM_LINK && c.name == L"\u0421\u043A\u0430\u0447\u0430\u0442\u044C") ++downloads;
  }
  EXPECT_EQ(downloads, 3);
  // The rule's "обратно", which the program copied into the row with its locid.
  EXPECT_TRUE(Named(L"\u043E\u0431\u0440\u0430\u0442\u043D\u043E").state & STATE_SYSTEM_CHECKED);
}

}  // namespace
}  // namespace ks::test
