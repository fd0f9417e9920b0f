// The few calls of the Remote Desktop server's channel API (wtsapi32.dll) that the
// sender uses, declared here rather than taken from the toolchain. The stand-in
// wtsapi32.dll of the tests implements the same declarations.
#pragma once

#include <windows.h>

#define WTS_CURRENT_SERVER_HANDLE ((HANDLE)NULL)
#define WTS_CURRENT_SESSION ((DWORD)-1)

// The one information class the sender asks for: the protocol of the session, a USHORT.
#define WTS_CLIENT_PROTOCOL_TYPE 16
#define WTS_PROTOCOL_TYPE_CONSOLE 0

extern "C" {
HANDLE WINAPI WTSVirtualChannelOpen(HANDLE hServer, DWORD SessionId, LPSTR pVirtualName);
BOOL WINAPI WTSVirtualChannelWrite(HANDLE hChannelHandle, PCHAR Buffer, ULONG Length,
                                   PULONG pBytesWritten);
BOOL WINAPI WTSVirtualChannelClose(HANDLE hChannelHandle);
BOOL WINAPI WTSQuerySessionInformationA(HANDLE hServer, DWORD SessionId, int WTSInfoClass,
                                        LPSTR* ppBuffer, DWORD* pBytesReturned);
void WINAPI WTSFreeMemory(PVOID pMemory);
}
