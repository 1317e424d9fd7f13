#include "common/file_version.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/file_version_text.h"
#include "common/module_path.h"
#include "tests/harness/test_files.h"

namespace ks {
namespace {

void ExpectAllStringsEmpty(const FileVersion& version) {
  for (const std::wstring* text :
       {&version.companyName, &version.legalCopyright, &version.fileDescription, &version.fileVersionText,
        &version.majorVersion, &version.minorVersion, &version.internalName, &version.originalFileName,
        &version.productName, &version.productVersionText, &version.fileVersionNumber, &version.operatingSystem,
        &version.fileType}) {
    EXPECT_EQ(*text, L"");
  }
}

class VersionResource : public testing::Test {
 protected:
  const std::wstring tdx_ = ModuleDirectory() + L"TDX.dll";
};

// TDX.dll is built beside the tests with a known resource.
TEST_F(VersionResource, HookLibrary_GivesNumbersTextsAndTranslation) {
  FileVersion version;
  ASSERT_TRUE(ReadFileVersion(tdx_, version)) << test::Narrow(tdx_);
  EXPECT_EQ(version.path, tdx_);
  EXPECT_EQ(version.fileVersionNumber, L"1.6.9.189");
  EXPECT_EQ(version.majorVersion, L"1");
  EXPECT_EQ(version.minorVersion, L"6");
  EXPECT_EQ(version.fixedInfo.dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(version.languageId, 0x0419);
  EXPECT_EQ(version.codePage, 1200);
  EXPECT_EQ(version.fileDescription, L"TDX DLL helper for Kestrow");
  EXPECT_EQ(version.companyName, L"Orlin Works");
  EXPECT_EQ(version.productName, L"Orlin Works Kestrow");
  EXPECT_EQ(version.internalName, L"TDX");
  // The resource spells it "OriginalFilename": names match in any case.
  EXPECT_EQ(version.originalFileName, L"TDX.dll");
  EXPECT_EQ(version.fileVersionText, L"1, 6, 9, 189");
  EXPECT_EQ(version.productVersionText, L"1, 6, 9, 189");
  EXPECT_EQ(ShortProductVersion(version), L"1.6.9.189");
  EXPECT_EQ(version.fileType, L"Dynamic link library");
  EXPECT_EQ(version.operatingSystem, L"Win32 API on Windows NT");
  // Not in the resource: empty, and the read still succeeds.
  EXPECT_EQ(version.legalCopyright, L"");
}

TEST_F(VersionResource, FileWithoutResource_FailsWithEveryStringEmpty) {
  test::TempDir dir;
  const std::wstring text = dir.File(L"settings.ini");
  ASSERT_TRUE(test::WriteBytes(text, "[Misc]\r\nWriteLog=1\r\n"));
  FileVersion version;
  EXPECT_FALSE(ReadFileVersion(text, version));
  ExpectAllStringsEmpty(version);
  EXPECT_FALSE(ReadFileVersion(dir.File(L"Missing.dll"), version));
  ExpectAllStringsEmpty(version);
  EXPECT_FALSE(ReadFileVersion(L"", version));
  ExpectAllStringsEmpty(version);
}

TEST_F(VersionResource, FailedRead_ClearsAnEarlierGoodOne) {
  test::TempDir dir;
  const std::wstring empty = dir.File(L"empty.dll");
  ASSERT_TRUE(test::WriteBytes(empty, ""));
  FileVersion version;
  ASSERT_TRUE(ReadFileVersion(tdx_, version));
  EXPECT_FALSE(ReadFileVersion(empty, version));
  ExpectAllStringsEmpty(version);
  EXPECT_EQ(version.languageId, 0);
  EXPECT_EQ(version.fixedInfo.dwFileVersionMS, 0u);
}

// This program carries a resource without a translation table.
TEST_F(VersionResource, OwnExecutableWithoutTranslation_KeepsNumbersButFindsNoStrings) {
  FileVersion version;
  ASSERT_TRUE(ReadModuleVersion(nullptr, version));
  EXPECT_EQ(version.path, ModulePath());
  EXPECT_EQ(version.fileVersionNumber, L"3.14.15.926");
  EXPECT_EQ(version.majorVersion, L"3");
  EXPECT_EQ(version.minorVersion, L"14");
  EXPECT_EQ(version.languageId, 0);
  EXPECT_EQ(version.codePage, 0);
  EXPECT_EQ(version.companyName, L"");
  EXPECT_EQ(version.productVersionText, L"");
  EXPECT_EQ(ShortProductVersion(version), L"");
  EXPECT_EQ(version.fileType, L"Application");
  // VOS__WINDOWS32 (4) alone is not in the table.
  EXPECT_EQ(version.operatingSystem, L"");
}

TEST(VersionTexts, ShortVersion_TurnsCommasIntoDotsAndDropsBlanks) {
  EXPECT_EQ(ShortVersionText(L"1, 7, 0, 121"), L"1.7.0.121");
  EXPECT_EQ(ShortVersionText(L"1.6.9.145"), L"1.6.9.145");
  EXPECT_EQ(ShortVersionText(L" 2 ,0,  1 "), L"2.0.1");
  EXPECT_EQ(ShortVersionText(L""), L"");
}

TEST(VersionTexts, FileTypes_DependOnSubtypeOnlyForDriversAndFonts) {
  EXPECT_EQ(FileTypeText(0, 9), L"Unknown type");
  EXPECT_EQ(FileTypeText(1, 3), L"Application");
  EXPECT_EQ(FileTypeText(2, 0), L"Dynamic link library");
  EXPECT_EQ(FileTypeText(3, 0), L"Unknown driver");
  EXPECT_EQ(FileTypeText(3, 1), L"Printer driver");
  EXPECT_EQ(FileTypeText(3, 9), L"Sound driver");
  EXPECT_EQ(FileTypeText(3, 10), L"");
  EXPECT_EQ(FileTypeText(4, 0), L"Unknown font");
  EXPECT_EQ(FileTypeText(4, 3), L"Truetype font");
  EXPECT_EQ(FileTypeText(4, 4), L"");
  EXPECT_EQ(FileTypeText(5, 7), L"Virtual device");
  EXPECT_EQ(FileTypeText(6, 0), L"");
  EXPECT_EQ(FileTypeText(7, 0), L"Static link library");
}

TEST(VersionTexts, OperatingSystems_OnlyTheKnownCombinations) {
  EXPECT_EQ(FileOsText(0), L"Unknown OS");
  EXPECT_EQ(FileOsText(0x10001), L"16-bit windows running on MS-DOS");
  EXPECT_EQ(FileOsText(0x20002), L"16-bit Presentation manager running on 16-bit OS/2");
  EXPECT_EQ(FileOsText(0x40004), L"Win32 API on Windows NT");
  EXPECT_EQ(FileOsText(0x40005), L"");
  EXPECT_EQ(FileOsText(0x50000), L"");
}

}  // namespace
}  // namespace ks
