#include "hook/class_name.h"

namespace ks {

bool HasClassName(HWND window, const wchar_t* const* names, DWORD count) {
  // The longest a class name can be, and its terminator.
  wchar_t name[257] = {};
  if (window == nullptr || GetClassNameW(window, name, 257) == 0) return false;
  for (DWORD i = 0; i < count; ++i) {
    if (CompareStringOrdinal(name, -1, names[i], -1, TRUE) == CSTR_EQUAL) return true;
  }
  return false;
}

}  // namespace ks
