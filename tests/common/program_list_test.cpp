#include "common/program_list.h"
#include "common/program_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ks {
namespace {

using Programs = std::vector<std::wstring>;

TEST(ProgramList, ProgramNames_FoldersQuotesDotsAndBlanksAreNot) {
  for (const wchar_t* name : {L"mstsc.exe", L"My Game (x64).exe", L"a", L"Программа.exe", L"o'neil.exe"}) {
    EXPECT_TRUE(IsProgramName(name)) << name;
  }
  for (const wchar_t* name : {L"", L" ", L"..", L".", L"..\\", L"c:\\x.exe", L"dir/x.exe", L"\"x.exe\"", L"a:b.exe",
                              L"a;b.exe", L"x.exe ", L"tab\there.exe", L"what?.exe"}) {
    EXPECT_FALSE(IsProgramName(name)) << name;
  }
  EXPECT_TRUE(IsProgramName(std::wstring(259, L'n')));
  EXPECT_FALSE(IsProgramName(std::wstring(260, L'n')));
}

TEST(ProgramList, SameProgram_IgnoresLetterCaseOfLatinAndCyrillic) {
  EXPECT_TRUE(SameProgram(L"MSTSC.exe", L"mstsc.EXE"));
  EXPECT_TRUE(SameProgram(L"ПРОГРАММА.exe", L"программа.exe"));
  EXPECT_TRUE(SameProgram(L"ÉTÉ.exe", L"été.exe"));
  EXPECT_FALSE(SameProgram(L"mstsc.exe", L"mstsc.ex"));
  EXPECT_FALSE(SameProgram(L"a.exe", L"b.exe"));
  EXPECT_EQ(FileNameOfPath(L"C:\\Windows\\System32\\mstsc.exe"), L"mstsc.exe");
  EXPECT_EQ(FileNameOfPath(L"/usr/bin/prog"), L"prog");
  EXPECT_EQ(FileNameOfPath(L"prog.exe"), L"prog.exe");
}

TEST(ProgramList, Parse_TrimsDropsBadAndRepeatedNames) {
  const std::wstring text = L" mstsc.exe ;;\"vm.exe\";..\\;   ;" + std::wstring(2000, L'x') +
                            L";game.exe;MSTSC.EXE;c:\\tools\\draw.exe;draw.exe";
  EXPECT_EQ(ParseProgramList(text), (Programs{L"mstsc.exe", L"game.exe", L"draw.exe"}));
  EXPECT_EQ(ParseProgramList(L""), Programs{});
  EXPECT_EQ(ParseProgramList(L";;; ;"), Programs{});
}

TEST(ProgramList, Parse_500Names_KeepsTheFirst32) {
  std::wstring text;
  for (int i = 0; i < 500; ++i) text += L"p" + std::to_wstring(i) + L".exe;";
  const Programs programs = ParseProgramList(text);
  ASSERT_EQ(programs.size(), kMaxListedPrograms);
  EXPECT_EQ(programs.front(), L"p0.exe");
  EXPECT_EQ(programs.back(), L"p31.exe");
}

TEST(ProgramList, Parse_StopsBeforeTheNameThatWouldPass1023Characters) {
  // Four names of 250 characters and their separators take 1003.
  const std::wstring name(250, L'n');
  std::wstring text;
  for (wchar_t c : {L'a', L'b', L'c', L'd', L'e'}) text += std::wstring(1, c) + name.substr(1) + L";";
  text += L"short.exe";
  const Programs programs = ParseProgramList(text);
  ASSERT_EQ(programs.size(), 4u);
  EXPECT_LE(JoinProgramList(programs).size(), kMaxProgramListText);
}

TEST(ProgramList, JoinThenParse_GivesTheSameList) {
  const Programs programs = {L"mstsc.exe", L"My Game.exe", L"vmware.exe"};
  EXPECT_EQ(JoinProgramList(programs), L"mstsc.exe;My Game.exe;vmware.exe");
  EXPECT_EQ(ParseProgramList(JoinProgramList(programs)), programs);
  EXPECT_EQ(JoinProgramList({}), L"");
}

TEST(ProgramList, Add_OnceOnly_RefusesTheThirtyThirdAndBadNames) {
  Programs programs;
  EXPECT_EQ(AddProgram(programs, L"mstsc.exe"), AddProgramResult::Added);
  EXPECT_EQ(AddProgram(programs, L"MSTSC.EXE"), AddProgramResult::AlreadyListed);
  EXPECT_EQ(AddProgram(programs, L"..\\x.exe"), AddProgramResult::NotAProgramName);
  EXPECT_EQ(AddProgram(programs, L"   "), AddProgramResult::NotAProgramName);
  for (int i = 2; i <= 32; ++i) {
    ASSERT_EQ(AddProgram(programs, L"p" + std::to_wstring(i) + L".exe"), AddProgramResult::Added) << i;
  }
  EXPECT_EQ(AddProgram(programs, L"p33.exe"), AddProgramResult::ListFull);
  EXPECT_EQ(programs.size(), 32u);
  EXPECT_EQ(programs.front(), L"mstsc.exe");

  Programs longNames = {std::wstring(500, L'a'), std::wstring(500, L'b')};
  EXPECT_EQ(AddProgram(longNames, std::wstring(30, L'c')), AddProgramResult::ListFull);
}

TEST(ProgramList, RemoveAndCompare_IgnoreCaseAndOrder) {
  Programs programs = {L"a.exe", L"b.exe", L"c.exe"};
  EXPECT_TRUE(RemoveProgram(programs, L"B.EXE"));
  EXPECT_FALSE(RemoveProgram(programs, L"b.exe"));
  EXPECT_EQ(programs, (Programs{L"a.exe", L"c.exe"}));
  EXPECT_TRUE(SameProgramList(programs, {L"C.exe", L"a.EXE"}));
  EXPECT_FALSE(SameProgramList(programs, {L"a.exe"}));
  EXPECT_FALSE(SameProgramList(programs, {L"a.exe", L"d.exe"}));
  EXPECT_FALSE(SameProgramList({L"a.exe", L"a.exe"}, {L"a.exe", L"b.exe"}));
}

TEST(ProgramRules, Parse_KnownOptionsInAnyCase_BadSpeedsIgnored_UnknownKept) {
  const ProgramRule rule = ParseProgramRule(L" old.exe ", L" SPEED = 3 ;Reverse;;scrollbars; future-option ;x=1");
  EXPECT_EQ(rule.program, L"old.exe");
  EXPECT_EQ(FormatRuleOptions(rule), L"speed=3;reverse;scrollbars;future-option;x=1");
  for (const wchar_t* bad :
       {L"speed=0", L"speed=99", L"speed=11", L"speed=-2", L"speed=two", L"speed=", L"speed=00000000000000000003"}) {
    EXPECT_EQ(FormatRuleOptions(ParseProgramRule(L"a.exe", bad)), L"speed=1") << bad;
  }
  EXPECT_EQ(FormatRuleOptions(ParseProgramRule(L"a.exe", L"speed=99;reverse")), L"speed=1;reverse");
  EXPECT_EQ(ParseProgramRule(L"a.exe", L"speed=10;speed=0").speed, 10);
  EXPECT_EQ(FormatRuleOptions(ParseProgramRule(L"a.exe", L"")), L"speed=1");
}

TEST(ProgramRules, InForce_First32KeyNames_RepeatsAndBadNamesDropped_AndTheWireText) {
  std::vector<ProgramRule> candidates = {ParseProgramRule(L"a=b.exe", L"reverse"), ParseProgramRule(L"[x].exe", L""),
                                         ParseProgramRule(L"..\\x.exe", L""),
                                         ParseProgramRule(L"note.exe", L"speed=3")};
  candidates.push_back(ParseProgramRule(L"NOTE.EXE", L"speed=5"));
  for (int i = 0; i < 500; ++i) candidates.push_back(ParseProgramRule(L"p" + std::to_wstring(i) + L".exe", L"reverse"));
  const std::vector<ProgramRule> rules = RulesInForce(candidates);
  ASSERT_EQ(rules.size(), 32u);
  EXPECT_EQ(rules[0].program, L"note.exe");
  EXPECT_EQ(rules[0].speed, 3);
  EXPECT_EQ(rules[31].program, L"p30.exe");

  const std::vector<ProgramRule> few = {rules[0], ParseProgramRule(L"old.exe", L"scrollbars;reverse;later"),
                                        ProgramRule{L"big.exe", 40, false, true, {}}};
  EXPECT_EQ(FormatRulesForHook(few), L"note.exe|3|0;old.exe|1|3;big.exe|10|2");
  EXPECT_EQ(FormatRulesForHook({}), L"");
}

TEST(ProgramRules, AddRemoveAndCompare_AsTheProgramsLeftAlone) {
  std::vector<ProgramRule> rules;
  EXPECT_EQ(AddRule(rules, L" mstsc.exe "), AddProgramResult::Added);
  EXPECT_EQ(AddRule(rules, L"MSTSC.EXE"), AddProgramResult::AlreadyListed);
  EXPECT_EQ(AddRule(rules, L"a=b.exe"), AddProgramResult::NotAProgramName);
  EXPECT_EQ(FormatRulesForHook(rules), L"mstsc.exe|1|0");

  std::vector<ProgramRule> a = {ParseProgramRule(L"a.exe", L"speed=2"), ParseProgramRule(L"b.exe", L"x")};
  std::vector<ProgramRule> b = {ParseProgramRule(L"B.EXE", L"x"), ParseProgramRule(L"a.exe", L"speed=2")};
  EXPECT_TRUE(SameRules(a, b));
  b[0].otherOptions.clear();
  EXPECT_FALSE(SameRules(a, b));
  EXPECT_TRUE(RemoveRule(b, L"A.exe"));
  EXPECT_FALSE(RemoveRule(b, L"a.exe"));
  EXPECT_FALSE(SameRules(a, b));
}

}  // namespace
}  // namespace ks
