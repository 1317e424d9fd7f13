// Asking the desktop whether a settings window is open: the settings program
// answers the configuration probe message with 1 after coming to the front.
#pragma once

namespace ks {

// Sends the probe to every top-level window (at most 1000 ms each, a hung one
// is skipped) until one answers nonzero; true when one did. That window has
// brought itself to the front by then.
bool ProbeConfigWindow();

}  // namespace ks
