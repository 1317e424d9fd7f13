#include "config/config_strings.h"

#include "common/module_path.h"
#include "common/paths.h"

namespace ks {

std::wstring LoadConfigString(UINT id) {
  wchar_t buffer[1024];
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 1024);
  return length > 0 ? std::wstring(buffer, static_cast<size_t>(length)) : std::wstring();
}

std::wstring ProgramBaseName() { return SplitPath(ModulePath()).name; }

}  // namespace ks
