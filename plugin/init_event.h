#pragma once

#include "platform/channel.h"

// The host calls this for each session event of the registered add-in.
VOID VCAPITYPE VirtualChannelInitEvent(LPVOID pInitHandle, UINT event, LPVOID pData,
                                       UINT dataLength);
