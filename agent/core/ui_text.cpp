#include "agent/core/ui_text.h"

#include "agent/core/app_instance.h"

namespace ks {

std::wstring LoadAgentString(UINT id) {
  // Through LoadStringW with a buffer (not the read-only pointer form), the
  // call that a translation redirects.
  wchar_t buffer[1024];
  const int length = LoadStringW(AppInstance(), id, buffer, 1024);
  return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

UniqueMenu LoadAgentMenu(UINT id) { return UniqueMenu(LoadMenuW(AppInstance(), MAKEINTRESOURCEW(id))); }

}  // namespace ks
