// The agent's one command-line switch, "/exit": it tells the running agent to
// end. Matched anywhere in the argument text, in any letter case.
#pragma once

namespace ks {

// True when the argument text (everything after the program name) contains
// "/exit" in any letter case; never for a null or empty text.
bool HasExitSwitch(const wchar_t* arguments);

}  // namespace ks
