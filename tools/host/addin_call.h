// Calls into the add-in. On 32-bit x86 each call goes through a small thunk
// that measures how many argument bytes the callee removed from the stack: the
// interface is __stdcall, and a function that leaves its arguments behind
// crashes the real client. Elsewhere the calls are plain.
#pragma once

#include "platform/channel.h"

struct StackCheck {
  bool measured = false;  // true on 32-bit x86
  int removed = 0;        // argument bytes the callee removed
  int expected = 0;       // argument bytes the call pushed
  bool ok() const { return !measured || removed == expected; }
};

BOOL CallEntry(PVIRTUALCHANNELENTRY entry, PCHANNEL_ENTRY_POINTS entryPoints, StackCheck* check);

void CallInitEvent(PCHANNEL_INIT_EVENT_FN handler, LPVOID initHandle, UINT event, LPVOID data,
                   UINT dataLength, StackCheck* check);

void CallOpenEvent(PCHANNEL_OPEN_EVENT_FN handler, DWORD openHandle, UINT event, LPVOID data,
                   UINT32 dataLength, UINT32 totalLength, UINT32 dataFlags, StackCheck* check);
