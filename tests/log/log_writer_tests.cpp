// The shared log writer, in this process and across processes.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <regex>
#include <set>

#include "log/log_writer.h"
#include "tests/harness/child_process.h"
#include "tests/harness/test_files.h"

namespace ks {
// This program's own log module, as the agent and the hook library have theirs.
ATOM& LogAtomSlot() {
  static ATOM atom = 0;
  return atom;
}
}  // namespace ks

namespace ks::test {
namespace {

const std::wregex kStampedLine(LR"((\d\d)::(\d\d)::(\d\d)::(\d{4}) (\d\d)-(\d\d)-(\d{4}) ([\s\S]*))");

class LogWriter : public ::testing::Test {
 protected:
  void TearDown() override {
    while (LogIsOn()) LogStop();
  }
  TempDir dir;
  std::wstring path = dir.File(L"LogFile.log");
};

TEST_F(LogWriter, FirstLine_CreatesFileWithBomAndStampedLine) {
  ASSERT_EQ(LogStart(path.c_str()), 1);
  SYSTEMTIME now;
  GetLocalTime(&now);
  ASSERT_EQ(LogWriteLine(L"Log report installed\n================"), 1);

  const std::string bytes = ReadBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
  const std::wstring text = ReadUtf16(path);
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), L"\r\n");
  std::wsmatch m;
  const std::wstring line = text.substr(0, text.size() - 2);
  ASSERT_TRUE(std::regex_match(line, m, kStampedLine)) << Narrow(text);
  EXPECT_EQ(m[8].str(), L"Log report installed\n================");
  EXPECT_EQ(std::stoi(m[7].str()), now.wYear);
  EXPECT_EQ(std::stoi(m[6].str()), now.wMonth);
  EXPECT_LT(std::stoi(m[4].str()), 1000);
}

TEST_F(LogWriter, DeletedFile_IsCreatedAgainWithItsMark) {
  ASSERT_EQ(LogStart(path.c_str()), 1);
  ASSERT_EQ(LogWriteLine(L"first"), 1);
  ASSERT_TRUE(DeleteFileW(path.c_str()));
  ASSERT_EQ(LogWriteLine(L"second"), 1);
  bool bom = false;
  const std::vector<std::wstring> lines = SplitCrLfLines(ReadUtf16(path, &bom));
  EXPECT_TRUE(bom);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L" second"), std::wstring::npos);
}

TEST_F(LogWriter, OffOrEmptyText_WritesNothing) {
  EXPECT_EQ(LogIsOn(), 0);
  EXPECT_EQ(LogWriteLine(L"nobody listens"), 0);
  EXPECT_EQ(LogAppendRaw(L"nor here"), 0);
  EXPECT_FALSE(FileExists(path));

  ASSERT_EQ(LogStart(path.c_str()), 1);
  EXPECT_EQ(LogWriteLine(L""), 0);
  EXPECT_FALSE(FileExists(path));

  ASSERT_EQ(LogStop(), 1);
  EXPECT_EQ(LogStop(), 0);
  EXPECT_EQ(LogWriteLine(L"after stop"), 0);
  EXPECT_FALSE(FileExists(path));
}

TEST_F(LogWriter, SecondStart_KeepsPathInForce) {
  const std::wstring other = dir.File(L"other.log");
  ASSERT_EQ(LogStart(path.c_str()), 1);
  EXPECT_EQ(LogStart(other.c_str()), 0);
  ASSERT_EQ(LogWriteLine(L"where"), 1);
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(FileExists(other));
}

// Too long for an atom (300), or fitting one but not the writers' buffer
// (255), where lines would go to a file whose name lost its last character.
TEST_F(LogWriter, PathLongerThanWritersReadBack_LeavesLoggingOff) {
  auto pathOfLength = [&](size_t length) {
    std::wstring p = dir.path();
    if (p.back() != L'\\') p += L'\\';
    return p + std::wstring(length - p.size() - 4, L'b') + L".log";
  };
  for (const size_t length : {size_t{300}, size_t{kLogPathMaxChars} + 1}) {
    const std::wstring tooLong = pathOfLength(length);
    ASSERT_EQ(tooLong.size(), length);
    EXPECT_EQ(LogStart(tooLong.c_str()), 0) << length;
    EXPECT_EQ(LogIsOn(), 0) << length;
    EXPECT_EQ(LogWriteLine(L"x"), 0) << length;
  }

  const std::wstring longest = pathOfLength(kLogPathMaxChars);
  ASSERT_EQ(LogStart(longest.c_str()), 1);
  ASSERT_EQ(LogAppendRaw(L"kept"), 1);
  EXPECT_EQ(ReadUtf16(longest), L"kept");
}

TEST_F(LogWriter, RawText_IsAppendedUnchanged) {
  ASSERT_EQ(LogStart(path.c_str()), 1);
  ASSERT_EQ(LogAppendRaw(L"abc"), 1);
  ASSERT_EQ(LogAppendRaw(L"\r\ndef"), 1);
  EXPECT_EQ(ReadUtf16(path), L"abc\r\ndef");
}

struct LockHolder {
  HANDLE held = nullptr;     // set once the lock is taken
  HANDLE release = nullptr;  // set by the test to let it go
};

DWORD WINAPI HoldLock(void* param) {
  auto* holder = static_cast<LockHolder*>(param);
  HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, kLogLockName);
  WaitForSingleObject(lock, INFINITE);
  SetEvent(holder->held);
  WaitForSingleObject(holder->release, INFINITE);
  ReleaseMutex(lock);
  CloseHandle(lock);
  return 0;
}

TEST_F(LogWriter, LockHeldByAnotherWriter_LineDroppedAfterBoundedWaitAndCountedInTheNextLine) {
  ASSERT_EQ(LogStart(path.c_str()), 1);
  UniqueKernelHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  LockHolder lockHolder{held.get(), release.get()};
  UniqueKernelHandle holder(CreateThread(nullptr, 0, HoldLock, &lockHolder, 0, nullptr));
  const bool taken = WaitForSingleObject(held.get(), 10000) == WAIT_OBJECT_0;
  EXPECT_TRUE(taken);
  if (taken) {
    EXPECT_EQ(LogWriteLine(L"first busy"), 0);
    EXPECT_EQ(LogWriteFormat(L"second %s", L"busy"), 0);
  }
  SetEvent(release.get());
  WaitForSingleObject(holder.get(), INFINITE);  // it uses lockHolder until then
  EXPECT_EQ(LogWriteLine(L"written"), 1);
  EXPECT_EQ(LogWriteLine(L"and again"), 1);
  const std::vector<std::wstring> lines = SplitCrLfLines(ReadUtf16(path));
  ASSERT_EQ(lines.size(), 3u);
  std::wsmatch m;
  ASSERT_TRUE(std::regex_match(lines[0], m, kStampedLine));
  EXPECT_EQ(m[8].str(), L"2 log lines dropped: the log was busy");
  EXPECT_NE(lines[1].find(L"written"), std::wstring::npos);
  EXPECT_NE(lines[2].find(L"and again"), std::wstring::npos);
}

TEST_F(LogWriter, WriterDiedHoldingLock_OthersGoOn) {
  ASSERT_EQ(LogStart(path.c_str()), 1);
  ChildProcess dying;
  ASSERT_TRUE(dying.Start(BinDir() + L"log_writer_child.exe", L"die-holding"));
  ASSERT_TRUE(dying.WaitForExit(10000));
  ASSERT_EQ(dying.ExitCode(), 0u);
  EXPECT_EQ(LogWriteLine(L"still here"), 1);
  EXPECT_EQ(LogWriteLine(L"and again"), 1);
  EXPECT_EQ(SplitCrLfLines(ReadUtf16(path)).size(), 2u);
}

// A file nearly full: what the writers add takes it past the size bound once.
void FillNearlyFull(const std::wstring& path, long long room) {
  std::string bytes = "\xFF\xFE";
  const std::string filler("f\0i\0l\0l\0e\0r\0\r\0\n\0", 16);
  while (static_cast<long long>(bytes.size() + filler.size()) <= kLogMaxBytes - room) bytes += filler;
  ASSERT_TRUE(WriteBytes(path, bytes));
}

TEST_F(LogWriter, FullFile_MovesToTheOldLogAndANewOneStarts) {
  const std::wstring old = dir.File(L"LogFile.old.log");
  ASSERT_TRUE(WriteBytes(old, "\xFF\xFEo\0"));  // an older one is replaced
  FillNearlyFull(path, 10);
  const std::string before = ReadBytes(path);
  ASSERT_EQ(LogStart(path.c_str()), 1);
  ASSERT_EQ(LogWriteLine(L"next"), 1);
  EXPECT_EQ(ReadBytes(old), before);
  bool bom = false;
  const std::vector<std::wstring> lines = SplitCrLfLines(ReadUtf16(path, &bom));
  EXPECT_TRUE(bom);
  ASSERT_EQ(lines.size(), 1u);
  std::wsmatch m;
  ASSERT_TRUE(std::regex_match(lines[0], m, kStampedLine));
  EXPECT_EQ(m[8].str(), L"next");
}

TEST_F(LogWriter, EightProcessesAtOnce_EveryLineWholeAndOnceAcrossTheMoveToTheOldLog) {
  constexpr int kWriters = 8;
  constexpr int kLines = 500;
  FillNearlyFull(path, 200 * 1024);
  // This process keeps logging on throughout, as the agent does.
  ASSERT_EQ(LogStart(path.c_str()), 1);
  const std::wstring goName = L"Local\\KsLogTestGo-" + std::to_wstring(GetCurrentProcessId());
  UniqueKernelHandle go(CreateEventW(nullptr, TRUE, FALSE, goName.c_str()));
  ChildProcess writers[kWriters];
  for (int i = 0; i < kWriters; ++i) {
    ASSERT_TRUE(writers[i].Start(
        BinDir() + L"log_writer_child.exe",
        L"write " + QuoteArgument(path) + L" " + std::to_wstring(i) + L" " + std::to_wstring(kLines) + L" " + goName));
  }
  Sleep(1000);  // every writer has started and waits for the signal
  SetEvent(go.get());
  for (ChildProcess& w : writers) {
    ASSERT_TRUE(w.WaitForExit(120000));
    EXPECT_EQ(w.ExitCode(), 0u) << "a writer dropped lines";
  }

  std::vector<std::wstring> lines;
  for (const std::wstring& file : {dir.File(L"LogFile.old.log"), path}) {
    bool bom = false;
    const std::wstring text = ReadUtf16(file, &bom);
    EXPECT_TRUE(bom) << Narrow(file);
    EXPECT_EQ(text.find(L'\xFEFF'), std::wstring::npos) << "a second byte-order mark";
    EXPECT_LE(static_cast<long long>(ReadBytes(file).size()), kLogMaxBytes);
    for (const std::wstring& line : SplitCrLfLines(text)) {
      if (line != L"filler") lines.push_back(line);
    }
  }
  EXPECT_EQ(lines.size(), static_cast<size_t>(kWriters * kLines));
  const std::wregex content(LR"(writer (\d) line (\d+))");
  std::map<int, std::set<int>> seen;
  for (const std::wstring& line : lines) {
    std::wsmatch stamp;
    ASSERT_TRUE(std::regex_match(line, stamp, kStampedLine)) << Narrow(line);
    std::wsmatch m;
    const std::wstring body = stamp[8].str();
    ASSERT_TRUE(std::regex_match(body, m, content)) << Narrow(line);
    seen[std::stoi(m[1].str())].insert(std::stoi(m[2].str()));
  }
  ASSERT_EQ(seen.size(), static_cast<size_t>(kWriters));
  for (const auto& [writer, numbers] : seen) EXPECT_EQ(numbers.size(), static_cast<size_t>(kLines));
}

}  // namespace
}  // namespace ks::test
