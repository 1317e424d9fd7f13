#include "common/paths.h"

#include <gtest/gtest.h>

#include <string>

namespace ks {
namespace {

using TS = TrailingSeparator;

TEST(DirectoryOf, FullPath_GivesDirectoryWithAndWithoutSeparator) {
  const std::wstring path = L"C:\\Program Files\\Kestrow\\KSAgent.exe";
  EXPECT_EQ(DirectoryOf(path, TS::With), L"C:\\Program Files\\Kestrow\\");
  EXPECT_EQ(DirectoryOf(path, TS::Without), L"C:\\Program Files\\Kestrow");
}

TEST(DirectoryOf, DriveRoot_GivesRootWithSeparatorAndBareDrive) {
  EXPECT_EQ(DirectoryOf(L"C:\\", TS::With), L"C:\\");
  EXPECT_EQ(DirectoryOf(L"C:\\", TS::Without), L"C:");
  EXPECT_EQ(DirectoryOf(L"D:\\KSAgent.exe", TS::With), L"D:\\");
  EXPECT_EQ(DirectoryOf(L"D:\\KSAgent.exe", TS::Without), L"D:");
  // A bare drive gets its separator in the first form.
  EXPECT_EQ(DirectoryOf(L"C:", TS::With), L"C:\\");
}

TEST(DirectoryOf, EmptyPathOrBareName_GivesEmptyInBothForms) {
  for (const wchar_t* path : {L"", L"settings.ini"}) {
    EXPECT_EQ(DirectoryOf(path, TS::With), L"") << path;
    EXPECT_EQ(DirectoryOf(path, TS::Without), L"") << path;
  }
}

TEST(DirectoryOf, NetworkShareAndForwardSlashes_SplitAtTheLastSeparator) {
  EXPECT_EQ(DirectoryOf(L"\\\\server\\share\\KSAgent.exe", TS::With), L"\\\\server\\share\\");
  EXPECT_EQ(DirectoryOf(L"C:/Kestrow/KSAgent.exe", TS::Without), L"C:/Kestrow/");
}

TEST(DirectoryOf, DoubledSeparator_LosesOnlyOneInTheFormWithout) {
  EXPECT_EQ(DirectoryOf(L"C:\\Kestrow\\\\KSAgent.exe", TS::Without), L"C:\\Kestrow\\");
  EXPECT_EQ(DirectoryOf(L"C:\\Kestrow\\\\KSAgent.exe", TS::With), L"C:\\Kestrow\\\\");
}

TEST(DirectoryOf, PathLongerThanMaxPath_IsSplitWhole) {
  const std::wstring dir = L"C:\\" + std::wstring(300, L'd') + L"\\" + std::wstring(300, L'e');
  EXPECT_EQ(DirectoryOf(dir + L"\\settings.ini", TS::Without), dir);
}

TEST(FileNameOf, FullPathOfLanguageFile_GivesNameWithExtension) {
  EXPECT_EQ(FileNameOf(L"C:\\Program Files\\Kestrow\\Russian.lng"), L"Russian.lng");
  EXPECT_EQ(FileNameOf(L"C:Russian.lng"), L"Russian.lng");
  EXPECT_EQ(FileNameOf(L"Russian.lng"), L"Russian.lng");
}

TEST(FileNameOf, DotsInDirectoriesOrName_KeepTheWholeName) {
  EXPECT_EQ(FileNameOf(L"C:\\my.dir\\README"), L"README");
  EXPECT_EQ(FileNameOf(L"C:\\my.dir/lang.ru.lng"), L"lang.ru.lng");
  EXPECT_EQ(FileNameOf(L"C:\\Kestrow\\.lng"), L".lng");
}

TEST(FileNameOf, EmptyPathOrDirectory_GivesEmptyName) {
  EXPECT_EQ(FileNameOf(L""), L"");
  EXPECT_EQ(FileNameOf(L"C:\\Kestrow\\"), L"");
  EXPECT_EQ(FileNameOf(L"C:"), L"");
}

TEST(StripTrailingSeparators, RemovesEverySeparatorAtTheEndOnly) {
  EXPECT_EQ(StripTrailingSeparators(L"C:\\Kestrow\\\\\\"), L"C:\\Kestrow");
  EXPECT_EQ(StripTrailingSeparators(L"C:\\"), L"C:");
  EXPECT_EQ(StripTrailingSeparators(L"\\\\"), L"");
}

TEST(IsBareFileName, TakesOneNameAndRefusesPathsDrivesStreamsParentsAndDevices) {
  for (const wchar_t* name : {L"localize_Ru.css", L"styles.css", L".css", L"console.css", L"nullable.png", L"COM10.css",
                              L"lpt.css", L"com1x.css", L"my con.css", L"x.con"}) {
    EXPECT_TRUE(IsBareFileName(name)) << name;
  }
  for (const wchar_t* name : {L"", L"sub\\a.css", L"sub/a.css", L"\\\\server\\share\\a.css", L"C:a.css",
                              L"C:\\Windows\\a.css", L"a.css:hidden", L"..css", L"a..css", L"..\\a.css"}) {
    EXPECT_FALSE(IsBareFileName(name)) << name;
  }
  for (const wchar_t* name : {L"\\\\?\\C:\\a.css", L"\\\\.\\COM1", L"//?/C:/a.css", L"a.css.", L"a.css ", L"a*.css",
                              L"a?.css", L"a|b.css", L"a<b.css", L"a\"b.css", L"a\tb.css"}) {
    EXPECT_FALSE(IsBareFileName(name)) << name;
  }
  for (const wchar_t* name : {L"CON.css", L"con", L"NUL", L"nul.tar.css", L"Aux.png", L"PRN", L"COM1.png", L"com9",
                              L"LPT1", L"lpt0.css", L"COM\u00B9.css", L"CONIN$", L"conout$.css", L"NUL .css"}) {
    EXPECT_FALSE(IsBareFileName(name)) << "a device: " << name;
  }
}

}  // namespace
}  // namespace ks
