// The "KestrowAgent" value under the current user's Run key, which the agent
// under test writes and removes: saved exactly (present or not, type and
// bytes) when the guard is made and put back exactly when it goes away.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace ks::test {

class RunValueGuard {
 public:
  // With clear, the value is also removed for the test once it is saved.
  explicit RunValueGuard(bool clear = false);
  ~RunValueGuard();
  RunValueGuard(const RunValueGuard&) = delete;
  RunValueGuard& operator=(const RunValueGuard&) = delete;

  // Whether the value was read (present or absent) and can be put back.
  bool saved() const { return saved_; }

  // The value now: nothing when absent, its text when a string.
  static std::optional<std::wstring> Read();
  // Waits until Read() gives value; false when it still does not after
  // timeoutMs.
  static bool WaitFor(const std::optional<std::wstring>& value, DWORD timeoutMs);
  static bool Write(const std::wstring& text);
  static bool Remove();

 private:
  bool saved_ = false;
  bool present_ = false;
  DWORD type_ = 0;
  std::string bytes_;
};

}  // namespace ks::test
