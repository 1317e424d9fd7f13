// Calls through its import tables: MulDiv of "KERNEL32.dll" and the callee
// library's CalleeValue, both declared as imports.
#include <windows.h>

extern "C" __declspec(dllimport) int CalleeValue();

extern "C" __declspec(dllexport) int CallMulDiv(int number, int numerator, int denominator) {
  return MulDiv(number, numerator, denominator);
}

extern "C" __declspec(dllexport) int CallCalleeValue() { return CalleeValue(); }
