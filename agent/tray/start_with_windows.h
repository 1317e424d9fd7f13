// "Start With Windows" as the tray menu shows and changes it: the Run value
// "KestrowAgent" holding this agent's own module path.
#pragma once

namespace ks {

// True when the Run value names this agent (ignoring letter case).
bool StartsWithWindows();

// Removes the value when it names this agent; otherwise writes this agent's
// path, over any other program's. Failures are not reported: the check mark
// shows the real state at the next opening of the menu.
void ToggleStartWithWindows();

}  // namespace ks
