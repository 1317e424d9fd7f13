// Whether a full-screen program is in front: a game or a presentation
// reads the wheel itself.
#pragma once

namespace ks {

// True while the foreground window's client area covers its whole monitor,
// unless that window is the desktop or the shell's.
bool ForegroundIsFullScreen();

}  // namespace ks
