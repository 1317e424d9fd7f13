// MulDiv declared without the import attribute: the linker routes the call
// through an import thunk (a jump through the same table slot).
extern "C" int __stdcall MulDiv(int number, int numerator, int denominator);

extern "C" __declspec(dllexport) int CallMulDivThroughThunk(int number, int numerator, int denominator) {
  return MulDiv(number, numerator, denominator);
}
