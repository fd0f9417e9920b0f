#pragma once

#include "platform/channel.h"

// The host calls this for each chunk that arrives on the open channel. Each
// channel message is one document: its chunks are appended to the spool file
// and, after the last one, the shell is asked to print the file.
VOID VCAPITYPE VirtualChannelOpenEvent(DWORD openHandle, UINT event, LPVOID pData,
                                       UINT32 dataLength, UINT32 totalLength, UINT32 dataFlags);
