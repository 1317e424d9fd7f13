#include "agent/exit_switch.h"

#include <windows.h>

#include <string>

namespace ks {

bool HasExitSwitch(const wchar_t* arguments) {
  if (arguments == nullptr || arguments[0] == L'\0') return false;
  std::wstring text = arguments;
  std::wstring exitSwitch = L"/exit";
  // The system's upper-casing, as for every other case-blind comparison of
  // the agent.
  CharUpperW(text.data());
  CharUpperW(exitSwitch.data());
  return text.find(exitSwitch) != std::wstring::npos;
}

}  // namespace ks
