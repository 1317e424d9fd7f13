// A library whose exports another helper imports, so a redirection of them
// can be seen without touching any system function.
extern "C" int CalleeValue() { return 1; }
extern "C" int CalleeOther() { return 2; }
