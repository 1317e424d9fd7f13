// The version of the hook's files: TDX.dll, its 32-bit twin TDX32.dll and the
// companion that installs that twin. One number for the three, so a file
// left from another build is told apart by its version resource alone.
#pragma once

#define KS_HOOK_VERSION 1, 6, 9, 189
#define KS_HOOK_VERSION_TEXT "1, 6, 9, 189"
