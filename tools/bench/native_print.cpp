// The native driver's print request: the add-in binds to this definition before
// the stand-in's, which would hand every benchmark document to the printer.
#include "platform/win32.h"

extern "C" HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
  return reinterpret_cast<HINSTANCE>(42);  // as if the print program had started
}
