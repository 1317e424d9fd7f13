// Installing and removing the hook through the library's exports, and the
// lines it writes to the shared log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>

#include "common/hook_flags.h"
#include "hook/shared_state.h"
#include "log/log_writer.h"
#include "tests/harness/shared_section.h"
#include "tests/harness/test_files.h"
#include "tests/hook/wheel_target_run.h"

namespace ks::test {
namespace {

using Names = std::vector<std::string>;

bool ShiftWheelScrollsHorizontally() {
  const TargetReport report = RunWheelTarget(L"scenario=pane over=pane keys=4");
  return report.ran && !report.Of("pane").empty() && report.Of("pane")[0].message == "WM_HSCROLL";
}

// The library's shared section as this process maps it, one object for every
// session on the machine: writing a slot stands in for another session's agent.
class SessionSlots {
 public:
  SessionSlots() {
    shared_ = reinterpret_cast<SharedState*>(SharedSectionOf(GetModuleHandleW((BinDir() + L"TDX.dll").c_str())).data);
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    ownKey_ = static_cast<LONG>(session + 1);
  }
  ~SessionSlots() {
    for (SessionSlot& slot : shared_->slots) {
      if (slot.sessionKey != ownKey_) slot.sessionKey = 0;
    }
  }
  // Another session's live agent, installed with Shift scrolling and the
  // wheel target left alone, in every slot (or all but this session's and the
  // last); this process stands in for its holder, its installer is an id that
  // no process has now.
  void FillWithOtherSessions(bool everySlot) {
    FILETIME started = {}, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &started, &exited, &kernel, &user);
    for (SessionSlot& slot : shared_->slots) {
      if (!everySlot && (slot.sessionKey == ownKey_ || &slot == &shared_->slots[kSessionSlots - 1])) continue;
      slot = SessionSlot{ownKey_ + 1, GetCurrentProcessId(), started,     0,  nullptr,
                         1,           HOOK_HSCROLL_ON_SHIFT, 0xFFFFFFF0u, {}, {2, 0, 1, L"wheel_target.exe"},
                         {}};
    }
  }
  SharedState& shared() { return *shared_; }
  SessionSlot* own() {
    for (SessionSlot& slot : shared_->slots) {
      if (slot.sessionKey == ownKey_) return &slot;
    }
    return nullptr;
  }

 private:
  SharedState* shared_ = nullptr;
  LONG ownKey_ = 0;
};

TEST(TdxInstall, OtherSessionsInstallations_NeitherBlockThisSessionNorLendItTheirFlagsOrList) {
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(BinDir() + L"TDX.dll"));
  SessionSlots slots;
  slots.FillWithOtherSessions(false);
  ASSERT_EQ(tdx.LeaveAlone(nullptr, 0), 1);
  ASSERT_EQ(tdx.Install(nullptr, 0), 1);
  EXPECT_FALSE(ShiftWheelScrollsHorizontally());
  EXPECT_EQ(RunWheelTarget(L"scenario=redirect over=list").Windows(), Names{"list"});
  EXPECT_EQ(tdx.Uninstall(), 1);
  for (const SessionSlot& slot : slots.shared().slots) {
    if (slot.installerProcessId != 0) {
      EXPECT_EQ(slot.hookFlags, unsigned{HOOK_HSCROLL_ON_SHIFT});
    }
  }
}

// Every slot held by another session that still runs: refused, none taken
// over; one whose holder has ended (its id now another process's) is free.
TEST(TdxInstall, EverySlotHeldByAnotherLiveSession_RefusesUntilOneHolderEnds) {
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(BinDir() + L"TDX.dll"));
  SessionSlots slots;
  slots.FillWithOtherSessions(true);
  EXPECT_EQ(tdx.LeaveAlone(nullptr, 0), 0);
  EXPECT_EQ(tdx.Install(nullptr, 0), 0);
  SessionSlot& ended = slots.shared().slots[kSessionSlots - 1];
  ended.holderStart = FILETIME{1, 0};
  ASSERT_EQ(tdx.Install(nullptr, 0), 1);
  EXPECT_EQ(ended.installerProcessId, GetCurrentProcessId());
  EXPECT_EQ(slots.shared().slots[0].hookFlags, unsigned{HOOK_HSCROLL_ON_SHIFT});
  EXPECT_EQ(tdx.Uninstall(), 1);
}

TEST(TdxInstall, SecondInstall_ReturnsZeroAndKeepsFirstFlagsAndLogPath) {
  TempDir dir;
  LibraryLog first;
  const std::wstring second = dir.File(L"LogFile.log");
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(BinDir() + L"TDX.dll"));
  ASSERT_EQ(tdx.Install(first.path().c_str(), HOOK_HSCROLL_ON_SHIFT), 1);
  EXPECT_EQ(tdx.Install(second.c_str(), 0), 0);
  EXPECT_TRUE(ShiftWheelScrollsHorizontally());
  EXPECT_EQ(tdx.Uninstall(), 1);

  EXPECT_FALSE(FileExists(second));
  const std::wstring text = ReadUtf16(first.path());
  EXPECT_NE(text.find(L"Class detected KsTestPane"), std::wstring::npos);
}

// A program beside the crash: the unwinder must find every function of the
// library in its tables, or an exception raised below the hook kills the host.
TEST(TdxInstall, X64Library_HasUnwindEntriesForItsCode) {
  if (sizeof(void*) == 4) GTEST_SKIP() << "x86 unwinds by frame chains";
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(BinDir() + L"TDX.dll"));
  HMODULE module = GetModuleHandleW((BinDir() + L"TDX.dll").c_str());
  ASSERT_NE(module, nullptr);
  for (const char* name : {"KS_TDXInstall", "KS_TDXUninstall"}) {
    const auto address = reinterpret_cast<DWORD64>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    ASSERT_NE(address, 0u) << name;
#ifdef _WIN64
    DWORD64 base = 0;
    EXPECT_NE(RtlLookupFunctionEntry(address, &base, nullptr), nullptr) << name;
#endif
  }
}

// Run from a stick or a share, the library is copied to the swap file whole:
// a page read later from media that has gone would fault inside the programs
// that map it.
TEST(TdxInstall, Library_RunsFromSwapWhenOnRemovableOrNetworkMedia) {
  for (const wchar_t* name : {L"TDX.dll", L"TDX32.dll"}) {
    const std::string image = ReadBytes(BinDir() + name);
    if (image.empty() && std::wstring(name) == L"TDX32.dll") continue;  // built in the x86 tree only
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER)) << Narrow(name);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    ASSERT_LT(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_FILE_HEADER) + 4, image.size());
    IMAGE_FILE_HEADER file = {};
    std::memcpy(&file, image.data() + dos->e_lfanew + 4, sizeof file);
    EXPECT_NE(file.Characteristics & IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP, 0) << Narrow(name);
    EXPECT_NE(file.Characteristics & IMAGE_FILE_NET_RUN_FROM_SWAP, 0) << Narrow(name);
  }
}

TEST(TdxInstall, ReinstallWithOtherFlags_PutsNewFlagsInForce) {
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(BinDir() + L"TDX.dll"));
  ASSERT_EQ(tdx.Install(nullptr, 0), 1);
  EXPECT_FALSE(ShiftWheelScrollsHorizontally());
  ASSERT_EQ(tdx.Uninstall(), 1);
  ASSERT_EQ(tdx.Install(nullptr, HOOK_HSCROLL_ON_SHIFT), 1);
  EXPECT_TRUE(ShiftWheelScrollsHorizontally());
  ASSERT_EQ(tdx.Uninstall(), 1);
}

TEST(TdxInstall, UninstallWhenNotInstalled_ReturnsZero) {
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(BinDir() + L"TDX.dll"));
  EXPECT_EQ(tdx.Uninstall(), 0);
  ASSERT_EQ(tdx.Install(nullptr, 0), 1);
  EXPECT_EQ(tdx.Uninstall(), 1);
  EXPECT_EQ(tdx.Uninstall(), 0);
}

// A process that took over from an installer it could not open keeps its
// installation when that installer uninstalls.
TEST(TdxInstall, UninstallOfAnInstallationAnotherProcessMade_ReturnsZeroAndKeepsIt) {
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(BinDir() + L"TDX.dll"));
  ASSERT_EQ(tdx.Install(nullptr, 0), 1);
  SessionSlots slots;
  SessionSlot* own = slots.own();
  ASSERT_NE(own, nullptr);
  const DWORD installer = own->installerProcessId;
  own->installerProcessId = installer + 4;
  EXPECT_EQ(tdx.Uninstall(), 0);
  own->installerProcessId = installer;
  EXPECT_EQ(tdx.Uninstall(), 1);
}

TEST(TdxInstall, AfterUninstall_HookNoLongerActs) {
  TdxLibrary tdx;
  ASSERT_TRUE(tdx.Load(BinDir() + L"TDX.dll"));
  ASSERT_EQ(tdx.Install(nullptr, 0), 1);
  ASSERT_EQ(tdx.Uninstall(), 1);
  const TargetReport report = RunWheelTarget(L"scenario=redirect over=list");
  ASSERT_TRUE(report.ran);
  EXPECT_EQ(report.Windows(), Names{"edit"});
}

TEST(TdxLog, InstallAndRedirect_WriteStampedLinesWithExactTexts) {
  LibraryLog libraryLog;
  const std::wstring& log = libraryLog.path();
  {
    InstalledHook hook(HOOK_HSCROLL_ON_CTRL, log.c_str());
    ASSERT_EQ(hook.installResult(), 1);
    ASSERT_TRUE(RunWheelTarget(L"scenario=redirect over=list").ran);
    ASSERT_TRUE(RunWheelTarget(L"scenario=pane over=pane keys=8 delta=-120").ran);
    ASSERT_TRUE(RunWheelTarget(L"scenario=scrollbars over=vbar").ran);
  }
  bool bom = false;
  const std::vector<std::wstring> lines = SplitCrLfLines(ReadUtf16(log, &bom));
  EXPECT_TRUE(bom);
  ASSERT_FALSE(lines.empty());

  const std::wregex stamp(LR"(\d\d::\d\d::\d\d::\d{4} \d\d-\d\d-\d{4} ([\s\S]*))");
  std::vector<std::wstring> texts;
  for (const std::wstring& line : lines) {
    std::wsmatch m;
    ASSERT_TRUE(std::regex_match(line, m, stamp)) << Narrow(line);
    texts.push_back(m[1].str());
  }
  auto has = [&](const std::wstring& text) { return std::find(texts.begin(), texts.end(), text) != texts.end(); };
  EXPECT_EQ(texts.front(), L"Success install TDX hook");
  EXPECT_TRUE(has(L"Class detected ListBox"));
  EXPECT_TRUE(has(L"Class detected KsTestPane"));
  EXPECT_TRUE(has(L"HS delta=-120\n"));
  EXPECT_TRUE(has(L"WM_HSCROLL lResult=0, WM_MOUSEHWHEEL lResult=0\n"));
  const std::wregex bar(LR"(left=-?\d+ top=-?\d+, right=-?\d+ bottom=-?\d+\. x=-?\d+, y=-?\d+ PtInRect=1 vertical=1)");
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const std::wstring& t) { return std::regex_match(t, bar); }));
}

TEST(TdxLog, InstallWithoutPath_WritesNothing) {
  TempDir dir;
  LibraryLog beside;
  {
    InstalledHook hook(0, nullptr);
    ASSERT_TRUE(RunWheelTarget(L"scenario=redirect over=list").ran);
  }
  // Nothing may have appeared anywhere in the test's directory.
  EXPECT_FALSE(FileExists(dir.File(L"LogFile.log")));
  EXPECT_FALSE(FileExists(beside.path()));
}

// Any program that maps the library can point its shared log atom anywhere:
// the library writes only to "LogFile.log" beside itself.
TEST(TdxLog, PathElsewhere_IsTreatedAsLoggingOff) {
  TempDir dir;
  LibraryLog beside;
  for (const std::wstring& elsewhere : {dir.File(L"LogFile.log"), beside.path() + L".txt", dir.File(L"x.log")}) {
    {
      InstalledHook hook(0, elsewhere.c_str());
      ASSERT_EQ(hook.installResult(), 1);
      ASSERT_TRUE(RunWheelTarget(L"scenario=redirect over=list").ran);
    }
    EXPECT_FALSE(FileExists(elsewhere)) << Narrow(elsewhere);
    EXPECT_FALSE(FileExists(beside.path()));
  }
}

// Any program of the user may hold the log's lock: the hook drops its lines
// rather than wait inside the program that took the wheel, the turn is
// redirected all the same, and the next line written says how many went.
TEST(TdxLog, LockHeldByAnotherProgram_TurnActsAndTheNextLineCountsTheDroppedOnes) {
  LibraryLog beside;
  {
    InstalledHook hook(0, beside.path().c_str());
    ASSERT_EQ(hook.installResult(), 1);
    UniqueKernelHandle lock(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kLogLockName));
    ASSERT_TRUE(lock);
    ASSERT_EQ(WaitForSingleObject(lock.get(), 10000), WAIT_OBJECT_0);
    const TargetReport held = RunWheelTarget(L"scenario=redirect over=list");
    ReleaseMutex(lock.get());
    ASSERT_TRUE(held.ran);
    EXPECT_EQ(held.Windows(), Names{"list"});
    ASSERT_TRUE(RunWheelTarget(L"scenario=redirect over=list").ran);
  }
  const std::vector<std::wstring> lines = SplitCrLfLines(ReadUtf16(beside.path()));
  const std::wregex dropped(LR"(.* (\d+) log lines dropped: the log was busy)");
  const auto note = std::find_if(lines.begin(), lines.end(),
                                 [&](const std::wstring& line) { return std::regex_match(line, dropped); });
  ASSERT_NE(note, lines.end());
  std::wsmatch m;
  std::regex_match(*note, m, dropped);
  EXPECT_GE(std::stoi(m[1].str()), 1);
  ASSERT_NE(note + 1, lines.end());
  EXPECT_NE((note + 1)->find(L"Class detected ListBox"), std::wstring::npos);
}

}  // namespace
}  // namespace ks::test
