#include "common/autorun.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace ks {
namespace {

constexpr wchar_t kTestsKey[] = L"Software\\KestrowTests";
constexpr wchar_t kAgent[] = L"C:\\Program Files\\Kestrow\\KSAgent.exe";

// A scratch key of its own stands in for the Run key, so the user's real
// start-up programs are never touched.
class AutorunKey : public testing::Test {
 protected:
  void SetUp() override {
    where_.keyPath = std::wstring(kTestsKey) + L"\\Run-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, where_.keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              key_.put(), nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    key_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, where_.keyPath.c_str());
    // Fails while other test runs still hold keys there, which is fine.
    RegDeleteKeyW(HKEY_CURRENT_USER, kTestsKey);
  }

  void WriteRaw(const wchar_t* name, const std::wstring& data) {
    ASSERT_EQ(RegSetValueExW(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  void WriteRaw(const std::wstring& data) { WriteRaw(kAutorunValueName, data); }

  bool ValueExists(const wchar_t* name) const {
    return RegQueryValueExW(key_.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  // The stored size, asked without a buffer.
  DWORD StoredBytes(const wchar_t* name) const {
    DWORD bytes = 0;
    return RegQueryValueExW(key_.get(), name, nullptr, nullptr, nullptr, &bytes) == ERROR_SUCCESS ? bytes : 0;
  }

  std::wstring ReadRaw(const wchar_t* name, DWORD* type, DWORD* bytes) const {
    wchar_t data[1024] = {};
    *bytes = sizeof(data) - sizeof(wchar_t);
    if (RegQueryValueExW(key_.get(), name, nullptr, type, reinterpret_cast<BYTE*>(data), bytes) != ERROR_SUCCESS) {
      return L"<missing>";
    }
    return data;
  }

  AutorunLocation where_;
  UniqueKey key_;
};

TEST_F(AutorunKey, NoValue_IsNotRegistered) { EXPECT_FALSE(IsAutorunRegistered(kAgent, where_)); }

// Windows runs the value as a command line: a blank in the path needs quotes.
TEST_F(AutorunKey, Register_WritesThePathAsAStringWithoutTerminator_QuotedWhenItHoldsABlank) {
  const std::wstring plain = L"C:\\Tools\\Kestrow\\KSAgent.exe";
  for (const std::wstring& path : {std::wstring(kAgent), plain}) {
    ASSERT_TRUE(SetAutorunRegistered(true, path, where_));
    const std::wstring stored = path == plain ? plain : L"\"" + path + L"\"";
    DWORD type = 0;
    DWORD bytes = 0;
    EXPECT_EQ(ReadRaw(kAutorunValueName, &type, &bytes), stored);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // The value's characters only; the system itself adds the terminator
    // that the count leaves out when it finds one right behind the data.
    const DWORD dataBytes = static_cast<DWORD>(stored.size() * sizeof(wchar_t));
    EXPECT_GE(StoredBytes(kAutorunValueName), dataBytes);
    EXPECT_LE(StoredBytes(kAutorunValueName), dataBytes + sizeof(wchar_t));
    EXPECT_TRUE(IsAutorunRegistered(path, where_));
  }
}

TEST_F(AutorunKey, SamePathInOtherLetterCase_IsRegistered) {
  WriteRaw(L"c:\\PROGRAM FILES\\kestrow\\ksagent.EXE");
  EXPECT_TRUE(IsAutorunRegistered(kAgent, where_));
}

// The runtime's upper-casing folds only "a" to "z".
TEST_F(AutorunKey, NonAsciiLettersInOtherCase_DoNotMatch) {
  WriteRaw(L"C:\\\x041F\x0440\x043E\\KSAgent.exe");
  EXPECT_TRUE(IsAutorunRegistered(L"C:\\\x041F\x0440\x043E\\ksagent.exe", where_));
  EXPECT_FALSE(IsAutorunRegistered(L"C:\\\x043F\x0440\x043E\\KSAgent.exe", where_));
}

TEST_F(AutorunKey, AnotherProgram_IsNotRegistered_AndRegisteringOverwritesIt) {
  WriteRaw(L"C:\\Tools\\Other.exe");
  EXPECT_FALSE(IsAutorunRegistered(kAgent, where_));

  ASSERT_TRUE(SetAutorunRegistered(true, kAgent, where_));
  DWORD type = 0;
  DWORD bytes = 0;
  EXPECT_EQ(ReadRaw(kAutorunValueName, &type, &bytes), L"\"" + std::wstring(kAgent) + L"\"");
  EXPECT_TRUE(IsAutorunRegistered(kAgent, where_));
}

// Only the stored value's length is compared.
TEST_F(AutorunKey, EmptyValueOrStartOfThePath_CountsAsRegistered_ButALongerOneDoesNot) {
  WriteRaw(L"");
  EXPECT_TRUE(IsAutorunRegistered(kAgent, where_));
  WriteRaw(L"C:\\Program Files\\Kestrow\\");
  EXPECT_TRUE(IsAutorunRegistered(kAgent, where_));
  WriteRaw(std::wstring(kAgent) + L" /exit");
  EXPECT_FALSE(IsAutorunRegistered(kAgent, where_));
}

// Values written by earlier versions have no quotes; both forms count, and a
// lone quote is part of the path.
TEST_F(AutorunKey, QuotedOrPlainValue_BothCount) {
  WriteRaw(L"\"C:\\Program Files\\Kestrow\\KSAgent.exe\"");
  EXPECT_TRUE(IsAutorunRegistered(kAgent, where_));
  WriteRaw(kAgent);
  EXPECT_TRUE(IsAutorunRegistered(kAgent, where_));
  WriteRaw(L"\"C:\\Program Files\\Kestrow\\KSAgent.exe");
  EXPECT_FALSE(IsAutorunRegistered(kAgent, where_));
  WriteRaw(L"\"C:\\Tools\\Other.exe\"");
  EXPECT_FALSE(IsAutorunRegistered(kAgent, where_));
}

TEST_F(AutorunKey, ValueTooLongForThePathBuffer_IsNotRegistered) {
  const std::wstring longPath = L"C:\\" + std::wstring(300, L'k') + L"\\KSAgent.exe";
  WriteRaw(longPath);
  EXPECT_FALSE(IsAutorunRegistered(longPath, where_));
}

TEST_F(AutorunKey, Unregister_RemovesOnlyOurValue) {
  WriteRaw(L"OtherTool", L"C:\\Tools\\Other.exe");
  ASSERT_TRUE(SetAutorunRegistered(true, kAgent, where_));

  EXPECT_TRUE(SetAutorunRegistered(false, L"", where_));
  EXPECT_FALSE(ValueExists(kAutorunValueName));
  EXPECT_FALSE(IsAutorunRegistered(kAgent, where_));
  EXPECT_TRUE(ValueExists(L"OtherTool"));
}

TEST_F(AutorunKey, UnregisterWithoutAValue_FailsAndChangesNothing) {
  WriteRaw(L"OtherTool", L"C:\\Tools\\Other.exe");
  EXPECT_FALSE(SetAutorunRegistered(false, kAgent, where_));
  EXPECT_FALSE(ValueExists(kAutorunValueName));
  DWORD type = 0;
  DWORD bytes = 0;
  EXPECT_EQ(ReadRaw(L"OtherTool", &type, &bytes), L"C:\\Tools\\Other.exe");
}

TEST_F(AutorunKey, MissingKey_FailsEveryOperationAndCreatesNothing) {
  AutorunLocation missing = where_;
  missing.keyPath += L"\\Missing";
  EXPECT_FALSE(SetAutorunRegistered(true, kAgent, missing));
  EXPECT_FALSE(IsAutorunRegistered(kAgent, missing));
  EXPECT_FALSE(SetAutorunRegistered(false, kAgent, missing));
  UniqueKey created;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, missing.keyPath.c_str(), 0, KEY_READ, created.put()), ERROR_SUCCESS);
}

TEST(AutorunDefaults, ProgramsUseTheUsersRunKeyValueKestrowAgent) {
  const AutorunLocation where;
  EXPECT_EQ(where.keyPath, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(where.valueName, L"KestrowAgent");
}

}  // namespace
}  // namespace ks
