// A wtsapi32.dll for testing the sender without a Remote Desktop server. Put next to
// quarven-send.exe (and preferred over the system's), it plays a session whose
// client runs the quarven add-in: every channel write becomes one run of the
// stand-in client, which loads the add-in and delivers the message in chunks as a
// real client does. The test's environment sets it up:
//   QUARVEN_STANDIN_HOST     the stand-in client, quarven-host.exe
//   QUARVEN_STANDIN_ADDIN    the add-in DLL it loads
//   QUARVEN_STANDIN_MESSAGE  where each written message is kept, for comparison
//   QUARVEN_STANDIN_SESSION  how the session misbehaves, if at all: "console" (not a
//                            remote session), "no-channel" (the client has no
//                            add-in for the channel) or "short-write"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/wtsapi.h"

#define STANDIN extern "C" __declspec(dllexport)

namespace {

constexpr USHORT kProtocolRdp = 2;
char channelHandle;  // the one channel there is; its address is the handle

std::string Setting(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool SessionIs(const char* behaviour) { return Setting("QUARVEN_STANDIN_SESSION") == behaviour; }

bool Fail(const std::string& why) {
  std::fprintf(stderr, "wtsapi32 stand-in: %s\n", why.c_str());
  SetLastError(ERROR_GEN_FAILURE);
  return false;
}

bool Keep(const std::string& path, const char* bytes, ULONG length) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool whole = std::fwrite(bytes, 1, length, file) == length;
  return std::fclose(file) == 0 && whole;
}

// Runs the stand-in client on the kept message and waits for its session to end.
bool Deliver(const std::string& message) {
  const std::string host = Setting("QUARVEN_STANDIN_HOST");
  const std::string addin = Setting("QUARVEN_STANDIN_ADDIN");
  if (host.empty() || addin.empty()) return Fail("QUARVEN_STANDIN_HOST or _ADDIN is not set");
  std::string command = "\"" + host + "\" \"" + addin + "\" \"" + message + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(host.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return Fail("cannot start " + host);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return status == 0 || Fail("the stand-in client ended with status " + std::to_string(status));
}

}  // namespace

STANDIN HANDLE WINAPI WTSVirtualChannelOpen(HANDLE hServer, DWORD SessionId, LPSTR pVirtualName) {
  if (hServer != WTS_CURRENT_SERVER_HANDLE || SessionId != WTS_CURRENT_SESSION ||
      std::strcmp(pVirtualName, "QUARVEN") != 0 || SessionIs("console") ||
      SessionIs("no-channel")) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  return &channelHandle;
}

STANDIN BOOL WINAPI WTSVirtualChannelWrite(HANDLE hChannelHandle, PCHAR Buffer, ULONG Length,
                                           PULONG pBytesWritten) {
  *pBytesWritten = 0;
  if (hChannelHandle != &channelHandle) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (SessionIs("short-write")) {
    *pBytesWritten = Length / 2;
    return TRUE;
  }
  const std::string message = Setting("QUARVEN_STANDIN_MESSAGE");
  if (message.empty()) return Fail("QUARVEN_STANDIN_MESSAGE is not set");
  if (!Keep(message, Buffer, Length)) return Fail("cannot write " + message);
  if (!Deliver(message)) return FALSE;
  *pBytesWritten = Length;
  return TRUE;
}

STANDIN BOOL WINAPI WTSVirtualChannelClose(HANDLE hChannelHandle) {
  return hChannelHandle == &channelHandle;
}

STANDIN BOOL WINAPI WTSQuerySessionInformationA(HANDLE hServer, DWORD SessionId, int WTSInfoClass,
                                                LPSTR* ppBuffer, DWORD* pBytesReturned) {
  if (hServer != WTS_CURRENT_SERVER_HANDLE || SessionId != WTS_CURRENT_SESSION ||
      WTSInfoClass != WTS_CLIENT_PROTOCOL_TYPE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto* protocol = static_cast<USHORT*>(LocalAlloc(LMEM_FIXED, sizeof(USHORT)));
  if (!protocol) return FALSE;
  *protocol = SessionIs("console") ? WTS_PROTOCOL_TYPE_CONSOLE : kProtocolRdp;
  *ppBuffer = reinterpret_cast<LPSTR>(protocol);
  *pBytesReturned = sizeof(USHORT);
  return TRUE;
}

STANDIN void WINAPI WTSFreeMemory(PVOID pMemory) { LocalFree(pMemory); }
