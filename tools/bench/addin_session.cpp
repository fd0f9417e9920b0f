#include "tools/bench/addin_session.h"

#include <cstdio>

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {

int gInitHandle;  // its address is the init handle
PCHANNEL_INIT_EVENT_FN gInitEvent;
PCHANNEL_OPEN_EVENT_FN gOpenEvent;

UINT VCAPITYPE Init(LPVOID* ppInitHandle, PCHANNEL_DEF pChannel, INT channelCount, ULONG,
                    PCHANNEL_INIT_EVENT_FN pChannelInitEventProc) {
  *ppInitHandle = &gInitHandle;
  for (INT i = 0; i < channelCount; ++i) pChannel[i].options = CHANNEL_OPTION_INITIALIZED;
  gInitEvent = pChannelInitEventProc;
  return CHANNEL_RC_OK;
}

UINT VCAPITYPE Open(LPVOID, LPDWORD pOpenHandle, PCHAR,
                    PCHANNEL_OPEN_EVENT_FN pChannelOpenEventProc) {
  *pOpenHandle = 1;
  gOpenEvent = pChannelOpenEventProc;
  return CHANNEL_RC_OK;
}

UINT VCAPITYPE Close(DWORD) { return CHANNEL_RC_OK; }
UINT VCAPITYPE Write(DWORD, LPVOID, ULONG, LPVOID) { return CHANNEL_RC_OK; }

PVIRTUALCHANNELENTRY LoadEntry(const char* pPath) {
#ifdef _WIN32
  HMODULE module = LoadLibraryA(pPath);
  if (module == NULL) return nullptr;
  return reinterpret_cast<PVIRTUALCHANNELENTRY>(
      reinterpret_cast<void*>(GetProcAddress(module, "VirtualChannelEntry")));
#else
  void* library = dlopen(pPath, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  return reinterpret_cast<PVIRTUALCHANNELENTRY>(dlsym(library, "VirtualChannelEntry"));
#endif
}

}  // namespace

PCHANNEL_OPEN_EVENT_FN ConnectAddin(const char* pPath) {
  PVIRTUALCHANNELENTRY entry = LoadEntry(pPath);
  if (entry == nullptr) {
    std::fprintf(stderr, "cannot load the add-in's entry from %s\n", pPath);
    return nullptr;
  }
  CHANNEL_ENTRY_POINTS entryPoints = {
      sizeof(CHANNEL_ENTRY_POINTS), VIRTUAL_CHANNEL_VERSION_WIN2000, Init, Open, Close, Write};
  if (!entry(&entryPoints) || gInitEvent == nullptr) {
    std::fprintf(stderr, "the add-in did not register\n");
    return nullptr;
  }
  gInitEvent(&gInitHandle, CHANNEL_EVENT_INITIALIZED, nullptr, 0);
  char server[] = "bench";
  gInitEvent(&gInitHandle, CHANNEL_EVENT_CONNECTED, server, sizeof(server));
  if (gOpenEvent == nullptr) std::fprintf(stderr, "the add-in did not open its channel\n");
  return gOpenEvent;
}
