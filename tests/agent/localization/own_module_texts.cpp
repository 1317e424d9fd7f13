// In a translation unit of its own, so no call here is folded into a test
// function that changes the import tables around it.
#include "tests/agent/localization/localization_helpers.h"

namespace ks::test {

std::wstring OwnModuleString(UINT id) {
  wchar_t buffer[1024] = {};
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 1024);
  return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace ks::test
