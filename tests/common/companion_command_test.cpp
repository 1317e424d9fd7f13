// The command line between the agent and its 32-bit companion: what the agent
// writes comes back whole, and anything else is refused.
#include "common/companion_command.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/harness/test_files.h"

namespace ks {
namespace {

CompanionCommand Sample(const std::wstring& logPath) {
  CompanionCommand command;
  command.agentProcess = 0x1F4;
  command.readyEvent = 0xFFFFFFFFFFFFFFF0u;
  command.stopEvent = 0x8;
  command.hook.flags = 0x1F;
  command.hook.logPath = logPath;
  command.hook.leaveFullScreen = 0;
  command.hook.leftAlonePrograms = L"mstsc.exe;Game & Co \"x\".exe";
  command.hook.programRules = L"notepad.exe|3|0;old app /rules=1.exe|1|3";
  return command;
}

TEST(CompanionCommand, WhatTheAgentWrites_ComesBackWhole) {
  // Blanks, quotes, a switch-like text and an empty path: none is escaped.
  for (const std::wstring& path : {std::wstring(L"C:\\Program Files\\Kestrow\\LogFile.log"),
                                   std::wstring(L"C:\\a \"b\" /stop=1"), std::wstring(260, L'x'), std::wstring()}) {
    const CompanionCommand written = Sample(path);
    CompanionCommand read;
    ASSERT_TRUE(ParseCompanionCommand(FormatCompanionCommand(written), read)) << FormatCompanionCommand(written);
    EXPECT_EQ(read.agentProcess, written.agentProcess);
    EXPECT_EQ(read.readyEvent, written.readyEvent);
    EXPECT_EQ(read.stopEvent, written.stopEvent);
    EXPECT_EQ(read.hook.flags, written.hook.flags);
    EXPECT_EQ(read.hook.logPath, path);
    EXPECT_EQ(read.hook.leaveFullScreen, 0u);
    EXPECT_EQ(read.hook.leftAlonePrograms, written.hook.leftAlonePrograms);
    EXPECT_EQ(read.hook.programRules, written.hook.programRules);
  }
}

TEST(CompanionCommand, AnythingElse_IsRefused) {
  const std::wstring good = FormatCompanionCommand(Sample(L"C:\\k\\LogFile.log"));
  CompanionCommand read;
  ASSERT_TRUE(ParseCompanionCommand(good, read));
  for (const std::wstring& bad : {
           std::wstring(),                                                      // started by hand
           std::wstring(L"/exit"),                                              // the agent's switch
           std::wstring(L"/agent=1f4 /ready=8 /flags=1f /fullscreen=1"),        // no stop event
           std::wstring(L"/agent=0 /ready=8 /stop=8 /flags=1f /fullscreen=1"),  // no agent
           std::wstring(L"/agent=1f4 /ready=8 /stop=8 /flags=1f"),              // no full-screen switch
           good + L" /flags=1",                                                 // repeated
           good + L" /other=1",                                                 // unknown
           std::wstring(L"/agent=1f4 /ready=8 /stop=8 /flags=1f /fullscreen=1 /programs=40:a.exe"),   // runs short
           std::wstring(L"/agent=1f4 /ready=8 /stop=8 /flags=1f /fullscreen=1 /rules=40:a.exe|2|0"),  // runs short
           std::wstring(L"/agent=1f4 /ready=8 /stop=8 /flags=100000000 /fullscreen=1"),         // flags past 32 bits
           std::wstring(L"/agent=1f4x /ready=8 /stop=8 /flags=1f /fullscreen=1"),               // not a number
           std::wstring(L"/agent=10000000000000000 /ready=8 /stop=8 /flags=1f /fullscreen=1"),  // past 64 bits
       }) {
    EXPECT_FALSE(ParseCompanionCommand(bad, read)) << test::Narrow(bad);
  }
}

}  // namespace
}  // namespace ks
