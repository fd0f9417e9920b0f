// A broken add-in for 32-bit x86: its entry is __cdecl, so it leaves its
// argument on the stack. The stand-in client must catch this: the real client
// expects __stdcall and crashes.
#include "platform/channel.h"

extern "C" __declspec(dllexport) BOOL __cdecl VirtualChannelEntry(PCHANNEL_ENTRY_POINTS entryPoints) {
  (void)entryPoints;
  return FALSE;
}
