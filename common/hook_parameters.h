// Everything one install hands to a hook library. The agent builds it once
// per install from the settings; the 64-bit library and the 32-bit companion
// get the same record, so a new install parameter is added here and reaches
// both.
#pragma once

#include <cstdint>
#include <string>

namespace ks {

struct HookParameters {
  std::wstring logPath;  // empty: nothing is logged
  uint32_t flags = 0;    // the hook flags word
  // The programs left alone, names joined by ";" (empty: none), and whether
  // full-screen programs are.
  std::wstring leftAlonePrograms;
  uint32_t leaveFullScreen = 1;
  // The per-program wheel rules as KS_TDXProgramRules takes them (empty: none).
  std::wstring programRules;
};

}  // namespace ks
