#include "plugin/notice.h"

#include "platform/win32.h"

void ShowNotice(const char* pText) { MessageBoxA(NULL, pText, "Velquist", MB_OK); }
