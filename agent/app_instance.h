// The agent's module instance: set once at start, read wherever resources or
// windows need it.
#pragma once

#include <windows.h>

namespace ks {

void SetAppInstance(HINSTANCE instance);

// The instance given at start; the executable's own module before that.
HINSTANCE AppInstance();

}  // namespace ks
