// The Remote Desktop client's virtual channel add-in interface, as far as this
// add-in uses it: the entry-point table, the channel definition, the handler and
// operation types and the constants.
#pragma once

#include "platform/win32.h"

// 32-bit Windows: the callee removes its arguments. x64 compilers ignore it.
#ifdef _WIN32
#define VCAPITYPE __stdcall
#else
#define VCAPITYPE
#endif

#define CHANNEL_NAME_LEN 7

#define CHANNEL_RC_OK 0
#define VIRTUAL_CHANNEL_VERSION_WIN2000 1
#define CHANNEL_OPTION_INITIALIZED 0x80000000

#define CHANNEL_EVENT_INITIALIZED 0
#define CHANNEL_EVENT_CONNECTED 1
#define CHANNEL_EVENT_V1_CONNECTED 2
#define CHANNEL_EVENT_DISCONNECTED 3
#define CHANNEL_EVENT_TERMINATED 4
#define CHANNEL_EVENT_DATA_RECEIVED 10
#define CHANNEL_EVENT_WRITE_COMPLETE 11
#define CHANNEL_EVENT_WRITE_CANCELLED 12

#define CHANNEL_FLAG_FIRST 0x01
#define CHANNEL_FLAG_LAST 0x02

typedef struct tagCHANNEL_DEF {
  char name[CHANNEL_NAME_LEN + 1];
  ULONG options;
} CHANNEL_DEF, *PCHANNEL_DEF;

typedef VOID(VCAPITYPE* PCHANNEL_INIT_EVENT_FN)(LPVOID pInitHandle, UINT event, LPVOID pData,
                                                UINT dataLength);

typedef VOID(VCAPITYPE* PCHANNEL_OPEN_EVENT_FN)(DWORD openHandle, UINT event, LPVOID pData,
                                                UINT32 dataLength, UINT32 totalLength,
                                                UINT32 dataFlags);

typedef UINT(VCAPITYPE* PVIRTUALCHANNELINIT)(LPVOID* ppInitHandle, PCHANNEL_DEF pChannel,
                                             INT channelCount, ULONG versionRequested,
                                             PCHANNEL_INIT_EVENT_FN pChannelInitEventProc);

typedef UINT(VCAPITYPE* PVIRTUALCHANNELOPEN)(LPVOID pInitHandle, LPDWORD pOpenHandle,
                                             PCHAR pChannelName,
                                             PCHANNEL_OPEN_EVENT_FN pChannelOpenEventProc);

typedef UINT(VCAPITYPE* PVIRTUALCHANNELCLOSE)(DWORD openHandle);

typedef UINT(VCAPITYPE* PVIRTUALCHANNELWRITE)(DWORD openHandle, LPVOID pData, ULONG dataLength,
                                              LPVOID pUserData);

typedef struct tagCHANNEL_ENTRY_POINTS {
  DWORD cbSize;
  DWORD protocolVersion;
  PVIRTUALCHANNELINIT pVirtualChannelInit;
  PVIRTUALCHANNELOPEN pVirtualChannelOpen;
  PVIRTUALCHANNELCLOSE pVirtualChannelClose;
  PVIRTUALCHANNELWRITE pVirtualChannelWrite;
} CHANNEL_ENTRY_POINTS, *PCHANNEL_ENTRY_POINTS;

typedef BOOL(VCAPITYPE* PVIRTUALCHANNELENTRY)(PCHANNEL_ENTRY_POINTS pEntryPoints);

static_assert(sizeof(CHANNEL_DEF) == 12, "CHANNEL_DEF is 8 name bytes and a 32-bit options word");
