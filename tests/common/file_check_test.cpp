#include "common/file_check.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "common/paths.h"
#include "tests/harness/test_files.h"

namespace ks {
namespace {

using detail::FileExistsAfterProbe;
using detail::PathProbe;
using detail::ProbePathFileExists;

class FileCheck : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::WriteBytes(file_, "x")) << test::Narrow(file_); }

  test::TempDir dir_;
  const std::wstring file_ = dir_.File(L"KSAgent.exe");
};

TEST_F(FileCheck, ExistingFile_IsTrue) { EXPECT_TRUE(FileExists(file_)); }

TEST_F(FileCheck, Directory_IsFalse) {
  EXPECT_FALSE(FileExists(dir_.path()));
  EXPECT_FALSE(FileExists(StripTrailingSeparators(dir_.path())));
}

TEST_F(FileCheck, MissingFileFolderOrDrive_IsFalse) {
  EXPECT_FALSE(FileExists(dir_.File(L"settings.ini")));
  EXPECT_FALSE(FileExists(dir_.File(L"missing\\settings.ini")));
  EXPECT_FALSE(FileExists(L""));
  // Drive letter with nothing behind it: no system error box, just false.
  EXPECT_FALSE(FileExists(L"Q:\\Kestrow\\settings.ini"));
}

// Were the lookup broken, the attribute fallback would hide it from the tests
// above.
TEST_F(FileCheck, PathFileExists_IsFoundAtRunTime) {
  EXPECT_EQ(ProbePathFileExists(file_), PathProbe::Exists);
  EXPECT_EQ(ProbePathFileExists(dir_.File(L"settings.ini")), PathProbe::Missing);
}

TEST_F(FileCheck, WithoutPathFileExists_AnswersFromAttributesAlone) {
  EXPECT_TRUE(FileExistsAfterProbe(file_, PathProbe::Unavailable));
  EXPECT_FALSE(FileExistsAfterProbe(dir_.path(), PathProbe::Unavailable));
  EXPECT_FALSE(FileExistsAfterProbe(dir_.File(L"settings.ini"), PathProbe::Unavailable));
}

TEST_F(FileCheck, PathFileExistsSayingMissing_IsTrusted) {
  EXPECT_FALSE(FileExistsAfterProbe(file_, PathProbe::Missing));
}

TEST_F(FileCheck, CallerErrorMode_IsRestored) {
  const UINT original = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  FileExists(file_);
  FileExists(dir_.File(L"settings.ini"));
  EXPECT_EQ(SetErrorMode(original), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
}

}  // namespace
}  // namespace ks
