// One settings program per logon session: a named mutex, created owned in the
// same step that finds out whether another instance holds it, so two copies
// started in the same instant can never both open a window.
#pragma once

namespace ks {

constexpr wchar_t kConfigMutexName[] = L"Orlin_Works_Kestrow_Config_Mutex_D845705A-49AE-40f4-A80D-679C395147E6";

enum class ConfigInstance {
  First,      // this process owns the mutex for the rest of its life
  Second,     // another settings program holds it
  Unguarded,  // the mutex could not be had; the program runs without it
};

// Creates (or finds) the mutex. The handle of a first instance is kept open
// until the process ends, when the system lets go of it.
ConfigInstance ClaimConfigInstance();

// "Kestrow Config already work." in an information box captioned with the
// program's file name.
void ShowAlreadyWorkMessage();

}  // namespace ks
