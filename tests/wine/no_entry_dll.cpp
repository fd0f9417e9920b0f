// A DLL that is no Remote Desktop add-in: it exports something else.
#include <windows.h>

extern "C" __declspec(dllexport) int QuarvenNotAnEntry(void) { return 42; }
